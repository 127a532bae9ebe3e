// HTTP GET and HEAD requests and their replies, as the link checker, the
// structure viewer, Open URL and the update check make them. Each reply says
// whether the request completed, and with what status, media type and body,
// or why it did not.
#pragma once

#include "platform/Wording.h"

#include <string>

struct TFetchRequest {
    std::string Url;
    bool Head = false;
};

// Why no usable reply arrived.
enum class TFetchFailure {
    None,
    // The host name could not be resolved.
    InvalidHost,
    // Refused, unreachable, reset, or no HTTP reply at all.
    ConnectionFailed,
    TimedOut,
    // The body passed the fetcher's size limit; the status is the server's.
    TooLarge,
    // More redirects than the fetcher follows: a redirect loop, as a rule.
    TooManyRedirects,
    Cancelled,
    Other,
};

struct TFetchReply {
    // False when no whole HTTP reply arrived; Failure and Error say why.
    bool Ok = false;
    TFetchFailure Failure = TFetchFailure::Other;
    // The last status the server sent, 0 when none arrived.
    int Status = 0;
    // The Content-Type header as sent, "" without one.
    std::string ContentType;
    std::string Body;
    // Ours, or libcurl's as it came.
    TMessage Error;
};

// What a request is doing, for windows that show its progress.
enum class THttpEvent { HostResolved, Connected, Sent, Received, Redirected };

// True for a 2xx status.
inline bool IsSuccess(int status)
{
    return status >= 200 && status <= 299;
}
// True when the media type, before any ";" parameters, is text/html in any case.
bool IsHtmlContentType(const std::string& contentType);
