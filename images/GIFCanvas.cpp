// Composing a GIF animation's frames on its logical screen.
#include "images/GIFCanvas.h"

#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"

#include <algorithm>

namespace {

constexpr int kRestoreBackground = 2;
constexpr int kRestorePrevious = 3;

struct TArea {
    int left, top, right, bottom;
};

// The frame's rectangle inside the screen.
TArea Visible(const TGIFSubImage& frame, const TGIFCanvas& canvas)
{
    return TArea{std::min(frame.Left(), canvas.Width()), std::min(frame.Top(), canvas.Height()),
                 std::min(frame.Left() + frame.Width(), canvas.Width()),
                 std::min(frame.Top() + frame.Height(), canvas.Height())};
}

void Draw(const TGIFSubImage& frame, TGIFCanvas& canvas)
{
    const int clear = FrameTransparentIndex(frame);
    const TArea area = Visible(frame, canvas);
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

TGIFCanvas::TGIFCanvas(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), kCanvasBackground)
{
}

bool TGIFCanvas::ShowsBackground() const
{
    return std::find(pixels_.begin(), pixels_.end(), kCanvasBackground) != pixels_.end();
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

bool WalkFrames(TGIFImage& image, const std::function<void(int index, const TGIFCanvas& below)>& visit)
{
    TGIFCanvas canvas(image.Width(), image.Height());
    bool background = false;
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& frame = image.Images().SubImage(i);
        if (frame.Empty())
            continue;
        visit(i, canvas);
        const int disposal = FrameDisposal(frame);
        const TArea area = Visible(frame, canvas);
        if (disposal == kRestorePrevious) {
            const TGIFCanvas below = canvas;
            Draw(frame, canvas);
            background = background || canvas.ShowsBackground();
            Restore(area, canvas, &below);
            continue;
        }
        Draw(frame, canvas);
        background = background || canvas.ShowsBackground();
        if (disposal == kRestoreBackground)
            Restore(area, canvas, nullptr);
    }
    return background;
}
