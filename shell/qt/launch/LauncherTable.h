// One row per launched dialog: how it is made, what it is handed before it
// shows, and how its result comes out. Steps are small functions over a
// launch in progress, so a row reads as a sentence.
#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

class QDialog;
class QWidget;
class TForm1;
class TmwCustomEdit;

namespace vx::shell {

struct TLaunch {
    TForm1& Form;
    // The editor that had the focus when the command ran; null for none.
    TmwCustomEdit* Editor;
    // What the command hands on besides the editor (a dropped file's path).
    std::string Argument;
    QDialog* Dialog = nullptr;
    int Result = 0;
    bool Accepted() const;
};

using TMakeDialog = QDialog* (*)(QWidget* parent);
// False stops the launch before the dialog is made.
using TGuard = bool (*)(TLaunch&);
using TStep = void (*)(TLaunch&);
// Replaces the common steps for a launcher that runs a whole command of its own.
using TRunner = void (*)(TForm1&);

struct TLauncherRow {
    const char* DialogClass;
    // Null while the dialog is not built: its commands stay disabled.
    TMakeDialog Make;
    TStep HandIn = nullptr;
    // Taken only when the dialog was closed by its accept button: a dialog
    // closed any other way (cancel, Escape, the window frame) changes nothing.
    TStep TakeResult = nullptr;
    TGuard Guard = nullptr;
    TRunner Run = nullptr;
    // Runs however the dialog was closed: what it left outside the document
    // (trees, lists, a file it saved).
    TStep AfterClose = nullptr;
};

template <class D> QDialog* Make(QWidget* parent)
{
    return new D(parent);
}

const std::vector<TLauncherRow>& LauncherTable();
// The common steps for the row (its Run aside): guard, create, hand in, show
// through the dialog host, take the result, free. Answers the modal result.
int LaunchRow(TForm1& form, const TLauncherRow& row, std::string argument = {});
const TLauncherRow* FindLauncher(std::string_view dialogClass);

} // namespace vx::shell
