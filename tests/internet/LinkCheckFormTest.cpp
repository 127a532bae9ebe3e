// The link checker's window driven through its widgets against a real HTTP server.
#include "internet/qt/LinkCheckForm.h"

#include "internet/qt/LinkTreeModel.h"
#include "platform/qt/Dialogs.h"
#include "tests/internet/HttpServer.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include <functional>

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
            requests.push_back(r);
            return vx::dialogs::Answer{mrOk, {}, 0, {}};
        });
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void TearDown() override { vx::dialogs::SetAnswerer({}); }

    void Validate(const std::string& path) { ValidateAddress(server->Url(path)); }
    void ValidateAddress(const std::string& address)
    {
        form.edtHTML->clear();
        QTest::keyClicks(form.edtHTML, QString::fromStdString(address));
        QTest::mouseClick(form.btnCheck, Qt::LeftButton);
    }

    QModelIndex Child(const QModelIndex& parent, const std::string& address)
    {
        const QAbstractItemModel& model = *form.trvLinks->model();
        for (int i = 0; i < model.rowCount(parent); ++i)
            if (model.index(i, 0, parent).data().toString().toStdString() == address)
                return model.index(i, 0, parent);
        return {};
    }

    // Shows the row and clicks it, as a user picks a link.
    void Pick(const QModelIndex& index)
    {
        form.trvLinks->scrollTo(index);
        QTest::mouseClick(form.trvLinks->viewport(), Qt::LeftButton, {}, form.trvLinks->visualRect(index).center());
    }

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& r : requests)
            if (r.kind == vx::dialogs::Kind::Message)
                texts.push_back(r.text);
        return texts;
    }

    vx::test::TempDir site{"vellumix-site"};
    std::unique_ptr<vx::test::HttpServer> server;
    std::vector<vx::dialogs::Request> requests;
    TfrmLinkChecking form;
};

TEST_F(LinkCheckFormTest, ValidationFillsTheTreeAndTheStatusFollowsTheSelection)
{
    Validate("/index.htm");
    EXPECT_TRUE(LinkCheckDone);
    EXPECT_EQ(form.btnCheck->text(), "&Validate");
    EXPECT_TRUE(form.edtHTML->isEnabled());
    EXPECT_EQ(form.StatusPanel(1), "Finished");
    const QAbstractItemModel& model = *form.trvLinks->model();
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex root = model.index(0, 0);
    EXPECT_TRUE(form.trvLinks->isExpanded(root));
    EXPECT_EQ(model.rowCount(root), 32);
    const QModelIndex ok = Child(root, server->Url("/ok.htm"));
    ASSERT_TRUE(ok.isValid());
    ASSERT_TRUE(Child(ok, server->Url("/index.htm")).isValid());
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("Error during parse:\n", 0), 0u);

    form.trvLinks->expand(ok);
    struct Case {
        QModelIndex index;
        std::string panel1;
    };
    for (const Case& c : {Case{ok, "OK 200"}, Case{Child(root, server->Url("/gone.htm")), "Bad 404"},
                          Case{Child(ok, server->Url("/index.htm")), "Checked above"}}) {
        ASSERT_TRUE(c.index.isValid());
        Pick(c.index);
        EXPECT_EQ(form.StatusPanel(0), c.index.data().toString().toStdString());
        EXPECT_EQ(form.StatusPanel(1), c.panel1);
    }
    if (const char* dir = std::getenv("VX_SCREENSHOT_DIR"))
        form.grab().save(QString::fromLocal8Bit(dir) + "/link_checker.png");
}

// A check that could not read its start page has checked nothing: it says
// so, and why, instead of "Finished".
TEST_F(LinkCheckFormTest, AStartPageThatCannotBeReadIsToldOfAsAFailure)
{
    const std::string refused = "http://127.0.0.1:" + std::to_string(vx::test::ClosedPort()) + "/index.htm";
    const struct {
        std::string start;
        std::string why;
    } cases[] = {
        {server->Url("/missing.htm"), "the server answered 404"},
        {refused, "Couldn't connect to server (Connection refused)"},
    };
    for (const auto& c : cases) {
        requests.clear();
        ValidateAddress(c.start);
        EXPECT_TRUE(LinkCheckDone) << c.start;
        EXPECT_EQ(form.StatusPanel(1), "Failed") << c.start;
        ASSERT_EQ(Messages().size(), 1u) << c.start;
        EXPECT_EQ(Messages()[0], "The start page " + c.start + " could not be read: " + c.why);
        EXPECT_EQ(requests.back().type, mtError) << c.start;
        EXPECT_TRUE(form.btnCheck->isEnabled() && form.edtHTML->isEnabled()) << "ready for another address";
    }
}

TEST_F(LinkCheckFormTest, CancelClickOrEscapeStopsTheWalk)
{
    form.edtHTML->setText(QString::fromStdString(server->Url("/index.htm")));
    const std::vector<std::function<void()>> stops = {
        [this] { QTest::mouseClick(form.btnCheck, Qt::LeftButton); },
        [this] { QTest::keyClick(&form, Qt::Key_Escape); },
    };
    for (const auto& stop : stops) {
        QTimer::singleShot(0, [&] {
            EXPECT_EQ(form.btnCheck->text(), "&Cancel");
            stop();
        });
        QTest::mouseClick(form.btnCheck1, Qt::LeftButton);
        EXPECT_EQ(form.StatusPanel(1), "Cancelled");
        EXPECT_TRUE(LinkCheckDone);
        EXPECT_TRUE(form.btnCheck->isEnabled());
        EXPECT_TRUE(form.isVisible()) << "the window stays until the walk has ended";
        EXPECT_LT(form.Crawl().Nodes().size(), 35u);
    }
}

TEST_F(LinkCheckFormTest, CancelWhileAPageIsAwaitedStillListsItsLinks)
{
    // The server takes its time over each connection, far longer than the
    // walk's first short wait, so the cancel comes while the start page's
    // reply is awaited.
    vx::test::HttpServer slow(site.path().string(), {false, 128, 2000});
    form.edtHTML->setText(QString::fromStdString(slow.Url("/index.htm")));
    QTimer::singleShot(0, [this] { QTest::mouseClick(form.btnCheck, Qt::LeftButton); });
    QTest::mouseClick(form.btnCheck1, Qt::LeftButton);
    EXPECT_EQ(form.StatusPanel(1), "Cancelled");
    const QAbstractItemModel& model = *form.trvLinks->model();
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex root = model.index(0, 0);
    EXPECT_EQ(model.rowCount(root), 32) << "the links of the page being checked are listed";
    struct Case {
        QModelIndex index;
        std::string panel1;
    };
    for (const Case& c : {Case{root, "OK 200"},
                          Case{Child(root, slow.Url("/ok.htm")), "Unknown: not checked, the check was cancelled"}}) {
        ASSERT_TRUE(c.index.isValid());
        Pick(c.index);
        EXPECT_EQ(form.StatusPanel(1), c.panel1);
    }
}

TEST_F(LinkCheckFormTest, AWalkThatReachesTheLimitSaysSoAndWhereLinksWereLeftOut)
{
    form.Crawl().MaxLinks = 20;
    Validate("/endless/p.htm");
    const std::vector<std::string> messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The check stopped listing links at its limit of 20 links. The pages whose links were "
                           "left out say so when you select them.");
    const QModelIndex root = form.trvLinks->model()->index(0, 0);
    const QModelIndex last = form.trvLinks->model()->index(4, 0, root);
    Pick(last);
    const std::string reason = "OK 200: its links are not listed, the limit of 20 links was reached";
    EXPECT_EQ(form.StatusPanel(1), reason);
    EXPECT_EQ(last.data(Qt::ToolTipRole).toString().toStdString(), reason) << "the row's hint says it whole";
    QApplication::processEvents();
    const QLabel& state = *form.stbStatus->findChildren<QLabel*>().at(1);
    EXPECT_LE(state.fontMetrics().horizontalAdvance(state.text()), state.contentsRect().width())
        << "the state panel shows the reason whole";
    EXPECT_LE(state.geometry().right(), form.stbStatus->contentsRect().right()) << "inside the bar";
}

TEST_F(LinkCheckFormTest, EmptyAddressDoesNothing)
{
    for (const char* text : {"", "<empty>"}) {
        form.edtHTML->setText(text);
        QTest::mouseClick(form.btnCheck, Qt::LeftButton);
        EXPECT_EQ(form.trvLinks->model()->rowCount(), 0);
    }
}

TEST_F(LinkCheckFormTest, BrowseOffersHtmlFilesAndTheAddressPanelLeavesRoomForTheState)
{
    QTest::mouseClick(form.btnBrowse, Qt::LeftButton);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, vx::dialogs::Kind::OpenFile);
    EXPECT_EQ(requests[0].defaultExt, "htm");
    EXPECT_EQ(requests[0].text, "HTML files|*.htm;*.html|All files|*.*");
    Validate("/p1.htm");
    for (int width : {800, 640, 700}) {
        form.resize(width, form.height());
        QApplication::processEvents();
        EXPECT_EQ(form.width(), width) << "the panels never widen the window";
        const QList<QLabel*> panels = form.stbStatus->findChildren<QLabel*>();
        ASSERT_EQ(panels.size(), 2);
        EXPECT_GT(panels[0]->width(), width / 2) << "the address takes what the state leaves";
        EXPECT_GE(panels[1]->x(), panels[0]->geometry().right()) << "the state panel stands after the address";
        EXPECT_EQ(panels[1]->text(), "Finished");
        EXPECT_GE(panels[1]->contentsRect().width(), panels[1]->fontMetrics().horizontalAdvance("Finished"))
            << "the state panel takes the room its state needs";
    }
}

} // namespace
