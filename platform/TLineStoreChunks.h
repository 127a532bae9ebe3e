// The text of one long line of the line store, in chunks of a few kilobytes:
// an edit anywhere in the line moves the bytes of one chunk and the table of
// where the chunks start, never the rest of the line, however long it is and
// wherever the previous edit was. Chunks meet only between characters, and
// each chunk's shape (its tabs and cells) is kept once measured, so that where a place of
// the line shows is found without reading the chunks before it.
#pragma once

#include "platform/TextShape.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TLineChunks {
public:
    // Chunks are cut kChunk long; edits let one grow to twice that before it
    // is cut again, and one that shrinks below a quarter joins a neighbour.
    static constexpr std::size_t kChunk = 8 * 1024;

    explicit TLineChunks(std::string_view text) { Assign(text); }
    // Copies the text, not the whole copy Whole may keep.
    TLineChunks(const TLineChunks& other)
        : chunks_(other.chunks_), starts_(other.starts_), shiftFrom_(other.shiftFrom_), shift_(other.shift_),
          shapes_(other.shapes_), length_(other.length_)
    {
    }
    TLineChunks& operator=(const TLineChunks&) = delete;

    std::size_t Length() const { return length_; }
    std::size_t PieceCount() const { return chunks_.size(); }
    std::string_view Piece(std::size_t i) const { return chunks_[i]; }
    // The shape of piece i, measured on first request after a change: the
    // pieces' shapes add up to the whole text's, a cluster counted in the
    // piece it begins in.
    const TTextShape& PieceShape(std::size_t i) const;
    // Appends characters pos.. to out, at most count of them.
    void Read(std::size_t pos, std::size_t count, std::string& out) const;

    void Assign(std::string_view text);
    // Adds text at the end: the chunks before the last one are not touched.
    void Append(std::string_view text);
    // Replaces count characters from pos (both within the text) by text.
    void Replace(std::size_t pos, std::size_t count, std::string_view text);

    // The text in one string, kept until the next change empties it (the
    // string itself stays, for whoever holds it).
    const std::string& Whole() const;

private:
    // The chunk holding position pos, or the last one for the end of the text.
    std::size_t ChunkAt(std::size_t pos) const;
    // Where chunk i starts.
    std::size_t Start(std::size_t i) const
    {
        return i >= shiftFrom_ ? static_cast<std::size_t>(static_cast<std::ptrdiff_t>(starts_[i]) + shift_) : starts_[i];
    }
    void ApplyShift();
    // Chunk i changed: it is cut when too long, joined to a neighbour when
    // too short, and the starts from it on are counted again.
    void Settle(std::size_t i);
    // Cuts text into chunks about kChunk long, between characters.
    static std::vector<std::string> Cut(std::string_view text);
    // A character begun at the end of chunk j - 1 and ended in chunk j (an
    // edit that was not between characters leaves one) moves whole into
    // chunk j - 1, so that each chunk's shape is its part of the line's.
    void MendBoundary(std::size_t j);
    void Changed();

    std::vector<std::string> chunks_; // none for an empty text, none empty otherwise
    // Where each chunk starts, but for the chunks from shiftFrom_ on, which
    // start shift_ characters further: typing in one chunk moves no start.
    static constexpr std::size_t kNoShift = static_cast<std::size_t>(-1);
    std::vector<std::size_t> starts_;
    std::size_t shiftFrom_ = kNoShift;
    std::ptrdiff_t shift_ = 0;
    static constexpr TTextShape kUnmeasured{static_cast<std::size_t>(-1), static_cast<std::size_t>(-1), 0};
    mutable std::vector<TTextShape> shapes_; // per chunk
    std::size_t length_ = 0;
    mutable std::string whole_;
    mutable bool wholeKept_ = false;
};
