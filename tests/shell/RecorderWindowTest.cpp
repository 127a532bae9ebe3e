// The macro recorder's window on a started program: typing into an editor is
// recorded through the program's windows and played back into it; the
// recording goes to and comes from files; the buttons follow the state.
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "platform/IniFile.h"
#include "platform/ProgramPaths.h"
#include "shell/qt/windows/Recorder.h"
#include "shell/qt/windows/RecorderJournal.h"
#include "tests/controls/FlatTestSupport.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace vx::test {
namespace {

using vx::recorder::EventAt;
using vx::recorder::EventSize;
using vx::recorder::TEventMsg;
using vx::recorder::TRecorder;

class RecorderWindowTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        doc = WriteDoc("page.htm", "hello\r\n");
        OpenAndFocus(doc);
        editor = form->ActiveEditor();
        ASSERT_NE(editor, nullptr);
        window = frm_recorder;
        ASSERT_NE(window, nullptr);
        Activate(*window);
        // Beside the editor: playback finds the widget under each recorded position.
        window->move(editor->viewport()->mapToGlobal(QPoint(editor->viewport()->width(), 0)).x() + 5, 20);
        QApplication::processEvents();
    }
    TRecorder& Recorder() { return window->Recorder(); }
    std::vector<TEventMsg> Events()
    {
        std::vector<TEventMsg> events;
        for (std::size_t at = 0; at < Recorder().Stream().size(); at += EventSize)
            events.push_back(EventAt(Recorder().Stream(), at));
        return events;
    }
    int Count(std::uint32_t message, std::uint32_t paramL)
    {
        int n = 0;
        for (const TEventMsg& e : Events())
            n += e.message == message && e.paramL == paramL;
        return n;
    }
    // Record, a click at the start of the editor's text, the keys, Stop.
    void RecordTyping(const std::vector<std::pair<int, QString>>& keys)
    {
        Click(*window->Button1, QPoint(5, 5));
        ASSERT_EQ(Recorder().State(), TRecorder::rsRecording);
        Click(*editor->viewport(), QPoint(3, 3));
        for (const auto& [key, text] : keys)
            KeyPress(*editor, key, text);
        Click(*window->Button2, QPoint(5, 5));
        ASSERT_EQ(Recorder().State(), TRecorder::rsIdle);
    }
    // Plays the recording and waits until the editor holds the text.
    void PlayUntil(const std::string& expected)
    {
        Click(*window->Button3, QPoint(5, 5));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Recorder().State() == TRecorder::rsIdle && Text(editor) == expected; }, kPatienceMs));
        EXPECT_EQ(Text(editor), expected);
    }
    bool Usable(QPushButton* button) const { return button->isEnabled(); }

    std::string doc;
    TmwCustomEdit* editor = nullptr;
    Tfrm_recorder* window = nullptr;
};

TEST_F(RecorderWindowTest, TypingRecordedInAnEditorIsTypedAgainOnPlayback)
{
    EXPECT_EQ(window->windowTitle(), "Idle");
    // The help's sentence is one line, which the memo wraps.
    EXPECT_EQ(window->Memo1->Lines().Count(), 3);
    EXPECT_TRUE(window->Memo1->WordWrap());
    EXPECT_TRUE(window->Label2->isVisible()) << "without an X display it says what it records";
    EXPECT_FALSE(window->Label1->isVisible());
    EXPECT_FALSE(window->Label3->isVisible());
    RecordTyping({{Qt::Key_X, "x"}, {Qt::Key_Y, "y"}, {Qt::Key_Return, "\r"}});
    EXPECT_EQ(Text(editor), "xy\r\nhello\r\n");
    EXPECT_EQ(Count(vx::recorder::WM_KEYDOWN, 'X'), 1) << "each key is recorded once, from its window";
    EXPECT_EQ(Count(vx::recorder::WM_KEYUP, 'Y'), 1);
    EXPECT_EQ(Count(vx::recorder::WM_KEYDOWN, 0x0D), 1);
    EXPECT_GE(Count(vx::recorder::WM_LBUTTONDOWN, static_cast<std::uint32_t>(editor->viewport()->mapToGlobal(QPoint(3, 3)).x())), 1);
    for (const TEventMsg& e : Events())
        EXPECT_EQ(e.window, 0u);

    // What the caption and the buttons showed while the playback ran.
    std::vector<std::string> captions;
    std::vector<bool> loadUsable;
    QObject::connect(window, &QWidget::windowTitleChanged, window, [&](const QString& title) {
        captions.push_back(title.toStdString());
        loadUsable.push_back(Usable(window->Button4) && Usable(window->Button1));
    });
    PlayUntil("xy\r\nxy\r\nhello\r\n");
    EXPECT_EQ(captions, (std::vector<std::string>{"Playing", "Idle"}));
    EXPECT_EQ(loadUsable, (std::vector<bool>{false, true}));
    for (QPushButton* button : {window->Button1, window->Button3, window->Button4, window->Button5})
        EXPECT_TRUE(Usable(button)) << button->objectName().toStdString();
}

TEST_F(RecorderWindowTest, WheelTurnsAreRecordedAndPlayedBack)
{
    std::string lines;
    for (int i = 1; i <= 200; ++i)
        lines += "line " + std::to_string(i) + "\r\n";
    editor->Model().SetText(lines);
    editor->Model().SetTopLine(1);
    QWidget* viewport = editor->viewport();
    const QPoint middle(viewport->width() / 2, viewport->height() / 2);
    Click(*window->Button1, QPoint(5, 5));
    ASSERT_EQ(Recorder().State(), TRecorder::rsRecording);
    // Two notches towards the user, as the window system hands them to the window.
    QWidget* top = editor->window();
    QWheelEvent turn(QPointF(viewport->mapTo(top, middle)), QPointF(viewport->mapToGlobal(middle)), QPoint(),
                     QPoint(0, -2 * vx::recorder::WHEEL_DELTA), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&turn);
    qApp->notify(top->windowHandle(), &turn);
    const int scrolled = editor->Model().TopLine();
    ASSERT_GT(scrolled, 1) << "the turn scrolled the editor";
    Click(*window->Button2, QPoint(5, 5));
    int wheels = 0;
    for (const TEventMsg& e : Events())
        if (e.message == vx::recorder::WM_MOUSEWHEEL) {
            ++wheels;
            EXPECT_EQ(vx::recorder::WheelDeltaOf(e), -240);
            EXPECT_EQ(QPoint(vx::recorder::MouseXOf(e), vx::recorder::MouseYOf(e)), viewport->mapToGlobal(middle));
        }
    EXPECT_EQ(wheels, 1);

    editor->Model().SetTopLine(1);
    Click(*window->Button3, QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Recorder().State() == TRecorder::rsIdle; }, kPatienceMs));
    EXPECT_EQ(editor->Model().TopLine(), scrolled) << "the played turn scrolls as far";
}

TEST_F(RecorderWindowTest, ShiftedKeysPlayBackAsTheCharactersTheyTyped)
{
    Click(*window->Button1, QPoint(5, 5));
    Click(*editor->viewport(), QPoint(3, 3));
    KeyDown(*editor, Qt::Key_Shift, Qt::ShiftModifier);
    KeyPress(*editor, Qt::Key_Exclam, "!");
    KeyPress(*editor, Qt::Key_A, "A");
    Click(*window->Button2, QPoint(5, 5));
    EXPECT_GE(Count(vx::recorder::WM_KEYDOWN, 0x10), 1);
    EXPECT_EQ(Text(editor), "!Ahello\r\n");
    PlayUntil("!A!Ahello\r\n");
}

TEST_F(RecorderWindowTest, AShortcutIsRecordedOnceAndTriggersAgainOnPlayback)
{
    Click(*window->Button1, QPoint(5, 5));
    Click(*editor->viewport(), QPoint(3, 3));
    KeyPress(*editor, Qt::Key_Z, "z");
    KeyDown(*editor, Qt::Key_Control, Qt::ControlModifier);
    KeyDown(*editor, Qt::Key_S, Qt::ControlModifier, "\x13");
    Click(*window->Button2, QPoint(5, 5));
    ASSERT_EQ(readFile(doc), "zhello\r\n") << "the shortcut saved";
    EXPECT_EQ(Count(vx::recorder::WM_KEYDOWN, 'S'), 1);
    PlayUntil("zzhello\r\n");
    EXPECT_TRUE(QTest::qWaitFor([this] { return readFile(doc) == "zzhello\r\n"; }, kPatienceMs)) << readFile(doc);
}

TEST_F(RecorderWindowTest, ADoubleClickPlaysBackAsADoubleClick)
{
    // Between the first two characters, inside "hello" and inside the "ab" that replaces it.
    const TPoint inWord = editor->RowColumnToPixels(Point(2, 1));
    Click(*window->Button1, QPoint(5, 5));
    DoubleClick(*editor->viewport(), QPoint(inWord.X + 1, inWord.Y + editor->Model().LineHeight() / 2));
    KeyPress(*editor, Qt::Key_A, "a");
    KeyPress(*editor, Qt::Key_B, "b");
    Click(*window->Button2, QPoint(5, 5));
    ASSERT_EQ(Text(editor), "ab\r\n") << "the double click selected the word the typing replaced";
    PlayUntil("ab\r\n");
}

TEST_F(RecorderWindowTest, CtrlBreakEndsTheRecordingWithPlayLoadAndSaveUsable)
{
    Click(*window->Button1, QPoint(5, 5));
    EXPECT_EQ(window->windowTitle(), "Recording");
    for (QPushButton* button : {window->Button3, window->Button4, window->Button5})
        EXPECT_FALSE(Usable(button));
    Click(*editor->viewport(), QPoint(3, 3));
    KeyDown(*editor, Qt::Key_Control, Qt::ControlModifier);
    KeyDown(*editor, Qt::Key_Pause, Qt::ControlModifier);
    EXPECT_EQ(Recorder().State(), TRecorder::rsIdle);
    EXPECT_EQ(window->windowTitle(), "Idle");
    EXPECT_EQ(Events().back().paramL, vx::recorder::VK_CANCEL);
    for (QPushButton* button : {window->Button1, window->Button3, window->Button4, window->Button5})
        EXPECT_TRUE(Usable(button)) << button->objectName().toStdString();
}

TEST_F(RecorderWindowTest, RecordingsAreSavedAndLoadedThroughTheDialogsAndTheLastFileIsRemembered)
{
    RecordTyping({{Qt::Key_Q, "q"}});
    const std::string saved = docs.file("typing.asr");
    dialogs.Queue(mrOk, saved);
    Click(*window->Button5, QPoint(5, 5));
    ASSERT_EQ(dialogs.requests.back().kind, vx::dialogs::Kind::SaveFile);
    EXPECT_EQ(dialogs.requests.back().text, "Vellumix Recordings|*.asr");
    EXPECT_EQ(dialogs.requests.back().defaultExt, "asr");
    EXPECT_EQ(readFile(saved), Recorder().Stream());
    EXPECT_EQ(TIniFile(vx::UserDataPath("recorder.ini")).ReadString("1", "LastFile", ""), saved);

    const std::string recording = Recorder().Stream();
    RecordTyping({{Qt::Key_W, "w"}});
    // The open dialog starts from the file last chosen.
    dialogs.Queue(mrOk, saved);
    Click(*window->Button4, QPoint(5, 5));
    ASSERT_EQ(dialogs.requests.back().kind, vx::dialogs::Kind::OpenFile);
    EXPECT_EQ(dialogs.requests.back().initial, saved);
    EXPECT_EQ(dialogs.requests.back().text, "Vellumix Recordings|*.asr");
    EXPECT_EQ(dialogs.requests.back().defaultExt, "asr");
    EXPECT_EQ(Recorder().Stream(), recording);
    EXPECT_EQ(window->windowTitle(), "Idle");

    // A file cut short is refused with a message; the recording stays.
    const std::string cut = WriteDoc("cut.asr", recording.substr(0, recording.size() - 3));
    dialogs.Queue(mrOk, cut);
    Click(*window->Button4, QPoint(5, 5));
    EXPECT_EQ(dialogs.requests.back().kind, vx::dialogs::Kind::Message);
    EXPECT_NE(dialogs.requests.back().text.find("is not a recording"), std::string::npos);
    EXPECT_EQ(Recorder().Stream(), recording);

    // Cancelled dialogs change nothing.
    const std::size_t asked = dialogs.requests.size();
    Click(*window->Button4, QPoint(5, 5));
    Click(*window->Button5, QPoint(5, 5));
    EXPECT_EQ(dialogs.requests.size(), asked + 2);
    EXPECT_EQ(Recorder().Stream(), recording);
}

TEST_F(RecorderWindowTest, PlayingNothingSaysSo)
{
    Click(*window->Button3, QPoint(5, 5));
    ASSERT_FALSE(dialogs.requests.empty());
    EXPECT_EQ(dialogs.requests.back().text, "Recorder: Nothing to play");
    EXPECT_EQ(window->windowTitle(), "Idle");
}

TEST_F(RecorderWindowTest, TheSpinEditSetsTheSpeedButNeverToZero)
{
    EXPECT_EQ(window->SpinEdit1->value(), 100);
    const auto type = [this](const char* digits) {
        Click(*window->SpinEdit1, QPoint(10, 5));
        KeyDown(*window->SpinEdit1, Qt::Key_A, Qt::ControlModifier);
        for (const char* d = digits; *d; ++d)
            KeyPress(*window->SpinEdit1, Qt::Key_0 + (*d - '0'), QString(QChar(*d)));
    };
    type("50");
    EXPECT_EQ(Recorder().Speed(), 50);
    type("0");
    EXPECT_EQ(Recorder().Speed(), 50);
}

TEST(RecorderJournal, QtEventsBecomeTheRecordsOfTheirWindowsCodes)
{
    using namespace vx::recorder;
    const struct {
        QKeyEvent event;
        TEventMsg record;
    } keys[] = {
        {QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"), {WM_KEYDOWN, 'A', 1, 0, 0}},
        {QKeyEvent(QEvent::KeyRelease, Qt::Key_Colon, Qt::ShiftModifier, ":"), {WM_KEYUP, 0xBA, 1, 0, 0}},
        {QKeyEvent(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier), {WM_SYSKEYDOWN, 0x73, 1, 0, 0}},
        {QKeyEvent(QEvent::KeyPress, Qt::Key_Pause, Qt::ControlModifier), {WM_KEYDOWN, VK_CANCEL, 1, 0, 0}},
        {QKeyEvent(QEvent::KeyPress, Qt::Key_Pause, Qt::NoModifier), {WM_KEYDOWN, 0x13, 1, 0, 0}},
        {QKeyEvent(QEvent::ShortcutOverride, Qt::Key_S, Qt::ControlModifier), {WM_KEYDOWN, 'S', 1, 0, 0}},
    };
    for (const auto& k : keys) {
        TEventMsg record;
        ASSERT_TRUE(vx::shell::JournalRecordOf(k.event, record)) << k.event.key();
        EXPECT_EQ(record, k.record) << k.event.key();
    }
    TEventMsg record;
    EXPECT_FALSE(vx::shell::JournalRecordOf(QKeyEvent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier), record));
    EXPECT_FALSE(vx::shell::JournalRecordOf(QKeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a", true), record))
        << "a repeated key's release is no stroke";

    const QPointF at(5, 6), global(300, -20);
    const struct {
        QEvent::Type type;
        Qt::MouseButton button;
        std::uint32_t message;
    } mice[] = {
        {QEvent::MouseMove, Qt::NoButton, WM_MOUSEMOVE},
        {QEvent::MouseButtonPress, Qt::LeftButton, WM_LBUTTONDOWN},
        {QEvent::MouseButtonPress, Qt::RightButton, WM_RBUTTONDOWN},
        {QEvent::MouseButtonRelease, Qt::MiddleButton, WM_MBUTTONUP},
    };
    for (const auto& m : mice) {
        const QMouseEvent event(m.type, at, at, global, m.button, m.button, Qt::NoModifier);
        ASSERT_TRUE(vx::shell::JournalRecordOf(event, record));
        EXPECT_EQ(record, (TEventMsg{m.message, 300, static_cast<std::uint32_t>(-20), 0, 0}));
    }
    EXPECT_FALSE(vx::shell::JournalRecordOf(
        QMouseEvent(QEvent::MouseButtonPress, at, at, global, Qt::BackButton, Qt::BackButton, Qt::NoModifier), record));
    EXPECT_FALSE(vx::shell::JournalRecordOf(
        QMouseEvent(QEvent::MouseButtonDblClick, at, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier), record))
        << "the press before it is recorded";

    const struct {
        QPoint turn;
        TEventMsg record;
    } wheels[] = {
        {QPoint(0, -240), WheelEvent(WM_MOUSEWHEEL, 300, -20, -240)},
        {QPoint(120, 0), WheelEvent(WM_MOUSEHWHEEL, 300, -20, -120)},
    };
    for (const auto& w : wheels) {
        const QWheelEvent event(at, global, QPoint(), w.turn, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        ASSERT_TRUE(vx::shell::JournalRecordOf(event, record));
        EXPECT_EQ(record, w.record) << w.turn.x() << "," << w.turn.y();
    }
    EXPECT_FALSE(vx::shell::JournalRecordOf(
        QWheelEvent(at, global, QPoint(), QPoint(), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false), record))
        << "no turn";
}

} // namespace
} // namespace vx::test
