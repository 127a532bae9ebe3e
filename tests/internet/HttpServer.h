// A real HTTP server (Python's http.server, threaded) on 127.0.0.1 serving a
// folder. ".htm" is text/html, ".chs" is text/html with a character set,
// ".txt" text/plain. Every request is recorded as "METHOD /path" in the log.
#pragma once

#include "tests/internet/PythonPeer.h"
#include "tests/support/TempDir.h"

#include <string>
#include <vector>

namespace vx::test {

class HttpServer {
public:
    explicit HttpServer(const std::string& folder);
    int Port() const { return peer_.Port(); }
    std::string Url(const std::string& path) const;
    // The requests so far, in the order served.
    std::vector<std::string> Requests() const;

private:
    TempDir logDir_{"vellumix-http-log"};
    std::string log_;
    PythonPeer peer_;
};

// A port on 127.0.0.1 that nothing listens on (bound, then released).
int ClosedPort();

} // namespace vx::test
