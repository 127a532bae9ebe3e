// TCP sockets through POSIX: non-blocking, polled in slices.
#include "internet/TcpLineTransport.h"

#include "internet/MailAddress.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSliceMs = 50;
constexpr std::size_t kReadChunk = 1024;

const TWording TimedOut{"Timed out %1"};
const TWording Connecting{"connecting to the server"};
const TWording Sending{"sending to the server"};
const TWording WaitingForReply{"waiting for the server's reply"};
const TWording WaitingForData{"waiting for the server's data"};
const TWording ConnectionFailed{"Connection failed"};
const TWording ConnectionFailedBy{"Connection failed: %1"};
const TWording SendingFailed{"Sending failed: %1"};
const TWording ReceivingFailed{"Receiving failed: %1"};
const TWording ConnectionClosed{"Connection closed"};
const TWording ClosedByServer{"Connection closed by the server"};
const TWording NotConnected{"Not connected"};
const TWording InvalidPort{"Invalid port %1"};
const TWording InvalidHost{"Invalid host name %1: %2"};
const TWording TooMuchReceived{"More than %1 bytes received"};
const TWording RateFloor{"less than %1 bytes a second for %2 seconds"};

// The failure with the system's reason for error.
TMessage SystemError(const TWording& failure, int error)
{
    return TMessage(failure, {std::string(std::strerror(error))});
}

struct AddrInfoList {
    addrinfo* list = nullptr;
    ~AddrInfoList() { if (list) freeaddrinfo(list); }
};

} // namespace

TMessage TRateFloor::Text() const
{
    return TMessage(RateFloor, {std::to_string(BytesPerSecond), std::to_string(Seconds)});
}

TTcpLineTransport::~TTcpLineTransport()
{
    Close();
}

void TTcpLineTransport::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    buffer_ = TLineBuffer();
}

std::string TTcpLineTransport::LocalHostName() const
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || !name[0])
        return "localhost";
    return name;
}

void TTcpLineTransport::BeginStep(int ms)
{
    stepEnd_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

bool TTcpLineTransport::WaitFor(short events, const TWording& what, std::optional<TTime> until)
{
    const TTime deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeOutMs);
    for (;;) {
        // Checked before the socket too: a peer that never stops sending has data ready at every wait.
        if (stepEnd_ && std::chrono::steady_clock::now() >= *stepEnd_)
            throw ENetStepOver(TMessage(TimedOut, {TMessage(what, {})}));
        pollfd p{fd_, events, 0};
        int n = ::poll(&p, 1, kSliceMs);
        if (n > 0) {
            if (p.revents & (POLLERR | POLLNVAL) && !(p.revents & POLLIN)) {
                int error = 0;
                socklen_t len = sizeof error;
                getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len);
                throw ENetError(SystemError(ConnectionFailedBy, error ? error : EIO));
            }
            return true;
        }
        if (n < 0 && errno != EINTR)
            throw ENetError(SystemError(ConnectionFailedBy, errno));
        if (Idle)
            Idle();
        if (fd_ < 0)
            throw ENetError(TMessage(ConnectionClosed, {}));
        const TTime now = std::chrono::steady_clock::now();
        if (until && now >= *until)
            return false;
        if (now >= deadline)
            throw ENetError(TMessage(TimedOut, {TMessage(what, {})}));
    }
}

void TTcpLineTransport::Connect(const std::string& host, int port)
{
    Close();
    if (port <= 0 || port > 65535)
        throw ENetError(TMessage(InvalidPort, {std::to_string(port)}));
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    // A dotted address is used as it stands, without asking the resolver.
    if (vx::net::IsDottedIPAddress(host))
        hints.ai_flags = AI_NUMERICHOST;
    AddrInfoList found;
    int rc = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found.list);
    if (rc != 0 || !found.list)
        throw ENetError(TMessage(InvalidHost, {host, std::string(gai_strerror(rc))}));
    TMessage lastError(ConnectionFailed, {});
    for (addrinfo* a = found.list; a; a = a->ai_next) {
        fd_ = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd_ < 0)
            continue;
        if (::connect(fd_, a->ai_addr, a->ai_addrlen) == 0)
            return;
        if (errno == EINPROGRESS) {
            try {
                WaitFor(POLLOUT, Connecting);
                int error = 0;
                socklen_t len = sizeof error;
                getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len);
                if (error == 0)
                    return;
                lastError = SystemError(ConnectionFailedBy, error);
            } catch (const ENetError& e) {
                lastError = e.Said();
            }
        } else {
            lastError = SystemError(ConnectionFailedBy, errno);
        }
        Close();
    }
    throw ENetError(lastError);
}

void TTcpLineTransport::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        if (fd_ < 0)
            throw ENetError(TMessage(NotConnected, {}));
        ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            WaitFor(POLLOUT, Sending);
        } else if (n < 0 && errno != EINTR) {
            throw ENetError(SystemError(SendingFailed, errno));
        }
    }
}

std::optional<std::size_t> TTcpLineTransport::Receive(char* chunk, std::size_t size, const TWording& what,
                                                      std::optional<TTime> until)
{
    for (;;) {
        if (fd_ < 0)
            throw ENetError(TMessage(NotConnected, {}));
        if (!WaitFor(POLLIN, what, until))
            return std::nullopt;
        ssize_t n = ::recv(fd_, chunk, size, 0);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            throw ENetError(SystemError(ReceivingFailed, errno));
    }
}

std::string TTcpLineTransport::ReadLine()
{
    for (;;) {
        if (auto line = buffer_.TakeLine())
            return *line;
        char chunk[kReadChunk];
        const std::size_t n = *Receive(chunk, sizeof chunk, WaitingForReply);
        if (n == 0)
            throw ENetError(TMessage(ClosedByServer, {}));
        try {
            buffer_.Append(std::string_view(chunk, n));
        } catch (const ELineTooLong& e) {
            throw ENetError(e.Said());
        }
    }
}

std::string TTcpLineTransport::ReadToEnd(std::size_t maxBytes, const TRateFloor& floor)
{
    std::string bytes = buffer_.Pending();
    buffer_ = TLineBuffer();
    const std::size_t least = static_cast<std::size_t>(floor.BytesPerSecond) * static_cast<std::size_t>(floor.Seconds);
    // The rate is judged over whole spans of the floor's seconds: a peer
    // that sends a byte now and then keeps no wait from ending, but cannot
    // keep the transfer going.
    TTime spanEnd = std::chrono::steady_clock::now() + std::chrono::seconds(floor.Seconds);
    std::size_t inSpan = 0;
    for (;;) {
        char chunk[kReadChunk];
        const std::optional<std::size_t> n = Receive(chunk, sizeof chunk, WaitingForData, spanEnd);
        if (n && *n == 0)
            return bytes;
        if (n) {
            if (bytes.size() + *n > maxBytes)
                throw ENetError(TMessage(TooMuchReceived, {std::to_string(maxBytes)}));
            bytes.append(chunk, *n);
            inSpan += *n;
        }
        const TTime now = std::chrono::steady_clock::now();
        if (now < spanEnd)
            continue;
        if (inSpan < least)
            throw ENetStalled(floor.Text());
        spanEnd = now + std::chrono::seconds(floor.Seconds);
        inSpan = 0;
    }
}
