// A folder's listing read over a control connection of its own, in binary
// mode. libcurl reads listings in text mode and turns every carriage return
// in them into a line end, which would cut a name holding one in two; here
// the lines come as the server sent them, split only at CR LF or LF.
#pragma once

#include "internet/FtpSession.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Logs in, changes into folder (a path on the server; "" stays in the
// folder the login starts in), lists it and says QUIT. idle runs while it waits and may raise to stop it. Raises
// EFtpRefused when the server refuses a command, EFtpListTimedOut when the
// listing has not come whole within timeLimit, EFtpError for anything else:
// "List stalled: ..." when the listing comes slower than a transfer may.
std::vector<std::string> ListFolderBinary(const TFtpLogin& login, const std::string& folder,
                                          const std::function<void()>& idle, std::size_t maxBytes,
                                          std::chrono::seconds timeLimit);
