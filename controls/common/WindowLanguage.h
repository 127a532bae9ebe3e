// The program's language in the windows this layer builds (the speed bar's
// customisation window, the date dialog and calendar, the calculator). The
// translator belongs to a layer above, so a window built here hands itself
// over once its parts are in place, and the program installs what takes it:
// the window is translated then and again at every switch of language. Until
// one is installed a window keeps the texts it was built with.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace vx {

struct TWindowWording {
    // The parts that show data rather than words of the program (a month
    // and year, a user's entry): never translated.
    std::vector<std::string> DataParts;
    // Sets the texts the window words itself (a title its caller gave), now
    // and again after every translation.
    std::function<void()> OwnTexts;
};

using TWindowTranslator = std::function<void(QWidget& window, const TWindowWording& wording)>;

// Installs the translator; an empty one removes it.
void SetWindowTranslator(TWindowTranslator translator);
// At the end of a window's construction, its parts named.
void TranslateOwnWindow(QWidget& window, const TWindowWording& wording = {});

} // namespace vx
