#include "platform/qt/Application.h"

#include "platform/Exception.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

namespace vx {

void ShowException(const std::exception& e)
{
    if (dynamic_cast<const EAbort*>(&e))
        return;
    MessageBox(e.what(), FromQString(QCoreApplication::applicationName()), MB_OK | MB_ICONERROR);
}

bool DeliverShowingExceptions(const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown error"));
    }
    return false;
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverShowingExceptions([&] { return QApplication::notify(receiver, event); });
}

} // namespace vx
