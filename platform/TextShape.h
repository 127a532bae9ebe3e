// What in a stretch of text moves the columns it shows in: its tabs, and the
// cells its characters take in the editor's grid (a tab counted as one
// cell, a wide character as two); and how many characters it holds. A
// stretch without tabs shows in exactly Cells columns, wherever it starts.
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

// The shape of text taken on its own: a sequence cut short at its end
// counts as bytes standing alone.
TTextShape ShapeOf(std::string_view text);
