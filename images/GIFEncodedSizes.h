// The sizes of frames' image data as the optimiser's phases encoded them, so
// that a later phase weighing the same pixels at the same code size need not
// encode them again. An entry holds while the frame's pixels stay as they
// were, or are only renumbered one to one: the LZW data of a frame depends on
// which of its pixels are equal, not on their indices.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <tuple>

class TGIFSubImage;

class TEncodedSizes {
public:
    void Add(const TGIFSubImage& frame, int codeBits, bool interlaced, std::int64_t bytes)
    {
        sizes_[{&frame, codeBits, interlaced}] = bytes;
    }
    std::optional<std::int64_t> Find(const TGIFSubImage& frame, int codeBits, bool interlaced) const
    {
        const auto found = sizes_.find({&frame, codeBits, interlaced});
        return found == sizes_.end() ? std::nullopt : std::optional<std::int64_t>(found->second);
    }

private:
    std::map<std::tuple<const TGIFSubImage*, int, bool>, std::int64_t> sizes_;
};
