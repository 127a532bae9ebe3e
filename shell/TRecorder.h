// TRecorder: records the program's input events with their times and plays
// them back at an adjustable speed. It knows no window system: a clock gives
// it the time and a journal sink stands for the system's record and playback
// hooks. Everything runs on one thread; nothing is locked.
#pragma once

#include "platform/JournalEvent.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vx::recorder {

// Milliseconds from any fixed point; wraps around like the system's tick count.
class TRecorderClock {
public:
    virtual ~TRecorderClock() = default;
    virtual std::uint32_t TickCount() = 0;
};

// What stands for the system's journal hooks. Installed for recording, it
// hands every input event to TRecorder::Journal; installed for playback, it
// calls TRecorder::Pump when the wait Pump answered has passed, and Play
// delivers each event that comes due.
class TJournalSink {
public:
    enum class THook { Record, Playback };
    virtual ~TJournalSink() = default;
    // False when the hook cannot be installed.
    virtual bool Install(THook hook) = 0;
    virtual void Remove() = 0;
    virtual void Play(const TEventMsg& event) = 0;
};

class TRecorder {
public:
    enum TState : std::uint8_t { rsIdle = 0, rsRecording = 1, rsPlaying = 2 };

    TRecorder(TRecorderClock& clock, TJournalSink& sink);
    ~TRecorder();
    TRecorder(const TRecorder&) = delete;
    TRecorder& operator=(const TRecorder&) = delete;

    // Starts recording; with append the new events continue the time line of
    // the recording there is and follow its last event, else they replace it.
    // Raises "Recorder: NotReady to record." unless idle.
    void Record(bool append);
    // Starts playing the recording from its start. Raises "Recorder: Not ready
    // to play." unless idle and "Recorder: Nothing to play" when it is empty.
    void Play();
    // Ends recording or playing; what was recorded so far is kept.
    void StopHook();

    // The record hook: stamps the event with the time since the recording
    // started and appends it. Ctrl+Break ends the recording; its own key
    // event is the last one kept. Ignored unless recording.
    void Journal(TEventMsg event);
    // The playback hook: plays every event that is due. Answers the wait in
    // milliseconds until the next one, or -1 once the last has played and
    // playback has ended (or when not playing). The sink's Play may call it
    // again before it returns; no event plays twice.
    int Pump();

    TState State() const { return state_; }
    // Playback speed in per cent of the recorded pace: 50 plays twice as
    // fast, 200 half as fast. Values of 0 or less are ignored.
    int Speed() const { return speed_; }
    void SetSpeed(int speed);

    // The recording: event records back to back, as ".asr" files hold it.
    const std::string& Stream() const { return stream_; }
    // Stops, then replaces the recording with the file's; a file that is no
    // whole number of records raises EReadError and changes nothing.
    void LoadFromFile(const std::string& path);
    // Writes the recording to the file, replacing it atomically.
    void SaveToFile(const std::string& path) const;

    // Called with the new state whenever the state changes.
    std::function<void(TState)> OnStateChange;

private:
    void setState(TState state);
    // The tick at which an event recorded at time is due at the current speed.
    std::uint32_t dueTick(std::uint32_t time) const;

    TRecorderClock& clock_;
    TJournalSink& sink_;
    TState state_ = rsIdle;
    std::string stream_;
    bool hooked_ = false;
    std::uint32_t startTick_ = 0;
    int speed_ = 100;
    // Playback: the event to play next, whether there is one, the tick it is
    // due and the offset of the one after it.
    TEventMsg event_;
    bool pending_ = false;
    std::uint32_t due_ = 0;
    std::size_t next_ = 0;
};

} // namespace vx::recorder
