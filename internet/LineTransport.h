// A connection to a line-oriented peer (SMTP): text goes out as given, replies
// come back as whole lines. Every wait is bounded by a time-out, and reads by a
// line-length limit; a closed connection, a socket error or a time-out raises
// ENetError with a text the user can read.
#pragma once

#include "platform/Exception.h"

#include <functional>
#include <string>
#include <string_view>

VX_DECLARE_EXCEPTION(ENetError, Exception);

class ILineTransport {
public:
    virtual ~ILineTransport() = default;
    virtual void Connect(const std::string& host, int port) = 0;
    virtual void Send(std::string_view bytes) = 0;
    // The next line without its CR LF.
    virtual std::string ReadLine() = 0;
    virtual void Close() = 0;
    virtual bool Connected() const = 0;
    // The name this machine gives itself, for greetings.
    virtual std::string LocalHostName() const = 0;
};
