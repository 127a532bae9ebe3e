// Exceptions shown to the user: no exception crosses a Qt event handler. The
// application object catches what escapes an event's delivery and shows its
// message in a message box; the program goes on.
#pragma once

#include <QApplication>

#include <exception>
#include <functional>

namespace vx {

// A message box (through the dialog wrapper) with the exception's message,
// captioned with the application title. EAbort, the silent exception, shows nothing.
void ShowException(const std::exception& e);

// Runs deliver and shows any exception that escapes it; false after an exception.
bool DeliverShowingExceptions(const std::function<bool()>& deliver);

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace vx
