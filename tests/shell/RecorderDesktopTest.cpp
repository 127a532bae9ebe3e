// The recorder on an X display records the whole desktop: a click, typing and
// a wheel turn that go to another program are recorded up to Ctrl+Break, and
// playback makes them happen there again, leaving no key or button held. Runs on a virtual
// screen (ctest shell_recorder_desktop); elsewhere it is skipped.
#include "tests/shell/ShellFixture.h"

#include "platform/x11/XDesktopJournal.h"
#include "shell/qt/windows/Recorder.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/shell/XUserHand.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace vx::test {
namespace {

using vx::recorder::TEventMsg;
using vx::recorder::TRecorder;

// The other program's window, well away from the recorder's.
constexpr int OtherX = 700, OtherY = 300, OtherWidth = 300, OtherHeight = 200;
constexpr unsigned LeftButton = 1;
constexpr unsigned WheelTowardsUser = 5;

// The recorder's window and another program on a virtual X screen.
class XRecorderTest : public ShellTest {
protected:
    // Whether the display reports all input, as the test needs it.
    virtual bool WantsDesktop() const = 0;

    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X display: ctest runs it on a virtual screen";
        if ((vx::x11::TXDesktopJournal::Open() != nullptr) != WantsDesktop())
            GTEST_SKIP() << "needs a display " << (WantsDesktop() ? "with" : "without") << " the X Record extension";
        hand = TXUserHand::Open();
        ASSERT_NE(hand, nullptr);
        window = std::make_unique<Tfrm_recorder>();
        Activate(*window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), kPatienceMs));
        other.start(VX_XKEYLOG, {QString::number(OtherX), QString::number(OtherY), QString::number(OtherWidth),
                                 QString::number(OtherHeight)});
        ASSERT_TRUE(other.waitForStarted(kPatienceMs));
        ASSERT_TRUE(Heard("ready")) << "the other program's window did not come up";
        const std::size_t id = heard.find("ready ") + 6;
        otherWindow = std::stoul(heard.substr(id, heard.find('\n', id) - id));
    }
    void TearDown() override
    {
        if (other.state() != QProcess::NotRunning) {
            other.kill();
            other.waitForFinished(kPatienceMs);
        }
        window.reset();
    }

    // Waits until the other program has printed the line; what it printed is kept.
    bool Heard(const std::string& line)
    {
        return QTest::qWaitFor(
            [&] {
                heard += other.readAllStandardOutput().toStdString();
                return heard.find(line) != std::string::npos;
            },
            kPatienceMs);
    }
    // A click into the other program, "abc" and a notch of the wheel towards the user.
    void UseTheOtherProgram()
    {
        hand->MoveTo(OtherX + 50, OtherY + 50);
        hand->Click(LeftButton);
        ASSERT_TRUE(Heard("click"));
        for (char key : {'a', 'b', 'c'})
            hand->Type(key);
        hand->Click(WheelTowardsUser);
        ASSERT_TRUE(Heard("key a\nkey b\nkey c\nbutton 5"));
    }
    int Count(std::uint32_t message, std::uint32_t paramL)
    {
        const std::string& stream = window->Recorder().Stream();
        int n = 0;
        for (std::size_t at = 0; at < stream.size(); at += vx::recorder::EventSize) {
            const TEventMsg e = vx::recorder::EventAt(stream, at);
            n += e.message == message && (paramL == 0 || e.paramL == paramL);
        }
        return n;
    }
    std::unique_ptr<TXUserHand> hand;
    std::unique_ptr<Tfrm_recorder> window;
    QProcess other;
    std::string heard;
    unsigned long otherWindow = 0;
};

class RecorderDesktopTest : public XRecorderTest {
protected:
    bool WantsDesktop() const override { return true; }
};

class RecorderOwnWindowsTest : public XRecorderTest {
protected:
    bool WantsDesktop() const override { return false; }
};

TEST_F(RecorderDesktopTest, TypingIntoAnotherProgramIsRecordedAndPlayedBackThere)
{
    EXPECT_TRUE(window->Label1->isVisible()) << "the window says the whole desktop is recorded";
    EXPECT_FALSE(window->Label2->isVisible());
    EXPECT_FALSE(window->Label3->isVisible());

    Click(*window->Button1, QPoint(5, 5));
    ASSERT_EQ(window->Recorder().State(), TRecorder::rsRecording);
    UseTheOtherProgram();
    // Ctrl+Break ends the recording, wherever it is typed, with both keys down.
    hand->Key("Control_L", true);
    hand->Key("Pause", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Recorder().State() == TRecorder::rsIdle; }, kPatienceMs))
        << "the input reached the recorder";
    hand->Key("Pause", false);
    hand->Key("Control_L", false);
    const std::string& stream = window->Recorder().Stream();
    ASSERT_GE(stream.size(), vx::recorder::EventSize);
    EXPECT_EQ(vx::recorder::EventAt(stream, stream.size() - vx::recorder::EventSize).paramL, vx::recorder::VK_CANCEL);
    EXPECT_EQ(Count(vx::recorder::WM_MOUSEWHEEL, 0), 1);
    for (std::uint32_t key : {'A', 'B', 'C'}) {
        EXPECT_EQ(Count(vx::recorder::WM_KEYDOWN, key), 1) << char(key);
        EXPECT_EQ(Count(vx::recorder::WM_KEYUP, key), 1) << char(key);
    }
    EXPECT_EQ(Count(vx::recorder::WM_LBUTTONDOWN, OtherX + 50), 1);

    heard.clear();
    hand->MoveTo(0, 0);
    Click(*window->Button3, QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Recorder().State() == TRecorder::rsIdle; }, kPatienceMs));
    EXPECT_TRUE(Heard("click\nkey a\nkey b\nkey c\nbutton 5")) << "the other program got:\n" << heard;
    EXPECT_FALSE(hand->AnyKeyHeld()) << "playback lets go of what it pressed";
}

TEST_F(RecorderOwnWindowsTest, WithoutTheRecordExtensionOnlyItsOwnWindowsAreRecordedUntilAnotherProgramHasTheFocus)
{
    EXPECT_TRUE(window->Label3->isVisible()) << "the window says only its own windows are recorded, and why";
    EXPECT_EQ(window->Label3->text(), "This X display lacks the X Record or the XTest extension: only Vellumix's own "
                                      "windows are recorded and played back.");
    EXPECT_FALSE(window->Label2->isVisible()) << "there is an X display";
    EXPECT_FALSE(window->Label1->isVisible());
    // The window has the display's focus, as after a click into it.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), kPatienceMs));
    Click(*window->Button1, QPoint(5, 5));
    ASSERT_EQ(window->Recorder().State(), TRecorder::rsRecording);
    // The recording ends when another program takes the focus, as the system ends its hooks.
    hand->Focus(otherWindow);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Recorder().State() == TRecorder::rsIdle; }, kPatienceMs));
    EXPECT_EQ(window->windowTitle(), "Idle");
}

} // namespace
} // namespace vx::test
