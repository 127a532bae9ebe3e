// Highlighter states kept along long lines where painting scanned them, so
// that a paint of a place far along a line scans from the state nearest
// before it instead of from the line's start.
#pragma once

#include "editor/mwHighlighter.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TmwPaintStates {
public:
    // A state every interval bytes of a line a paint scanned through; more
    // would cost memory, fewer a longer scan up to a place never shown yet.
    static constexpr std::size_t kInterval = 4 * 1024;

    // Where a scan of the painted text (tabs expanded) can go on as though
    // it had come from the line's start: the text painted just before the
    // place, as much as the highlighter may read back, and its point there,
    // whose pos is counted from that text's start.
    struct TState {
        std::size_t Pos = 0;  // byte of the line, between characters
        std::size_t Cell = 0; // the cell (0-based) that byte shows in
        std::string Before;
        TmwScanPoint Point;
    };

    // What a line's states were scanned with: when any of it differs, they
    // do not hold.
    struct TKey {
        std::int32_t StartRange = 0;
        int TabWidth = 0;
        const TmwCustomHighLighter* Highlighter = nullptr;
        int Margin = 0; // how far the highlighter reads past a token
        bool operator==(const TKey&) const = default;
    };

    explicit TmwPaintStates(std::size_t interval = kInterval) : interval_(interval) {}

    std::size_t Interval() const { return interval_; }

    // The kept state of line index nearest before cell, scanned with key;
    // null when there is none. A line kept under another key is forgotten.
    const TState* Nearest(int index, const TKey& key, std::size_t cell);
    // Keeps a state along line index. The one state kept as an anchor is
    // the view's: each anchor replaces the line's previous one, so that the
    // next paint of the same view scans little whatever the interval.
    void Keep(int index, const TKey& key, TState state, bool anchor = false);

    // The text of line index changed from byte pos on: the states whose
    // tokens read it go.
    void Edited(int index, std::size_t pos);
    void LineInserted(int index);
    void LineDeleted(int index);
    void Forget() { lines_.clear(); }

private:
    // The lines painted most lately keep their states.
    static constexpr std::size_t kLines = 64;

    struct TLine {
        int Index = 0;
        TKey Key;
        std::vector<TState> States; // by Pos
        std::optional<TState> Anchor;
        std::uint64_t Used = 0;
    };
    TLine* Find(int index);
    TLine& Line(int index, const TKey& key);

    std::size_t interval_;
    std::vector<TLine> lines_;
    std::uint64_t clock_ = 0;
};
