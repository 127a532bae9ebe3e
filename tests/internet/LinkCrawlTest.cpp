// The link checker's walk against a real HTTP server and over local files.
#include "internet/CurlHttpFetcher.h"
#include "internet/LinkCrawl.h"

#include "tests/internet/HttpServer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;

void Page(const fs::path& path, const std::string& body)
{
    fs::create_directories(path.parent_path());
    vx::test::writeFile(path.string(), body);
}

// A small site under <root>/site with a page outside it.
void BuildSite(const fs::path& root, int deadPort)
{
    Page(root / "outside.htm", "<a href=\"never-parsed.htm\">x</a>");
    Page(root / "site/index.htm",
         "<html><body background=\"bg.gif\"><a name=\"Top\"></a>"
         "<a href=\"a.htm\">a</a><A HREF=\"A.htm\">again</A><a href=\"#top\">up</a><a href=\"#missing\">no</a>"
         "<img src=\"a.htm\"><a href=\"b.htm\">b</a><a href=\"missing.htm\">m</a>"
         "<a href=\"../outside.htm\">out</a><a href=\"sub/c.htm#part\">c</a>"
         "<a href=\"mailto:me@example.test\">mail</a><a href=\"http.htm\">h</a>"
         "<a href=\"charset.chs\">cs</a><a href=\"plain.txt\">t</a><a href=\"/site/abs.htm\">abs</a>"
         "<object codebase=\"obj/\" data=\"d.bin\"></object>"
         "<a href=\"http://127.0.0.1:" + std::to_string(deadPort) + "/gone.htm\">dead</a>"
         "<a href=\"based.htm\">based</a></body></html>");
    Page(root / "site/a.htm", "<a href=\"b.htm\">b</a><a href=\"index.htm\">home</a>");
    Page(root / "site/b.htm", "<a href=\"sub/../sub/./c.htm\">c</a>");
    Page(root / "site/sub/c.htm", "<a href=\"../sub/../sub/c.htm\">me</a><a href=\"../../site/sub/c.htm?x=1\">q</a>");
    Page(root / "site/sub/c.htm?x=1", "");
    Page(root / "site/bg.gif", "GIF89a");
    Page(root / "site/http.htm", "plain");
    Page(root / "site/charset.chs", "<a href=\"viacharset.htm\">v</a>");
    Page(root / "site/viacharset.htm", "ok");
    Page(root / "site/plain.txt", "<a href=\"nottext.htm\">n</a>");
    Page(root / "site/abs.htm", "ok");
    Page(root / "site/obj/d.bin", "data");
    Page(root / "site/based.htm", "<base href=\"sub\"><a href=\"c.htm\">c</a><base href=\"\"><a href=\"d.htm\">d</a>");
    Page(root / "site/d.htm", "<a href=\"broken");
}

// A language that words one text of the walk.
std::string Dutch(std::string_view english)
{
    return english == "Bad %1" ? "Fout %1" : std::string(english);
}

// A node with its address, as the tests look at it.
struct Link {
    std::string address;
    TLinkNode node;
};

std::vector<Link> Links(const TLinkCrawl& crawl)
{
    std::vector<Link> links;
    for (int i = 0; i < static_cast<int>(crawl.Nodes().size()); ++i)
        links.push_back({std::string(crawl.Address(i)), crawl.Nodes()[static_cast<std::size_t>(i)]});
    return links;
}

class LinkCrawlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deadPort = vx::test::ClosedPort();
        BuildSite(root.path(), deadPort);
        server = std::make_unique<vx::test::HttpServer>(root.path().string());
        crawl.OnParseError = [this](const TMessage& message) { parseErrors.push_back(message.English()); };
        crawl.OnStatus = [this](const std::string& address, const std::string& phase) {
            if (phase == "Loading")
                loaded.push_back(address);
            last = phase;
        };
    }

    // Every node by address; "Checked above" nodes under their own key.
    std::map<std::string, TLinkNode> ByAddress() const
    {
        std::map<std::string, TLinkNode> nodes;
        for (const Link& link : Links(crawl))
            if (link.node.State != lsCheckedAbove && link.node.Kind != 1)
                nodes.emplace(link.address, link.node);
        return nodes;
    }

    // The status text of the node with that address, worded by the lookup
    // as a window words it (English without one); "" when there is none.
    std::string StatusOf(const std::string& address, std::string (*lookup)(std::string_view) = nullptr) const
    {
        for (int i = 0; i < static_cast<int>(crawl.Nodes().size()); ++i)
            if (crawl.Address(i) == address)
                return lookup ? crawl.StatusText(i).Worded(lookup) : crawl.StatusText(i).English();
        return {};
    }

    vx::test::TempDir root{"vellumix-site"};
    int deadPort = 0;
    std::unique_ptr<vx::test::HttpServer> server;
    TCurlHttpFetcher fetcher;
    TLinkCrawl crawl{fetcher};
    std::vector<std::string> parseErrors;
    std::vector<std::string> loaded;
    std::string last;
};

TEST_F(LinkCrawlTest, RemoteWalkChecksEveryLinkOnceBreadthFirst)
{
    const std::string base = server->Url("/site/");
    crawl.Run(base + "index.htm");
    EXPECT_EQ(last, "Finished");
    auto nodes = ByAddress();
    struct Expect {
        std::string address;
        int state, status, kind;
    };
    for (const Expect& e : std::vector<Expect>{
             {base + "index.htm", lsOk, 200, 0},
             {base + "a.htm", lsOk, 200, 2},
             {base + "b.htm", lsOk, 200, 2},
             {base + "missing.htm", lsBad, 404, 2},
             {server->Url("/outside.htm"), lsOk, 200, 2},
             {base + "sub/c.htm", lsOk, 200, 2},
             {base + "sub/c.htm?x=1", lsOk, 200, 2},
             {"mailto:me@example.test", lsUnknown, 0, 7},
             {base + "http.htm", lsOk, 200, 2},
             {base + "bg.gif", lsOk, 200, 3},
             {base + "viacharset.htm", lsOk, 200, 2},
             {server->Url("/site/abs.htm"), lsOk, 200, 2},
             {base + "obj/d.bin", lsOk, 200, 5},
             {"http://127.0.0.1:" + std::to_string(deadPort) + "/gone.htm", lsBad, 0, 2},
             {base + "d.htm", lsOk, 200, 2},
         }) {
        auto it = nodes.find(e.address);
        ASSERT_NE(it, nodes.end()) << e.address;
        EXPECT_EQ(it->second.State, e.state) << e.address;
        EXPECT_EQ(it->second.Status, e.status) << e.address;
        EXPECT_EQ(it->second.Kind, e.kind) << e.address;
    }
    // Pages not parsed: outside the site, or not served as HTML.
    for (const char* never : {"/never-parsed.htm", "/site/nottext.htm"})
        EXPECT_EQ(nodes.count(server->Url(never)), 0u) << never;
    // Each address is requested once, GET inside the site and HEAD outside it.
    auto requests = server->Requests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /site/a.htm"), 1);
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "HEAD /outside.htm"), 1);
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /outside.htm"), 0);
    std::vector<std::string> sorted = requests;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_EQ(parseErrors.size(), 1u);
    EXPECT_EQ(parseErrors[0].rfind("Error during parse:\n", 0), 0u);
    // A request that failed says why, what the library said as it came; a
    // link that is no web address says it was not checked.
    EXPECT_EQ(StatusOf("http://127.0.0.1:" + std::to_string(deadPort) + "/gone.htm", &Dutch),
              "Fout 0: Couldn't connect to server (Connection refused)");
    EXPECT_EQ(StatusOf("mailto:me@example.test"), "Unknown: only web addresses and local files are checked");
}

TEST_F(LinkCrawlTest, ReasonsPastTheLimitAreToldByOne)
{
    crawl.MaxReasons = 2; // the empty one and one more
    crawl.Run(server->Url("/site/index.htm"));
    EXPECT_EQ(StatusOf("http://127.0.0.1:" + std::to_string(deadPort) + "/gone.htm"),
              "Bad 0: Couldn't connect to server (Connection refused)");
    EXPECT_EQ(StatusOf("mailto:me@example.test"), "Unknown: no further reason can be kept");
}

TEST_F(LinkCrawlTest, TreeHoldsDuplicatesAnchorsAndCheckedAbove)
{
    const std::string base = server->Url("/site/");
    crawl.Run(base + "index.htm");
    const std::vector<Link> links = Links(crawl);
    // A page's links are its children, one run of nodes right after each other.
    for (int i = 0; i < static_cast<int>(links.size()); ++i) {
        const TLinkNode& page = links[static_cast<std::size_t>(i)].node;
        for (std::uint32_t c = page.FirstChild; c < page.FirstChild + page.ChildCount; ++c)
            EXPECT_EQ(links[c].node.Parent, i);
    }
    std::vector<std::string> rootChildren;
    for (const Link& link : links)
        if (link.node.Parent == 0)
            rootChildren.push_back(link.address);
    EXPECT_EQ(rootChildren.size(), links[0].node.ChildCount);
    // a.htm stands three times on the page (twice as a link, once as an image) but gets one node.
    EXPECT_EQ(std::count(rootChildren.begin(), rootChildren.end(), base + "a.htm"), 1);
    EXPECT_TRUE(std::is_sorted(rootChildren.begin(), rootChildren.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return std::tolower(x) < std::tolower(y); });
    }));
    auto find = [&](int parent, const std::string& address) {
        for (const Link& link : links)
            if (link.node.Parent == parent && link.address == address)
                return link.node;
        ADD_FAILURE() << address << " under " << parent;
        return TLinkNode{};
    };
    EXPECT_EQ(find(0, "#top").State, lsOk);
    EXPECT_EQ(find(0, "#missing").State, lsBad);
    EXPECT_EQ(find(0, "#top").Kind, 1);
    int aNode = -1;
    for (int i = 0; i < static_cast<int>(links.size()); ++i)
        if (links[static_cast<std::size_t>(i)].node.Parent == 0 && links[static_cast<std::size_t>(i)].address == base + "a.htm")
            aNode = i;
    ASSERT_GT(aNode, 0);
    EXPECT_EQ(find(aNode, base + "b.htm").State, lsCheckedAbove);
    EXPECT_EQ(find(aNode, base + "index.htm").State, lsCheckedAbove);

    // Breadth-first: pages are loaded in the order they were queued, level by level.
    std::vector<int> loadedParents;
    for (const auto& address : loaded)
        for (const Link& link : links)
            if (link.address == address && link.node.State != lsCheckedAbove && link.node.Kind != 1) {
                loadedParents.push_back(link.node.Parent);
                break;
            }
    EXPECT_EQ(loadedParents.size(), crawl.QueueSize());
    EXPECT_TRUE(std::is_sorted(loadedParents.begin(), loadedParents.end()));
}

TEST_F(LinkCrawlTest, AskingForFewerPagesAheadGivesTheSameTree)
{
    auto walk = [this] {
        crawl.Run(server->Url("/site/index.htm"));
        std::vector<std::string> tree;
        for (int i = 0; i < static_cast<int>(crawl.Nodes().size()); ++i)
            tree.push_back(std::string(crawl.Address(i)) + " " + crawl.StatusText(i).English());
        return tree;
    };
    const std::vector<std::string> ahead = walk();
    crawl.Prefetch = 1;
    crawl.MaxBuffered = 0;
    EXPECT_EQ(walk(), ahead);
}

TEST_F(LinkCrawlTest, LoopsThroughDotSegmentsEnd)
{
    // Every page links one level deeper through "../": without normalising, the walk never ends.
    Page(root.path() / "loop/index.htm", "<a href=\"x/../index.htm\">self</a><a href=\"deep/../../loop/index.htm\">up</a>");
    crawl.Run(server->Url("/loop/index.htm"));
    EXPECT_EQ(crawl.QueueSize(), 1u);
}

TEST_F(LinkCrawlTest, AnEndlessSiteStopsAtTheLimitAndEveryLinkSaysWhatBecameOfIt)
{
    // Every page of the endless tree links to five new ones.
    crawl.MaxLinks = 40;
    crawl.Run(server->Url("/endless/p.htm"));
    EXPECT_EQ(last, "Finished");
    EXPECT_TRUE(crawl.LimitReached());
    ASSERT_EQ(crawl.Nodes().size(), 40u);
    const std::string limit = "the limit of 40 links was reached";
    int partial = 0, unlisted = 0;
    for (int i = 0; i < static_cast<int>(crawl.Nodes().size()); ++i) {
        // Every queued page was checked, whether or not its links could still be listed.
        EXPECT_EQ(crawl.Nodes()[static_cast<std::size_t>(i)].State, lsOk) << crawl.Address(i);
        const std::string text = crawl.StatusText(i).English();
        if (text == "OK 200: only 4 of its 5 links are listed, " + limit)
            ++partial;
        else if (text == "OK 200: its links are not listed, " + limit)
            ++unlisted;
        else
            EXPECT_EQ(text, "OK 200") << crawl.Address(i);
    }
    // The start page and the first six pages below it bring 35 links; the seventh gets 4 of its 5.
    EXPECT_EQ(partial, 1);
    EXPECT_EQ(unlisted, 40 - 1 - 7);
}

TEST_F(LinkCrawlTest, CancelFinishesThePageBeingCheckedAndDropsTheRequestsAhead)
{
    Page(root.path() / "cancel/index.htm",
         "<a href=\"p1.htm\">1</a><a href=\"p2.htm\">2</a><a href=\"p3.htm\">3</a><a href=\"p4.htm\">4</a>");
    Page(root.path() / "cancel/p1.htm", "<a href=\"q1.htm\">1</a><a href=\"q2.htm\">2</a>");
    for (const char* name : {"p2.htm", "p3.htm", "p4.htm", "q1.htm", "q2.htm"})
        Page(root.path() / "cancel" / name, "ok");
    // The cancel comes once the second page is being checked, before its reply is read.
    crawl.OnStatus = [&](const std::string& address, const std::string& phase) {
        if (phase == "Loading")
            loaded.push_back(address);
        if (loaded.size() == 2)
            crawl.Cancel();
        last = phase;
    };
    crawl.Run(server->Url("/cancel/index.htm"));
    EXPECT_EQ(last, "Cancelled");
    ASSERT_EQ(loaded.size(), 2u);
    const std::string unchecked = "Unknown: not checked, the check was cancelled";
    const std::pair<const char*, std::string> expected[] = {
        {"index.htm", "OK 200"}, {"p1.htm", "OK 200"}, {"p2.htm", unchecked}, {"p3.htm", unchecked},
        {"p4.htm", unchecked},   {"q1.htm", unchecked}, {"q2.htm", unchecked},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(StatusOf(server->Url("/cancel/") + name), text) << name;
    EXPECT_EQ(server->Requests(), (std::vector<std::string>{"GET /cancel/index.htm", "GET /cancel/p1.htm"}))
        << "the requests made ahead of the page being checked are dropped";
    EXPECT_EQ(fetcher.Outstanding(), 0u);
}

TEST_F(LinkCrawlTest, OversizedPagesAndRedirectLoopsShowTheirReason)
{
    Page(root.path() / "big/index.htm", "<a href=\"large.htm\">l</a><a href=\"/loop/a\">loop</a>");
    Page(root.path() / "big/large.htm", "<a href=\"never.htm\">n</a>" + std::string(5000, ' '));
    fetcher.MaxBody = 1000;
    crawl.Run(server->Url("/big/index.htm"));
    auto nodes = ByAddress();
    struct Expect {
        std::string address, text;
    };
    for (const Expect& e : {Expect{server->Url("/big/large.htm"), "OK 200: larger than 1000 bytes, its links were not read"},
                            Expect{server->Url("/loop/a"), "Bad 302: more than 10 redirects (a redirect loop)"}})
        EXPECT_EQ(StatusOf(e.address), e.text);
    EXPECT_EQ(nodes.count(server->Url("/big/never.htm")), 0u);
}

// A walk whose start page cannot be read ends "Failed", saying why; one
// whose start page was read ends "Finished", however its links fared.
TEST_F(LinkCrawlTest, AStartPageThatCannotBeReadFailsTheWalkAndSaysWhy)
{
    const std::string refused = "http://127.0.0.1:" + std::to_string(deadPort) + "/index.htm";
    const struct {
        std::string start;
        int state;
        int status;
        std::string failure;
    } cases[] = {
        {"no-such-file.htm", lsUnknown, 0, "it is neither a file that exists nor a web address"},
        {server->Url("/site/nothere.htm"), lsBad, 404, "the server answered 404"},
        {refused, lsBad, 0, "Couldn't connect to server (Connection refused)"},
        {"/proc/self/mem", lsBad, 404, "Cannot read file /proc/self/mem: " + std::string(std::strerror(EIO))},
        {server->Url("/site/a.htm"), lsOk, 200, ""},
    };
    for (const auto& c : cases) {
        crawl.Run(c.start);
        ASSERT_FALSE(crawl.Nodes().empty()) << c.start;
        EXPECT_EQ(crawl.Nodes()[0].State, c.state) << c.start;
        EXPECT_EQ(crawl.Nodes()[0].Status, c.status) << c.start;
        EXPECT_EQ(crawl.StartPageFailure().English(), c.failure) << c.start;
        EXPECT_EQ(last, c.failure.empty() ? "Finished" : "Failed") << c.start;
        EXPECT_EQ(crawl.Outcome(), last) << c.start;
    }
}

TEST_F(LinkCrawlTest, LocalWalkStaysInItsFolderAndChecksWebLinksOverHttp)
{
    const fs::path site = root.path() / "site";
    Page(site / "local.htm", "<a href=\"a.htm?x=1#y\">q</a><a href=\"../outside.htm\">out</a>"
                             "<a href=\"plain.txt\">t</a><a href=\"nothere.htm\">n</a>"
                             "<a href=\"" + server->Url("/site/b.htm") + "\">web</a>"
                             "<a href=\"" + server->Url("/site/missing.htm") + "\">gone</a>");
    crawl.Run((site / "local.htm").string());
    auto nodes = ByAddress();
    const std::string folder = site.string() + "/";
    struct Expect {
        std::string address;
        int state, status;
    };
    for (const Expect& e : std::vector<Expect>{
             {folder + "a.htm?x=1", lsOk, 200},
             {root.path().string() + "/outside.htm", lsOk, 200},
             {folder + "plain.txt", lsOk, 200},
             {folder + "nothere.htm", lsBad, 404},
             {server->Url("/site/b.htm"), lsOk, 200},
             {server->Url("/site/missing.htm"), lsBad, 404},
             {folder + "b.htm", lsOk, 200},
         }) {
        auto it = nodes.find(e.address);
        ASSERT_NE(it, nodes.end()) << e.address;
        EXPECT_EQ(it->second.State, e.state) << e.address;
        EXPECT_EQ(it->second.Status, e.status) << e.address;
    }
    // Outside the folder and non-HTML files are checked, not walked.
    EXPECT_EQ(nodes.count(root.path().string() + "/never-parsed.htm"), 0u);
    EXPECT_EQ(nodes.count(folder + "nottext.htm"), 0u);
    // Web pages found in a local walk are only checked.
    auto requests = server->Requests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "HEAD /site/b.htm"), 1);
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /site/b.htm"), 0);
}

// A link to a file named outside ASCII finds it from a UTF-8 page and from a
// Windows-1252 one, whose bytes name the same characters.
TEST_F(LinkCrawlTest, LocalLinksOutsideAsciiNameTheFileInEitherEncoding)
{
    const fs::path site = root.path() / "site";
    Page(site / "caf\xC3\xA9.htm", "ok");
    const std::pair<const char*, std::string> pages[] = {
        {"utf8.htm", "<a href=\"caf\xC3\xA9.htm\">c</a>"},
        {"cp1252.htm", "<a href=\"caf\xE9.htm\">c</a>"},
    };
    for (const auto& [name, body] : pages) {
        Page(site / name, body);
        crawl.Run((site / name).string());
        const auto nodes = ByAddress();
        const auto it = nodes.find(site.string() + "/caf\xC3\xA9.htm");
        ASSERT_NE(it, nodes.end()) << name;
        EXPECT_EQ(it->second.State, lsOk) << name;
        EXPECT_EQ(it->second.Status, 200) << name;
    }
}

} // namespace
