// Starting and stopping Python peers. The peer is started with posix_spawn and
// pipes of its own, not QProcess: Qt's child process watching makes a system
// call that valgrind reports as an error, and the suite runs under valgrind.
#include "tests/internet/PythonPeer.h"

#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace vx::test {

namespace {
// Debian's interpreter: the one python3-aiosmtpd and python3-pyftpdlib install into.
constexpr const char* kPython = "/usr/bin/python3";
constexpr int kStartMs = 20000;
}

PythonPeer::PythonPeer(const std::string& script, const QStringList& args)
{
    // The error output goes to a file of its own, which never fills up as a pipe would.
    char errorFile[] = "/tmp/vellumix-peer-XXXXXX";
    errors_ = mkostemp(errorFile, O_CLOEXEC);
    if (errors_ >= 0)
        ::unlink(errorFile);
    int out[2];
    if (errors_ < 0 || pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("Cannot make the output of " + std::string(kPython));
    std::vector<std::string> words{kPython, "-u", "-c", script};
    for (const QString& arg : args)
        words.push_back(arg.toStdString());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errors_, 2);
    const int spawned = posix_spawn(&pid_, kPython, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    output_ = out[0];
    if (spawned != 0) {
        pid_ = 0;
        Stop();
        throw std::runtime_error("Cannot start " + std::string(kPython));
    }
    // The first line is the port.
    std::string line;
    for (char c = 0; c != '\n';) {
        pollfd p{output_, POLLIN, 0};
        if (::poll(&p, 1, kStartMs) <= 0 || ::read(output_, &c, 1) != 1) {
            const std::string errors = Errors();
            Stop();
            throw std::runtime_error("Peer did not start: " + errors);
        }
        line += c;
    }
    port_ = std::atoi(line.c_str());
    if (port_ <= 0) {
        const std::string errors = Errors();
        Stop();
        throw std::runtime_error("Peer gave no port: " + errors);
    }
}

PythonPeer::~PythonPeer()
{
    Stop();
}

void PythonPeer::Stop()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_ = 0;
    for (int* fd : {&output_, &errors_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

std::string PythonPeer::Errors()
{
    std::string text;
    char buffer[4096];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(errors_, buffer, sizeof buffer, at);
        if (n <= 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
}

} // namespace vx::test
