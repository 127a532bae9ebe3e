// The whole X display's input for the macro recorder, in place of the
// system's journal hooks: the X Record extension reports every key, button
// and pointer event of the display, whichever program it goes to, and the
// XTest extension plays records back as if the user made them.
#pragma once

#include "platform/JournalEvent.h"

#include <functional>
#include <memory>

namespace vx::x11 {

class TXDesktopJournal {
public:
    // A journal of the display $DISPLAY names; none when there is no X
    // display or it lacks the X Record or the XTest extension.
    static std::unique_ptr<TXDesktopJournal> Open();
    ~TXDesktopJournal();
    TXDesktopJournal(const TXDesktopJournal&) = delete;
    TXDesktopJournal& operator=(const TXDesktopJournal&) = delete;

    // Starts handing the display's input to record, as ProcessRecorded finds
    // it; false when the display refuses.
    bool StartRecording(std::function<void(const recorder::TEventMsg&)> record);
    // The connection that becomes readable when input waits; -1 when not recording.
    int RecordingSocket() const;
    // Hands the input that has come in to record.
    void ProcessRecorded();
    // Ends recording; called from record, it takes effect once ProcessRecorded returns.
    void StopRecording();

    // Makes the record happen on the display.
    void Play(const recorder::TEventMsg& event);
    // Lets go of the keys and buttons playback pressed and did not release.
    void ReleaseHeld();

    struct TState;

private:
    explicit TXDesktopJournal(std::unique_ptr<TState> state);
    void finishStop();

    std::unique_ptr<TState> x_;
};

} // namespace vx::x11
