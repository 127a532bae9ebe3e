// Fuzz target: the FTP listing reader. Every entry has a non-empty name taken
// from its own line, a size that is not negative, and only links carry a target.
#include "fuzz/FuzzCheck.h"
#include "internet/FtpListing.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = SplitListing(text);
    for (const auto& line : lines)
        VX_FUZZ_CHECK(line.find('\n') == std::string::npos && line.size() <= size);
    for (const TFtpEntry& entry : ParseListing(lines)) {
        VX_FUZZ_CHECK(!entry.Name.empty());
        VX_FUZZ_CHECK(entry.Raw.find(entry.Name) != std::string::npos);
        VX_FUZZ_CHECK(entry.Size >= 0);
        VX_FUZZ_CHECK(entry.Kind == TFtpEntryKind::Link || entry.LinkTarget.empty());
        VX_FUZZ_CHECK(text.find(entry.Raw) != std::string_view::npos);
    }
    return 0;
}
