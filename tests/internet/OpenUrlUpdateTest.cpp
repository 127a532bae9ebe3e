// The Open URL and update check windows against a real HTTP server.
#include "internet/UpdateCheck.h"
#include "internet/qt/OpenUrlForm.h"
#include "internet/qt/UpdateForm.h"

#include "platform/ProgramPaths.h"
#include "platform/qt/Dialogs.h"
#include "tests/internet/HttpServer.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

class WebWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove(vx::ProgramPath("url.dat"));
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

    void Fetch(Tfrm_openurl& form, const std::string& url)
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.ComboBox1->lineEdit()->clear();
        QTest::keyClicks(form.ComboBox1->lineEdit(), QString::fromStdString(url));
        QTest::keyClick(form.ComboBox1->lineEdit(), Qt::Key_Return);
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
        Fetch(form, server->Url("/page.htm"));
        EXPECT_EQ(form.SavedFile(), saveAs);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(vx::test::readFile(saveAs), "<html>\r\n<p>one</p>\r\n</html>\r\n");
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
    std::string history = server->Url("/page.htm") + "\r\n";
    EXPECT_EQ(vx::test::readFile(vx::ProgramPath("url.dat")), history + history);
}

TEST_F(WebWindowTest, OpenUrlStopsOnAFailedFetch)
{
    struct Case {
        std::string url, status;
    };
    for (const Case& c : {Case{server->Url("/missing.htm"), "Connection failed"},
                          Case{"http://127.0.0.1:" + std::to_string(vx::test::ClosedPort()) + "/", "Connection failed"}}) {
        requests.clear();
        Tfrm_openurl form;
        Fetch(form, c.url);
        EXPECT_TRUE(requests.empty()) << "no save dialog after " << c.url;
        EXPECT_EQ(form.StatusBar1->currentMessage().toStdString(), c.status);
        EXPECT_TRUE(form.isVisible());
    }
}

TEST_F(WebWindowTest, UpdateCheckComparesWellFormedVersionsInOrder)
{
    struct Case {
        std::string body;
        const char* file;
        std::string status;
    };
    std::string tag(kBuildTag);
    for (const Case& c : {Case{"20991231\r\nnotes", "version.txt", "!! Update available !!"},
                          Case{tag + " \n", "version.txt", "No updates found"},
                          Case{"20000101", "version.txt", "No updates found"},
                          Case{"<html>error</html>", "version.txt", "Could not check for updates"},
                          Case{"", "missing.txt", "Could not check for updates"}}) {
        vx::test::writeFile(site.file("version.txt"), c.body);
        requests.clear();
        Tfrm_update form;
        form.VersionUrl = server->Url(std::string("/") + c.file);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
        EXPECT_EQ(form.StatusBar1->currentMessage().toStdString(), c.status) << c.body;
        EXPECT_EQ(form.toolTip().toStdString(), c.status);
        ASSERT_EQ(requests.size(), 1u);
        if (c.status == "!! Update available !!") {
            EXPECT_EQ(requests[0].text, "\r!! Update available !!\r\rVisit our homepage at https://vellumix.org/ to download it\r");
        }
    }
}

} // namespace
