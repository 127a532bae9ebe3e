// TRxTimer: a timer that ticks from a worker thread (Threaded, the default) or
// from the event loop's timer. In threaded mode the worker only sleeps; with
// SyncEvent (the default) OnTimer then runs on the user-interface thread, without
// it on the worker, where the handler must be thread-safe.
//
// The worker is stopped and joined whenever the timer is reconfigured, disabled
// or destroyed, so no tick reaches a timer that is gone. All members are called
// on the thread that created the timer.
#pragma once

#include "controls/common/Events.h"
#include "platform/ThreadPriority.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace vx {
class TMainThreadSignal;
}

class TRxTimer : public QObject {
public:
    explicit TRxTimer(QObject* owner = nullptr);
    ~TRxTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Milliseconds; 0 (or less) stops the timer.
    int Interval() const { return interval_; }
    void SetInterval(int value);
    bool SyncEvent() const { return syncEvent_; }
    void SetSyncEvent(bool value) { syncEvent_ = value; }
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool value);
    TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(TThreadPriority value);
    const vx::TNotifyEvent& OnTimer() const { return onTimer_; }
    // Having a handler or not decides whether the timer runs at all.
    void SetOnTimer(vx::TNotifyEvent handler);

    // True while the worker thread exists (threaded mode, running).
    bool WorkerRunning() const { return worker_.joinable(); }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void UpdateTimer();
    void StartWorker();
    void StopWorker();
    void WorkerLoop(int interval, TThreadPriority priority);
    void Tick();
    bool ShouldRun() const { return interval_ > 0 && enabled_ && onTimer_; }

    std::atomic<bool> enabled_{true};
    std::atomic<bool> syncEvent_{true};
    int interval_ = 1000;
    bool threaded_ = true;
    TThreadPriority priority_ = tpNormal;
    vx::TNotifyEvent onTimer_;
    bool destroying_ = false;

    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false; // guarded by mutex_
    std::unique_ptr<vx::TMainThreadSignal> signal_;
    int timerId_ = 0;
};
