// Every window a menu item opens, as a user meets it: it comes up on the
// screen, Escape closes it, and the document is as it was.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "platform/Registry.h"
#include "shell/launch/Launchers.h"
#include "shell/menu/MenuTable.h"

#include <QScreen>

#include <cstdio>

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
        "Calculator1", "ShowFilemanager1", "Movementrecorder1", "Prefferences1",  "FindandReplace1",
        "Jumptoline1", "Imagepreviewer1",  "AboutVellumix1",    "EditASPregistryentries1",
    };
    return names;
}

// A launcher whose guard opens nothing without a selection: it is met in its own tests.
constexpr std::string_view NeedsSelection = "MoveSelecttexttosnippets1";

bool OpensAWindow(const TMenuRow& row)
{
    if (std::string_view(row.Parent).starts_with(vx::shell::menu::ToolBarPrefix) || row.Name == NeedsSelection)
        return false;
    return row.Kind == TKind::Launcher || WindowCommands().count(row.Name);
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

class WindowsEscapeTest : public ShellTest {
protected:
    std::vector<std::string> Documents() const
    {
        std::vector<std::string> texts;
        for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
            texts.push_back(Text(form->SlotEditor(slot)));
        return texts;
    }
};

TEST_F(WindowsEscapeTest, EveryWindowAMenuItemOpensLiesOnTheScreenAndClosesWithEscape)
{
    StartAndActivate();
    // Email Source opens only with a mail server to send through; without one it says so instead.
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("\\software\\Orvane\\Vellumix\\", true));
    reg.WriteString("smtp", "127.0.0.1");
    reg.CloseKey();
    form->resize(1000, 700);
    form->move(0, 0);
    Focus(form->SlotEditor(1));
    const QRect screen = form->screen()->availableGeometry();
    int opened = 0;
    for (const TMenuRow& row : MenuRows()) {
        if (!OpensAWindow(row))
            continue;
        QAction* action = form->findChild<QAction*>(row.Name);
        ASSERT_NE(action, nullptr) << row.Name;
        if (!action->isEnabled())
            continue;
        if (std::getenv("VX_TRACE_WINDOWS"))
            std::fprintf(stderr, "opening %s\n", row.Name);
        const std::set<QWidget*> shown = VisibleWindows();
        Focus(form->SlotEditor(1));
        const std::vector<std::string> before = Documents();
        QPointer<QWidget> window;
        bool found = false, closed = false, escaped = false, busy = false;
        int waited = 0;
        // Modal windows come up inside the trigger; the poll meets them there.
        // It never waits inside itself: each tick takes one step.
        auto* poll = new QTimer(form.get());
        QObject::connect(poll, &QTimer::timeout, poll, [&] {
            if (busy)
                return;
            busy = true;
            if (++waited > 300) { // three seconds: the window never came, or Escape did nothing
                poll->stop();
                if (QWidget* modal = QApplication::activeModalWidget())
                    modal->close();
                if (window)
                    window->close();
            } else if (escaped && (!window || !window->isVisible())) {
                closed = true; // hidden, or freed by the command that made it
                poll->stop();
            } else if (!found) {
                window = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : NewWindow(shown);
                found = window;
            } else if (!escaped && window->windowHandle() && window->windowHandle()->isExposed()) {
                escaped = true;
                window->activateWindow();
                const QRect frame = window->frameGeometry();
                EXPECT_TRUE(screen.contains(frame)) << row.Name << " lies off the screen at " << frame.x() << ","
                                                    << frame.y() << " " << frame.width() << "x" << frame.height();
                QWidget* keys = QApplication::focusWidget() && QApplication::focusWidget()->window() == window
                                    ? QApplication::focusWidget()
                                    : window.data();
                QTest::keyClick(keys, Qt::Key_Escape);
            }
            busy = false;
        });
        poll->start(10);
        action->trigger();
        QTest::qWaitFor([&] { return closed || !poll->isActive(); }, 5000);
        poll->stop();
        poll->deleteLater();
        EXPECT_TRUE(found) << row.Name << " opened no window";
        EXPECT_TRUE(closed) << row.Name << " did not close with Escape";
        if (window && window->isVisible())
            window->close();
        opened += found ? 1 : 0;
        EXPECT_EQ(Documents(), before) << row.Name << " changed a document";
        // The next window starts from the same documents.
        for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
            if (Text(form->SlotEditor(slot)) != before[static_cast<size_t>(slot - 1)])
                form->SlotEditor(slot)->Model().SetText(before[static_cast<size_t>(slot - 1)]);
    }
    EXPECT_GT(opened, 60);
}

} // namespace
} // namespace vx::test
