// The fetcher on libcurl's multi interface: up to Parallel requests of a
// batch run at once. The proxy is the one given, or else the one libcurl
// takes from the http_proxy environment variable.
#pragma once

#include "internet/HttpFetcher.h"

class TCurlHttpFetcher : public IHttpFetcher {
public:
    TCurlHttpFetcher();
    std::vector<TFetchReply> FetchAll(const std::vector<TFetchRequest>& requests) override;

    std::string Proxy;
    int ProxyPort = 0;
    int Parallel = 16;
    int TimeOutMs = 20000;
    std::int64_t MaxBody = 8 << 20;
    // Run while requests are in flight, so a window stays responsive.
    std::function<void()> Idle;
};
