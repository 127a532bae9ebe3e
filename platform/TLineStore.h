// The lines of a text list and their object slots, stored compactly: the
// text of ordinary lines lies back to back in one arena, each line recorded
// in 16 bytes (where its text is, its length, its object slot). A line that
// grows longer than kArenaLength is held in a string of its own from then on,
// and one held line at a time keeps a gap of spare bytes where it was last
// edited, so that typing there moves no more than the gap.
//
// Whole gives a line as a string that follows the line's changes and stays
// valid until a line is inserted or removed before it (as elements of a
// vector would) or the line grows to be held; for lines in the arena it is a
// copy the store keeps until then. View, Pieces and Length read without such
// a copy; their views stay valid until the store changes. Reading changes the
// store's caches and may close the gap: a store is used by one thread at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a per-item object slot holds: a pointer or a small integer, opaque to the list.
using TObjectSlot = std::intptr_t;

class TLineStore {
public:
    // Longer lines are held in strings of their own; shorter ones are edited
    // in one piece, which costs less than keeping a gap and a string each.
    static constexpr size_t kArenaLength = 4096;

    TLineStore() = default;
    TLineStore(const TLineStore& other);
    TLineStore& operator=(const TLineStore&) = delete;

    int Count() const { return static_cast<int>(lines_.size()); }
    size_t Length(int index) const
    {
        const TLine& line = lines_[static_cast<size_t>(index)];
        return line.size != kHeld ? line.size : HeldLength(index);
    }
    // The text before and after the line's gap (the second empty without one).
    std::pair<std::string_view, std::string_view> Pieces(int index) const;
    // The line in one piece, closing its gap.
    std::string_view View(int index) const;
    const std::string& Whole(int index) const;
    TObjectSlot Object(int index) const { return lines_[static_cast<size_t>(index)].object; }
    void SetObject(int index, TObjectSlot object) { lines_[static_cast<size_t>(index)].object = object; }

    // Indexes are checked by the caller. Text handed in may be a Whole of this
    // store, but not a view into it.
    void Insert(int index, std::string_view text, TObjectSlot object);
    void Set(int index, std::string text);
    // Replaces count characters from pos (both within the line) by text. A
    // held line's Whole shows its gap from then on, until Whole is asked again.
    void Replace(int index, size_t pos, size_t count, std::string_view text);
    void Erase(int index);
    void Swap(int index1, int index2);
    void MoveLine(int from, int to);
    void Clear();
    // Makes room for that many more lines and bytes of text, so that loading does not move them.
    void Reserve(size_t lines, size_t bytes);
    // Orders the lines stably by less, which compares two lines' texts.
    void Sort(const std::function<bool(std::string_view, std::string_view)>& less);

private:
    static constexpr uint64_t kHeld = (1u << 24) - 1;
    struct TLine {
        uint64_t where : 40; // offset in the arena, or slot in held_
        uint64_t size : 24;  // length in the arena, or kHeld
        TObjectSlot object;
    };
    struct TGap {
        int index = -1;
        size_t start = 0;
        size_t length = 0;
    };

    bool Held(int index) const { return lines_[static_cast<size_t>(index)].size == kHeld; }
    size_t HeldLength(int index) const;
    std::string& HeldText(int index) const { return *held_[lines_[static_cast<size_t>(index)].where]; }
    std::string_view ArenaText(const TLine& line) const { return std::string_view(arena_).substr(line.where, line.size); }
    // Gives line its text, in the arena or held; its old place must be released.
    void Place(TLine& line, std::string_view text);
    void PlaceHeld(TLine& line, std::string text);
    void Release(TLine& line);
    // Copies kept by Whole of the lines from index on go: their indexes change.
    void ForgetCopiesFrom(int index) const;
    // Line index changed: a copy kept of it follows, unless the line is held now.
    void Refresh(int index);
    void Compact();
    void CloseGap() const;
    void MoveGap(size_t pos);
    void WidenGap(size_t need);

    std::vector<TLine> lines_;
    std::string arena_;
    size_t garbage_ = 0; // arena bytes no line uses any more
    std::vector<std::unique_ptr<std::string>> held_;
    std::vector<uint64_t> freeHeld_;
    mutable std::map<int, std::string> copies_; // by line index
    mutable TGap gap_;
};
