// The tag parser: lines of a page cut into tags, parameters and decoded text runs.
#include "shell/HTMLPars.h"

#include "platform/AnsiText.h"
#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <array>
#include <string_view>
#include <vector>

namespace HTMLPars {
namespace {

// Named entities: the four markup characters, then the Latin-1 names of the codes
// 160 to 255 in code order.
constexpr std::array<std::string_view, 100> kEntityNames = {
    "quot", "amp", "lt", "gt",
    "nbsp", "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect",
    "uml", "copy", "ordf", "laquo", "not", "shy", "reg", "macr",
    "deg", "plusmn", "sup2", "sup3", "acute", "micro", "para", "middot",
    "cedil", "sup1", "ordm", "raquo", "frac14", "frac12", "frac34", "iquest",
    "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil",
    "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml",
    "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times",
    "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN", "szlig",
    "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig", "ccedil",
    "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc", "iuml",
    "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide",
    "oslash", "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml"};

int EntityCode(size_t index)
{
    constexpr int kMarkup[] = {34, 38, 60, 62};
    return index < 4 ? kMarkup[index] : 160 + static_cast<int>(index - 4);
}

// The character of a code (0 to 255) in UTF-8: codes 128 to 159 are the
// Windows-1252 characters pages mean by them; control codes and the no-break
// space show as a blank.
std::string CharOfCode(int code)
{
    if (code < 32 || code == 160)
        return " ";
    return vx::utf8::Encode(vx::Cp1252ToUnicode(static_cast<unsigned char>(code)));
}

bool IsTagSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}


// The code of a numeric reference's body ("65", "x41"), or -1 when it is not a
// number of at most three digits from 0 to 255.
int NumericCode(std::string_view body)
{
    bool hex = !body.empty() && (body[0] == 'x' || body[0] == 'X');
    if (hex)
        body.remove_prefix(1);
    if (body.empty() || body.size() > 3)
        return -1;
    int code = 0;
    for (char c : body) {
        int digit = vx::DigitValue(c, hex ? 16 : 10);
        if (digit < 0)
            return -1;
        code = code * (hex ? 16 : 10) + digit;
    }
    return code <= 255 ? code : -1;
}

// The code an entity stands for ("&amp;", "&#65;"), or -1 when it stays as written.
int EntityValue(std::string_view entity, char end)
{
    if (entity.starts_with("&#"))
        return NumericCode(entity.substr(2, entity.size() - 2));
    if (end != ';')
        return -1;
    for (size_t i = 0; i < kEntityNames.size(); ++i)
        if (entity.substr(1) == kEntityNames[i])
            return EntityCode(i);
    return -1;
}

std::string DecodeText(const std::string& raw)
{
    std::string collapsed;
    collapsed.reserve(raw.size());
    for (char c : raw) {
        if (c == '\n')
            c = ' ';
        if (c == ' ' && !collapsed.empty() && collapsed.back() == ' ')
            continue;
        collapsed.push_back(c);
    }

    // An entity runs from "&" to the next ";" or blank. A decoded character is
    // final: the scan goes on after it, so "&amp;lt;" reads "&lt;". A blank that
    // ends an entity is a word break, not part of the character, and stays.
    // The end of the entity at each place is looked up, not searched for
    // anew from every "&", so that a long run of "&" takes linear time.
    std::vector<size_t> nextEnd(collapsed.size() + 1, std::string::npos);
    for (size_t i = collapsed.size(); i-- > 0;)
        nextEnd[i] = collapsed[i] == ';' || collapsed[i] == ' ' ? i : nextEnd[i + 1];
    std::string out;
    out.reserve(collapsed.size());
    for (size_t i = 0; i < collapsed.size();) {
        size_t end = collapsed[i] == '&' ? nextEnd[i + 1] : std::string::npos;
        if (end == std::string::npos) {
            out.push_back(collapsed[i++]);
            continue;
        }
        char endChar = collapsed[end];
        int code = EntityValue(std::string_view(collapsed).substr(i, end - i), endChar);
        if (code < 0) {
            out.push_back(collapsed[i++]);
            continue;
        }
        out += CharOfCode(code);
        i = endChar == ';' ? end + 1 : end;
    }
    return out;
}

THTMLParam ParseParam(std::string raw)
{
    THTMLParam param;
    size_t eq = raw.find('=');
    param.Name = vx::AnsiUpperCase(std::string_view(raw).substr(0, eq));
    if (eq != std::string::npos) {
        param.Value = raw.substr(eq + 1);
        if (param.Value.size() > 1 && param.Value.front() == '"' && param.Value.back() == '"')
            param.Value = param.Value.substr(1, param.Value.size() - 2);
    }
    param.Raw = std::move(raw);
    return param;
}

THTMLTag ParseTag(std::string raw)
{
    THTMLTag tag;
    size_t i = 0;
    while (i < raw.size() && !IsTagSeparator(raw[i]))
        ++i;
    tag.Name = vx::AnsiUpperCase(std::string_view(raw).substr(0, i));
    // The rest splits at separators outside double quotes.
    std::string piece;
    bool quoted = false;
    for (++i; i <= raw.size(); ++i) {
        if (i == raw.size() || (!quoted && IsTagSeparator(raw[i]))) {
            if (!piece.empty())
                tag.Params.push_back(ParseParam(std::move(piece)));
            piece.clear();
            continue;
        }
        if (raw[i] == '"')
            quoted = !quoted;
        piece.push_back(raw[i]);
    }
    tag.Raw = std::move(raw);
    return tag;
}

} // namespace

void THTMLParser::FlushText()
{
    THTMLText text;
    text.Text = DecodeText(textBuffer_);
    text.Raw = std::move(textBuffer_);
    parsed_.emplace_back(std::move(text));
    textBuffer_.clear();
}

void THTMLParser::FlushTag()
{
    parsed_.emplace_back(ParseTag(std::move(tagBuffer_)));
    tagBuffer_.clear();
    inTag_ = false;
}

void THTMLParser::Execute()
{
    parsed_.clear();
    textBuffer_.clear();
    tagBuffer_.clear();
    inTag_ = false;
    for (int l = 0; l < lines_.Count(); ++l) {
        for (char c : lines_[l]) {
            if (c == '<') {
                // A "<" inside a tag is dropped; the tag goes on.
                if (!inTag_ && !textBuffer_.empty())
                    FlushText();
                inTag_ = true;
            } else if (c == '>') {
                // A stray ">" in text ends the text before it, to keep document order.
                if (!inTag_ && !textBuffer_.empty())
                    FlushText();
                FlushTag();
            } else {
                (inTag_ ? tagBuffer_ : textBuffer_).push_back(c);
            }
        }
        // A tag spanning lines has its words separated at the line break too.
        std::string& buffer = inTag_ ? tagBuffer_ : textBuffer_;
        if (!buffer.empty())
            buffer.push_back('\n');
    }
    if (inTag_ && !tagBuffer_.empty()) {
        if (tagBuffer_.back() == '\n')
            tagBuffer_.pop_back();
        FlushTag();
    }
    if (!textBuffer_.empty())
        FlushText();
}

} // namespace HTMLPars
