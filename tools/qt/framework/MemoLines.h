// A memo's lines as a list of strings, and back.
#pragma once

#include <string>
#include <vector>

class TFlatMemo;

namespace vx::tools {

std::vector<std::string> MemoLinesOf(const TFlatMemo& memo);
// Appends lines to the memo in one update.
void AddMemoLines(TFlatMemo& memo, const std::vector<std::string>& lines);

} // namespace vx::tools
