// What a GIF animation shows, frame by frame: each frame drawn over what the
// frames before it left on the logical screen, as their disposal methods say.
// The optimiser compares a frame with what lies below it to find the pixels it
// need not draw.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class TGIFColorMap;
class TGIFImage;
class TGIFSubImage;

// A pixel of the screen: a colour 0xRRGGBB, or one of two states no colour equals.
using TCanvasPixel = std::uint32_t;
// Nothing drawn there yet, or cleared by a frame that restores the background.
constexpr TCanvasPixel kCanvasBackground = 0x01000000;
// Drawn with an index past the frame's colour table: what a viewer shows is its own guess.
constexpr TCanvasPixel kCanvasUnknown = 0x02000000;

// A rectangle of the screen: left and top inside it, right and bottom just past it.
struct TScreenArea {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    int Width() const { return right - left; }
    std::int64_t Pixels() const { return Empty() ? 0 : std::int64_t{right - left} * (bottom - top); }
};

// The colour each index of a frame stands for in its active table, kCanvasUnknown past its end.
using TIndexColors = std::array<TCanvasPixel, 256>;
TIndexColors FrameColors(const TGIFSubImage& frame);

// The part of the logical screen the frames cover; everything else stays background.
class TGIFCanvas {
public:
    TGIFCanvas(const TScreenArea& area, bool screenCovered);
    // The pixels of screen row y from screen column x on; (x, y) lies on the canvas.
    const TCanvasPixel* Row(int x, int y) const { return pixels_.data() + Offset(x, y); }
    // The part of the frame that lies on the canvas.
    TScreenArea Clip(const TGIFSubImage& frame) const;
    bool ShowsBackground() const { return !screenCovered_ || background_ > 0; }

    // Draws the frame's pixels but its transparent ones inside area, which lies
    // on the canvas and inside the frame.
    void Draw(const TGIFSubImage& frame, const TScreenArea& area);
    std::vector<TCanvasPixel> Save(const TScreenArea& area) const;
    // Puts back what Save answered for the area; without it, background.
    void Restore(const TScreenArea& area, const std::vector<TCanvasPixel>* saved);

private:
    size_t Offset(int x, int y) const
    {
        return static_cast<size_t>(y - area_.top) * static_cast<size_t>(area_.Width()) +
               static_cast<size_t>(x - area_.left);
    }
    TScreenArea area_;
    bool screenCovered_;
    // How many pixels show the background.
    std::int64_t background_;
    std::vector<TCanvasPixel> pixels_;
};

// The frame's transparent index, or -1 when it is opaque.
int FrameTransparentIndex(const TGIFSubImage& frame);
// The frame's disposal method; 0 without a graphic control extension.
int FrameDisposal(const TGIFSubImage& frame);
// The colour an index of the table stands for; kCanvasUnknown past its end.
TCanvasPixel TableColor(const TGIFColorMap& table, int index);
// Every pixel the frame draws (all but its transparent ones) is inside its colour table.
bool FrameIsSound(const TGIFSubImage& frame);

// Walks the frames that hold pixels in file order. `visit` sees each with its
// index and the canvas below it, and may rewrite the frame as long as it shows
// the same over that canvas and stays inside the rectangle it had; the frame
// as it is then is drawn and disposed of. Nothing is visited when the frames
// lie so far apart that the canvas would take far more memory than the frames
// themselves.
void WalkFrames(TGIFImage& image, const std::function<void(int index, const TGIFCanvas& below)>& visit);
// Whether the background shows at any time: where no frame has drawn yet, or
// where a frame restored it, and the frame drawn next leaves it. Frames too far
// apart to walk are taken to show it.
bool BackgroundShows(TGIFImage& image);
