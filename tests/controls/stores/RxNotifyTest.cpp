#include "controls/stores/RxNotify.h"

#include "tests/controls/WaitFor.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <filesystem>
#include <memory>

using vx::test::Pump;
using vx::test::TempDir;
using vx::test::WaitFor;
using vx::test::writeFile;

namespace fs = std::filesystem;

namespace {

struct Reports {
    int count = 0;
    bool offMain = false;
    void Attach(TRxFolderMonitor& monitor)
    {
        monitor.OnChange = [this](QObject*) {
            ++count;
            offMain = offMain || QThread::currentThread() != QCoreApplication::instance()->thread();
        };
    }
};

} // namespace

TEST(TRxFolderMonitor, MissingFolderLeavesItInactive)
{
    TempDir dir;
    TRxFolderMonitor monitor;
    EXPECT_EQ(monitor.Filter(), unsigned(fnFileName | fnDirName | fnSize | fnLastWrite));
    EXPECT_TRUE(monitor.MonitorSubtree());
    EXPECT_EQ(monitor.DelayTime(), 0);

    monitor.SetFolderName(dir.file("missing"));
    monitor.SetActive(true);
    EXPECT_FALSE(monitor.Active());

    monitor.SetFolderName(dir.path().string());
    monitor.SetActive(true);
    EXPECT_TRUE(monitor.Active());
    monitor.SetFolderName(dir.file("missing"));
    EXPECT_FALSE(monitor.Active()) << "moving to a missing folder stops it";
}

TEST(TRxFolderMonitor, ReportsAChangeOnTheMainThread)
{
    TempDir dir;
    TRxFolderMonitor monitor;
    Reports reports;
    reports.Attach(monitor);
    monitor.SetFolderName(dir.path().string());
    monitor.SetActive(true);
    writeFile(dir.file("new.txt"), "x");
    ASSERT_TRUE(WaitFor([&] { return reports.count > 0; }));
    EXPECT_FALSE(reports.offMain);
}

TEST(TRxFolderMonitor, ABurstWithADelayIsReportedOnce)
{
    TempDir dir;
    TRxFolderMonitor monitor;
    Reports reports;
    reports.Attach(monitor);
    monitor.SetDelayTime(1000);
    monitor.SetFolderName(dir.path().string());
    monitor.SetActive(true);
    writeFile(dir.file("a.txt"), "x");
    fs::rename(dir.file("a.txt"), dir.file("b.txt"));
    fs::remove(dir.file("b.txt"));
    ASSERT_TRUE(WaitFor([&] { return reports.count > 0; }));
    Pump(300);
    EXPECT_EQ(reports.count, 1);
    EXPECT_FALSE(reports.offMain);
}

TEST(TRxFolderMonitor, ClearingTheDelayDeliversAWaitingReport)
{
    TempDir dir;
    TRxFolderMonitor monitor;
    Reports reports;
    reports.Attach(monitor);
    monitor.SetDelayTime(60000);
    monitor.SetFolderName(dir.path().string());
    monitor.SetActive(true);
    writeFile(dir.file("a.txt"), "x");
    ASSERT_TRUE(WaitFor([&] { return monitor.ChangePending(); }));
    EXPECT_EQ(reports.count, 0);
    monitor.SetDelayTime(0);
    EXPECT_EQ(reports.count, 1);
    EXPECT_FALSE(monitor.ChangePending());
}

TEST(TRxFolderMonitor, SubfoldersIncludingNewOnes)
{
    TempDir dir;
    fs::create_directories(dir.path() / "old" / "deep");
    TRxFolderMonitor monitor;
    Reports reports;
    reports.Attach(monitor);
    monitor.SetFolderName(dir.path().string());
    monitor.SetActive(true);

    writeFile((dir.path() / "old" / "deep" / "f.txt").string(), "x");
    ASSERT_TRUE(WaitFor([&] { return reports.count > 0; }));

    fs::create_directory(dir.path() / "fresh");
    ASSERT_TRUE(WaitFor([&] { return reports.count > 1; }));
    int before = reports.count;
    writeFile((dir.path() / "fresh" / "g.txt").string(), "x");
    EXPECT_TRUE(WaitFor([&] { return reports.count > before; })) << "a folder made while watching is watched";
}

TEST(TRxFolderMonitor, NoReportReachesADestroyedMonitor)
{
    TempDir dir;
    int reports = 0;
    for (int round = 0; round < 10; ++round) {
        auto monitor = std::make_unique<TRxFolderMonitor>();
        monitor->OnChange = [&](QObject*) { ++reports; };
        monitor->SetFolderName(dir.path().string());
        monitor->SetActive(true);
        writeFile(dir.file("f" + std::to_string(round)), "x");
        QThread::msleep(20); // the worker posts; nobody handles it yet
        monitor.reset();
        Pump(5);
    }
    EXPECT_EQ(reports, 0);
}

TEST(TRxFolderMonitor, HandlerMayRestartTheMonitor)
{
    TempDir a, b;
    TRxFolderMonitor monitor;
    int reports = 0;
    monitor.OnChange = [&](QObject*) {
        ++reports;
        monitor.SetFolderName(reports % 2 ? b.path().string() : a.path().string());
    };
    monitor.SetFolderName(a.path().string());
    monitor.SetActive(true);
    writeFile(a.file("x"), "1");
    ASSERT_TRUE(WaitFor([&] { return reports == 1; }));
    EXPECT_TRUE(monitor.Active());
    EXPECT_EQ(monitor.FolderName(), b.path().string());
    writeFile(b.file("y"), "1");
    EXPECT_TRUE(WaitFor([&] { return reports == 2; }));
}
