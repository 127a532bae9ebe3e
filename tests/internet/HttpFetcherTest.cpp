// The HTTP fetcher against real servers: connections kept open and used again,
// a server whose small listen backlog overflows, and the per-server limit and
// the walk's address store underneath.
#include "internet/AddressStore.h"
#include "internet/CurlHttpFetcher.h"
#include "internet/HostGate.h"
#include "internet/LinkCrawl.h"

#include "tests/internet/HttpServer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(HostGateTest, TheLimitGrowsWithQuickAnswersAndHalvesOnceADropIsSeen)
{
    struct Step {
        char event; // 'a' answered quickly, 's' answered after a resend, 'd' dropped, 'o' dropped from an older round
        int limit;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    for (const Case& c : std::vector<Case>{
             {"grows by one per limit answers", {{'a', 4}, {'a', 4}, {'a', 4}, {'a', 5}, {'a', 5}}},
             {"halves and stays below", {{'d', 2}, {'a', 2}, {'a', 2}, {'a', 2}}},
             {"a drop of the same round counts once", {{'d', 2}, {'o', 2}, {'d', 1}}},
             {"a connect that waited for a resend was dropped", {{'a', 4}, {'s', 2}}},
             {"never below one", {{'d', 2}, {'d', 1}, {'d', 1}}},
         }) {
        SCOPED_TRACE(c.name);
        THostGate gate(4, 16);
        std::uint32_t older = gate.Started();
        gate.Ended();
        for (const Step& step : c.steps) {
            const std::uint32_t ticket = gate.Started();
            gate.Ended();
            switch (step.event) {
            case 'a': gate.Answered(ticket, 100); break;
            case 's': gate.Answered(ticket, 100 + THostGate::kResendUs); break;
            case 'd': gate.Overloaded(ticket); break;
            case 'o': gate.Overloaded(older); break;
            }
            older = ticket;
            EXPECT_EQ(gate.Limit(), step.limit) << step.event;
        }
    }
}

TEST(HostGateTest, NewConnectionsMayTakeLongOnlyWhileTheServerIsUnknown)
{
    THostGate gate(4, 16);
    EXPECT_FALSE(gate.Reachable());
    EXPECT_EQ(gate.ConnectTimeoutMs(20000, 0), 20000);
    gate.Answered(gate.Started(), 2000);
    EXPECT_TRUE(gate.Reachable());
    EXPECT_EQ(gate.ConnectTimeoutMs(20000, 0), THostGate::kMinDropTimeoutMs);
    EXPECT_EQ(gate.ConnectTimeoutMs(20000, 1), THostGate::kMinDropTimeoutMs);
    EXPECT_EQ(gate.ConnectTimeoutMs(20000, 2), 20000) << "a request dropped twice waits as long as any";
    EXPECT_EQ(gate.ConnectTimeoutMs(100, 0), 100);
}

TEST(AddressStoreTest, QueuedAddressesAreFoundWithoutRegardToCase)
{
    TAddressStore store;
    std::vector<TAddressStore::TId> ids;
    // Enough to fill several blocks and grow the set a few times.
    for (int i = 0; i < 20000; ++i) {
        ids.push_back(store.Add("http://host/Page" + std::to_string(i) + ".htm"));
        if (i % 2 == 0)
            store.MarkQueued(ids.back());
    }
    const auto anchor = store.Add("");
    EXPECT_EQ(store.Text(anchor), "");
    for (int i : {0, 1, 4242, 19999}) {
        const std::string lower = "http://host/page" + std::to_string(i) + ".HTM";
        EXPECT_EQ(store.Text(ids[static_cast<std::size_t>(i)]), "http://host/Page" + std::to_string(i) + ".htm");
        EXPECT_EQ(store.FindQueued(lower), i % 2 == 0 ? std::optional(ids[static_cast<std::size_t>(i)]) : std::nullopt)
            << i;
    }
    store.Clear();
    EXPECT_EQ(store.FindQueued("http://host/page0.htm"), std::nullopt);
}

class FetcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 30; ++i)
            vx::test::writeFile(site.file("p" + std::to_string(i) + ".htm"), "page " + std::to_string(i));
    }

    std::vector<TFetchRequest> Requests(const vx::test::HttpServer& server, int count)
    {
        std::vector<TFetchRequest> requests;
        for (int i = 0; i < count; ++i)
            requests.push_back({server.Url("/p" + std::to_string(i) + ".htm"), false});
        requests.push_back({server.Url("/none.htm"), true});
        return requests;
    }

    vx::test::TempDir site{"vellumix-site"};
};

TEST_F(FetcherTest, RepliesComeInTheOrderAskedOverConnectionsKeptOpen)
{
    for (bool keepAlive : {false, true}) {
        SCOPED_TRACE(keepAlive ? "keep-alive" : "a connection a request");
        vx::test::HttpServer server(site.path().string(), {keepAlive});
        TCurlHttpFetcher fetcher;
        const auto replies = fetcher.FetchAll(Requests(server, 30));
        ASSERT_EQ(replies.size(), 31u);
        for (int i = 0; i < 30; ++i) {
            EXPECT_TRUE(replies[static_cast<std::size_t>(i)].Ok);
            EXPECT_EQ(replies[static_cast<std::size_t>(i)].Body, "page " + std::to_string(i));
        }
        EXPECT_TRUE(replies[30].Ok);
        EXPECT_EQ(replies[30].Status, 404);
        EXPECT_EQ(fetcher.Outstanding(), 0u);
        if (keepAlive)
            EXPECT_LE(server.Connections(), 16u) << "connections are used again";
        else
            EXPECT_EQ(server.Connections(), 31u);
    }
}

TEST_F(FetcherTest, AServerWhoseBacklogOverflowsStillAnswersEveryRequest)
{
    // One connection may wait to be accepted, and each waits a while: most of
    // sixteen at once are dropped by the system at first.
    vx::test::HttpServer server(site.path().string(), {false, 1, 20});
    TCurlHttpFetcher fetcher;
    const auto replies = fetcher.FetchAll(Requests(server, 30));
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(replies[static_cast<std::size_t>(i)].Body, "page " + std::to_string(i)) << i;
    EXPECT_EQ(replies[30].Status, 404);
    auto requests = server.Requests();
    std::sort(requests.begin(), requests.end());
    EXPECT_EQ(std::adjacent_find(requests.begin(), requests.end()), requests.end()) << "each answered once";
}

TEST_F(FetcherTest, CancelledRequestsAreNeverHandedBack)
{
    vx::test::HttpServer server(site.path().string());
    TCurlHttpFetcher fetcher;
    for (int i = 0; i < 5; ++i)
        fetcher.Submit(static_cast<std::uint64_t>(i), {server.Url("/p0.htm"), false});
    fetcher.Step(0);
    fetcher.CancelAll();
    EXPECT_EQ(fetcher.Outstanding(), 0u);
    EXPECT_TRUE(fetcher.Step(10).empty());
    EXPECT_EQ(fetcher.Fetch({server.Url("/p1.htm"), false}).Body, "page 1") << "the fetcher goes on working";
}

TEST_F(FetcherTest, CancellingAllButOneRequestHandsBackThatOneAlone)
{
    vx::test::HttpServer server(site.path().string());
    // Cancelled while every request waits to start, and while some run or have ended.
    for (int stepsBefore : {0, 1, 3}) {
        SCOPED_TRACE(stepsBefore);
        TCurlHttpFetcher fetcher;
        for (int i = 0; i < 8; ++i)
            fetcher.Submit(static_cast<std::uint64_t>(i), {server.Url("/p" + std::to_string(i) + ".htm"), false});
        bool keptEnded = false;
        for (int step = 0; step < stepsBefore; ++step)
            for (const auto& [id, reply] : fetcher.Step(0))
                keptEnded = keptEnded || id == 5;
        fetcher.CancelAllBut(5);
        std::vector<std::uint64_t> after;
        while (fetcher.Outstanding() > 0)
            for (const auto& [id, reply] : fetcher.Step(50)) {
                after.push_back(id);
                EXPECT_EQ(reply.Body, "page 5");
            }
        EXPECT_EQ(after, keptEnded ? std::vector<std::uint64_t>{} : std::vector<std::uint64_t>{5});
    }
}

} // namespace
