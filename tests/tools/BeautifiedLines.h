// The beautifier's text cut back into lines, as the tests compare them.
#pragma once

#include "tools/core/SourceBeautifier.h"
#include "tools/core/TextLines.h"

#include <string>
#include <vector>

namespace vx::tools::test {

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
