// Fuzz target: a GIF stream read into the animator's image, every frame decoded,
// written and read back. Only the picture exceptions may escape; what the writer
// makes from a file the reader took must read back to the same frames.
#include "fuzz/FuzzCheck.h"
#include "images/GIFStream.h"
#include "images/GraphicException.h"
#include "images/RxGIF.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct FrameShape {
    int left, top, width, height;
    std::vector<std::uint8_t> rows;
    int delay, disposal, transparent;
    bool operator==(const FrameShape&) const = default;
};

// Frames past this many pixels are left undecoded, to keep each run short: the
// decoder does not depend on the size beyond the buffers it fills.
constexpr std::int64_t kDecodedPixels = 1 << 20;

// The decodable frames; false when one of them cannot be decoded.
bool Frames(RxGIF::TGIFImage& image, std::vector<FrameShape>& frames)
{
    for (int i = 0; i < image.Count(); ++i) {
        RxGIF::TGIFFrame& frame = image.Frame(i);
        if (static_cast<std::int64_t>(frame.Width()) * frame.Height() > kDecodedPixels) {
            frames.push_back(FrameShape{frame.Left(), frame.Top(), frame.Width(), frame.Height(), {}, frame.Delay() / 10,
                                        frame.Disposal(), frame.TransparentIndex()});
            continue;
        }
        try {
            const TGIFBitmap& bitmap = frame.Bitmap();
            VX_FUZZ_CHECK(!frame.FrameData()->HasData() ||
                          (bitmap.Width() == frame.Width() && bitmap.Height() == frame.Height()));
            FrameShape shape{frame.Left(), frame.Top(), bitmap.Width(), bitmap.Height(), {}, frame.Delay() / 10,
                             frame.Disposal(), frame.TransparentIndex()};
            for (int y = 0; y < bitmap.Height(); ++y)
                shape.rows.insert(shape.rows.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.Stride());
            frames.push_back(std::move(shape));
        } catch (const EInvalidGraphicOperation&) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RxGIF::TGIFImage image;
    TMemoryByteStream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        image.ReadStream(static_cast<std::int64_t>(size), in, false);
    } catch (const EInvalidGraphicOperation&) {
        return 0;
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    std::vector<FrameShape> before;
    if (!Frames(image, before))
        return 0;
    TMemoryByteStream out;
    try {
        image.SaveToStream(out);
    } catch (const EInvalidGraphicOperation&) {
        return 0;
    }
    RxGIF::TGIFImage again;
    TMemoryByteStream back(out.Data());
    again.ReadStream(back.Size(), back, false);
    std::vector<FrameShape> after;
    VX_FUZZ_CHECK(Frames(again, after));
    VX_FUZZ_CHECK(after == before);
    return 0;
}
