// Scans of long lines that keep the highlighter's state along the line.
#include "editor/mwLineCheckpoints.h"

#include <algorithm>
#include <optional>

std::int32_t TmwLineCheckpoints::ScanPlain(TmwCustomHighLighter& hl, const TStringList& lines, int index,
                                           std::int32_t startRange)
{
    // Read into one buffer: Get would keep a copy of every line scanned.
    text_.clear();
    for (size_t i = 0; i < lines.PieceCount(index); ++i)
        text_.append(lines.Piece(index, i));
    hl.SetRange(startRange);
    hl.SetLine(text_, index);
    hl.NextToEol();
    return hl.GetRange();
}

TmwLineCheckpoints::TStop TmwLineCheckpoints::ScanPart(TmwCustomHighLighter& hl, const TStringList& lines,
                                                       int index, const TmwScanPoint* start, std::size_t w0,
                                                       std::size_t w1, std::size_t stop)
{
    TmwResumableScan& scan = *hl.Resumable();
    text_ = lines.Substr(index, w0, w1 - w0);
    const int offset = static_cast<int>(w0);
    if (start) {
        TmwScanPoint at = *start;
        at.pos -= offset;
        scan.ResumeLine(text_, index, at);
    } else {
        hl.SetLine(text_, index);
    }
    std::size_t nextMark = (points_.empty() ? 0 : static_cast<std::size_t>(points_.back().pos)) + interval_;
    for (;;) {
        if (hl.GetEol())
            return TStop{true, TmwScanPoint{static_cast<int>(w1), hl.GetRange(), 0}};
        TmwScanPoint after = scan.ScanPoint();
        after.pos += offset;
        const auto at = static_cast<std::size_t>(after.pos);
        if (at >= stop)
            return TStop{false, after};
        if (at >= nextMark) {
            points_.push_back(after);
            nextMark = at + interval_;
        }
        hl.Next();
    }
}

std::int32_t TmwLineCheckpoints::Scan(TmwCustomHighLighter& hl, const TStringList& lines, int index,
                                      std::int32_t startRange)
{
    const std::size_t length = lines.Length(index);
    if (!hl.Resumable() || length <= interval_) {
        if (index == line_)
            Forget();
        return ScanPlain(hl, lines, index, startRange);
    }
    points_.clear();
    line_ = index;
    startRange_ = startRange;
    length_ = length;
    hl.SetRange(startRange);
    endRange_ = ScanPart(hl, lines, index, nullptr, 0, length, std::string::npos).point.range;
    return endRange_;
}

std::int32_t TmwLineCheckpoints::Rescan(TmwCustomHighLighter& hl, const TStringList& lines, int index,
                                        std::int32_t startRange, std::size_t pos, std::size_t removed,
                                        std::size_t inserted)
{
    const std::size_t length = lines.Length(index);
    TmwResumableScan* scan = hl.Resumable();
    if (!scan || index != line_ || startRange != startRange_ || pos + removed > length_ ||
        length_ - removed + inserted != length || length <= interval_)
        return Scan(hl, lines, index, startRange);
    const auto margin = static_cast<std::size_t>(std::max(scan->ResumeMargin(), 0));
    // Every token before a kept state read only characters before the change.
    std::size_t keep = 0;
    while (keep < points_.size() && static_cast<std::size_t>(points_[keep].pos) + margin <= pos)
        ++keep;
    // From these states on the tokens read nothing the change touched: where
    // the scan meets one of them again, the rest of the line is as it was.
    std::vector<TmwScanPoint> beyond;
    const auto shift = static_cast<std::ptrdiff_t>(inserted) - static_cast<std::ptrdiff_t>(removed);
    for (std::size_t i = keep; i < points_.size(); ++i) {
        if (static_cast<std::size_t>(points_[i].pos) >= pos + removed + margin) {
            TmwScanPoint moved = points_[i];
            moved.pos = static_cast<int>(moved.pos + shift);
            beyond.push_back(moved);
        }
    }
    points_.resize(keep);
    length_ = length;
    std::optional<TmwScanPoint> start;
    if (keep > 0)
        start = points_.back();
    // The characters a token at the start may read before it.
    const std::size_t w0 = start ? static_cast<std::size_t>(start->pos) - std::min<std::size_t>(margin, start->pos) : 0;
    hl.SetRange(startRange);
    if (!beyond.empty()) {
        const auto stop = static_cast<std::size_t>(beyond.front().pos);
        const TStop reached =
            ScanPart(hl, lines, index, start ? &*start : nullptr, w0, std::min(length, stop + margin + 1), stop);
        if (!reached.eol && reached.point == beyond.front()) {
            points_.insert(points_.end(), beyond.begin(), beyond.end());
            hl.SetRange(endRange_);
            return endRange_;
        }
        points_.resize(keep);
        hl.SetRange(startRange);
    }
    endRange_ = ScanPart(hl, lines, index, start ? &*start : nullptr, w0, length, std::string::npos).point.range;
    return endRange_;
}

void TmwLineCheckpoints::LineInserted(int index)
{
    if (line_ >= index)
        ++line_;
}

void TmwLineCheckpoints::LineDeleted(int index)
{
    if (line_ == index)
        Forget();
    else if (line_ > index)
        --line_;
}

void TmwLineCheckpoints::Forget()
{
    line_ = -1;
    points_.clear();
}
