// Enter (either Return or the keypad's Enter) on a list runs what a double
// click on its current item runs, so a keyboard user reaches the same command.
#pragma once

#include <functional>

class QAbstractItemView;

namespace vx {

// run is called on Enter while the view has a current item; the key goes no further then.
void OnEnterKey(QAbstractItemView* view, std::function<void()> run);

} // namespace vx
