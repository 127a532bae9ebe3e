// Reading the version file of the update check: its first line must be a
// build tag of eight digits (blanks around it do not count), compared in
// order with the program's own.
#pragma once

#include "internet/HttpFetcher.h"

#include <string_view>

// The program's build tag: the date of the build as YYYYMMDD.
inline constexpr std::string_view kBuildTag = "20261207";

enum class TUpdateResult { UpdateAvailable, UpToDate, CouldNotCheck };

TUpdateResult ReadVersionReply(const TFetchReply& reply, std::string_view buildTag = kBuildTag);
