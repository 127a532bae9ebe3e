// Quoted-printable encoding.
#include "internet/QuotedPrintable.h"

namespace vx::net {

namespace {

constexpr std::size_t kMaxLine = 76;

std::string Encoded(unsigned char byte, bool lineEnd)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    // A blank at the end of a line would be lost to servers that strip it.
    const bool blank = byte == ' ' || byte == '\t';
    if ((byte >= 33 && byte <= 126 && byte != '=') || (blank && !lineEnd))
        return std::string(1, static_cast<char>(byte));
    return {'=', hex[byte >> 4], hex[byte & 15]};
}

} // namespace

std::vector<std::string> QuotedPrintableLines(std::string_view line)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const std::string piece = Encoded(static_cast<unsigned char>(line[i]), i + 1 == line.size());
        // Room is left for the soft break, unless this piece ends the line.
        const std::size_t room = i + 1 == line.size() ? kMaxLine : kMaxLine - 1;
        if (lines.back().size() + piece.size() > room) {
            lines.back() += '=';
            lines.emplace_back();
        }
        lines.back() += piece;
    }
    return lines;
}

} // namespace vx::net
