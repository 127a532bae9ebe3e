// What in a stretch of text moves the columns it shows in: its tabs, and the
// cells its characters take in the editor's grid (a tab counted as one
// cell, a wide character as two, a zero-width character that follows
// another as none); and how many characters it holds, zero-width ones not
// counted. A stretch without tabs shows in exactly Cells columns, wherever it
// starts.
#pragma once

#include <cstddef>
#include <string_view>

struct TTextShape {
    std::size_t Tabs = 0;
    std::size_t Cells = 0;
    std::size_t Chars = 0;
    TTextShape& operator+=(const TTextShape& other)
    {
        Tabs += other.Tabs;
        Cells += other.Cells;
        Chars += other.Chars;
        return *this;
    }
    bool operator==(const TTextShape&) const = default;
};

// The shape of text taken on its own, as a line's start: a sequence cut
// short at its end counts as bytes standing alone.
TTextShape ShapeOf(std::string_view text);
// The shape of text that continues a line after other characters: the
// zero-width characters it begins with join the character before it.
TTextShape ShapeOfContinuation(std::string_view text);
