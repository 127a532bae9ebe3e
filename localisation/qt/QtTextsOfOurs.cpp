// The Qt-side texts our language files word.
#include "localisation/qt/QtTextsOfOurs.h"

#include "localisation/qt/RunTimeTexts.h"
#include "platform/qt/Application.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

const TRunTimeText Texts[] = {
    // The print dialog's, missing from Qt's Dutch catalogue.
    TRunTimeText{"Double Sided Printing"},
    TRunTimeText{"Long side binding"},
    TRunTimeText{"Short side binding"},
    TRunTimeText{"Off"},
    TRunTimeText{"Printer"},
    TRunTimeText{"Type:"},
    // The titles the platform layer gives message boxes after their type.
    TRunTimeText{"Warning"},
    TRunTimeText{"Error"},
    TRunTimeText{"Information"},
    TRunTimeText{"Confirm"},
    // What an exception of no known kind says.
    TRunTimeText{"Unknown error"},
};

} // namespace

QString TQtTextsOfOurs::translate(const char* context, const char* sourceText, const char*, int) const
{
    const bool wording = context && sourceText && std::strcmp(context, vx::WordingContext) == 0;
    const auto isSource = [sourceText](const TRunTimeText& t) { return std::strcmp(t.English(), sourceText) == 0; };
    const bool listed = sourceText && std::any_of(std::begin(Texts), std::end(Texts), isSource);
    if (!wording && !listed)
        return {};
    const QString worded = TrQ(sourceText);
    return worded == QLatin1String(sourceText) ? QString() : worded;
}
