// Animated cursor files (RIFF form "ACON"): icon frames with display rates,
// hot spots, a title and an author. Reading only.
#pragma once

#include "images/Icon.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TIconList;

struct TAniHeader {
    std::uint32_t Size = 0;
    std::uint32_t Frames = 0;
    std::uint32_t Steps = 0;
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t BitCount = 0;
    std::uint32_t Planes = 0;
    std::uint32_t DisplayRate = 0; // jiffies, 1/60 s
    std::uint32_t Flags = 0;       // bit 0: the frames are icons
};

struct TIconFrame {
    TIcon Icon;
    bool IsIcon = false; // an icon file rather than a cursor file
    std::array<char, 4> ChunkTag{};
    std::uint32_t ChunkSize = 0;
    int HotSpotX = 0;
    int HotSpotY = 0;
    std::uint32_t JiffRate = 0;
    std::int32_t Index = -1; // which icon of the file the frame shows
};

class TAnimatedCursorImage {
public:
    // Parses the whole data; nothing happens for no bytes. A file that is no
    // animated cursor, or has no frame with an icon, raises EReadError "Stream
    // read error"; a truncated chunk ends the parse with the frames read so far.
    void LoadFromData(std::string_view data);
    void LoadFromFile(const std::string& path);

    int Count() const { return static_cast<int>(frames_.size()); }
    const TIconFrame& Frame(int index) const { return frames_.at(static_cast<size_t>(index)); }
    const TAniHeader& Header() const { return header_; }
    const std::string& Title() const { return title_; }
    const std::string& Creator() const { return creator_; }
    // The largest colour count of the icons' images: 2, 16, 256, or 0 when unknown.
    int MaxColors() const { return maxColors_; }

    void Clear();
    void Assign(const TAnimatedCursorImage& source) { *this = source; }
    // The first frame's icon; an empty icon without frames.
    TIcon FirstIcon() const;
    // Every frame's icon in order, one change notification.
    void AssignTo(TIconList& list) const;
    // The frames side by side (or one under the other) over the background colour;
    // an empty bitmap without frames. With reduceColors and a known MaxColors the
    // strip is reduced to that many colours.
    TGIFBitmap DrawFramesToBitmap(std::uint32_t background, bool vertical, bool reduceColors) const;

private:
    TAniHeader header_;
    std::string title_;
    std::string creator_;
    std::vector<TIconFrame> frames_;
    int maxColors_ = 0;
};
