// The installed window translator.
#include "controls/common/WindowLanguage.h"

#include <utility>

namespace vx {

namespace {

TWindowTranslator& Translator()
{
    static TWindowTranslator translator;
    return translator;
}

} // namespace

void SetWindowTranslator(TWindowTranslator translator)
{
    Translator() = std::move(translator);
}

void TranslateOwnWindow(QWidget& window, const TWindowWording& wording)
{
    if (Translator())
        Translator()(window, wording);
    else if (wording.OwnTexts)
        wording.OwnTexts();
}

} // namespace vx
