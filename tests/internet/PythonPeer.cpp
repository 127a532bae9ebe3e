// Starting and stopping Python peers.
#include "tests/internet/PythonPeer.h"

#include <stdexcept>

namespace vx::test {

namespace {
// Debian's interpreter: the one python3-aiosmtpd and python3-pyftpdlib install into.
constexpr const char* kPython = "/usr/bin/python3";
constexpr int kStartMs = 20000;
}

PythonPeer::PythonPeer(const std::string& script, const QStringList& args)
{
    QStringList all{"-u", "-c", QString::fromStdString(script)};
    all += args;
    process_.start(kPython, all);
    if (!process_.waitForStarted(kStartMs))
        throw std::runtime_error("Cannot start " + std::string(kPython));
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(kStartMs))
            throw std::runtime_error("Peer did not start: " + Errors());
    }
    port_ = QString::fromLatin1(process_.readLine()).trimmed().toInt();
    if (port_ <= 0)
        throw std::runtime_error("Peer gave no port: " + Errors());
}

PythonPeer::~PythonPeer()
{
    process_.kill();
    process_.waitForFinished(5000);
}

std::string PythonPeer::Errors()
{
    return process_.readAllStandardError().toStdString();
}

} // namespace vx::test
