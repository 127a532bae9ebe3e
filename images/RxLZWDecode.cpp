// The animator's LZW decoder. The data sub-blocks are joined first, so codes come
// from one flat buffer; each code's string is written straight into the pixel
// buffer back to front, its length being kept with the code.
#include "images/RxLZW.h"

#include "images/GIFBitmap.h"
#include "images/GraphicException.h"
#include "images/RxGIFTypes.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace RxGIF {

namespace {

constexpr int kTableSize = 4096;
constexpr int kMaxWidth = 12;

std::vector<std::uint8_t> JoinSubBlocks(std::string_view compressed)
{
    std::vector<std::uint8_t> data;
    data.reserve(compressed.size());
    size_t at = 1;
    while (at < compressed.size()) {
        const size_t declared = static_cast<std::uint8_t>(compressed[at++]);
        const size_t count = std::min(declared, compressed.size() - at);
        if (count == 0)
            break;
        data.insert(data.end(), compressed.begin() + static_cast<std::ptrdiff_t>(at),
                    compressed.begin() + static_cast<std::ptrdiff_t>(at + count));
        at += count;
    }
    return data;
}

class TCodeReader {
public:
    explicit TCodeReader(const std::vector<std::uint8_t>& data) : data_(data) {}
    // The next code of the given width, or -1 when the data has run out.
    int Read(int width)
    {
        if (bits_ < width) {
            if (at_ + 8 <= data_.size()) {
                std::uint64_t word;
                std::memcpy(&word, data_.data() + at_, 8);
                const int take = (63 - bits_) / 8;
                accumulator_ |= (take == 8 ? word : word & ((std::uint64_t{1} << (take * 8)) - 1)) << bits_;
                at_ += static_cast<size_t>(take);
                bits_ += take * 8;
            } else {
                while (bits_ < width && at_ < data_.size()) {
                    accumulator_ |= static_cast<std::uint64_t>(data_[at_++]) << bits_;
                    bits_ += 8;
                }
                if (bits_ < width)
                    return -1;
            }
        }
        const int code = static_cast<int>(accumulator_ & ((1u << width) - 1));
        accumulator_ >>= width;
        bits_ -= width;
        return code;
    }
    size_t Position() const { return at_; }

private:
    const std::vector<std::uint8_t>& data_;
    std::uint64_t accumulator_ = 0;
    int bits_ = 0;
    size_t at_ = 0;
};

void PlaceRows(const std::vector<std::uint8_t>& pixels, TGIFBitmap& target, bool interlaced)
{
    const int width = target.Width();
    if (width == 0)
        return;
    size_t from = 0;
    ForEachStoredRow(target.Height(), interlaced, [&](int y) {
        const std::uint8_t* src = pixels.data() + from;
        std::uint8_t* dst = target.ScanLine(y);
        if (target.PixelFormat() == TPixelFormat::pf8bit) {
            std::memcpy(dst, src, static_cast<size_t>(width));
        } else {
            for (int x = 0; x < width; ++x)
                if (src[x] & 1)
                    dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        }
        from += static_cast<size_t>(width);
    });
}

} // namespace

bool RxLZWDecode(std::string_view compressed, TGIFBitmap& target, bool interlaced, int pixelMask,
                 bool tolerateErrors, const TLZWProgress& progress)
{
    if (progress)
        progress(TProgressStage::psStarting, 0);
    const int codeSize = compressed.empty() ? 0 : static_cast<std::uint8_t>(compressed[0]);
    if (codeSize < 2 || codeSize > 9)
        throw EInvalidGraphicOperation(TMessage(SCodeSize, {}));
    const std::vector<std::uint8_t> data = JoinSubBlocks(compressed);
    const size_t total = static_cast<size_t>(target.Width()) * static_cast<size_t>(target.Height());
    std::vector<std::uint8_t> pixels(total, 0);

    const int clear = 1 << codeSize;
    const int end = clear + 1;
    std::vector<std::uint16_t> prefix(kTableSize, 0);
    std::vector<std::uint16_t> length(kTableSize, 1);
    std::vector<std::uint8_t> suffix(kTableSize, 0);
    std::vector<std::uint8_t> first(kTableSize, 0);
    for (int c = 0; c < clear && c < kTableSize; ++c)
        suffix[static_cast<size_t>(c)] = first[static_cast<size_t>(c)] = static_cast<std::uint8_t>(c & pixelMask);

    TCodeReader reader(data);
    int width = codeSize + 1;
    int next = clear + 2;
    bool full = false;
    int previous = -1;
    size_t at = 0;
    bool intact = true;
    std::vector<std::uint8_t> spill;
    for (unsigned steps = 1; at < total; ++steps) {
        const int code = reader.Read(width);
        if (code < 0) {
            intact = false;
            break;
        }
        if (code == clear) {
            width = codeSize + 1;
            next = clear + 2;
            full = false;
            previous = -1;
            continue;
        }
        if (code == end)
            break;
        if (previous < 0) {
            if (code > clear) {
                intact = false;
                break;
            }
            pixels[at++] = suffix[static_cast<size_t>(code)];
            previous = code;
            continue;
        }
        // A code not yet in the table is the previous string plus its own first pixel.
        const bool pending = code >= next;
        const int stringLength = pending ? length[static_cast<size_t>(previous)] + 1 : length[static_cast<size_t>(code)];
        const size_t room = total - at;
        std::uint8_t* out = pixels.data() + at;
        if (static_cast<size_t>(stringLength) > room) {
            spill.resize(static_cast<size_t>(stringLength));
            out = spill.data();
        }
        std::uint8_t* p = out + stringLength - 1;
        int c = code;
        if (pending) {
            *p-- = first[static_cast<size_t>(previous)];
            c = previous;
        }
        while (c >= clear) {
            *p-- = suffix[static_cast<size_t>(c)];
            c = prefix[static_cast<size_t>(c)];
        }
        *p = suffix[static_cast<size_t>(c)];
        if (out == spill.data()) {
            std::memcpy(pixels.data() + at, spill.data(), room);
            at = total;
        } else {
            at += static_cast<size_t>(stringLength);
        }

        int current = code;
        if (!full) {
            const auto added = static_cast<size_t>(next);
            prefix[added] = static_cast<std::uint16_t>(previous);
            suffix[added] = pending ? first[static_cast<size_t>(previous)] : first[static_cast<size_t>(code)];
            first[added] = first[static_cast<size_t>(previous)];
            length[added] = static_cast<std::uint16_t>(length[static_cast<size_t>(previous)] + 1);
            if (pending)
                current = next;
            if (++next == 1 << width) {
                if (width < kMaxWidth)
                    ++width;
                else
                    full = true;
            }
        }
        previous = current;
        if (progress && steps % 4096 == 0)
            progress(TProgressStage::psRunning,
                     static_cast<int>(reader.Position() * 100 / std::max<size_t>(1, data.size())));
    }
    if (!intact && !tolerateErrors)
        throw EInvalidGraphicOperation(TMessage(SGIFCorrupt, {}));
    PlaceRows(pixels, target, interlaced);
    if (progress)
        progress(TProgressStage::psEnding, 100);
    return intact;
}

} // namespace RxGIF
