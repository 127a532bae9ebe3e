// A real FTP server (pyftpdlib) on 127.0.0.1 serving a folder to the user
// "user" with the password "secret". Its listings start with a line "total 8".
// Downloading a file named "drop.bin" closes both connections after the
// first few kilobytes; one named "slow.bin" comes at 3 bytes a second, and an
// upload named "slow.htm" is taken in 3 bytes at a time, a second or two apart.
// The listing of a folder named "trickle" never ends and comes a byte every
// twentieth of a second, a fifth of the stall floor; that of one named
// "dribble" at about 200 bytes a second, twice the stall floor, in pieces a
// tenth of a second apart.
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
