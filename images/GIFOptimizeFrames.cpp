// Optimisation of the frames themselves: each frame compared with what lies
// below it on the screen draws only what it changes.
#include "images/GIFAppExtension.h"
#include "images/GIFCanvas.h"
#include "images/GIFCodeChoice.h"
#include "images/GIFEncoder.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFOptimizePhases.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>

namespace {

constexpr int kRestoreBackground = 2;
constexpr int kRestorePrevious = 3;
constexpr int kMaxColors = 256;

TGIFGraphicControlExtension& ControlOf(TGIFSubImage& f)
{
    if (!f.GraphicControlExtension())
        f.Extensions().Add(std::make_unique<TGIFGraphicControlExtension>(f));
    return *f.GraphicControlExtension();
}

// Calls f(x, y, index) for every pixel of the frame that lies on the screen.
template <class F>
void ForEachPixel(TGIFSubImage& frame, const TGIFCanvas& below, F f)
{
    for (int y = 0; y < frame.Height(); ++y) {
        std::uint8_t* row = frame.ScanLine(y);
        for (int x = 0; x < frame.Width(); ++x)
            if (below.Contains(frame.Left() + x, frame.Top() + y))
                f(x, y, row[x]);
    }
}

bool Repeats(const TGIFSubImage& frame, const TGIFCanvas& below, int x, int y, int index)
{
    return FrameColor(frame, index) == below.At(frame.Left() + x, frame.Top() + y);
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
    int clear = FrameTransparentIndex(frame);
    bool any = false;
    ForEachPixel(frame, below, [&](int x, int y, std::uint8_t index) {
        any = any || (index != clear && Repeats(frame, below, x, y, index));
    });
    if (!any)
        return;
    if (clear < 0) {
        clear = FreeIndex(frame);
        if (clear < 0)
            return;
        TGIFGraphicControlExtension& control = ControlOf(frame);
        control.SetTransparent(true);
        control.SetTransparentColorIndexUnchecked(static_cast<std::uint8_t>(clear));
    }
    ForEachPixel(frame, below, [&](int x, int y, std::uint8_t index) {
        if (index != clear && Repeats(frame, below, x, y, index))
            frame.ScanLine(y)[x] = static_cast<std::uint8_t>(clear);
    });
    frame.FreeBitmap();
}

// Whether the pixel may be left out of the frame: it shows what is below, and
// when the frame restores the background afterwards, that is background already.
bool Needless(const TGIFSubImage& frame, const TGIFCanvas& below, int x, int y, int index, int clear)
{
    const int sx = frame.Left() + x, sy = frame.Top() + y;
    if (!below.Contains(sx, sy))
        return false;
    if (FrameDisposal(frame) == kRestoreBackground)
        return index == clear && below.At(sx, sy) == kCanvasBackground;
    return index == clear || Repeats(frame, below, x, y, index);
}

// Shrinks the frame to the pixels that change the screen; false when there are none.
bool Crop(TGIFSubImage& frame, const TGIFCanvas& below)
{
    const int clear = FrameTransparentIndex(frame);
    int left = frame.Width(), right = 0, top = frame.Height(), bottom = 0;
    for (int y = 0; y < frame.Height(); ++y) {
        const std::uint8_t* row = frame.ScanLine(y);
        for (int x = 0; x < frame.Width(); ++x) {
            if (Needless(frame, below, x, y, row[x], clear))
                continue;
            left = std::min(left, x);
            right = std::max(right, x + 1);
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    }
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

// Pixels that look the same transparent or in their colour take what encodes smaller.
void ChooseIndices(TGIFSubImage& frame, const TGIFCanvas& below)
{
    const int clear = FrameTransparentIndex(frame);
    if (clear < 0)
        return;
    const TGIFColorMap& table = frame.ActiveColorMap();
    std::unordered_map<TCanvasPixel, int> indexOf;
    for (int i = table.Count() - 1; i >= 0; --i)
        if (i != clear)
            indexOf[FrameColor(frame, i)] = i;
    std::vector<std::int16_t> alternative(frame.Data().size(), -1);
    ForEachPixel(frame, below, [&](int x, int y, std::uint8_t index) {
        std::int16_t& other = alternative[static_cast<size_t>(y) * static_cast<size_t>(frame.Width()) + x];
        if (index == clear) {
            const auto found = indexOf.find(below.At(frame.Left() + x, frame.Top() + y));
            if (found != indexOf.end())
                other = static_cast<std::int16_t>(found->second);
        } else if (Repeats(frame, below, x, y, index)) {
            // Transparent is tried first: large unchanged areas then read as one run.
            frame.ScanLine(y)[x] = static_cast<std::uint8_t>(clear);
            other = index;
        }
    });
    // Each way of choosing wins on some pictures: the one that encodes smallest is kept.
    const bool interlaced = frame.Interlaced() && frame.ColorMap().Count() == 0;
    // The code size the dictionary starts from: what the highest index either way needs.
    int highest = *std::max_element(frame.Data().begin(), frame.Data().end());
    highest = std::max<int>(highest, *std::max_element(alternative.begin(), alternative.end()));
    const int bits = TGIFColorMap::BitsFor(highest + 1);
    std::vector<std::uint8_t> best;
    std::int64_t bestSize = -1;
    auto consider = [&](std::vector<std::uint8_t> pixels) {
        // Encoded with the code size the writer will take: what the highest index needs.
        const int codeBits = TGIFColorMap::BitsFor(*std::max_element(pixels.begin(), pixels.end()) + 1);
        TMemoryByteStream data;
        MakeEncoder(frame.Image())->Encode(data, codeBits, 1 << codeBits, pixels.data(), interlaced, frame.Width(),
                                           frame.Height());
        const auto size = static_cast<std::int64_t>(data.Data().size());
        if (bestSize < 0 || size < bestSize) {
            bestSize = size;
            best = std::move(pixels);
        }
    };
    for (TIndexChoice rule : {TIndexChoice::icPreferred, TIndexChoice::icLongerRun}) {
        std::vector<std::uint8_t> pixels = frame.Data();
        ChooseIndicesForLZW(pixels, alternative, frame.Width(), frame.Height(), bits, interlaced, rule);
        consider(std::move(pixels));
    }
    consider(frame.Data());
    std::vector<std::uint8_t> colours = frame.Data();
    for (size_t i = 0; i < colours.size(); ++i)
        if (alternative[i] >= 0)
            colours[i] = static_cast<std::uint8_t>(alternative[i]);
    consider(std::move(colours));
    frame.MutableData() = std::move(best);
    frame.FreeBitmap();
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

std::vector<int> RewriteFrames(TGIFImage& image, bool merge, bool crop, const TFrameDone& done)
{
    std::vector<int> invisible;
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
            ChooseIndices(frame, below);
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
