// Fuzz target: the date and time patterns a language file's locale block
// brings in. Any pattern formats without a fault, and text in quotes comes
// out as it stands.
#include "fuzz/FuzzCheck.h"
#include "tools/DateTimeText.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string pattern(reinterpret_cast<const char*>(data), size);
    const vx::tools::TClockReading when{2026, 12, 31, 4, 23, 59, 58};
    vx::TFormatSettings settings;
    vx::tools::FormatDateTime(pattern, when, settings);
    // A quoted copy of the pattern (without quote characters) is written literally.
    std::string literal;
    for (char c : pattern)
        if (c != '"' && c != '\'')
            literal.push_back(c);
    VX_FUZZ_CHECK(vx::tools::FormatDateTime("\"" + literal + "\"", when, settings) == literal);
    return 0;
}
