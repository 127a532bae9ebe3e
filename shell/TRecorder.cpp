// The macro recorder's engine.
#include "shell/TRecorder.h"

#include "platform/Exception.h"
#include "platform/FileIO.h"

namespace vx::recorder {

TRecorder::TRecorder(TRecorderClock& clock, TJournalSink& sink) : clock_(clock), sink_(sink) {}

TRecorder::~TRecorder()
{
    if (hooked_)
        sink_.Remove();
}

void TRecorder::Record(bool append)
{
    if (state_ != rsIdle)
        throw Exception("Recorder: NotReady to record.");
    startTick_ = clock_.TickCount();
    if (!append)
        stream_.clear();
    else if (!stream_.empty())
        startTick_ -= EventAt(stream_, stream_.size() - EventSize).time;
    if (!sink_.Install(TJournalSink::THook::Record))
        throw Exception("JournalHook cannot be created");
    hooked_ = true;
    setState(rsRecording);
}

void TRecorder::Play()
{
    if (state_ != rsIdle)
        throw Exception("Recorder: Not ready to play.");
    if (stream_.empty())
        throw Exception("Recorder: Nothing to play");
    event_ = EventAt(stream_, 0);
    next_ = EventSize;
    pending_ = true;
    if (!sink_.Install(TJournalSink::THook::Playback))
        throw Exception("Playback hook cannot be created");
    hooked_ = true;
    startTick_ = clock_.TickCount();
    // The first event plays at once, whenever it was recorded.
    due_ = startTick_;
    setState(rsPlaying);
}

void TRecorder::StopHook()
{
    setState(rsIdle);
}

void TRecorder::Journal(TEventMsg event)
{
    if (state_ != rsRecording)
        return;
    event.time = clock_.TickCount() - startTick_;
    AppendEvent(stream_, event);
    if (IsKeyMessage(event.message) && (event.paramL & 0xFF) == VK_CANCEL)
        setState(rsIdle);
}

int TRecorder::Pump()
{
    while (state_ == rsPlaying && pending_) {
        const auto wait = static_cast<std::int32_t>(due_ - clock_.TickCount());
        if (wait > 0)
            return wait;
        // The next event is taken before this one plays: playing it may run
        // the event loop (a window it opens), and with it the hook again.
        const TEventMsg current = event_;
        pending_ = next_ < stream_.size();
        if (pending_) {
            event_ = EventAt(stream_, next_);
            next_ += EventSize;
            due_ = dueTick(event_.time);
        }
        sink_.Play(current);
    }
    if (state_ == rsPlaying)
        setState(rsIdle);
    return -1;
}

std::uint32_t TRecorder::dueTick(std::uint32_t time) const
{
    // Recorded times count in steps of 100 ms.
    const std::uint64_t scaled = static_cast<std::uint64_t>(time / 100) * static_cast<std::uint64_t>(speed_);
    return startTick_ + static_cast<std::uint32_t>(scaled);
}

void TRecorder::SetSpeed(int speed)
{
    if (speed > 0)
        speed_ = speed;
}

void TRecorder::LoadFromFile(const std::string& path)
{
    std::string data = ReadWholeFile(path);
    CheckRecording(data, path);
    StopHook();
    stream_ = std::move(data);
}

void TRecorder::SaveToFile(const std::string& path) const
{
    WriteFileAtomic(path, stream_);
}

void TRecorder::setState(TState state)
{
    if (state == rsIdle && hooked_) {
        hooked_ = false;
        sink_.Remove();
    }
    if (state == state_)
        return;
    state_ = state;
    if (OnStateChange)
        OnStateChange(state);
}

} // namespace vx::recorder
