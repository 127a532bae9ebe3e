// Highlighter states kept inside one long line, so that an edit of it rescans
// from the last state the edit cannot reach and stops where the scan meets a
// kept state again, instead of scanning the whole line.
#pragma once

#include "editor/mwHighlighter.h"
#include "platform/TStringList.h"

#include <algorithm>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TmwLineCheckpoints {
public:
    // A line longer than interval keeps a state at the first token boundary
    // at or past every interval characters after the previous one.
    static constexpr std::size_t kInterval = 16 * 1024;
    explicit TmwLineCheckpoints(std::size_t interval = kInterval)
        : interval_(std::max(interval, TmwResumableScan::kShortestResumed))
    {
    }

    // Scans line index from its start at startRange, leaves its end range in
    // the highlighter and returns it. A long line's states are kept, in place
    // of another line's, when the highlighter can resume a line.
    std::int32_t Scan(TmwCustomHighLighter& hl, const TStringList& lines, int index, std::int32_t startRange);
    // The same after removed characters of line index from pos were replaced
    // by inserted ones: when the kept states are that line's at startRange,
    // only the part of the line the change can affect is scanned.
    std::int32_t Rescan(TmwCustomHighLighter& hl, const TStringList& lines, int index, std::int32_t startRange,
                        std::size_t pos, std::size_t removed, std::size_t inserted);

    // The line list changed around the kept line.
    void LineInserted(int index);
    void LineDeleted(int index);
    void Forget();

    // The line whose states are kept, or -1; its states by position.
    int Line() const { return line_; }
    // Whether the kept states are those of line index, length long and scanned from startRange.
    bool Holds(int index, std::size_t length, std::int32_t startRange) const
    {
        return index == line_ && length == length_ && startRange == startRange_;
    }
    const std::vector<TmwScanPoint>& Points() const { return points_; }

private:
    struct TStop {
        bool eol;
        TmwScanPoint point; // the point reached; at the line end, its range
    };
    // Scans the line up to character w1 from start (the line start when
    // null) until the next token starts at or past stop, keeping a state
    // every interval characters.
    TStop ScanPart(TmwCustomHighLighter& hl, const TStringList& lines, int index, const TmwScanPoint* start,
                   std::size_t w1, std::size_t stop);
    // Scans the line whole without keeping states.
    std::int32_t ScanPlain(TmwCustomHighLighter& hl, const TStringList& lines, int index, std::int32_t startRange);

    std::size_t interval_;
    int line_ = -1;
    std::int32_t startRange_ = 0;
    std::int32_t endRange_ = 0;
    std::size_t length_ = 0;
    std::vector<TmwScanPoint> points_;
    std::string text_; // the scanned text; reused, so scans allocate little
};
