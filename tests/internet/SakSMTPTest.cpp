// The SMTP component against a real server (aiosmtpd) and scripted peers.
#include "internet/SakSMTP.h"

#include "tests/internet/ScriptedPeer.h"
#include "tests/internet/SmtpServer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

using vx::test::CloseConnection;
using vx::test::ReadLine;
using vx::test::Repeat;
using vx::test::ScriptedPeer;
using vx::test::StayMute;
using vx::test::Write;

std::vector<std::string> Lines(const std::string& data)
{
    std::vector<std::string> lines;
    std::istringstream in(data);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct ErrorLog {
    int count = 0;
    int code = -1;
    std::string text;
};

class SmtpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server = std::make_unique<vx::test::SmtpServer>(mails.path().string());
        Prepare(smtp, server->Port());
        msg.From = "me@sender.test";
        msg.SendTo = "you@receiver.test";
        msg.Subject = "Hello";
        msg.Text().Add("first line");
        msg.Text().Add("second line");
    }

    void Prepare(TSakSMTP& client, int port)
    {
        client.Host = "127.0.0.1";
        client.Port = std::to_string(port);
        client.LinePause = 0;
        client.OnError = [this](TSakSMTP*, int code, const std::string& text) {
            ++errors.count;
            errors.code = code;
            errors.text = text;
        };
    }

    bool SendOne()
    {
        smtp.Connect();
        EXPECT_FALSE(smtp.Error()) << smtp.ReplyText();
        bool sent = smtp.SendMessage(msg);
        smtp.Quit();
        return sent;
    }

    vx::test::TempDir mails{"vellumix-mails"};
    std::unique_ptr<vx::test::SmtpServer> server;
    TSakSMTP smtp;
    TSakMsg msg;
    ErrorLog errors;
};

TEST_F(SmtpTest, PlainMessageArrivesWithItsHeadersInOrder)
{
    msg.UserName = "Jo \"JJ\" Smith";
    msg.ReplyTo = "reply@sender.test";
    msg.Priority = prHighest;
    msg.ExtraHeaders().Add("x-Url: https://example.test/");
    int connects = 0, quits = 0, before = 0, after = 0;
    smtp.OnConnect = [&](TSakSMTP*) { ++connects; };
    smtp.OnQuit = [&](TSakSMTP*) { ++quits; };
    smtp.OnBeforeSend = [&](TSakSMTP*) { ++before; };
    smtp.OnAfterSend = [&](TSakSMTP*) { ++after; };
    ASSERT_TRUE(SendOne());
    EXPECT_EQ(smtp.ReplyCode(), "221");
    EXPECT_EQ(errors.count, 0);
    EXPECT_EQ((std::vector<int>{connects, quits, before, after}), (std::vector<int>{1, 1, 1, 1}));

    EXPECT_EQ(server->Envelope(1), (std::vector<std::string>{"FROM me@sender.test", "TO you@receiver.test"}));
    auto lines = Lines(server->Data(1));
    std::vector<std::string> names;
    for (const auto& line : lines) {
        if (line.empty())
            break;
        names.push_back(line.substr(0, line.find(':')));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Message-Id", "Date", "X-Priority", "From", "Reply-To", "X-Mailer",
                                               "To", "CC", "Subject", "MIME-Version", "Content-Type",
                                               "Content-Transfer-Encoding", "x-Url"}));
    EXPECT_TRUE(HasLine(lines, "X-Priority: 1"));
    EXPECT_TRUE(HasLine(lines, "From: \"Jo \\\"JJ\\\" Smith\" <me@sender.test>"));
    EXPECT_TRUE(HasLine(lines, "Content-Type: Text/Plain; charset=UTF-8"));
    EXPECT_TRUE(HasLine(lines, "Content-Transfer-Encoding: 7bit"));
    // Without attachments the text follows the headers after one empty line.
    auto blank = std::find(lines.begin(), lines.end(), std::string());
    ASSERT_NE(blank, lines.end());
    EXPECT_EQ(*(blank + 1), "first line");
    EXPECT_EQ(*(blank + 2), "second line");
    EXPECT_EQ(msg.Date.substr(3, 2), ", ");
}

TEST_F(SmtpTest, EveryAddressOfSendToAndCCGetsItsRecipientCommand)
{
    msg.SendTo = "\"Doe, Jane\" <jane@receiver.test>, , bob@receiver.test";
    msg.CC = " <carol@receiver.test>,,\"x\" <dave@receiver.test> ";
    ASSERT_TRUE(SendOne());
    EXPECT_EQ(server->Envelope(1),
              (std::vector<std::string>{"FROM me@sender.test", "TO jane@receiver.test", "TO bob@receiver.test",
                                        "TO carol@receiver.test", "TO dave@receiver.test"}));
}

TEST_F(SmtpTest, AttachmentsArriveByteIdentical)
{
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    vx::test::TempDir files;
    vx::test::writeFile(files.file("data.bin"), binary);
    vx::test::writeFile(files.file("two.txt"), "ab");
    msg.AttachedFiles().Add(files.file("data.bin"), "data.bin", "application/octet-stream");
    msg.AttachedFiles().Add(files.file("two.txt"), "two.txt", "text/plain");
    std::vector<std::string> started;
    std::vector<int> encodePercents, sendPercents;
    int ends = 0;
    smtp.OnEncodeStart = [&](TSakSMTP*, const std::string& name, std::int64_t size) {
        started.push_back(name + ":" + std::to_string(size));
    };
    smtp.OnEncodeProgress = [&](TSakSMTP*, std::uint16_t p) { encodePercents.push_back(p); };
    smtp.OnEncodeEnd = [&](TSakSMTP*) { ++ends; };
    smtp.OnSendProgress = [&](TSakSMTP*, std::uint16_t p) { sendPercents.push_back(p); };
    ASSERT_TRUE(SendOne());

    EXPECT_EQ(server->Attachment(1, "data.bin"), binary);
    EXPECT_EQ(server->Attachment(1, "two.txt"), "ab");
    EXPECT_EQ(started, (std::vector<std::string>{"data.bin:5000", "two.txt:2"}));
    EXPECT_EQ(ends, 2);
    EXPECT_TRUE(std::is_sorted(sendPercents.begin(), sendPercents.end()));
    ASSERT_FALSE(sendPercents.empty());
    EXPECT_EQ(sendPercents.back(), 100);
    EXPECT_EQ(encodePercents.back(), 100);
    auto lines = Lines(server->Data(1));
    EXPECT_TRUE(HasLine(lines, "Content-Disposition: inline; FileName=\"two.txt\""));
    EXPECT_TRUE(HasLine(lines, "YWI="));
}

TEST_F(SmtpTest, LinesStartingWithADotArriveUnchanged)
{
    msg.Text().Clear();
    for (const char* line : {".", "..", ".hidden", "plain", "."})
        msg.Text().Add(line);
    ASSERT_TRUE(SendOne());
    auto lines = Lines(server->Data(1));
    auto blank = std::find(lines.begin(), lines.end(), std::string());
    ASSERT_GE(lines.end() - blank, 6);
    EXPECT_EQ(std::vector<std::string>(blank + 1, blank + 6),
              (std::vector<std::string>{".", "..", ".hidden", "plain", "."}));
}

TEST_F(SmtpTest, LineBreaksInFieldsCannotAddHeaders)
{
    msg.Subject = "Hi\r\nBcc: victim@else.test";
    msg.UserName = "Eve\nX-Evil: 1";
    msg.ExtraHeaders().Add("X-One: a\r\nX-Two: b");
    msg.Text().Clear();
    msg.Text().Add("body\r\n.\r\nMAIL FROM:<x@y>");
    ASSERT_TRUE(SendOne());
    auto lines = Lines(server->Data(1));
    for (const auto& line : lines) {
        EXPECT_NE(line.rfind("Bcc:", 0), 0u) << line;
        EXPECT_NE(line.rfind("X-Evil:", 0), 0u) << line;
        EXPECT_NE(line.rfind("X-Two:", 0), 0u) << line;
    }
    EXPECT_TRUE(HasLine(lines, "Subject: Hi Bcc: victim@else.test"));
    EXPECT_TRUE(HasLine(lines, "X-One: a X-Two: b"));
    // The dot inside a text line cannot end the data early.
    EXPECT_TRUE(HasLine(lines, "."));
    EXPECT_TRUE(HasLine(lines, "MAIL FROM:<x@y>"));
    EXPECT_EQ(server->Envelope(1).size(), 2u);
}

// What a mail reader shows of names, subject and text outside ASCII, for a
// UTF-8 document and a Windows-1252 one, whose text goes as its file's bytes.
TEST_F(SmtpTest, NamesSubjectAndTextOutsideAsciiArriveAsWritten)
{
    const struct {
        vx::TTextEncoding encoding;
        std::vector<std::string> text;
        const char* contentType;
        const char* body;
    } rows[] = {
        {vx::TTextEncoding::Utf8, {"Prix: 5 \u20ac", "\u00e9\u20ac\u03b1\u4f60\U0001F600"},
         "Content-Type: Text/Plain; charset=UTF-8", "=C3=A9=E2=82=AC=CE=B1=E4=BD=A0=F0=9F=98=80"},
        {vx::TTextEncoding::Windows1252, {"Prix: 5 \u20ac", "caf\u00e9 \u00df"},
         "Content-Type: Text/Plain; charset=windows-1252", "caf=E9 =DF"},
    };
    int delivered = 0;
    for (const auto& row : rows) {
        msg.Subject = "Caf\u00e9 \u20ac \u4f60\U0001F600 prices";
        msg.UserName = "Ren\u00e9e \u0416";
        msg.SendTo = "\"J\u00f6rg, M\" <jorg@receiver.test>";
        msg.TextEncoding = row.encoding;
        msg.Text().Clear();
        for (const std::string& line : row.text)
            msg.Text().Add(line);
        ASSERT_TRUE(SendOne());
        const int n = ++delivered;
        EXPECT_EQ(server->Envelope(n), (std::vector<std::string>{"FROM me@sender.test", "TO jorg@receiver.test"}));
        std::string shown = "Subject: Caf\u00e9 \u20ac \u4f60\U0001F600 prices\n"
                            "From: Ren\u00e9e \u0416 <me@sender.test>\n"
                            "To: \"J\u00f6rg, M\" <jorg@receiver.test>\n";
        // The data's last line break comes before the end mark's own.
        for (const std::string& line : row.text)
            shown += line + "\r\n";
        EXPECT_EQ(server->Decoded(n), shown + "\r\n");
        const std::vector<std::string> lines = Lines(server->Data(n));
        EXPECT_TRUE(HasLine(lines, row.contentType));
        EXPECT_TRUE(HasLine(lines, "Content-Transfer-Encoding: quoted-printable"));
        EXPECT_TRUE(HasLine(lines, row.body)) << server->Data(n);
    }
}

TEST_F(SmtpTest, CancelWhileSendingDeliversNothing)
{
    for (int i = 0; i < 100; ++i)
        msg.Text().Add("line " + std::to_string(i));
    smtp.LinePause = 2;
    smtp.OnSendProgress = [this](TSakSMTP*, std::uint16_t percent) {
        if (percent >= 30 && percent < 100)
            smtp.Cancel();
    };
    smtp.Connect();
    ASSERT_FALSE(smtp.Error());
    EXPECT_FALSE(smtp.SendMessage(msg));
    EXPECT_EQ(smtp.ReplyText(), "Sending cancelled");
    EXPECT_EQ(errors.count, 1);
    EXPECT_FALSE(smtp.Connected());
    smtp.OnSendProgress = nullptr;
    msg.Text().Clear();
    msg.Text().Add("the second message");
    ASSERT_TRUE(SendOne()) << "the next message goes out";
    EXPECT_TRUE(HasLine(Lines(server->Data(1)), "the second message")) << "the first one never arrived";
    EXPECT_EQ(server->Data(2), "");
}

TEST_F(SmtpTest, RefusedRecipientFailsWithTheServersReason)
{
    msg.SendTo = "ok@receiver.test, refuse@receiver.test";
    smtp.Connect();
    ASSERT_FALSE(smtp.Error());
    EXPECT_FALSE(smtp.SendMessage(msg));
    EXPECT_TRUE(smtp.Error());
    EXPECT_FALSE(smtp.Connected());
    EXPECT_EQ(errors.count, 1);
    EXPECT_EQ(errors.code, 550);
    EXPECT_EQ(smtp.ReplyText(), "No such user here");
}

TEST_F(SmtpTest, PreconditionsRaise)
{
    EXPECT_THROW(
        try { smtp.SendMessage(msg); } catch (const ESakSMTPError& e) {
            EXPECT_STREQ(e.what(), "Not connected.");
            throw;
        },
        ESakSMTPError);
    smtp.Connect();
    ASSERT_TRUE(smtp.Connected());
    struct Case {
        std::string from, sendTo, message;
    };
    for (const Case& c : {Case{"", "a@b", "\"From\" field not specified."},
                          Case{"a@b", "", "\"SendTo\" field not specified."},
                          Case{"a@b", " <> , ", "\"SendTo\" field not specified."}}) {
        msg.From = c.from;
        msg.SendTo = c.sendTo;
        try {
            smtp.SendMessage(msg);
            ADD_FAILURE() << c.message;
        } catch (const ESakSMTPError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
    smtp.Quit();
}

TEST(SmtpPeerTest, RepliesSplitAcrossReadsAndMultiLineRepliesComplete)
{
    ScriptedPeer peer({Write("22"), Write("0-peer.test hello\r\n220"), Write(" ready\r\n"), ReadLine(),
                       Write("250-peer.test\r\n250-SIZE 1000\r\n"), Write("250 HELP\r\n"), ReadLine(),
                       Write("221 Bye\r\n")});
    TSakSMTP smtp;
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(peer.Port());
    smtp.Connect();
    EXPECT_FALSE(smtp.Error()) << smtp.ReplyText();
    EXPECT_EQ(smtp.ReplyCode(), "250");
    EXPECT_EQ(smtp.ReplyText(), "HELP");
    smtp.Quit();
    EXPECT_EQ(smtp.ReplyCode(), "221");
    auto received = peer.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].rfind("HELO ", 0), 0u);
    EXPECT_EQ(received[1], "QUIT");
}

struct FailureCase {
    const char* name;
    std::vector<vx::test::PeerStep> script;
    bool connectFails;
    int code;
    std::string text;
};


TEST(SmtpPeerTest, FailuresCloseTheConnectionAndReportOnce)
{
    std::vector<FailureCase> cases = {
        {"closes after greeting", {Write("220 hi\r\n"), ReadLine(), CloseConnection()}, true, 0,
         "Connection closed by the server"},
        {"never answers", {StayMute()}, true, 0, "Timed out waiting for the server's reply"},
        {"refuses service", {Write("421 Busy\r\n")}, true, 421, "Busy"},
        {"refuses HELO", {Write("220 hi\r\n"), ReadLine(), Write("501 Bad name\r\n")}, true, 501, "Bad name"},
        {"closes mid-dialogue",
         {Write("220 hi\r\n"), ReadLine(), Write("250 ok\r\n"), ReadLine(), Write("250 ok\r\n"), ReadLine(),
          CloseConnection()},
         false, 0, "Connection closed by the server"},
        {"endless line", {Write(std::string(5000, 'x'))}, true, 0, "Line longer than 4096 bytes received"},
        // What is no reply is said to be one, at its first line.
        {"garbage", {Repeat("garbage\r\n", 1)}, true, 0, "The server's reply cannot be read: garbage"},
        {"garbage before a greeting", {Write("hello\r\nthere\r\n220 hi\r\n")}, true, 0,
         "The server's reply cannot be read: hello"},
        {"a long line of garbage", {Write(std::string(70, 'y') + "\r\n")}, true, 0,
         "The server's reply cannot be read: " + std::string(64, 'y')},
        {"a greeting that goes astray", {Write("220-hi\r\nwelcome\r\n220 ready\r\n")}, true, 0,
         "The server's reply cannot be read: welcome"},
        {"no code in the reply to HELO", {Write("220 hi\r\n"), ReadLine(), Write("what?\r\n")}, true, 0,
         "The server's reply cannot be read: what?"},
        {"a code out of range", {Write("220 hi\r\n"), ReadLine(), Write("600 ok\r\n")}, true, 0,
         "The server's reply cannot be read: 600 ok"},
        // However the server talks, every step ends within the time-out.
        {"endless greeting", {Repeat("220-still greeting\r\n", 1)}, true, 0, "Timed out waiting for the server's reply"},
        {"a greeting line now and then", {Repeat("220-slowly\r\n", 150)}, true, 0,
         "Timed out waiting for the server's reply"},
        {"a byte now and then", {Repeat("2", 100)}, true, 0, "Timed out waiting for the server's reply"},
        {"endless reply to HELO", {Write("220 hi\r\n"), ReadLine(), Repeat("250-more\r\n", 1)}, true, 0,
         "Timed out waiting for the server's reply"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPeer peer(c.script);
        TSakSMTP smtp;
        smtp.Host = "127.0.0.1";
        smtp.Port = std::to_string(peer.Port());
        // A step that should time out does so soon; the others keep the
        // default wait, which only the peer's words end, however slow the machine.
        if (c.text.rfind("Timed out", 0) == 0)
            smtp.TimeOut = 400;
        smtp.LinePause = 0;
        ErrorLog log;
        smtp.OnError = [&](TSakSMTP*, int code, const std::string& text) {
            ++log.count;
            log.code = code;
            log.text = text;
        };
        smtp.Connect();
        if (!c.connectFails) {
            ASSERT_FALSE(smtp.Error());
            TSakMsg msg;
            msg.From = "a@b.test";
            msg.SendTo = "c@d.test";
            EXPECT_FALSE(smtp.SendMessage(msg));
        }
        EXPECT_TRUE(smtp.Error());
        EXPECT_FALSE(smtp.Connected());
        EXPECT_EQ(log.count, 1);
        EXPECT_EQ(log.code, c.code);
        EXPECT_EQ(log.text, c.text);
        EXPECT_EQ(smtp.ReplyText(), c.text);
    }
}

TEST(SmtpPeerTest, RefusedConnectionIsAnError)
{
    int port;
    {
        ScriptedPeer closed({CloseConnection()});
        port = closed.Port();
        TSakSMTP first;
        first.Host = "127.0.0.1";
        first.Port = std::to_string(port);
        first.Connect();
    }
    TSakSMTP smtp;
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(port);
    int errors = 0;
    smtp.OnError = [&](TSakSMTP*, int, const std::string&) { ++errors; };
    smtp.Connect();
    EXPECT_TRUE(smtp.Error());
    EXPECT_EQ(errors, 1);
    EXPECT_NE(smtp.ReplyText().find("Connection refused"), std::string::npos) << smtp.ReplyText();
}

} // namespace
