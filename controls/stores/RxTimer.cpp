// The timer on a worker thread or on the event loop.
#include "controls/stores/RxTimer.h"

#include "controls/stores/RxSync.h"
#include "platform/qt/Application.h"
#include "platform/Exception.h"

#include <QTimerEvent>

#include <chrono>

TRxTimer::TRxTimer(QObject* owner)
    : QObject(owner)
    , signal_(std::make_unique<vx::TMainThreadSignal>(this, [this](std::uint64_t) { Tick(); }))
{
}

TRxTimer::~TRxTimer()
{
    destroying_ = true;
    enabled_ = false;
    StopWorker();
    onTimer_ = nullptr;
    if (timerId_)
        killTimer(timerId_);
}

void TRxTimer::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateTimer();
}

void TRxTimer::SetInterval(int value)
{
    if (value == interval_)
        return;
    interval_ = value;
    UpdateTimer();
}

void TRxTimer::SetThreaded(bool value)
{
    if (value == threaded_)
        return;
    threaded_ = value;
    UpdateTimer();
}

void TRxTimer::SetThreadPriority(TThreadPriority value)
{
    if (value == priority_)
        return;
    priority_ = value;
    if (threaded_)
        UpdateTimer();
}

void TRxTimer::SetOnTimer(vx::TNotifyEvent handler)
{
    // The worker may call the handler (SyncEvent off): it must be gone first.
    StopWorker();
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TRxTimer::UpdateTimer()
{
    StopWorker();
    if (timerId_) {
        killTimer(timerId_);
        timerId_ = 0;
    }
    if (!ShouldRun())
        return;
    if (threaded_) {
        StartWorker();
        return;
    }
    timerId_ = startTimer(interval_);
    if (!timerId_)
        throw EOutOfResources("Not enough timers available");
}

void TRxTimer::StartWorker()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
    }
    worker_ = std::thread(&TRxTimer::WorkerLoop, this, interval_, priority_);
}

void TRxTimer::StopWorker()
{
    if (!worker_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void TRxTimer::WorkerLoop(int interval, TThreadPriority priority)
{
    SetCurrentThreadPriority(priority);
    const auto period = std::chrono::milliseconds(interval);
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (wake_.wait_for(lock, period, [this] { return stop_; }))
            break;
        if (!enabled_)
            continue;
        if (syncEvent_) {
            signal_->Post();
        } else {
            // A stop request must not wait behind a long handler. A handler that
            // fails ends the worker, as a failing thread ends.
            lock.unlock();
            try {
                onTimer_(this);
            } catch (...) {
                return;
            }
            lock.lock();
        }
    }
}

void TRxTimer::Tick()
{
    if (!enabled_ || destroying_ || !onTimer_)
        return;
    // A copy: the handler may destroy the timer. Its errors are shown, as any
    // error of an event handler is.
    vx::TNotifyEvent handler = onTimer_;
    vx::DeliverShowingExceptions([&] {
        handler(this);
        return true;
    });
}

void TRxTimer::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timerId_)
        return QObject::timerEvent(event);
    Tick();
}
