// Document information and the page title.
#include "tools/DocumentInfo.h"

#include "localisation/RunTimeText.h"
#include "platform/AnsiText.h"
#include "tools/TextLines.h"

#include <filesystem>

namespace vx::tools {

namespace {

// The rows' names, in the current language.
const TRunTimeText DocumentName{"Document name"};
const TRunTimeText FullPath{"Full path "};
const TRunTimeText DocumentTitle{"Document title"};
const TRunTimeText BytesInDocument{"Bytes in document "};
const TRunTimeText LastSavedAt{"Last saved at "};
const TRunTimeText LinesInDocument{"Lines in document"};
const TRunTimeText CharactersInDocument{"Characters in document"};

} // namespace

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
    return {{DocumentName(), std::filesystem::path(facts.FileName).filename().string()},
            {FullPath(), facts.FileName},
            {DocumentTitle(), title},
            {BytesInDocument(), size},
            {LastSavedAt(), facts.SavedAt},
            {"", ""},
            {LinesInDocument(), std::to_string(lines)},
            {CharactersInDocument(), std::to_string(characters)}};
}

} // namespace vx::tools
