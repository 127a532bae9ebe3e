// Fuzz target: the reader of a query's stored parameter list. Damaged data may
// be refused with an exception of the program; what it accepts writes back in
// the wide form to bytes that read back to the same bytes.
#include "database/mParams.h"
#include "fuzz/FuzzCheck.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TmParams params;
    try {
        params.ReadBinaryData(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const Exception&) {
        return 0;
    }
    const std::string written = params.WriteBinaryData(2);
    TmParams again;
    again.ReadBinaryData(written);
    VX_FUZZ_CHECK(again.Count() == params.Count());
    VX_FUZZ_CHECK(again.WriteBinaryData(2) == written);
    return 0;
}
