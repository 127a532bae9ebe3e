// Fuzz target: the macro-recording reader. A file is a recording exactly when
// its size is a whole number of event records; every record of one reads back
// and writes out to the same bytes.
#include "fuzz/FuzzCheck.h"
#include "platform/Exception.h"
#include "platform/JournalEvent.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vx::recorder;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    try {
        CheckRecording(file, "fuzz.asr");
    } catch (const EReadError&) {
        VX_FUZZ_CHECK(size % EventSize != 0);
        return 0;
    }
    VX_FUZZ_CHECK(size % EventSize == 0);
    std::string written;
    for (std::size_t at = 0; at < size; at += EventSize) {
        const TEventMsg event = EventAt(file, at);
        AppendEvent(written, event);
    }
    VX_FUZZ_CHECK(written == file);
    return 0;
}
