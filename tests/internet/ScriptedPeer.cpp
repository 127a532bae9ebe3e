// The scripted TCP peer.
#include "tests/internet/ScriptedPeer.h"

#include "tests/support/Patience.h"

#include <algorithm>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace vx::test {

namespace {
// Longer than any wait of the client's, so a slow client finds the peer still there.
constexpr int kClientWaitMs = 2 * kPatienceMs;
}

ScriptedPeer::ScriptedPeer(std::vector<PeerStep> script) : script_(std::move(script))
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), len) != 0
        || ::listen(listenFd_, 1) != 0 || ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("ScriptedPeer cannot listen");
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Run(); });
}

ScriptedPeer::~ScriptedPeer()
{
    ::shutdown(listenFd_, SHUT_RDWR);
    thread_.join();
    ::close(listenFd_);
}

std::vector<std::string> ScriptedPeer::Received()
{
    std::lock_guard lock(mutex_);
    return received_;
}

void ScriptedPeer::Run()
{
    // Gives up after long without a client so a failing test cannot hang here.
    pollfd p{listenFd_, POLLIN, 0};
    if (::poll(&p, 1, kClientWaitMs) <= 0)
        return;
    int fd = ::accept(listenFd_, nullptr, nullptr);
    if (fd < 0)
        return;
    std::string pending;
    auto readLine = [&]() -> bool {
        for (;;) {
            auto lf = pending.find('\n');
            if (lf != std::string::npos) {
                std::string line = pending.substr(0, lf);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                pending.erase(0, lf + 1);
                std::lock_guard lock(mutex_);
                received_.push_back(line);
                return true;
            }
            pollfd q{fd, POLLIN, 0};
            if (::poll(&q, 1, kClientWaitMs) <= 0)
                return false;
            char chunk[512];
            ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0)
                return false;
            pending.append(chunk, static_cast<std::size_t>(n));
        }
    };
    for (const PeerStep& step : script_) {
        if (step.kind == PeerStep::Read && !readLine())
            break;
        if (step.kind == PeerStep::Write) {
            ::send(fd, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL);
            // Separate writes arrive as separate reads on the other side.
            ::usleep(20000);
        }
        if (step.kind == PeerStep::Close)
            break;
        if (step.kind == PeerStep::Repeat) {
            for (int waited = 0; waited < 20000; waited += std::max(step.everyMs, 1)) {
                if (::send(fd, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL) < 0)
                    break;
                ::usleep(static_cast<useconds_t>(std::max(step.everyMs, 1)) * 1000);
            }
            break;
        }
        if (step.kind == PeerStep::Idle) {
            char c;
            while (::recv(fd, &c, 1, 0) > 0) {
            }
            break;
        }
    }
    ::close(fd);
}

} // namespace vx::test
