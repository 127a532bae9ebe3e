// Whole-file reading and atomic writing. Every file that holds user data is
// written to a temporary file in the same folder and renamed over the old one,
// so a crash or a full disk never leaves a half-written file behind.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Reads the whole file byte for byte. Raises EFOpenError "Cannot open file <path>"
// when it cannot be opened and EReadError when reading fails.
std::string ReadWholeFile(const std::string& path);

// Writes data to path atomically (temporary file in the same folder, flushed,
// then renamed). Raises EFCreateError "Cannot create file <path>" or EWriteError
// and leaves the old file untouched on failure.
void WriteFileAtomic(const std::string& path, std::string_view data);

bool FileExists(const std::string& path);

} // namespace vx
