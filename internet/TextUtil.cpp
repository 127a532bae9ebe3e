// Text helpers of the protocol code.
#include "internet/TextUtil.h"

namespace vx::net {

std::string Trim(std::string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return std::string(text.substr(b, e - b));
}

std::string OneLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool inBreak = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!inBreak)
                out += ' ';
            inBreak = true;
        } else {
            out += c;
            inBreak = false;
        }
    }
    return out;
}

std::vector<std::string_view> LinePieces(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t brk = text.find_first_of("\r\n", start);
        pieces.push_back(text.substr(start, brk == std::string_view::npos ? std::string_view::npos : brk - start));
        if (brk == std::string_view::npos)
            return pieces;
        start = brk + (text.compare(brk, 2, "\r\n") == 0 ? 2 : 1);
    }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && LowerCase(text.substr(0, prefix.size())) == LowerCase(prefix);
}

std::string HtmlEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace vx::net
