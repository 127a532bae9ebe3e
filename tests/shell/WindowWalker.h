// Opens every window the menu and launcher tables open, one after the other,
// as a user does: the command on the shown main window, the window met once it
// is on the screen, Escape to close it. The tests look at each window while it
// is up.
#pragma once

#include "platform/qt/Dialogs.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class TForm1;

namespace vx::test {

class DialogRecorder;

struct TWalkedWindow {
    std::string Command; // the menu item's name, or the dialog class of a launcher no item opens
    bool Found = false;  // a window came up
    bool ClosedByEscape = false;
    bool ChangedDocument = false;
    // The message boxes the command and its window raised, as the recorder answered them.
    std::vector<vx::dialogs::Request> Messages;
    // Once the window closed by Escape: the main window is active again, and
    // keys typed into it reach the editor that had the keyboard before.
    bool MainWindowActiveAfter = false;
    bool TypingReachedEditor = false;
};

// Sees the window while it is up, before Escape.
using TWindowVisit = std::function<void(const std::string& command, QWidget& window)>;

// Shows the main window at 0,0 in 1,000 by 700 pixels with the first
// document's editor focused, then opens every window. A window that closes
// with Escape is followed by typing into the main window; a window that does
// not is closed. A changed document is set back, so the next window starts
// from the same state. The dialogs answers the message boxes.
std::vector<TWalkedWindow> WalkEveryWindow(TForm1& form, const DialogRecorder& dialogs, const TWindowVisit& visit);

} // namespace vx::test
