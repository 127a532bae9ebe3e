// The publishing window driven through its widgets against pyftpdlib.
#include "internet/qt/FtpForm.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "controls/htmllist/HTMListb.h"
#include "internet/CurlFtpSession.h"
#include "platform/Registry.h"
#include "platform/qt/Dialogs.h"
#include "tests/controls/WaitFor.h"
#include "tests/internet/FtpServer.h"
#include "tests/internet/ScriptedPeer.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

class FtpFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"a b.htm", "x<y>&z.htm"})
            vx::test::writeFile(remote.file(name), std::string("content of ") + name);
        fs::create_directory(remote.path() / "docs");
        vx::test::writeFile(remote.file("docs/inner.htm"), "inner");
        fs::create_symlink("a b.htm", remote.path() / "link.htm");
        vx::test::writeFile(local.file("upload.htm"), "<html>uploaded</html>");
        server = std::make_unique<vx::test::FtpServer>(remote.path().string());
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& r) {
            asked.push_back(r.text);
            return vx::dialogs::Answer{answer, {}, 0, {}};
        });
        form.FtpPort = server->Port();
        form.SetLocalFolder(QString::fromStdString(local.path().string()));
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void TearDown() override { vx::dialogs::SetAnswerer({}); }

    void ConnectAs(const char* password, bool keep) { ConnectAs(form, password, keep); }
    static void ConnectAs(Tf_ftp& window, const char* password, bool keep)
    {
        for (QLineEdit* edit : {window.edit1, window.edit2, window.Edit3})
            edit->clear();
        QTest::keyClicks(window.edit1, "127.0.0.1");
        QTest::keyClicks(window.edit2, "user");
        QTest::keyClicks(window.Edit3, password);
        if (window.SavePassword->isChecked() != keep)
            QTest::mouseClick(window.SavePassword, Qt::LeftButton, {}, QPoint(5, window.SavePassword->height() / 2));
        QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    }

    int RowOf(const std::string& name) { return RowOf(form, name); }
    static int RowOf(const Tf_ftp& window, const std::string& name)
    {
        for (int i = 0; i < window.RemoteList().Count(); ++i)
            if (window.RemoteList().Row(i)->Name == name)
                return i;
        return -1;
    }

    // Types the folder into the folder box and presses "Change dir.".
    static void ChangeFolder(Tf_ftp& window, const char* name)
    {
        window.ComboBox1->lineEdit()->clear();
        QTest::keyClicks(window.ComboBox1->lineEdit(), name);
        QTest::mouseClick(window.SpeedButton9, Qt::LeftButton);
    }

    void ClickRow(const std::string& name)
    {
        int row = RowOf(name);
        ASSERT_GE(row, 0) << name;
        QRect rect = form.h_list->visualItemRect(form.h_list->item(row));
        QTest::mouseClick(form.h_list->viewport(), Qt::LeftButton, {}, rect.center());
        ASSERT_EQ(form.h_list->currentRow(), row);
    }

    // From the event loop a call under way runs: act(true) once ready()
    // holds, or act(false) when it has not after a wait only a fault runs out.
    void When(std::function<bool()> ready, std::function<void(bool ready)> act)
    {
        auto* poll = new QTimer(&form);
        QElapsedTimer clock;
        clock.start();
        QObject::connect(poll, &QTimer::timeout, poll, [=] {
            const bool now = ready();
            if (!now && !clock.hasExpired(vx::test::kPatienceMs))
                return;
            poll->stop();
            poll->deleteLater();
            act(now);
        });
        poll->start(10);
    }
    bool Transferring() const { return form.SpeedButton10->isEnabled(); }

    bool LogHas(const std::string& text) { return LogHas(form, text); }
    static bool LogHas(const Tf_ftp& window, const std::string& text)
    {
        return window.MEMO1->Lines().Text().find(text) != std::string::npos;
    }

    vx::test::TempDir remote{"vellumix-ftp-remote"};
    vx::test::TempDir local{"vellumix-ftp-local"};
    std::unique_ptr<vx::test::FtpServer> server;
    std::vector<std::string> asked;
    int answer = mrYes;
    Tf_ftp form;
};

// Enter on a folder of the local folder list opens it, as a double click does;
// ".." goes back up.
TEST_F(FtpFormTest, EnterOpensTheLocalFolder)
{
    fs::create_directory(local.path() / "site");
    form.SetLocalFolder(QString::fromStdString(local.path().string()));
    const QString top = form.LocalFolder();
    for (const char* name : {"site", ".."}) {
        const auto found = form.DirectoryListBox1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        form.DirectoryListBox1->setFocus();
        form.DirectoryListBox1->setCurrentItem(found.front());
        QTest::keyClick(form.DirectoryListBox1, Qt::Key_Return);
    }
    EXPECT_EQ(fs::path(form.LocalFolder().toStdString()), fs::path(top.toStdString()));
    const auto site = form.DirectoryListBox1->findItems("site", Qt::MatchExactly);
    ASSERT_EQ(site.size(), 1);
    form.DirectoryListBox1->setCurrentItem(site.front());
    QTest::keyClick(form.DirectoryListBox1, Qt::Key_Enter);
    EXPECT_EQ(fs::path(form.LocalFolder().toStdString()).filename(), "site");
}

// The Hostname field takes a host name: a port, a protocol or a folder in it
// is told in words before any connection, and the window stays ready to connect.
TEST_F(FtpFormTest, AHostWithAPortIsToldWhatTheFieldTakes)
{
    const std::string port = std::to_string(server->Port());
    for (const std::string& entry : {"127.0.0.1:" + port, "ftp://127.0.0.1:" + port + "/", std::string("127.0.0.1/www")}) {
        asked.clear();
        form.edit1->clear();
        QTest::keyClicks(form.edit1, QString::fromStdString(entry));
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
        EXPECT_EQ(asked, std::vector<std::string>{
                             "\"" + entry +
                             "\" is not a host name alone. The Hostname field takes the name or address of the "
                             "server, such as ftp.example.com or 127.0.0.1, without \"ftp://\", a folder or a port: "
                             "the publishing window always connects to port 21, the FTP port."});
        EXPECT_TRUE(form.SpeedButton1->isEnabled()) << entry;
        EXPECT_FALSE(form.SpeedButton2->isEnabled()) << entry;
        EXPECT_FALSE(LogHas("Connect failed")) << entry;
        EXPECT_EQ(form.edit1->text().toStdString(), entry) << "what the user typed stays";
    }
    EXPECT_EQ(form.RemoteList().Count(), 0);
}

TEST_F(FtpFormTest, ConnectListsEveryRowWithItsOwnEntry)
{
    ConnectAs("secret", false);
    EXPECT_FALSE(form.SpeedButton1->isEnabled());
    EXPECT_TRUE(form.SpeedButton2->isEnabled());
    EXPECT_EQ(form.StatusPanel(3), "Transfer successfull");
    EXPECT_TRUE(LogHas("Ftp session started"));
    ASSERT_EQ(form.RemoteList().Count(), 3) << "links get no row";
    EXPECT_EQ(form.h_list->Items().Count(), 3);
    // The raw list holds every line the server sent, the total line and the link included.
    ASSERT_EQ(form.ListBox1->count(), 5);
    EXPECT_EQ(form.ListBox1->item(0)->text(), "total 8");
    for (int i = 0; i < 3; ++i) {
        const TFtpRow& row = form.RemoteList().Rows()[static_cast<std::size_t>(i)];
        EXPECT_EQ(form.ListBox2->item(i)->text().toStdString(), row.Entry.Name);
        EXPECT_EQ(form.ListBox1->item(row.Line)->text().toStdString(), row.Entry.Raw);
    }
    std::string markup = form.h_list->Items()[RowOf("x<y>&z.htm")];
    EXPECT_EQ(markup.rfind("[FIL] <font color=\"#000099\">", 0), 0u) << markup;
    EXPECT_NE(markup.find("x&lt;y&gt;&amp;z.htm</font>"), std::string::npos) << markup;
    EXPECT_EQ(form.h_list->Items()[RowOf("docs")].rfind("[DIR] <b><font color=\"#cc0000\">", 0), 0u);
    EXPECT_EQ(form.ComboBox1->currentText(), "docs");
    if (const char* dir = std::getenv("VX_SCREENSHOT_DIR"))
        form.grab().save(QString::fromLocal8Bit(dir) + "/ftp_window.png");

    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(form.StatusPanel(3), "* Not connected *");
    EXPECT_EQ(form.h_list->Items().Count(), 0);
    EXPECT_TRUE(LogHas("Session lasted 00:00:"));
    EXPECT_TRUE(form.SpeedButton1->isEnabled());
}

TEST_F(FtpFormTest, PasswordIsStoredOnlyWhenAskedFor)
{
    for (bool keep : {false, true, false}) {
        ConnectAs("secret", keep);
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey("\\software\\Orvane\\Vellumix\\ftp", false));
        EXPECT_EQ(reg.ReadString("ftp_host"), "127.0.0.1");
        EXPECT_EQ(reg.ValueExists("ftp_passwod"), keep);
        reg.CloseKey();
        QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    }
}

TEST_F(FtpFormTest, TransfersActOnTheChosenRow)
{
    ConnectAs("secret", false);
    ClickRow("x<y>&z.htm");
    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(vx::test::readFile(local.file("x<y>&z.htm")), "content of x<y>&z.htm");
    EXPECT_TRUE(LogHas("x<y>&z.htm Downloaded succesfully"));

    // A second download asks first; "No" keeps the local file.
    vx::test::writeFile(local.file("x<y>&z.htm"), "mine");
    answer = mrNo;
    ClickRow("x<y>&z.htm");
    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("Overwrite"), std::string::npos);
    EXPECT_EQ(vx::test::readFile(local.file("x<y>&z.htm")), "mine");

    auto items = form.FileListBox1->findItems("upload.htm", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(form.FileListBox1->viewport(), Qt::LeftButton, {},
                      form.FileListBox1->visualItemRect(items[0]).center());
    QTest::mouseClick(form.button1, Qt::LeftButton);
    EXPECT_EQ(vx::test::readFile(remote.file("upload.htm")), "<html>uploaded</html>");
    EXPECT_TRUE(LogHas("upload.htm uploaded succesfully"));
    EXPECT_GE(RowOf("upload.htm"), 0);

    ClickRow("a b.htm");
    QTest::mouseClick(form.SpeedButton6, Qt::LeftButton);
    EXPECT_FALSE(fs::exists(remote.path() / "a b.htm"));
    EXPECT_TRUE(LogHas("a b.htm Deleted succesfully"));
    EXPECT_EQ(RowOf("a b.htm"), -1);

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "New foldername");
        dialog->setTextValue("new folder");
        dialog->accept();
    });
    QTest::mouseClick(form.SpeedButton7, Qt::LeftButton);
    EXPECT_TRUE(fs::is_directory(remote.path() / "new folder"));
    EXPECT_GE(RowOf("new folder"), 0);

    ClickRow("docs");
    QTest::mouseDClick(form.h_list->viewport(), Qt::LeftButton, {},
                       form.h_list->visualItemRect(form.h_list->item(RowOf("docs"))).center());
    ASSERT_EQ(form.RemoteList().Count(), 1);
    EXPECT_EQ(form.RemoteList().Row(0)->Name, "inner.htm");
}

TEST_F(FtpFormTest, RefreshAndFolderBoxFollowTheServer)
{
    ConnectAs("secret", false);
    vx::test::writeFile(remote.file("later.htm"), "new");
    vx::test::writeFile(local.file("fresh.htm"), "new");
    QTest::mouseClick(form.SpeedButton5, Qt::LeftButton);
    EXPECT_GE(RowOf("later.htm"), 0);
    EXPECT_EQ(form.FileListBox1->findItems("fresh.htm", Qt::MatchExactly).size(), 1);
    ASSERT_EQ(form.ComboBox1->currentText(), "docs");
    QTest::mouseClick(form.SpeedButton9, Qt::LeftButton);
    ASSERT_EQ(form.RemoteList().Count(), 1);
    EXPECT_EQ(form.RemoteList().Row(0)->Name, "inner.htm");
    form.ComboBox1->setEditText("..");
    QTest::mouseClick(form.SpeedButton9, Qt::LeftButton);
    EXPECT_GE(RowOf("docs"), 0);
}

TEST_F(FtpFormTest, NothingSelectedDoesNothing)
{
    ConnectAs("secret", false);
    form.h_list->setCurrentRow(-1);
    std::string log = form.MEMO1->Lines().Text();
    for (QPushButton* button : {form.SpeedButton3, form.SpeedButton4, form.SpeedButton6})
        QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(form.MEMO1->Lines().Text(), log);
    EXPECT_FALSE(fs::exists(local.path() / "a b.htm"));
    EXPECT_EQ(form.RemoteList().Count(), 3);
}

TEST_F(FtpFormTest, ANameWithACarriageReturnIsListedAsItself)
{
    for (const char* name : {"cr\rinside.htm", "ends\r"})
        vx::test::writeFile(remote.file(name), "x");
    ConnectAs("secret", false);
    for (const std::string name : {"cr\rinside.htm", "ends\r"}) {
        const int row = RowOf(name);
        ASSERT_GE(row, 0) << name;
        EXPECT_EQ(form.ListBox2->item(row)->text().toStdString(), name);
        const std::string line = form.ListBox1->item(form.RemoteList().Rows()[static_cast<std::size_t>(row)].Line)
                                     ->text()
                                     .toStdString();
        EXPECT_EQ(line.substr(line.size() - name.size()), name);
    }
    // A double click on a raw line opens its row; on the total line nothing.
    auto doubleClickLine = [this](int line) {
        QListWidgetItem* item = form.ListBox1->item(line);
        form.ListBox1->scrollToItem(item);
        const QPoint at = form.ListBox1->visualItemRect(item).center();
        QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(form.ListBox1->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClickLine(0);
    EXPECT_GE(RowOf("docs"), 0) << "the total line opens nothing";
    doubleClickLine(form.RemoteList().Rows()[static_cast<std::size_t>(RowOf("docs"))].Line);
    ASSERT_EQ(form.RemoteList().Count(), 1);
    EXPECT_EQ(form.RemoteList().Row(0)->Name, "inner.htm");
}

TEST_F(FtpFormTest, TheStatusPanelTellsHowEachCallEnded)
{
    // "Hostname resolved" shows while the server has not greeted yet; Cancel ends the wait.
    {
        vx::test::ScriptedPeer mute({vx::test::StayMute()});
        form.FtpPort = mute.Port();
        std::string whileWaiting;
        bool cancelEnabled = false;
        When([&] { return form.StatusPanel(3) == "Hostname resolved"; }, [&](bool) {
            whileWaiting = form.StatusPanel(3);
            cancelEnabled = Transferring();
            QTest::mouseClick(form.SpeedButton10, Qt::LeftButton);
        });
        ConnectAs("secret", false);
        EXPECT_EQ(whileWaiting, "Hostname resolved");
        EXPECT_TRUE(cancelEnabled);
        EXPECT_EQ(form.StatusPanel(3), "Connect cancelled");
        EXPECT_TRUE(asked.empty()) << "the user stopped it: nothing to tell";
        EXPECT_FALSE(form.SpeedButton10->isEnabled());
        EXPECT_TRUE(form.SpeedButton1->isEnabled());
    }
    form.FtpPort = server->Port();
    for (QLineEdit* edit : {form.edit1, form.edit2, form.Edit3})
        edit->clear();
    QTest::keyClicks(form.edit1, QString::fromStdString(std::string(64, 'a') + ".invalid"));
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(form.StatusPanel(3), "Invalid hostname");

    // A command the server refuses is a failure.
    ConnectAs("secret", false);
    EXPECT_EQ(form.StatusPanel(3), "Transfer successfull");
    form.ComboBox1->setEditText("missing");
    QTest::mouseClick(form.SpeedButton9, Qt::LeftButton);
    EXPECT_EQ(form.StatusPanel(3), "Failure!");
    EXPECT_TRUE(LogHas("Change directory failed"));
    EXPECT_FALSE(LogHas("Change directory: Change directory")) << "the call named once";
}

TEST_F(FtpFormTest, ASlowDownloadCanBeCancelledOrDisconnected)
{
    vx::test::writeFile(remote.file("slow.bin"), std::string(1000, 's'));
    ConnectAs("secret", false);
    // Cancel, Escape (the window stays) and Disconnect each stop it.
    const std::vector<std::function<void()>> stops = {
        [&] { QTest::mouseClick(form.SpeedButton10, Qt::LeftButton); },
        [&] { QTest::keyClick(&form, Qt::Key_Escape); },
        [&] { QTest::mouseClick(form.SpeedButton2, Qt::LeftButton); },
    };
    for (const auto& stop : stops) {
        form.MEMO1->Lines().Clear();
        ClickRow("slow.bin");
        When([&] { return Transferring(); }, [&](bool underWay) {
            EXPECT_TRUE(underWay);
            stop();
        });
        QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
        EXPECT_TRUE(LogHas("slow.bin download: Download cancelled"));
        EXPECT_FALSE(fs::exists(local.path() / "slow.bin"));
        EXPECT_FALSE(LogHas("slow.bin Downloaded succesfully"));
        EXPECT_TRUE(form.isVisible());
    }
    EXPECT_EQ(form.StatusPanel(3), "* Not connected *") << "Disconnect stops the transfer, then disconnects";
    EXPECT_TRUE(form.SpeedButton1->isEnabled());
}

// A server that takes its time over an upload keeps the window alive: the
// data is handed over at once, and the wait for the server's word on it is
// not a freeze that Cancel cannot end.
TEST_F(FtpFormTest, ASlowUploadCanBeCancelled)
{
    vx::test::writeFile(local.file("slow.htm"), "slow upload!");
    form.SetLocalFolder(QString::fromStdString(local.path().string()));
    ConnectAs("secret", false);
    const auto items = form.FileListBox1->findItems("slow.htm", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(form.FileListBox1->viewport(), Qt::LeftButton, {},
                      form.FileListBox1->visualItemRect(items[0]).center());
    // Once its twelve bytes are handed over, the server's word on them is awaited.
    When([&] { return Transferring() && form.StatusPanel(1) == "Out : 12"; }, [&](bool handedOver) {
        EXPECT_TRUE(handedOver);
        EXPECT_FALSE(LogHas("slow.htm uploaded succesfully"));
        QTest::mouseClick(form.SpeedButton10, Qt::LeftButton);
    });
    QTest::mouseClick(form.button1, Qt::LeftButton);
    EXPECT_TRUE(LogHas("slow.htm upload: Upload cancelled"));
    EXPECT_FALSE(LogHas("slow.htm uploaded succesfully"));
    EXPECT_EQ(vx::test::readFile(local.file("slow.htm")), "slow upload!");
}

// The files chosen for an upload are the ones sent, even when the user opens
// another local folder while the first of them is still on its way.
TEST_F(FtpFormTest, BrowsingDuringAnUploadKeepsTheChosenFiles)
{
    vx::test::writeFile(local.file("slow.htm"), "slowly");
    fs::create_directory(local.path() / "site");
    vx::test::writeFile(local.file("site/upload.htm"), "another folder's file");
    form.SetLocalFolder(QString::fromStdString(local.path().string()));
    ConnectAs("secret", false);
    for (const char* name : {"slow.htm", "upload.htm"}) {
        const auto items = form.FileListBox1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name;
        QTest::mouseClick(form.FileListBox1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          form.FileListBox1->visualItemRect(items[0]).center());
    }
    ASSERT_EQ(form.FileListBox1->selectedItems().size(), 2);
    When([&] { return Transferring(); }, [&](bool underWay) {
        ASSERT_TRUE(underWay) << "the upload is under way";
        const auto site = form.DirectoryListBox1->findItems("site", Qt::MatchExactly);
        ASSERT_EQ(site.size(), 1);
        form.DirectoryListBox1->setFocus();
        form.DirectoryListBox1->setCurrentItem(site[0]);
        QTest::keyClick(form.DirectoryListBox1, Qt::Key_Return);
    });
    QTest::mouseClick(form.button1, Qt::LeftButton);
    EXPECT_EQ(fs::path(form.LocalFolder().toStdString()).filename(), "site");
    EXPECT_EQ(vx::test::readFile(remote.file("slow.htm")), "slowly");
    EXPECT_EQ(vx::test::readFile(remote.file("upload.htm")), "<html>uploaded</html>");
    EXPECT_TRUE(LogHas("upload.htm uploaded succesfully"));
}

// A listing that comes just fast enough not to count as stalled ends at the
// listing's time limit, saying so, and the window goes on working.
TEST_F(FtpFormTest, AListingThatTricklesEndsAtItsTimeLimit)
{
    fs::create_directory(remote.path() / "dribble");
    // About 4 KB of listing: some twenty seconds at the server's pace.
    for (int i = 0; i < 60; ++i)
        vx::test::writeFile(remote.file("dribble/page " + std::to_string(i) + " of a long listing.htm"), "x");
    Tf_ftp window(nullptr, std::make_unique<TCurlFtpSession>(std::chrono::seconds(3)));
    window.FtpPort = server->Port();
    window.SetLocalFolder(QString::fromStdString(local.path().string()));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ConnectAs(window, "secret", false);
    ASSERT_GE(RowOf(window, "dribble"), 0);

    ChangeFolder(window, "dribble");
    const std::string message = "The remote folder's list was stopped: the server had not sent all of it after 3 "
                                "seconds, the longest a list may take. It sends too slowly; try again later.";
    EXPECT_EQ(window.StatusPanel(3), message);
    EXPECT_TRUE(LogHas(window, "List: " + message));
    EXPECT_EQ(window.RemoteList().Count(), 0);

    ChangeFolder(window, "..");
    EXPECT_EQ(window.StatusPanel(3), "Transfer successfull");
    EXPECT_GE(RowOf(window, "dribble"), 0) << "the folder above lists as before";
    EXPECT_TRUE(window.SpeedButton2->isEnabled()) << "still connected";
}

TEST_F(FtpFormTest, FailuresAreLoggedWithTheReason)
{
    ConnectAs("wrong", false);
    EXPECT_TRUE(form.SpeedButton1->isEnabled());
    EXPECT_FALSE(form.SpeedButton2->isEnabled());
    EXPECT_EQ(form.StatusPanel(3), "Failure!");
    EXPECT_TRUE(LogHas("530"));
    // A connection that failed is told in a box too, with the reason as logged.
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("Could not connect to the FTP server 127.0.0.1: Connect failed: ", 0), 0u) << asked[0];
    EXPECT_TRUE(LogHas(asked[0].substr(asked[0].find("Connect failed"))));
    EXPECT_FALSE(LogHas("Connect: Connect failed")) << "the call named once";

    vx::test::writeFile(remote.file("drop.bin"), std::string(300000, 'd'));
    ConnectAs("secret", false);
    ClickRow("drop.bin");
    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    EXPECT_TRUE(LogHas("drop.bin download: Download failed"));
    EXPECT_EQ(form.StatusPanel(3).rfind("Error : Download failed", 0), 0u) << "a dropped connection is an error";
    EXPECT_FALSE(LogHas("drop.bin Downloaded succesfully"));
    EXPECT_FALSE(fs::exists(local.path() / "drop.bin"));
    for (const auto& entry : fs::directory_iterator(local.path()))
        EXPECT_EQ(entry.path().filename(), "upload.htm");
}

} // namespace

