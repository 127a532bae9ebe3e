// Sockets by connection.
#include "internet/ConnectionSockets.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

int LocalPort(int socket)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return -1;
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return -1;
}

} // namespace

int TConnectionSockets::Attach(const std::string& remoteIp, int remotePort, int localPort, int opened)
{
    const auto key = std::make_tuple(remoteIp, remotePort, localPort);
    auto it = sockets_.find(key);
    if (it != sockets_.end())
        return it->second;
    if (opened < 0 || LocalPort(opened) != localPort)
        return -1;
    sockets_.emplace(key, opened);
    return opened;
}

void TConnectionSockets::Closed(int socket)
{
    std::erase_if(sockets_, [socket](const auto& entry) { return entry.second == socket; });
}

void TConnectionSockets::AcknowledgeNow(int socket)
{
    int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}
