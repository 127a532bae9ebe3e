// A connection to a line-oriented peer (SMTP) over a TCP socket: text goes
// out as given, replies come back as whole lines, reads are bounded by a
// line-length limit. Waits are cut into short slices and Idle runs between
// them, so a window that sends stays responsive. No wait lasts longer than
// TimeOutMs without data moving, nor past the end of the current step: a peer
// that trickles or talks on for ever cannot keep a step going. A closed
// connection, a socket error or a time-out raises ENetError with a text the
// user can read.
#pragma once

#include "internet/LineBuffer.h"
#include "platform/Exception.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

VX_DECLARE_EXCEPTION(ENetError, Exception);
// A transfer that moved less than its rate floor.
VX_DECLARE_EXCEPTION(ENetStalled, ENetError);
// The current step's time ran out (see BeginStep).
VX_DECLARE_EXCEPTION(ENetStepOver, ENetError);

// The least a transfer must move: BytesPerSecond on average over every
// Seconds (more than 0) it lasts.
struct TRateFloor {
    int BytesPerSecond = 0;
    int Seconds = 1;
    // "less than <n> bytes a second for <s> seconds": what a stall fell short of.
    TMessage Text() const;
};

class TTcpLineTransport {
public:
    TTcpLineTransport() = default;
    ~TTcpLineTransport();
    TTcpLineTransport(const TTcpLineTransport&) = delete;
    TTcpLineTransport& operator=(const TTcpLineTransport&) = delete;

    void Connect(const std::string& host, int port);
    void Send(std::string_view bytes);
    // The next line without its CR LF; raises ENetError once the peer closed.
    std::string ReadLine();
    // Everything the peer sends until it closes; raises ENetError past
    // maxBytes, and ENetStalled when the peer sends less than the floor.
    std::string ReadToEnd(std::size_t maxBytes, const TRateFloor& floor);
    void Close();
    bool Connected() const { return fd_ >= 0; }
    // The name this machine gives itself, for greetings.
    std::string LocalHostName() const;

    // Until EndStep, every wait ends at most ms from now, raising ENetStepOver.
    void BeginStep(int ms);
    void EndStep() { stepEnd_.reset(); }

    int TimeOutMs = 30000;
    // Run between slices of a wait; what it raises ends the wait.
    std::function<void()> Idle;

private:
    using TTime = std::chrono::steady_clock::time_point;
    // Waits for the events on the socket: false when until came first.
    // Raises ENetError after TimeOutMs or at the end of the step.
    bool WaitFor(short events, const TWording& what, std::optional<TTime> until = std::nullopt);
    // Waits for data and reads it into chunk: its size, 0 once the peer
    // closed; none when until came first.
    std::optional<std::size_t> Receive(char* chunk, std::size_t size, const TWording& what,
                                       std::optional<TTime> until = std::nullopt);
    int fd_ = -1;
    TLineBuffer buffer_;
    std::optional<TTime> stepEnd_;
};
