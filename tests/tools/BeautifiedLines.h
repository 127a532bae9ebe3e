// What the beautifier's tests hand it and compare: the shipped word lists as
// options, texts from lines, and its text cut back into lines.
#pragma once

#include "tools/SourceBeautifier.h"
#include "tools/TextLines.h"
#include "tools/TextScan.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vx::tools::test {

// The shipped word lists made keys, as the window makes them.
inline TBeautifyOptions ShippedOptions(TIndentUnit unit = TIndentUnit::Space3)
{
    const TShippedLists& lists = ShippedWordLists();
    return {true, true, unit, WordKeys(lists.IndentHtml), WordKeys(lists.OutdentHtml), WordKeys(lists.IndentScript),
            WordKeys(lists.OutdentScript)};
}

// The lines, each ended by CR LF.
inline std::string JoinedLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The text with "|" written for the word mark.
inline std::string Marked(std::string text)
{
    std::replace(text.begin(), text.end(), '|', WordMark);
    return text;
}

inline std::vector<std::string> BeautifyLines(std::string_view text, const TBeautifyOptions& options,
                                              const TBeautifyProgress& progress = {})
{
    const std::string out = BeautifyText(text, options, progress);
    std::vector<std::string> lines;
    for (const std::string_view line : SplitLines(out))
        lines.emplace_back(line);
    return lines;
}

} // namespace vx::tools::test
