// The editor's search object: a result list, the byte tables a search
// compares and splits words with, and the search of one text by whole
// characters. The tables are shared by every instance; no editor operation
// runs a search with it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

class TmwEditSearch {
public:
    // Case-insensitive, as the shared tables start.
    TmwEditSearch() = default;

    bool Sensitive() const { return sensitive_; }
    // Rebuilds the shared comparison table only when the case setting changes.
    void SetSensitive(bool value);
    // Result positions; nothing fills the list.
    std::vector<int>& Results() { return results_; }

    // Whether a match of patternLength bytes whose last byte is text[matchLast]
    // stands alone: the bytes around it, where the text has them, are delimiters.
    bool IsWholeWord(std::string_view text, std::size_t matchLast, std::size_t patternLength) const;
    // The byte offset of the first occurrence of pattern in the UTF-8 text at
    // or after from, comparing whole characters (letters of either case alike
    // unless the search is case-sensitive); npos when there is none, or the
    // pattern is empty. With wholeWord, occurrences inside a word are passed over.
    std::size_t Find(std::string_view text, std::string_view pattern, std::size_t from, bool wholeWord) const;

    // Byte as a search compares it: an ASCII letter lower-cased unless the
    // search is case-sensitive; a byte of a character outside ASCII as it is,
    // as only the whole character can change its case.
    static unsigned char Compare(unsigned char c) { return CompTable()[c]; }
    // True for every byte that is not a letter or digit; every byte of a
    // character outside ASCII counts as a letter.
    static bool IsDelimiter(unsigned char c) { return DelimTable()[c]; }

private:
    static std::array<unsigned char, 256>& CompTable();
    static const std::array<bool, 256>& DelimTable();

    bool sensitive_ = false;
    std::vector<int> results_;
};
