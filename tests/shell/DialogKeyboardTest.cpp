// The keyboard after a tool window's file dialog closes, on the dialogs the
// user sees: the tool window has it, whichever way the dialog closed, so the
// Escape typed next closes the tool window.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/speedbar/SpeedBar.h"
#include "internet/qt/LinkCheckForm.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

namespace vx::test {
namespace {

// Keys arrive where the keyboard is, as a user's do: a list of completions
// that came up over a field takes them while it shows. Key: a character or a Qt::Key.
template <class Key> void PressWhereTheKeyboardIs(Key key)
{
    QWindow* keyboard = QGuiApplication::focusWindow();
    ASSERT_NE(keyboard, nullptr) << "the keyboard is nowhere";
    QTest::keyClick(keyboard, key);
}

// The file's path typed into the dialog's name field, then Return.
void TypeTheName(QFileDialog&, const std::string& path)
{
    for (const char c : path)
        PressWhereTheKeyboardIs(c);
    PressWhereTheKeyboardIs(Qt::Key_Return);
}

// The application hears of no window of its own with the keyboard since one
// that is gone, as when the user went to another program.
void KeyboardGoesElsewhere()
{
    {
        QWindow gone;
        gone.show();
        gone.requestActivate();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == &gone; }, kPatienceMs));
    }
    ASSERT_EQ(QGuiApplication::focusWindow(), nullptr);
}

// As on a busy screen: the name is accepted before the application hears
// that the keyboard went to the dialog.
void ReturnBeforeTheKeyboardIsHeardOf(QFileDialog& files, const std::string& path)
{
    KeyboardGoesElsewhere();
    auto* name = files.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(path));
    QTest::keyClick(name, Qt::Key_Return);
}

void ClickCancel(QFileDialog& files, const std::string&)
{
    auto* buttons = files.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
}

struct ClosingWay {
    const char* name;
    void (*close)(QFileDialog& files, const std::string& path);
    bool chooses;
};

struct ToolWindow {
    const char* command;
    // The button that opens its file dialog.
    QWidget* (*openButton)(QDialog& tool);
    // Where it shows the file chosen.
    QString (*shownFile)(QDialog& tool);
    const char* file;
};

QWidget* AnimatorOpen(QDialog& tool)
{
    auto* item = dynamic_cast<TSpeedItem*>(tool.findChild<QObject*>("OpenBtn"));
    return item ? item->Button() : nullptr;
}

QString AnimatorTitle(QDialog& tool)
{
    return tool.windowTitle();
}

QWidget* LinkCheckerBrowse(QDialog& tool)
{
    return static_cast<TfrmLinkChecking&>(tool).btnBrowse;
}

QString LinkCheckerStart(QDialog& tool)
{
    return static_cast<TfrmLinkChecking&>(tool).edtHTML->text();
}

class DialogKeyboardTest : public ShellTest {};

TEST_F(DialogKeyboardTest, AToolWindowHasTheKeyboardAfterItsFileDialogClosesAnyWay)
{
    WriteDoc("one.gif", std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\xff"
                                     "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                                     35));
    WriteDoc("page.htm", "<a href=\"page.htm\">here</a>");
    const ToolWindow tools[] = {
        {"GIFAnimator1", AnimatorOpen, AnimatorTitle, "one.gif"},
        {"LinkValidator1", LinkCheckerBrowse, LinkCheckerStart, "page.htm"},
    };
    const ClosingWay ways[] = {
        {"a typed name and Return", TypeTheName, true},
        {"a name accepted before the keyboard was heard of", ReturnBeforeTheKeyboardIsHeardOf, true},
        {"Cancel", ClickCancel, false},
    };
    StartAndActivate();
    Focus(form->SlotEditor(1));
    vx::dialogs::SetAnswerer({});
    for (const ToolWindow& tool : tools)
        for (const ClosingWay& way : ways) {
            SCOPED_TRACE(std::string(tool.command) + ", the file dialog closed by " + way.name);
            bool closedByEscape = false;
            AnswerNext<QDialog>([&](QDialog& window) {
                window.activateWindow();
                ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }, kPatienceMs));
                AnswerNext<QFileDialog>([&](QFileDialog& files) {
                    ASSERT_TRUE(QTest::qWaitFor([&] { return files.isActiveWindow(); }, kPatienceMs));
                    way.close(files, docs.file(tool.file));
                });
                QWidget* open = tool.openButton(window);
                ASSERT_NE(open, nullptr);
                QTest::mouseClick(open, Qt::LeftButton);
                EXPECT_EQ(tool.shownFile(window).contains(tool.file), way.chooses);
                EXPECT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }, kPatienceMs));
                PressWhereTheKeyboardIs(Qt::Key_Escape);
                closedByEscape = QTest::qWaitFor([&] { return !window.isVisible(); }, kPatienceMs);
                if (!closedByEscape)
                    window.reject();
            });
            PickMenuCommand(*form, tool.command);
            EXPECT_TRUE(closedByEscape);
        }
}

// A modal window the program closes by itself, as a progress window whose
// work is done, gives the keyboard back when the program had it, and leaves
// it where it is while the user types in another program.
TEST_F(DialogKeyboardTest, AModalWindowTheProgramClosesGivesTheKeyboardBackOnlyWhenTheProgramHadIt)
{
    StartAndActivate();
    Focus(form->SlotEditor(1));
    for (const bool elsewhere : {false, true}) {
        SCOPED_TRACE(elsewhere ? "the user in another program" : "the program with the keyboard");
        QDialog progress(form.get());
        progress.setModal(true);
        progress.show();
        progress.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return progress.isActiveWindow(); }, vx::test::kPatienceMs));
        if (elsewhere)
            KeyboardGoesElsewhere();
        progress.hide();
        if (!elsewhere) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, vx::test::kPatienceMs));
            continue;
        }
        // The keyboard goes back through a queued call, then the window system's word.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(QGuiApplication::focusWindow(), nullptr) << "the keyboard was taken from the other program";
    }
}

} // namespace
} // namespace vx::test
