// The e-mail source dialog, driven through its widgets, against aiosmtpd.
#include "internet/qt/EmailForm.h"

#include "platform/Registry.h"
#include "platform/qt/Dialogs.h"
#include "tests/controls/WaitFor.h"
#include "tests/internet/ScriptedPeer.h"
#include "tests/internet/SmtpServer.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

class EmailFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& r) {
            messages.push_back(r.text);
            return vx::dialogs::Answer{mrOk, {}, 0, {}};
        });
    }
    void TearDown() override { vx::dialogs::SetAnswerer({}); }

    static void Settings(const std::string& smtp, const std::string& email)
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey("\\software\\Orvane\\Vellumix\\", true);
        reg.WriteString("smtp", smtp);
        reg.WriteString("email", email);
        reg.CloseKey();
    }

    // Types text as a user would; letters without a key of their own come as
    // text, as an input method gives them.
    static void Type(QLineEdit* edit, const QString& text)
    {
        for (char32_t codePoint : text.toUcs4()) {
            const QString letter = QString::fromUcs4(&codePoint, 1);
            if (codePoint < 0x80) {
                QTest::keyClicks(edit, letter);
                continue;
            }
            QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, letter, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, letter, Qt::NoModifier);
        }
    }

    // Shows the dialog, fills it as a user would and clicks "Send Source".
    void SendFromDialog(Tfrm_email& form, int port, const QString& name = "Doe, Jane",
                        const QString& subject = QString::fromUtf8("The page \u00e9t\u00e9"))
    {
        form.SakSMTP1().Port = std::to_string(port);
        form.SakSMTP1().LinePause = 0;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        messages.clear();
        Type(form.Edit1, name);
        QTest::keyClicks(form.Edit2, "jane@receiver.test");
        Type(form.Edit3, subject);
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    }

    std::vector<std::string> messages;
    vx::test::TempDir mails{"vellumix-mails"};
};

TEST_F(EmailFormTest, SendsTheDocumentToTheRecipient)
{
    vx::test::SmtpServer server(mails.path().string());
    Settings("127.0.0.1", "me@sender.test");
    Tfrm_email form;
    form.SakMsg1().Text().Add("<html>");
    form.SakMsg1().Text().Add(".");
    SendFromDialog(form, server.Port());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Bye");
    EXPECT_NE(server.Decoded(1).find("Subject: The page \u00e9t\u00e9\n"), std::string::npos) << server.Decoded(1);
    EXPECT_EQ(server.Envelope(1), (std::vector<std::string>{"FROM me@sender.test", "TO jane@receiver.test"}));
    std::string data = server.Data(1);
    for (const char* line : {"\r\nTo: \"Doe, Jane\" <jane@receiver.test>\r\n", "\r\nFrom: <me@sender.test>\r\n",
                             "\r\nX-Priority: 1\r\n",
                             "\r\nx-Mailer: Vellumix Professional\r\n", "\r\n\r\n<html>\r\n.\r\n"})
        EXPECT_NE(data.find(line), std::string::npos) << line;
    EXPECT_TRUE(form.SpeedButton1->isEnabled());
}

// A UTF-8 document and a Windows-1252 one arrive as their characters, each
// declaring its character set; the name and the subject as typed.
TEST_F(EmailFormTest, TheDocumentArrivesInItsCharacterSet)
{
    vx::test::SmtpServer server(mails.path().string());
    Settings("127.0.0.1", "me@sender.test");
    const struct {
        vx::TTextEncoding encoding;
        const char* line;
        const char* contentType;
    } rows[] = {
        {vx::TTextEncoding::Utf8, "<p>\u00e9\u20ac\u03b1\u4f60\U0001F600</p>", "Content-Type: Text/Plain; charset=UTF-8"},
        {vx::TTextEncoding::Windows1252, "<p>caf\u00e9 10\u20ac</p>", "Content-Type: Text/Plain; charset=windows-1252"},
    };
    int delivered = 0;
    for (const auto& row : rows) {
        Tfrm_email form;
        form.SakMsg1().Text().Add(row.line);
        form.SakMsg1().TextEncoding = row.encoding;
        SendFromDialog(form, server.Port(), QString::fromUtf8("Jan\u00e9 \u4f60"),
                       QString::fromUtf8("\u00e9\u20ac\u03b1\u4f60\U0001F600"));
        ASSERT_EQ(messages, std::vector<std::string>{"Bye"});
        const int n = ++delivered;
        EXPECT_EQ(server.Decoded(n), std::string("Subject: \u00e9\u20ac\u03b1\u4f60\U0001F600\n"
                                                 "From: me@sender.test\n"
                                                 "To: Jan\u00e9 \u4f60 <jane@receiver.test>\n") +
                                         row.line + "\r\n\r\n");
        EXPECT_NE(server.Data(n).find(std::string("\r\n") + row.contentType + "\r\n"), std::string::npos)
            << server.Data(n);
    }
}

TEST_F(EmailFormTest, WithoutAMailServerItSaysSoAndDoesNotOpen)
{
    Settings("", "me@x");
    {
        Tfrm_email form;
        // Should the dialog stay, this closes it so the test fails instead of
        // hanging; it dies with the dialog, so no later test's window meets it.
        QTimer::singleShot(vx::test::kPatienceMs, &form, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        EXPECT_EQ(form.exec(), QDialog::Rejected);
        EXPECT_EQ(messages, std::vector<std::string>{"No mailserver defined in preferences!"});
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    messages.clear();
    Tfrm_email shown;
    shown.show();
    EXPECT_EQ(messages, std::vector<std::string>{"No mailserver defined in preferences!"});
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isVisible(), vx::test::kPatienceMs);
}

TEST_F(EmailFormTest, RefusesToSendWithoutSender)
{
    Settings("127.0.0.1", "");
    Tfrm_email form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(messages.empty());
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(messages, std::vector<std::string>{"No e-mail address defined in preferences!"});
}

// The preferences' mail server field takes a host name: a port, a protocol or
// a folder in it is told in words before any connection, and nothing is sent.
TEST_F(EmailFormTest, AMailServerWithAPortIsToldWhatTheFieldTakes)
{
    vx::test::SmtpServer server(mails.path().string());
    for (const std::string& entry : {"127.0.0.1:" + std::to_string(server.Port()), std::string("smtp://127.0.0.1"),
                                     std::string(" 127.0.0.1 25")}) {
        Settings(entry, "me@sender.test");
        Tfrm_email form;
        SendFromDialog(form, server.Port());
        const std::string shown = entry.substr(entry.find_first_not_of(' '));
        EXPECT_EQ(messages, std::vector<std::string>{
                                "The mail server \"" + shown +
                                "\" is not a host name alone. The SMTP mailer field of the preferences takes the name "
                                "or address of the server, such as mail.example.com or 127.0.0.1, without a port: mail "
                                "is always sent to port 25, the SMTP port."});
        EXPECT_TRUE(form.SpeedButton1->isEnabled()) << entry;
    }
    EXPECT_EQ(server.Data(1), "") << "nothing was delivered";
}

// However a send ends before the server's goodbye, the window says how: a
// cancel (button or Escape) as a cancel, closing the window; a connection
// lost as the failure it is; a goodbye lost after the server took the
// message as the server's acceptance.
TEST_F(EmailFormTest, ASendEndedEarlySaysWhetherItWasCancelledFailedOrDelivered)
{
    using vx::test::ReadLine;
    using vx::test::Write;
    vx::test::SmtpServer server(mails.path().string());
    Settings("127.0.0.1", "me@sender.test");
    const auto untilData = [](std::vector<vx::test::PeerStep> afterData) {
        std::vector<vx::test::PeerStep> script = {Write("220 hi\r\n"), ReadLine(), Write("250 ok\r\n"), ReadLine(),
                                                  Write("250 ok\r\n"),  ReadLine(), Write("250 ok\r\n"), ReadLine()};
        script.insert(script.end(), afterData.begin(), afterData.end());
        return script;
    };
    const struct {
        const char* name;
        std::function<void(Tfrm_email&)> stop;
        // Empty: the aiosmtpd server.
        std::vector<vx::test::PeerStep> peer;
        std::string said;
        bool closes;
    } rows[] = {
        {"Cancel", [](Tfrm_email& form) { QTest::mouseClick(form.SpeedButton2, Qt::LeftButton); }, {},
         "Sending cancelled", true},
        {"Escape", [](Tfrm_email& form) { QTest::keyClick(&form, Qt::Key_Escape); }, {}, "Sending cancelled", true},
        // The peer hangs up once the message's lines come.
        {"connection lost", {}, untilData({Write("354 go\r\n"), vx::test::CloseConnection()}), "Sending failed: ",
         false},
        // The peer takes the message at once, and never answers QUIT.
        {"goodbye lost", {}, untilData({Write("354 go\r\n250 Taken\r\n"), vx::test::StayMute()}), "Taken", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::optional<vx::test::ScriptedPeer> peer;
        if (!row.peer.empty())
            peer.emplace(row.peer);
        Tfrm_email form;
        for (int i = 0; i < 60; ++i)
            form.SakMsg1().Text().Add("line " + std::to_string(i));
        form.SakSMTP1().OnSendProgress = [&](TSakSMTP*, std::uint16_t percent) {
            if (row.stop && percent >= 20 && percent < 100 && form.isVisible()) {
                EXPECT_TRUE(form.SpeedButton2->isEnabled());
                row.stop(form);
            }
        };
        // A scripted peer answers at once: the wait for the goodbye it never says ends soon.
        if (peer)
            form.SakSMTP1().TimeOut = 1000;
        form.SakSMTP1().Port = std::to_string(peer ? peer->Port() : server.Port());
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        messages.clear();
        QTest::keyClicks(form.Edit2, "jane@receiver.test");
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].substr(0, row.said.size()), row.said) << messages[0];
        EXPECT_EQ(form.isVisible(), !row.closes);
        EXPECT_TRUE(form.SpeedButton1->isEnabled());
    }
    EXPECT_EQ(server.Data(1), "") << "nothing was delivered";
}

TEST_F(EmailFormTest, ShowsAFailedConnectionAndARefusedReply)
{
    Settings("127.0.0.1", "me@sender.test");
    {
        vx::test::ScriptedPeer peer({vx::test::Write("554 No service for you\r\n")});
        Tfrm_email form;
        SendFromDialog(form, peer.Port());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "Could not connect to the mail server 127.0.0.1: No service for you");
    }
    vx::test::ScriptedPeer peer({vx::test::Write("220 hi\r\n"), vx::test::ReadLine(), vx::test::Write("250 ok\r\n"),
                                 vx::test::ReadLine(), vx::test::Write("553 Sender rejected\r\n")});
    Tfrm_email form;
    SendFromDialog(form, peer.Port());
    EXPECT_EQ(messages, std::vector<std::string>{"Sender rejected"});
}

} // namespace
