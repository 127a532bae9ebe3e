// The GIF image: owner of the header, the frames and the reading and writing of whole files.
#pragma once

#include "images/GIFHeader.h"
#include "images/GIFItem.h"
#include "images/GIFReduce.h"
#include "images/GIFSubImage.h"
#include "images/Graphic.h"
#include "platform/ThreadPriority.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Library-wide settings, one value for the whole program.
// Build each frame's bitmap while it is loaded (default off: on first use).
inline bool GIFImageRenderOnLoad = false;
// Set at start-up when the screen shows fewer than 9 bits per pixel.
inline bool GIFPaletteDisplay = false;

// Draw option bits that decide whether frames are dithered to the web palette.
constexpr std::uint16_t goDither = 0x0200;
// With goDither: dither only on a palette display.
constexpr std::uint16_t goAutoDither = 0x0400;

// Optimisation option bits.
constexpr std::uint8_t ooCrop = 0x01;         // frames shrink to their visible part; invisible frames go
constexpr std::uint8_t ooMerge = 0x02;        // pixels repeating the previous frame become transparent
constexpr std::uint8_t ooCleanup = 0x04;      // needless transparency, disposal, extensions and frames go
constexpr std::uint8_t ooColorMap = 0x08;     // colour tables sorted by use, unused entries dropped
constexpr std::uint8_t ooReduceColors = 0x10; // colour reduction to a common palette
constexpr std::uint8_t ooAll = 0x1F;

class TGIFImageList : public TGIFList {
public:
    using TGIFList::TGIFList;
    TGIFSubImage& SubImage(int index) const { return static_cast<TGIFSubImage&>(*Items(index)); }
    // Reads frames until the trailer, the end of the stream or an unknown block;
    // the end or an unknown block before the first frame raises "Invalid GIF data".
    void LoadFromStream(TByteStream& stream) override;
};

// The GIF library's picture. Its progress event carries a message text; it
// stands in for the plain graphic's one.
class TGIFImage : public TGraphic {
public:
    using TWarningEvent = std::function<void(TGIFItem* sender, TGIFSeverity severity, const std::string& message)>;
    using TProgressEvent = std::function<void(TProgressStage stage, int percent, const std::string& message)>;

    TGIFImage();
    ~TGIFImage() override;
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    TGIFHeader& Header() { return header_; }
    const TGIFHeader& Header() const { return header_; }
    TGIFImageList& Images() { return images_; }
    const TGIFImageList& Images() const { return images_; }
    bool Empty() const override { return images_.Count() == 0; }

    int Width() const override { return header_.LogicalScreenWidth; }
    int Height() const override { return header_.LogicalScreenHeight; }
    // Raise "Image width too small for contained frames" / "Image height too small
    // for contained frames" when a frame would pass the new edge.
    void SetWidth(int value);
    void SetHeight(int value);

    // The highest version of the frames; 0 without frames.
    int Version() const;
    int BitsPerPixel() const { return header_.BitsPerPixel(); }

    // 1 writes image data with the run-length encoder, anything else with LZW.
    std::uint8_t Compression = 0;
    std::uint16_t DrawOptions = 0x060F;
    // How a bitmap of more than 256 colours becomes a frame, and what Optimize
    // takes when it is given no reduction of its own.
    std::uint8_t ColorReduction = rmNetscape;
    int ReductionBits = 8;
    std::uint8_t DitherMode = 0;
    // What the image's painters run at and how fast they play, in percent.
    TThreadPriority ThreadPriority = tpNormal;
    int AnimationSpeed = 100;
    // The colour painters clear to, 0x00BBGGRR; by default none: the global
    // table's background entry.
    static constexpr std::uint32_t kNoBackground = 0x1FFFFFFF;
    std::uint32_t BackgroundColor = kNoBackground;
    // goDither, unless goAutoDither is set too and the screen is no palette display.
    bool Dithering() const;

    // The palette set, else (kept) the web palette when dithering or the global
    // table's colours, else frame 0's palette. Asked for again while it is being
    // worked out (no table anywhere) raises "No global or local color table defined".
    TGIFPalette Palette();
    // None makes the next Palette() work it out anew.
    void SetPalette(std::optional<TGIFPalette> palette) { palette_ = std::move(palette); }
    bool HasPalette() const { return palette_.has_value(); }

    void Clear();
    // Rewrites the frames so that the image saves smaller and shows the same, by the
    // option bits; progress "Optimizing...". Colour reduction rmPalette without
    // ooCleanup but with ooReduceColors raises "Invalid reduction method".
    void Optimize(std::uint8_t options, int reduction, int ditherMode, int reductionBits);
    // With the image's own colour reduction, dither mode and reduction bits.
    void Optimize(std::uint8_t options);
    TGIFSubImage& Add(std::unique_ptr<TGIFSubImage> subImage);
    // A new frame of the bitmap on a local table: 1- and 8-bit pixels as they are,
    // 24-bit colours found or added (reduced first by the image's colour reduction,
    // dither mode and reduction bits past 256 colours). Set bits of the 1-bit mask
    // make pixels transparent. "Converting...".
    TGIFSubImage& AddBitmap(const TGIFBitmap& bitmap, const TGIFBitmap* mask = nullptr);
    // The picture of the logical screen: the background colour (white without a
    // global table) with frame 0 at its place, its transparent pixels left out.
    void AssignTo(TGIFBitmap& bitmap);
    // A copy of the source's header, frames, draw options, colour reduction, dither
    // mode, thread priority and background colour; the copy keeps its own animation
    // speed, reduction bits and compression, and no progress or warning handler.
    // "Copying...".
    void Assign(const TGIFImage& source);

    // On an error the stream goes back to where loading began and the error goes on.
    void LoadFromStream(TByteStream& stream) override;
    void SaveToStream(TByteStream& stream) override;
    // The "GIF Image" clipboard payload of the image; none when it is empty.
    std::optional<std::string> ClipboardPayload();
    // Reads a payload; false, the image untouched, when it holds no GIF.
    bool LoadFromClipboardPayload(std::string_view payload);

    // Calls OnWarning when set; otherwise the warning is dropped.
    virtual void Warning(TGIFItem* sender, TGIFSeverity severity, const std::string& message);
    void Progress(TProgressStage stage, int percent, const std::string& message);

    TWarningEvent OnWarning;
    TProgressEvent OnProgress;

private:
    TGIFHeader header_;
    TGIFImageList images_;
    std::optional<TGIFPalette> palette_;
    bool paletteBusy_ = false;
};
