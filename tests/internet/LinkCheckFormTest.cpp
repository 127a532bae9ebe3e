// The link checker's window driven through its widgets against a real HTTP server.
#include "internet/qt/LinkCheckForm.h"

#include "platform/qt/Dialogs.h"
#include "tests/internet/HttpServer.h"
#include "tests/support/TempDir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

class LinkCheckFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pages;
        for (int i = 0; i < 30; ++i)
            pages += "<a href=\"p" + std::to_string(i) + ".htm\">p</a>";
        vx::test::writeFile(site.file("index.htm"), "<a href=\"ok.htm\">ok</a><a href=\"gone.htm\">gone</a>"
                                                    "<a href=\"ok.htm\">again</a>" + pages);
        vx::test::writeFile(site.file("ok.htm"), "<a href=\"index.htm\">home</a><a href=\"bad.htm\">b</a>");
        vx::test::writeFile(site.file("bad.htm"), "<a href=\"x");
        for (int i = 0; i < 30; ++i)
            vx::test::writeFile(site.file("p" + std::to_string(i) + ".htm"), "page");
        server = std::make_unique<vx::test::HttpServer>(site.path().string());
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& r) {
            messages.push_back(r.text);
            return vx::dialogs::Answer{mrOk, {}, 0, {}};
        });
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QTest::keyClicks(form.edtHTML, QString::fromStdString(server->Url("/index.htm")));
    }
    void TearDown() override { vx::dialogs::SetAnswerer({}); }

    QTreeWidgetItem* Child(QTreeWidgetItem* parent, const std::string& address)
    {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0).toStdString() == address)
                return parent->child(i);
        return nullptr;
    }

    vx::test::TempDir site{"vellumix-site"};
    std::unique_ptr<vx::test::HttpServer> server;
    std::vector<std::string> messages;
    TfrmLinkChecking form;
};

TEST_F(LinkCheckFormTest, ValidationFillsTheTreeAndTheStatusFollowsTheSelection)
{
    QTest::mouseClick(form.btnCheck, Qt::LeftButton);
    EXPECT_TRUE(LinkCheckDone);
    EXPECT_EQ(form.btnCheck->text(), "&Validate");
    EXPECT_TRUE(form.edtHTML->isEnabled());
    EXPECT_EQ(form.StatusPanel(1), "Finished");
    ASSERT_EQ(form.trvLinks->topLevelItemCount(), 1);
    QTreeWidgetItem* root = form.trvLinks->topLevelItem(0);
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(root->childCount(), 32);
    QTreeWidgetItem* ok = Child(root, server->Url("/ok.htm"));
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(Child(ok, server->Url("/index.htm")), nullptr);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Error during parse:\n", 0), 0u);

    struct Case {
        QTreeWidgetItem* item;
        std::string panel1;
    };
    for (const Case& c : {Case{ok, "OK 200"}, Case{Child(root, server->Url("/gone.htm")), "Bad 404"},
                          Case{Child(ok, server->Url("/index.htm")), "Checked above"}}) {
        ASSERT_NE(c.item, nullptr);
        form.trvLinks->scrollToItem(c.item);
        QTest::mouseClick(form.trvLinks->viewport(), Qt::LeftButton, {}, form.trvLinks->visualItemRect(c.item).center());
        EXPECT_EQ(form.StatusPanel(0), c.item->text(0).toStdString());
        EXPECT_EQ(form.StatusPanel(1), c.panel1);
    }
    if (const char* dir = std::getenv("VX_SCREENSHOT_DIR")) {
        ok->setExpanded(true);
        form.grab().save(QString::fromLocal8Bit(dir) + "/link_checker.png");
    }
}

TEST_F(LinkCheckFormTest, CancelClickStopsTheWalk)
{
    QTimer::singleShot(0, [this] {
        EXPECT_EQ(form.btnCheck->text(), "&Cancel");
        QTest::mouseClick(form.btnCheck, Qt::LeftButton);
    });
    QTest::mouseClick(form.btnCheck1, Qt::LeftButton);
    EXPECT_EQ(form.StatusPanel(1), "Cancelled");
    EXPECT_TRUE(LinkCheckDone);
    EXPECT_TRUE(form.btnCheck->isEnabled());
    EXPECT_LT(form.Crawl().Nodes().size(), 35u);
}

TEST_F(LinkCheckFormTest, EmptyAddressDoesNothing)
{
    for (const char* text : {"", "<empty>"}) {
        form.edtHTML->setText(text);
        QTest::mouseClick(form.btnCheck, Qt::LeftButton);
        EXPECT_EQ(form.trvLinks->topLevelItemCount(), 0);
    }
}

} // namespace
