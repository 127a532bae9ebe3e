// How many requests may run at once against one server. The limit starts low
// and grows by one each time as many requests as it allows went through on
// quick connections; a connection the server dropped or refused after earlier
// ones were accepted halves it, once for all the requests that were already
// running then, and the limit never grows back to where that happened. A new connection may take only a few times as
// long as the quickest one so far before it counts as dropped: it is then
// abandoned and tried again at once, where the system would wait a second
// before it asked the server again. So a listener whose backlog overflows
// slows the walk down a little instead of stalling it.
#pragma once

#include <cstdint>

class THostGate {
public:
    THostGate(int initialLimit, int maximumLimit);

    // The first request to a server goes alone: a burst at a server nobody
    // knows yet could overflow its backlog before any drop can be noticed.
    bool MayStart() const { return running_ < (probed_ ? limit_ : 1); }
    // The ticket the request hands back with what became of it.
    std::uint32_t Started()
    {
        ++running_;
        return round_;
    }
    void Ended()
    {
        --running_;
        probed_ = true;
    }

    // A request got its answer; connectUs is what opening its connection took,
    // or a negative value when it went over one already open.
    void Answered(std::uint32_t ticket, std::int64_t connectUs);
    // A new connection was dropped (it took too long) or refused, or the server
    // closed it without an answer: the limit halves, unless it did so since
    // the request started.
    void Overloaded(std::uint32_t ticket);

    // How long a new connection may take before it counts as dropped: the full
    // time-out until the server accepted one, and the full time-out for a
    // request that was dropped twice already.
    int ConnectTimeoutMs(int fullMs, int dropsOfRequest) const;
    // The server accepted a connection at least once.
    bool Reachable() const { return quickestUs_ >= 0; }
    int Limit() const { return limit_; }

    // A connect that took this much longer than the quickest one waited for
    // the system's resend of an unanswered connect, which comes after a second.
    static constexpr std::int64_t kResendUs = 800000;
    static constexpr int kMinDropTimeoutMs = 300;

private:
    int limit_;
    // The limit grows no further: below where the server last dropped connections.
    int ceiling_;
    int running_ = 0;
    bool probed_ = false;
    int answeredSinceGrowth_ = 0;
    // Counts the halvings.
    std::uint32_t round_ = 0;
    std::int64_t quickestUs_ = -1;
};
