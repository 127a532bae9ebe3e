// The http.server peer.
#include "tests/internet/HttpServer.h"

#include "tests/support/TempDir.h"

#include <netinet/in.h>
#include <set>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace vx::test {

HttpServer::HttpServer(const std::string& folder, HttpServerOptions options)
    : log_(logDir_.file("requests.log")),
      peer_(readFile(VX_HTTP_SERVER_SCRIPT),
            {QString::fromStdString(folder), QString::fromStdString(log_), options.keepAlive ? "1" : "0",
             QString::number(options.listenBacklog), QString::number(options.acceptDelayMs)})
{
}

std::string HttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

std::vector<std::string> HttpServer::LogLines() const
{
    std::vector<std::string> lines;
    std::istringstream in(readFile(log_));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> HttpServer::Requests() const
{
    std::vector<std::string> requests;
    for (const std::string& line : LogLines())
        requests.push_back(line.substr(0, line.rfind('|')));
    return requests;
}

std::size_t HttpServer::Connections() const
{
    std::set<std::string> ports;
    for (const std::string& line : LogLines())
        ports.insert(line.substr(line.rfind('|') + 1));
    return ports.size();
}

int ClosedPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

} // namespace vx::test
