// Exceptions shown to the user: no exception crosses a Qt event handler. The
// application object catches what escapes an event's delivery and shows its
// message in a message box; the program goes on.
#pragma once

#include "platform/WindowHandle.h"

#include <QApplication>

#include <exception>
#include <functional>

namespace vx {

// A message box (through the dialog wrapper) with the exception's message,
// captioned with the application title: a message of ours in the chosen
// language, which Qt's translation gives in the context WordingContext.
// EAbort, the silent exception, shows nothing.
void ShowException(const std::exception& e);
inline constexpr const char* WordingContext = "TWording";

// The application's exception event: while set, an exception that escapes an
// event's delivery goes to it instead of ShowException. A handler that takes
// it over keeps the one it replaced and passes on what it does not show itself.
using TExceptionEvent = std::function<void(const std::exception& e)>;
TExceptionEvent& ApplicationOnException();

// Runs deliver and hands any exception that escapes it to the exception event,
// or shows it; false after an exception.
bool DeliverShowingExceptions(const std::function<bool()>& deliver);

// The native handle of the main window (the application's shown QMainWindow), 0 when none.
TWindowHandle MainWindowHandle();

// Also makes MainWindowHandle the application's window handle.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace vx
