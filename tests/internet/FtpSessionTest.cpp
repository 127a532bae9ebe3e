// The FTP session against a real server (pyftpdlib) in a temporary folder.
#include "internet/CurlFtpSession.h"
#include "internet/FtpListing.h"

#include "tests/internet/FtpServer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>

namespace {

namespace fs = std::filesystem;

class FtpSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server = std::make_unique<vx::test::FtpServer>(remote.path().string());
        login.Host = "127.0.0.1";
        login.Port = server->Port();
        login.User = "user";
        login.Password = "secret";
        // Long enough that only a server that never answers runs a wait out.
        login.TimeOutMs = 30000;
    }

    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (const auto& entry : ParseListing(session.List()))
            names.push_back(entry.Name);
        std::sort(names.begin(), names.end());
        return names;
    }

    vx::test::TempDir remote{"vellumix-ftp-remote"};
    vx::test::TempDir local{"vellumix-ftp-local"};
    std::unique_ptr<vx::test::FtpServer> server;
    TFtpLogin login;
    TCurlFtpSession session;
};

std::string Binary(std::size_t size)
{
    std::string data;
    for (std::size_t i = 0; i < size; ++i)
        data += static_cast<char>((i * 131 + i / 7) % 256);
    return data;
}

TEST_F(FtpSessionTest, UploadDownloadDeleteAndFolders)
{
    session.Connect(login);
    EXPECT_TRUE(session.Connected());
    EXPECT_EQ(session.RemoteAddress(), "127.0.0.1");
    std::string data = Binary(200000);
    vx::test::writeFile(local.file("page one.htm"), data);
    std::int64_t lastSent = 0;
    session.OnProgress = [&](std::int64_t, std::int64_t sent) { lastSent = std::max(lastSent, sent); };
    session.Upload(local.file("page one.htm"), "page one.htm");
    EXPECT_EQ(lastSent, 200000);
    EXPECT_EQ(vx::test::readFile(remote.file("page one.htm")), data);
    EXPECT_EQ(session.ReplyNumber(), 226);

    session.Download("page one.htm", local.file("copy.htm"));
    EXPECT_EQ(vx::test::readFile(local.file("copy.htm")), data);

    session.MakeDirectory("sub dir");
    EXPECT_TRUE(fs::is_directory(remote.path() / "sub dir"));
    session.ChangeDir("sub dir");
    EXPECT_EQ(session.CurrentDir(), "/sub dir/");
    session.Upload(local.file("copy.htm"), "inner.htm");
    EXPECT_TRUE(fs::exists(remote.path() / "sub dir" / "inner.htm"));
    EXPECT_EQ(Names(), std::vector<std::string>{"inner.htm"});
    session.Delete("inner.htm");
    EXPECT_FALSE(fs::exists(remote.path() / "sub dir" / "inner.htm"));
    session.ChangeDir("..");
    EXPECT_EQ(session.CurrentDir(), "/");
    EXPECT_EQ(Names(), (std::vector<std::string>{"page one.htm", "sub dir"}));
    session.Disconnect();
    EXPECT_FALSE(session.Connected());
}

TEST_F(FtpSessionTest, ListingShowsOddNamesAndLinks)
{
    for (const char* name : {"a b.htm", "x<y>&z.htm", "  lead.htm"})
        vx::test::writeFile(remote.file(name), "x");
    fs::create_directory(remote.path() / "folder");
    fs::create_symlink("a b.htm", remote.path() / "link.htm");
    session.Connect(login);
    auto entries = ParseListing(session.List());
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.Name + (e.Kind == TFtpEntryKind::Directory ? "/" : ""));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"  lead.htm", "a b.htm", "folder/", "link.htm", "x<y>&z.htm"}));
}

TEST_F(FtpSessionTest, FailuresRaiseWithTheServersReply)
{
    login.Password = "wrong";
    try {
        session.Connect(login);
        ADD_FAILURE() << "a wrong password logged in";
    } catch (const EFtpError& e) {
        EXPECT_NE(std::string(e.what()).find("530"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(session.Connected());

    login.Password = "secret";
    session.Connect(login);
    EXPECT_THROW(session.ChangeDir("missing"), EFtpError);
    EXPECT_EQ(session.CurrentDir(), "/");
    EXPECT_THROW(session.Delete("missing.htm"), EFtpError);
    EXPECT_EQ(session.ReplyNumber(), 550);
    EXPECT_THROW(session.Download("missing.htm", local.file("missing.htm")), EFtpError);
    EXPECT_TRUE(fs::is_empty(local.path()));
    for (const char* bad : {"..", "a/b", "", ".", "x\r\nDELE y"})
        EXPECT_THROW(session.Delete(bad), EFtpError) << bad;
    EXPECT_THROW(session.ChangeDir(".."), EFtpError);
}

TEST_F(FtpSessionTest, DroppedTransferLeavesNoLocalFile)
{
    vx::test::writeFile(remote.file("drop.bin"), Binary(300000));
    session.Connect(login);
    try {
        session.Download("drop.bin", local.file("drop.bin"));
        ADD_FAILURE() << "a dropped transfer succeeded";
    } catch (const EFtpError& e) {
        EXPECT_NE(std::string(e.what()).find("Download failed"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_empty(local.path()));
}

TEST_F(FtpSessionTest, ATransferThatAllButStallsEndsWithAClearMessage)
{
    vx::test::writeFile(remote.file("slow.bin"), std::string(1000, 's'));
    fs::create_directory(remote.path() / "trickle");
    // Each wait lasts 2 s, and a transfer is judged over spans of 3 s.
    login.TimeOutMs = 2000;
    session.Connect(login);
    const std::vector<std::pair<std::string, std::function<void()>>> transfers = {
        {"Download", [&] { session.Download("slow.bin", local.file("slow.bin")); }},
        // A listing without end, a byte every 50 ms: each piece comes forty
        // times sooner than the wait for it ends, the whole at a fifth of the
        // floor, so however late a piece or the session, only the stall rule
        // can end it.
        {"List", [&] {
             session.ChangeDir("trickle");
             session.List();
         }},
    };
    for (const auto& [what, transfer] : transfers) {
        SCOPED_TRACE(what);
        try {
            transfer();
            ADD_FAILURE() << "a transfer at a few bytes a second went on to its end";
        } catch (const EFtpError& e) {
            EXPECT_EQ(e.what(), what + " stalled: less than 100 bytes a second for 3 seconds");
        }
        EXPECT_TRUE(fs::is_empty(local.path()));
        if (session.CurrentDir() != "/")
            session.ChangeDir("..");
        EXPECT_EQ(Names().size(), 2u) << "the session goes on working";
    }
}

TEST_F(FtpSessionTest, RefusalsAndUnknownHostsAreToldApart)
{
    session.Connect(login);
    EXPECT_THROW(session.ChangeDir("missing"), EFtpRefused);
    login.Host = std::string(64, 'a') + ".invalid";
    EXPECT_THROW(session.Connect(login), EFtpInvalidHost);
}

TEST(FtpListingTest, UnixAndDosLinesOfSeveralServers)
{
    struct Case {
        const char* line;
        bool entry;
        TFtpEntryKind kind;
        const char* name;
        std::int64_t size;
        const char* target;
    };
    using K = TFtpEntryKind;
    for (const Case& c : {
             Case{"total 24", false, K::File, "", 0, ""},
             Case{"drwxr-xr-x   2 ftp      ftp          4096 Jan 01 12:00 docs", true, K::Directory, "docs", 4096, ""},
             Case{"-rw-r--r--   1 ftp      ftp         12345 Dec 24  2019 my page.htm", true, K::File, "my page.htm",
                  12345, ""},
             Case{"lrwxrwxrwx   1 root     root            7 Mar  3 09:41 www -> htdocs", true, K::Link, "www", 7,
                  "htdocs"},
             Case{"-rw-r--r-- 1 owner 532 Feb 29 23:59 nogroup.txt\r\n", true, K::File, "nogroup.txt", 532, ""},
             // A carriage return alone ends no line: it belongs to the name.
             Case{"-rw-r--r-- 1 owner 1 Feb 29 23:59 ends in\r", true, K::File, "ends in\r", 1, ""},
             Case{"-rw-r--r-- 1 owner 1 Feb 29 23:59 a\rb", true, K::File, "a\rb", 1, ""},
             Case{"-rw-r--r--   1 1001     1001     0 Jul 14 2001 numeric ids", true, K::File, "numeric ids", 0, ""},
             Case{"drwxrwxrwx   1 user     group           0 Nov 11 11:11  two blanks", true, K::Directory,
                  " two blanks", 0, ""},
             Case{"01-31-24  09:15PM       <DIR>          Program Files", true, K::Directory, "Program Files", 0, ""},
             Case{"12-01-99  11:59AM                 1234 index.html", true, K::File, "index.html", 1234, ""},
             Case{"-rw-r--r--   1 ftp ftp  99999999999999999999 Jan 01 12:00 huge", false, K::File, "", 0, ""},
             Case{"-rw-r--r--   1 ftp ftp 12 Jan 01 12:00", false, K::File, "", 0, ""},
             Case{"lrwxrwxrwx 1 a b 1 Jan 01 12:00  -> target", false, K::File, "", 0, ""},
             Case{"garbage line", false, K::File, "", 0, ""},
             Case{"", false, K::File, "", 0, ""},
         }) {
        auto entry = ParseListLine(c.line);
        ASSERT_EQ(entry.has_value(), c.entry) << c.line;
        if (!entry)
            continue;
        EXPECT_EQ(entry->Kind, c.kind) << c.line;
        EXPECT_EQ(entry->Name, c.name) << c.line;
        EXPECT_EQ(entry->Size, c.size) << c.line;
        EXPECT_EQ(entry->LinkTarget, c.target) << c.line;
    }
    EXPECT_EQ(SplitListing("a\r\nb\nc\r\r\nd\re"), (std::vector<std::string>{"a", "b", "c\r", "d\re"}));
    EXPECT_EQ(ParseListing({"total 1", "garbage", "-rw-r--r-- 1 a b 1 Jan 1 2000 f"}).size(), 1u);
    for (const char* name : {"a.htm", "a b", "..x"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    for (const char* name : {"", ".", "..", "a/b", "a\\b"})
        EXPECT_FALSE(IsPlainFileName(name)) << name;
}

} // namespace
