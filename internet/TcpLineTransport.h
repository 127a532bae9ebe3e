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
    // Everything the peer sends until it closes; raises ENetError past maxBytes.
    std::string ReadToEnd(std::size_t maxBytes);
    void Close();
    bool Connected() const { return fd_ >= 0; }
    // The name this machine gives itself, for greetings.
    std::string LocalHostName() const;

    // Until EndStep, every wait ends at most ms from now.
    void BeginStep(int ms);
    void EndStep() { stepEnd_.reset(); }

    int TimeOutMs = 30000;
    // Run between slices of a wait; what it raises ends the wait.
    std::function<void()> Idle;

private:
    // Waits for the events on the socket; raises ENetError after TimeOutMs or at the end of the step.
    void WaitFor(short events, const char* what);
    // Waits for data and reads it into chunk: its size, 0 once the peer closed.
    std::size_t Receive(char* chunk, std::size_t size, const char* what);
    int fd_ = -1;
    TLineBuffer buffer_;
    std::optional<std::chrono::steady_clock::time_point> stepEnd_;
};
