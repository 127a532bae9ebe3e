// A TCP peer on 127.0.0.1 that follows a script: read a line, send bytes
// (possibly split over several writes), or close. It runs on its own thread
// and records the lines it read.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vx::test {

struct PeerStep {
    enum Kind { Read, Write, Close, Idle, Repeat } kind;
    std::string bytes;
    int everyMs = 0;
};

inline PeerStep ReadLine() { return {PeerStep::Read, {}}; }
inline PeerStep Write(std::string bytes) { return {PeerStep::Write, std::move(bytes)}; }
inline PeerStep CloseConnection() { return {PeerStep::Close, {}}; }
// Keeps the connection open without answering until the client goes away.
inline PeerStep StayMute() { return {PeerStep::Idle, {}}; }
// Sends the bytes again and again, every so many milliseconds, until the
// client goes away (or 20 s have passed, so a failing test cannot hang here).
inline PeerStep Repeat(std::string bytes, int everyMs) { return {PeerStep::Repeat, std::move(bytes), everyMs}; }

class ScriptedPeer {
public:
    explicit ScriptedPeer(std::vector<PeerStep> script);
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    int Port() const { return port_; }
    // The lines the peer read, once the session ended.
    std::vector<std::string> Received();

private:
    void Run();

    std::vector<PeerStep> script_;
    int listenFd_ = -1;
    int port_ = 0;
    std::mutex mutex_;
    std::vector<std::string> received_;
    std::thread thread_;
};

} // namespace vx::test
