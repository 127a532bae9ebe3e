// The HTML tokenizer shared by the link checker and the structure viewer: a page
// cut into a flat sequence of text runs, tags (with their attributes) and comments.
#pragma once

#include "platform/Exception.h"
#include "platform/TStringList.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <unordered_map>

// Raised for a page that ends inside a tag or a comment; the message names the line.
VX_DECLARE_EXCEPTION(EParserError, Exception);

enum THTMLTokenKind : std::uint8_t { ptEOF = 0, ptText = 1, ptTag = 2, ptComment = 3 };

// Elements that can hold content (A, BODY, TD, ...), sorted, searched without
// regard to case. A tag not listed here is an empty element (IMG, BR, META, ...).
const TStringList& HTMLContainerTags();

// Reads the page from the stream's current position to its end when constructed
// (the stream is not kept) and makes the first token available at once. Every
// byte of the page belongs to exactly one token; a NUL byte is an ordinary
// character. Not thread-safe; one parser per page.
//
// NextToken raises EParserError ("End of file encountered in tag on line 3") when
// the page ends inside a tag or comment; the parser is then to be discarded.
class THTMLParser {
public:
    explicit THTMLParser(std::istream& stream);
    THTMLParser(const THTMLParser&) = delete;
    THTMLParser& operator=(const THTMLParser&) = delete;

    // Reads the next token; after ptEOF it keeps returning ptEOF.
    THTMLTokenKind NextToken();

    THTMLTokenKind TokenKind() const { return tokenKind_; }
    // ptText: the run as written; ptTag: the tag name as written, without the "/"
    // of an end tag; ptComment: what stands between "<!--" and "-->".
    const std::string& Text() const { return text_; }
    // Lines NAME=value, names upper-cased, in order of first appearance.
    const TStringList& Attributes() const { return attributes_; }
    bool EndTag() const { return endTag_; }
    // 1 plus the line feeds consumed so far.
    int Line() const { return line_; }
    // Byte offsets in the page: where the current token starts, and how far the
    // parser has read (the end of the current token).
    std::size_t TokenPos() const { return tokenPos_; }
    std::size_t Position() const { return pos_; }

private:
    void ReadChar();
    bool AtEnd() const { return pos_ >= page_.size(); }
    bool NextIs(char c) const { return !AtEnd() && page_[pos_] == c; }
    void SkipBlanks();
    // Appends the bytes before `end` to `into`, counting the line feeds among them.
    void Take(std::size_t end, std::string& into);
    // Appends bytes to `into` up to, not including, the first stop byte or the end.
    void ReadUntil(const bool (&stop)[256], std::string& into);
    void ReadUntil(char stop, std::string& into);
    // Upper-cased attribute name -> its line, for tags with many attributes.
    using TAttributeIndex = std::unordered_map<std::string, int>;
    static constexpr int kLinearAttributes = 16;

    void ReadTag();
    // Upper-cases name in place and stores NAME=value, replacing an earlier line
    // of the same name.
    void StoreAttribute(std::string& name, std::string_view value, TAttributeIndex& index);
    void ReadComment();
    [[noreturn]] void RaiseError(const TWording& message) const;

    std::string page_;
    std::size_t pos_ = 0;
    std::size_t tokenPos_ = 0;
    int line_ = 1;
    // The byte consumed last; 0 with eof_ set once a read found the end.
    unsigned char ch_ = 0;
    bool eof_ = false;
    THTMLTokenKind tokenKind_ = ptEOF;
    std::string text_;
    TStringList attributes_;
    bool endTag_ = false;
    std::string lineBuffer_;
};
