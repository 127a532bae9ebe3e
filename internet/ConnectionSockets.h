// The sockets of the fetcher's open connections, found by the addresses and
// ports of the connection, so a request that goes over a kept connection can
// reach its socket: libcurl names a socket only to the request that opened it.
#pragma once

#include <map>
#include <string>
#include <tuple>

class TConnectionSockets {
public:
    // The socket of the connection from localPort to remoteIp:remotePort.
    // opened: the socket the request opened itself, or -1; it is taken as the
    // connection's when the connection is not known yet. -1 when none is known.
    int Attach(const std::string& remoteIp, int remotePort, int localPort, int opened);
    // The socket is being closed.
    void Closed(int socket);

    // Acknowledges what arrived on the socket at once, where the system would
    // wait to send the acknowledgement with the next request.
    static void AcknowledgeNow(int socket);

private:
    std::map<std::tuple<std::string, int, int>, int> sockets_;
};
