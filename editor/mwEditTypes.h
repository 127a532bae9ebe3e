// Small value types the editor's model, its undo lists and its marks share.
#pragma once

#include <cstdint>

// A caret or selection position: column X and line Y, both 1-based.
struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

inline TPoint Point(int x, int y) { return TPoint{x, y}; }

// Line first, then column.
inline bool PointBefore(TPoint a, TPoint b) { return a.Y < b.Y || (a.Y == b.Y && a.X < b.X); }

enum TSelectionMode : uint8_t { smNormal = 0, smColumn = 1, smLine = 2 };
