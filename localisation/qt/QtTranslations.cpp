// Loading and unloading Qt's translations.
#include "localisation/qt/QtTranslations.h"

#include "localisation/qt/KMLang.h"
#include "localisation/qt/QtTextsOfOurs.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTabBar>
#include <QToolButton>
#include <QTranslator>

#include <memory>
#include <optional>

namespace {

std::unique_ptr<QTranslator>& Installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// Installed before Qt's own: Qt asks the translator installed last first, so
// ours answers only where Qt's catalogue has nothing.
TQtTextsOfOurs& Ours()
{
    static TQtTextsOfOurs translator;
    return translator;
}

// The locale whose language calls itself by that name.
std::optional<QLocale> LocaleNamed(const QString& name)
{
    for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory))
        if (locale.language() != QLocale::C && locale.nativeLanguageName().compare(name, Qt::CaseInsensitive) == 0)
            return QLocale(locale.language());
    return std::nullopt;
}

// A tab bar names its scroll buttons once, when it is made: the tab bars
// already made are named anew.
void RenameTabScrollButtons()
{
    const std::pair<const char*, const char*> buttons[] = {{"ScrollLeftButton", "Scroll Left"},
                                                           {"ScrollRightButton", "Scroll Right"}};
    for (QWidget* widget : QApplication::allWidgets())
        if (qobject_cast<QTabBar*>(widget->parentWidget()))
            for (const auto& [name, text] : buttons)
                if (widget->objectName() == QLatin1String(name) && qobject_cast<QToolButton*>(widget))
                    widget->setAccessibleName(QTabBar::tr(text));
}

} // namespace

void UseQtTranslations(const std::string& language)
{
    if (std::unique_ptr<QTranslator>& old = Installed()) {
        QCoreApplication::removeTranslator(old.get());
        old.reset();
    }
    QCoreApplication::removeTranslator(&Ours());
    QCoreApplication::installTranslator(&Ours());
    const std::optional<QLocale> locale =
        TKAppLanguage::IsNativeName(language) ? std::nullopt : LocaleNamed(vx::ToQString(language));
    auto translator = std::make_unique<QTranslator>();
    if (locale && translator->load(*locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        Installed() = std::move(translator);
    }
    RenameTabScrollButtons();
}
