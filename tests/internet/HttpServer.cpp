// The http.server peer.
#include "tests/internet/HttpServer.h"

#include "tests/support/TempDir.h"

#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace vx::test {

namespace {

constexpr const char* kScript = R"PY(
import functools, sys, threading
from http.server import ThreadingHTTPServer, SimpleHTTPRequestHandler

folder, log = sys.argv[1], sys.argv[2]
lock = threading.Lock()

class Handler(SimpleHTTPRequestHandler):
    extensions_map = dict(SimpleHTTPRequestHandler.extensions_map)
    extensions_map.update({'.htm': 'text/html', '.html': 'text/html',
                           '.chs': 'text/html; charset=ISO-8859-1', '.txt': 'text/plain'})
    def log_request(self, code='-', size='-'):
        with lock, open(log, 'a') as f:
            f.write(self.command + ' ' + self.path + '\n')
    def log_message(self, *args):
        pass

class Server(ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = 128

server = Server(('127.0.0.1', 0), functools.partial(Handler, directory=folder))
print(server.server_address[1], flush=True)
server.serve_forever()
)PY";

} // namespace

HttpServer::HttpServer(const std::string& folder)
    : log_(logDir_.file("requests.log")),
      peer_(kScript, {QString::fromStdString(folder), QString::fromStdString(log_)})
{
}

std::string HttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

std::vector<std::string> HttpServer::Requests() const
{
    std::vector<std::string> lines;
    std::istringstream in(readFile(log_));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
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
