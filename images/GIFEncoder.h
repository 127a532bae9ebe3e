// The encoder base (code output, pixel cursor, sub-block writing), the LZW
// dictionary encoder with its hash table, and the entry point a sub-image writes with.
#pragma once

#include "images/GIFStream.h"

#include <cstdint>
#include <memory>
#include <vector>

class TGIFSubImage;

// Writes the image data of the sub-image: minimum code size, data sub-blocks and
// the zero-length block. The code size is the table's, or less when the highest
// index the frame holds needs fewer bits. The image's compression setting 1 picks
// the run-length encoder, anything else LZW. Raises "Color not in color table"
// for a pixel at or past the colour count.
void Compress(TGIFSubImage& subImage, TByteStream& stream);

class TGIFEncoder;
// The encoder the image's compression setting picks (LZW without an image).
std::unique_ptr<TGIFEncoder> MakeEncoder(TGIFImage* image);

class TGIFEncoder {
public:
    explicit TGIFEncoder(TGIFImage* image) : image_(image) {}
    virtual ~TGIFEncoder() = default;
    TGIFEncoder(const TGIFEncoder&) = delete;
    TGIFEncoder& operator=(const TGIFEncoder&) = delete;

    // Interlaced frames are taken row by row in the four interlace passes.
    void Encode(TByteStream& stream, int bitsPerPixel, int colorCount, const std::uint8_t* pixels,
                bool interlaced, int width, int height);

protected:
    virtual void Output(int code) { WriteCode(code); }
    // Sets the clear flag and outputs the clear code.
    virtual void Clear();
    virtual void Compress() = 0;

    // Puts the code above the bits held, at the current code size.
    void WriteCode(int code)
    {
        accumulator_ |= static_cast<std::uint64_t>(code) << bitCount_;
        bitCount_ += codeSize_;
        while (bitCount_ >= 8) {
            writer_->WriteByte(static_cast<std::uint8_t>(accumulator_));
            accumulator_ >>= 8;
            bitCount_ -= 8;
        }
    }
    // The next stretch of pixels that follow each other in the file: the whole
    // frame, or one row of an interlaced frame. False after the last.
    bool NextSpan(const std::uint8_t*& begin, const std::uint8_t*& end);
    // The frame's first pixel; the others follow row by row.
    const std::uint8_t* Pixels() const { return pixels_; }

    int initBits_ = 0;
    int colorCount_ = 0;
    int codeSize_ = 0;
    int initCodeSize_ = 0;
    int maxCode_ = 0;
    int clearCode_ = 0;
    int endCode_ = 0;
    int firstFree_ = 0;
    bool clearFlag_ = false;

private:
    // Raises "Color not in color table" when a pixel is at or past the colour count.
    void CheckColors() const;

    TGIFImage* image_;
    std::unique_ptr<TGIFWriter> writer_;
    std::uint64_t accumulator_ = 0;
    int bitCount_ = 0;
    const std::uint8_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool interlaced_ = false;
    int row_ = -1;
    int pass_ = 0;
};

// 8192 entries of (key << 12 | code); the key of a string is prefix << 8 | pixel.
// An encoder stores at most 4096 strings, so the table is never more than half
// full and a probe always meets an empty slot. The slot of a key is a shift and
// an exclusive or of it, so the probe for the next pixel does not wait on a
// multiplication; collisions go to the next slot. Clearing empties only the
// slots filled since the last clear when they are few, so that encoding a
// small frame costs no more than its strings.
class THashTable {
public:
    static constexpr int kSize = 8192;
    THashTable();
    void Clear();
    void Insert(std::uint32_t key, int code);
    // The code stored for key, or -1.
    int Lookup(std::uint32_t key) const;

    // The first slot probed for key.
    static int Home(std::uint32_t key) { return static_cast<int>((key ^ (key >> 12)) & (kSize - 1)); }
    // The slot that holds key, or the empty slot where it belongs.
    int Find(std::uint32_t key) const
    {
        int index = Home(key);
        for (;;) {
            const std::uint32_t entry = table_[index];
            if (entry == kEmpty || (entry >> 12) == key)
                return index;
            index = (index + 1) & (kSize - 1);
        }
    }
    bool Occupied(int slot) const { return table_[slot] != kEmpty; }
    int CodeAt(int slot) const { return static_cast<int>(table_[slot] & 0xFFF); }
    void Set(int slot, std::uint32_t key, int code)
    {
        table_[slot] = key << 12 | static_cast<std::uint32_t>(code);
        if (filled_ < kTracked)
            filledSlots_[filled_] = static_cast<std::uint16_t>(slot);
        ++filled_;
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
    // Past this many strings, emptying the whole table is quicker.
    static constexpr int kTracked = kSize / 8;
    std::uint32_t table_[kSize];
    std::uint16_t filledSlots_[kTracked];
    int filled_ = 0;
};

// Pixels that may show either of two indices, for an encoder to choose from as
// it goes: each may keep the index it holds or take `alternative` (-1: none).
// Where the dictionary has no say (neither index goes on with the string, or
// both do), the held index is taken, or with `longerRuns` the one more of the
// following pixels may take in a row.
struct TLZWChoices {
    const std::int16_t* alternative = nullptr;
    // Per pixel: how many pixels from it on, in the order they are encoded, may
    // take its held index in a row, and how many its alternative.
    const std::uint32_t* runOfHeld = nullptr;
    const std::uint32_t* runOfOther = nullptr;
    bool longerRuns = false;
    // Receives the index each pixel takes.
    std::uint8_t* chosen = nullptr;
};

// Dictionary encoder. Frames of up to 16 colours keep the dictionary as a direct
// child table (code x pixel -> code): compressible pictures then cost one memory
// read per pixel instead of a hash probe. Larger palettes use the hash table.
// Both give exactly the same codes. An encoder may encode one frame after
// another; its tables are made once.
class TLZWEncoder : public TGIFEncoder {
public:
    using TGIFEncoder::TGIFEncoder;

    // Encodes as Encode does, each pixel taking the index of its two that lets
    // the current string go on: the data is exactly what Encode writes for the
    // chosen indices. Alternatives lie below 2^bitsPerPixel. Taking held
    // indices where the dictionary has no say, answers whether the runs would
    // have taken another index somewhere; when not, choosing by the runs
    // chooses the same throughout.
    bool EncodeChoosing(TByteStream& stream, int bitsPerPixel, const std::uint8_t* pixels, const TLZWChoices& choices,
                        bool interlaced, int width, int height);

protected:
    void Output(int code) override { OutputCode(code); }
    void Clear() override;
    void Compress() override;

private:
    // Writes the code, then grows the code size when the next free code passed the
    // largest code of this size, or returns it to the initial size after a clear.
    void OutputCode(int code)
    {
        WriteCode(code);
        if (nextFree_ > maxCode_ || clearFlag_) {
            if (clearFlag_) {
                codeSize_ = initCodeSize_;
                maxCode_ = (1 << codeSize_) - 1;
                clearFlag_ = false;
            } else {
                ++codeSize_;
                maxCode_ = codeSize_ == 12 ? 4096 : (1 << codeSize_) - 1;
            }
        }
    }
    template <bool Choosing, class Dictionary>
    void CompressWith(Dictionary dictionary);

    int nextFree_ = 0;
    bool direct_ = false;
    const TLZWChoices* choices_ = nullptr;
    bool runsWouldDiffer_ = false;
    std::unique_ptr<THashTable> hash_;
    // Row `code` holds the codes of the strings code + pixel; a row is emptied
    // when its code is made (literal codes' rows at each clear), so the table
    // is never emptied whole.
    std::unique_ptr<std::uint16_t[]> children_;
    size_t childCount_ = 0;
};
