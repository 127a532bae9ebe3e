// The per-server request limit.
#include "internet/HostGate.h"

#include <algorithm>

THostGate::THostGate(int initialLimit, int maximumLimit)
    : limit_(std::clamp(initialLimit, 1, std::max(maximumLimit, 1))), ceiling_(std::max(maximumLimit, 1))
{
}

void THostGate::Answered(std::uint32_t ticket, std::int64_t connectUs)
{
    if (connectUs >= 0) {
        // A connect that took a resend to get through was dropped once.
        if (connectUs >= std::max<std::int64_t>(quickestUs_, 0) + kResendUs) {
            Overloaded(ticket);
            return;
        }
        quickestUs_ = quickestUs_ < 0 ? connectUs : std::min(quickestUs_, connectUs);
    }
    if (++answeredSinceGrowth_ >= limit_) {
        answeredSinceGrowth_ = 0;
        limit_ = std::min(limit_ + 1, ceiling_);
    }
}

void THostGate::Overloaded(std::uint32_t ticket)
{
    if (ticket != round_)
        return;
    ++round_;
    limit_ = std::max(1, limit_ / 2);
    ceiling_ = limit_;
    answeredSinceGrowth_ = 0;
}

int THostGate::ConnectTimeoutMs(int fullMs, int dropsOfRequest) const
{
    if (!Reachable() || dropsOfRequest >= 2)
        return fullMs;
    const std::int64_t allowed = std::max<std::int64_t>(kMinDropTimeoutMs, quickestUs_ * 4 / 1000 + 100);
    return static_cast<int>(std::min<std::int64_t>(allowed, fullMs));
}
