// Colour tables: entries, growth, search, use counts and optimisation.
#include "images/GIFColorMap.h"

#include "images/GIFException.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFHeader.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "images/GIFSubImage.h"

#include <algorithm>
#include <numeric>

namespace {

const TWording ColorTableEmpty{"Color table is empty"};
const TWording ColorTableOverflow{"Color table overflow"};

constexpr int kMaxColors = 256;

void CountSubImage(const TGIFSubImage& subImage, TColorHistogram& histogram)
{
    for (std::uint8_t pixel : subImage.Data())
        ++histogram[pixel];
    // A transparent index counts as used even when no pixel holds it, so that
    // cutting unused entries never leaves the frame's transparency pointing past its table.
    if (const TGIFGraphicControlExtension* gce = subImage.GraphicControlExtension())
        if (gce->Transparent())
            ++histogram[gce->TransparentColorIndex()];
}

void RemapSubImage(TGIFSubImage& subImage, const TColorRemap& map)
{
    for (std::uint8_t& pixel : subImage.MutableData())
        pixel = map[pixel];
    if (TGIFGraphicControlExtension* gce = subImage.GraphicControlExtension())
        gce->SetTransparentColorIndexUnchecked(map[gce->TransparentColorIndex()]);
}

} // namespace

TGIFColor TGIFColorMap::Colors(int index)
{
    if (count_ == 0)
        throw GIFException(TMessage(ColorTableEmpty, {}));
    if (index < 0 || index >= count_) {
        Warning(TGIFSeverity::gsWarning, InvalidColorIndex.English());
        index = 0;
    }
    return colors_[static_cast<size_t>(index)];
}

void TGIFColorMap::SetColors(int index, TGIFColor color)
{
    if (index < 0 || index >= kMaxColors)
        throw GIFException(TMessage(InvalidColorIndex, {}));
    EnsureCapacity(index + 1);
    colors_[static_cast<size_t>(index)] = color;
    count_ = std::max(count_, index + 1);
    Changed();
}

int TGIFColorMap::Add(TGIFColor color)
{
    if (count_ >= kMaxColors)
        throw GIFException(TMessage(ColorTableOverflow, {}));
    SetColors(count_, color);
    return count_ - 1;
}

void TGIFColorMap::Delete(int index)
{
    if (index < 0 || index >= count_)
        throw GIFException(TMessage(InvalidColorIndex, {}));
    std::copy(colors_.begin() + index + 1, colors_.begin() + count_, colors_.begin() + index);
    --count_;
    colors_[static_cast<size_t>(count_)] = TGIFColor{};
    Changed();
}

void TGIFColorMap::Clear()
{
    colors_.clear();
    count_ = 0;
    capacity_ = 0;
    Changed();
}

int TGIFColorMap::IndexOf(TGIFColor color) const
{
    if (optimized_) {
        for (int i = 0; i < count_; ++i)
            if (colors_[static_cast<size_t>(i)] == color)
                return i;
    } else {
        for (int i = count_ - 1; i >= 0; --i)
            if (colors_[static_cast<size_t>(i)] == color)
                return i;
    }
    return -1;
}

int TGIFColorMap::AddUnique(TGIFColor color)
{
    const int index = IndexOf(color);
    return index >= 0 ? index : Add(color);
}

int TGIFColorMap::BitsFor(int count)
{
    if (count <= 0)
        return 0;
    int bits = 1;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

int TGIFColorMap::BitsPerPixel() const
{
    return BitsFor(count_);
}

void TGIFColorMap::Assign(const TGIFColorMap& source)
{
    if (&source == this)
        return;
    colors_ = source.colors_;
    count_ = source.count_;
    capacity_ = source.capacity_;
    Changed();
    optimized_ = source.optimized_;
}

void TGIFColorMap::EnsureCapacity(int needed)
{
    if (needed <= capacity_)
        return;
    capacity_ = needed <= 16 ? 16 : std::min(kMaxColors, (needed + 31) / 32 * 32);
    colors_.resize(static_cast<size_t>(capacity_));
}

void TGIFColorMap::LoadFromStream(TByteStream& stream, int count)
{
    Clear();
    count = std::clamp(count, 0, kMaxColors);
    EnsureCapacity(count);
    ReadCheck(stream, colors_.data(), count * 3);
    count_ = count;
}

void TGIFColorMap::SaveToStream(TByteStream& stream, int entries) const
{
    const int used = std::min(count_, entries);
    stream.Write(colors_.data(), used * 3);
    const TGIFColor black;
    for (int i = used; i < entries; ++i)
        stream.Write(&black, 3);
}

TGIFPalette TGIFColorMap::ExportPalette() const
{
    return TGIFPalette(colors_.begin(), colors_.begin() + count_);
}

void TGIFColorMap::ImportPalette(const TGIFPalette& palette)
{
    Clear();
    const int count = std::min<int>(kMaxColors, static_cast<int>(palette.size()));
    for (int i = 0; i < count; ++i)
        Add(palette[static_cast<size_t>(i)]);
}

void TGIFColorMap::ImportDIBColors(const std::uint8_t* quads, int count)
{
    Clear();
    count = std::min(count, kMaxColors);
    for (int i = 0; i < count; ++i)
        Add(TGIFColor{quads[i * 4 + 2], quads[i * 4 + 1], quads[i * 4]});
}

bool TGIFColorMap::Optimize()
{
    if (count_ < 2)
        return false;
    TColorHistogram histogram{};
    CountUse(histogram);
    std::vector<int> order(static_cast<size_t>(count_));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return histogram[static_cast<size_t>(a)] > histogram[static_cast<size_t>(b)]; });
    if (!std::is_sorted(order.begin(), order.end())) {
        TColorRemap map;
        std::iota(map.begin(), map.end(), 0);
        std::vector<TGIFColor> sorted(colors_.size());
        int used = count_;
        for (int newIndex = 0; newIndex < count_; ++newIndex) {
            const int oldIndex = order[static_cast<size_t>(newIndex)];
            map[static_cast<size_t>(oldIndex)] = static_cast<std::uint8_t>(newIndex);
            sorted[static_cast<size_t>(newIndex)] = colors_[static_cast<size_t>(oldIndex)];
            if (histogram[static_cast<size_t>(oldIndex)] == 0 && used == count_)
                used = newIndex;
        }
        Remap(map);
        colors_ = std::move(sorted);
        count_ = used;
        Changed();
    }
    optimized_ = true;
    return true;
}

void TGIFGlobalColorMap::Warning(TGIFSeverity severity, const std::string& message)
{
    header_.Warning(severity, message);
}

void TGIFGlobalColorMap::CountUse(TColorHistogram& histogram)
{
    if (TGIFImage* image = header_.Image())
        for (int i = 0; i < image->Images().Count(); ++i) {
            const TGIFSubImage& frame = image->Images().SubImage(i);
            if (&frame.ActiveColorMap() == this)
                CountSubImage(frame, histogram);
        }
}

void TGIFGlobalColorMap::Remap(const TColorRemap& map)
{
    if (TGIFImage* image = header_.Image())
        for (int i = 0; i < image->Images().Count(); ++i) {
            TGIFSubImage& frame = image->Images().SubImage(i);
            if (&frame.ActiveColorMap() == this)
                RemapSubImage(frame, map);
        }
}

bool TGIFGlobalColorMap::Optimize()
{
    TGIFImage* image = header_.Image();
    if (!image || image->Images().Count() == 0)
        return false;
    return TGIFColorMap::Optimize();
}

void TGIFGlobalColorMap::Changed()
{
    TGIFColorMap::Changed();
    TGIFImage* image = header_.Image();
    if (!image)
        return;
    image->SetPalette(std::nullopt);
    for (int i = 0; i < image->Images().Count(); ++i) {
        TGIFSubImage& frame = image->Images().SubImage(i);
        if (&frame.ActiveColorMap() == this)
            frame.FreeBitmap();
    }
}

void TGIFLocalColorMap::Changed()
{
    TGIFColorMap::Changed();
    subImage_.SetPalette(std::nullopt);
}

void TGIFLocalColorMap::Warning(TGIFSeverity severity, const std::string& message)
{
    subImage_.Warning(severity, message);
}

void TGIFLocalColorMap::CountUse(TColorHistogram& histogram)
{
    CountSubImage(subImage_, histogram);
}

void TGIFLocalColorMap::Remap(const TColorRemap& map)
{
    RemapSubImage(subImage_, map);
}
