// Shared helpers of the GIF tests: a neutral description of a decoded GIF (ours
// or giflib's), files made by outside tools, and hand-built LZW image data.
#pragma once

#include "bench/GIFCorpus.h"
#include "images/GIFColor.h"
#include "images/GIFSubImage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGIFImage;
namespace RxGIF {
class TGIFImage;
}

namespace giftest {

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    TGIFPalette palette; // the frame's active table, padded with black to 256 entries
    int delay = 0;
    int disposal = 0;
    int transparent = -1;
    bool operator==(const Frame&) const = default;
};

struct Picture {
    int width = 0, height = 0;
    int loops = -1; // -1: no loop extension
    std::vector<Frame> frames;
    bool operator==(const Picture&) const = default;
};

// Frames without pixels are left out: they are extension carriers, not images.
Picture Describe(TGIFImage& image);
// The animator's image described the same way: frame pixels from the decoded bitmaps.
Picture Describe(RxGIF::TGIFImage& image);
// Decodes with giflib; fails the current test (and answers an empty picture) when giflib refuses.
Picture DescribeWithGiflib(const std::string& bytes);

std::string SaveToString(TGIFImage& image);
void LoadFromString(TGIFImage& image, const std::string& bytes);
// The file loaded, optimised by the options and saved.
std::string Optimized(const std::string& bytes, std::uint8_t options);

bool HaveTool(const std::string& name);
// A GIF made by an outside tool: name, command that writes it, and its bytes.
struct ToolFile {
    std::string name;
    std::string bytes;
};
// Makes the corpus with ImageMagick's convert and gifsicle in folder; files of a
// missing tool are left out.
std::vector<ToolFile> MakeToolCorpus(const std::string& folder);

// Packs LZW codes least significant bit first.
class BitPacker {
public:
    void Put(int code, int bits);
    // Minimum code size byte, the packed bytes as sub-blocks of at most `blockSize`, zero block.
    std::string ImageData(int minCodeSize, int blockSize = 255) const;

private:
    std::string bytes_;
    std::uint32_t accumulator_ = 0;
    int count_ = 0;
    std::string Flushed() const;
};

// Appends a frame of the given size at 0, 0.
TGIFSubImage& AddFrame(TGIFImage& image, int width, int height);

template <class T>
T& AddExtension(TGIFSubImage& frame)
{
    auto extension = std::make_unique<T>(frame);
    T& added = *extension;
    frame.Extensions().Add(std::move(extension));
    return added;
}

// A GIF89a with a 4-colour global table and one frame of the given image data (no trailer when asked).
std::string MakeGif(int width, int height, const std::string& imageData, bool trailer = true,
                    bool interlaced = false);

// A 24-bit bitmap filled by f(x, y) -> colour.
using gifcorpus::Make24;

// Colours i * 37, 255 - i * 11, i * 5 for i below n.
TGIFPalette Colours(int n);
// Appends a frame at the position with a graphic control extension (transparent index -1: opaque).
TGIFSubImage& AddControlledFrame(TGIFImage& image, int left, int top, int width, int height, int delay, int disposal,
                                 int transparent = -1);
// An animation with something for every optimisation: repeats, transparent
// margins, an invisible frame, restoring frames, a comment and unused colours.
std::string OptimizableAnimation(unsigned seed);

// What a viewer shows of a GIF file: each distinct composed picture in turn with
// how long it stays, in hundredths of a second.
struct Shown {
    std::vector<std::uint8_t> pixels;
    int hundredths;
    bool operator==(const Shown&) const = default;
};
std::vector<Shown> Timeline(const std::string& bytes);

// The same as a browser composes it, decoded by giflib: every frame drawn over
// what the frames before it left, as their disposal methods say, each pixel a
// colour 0xRRGGBB or background (flag kBackground, with the colour of the
// global table's background entry when there is one). Equal pictures in a row
// are one, shown for their delays together, a delay below 2 counting 10 as
// browsers time it; the loop count comes last.
constexpr std::uint32_t kBackground = 0x01000000;
constexpr std::uint32_t kUnnamedBackground = 0x02000000;
constexpr std::uint32_t kPastTable = 0x04000000;
struct Composed {
    std::vector<std::uint32_t> pixels;
    int hundredths = 0;
    bool operator==(const Composed&) const = default;
};
struct Animation {
    std::vector<Composed> pictures;
    int loops = -1;
    bool operator==(const Animation&) const = default;
};
Animation ComposeWithGiflib(const std::string& bytes);

// Pieces of GIF files for tests that build one block by block.
namespace block {
std::string Word(int value);
// "GIF89a" (or the given signature), the screen and a global table of `colours` (0: none).
std::string Header(int width, int height, const TGIFPalette& colours, const std::string& signature = "GIF89a");
std::string GraphicControl(int flags, int delay, int transparent);
std::string Comment(const std::vector<std::string>& blocks);
// An application extension with the given fixed part (its size byte is its length) and data blocks.
std::string Application(const std::string& fixed, const std::vector<std::string>& blocks);
std::string Loop(int count);
// Image descriptor, an optional local table, and the image data.
std::string Image(int left, int top, int width, int height, const std::string& imageData,
                  const TGIFPalette& local = {}, bool interlaced = false);
// Image data of literal pixel codes, a clear code before each run of `runLength` pixels.
std::string Literals(const std::vector<int>& pixels, int minCodeSize);
} // namespace block

} // namespace giftest
