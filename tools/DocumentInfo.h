// The rows of the document-information dialog and the page title they show.
#pragma once

#include "platform/TStringList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx::tools {

// The text between the first "<TITLE>" and the "</TITLE>" after it (any case),
// lines joined without separator; what was gathered when the text ends first;
// empty when no line holds "<TITLE>".
std::string GetHtmlTitle(std::string_view text);

// What the rows are made of: the slot's file as saved, and the editor's lines.
struct TDocumentFacts {
    std::string FileName; // as the slot holds it; empty for an unnamed slot
    // The saved file, when it could be read.
    std::optional<std::string> SavedBytes;
    std::string SavedAt; // the file's time stamp, or the current time when unnamed
    const TStrings* Lines = nullptr;
};

using TInfoRow = std::pair<std::string, std::string>;
std::vector<TInfoRow> DocumentInfoRows(const TDocumentFacts& facts);

} // namespace vx::tools
