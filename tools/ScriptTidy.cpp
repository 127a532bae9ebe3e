#include "tools/ScriptTidy.h"

#include "platform/AnsiText.h"
#include "tools/BeautifierKeys.h"
#include "tools/TextScan.h"

#include <iterator>

namespace vx::tools {

void AppendSplitEndIf(std::string& out, std::string_view piece)
{
    const auto isWordChar = [](char c) {
        return (c >= '0' && c <= '9') || c == '_' || IsAnsiLetter(static_cast<unsigned char>(c));
    };
    std::size_t pos = 0;
    for (std::size_t hit; (hit = FindNoCase(piece, "endif", pos)) != std::string_view::npos; pos = hit + 5) {
        const bool word = (hit == 0 || !isWordChar(piece[hit - 1])) &&
                          (hit + 5 == piece.size() || !isWordChar(piece[hit + 5]));
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
