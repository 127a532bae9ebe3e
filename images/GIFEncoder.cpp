// The encoder base, the hash table and the LZW dictionary encoder.
#include "images/GIFEncoder.h"

#include "images/GIFException.h"
#include "images/GIFImage.h"
#include "images/GIFRLEEncoder.h"
#include "images/GIFSubImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
const TWording ColorNotInTable{"Color not in color table"};
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
    // Codes need only cover the indices the frame holds: a frame that uses the
    // first entries of a large table starts with narrower codes.
    const std::vector<std::uint8_t>& pixels = subImage.Data();
    if (!pixels.empty())
        bits = std::min(bits, TGIFColorMap::BitsFor(*std::max_element(pixels.begin(), pixels.end()) + 1));
    MakeEncoder(image)->Encode(stream, bits, colors, subImage.Data().data(), subImage.Interlaced(), subImage.Width(),
                    subImage.Height());
}

std::unique_ptr<TGIFEncoder> MakeEncoder(TGIFImage* image)
{
    if (image && image->Compression == 1)
        return std::make_unique<TRLEEncoder>(image);
    return std::make_unique<TLZWEncoder>(image);
}

void TGIFEncoder::Encode(TByteStream& stream, int bitsPerPixel, int colorCount, const std::uint8_t* pixels,
                         bool interlaced, int width, int height)
{
    initBits_ = std::clamp(bitsPerPixel, 2, 8);
    WriteByte(stream, static_cast<std::uint8_t>(initBits_));
    // A pixel must stay below the clear code, whatever count the caller gives.
    colorCount_ = std::min(colorCount, 1 << initBits_);
    initCodeSize_ = initBits_ + 1;
    codeSize_ = initCodeSize_;
    maxCode_ = (1 << codeSize_) - 1;
    clearCode_ = 1 << initBits_;
    endCode_ = clearCode_ + 1;
    firstFree_ = clearCode_ + 2;
    accumulator_ = 0;
    bitCount_ = 0;

    pixels_ = pixels;
    width_ = pixels ? std::max(width, 0) : 0;
    height_ = pixels ? std::max(height, 0) : 0;
    interlaced_ = interlaced;
    row_ = -1;
    pass_ = 0;

    writer_ = std::make_unique<TGIFWriter>(stream, image_);
    if (width_ >= 1 && height_ >= 1) {
        CheckColors();
        Compress();
    }
    WriteCode(endCode_);
    if (bitCount_ > 0)
        writer_->WriteByte(static_cast<std::uint8_t>(accumulator_));
    writer_->Close();
    writer_.reset();
    WriteByte(stream, 0);
}

bool TGIFEncoder::NextSpan(const std::uint8_t*& begin, const std::uint8_t*& end)
{
    if (width_ <= 0 || height_ <= 0 || pass_ == 4)
        return false;
    if (!interlaced_) {
        begin = pixels_;
        end = pixels_ + static_cast<size_t>(width_) * static_cast<size_t>(height_);
        pass_ = 4;
        return true;
    }
    row_ = row_ < 0 ? 0 : row_ + kInterlaceStep[pass_];
    while (row_ >= height_) {
        if (++pass_ == 4)
            return false;
        row_ = kInterlaceStart[pass_];
    }
    begin = pixels_ + static_cast<size_t>(row_) * static_cast<size_t>(width_);
    end = begin + width_;
    return true;
}

void TGIFEncoder::CheckColors() const
{
    if (colorCount_ >= 256)
        return;
    const std::uint8_t* p = pixels_;
    const std::uint8_t* end = pixels_ + static_cast<size_t>(width_) * static_cast<size_t>(height_);
    std::uint8_t highest = 0;
    for (; p != end; ++p)
        highest = std::max(highest, *p);
    if (highest >= colorCount_)
        throw GIFException(TMessage(ColorNotInTable, {}));
}

void TGIFEncoder::Clear()
{
    clearFlag_ = true;
    Output(clearCode_);
}

THashTable::THashTable()
{
    std::memset(table_, 0xFF, sizeof table_);
}

void THashTable::Clear()
{
    if (filled_ > kTracked)
        std::memset(table_, 0xFF, sizeof table_);
    else
        for (int i = 0; i < filled_; ++i)
            table_[filledSlots_[i]] = kEmpty;
    filled_ = 0;
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

namespace {

constexpr int kDirectBits = 4;
constexpr int kWidestRow = 1 << kDirectBits;

// The hash table seen as a dictionary: a slot either holds the string or is where it goes.
struct THashDictionary {
    THashTable* table;
    int Find(int prefix, int pixel) const { return table->Find(Key(prefix, pixel)); }
    bool Found(int slot) const { return table->Occupied(slot); }
    int Code(int slot) const { return table->CodeAt(slot); }
    void Set(int slot, int prefix, int pixel, int code) { table->Set(slot, Key(prefix, pixel), code); }
    static std::uint32_t Key(int prefix, int pixel)
    {
        return static_cast<std::uint32_t>(prefix) << 8 | static_cast<std::uint32_t>(pixel);
    }
};

// The child table: slot prefix << bits | pixel holds the code of that string, or 0.
struct TDirectDictionary {
    std::uint16_t* children;
    int bits;
    int Find(int prefix, int pixel) const { return prefix << bits | pixel; }
    bool Found(int slot) const { return children[slot] != 0; }
    int Code(int slot) const { return children[slot]; }
    void Set(int slot, int, int, int code)
    {
        children[slot] = static_cast<std::uint16_t>(code);
        // One store of the widest row: what it passes belongs to codes not made yet.
        std::memset(children + (code << bits), 0, kWidestRow * sizeof *children);
    }
};

bool OtherRunsLonger(const TLZWChoices& choices, size_t at)
{
    return choices.runOfOther[at] > choices.runOfHeld[at];
}

// The first pixel's index: where the dictionary has no say yet.
int ChooseFirst(const TLZWChoices& choices, size_t at, int held, bool& runsWouldDiffer)
{
    const int other = choices.alternative[at];
    const bool longer = other >= 0 && OtherRunsLonger(choices, at);
    runsWouldDiffer = runsWouldDiffer || (longer && !choices.longerRuns);
    const int index = longer && choices.longerRuns ? other : held;
    choices.chosen[at] = static_cast<std::uint8_t>(index);
    return index;
}

// Where the pixel at `at` may take its alternative: takes the one of its two
// indices that goes on with the string prefix, and records it. index, slot and
// found come as the held index's lookup and leave as the taken one's.
template <class Dictionary>
void Choose(const TLZWChoices& choices, Dictionary& dictionary, int prefix, size_t at, int& index, int& slot,
            bool& found, bool& runsWouldDiffer)
{
    if (const int other = choices.alternative[at]; other >= 0) {
        const int otherSlot = dictionary.Find(prefix, other);
        const bool otherFound = dictionary.Found(otherSlot);
        // Where both go on, or neither, the runs may decide.
        const bool longer = found == otherFound && OtherRunsLonger(choices, at);
        runsWouldDiffer = runsWouldDiffer || (longer && !choices.longerRuns);
        if (found != otherFound ? otherFound : longer && choices.longerRuns) {
            index = other;
            slot = otherSlot;
            found = otherFound;
        }
    }
    choices.chosen[at] = static_cast<std::uint8_t>(index);
}

} // namespace

void TLZWEncoder::Clear()
{
    if (direct_)
        std::fill_n(children_.get(), static_cast<size_t>(clearCode_) << initBits_, 0);
    else
        hash_->Clear();
    nextFree_ = firstFree_;
    TGIFEncoder::Clear();
}

bool TLZWEncoder::EncodeChoosing(TByteStream& stream, int bitsPerPixel, const std::uint8_t* pixels,
                                 const TLZWChoices& choices, bool interlaced, int width, int height)
{
    choices_ = &choices;
    runsWouldDiffer_ = false;
    try {
        Encode(stream, bitsPerPixel, 1 << bitsPerPixel, pixels, interlaced, width, height);
    } catch (...) {
        choices_ = nullptr;
        throw;
    }
    choices_ = nullptr;
    return runsWouldDiffer_;
}

void TLZWEncoder::Compress()
{
    direct_ = initBits_ <= kDirectBits;
    if (direct_) {
        if (const size_t needed = (static_cast<size_t>(4096) << initBits_) + kWidestRow; childCount_ < needed) {
            children_ = std::make_unique_for_overwrite<std::uint16_t[]>(needed);
            childCount_ = needed;
        }
        const TDirectDictionary dictionary{children_.get(), initBits_};
        choices_ ? CompressWith<true>(dictionary) : CompressWith<false>(dictionary);
    } else {
        if (!hash_)
            hash_ = std::make_unique<THashTable>();
        const THashDictionary dictionary{hash_.get()};
        choices_ ? CompressWith<true>(dictionary) : CompressWith<false>(dictionary);
    }
}

template <bool Choosing, class Dictionary>
void TLZWEncoder::CompressWith(Dictionary dictionary)
{
    Clear();
    // In locals: a chosen index written through a byte pointer could otherwise be any member.
    const TLZWChoices choices = Choosing ? *choices_ : TLZWChoices{};
    const std::uint8_t* const first = Pixels();
    bool runsWouldDiffer = false;
    const std::uint8_t* p;
    const std::uint8_t* end;
    if (!NextSpan(p, end))
        return;
    int prefix = Choosing ? ChooseFirst(choices, static_cast<size_t>(p - first), *p, runsWouldDiffer) : *p;
    ++p;
    do {
        for (; p != end; ++p) {
            int index = *p;
            int slot = dictionary.Find(prefix, index);
            bool found = dictionary.Found(slot);
            if constexpr (Choosing)
                Choose(choices, dictionary, prefix, static_cast<size_t>(p - first), index, slot, found,
                       runsWouldDiffer);
            if (found) {
                prefix = dictionary.Code(slot);
                continue;
            }
            OutputCode(prefix);
            if (nextFree_ >= 4095)
                Clear();
            else
                dictionary.Set(slot, prefix, index, nextFree_++);
            prefix = index;
        }
    } while (NextSpan(p, end));
    OutputCode(prefix);
    runsWouldDiffer_ = runsWouldDiffer;
}
