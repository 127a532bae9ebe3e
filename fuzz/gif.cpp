// Fuzz target: a GIF stream read into TGIFImage, its frames rendered, written and
// read back. Only GIFException may escape the reader; what our writer makes from
// a file we read must read back to the same frames.
#include "fuzz/FuzzCheck.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct FrameShape {
    int left, top, width, height;
    std::vector<std::uint8_t> pixels;
    TGIFPalette palette;
    int delay = 0, disposal = 0, transparent = -1;
    bool operator==(const FrameShape&) const = default;
};

std::vector<FrameShape> Frames(TGIFImage& image)
{
    std::vector<FrameShape> frames;
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& sub = image.Images().SubImage(i);
        if (sub.Empty())
            continue;
        FrameShape frame{sub.Left(), sub.Top(), sub.Width(), sub.Height(), sub.Data(),
                         sub.ActiveColorMap().ExportPalette()};
        // A table may be written larger than read, padded with black.
        frame.palette.resize(256);
        if (const TGIFGraphicControlExtension* control = sub.GraphicControlExtension()) {
            frame.delay = control->Delay();
            frame.disposal = control->Disposal();
            frame.transparent = control->Transparent() ? control->TransparentColorIndex() : -1;
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

void Quiet(TGIFImage& image)
{
    image.OnWarning = [](TGIFItem*, TGIFSeverity, const std::string&) {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TGIFImage image;
    Quiet(image);
    TMemoryByteStream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        image.LoadFromStream(in);
    } catch (const GIFException&) {
        VX_FUZZ_CHECK(in.Position() == 0);
        return 0;
    }
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& sub = image.Images().SubImage(i);
        VX_FUZZ_CHECK(sub.Data().size() == static_cast<std::size_t>(sub.Width()) * sub.Height() || sub.Data().empty());
        if (sub.Empty())
            continue;
        try {
            const TGIFBitmap& bitmap = sub.Bitmap();
            VX_FUZZ_CHECK(bitmap.Width() == sub.Width() && bitmap.Height() == sub.Height());
            sub.Mask();
        } catch (const GIFException&) {
        }
    }

    // Both encoders get their share of the inputs.
    image.Compression = static_cast<std::uint8_t>(size % 2);
    TMemoryByteStream out;
    try {
        image.SaveToStream(out);
    } catch (const GIFException&) {
        return 0;
    }
    TGIFImage again;
    Quiet(again);
    TMemoryByteStream back(out.Data());
    again.LoadFromStream(back);
    VX_FUZZ_CHECK(Frames(again) == Frames(image));
    return 0;
}
