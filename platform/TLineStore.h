// The lines of a text list and their object slots, stored compactly: the
// text of ordinary lines lies back to back in one arena, each line recorded
// in 16 bytes (where its text is, its length, its object slot). A line that
// grows longer than kArenaLength is held in chunks of its own from then on
// (TLineChunks), so that an edit anywhere in it moves no more than a chunk.
//
// Whole gives a line as a string that stays valid until a line is inserted or
// removed before it (as elements of a vector would) or the line grows to be
// held. For lines in the arena it is a copy the store keeps until then, which
// follows the line's changes; a held line's is emptied by a change of the line
// and filled again by the next Whole or View. Pieces and Length read without
// such a copy; views stay valid until the store changes. Reading changes the
// store's caches: a store is used by one thread at a time.
#pragma once

#include "platform/TLineStoreChunks.h"
#include "platform/TextShape.h"

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
    // Longer lines are held in chunks; shorter ones are edited
    // in one piece, which costs less than keeping chunks of their own.
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
    // The line's text is its pieces one after the other: one for a line in
    // the arena, a held line's chunks.
    size_t PieceCount(int index) const;
    std::string_view Piece(int index, size_t i) const;
    // Appends characters pos.. of the line to out, at most count of them.
    void Read(int index, size_t pos, size_t count, std::string& out) const;
    // The shape of piece i: kept for a held line's chunks, measured for a
    // line in the arena.
    TTextShape PieceShape(int index, size_t i) const;
    // The line in one piece.
    std::string_view View(int index) const;
    const std::string& Whole(int index) const;
    TObjectSlot Object(int index) const { return lines_[static_cast<size_t>(index)].object; }
    void SetObject(int index, TObjectSlot object) { lines_[static_cast<size_t>(index)].object = object; }

    // Indexes are checked by the caller. Text handed in may be a Whole of this
    // store, but not a view into it.
    void Insert(int index, std::string_view text, TObjectSlot object);
    // Insert at the end.
    void Append(std::string_view text);
    // Inserts a line whose chunks are made already.
    void Insert(int index, std::unique_ptr<TLineChunks> text, TObjectSlot object);
    void Set(int index, std::string text);
    // Replaces count characters from pos (both within the line) by text.
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
    bool Held(int index) const { return lines_[static_cast<size_t>(index)].size == kHeld; }
    size_t HeldLength(int index) const { return HeldText(index).Length(); }
    TLineChunks& HeldText(int index) const { return *held_[lines_[static_cast<size_t>(index)].where]; }
    std::string_view ArenaText(const TLine& line) const { return std::string_view(arena_).substr(line.where, line.size); }
    // Gives line its text, in the arena or held; its old place must be released.
    void Place(TLine& line, std::string_view text);
    void PlaceHeld(TLine& line, std::unique_ptr<TLineChunks> text);
    void Release(TLine& line);
    // Copies kept by Whole of the lines from index on go: their indexes change.
    void ForgetCopiesFrom(int index) const;
    // Line index changed: a copy kept of it follows, unless the line is held now.
    void Refresh(int index);
    void Compact();

    std::vector<TLine> lines_;
    std::string arena_;
    size_t garbage_ = 0; // arena bytes no line uses any more
    std::vector<std::unique_ptr<TLineChunks>> held_;
    std::vector<uint64_t> freeHeld_;
    mutable std::map<int, std::string> copies_; // by line index
};
