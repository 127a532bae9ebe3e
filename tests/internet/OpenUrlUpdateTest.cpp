// The Open URL and update check windows against a real HTTP server.
#include "internet/UpdateCheck.h"
#include "internet/qt/AsyncFetch.h"
#include "internet/qt/OpenUrlForm.h"
#include "internet/qt/UpdateForm.h"

#include "platform/ProgramPaths.h"
#include "platform/qt/Dialogs.h"
#include "tests/controls/WaitFor.h"
#include "tests/internet/HttpServer.h"
#include "tests/internet/ScriptedPeer.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

// A host name with a label longer than 63 characters: the resolver refuses it
// without asking any name server.
const std::string kUnresolvable = std::string(64, 'a') + ".invalid";

// Every text a status bar showed, in order, repeats left out.
class StatusLog {
public:
    explicit StatusLog(QStatusBar* bar)
    {
        QObject::connect(bar, &QStatusBar::messageChanged, bar, [this](const QString& text) {
            if (!text.isEmpty() && (texts.empty() || texts.back() != text.toStdString()))
                texts.push_back(text.toStdString());
        });
    }
    bool Has(const std::string& text) const { return std::find(texts.begin(), texts.end(), text) != texts.end(); }
    std::vector<std::string> texts;
};

class WebWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove(vx::UserDataPath("url.dat"));
        vx::test::writeFile(site.file("page.htm"), "<html>\n<p>one</p>\r\n</html>");
        server = std::make_unique<vx::test::HttpServer>(site.path().string());
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& r) {
            requests.push_back(r);
            vx::dialogs::Answer answer;
            answer.result = r.kind == vx::dialogs::Kind::Message ? confirm : mrOk;
            answer.path = saveAs;
            return answer;
        });
    }
    void TearDown() override { vx::dialogs::SetAnswerer({}); }

    // Types the address and presses Enter; the window fetches while the test goes on.
    void StartFetch(Tfrm_openurl& form, const std::string& url)
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.ComboBox1->lineEdit()->clear();
        QTest::keyClicks(form.ComboBox1->lineEdit(), QString::fromStdString(url));
        QTest::keyClick(form.ComboBox1->lineEdit(), Qt::Key_Return);
    }
    void Fetch(Tfrm_openurl& form, const std::string& url)
    {
        StartFetch(form, url);
        QTRY_VERIFY_WITH_TIMEOUT(!form.Fetch().Busy(), vx::test::kPatienceMs);
    }

    vx::test::TempDir site{"vellumix-site"};
    vx::test::TempDir out{"vellumix-out"};
    std::unique_ptr<vx::test::HttpServer> server;
    std::vector<vx::dialogs::Request> requests;
    std::string saveAs;
    int confirm = mrYes;
};

TEST_F(WebWindowTest, OpenUrlSavesThePageAndKeepsTheHistory)
{
    saveAs = out.file("saved.htm");
    {
        Tfrm_openurl form;
        EXPECT_EQ(form.ComboBox1->currentText(), "http://");
        StatusLog status(form.StatusBar1);
        Fetch(form, server->Url("/moved/page.htm"));
        EXPECT_EQ(form.SavedFile(), saveAs);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(vx::test::readFile(saveAs), "<html>\r\n<p>one</p>\r\n</html>\r\n");
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests[0].defaultExt, "htm");
        EXPECT_EQ(status.texts.front(), "Preparing for opening url");
        EXPECT_EQ(status.texts.back(), "Done.");
        for (const char* text : {"Connecting to website", "Sending data..", "Receiving data..", "Redirected.."})
            EXPECT_TRUE(status.Has(text)) << text;
    }
    requests.clear();
    confirm = mrNo;
    vx::test::writeFile(saveAs, "mine");
    Tfrm_openurl again;
    Fetch(again, server->Url("/page.htm"));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].kind, vx::dialogs::Kind::SaveFile);
    EXPECT_EQ(requests[1].type, mtConfirmation);
    EXPECT_EQ(vx::test::readFile(saveAs), "mine");
    EXPECT_EQ(again.SavedFile(), "");
    std::string history = server->Url("/moved/page.htm") + "\r\n" + server->Url("/page.htm") + "\r\n";
    EXPECT_EQ(vx::test::readFile(vx::UserDataPath("url.dat")), history);
}

TEST_F(WebWindowTest, OpenUrlStopsOnAFailedFetch)
{
    struct Case {
        std::string url, status;
    };
    for (const Case& c : {Case{server->Url("/missing.htm"), "Connection failed"},
                          Case{"http://127.0.0.1:" + std::to_string(vx::test::ClosedPort()) + "/", "Connection failed"},
                          Case{"http://" + kUnresolvable + "/", "Invalid hostname"}}) {
        requests.clear();
        Tfrm_openurl form;
        Fetch(form, c.url);
        EXPECT_TRUE(requests.empty()) << "no save dialog after " << c.url;
        EXPECT_EQ(form.StatusBar1->currentMessage().toStdString(), c.status);
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.SpeedButton1->isEnabled());
    }
}

TEST_F(WebWindowTest, TheWindowsTakeInputWhileAServerKeepsThemWaiting)
{
    vx::test::ScriptedPeer mute({vx::test::StayMute()});
    const std::string url = "http://127.0.0.1:" + std::to_string(mute.Port()) + "/";
    {
        Tfrm_openurl form;
        StartFetch(form, url);
        EXPECT_TRUE(form.Fetch().Busy());
        EXPECT_FALSE(form.SpeedButton1->isEnabled());
        QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.Fetch().Busy());
    }
    vx::test::ScriptedPeer mute2({vx::test::StayMute()});
    Tfrm_update update;
    update.VersionUrl = "http://127.0.0.1:" + std::to_string(mute2.Port()) + "/version.txt";
    update.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&update));
    QTest::mouseClick(update.SpeedButton1, Qt::LeftButton);
    EXPECT_TRUE(update.Fetch().Busy());
    update.close();
    EXPECT_FALSE(update.Fetch().Busy());
    EXPECT_TRUE(requests.empty());
}

TEST_F(WebWindowTest, UpdateCheckComparesWellFormedVersionsInOrder)
{
    struct Case {
        std::string body;
        std::string path;
        std::string status;
    };
    std::string tag(kBuildTag);
    for (const Case& c : {Case{"20991231\r\nnotes", "/version.txt", "!! Update available !!"},
                          Case{tag + " \n", "/version.txt", "No updates found"},
                          Case{"20000101", "/version.txt", "No updates found"},
                          Case{"<html>error</html>", "/version.txt", "Could not check for updates"},
                          Case{"", "/missing.txt", "Could not check for updates"}}) {
        vx::test::writeFile(site.file("version.txt"), c.body);
        requests.clear();
        Tfrm_update form;
        StatusLog status(form.StatusBar1);
        form.VersionUrl = server->Url(c.path);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!form.Fetch().Busy(), vx::test::kPatienceMs);
        EXPECT_EQ(form.StatusBar1->currentMessage().toStdString(), c.status) << c.body;
        EXPECT_EQ(form.toolTip().toStdString(), c.status);
        for (const char* text : {"Host name resolved", "Connecting to server", "Retrieving data", "Disconnecting"})
            EXPECT_TRUE(status.Has(text)) << text;
        ASSERT_EQ(requests.size(), 1u);
        if (c.status == "!! Update available !!") {
            EXPECT_EQ(requests[0].text, "\r!! Update available !!\r\rVisit our homepage at https://vellumix.org/ to download it\r");
        }
    }
}

TEST_F(WebWindowTest, UpdateCheckThatCannotReachTheServerSaysSo)
{
    Tfrm_update form;
    form.VersionUrl = "http://127.0.0.1:" + std::to_string(vx::test::ClosedPort()) + "/version.txt";
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!form.Fetch().Busy(), vx::test::kPatienceMs);
    EXPECT_EQ(form.StatusBar1->currentMessage().toStdString(), "Connection failed..");
    EXPECT_EQ(form.toolTip().toStdString(), "Connection failed");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, "Could not check for updates");
}

} // namespace
