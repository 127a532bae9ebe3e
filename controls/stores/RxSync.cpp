// The worker-to-main-thread wake-up on an event counter.
#include "controls/stores/RxSync.h"

#include "platform/Exception.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vx {

TMainThreadSignal::TMainThreadSignal(QObject* owner, std::function<void(std::uint64_t)> handler)
    : handler_(std::move(handler))
{
    fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd_ < 0)
        throw EOSError(std::strerror(errno));
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, owner);
    QObject::connect(notifier_.data(), &QSocketNotifier::activated, [this] { Drain(); });
}

TMainThreadSignal::~TMainThreadSignal()
{
    if (notifier_) {
        notifier_->setEnabled(false);
        QObject::disconnect(notifier_.data(), nullptr, nullptr, nullptr);
        // A notifier cannot be deleted while it delivers its own signal.
        if (draining_)
            notifier_->deleteLater();
        else
            delete notifier_.data();
    }
    ::close(fd_);
}

void TMainThreadSignal::Post()
{
    std::uint64_t one = 1;
    // Only a counter of 2^64 - 2 unread posts could refuse the write.
    [[maybe_unused]] ssize_t written = ::write(fd_, &one, sizeof one);
}

void TMainThreadSignal::Drain()
{
    std::uint64_t count = 0;
    if (::read(fd_, &count, sizeof count) != sizeof count || count == 0 || !handler_)
        return;
    draining_ = true;
    // Nothing of this object may be touched after the handler: it may be gone.
    handler_(count);
}

} // namespace vx
