// The http.server peer.
#include "tests/internet/HttpServer.h"

#include "tests/support/TempDir.h"

#include <netinet/in.h>
#include <set>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace vx::test {

namespace {

constexpr const char* kScript = R"PY(
import functools, io, sys, threading, time
from http.server import ThreadingHTTPServer, SimpleHTTPRequestHandler

folder, log = sys.argv[1], sys.argv[2]
keepalive, backlog, delay = sys.argv[3] == '1', int(sys.argv[4]), int(sys.argv[5]) / 1000.0
lock = threading.Lock()

class Handler(SimpleHTTPRequestHandler):
    protocol_version = 'HTTP/1.1' if keepalive else 'HTTP/1.0'
    extensions_map = dict(SimpleHTTPRequestHandler.extensions_map)
    extensions_map.update({'.htm': 'text/html', '.html': 'text/html',
                           '.chs': 'text/html; charset=ISO-8859-1', '.txt': 'text/plain'})
    def send_head(self):
        path = self.path.split('?')[0]
        if path.startswith('/moved/'):
            self.send_response(301)
            self.send_header('Location', path[len('/moved'):])
            self.send_header('Content-Length', '0')
            self.end_headers()
            return None
        if path.startswith('/loop/'):
            self.send_response(302)
            self.send_header('Location', '/loop/b' if path.endswith('a') else '/loop/a')
            self.send_header('Content-Length', '0')
            self.end_headers()
            return None
        if path.startswith('/endless/') and path.endswith('.htm'):
            name = path[len('/endless/'):-4]
            body = ''.join('<a href="%s-%d.htm">x</a>' % (name, k) for k in range(5)).encode()
            self.send_response(200)
            self.send_header('Content-Type', 'text/html')
            self.send_header('Content-Length', str(len(body)))
            self.end_headers()
            return io.BytesIO(body)
        return SimpleHTTPRequestHandler.send_head(self)
    def log_request(self, code='-', size='-'):
        with lock, open(log, 'a') as f:
            f.write('%s %s|%d\n' % (self.command, self.path, self.client_address[1]))
    def log_message(self, *args):
        pass

class Server(ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = backlog
    def get_request(self):
        time.sleep(delay)
        return ThreadingHTTPServer.get_request(self)

server = Server(('127.0.0.1', 0), functools.partial(Handler, directory=folder))
print(server.server_address[1], flush=True)
server.serve_forever()
)PY";

} // namespace

HttpServer::HttpServer(const std::string& folder, HttpServerOptions options)
    : log_(logDir_.file("requests.log")),
      peer_(kScript, {QString::fromStdString(folder), QString::fromStdString(log_), options.keepAlive ? "1" : "0",
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
