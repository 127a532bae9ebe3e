// The macro recorder's journal. On an X display it records and plays back
// the whole desktop through the platform's X journal. Elsewhere (Wayland has
// no desktop-wide input hook) the events of the program's own windows are
// recorded through an application-wide event filter, and playback sends
// synthesized events to the widget under the recorded position or to the
// focus widget.
#pragma once

#include "platform/x11/XDesktopJournal.h"
#include "shell/TRecorder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <utility>

class QKeyEvent;
class QMouseEvent;
class QSocketNotifier;
class QWidget;

namespace vx::shell {

class TRecorderJournal : public QObject, public recorder::TRecorderClock, public recorder::TJournalSink {
public:
    explicit TRecorderJournal(QObject* parent = nullptr);

    // The engine this journal feeds; the journal must outlive its hooks.
    recorder::TRecorder& Recorder() { return recorder_; }
    // Whether the whole desktop is recorded, not only the program's own windows.
    bool DesktopWide() const { return desktop_ != nullptr; }
    // Whether the program runs on an X display; when the whole desktop is not
    // recorded there, the display lacks the X Record or the XTest extension.
    bool OnXDisplay() const { return onXDisplay_; }

    std::uint32_t TickCount() override;
    bool Install(THook hook) override;
    void Remove() override;
    void Play(const recorder::TEventMsg& event) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool startDesktopRecording();
    void pump();
    void playKey(const recorder::TEventMsg& event);
    void playMouse(const recorder::TEventMsg& event);
    void playWheel(const recorder::TEventMsg& event);

    const bool onXDisplay_;
    QElapsedTimer elapsed_;
    QTimer playTimer_;
    bool filtering_ = false;
    // Recording: the time stamp and key of the last key press offered to the shortcuts.
    std::pair<quint64, int> offered_;
    // Playback: the modifier keys and mouse buttons held down; the widget a
    // button went down on, which gets the mouse until the buttons are up; the
    // window last clicked, whose focus widget gets the keys.
    Qt::KeyboardModifiers modifiers_;
    Qt::MouseButtons buttons_;
    QPointer<QWidget> grabber_;
    QPointer<QWidget> keyWindow_;
    // The last press that may begin a double click.
    struct {
        std::uint32_t tick = 0;
        Qt::MouseButton button = Qt::NoButton;
        QPoint at;
    } lastPress_;
    // The whole display's journal while the program runs on X, its
    // connection's watcher while it records, and whether it plays back.
    std::unique_ptr<x11::TXDesktopJournal> desktop_;
    QSocketNotifier* desktopInput_ = nullptr;
    bool desktopPlaying_ = false;
    recorder::TRecorder recorder_;
};

// The record of a Qt key or mouse event as the recorder keeps it (time 0; a
// key offered to the shortcuts is a key press), or
// false for an event it does not keep (a key without a virtual-key code, a
// repeated key release and other events).
bool JournalRecordOf(const QEvent& event, recorder::TEventMsg& record);

} // namespace vx::shell
