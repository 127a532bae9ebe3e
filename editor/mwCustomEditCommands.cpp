// The editor model's command processor: key translation, dispatch, and the
// commands that change the text.
#include "editor/mwCustomEditModel.h"

#include "platform/Utf8.h"

#include <algorithm>

struct TmwCustomEditModel::TCommandEntry {
    TmwEditorCommand first;
    TmwEditorCommand last;
    bool changesText; // ignored on a read-only editor
    TCommandHandler handler;
};

const TmwCustomEditModel::TCommandEntry* TmwCustomEditModel::FindCommand(TmwEditorCommand command)
{
    using M = TmwCustomEditModel;
    static const TCommandEntry table[] = {
        {ecLeft, ecSelGotoXY, false, &M::CmdMove},
        {ecSelectAll, ecSelectAll, false, &M::CmdSelectAll},
        {ecDeleteLastChar, ecDeleteLastChar, true, &M::CmdDeleteLastChar},
        {ecDeleteChar, ecDeleteChar, true, &M::CmdDeleteChar},
        {ecDeleteWord, ecDeleteLastWord, true, &M::CmdDeleteWords},
        {ecDeleteBOL, ecDeleteEOL, true, &M::CmdDeleteToLineEnds},
        {ecDeleteLine, ecDeleteLine, true, &M::CmdDeleteLine},
        {ecClearAll, ecClearAll, true, &M::CmdClearAll},
        {ecLineBreak, ecInsertLine, true, &M::CmdLineBreak},
        {ecChar, ecChar, true, &M::CmdChar},
        {ecImeStr, ecImeStr, true, &M::CmdImeStr},
        {ecUndo, ecRedo, true, &M::CmdHistory},
        {ecCut, ecCut, true, &M::CmdClipboard},
        {ecCopy, ecCopy, false, &M::CmdClipboard},
        {ecPaste, ecPaste, true, &M::CmdClipboard},
        {ecScrollUp, ecScrollRight, false, &M::CmdScroll},
        {ecInsertMode, ecToggleMode, false, &M::CmdInsertMode},
        {ecBlockIndent, ecBlockIndent, true, &M::CmdBlockIndent},
        {ecBlockUnindent, ecBlockUnindent, true, &M::CmdBlockUnindent},
        {ecNormalSelect, ecLineSelect, false, &M::CmdSelectionMode},
        {ecTab, ecTab, true, &M::CmdTab},
        {ecMatchBracket, ecMatchBracket, false, &M::CmdMatchBracket},
        {ecGotoMarker0, ecGotoMarker9, false, &M::CmdBookmark},
        {ecSetMarker0, ecSetMarker9, false, &M::CmdBookmark},
    };
    for (const TCommandEntry& entry : table)
        if (command >= entry.first && command <= entry.last)
            return &entry;
    return nullptr;
}

void TmwCustomEditModel::SetKeystrokes(const TmwKeyStrokes* value)
{
    if (value)
        keystrokes_.Assign(*value);
    else
        keystrokes_.Clear();
}

void TmwCustomEditModel::KeyDown(uint16_t& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
    TmwEditorCommand command = ecNone;
    int found = keystrokes_.FindKeycode2(chordKey_, chordShift_, key, shift);
    if (found < 0)
        found = keystrokes_.FindKeycode(key, shift);
    if (found >= 0)
        command = keystrokes_.Items(found).Command();
    // An unbound key that could start a chord is kept as the first stroke.
    if (command == ecNone && key >= 0x1E && key <= 0x91) {
        chordKey_ = key;
        chordShift_ = shift;
    } else {
        chordKey_ = 0;
        chordShift_ = 0;
    }
    if (command == ecNone) {
        stateFlags_ &= ~mwsfIgnoreNextChar;
        return;
    }
    key = 0;
    stateFlags_ |= mwsfIgnoreNextChar;
    CommandProcessor(command, '\0', nullptr);
}

void TmwCustomEditModel::KeyPress(char& key)
{
    if (stateFlags_ & mwsfIgnoreNextChar) {
        stateFlags_ &= ~mwsfIgnoreNextChar;
        return;
    }
    if (OnKeyPress)
        OnKeyPress(this, key);
    CommandProcessor(ecChar, key, nullptr);
}

void TmwCustomEditModel::TypeCharacter(const std::string& character)
{
    if (character.size() == 1) {
        char c = character[0];
        KeyPress(c);
        return;
    }
    if (stateFlags_ & mwsfIgnoreNextChar) {
        stateFlags_ &= ~mwsfIgnoreNextChar;
        return;
    }
    if (!character.empty())
        CommandProcessor(ecChar, '\0', const_cast<char*>(character.c_str()));
}

bool TmwCustomEditModel::AcceptsText(const std::string& text)
{
    if (vx::CanHold(encoding_, text))
        return true;
    if (OnTextRefused)
        OnTextRefused(this, text);
    return false;
}

void TmwCustomEditModel::DoOnProcessCommand(TmwEditorCommand& command, char& aChar, void* data)
{
    const TProcessCommandEvent& event = command >= ecUserFirst ? OnProcessUserCommand : OnProcessCommand;
    if (event)
        event(this, command, aChar, data);
}

void TmwCustomEditModel::CommandProcessor(TmwEditorCommand command, char aChar, void* data)
{
    DoOnProcessCommand(command, aChar, data);
    if (command == ecNone || command >= ecUserFirst)
        return;
    const TCommandEntry* entry = FindCommand(command);
    if (entry && entry->changesText && GetReadOnly())
        return;
    // Deleting a selection by Backspace or Delete is the one command that
    // reports no completion.
    const bool silent = (command == ecDeleteLastChar || command == ecDeleteChar) && SelAvail();
    IncPaintLock();
    try {
        if (entry)
            (this->*entry->handler)(command, aChar, data);
        if (entry && entry->changesText)
            AnchorAtCaret();
    } catch (...) {
        DecPaintLock();
        throw;
    }
    DecPaintLock();
    if (OnCommandDone && !silent)
        OnCommandDone(this);
}

// ---------------------------------------------------------------- typing

TPoint TmwCustomEditModel::DeleteSelectionRecorded(TChangeReason reason)
{
    RecordSelection(reason);
    SetSelTextPrimitiveEx(selectionMode_, "", nullptr);
    return CaretXY();
}

void TmwCustomEditModel::TypeText(const std::string& text, TChangeReason selReason)
{
    if (!AcceptsText(text))
        return;
    // Text of several lines (input-method text may have line breaks) becomes
    // several lines, as a paste does.
    const bool breaks = text.find_first_of("\r\n") != std::string::npos;
    if (SelAvail() || breaks) {
        // The text goes where the deletion left the caret: the earlier end of the block.
        TPoint start = SelAvail() ? DeleteSelectionRecorded(selReason) : CaretXY();
        std::vector<std::string> tails = LineTails(start.Y, 1);
        SetSelTextPrimitiveEx(smNormal, text, nullptr);
        undoList_.AddChange(mwcrInsert, start, InsertedEnd(smNormal, start, text), "", smNormal, std::move(tails));
        return;
    }
    if (caretY_ >= lines_->Count())
        return;
    TmwEditorOptions saved = options_;
    options_ |= mweoScrollPastEol;
    // Storing the line drops its end blanks: the record keeps them.
    std::vector<std::string> tails = LineTails(CaretY(), 1);
    // The line is edited where it is stored, at the caret: a keystroke
    // neither copies nor moves the rest of the line.
    const size_t x = static_cast<size_t>(caretX_);
    const size_t length = lines_->Length(caretY_);
    // Overwriting takes as many characters as are typed, whatever their
    // bytes; a zero-width character typed takes none.
    size_t overwritten = x;
    if (!insertMode_)
        for (size_t n = vx::utf8::CountSpacingChars(text); n > 0 && overwritten < length; --n)
            overwritten = NextCharPos(caretY_, overwritten);
    const std::string replaced = insertMode_ ? std::string() : lines_->Substr(caretY_, x, overwritten - x);
    const TPoint start = CaretXY();
    try {
        lines_->BeginUpdate();
        if (length < x)
            lines_->ReplaceText(caretY_, length, 0, std::string(x - length, ' ') + text);
        else
            lines_->ReplaceText(caretY_, x, replaced.size(), text);
        TrimLineEnd(caretY_);
        lines_->EndUpdate();
    } catch (...) {
        lines_->EndUpdate();
        options_ = saved;
        throw;
    }
    SetCaretXY(Point(start.X + static_cast<int>(text.size()), start.Y));
    // Ends at the caret even when nothing was overwritten, so undo finds the typed text.
    undoList_.AddChange(mwcrInsert, start, InsertedEnd(smNormal, start, text), replaced, smNormal, std::move(tails));
    if (charsInWindow_ > 0 && DisplayColumn(CaretXY()) >= LeftChar() + charsInWindow_)
        SetLeftChar(LeftChar() + std::min(25, charsInWindow_ - 1));
    // Straight back: the writer would pull the caret to the line end.
    options_ = saved;
}

void TmwCustomEditModel::CmdChar(TmwEditorCommand, char aChar, void* data)
{
    // A character of several bytes comes as its text, zero-terminated.
    if (data) {
        const std::string text(static_cast<const char*>(data));
        if (!text.empty() && static_cast<unsigned char>(text[0]) >= 0x80)
            TypeText(text, mwcrSelDelete);
        return;
    }
    auto c = static_cast<unsigned char>(aChar);
    if (c < 32 || c == 127)
        return;
    TypeText(std::string(1, aChar), mwcrSelDelete);
}

void TmwCustomEditModel::CmdImeStr(TmwEditorCommand, char, void* data)
{
    if (!data)
        return;
    std::string text(static_cast<const char*>(data));
    // The deleted selection is a step of its own: one undo takes the
    // text out, the next one brings the selection back.
    if (!text.empty())
        TypeText(text, mwcrDelete);
}

// ---------------------------------------------------------------- deletions

void TmwCustomEditModel::DeleteRangeRecorded(TPoint start, TPoint end, TChangeReason reason, TPoint recStart,
                                             TPoint recEnd)
{
    TSelectionMode saved = selectionMode_;
    selectionMode_ = smNormal;
    blockBegin_ = start;
    blockEnd_ = end;
    undoList_.AddChange(reason, recStart, recEnd, SelTextForUndo(), smNormal, LineTails(start.Y, end.Y - start.Y + 1));
    SetSelTextPrimitiveEx(smNormal, "", nullptr);
    selectionMode_ = saved;
}

void TmwCustomEditModel::CmdDeleteLastChar(TmwEditorCommand, char, void*)
{
    if (SelAvail()) {
        DeleteSelectionRecorded(mwcrDelete);
        return;
    }
    const int len = caretY_ < lines_->Count() ? static_cast<int>(lines_->Length(caretY_)) : 0;
    const int x = CaretX();
    const int y = CaretY();
    // Storing the line drops its end blanks: the records keep them.
    std::vector<std::string> tails = LineTails(y, 1);
    if (x > len + 1) {
        undoList_.AddChange(mwcrDelete, CaretXY(), CaretXY(), "", smNormal);
        SetCaretFree(Point(x - 1, y));
        return;
    }
    if (x > 1) {
        // One character: the accent before the caret goes, and the letter it is on stays.
        const size_t from = CharStartAt(caretY_, static_cast<size_t>(x - 2));
        const size_t size = static_cast<size_t>(x - 1) - from;
        const std::string removed = lines_->Substr(caretY_, from, size);
        // Only a blank before the caret can be the end of the indent: then the line is read whole.
        const std::string line = static_cast<unsigned char>(removed[0]) < 33 ? LineText() : std::string();
        const int n = LeftSpaces(line);
        if (!line.empty() && x - 1 == n) {
            // Back to the indent of the nearest less indented line above, or to column 1.
            int above = 0;
            for (int i = y - 1; i >= 1; --i) {
                int indent = LeftSpaces(lines_->Get(i - 1));
                if (indent < n) {
                    above = indent;
                    break;
                }
            }
            const int count = n - above;
            // The indent characters just before the caret go, so that the
            // record at the new caret puts back exactly those, whatever mix
            // of tabs and spaces the indent is.
            const size_t from = static_cast<size_t>(n - count);
            lines_->Put(caretY_, TrimEndBlanks(line.substr(0, from) + line.substr(static_cast<size_t>(n))));
            // Recorded where they stood, not where the caret stops: on a line
            // left empty it goes no further than the widest column.
            const TPoint at = Point(static_cast<int>(from) + 1, y);
            SetCaretFree(at);
            undoList_.AddChange(mwcrDelete, at, at, line.substr(from, static_cast<size_t>(count)), smNormal,
                                std::move(tails));
            return;
        }
        // The character goes where the line is stored.
        lines_->BeginUpdate();
        lines_->ReplaceText(caretY_, from, size, "");
        TrimLineEnd(caretY_);
        lines_->EndUpdate();
        // Recorded where the character stood: past a long line's end the
        // caret stops at the end, where the blanks before it are gone.
        const TPoint at = Point(static_cast<int>(from) + 1, y);
        SetCaretFree(at);
        undoList_.AddChange(mwcrDelete, at, at, removed, smNormal, std::move(tails));
        return;
    }
    if (y == 1)
        return;
    const std::string line = LineText();
    const std::string previous = lines_->Get(y - 2);
    tails = LineTails(y - 1, 2);
    lines_->BeginUpdate();
    lines_->Delete(y - 1);
    ShiftMarks(y, -1);
    TPoint at = Point(static_cast<int>(previous.size()) + 1, y - 1);
    lines_->Put(y - 2, TrimEndBlanks(previous + line));
    lines_->EndUpdate();
    SetCaretFree(at);
    undoList_.AddChange(mwcrDelete, at, at, "\r\n", smNormal, std::move(tails));
}

void TmwCustomEditModel::CmdDeleteChar(TmwEditorCommand, char, void*)
{
    if (SelAvail()) {
        DeleteSelectionRecorded(mwcrDeleteAfter);
        return;
    }
    const int x = CaretX();
    const TPoint caret = CaretXY();
    if (caretY_ < lines_->Count() && static_cast<int>(lines_->Length(caretY_)) >= x) {
        const auto at = static_cast<size_t>(x - 1);
        const size_t size = NextCharPos(caretY_, at) - at;
        undoList_.AddChange(mwcrDeleteAfter, caret, caret, lines_->Substr(caretY_, at, size), smNormal,
                            LineTails(caret.Y, 1));
        // The character goes where the line is stored.
        lines_->BeginUpdate();
        lines_->ReplaceText(caretY_, at, size, "");
        TrimLineEnd(caretY_);
        lines_->EndUpdate();
        return;
    }
    if (caretY_ + 1 >= lines_->Count())
        return;
    std::string line = LineText();
    line.resize(static_cast<size_t>(x - 1), ' ');
    std::vector<std::string> tails = LineTails(caret.Y, 2);
    lines_->BeginUpdate();
    lines_->Put(caretY_, TrimEndBlanks(line + lines_->Get(caretY_ + 1)));
    undoList_.AddChange(mwcrDeleteAfter, caret, caret, "\r\n", smNormal, std::move(tails));
    lines_->Delete(caretY_ + 1);
    // The joined line's marks come up with it; the caret line's stay.
    ShiftMarks(CaretY() + 1, -1);
    lines_->EndUpdate();
    SetCaretFree(caret);
}

void TmwCustomEditModel::CmdDeleteWords(TmwEditorCommand command, char, void*)
{
    TPoint caret = CaretXY();
    TPoint word = command == ecDeleteWord ? NextWordPosition() : PrevWordPosition();
    if (word == caret)
        return;
    if (command == ecDeleteWord) {
        DeleteRangeRecorded(caret, word, mwcrDeleteAfter, caret, caret);
        SetCaretFree(caret);
    } else {
        DeleteRangeRecorded(word, caret, mwcrDeleteAfter, word, caret);
        SetCaretFree(word);
    }
}

void TmwCustomEditModel::CmdDeleteToLineEnds(TmwEditorCommand command, char, void*)
{
    const TPoint caret = CaretXY();
    const int len = static_cast<int>(LineText().size());
    if (command == ecDeleteBOL) {
        if (caret.X == 1)
            return;
        TPoint lineStart = Point(1, caret.Y);
        DeleteRangeRecorded(lineStart, Point(std::min(caret.X, len + 1), caret.Y), mwcrDelete, lineStart,
                            lineStart);
        SetCaretFree(lineStart);
    } else {
        if (caret.X > len)
            return;
        DeleteRangeRecorded(caret, Point(len + 1, caret.Y), mwcrDeleteAfter, caret, caret);
        SetCaretFree(caret);
    }
}

void TmwCustomEditModel::CmdDeleteLine(TmwEditorCommand, char, void*)
{
    const int count = lines_->Count();
    if (count == 1 && lines_->Length(0) == 0)
        return;
    SetBlockBegin(CaretXY());
    const int y = CaretY();
    const std::string line = LineText();
    if (count > 1) {
        undoList_.AddChange(mwcrDeleteAfter, Point(1, y), CaretXY(), line + "\r\n", smNormal, LineTails(y, 2));
        lines_->Delete(y - 1);
    } else {
        undoList_.AddChange(mwcrDeleteAfter, Point(1, y), CaretXY(), line, smNormal, LineTails(y, 1));
        lines_->Put(0, "");
    }
    // Marks of the deleted line go to the line before it, or stay on the first.
    for (int i = 0; i < marks_.Count(); ++i) {
        TMark* mark = marks_.Items(i);
        if (mark->Line() >= y && mark->Line() > 1)
            mark->SetLine(mark->Line() - 1);
    }
    SetCaretXY(Point(1, y));
}

// ---------------------------------------------------------------- history and clipboard

void TmwCustomEditModel::CmdHistory(TmwEditorCommand command, char, void*)
{
    if (command == ecUndo)
        Undo();
    else
        Redo();
}

void TmwCustomEditModel::CmdClipboard(TmwEditorCommand command, char, void*)
{
    switch (command) {
    case ecCut:
        if (SelAvail())
            CutToClipboard();
        break;
    case ecCopy:
        CopyToClipboard();
        break;
    default:
        PasteFromClipboard();
        break;
    }
}

// ---------------------------------------------------------------- tabs and blocks

void TmwCustomEditModel::CmdTab(TmwEditorCommand, char, void*)
{
    // Blanks up to a cell: the tab stops, and the words of the line above,
    // are where they show, whatever the bytes of the characters before them.
    const int shown = DisplayColumn(CaretXY());
    int width = 0;
    if (HasOption(mweoSmartTabs)) {
        for (int i = caretY_ - 1; i >= 0; --i) {
            const std::string& above = lines_->Get(i);
            const int x = CharPoint(shown, i + 1).X;
            if (static_cast<int>(above.size()) < x)
                continue;
            size_t p = static_cast<size_t>(x - 1);
            while (p < above.size() && above[p] != ' ')
                ++p;
            while (p < above.size() && above[p] == ' ')
                ++p;
            width = DisplayColumn(Point(static_cast<int>(p) + 1, i + 1)) - shown;
            break;
        }
    }
    if (width == 0)
        width = TabWidthAtLeastOne() - (shown - 1) % TabWidthAtLeastOne();
    const std::string blanks(static_cast<size_t>(width), ' ');
    const bool overSelection = SelAvail();
    // The deleted selection is a step of its own, as for input-method text.
    TPoint start = overSelection ? DeleteSelectionRecorded(mwcrDelete) : CaretXY();
    std::vector<std::string> tails = LineTails(start.Y, 1);
    const std::string before = LineText();
    SetSelTextPrimitiveEx(smNormal, blanks, nullptr);
    std::string line = LineText();
    std::string trimmed = TrimEndBlanks(line);
    if (trimmed.size() != line.size())
        lines_->Put(caretY_, trimmed);
    // Blanks at the line end are dropped again: then there is nothing to undo,
    // unless the line lost blanks it ended in before.
    if (trimmed != before)
        undoList_.AddChange(mwcrInsert, start, InsertedEnd(smNormal, start, blanks), "", smNormal, std::move(tails));
    EnsureCursorPosVisible();
}

void TmwCustomEditModel::CmdBlockIndent(TmwEditorCommand, char, void*)
{
    if (!SelAvail())
        return;
    const int tab = TabWidthAtLeastOne();
    const TPoint b = BlockBegin();
    const TPoint e = BlockEnd();
    const TPoint caret = CaretXY();
    const TSelectionMode saved = selectionMode_;
    const int lastLine = e.X == 1 ? e.Y - 1 : e.Y;
    const int endColumn = e.X == 1 ? 1 : e.X + tab;
    const std::string block = IndentBlock(lastLine - b.Y + 1, tab);
    std::vector<std::string> tails = LineTails(b.Y, lastLine - b.Y + 1);
    InsertColumnBlock(Point(1, b.Y), Point(1, lastLine), block);
    // The record holds the indentation it put in: the tab width may change before it is undone.
    undoList_.AddChange(mwcrIndent, b, e, block, smColumn, std::move(tails));
    selectionMode_ = saved;
    SetCaretFree(caret);
    SetBlockBegin(Point(b.X + tab, b.Y));
    SetBlockEnd(Point(endColumn, e.Y));
}

std::string TmwCustomEditModel::IndentBlock(int count, int width)
{
    std::string block;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            block += "\r\n";
        block.append(static_cast<size_t>(width), ' ');
    }
    return block;
}

int TmwCustomEditModel::IndentBlanks(std::string_view line, int count)
{
    const size_t from = vx::utf8::SkipZeroWidth(line, 0);
    int n = 0;
    for (size_t at = from; n < count && at < line.size() && line[at] == ' '; ++at, ++n)
        if (vx::utf8::SkipZeroWidth(line, at + 1) != at + 1)
            break;
    return n;
}

std::string TmwCustomEditModel::WithoutIndent(std::string_view line, size_t count)
{
    const size_t from = vx::utf8::SkipZeroWidth(line, 0);
    return std::string(line.substr(0, from)).append(line.substr(std::min(line.size(), from + count)));
}

void TmwCustomEditModel::CmdBlockUnindent(TmwEditorCommand, char, void*)
{
    if (!SelAvail())
        return;
    const int tab = TabWidthAtLeastOne();
    const TPoint b = BlockBegin();
    const TPoint e = BlockEnd();
    const TPoint caret = CaretXY();
    const int lastLine = e.X == 1 ? e.Y - 1 : e.Y;
    std::string removedText;
    std::vector<int> counts;
    for (int y = b.Y; y <= lastLine; ++y) {
        const int n = IndentBlanks(lines_->Get(y - 1), tab);
        counts.push_back(n);
        removedText += (y > b.Y ? "\r\n" : "") + std::string(static_cast<size_t>(n), ' ');
    }
    int first = 0;
    int last = 0;
    if (std::any_of(counts.begin(), counts.end(), [](int n) { return n > 0; })) {
        SetCaretFree(Point(CaretX(), b.Y));
        std::vector<std::string> tails = LineTails(b.Y, lastLine - b.Y + 1);
        lines_->BeginUpdate();
        for (int y = b.Y; y <= lastLine; ++y) {
            int n = counts[static_cast<size_t>(y - b.Y)];
            if (n > 0)
                lines_->Put(y - 1, WithoutIndent(lines_->Get(y - 1), static_cast<size_t>(n)));
        }
        lines_->EndUpdate();
        undoList_.AddChange(mwcrUnindent, b, e, removedText, smColumn, std::move(tails));
        first = counts.front();
        last = counts.back();
    }
    SetCaretFree(caret);
    SetBlockBegin(Point(b.X - first, b.Y));
    SetBlockEnd(Point(e.X - last, e.Y));
}
