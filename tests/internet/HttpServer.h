// A real HTTP server (Python's http.server, threaded: http_server.py beside
// this file) on 127.0.0.1 serving a folder. ".htm" is text/html, ".chs" is text/html with a character set,
// ".txt" text/plain. Beside the folder it answers made-up addresses:
// "/moved/<path>" redirects to "/<path>", "/loop/a" and "/loop/b" redirect
// to each other, and every page
// "/endless/<name>.htm" links to five pages "<name>-0.htm" to "<name>-4.htm".
// Every request is recorded with the client's port.
#pragma once

#include "tests/internet/PythonPeer.h"
#include "tests/support/TempDir.h"

#include <string>
#include <vector>

namespace vx::test {

struct HttpServerOptions {
    // HTTP/1.1 with connections kept open, instead of one connection a request.
    bool keepAlive = false;
    int listenBacklog = 128;
    // A pause before each accepted connection, so connections queue up.
    int acceptDelayMs = 0;
};

class HttpServer {
public:
    explicit HttpServer(const std::string& folder, HttpServerOptions options = {});
    int Port() const { return peer_.Port(); }
    std::string Url(const std::string& path) const;
    // The requests so far, as "METHOD /path", in the order served.
    std::vector<std::string> Requests() const;
    // How many connections the requests came over.
    std::size_t Connections() const;

private:
    std::vector<std::string> LogLines() const;

    TempDir logDir_{"vellumix-http-log"};
    std::string log_;
    PythonPeer peer_;
};

// A port on 127.0.0.1 that nothing listens on (bound, then released).
int ClosedPort();

} // namespace vx::test
