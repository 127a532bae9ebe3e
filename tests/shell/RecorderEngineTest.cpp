#include "platform/Exception.h"
#include "shell/TRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace vx::recorder;

namespace {

struct FakeClock : TRecorderClock {
    std::uint32_t now = 0;
    std::uint32_t TickCount() override { return now; }
};

// The journal hooks: what was installed, and each event played with the tick it played at.
struct FakeSink : TJournalSink {
    explicit FakeSink(FakeClock& clock) : clock(clock) {}
    bool Install(THook hook) override
    {
        installs.push_back(hook);
        installed = !refuse;
        return !refuse;
    }
    void Remove() override
    {
        ++removes;
        installed = false;
    }
    void Play(const TEventMsg& event) override
    {
        played.push_back(event);
        playedAt.push_back(clock.now);
        if (onPlay)
            onPlay(event);
    }
    std::function<void(const TEventMsg&)> onPlay;
    FakeClock& clock;
    bool refuse = false;
    bool installed = false;
    int removes = 0;
    std::vector<THook> installs;
    std::vector<TEventMsg> played;
    std::vector<std::uint32_t> playedAt;
};

TEventMsg Key(std::uint32_t message, std::uint8_t vk)
{
    return {message, vk, 1, 0, 0};
}

class RecorderEngine : public ::testing::Test {
protected:
    RecorderEngine()
    {
        recorder.OnStateChange = [this](TRecorder::TState s) { states.push_back(s); };
    }
    // Records the keys, each after the wait before it, from the tick the clock shows.
    void RecordKeys(const std::vector<std::pair<std::uint32_t, std::uint8_t>>& keys, bool append = false)
    {
        recorder.Record(append);
        for (auto [wait, vk] : keys) {
            clock.now += wait;
            recorder.Journal(Key(WM_KEYDOWN, vk));
        }
    }
    // Plays to the end, moving the clock on by every wait the playback asks for.
    void PlayThrough()
    {
        recorder.Play();
        for (int wait = recorder.Pump(); wait >= 0; wait = recorder.Pump())
            clock.now += static_cast<std::uint32_t>(wait);
    }
    std::vector<std::uint32_t> Times() const
    {
        std::vector<std::uint32_t> times;
        for (std::size_t at = 0; at < recorder.Stream().size(); at += EventSize)
            times.push_back(EventAt(recorder.Stream(), at).time);
        return times;
    }

    FakeClock clock;
    FakeSink sink{clock};
    TRecorder recorder{clock, sink};
    std::vector<TRecorder::TState> states;
};

} // namespace

TEST(JournalEvent, RecordsAreTwentyLittleEndianBytesInTheSystemsOrder)
{
    std::string stream;
    AppendEvent(stream, {0x100, 0x41, 0x1E0001, 0x01020304, 0});
    ASSERT_EQ(stream.size(), EventSize);
    EXPECT_EQ(stream, std::string("\x00\x01\x00\x00" "\x41\x00\x00\x00" "\x01\x00\x1E\x00" "\x04\x03\x02\x01"
                                  "\x00\x00\x00\x00", 20));
    AppendEvent(stream, {0x200, 1279, 1023, 0xFFFFFFFF, 0});
    EXPECT_EQ(EventAt(stream, 20), (TEventMsg{0x200, 1279, 1023, 0xFFFFFFFF, 0}));
}

TEST(JournalEvent, AWheelTurnKeepsItsPositionAndTurnInTheRecord)
{
    const struct {
        std::uint32_t message;
        int x, y, delta;
        TEventMsg record;
        int keptDelta;
    } rows[] = {
        {WM_MOUSEWHEEL, 300, 40, -240, {WM_MOUSEWHEEL, 300, 0xFF100028, 0, 0}, -240},
        {WM_MOUSEHWHEEL, -5, -20, 120, {WM_MOUSEHWHEEL, 0xFFFFFFFB, 0x0078FFEC, 0, 0}, 120},
        {WM_MOUSEWHEEL, 0, 0, 100000, {WM_MOUSEWHEEL, 0, 0x7FFF0000, 0, 0}, 32767},
    };
    for (const auto& row : rows) {
        const TEventMsg event = WheelEvent(row.message, row.x, row.y, row.delta);
        EXPECT_EQ(event, row.record) << row.delta;
        EXPECT_TRUE(IsWheelMessage(event.message));
        EXPECT_EQ(WheelDeltaOf(event), row.keptDelta);
        EXPECT_EQ(MouseXOf(event), row.x);
        EXPECT_EQ(MouseYOf(event), row.y);
    }
    EXPECT_EQ(MouseYOf({WM_MOUSEMOVE, 1, 70000, 0, 0}), 70000) << "other mouse messages keep the whole y";
    EXPECT_FALSE(IsWheelMessage(WM_MOUSEMOVE));
}

TEST(JournalEvent, OnlyWholeRecordsAreARecording)
{
    for (std::size_t size : {0, 20, 40, 2000})
        EXPECT_NO_THROW(CheckRecording(std::string(size, 'x'), "a.asr")) << size;
    for (std::size_t size : {1, 19, 21, 59}) {
        try {
            CheckRecording(std::string(size, 'x'), "/tmp/a.asr");
            ADD_FAILURE() << size << " bytes accepted";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), "/tmp/a.asr is not a recording: its " + std::to_string(size) +
                                       " bytes are no whole number of 20-byte events.");
        }
    }
}

TEST_F(RecorderEngine, RecordingStampsEventsWithTheTimeSinceItsStart)
{
    clock.now = 5000;
    RecordKeys({{0, 'A'}, {1234, 'B'}, {66, 'C'}});
    EXPECT_EQ(recorder.State(), TRecorder::rsRecording);
    EXPECT_EQ(Times(), (std::vector<std::uint32_t>{0, 1234, 1300}));
    EXPECT_EQ(EventAt(recorder.Stream(), 20), (TEventMsg{WM_KEYDOWN, 'B', 1, 1234, 0}));
    recorder.StopHook();
    recorder.Journal(Key(WM_KEYDOWN, 'D'));
    EXPECT_EQ(recorder.Stream().size(), 3 * EventSize) << "nothing is recorded once stopped";
    EXPECT_EQ(sink.installs, std::vector{TJournalSink::THook::Record});
    EXPECT_EQ(sink.removes, 1);
}

TEST_F(RecorderEngine, ANewRecordingReplacesTheOldAndAnAppendedOneContinuesItsTimeLine)
{
    clock.now = 100;
    RecordKeys({{0, 'A'}, {700, 'B'}});
    recorder.StopHook();
    clock.now = 90000;
    RecordKeys({{250, 'C'}}, true);
    recorder.StopHook();
    EXPECT_EQ(Times(), (std::vector<std::uint32_t>{0, 700, 950})) << "appended events follow the last one's time";

    clock.now = 7;
    RecordKeys({{40, 'D'}}, true);
    recorder.StopHook();
    EXPECT_EQ(Times().back(), 990u);

    // A playback stopped half-way leaves the whole recording to append to.
    recorder.Play();
    recorder.Pump();
    recorder.StopHook();
    clock.now = 123456;
    RecordKeys({{10, 'G'}}, true);
    recorder.StopHook();
    EXPECT_EQ(Times(), (std::vector<std::uint32_t>{0, 700, 950, 990, 1000}));

    RecordKeys({{30, 'E'}});
    recorder.StopHook();
    EXPECT_EQ(Times(), (std::vector<std::uint32_t>{30})) << "without append the recording starts afresh";

    TRecorder fresh(clock, sink);
    clock.now = 400;
    fresh.Record(true);
    clock.now = 410;
    fresh.Journal(Key(WM_KEYDOWN, 'F'));
    EXPECT_EQ(EventAt(fresh.Stream(), 0).time, 10u) << "appending to nothing starts at now";
    fresh.StopHook();
}

TEST_F(RecorderEngine, CtrlBreakEndsTheRecordingAsItsLastEvent)
{
    for (std::uint32_t message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP}) {
        sink.removes = 0;
        states.clear();
        RecordKeys({{10, 'A'}, {10, 0x11}});
        recorder.Journal(Key(message, VK_CANCEL));
        recorder.Journal(Key(WM_KEYUP, VK_CANCEL));
        EXPECT_EQ(recorder.State(), TRecorder::rsIdle);
        EXPECT_EQ(sink.removes, 1);
        EXPECT_FALSE(sink.installed);
        ASSERT_EQ(recorder.Stream().size(), 3 * EventSize);
        EXPECT_EQ(EventAt(recorder.Stream(), 40).message, message);
        EXPECT_EQ(EventAt(recorder.Stream(), 40).paramL, VK_CANCEL);
        EXPECT_EQ(states, (std::vector{TRecorder::rsRecording, TRecorder::rsIdle}));
    }
    // The code 3 in a mouse message is a position, not Ctrl+Break.
    RecordKeys({});
    recorder.Journal({WM_MOUSEMOVE, VK_CANCEL, 0, 0, 0});
    EXPECT_EQ(recorder.State(), TRecorder::rsRecording);
    recorder.StopHook();
}

TEST_F(RecorderEngine, EventsPlayAtTheirRecordedTimeInHundredMillisecondStepsScaledBySpeed)
{
    clock.now = 1000;
    RecordKeys({{500, 'A'}, {1234, 'B'}, {966, 'C'}}); // at 500, 1734, 2700
    recorder.StopHook();
    const struct {
        int speed;
        std::vector<std::uint32_t> after;
    } cases[] = {
        {100, {0, 1700, 2700}},
        {50, {0, 850, 1350}},
        {200, {0, 3400, 5400}},
    };
    for (const auto& c : cases) {
        recorder.SetSpeed(c.speed);
        sink.played.clear();
        sink.playedAt.clear();
        clock.now = 70000;
        PlayThrough();
        std::vector<std::uint32_t> after;
        for (std::uint32_t at : sink.playedAt)
            after.push_back(at - 70000);
        EXPECT_EQ(after, c.after) << "speed " << c.speed << ": the first event plays at once";
        ASSERT_EQ(sink.played.size(), 3u);
        EXPECT_EQ(sink.played[1].paramL, 'B');
    }
}

TEST_F(RecorderEngine, AnEventRecordedAt1234MsPlays1200MsAfterTheStartAt100And600At50)
{
    clock.now = 0;
    recorder.Record(false);
    recorder.Journal(Key(WM_KEYDOWN, 'A'));
    clock.now = 1234;
    recorder.Journal(Key(WM_KEYDOWN, 'B'));
    recorder.StopHook();
    for (auto [speed, due] : {std::pair{100, 1200u}, {50, 600u}}) {
        recorder.SetSpeed(speed);
        clock.now = 10;
        recorder.Play();
        EXPECT_EQ(recorder.Pump(), static_cast<int>(due));
        clock.now += due - 1;
        EXPECT_EQ(recorder.Pump(), 1) << "not yet due";
        EXPECT_EQ(sink.played.size(), 1u);
        clock.now += 1;
        EXPECT_EQ(recorder.Pump(), -1);
        EXPECT_EQ(sink.played.size(), 2u);
        sink.played.clear();
    }
}

TEST_F(RecorderEngine, PlaybackTimesSurviveTheTickCountWrappingAround)
{
    RecordKeys({{0, 'A'}, {300, 'B'}});
    recorder.StopHook();
    clock.now = 0xFFFFFF00u;
    PlayThrough();
    ASSERT_EQ(sink.playedAt.size(), 2u);
    EXPECT_EQ(sink.playedAt[1] - 0xFFFFFF00u, 300u);
}

TEST_F(RecorderEngine, PlaybackEndsByItselfWithOneIdleNotification)
{
    RecordKeys({{0, 'A'}, {100, 'B'}});
    recorder.StopHook();
    states.clear();
    sink.removes = 0;
    PlayThrough();
    EXPECT_EQ(recorder.State(), TRecorder::rsIdle);
    EXPECT_EQ(states, (std::vector{TRecorder::rsPlaying, TRecorder::rsIdle}));
    EXPECT_EQ(sink.removes, 1);
    EXPECT_EQ(recorder.Pump(), -1) << "a late call plays nothing more";
    EXPECT_EQ(sink.played.size(), 2u);
    recorder.StopHook();
    EXPECT_EQ(states.size(), 2u) << "stopping when idle notifies nobody";
}

TEST_F(RecorderEngine, AnEventThatRunsTheHookAgainWhilePlayingPlaysOnce)
{
    RecordKeys({{0, 'A'}, {0, 'B'}, {0, 'C'}});
    recorder.StopHook();
    // 'A' opens a window whose event loop pumps on; 'B' is played there.
    int depth = 0;
    sink.onPlay = [&](const TEventMsg& event) {
        if (event.paramL == 'A' && depth++ == 0) {
            EXPECT_EQ(recorder.Pump(), -1);
        }
    };
    states.clear();
    PlayThrough();
    std::string order;
    for (const TEventMsg& e : sink.played)
        order += static_cast<char>(e.paramL);
    EXPECT_EQ(order, "ABC");
    EXPECT_EQ(states, (std::vector{TRecorder::rsPlaying, TRecorder::rsIdle}));
}

TEST_F(RecorderEngine, StoppingDuringPlaybackPlaysNothingMore)
{
    RecordKeys({{0, 'A'}, {500, 'B'}, {500, 'C'}});
    recorder.StopHook();
    recorder.Play();
    EXPECT_GT(recorder.Pump(), 0);
    recorder.StopHook();
    clock.now += 5000;
    EXPECT_EQ(recorder.Pump(), -1);
    EXPECT_EQ(sink.played.size(), 1u);
    EXPECT_EQ(recorder.Stream().size(), 3 * EventSize) << "the recording is kept";
}

TEST_F(RecorderEngine, RecordAndPlayAreRefusedUnlessIdle)
{
    EXPECT_THROW(
        {
            try {
                recorder.Play();
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), "Recorder: Nothing to play");
                throw;
            }
        },
        Exception);
    EXPECT_TRUE(sink.installs.empty());

    RecordKeys({{0, 'A'}});
    const auto expectRefused = [this](auto&& start, const char* message) {
        try {
            start();
            ADD_FAILURE() << "not refused: " << message;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
    };
    expectRefused([this] { recorder.Record(false); }, "Recorder: NotReady to record.");
    expectRefused([this] { recorder.Play(); }, "Recorder: Not ready to play.");
    EXPECT_EQ(recorder.Stream().size(), EventSize) << "a refused start leaves the recording";
    recorder.StopHook();
    recorder.Play();
    expectRefused([this] { recorder.Record(true); }, "Recorder: NotReady to record.");
    expectRefused([this] { recorder.Play(); }, "Recorder: Not ready to play.");
    EXPECT_EQ(sink.installs.size(), 2u);
    recorder.StopHook();
}

TEST_F(RecorderEngine, AHookThatCannotBeInstalledLeavesTheRecorderIdle)
{
    sink.refuse = true;
    try {
        recorder.Record(false);
        ADD_FAILURE() << "record started without a hook";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "JournalHook cannot be created");
    }
    sink.refuse = false;
    RecordKeys({{0, 'A'}});
    recorder.StopHook();
    sink.refuse = true;
    try {
        recorder.Play();
        ADD_FAILURE() << "playback started without a hook";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Playback hook cannot be created");
    }
    EXPECT_EQ(recorder.State(), TRecorder::rsIdle);
    EXPECT_EQ(sink.removes, 1) << "only the hook that was installed is removed";
}

TEST_F(RecorderEngine, SpeedsOfZeroOrLessAreIgnored)
{
    EXPECT_EQ(recorder.Speed(), 100);
    for (int speed : {0, -1, -100}) {
        recorder.SetSpeed(speed);
        EXPECT_EQ(recorder.Speed(), 100) << speed;
    }
    recorder.SetSpeed(1);
    EXPECT_EQ(recorder.Speed(), 1);
}

TEST_F(RecorderEngine, SaveLoadSaveGivesTheSameBytes)
{
    vx::test::TempDir dir;
    RecordKeys({{0, 'A'}, {123, 'B'}, {4567, VK_CANCEL}});
    ASSERT_EQ(recorder.State(), TRecorder::rsIdle);
    recorder.SaveToFile(dir.file("one.asr"));
    const std::string first = vx::test::readFile(dir.file("one.asr"));
    EXPECT_EQ(first.size(), 3 * EventSize);

    TRecorder other(clock, sink);
    other.LoadFromFile(dir.file("one.asr"));
    other.SaveToFile(dir.file("two.asr"));
    EXPECT_EQ(vx::test::readFile(dir.file("two.asr")), first);
    EXPECT_EQ(other.Stream(), recorder.Stream());
}

TEST_F(RecorderEngine, AFileOfNoWholeRecordsIsRefusedAndTheRecordingKept)
{
    vx::test::TempDir dir;
    RecordKeys({{0, 'A'}});
    recorder.StopHook();
    const std::string kept = recorder.Stream();
    vx::test::writeFile(dir.file("cut.asr"), std::string(45, '\1'));
    EXPECT_THROW(recorder.LoadFromFile(dir.file("cut.asr")), EReadError);
    EXPECT_THROW(recorder.LoadFromFile(dir.file("missing.asr")), EFOpenError);
    EXPECT_EQ(recorder.Stream(), kept);
}

TEST_F(RecorderEngine, LoadingStopsWhatRunsFirst)
{
    vx::test::TempDir dir;
    vx::test::writeFile(dir.file("two.asr"), std::string(40, '\0'));
    RecordKeys({{0, 'A'}});
    recorder.LoadFromFile(dir.file("two.asr"));
    EXPECT_EQ(recorder.State(), TRecorder::rsIdle);
    EXPECT_FALSE(sink.installed);
    EXPECT_EQ(recorder.Stream(), std::string(40, '\0'));
}
