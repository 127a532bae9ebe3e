#include "tools/ScriptTidy.h"

#include "platform/Utf8.h"
#include "tools/BeautifierKeys.h"
#include "tools/TextScan.h"

#include <iterator>

namespace vx::tools {

namespace {

// Whether the character is part of a word: letters, digits and "_". Outside
// ASCII, the signs and marks of Latin-1 ("³", "×") are not; every later
// character is taken for a letter.
bool IsWordCharacter(char32_t c)
{
    if (c < 0x80)
        return (c >= '0' && c <= '9') || c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (c < 0xC0)
        return c == 0xAA || c == 0xB5 || c == 0xBA;
    return c != 0xD7 && c != 0xF7;
}

} // namespace

void AppendSplitEndIf(std::string& out, std::string_view piece)
{
    const auto wordBefore = [piece](std::size_t at) {
        return at > 0 && IsWordCharacter(utf8::Decode(piece, utf8::CharStart(piece, at - 1)));
    };
    const auto wordAt = [piece](std::size_t at) { return at < piece.size() && IsWordCharacter(utf8::Decode(piece, at)); };
    std::size_t pos = 0;
    for (std::size_t hit; (hit = FindNoCase(piece, "endif", pos)) != std::string_view::npos; pos = hit + 5) {
        const bool word = !wordBefore(hit) && !wordAt(hit + 5);
        out.append(piece, pos, hit - pos);
        out.append(word ? std::string_view("end if") : piece.substr(hit, 5));
    }
    out.append(piece.substr(pos));
}

std::size_t AppendTidyScriptLine(std::string& out, std::string_view line)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!line.empty() && blank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && blank(line.back()))
        line.remove_suffix(1);
    const std::size_t commentAt = CommentStart(line);
    const std::string_view comment = line.substr(commentAt);
    std::string_view code = line.substr(0, commentAt);
    while (!code.empty() && blank(code.back()))
        code.remove_suffix(1);

    const std::size_t start = out.size();
    bool inside = false;
    CollapseBlanksTo(code, std::back_inserter(out), inside);
    if (FindNoCase(std::string_view(out).substr(start), "endif", 0) != std::string_view::npos) {
        const std::string collapsed = out.substr(start);
        out.resize(start);
        ForEachQuotePiece(collapsed, [&out](std::string_view piece, bool quoted) {
            if (quoted)
                out.append(piece);
            else
                AppendSplitEndIf(out, piece);
        });
    }
    const std::size_t codeEnd = out.size();
    if (!comment.empty()) {
        if (codeEnd > start)
            out += ' ';
        out.append(comment);
    }
    return codeEnd;
}

} // namespace vx::tools
