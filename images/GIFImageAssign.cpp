// Copying a GIF image, and turning a bitmap into a frame of one.
#include "images/GIFGraphicControl.h"
#include "images/GIFException.h"
#include "images/GIFImage.h"
#include "images/GIFReduce.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kMaxColors = 256;
constexpr int kConvertProgressRows = 32;

// Finds a colour in the local table, looking at the 8 most recent first, and adds it when new.
class TColorFinder {
public:
    explicit TColorFinder(TGIFColorMap& table) : table_(table) { recent_.fill({TGIFColor{}, -1}); }
    int IndexOf(TGIFColor colour)
    {
        for (const auto& [c, index] : recent_)
            if (index >= 0 && c == colour)
                return index;
        int index = table_.IndexOf(colour);
        if (index < 0)
            index = table_.Add(colour);
        recent_[next_] = {colour, index};
        next_ = (next_ + 1) % recent_.size();
        return index;
    }

private:
    TGIFColorMap& table_;
    std::array<std::pair<TGIFColor, int>, 8> recent_;
    size_t next_ = 0;
};

int CountColors(const TGIFBitmap& bitmap)
{
    std::vector<bool> seen(1 << 24);
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width() && count <= kMaxColors; ++x) {
            const size_t key = static_cast<size_t>(row[x * 3] | row[x * 3 + 1] << 8 | row[x * 3 + 2] << 16);
            if (!seen[key]) {
                seen[key] = true;
                ++count;
            }
        }
    }
    return count;
}

} // namespace

void TGIFImage::Assign(const TGIFImage& source)
{
    if (&source == this)
        return;
    Clear();
    // The copy reports through the source's handlers while it is made, and keeps none.
    OnProgress = source.OnProgress;
    OnWarning = source.OnWarning;
    const std::string message = "Copying...";
    Progress(TProgressStage::psStarting, 0, message);
    try {
        header_.LogicalScreenWidth = source.header_.LogicalScreenWidth;
        header_.LogicalScreenHeight = source.header_.LogicalScreenHeight;
        header_.BackgroundColorIndex = source.header_.BackgroundColorIndex;
        header_.AspectRatio = source.header_.AspectRatio;
        header_.ColorMap().Assign(source.header_.ColorMap());
        DrawOptions = source.DrawOptions;
        ColorReduction = source.ColorReduction;
        DitherMode = source.DitherMode;
        ThreadPriority = source.ThreadPriority;
        BackgroundColor = source.BackgroundColor;
        const int count = source.images_.Count();
        for (int i = 0; i < count; ++i) {
            auto frame = std::make_unique<TGIFSubImage>(this);
            TGIFSubImage& added = Add(std::move(frame));
            added.Assign(source.images_.SubImage(i));
            Progress(TProgressStage::psRunning, (i + 1) * 100 / count, message);
        }
    } catch (...) {
        Progress(TProgressStage::psEnding, 0, message);
        OnProgress = nullptr;
        OnWarning = nullptr;
        throw;
    }
    Progress(TProgressStage::psEnding, 100, message);
    OnProgress = nullptr;
    OnWarning = nullptr;
}

TGIFSubImage& TGIFImage::AddBitmap(const TGIFBitmap& source, const TGIFBitmap* mask)
{
    const std::string message = "Converting...";
    TGIFBitmap reducedCopy;
    const TGIFBitmap* bitmap = &source;
    if (source.PixelFormat() == TPixelFormat::pf24bit && CountColors(source) > kMaxColors) {
        std::unique_ptr<TGIFBitmap> reduced = ReduceColors(source, ColorReduction, DitherMode, {}, ReductionBits);
        // A reduction that needs a palette of the caller's, or none known, gives no picture.
        if (reduced->Empty())
            throw GIFException(TMessage(InvalidReductionMethod, {}));
        reducedCopy = *reduced;
        bitmap = &reducedCopy;
    }
    TGIFSubImage& frame = Add(std::make_unique<TGIFSubImage>(this));
    frame.SetBounds(0, 0, bitmap->Width(), bitmap->Height());
    Progress(TProgressStage::psStarting, 0, message);
    TColorFinder finder(frame.ColorMap());
    if (bitmap->PixelFormat() != TPixelFormat::pf24bit)
        frame.ColorMap().ImportPalette(bitmap->Palette);
    for (int y = 0; y < bitmap->Height(); ++y) {
        const std::uint8_t* row = bitmap->ScanLine(y);
        std::uint8_t* out = frame.ScanLine(y);
        for (int x = 0; x < bitmap->Width(); ++x)
            switch (bitmap->PixelFormat()) {
            case TPixelFormat::pf8bit: out[x] = row[x]; break;
            case TPixelFormat::pf1bit: out[x] = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
            case TPixelFormat::pf24bit:
                out[x] = static_cast<std::uint8_t>(finder.IndexOf(TGIFColor{row[x * 3 + 2], row[x * 3 + 1], row[x * 3]}));
                break;
            }
        if ((y + 1) % kConvertProgressRows == 0)
            Progress(TProgressStage::psRunning, (y + 1) * 100 / bitmap->Height(), message);
    }
    Progress(TProgressStage::psEnding, 100, message);
    if (!mask || frame.ColorMap().Count() == 0 || frame.ColorMap().Count() >= kMaxColors)
        return frame;
    // Masked pixels take a colour of their own, kept only when a pixel is masked.
    const int clear = frame.ColorMap().Add(TGIFColor{});
    bool any = false;
    for (int y = 0; y < frame.Height() && y < mask->Height(); ++y)
        for (int x = 0; x < frame.Width() && x < mask->Width(); ++x)
            if ((mask->ScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1) {
                frame.ScanLine(y)[x] = static_cast<std::uint8_t>(clear);
                any = true;
            }
    if (!any) {
        frame.ColorMap().Delete(clear);
        return frame;
    }
    auto control = std::make_unique<TGIFGraphicControlExtension>(frame);
    control->SetTransparent(true);
    control->SetTransparentColorIndexUnchecked(static_cast<std::uint8_t>(clear));
    frame.Extensions().Add(std::move(control));
    return frame;
}

void TGIFImage::AssignTo(TGIFBitmap& bitmap)
{
    bitmap = TGIFBitmap(Width(), Height(), TPixelFormat::pf24bit);
    TGIFColor back{255, 255, 255};
    if (header_.BackgroundColorIndex < header_.ColorMap().Count())
        back = header_.ColorMap().Data()[header_.BackgroundColorIndex];
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            std::uint8_t* p = bitmap.ScanLine(y) + x * 3;
            p[0] = back.Blue;
            p[1] = back.Green;
            p[2] = back.Red;
        }
    if (images_.Count() == 0 || images_.SubImage(0).Empty())
        return;
    TGIFSubImage& frame = images_.SubImage(0);
    const TGIFColorMap& table = frame.ActiveColorMap();
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    const int clear = control && control->Transparent() ? control->TransparentColorIndex() : -1;
    for (int y = 0; y < frame.Height() && frame.Top() + y < bitmap.Height(); ++y)
        for (int x = 0; x < frame.Width() && frame.Left() + x < bitmap.Width(); ++x) {
            const int index = frame.ScanLine(y)[x];
            if (index == clear || index >= table.Count())
                continue;
            const TGIFColor c = table.Data()[index];
            std::uint8_t* p = bitmap.ScanLine(frame.Top() + y) + (frame.Left() + x) * 3;
            p[0] = c.Blue;
            p[1] = c.Green;
            p[2] = c.Red;
        }
}
