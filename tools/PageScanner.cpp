#include "tools/PageScanner.h"

#include "tools/TextScan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace vx::tools {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The first c at or after from, or the end.
std::size_t NextOf(std::string_view text, char c, std::size_t from)
{
    if (from >= text.size())
        return text.size();
    const void* hit = std::memchr(text.data() + from, c, text.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : text.size();
}

// One past the first pattern at or after from, or the end.
std::size_t PastNext(std::string_view text, std::string_view pattern, std::size_t from)
{
    const std::size_t at = from <= text.size() ? text.find(pattern, from) : std::string_view::npos;
    return at == std::string_view::npos ? text.size() : at + pattern.size();
}

// PHP closes its block at the first "?>" outside strings and block comments.
std::size_t PhpBlockEnd(std::string_view text, std::size_t pos)
{
    std::size_t at = pos + 2;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '?' && at + 1 < text.size() && text[at + 1] == '>')
            return at + 2;
        if (c == '"' || c == '\'') {
            for (++at; at < text.size() && text[at] != c; ++at)
                if (text[at] == '\\')
                    ++at;
            at = std::min(at + 1, text.size());
        } else if (c == '/' && at + 1 < text.size() && text[at + 1] == '*') {
            at = PastNext(text, "*/", at + 2);
        } else if (c == '#' || (c == '/' && at + 1 < text.size() && text[at + 1] == '/')) {
            // A line comment ends at the line's end (CR, LF or both) or at "?>".
            while (at < text.size() && text[at] != '\n' && text[at] != '\r' &&
                   !(text[at] == '?' && at + 1 < text.size() && text[at + 1] == '>'))
                ++at;
        } else {
            ++at;
        }
    }
    return text.size();
}

struct TElement {
    std::string_view Name;
    unsigned Flags;
};

constexpr unsigned V = ElementVoid;
constexpr unsigned B = ElementBlock;
constexpr unsigned P = ElementClosesParagraph;
constexpr unsigned R = ElementRaw;
constexpr unsigned S = ElementScope;
constexpr unsigned L = ElementListStop;

// Sorted by name.
constexpr TElement Elements[] = {
    {"address", B | P},     {"applet", S | L},       {"area", V},
    {"article", B | P | L}, {"aside", B | P | L},    {"base", V | B},
    {"basefont", V},        {"bgsound", V},          {"blockquote", B | P | L},
    {"body", B | L},        {"br", V | B},           {"button", S | L},
    {"caption", B | S | L}, {"center", B | P | L},   {"col", V | B},
    {"colgroup", B | L},    {"dd", B | P | L},       {"details", B | P | L},
    {"dialog", B | P},      {"dir", B | P | L},      {"div", B | P},
    {"dl", B | P | L},      {"dt", B | P | L},       {"embed", V},
    {"fieldset", B | P | L}, {"figcaption", B | P | L}, {"figure", B | P | L},
    {"footer", B | P | L},  {"form", B | P | L},     {"frame", V | B},
    {"frameset", B | L},    {"h1", B | P | L},       {"h2", B | P | L},
    {"h3", B | P | L},      {"h4", B | P | L},       {"h5", B | P | L},
    {"h6", B | P | L},      {"head", B | L},         {"header", B | P | L},
    {"hgroup", B | P | L},  {"hr", V | B | P},       {"html", B | S | L},
    {"iframe", L},          {"img", V},              {"input", V},
    {"isindex", V},         {"keygen", V},           {"legend", B},
    {"li", B | P | L},      {"link", V | B},         {"listing", B | P | R | L},
    {"main", B | P | L},    {"marquee", S | L},      {"menu", B | P | L},
    {"meta", V | B},        {"nav", B | P | L},      {"noembed", L},
    {"noframes", B | L},    {"noscript", L},         {"object", S | L},
    {"ol", B | P | L},      {"optgroup", B},         {"option", B},
    {"p", B | P},           {"param", V},            {"plaintext", B | P | L},
    {"pre", B | P | R | L}, {"script", R | L},       {"section", B | P | L},
    {"select", L},          {"source", V},           {"spacer", V},
    {"style", R | L},       {"summary", B | L},      {"table", B | P | S | L},
    {"tbody", B | L},       {"td", B | S | L},       {"template", S | L},
    {"textarea", R | L},    {"tfoot", B | L},        {"th", B | S | L},
    {"thead", B | L},       {"title", B | L},        {"tr", B | L},
    {"track", V},           {"ul", B | P | L},       {"wbr", V},
    {"xmp", B | P | R | L},
};

} // namespace

bool StartsServerBlock(std::string_view text, std::size_t pos)
{
    return pos + 1 < text.size() && text[pos] == '<' && (text[pos + 1] == '%' || text[pos + 1] == '?');
}

std::size_t ServerBlockEnd(std::string_view text, std::size_t pos)
{
    return text[pos + 1] == '%' ? PastNext(text, "%>", pos + 2) : PhpBlockEnd(text, pos);
}

TMarkup MarkupKind(std::string_view text, std::size_t pos)
{
    if (pos + 1 >= text.size())
        return TMarkup::Text;
    const char next = text[pos + 1];
    if (next == '%' || next == '?')
        return TMarkup::Server;
    if (next == '!') {
        if (text.compare(pos, 4, "<!--") != 0)
            return TMarkup::Declaration;
        return StartsNoCase(text, pos, "<!--[if") ? TMarkup::ConditionalComment : TMarkup::Comment;
    }
    if (IsAsciiLetter(next))
        return TMarkup::StartTag;
    if (next == '/' && pos + 2 < text.size() && IsAsciiLetter(text[pos + 2]))
        return TMarkup::EndTag;
    return TMarkup::Text;
}

TMarkupSpan ScanMarkup(std::string_view text, std::size_t pos)
{
    const TMarkup kind = MarkupKind(text, pos);
    switch (kind) {
    case TMarkup::Text:
        return {kind, pos + 1};
    case TMarkup::Server:
        return {kind, ServerBlockEnd(text, pos)};
    case TMarkup::Declaration:
        return {kind, std::min(NextOf(text, '>', pos) + 1, text.size())};
    case TMarkup::ConditionalComment: {
        const std::size_t endif = FindNoCase(text, "<![endif]", pos);
        const std::size_t close = endif == std::string_view::npos ? text.size() : NextOf(text, '>', endif);
        return {kind, std::min(close + 1, text.size())};
    }
    case TMarkup::Comment:
        // "<!-->" closes at once, as browsers read it.
        return {kind, PastNext(text, "-->", pos + 2)};
    case TMarkup::StartTag:
    case TMarkup::EndTag:
        break;
    }
    return {kind, TagEnd(text, pos)};
}

TTagName::TTagName(std::string_view text, std::size_t pos)
{
    std::size_t at = pos + 1;
    if (at < text.size() && text[at] == '/')
        ++at;
    for (; at < text.size() && !IsBlank(text[at]) && text[at] != '>' && text[at] != '/'; ++at) {
        const char c = AsciiLower(text[at]);
        const bool nameChar = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!nameChar || size_ == sizeof text_) {
            *this = TTagName();
            return;
        }
        text_[size_++] = c;
    }
}

TTagName::TTagName(std::string_view lowerName) : size_(std::min(lowerName.size(), sizeof text_))
{
    std::memcpy(text_, lowerName.data(), size_);
}

unsigned ElementFlags(std::string_view lowerName)
{
    // The elements of each first letter: every tag of a page is looked up.
    struct TRange {
        std::uint8_t First = 0;
        std::uint8_t End = 0;
    };
    static const std::array<TRange, 26> ranges = [] {
        std::array<TRange, 26> table{};
        for (std::size_t i = std::size(Elements); i-- > 0;) {
            TRange& range = table[static_cast<std::size_t>(Elements[i].Name[0] - 'a')];
            range.First = static_cast<std::uint8_t>(i);
            if (range.End == 0)
                range.End = static_cast<std::uint8_t>(i + 1);
        }
        return table;
    }();
    if (lowerName.empty() || lowerName[0] < 'a' || lowerName[0] > 'z')
        return 0;
    const TRange range = ranges[static_cast<std::size_t>(lowerName[0] - 'a')];
    for (std::size_t i = range.First; i < range.End; ++i) {
        const std::string_view name = Elements[i].Name;
        // Names are short: a loop beats a call to compare them.
        if (name.size() != lowerName.size())
            continue;
        std::size_t at = 1;
        while (at < name.size() && name[at] == lowerName[at])
            ++at;
        if (at == name.size())
            return Elements[i].Flags;
    }
    return 0;
}

std::size_t RawElementEnd(std::string_view text, std::size_t from, std::string_view lowerName)
{
    for (std::size_t at = NextOf(text, '<', from); at < text.size(); at = NextOf(text, '<', at + 1)) {
        if (text.size() - at > 1 && text[at + 1] == '%') {
            at = ServerBlockEnd(text, at) - 1;
            continue;
        }
        if (text.size() - at < lowerName.size() + 2 || text[at + 1] != '/' ||
            !StartsNoCase(text, at + 2, lowerName))
            continue;
        const std::size_t after = at + 2 + lowerName.size();
        if (after == text.size() || IsBlank(text[after]) || text[after] == '>' || text[after] == '/')
            return std::min(NextOf(text, '>', after) + 1, text.size());
    }
    return text.size();
}

std::size_t TTagWalker::QuotedEnd(char quote) const
{
    std::size_t at = pos_ + 1;
    for (;;) {
        const std::size_t close = NextOf(text_, quote, at);
        // A server block inside the value may hold the quote itself.
        const std::string_view value = text_.substr(0, close);
        std::size_t open = NextOf(value, '<', at);
        while (open < close && !StartsServerBlock(text_, open))
            open = NextOf(value, '<', open + 1);
        if (open >= close)
            return std::min(close + 1, text_.size());
        at = ServerBlockEnd(text_, open);
    }
}

std::size_t TTagWalker::WordEnd() const
{
    // The characters that may end a word: blanks, ">", "<" (of a server
    // block), and for a name "=" and "/".
    static const auto ends = [](bool name) {
        std::array<bool, 256> table{};
        for (const char c : {' ', '\t', '\r', '\n', '\f', '>', '<'})
            table[static_cast<unsigned char>(c)] = true;
        table['='] = table['/'] = name;
        return table;
    };
    static const std::array<bool, 256> nameEnds = ends(true);
    static const std::array<bool, 256> valueEnds = ends(false);
    const std::array<bool, 256>& stop = valueNext_ ? valueEnds : nameEnds;
    std::size_t at = pos_;
    if (!valueNext_ && (text_[at] == '=' || text_[at] == '/'))
        return at + 1;
    while (at < text_.size() && (!stop[static_cast<unsigned char>(text_[at])] ||
                                 (text_[at] == '<' && !StartsServerBlock(text_, at))))
        ++at;
    return std::max(at, pos_ + 1);
}

bool TTagWalker::Next()
{
    if (closed_ || pos_ >= text_.size())
        return false;
    begin_ = pos_;
    if (!started_) {
        started_ = true;
        part_ = TTagPart::Name;
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '/')
            ++pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]) && text_[pos_] != '>' && text_[pos_] != '/' &&
               !StartsServerBlock(text_, pos_))
            ++pos_;
        return true;
    }
    const char c = text_[pos_];
    if (c == '>') {
        part_ = TTagPart::Close;
        closed_ = true;
        ++pos_;
    } else if (IsBlank(c)) {
        part_ = TTagPart::Blank;
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
    } else if (StartsServerBlock(text_, pos_)) {
        part_ = TTagPart::Server;
        pos_ = ServerBlockEnd(text_, pos_);
        valueNext_ = false;
    } else if (valueNext_ && (c == '"' || c == '\'')) {
        part_ = TTagPart::Quoted;
        pos_ = QuotedEnd(c);
        valueNext_ = false;
    } else {
        part_ = TTagPart::Word;
        const bool equals = c == '=' && !valueNext_;
        pos_ = WordEnd();
        valueNext_ = equals;
    }
    return true;
}

std::size_t TagEnd(std::string_view text, std::size_t pos)
{
    TTagWalker walker(text, pos);
    while (walker.Next()) {
    }
    return walker.End();
}

} // namespace vx::tools
