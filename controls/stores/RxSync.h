// A wake-up call from a worker thread to the user-interface thread. Workers
// never touch the component itself: they post, and the handler runs on the
// thread that created the signal, from its event loop. Posting is a write to an
// event counter, so it never blocks and needs no Qt call off the main thread.
#pragma once

#include <QPointer>

#include <cstdint>
#include <functional>

class QObject;
class QSocketNotifier;

namespace vx {

class TMainThreadSignal {
public:
    // handler(count) runs on the creating thread with the number of posts since
    // its last run. The notifier behind it is a child of owner. Raises EOSError
    // when the system has no event counter left.
    TMainThreadSignal(QObject* owner, std::function<void(std::uint64_t count)> handler);
    // Posts not yet handled are dropped. Destroy only once no worker can post;
    // the handler itself may destroy the signal.
    ~TMainThreadSignal();
    TMainThreadSignal(const TMainThreadSignal&) = delete;
    TMainThreadSignal& operator=(const TMainThreadSignal&) = delete;

    // Any thread.
    void Post();

private:
    void Drain();

    int fd_ = -1;
    QPointer<QSocketNotifier> notifier_;
    std::function<void(std::uint64_t)> handler_;
    bool draining_ = false;
};

} // namespace vx
