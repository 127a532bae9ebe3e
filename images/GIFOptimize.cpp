// Rewriting a GIF image's object tree so that it saves smaller and shows the
// same: colour tables, transparency, frame merging, cropping and clean-up.
#include "images/GIFAppExtension.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFReduce.h"
#include "images/GIFTextExtension.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kRestoreBackground = 2;
constexpr int kRestorePrevious = 3;
constexpr int kMaxColors = 256;

struct TRect {
    int left, top, right, bottom;
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(const TRect& r) const { return left <= r.left && top <= r.top && right >= r.right && bottom >= r.bottom; }
};

TRect Bounds(const TGIFSubImage& f)
{
    return TRect{f.Left(), f.Top(), f.Left() + f.Width(), f.Top() + f.Height()};
}

TRect Intersection(const TRect& a, const TRect& b)
{
    return TRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
}

int Disposal(const TGIFSubImage& f)
{
    return f.GraphicControlExtension() ? f.GraphicControlExtension()->Disposal() : 0;
}

bool IsTransparent(const TGIFSubImage& f)
{
    return f.GraphicControlExtension() && f.GraphicControlExtension()->Transparent();
}

int TransparentIndex(const TGIFSubImage& f)
{
    return IsTransparent(f) ? f.GraphicControlExtension()->TransparentColorIndex() : -1;
}

bool UsesIndex(const TGIFSubImage& f, int index)
{
    return std::find(f.Data().begin(), f.Data().end(), static_cast<std::uint8_t>(index)) != f.Data().end();
}

TGIFGraphicControlExtension& ControlOf(TGIFSubImage& f)
{
    if (!f.GraphicControlExtension())
        f.Extensions().Add(std::make_unique<TGIFGraphicControlExtension>(f));
    return *f.GraphicControlExtension();
}

// Reports a running step after each frame of each phase.
class TSteps {
public:
    TSteps(TGIFImage& image, int total) : image_(image), total_(std::max(1, total)) {}
    void Done(int frames = 1)
    {
        done_ += frames;
        image_.Progress(TProgressStage::psRunning, std::min(100, done_ * 100 / total_), "Optimizing...");
    }

private:
    TGIFImage& image_;
    int total_;
    int done_ = 0;
};

void OptimizeColorMaps(TGIFImage& image, TSteps& steps)
{
    if (image.Header().ColorMap().Count() > 0)
        image.Header().ColorMap().Optimize();
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& f = image.Images().SubImage(i);
        if (f.ColorMap().Count() > 0)
            f.ColorMap().Optimize();
        steps.Done();
    }
}

void DropUnusedTransparency(TGIFImage& image)
{
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& f = image.Images().SubImage(i);
        if (IsTransparent(f) && !UsesIndex(f, TransparentIndex(f)))
            f.GraphicControlExtension()->SetTransparent(false);
    }
}

// A frame that restores what lay below it need not when the next, opaque frame covers it whole.
void SimplifyDisposal(TGIFImage& image, TSteps& steps)
{
    const int count = image.Images().Count();
    for (int i = 0; i + 1 < count; ++i) {
        TGIFSubImage& f = image.Images().SubImage(i);
        const TGIFSubImage& next = image.Images().SubImage(i + 1);
        const int disposal = Disposal(f);
        if ((disposal == kRestoreBackground || disposal == kRestorePrevious) && !IsTransparent(next) &&
            Bounds(next).Contains(Bounds(f)))
            f.GraphicControlExtension()->SetDisposal(0);
        steps.Done();
    }
}

// The replacement index: the frame's transparent index, else one made on first use.
class TReplacement {
public:
    TReplacement(TGIFImage& image, TGIFSubImage& frame) : image_(image), frame_(frame), index_(TransparentIndex(frame)) {}
    bool Possible() const
    {
        const int count = frame_.ActiveColorMap().Count();
        return index_ >= 0 || (count > 0 && count < kMaxColors);
    }
    int Index() const { return index_; }
    int Make()
    {
        if (index_ >= 0)
            return index_;
        TGIFColorMap& table = frame_.ActiveColorMap();
        if (&table == &image_.Header().ColorMap())
            for (int i = 0; i < image_.Images().Count(); ++i) {
                const TGIFSubImage& other = image_.Images().SubImage(i);
                // Another frame's transparent index serves only when this frame shows no pixel in it.
                if (&other != &frame_ && &other.ActiveColorMap() == &table && IsTransparent(other) &&
                    !UsesIndex(frame_, TransparentIndex(other))) {
                    index_ = TransparentIndex(other);
                    return index_;
                }
            }
        index_ = table.Add(TGIFColor{});
        return index_;
    }

private:
    TGIFImage& image_;
    TGIFSubImage& frame_;
    int index_;
};

void MergeWithPrevious(TGIFImage& image, TGIFSubImage& frame, TGIFSubImage& previous)
{
    if (frame.Empty() || previous.Empty() || Disposal(previous) == kRestoreBackground ||
        Disposal(previous) == kRestorePrevious)
        return;
    const TRect common = Intersection(Bounds(frame), Bounds(previous));
    if (common.Empty())
        return;
    TReplacement replacement(image, frame);
    if (!replacement.Possible())
        return;
    const bool wasTransparent = IsTransparent(frame);
    const bool sameTable = &frame.ActiveColorMap() == &previous.ActiveColorMap();
    const int previousTransparent = TransparentIndex(previous);
    TGIFColorMap& table = frame.ActiveColorMap();
    TGIFColorMap& previousTable = previous.ActiveColorMap();
    bool replaced = false;
    for (int y = common.top; y < common.bottom; ++y)
        for (int x = common.left; x < common.right; ++x) {
            std::uint8_t& pixel = frame.ScanLine(y - frame.Top())[x - frame.Left()];
            const std::uint8_t below = previous.ScanLine(y - previous.Top())[x - previous.Left()];
            if (pixel == replacement.Index() || below == previousTransparent)
                continue;
            const bool same = sameTable ? pixel == below
                                        : pixel < table.Count() && below < previousTable.Count() &&
                                              table.Data()[pixel] == previousTable.Data()[below];
            if (!same)
                continue;
            pixel = static_cast<std::uint8_t>(replacement.Make());
            replaced = true;
        }
    if (replaced && !wasTransparent) {
        TGIFGraphicControlExtension& control = ControlOf(frame);
        control.SetTransparent(true);
        control.SetTransparentColorIndexUnchecked(static_cast<std::uint8_t>(replacement.Index()));
    }
    if (replaced)
        frame.FreeBitmap();
}

void MergeFrames(TGIFImage& image, TSteps& steps)
{
    for (int i = image.Images().Count() - 1; i >= 1; --i) {
        int p = i - 1;
        while (p > 0 && Disposal(image.Images().SubImage(p)) == kRestorePrevious)
            --p;
        MergeWithPrevious(image, image.Images().SubImage(i), image.Images().SubImage(p));
        steps.Done();
    }
    steps.Done();
}

void AddDelay(TGIFSubImage& frame, int hundredths)
{
    if (hundredths <= 0)
        return;
    TGIFGraphicControlExtension& control = ControlOf(frame);
    control.SetDelay(static_cast<std::uint16_t>(std::min(65535, control.Delay() + hundredths)));
}

// A frame with no visible pixel goes; what it stood for in time and loops stays.
void DeleteInvisible(TGIFImage& image, int index)
{
    TGIFSubImage& frame = image.Images().SubImage(index);
    const int delay = frame.GraphicControlExtension() ? frame.GraphicControlExtension()->Delay() : 0;
    int loops = -1;
    for (int e = 0; e < frame.Extensions().Count(); ++e)
        if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(&frame.Extensions().Extension(e)))
            loops = loop->Loops;
    // Its time shows what the frame before left in place; that is the frame before's
    // own picture only when it leaves itself in place.
    if (delay > 0 && (index == 0 || Disposal(image.Images().SubImage(index - 1)) >= kRestoreBackground))
        return;
    image.Images().Delete(index);
    if (index > 0)
        AddDelay(image.Images().SubImage(index - 1), delay);
    if (index == 0 && loops >= 0 && image.Images().Count() > 0) {
        TGIFSubImage& first = image.Images().SubImage(0);
        auto loop = std::make_unique<TGIFAppExtNSLoop>(first);
        loop->Loops = static_cast<std::uint16_t>(loops);
        first.Extensions().Add(std::move(loop));
    }
}

void Crop(TGIFImage& image, TSteps& steps)
{
    for (int i = image.Images().Count() - 1; i >= 0; --i) {
        steps.Done();
        TGIFSubImage& f = image.Images().SubImage(i);
        // A frame that restores the background clears its whole rectangle: it keeps it.
        if (f.Empty() || !IsTransparent(f) || Disposal(f) == kRestoreBackground)
            continue;
        const auto clear = static_cast<std::uint8_t>(TransparentIndex(f));
        const int w = f.Width(), h = f.Height();
        auto column = [&](int x, int top, int bottom) {
            for (int y = top; y < bottom; ++y)
                if (f.ScanLine(y)[x] != clear)
                    return false;
            return true;
        };
        auto row = [&](int y, int left, int right) {
            const std::uint8_t* p = f.ScanLine(y);
            return std::all_of(p + left, p + right, [&](std::uint8_t v) { return v == clear; });
        };
        int left = 0, right = w, top = 0, bottom = h;
        while (left < right && column(left, 0, h))
            ++left;
        if (left == right) {
            DeleteInvisible(image, i);
            continue;
        }
        while (column(right - 1, 0, h))
            --right;
        while (row(top, left, right))
            ++top;
        while (row(bottom - 1, left, right))
            --bottom;
        if (left == 0 && top == 0 && right == w && bottom == h)
            continue;
        std::vector<std::uint8_t> cropped;
        cropped.reserve(static_cast<size_t>(right - left) * static_cast<size_t>(bottom - top));
        for (int y = top; y < bottom; ++y)
            cropped.insert(cropped.end(), f.ScanLine(y) + left, f.ScanLine(y) + right);
        f.SetBounds(f.Left() + left, f.Top() + top, right - left, bottom - top);
        f.MutableData() = std::move(cropped);
        f.FreeBitmap();
    }
}

bool Needless(const TGIFExtension& e, bool keepLoop)
{
    if (dynamic_cast<const TGIFCommentExtension*>(&e) || dynamic_cast<const TGIFTextExtension*>(&e) ||
        dynamic_cast<const TGIFUnknownAppExtension*>(&e))
        return true;
    return dynamic_cast<const TGIFAppExtNSLoop*>(&e) && !keepLoop;
}

void CleanUp(TGIFImage& image, TSteps& steps)
{
    const bool single = image.Images().Count() == 1;
    for (int i = image.Images().Count() - 1; i >= 0; --i) {
        steps.Done();
        TGIFSubImage& f = image.Images().SubImage(i);
        TGIFExtensionList& list = f.Extensions();
        for (int e = list.Count() - 1; e >= 0; --e)
            if (Needless(list.Extension(e), i == 0 && !single))
                list.Delete(e);
        if (const TGIFGraphicControlExtension* control = f.GraphicControlExtension())
            if ((control->Delay() == 0 || single) && !control->Transparent() && !control->UserInput() &&
                (control->Disposal() < kRestoreBackground || single))
                list.Delete(list.IndexOf(control));
        if (f.Empty() && list.Count() == 0)
            image.Images().Delete(i);
    }
}

} // namespace

void TGIFImage::Optimize(std::uint8_t options, int reduction, int ditherMode, int reductionBits)
{
    (void)ditherMode;
    (void)reductionBits;
    const std::string message = "Optimizing...";
    Progress(TProgressStage::psStarting, 0, message);
    try {
        if ((options & ooReduceColors) && !(options & ooCleanup) && reduction == rmPalette)
            throw GIFException("Invalid reduction method");
        const int frames = images_.Count();
        TSteps steps(*this, 6 * frames);
        // Transparency is settled before unused table entries are cut.
        if (options & ooCleanup)
            DropUnusedTransparency(*this);
        if (options & ooColorMap)
            OptimizeColorMaps(*this, steps);
        else
            steps.Done(frames);
        if (options & ooCleanup)
            SimplifyDisposal(*this, steps);
        else
            steps.Done(frames);
        if (options & ooMerge)
            MergeFrames(*this, steps);
        else
            steps.Done(frames);
        if (options & ooCrop)
            Crop(*this, steps);
        else
            steps.Done(frames);
        if (options & ooCleanup)
            CleanUp(*this, steps);
        else
            steps.Done(frames);
        steps.Done(frames);
    } catch (...) {
        Progress(TProgressStage::psEnding, 0, message);
        throw;
    }
    Progress(TProgressStage::psEnding, 100, message);
}
