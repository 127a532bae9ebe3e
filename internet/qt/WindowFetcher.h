// The HTTP fetcher of a window that fetches one page at a time: while the
// request runs the window repaints, but takes no input that could start
// another request.
#pragma once

#include "internet/CurlHttpFetcher.h"

#include <memory>

std::unique_ptr<TCurlHttpFetcher> NewWindowFetcher();
