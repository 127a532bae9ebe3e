// The HTML tokenizer: text runs, tags with attributes, comments.
#include "internet/HTMLParser.h"

#include "platform/AnsiText.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

const TWording kEofInTag{"End of file encountered in tag on line %1"};
const TWording kEofInComment{"End of file encountered in comment on line %1"};

const char* const kContainerTags[] = {
    "A", "ABBR", "ACRONYM", "ADDRESS", "APPLET", "B", "BDO", "BIG", "BLOCKQUOTE", "BODY",
    "BUTTON", "CAPTION", "CENTER", "CITE", "CODE", "COLGROUP", "DD", "DEL", "DFN", "DIV",
    "DL", "DT", "EM", "FIELDSET", "FONT", "FORM", "FRAMESET", "H1", "H2", "H3", "H4", "H5",
    "H6", "HEAD", "HTML", "I", "IFRAME", "ILAYER", "INS", "KBD", "LABEL", "LEGEND", "LI",
    "MAP", "NOFRAMES", "NOLAYER", "NOSCRIPT", "OBJECT", "OL", "OPTGROUP", "OPTION", "P",
    "PRE", "Q", "SAMP", "SCRIPT", "SELECT", "SMALL", "SPAN", "STRIKE", "STRONG", "STYLE",
    "SUB", "SUP", "TABLE", "TBODY", "TD", "TEXTAREA", "TFOOT", "TH", "THEAD", "TITLE", "TR",
    "TT", "U", "UL", "VAR"};

// Bytes that end a tag name, and those that end an unquoted attribute word.
// A tab ends neither.
struct TStopSets {
    bool name[256] = {};
    bool word[256] = {};
    TStopSets()
    {
        for (unsigned char c : {'\n', '\r', ' ', '>'})
            name[c] = word[c] = true;
        word[static_cast<unsigned char>('=')] = true;
    }
};

const TStopSets kStops;

} // namespace

const TStringList& HTMLContainerTags()
{
    static const TStringList tags = [] {
        TStringList list;
        list.SetSorted(true);
        for (const char* tag : kContainerTags)
            list.Add(tag);
        return list;
    }();
    return tags;
}

THTMLParser::THTMLParser(std::istream& stream)
{
    if (std::streambuf* buf = stream.rdbuf()) {
        if (std::streamsize ready = buf->in_avail(); ready > 0)
            page_.reserve(static_cast<std::size_t>(ready));
        char chunk[65536];
        for (std::streamsize n; (n = buf->sgetn(chunk, sizeof chunk)) > 0;)
            page_.append(chunk, static_cast<std::size_t>(n));
    }
    NextToken();
}

void THTMLParser::ReadChar()
{
    if (AtEnd()) {
        ch_ = 0;
        eof_ = true;
        return;
    }
    ch_ = static_cast<unsigned char>(page_[pos_++]);
    if (ch_ == '\n')
        ++line_;
}

void THTMLParser::SkipBlanks()
{
    do
        ReadChar();
    while (!eof_ && ch_ <= ' ');
}

void THTMLParser::Take(std::size_t end, std::string& into)
{
    const char* from = page_.data() + pos_;
    const char* to = page_.data() + end;
    line_ += static_cast<int>(std::count(from, to, '\n'));
    into.append(from, static_cast<std::size_t>(to - from));
    pos_ = end;
}

void THTMLParser::ReadUntil(const bool (&stop)[256], std::string& into)
{
    std::size_t end = pos_;
    while (end < page_.size() && !stop[static_cast<unsigned char>(page_[end])])
        ++end;
    Take(end, into);
}

void THTMLParser::ReadUntil(char stop, std::string& into)
{
    const void* found = std::memchr(page_.data() + pos_, stop, page_.size() - pos_);
    Take(found ? static_cast<std::size_t>(static_cast<const char*>(found) - page_.data()) : page_.size(),
         into);
}

THTMLTokenKind THTMLParser::NextToken()
{
    text_.clear();
    if (!attributes_.Empty())
        attributes_.Clear();
    endTag_ = false;
    tokenPos_ = pos_;
    ReadChar();
    if (eof_)
        return tokenKind_ = ptEOF;
    if (ch_ != '<') {
        tokenKind_ = ptText;
        text_.push_back(static_cast<char>(ch_));
        ReadUntil('<', text_);
        return tokenKind_;
    }
    tokenKind_ = ptTag;
    if (NextIs('!')) {
        ReadChar();
        text_ = "!";
        if (NextIs('-')) {
            ReadChar();
            text_ = "!-";
            if (NextIs('-')) {
                ReadChar();
                text_.clear();
                tokenKind_ = ptComment;
            }
        }
    }
    if (tokenKind_ == ptComment)
        ReadComment();
    else
        ReadTag();
    return tokenKind_;
}

void THTMLParser::ReadTag()
{
    ReadUntil(kStops.name, text_);
    if (AtEnd())
        RaiseError(kEofInTag);
    if (!text_.empty() && text_[0] == '/') {
        endTag_ = true;
        text_.erase(0, 1);
    }
    if (NextIs('>')) {
        ReadChar();
        return;
    }

    TAttributeIndex index;
    std::string name, word;
    bool equals = false;
    for (;;) {
        SkipBlanks();
        if (eof_)
            RaiseError(kEofInTag);
        if (ch_ == '>')
            break;
        if (ch_ == '=') {
            equals = true;
            continue;
        }
        word.clear();
        if (ch_ == '"' || ch_ == '\'') {
            char quote = static_cast<char>(ch_);
            ReadUntil(quote, word);
            if (word.empty())
                word = " ";
            if (NextIs(quote))
                ReadChar();
        } else {
            word.push_back(static_cast<char>(ch_));
            ReadUntil(kStops.word, word);
        }
        if (name.empty()) {
            name.swap(word);
        } else if (equals) {
            StoreAttribute(name, word, index);
            name.clear();
            equals = false;
        } else {
            StoreAttribute(name, "Y", index);
            name.swap(word);
        }
    }
    if (!name.empty())
        StoreAttribute(name, "Y", index);
}

void THTMLParser::StoreAttribute(std::string& name, std::string_view value, TAttributeIndex& index)
{
    name = vx::AnsiUpperCase(name);
    // Matched as the list's own name lookup would match it: up to the first "=".
    std::string_view key(name.data(), std::min(name.find('='), name.size()));
    int at = -1;
    const int count = attributes_.Count();
    if (count < kLinearAttributes) {
        for (int i = 0; i < count && at < 0; ++i) {
            const std::string& line = attributes_[i];
            if (line.size() > key.size() && line[key.size()] == '=' && line.starts_with(key))
                at = i;
        }
    } else {
        // Many attributes: an index keeps the tag linear in its length.
        if (index.empty())
            for (int i = 0; i < count; ++i)
                index.emplace(attributes_.Names(i), i);
        auto [found, added] = index.try_emplace(std::string(key), count);
        if (!added)
            at = found->second;
    }
    lineBuffer_.assign(name).append(1, '=').append(value);
    if (at < 0)
        attributes_.Add(lineBuffer_);
    else
        attributes_.Put(at, lineBuffer_);
}

void THTMLParser::ReadComment()
{
    for (;;) {
        ReadUntil('-', text_);
        if (AtEnd())
            RaiseError(kEofInComment);
        ReadChar();
        if (AtEnd())
            RaiseError(kEofInComment);
        if (!NextIs('-')) {
            text_.push_back('-');
            continue;
        }
        ReadChar();
        // Of a longer run of dashes only the last two close the comment.
        while (NextIs('-')) {
            ReadChar();
            text_.push_back('-');
        }
        if (AtEnd())
            RaiseError(kEofInComment);
        if (NextIs('>')) {
            ReadChar();
            return;
        }
        text_ += "--";
    }
}

void THTMLParser::RaiseError(const TWording& message) const
{
    throw EParserError(TMessage(message, {std::to_string(line_)}));
}
