// The editor's search object: a result list and the byte tables a search
// compares and splits words with. The tables are shared by every instance;
// no editor operation runs a search with it.
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

    // Byte as a search compares it: lower-cased unless the search is case-sensitive.
    static unsigned char Compare(unsigned char c) { return CompTable()[c]; }
    // True for every byte that is not a letter or digit.
    static bool IsDelimiter(unsigned char c) { return DelimTable()[c]; }

private:
    static std::array<unsigned char, 256>& CompTable();
    static const std::array<bool, 256>& DelimTable();

    bool sensitive_ = false;
    std::vector<int> results_;
};
