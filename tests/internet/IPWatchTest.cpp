// The IP watcher over a scripted list of interface addresses.
#include "internet/IPWatchState.h"
#include "internet/qt/IPWatch.h"

#include "tests/controls/WaitFor.h"
#include "tests/support/TempDir.h"

#include <QTest>
#include <gtest/gtest.h>

#include <deque>

namespace {

using AddressList = std::vector<std::string>;

// Hands out one address list per reading; the last one repeats.
class FakeSource : public vx::net::IAddressSource {
public:
    explicit FakeSource(std::deque<AddressList> readings) : readings_(std::move(readings)) {}
    AddressList Addresses() override
    {
        AddressList next = readings_.front();
        if (readings_.size() > 1)
            readings_.pop_front();
        return next;
    }

private:
    std::deque<AddressList> readings_;
};

std::unique_ptr<FakeSource> Source(std::deque<AddressList> readings)
{
    return std::make_unique<FakeSource>(std::move(readings));
}

TEST(LocalAddressTest, LoopbackIsAllOf127AndOnlineNeedsAnotherAddress)
{
    for (const char* loop : {"127.0.0.1", "127.1.2.3", "127.255.255.254"})
        EXPECT_TRUE(vx::net::IsLoopbackAddress(loop)) << loop;
    for (const char* other : {"10.0.0.1", "128.0.0.1", "12.7.0.1", ""})
        EXPECT_FALSE(vx::net::IsLoopbackAddress(other)) << other;
    EXPECT_EQ(vx::net::PickLocalAddress({"127.0.0.1", "10.0.0.5", "127.0.1.1"}), "10.0.0.5");
    EXPECT_EQ(vx::net::PickLocalAddress({"10.0.0.5", "192.168.1.2"}), "192.168.1.2");
    EXPECT_EQ(vx::net::PickLocalAddress({"127.0.0.1", "127.0.1.1"}), "127.0.1.1");
    EXPECT_EQ(vx::net::PickLocalAddress({}), "");
}

TEST(LocalAddressTest, SystemListHoldsDottedAddresses)
{
    vx::net::TSystemAddressSource source;
    for (const auto& address : source.Addresses())
        EXPECT_EQ(std::count(address.begin(), address.end(), '.'), 3) << address;
}

class IPWatchStateTest : public ::testing::Test {
protected:
    vx::test::TempDir dir;
    std::string history = dir.file("iphist.dat");
};

TEST_F(IPWatchStateTest, LoopbackOnlyStaysOfflineAndLeavesTheHistoryAlone)
{
    vx::test::writeFile(history, "10.0.0.1\r\n");
    TIPWatchState state(Source({{"127.0.0.1"}, {"127.0.1.1"}, {}}), history);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(state.Tick());
    EXPECT_FALSE(state.IsOnline());
    state.Finish();
    EXPECT_EQ(vx::test::readFile(history), "10.0.0.1\r\n");
}

TEST_F(IPWatchStateTest, GoingOnlineAndOfflineRecordsTheAddress)
{
    TIPWatchState state(Source({{"127.0.0.1", "10.0.0.7"}, {"127.0.0.1"}, {"192.168.0.9"}}), history);
    EXPECT_TRUE(state.Tick());
    EXPECT_TRUE(state.IsOnline());
    EXPECT_EQ(state.CurrentIP(), "10.0.0.7");
    EXPECT_TRUE(state.Tick());
    EXPECT_FALSE(state.IsOnline());
    EXPECT_EQ(state.PreviousIP(), "10.0.0.7");
    EXPECT_TRUE(state.Tick());
    EXPECT_EQ(state.CurrentIP(), "192.168.0.9");
    EXPECT_FALSE(state.Tick());
    state.Finish();
    EXPECT_EQ(vx::test::readFile(history), "10.0.0.7\r\n192.168.0.9\r\n");
}

TEST_F(IPWatchStateTest, StartingOnlineWithTheLastAddressStepsBackOneLine)
{
    vx::test::writeFile(history, "10.0.0.1\r\n10.0.0.2\r\n");
    TIPWatchState state(Source({{"10.0.0.2"}}), history);
    EXPECT_EQ(state.PreviousIP(), "10.0.0.2");
    EXPECT_TRUE(state.Tick());
    EXPECT_EQ(state.PreviousIP(), "10.0.0.1");
    state.Finish();
    EXPECT_EQ(vx::test::readFile(history), "10.0.0.1\r\n10.0.0.2\r\n");
}

TEST_F(IPWatchStateTest, HistoryKeeps25LinesAndRefusesBlanksAndLoopback)
{
    std::string file = "\r\n127.0.0.1\r\n127.3.3.3\r\n";
    for (int i = 1; i <= 25; ++i)
        file += "10.0.0." + std::to_string(i) + "\r\n";
    vx::test::writeFile(history, file);
    TIPWatchState state(Source({{"10.0.1.1"}}), history);
    EXPECT_EQ(state.History().Count(), 25);
    state.Tick();
    state.Finish();
    TStringList saved;
    saved.LoadFromFile(history);
    ASSERT_EQ(saved.Count(), 25);
    EXPECT_EQ(saved[0], "10.0.0.2");
    EXPECT_EQ(saved[24], "10.0.1.1");
}

TEST_F(IPWatchStateTest, WatcherReportsChangesOnItsTimer)
{
    TIPWatch watch(nullptr, Source({{"127.0.0.1"}, {"10.9.9.9"}}), history);
    watch.SetWatchInterval(10);
    EXPECT_EQ(watch.WatchInterval(), 10);
    int changes = 0;
    watch.OnStatusChanged = [&](TIPWatch* sender) {
        EXPECT_EQ(sender, &watch);
        ++changes;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, vx::test::kPatienceMs));
    EXPECT_TRUE(watch.IsOnline());
    EXPECT_EQ(watch.CurrentIP(), "10.9.9.9");
    watch.SetEnabled(false);
    EXPECT_FALSE(watch.Enabled());
}

} // namespace
