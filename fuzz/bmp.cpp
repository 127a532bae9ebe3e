// Fuzz target: BMP files taken into a TGIFBitmap. A file is taken whole or
// refused with EInvalidGraphic; a taken picture has every row and a palette that
// its pixel format can index.
#include "fuzz/FuzzCheck.h"
#include "images/GIFBitmap.h"
#include "images/GraphicException.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TGIFBitmap bitmap;
    try {
        bitmap.LoadFromBMP(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EInvalidGraphic&) {
        VX_FUZZ_CHECK(bitmap.Empty());
        return 0;
    }
    VX_FUZZ_CHECK(!bitmap.Empty());
    const int format = static_cast<int>(bitmap.PixelFormat());
    VX_FUZZ_CHECK(format == 24 ? bitmap.Palette.empty() : bitmap.Palette.size() <= (1u << format));
    // Every byte of every row is there to be read (the sanitizer checks the reads).
    unsigned sum = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Stride(); ++x)
            sum += bitmap.ScanLine(y)[x];
    VX_FUZZ_CHECK(sum <= 255u * bitmap.Stride() * bitmap.Height());
    return 0;
}
