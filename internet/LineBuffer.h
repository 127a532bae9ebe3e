// Bytes received from a peer, cut into whole lines. A line ends at LF; a CR
// before the LF is dropped. A line longer than the limit is refused rather
// than kept growing, so a peer cannot make the reader hold unbounded data.
#pragma once

#include "platform/Exception.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

VX_DECLARE_EXCEPTION(ELineTooLong, Exception);

class TLineBuffer {
public:
    explicit TLineBuffer(std::size_t maxLine = 4096) : maxLine_(maxLine) {}

    // Raises ELineTooLong when a line, finished or not, passes the limit.
    void Append(std::string_view bytes);
    // The next whole line, or nothing while the line is still unfinished.
    std::optional<std::string> TakeLine();
    // Bytes of an unfinished line (what a peer sent before closing without LF).
    const std::string& Pending() const { return pending_; }

private:
    std::size_t maxLine_;
    std::string pending_;
};
