// Composing a GIF animation's frames on its logical screen.
#include "images/GIFCanvas.h"

#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"

#include <algorithm>

namespace {

constexpr int kRestoreBackground = 2;
constexpr int kRestorePrevious = 3;

// A canvas of more pixels than this many times those of the frames is not made.
constexpr std::int64_t kCanvasPerFramePixels = 4;
constexpr std::int64_t kSmallCanvas = std::int64_t{1} << 20;

struct TArea {
    int left, top, right, bottom;
    bool Empty() const { return right <= left || bottom <= top; }
    std::int64_t Pixels() const { return Empty() ? 0 : std::int64_t{right - left} * (bottom - top); }
};

// The frame's rectangle inside the screen.
TArea Visible(const TGIFSubImage& frame, const TGIFImage& image)
{
    return TArea{std::min(frame.Left(), image.Width()), std::min(frame.Top(), image.Height()),
                 std::min(frame.Left() + frame.Width(), image.Width()),
                 std::min(frame.Top() + frame.Height(), image.Height())};
}

void Draw(const TGIFSubImage& frame, const TArea& area, TGIFCanvas& canvas)
{
    const int clear = FrameTransparentIndex(frame);
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* row = frame.Data().data() + static_cast<size_t>(y - frame.Top()) * frame.Width();
        for (int x = area.left; x < area.right; ++x) {
            const int index = row[x - frame.Left()];
            if (index != clear)
                canvas.Set(x, y, FrameColor(frame, index));
        }
    }
}

void Restore(const TArea& area, TGIFCanvas& canvas, const TGIFCanvas* saved)
{
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            canvas.Set(x, y, saved ? saved->At(x, y) : kCanvasBackground);
}

} // namespace

TGIFCanvas::TGIFCanvas(int left, int top, int width, int height, bool screenCovered)
    : left_(left), top_(top), width_(std::max(width, 0)), height_(std::max(height, 0)), screenCovered_(screenCovered),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), kCanvasBackground)
{
}

bool TGIFCanvas::ShowsBackground() const
{
    return !screenCovered_ || std::find(pixels_.begin(), pixels_.end(), kCanvasBackground) != pixels_.end();
}

int FrameTransparentIndex(const TGIFSubImage& frame)
{
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    return control && control->Transparent() ? control->TransparentColorIndex() : -1;
}

int FrameDisposal(const TGIFSubImage& frame)
{
    return frame.GraphicControlExtension() ? frame.GraphicControlExtension()->Disposal() : 0;
}

TCanvasPixel TableColor(const TGIFColorMap& table, int index)
{
    if (index < 0 || index >= table.Count())
        return kCanvasUnknown;
    const TGIFColor c = table.Data()[index];
    return static_cast<TCanvasPixel>(c.Red) << 16 | static_cast<TCanvasPixel>(c.Green) << 8 | c.Blue;
}

TCanvasPixel FrameColor(const TGIFSubImage& frame, int index)
{
    return TableColor(frame.ActiveColorMap(), index);
}

bool FrameIsSound(const TGIFSubImage& frame)
{
    const int clear = FrameTransparentIndex(frame);
    const int count = frame.ActiveColorMap().Count();
    return std::all_of(frame.Data().begin(), frame.Data().end(),
                       [&](std::uint8_t index) { return index < count || index == clear; });
}

std::optional<bool> WalkFrames(TGIFImage& image,
                               const std::function<void(int index, const TGIFCanvas& below)>& visit)
{
    TArea covered{image.Width(), image.Height(), 0, 0};
    std::int64_t framePixels = 0;
    for (int i = 0; i < image.Images().Count(); ++i) {
        const TGIFSubImage& frame = image.Images().SubImage(i);
        const TArea area = Visible(frame, image);
        if (frame.Empty() || area.Empty())
            continue;
        covered = TArea{std::min(covered.left, area.left), std::min(covered.top, area.top),
                        std::max(covered.right, area.right), std::max(covered.bottom, area.bottom)};
        framePixels += area.Pixels();
    }
    if (covered.Pixels() > kCanvasPerFramePixels * framePixels + kSmallCanvas)
        return std::nullopt;
    const bool screenCovered = covered.Pixels() == std::int64_t{image.Width()} * image.Height();
    TGIFCanvas canvas(covered.left, covered.top, covered.right - covered.left, covered.bottom - covered.top,
                      screenCovered);
    bool background = false;
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& frame = image.Images().SubImage(i);
        if (frame.Empty())
            continue;
        visit(i, canvas);
        const int disposal = FrameDisposal(frame);
        const TArea area = Visible(frame, image);
        if (area.Empty())
            continue;
        if (disposal == kRestorePrevious) {
            const TGIFCanvas below = canvas;
            Draw(frame, area, canvas);
            background = background || canvas.ShowsBackground();
            Restore(area, canvas, &below);
            continue;
        }
        Draw(frame, area, canvas);
        background = background || canvas.ShowsBackground();
        if (disposal == kRestoreBackground)
            Restore(area, canvas, nullptr);
    }
    return background;
}
