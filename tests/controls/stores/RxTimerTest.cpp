#include "controls/stores/RxTimer.h"

#include "platform/Exception.h"
#include "platform/qt/Dialogs.h"
#include "tests/controls/WaitFor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <memory>

using vx::test::Pump;
using vx::test::WaitFor;

TEST(TRxTimer, DefaultsAndNoWorkerWithoutHandler)
{
    TRxTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_TRUE(timer.SyncEvent());
    EXPECT_TRUE(timer.Threaded());
    EXPECT_EQ(timer.ThreadPriority(), tpNormal);
    EXPECT_FALSE(timer.WorkerRunning()) << "no OnTimer, no worker";

    timer.SetOnTimer([](QObject*) {});
    EXPECT_TRUE(timer.WorkerRunning());
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.WorkerRunning()) << "disabling stops and joins the worker";
    timer.SetEnabled(true);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.WorkerRunning()) << "interval 0 stops it";
    timer.SetInterval(-5);
    EXPECT_FALSE(timer.WorkerRunning()) << "so does a negative one";
    timer.SetInterval(5);
    timer.SetThreaded(false);
    EXPECT_FALSE(timer.WorkerRunning()) << "the event-loop timer needs no worker";
    timer.SetThreaded(true);
    timer.SetOnTimer(nullptr);
    EXPECT_FALSE(timer.WorkerRunning());
}

TEST(TRxTimer, ThreadedSyncTicksOnTheMainThread)
{
    TRxTimer timer;
    int ticks = 0;
    bool offMain = false;
    QObject* sender = nullptr;
    timer.SetInterval(5);
    timer.SetOnTimer([&](QObject* s) {
        ++ticks;
        sender = s;
        offMain = offMain || QThread::currentThread() != QCoreApplication::instance()->thread();
    });
    ASSERT_TRUE(WaitFor([&] { return ticks >= 3; }));
    EXPECT_FALSE(offMain);
    EXPECT_EQ(sender, &timer);
}

TEST(TRxTimer, ThreadedWithoutSyncTicksOnTheWorker)
{
    TRxTimer timer;
    std::atomic<int> ticks{0};
    std::atomic<bool> onMain{false};
    QThread* main = QCoreApplication::instance()->thread();
    timer.SetSyncEvent(false);
    timer.SetInterval(2);
    timer.SetOnTimer([&](QObject*) {
        ++ticks;
        if (QThread::currentThread() == main)
            onMain = true;
    });
    ASSERT_TRUE(WaitFor([&] { return ticks >= 3; }));
    timer.SetEnabled(false);
    int stopped = ticks;
    Pump(30);
    EXPECT_EQ(ticks, stopped) << "no tick after the worker was joined";
    EXPECT_FALSE(onMain);
}

TEST(TRxTimer, EventLoopTimerTicks)
{
    TRxTimer timer;
    timer.SetThreaded(false);
    timer.SetInterval(5);
    int ticks = 0;
    timer.SetOnTimer([&](QObject*) { ++ticks; });
    ASSERT_TRUE(WaitFor([&] { return ticks >= 3; }));
    timer.SetEnabled(false);
    int stopped = ticks;
    Pump(30);
    EXPECT_EQ(ticks, stopped);
}

TEST(TRxTimer, AFailingHandlerIsShownAndTheTimerGoesOn)
{
    for (bool threaded : {false, true}) {
        TRxTimer timer;
        timer.SetThreaded(threaded);
        timer.SetInterval(2);
        int ticks = 0;
        timer.SetOnTimer([&](QObject*) {
            ++ticks;
            throw Exception("Tick failed");
        });
        int shown = 0;
        vx::dialogs::SetAnswerer([&](const vx::dialogs::Request& request) {
            EXPECT_EQ(request.text, "Tick failed");
            ++shown;
            return vx::dialogs::Answer{mrOk};
        });
        EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
        timer.SetEnabled(false);
        vx::dialogs::SetAnswerer(nullptr);
        EXPECT_EQ(shown, ticks);
    }
}

TEST(TRxTimer, NoTickReachesADestroyedTimer)
{
    // Ticks posted to the main thread but not yet handled die with the timer.
    for (bool sync : {true, false}) {
        for (int round = 0; round < 20; ++round) {
            std::atomic<int> ticks{0};
            auto timer = std::make_unique<TRxTimer>();
            timer->SetSyncEvent(sync);
            timer->SetInterval(1);
            timer->SetOnTimer([&](QObject*) { ++ticks; });
            ASSERT_TRUE(WaitFor([&] { return sync || ticks > 0; }));
            QThread::msleep(5); // let posts pile up unhandled
            timer.reset();
            int atDeath = ticks;
            Pump(5);
            EXPECT_EQ(ticks, atDeath) << (sync ? "sync" : "worker");
        }
    }
}

TEST(TRxTimer, HandlerMayDestroyItsTimer)
{
    auto* timer = new TRxTimer();
    int ticks = 0;
    timer->SetInterval(1);
    timer->SetOnTimer([&](QObject*) {
        ++ticks;
        delete timer;
    });
    ASSERT_TRUE(WaitFor([&] { return ticks == 1; }));
    Pump(20);
    EXPECT_EQ(ticks, 1);
}

TEST(TRxTimer, ReconfiguringUnderLoad)
{
    TRxTimer timer;
    std::atomic<int> ticks{0};
    timer.SetSyncEvent(false);
    timer.SetInterval(1);
    timer.SetOnTimer([&](QObject*) { ++ticks; });
    for (int i = 0; i < 50; ++i) {
        timer.SetInterval(1 + i % 3);
        timer.SetThreadPriority(i % 2 ? tpLower : tpNormal);
        timer.SetSyncEvent(i % 2 == 0);
        timer.SetEnabled(i % 5 != 0);
        timer.SetThreaded(i % 7 != 0);
    }
    timer.SetThreaded(true);
    timer.SetEnabled(true);
    timer.SetSyncEvent(false);
    int before = ticks;
    EXPECT_TRUE(WaitFor([&] { return ticks > before; }));
}
