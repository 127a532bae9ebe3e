// The editor model's undo and redo, and its clipboard commands.
#include "editor/mwCustomEditModel.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <vector>

namespace {

std::string WithoutFinalLineBreak(std::string s)
{
    if (!s.empty() && s.back() == '\n')
        s.pop_back();
    if (!s.empty() && s.back() == '\r')
        s.pop_back();
    return s;
}

// The lengths of the lines of text, split at CR with an optional LF.
std::vector<int> PieceLengths(const std::string& text)
{
    std::vector<int> lengths;
    size_t pos = 0;
    for (;;) {
        size_t end = text.find('\r', pos);
        if (end == std::string::npos) {
            lengths.push_back(static_cast<int>(text.size() - pos));
            return lengths;
        }
        lengths.push_back(static_cast<int>(end - pos));
        pos = end + 1;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
}

// A column block with every line blank-padded to the widest, as copying one
// gives it: only a rectangular block can be taken out again exactly.
// The lines of a block's text, split at CR LF, CR or LF.
std::vector<std::string_view> BlockLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t pos = 0;
    for (;;) {
        size_t end = text.find_first_of("\r\n", pos);
        lines.push_back(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        if (end == std::string::npos)
            return lines;
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

// The characters of a column block's widest line.
size_t BlockWidth(const std::vector<std::string_view>& lines)
{
    size_t width = 0;
    for (std::string_view line : lines)
        width = std::max(width, vx::utf8::CountSpacingChars(line));
    return width;
}

// Whether a line of a block's text begins with zero-width characters.
bool BeginsALineWithZeroWidth(const std::string& text)
{
    const std::vector<std::string_view> lines = BlockLines(text);
    return std::any_of(lines.begin(), lines.end(),
                       [](std::string_view line) { return vx::utf8::SkipZeroWidth(line, 0) > 0; });
}

std::string RectangularBlock(const std::string& text)
{
    const std::vector<std::string_view> lines = BlockLines(text);
    const size_t width = BlockWidth(lines);
    std::string block;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            block += "\r\n";
        block += lines[i];
        block.append(width - vx::utf8::CountSpacingChars(lines[i]), ' ');
    }
    return block;
}

// The width of the indentation a block indent record holds; records without
// it indented by the tab width.
int RecordedIndent(const std::string& text, int tabWidth)
{
    return text.empty() ? tabWidth : PieceLengths(text).front();
}

} // namespace

std::vector<std::string> TmwCustomEditModel::LineTails(int firstLine, int count) const
{
    std::vector<std::string> tails;
    const int last = std::min(firstLine + count - 1, lines_->Count());
    for (int y = std::max(firstLine, 1); y <= last; ++y)
        tails.push_back(lines_->Substr(y - 1, TrimmedLength(y - 1), std::string::npos));
    return tails;
}

void TmwCustomEditModel::RestoreLineTails(int firstLine, const std::vector<std::string>& tails)
{
    lines_->BeginUpdate();
    for (size_t i = 0; i < tails.size(); ++i) {
        const int index = firstLine - 1 + static_cast<int>(i);
        if (index < 0 || index >= lines_->Count())
            continue;
        const size_t kept = TrimmedLength(index);
        if (lines_->Length(index) - kept != tails[i].size() || lines_->Substr(index, kept, std::string::npos) != tails[i])
            lines_->ReplaceText(index, kept, std::string::npos, tails[i]);
    }
    lines_->EndUpdate();
}

void TmwCustomEditModel::RemoveLastLines(int count)
{
    const int last = lines_->Count();
    count = std::min(count, last - 1);
    if (count <= 0)
        return;
    lines_->BeginUpdate();
    for (int i = 0; i < count; ++i)
        lines_->Delete(lines_->Count() - 1);
    lines_->EndUpdate();
    ShiftMarksAfterDelete(last - count + 1, last, last - count);
}

void TmwCustomEditModel::ClearUndo()
{
    undoList_.ClearList();
    redoList_.ClearList();
}

void TmwCustomEditModel::UndoAddedChange(TUndoList* list)
{
    SetModified(true);
    // A change made outside Undo and Redo makes the redo history stale.
    if (list == &undoList_ && undoRedoDepth_ == 0)
        redoList_.ClearList();
    if (OnChange)
        OnChange(this);
}

TPoint TmwCustomEditModel::ColumnBlockEnd(TPoint start, const std::string& text)
{
    // In character columns, as column records keep them.
    const std::vector<std::string_view> lines = BlockLines(text);
    return Point(start.X + static_cast<int>(BlockWidth(lines)), start.Y + static_cast<int>(lines.size()) - 1);
}

void TmwCustomEditModel::ReplayChanges(const TUndoList& list, bool (TmwCustomEditModel::*step)())
{
    if (list.Empty())
        return;
    // Undo and redo change the selection mode record by record; the user's mode,
    // the paint lock and the depth counter come back however the replay ends.
    struct Restore {
        TmwCustomEditModel& model;
        TSelectionMode mode;
        ~Restore()
        {
            --model.undoRedoDepth_;
            model.selectionMode_ = mode;
            model.DecPaintLock();
        }
    } restore{*this, selectionMode_};
    IncPaintLock();
    ++undoRedoDepth_;
    while ((this->*step)()) {
    }
}

void TmwCustomEditModel::Undo()
{
    if (GetReadOnly())
        return;
    ReplayChanges(undoList_, &TmwCustomEditModel::UndoItem);
    AnchorAtCaret();
}

void TmwCustomEditModel::Redo()
{
    if (GetReadOnly())
        return;
    ReplayChanges(redoList_, &TmwCustomEditModel::RedoItem);
    AnchorAtCaret();
}

bool TmwCustomEditModel::UndoItem()
{
    TChangeRecord rec;
    if (undoList_.GetChange(rec) == mwcrNone)
        return false;
    selectionMode_ = rec.mode;
    // Each branch keeps the ends of the lines it replaces for the redo record,
    // and gives the lines it brings back the ends the record kept.
    const int top = std::min(rec.start.Y, rec.end.Y);
    switch (rec.reason) {
    case mwcrInsert:
    case mwcrPaste:
    case mwcrDragDropInsert: {
        // The caret first: with nothing left to select, the old text goes in there.
        PlaceInsertionPoint(RecordPlace(rec.start, rec.mode));
        SelectRecorded(RecordPlace(rec.start, rec.mode), RecordPlace(rec.end, rec.mode));
        std::vector<std::string> tails = LineTails(top, std::abs(blockEnd_.Y - blockBegin_.Y) + 1);
        std::string inserted = SelTextForUndo();
        // A column block of no width selects nothing, yet it has its lines:
        // redo puts them back, past the last line too.
        if (rec.mode == smColumn && rec.start.X == rec.end.X)
            for (int y = top; y < std::max(rec.start.Y, rec.end.Y); ++y)
                inserted += "\r\n";
        SetSelTextPrimitiveEx(rec.mode, rec.text, nullptr);
        RemoveLastLines(rec.addedLines);
        if (!rec.tails.empty())
            RestoreLineTails(top, rec.tails);
        // The redo record covers what was put back (overwritten text), so redo replaces exactly that.
        TPoint restoredEnd = rec.text.empty() ? rec.start : InsertedEnd(rec.mode, rec.start, rec.text);
        redoList_.AddChange(rec.reason, rec.start, restoredEnd, inserted, rec.mode, std::move(tails));
        SetCaretXY(RecordPlace(rec.start, rec.mode));
        TChangeReason next = undoList_.LastChangeReason();
        return next == mwcrSelDelete || (next == mwcrDragDropDelete && rec.reason == mwcrDragDropInsert);
    }
    case mwcrDeleteAfter:
    case mwcrDelete:
    case mwcrSelDelete:
    case mwcrDragDropDelete: {
        TPoint p = PointBefore(rec.end, rec.start) ? rec.end : rec.start;
        if (rec.mode == smColumn)
            p = Point(std::min(rec.start.X, rec.end.X), top);
        std::string text = rec.text;
        std::vector<std::string> restore = rec.tails;
        int count = lines_->Count();
        if (p.Y > count) {
            // The deleted text was the last line: it comes back after the line
            // that is last now, and no empty line follows it.
            p = Point(static_cast<int>(lines_->Length(count - 1)) + 1, count);
            text = "\r\n" + WithoutFinalLineBreak(text);
            // The line it follows stays as it is.
            restore.insert(restore.begin(), LineTails(count, 1).front());
        }
        std::vector<std::string> tails =
            LineTails(p.Y, rec.mode == smColumn ? static_cast<int>(PieceLengths(text).size()) : 1);
        SetBlockBegin(RecordPlace(p, rec.mode));
        PlaceInsertionPoint(RecordPlace(p, rec.mode));
        SetSelTextPrimitiveEx(rec.mode, text, nullptr);
        TPoint restoredEnd = InsertedEnd(rec.mode, p, text);
        if (!restore.empty())
            RestoreLineTails(p.Y, restore);
        if (rec.mode == smLine)
            p.X = 1;
        SetCaretFree(RecordPlace(rec.end, rec.mode));
        SetBlockBegin(RecordPlace(rec.start, rec.mode));
        SetBlockEnd(RecordPlace(rec.end, rec.mode));
        // Column pieces come back unpadded and unequal: the block is the record's rectangle.
        if (rec.mode == smColumn)
            restoredEnd = Point(std::max(rec.start.X, rec.end.X), std::max(rec.start.Y, rec.end.Y));
        redoList_.AddChange(rec.reason, p, restoredEnd, "", rec.mode, std::move(tails));
        EnsureCursorPosVisible();
        return false;
    }
    case mwcrLineBreak: {
        SetCaretFree(rec.start);
        // The redo record keeps the line that was opened, so that redo opens
        // it again as it was, whatever the options say by then.
        const std::string opened = caretY_ + 1 < lines_->Count() ? lines_->Get(caretY_ + 1) : std::string();
        redoList_.AddChange(rec.reason, rec.start, rec.end, opened, rec.mode, LineTails(rec.start.Y, 2));
        // The moved text goes back to the column the record ends at; the
        // caret line is otherwise left as it is, so the line comes back exactly.
        std::string line = LineText();
        const size_t column = static_cast<size_t>(std::max(rec.end.X - 1, 0));
        if (!rec.text.empty() && line.size() < column)
            line.resize(column, ' ');
        lines_->BeginUpdate();
        if (caretY_ + 1 < lines_->Count())
            lines_->Delete(caretY_ + 1);
        lines_->Put(caretY_, line + rec.text);
        if (!rec.tails.empty())
            RestoreLineTails(rec.start.Y, rec.tails);
        lines_->EndUpdate();
        ShiftMarks(CaretY() + 1, -1);
        return undoList_.LastChangeReason() == mwcrSelDelete;
    }
    case mwcrIndent: {
        int endLine = rec.end.X == 1 ? rec.end.Y - 1 : rec.end.Y;
        const int width = RecordedIndent(rec.text, TabWidthAtLeastOne());
        // The indent's columns: after the zero-width characters a line may begin with.
        blockBegin_ = BytePoint(Point(1, rec.start.Y));
        blockEnd_ = BytePoint(Point(width + 1, endLine));
        // Redo puts in the same indentation. What this takes away is no record
        // of it: an empty line, or one of zero-width characters only, dropped
        // its indent as blanks at its end, and the first line gives the width.
        const int count = endLine - rec.start.Y + 1;
        redoList_.AddChange(rec.reason, rec.start, rec.end, rec.text.empty() ? IndentBlock(count, width) : rec.text,
                            rec.mode, LineTails(rec.start.Y, count));
        SetSelTextPrimitiveEx(rec.mode, "", nullptr);
        if (!rec.tails.empty())
            RestoreLineTails(rec.start.Y, rec.tails);
        SetBlockBegin(rec.start);
        SetCaretFree(rec.end);
        SetBlockEnd(CaretXY());
        return false;
    }
    case mwcrUnindent: {
        redoList_.AddChange(rec.reason, rec.start, rec.end, rec.text, rec.mode,
                            LineTails(rec.start.Y, static_cast<int>(PieceLengths(rec.text).size())));
        InsertColumnBlock(Point(1, rec.start.Y), Point(1, rec.end.Y), rec.text);
        if (!rec.tails.empty())
            RestoreLineTails(rec.start.Y, rec.tails);
        SetCaretFree(rec.start);
        SetBlockBegin(rec.start);
        SetBlockEnd(rec.end);
        return false;
    }
    case mwcrNone:
        break;
    }
    return false;
}

bool TmwCustomEditModel::RedoItem()
{
    TChangeRecord rec;
    if (redoList_.GetChange(rec) == mwcrNone)
        return false;
    selectionMode_ = rec.mode;
    const int top = std::min(rec.start.Y, rec.end.Y);
    switch (rec.reason) {
    case mwcrInsert:
    case mwcrPaste:
    case mwcrDragDropInsert: {
        PlaceInsertionPoint(RecordPlace(rec.start, rec.mode));
        SelectRecorded(RecordPlace(rec.start, rec.mode), RecordPlace(rec.end, rec.mode));
        int touched = std::abs(blockEnd_.Y - blockBegin_.Y) + 1;
        if (rec.mode == smColumn)
            touched = std::max(touched, static_cast<int>(PieceLengths(rec.text).size()));
        std::vector<std::string> tails = LineTails(top, touched);
        std::string replaced = SelTextForUndo();
        const int count = lines_->Count();
        SetSelTextPrimitiveEx(rec.mode, rec.text, nullptr);
        // Only a column block appends lines; other insertions move the lines below.
        const int added = rec.mode == smColumn ? lines_->Count() - count : 0;
        if (!rec.tails.empty())
            RestoreLineTails(top, rec.tails);
        // A column block spans its widest line, whatever the caret says.
        TPoint end =
            rec.mode == smColumn ? ColumnBlockEnd(rec.start, rec.text) : InsertedEnd(rec.mode, rec.start, rec.text);
        undoList_.AddChange(rec.reason, rec.start, end, replaced, rec.mode, std::move(tails), added);
        return false;
    }
    case mwcrDeleteAfter:
    case mwcrDelete:
    case mwcrSelDelete:
    case mwcrDragDropDelete: {
        if (rec.reason == mwcrDeleteAfter)
            PlaceInsertionPoint(RecordPlace(rec.start, rec.mode));
        SelectRecorded(RecordPlace(rec.start, rec.mode), RecordPlace(rec.end, rec.mode));
        undoList_.AddChange(rec.reason, rec.start, rec.end, SelTextForUndo(), rec.mode,
                            LineTails(top, std::abs(blockEnd_.Y - blockBegin_.Y) + 1));
        SetSelTextPrimitiveEx(rec.mode, rec.text, nullptr);
        if (!rec.tails.empty())
            RestoreLineTails(top, rec.tails);
        SetCaretXY(RecordPlace(rec.start, rec.mode));
        return rec.reason == mwcrSelDelete ||
               (rec.reason == mwcrDragDropDelete && redoList_.LastChangeReason() == mwcrDragDropInsert);
    }
    case mwcrLineBreak: {
        // Where it was made, whatever the caret did since: the caret line
        // ends at the record's end column and the opened line follows it.
        SetCaretFree(rec.start);
        SetBlockBegin(rec.start);
        const std::string line = LineText();
        const size_t column = std::min(line.size(), static_cast<size_t>(std::max(rec.end.X - 1, 0)));
        undoList_.AddChange(rec.reason, rec.start, rec.end, line.substr(column), rec.mode, LineTails(rec.start.Y, 1));
        lines_->BeginUpdate();
        lines_->Put(caretY_, TrimEndBlanks(line.substr(0, column)));
        lines_->Insert(caretY_ + 1, rec.text);
        if (!rec.tails.empty())
            RestoreLineTails(rec.start.Y, rec.tails);
        lines_->EndUpdate();
        ShiftMarks(rec.start.Y + 1, 1);
        const size_t indent = rec.text.find_first_not_of(' ');
        SetCaretFree(Point(static_cast<int>(indent == std::string::npos ? rec.text.size() : indent) + 1,
                           rec.start.Y + 1));
        return false;
    }
    case mwcrIndent: {
        int endLine = rec.end.X == 1 ? rec.end.Y - 1 : rec.end.Y;
        std::vector<std::string> tails = LineTails(rec.start.Y, endLine - rec.start.Y + 1);
        InsertColumnBlock(Point(1, rec.start.Y), Point(1, endLine), rec.text);
        if (!rec.tails.empty())
            RestoreLineTails(rec.start.Y, rec.tails);
        undoList_.AddChange(rec.reason, rec.start, rec.end, rec.text, rec.mode, std::move(tails));
        const int width = RecordedIndent(rec.text, TabWidthAtLeastOne());
        SetCaretFree(Point(1, rec.end.Y + 1));
        SetBlockBegin(Point(rec.start.X + width, rec.start.Y));
        SetBlockEnd(rec.end.X == 1 ? Point(1, rec.end.Y) : Point(rec.end.X + width, rec.end.Y));
        return false;
    }
    case mwcrUnindent: {
        std::vector<int> counts = PieceLengths(rec.text);
        undoList_.AddChange(rec.reason, rec.start, rec.end, rec.text, smColumn,
                            LineTails(rec.start.Y, static_cast<int>(counts.size())));
        lines_->BeginUpdate();
        for (size_t i = 0; i < counts.size(); ++i) {
            int index = rec.start.Y - 1 + static_cast<int>(i);
            if (index >= lines_->Count())
                break;
            if (counts[i] > 0)
                lines_->Put(index, WithoutIndent(lines_->Get(index), static_cast<size_t>(counts[i])));
        }
        if (!rec.tails.empty())
            RestoreLineTails(rec.start.Y, rec.tails);
        lines_->EndUpdate();
        TPoint from = Point(rec.start.X - TabWidthAtLeastOne(), rec.start.Y);
        SetCaretFree(from);
        SetBlockBegin(from);
        SetBlockEnd(Point(rec.end.X - counts.back(), rec.end.Y));
        return false;
    }
    case mwcrNone:
        break;
    }
    return false;
}

void TmwCustomEditModel::SelectRecorded(TPoint start, TPoint end)
{
    // As recorded: a line may have lost its end blanks since, which must not move the block.
    if (SelAvail())
        InvalidateLines(std::min(blockBegin_.Y, blockEnd_.Y), std::max(blockBegin_.Y, blockEnd_.Y));
    // Records always name existing lines; should one not, the block stays inside the text.
    const int count = lines_->Count();
    start = Point(std::max(start.X, 1), std::clamp(start.Y, 1, count));
    end = Point(std::max(end.X, 1), std::clamp(end.Y, 1, count));
    blockBegin_ = start;
    blockEnd_ = end;
    InvalidateLines(start.Y, end.Y);
    StatusChanged(mwscSelection);
}

void TmwCustomEditModel::InsertColumnBlock(TPoint begin, TPoint end, const std::string& text)
{
    SetCaretFree(begin);
    blockBegin_ = begin;
    blockEnd_ = end;
    selectionMode_ = smColumn;
    SetSelTextPrimitiveEx(smColumn, text, nullptr);
    StatusChanged(mwscSelection);
}

// ---------------------------------------------------------------- clipboard

void TmwCustomEditModel::SetClipboardText(const std::string& text)
{
    if (text.empty() || !clipboard_)
        return;
    if (!clipboard_->SetTextAndBlock(text, EncodeEditBlock(selectionMode_, text)))
        throw EmwEditError("Clipboard copy operation failed");
}

void TmwCustomEditModel::CopyToClipboard()
{
    if (SelAvail())
        SetClipboardText(GetSelText());
}

void TmwCustomEditModel::CutToClipboard()
{
    if (!SelAvail() || GetReadOnly())
        return;
    std::string text = GetSelText();
    SetClipboardText(text);
    RecordSelection(mwcrDelete);
    undoList_.LockUndo();
    redoList_.LockUndo();
    try {
        SetSelText("");
    } catch (...) {
        undoList_.UnLockUndo();
        redoList_.UnLockUndo();
        throw;
    }
    undoList_.UnLockUndo();
    redoList_.UnLockUndo();
    AnchorAtCaret();
}

bool TmwCustomEditModel::CanPaste() const
{
    return clipboard_ && (clipboard_->HasText() || clipboard_->HasBlock());
}

void TmwCustomEditModel::PasteFromClipboard()
{
    if (!clipboard_ || GetReadOnly())
        return;
    TSelectionMode mode = smNormal;
    std::string text;
    if (clipboard_->HasBlock()) {
        std::string block;
        if (!clipboard_->Block(block) || !DecodeEditBlock(block, mode, text))
            throw EmwEditError("Clipboard paste operation failed.");
        if (mode == smColumn)
            text = RectangularBlock(text);
    } else if (clipboard_->HasText()) {
        text = clipboard_->Text();
    } else {
        StatusChanged(mwscSelection);
        return;
    }
    if (!AcceptsText(text))
        return;
    IncPaintLock();
    if (SelAvail()) {
        // Undone with the insertion that follows; an empty paste inserts
        // nothing and its deletion is a step of its own.
        RecordSelection(text.empty() ? mwcrDelete : mwcrSelDelete);
        SetSelTextPrimitiveEx(selectionMode_, "", nullptr);
    }
    // Where the deletion left the caret is where the text goes; a column
    // block is recorded in character columns.
    const TPoint s = RecordedPoint(CaretXY(), mode);
    const int pieces = mode == smColumn ? static_cast<int>(PieceLengths(text).size()) : 1;
    std::vector<std::string> tails = LineTails(s.Y, pieces);
    const int count = lines_->Count();
    // A column block with a line that begins with zero-width characters
    // joins them to the character before its column, from where no column
    // can take them out again: the lines it goes into are recorded whole.
    const bool joins = mode == smColumn && BeginsALineWithZeroWidth(text);
    std::string replaced;
    for (int y = s.Y; joins && y < s.Y + pieces && y <= count; ++y)
        replaced += (y > s.Y ? "\r\n" : "") + lines_->Get(y - 1);
    SetSelTextPrimitiveEx(mode, text, nullptr);
    const TPoint e = InsertedEnd(mode == smLine ? smNormal : mode, mode == smLine ? Point(1, s.Y) : s, text);
    // Nothing pasted, nothing to take out again.
    if (!text.empty()) {
        const int last = s.Y + pieces - 1;
        if (joins)
            undoList_.AddChange(mwcrPaste, Point(1, s.Y), Point(static_cast<int>(lines_->Length(last - 1)) + 1, last),
                                replaced, smNormal, std::move(tails));
        else if (mode == smColumn)
            undoList_.AddChange(mwcrPaste, s, e, "", mode, std::move(tails), lines_->Count() - count);
        else if (mode == smNormal)
            undoList_.AddChange(mwcrPaste, s, e, "", mode, std::move(tails));
        else if (e.X == 1)
            undoList_.AddChange(mwcrPaste, Point(1, s.Y), InsertedEnd(smLine, s, text), "", smLine, std::move(tails));
        else
            undoList_.AddChange(mwcrPaste, Point(1, s.Y), e, "", smNormal, std::move(tails));
    }
    if (mode == smColumn)
        SetCaretFree(BytePoint(Point(std::min(s.X, e.X), std::max(s.Y, e.Y) + 1)));
    DecPaintLock();
    AnchorAtCaret();
    EnsureCursorPosVisible();
    StatusChanged(mwscSelection);
}
