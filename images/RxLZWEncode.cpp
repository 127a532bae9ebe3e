// The animator's LZW encoder: strings are found through an open-addressing hash
// of 17777 slots keyed by (prefix code, pixel); at code 4094 the table starts over.
#include "images/RxLZW.h"

#include "images/GIFBitmap.h"

#include <vector>

namespace RxGIF {

namespace {

constexpr int kHashSize = 17777;
constexpr int kResetCode = 4094;
constexpr std::uint16_t kEmpty = 0xFFFF;

struct TEntry {
    std::uint16_t prefix = 0;
    std::uint16_t code = kEmpty;
    std::uint8_t suffix = 0;
};

// Packs codes least significant bit first and hands out full sub-blocks.
class TCodeWriter {
public:
    explicit TCodeWriter(std::string& out) : out_(out) {}
    void Put(int code, int width)
    {
        accumulator_ |= static_cast<std::uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            block_[count_++] = static_cast<char>(accumulator_ & 0xFF);
            accumulator_ >>= 8;
            bits_ -= 8;
            if (count_ == 255)
                Flush();
        }
    }
    void Finish()
    {
        if (bits_ > 0) {
            block_[count_++] = static_cast<char>(accumulator_ & 0xFF);
            bits_ = 0;
        }
        Flush();
        out_.push_back('\0');
    }

private:
    void Flush()
    {
        if (count_ == 0)
            return;
        out_.push_back(static_cast<char>(count_));
        out_.append(block_, static_cast<size_t>(count_));
        count_ = 0;
    }
    std::string& out_;
    std::uint32_t accumulator_ = 0;
    int bits_ = 0;
    char block_[255] = {};
    int count_ = 0;
};

int PixelAt(const std::uint8_t* row, int x, bool oneBit)
{
    return oneBit ? (row[x >> 3] >> (7 - (x & 7))) & 1 : row[x];
}

} // namespace

std::string RxLZWEncode(const TGIFBitmap& source, int depth, bool interlaced, const TLZWProgress& progress)
{
    if (progress)
        progress(TProgressStage::psStarting, 0);
    const int minCodeSize = depth == 1 ? 2 : depth;
    const int pixelMask = (1 << depth) - 1;
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::string out(1, static_cast<char>(minCodeSize));
    TCodeWriter writer(out);
    std::vector<TEntry> table(kHashSize);
    int width = minCodeSize + 1;
    int next = clear + 2;
    writer.Put(clear, width);

    int current = 0;
    int length = 0;
    std::uint32_t hash = 0;
    int rowsDone = 0;
    const bool oneBit = source.PixelFormat() == TPixelFormat::pf1bit;
    ForEachStoredRow(source.Height(), interlaced, [&](int y) {
        const std::uint8_t* row = source.ScanLine(y);
        for (int x = 0; x < source.Width(); ++x) {
            const int pixel = PixelAt(row, x, oneBit) & pixelMask;
            if (++length == 1) {
                current = pixel;
                hash = static_cast<std::uint32_t>(pixel + 3) * 301;
                continue;
            }
            hash = hash * static_cast<std::uint32_t>(pixel + length + 4) % kHashSize;
            size_t slot = hash;
            while (table[slot].code != kEmpty &&
                   !(table[slot].prefix == current && table[slot].suffix == pixel))
                slot = (slot + 1) % kHashSize;
            if (table[slot].code != kEmpty) {
                current = table[slot].code;
                continue;
            }
            writer.Put(current, width);
            const int added = next++;
            table[slot] = TEntry{static_cast<std::uint16_t>(current), static_cast<std::uint16_t>(added),
                                 static_cast<std::uint8_t>(pixel)};
            current = pixel;
            hash = static_cast<std::uint32_t>(pixel + 3) * 301;
            length = 1;
            if (added == 1 << width) {
                ++width;
            } else if (added == kResetCode) {
                writer.Put(current, width);
                writer.Put(clear, width);
                table.assign(kHashSize, TEntry{});
                length = 0;
                width = minCodeSize + 1;
                next = clear + 2;
            }
        }
        if (progress)
            progress(TProgressStage::psRunning, ++rowsDone * 100 / source.Height());
    });
    if (length > 0)
        writer.Put(current, width);
    writer.Put(end, width);
    writer.Finish();
    if (progress)
        progress(TProgressStage::psEnding, 100);
    return out;
}

} // namespace RxGIF
