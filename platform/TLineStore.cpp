// The compact store of a text list's lines.
#include "platform/TLineStore.h"

#include <algorithm>
#include <cstring>

TLineStore::TLineStore(const TLineStore& other)
{
    Reserve(other.lines_.size(), other.arena_.size() - other.garbage_);
    for (int i = 0; i < other.Count(); ++i)
        Insert(i, other.View(i), other.Object(i));
}

size_t TLineStore::HeldLength(int index) const
{
    return HeldText(index).size() - (gap_.index == index ? gap_.length : 0);
}

std::pair<std::string_view, std::string_view> TLineStore::Pieces(int index) const
{
    if (!Held(index))
        return {ArenaText(lines_[static_cast<size_t>(index)]), {}};
    const std::string_view text = HeldText(index);
    if (gap_.index != index)
        return {text, {}};
    return {text.substr(0, gap_.start), text.substr(gap_.start + gap_.length)};
}

std::string_view TLineStore::View(int index) const
{
    if (gap_.index == index)
        CloseGap();
    return Pieces(index).first;
}

const std::string& TLineStore::Whole(int index) const
{
    if (Held(index)) {
        if (gap_.index == index)
            CloseGap();
        return HeldText(index);
    }
    auto [copy, made] = copies_.try_emplace(index);
    if (made)
        copy->second.assign(ArenaText(lines_[static_cast<size_t>(index)]));
    return copy->second;
}

void TLineStore::Place(TLine& line, std::string_view text)
{
    if (text.size() > kArenaLength) {
        PlaceHeld(line, std::string(text));
        return;
    }
    line.where = arena_.size();
    line.size = text.size();
    arena_.append(text);
}

void TLineStore::PlaceHeld(TLine& line, std::string text)
{
    if (freeHeld_.empty()) {
        line.where = held_.size();
        held_.push_back(std::make_unique<std::string>(std::move(text)));
    } else {
        line.where = freeHeld_.back();
        freeHeld_.pop_back();
        held_[line.where] = std::make_unique<std::string>(std::move(text));
    }
    line.size = kHeld;
}

void TLineStore::Release(TLine& line)
{
    if (line.size == kHeld) {
        held_[line.where].reset();
        freeHeld_.push_back(line.where);
    } else {
        garbage_ += line.size;
    }
    line.where = 0;
    line.size = 0;
}

void TLineStore::ForgetCopiesFrom(int index) const
{
    copies_.erase(copies_.lower_bound(index), copies_.end());
}

void TLineStore::Sort(const std::function<bool(std::string_view, std::string_view)>& less)
{
    CloseGap();
    copies_.clear();
    auto text = [this](const TLine& line) {
        return line.size == kHeld ? std::string_view(*held_[line.where]) : ArenaText(line);
    };
    std::stable_sort(lines_.begin(), lines_.end(),
                     [&](const TLine& a, const TLine& b) { return less(text(a), text(b)); });
}

void TLineStore::Compact()
{
    // Once most of the arena is text no line uses, it is written afresh:
    // the cost is spread over the edits that left that much behind.
    if (garbage_ < (1u << 20) || garbage_ < arena_.size() / 2)
        return;
    std::string fresh;
    fresh.reserve(arena_.size() - garbage_);
    for (TLine& line : lines_) {
        if (line.size == kHeld)
            continue;
        const size_t where = fresh.size();
        fresh.append(ArenaText(line));
        line.where = where;
    }
    arena_ = std::move(fresh);
    garbage_ = 0;
}

void TLineStore::Insert(int index, std::string_view text, TObjectSlot object)
{
    static_assert(sizeof(TLine) == 16, "a line's record is what a line costs besides its text");
    CloseGap();
    TLine line{0, 0, object};
    Place(line, text);
    lines_.insert(lines_.begin() + index, line);
    ForgetCopiesFrom(index);
}

void TLineStore::Refresh(int index)
{
    const auto copy = copies_.find(index);
    if (copy == copies_.end())
        return;
    if (Held(index))
        copies_.erase(copy);
    else
        copy->second.assign(ArenaText(lines_[static_cast<size_t>(index)]));
}

void TLineStore::Set(int index, std::string text)
{
    TLine& line = lines_[static_cast<size_t>(index)];
    if (gap_.index == index)
        gap_ = TGap{};
    if (line.size == kHeld) {
        *held_[line.where] = std::move(text);
    } else {
        Release(line);
        if (text.size() > kArenaLength)
            PlaceHeld(line, std::move(text));
        else
            Place(line, text);
        Compact();
    }
    Refresh(index);
}

void TLineStore::Replace(int index, size_t pos, size_t count, std::string_view text)
{
    const size_t length = Length(index);
    if (gap_.index != index) {
        CloseGap();
        if (!Held(index)) {
            const std::string_view old = ArenaText(lines_[static_cast<size_t>(index)]);
            std::string edited;
            edited.reserve(length - count + text.size());
            edited.append(old.substr(0, pos)).append(text).append(old.substr(pos + count));
            Set(index, std::move(edited));
            return;
        }
        gap_ = TGap{index, length, 0};
    }
    MoveGap(pos);
    // The replaced characters follow the gap: they join it.
    gap_.length += count;
    WidenGap(text.size());
    if (!text.empty())
        std::memcpy(HeldText(index).data() + gap_.start, text.data(), text.size());
    gap_.start += text.size();
    gap_.length -= text.size();
}

void TLineStore::Erase(int index)
{
    CloseGap();
    Release(lines_[static_cast<size_t>(index)]);
    lines_.erase(lines_.begin() + index);
    ForgetCopiesFrom(index);
    Compact();
}

void TLineStore::Swap(int index1, int index2)
{
    CloseGap();
    std::swap(lines_[static_cast<size_t>(index1)], lines_[static_cast<size_t>(index2)]);
    // Copies go with their lines, where they are.
    auto first = copies_.extract(index1);
    auto second = copies_.extract(index2);
    if (first) {
        first.key() = index2;
        copies_.insert(std::move(first));
    }
    if (second) {
        second.key() = index1;
        copies_.insert(std::move(second));
    }
}

void TLineStore::MoveLine(int from, int to)
{
    CloseGap();
    const TLine line = lines_[static_cast<size_t>(from)];
    lines_.erase(lines_.begin() + from);
    lines_.insert(lines_.begin() + to, line);
    ForgetCopiesFrom(std::min(from, to));
}

void TLineStore::Clear()
{
    lines_ = {};
    arena_ = {};
    garbage_ = 0;
    held_.clear();
    freeHeld_.clear();
    copies_.clear();
    gap_ = TGap{};
}

void TLineStore::Reserve(size_t lines, size_t bytes)
{
    lines_.reserve(lines_.size() + lines);
    arena_.reserve(arena_.size() + bytes);
}

void TLineStore::CloseGap() const
{
    if (gap_.index < 0)
        return;
    HeldText(gap_.index).erase(gap_.start, gap_.length);
    gap_ = TGap{};
}

void TLineStore::MoveGap(size_t pos)
{
    if (gap_.length == 0) {
        gap_.start = pos;
        return;
    }
    char* const data = HeldText(gap_.index).data();
    if (pos < gap_.start)
        std::memmove(data + pos + gap_.length, data + pos, gap_.start - pos);
    else if (pos > gap_.start)
        std::memmove(data + gap_.start, data + gap_.start + gap_.length, pos - gap_.start);
    gap_.start = pos;
}

void TLineStore::WidenGap(size_t need)
{
    if (gap_.length >= need)
        return;
    std::string& text = HeldText(gap_.index);
    // Growing by an eighth of the line keeps the cost of widening, spread
    // over the characters typed into the new room, constant per character.
    const size_t extra = std::max(need - gap_.length, text.size() / 8);
    text.insert(gap_.start + gap_.length, extra, '\0');
    gap_.length += extra;
}
