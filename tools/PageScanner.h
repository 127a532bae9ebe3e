// Reading an HTML page the way a browser and a web server read it, for the
// page tools that must leave some of it alone: where each construct that opens
// with "<" ends (tags with their quoted values, comments, conditional comments,
// server blocks, elements whose content is not markup), what an element is,
// and the parts of one tag.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vx::tools {

enum class TMarkup {
    // A "<" that opens nothing ("a < b").
    Text,
    // "<% ... %>", or "<? ... ?>" (PHP).
    Server,
    // "<!-- ... -->"
    Comment,
    // "<!--[if ...]> ... <![endif]-->": markup only some browsers read.
    ConditionalComment,
    // "<!DOCTYPE ...>", "<![if ...]>", "<![endif]>" and other "<!" constructs.
    Declaration,
    StartTag,
    EndTag,
};

struct TMarkupSpan {
    TMarkup Kind;
    // One past the construct's last byte; the text's end when it never closes.
    std::size_t End;
};

// What opens at text[pos], which is "<", without looking for its end.
TMarkup MarkupKind(std::string_view text, std::size_t pos);
// The construct opening at text[pos], which is "<".
TMarkupSpan ScanMarkup(std::string_view text, std::size_t pos);

bool StartsServerBlock(std::string_view text, std::size_t pos);
// One past the "%>" or "?>" closing the server block at pos.
std::size_t ServerBlockEnd(std::string_view text, std::size_t pos);

// An element name, lower case; empty when longer than any name of interest.
// Names are compared often, so they are held in a fixed block.
class TTagName {
public:
    TTagName() = default;
    // The name of the tag at pos ("<name" or "</name").
    TTagName(std::string_view text, std::size_t pos);
    // A name written in lower case.
    explicit TTagName(std::string_view lowerName);
    std::string_view View() const { return {text_, size_}; }
    bool Empty() const { return size_ == 0; }
    bool operator==(const TTagName& other) const
    {
        std::uint64_t a[2];
        std::uint64_t b[2];
        std::memcpy(a, text_, sizeof a);
        std::memcpy(b, other.text_, sizeof b);
        return size_ == other.size_ && a[0] == b[0] && a[1] == b[1];
    }

private:
    char text_[16] = {};
    std::size_t size_ = 0;
};

enum TElementFlag : unsigned {
    // Has no content and no end tag (br, img, input ...).
    ElementVoid = 1u << 0,
    // Laid out as a block or table part, or not shown: white space beside its
    // tags is not shown.
    ElementBlock = 1u << 1,
    // Its start tag ends an open paragraph.
    ElementClosesParagraph = 1u << 2,
    // Its content runs to its end tag and is no markup, or is shown as
    // written: script, style, pre, textarea, xmp, listing.
    ElementRaw = 1u << 3,
    // Limits the search for an element an end tag closes.
    ElementScope = 1u << 4,
    // Ends the search for an open list item to close.
    ElementListStop = 1u << 5,
};

unsigned ElementFlags(std::string_view lowerName);

// One past the end tag of the raw element named lowerName whose content
// starts at from (server blocks inside it are passed over); the text's end
// when it is never closed.
std::size_t RawElementEnd(std::string_view text, std::size_t from, std::string_view lowerName);

enum class TTagPart {
    // "<name" or "</name".
    Name,
    // A run of blanks, tabs and line breaks.
    Blank,
    // An attribute name, an unquoted value, "=", "/" or other characters.
    Word,
    // A value in double or single quotes, quotes included.
    Quoted,
    // A server block inside the tag.
    Server,
    // The closing ">".
    Close,
};

// Walks a tag from its "<" through its closing ">" as a browser tokenises it.
class TTagWalker {
public:
    TTagWalker(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}

    // The next part, from Begin() to End(); false after the closing ">" or at
    // the text's end.
    bool Next();
    TTagPart Part() const { return part_; }
    std::size_t Begin() const { return begin_; }
    std::size_t End() const { return pos_; }

private:
    std::size_t QuotedEnd(char quote) const;
    std::size_t WordEnd() const;

    std::string_view text_;
    std::size_t pos_;
    std::size_t begin_ = 0;
    TTagPart part_ = TTagPart::Name;
    bool started_ = false;
    bool closed_ = false;
    // After "=", a value may follow.
    bool valueNext_ = false;
};

// One past the tag's closing ">", or the text's end.
std::size_t TagEnd(std::string_view text, std::size_t pos);

} // namespace vx::tools
