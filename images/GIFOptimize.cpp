// Rewriting a GIF image's object tree so that it saves smaller and shows the
// same: colour tables, transparency, frame merging, cropping and clean-up.
#include "images/GIFAppExtension.h"
#include "images/GIFCanvas.h"
#include "images/GIFEncodedSizes.h"
#include "images/GIFException.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFOptimizePhases.h"
#include "images/GIFReduce.h"
#include "images/GIFTextExtension.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kRestoreBackground = 2;
constexpr int kRestorePrevious = 3;

bool Covers(const TGIFSubImage& outer, const TGIFSubImage& inner)
{
    return outer.Left() <= inner.Left() && outer.Top() <= inner.Top() &&
           outer.Left() + outer.Width() >= inner.Left() + inner.Width() &&
           outer.Top() + outer.Height() >= inner.Top() + inner.Height();
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
    TFrameDone PerFrame()
    {
        return [this] { Done(); };
    }

private:
    TGIFImage& image_;
    int total_;
    int done_ = 0;
};

void DropUnusedTransparency(TGIFImage& image)
{
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& f = image.Images().SubImage(i);
        const int clear = FrameTransparentIndex(f);
        if (clear >= 0 && std::find(f.Data().begin(), f.Data().end(), clear) == f.Data().end())
            f.GraphicControlExtension()->SetTransparent(false);
    }
}

// A frame that restores what lay below it need not when the next frame draws
// over all of it and leaves what it drew: what the restoring put back is
// covered before it is ever seen.
void SimplifyDisposal(TGIFImage& image, TSteps& steps)
{
    const int count = image.Images().Count();
    for (int i = 0; i + 1 < count; ++i) {
        TGIFSubImage& f = image.Images().SubImage(i);
        const TGIFSubImage& next = image.Images().SubImage(i + 1);
        const int disposal = FrameDisposal(f);
        if ((disposal == kRestoreBackground || disposal == kRestorePrevious) && !next.Empty() &&
            FrameTransparentIndex(next) < 0 && FrameDisposal(next) != kRestorePrevious && Covers(next, f))
            f.GraphicControlExtension()->SetDisposal(0);
        steps.Done();
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
        // A still keeps its delay: taken into an animation, it shows as long as its author set.
        if (const TGIFGraphicControlExtension* control = f.GraphicControlExtension())
            if (control->Delay() == 0 && !control->Transparent() && !control->UserInput() &&
                (control->Disposal() < kRestoreBackground || single))
                list.Delete(list.IndexOf(control));
        if (f.Empty() && list.Count() == 0)
            image.Images().Delete(i);
    }
}

} // namespace

void TGIFImage::Optimize(std::uint8_t options)
{
    Optimize(options, ColorReduction, DitherMode, ReductionBits);
}

void TGIFImage::Optimize(std::uint8_t options, int reduction, int ditherMode, int reductionBits)
{
    (void)ditherMode;
    (void)reductionBits;
    const std::string message = "Optimizing...";
    Progress(TProgressStage::psStarting, 0, message);
    try {
        if ((options & ooReduceColors) && !(options & ooCleanup) && reduction == rmPalette)
            throw GIFException(TMessage(InvalidReductionMethod, {}));
        const int frames = images_.Count();
        TSteps steps(*this, 6 * frames);
        // What the frames' rewriting encodes, its colour layout need not encode again.
        TEncodedSizes sizes;
        // Transparency is settled before unused table entries are cut.
        if (options & ooCleanup)
            DropUnusedTransparency(*this);
        if (options & ooColorMap)
            ShrinkColorMaps(*this, steps.PerFrame());
        else
            steps.Done(frames);
        if (options & ooCleanup)
            SimplifyDisposal(*this, steps);
        else
            steps.Done(frames);
        if (options & (ooMerge | ooCrop))
            DeleteInvisibleFrames(*this,
                                  RewriteFrames(*this, options & ooMerge, options & ooCrop, sizes, steps.PerFrame()));
        else
            steps.Done(frames);
        if (options & ooCleanup) {
            // Merging may have left transparency no pixel needs.
            DropUnusedTransparency(*this);
            CleanUp(*this, steps);
        } else {
            steps.Done(frames);
        }
        if (options & ooColorMap)
            ArrangeColorMaps(*this, sizes, steps.PerFrame());
        else
            steps.Done(frames);
    } catch (...) {
        Progress(TProgressStage::psEnding, 0, message);
        throw;
    }
    Progress(TProgressStage::psEnding, 100, message);
}
