// Clicks anywhere in a list or tree view: on an item or on the empty space
// around the items, as the panels' click and double-click events take them.
#pragma once

#include <functional>

class QAbstractItemView;

namespace vx::shell {

enum class TViewClick { Single, Double };

// Runs command after each click of that kind in the view's viewport; what it
// raises is shown in a message box.
void OnViewClick(QAbstractItemView& view, TViewClick kind, std::function<void()> command);

} // namespace vx::shell
