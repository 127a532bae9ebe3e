// Fuzz target: a page's own declaration of its character set. What is found
// is a character set browsers know by that name (the one that stands for the
// labels browsers refuse to decode excepted), never UTF-16, which the page's
// own bytes could not have declared, and nothing is found in a page that
// never says "charset".
#include "fuzz/FuzzCheck.h"
#include "platform/AnsiText.h"
#include "platform/CharsetLabels.h"
#include "platform/DeclaredCharset.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string_view> charset = vx::DeclaredCharset(page);
    if (!charset)
        return 0;
    VX_FUZZ_CHECK(*charset == "replacement" || vx::CharsetOfLabel(*charset) == charset);
    VX_FUZZ_CHECK(*charset != "UTF-16LE" && *charset != "UTF-16BE" && *charset != "x-user-defined");
    VX_FUZZ_CHECK(vx::LowerCase(page).find("charset") != std::string::npos);
    return 0;
}
