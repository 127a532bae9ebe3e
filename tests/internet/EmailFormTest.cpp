// The e-mail source dialog, driven through its widgets, against aiosmtpd.
#include "internet/qt/EmailForm.h"

#include "platform/Registry.h"
#include "platform/qt/Dialogs.h"
#include "tests/internet/ScriptedPeer.h"
#include "tests/internet/SmtpServer.h"
#include "tests/support/TempDir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

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

    // Shows the dialog, fills it as a user would and clicks "Send Source".
    void SendFromDialog(Tfrm_email& form, int port)
    {
        form.SakSMTP1().Port = std::to_string(port);
        form.SakSMTP1().LinePause = 0;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        messages.clear();
        QTest::keyClicks(form.Edit1, "Doe, Jane");
        QTest::keyClicks(form.Edit2, "jane@receiver.test");
        QTest::keyClicks(form.Edit3, "The page");
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
    EXPECT_EQ(server.Envelope(1), (std::vector<std::string>{"FROM me@sender.test", "TO jane@receiver.test"}));
    std::string data = server.Data(1);
    for (const char* line : {"\r\nTo: \"Doe, Jane\" <jane@receiver.test>\r\n", "\r\nFrom: <me@sender.test>\r\n",
                             "\r\nX-Priority: 1\r\n", "\r\nSubject: The page\r\n",
                             "\r\nx-Mailer: Vellumix Professional\r\n", "\r\n\r\n<html>\r\n.\r\n"})
        EXPECT_NE(data.find(line), std::string::npos) << line;
    EXPECT_TRUE(form.SpeedButton1->isEnabled());
}

TEST_F(EmailFormTest, RefusesToSendWithoutServerOrSender)
{
    struct Case {
        std::string smtp, email;
        std::vector<std::string> onShow, onSend;
    };
    for (const Case& c : {Case{"", "me@x", {"No mailserver defined in preferences!"},
                               {"No mailserver defined in preferences!"}},
                          Case{"127.0.0.1", "", {}, {"No e-mail address defined in preferences!"}}}) {
        Settings(c.smtp, c.email);
        Tfrm_email form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_EQ(messages, c.onShow);
        messages.clear();
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
        EXPECT_EQ(messages, c.onSend);
        messages.clear();
    }
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
