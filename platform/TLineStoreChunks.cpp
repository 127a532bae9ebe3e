// A long line's text in chunks.
#include "platform/TLineStoreChunks.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <iterator>

std::vector<std::string> TLineChunks::Cut(std::string_view text)
{
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = std::min(at + kChunk, text.size());
        if (end < text.size()) {
            // Back to the start of the character the cut would split, unless
            // that is where the chunk starts (a run of stray bytes).
            const std::size_t start = vx::utf8::CharStart(text, end);
            if (start > at)
                end = start;
        }
        parts.emplace_back(text.substr(at, end - at));
        at = end;
    }
    return parts;
}

void TLineChunks::Assign(std::string_view text)
{
    chunks_ = Cut(text);
    length_ = text.size();
    starts_.clear();
    shapes_.clear();
    std::size_t start = 0;
    for (const std::string& chunk : chunks_) {
        starts_.push_back(start);
        shapes_.push_back(kUnmeasured);
        start += chunk.size();
    }
    shiftFrom_ = kNoShift;
    shift_ = 0;
    Changed();
}

void TLineChunks::Append(std::string_view text)
{
    if (text.empty())
        return;
    if (shiftFrom_ != kNoShift)
        ApplyShift();
    // The last chunk is filled up first, to a character's start; the text is
    // read in blocks, so appending makes no copy of it beyond the chunks.
    if (!chunks_.empty() && chunks_.back().size() < kChunk) {
        std::size_t take = std::min(kChunk - chunks_.back().size(), text.size());
        if (take < text.size()) {
            const std::size_t start = vx::utf8::CharStart(text, take);
            if (start > 0)
                take = start;
        }
        chunks_.back().append(text.substr(0, take));
        shapes_.back() = kUnmeasured;
        length_ += take;
        text.remove_prefix(take);
    }
    const std::size_t first = chunks_.size();
    for (std::string& part : Cut(text)) {
        starts_.push_back(length_);
        shapes_.push_back(kUnmeasured);
        length_ += part.size();
        chunks_.push_back(std::move(part));
    }
    // A character the last block of a read left unfinished is finished by
    // this one, across the chunks' boundary.
    if (first > 0 && first < chunks_.size())
        MendBoundary(first);
    Changed();
}

std::size_t TLineChunks::ChunkAt(std::size_t pos) const
{
    // The last chunk starting at or before pos.
    std::size_t low = 0;
    std::size_t high = chunks_.size();
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        if (Start(middle) <= pos)
            low = middle;
        else
            high = middle;
    }
    return low;
}

void TLineChunks::Read(std::size_t pos, std::size_t count, std::string& out) const
{
    if (pos >= length_)
        return;
    count = std::min(count, length_ - pos);
    out.reserve(out.size() + count);
    std::size_t i = ChunkAt(pos);
    std::size_t offset = pos - Start(i);
    while (count > 0) {
        const std::size_t take = std::min(count, chunks_[i].size() - offset);
        out.append(chunks_[i], offset, take);
        count -= take;
        offset = 0;
        ++i;
    }
}

void TLineChunks::Replace(std::size_t pos, std::size_t count, std::string_view text)
{
    if (count == 0 && text.empty())
        return;
    if (chunks_.empty()) {
        Assign(text);
        return;
    }
    const std::size_t i = ChunkAt(pos);
    // The starts after the chunk typed in keep one shift between them; an
    // edit elsewhere makes them true first.
    if (shiftFrom_ != kNoShift && shiftFrom_ != i + 1)
        ApplyShift();
    const std::size_t offset = pos - starts_[i];
    std::size_t remaining = count;
    const std::size_t here = std::min(remaining, chunks_[i].size() - offset);
    chunks_[i].erase(offset, here);
    remaining -= here;
    // Chunks wholly inside the removed characters go; the last one loses its start.
    std::size_t next = i + 1;
    for (; remaining > 0 && chunks_[next].size() <= remaining; ++next)
        remaining -= chunks_[next].size();
    if (remaining > 0) {
        chunks_[next].erase(0, remaining);
        shapes_[next] = kUnmeasured;
    }
    const auto from = static_cast<std::ptrdiff_t>(i) + 1;
    const auto to = static_cast<std::ptrdiff_t>(next);
    chunks_.erase(chunks_.begin() + from, chunks_.begin() + to);
    shapes_.erase(shapes_.begin() + from, shapes_.begin() + to);
    starts_.resize(chunks_.size());
    chunks_[i].insert(offset, text);
    // Measured when asked: where the line shows is read from the chunks
    // before a place, and typing goes on in the chunk at the caret.
    shapes_[i] = kUnmeasured;
    length_ = length_ - count + text.size();
    const std::size_t size = chunks_[i].size();
    if (next == i + 1 && remaining == 0 && size <= 2 * kChunk && (size >= kChunk / 4 || chunks_.size() == 1) &&
        size > 0) {
        // Only this chunk changed: the ones after it move by as much.
        if (i + 1 < chunks_.size()) {
            shiftFrom_ = i + 1;
            shift_ += static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(count);
            MendBoundary(i + 1);
        }
        if (i > 0)
            MendBoundary(i);
    } else {
        Settle(i);
        // Each look is one byte where nothing needs mending, as after an
        // edit between characters.
        for (std::size_t j = chunks_.size(); j-- > 1;)
            MendBoundary(j);
    }
    Changed();
}

void TLineChunks::MendBoundary(std::size_t j)
{
    const std::string& before = chunks_[j - 1];
    const std::string& after = chunks_[j];
    if (after.empty() || !vx::utf8::IsTrail(after.front()))
        return;
    // The lead of a character may stand at most three bytes before the boundary.
    const std::size_t look = std::min<std::size_t>(3, before.size());
    std::string joint = before.substr(before.size() - look) + after.substr(0, 3);
    std::size_t lead = look;
    while (lead > 0 && vx::utf8::IsTrail(joint[lead - 1]))
        --lead;
    if (lead == 0)
        return;
    --lead;
    const std::size_t length = vx::utf8::CharLength(joint, lead);
    if (lead + length <= look)
        return; // the character ends before the boundary
    const std::size_t moved = lead + length - look;
    if (shiftFrom_ != kNoShift)
        ApplyShift();
    chunks_[j - 1] += after.substr(0, moved);
    chunks_[j].erase(0, moved);
    shapes_[j - 1] = kUnmeasured;
    if (chunks_[j].empty()) {
        const auto gone = static_cast<std::ptrdiff_t>(j);
        chunks_.erase(chunks_.begin() + gone);
        shapes_.erase(shapes_.begin() + gone);
        starts_.erase(starts_.begin() + gone);
        return;
    }
    shapes_[j] = kUnmeasured;
    starts_[j] += moved;
}

void TLineChunks::Settle(std::size_t i)
{
    if (chunks_[i].size() > 2 * kChunk) {
        std::vector<std::string> parts = Cut(chunks_[i]);
        const auto after = static_cast<std::ptrdiff_t>(i) + 1;
        chunks_[i] = std::move(parts.front());
        chunks_.insert(chunks_.begin() + after, std::make_move_iterator(parts.begin() + 1),
                       std::make_move_iterator(parts.end()));
        shapes_[i] = kUnmeasured;
        shapes_.insert(shapes_.begin() + after, parts.size() - 1, kUnmeasured);
    } else if (chunks_[i].size() < kChunk / 4 && chunks_.size() > 1) {
        if (i + 1 == chunks_.size())
            --i;
        chunks_[i] += chunks_[i + 1];
        shapes_[i] = kUnmeasured;
        chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        shapes_.erase(shapes_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        if (chunks_[i].size() > 2 * kChunk) {
            Settle(i);
            return;
        }
    } else if (chunks_[i].empty()) {
        chunks_.clear(); // the only chunk: the text is empty
        shapes_.clear();
    }
    starts_.resize(chunks_.size());
    for (std::size_t j = std::max<std::size_t>(i, 1); j < chunks_.size(); ++j)
        starts_[j] = starts_[j - 1] + chunks_[j - 1].size();
    shiftFrom_ = kNoShift;
    shift_ = 0;
}

void TLineChunks::ApplyShift()
{
    for (std::size_t j = shiftFrom_; j < starts_.size(); ++j)
        starts_[j] = Start(j);
    shiftFrom_ = kNoShift;
    shift_ = 0;
}

const TTextShape& TLineChunks::PieceShape(std::size_t i) const
{
    // A later chunk may begin with zero-width characters that join the
    // character ending the chunk before it.
    if (shapes_[i] == kUnmeasured)
        shapes_[i] = i == 0 ? ShapeOf(chunks_[i]) : ShapeOfContinuation(chunks_[i]);
    return shapes_[i];
}

void TLineChunks::Changed()
{
    if (!wholeKept_)
        return;
    std::string().swap(whole_);
    wholeKept_ = false;
}

const std::string& TLineChunks::Whole() const
{
    if (!wholeKept_) {
        whole_.reserve(length_);
        for (const std::string& chunk : chunks_)
            whole_ += chunk;
        wholeKept_ = true;
    }
    return whole_;
}
