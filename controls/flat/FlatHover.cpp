// Class-wide hover timer of the flat check box and speed button.
#include "controls/flat/FlatHover.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>
#include <QWidget>

TFlatHoverTracker::TFlatHoverTracker() = default;
TFlatHoverTracker::~TFlatHoverTracker() = default;

void TFlatHoverTracker::Attach()
{
    if (count_++ == 0) {
        timer_ = std::make_unique<QTimer>();
        timer_->setInterval(Interval);
        QObject::connect(timer_.get(), &QTimer::timeout, [this] { Tick(); });
    }
}

void TFlatHoverTracker::Detach(TFlatHoverClient* client)
{
    if (owner_ == client) {
        if (timer_)
            timer_->stop();
        owner_ = nullptr;
    }
    if (--count_ == 0)
        timer_.reset();
}

void TFlatHoverTracker::MouseMoved(TFlatHoverClient* client, bool inside)
{
    if (owner_ == client || !inside)
        return;
    if (owner_)
        owner_->MouseLeave();
    if (!QApplication::activeWindow())
        return;
    timer_->stop();
    owner_ = client;
    timer_->start();
    client->MouseEnter();
}

void TFlatHoverTracker::Tick()
{
    if (!owner_)
        return;
    QWidget* under = QApplication::widgetAt(QCursor::pos());
    if (under != owner_->HoverWidget())
        owner_->MouseLeave();
}

void TFlatHoverTracker::Release(TFlatHoverClient* client)
{
    if (owner_ != client)
        return;
    if (timer_)
        timer_->stop();
    owner_ = nullptr;
}

bool TFlatHoverTracker::Running() const
{
    return timer_ && timer_->isActive();
}
