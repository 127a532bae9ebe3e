// The tokens a paint shows of a line, scanned from kept states.
#include "editor/mwPaintScan.h"

#include "editor/mwCustomEditModel.h"
#include "editor/mwSupportProcs.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <iterator>

namespace {

// The bytes a cell takes at most but for zero-width characters: a character
// of four bytes in one cell.
constexpr std::size_t kBytesPerCell = 4;
// An anchor stands this many cells or fewer before the view: a repaint of
// the same view scans no more than that before it.
constexpr std::size_t kAnchorReach = 256;

// Walks a part of a line from the cell it starts at, turning offsets in its
// painted text (tabs expanded) into cells and bytes of the line: the tokens
// of a line come in order, so each character is measured once.
class TPaintedCells {
public:
    TPaintedCells(std::string_view raw, std::size_t cell, int tabWidth)
        : raw_(raw), startCell_(cell), cell_(cell), tabWidth_(tabWidth),
          plain_(std::none_of(raw.begin(), raw.end(),
                              [](char c) { return c == '\t' || static_cast<unsigned char>(c) >= 0x80; }))
    {
        // Past a line's start, zero-width characters the part begins with
        // belong to the character before it.
        if (cell > 0 && !plain_)
            byte_ = painted_ = vx::utf8::SkipZeroWidth(raw, 0);
    }

    // The cell where painted offset pos shows; pos only grows from call to call.
    std::size_t CellAt(std::size_t pos)
    {
        if (plain_)
            return startCell_ + pos;
        while (painted_ < pos && byte_ < raw_.size()) {
            if (raw_[byte_] == '\t') {
                const std::size_t next = NextTabStop(cell_, tabWidth_);
                if (painted_ + (next - cell_) > pos)
                    return cell_ + (pos - painted_); // among the tab's blanks
                // Zero-width characters after a tab are drawn with its blanks.
                const std::size_t joined = vx::utf8::SkipZeroWidth(raw_, byte_ + 1) - byte_ - 1;
                painted_ += next - cell_ + joined;
                cell_ = next;
                byte_ += 1 + joined;
                continue;
            }
            std::size_t length = 0;
            cell_ += static_cast<std::size_t>(vx::utf8::CellsAt(raw_, byte_, &length));
            painted_ += length;
            byte_ += length;
        }
        return cell_ + (pos > painted_ ? pos - painted_ : 0);
    }

    // After CellAt(pos): whether pos is where a character of the part
    // starts (not among a tab's blanks or inside a character), and its byte.
    bool Boundary(std::size_t pos, std::size_t& byte) const
    {
        byte = plain_ ? pos : byte_;
        return pos <= raw_.size() && (plain_ || painted_ == pos);
    }

private:
    std::string_view raw_;
    std::size_t startCell_;
    std::size_t cell_;
    int tabWidth_;
    bool plain_;
    std::size_t byte_ = 0;
    std::size_t painted_ = 0;
};

} // namespace

// One read of a line for a scan: its bytes from a start, painted.
struct TmwPaintScan::TWindow {
    int Index = 0;
    TKey Key;
    TmwCustomHighLighter* Highlighter = nullptr;
    TmwResumableScan* Resumable = nullptr;
    bool Keeps = false; // whether states are kept along the line
    std::optional<TState> Start;
    std::size_t From = 0;
    std::size_t CellFrom = 0;
    std::string Raw; // the line's bytes from From on
    bool ToLineEnd = false;
    std::string Text; // the start's text before it, then Raw painted
    std::size_t Base = 0;
};

TmwPaintScan::TmwPaintScan(const TmwCustomEditModel& model, TmwPaintStates& states)
    : model_(model), states_(states), highlighter_(model.HighLighter()),
      resumable_(highlighter_ ? highlighter_->Resumable() : nullptr),
      margin_(resumable_ ? std::max(resumable_->ResumeMargin(), 0) : 0)
{
}

void TmwPaintScan::Scan(int index, int firstCol, int lastCol, TmwPaintLine& out)
{
    const std::size_t first = firstCol > 1 ? static_cast<std::size_t>(firstCol - 1) : 0;
    const std::size_t last = lastCol > 0 ? static_cast<std::size_t>(lastCol) : 0; // cells before it
    out.Tokens.clear();
    if (!highlighter_) {
        ScanPlain(index, first, last, out);
        return;
    }
    const TmwEditList& lines = model_.Lines();
    TWindow w;
    w.Index = index;
    w.Highlighter = highlighter_;
    w.Resumable = resumable_;
    w.Key = TKey{lines.Range(index), model_.TabWidth(), highlighter_, margin_};
    const std::size_t length = lines.Length(index);
    w.Keeps = w.Resumable && length > states_.Interval();
    // Close to the line's start, the line is scanned from there.
    if (w.Keeps && first >= kAnchorReach)
        w.Start = StartFor(index, w.Key, first);
    if (w.Start) {
        w.From = w.Start->Pos;
        w.CellFrom = w.Start->Cell;
    }
    out.From = w.From;
    // Read as far as the view and a little past it, a byte a cell; further
    // when the text read shows in fewer cells, or the last token in view
    // may read what lies beyond.
    const std::size_t cells = last > w.CellFrom ? last - w.CellFrom : 0;
    for (std::size_t bytes = cells + kReadPast;; bytes *= 2) {
        w.Raw = lines.Substr(index, w.From, bytes);
        w.ToLineEnd = w.From + w.Raw.size() >= length;
        w.Text = w.Start ? w.Start->Before : std::string();
        w.Base = w.Text.size();
        AppendTabsExpanded(w.Raw, w.CellFrom, model_.TabWidth(), w.Text);
        if (ScanWindow(w, first, last, out))
            return;
    }
}

bool TmwPaintScan::ScanWindow(TWindow& w, std::size_t first, std::size_t last, TmwPaintLine& out)
{
    out.Tokens.clear();
    TmwCustomHighLighter& hl = *w.Highlighter;
    TPaintedCells cells(w.Raw, w.CellFrom, model_.TabWidth());
    if (w.Start) {
        TmwScanPoint at = w.Start->Point;
        at.pos = static_cast<int>(w.Base);
        w.Resumable->ResumeLine(w.Text, w.Index, at);
    } else {
        hl.SetRange(w.Key.StartRange);
        hl.SetLine(w.Text, w.Index);
    }
    const std::size_t painted = w.Text.size() - w.Base;
    const auto margin = static_cast<std::size_t>(w.Key.Margin);
    std::size_t nextMark = w.From + states_.Interval();
    bool anchor = w.Keeps && first >= w.CellFrom + kAnchorReach;
    std::size_t shownEnd = 0; // after the last token in view
    while (!hl.GetEol()) {
        const std::size_t pos = static_cast<std::size_t>(std::max(hl.GetTokenPos(), static_cast<int>(w.Base))) - w.Base;
        const std::size_t cell = cells.CellAt(pos);
        if (cell >= last)
            break;
        // Tokens left of the view are measured, not copied.
        std::string token;
        std::size_t end = 0;
        if (w.Resumable) {
            end = static_cast<std::size_t>(w.Resumable->ScanPos()) - w.Base;
        } else {
            token = hl.GetToken();
            end = pos + token.size();
        }
        const std::size_t endCell = cells.CellAt(end);
        if (endCell <= first) {
            std::size_t byte = 0;
            const bool mark = w.From + end >= nextMark || (anchor && endCell + kAnchorReach >= first);
            if (w.Keeps && mark && end + margin <= painted && cells.Boundary(end, byte)) {
                const std::size_t at = w.Base + end;
                const std::size_t back = std::min(margin, at);
                TState state{w.From + byte, endCell, w.Text.substr(at - back, back), w.Resumable->ScanPoint()};
                if (state.Pos >= nextMark) {
                    nextMark = state.Pos + states_.Interval();
                    states_.Keep(w.Index, w.Key, state);
                }
                if (anchor && endCell + kAnchorReach >= first) {
                    anchor = false;
                    states_.Keep(w.Index, w.Key, std::move(state), true);
                }
            }
            hl.Next();
            continue;
        }
        if (w.Resumable)
            token = hl.GetToken();
        out.Tokens.push_back(TmwPaintToken{static_cast<int>(cell + 1), static_cast<int>(endCell - cell),
                                           std::move(token), hl.GetTokenAttribute()});
        shownEnd = end;
        hl.Next();
    }
    if (!w.ToLineEnd) {
        out.EndColumn = static_cast<int>(last + 1);
        return shownEnd + margin < painted && cells.CellAt(painted) >= last;
    }
    out.EndColumn = static_cast<int>(cells.CellAt(painted) + 1);
    return true;
}

void TmwPaintScan::ScanPlain(int index, std::size_t first, std::size_t last, TmwPaintLine& out) const
{
    const TmwEditList& lines = model_.Lines();
    const std::size_t length = lines.Length(index);
    const int line = index + 1;
    std::size_t from = 0;
    std::size_t cell = 0;
    // Far along a long line the text is read from the character holding the first cell in view.
    if (first > 0 && length > kReadPast) {
        from = std::min(static_cast<std::size_t>(model_.CharPoint(static_cast<int>(first + 1), line).X - 1), length);
        cell = static_cast<std::size_t>(model_.DisplayColumn(Point(static_cast<int>(from + 1), line)) - 1);
        if (cell > first && from > 0) {
            from = model_.PrevCharPos(index, from);
            cell = static_cast<std::size_t>(model_.DisplayColumn(Point(static_cast<int>(from + 1), line)) - 1);
        }
    }
    // Read past the last cell, so that the character there comes with the
    // zero-width characters after it; more where they are many.
    TmwPaintToken token{static_cast<int>(cell + 1), 0, std::string(), nullptr};
    for (std::size_t bytes = (last > cell ? last - cell : 0) * kBytesPerCell + kReadPast;; bytes *= 2) {
        const std::string raw = lines.Substr(index, from, bytes);
        token.Text.clear();
        AppendTabsExpanded(raw, cell, model_.TabWidth(), token.Text);
        TPaintedCells cells(raw, cell, model_.TabWidth());
        const std::size_t end = cells.CellAt(token.Text.size());
        const bool toLineEnd = from + raw.size() >= length;
        if (!toLineEnd && end <= last)
            continue;
        token.Cells = static_cast<int>(end - cell);
        out.EndColumn = static_cast<int>(toLineEnd ? end + 1 : last + 1);
        break;
    }
    out.From = from;
    out.Tokens.push_back(std::move(token));
}

std::optional<TmwPaintScan::TState> TmwPaintScan::StartFor(int index, const TKey& key, std::size_t first)
{
    std::optional<TState> start;
    if (const TState* kept = states_.Nearest(index, key, first))
        start = *kept;
    // The model keeps a state every so often along the line it scanned last:
    // worth asking where no paint kept one as near.
    if (!start || start->Cell + TmwLineCheckpoints::kInterval < first) {
        if (std::optional<TState> seed = KeptByModel(index, key, first, start ? start->Pos : 0)) {
            states_.Keep(index, key, *seed);
            start = std::move(seed);
        }
    }
    return start;
}

std::optional<TmwPaintScan::TState> TmwPaintScan::KeptByModel(int index, const TKey& key, std::size_t first,
                                                              std::size_t after) const
{
    const TmwEditList& lines = model_.Lines();
    const TmwLineCheckpoints& kept = model_.KeptStates();
    if (!kept.Holds(index, lines.Length(index), key.StartRange))
        return std::nullopt;
    // The model scans the line as stored: its states hold for the painted
    // text where no tab stands before what their tokens read.
    const std::size_t tab = FirstTab(index);
    const auto margin = static_cast<std::size_t>(key.Margin);
    const std::vector<TmwScanPoint>& points = kept.Points();
    const auto usable = std::partition_point(points.begin(), points.end(), [&](const TmwScanPoint& p) {
        return static_cast<std::size_t>(p.pos) + margin <= tab;
    });
    const int line = index + 1;
    const auto cellOf = [&](const TmwScanPoint& p) {
        return static_cast<std::size_t>(model_.DisplayColumn(Point(p.pos + 1, line)) - 1);
    };
    const auto beyond =
        std::partition_point(points.begin(), usable, [&](const TmwScanPoint& p) { return cellOf(p) <= first; });
    if (beyond == points.begin())
        return std::nullopt;
    const TmwScanPoint& point = *std::prev(beyond);
    const auto pos = static_cast<std::size_t>(point.pos);
    if (pos <= after || model_.PlaceAt(index, pos) != pos)
        return std::nullopt;
    const std::size_t back = std::min(margin, pos);
    return TState{pos, cellOf(point), lines.Substr(index, pos - back, back), point};
}

std::size_t TmwPaintScan::FirstTab(int index) const
{
    const TmwEditList& lines = model_.Lines();
    const std::size_t pieces = lines.PieceCount(index);
    std::size_t done = 0;
    for (std::size_t i = 0; i < pieces; ++i) {
        const std::string_view piece = lines.Piece(index, i);
        if (pieces == 1 || lines.PieceShape(index, i).Tabs > 0)
            if (const std::size_t tab = piece.find('\t'); tab != std::string_view::npos)
                return done + tab;
        done += piece.size();
    }
    return done;
}
