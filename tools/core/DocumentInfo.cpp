// Document information and the page title.
#include "tools/core/DocumentInfo.h"

#include "platform/AnsiText.h"
#include "tools/core/TextLines.h"

#include <filesystem>

namespace vx::tools {

std::string GetHtmlTitle(std::string_view text)
{
    constexpr std::string_view open = "<TITLE>";
    constexpr std::string_view close = "</TITLE>";
    std::string title;
    bool inTitle = false;
    for (std::string_view line : SplitLines(text)) {
        if (!inTitle) {
            const std::size_t at = AnsiUpperCase(std::string(line)).find(open);
            if (at == std::string::npos)
                continue;
            inTitle = true;
            line.remove_prefix(at + open.size());
        }
        title += line;
        const std::size_t end = AnsiUpperCase(title).find(close);
        if (end != std::string::npos)
            return title.substr(0, end);
    }
    return title;
}

std::vector<TInfoRow> DocumentInfoRows(const TDocumentFacts& facts)
{
    const bool named = !facts.FileName.empty();
    std::string title;
    std::string size;
    if (named && facts.SavedBytes) {
        title = GetHtmlTitle(*facts.SavedBytes);
        size = std::to_string(facts.SavedBytes->size());
    }
    int lines = 0;
    std::size_t characters = 0;
    if (facts.Lines) {
        lines = facts.Lines->Count();
        for (int i = 0; i < lines; ++i)
            characters += (*facts.Lines)[i].size();
    }
    return {{"Document name", std::filesystem::path(facts.FileName).filename().string()},
            {"Full path ", facts.FileName},
            {"Document title", title},
            {"Bytes in document ", size},
            {"Last saved at ", facts.SavedAt},
            {"", ""},
            {"Lines in document", std::to_string(lines)},
            {"Characters in document", std::to_string(characters)}};
}

} // namespace vx::tools
