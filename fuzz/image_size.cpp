// Fuzz target: the GIF, JPEG and PNG size readers. None may read past its
// input or throw; a size once found depends only on the bytes read up to it,
// so bytes added after the input never change it.
#include "fuzz/FuzzCheck.h"
#include "tools/ImageSize.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    for (auto reader : {vx::tools::GetGifSize, vx::tools::GetJpegSize, vx::tools::GetPngSize}) {
        std::istringstream in(input);
        const auto found = reader(in);
        if (!found)
            continue;
        std::istringstream longer(input + std::string(64, '\xFF'));
        VX_FUZZ_CHECK(reader(longer) == found);
    }
    return 0;
}
