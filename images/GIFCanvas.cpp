// Composing a GIF animation's frames on its logical screen.
#include "images/GIFCanvas.h"

#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"

#include <algorithm>
#include <optional>

namespace {

constexpr int kRestoreBackground = 2;
constexpr int kRestorePrevious = 3;

// A canvas of more pixels than this many times those of the frames is not made.
constexpr std::int64_t kCanvasPerFramePixels = 4;
constexpr std::int64_t kSmallCanvas = std::int64_t{1} << 20;

TScreenArea Intersection(const TScreenArea& a, const TScreenArea& b)
{
    return TScreenArea{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                       std::min(a.bottom, b.bottom)};
}

TScreenArea Bounds(const TGIFSubImage& frame)
{
    return TScreenArea{frame.Left(), frame.Top(), frame.Left() + frame.Width(), frame.Top() + frame.Height()};
}

// The frame's rectangle inside the screen.
TScreenArea Visible(const TGIFSubImage& frame, const TGIFImage& image)
{
    return Intersection(Bounds(frame), TScreenArea{0, 0, image.Width(), image.Height()});
}

// The part of the screen the frames cover; none when the frames lie so far
// apart that a canvas of it would take far more memory than they do.
std::optional<TScreenArea> CoveredArea(const TGIFImage& image)
{
    TScreenArea covered{image.Width(), image.Height(), 0, 0};
    std::int64_t framePixels = 0;
    for (int i = 0; i < image.Images().Count(); ++i) {
        const TGIFSubImage& frame = image.Images().SubImage(i);
        const TScreenArea area = Visible(frame, image);
        if (frame.Empty() || area.Empty())
            continue;
        covered = TScreenArea{std::min(covered.left, area.left), std::min(covered.top, area.top),
                              std::max(covered.right, area.right), std::max(covered.bottom, area.bottom)};
        framePixels += area.Pixels();
    }
    if (covered.Pixels() > kCanvasPerFramePixels * framePixels + kSmallCanvas)
        return std::nullopt;
    return covered;
}

bool CoversScreen(const TScreenArea& covered, const TGIFImage& image)
{
    return covered.Pixels() == std::int64_t{image.Width()} * image.Height();
}

// Draws the frame over area (its part on the canvas) and disposes of it as it
// says; answers whether the background showed while it did.
bool Show(const TGIFSubImage& frame, const TScreenArea& area, TGIFCanvas& canvas)
{
    const int disposal = FrameDisposal(frame);
    const std::vector<TCanvasPixel> below =
        disposal == kRestorePrevious ? canvas.Save(area) : std::vector<TCanvasPixel>{};
    canvas.Draw(frame, area);
    const bool shows = canvas.ShowsBackground();
    if (disposal == kRestorePrevious)
        canvas.Restore(area, &below);
    else if (disposal == kRestoreBackground)
        canvas.Restore(area, nullptr);
    return shows;
}

} // namespace

TIndexColors FrameColors(const TGIFSubImage& frame)
{
    TIndexColors colors;
    colors.fill(kCanvasUnknown);
    const TGIFColorMap& table = frame.ActiveColorMap();
    for (int i = 0; i < table.Count(); ++i)
        colors[static_cast<size_t>(i)] = TableColor(table, i);
    return colors;
}

TGIFCanvas::TGIFCanvas(const TScreenArea& area, bool screenCovered)
    : area_(area.Empty() ? TScreenArea{} : area), screenCovered_(screenCovered), background_(area_.Pixels()),
      pixels_(static_cast<size_t>(background_), kCanvasBackground)
{
}

TScreenArea TGIFCanvas::Clip(const TGIFSubImage& frame) const
{
    return Intersection(Bounds(frame), area_);
}

void TGIFCanvas::Draw(const TGIFSubImage& frame, const TScreenArea& area)
{
    const TIndexColors colors = FrameColors(frame);
    const int clear = FrameTransparentIndex(frame);
    std::int64_t covered = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* indices =
            frame.Data().data() + static_cast<size_t>(y - frame.Top()) * frame.Width() + (area.left - frame.Left());
        TCanvasPixel* row = pixels_.data() + Offset(area.left, y);
        for (int x = 0; x < area.Width(); ++x) {
            if (indices[x] == clear)
                continue;
            covered += row[x] == kCanvasBackground;
            row[x] = colors[indices[x]];
        }
    }
    background_ -= covered;
}

std::vector<TCanvasPixel> TGIFCanvas::Save(const TScreenArea& area) const
{
    std::vector<TCanvasPixel> saved;
    saved.reserve(static_cast<size_t>(area.Pixels()));
    for (int y = area.top; y < area.bottom; ++y)
        saved.insert(saved.end(), Row(area.left, y), Row(area.left, y) + area.Width());
    return saved;
}

void TGIFCanvas::Restore(const TScreenArea& area, const std::vector<TCanvasPixel>* saved)
{
    const TCanvasPixel* from = saved ? saved->data() : nullptr;
    for (int y = area.top; y < area.bottom; ++y) {
        TCanvasPixel* row = pixels_.data() + Offset(area.left, y);
        for (int x = 0; x < area.Width(); ++x) {
            const TCanvasPixel value = from ? *from++ : kCanvasBackground;
            background_ += (value == kCanvasBackground) - (row[x] == kCanvasBackground);
            row[x] = value;
        }
    }
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

bool FrameIsSound(const TGIFSubImage& frame)
{
    const int clear = FrameTransparentIndex(frame);
    const int count = frame.ActiveColorMap().Count();
    if (count > 255)
        return true;
    // Byte-wide and without an early exit, the loops run over whole vectors of pixels at once.
    const auto limit = static_cast<std::uint8_t>(count);
    std::uint8_t past = 0;
    if (clear < count) {
        for (std::uint8_t index : frame.Data())
            past |= index >= limit;
    } else {
        const auto transparent = static_cast<std::uint8_t>(clear);
        for (std::uint8_t index : frame.Data())
            past |= (index >= limit) & (index != transparent);
    }
    return past == 0;
}

void WalkFrames(TGIFImage& image, const std::function<void(int index, const TGIFCanvas& below)>& visit)
{
    const std::optional<TScreenArea> covered = CoveredArea(image);
    if (!covered)
        return;
    TGIFCanvas canvas(*covered, CoversScreen(*covered, image));
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& frame = image.Images().SubImage(i);
        if (frame.Empty())
            continue;
        visit(i, canvas);
        if (const TScreenArea area = canvas.Clip(frame); !area.Empty())
            Show(frame, area, canvas);
    }
}

bool BackgroundShows(TGIFImage& image)
{
    const std::optional<TScreenArea> covered = CoveredArea(image);
    if (!covered)
        return true;
    TGIFCanvas canvas(*covered, CoversScreen(*covered, image));
    for (int i = 0; i < image.Images().Count(); ++i) {
        const TGIFSubImage& frame = image.Images().SubImage(i);
        const int disposal = FrameDisposal(frame);
        // Drawing only covers background: where none is left, only a frame that
        // puts some back changes what matters here, and the colours may go stale.
        if (frame.Empty() || (!canvas.ShowsBackground() && disposal != kRestoreBackground &&
                              disposal != kRestorePrevious))
            continue;
        if (const TScreenArea area = canvas.Clip(frame); !area.Empty() && Show(frame, area, canvas))
            return true;
    }
    return false;
}
