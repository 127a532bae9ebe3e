// The HTTP fetcher on one libcurl multi handle that lives as long as the
// fetcher: connections to a server stay open between requests (keep-alive)
// and are used again, and each server gets requests only as fast as its
// THostGate allows, at most Parallel at once over all servers. No request
// waits longer than TimeOutMs, and a body longer than MaxBody fails its
// request. The proxy is the one given, or else the one libcurl takes from the
// http_proxy variable.
#pragma once

#include "internet/ConnectionSockets.h"
#include "internet/HttpFetcher.h"

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class THostGate;

class TCurlHttpFetcher {
public:
    TCurlHttpFetcher();
    ~TCurlHttpFetcher();
    TCurlHttpFetcher(const TCurlHttpFetcher&) = delete;
    TCurlHttpFetcher& operator=(const TCurlHttpFetcher&) = delete;

    std::string Proxy;
    int ProxyPort = 0;
    // Requests running at once, over all servers.
    int Parallel = 16;
    int TimeOutMs = 20000;
    std::int64_t MaxBody = 8 << 20;
    int MaxRedirects = 10;
    // Run while FetchAll waits, so a window stays responsive.
    std::function<void()> Idle;
    // What each request is doing; requests submitted while it is set report.
    std::function<void(std::uint64_t id, THttpEvent event)> OnEvent;

    using TDone = std::pair<std::uint64_t, TFetchReply>;

    // Queues a request under the caller's id; it starts when its server's gate allows.
    void Submit(std::uint64_t id, TFetchRequest request);
    // Moves the requests on for at most waitMs and hands back those that ended.
    std::vector<TDone> Step(int waitMs);
    // Drops every request not handed back yet.
    void CancelAll();
    // The same for every request but the one with the id keep.
    void CancelAllBut(std::uint64_t keep);
    // Requests submitted and not handed back yet.
    std::size_t Outstanding() const { return pending_.size() + running_.size() + done_.size(); }

    // The requests run to their end; the replies in the order asked.
    std::vector<TFetchReply> FetchAll(const std::vector<TFetchRequest>& requests);
    TFetchReply Fetch(const TFetchRequest& request) { return FetchAll({request}).front(); }

    // How often a dropped or refused connection is tried again before the request fails.
    static constexpr int kMaxRetries = 3;

private:
    struct TTransfer;
    friend struct TFetchCallbacks;

    THostGate& Gate(const std::string& host);
    void CancelWhere(const std::function<bool(std::uint64_t id)>& drop);
    void StartPending();
    void Start(std::unique_ptr<TTransfer> transfer);
    // Moves the transfers on without waiting and collects those that ended.
    void Pump();
    // False when the request is to be asked again.
    bool Finish(TTransfer& transfer, int result);
    void Report(TTransfer& transfer, THttpEvent event);

    TConnectionSockets sockets_;
    void* multi_ = nullptr;
    std::map<std::string, std::unique_ptr<THostGate>> gates_;
    std::list<std::unique_ptr<TTransfer>> pending_;
    std::vector<std::unique_ptr<TTransfer>> running_;
    std::vector<TDone> done_;
    std::vector<std::pair<std::uint64_t, THttpEvent>> events_;
    std::uint64_t nextOwnId_ = 0;
};
