// Listing a folder in binary mode.
#include "internet/FtpBinaryList.h"

#include "internet/FtpListing.h"
#include "internet/SmtpReply.h"
#include "internet/TcpLineTransport.h"

#include <cstdlib>
#include <initializer_list>

namespace {

const TWording NoFtpReply{"The server's reply is no FTP reply: %1"};
const TWording ListRefused{"List failed (%1)"};
const TWording NoDataPort{"List failed: the server gave no data port (%1)"};
const TWording ListStalled{"List stalled: %1"};
const TWording ListFailed{"List failed: %1"};

struct TFtpReply {
    int Code = 0;
    std::string Line;
};

// One reply, a multi-line one ("150-" ... "150 ") read to its last line.
TFtpReply ReadReply(TTcpLineTransport& control)
{
    TFtpReply reply;
    reply.Line = control.ReadLine();
    reply.Code = reply.Line.size() >= 3 ? SmtpCodeNumber(reply.Line.substr(0, 3)) : 0;
    if (reply.Code == 0)
        throw ENetError(TMessage(NoFtpReply, {reply.Line}));
    if (reply.Line.size() > 3 && reply.Line[3] == '-') {
        const std::string last = reply.Line.substr(0, 3) + " ";
        do
            reply.Line = control.ReadLine();
        while (reply.Line.compare(0, 4, last) != 0 && reply.Line != last.substr(0, 3));
    }
    return reply;
}

// Sends the command (none for the greeting) and reads its reply, the final
// one unless a preliminary one is asked for.
TFtpReply Command(TTcpLineTransport& control, int timeOutMs, const std::string& command, bool preliminary = false)
{
    control.BeginStep(timeOutMs);
    if (!command.empty())
        control.Send(command + "\r\n");
    TFtpReply reply = ReadReply(control);
    while (reply.Code / 100 == 1 && !preliminary)
        reply = ReadReply(control);
    control.EndStep();
    return reply;
}

// A reply of another class than those given is the server's refusal.
const TFtpReply& Require(const TFtpReply& reply, std::initializer_list<int> classes)
{
    for (int c : classes)
        if (reply.Code / 100 == c)
            return reply;
    throw EFtpRefused(TMessage(ListRefused, {reply.Line}));
}

// The data port of an EPSV ("(|||port|)") or PASV ("(h1,h2,h3,h4,p1,p2)") reply.
int DataPort(const std::string& reply, bool extended)
{
    const auto open = reply.find('(');
    if (open == std::string::npos)
        return 0;
    std::string inner = reply.substr(open + 1, reply.find(')', open) - open - 1);
    if (extended) {
        const auto digits = inner.find_first_of("0123456789");
        return digits == std::string::npos ? 0 : std::atoi(inner.c_str() + digits);
    }
    int parts[6] = {};
    int count = 0;
    for (std::size_t at = 0; count < 6 && at <= inner.size(); ++count) {
        parts[count] = std::atoi(inner.c_str() + at);
        at = inner.find(',', at);
        if (at == std::string::npos)
            break;
        ++at;
    }
    return count == 5 ? parts[4] * 256 + parts[5] : 0;
}

// The listing's bytes as they come over the data connection: every command
// around them has the login's wait, the whole of them the time limit.
std::string ReadListing(TTcpLineTransport& data, const TFtpLogin& login, std::size_t maxBytes,
                        std::chrono::seconds timeLimit)
{
    data.BeginStep(static_cast<int>(std::chrono::milliseconds(timeLimit).count()));
    try {
        return data.ReadToEnd(maxBytes, {IFtpSession::kStallBytesPerSecond, FtpStallSeconds(login)});
    } catch (const ENetStepOver&) {
        throw EFtpListTimedOut(timeLimit);
    }
}

} // namespace

std::vector<std::string> ListFolderBinary(const TFtpLogin& login, const std::string& folder,
                                          const std::function<void()>& idle, std::size_t maxBytes,
                                          std::chrono::seconds timeLimit)
{
    TTcpLineTransport control, data;
    for (TTcpLineTransport* t : {&control, &data}) {
        t->TimeOutMs = login.TimeOutMs;
        t->Idle = idle;
    }
    std::vector<std::string> lines;
    try {
        const int t = login.TimeOutMs;
        control.BeginStep(t);
        control.Connect(login.Host, login.Port);
        Require(Command(control, t, ""), {2});
        // 230 straight after USER: no password asked for.
        if (Require(Command(control, t, "USER " + login.User), {2, 3}).Code / 100 == 3)
            Require(Command(control, t, "PASS " + login.Password), {2});
        Require(Command(control, t, "TYPE I"), {2});
        if (!folder.empty())
            Require(Command(control, t, "CWD " + folder), {2});
        TFtpReply passive = Command(control, t, "EPSV");
        const bool extended = passive.Code / 100 == 2;
        if (!extended)
            passive = Require(Command(control, t, "PASV"), {2});
        const int port = DataPort(passive.Line, extended);
        if (port <= 0 || port > 65535)
            throw EFtpError(TMessage(NoDataPort, {passive.Line}));
        data.Connect(login.Host, port);
        if (Require(Command(control, t, "LIST", true), {1, 2}).Code / 100 == 1) {
            lines = SplitListing(ReadListing(data, login, maxBytes, timeLimit));
            data.Close();
            Require(Command(control, t, ""), {2});
        }
        control.Send("QUIT\r\n");
    } catch (const ENetStalled& e) {
        throw EFtpError(TMessage(ListStalled, {e.Said()}));
    } catch (const ENetError& e) {
        throw EFtpError(TMessage(ListFailed, {e.Said()}));
    }
    return lines;
}
