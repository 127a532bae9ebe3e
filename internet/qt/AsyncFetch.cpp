// Requests moved on by the event loop.
#include "internet/qt/AsyncFetch.h"

namespace {
// Short enough that a transfer moves on as fast as the server answers.
constexpr int kTickMs = 10;
}

TAsyncFetch::TAsyncFetch(QObject* parent) : QObject(parent)
{
    fetcher_.OnEvent = [this](std::uint64_t, THttpEvent event) {
        if (OnEvent)
            OnEvent(event);
    };
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

void TAsyncFetch::Start(const TFetchRequest& request)
{
    Cancel();
    fetcher_.Submit(0, request);
    timer_.start();
    Tick();
}

void TAsyncFetch::Cancel()
{
    timer_.stop();
    fetcher_.CancelAll();
}

void TAsyncFetch::Tick()
{
    for (auto& [id, reply] : fetcher_.Step(0)) {
        timer_.stop();
        if (OnDone)
            OnDone(reply);
    }
}
