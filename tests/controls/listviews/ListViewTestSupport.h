// Helpers the list-view tests share: filling a list and reading its rows back.
#pragma once

#include "controls/listviews/EnhListView.h"

#include <string>
#include <vector>

namespace vx::test {

// Adds columns "A", "B", ... and one item per row (caption first).
void Fill(TCustomEnhListView& view, int columns, const std::vector<std::vector<std::string>>& rows);
// The captions from the first row down.
std::vector<std::string> Captions(const TCustomEnhListView& view);
// Clicks a column's header section.
void ClickHeader(TCustomEnhListView& view, int column);

} // namespace vx::test
