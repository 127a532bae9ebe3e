// LZW decoding of GIF image data.
#include "images/GIFDecoder.h"

#include "images/GIFException.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFStream.h"
#include "images/GIFSubImage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <endian.h>
#include <vector>

namespace {

const TWording CircularEntry{"Circular decoder table entry"};

constexpr int kTableSize = 4096;
constexpr int kStackSize = 8192;

// Hands out the frame's pixels in file order as runs of consecutive bytes: the
// whole frame at once, or one row at a time in the four interlace passes.
class TPixelCursor {
public:
    TPixelCursor(std::uint8_t* pixels, int width, int height, bool interlaced)
        : pixels_(pixels), width_(width), height_(height), interlaced_(interlaced)
    {
        if (width <= 0 || height <= 0)
            return;
        if (!interlaced) {
            run_ = pixels;
            left_ = width * height;
        } else {
            row_ = 0;
            run_ = pixels;
            left_ = width;
        }
    }

    bool Done() const { return left_ == 0; }
    // The frame's first pixel: pixels written stay where they are, row by row.
    std::uint8_t* Base() const { return pixels_; }
    int Left() const { return left_; }
    std::uint8_t* Run() const { return run_; }
    // Marks n pixels of the current run as written.
    void Advance(int n)
    {
        run_ += n;
        left_ -= n;
        if (left_ == 0 && interlaced_)
            NextRow();
    }
    void Put(std::uint8_t pixel)
    {
        *run_ = pixel;
        Advance(1);
    }

private:
    void NextRow()
    {
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        row_ += kStep[pass_];
        while (row_ >= height_) {
            if (++pass_ == 4)
                return;
            row_ = kStart[pass_];
        }
        run_ = pixels_ + static_cast<size_t>(row_) * width_;
        left_ = width_;
    }

    std::uint8_t* pixels_;
    int width_;
    int height_;
    bool interlaced_;
    std::uint8_t* run_ = nullptr;
    int left_ = 0;
    int row_ = 0;
    int pass_ = 0;
};

class TLZWDecoder {
public:
    TLZWDecoder(TGIFSubImage& subImage, TByteStream& stream) : subImage_(subImage), stream_(stream) {}
    void Run(int minCodeSize, TPixelCursor& cursor);

private:
    // The next code, or -1 when the data ended.
    int ReadCode()
    {
        if (currentBit_ + codeSize_ > lastBit_ && !RefillFor())
            return -1;
        // Four bytes at once (the buffer has room past its data): a code spans three at most.
        std::uint32_t bits;
        std::memcpy(&bits, buffer_ + (currentBit_ >> 3), sizeof bits);
        bits = le32toh(bits);
        const int code = static_cast<int>((bits >> (currentBit_ & 7)) & ((1u << codeSize_) - 1));
        currentBit_ += codeSize_;
        return code;
    }
    // Reads sub-blocks until a whole code is there; false when the data ends first.
    bool RefillFor();
    bool Refill();
    void Reset();
    void Emit(int code, TPixelCursor& cursor);
    // Writes the string of code (of oldCode and firstCode again for a repeat)
    // into out[0, length), back to front from the table; false when the table
    // does not spell a string of that length.
    bool SpellOut(std::uint8_t* out, int length, int code, bool repeat, int oldCode, int firstCode) const;
    bool EmitDirect(int code, int length, TPixelCursor& cursor);
    int DecodeFitting(int code, TPixelCursor& cursor);
    void EmitStacked(int code, TPixelCursor& cursor);
    void AddEntry(int incoming);
    void SkipRest();
    void Warning(const char* message) { subImage_.Warning(TGIFSeverity::gsWarning, message); }

    TGIFSubImage& subImage_;
    TByteStream& stream_;
    int minCodeSize_ = 0;
    int clear_ = 0;
    int end_ = 0;
    int codeSize_ = 0;
    int boundary_ = 0;
    int nextFree_ = 0;
    // With nextFree_, where the entries made since the last reset end: the
    // whole table before the first.
    int madeTo_ = kTableSize;
    int firstCode_ = 0;
    int oldCode_ = 0;
    // The image data of the current sub-block, behind the unread bytes of the last one.
    std::uint8_t buffer_[2 + 255 + 8] = {};
    int currentBit_ = 0;
    int lastBit_ = 0;
    int lastByte_ = 0;
    bool dataEnded_ = false;
    bool zeroBlockSeen_ = false;
    // The tables are filled by Reset, which Run calls first: a frame's decoder
    // does not empty them twice.
    std::uint16_t prefix_[kTableSize];
    std::uint8_t suffix_[kTableSize];
    // String length of every table entry, for writing strings straight into the frame.
    std::uint16_t length_[kTableSize];
    // Where in the frame the quick way last wrote each entry's string, or -1:
    // a string is copied from there instead of spelled out from its table entries.
    std::int32_t start_[kTableSize];
    // Every entry's string is as long as its length says and lies where its
    // start says: not so once a code past the next free one made an entry of a
    // string that is not there (it may even lead back to itself).
    bool lengthsHold_ = true;
    // Scratch for the careful way's strings.
    std::uint8_t stack_[kStackSize];
};

bool TLZWDecoder::Refill()
{
    // Keep the bytes still holding unread bits in front of the next sub-block.
    const int keepFrom = std::min(currentBit_ >> 3, lastByte_);
    const int keep = lastByte_ - keepFrom;
    std::memmove(buffer_, buffer_ + keepFrom, static_cast<size_t>(keep));
    currentBit_ -= keepFrom * 8;
    const int length = ReadByte(stream_);
    if (length < 0) {
        Warning(PrematureEndOfData.English());
        dataEnded_ = true;
        return false;
    }
    int got = 0;
    if (length == 0) {
        dataEnded_ = true;
        zeroBlockSeen_ = true;
    } else {
        got = static_cast<int>(stream_.Read(buffer_ + keep, length));
        if (got < length)
            Warning(PrematureEndOfData.English());
        if (got == 0)
            dataEnded_ = true;
    }
    lastByte_ = keep + got;
    lastBit_ = lastByte_ * 8;
    return got > 0;
}

bool TLZWDecoder::RefillFor()
{
    while (currentBit_ + codeSize_ > lastBit_) {
        if (dataEnded_ || !Refill()) {
            if (currentBit_ >= lastBit_)
                Warning("Decoder bit buffer under-run");
            return false;
        }
    }
    return true;
}

void TLZWDecoder::Reset()
{
    for (int i = 0; i < clear_; ++i) {
        prefix_[i] = 0;
        suffix_[i] = static_cast<std::uint8_t>(i);
        length_[i] = 1;
    }
    // An entry not yet made reads as the string "0 0": prefix 0, suffix 0.
    // Entries are made only below the next free code, so past the last one
    // made since the previous reset they still read so; a stream that clears
    // every few hundred codes does not pay for the whole table each time.
    const int made = std::clamp(std::max(madeTo_, nextFree_), clear_, kTableSize);
    std::fill(prefix_ + clear_, prefix_ + made, 0);
    std::fill(suffix_ + clear_, suffix_ + made, 0);
    std::fill(length_ + clear_, length_ + made, 2);
    std::fill(start_ + clear_, start_ + made, -1);
    lengthsHold_ = true;
    codeSize_ = minCodeSize_ + 1;
    boundary_ = 2 * clear_;
    nextFree_ = clear_ + 2;
    madeTo_ = 0;
}

bool TLZWDecoder::SpellOut(std::uint8_t* out, int length, int code, bool repeat, int oldCode, int firstCode) const
{
    int i = length - 1;
    if (repeat) {
        out[i--] = static_cast<std::uint8_t>(firstCode);
        code = oldCode;
    }
    while (i > 0 && code >= clear_) {
        out[i--] = suffix_[code];
        code = prefix_[code];
    }
    if (i != 0 || code >= clear_)
        return false;
    out[0] = suffix_[code];
    return true;
}

// Writes the string of code straight into the frame when it fits the current
// run and the table agrees with its recorded length; answers false (having
// written only inside that run) when the careful path must take over.
bool TLZWDecoder::EmitDirect(int code, int length, TPixelCursor& cursor)
{
    if (length > cursor.Left() || !SpellOut(cursor.Run(), length, code, code >= nextFree_, oldCode_, firstCode_))
        return false;
    firstCode_ = cursor.Run()[0];
    cursor.Advance(length);
    return true;
}

void TLZWDecoder::EmitStacked(int code, TPixelCursor& cursor)
{
    int sp = 0;
    if (code >= nextFree_) {
        stack_[sp++] = static_cast<std::uint8_t>(firstCode_);
        code = oldCode_;
    }
    while (code >= clear_) {
        if (sp >= kTableSize || prefix_[code] == code)
            throw GIFException(TMessage(CircularEntry, {}));
        stack_[sp++] = suffix_[code];
        code = prefix_[code];
    }
    firstCode_ = suffix_[code];
    stack_[sp++] = static_cast<std::uint8_t>(firstCode_);
    while (sp > 0 && !cursor.Done())
        cursor.Put(stack_[--sp]);
}

void TLZWDecoder::AddEntry(int incoming)
{
    if (nextFree_ < kTableSize) {
        prefix_[nextFree_] = static_cast<std::uint16_t>(oldCode_);
        suffix_[nextFree_] = static_cast<std::uint8_t>(firstCode_);
        length_[nextFree_] = static_cast<std::uint16_t>(std::min(length_[oldCode_] + 1, kTableSize + 2));
        if (++nextFree_ >= boundary_ && boundary_ < kTableSize) {
            boundary_ *= 2;
            ++codeSize_;
        }
    }
    oldCode_ = incoming;
}

void TLZWDecoder::Emit(int code, TPixelCursor& cursor)
{
    lengthsHold_ = lengthsHold_ && code <= nextFree_;
    const int length = code >= nextFree_ ? length_[oldCode_] + 1 : length_[code];
    if (!EmitDirect(code, length, cursor))
        EmitStacked(code, cursor);
    AddEntry(code);
}

void TLZWDecoder::SkipRest()
{
    if (!dataEnded_)
        SkipSubBlocks(stream_);
}

// Decodes from `code` on while each code is neither a clear nor the end code
// and its string fits what is left of the cursor's run, as Emit and AddEntry
// do, with the decoder's state in locals: a pixel written through a byte
// pointer could be any member, and the compiler would read them all again
// after each. Answers the code it stopped at without decoding it,
// kRunFilled once the run is full, or -1 when the data ended.
constexpr int kRunFilled = -2;

int TLZWDecoder::DecodeFitting(int code, TPixelCursor& cursor)
{
    std::uint8_t* const base = cursor.Base();
    std::uint8_t* out = cursor.Run();
    const int room = cursor.Left();
    // Where the previous code's string begins, when this call wrote it.
    int previous = -1;
    int left = room;
    const int clear = clear_;
    const int end = end_;
    int nextFree = nextFree_;
    int oldCode = oldCode_;
    int firstCode = firstCode_;
    int codeSize = codeSize_;
    int boundary = boundary_;
    int bit = currentBit_;
    int lastBit = lastBit_;
    bool lengthsHold = lengthsHold_;
    auto keep = [&] {
        lengthsHold_ = lengthsHold;
        nextFree_ = nextFree;
        oldCode_ = oldCode;
        firstCode_ = firstCode;
        codeSize_ = codeSize;
        boundary_ = boundary;
        currentBit_ = bit;
    };
    for (;;) {
        const int start = static_cast<int>(out - base);
        if (code < clear) {
            *out++ = static_cast<std::uint8_t>(code);
            --left;
            firstCode = code;
        } else {
            // A code not made yet is the previous string and its first pixel again.
            const bool repeat = code >= nextFree;
            const int length = repeat ? length_[oldCode] + 1 : length_[code];
            if (length > left)
                break;
            lengthsHold = lengthsHold && code <= nextFree;
            if (const int from = repeat ? previous : start_[code]; lengthsHold && from >= 0) {
                // Byte by byte: a repeat reads the pixel it has just written.
                const std::uint8_t* source = base + from;
                for (int i = 0; i < length; ++i)
                    out[i] = source[i];
            } else if (!SpellOut(out, length, code, repeat, oldCode, firstCode)) {
                break;
            }
            firstCode = out[0];
            out += length;
            left -= length;
        }
        if (nextFree < kTableSize) {
            prefix_[nextFree] = static_cast<std::uint16_t>(oldCode);
            suffix_[nextFree] = static_cast<std::uint8_t>(firstCode);
            length_[nextFree] = static_cast<std::uint16_t>(std::min(length_[oldCode] + 1, kTableSize + 2));
            // The previous string with this one's first pixel, which follows it.
            start_[nextFree] = previous;
            if (++nextFree >= boundary && boundary < kTableSize) {
                boundary *= 2;
                ++codeSize;
            }
        }
        previous = start;
        oldCode = code;
        if (left == 0) {
            code = kRunFilled;
            break;
        }
        if (bit + codeSize > lastBit) {
            keep();
            if (!RefillFor()) {
                cursor.Advance(room - left);
                return -1;
            }
            bit = currentBit_;
            lastBit = lastBit_;
        }
        std::uint32_t bits;
        std::memcpy(&bits, buffer_ + (bit >> 3), sizeof bits);
        code = static_cast<int>((le32toh(bits) >> (bit & 7)) & ((1u << codeSize) - 1));
        bit += codeSize;
        if (code == clear || code == end)
            break;
    }
    keep();
    cursor.Advance(room - left);
    return code;
}

void TLZWDecoder::Run(int minCodeSize, TPixelCursor& cursor)
{
    minCodeSize_ = minCodeSize;
    clear_ = 1 << minCodeSize;
    end_ = clear_ + 1;
    Reset();
    int code = clear_;
    while (!cursor.Done()) {
        if (code == clear_) {
            Reset();
            do
                code = ReadCode();
            while (code == clear_);
            if (code < 0 || code == end_)
                break;
            // The first code after a clear must be a pixel; anything else reads as 0.
            firstCode_ = code < clear_ ? code : 0;
            oldCode_ = code < clear_ ? code : 0;
            cursor.Put(static_cast<std::uint8_t>(firstCode_));
        } else if (code < clear_) {
            cursor.Put(static_cast<std::uint8_t>(code));
            firstCode_ = code;
            AddEntry(code);
        } else {
            Emit(code, cursor);
        }
        if (cursor.Done())
            break;
        code = ReadCode();
        // The quick way as far as it goes; the careful one takes what it leaves.
        while (code >= 0 && code != clear_ && code != end_) {
            code = DecodeFitting(code, cursor);
            if (code != kRunFilled || cursor.Done())
                break;
            code = ReadCode();
        }
        if (code < 0 || code == end_ || cursor.Done())
            break;
    }
    // Whatever follows the pixels (an end code, stray codes) is data of this frame only.
    SkipRest();
}

} // namespace

void Decompress(TGIFSubImage& subImage, TByteStream& stream)
{
    const TGIFGraphicControlExtension* gce = subImage.GraphicControlExtension();
    const std::uint8_t fill = gce && gce->Transparent() ? gce->TransparentColorIndex() : 0;
    std::vector<std::uint8_t>& pixels = subImage.MutableData();
    pixels.assign(static_cast<size_t>(subImage.Width()) * static_cast<size_t>(subImage.Height()), fill);
    const int minCodeSize = ReadByte(stream);
    if (minCodeSize < 0) {
        subImage.Warning(TGIFSeverity::gsWarning, PrematureEndOfData.English());
        return;
    }
    if (minCodeSize < 1 || minCodeSize > 8)
        throw GIFException(TMessage(InvalidGIFData, {}));
    TPixelCursor cursor(pixels.data(), subImage.Width(), subImage.Height(), subImage.Interlaced());
    // About 30 KB of tables in this routine's own storage, for one frame.
    TLZWDecoder decoder(subImage, stream);
    decoder.Run(minCodeSize, cursor);
}
