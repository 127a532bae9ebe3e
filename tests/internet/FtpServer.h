// A real FTP server (pyftpdlib) on 127.0.0.1 serving a folder to the user
// "user" with the password "secret". Downloading a file named "drop.bin"
// closes both connections after the first few kilobytes.
#pragma once

#include "tests/internet/PythonPeer.h"

#include <string>

namespace vx::test {

class FtpServer {
public:
    explicit FtpServer(const std::string& folder);
    int Port() const { return peer_.Port(); }

private:
    PythonPeer peer_;
};

} // namespace vx::test
