#include "tools/qt/framework/MemoLines.h"

#include "controls/flat/TFlatMemoUnit.h"

namespace vx::tools {

std::vector<std::string> MemoLinesOf(const TFlatMemo& memo)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(memo.Lines().Count()));
    for (int i = 0; i < memo.Lines().Count(); ++i)
        lines.push_back(memo.Lines()[i]);
    return lines;
}

void AddMemoLines(TFlatMemo& memo, const std::vector<std::string>& lines)
{
    TStrings& out = memo.Lines();
    out.BeginUpdate();
    for (const std::string& line : lines)
        out.Add(line);
    out.EndUpdate();
}

} // namespace vx::tools
