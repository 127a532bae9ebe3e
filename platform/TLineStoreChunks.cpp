// A long line's text in chunks.
#include "platform/TLineStoreChunks.h"

#include <algorithm>
#include <iterator>

void TLineChunks::Assign(std::string_view text)
{
    chunks_.clear();
    for (std::size_t at = 0; at < text.size(); at += kChunk)
        chunks_.emplace_back(text.substr(at, kChunk));
    length_ = text.size();
    starts_.clear();
    for (std::size_t i = 0; i < chunks_.size(); ++i)
        starts_.push_back(i * kChunk);
    shiftFrom_ = kNoShift;
    shift_ = 0;
    tabs_.clear();
    for (const std::string& chunk : chunks_)
        tabs_.push_back(Tabs(chunk));
    tabTotal_ = Tabs(text);
    Changed();
}

void TLineChunks::Append(std::string_view text)
{
    if (text.empty())
        return;
    if (shiftFrom_ != kNoShift)
        ApplyShift();
    tabTotal_ += Tabs(text);
    if (!chunks_.empty() && chunks_.back().size() < kChunk) {
        const std::string_view head = text.substr(0, kChunk - chunks_.back().size());
        chunks_.back() += head;
        tabs_.back() += Tabs(head);
        length_ += head.size();
        text.remove_prefix(head.size());
    }
    for (std::size_t at = 0; at < text.size(); at += kChunk) {
        chunks_.emplace_back(text.substr(at, kChunk));
        starts_.push_back(length_);
        tabs_.push_back(Tabs(chunks_.back()));
        length_ += chunks_.back().size();
    }
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

// Tabs are rare in long lines: they are looked for, not counted byte by byte.
std::size_t TLineChunks::Tabs(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t at = text.find('\t'); at != std::string_view::npos; at = text.find('\t', at + 1))
        ++count;
    return count;
}

std::size_t TLineChunks::LastTabBefore(std::size_t pos) const
{
    pos = std::min(pos, length_);
    if (pos == 0 || tabTotal_ == 0)
        return std::string::npos;
    for (std::size_t i = ChunkAt(pos - 1) + 1; i-- > 0;) {
        if (tabs_[i] == 0)
            continue;
        const std::string_view chunk = std::string_view(chunks_[i]).substr(0, pos - Start(i));
        const std::size_t at = chunk.rfind('\t');
        if (at != std::string_view::npos)
            return Start(i) + at;
    }
    return std::string::npos;
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
    std::size_t tabsGone = Tabs(std::string_view(chunks_[i]).substr(offset, here));
    tabs_[i] -= tabsGone;
    chunks_[i].erase(offset, here);
    remaining -= here;
    // Chunks wholly inside the removed characters go; the last one loses its start.
    std::size_t next = i + 1;
    for (; remaining > 0 && chunks_[next].size() <= remaining; ++next) {
        remaining -= chunks_[next].size();
        tabsGone += tabs_[next];
    }
    if (remaining > 0) {
        const std::size_t cut = Tabs(std::string_view(chunks_[next]).substr(0, remaining));
        tabs_[next] -= cut;
        tabsGone += cut;
        chunks_[next].erase(0, remaining);
    }
    const auto from = static_cast<std::ptrdiff_t>(i) + 1;
    const auto to = static_cast<std::ptrdiff_t>(next);
    chunks_.erase(chunks_.begin() + from, chunks_.begin() + to);
    tabs_.erase(tabs_.begin() + from, tabs_.begin() + to);
    starts_.resize(chunks_.size());
    chunks_[i].insert(offset, text);
    const std::size_t tabsCome = Tabs(text);
    tabs_[i] += tabsCome;
    tabTotal_ = tabTotal_ - tabsGone + tabsCome;
    length_ = length_ - count + text.size();
    const std::size_t size = chunks_[i].size();
    if (next == i + 1 && remaining == 0 && size <= 2 * kChunk && (size >= kChunk / 4 || chunks_.size() == 1) &&
        size > 0) {
        // Only this chunk changed: the ones after it move by as much.
        if (i + 1 < chunks_.size()) {
            shiftFrom_ = i + 1;
            shift_ += static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(count);
        }
    } else {
        Settle(i);
    }
    Changed();
}

void TLineChunks::Settle(std::size_t i)
{
    if (chunks_[i].size() > 2 * kChunk) {
        std::vector<std::string> parts;
        const std::string_view whole = chunks_[i];
        for (std::size_t at = 0; at < whole.size(); at += kChunk)
            parts.emplace_back(whole.substr(at, kChunk));
        chunks_[i] = std::move(parts.front());
        chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::make_move_iterator(parts.begin() + 1),
                       std::make_move_iterator(parts.end()));
        tabs_.insert(tabs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, parts.size() - 1, 0);
        for (std::size_t j = i; j < i + parts.size(); ++j)
            tabs_[j] = Tabs(chunks_[j]);
    } else if (chunks_[i].size() < kChunk / 4 && chunks_.size() > 1) {
        if (i + 1 == chunks_.size())
            --i;
        chunks_[i] += chunks_[i + 1];
        tabs_[i] += tabs_[i + 1];
        chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        tabs_.erase(tabs_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        if (chunks_[i].size() > 2 * kChunk) {
            Settle(i);
            return;
        }
    } else if (chunks_[i].empty()) {
        chunks_.clear(); // the only chunk: the text is empty
        tabs_.clear();
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
