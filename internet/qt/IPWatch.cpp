// The IP watcher's timer around its state.
#include "internet/qt/IPWatch.h"

#include "platform/Exception.h"
#include "platform/ProgramPaths.h"

#include <QTimer>

TIPWatch::TIPWatch(QObject* owner)
    : TIPWatch(owner, std::make_unique<vx::net::TSystemAddressSource>(), vx::UserDataPath("iphist.dat"))
{
}

TIPWatch::TIPWatch(QObject* owner, std::unique_ptr<vx::net::IAddressSource> source, const std::string& historyPath)
    : QObject(owner), state_(std::move(source), historyPath), timer_(new QTimer(this))
{
    timer_->setInterval(interval_);
    connect(timer_, &QTimer::timeout, this, [this] { Tick(); });
    if (enabled_)
        timer_->start();
}

TIPWatch::~TIPWatch()
{
    timer_->stop();
    try {
        state_.Finish();
    } catch (const Exception&) {
        // A read-only program folder loses the history, not the program.
    }
}

void TIPWatch::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    if (value)
        timer_->start();
    else
        timer_->stop();
}

void TIPWatch::SetWatchInterval(int value)
{
    if (value == interval_)
        return;
    interval_ = value;
    timer_->setInterval(value);
}

void TIPWatch::Tick()
{
    if (busy_)
        return;
    busy_ = true;
    bool changed = state_.Tick();
    busy_ = false;
    if (changed && OnStatusChanged)
        OnStatusChanged(this);
}
