// The encoder base, the hash table and the LZW dictionary encoder.
#include "images/GIFEncoder.h"

#include "images/GIFException.h"
#include "images/GIFImage.h"
#include "images/GIFRLEEncoder.h"
#include "images/GIFSubImage.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kInterlaceStart[4] = {0, 4, 2, 1};
constexpr int kInterlaceStep[4] = {8, 8, 4, 2};
} // namespace

void Compress(TGIFSubImage& subImage, TByteStream& stream)
{
    TGIFImage* image = subImage.Image();
    int bits;
    int colors;
    if (subImage.ColorMap().Count() > 0) {
        bits = subImage.ColorMap().BitsPerPixel();
        colors = subImage.ColorMap().Count();
    } else {
        bits = image ? image->BitsPerPixel() : 8;
        colors = 1 << bits;
    }
    std::unique_ptr<TGIFEncoder> encoder;
    if (image && image->Compression == 1)
        encoder = std::make_unique<TRLEEncoder>(image);
    else
        encoder = std::make_unique<TLZWEncoder>(image);
    encoder->Encode(stream, bits, colors, subImage.Data().data(), subImage.Interlaced(), subImage.Width(),
                    subImage.Height());
}

void TGIFEncoder::Encode(TByteStream& stream, int bitsPerPixel, int colorCount, const std::uint8_t* pixels,
                         bool interlaced, int width, int height)
{
    initBits_ = std::clamp(bitsPerPixel, 2, 8);
    WriteByte(stream, static_cast<std::uint8_t>(initBits_));
    colorCount_ = colorCount;
    initCodeSize_ = initBits_ + 1;
    codeSize_ = initCodeSize_;
    maxCode_ = (1 << codeSize_) - 1;
    clearCode_ = 1 << initBits_;
    endCode_ = clearCode_ + 1;
    firstFree_ = clearCode_ + 2;
    accumulator_ = 0;
    bitCount_ = 0;

    pixels_ = pixels;
    cursor_ = pixels;
    width_ = width;
    height_ = height;
    interlaced_ = interlaced;
    row_ = 0;
    pass_ = 0;
    left_ = width <= 0 || height <= 0 ? 0 : interlaced ? width : width * height;

    writer_ = std::make_unique<TGIFWriter>(stream, image_);
    if (pixels && width >= 1 && height >= 1)
        Compress();
    WriteCode(endCode_);
    if (bitCount_ > 0)
        writer_->WriteByte(static_cast<std::uint8_t>(accumulator_));
    writer_->Close();
    writer_.reset();
    WriteByte(stream, 0);
}

bool TGIFEncoder::NextRow()
{
    if (!interlaced_ || width_ <= 0)
        return false;
    row_ += kInterlaceStep[pass_];
    while (row_ >= height_) {
        if (++pass_ == 4)
            return false;
        row_ = kInterlaceStart[pass_];
    }
    cursor_ = pixels_ + static_cast<size_t>(row_) * width_;
    left_ = width_;
    return true;
}

void TGIFEncoder::ColorError()
{
    throw GIFException("Color not in color table");
}

void TGIFEncoder::Clear()
{
    clearFlag_ = true;
    Output(clearCode_);
}

void THashTable::Clear()
{
    std::memset(table_, 0xFF, sizeof table_);
}

void THashTable::Insert(std::uint32_t key, int code)
{
    Set(Find(key), key, code);
}

int THashTable::Lookup(std::uint32_t key) const
{
    const int slot = Find(key);
    return Occupied(slot) ? CodeAt(slot) : -1;
}

void TLZWEncoder::Clear()
{
    hash_.Clear();
    nextFree_ = firstFree_;
    TGIFEncoder::Clear();
}

void TLZWEncoder::Compress()
{
    Clear();
    int prefix = NextPixel();
    if (prefix < 0)
        return;
    for (int pixel = NextPixel(); pixel >= 0; pixel = NextPixel()) {
        const std::uint32_t key = static_cast<std::uint32_t>(prefix) << 8 | static_cast<std::uint32_t>(pixel);
        const int slot = hash_.Find(key);
        if (hash_.Occupied(slot)) {
            prefix = hash_.CodeAt(slot);
            continue;
        }
        OutputCode(prefix);
        prefix = pixel;
        if (nextFree_ >= 4095)
            Clear();
        else
            hash_.Set(slot, key, nextFree_++);
    }
    OutputCode(prefix);
}
