// Optimisation of the frames themselves: each frame compared with what lies
// below it on the screen draws only what it changes.
#include "images/GIFAppExtension.h"
#include "images/GIFCanvas.h"
#include "images/GIFCodeChoice.h"
#include "images/GIFEncodedSizes.h"
#include "images/GIFEncoder.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFOptimizePhases.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace {

constexpr int kRestoreBackground = 2;
constexpr int kRestorePrevious = 3;
constexpr int kMaxColors = 256;
// The code sizes an encoder starts from: what it makes of any other.
constexpr int kMinCodeBits = 2;
constexpr int kMaxCodeBits = 8;

TGIFGraphicControlExtension& ControlOf(TGIFSubImage& f)
{
    if (!f.GraphicControlExtension())
        f.Extensions().Add(std::make_unique<TGIFGraphicControlExtension>(f));
    return *f.GraphicControlExtension();
}

// Stands for the transparent index among a frame's colours: no canvas pixel equals it.
constexpr TCanvasPixel kNoColor = 0xFFFFFFFF;

// The colours of the frame's indices, its transparent index standing for none.
TIndexColors DrawnColors(const TGIFSubImage& frame)
{
    TIndexColors colors = FrameColors(frame);
    if (const int clear = FrameTransparentIndex(frame); clear >= 0)
        colors[static_cast<size_t>(clear)] = kNoColor;
    return colors;
}

// Calls f(indices, below, count, x, y) for each row of the frame's pixels that lie
// on the canvas: count of them from frame column x of frame row y, over the
// canvas pixels below them.
template <class F>
void ForEachRow(TGIFSubImage& frame, const TGIFCanvas& canvas, F f)
{
    const TScreenArea area = canvas.Clip(frame);
    if (area.Empty())
        return;
    const int x = area.left - frame.Left();
    for (int screenY = area.top; screenY < area.bottom; ++screenY) {
        const int y = screenY - frame.Top();
        std::uint8_t* indices = frame.MutableData().data() + static_cast<size_t>(y) * frame.Width() + x;
        f(indices, canvas.Row(area.left, screenY), area.Width(), x, y);
    }
}

// An index no pixel of the frame holds, or a new entry; -1 when the table is full.
int FreeIndex(TGIFSubImage& frame)
{
    std::array<bool, kMaxColors> used{};
    for (std::uint8_t index : frame.Data())
        used[index] = true;
    TGIFColorMap& table = frame.ActiveColorMap();
    for (int i = 0; i < table.Count(); ++i)
        if (!used[static_cast<size_t>(i)])
            return i;
    return table.Count() < kMaxColors ? table.Add(TGIFColor{}) : -1;
}

// Pixels that repeat what is below become transparent.
void Merge(TGIFSubImage& frame, const TGIFCanvas& below)
{
    const TIndexColors colors = DrawnColors(frame);
    bool any = false;
    ForEachRow(frame, below, [&](const std::uint8_t* indices, const TCanvasPixel* under, int count, int, int) {
        for (int i = 0; i < count && !any; ++i)
            any = colors[indices[i]] == under[i];
    });
    if (!any)
        return;
    int clear = FrameTransparentIndex(frame);
    if (clear < 0) {
        clear = FreeIndex(frame);
        if (clear < 0)
            return;
        TGIFGraphicControlExtension& control = ControlOf(frame);
        control.SetTransparent(true);
        control.SetTransparentColorIndexUnchecked(static_cast<std::uint8_t>(clear));
    }
    const auto transparent = static_cast<std::uint8_t>(clear);
    ForEachRow(frame, below, [&](std::uint8_t* indices, const TCanvasPixel* under, int count, int, int) {
        for (int i = 0; i < count; ++i)
            if (colors[indices[i]] == under[i])
                indices[i] = transparent;
    });
    frame.FreeBitmap();
}

// Shrinks the frame to the pixels that change the screen; false when there are none.
// A pixel may be left out when it shows what is below, and when the frame
// restores the background afterwards, that is background already; pixels off
// the canvas stay.
bool Crop(TGIFSubImage& frame, const TGIFCanvas& below)
{
    const int clear = FrameTransparentIndex(frame);
    const bool clearsAfter = FrameDisposal(frame) == kRestoreBackground;
    const TIndexColors colors = DrawnColors(frame);
    auto needless = [&](std::uint8_t index, TCanvasPixel under) {
        if (clearsAfter)
            return index == clear && under == kCanvasBackground;
        return index == clear || colors[index] == under;
    };
    // The frame's columns and rows on the canvas, in its own coordinates.
    const TScreenArea on = below.Clip(frame);
    const int onLeft = on.Empty() ? 0 : on.left - frame.Left();
    const int onRight = on.Empty() ? 0 : on.right - frame.Left();
    const int onTop = on.Empty() ? frame.Height() : on.top - frame.Top();
    const int onBottom = on.Empty() ? frame.Height() : on.bottom - frame.Top();
    const bool offColumns = onLeft > 0 || onRight < frame.Width();
    int left = frame.Width(), right = 0, top = frame.Height(), bottom = 0;
    auto keepRow = [&](int y, int first, int last) {
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
    };
    for (int y = 0; y < frame.Height(); ++y)
        if ((y < onTop || y >= onBottom) && frame.Width() > 0)
            keepRow(y, 0, frame.Width());
    ForEachRow(frame, below, [&](const std::uint8_t* indices, const TCanvasPixel* under, int count, int x, int y) {
        int first = 0;
        while (first < count && needless(indices[first], under[first]))
            ++first;
        int last = count;
        while (last > first && needless(indices[last - 1], under[last - 1]))
            --last;
        const bool drawn = first < last;
        if (drawn || offColumns)
            keepRow(y, onLeft > 0 ? 0 : drawn ? x + first : onRight,
                    onRight < frame.Width() ? frame.Width() : drawn ? x + last : onLeft);
    });
    if (left >= right)
        return false;
    if (left == 0 && top == 0 && right == frame.Width() && bottom == frame.Height())
        return true;
    std::vector<std::uint8_t> cropped;
    cropped.reserve(static_cast<size_t>(right - left) * static_cast<size_t>(bottom - top));
    for (int y = top; y < bottom; ++y)
        cropped.insert(cropped.end(), frame.ScanLine(y) + left, frame.ScanLine(y) + right);
    frame.SetBounds(frame.Left() + left, frame.Top() + top, right - left, bottom - top);
    frame.MutableData() = std::move(cropped);
    frame.FreeBitmap();
    return true;
}

// The lowest index of each colour of a frame's table, found by open addressing.
class TIndexOfColor {
public:
    TIndexOfColor(const TIndexColors& colors, int count, int clear)
    {
        slots_.fill(TSlot{kNoColor, -1});
        for (int i = count - 1; i >= 0; --i)
            if (i != clear)
                slots_[SlotOf(colors[static_cast<size_t>(i)])] =
                    TSlot{colors[static_cast<size_t>(i)], static_cast<std::int16_t>(i)};
    }
    // -1 when no index shows the colour.
    int operator()(TCanvasPixel color) const { return slots_[SlotOf(color)].index; }

private:
    struct TSlot {
        TCanvasPixel color;
        std::int16_t index;
    };
    // Four times the largest table: probes stay short.
    static constexpr size_t kSlots = 1024;
    // The slot that holds the colour, or the empty one where it would go.
    size_t SlotOf(TCanvasPixel color) const
    {
        size_t at = (color * 0x9E3779B1u) >> 22;
        while (slots_[at].color != kNoColor && slots_[at].color != color)
            at = (at + 1) & (kSlots - 1);
        return at;
    }
    std::array<TSlot, kSlots> slots_;
};

// The code size the writer takes for the pixels: what the highest index needs.
int WrittenCodeBits(const std::vector<std::uint8_t>& pixels)
{
    return TGIFColorMap::BitsFor(*std::max_element(pixels.begin(), pixels.end()) + 1);
}

// The size of the image data the encoder writes for the pixels, as the writer will.
std::int64_t EncodedSize(TGIFEncoder& encoder, const TGIFSubImage& frame, const std::vector<std::uint8_t>& pixels,
                         bool interlaced)
{
    const int codeBits = WrittenCodeBits(pixels);
    TMemoryByteStream data;
    encoder.Encode(data, codeBits, 1 << codeBits, pixels.data(), interlaced, frame.Width(), frame.Height());
    return static_cast<std::int64_t>(data.Data().size());
}

// The encoders frames are weighed with, made once for the walk: the one the
// image writes with, and the LZW encoder that chooses between indices (the
// same when the image writes LZW).
class TWeighing {
public:
    explicit TWeighing(TGIFImage& image)
        : writer_(MakeEncoder(&image)), chooser_(dynamic_cast<TLZWEncoder*>(writer_.get()))
    {
        if (!chooser_) {
            ownChooser_ = std::make_unique<TLZWEncoder>(&image);
            chooser_ = ownChooser_.get();
        }
    }
    TGIFEncoder& Writer() { return *writer_; }
    TLZWEncoder& Chooser() { return *chooser_; }
    // What the chooser writes is what the writer would.
    bool ChooserWrites() const { return chooser_ == writer_.get(); }

private:
    std::unique_ptr<TGIFEncoder> writer_;
    TLZWEncoder* chooser_;
    std::unique_ptr<TLZWEncoder> ownChooser_;
};

// Pixels that look the same transparent or in their colour take what encodes smaller.
void ChooseIndices(TGIFSubImage& frame, const TGIFCanvas& below, TWeighing& weighing, TEncodedSizes& sizes)
{
    const int clear = FrameTransparentIndex(frame);
    if (clear < 0)
        return;
    const TIndexColors colors = DrawnColors(frame);
    const TIndexOfColor indexOf(colors, frame.ActiveColorMap().Count(), clear);
    const auto transparent = static_cast<std::uint8_t>(clear);
    std::vector<std::int16_t> alternative(frame.Data().size(), -1);
    bool choices = false;
    ForEachRow(frame, below, [&](std::uint8_t* indices, const TCanvasPixel* under, int count, int x, int y) {
        std::int16_t* other = alternative.data() + static_cast<size_t>(y) * static_cast<size_t>(frame.Width()) + x;
        for (int i = 0; i < count; ++i) {
            if (indices[i] == transparent) {
                other[i] = static_cast<std::int16_t>(indexOf(under[i]));
            } else if (colors[indices[i]] == under[i]) {
                // Transparent is tried first: large unchanged areas then read as one run.
                other[i] = indices[i];
                indices[i] = transparent;
            }
            choices = choices || other[i] >= 0;
        }
    });
    if (!choices)
        return;
    // Each way of choosing wins on some pictures: the one that encodes smallest is kept.
    const bool interlaced = frame.Interlaced() && frame.ColorMap().Count() == 0;
    // The code size the dictionary starts from: what the highest index either way needs.
    int highest = *std::max_element(frame.Data().begin(), frame.Data().end());
    highest = std::max<int>(highest, *std::max_element(alternative.begin(), alternative.end()));
    const int bits = TGIFColorMap::BitsFor(highest + 1);
    std::vector<std::vector<std::uint8_t>> tried;
    std::int64_t bestSize = -1;
    size_t best = 0;
    auto consider = [&](std::vector<std::uint8_t> pixels, std::int64_t knownSize) {
        // The same pixels chosen another way encode no smaller.
        if (std::find(tried.begin(), tried.end(), pixels) != tried.end())
            return;
        const std::int64_t size =
            knownSize >= 0 ? knownSize : EncodedSize(weighing.Writer(), frame, pixels, interlaced);
        tried.push_back(std::move(pixels));
        if (bestSize < 0 || size < bestSize) {
            bestSize = size;
            best = tried.size() - 1;
        }
    };
    const int choosingBits = std::clamp(bits, kMinCodeBits, kMaxCodeBits);
    for (TChosenIndices& way : ChooseIndicesForLZW(weighing.Chooser(), frame.Data(), alternative, frame.Width(),
                                                   frame.Height(), bits, interlaced)) {
        // What the chooser wrote is their size, unless the writer takes narrower codes for them.
        const bool sameCodes = weighing.ChooserWrites() &&
                               std::clamp(WrittenCodeBits(way.pixels), kMinCodeBits, kMaxCodeBits) == choosingBits;
        consider(std::move(way.pixels), sameCodes ? way.bytes : -1);
    }
    consider(frame.Data(), -1);
    std::vector<std::uint8_t> colours = frame.Data();
    for (size_t i = 0; i < colours.size(); ++i)
        if (alternative[i] >= 0)
            colours[i] = static_cast<std::uint8_t>(alternative[i]);
    consider(std::move(colours), -1);
    frame.MutableData() = std::move(tried[best]);
    frame.FreeBitmap();
    sizes.Add(frame, std::clamp(WrittenCodeBits(frame.Data()), kMinCodeBits, kMaxCodeBits), interlaced, bestSize);
}

bool HasLoop(TGIFSubImage& frame)
{
    for (int e = 0; e < frame.Extensions().Count(); ++e)
        if (dynamic_cast<TGIFAppExtNSLoop*>(&frame.Extensions().Extension(e)))
            return true;
    return false;
}

// Viewers show a delay below 2 hundredths for a tenth of a second.
constexpr int kShortestDelay = 2;

int DelayOf(const TGIFSubImage& frame)
{
    return frame.GraphicControlExtension() ? frame.GraphicControlExtension()->Delay() : 0;
}

// A frame that changes nothing may go when the time it shows is the frame
// before's, and both delays are ones every viewer keeps as they are, so that
// the frame before showing for both together shows as long everywhere.
bool MayDelete(TGIFImage& image, int index)
{
    if (index == 0)
        return false;
    TGIFSubImage& frame = image.Images().SubImage(index);
    const TGIFSubImage& previous = image.Images().SubImage(index - 1);
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    const int disposal = FrameDisposal(previous);
    return control && !control->UserInput() && !HasLoop(frame) && !previous.Empty() &&
           disposal != kRestoreBackground && disposal != kRestorePrevious && DelayOf(frame) >= kShortestDelay &&
           DelayOf(previous) >= kShortestDelay &&
           DelayOf(previous) + DelayOf(frame) <= std::numeric_limits<std::uint16_t>::max();
}

} // namespace

std::vector<int> RewriteFrames(TGIFImage& image, bool merge, bool crop, TEncodedSizes& sizes, const TFrameDone& done)
{
    std::vector<int> invisible;
    TWeighing weighing(image);
    WalkFrames(image, [&](int index, const TGIFCanvas& below) {
        TGIFSubImage& frame = image.Images().SubImage(index);
        done();
        // A frame drawn with indices past its table shows what each viewer guesses: it stays as it is.
        if (!FrameIsSound(frame))
            return;
        if (merge)
            Merge(frame, below);
        if (crop && !Crop(frame, below)) {
            invisible.push_back(index);
            return;
        }
        if (merge)
            ChooseIndices(frame, below, weighing, sizes);
    });
    return invisible;
}

void DeleteInvisibleFrames(TGIFImage& image, const std::vector<int>& invisible)
{
    for (auto it = invisible.rbegin(); it != invisible.rend(); ++it) {
        const int index = *it;
        if (!MayDelete(image, index))
            continue;
        const int delay = DelayOf(image.Images().SubImage(index));
        image.Images().Delete(index);
        TGIFGraphicControlExtension& control = *image.Images().SubImage(index - 1).GraphicControlExtension();
        control.SetDelay(static_cast<std::uint16_t>(control.Delay() + delay));
    }
}
