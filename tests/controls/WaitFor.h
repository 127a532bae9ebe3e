// Runs the event loop until a condition holds or a generous limit passes, for
// tests of components that report from worker threads or timers.
#pragma once

#include "tests/support/Patience.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace vx::test {

// True when condition() became true within limitMs.
inline bool WaitFor(const std::function<bool()>& condition, int limitMs = kPatienceMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for ms milliseconds.
inline void Pump(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

} // namespace vx::test
