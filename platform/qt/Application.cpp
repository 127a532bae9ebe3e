#include "platform/qt/Application.h"

#include "platform/Exception.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QCoreApplication>
#include <QMainWindow>

namespace vx {

namespace {

// Worded through Qt's translation: the language layer above this one answers it.
std::string ThroughQt(std::string_view english)
{
    return FromQString(QCoreApplication::translate(WordingContext, std::string(english).c_str()));
}

} // namespace

void ShowException(const std::exception& e)
{
    if (dynamic_cast<const EAbort*>(&e))
        return;
    MessageBox(SaidBy(e).Worded(&ThroughQt), FromQString(QCoreApplication::applicationName()), MB_OK | MB_ICONERROR);
}

TExceptionEvent& ApplicationOnException()
{
    static TExceptionEvent handler;
    return handler;
}

namespace {

void handleException(const std::exception& e)
{
    if (ApplicationOnException())
        ApplicationOnException()(e);
    else
        ShowException(e);
}

} // namespace

bool DeliverShowingExceptions(const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const std::exception& e) {
        handleException(e);
    } catch (...) {
        // Worded through Qt's translation: the language layer above this one answers it.
        handleException(Exception(FromQString(QCoreApplication::translate("Exception", "Unknown error"))));
    }
    return false;
}

TWindowHandle MainWindowHandle()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(window) && window->isVisible())
            return static_cast<TWindowHandle>(window->winId());
    return 0;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    SetApplicationWindowHandleSource(MainWindowHandle);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverShowingExceptions([&] { return QApplication::notify(receiver, event); });
}

} // namespace vx
