// The SMTP dialogue.
#include "internet/SakSMTP.h"

#include "internet/Base64.h"
#include "internet/MailAddress.h"
#include "internet/MailBuilder.h"
#include "internet/MailDate.h"
#include "internet/TcpLineTransport.h"
#include "internet/TextUtil.h"
#include "platform/FileIO.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace {

// Percentages reported in steps: the next threshold starts at step and grows by it.
class TProgressSteps {
public:
    explicit TProgressSteps(std::uint16_t step) : step_(step ? step : 1), next_(step_) {}
    // True when percent reached the next threshold.
    bool Reached(std::uint16_t percent)
    {
        if (percent < next_)
            return false;
        while (next_ <= percent)
            next_ = static_cast<std::uint16_t>(next_ + step_);
        return true;
    }

private:
    std::uint16_t step_;
    std::uint16_t next_;
};

std::uint16_t Percent(std::size_t done, std::size_t total)
{
    return total ? static_cast<std::uint16_t>(std::lround(static_cast<double>(done) * 100.0 / static_cast<double>(total)))
                 : 100;
}

} // namespace

namespace {

const TWording Cancelled{"Sending cancelled"};
const TWording Unreadable{"The server's reply cannot be read: %1"};
const TWording InvalidPort{"Invalid port %1"};
const TWording NotConnected{"Not connected."};
const TWording NoSender{"\"From\" field not specified."};
const TWording NoRecipient{"\"SendTo\" field not specified."};
// How much of a line that is no reply a failure shows.
constexpr std::size_t kShownLength = 64;

} // namespace

TSakSMTP::TSakSMTP()
    : random_(static_cast<std::mt19937::result_type>(std::chrono::steady_clock::now().time_since_epoch().count()))
{
    transport_.Idle = [this] { Idle(); };
}

TSakSMTP::~TSakSMTP() = default;

void TSakSMTP::Idle()
{
    if (ProcessMessages)
        ProcessMessages();
    if (cancelled_)
        throw ENetError(TMessage(Cancelled, {}));
}

void TSakSMTP::CloseTransport()
{
    bool was = connected_ || transport_.Connected();
    transport_.EndStep();
    transport_.Close();
    connected_ = false;
    if (was && OnQuit)
        OnQuit(this);
}

bool TSakSMTP::Fail(int code, TMessage text)
{
    error_ = true;
    reply_ = std::move(text);
    CloseTransport();
    if (OnError)
        OnError(this, code, reply_.English());
    return false;
}

void TSakSMTP::ReadReply()
{
    TSmtpReply reply;
    for (;;) {
        const std::string line = transport_.ReadLine();
        // Waiting on would only end in a time-out that blames the wrong thing.
        if (!IsSmtpReplyLine(line))
            throw ENetError(TMessage(Unreadable, {vx::net::Trim(line.substr(0, kShownLength))}));
        if (reply.AddLine(line))
            break;
        Idle();
    }
    replyCode_ = reply.Code();
    reply_ = reply.Text();
}

bool TSakSMTP::Expect(const char* expected)
{
    try {
        ReadReply();
    } catch (const ENetError& e) {
        replyCode_.clear();
        return Fail(0, e.Said());
    }
    transport_.EndStep();
    if (replyCode_ != expected)
        return Fail(SmtpCodeNumber(replyCode_), reply_);
    return true;
}

bool TSakSMTP::Exchange(const std::string& command, const char* expected)
{
    transport_.BeginStep(TimeOut);
    try {
        transport_.Send(vx::net::OneLine(command) + "\r\n");
    } catch (const ENetError& e) {
        replyCode_.clear();
        return Fail(0, e.Said());
    }
    return Expect(expected);
}

void TSakSMTP::Connect()
{
    error_ = false;
    cancelled_ = false;
    replyCode_.clear();
    reply_ = TMessage();
    CloseTransport();
    transport_.TimeOutMs = TimeOut;
    int port = 0;
    try {
        port = std::stoi(Port);
    } catch (const std::exception&) {
        Fail(0, TMessage(InvalidPort, {Port}));
        return;
    }
    // Connecting and the greeting are one step: garbage or endless lines before it end there too.
    transport_.BeginStep(TimeOut);
    try {
        transport_.Connect(vx::net::Trim(Host), port);
    } catch (const ENetError& e) {
        Fail(0, e.Said());
        return;
    }
    connected_ = true;
    if (OnConnect)
        OnConnect(this);
    try {
        do {
            ReadReply();
            Idle();
            // A refusal other than 421 (554 "no service") ends the wait as well.
        } while (replyCode_ != "220" && SmtpCodeNumber(replyCode_) < 400);
    } catch (const ENetError& e) {
        replyCode_.clear();
        Fail(0, e.Said());
        return;
    }
    transport_.EndStep();
    if (replyCode_ != "220") {
        Fail(SmtpCodeNumber(replyCode_), reply_);
        return;
    }
    Exchange("HELO " + transport_.LocalHostName(), "250");
}

void TSakSMTP::EncodeAttachments(TSakMsg& msg)
{
    for (int i = 0; i < msg.AttachedFiles().Count(); ++i) {
        TAttachedFile& file = msg.AttachedFiles().Items(i);
        Idle();
        std::string bytes = vx::ReadWholeFile(file.Path);
        if (OnEncodeStart)
            OnEncodeStart(this, file.FileName, static_cast<std::int64_t>(bytes.size()));
        TProgressSteps steps(EncodeProgressStep);
        encodeProgress_ = 0;
        std::size_t linesDone = 0;
        auto lines = vx::net::Base64Lines(bytes, [&](std::size_t done) {
            encodeProgress_ = Percent(done, bytes.size());
            if (steps.Reached(encodeProgress_) && OnEncodeProgress)
                OnEncodeProgress(this, encodeProgress_);
            if (++linesDone % 40 == 0)
                Idle();
        });
        if (encodeProgress_ < 100 && OnEncodeProgress)
            OnEncodeProgress(this, 100);
        file.EncodedLines.Clear();
        for (auto& line : lines)
            file.EncodedLines.Add(line);
        Idle();
        if (OnEncodeEnd)
            OnEncodeEnd(this);
    }
}

bool TSakSMTP::SendData(const std::vector<std::string>& lines)
{
    TProgressSteps steps(SendProgressStep);
    sendProgress_ = 0;
    try {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            transport_.Send(lines[i] + "\r\n");
            sendProgress_ = Percent(i, lines.size());
            if (steps.Reached(sendProgress_) && OnSendProgress)
                OnSendProgress(this, sendProgress_);
            Idle();
            if (LinePause > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(LinePause));
        }
        transport_.BeginStep(TimeOut);
        transport_.Send("\r\n.\r\n");
    } catch (const ENetError& e) {
        replyCode_.clear();
        return Fail(0, e.Said());
    }
    return Expect("250");
}

bool TSakSMTP::SendMessage(TSakMsg& msg)
{
    if (!connected_)
        throw ESakSMTPError(TMessage(NotConnected, {}));
    if (msg.From.empty())
        throw ESakSMTPError(TMessage(NoSender, {}));
    // A list of nothing but blanks and empty brackets names no recipient either.
    if (vx::net::AddressList(msg.SendTo).empty())
        throw ESakSMTPError(TMessage(NoRecipient, {}));

    msg.Date = vx::net::MailDateNow(LocalizedDates);
    std::vector<std::string> lines;
    try {
        EncodeAttachments(msg);
        vx::net::TMailContext context{transport_.LocalHostName(), Host, MailerTitle};
        lines = vx::net::DataLines(vx::net::BuildMailLines(msg, context, random_));
        Idle();
    } catch (const ENetError& e) {
        replyCode_.clear();
        return Fail(0, e.Said());
    }
    if (OnBeforeSend)
        OnBeforeSend(this);

    if (!Exchange("MAIL FROM:<" + vx::net::BareAddress(msg.From) + ">", "250"))
        return false;
    for (const std::string& list : {msg.SendTo, msg.CC})
        for (const std::string& address : vx::net::AddressList(list))
            if (!Exchange("RCPT TO:<" + address + ">", "250"))
                return false;
    if (!Exchange("DATA", "354") || !SendData(lines))
        return false;
    if (sendProgress_ < 100 && OnSendProgress)
        OnSendProgress(this, 100);
    if (OnAfterSend)
        OnAfterSend(this);
    return true;
}

void TSakSMTP::Quit()
{
    if (connected_)
        Exchange("QUIT", "221");
    CloseTransport();
}
