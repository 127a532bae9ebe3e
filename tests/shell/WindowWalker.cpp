// The walk over every window the menu and launcher tables open.
#include "tests/shell/WindowWalker.h"

#include "tests/shell/ShellFixture.h"

#include "platform/Registry.h"
#include "shell/qt/launch/LaunchSteps.h"
#include "shell/qt/launch/LauncherTable.h"
#include "shell/qt/launch/Launchers.h"
#include "shell/menu/MenuTable.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string_view>

namespace vx::test {
namespace {

using vx::shell::menu::MenuRows;
using vx::shell::menu::TKind;
using vx::shell::menu::TMenuRow;

// Menu items that open a window besides the dialog launchers.
const std::set<std::string_view>& WindowCommands()
{
    static const std::set<std::string_view> names = {
        "Calculator1",   "ShowFilemanager1", "Movementrecorder1", "Prefferences1",           "FindandReplace1",
        "Jumptoline1",   "Imagepreviewer1",  "AboutVellumix1",    "EditASPregistryentries1", "Htmlencode1",
        "InsertRemark1", "InsertHTMlRemark1", "Printdocument1",
    };
    return names;
}

bool OpensAWindow(const TMenuRow& row)
{
    if (std::string_view(row.Parent).starts_with(vx::shell::menu::ToolBarPrefix))
        return false;
    return row.Kind == TKind::Launcher || WindowCommands().count(row.Name);
}

// A launcher whose guard wants selected text.
bool WantsSelection(const TMenuRow& row)
{
    const vx::shell::TLauncherRow* launcher =
        row.Kind == TKind::Launcher ? vx::shell::FindLauncher(row.Arg) : nullptr;
    return launcher && launcher->Guard == vx::shell::steps::HasSelection;
}

QWidget* NewWindow(const std::set<QWidget*>& before)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && !before.count(top) && !qobject_cast<QMenu*>(top) && top->isWindow() &&
            top->windowType() != Qt::ToolTip)
            return top;
    return nullptr;
}

std::set<QWidget*> VisibleWindows()
{
    std::set<QWidget*> shown;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            shown.insert(top);
    return shown;
}

std::vector<std::string> Documents(const TForm1& form)
{
    std::vector<std::string> texts;
    for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
        texts.push_back(form.SlotEditor(slot)->Model().GetText());
    return texts;
}

void FocusFirstDocument(TForm1& form)
{
    form.activateWindow();
    QApplication::processEvents();
    form.SlotEditor(1)->setFocus();
    QApplication::processEvents();
}

// Runs the command and meets the window it opens. Modal windows come up
// inside the command; the poll meets them there. It never waits inside
// itself: each tick takes one step.
TWalkedWindow OpenVisitAndEscape(TForm1& form, const std::string& command, const std::function<void()>& run,
                                 const TWindowVisit& visit)
{
    TWalkedWindow walked{command};
    const std::set<QWidget*> shown = VisibleWindows();
    QPointer<QWidget> window;
    bool escaped = false, busy = false;
    QElapsedTimer waited;
    waited.start();
    auto* poll = new QTimer(&form);
    QObject::connect(poll, &QTimer::timeout, poll, [&] {
        if (busy)
            return;
        busy = true;
        if (waited.hasExpired(kPatienceMs)) { // the window never came, or Escape did nothing
            poll->stop();
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            if (window)
                window->close();
        } else if (escaped && (!window || !window->isVisible())) {
            walked.ClosedByEscape = true; // hidden, or freed by the command that made it
            poll->stop();
        } else if (!walked.Found) {
            window = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : NewWindow(shown);
            walked.Found = window;
        } else if (!escaped && window->windowHandle() && window->windowHandle()->isExposed()) {
            escaped = true;
            window->activateWindow();
            visit(command, *window);
            QWidget* keys = QApplication::focusWidget() && QApplication::focusWidget()->window() == window
                                ? QApplication::focusWidget()
                                : window.data();
            QTest::keyClick(keys, Qt::Key_Escape);
        }
        busy = false;
    });
    poll->start(10);
    run();
    (void)QTest::qWaitFor([&] { return walked.ClosedByEscape || !poll->isActive(); }, 2 * kPatienceMs);
    poll->stop();
    poll->deleteLater();
    if (window && window->isVisible())
        window->close();
    return walked;
}

// Waits for the main window to take the keyboard back by itself, then types
// into it as the window system delivers keys: to the window, whose focused
// widget takes them.
void TypeAfterClosing(TForm1& form, TmwCustomEdit& editor, TWalkedWindow& walked)
{
    walked.MainWindowActiveAfter = QTest::qWaitFor([&] { return form.isActiveWindow(); }, kPatienceMs);
    // Counted, not compared: the keys may replace a selection the command wanted.
    const auto typed = [&editor] { return std::ranges::count(editor.Model().GetText(), 'Q'); };
    const auto before = typed();
    for (char key : {'Q', 'Q'})
        QTest::keyClick(form.windowHandle(), key);
    walked.TypingReachedEditor = typed() == before + 2;
}

} // namespace

std::vector<TWalkedWindow> WalkEveryWindow(TForm1& form, const DialogRecorder& dialogs, const TWindowVisit& visit)
{
    // Email Source opens only with a mail server to send through; without one it says so instead.
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(reg.OpenKey("\\software\\Orvane\\Vellumix\\", true));
    reg.WriteString("smtp", "127.0.0.1");
    reg.CloseKey();
    form.resize(1000, 700);
    form.move(0, 0);
    form.show();
    std::vector<TWalkedWindow> walked;
    std::set<std::string_view> launched;
    auto walk = [&](const std::string& command, const std::function<void()>& run) {
        if (std::getenv("VX_TRACE_WINDOWS"))
            std::fprintf(stderr, "opening %s\n", command.c_str());
        FocusFirstDocument(form);
        const std::vector<std::string> before = Documents(form);
        const std::size_t asked = dialogs.requests.size();
        walked.push_back(OpenVisitAndEscape(form, command, run, visit));
        walked.back().ChangedDocument = Documents(form) != before;
        for (std::size_t i = asked; i < dialogs.requests.size(); ++i)
            if (dialogs.requests[i].kind == vx::dialogs::Kind::Message)
                walked.back().Messages.push_back(dialogs.requests[i]);
        if (walked.back().ClosedByEscape)
            TypeAfterClosing(form, *form.SlotEditor(1), walked.back());
        for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
            if (form.SlotEditor(slot)->Model().GetText() != before[static_cast<size_t>(slot - 1)])
                form.SlotEditor(slot)->Model().SetText(before[static_cast<size_t>(slot - 1)]);
    };
    for (const TMenuRow& row : MenuRows()) {
        if (!OpensAWindow(row))
            continue;
        QAction* action = form.findChild<QAction*>(row.Name);
        EXPECT_NE(action, nullptr) << row.Name;
        if (!action || !action->isEnabled())
            continue;
        if (row.Kind == TKind::Launcher)
            launched.insert(row.Arg);
        if (!WantsSelection(row)) {
            walk(row.Name, [action] { action->trigger(); });
            continue;
        }
        TmwCustomEdit& editor = *form.SlotEditor(1);
        const std::string kept = editor.Model().GetText();
        editor.Model().SetText("1234");
        SelectRange(editor, 1, 1, 5);
        walk(row.Name, [action] { action->trigger(); });
        editor.Model().SetText(kept);
    }
    // A dialog no menu item opens: the program runs its launcher itself.
    for (const vx::shell::TLauncherRow& row : vx::shell::LauncherTable())
        if (row.Make && !launched.count(row.DialogClass))
            walk(row.DialogClass, [&form, &row] { vx::shell::RunLauncher(form, row.DialogClass); });
    return walked;
}

} // namespace vx::test
