// The editor model's selection: block ends, selected text, and the primitive
// that replaces the selection by text in the three selection modes.
#include "editor/mwCustomEditModel.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <vector>

namespace {

// Splits at CR LF, CR or LF; "a\r\n" gives "a" and "".
std::vector<std::string> SplitLines(const std::string& value)
{
    std::vector<std::string> pieces;
    size_t pos = 0;
    for (;;) {
        size_t end = value.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            pieces.push_back(value.substr(pos));
            return pieces;
        }
        pieces.push_back(value.substr(pos, end - pos));
        pos = end + ((value[end] == '\r' && end + 1 < value.size() && value[end + 1] == '\n') ? 2 : 1);
    }
}

// Where character column (1-based) of line is, as a column of its bytes;
// past the end, a column a byte.
int ByteColumnOf(const std::string& line, int column)
{
    const auto chars = static_cast<size_t>(std::max(column, 1) - 1);
    const size_t offset = vx::utf8::OffsetOfSpacingChar(line, chars);
    return static_cast<int>(offset < line.size() ? offset : line.size() + chars - vx::utf8::CountSpacingChars(line)) + 1;
}

// Columns from..to-1 (1-based) of line; what lies past its end is missing.
std::string Columns(const std::string& line, int from, int to)
{
    if (to <= from || from - 1 >= static_cast<int>(line.size()))
        return {};
    return line.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from));
}

// Line from column from (1-based) on.
std::string ColumnsFrom(const std::string& line, int from)
{
    return from - 1 < static_cast<int>(line.size()) ? line.substr(static_cast<size_t>(from - 1)) : std::string();
}

} // namespace

size_t TmwCustomEditModel::TrimmedLength(std::string_view line)
{
    const size_t end = line.find_last_not_of(' ');
    return end == std::string_view::npos ? 0 : end + 1;
}

size_t TmwCustomEditModel::TrimmedLength(int index) const
{
    // From the last piece back: only the pieces the blanks reach are read.
    size_t length = lines_->Length(index);
    for (size_t i = lines_->PieceCount(index); i-- > 0;) {
        const std::string_view piece = lines_->Piece(index, i);
        length -= piece.size();
        const size_t kept = TrimmedLength(piece);
        if (kept > 0)
            return length + kept;
    }
    return 0;
}

void TmwCustomEditModel::TrimLineEnd(int index)
{
    const size_t kept = TrimmedLength(index);
    if (kept < lines_->Length(index))
        lines_->ReplaceText(index, kept, std::string::npos, "");
}

std::string TmwCustomEditModel::TrimEndBlanks(std::string line)
{
    line.resize(TrimmedLength(line));
    return line;
}

TPoint TmwCustomEditModel::InsertedEnd(TSelectionMode mode, TPoint start, const std::string& text) const
{
    const std::vector<std::string> pieces = SplitLines(text);
    const int lastLine = start.Y + static_cast<int>(pieces.size()) - 1;
    const int lastLength = static_cast<int>(pieces.back().size());
    switch (mode) {
    case smNormal:
        return Point(pieces.size() == 1 ? start.X + lastLength : lastLength + 1, lastLine);
    case smColumn: // in character columns, as column records keep them
        return Point(start.X + static_cast<int>(vx::utf8::CountSpacingChars(pieces.back())), lastLine);
    case smLine:
        break;
    }
    // A line block covers whole lines: up to the last line the text went on,
    // or the line before it when the text ended in a line break. The column
    // only has to differ from the start's column 1 for the block to count as
    // a selection.
    return Point(std::max(charsInWindow_, 2), pieces.back().empty() && pieces.size() > 1 ? lastLine - 1 : lastLine);
}

TPoint TmwCustomEditModel::BlockBegin() const
{
    return PointBefore(blockEnd_, blockBegin_) ? blockEnd_ : blockBegin_;
}

TPoint TmwCustomEditModel::BlockEnd() const
{
    return PointBefore(blockEnd_, blockBegin_) ? blockBegin_ : blockEnd_;
}

void TmwCustomEditModel::RecordSelection(TChangeReason reason)
{
    const int first = std::min(blockBegin_.Y, blockEnd_.Y);
    undoList_.AddChange(reason, RecordedPoint(blockBegin_, selectionMode_), RecordedPoint(blockEnd_, selectionMode_),
                        SelTextForUndo(), selectionMode_,
                        LineTails(first, std::max(blockBegin_.Y, blockEnd_.Y) - first + 1));
}

bool TmwCustomEditModel::SelAvail() const
{
    if (selectionMode_ == smColumn) {
        const auto [left, right] = BlockColumns();
        return left != right;
    }
    return blockBegin_.X != blockEnd_.X || blockBegin_.Y != blockEnd_.Y;
}

std::pair<int, int> TmwCustomEditModel::BlockColumns() const
{
    const int begin = CharacterColumn(blockBegin_);
    const int end = CharacterColumn(blockEnd_);
    return {std::min(begin, end), std::max(begin, end)};
}

void TmwCustomEditModel::SetBlockBegin(TPoint value)
{
    value.Y = std::clamp(value.Y, 1, std::max(lines_->Count(), 1));
    value.X = InsideCharacters(value.Y, std::clamp(value.X, 1, ColumnLimit(value.Y)));
    if (selectionMode_ == smNormal)
        value.X = value.Y <= lines_->Count()
                      ? std::min(value.X, static_cast<int>(lines_->Length(value.Y - 1)) + 1)
                      : 1;
    bool changed;
    if (SelAvail()) {
        int first = std::min(blockBegin_.Y, blockEnd_.Y);
        int last = std::max(blockBegin_.Y, blockEnd_.Y);
        InvalidateLines(std::min(value.Y, first), std::max(value.Y, last));
        changed = true;
    } else {
        changed = value != blockBegin_ && value != blockEnd_;
    }
    blockBegin_ = blockEnd_ = value;
    if (changed)
        StatusChanged(mwscSelection);
}

void TmwCustomEditModel::SetBlockEnd(TPoint value)
{
    if (HasOption(mweoNoSelection))
        return;
    value.Y = std::clamp(value.Y, 1, std::max(lines_->Count(), 1));
    value.X = InsideCharacters(value.Y, std::clamp(value.X, 1, ColumnLimit(value.Y)));
    if (value == blockEnd_)
        return;
    if (selectionMode_ == smColumn && value.X != blockEnd_.X) {
        InvalidateLines(std::min({blockBegin_.Y, blockEnd_.Y, value.Y}),
                        std::max({blockBegin_.Y, blockEnd_.Y, value.Y}));
    } else if (selectionMode_ != smColumn || blockBegin_.X != value.X) {
        InvalidateLines(blockEnd_.Y, value.Y);
    }
    blockEnd_ = value;
    StatusChanged(mwscSelection);
}

void TmwCustomEditModel::SelectAll()
{
    SetBlockBegin(Point(1, 1));
    int count = lines_->Count();
    if (count > 0) {
        TPoint last = Point(static_cast<int>(lines_->Length(count - 1)) + 1, count);
        SetBlockEnd(last);
        SetCaretXY(last);
    }
    StatusChanged(mwscSelection);
}

bool TmwCustomEditModel::IsPointInSelection(TPoint value) const
{
    TPoint bb = BlockBegin();
    TPoint be = BlockEnd();
    if (!SelAvail() || value.Y < bb.Y || value.Y > be.Y)
        return false;
    switch (selectionMode_) {
    case smLine:
        return true;
    case smColumn: {
        const auto [left, right] = BlockColumns();
        const int column = CharacterColumn(value);
        return column >= left && column < right;
    }
    case smNormal:
        return (value.Y > bb.Y || value.X >= bb.X) && (value.Y < be.Y || value.X < be.X);
    }
    return false;
}

std::string TmwCustomEditModel::GetSelText() const { return SelectedText(true); }

std::string TmwCustomEditModel::SelectedText(bool padColumns) const
{
    if (!SelAvail())
        return {};
    TPoint bb = BlockBegin();
    TPoint be = BlockEnd();
    const int maxLine = lines_->Count();
    auto line = [&](int y) -> const std::string& { return lines_->Get(std::min(y, maxLine) - 1); };
    std::string result;
    switch (selectionMode_) {
    case smNormal:
        if (bb.Y == be.Y)
            return be.X > bb.X ? lines_->Substr(std::min(bb.Y, maxLine) - 1, static_cast<size_t>(bb.X - 1),
                                                static_cast<size_t>(be.X - bb.X))
                               : std::string();
        result = ColumnsFrom(line(bb.Y), bb.X);
        for (int y = bb.Y + 1; y < be.Y; ++y)
            result += "\r\n" + line(y);
        result += "\r\n" + Columns(line(be.Y), 1, be.X);
        return result;
    case smColumn: {
        const auto [left, right] = BlockColumns();
        for (int y = bb.Y; y <= be.Y; ++y) {
            const std::string& text = line(y);
            std::string part = Columns(text, ByteColumnOf(text, left), ByteColumnOf(text, right));
            if (padColumns)
                part.append(static_cast<size_t>(right - left) - vx::utf8::CountSpacingChars(part), ' ');
            if (y > bb.Y)
                result += "\r\n";
            result += part;
        }
        return result;
    }
    case smLine:
        for (int y = bb.Y; y <= be.Y; ++y) {
            result += line(y);
            if (y < maxLine)
                result += "\r\n";
        }
        return result;
    }
    return result;
}

void TmwCustomEditModel::SetSelText(const std::string& value)
{
    if (GetReadOnly() || !AcceptsText(value))
        return;
    IncPaintLock();
    if (SelAvail()) {
        RecordSelection(mwcrSelDelete);
        SetSelTextPrimitiveEx(selectionMode_, "", nullptr);
    }
    // Deleting leaves the caret where the text goes, whichever way the selection ran.
    TPoint start = CaretXY();
    std::vector<std::string> tails = LineTails(start.Y, 1);
    SetSelTextPrimitiveEx(smNormal, value, nullptr);
    undoList_.AddChange(mwcrInsert, start, InsertedEnd(smNormal, start, value), GetSelText(), smNormal,
                        std::move(tails));
    AnchorAtCaret();
    DecPaintLock();
}

void TmwCustomEditModel::SetSelTextPrimitiveEx(TSelectionMode pasteMode, const std::string& value, int* tag)
{
    IncPaintLock();
    lines_->BeginUpdate();
    try {
        if (SelAvail())
            DeleteSelection(BlockBegin(), BlockEnd());
        if (!value.empty()) {
            switch (pasteMode) {
            case smNormal:
                InsertNormal(value);
                break;
            case smColumn:
                InsertColumn(value, tag);
                break;
            case smLine:
                InsertLines(value);
                break;
            }
            EnsureCursorPosVisible();
        }
    } catch (...) {
        lines_->EndUpdate();
        DecPaintLock();
        throw;
    }
    lines_->EndUpdate();
    DecPaintLock();
}

void TmwCustomEditModel::DeleteSelection(TPoint bb, TPoint be)
{
    switch (selectionMode_) {
    case smNormal: {
        if (bb.Y == be.Y) {
            // Within one line the text goes where it is stored.
            const size_t from = static_cast<size_t>(bb.X - 1);
            lines_->ReplaceText(bb.Y - 1, from, static_cast<size_t>(std::max(be.X - bb.X, 0)), "");
            if (HasOption(mweoScrollPastEol))
                TrimLineEnd(bb.Y - 1);
            PlaceInsertionPoint(bb);
            break;
        }
        std::string joined = Columns(lines_->Get(bb.Y - 1), 1, bb.X);
        // Lines joined from past the first line's end meet at the block's column,
        // as the text that undo puts back expects them.
        if (be.Y > bb.Y)
            joined.resize(std::max(joined.size(), static_cast<size_t>(bb.X - 1)), ' ');
        joined += ColumnsFrom(lines_->Get(be.Y - 1), be.X);
        if (HasOption(mweoScrollPastEol))
            joined = TrimEndBlanks(joined);
        for (int y = be.Y; y > bb.Y; --y)
            lines_->Delete(y - 1);
        lines_->Put(bb.Y - 1, joined);
        ShiftMarksAfterDelete(bb.Y + 1, be.Y, bb.Y);
        PlaceInsertionPoint(bb);
        break;
    }
    case smColumn: {
        const auto [left, right] = BlockColumns();
        const int caretLine = blockEnd_.Y;
        for (int y = bb.Y; y <= be.Y; ++y) {
            std::string s = lines_->Get(y - 1);
            const int from = ByteColumnOf(s, left);
            if (from - 1 < static_cast<int>(s.size()))
                s.erase(static_cast<size_t>(from - 1), static_cast<size_t>(ByteColumnOf(s, right) - from));
            lines_->Put(y - 1, TrimEndBlanks(s));
        }
        PlaceInsertionPoint(Point(ByteColumn(caretLine, left), caretLine));
        break;
    }
    case smLine: {
        int count = lines_->Count();
        int lastGone = be.Y;
        if (be.Y == count) {
            lines_->Put(be.Y - 1, "");
            lastGone = be.Y - 1;
        }
        for (int y = lastGone; y >= bb.Y; --y)
            lines_->Delete(y - 1);
        ShiftMarksAfterDelete(bb.Y, lastGone, bb.Y);
        SetCaretFree(Point(1, bb.Y));
        break;
    }
    }
}

void TmwCustomEditModel::InsertNormal(const std::string& value)
{
    std::vector<std::string> pieces = SplitLines(value);
    if (pieces.size() == 1) {
        // Text of one line goes in where the line is stored, past its end after blanks up to the caret.
        const int y = caretY_;
        const size_t length = lines_->Length(y);
        const size_t x = static_cast<size_t>(caretX_);
        if (length < x)
            lines_->ReplaceText(y, length, 0, std::string(x - length, ' ') + pieces[0]);
        else
            lines_->ReplaceText(y, x, 0, pieces[0]);
        SetCaretFree(Point(static_cast<int>(x + pieces[0].size()) + 1, y + 1));
        return;
    }
    const std::string& line = lines_->Get(caretY_);
    std::string left = line.substr(0, std::min(line.size(), static_cast<size_t>(caretX_)));
    // A line that the text breaks right at the caret ends there: it keeps no
    // blanks at its end. Otherwise the text goes at the caret column.
    if (pieces.size() > 1 && pieces[0].empty())
        left = TrimEndBlanks(left);
    else
        left.resize(static_cast<size_t>(caretX_), ' ');
    std::string right = ColumnsFrom(line, caretX_ + 1);
    int startLine = caretY_;
    int n = static_cast<int>(pieces.size());
    lines_->Put(startLine, left + pieces[0]);
    for (int i = 1; i < n - 1; ++i)
        lines_->Insert(startLine + i, pieces[static_cast<size_t>(i)]);
    lines_->Insert(startLine + n - 1, pieces.back() + right);
    ShiftMarks(startLine + 1, n - 1);
    SetCaretFree(Point(static_cast<int>(pieces.back().size()) + 1, startLine + n));
}

void TmwCustomEditModel::InsertColumn(const std::string& value, int* tag)
{
    std::vector<std::string> pieces = SplitLines(value);
    // The block goes in at the caret's character column on every line.
    const int characterColumn = CharacterColumn(CaretXY());
    int column = 0; // 0-based byte column on the line the last piece went to
    for (size_t i = 0; i < pieces.size(); ++i) {
        int y = caretY_ + static_cast<int>(i);
        if (tag)
            *tag = static_cast<int>(pieces[i].size());
        if (y < lines_->Count()) {
            std::string s = lines_->Get(y);
            column = ByteColumnOf(s, characterColumn) - 1;
            // Nothing to put on a line that ends before the column: it is not padded.
            if (pieces[i].empty() && static_cast<int>(s.size()) <= column)
                continue;
            bool atEnd = static_cast<int>(s.size()) <= column;
            if (static_cast<int>(s.size()) < column)
                s.resize(static_cast<size_t>(column), ' ');
            s.insert(static_cast<size_t>(column), pieces[i]);
            // A block put past a line's end leaves no blanks at its end.
            lines_->Put(y, atEnd ? TrimEndBlanks(s) : s);
        } else {
            column = characterColumn - 1;
            lines_->Add(TrimEndBlanks(std::string(static_cast<size_t>(column), ' ') + pieces[i]));
        }
    }
    SetCaretFree(Point(column + static_cast<int>(pieces.back().size()) + 1,
                       caretY_ + static_cast<int>(pieces.size())));
}

void TmwCustomEditModel::InsertLines(const std::string& value)
{
    std::vector<std::string> pieces = SplitLines(value);
    int startLine = caretY_;
    int y = startLine;
    for (size_t i = 0; i + 1 < pieces.size(); ++i)
        lines_->Insert(y++, pieces[i]);
    const std::string& final = pieces.back();
    if (y < lines_->Count())
        lines_->Put(y, final + lines_->Get(y));
    else
        lines_->Add(final);
    ShiftMarks(startLine + 1, static_cast<int>(pieces.size()) - 1);
    SetCaretFree(Point(static_cast<int>(final.size()) + 1, y + 1));
}

void TmwCustomEditModel::InsertLineBreak(bool moveCaret)
{
    if (SelAvail()) {
        // Undone together with the break that follows.
        RecordSelection(mwcrSelDelete);
        SetSelTextPrimitiveEx(selectionMode_, "", nullptr);
    }
    lines_->BeginUpdate();
    const std::string line = LineText();
    const int len = static_cast<int>(line.size());
    const int x = CaretX();
    const int y = CaretY();
    // Indent of the nearest non-empty line at or above the caret.
    auto indentAbove = [&] {
        for (int i = y; i >= 1; --i)
            if (lines_->Length(i - 1) != 0)
                return LeftSpaces(lines_->Get(i - 1));
        return 0;
    };
    TPoint caret = CaretXY();
    // The break replaces the caret line alone. The record's end column is
    // where the moved text went back: the caret, or column 1 when the whole
    // line moved, whatever the options are when it is undone.
    const std::vector<std::string> tails = LineTails(y, 1);
    auto record = [&](const std::string& moved, TPoint end) {
        undoList_.AddChange(mwcrLineBreak, caret, end, moved, smNormal, tails);
    };
    auto moveLineDown = [&] {
        lines_->Put(y - 1, "");
        lines_->Insert(y, line);
        record(line, Point(1, y));
        caret = Point(x, y + 1);
    };
    if (len == 0) {
        int n = indentAbove();
        record("", caret);
        lines_->Insert(y - 1, "");
        caret = Point(n + 1, y + 1);
    } else if (len < x) {
        int n = indentAbove();
        record("", caret);
        bool plain = !moveCaret || HasOption(mweoScrollPastEol);
        lines_->Insert(y, plain ? std::string() : std::string(static_cast<size_t>(n), ' '));
        caret = Point(n + 1, y + 1);
    } else if (x == 1) {
        moveLineDown();
    } else {
        int n = LeftSpaces(line);
        if (x - 1 > n) {
            std::string rest = line.substr(static_cast<size_t>(x - 1));
            lines_->Put(y - 1, TrimEndBlanks(line.substr(0, static_cast<size_t>(x - 1))));
            record(rest, caret);
            lines_->Insert(y, std::string(static_cast<size_t>(n), ' ') + rest);
            caret = Point(n + 1, y + 1);
        } else {
            moveLineDown();
        }
    }
    int markLine = moveCaret ? caret.Y : y;
    ShiftMarks(markLine, 1);
    if (moveCaret)
        SetCaretFree(caret);
    lines_->EndUpdate();
}
