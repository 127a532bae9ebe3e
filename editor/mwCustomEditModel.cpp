// The editor control's model: construction, line store handlers, range
// rescans, caret, selection, settings and invalidation.
#include "editor/mwCustomEditModel.h"

#include "editor/mwHighlighter.h"
#include "editor/mwSupportProcs.h"
#include "platform/AnsiText.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Stands in for the window while the model has none.
class TNoWindow final : public TmwEditMetrics, public TmwEditView {
public:
    bool WindowExists() const override { return false; }
    int ClientWidth() const override { return 0; }
    int ClientHeight() const override { return 0; }
    int CharWidth(bool) const override { return 1; }
    int CharHeight(bool) const override { return 1; }
    void InvalidateRect(const TRect&) override {}
    void ScrollText(int) override {}
    void UpdateScrollBars() override {}
    void UpdateCaret() override {}
    void RecreateCaret() override {}
    void WindowStyleChanged() override {}
};

TNoWindow noWindow;

} // namespace

TmwCustomEditModel::TmwCustomEditModel(TmwEditMetrics* metrics, TmwEditView* view, TmwCustomEdit* owner)
    : metrics_(metrics ? metrics : &noWindow)
    , view_(view ? view : &noWindow)
    , lines_(std::make_unique<TmwEditList>())
    , bookMarkOptions_(owner)
{
    undoList_.OnAddedChange = [this](TUndoList* list) { UndoAddedChange(list); };
    redoList_.OnAddedChange = [this](TUndoList* list) { UndoAddedChange(list); };
    SetMaxUndo(1024);
    lines_->Add("");
    lines_->OnAdded = [this](TmwEditList*) { ListAdded(); };
    lines_->OnCleared = [this](TmwEditList*) { ListCleared(); };
    lines_->OnDeleted = [this](int index) { ListDeleted(index); };
    lines_->OnInserted = [this](int index) { ListInserted(index); };
    lines_->OnTextLoaded = [this](TmwEditList*) { ListTextLoaded(); };
    lines_->OnTextReplaced = [this](int index, size_t pos, size_t removed, size_t inserted) {
        ListTextReplaced(index, pos, removed, inserted);
    };
    lines_->OnLinePut = [this](int index) { ListLinePut(index); };
    lines_->OnScanRanges = [this](TmwEditList*) { ListScanRanges(); };
    lines_->OnChanging = [this](TStringList*) { ListChanging(); };
    lines_->OnChange = [this](TStringList*) { ListChanged(); };
    selectedColor_.OnChange = [this](TmwSelectedColor*) { Invalidate(); };
    bookMarkOptions_.OnChange = [this](TmwBookMarkOpt*) { InvalidateGutterLines(-1, -1); };
    gutter_.OnChange = [this](TmwGutter*) { GutterChanged(); };
    marks_.OnChange = [this](TMarkList*) { InvalidateGutterLines(-1, -1); };
    keystrokes_.ResetDefaults();
    gutterWidth_ = gutter_.RealGutterWidth(charWidth_);
    textOffset_ = gutterWidth_ + 2;
    FontChanged();
}

TmwCustomEditModel::~TmwCustomEditModel()
{
    SetHighLighter(nullptr);
    // The handlers point back at this model; the line store must not call them while it dies.
    lines_->OnAdded = nullptr;
    lines_->OnCleared = nullptr;
    lines_->OnDeleted = nullptr;
    lines_->OnInserted = nullptr;
    lines_->OnTextLoaded = nullptr;
    lines_->OnTextReplaced = nullptr;
    lines_->OnLinePut = nullptr;
    lines_->OnScanRanges = nullptr;
    lines_->OnChanging = nullptr;
    lines_->OnChange = nullptr;
    marks_.OnChange = nullptr;
}

// ---------------------------------------------------------------- line store

std::int32_t TmwCustomEditModel::ScanLine(int index, std::int32_t startRange)
{
    if (pendingEdit_.index == index) {
        const TLineEdit edit = std::exchange(pendingEdit_, TLineEdit{});
        return checkpoints_.Rescan(*highlighter_, *lines_, index, startRange, edit.pos, edit.removed, edit.inserted);
    }
    return checkpoints_.Scan(*highlighter_, *lines_, index, startRange);
}

int TmwCustomEditModel::ScanFrom(int index)
{
    int count = lines_->Count();
    if (index >= count - 1)
        return index;
    std::int32_t range = ScanLine(index, highlighter_->GetRange());
    int i = index + 1;
    for (; i < count; ++i) {
        if (lines_->Range(i) == range)
            break;
        lines_->SetRange(i, range);
        range = ScanLine(i, range);
    }
    return i - 1;
}

void TmwCustomEditModel::RescanAll()
{
    checkpoints_.Forget();
    paintStates_.Forget();
    if (!highlighter_ || lines_->Count() == 0)
        return;
    highlighter_->ResetRange();
    std::int32_t range = highlighter_->GetRange();
    lines_->SetRange(0, range);
    for (int i = 1; i < lines_->Count(); ++i) {
        range = ScanLine(i - 1, range);
        lines_->SetRange(i, range);
    }
}

void TmwCustomEditModel::ListAdded()
{
    LinesEdited();
    int count = lines_->Count();
    LineLengthChanged(count - 1);
    if (highlighter_) {
        if (count < 2) {
            highlighter_->ResetRange();
            lines_->SetRange(0, highlighter_->GetRange());
        } else {
            lines_->SetRange(count - 1, ScanLine(count - 2, lines_->Range(count - 2)));
        }
    }
    InvalidateLine(count);
}

void TmwCustomEditModel::ListCleared()
{
    LinesEdited();
    // No line a mark stood on is left.
    marks_.Clear();
    checkpoints_.Forget();
    paintStates_.Forget();
    longestIndex_ = -1;
    invalidateRect_ = TRect{};
    Invalidate();
    ClearUndo();
    SetBlockBegin(Point(1, 1));
    SetCaretXY(Point(1, 1));
    SetTopLine(1);
    SetLeftChar(1);
}

void TmwCustomEditModel::ListDeleted(int index)
{
    LinesEdited();
    if (index == longestIndex_)
        longestIndex_ = -1;
    else if (index < longestIndex_)
        --longestIndex_;
    checkpoints_.LineDeleted(index);
    paintStates_.LineDeleted(index);
    if (highlighter_ && lines_->Count() > 0) {
        if (index < 1) {
            highlighter_->ResetRange();
            lines_->SetRange(0, highlighter_->GetRange());
            if (lines_->Count() > 1)
                ScanFrom(0);
        } else {
            highlighter_->SetRange(lines_->Range(index - 1));
            ScanFrom(index - 1);
        }
    }
    InvalidateLines(index + 1, std::max(index + 1, topLine_ + linesInWindow_));
    InvalidateGutterLines(index + 1, std::max(index + 1, topLine_ + linesInWindow_));
}

void TmwCustomEditModel::ListInserted(int index)
{
    LinesEdited();
    if (longestIndex_ >= index)
        ++longestIndex_;
    checkpoints_.LineInserted(index);
    paintStates_.LineInserted(index);
    LineLengthChanged(index);
    if (highlighter_ && lines_->Count() > 0) {
        if (index < 1) {
            highlighter_->ResetRange();
            lines_->SetRange(0, highlighter_->GetRange());
            if (lines_->Count() > 1)
                ScanFrom(0);
        } else {
            highlighter_->SetRange(lines_->Range(index - 1));
            // The inserted line's stored state is 0, which may happen to equal
            // the state computed for it: scan it before comparing from the next line on.
            int last = ScanFrom(index - 1);
            if (last == index - 1 && index < lines_->Count()) {
                highlighter_->SetRange(lines_->Range(index));
                ScanFrom(index);
            }
        }
    }
    InvalidateLines(index + 1, topLine_ + linesInWindow_);
    InvalidateGutterLines(index + 1, topLine_ + linesInWindow_);
}

void TmwCustomEditModel::ListTextReplaced(int index, size_t pos, size_t removed, size_t inserted)
{
    pendingEdit_ = TLineEdit{index, pos, removed, inserted};
    paintStates_.Edited(index, pos);
}

void TmwCustomEditModel::ListLinePut(int index)
{
    LinesEdited();
    LineLengthChanged(index);
    if (pendingEdit_.index != index) {
        pendingEdit_ = TLineEdit{};
        paintStates_.Edited(index, 0);
    }
    // A line put whole, or left unscanned (the last line, whose end state
    // nothing needs, or any line without highlighter), keeps none of its states.
    if (checkpoints_.Line() == index &&
        (pendingEdit_.index != index || !highlighter_ || index >= lines_->Count() - 1))
        checkpoints_.Forget();
    if (!highlighter_) {
        pendingEdit_ = TLineEdit{};
        InvalidateLine(index + 1);
        return;
    }
    highlighter_->SetRange(lines_->Range(index));
    // Scanning the line takes the pending edit.
    int last = ScanFrom(index);
    pendingEdit_ = TLineEdit{};
    InvalidateLines(index + 1, last + 1);
}

void TmwCustomEditModel::ListTextLoaded()
{
    LinesEdited();
    checkpoints_.Forget();
    paintStates_.Forget();
    longestIndex_ = -1;
    if (lines_->Count() == 0)
        lines_->Add("");
    ClearUndo();
}

void TmwCustomEditModel::ListScanRanges()
{
    LinesEdited();
    longestIndex_ = -1;
    RescanAll();
}

void TmwCustomEditModel::LinesEdited()
{
    ++changeCount_;
    if (lines_->LoadCount() == 0)
        SetModified(true);
}

void TmwCustomEditModel::ListChanging() { stateFlags_ |= mwsfLinesChanging; }

void TmwCustomEditModel::ListChanged()
{
    stateFlags_ &= ~mwsfLinesChanging;
    // A change that took the caret's line away leaves it on the last line;
    // the selection collapses to the caret after every completed change,
    // window or not.
    KeepInsideText();
    blockBegin_ = blockEnd_ = CaretXY();
    if (!metrics_->WindowExists()) {
        invalidateRect_ = TRect{};
        return;
    }
    UpdateScrollBars(false);
    if (!invalidateRect_.IsEmpty())
        view_->InvalidateRect(invalidateRect_);
    invalidateRect_ = TRect{};
    if (gutter_.ShowLineNumbers() && gutter_.AutoSize())
        gutter_.AutoSizeDigitCount(lines_->Count());
}

// ---------------------------------------------------------------- highlighter

void TmwCustomEditModel::SetHighLighter(TmwCustomHighLighter* value)
{
    if (value == highlighter_)
        return;
    if (highlighter_) {
        highlighter_->RemoveChangeHook(highlighterHook_);
        highlighter_->RemoveDestroyHook(highlighterDestroyHook_);
    }
    highlighterHook_ = highlighterDestroyHook_ = 0;
    highlighter_ = value;
    if (highlighter_) {
        highlighterHook_ = highlighter_->AddChangeHook([this](void*) {
            paintStates_.Forget();
            RecalcCharExtent();
            Invalidate();
        });
        highlighterDestroyHook_ = highlighter_->AddDestroyHook([this](void*) { HighLighterDestroyed(); });
    }
    RecalcCharExtent();
    lines_->BeginUpdate();
    RescanAll();
    lines_->EndUpdate();
    UpdateGeometry(true);
}

void TmwCustomEditModel::HighLighterDestroyed()
{
    // The dying highlighter clears its own chains; nothing is removed from them here.
    highlighter_ = nullptr;
    highlighterHook_ = highlighterDestroyHook_ = 0;
    RecalcCharExtent();
    Invalidate();
}

bool TmwCustomEditModel::AnyAttributeStyle(TFontStyle style) const
{
    for (int i = 0; i < highlighter_->GetAttribCount(); ++i)
        if (highlighter_->GetAttribute(i)->Style().Contains(style))
            return true;
    return false;
}

// ---------------------------------------------------------------- metrics

void TmwCustomEditModel::RecalcCharExtent()
{
    // The font's own style is the widget's; without a highlighter it measures plainly.
    bool bold = highlighter_ && AnyAttributeStyle(fsBold);
    bool italic = highlighter_ && AnyAttributeStyle(fsItalic);
    charWidth_ = std::max(1, metrics_->CharWidth(bold));
    lineHeight_ = std::max(1, metrics_->CharHeight(italic) + extraLineSpacing_);
}

void TmwCustomEditModel::FontChanged()
{
    RecalcCharExtent();
    UpdateGeometry(true);
}

void TmwCustomEditModel::SizeChanged()
{
    UpdateGeometry(false);
    SetLeftChar(LeftChar());
}

void TmwCustomEditModel::UpdateGeometry(bool fontChanged)
{
    if (!metrics_->WindowExists())
        return;
    charsInWindow_ = std::max(0, (metrics_->ClientWidth() - gutterWidth_ - 2) / charWidth_);
    linesInWindow_ = std::max(0, metrics_->ClientHeight() / lineHeight_);
    if (!fontChanged) {
        UpdateScrollBars(false);
        return;
    }
    if (gutter_.ShowLineNumbers())
        GutterChanged();
    else
        UpdateScrollBars(false);
    view_->RecreateCaret();
    Invalidate();
}

void TmwCustomEditModel::GutterChanged()
{
    if (gutter_.ShowLineNumbers() && gutter_.AutoSize())
        gutter_.AutoSizeDigitCount(lines_->Count());
    int width = gutter_.RealGutterWidth(charWidth_);
    if (width == gutterWidth_) {
        InvalidateGutterLines(-1, -1);
        return;
    }
    gutterWidth_ = width;
    textOffset_ = gutterWidth_ + 2 - leftChar_ * charWidth_;
    if (metrics_->WindowExists())
        charsInWindow_ = std::max(0, (metrics_->ClientWidth() - gutterWidth_ - 2) / charWidth_);
    UpdateScrollBars(false);
    Invalidate();
}

// ---------------------------------------------------------------- invalidation

TRect TmwCustomEditModel::LinesRect(int first, int last, int left, int right) const
{
    int bottom = metrics_->ClientHeight();
    if (first == -1 && last == -1)
        return TRect{left, 0, right, bottom};
    if (first > last)
        std::swap(first, last);
    first = std::max(first, topLine_);
    last = std::min(last, topLine_ + linesInWindow_);
    if (first > last)
        return TRect{};
    return TRect{left, (first - topLine_) * lineHeight_, right, (last - topLine_ + 1) * lineHeight_};
}

void TmwCustomEditModel::InvalidateRectOf(const TRect& rect)
{
    if (rect.IsEmpty() || !metrics_->WindowExists())
        return;
    if (stateFlags_ & mwsfLinesChanging)
        invalidateRect_ = UnionRect(invalidateRect_, rect);
    else
        view_->InvalidateRect(rect);
}

void TmwCustomEditModel::InvalidateLines(int first, int last)
{
    InvalidateRectOf(LinesRect(first, last, gutterWidth_, metrics_->ClientWidth()));
}

void TmwCustomEditModel::InvalidateGutterLines(int first, int last)
{
    InvalidateRectOf(LinesRect(first, last, 0, gutterWidth_));
}

void TmwCustomEditModel::InvalidateLine(int line)
{
    if (line < 1 || line > lines_->Count() || line < topLine_ || line > topLine_ + linesInWindow_)
        return;
    InvalidateRectOf(LinesRect(line, line, 0, metrics_->ClientWidth()));
}

void TmwCustomEditModel::Invalidate()
{
    InvalidateRectOf(TRect{0, 0, metrics_->ClientWidth(), metrics_->ClientHeight()});
}

// ---------------------------------------------------------------- paint lock and status

void TmwCustomEditModel::KeepInsideText()
{
    const int count = std::max(lines_->Count(), 1);
    if (caretY_ >= count || caretX_ >= ColumnLimit(caretY_ + 1)) {
        const int y = std::min(CaretY(), count);
        SetCaretFree(Point(std::min(CaretX(), ColumnLimit(y)), y));
    }
    auto clamp = [&](TPoint& p) {
        p.Y = std::clamp(p.Y, 1, count);
        p.X = std::clamp(p.X, 1, ColumnLimit(p.Y));
    };
    clamp(blockBegin_);
    clamp(blockEnd_);
    // Lines joined by a deletion may have put zero-width characters that
    // began a line after the character before a place: once an edit is
    // complete, the caret and the block go on past them. Undo and redo
    // replay their records at the places recorded, inside a paint lock.
    if (paintLock_ > 0)
        return;
    if (const int place = InsideCharacters(CaretY(), CaretX()); place != CaretX())
        SetCaretFree(Point(place, CaretY()));
    blockBegin_.X = InsideCharacters(blockBegin_.Y, blockBegin_.X);
    blockEnd_.X = InsideCharacters(blockEnd_.Y, blockEnd_.X);
}

void TmwCustomEditModel::DecPaintLock()
{
    if (paintLock_ > 0)
        --paintLock_;
    if (paintLock_ > 0)
        return;
    KeepInsideText();
    if (metrics_->WindowExists()) {
        if (stateFlags_ & mwsfScrollbarChanged)
            UpdateScrollBars(false);
        if (stateFlags_ & mwsfCaretChanged)
            UpdateCaret();
    }
    // Status is no window matter: a hidden editor reports it too.
    if (statusChanges_)
        StatusChanged(0);
}

void TmwCustomEditModel::StatusChanged(TmwStatusChanges changes)
{
    statusChanges_ |= changes;
    if (paintLock_ == 0 && OnStatusChange && statusChanges_) {
        TmwStatusChanges pending = statusChanges_;
        statusChanges_ = 0;
        OnStatusChange(this, pending);
    }
}

void TmwCustomEditModel::SetStateFlag(TmwStateFlags flag, bool on)
{
    if (on)
        stateFlags_ |= flag;
    else
        stateFlags_ &= ~flag;
}

void TmwCustomEditModel::UpdateCaret()
{
    if (paintLock_ > 0 || !metrics_->WindowExists()) {
        stateFlags_ |= mwsfCaretChanged;
        return;
    }
    stateFlags_ &= ~mwsfCaretChanged;
    view_->UpdateCaret();
}

void TmwCustomEditModel::UpdateScrollBars(bool force)
{
    if (!metrics_->WindowExists() || (paintLock_ > 0 && !force)) {
        stateFlags_ |= mwsfScrollbarChanged;
        return;
    }
    stateFlags_ &= ~mwsfScrollbarChanged;
    if (scrollBars_ != ssNone)
        view_->UpdateScrollBars();
}

// ---------------------------------------------------------------- caret and scrolling

void TmwCustomEditModel::SetCaretXY(TPoint value)
{
    int count = lines_->Count();
    int y = std::clamp(value.Y, 1, std::max(count, 1)) - 1;
    // Past the line end up to MaxLeftChar, and to the end of a longer line.
    const int length = count > 0 ? static_cast<int>(lines_->Length(y)) : 0;
    const int bound = HasOption(mweoScrollPastEol) ? std::max(maxLeftChar_, length) : length;
    // Never inside a character, nor between one and the zero-width
    // characters after it: there the caret would split what shows as one.
    int x = static_cast<int>(PlaceAt(y, static_cast<size_t>(std::max(std::min(value.X - 1, bound), 0))));
    if (x == caretX_ && y == caretY_)
        return;
    IncPaintLock();
    if (x != caretX_) {
        caretX_ = x;
        StatusChanged(mwscCaretX);
    }
    if (y != caretY_) {
        caretY_ = y;
        StatusChanged(mwscCaretY);
    }
    EnsureCursorPosVisible();
    stateFlags_ |= mwsfCaretChanged | mwsfScrollbarChanged;
    DecPaintLock();
    DoOnSelectionChange();
}

void TmwCustomEditModel::SetCaretFree(TPoint value)
{
    TmwEditorOptions saved = options_;
    options_ |= mweoScrollPastEol;
    SetCaretXY(value);
    options_ = saved;
}

void TmwCustomEditModel::AnchorAtCaret()
{
    if (!SelAvail())
        blockBegin_ = blockEnd_ = CaretXY();
}

void TmwCustomEditModel::PlaceInsertionPoint(TPoint value)
{
    SetCaretFree(value);
    caretX_ = std::max(value.X - 1, 0);
}

void TmwCustomEditModel::EnsureCursorPosVisible()
{
    IncPaintLock();
    // Scrolling is by the cells the line shows, tabs expanded.
    const int shown = DisplayColumn(CaretXY()) - 1;
    if (leftChar_ > shown)
        SetLeftChar(shown + 1);
    else if (leftChar_ + 1 + charsInWindow_ <= shown)
        SetLeftChar(shown - charsInWindow_ + 2);
    if (topLine_ - 1 > caretY_)
        SetTopLine(caretY_ + 1);
    else if (topLine_ + linesInWindow_ - 2 < caretY_)
        SetTopLine(caretY_ - (linesInWindow_ - 2));
    DecPaintLock();
}

int TmwCustomEditModel::LongestLine() const
{
    if (longestIndex_ < 0 || longestIndex_ >= lines_->Count()) {
        longestIndex_ = 0;
        size_t longest = lines_->Count() > 0 ? lines_->Length(0) : 0;
        for (int i = 1; i < lines_->Count(); ++i)
            if (lines_->Length(i) > longest) {
                longestIndex_ = i;
                longest = lines_->Length(i);
            }
        longestLength_ = longest;
    }
    return lines_->Count() > 0 ? static_cast<int>(lines_->Length(longestIndex_)) : 0;
}

void TmwCustomEditModel::LineLengthChanged(int index)
{
    if (longestIndex_ < 0 || index >= lines_->Count())
        return;
    const size_t length = lines_->Length(index);
    // The longest line that grew is the longest still: typing in it reads no other line.
    if (index == longestIndex_ && length < longestLength_)
        longestIndex_ = -1; // it may have become shorter than another: measure again when asked
    else if (index == longestIndex_ || length > longestLength_) {
        longestIndex_ = index;
        longestLength_ = length;
    }
}

int TmwCustomEditModel::ColumnCount() const { return std::max(maxLeftChar_, LongestLine() + 1); }

int TmwCustomEditModel::LastLeftChar() const { return std::max(1, ColumnCount() - charsInWindow_ + 1); }

int TmwCustomEditModel::ColumnLimit(int line) const
{
    const int length = line >= 1 && line <= lines_->Count() ? static_cast<int>(lines_->Length(line - 1)) : 0;
    return std::max(maxLeftChar_, length) + 1;
}

int TmwCustomEditModel::DisplayColumn(TPoint value) const
{
    if (value.Y < 1 || value.Y > lines_->Count())
        return value.X;
    const int index = value.Y - 1;
    // A column block's column may fall inside a character of another line:
    // it shows where that character does.
    const size_t pos = CharStartAt(index, static_cast<size_t>(std::max(value.X - 1, 0)));
    const size_t pieces = lines_->PieceCount(index);
    size_t col = 0;
    size_t done = 0; // bytes of the line before col
    for (size_t i = 0; i < pieces && done < pos; ++i) {
        const std::string_view piece = lines_->Piece(index, i);
        const size_t take = std::min(piece.size(), pos - done);
        // A long line's chunks before the place are not read: their shapes say.
        if (take == piece.size() && pieces > 1) {
            const TTextShape& shape = lines_->PieceShape(index, i);
            if (shape.Tabs == 0) {
                col += shape.Cells;
                done += take;
                continue;
            }
        }
        col = ColumnAfter(piece.substr(0, take), col, tabWidth_);
        done += take;
    }
    // Past the line's end, a cell a column.
    return static_cast<int>(col + (pos - done)) + 1;
}

TPoint TmwCustomEditModel::CharPoint(int displayColumn, int line) const
{
    if (line < 1 || line > lines_->Count())
        return Point(displayColumn, line);
    const int index = line - 1;
    const auto target = static_cast<size_t>(std::max(displayColumn - 1, 0));
    const size_t pieces = lines_->PieceCount(index);
    size_t col = 0;
    size_t done = 0;
    for (size_t i = 0; i < pieces; ++i) {
        const std::string_view piece = lines_->Piece(index, i);
        if (pieces > 1) {
            const TTextShape& shape = lines_->PieceShape(index, i);
            if (shape.Tabs == 0 && col + shape.Cells <= target) {
                col += shape.Cells;
                done += piece.size();
                continue;
            }
        }
        size_t offset = 0;
        if (FindDisplayColumn(piece, col, target, tabWidth_, offset))
            return Point(static_cast<int>(done + offset) + 1, line);
        done += piece.size();
    }
    return Point(static_cast<int>(done + (target - col)) + 1, line);
}

int TmwCustomEditModel::CharacterColumn(TPoint value) const
{
    if (value.Y < 1 || value.Y > lines_->Count())
        return value.X;
    const int index = value.Y - 1;
    const auto pos = static_cast<size_t>(std::max(value.X - 1, 0));
    size_t chars = 0;
    size_t done = 0;
    for (size_t i = 0, pieces = lines_->PieceCount(index); i < pieces && done < pos; ++i) {
        const std::string_view piece = lines_->Piece(index, i);
        const size_t take = std::min(piece.size(), pos - done);
        chars += take == piece.size() && pieces > 1 ? lines_->PieceShape(index, i).Chars
                                                    : vx::utf8::CountSpacingChars(piece.substr(0, take));
        done += take;
    }
    return static_cast<int>(chars + (pos - done)) + 1;
}

int TmwCustomEditModel::ByteColumn(int line, int characterColumn) const
{
    if (line < 1 || line > lines_->Count())
        return characterColumn;
    const int index = line - 1;
    auto wanted = static_cast<size_t>(std::max(characterColumn - 1, 0));
    size_t done = 0;
    for (size_t i = 0, pieces = lines_->PieceCount(index); i < pieces; ++i) {
        const std::string_view piece = lines_->Piece(index, i);
        const size_t chars = pieces > 1 ? lines_->PieceShape(index, i).Chars : vx::utf8::CountSpacingChars(piece);
        if (wanted < chars)
            return static_cast<int>(done + vx::utf8::OffsetOfSpacingChar(piece, wanted)) + 1;
        wanted -= chars;
        done += piece.size();
    }
    return static_cast<int>(done + wanted) + 1;
}

size_t TmwCustomEditModel::CharStartAt(int index, size_t pos) const
{
    if (index < 0 || index >= lines_->Count() || pos == 0 || pos >= lines_->Length(index))
        return pos;
    // A character's lead stands at most three bytes before its last byte.
    const size_t from = pos >= 3 ? pos - 3 : 0;
    const std::string around = lines_->Substr(index, from, pos - from + 4);
    return from + vx::utf8::CharStart(around, pos - from);
}

namespace {

// Bytes read at a time around a place: a character and what follows it, in
// a string that needs no memory of its own.
constexpr size_t kWindow = 12;
// The most bytes of a character.
constexpr size_t kLongest = 4;

} // namespace

size_t TmwCustomEditModel::ZeroWidthEnd(int index, size_t pos) const
{
    const size_t length = lines_->Length(index);
    for (;;) {
        const std::string window = lines_->Substr(index, pos, kWindow);
        const size_t end = vx::utf8::SkipZeroWidth(window, 0);
        // Sure where the window holds the whole character the run ends at.
        if (pos + window.size() >= length || end + kLongest <= window.size())
            return pos + end;
        pos += end;
    }
}

size_t TmwCustomEditModel::PlaceAt(int index, size_t pos) const
{
    if (index < 0 || index >= lines_->Count() || pos == 0 || pos >= lines_->Length(index))
        return pos;
    const size_t start = CharStartAt(index, pos);
    return start == 0 ? 0 : ZeroWidthEnd(index, start);
}

size_t TmwCustomEditModel::ClusterStartAt(int index, size_t pos) const
{
    // The window reaches back as far as the zero-width characters do.
    for (size_t back = kWindow - kLongest;; back *= 4) {
        const size_t from = pos > back ? pos - back : 0;
        const std::string around = lines_->Substr(index, from, pos - from + kLongest);
        const size_t start = vx::utf8::ClusterStart(around, pos - from);
        // Sure past the window's first bytes, which may be part of a
        // character before it, or characters of a cluster begun before it.
        if (from == 0 || start >= kLongest - 1)
            return from + start;
    }
}

size_t TmwCustomEditModel::NextCharPos(int index, size_t pos) const
{
    if (index < 0 || index >= lines_->Count() || pos >= lines_->Length(index))
        return pos + 1; // past the end, a column a cell
    const std::string window = lines_->Substr(index, pos, kWindow);
    const size_t end = vx::utf8::ClusterEnd(window, 0);
    if (pos + window.size() >= lines_->Length(index) || end + kLongest <= window.size())
        return pos + end;
    return ZeroWidthEnd(index, pos + end);
}

size_t TmwCustomEditModel::PrevCharPos(int index, size_t pos) const
{
    if (pos == 0)
        return 0;
    if (index < 0 || index >= lines_->Count() || pos > lines_->Length(index))
        return pos - 1;
    return ClusterStartAt(index, pos - 1);
}

void TmwCustomEditModel::SetLeftChar(int value)
{
    value = std::clamp(value, 1, LastLeftChar()) - 1;
    if (value == leftChar_)
        return;
    leftChar_ = value;
    textOffset_ = gutterWidth_ + 2 - leftChar_ * charWidth_;
    UpdateScrollBars(false);
    InvalidateLines(-1, -1);
    StatusChanged(mwscLeftChar);
}

void TmwCustomEditModel::SetTopLine(int value)
{
    value = std::max(std::min(value, lines_->Count()), 1);
    if (value == topLine_)
        return;
    int delta = topLine_ - value;
    topLine_ = value;
    UpdateScrollBars(false);
    if (std::abs(delta) < linesInWindow_)
        view_->ScrollText(delta * lineHeight_);
    else
        Invalidate();
    StatusChanged(mwscTopLine);
}

void TmwCustomEditModel::DoOnSelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange(this);
}

void TmwCustomEditModel::DoOnGutterClick(int x, int y)
{
    if (!OnGutterClick)
        return;
    int line = topLine_ + y / lineHeight_;
    if (line < 1 || line > lines_->Count())
        return;
    TMark* clicked = nullptr;
    int right = 0;
    for (TMark* mark : marks_.GetMarksForLine(line)) {
        if (!mark)
            continue;
        right += bookMarkOptions_.Xoffset();
        if (right > x) {
            clicked = mark;
            break;
        }
    }
    OnGutterClick(this, x, y, line, clicked);
}

bool TmwCustomEditModel::DoOnSpecialLineColors(int line, TColor& foreground, TColor& background)
{
    bool special = false;
    if (OnSpecialLineColors)
        OnSpecialLineColors(this, line, special, foreground, background);
    return special;
}

// ---------------------------------------------------------------- settings

void TmwCustomEditModel::SetOptions(TmwEditorOptions value)
{
    if (value == options_)
        return;
    options_ = value;
    if (!HasOption(mweoScrollPastEol))
        SetCaretX(CaretX());
}

void TmwCustomEditModel::SetInsertMode(bool value)
{
    if (value == insertMode_)
        return;
    insertMode_ = value;
    view_->RecreateCaret();
    StatusChanged(mwscInsertMode);
}

void TmwCustomEditModel::SetInsertCaret(TCaretType value)
{
    if (value == insertCaret_)
        return;
    insertCaret_ = value;
    view_->RecreateCaret();
}

void TmwCustomEditModel::SetOverwriteCaret(TCaretType value)
{
    if (value == overwriteCaret_)
        return;
    overwriteCaret_ = value;
    view_->RecreateCaret();
}

void TmwCustomEditModel::SetModified(bool value)
{
    if (value == modified_)
        return;
    modified_ = value;
    StatusChanged(mwscModified);
}

void TmwCustomEditModel::SetMaxUndo(int value)
{
    if (value < 0)
        return;
    undoList_.SetMaxUndo(value);
    redoList_.SetMaxUndo(value);
}

void TmwCustomEditModel::SetTabWidth(int value)
{
    value = std::clamp(value, 0, 256);
    if (value == tabWidth_)
        return;
    tabWidth_ = value;
    Invalidate();
}

void TmwCustomEditModel::SetExtraLineSpacing(int value)
{
    extraLineSpacing_ = value;
    FontChanged();
}

void TmwCustomEditModel::SetHideSelection(bool value)
{
    if (value == hideSelection_)
        return;
    hideSelection_ = value;
    Invalidate();
}

void TmwCustomEditModel::SetRightEdge(int value)
{
    if (value == rightEdge_)
        return;
    rightEdge_ = value;
    Invalidate();
}

void TmwCustomEditModel::SetRightEdgeColor(TColor value)
{
    if (value == rightEdgeColor_)
        return;
    rightEdgeColor_ = value;
    int x = textOffset_ + rightEdge_ * charWidth_;
    InvalidateRectOf(TRect{x - 1, 0, x + 1, metrics_->ClientHeight()});
}

void TmwCustomEditModel::SetScrollBars(TScrollStyle value)
{
    if (value == scrollBars_)
        return;
    scrollBars_ = value;
    view_->WindowStyleChanged();
    UpdateScrollBars(true);
    Invalidate();
}

void TmwCustomEditModel::SetBorderStyle(TBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    view_->WindowStyleChanged();
}

void TmwCustomEditModel::SetColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    Invalidate();
}

void TmwCustomEditModel::SetSelectionMode(TSelectionMode value)
{
    if (value == selectionMode_)
        return;
    selectionMode_ = value;
    if (SelAvail())
        Invalidate();
    StatusChanged(mwscSelection);
}

// ---------------------------------------------------------------- text

void TmwCustomEditModel::SetText(const std::string& value)
{
    lines_->BeginLoad();
    try {
        lines_->SetTextStr(value);
    } catch (...) {
        lines_->EndLoad();
        throw;
    }
    lines_->EndLoad();
}

std::string TmwCustomEditModel::LineText() const
{
    return caretY_ < lines_->Count() ? lines_->Get(caretY_) : std::string();
}

void TmwCustomEditModel::SetLineText(const std::string& value)
{
    if (caretY_ < lines_->Count())
        lines_->Put(caretY_, value);
}

int TmwCustomEditModel::LeftSpaces(const std::string& line) const
{
    if (!HasOption(mweoAutoIndent))
        return 0;
    int n = 0;
    while (n < static_cast<int>(line.size()) && line[n] >= 1 && line[n] <= 32)
        ++n;
    return n;
}

// ---------------------------------------------------------------- marks

void TmwCustomEditModel::ShiftMarks(int fromLine, int delta)
{
    for (int i = 0; i < marks_.Count(); ++i) {
        TMark* mark = marks_.Items(i);
        if (mark->Line() >= fromLine)
            mark->SetLine(mark->Line() + delta);
    }
}

void TmwCustomEditModel::ShiftMarksAfterDelete(int firstGone, int lastGone, int target)
{
    if (lastGone < firstGone)
        return;
    int removed = lastGone - firstGone + 1;
    for (int i = 0; i < marks_.Count(); ++i) {
        TMark* mark = marks_.Items(i);
        if (mark->Line() >= firstGone && mark->Line() <= lastGone)
            mark->SetLine(target);
        else if (mark->Line() > lastGone)
            mark->SetLine(mark->Line() - removed);
    }
}

TMark* TmwCustomEditModel::FindBookmark(int number) const
{
    if (number < 0 || number >= BookmarkCount)
        return nullptr;
    for (int i = 0; i < marks_.Count(); ++i)
        if (marks_.Items(i)->BookmarkNumber() == number)
            return marks_.Items(i);
    return nullptr;
}

void TmwCustomEditModel::SetBookMark(int number, int x, int y)
{
    if (number < 0 || number >= BookmarkCount || y < 1 || y > lines_->Count())
        return;
    auto mark = std::make_unique<TMark>(this);
    mark->SetLine(y);
    mark->SetColumn(x);
    mark->SetImageIndex(number);
    mark->SetBookmarkNumber(number);
    mark->SetVisible(true);
    mark->SetInternalImage(bookMarkOptions_.BookmarkImages() == nullptr);
    if (OnPlaceBookmark)
        OnPlaceBookmark(this, mark);
    if (!mark)
        return;
    // The slot is the mark's number: a replacement stays in the slot it was placed for.
    mark->SetBookmarkNumber(number);
    for (int i = 0; i < BookmarkCount; ++i)
        if (TMark* other = FindBookmark(i); other && other->Line() == y)
            ClearBookMark(i);
    ClearBookMark(number);
    marks_.Add(std::move(mark));
}

void TmwCustomEditModel::ClearBookMark(int number)
{
    if (TMark* mark = FindBookmark(number))
        marks_.Remove(mark);
}

void TmwCustomEditModel::GotoBookMark(int number)
{
    int x = 0, y = 0;
    if (GetBookMark(number, x, y) && y <= lines_->Count())
        SetCaretXY(Point(x, y));
}

bool TmwCustomEditModel::GetBookMark(int number, int& x, int& y) const
{
    const TMark* mark = FindBookmark(number);
    if (!mark)
        return false;
    x = mark->Column();
    y = mark->Line();
    return true;
}
