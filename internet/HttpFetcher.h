// HTTP GET and HEAD requests as the link checker, the structure viewer and
// the Open URL window make them. A fetcher runs a batch of requests at once
// and answers them in the order asked; each reply says whether the request
// completed, and with what status, media type and body. A body longer than
// the fetcher's limit fails its request, and no request waits longer than
// its time-out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TFetchRequest {
    std::string Url;
    bool Head = false;
};

struct TFetchReply {
    // False when no HTTP reply arrived (refused, time-out, bad address); Error says why.
    bool Ok = false;
    // The host name could not be resolved.
    bool InvalidHost = false;
    int Status = 0;
    // The Content-Type header as sent, "" without one.
    std::string ContentType;
    std::string Body;
    std::string Error;
};

class IHttpFetcher {
public:
    virtual ~IHttpFetcher() = default;
    virtual std::vector<TFetchReply> FetchAll(const std::vector<TFetchRequest>& requests) = 0;
    TFetchReply Fetch(const TFetchRequest& request) { return FetchAll({request}).front(); }
};

// True for a 2xx status.
inline bool IsSuccess(int status)
{
    return status >= 200 && status <= 299;
}
// True when the media type, before any ";" parameters, is text/html in any case.
bool IsHtmlContentType(const std::string& contentType);
