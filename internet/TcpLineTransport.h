// The line transport over a TCP socket. Waits are cut into short slices and
// Idle runs between them, so a window that sends stays responsive; no wait
// lasts longer than TimeOutMs without data moving.
#pragma once

#include "internet/LineBuffer.h"
#include "internet/LineTransport.h"

#include <functional>

class TTcpLineTransport : public ILineTransport {
public:
    TTcpLineTransport() = default;
    ~TTcpLineTransport() override;
    TTcpLineTransport(const TTcpLineTransport&) = delete;
    TTcpLineTransport& operator=(const TTcpLineTransport&) = delete;

    void Connect(const std::string& host, int port) override;
    void Send(std::string_view bytes) override;
    std::string ReadLine() override;
    void Close() override;
    bool Connected() const override { return fd_ >= 0; }
    std::string LocalHostName() const override;

    int TimeOutMs = 30000;
    std::function<void()> Idle;

private:
    // Waits for the events on the socket; raises ENetError after TimeOutMs.
    void WaitFor(short events, const char* what);
    int fd_ = -1;
    TLineBuffer buffer_;
};
