// A protocol peer written in Python (aiosmtpd, pyftpdlib, an HTTP server),
// started by a test on 127.0.0.1 with a free port and stopped when the object
// dies. The script prints its port on its first line once it listens.
#pragma once

#include <QStringList>

#include <sys/types.h>

#include <string>

namespace vx::test {

class PythonPeer {
public:
    // script: the Python program; args reach it as sys.argv[1:].
    PythonPeer(const std::string& script, const QStringList& args = {});
    ~PythonPeer();
    PythonPeer(const PythonPeer&) = delete;
    PythonPeer& operator=(const PythonPeer&) = delete;

    int Port() const { return port_; }
    // What the script wrote to its error output so far, for failure messages.
    std::string Errors();

private:
    void Stop();

    pid_t pid_ = 0;
    // The peer's output (kept open so its writes never fail) and its error output's file.
    int output_ = -1;
    int errors_ = -1;
    int port_ = 0;
};

} // namespace vx::test
