// The compact store of a text list's lines.
#include "platform/TLineStore.h"

#include <algorithm>

TLineStore::TLineStore(const TLineStore& other)
{
    Reserve(other.lines_.size(), other.arena_.size() - other.garbage_);
    for (int i = 0; i < other.Count(); ++i) {
        if (other.Held(i)) {
            TLine line{0, 0, other.Object(i)};
            PlaceHeld(line, std::make_unique<TLineChunks>(other.HeldText(i)));
            lines_.push_back(line);
        } else {
            Insert(i, other.View(i), other.Object(i));
        }
    }
}

size_t TLineStore::PieceCount(int index) const { return Held(index) ? HeldText(index).PieceCount() : 1; }

std::string_view TLineStore::Piece(int index, size_t i) const
{
    return Held(index) ? HeldText(index).Piece(i) : ArenaText(lines_[static_cast<size_t>(index)]);
}

void TLineStore::Read(int index, size_t pos, size_t count, std::string& out) const
{
    if (Held(index)) {
        HeldText(index).Read(pos, count, out);
        return;
    }
    const std::string_view text = ArenaText(lines_[static_cast<size_t>(index)]);
    if (pos < text.size())
        out.append(text.substr(pos, count));
}

TTextShape TLineStore::PieceShape(int index, size_t i) const
{
    return Held(index) ? HeldText(index).PieceShape(i) : ShapeOf(ArenaText(lines_[static_cast<size_t>(index)]));
}

std::string_view TLineStore::View(int index) const
{
    return Held(index) ? std::string_view(HeldText(index).Whole()) : ArenaText(lines_[static_cast<size_t>(index)]);
}

const std::string& TLineStore::Whole(int index) const
{
    if (Held(index))
        return HeldText(index).Whole();
    auto [copy, made] = copies_.try_emplace(index);
    if (made)
        copy->second.assign(ArenaText(lines_[static_cast<size_t>(index)]));
    return copy->second;
}

void TLineStore::Place(TLine& line, std::string_view text)
{
    if (text.size() > kArenaLength) {
        PlaceHeld(line, std::make_unique<TLineChunks>(text));
        return;
    }
    line.where = arena_.size();
    line.size = text.size();
    arena_.append(text);
}

void TLineStore::PlaceHeld(TLine& line, std::unique_ptr<TLineChunks> text)
{
    if (freeHeld_.empty()) {
        line.where = held_.size();
        held_.push_back(std::move(text));
    } else {
        line.where = freeHeld_.back();
        freeHeld_.pop_back();
        held_[line.where] = std::move(text);
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
    copies_.clear();
    auto text = [this](const TLine& line) {
        return line.size == kHeld ? std::string_view(held_[line.where]->Whole()) : ArenaText(line);
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
    TLine line{0, 0, object};
    Place(line, text);
    lines_.insert(lines_.begin() + index, line);
    ForgetCopiesFrom(index);
}

void TLineStore::Append(std::string_view text)
{
    TLine line{0, 0, 0};
    Place(line, text);
    lines_.push_back(line); // no copy is kept of a line past the last
}

void TLineStore::Insert(int index, std::unique_ptr<TLineChunks> text, TObjectSlot object)
{
    if (text->Length() <= kArenaLength) {
        Insert(index, text->Whole(), object);
        return;
    }
    TLine line{0, 0, object};
    PlaceHeld(line, std::move(text));
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
    if (line.size == kHeld) {
        held_[line.where]->Assign(text);
    } else {
        Release(line);
        Place(line, text);
        Compact();
    }
    Refresh(index);
}

void TLineStore::Replace(int index, size_t pos, size_t count, std::string_view text)
{
    if (Held(index)) {
        HeldText(index).Replace(pos, count, text);
        return;
    }
    const std::string_view old = ArenaText(lines_[static_cast<size_t>(index)]);
    std::string edited;
    edited.reserve(old.size() - count + text.size());
    edited.append(old.substr(0, pos)).append(text).append(old.substr(pos + count));
    Set(index, std::move(edited));
}

void TLineStore::Erase(int index)
{
    Release(lines_[static_cast<size_t>(index)]);
    lines_.erase(lines_.begin() + index);
    ForgetCopiesFrom(index);
    Compact();
}

void TLineStore::Swap(int index1, int index2)
{
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
}

void TLineStore::Reserve(size_t lines, size_t bytes)
{
    lines_.reserve(lines_.size() + lines);
    arena_.reserve(arena_.size() + bytes);
}
