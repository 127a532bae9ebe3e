// What a GIF animation shows, frame by frame: each frame drawn over what the
// frames before it left on the logical screen, as their disposal methods say.
// The optimiser compares a frame with what lies below it to find the pixels it
// need not draw.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
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

// The part of the logical screen the frames cover; everything else stays background.
class TGIFCanvas {
public:
    TGIFCanvas(int left, int top, int width, int height, bool screenCovered);
    // Screen coordinates.
    TCanvasPixel At(int x, int y) const { return pixels_[Offset(x, y)]; }
    void Set(int x, int y, TCanvasPixel value) { pixels_[Offset(x, y)] = value; }
    bool Contains(int x, int y) const { return x >= left_ && y >= top_ && x < left_ + width_ && y < top_ + height_; }
    bool ShowsBackground() const;

private:
    size_t Offset(int x, int y) const
    {
        return static_cast<size_t>(y - top_) * static_cast<size_t>(width_) + static_cast<size_t>(x - left_);
    }
    int left_;
    int top_;
    int width_;
    int height_;
    bool screenCovered_;
    std::vector<TCanvasPixel> pixels_;
};

// The frame's transparent index, or -1 when it is opaque.
int FrameTransparentIndex(const TGIFSubImage& frame);
// The frame's disposal method; 0 without a graphic control extension.
int FrameDisposal(const TGIFSubImage& frame);
// The colour an index of the table stands for; kCanvasUnknown past its end.
TCanvasPixel TableColor(const TGIFColorMap& table, int index);
// The colour an index of the frame stands for in its active table.
TCanvasPixel FrameColor(const TGIFSubImage& frame, int index);
// Every pixel the frame draws (all but its transparent ones) is inside its colour table.
bool FrameIsSound(const TGIFSubImage& frame);

// Walks the frames that hold pixels in file order. `visit` sees each with its
// index and the canvas below it, and may rewrite the frame as long as it shows
// the same over that canvas; the frame as it is then is drawn and disposed of.
// Answers whether the background shows at any time; none, and nothing is
// visited, when the frames lie so far apart that the canvas would take far
// more memory than the frames themselves.
std::optional<bool> WalkFrames(TGIFImage& image, const std::function<void(int index, const TGIFCanvas& below)>& visit);
