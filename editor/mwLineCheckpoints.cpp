// Scans of long lines that keep the highlighter's state along the line.
#include "editor/mwLineCheckpoints.h"

#include <algorithm>
#include <iterator>
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
                                                       int index, const TmwScanPoint* start, std::size_t w1,
                                                       std::size_t stop)
{
    TmwResumableScan& scan = *hl.Resumable();
    // The characters a token at the start may read before it.
    const auto margin = static_cast<std::size_t>(std::max(scan.ResumeMargin(), 0));
    const std::size_t w0 = start ? static_cast<std::size_t>(start->pos) - std::min<std::size_t>(margin, start->pos) : 0;
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
            return TStop{true, TmwScanPoint{static_cast<int>(w1), hl.GetRange(), 0, {}}};
        const auto at = static_cast<std::size_t>(scan.ScanPos() + offset);
        if (at >= stop || at >= nextMark) {
            TmwScanPoint after = scan.ScanPoint();
            after.pos += offset;
            if (at >= stop)
                return TStop{false, std::move(after)};
            points_.push_back(std::move(after));
            nextMark = at + interval_;
        }
        hl.Next();
    }
}

std::int32_t TmwLineCheckpoints::Scan(TmwCustomHighLighter& hl, const TStringList& lines, int index,
                                      std::int32_t startRange)
{
    // Most lines are short: they are scanned without asking the highlighter more.
    const std::size_t length = lines.Length(index);
    if (length <= interval_ || !hl.Resumable()) {
        if (index == line_)
            Forget();
        return ScanPlain(hl, lines, index, startRange);
    }
    points_.clear();
    line_ = index;
    startRange_ = startRange;
    length_ = length;
    hl.SetRange(startRange);
    endRange_ = ScanPart(hl, lines, index, nullptr, length, std::string::npos).point.range;
    return endRange_;
}

std::int32_t TmwLineCheckpoints::Rescan(TmwCustomHighLighter& hl, const TStringList& lines, int index,
                                        std::int32_t startRange, std::size_t pos, std::size_t removed,
                                        std::size_t inserted)
{
    const std::size_t length = lines.Length(index);
    if (index != line_ || startRange != startRange_ || pos + removed > length_ ||
        length_ - removed + inserted != length || length <= interval_)
        return Scan(hl, lines, index, startRange);
    TmwResumableScan* scan = hl.Resumable();
    if (!scan)
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
            TmwScanPoint moved = std::move(points_[i]);
            moved.pos = static_cast<int>(moved.pos + shift);
            beyond.push_back(std::move(moved));
        }
    }
    points_.resize(keep);
    length_ = length;
    std::optional<TmwScanPoint> from;
    if (keep > 0)
        from = points_.back();
    hl.SetRange(startRange);
    // Scanned in windows up to the next state kept beyond the change, each a
    // margin longer than its stop, so that the tokens up to the stop are read
    // whole; a window too short for the token at its stop is widened.
    std::size_t next = 0;
    std::size_t past = margin + 1;
    while (next < beyond.size()) {
        const auto stop = static_cast<std::size_t>(beyond[next].pos);
        const std::size_t w1 = std::min(length, stop + past);
        const std::size_t kept = points_.size();
        TStop reached = ScanPart(hl, lines, index, from ? &*from : nullptr, w1, stop);
        if (w1 < length && (reached.eol || static_cast<std::size_t>(reached.point.pos) + margin >= w1)) {
            points_.resize(kept);
            past *= 2;
            hl.SetRange(startRange);
            continue;
        }
        if (reached.eol) {
            endRange_ = reached.point.range;
            return endRange_;
        }
        while (next < beyond.size() && beyond[next].pos < reached.point.pos)
            ++next;
        if (next < beyond.size() && reached.point == beyond[next]) {
            points_.insert(points_.end(), std::make_move_iterator(beyond.begin() + static_cast<std::ptrdiff_t>(next)),
                           std::make_move_iterator(beyond.end()));
            hl.SetRange(endRange_);
            return endRange_;
        }
        from = std::move(reached.point);
        past = margin + 1;
    }
    endRange_ = ScanPart(hl, lines, index, from ? &*from : nullptr, length, std::string::npos).point.range;
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
