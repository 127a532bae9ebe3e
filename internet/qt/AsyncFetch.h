// One HTTP request at a time for a window that goes on taking input while it
// runs: a timer of the event loop moves the transfer on, and what it does and
// how it ended come back through callbacks on the user-interface thread.
#pragma once

#include "internet/CurlHttpFetcher.h"

#include <QObject>
#include <QTimer>

#include <functional>

class TAsyncFetch : public QObject {
public:
    explicit TAsyncFetch(QObject* parent = nullptr);

    // Proxy, time-out and size limit of the requests.
    TCurlHttpFetcher& Fetcher() { return fetcher_; }
    // Starts the request; a request still running is dropped first.
    void Start(const TFetchRequest& request);
    // Drops the running request; OnDone is not called for it.
    void Cancel();
    bool Busy() const { return timer_.isActive(); }

    std::function<void(THttpEvent event)> OnEvent;
    std::function<void(const TFetchReply& reply)> OnDone;

private:
    void Tick();

    TCurlHttpFetcher fetcher_;
    QTimer timer_;
};
