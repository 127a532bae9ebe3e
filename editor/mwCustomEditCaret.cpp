// The editor model's caret commands: moves with and without selection, word
// positions, bracket matching, scrolling, bookmarks and character offsets.
#include "editor/mwCustomEditModel.h"

#include "editor/mwHighlighter.h"
#include "editor/mwSupportProcs.h"

#include <algorithm>
#include <cstring>

bool TmwCustomEditModel::IsWordChar(char c) const
{
    if (highlighter_)
        return InSet(highlighter_->GetIdentChars(), c);
    return static_cast<unsigned char>(c) >= 33;
}

void TmwCustomEditModel::MoveCaretAndSelection(TPoint from, TPoint to, bool selecting)
{
    if (selecting && !SelAvail())
        SetBlockBegin(from);
    if (selecting)
        SetBlockEnd(to);
    else
        SetBlockBegin(to);
    SetCaretXY(to);
}

void TmwCustomEditModel::MoveCaretHorz(int dx, bool selecting)
{
    const TPoint from = CaretXY();
    const int len = static_cast<int>(CaretLineLength());
    TPoint to = from;
    if (!HasOption(mweoScrollPastEol) && dx == -1 && from.X == 1 && from.Y > 1) {
        to = Point(static_cast<int>(lines_->Length(from.Y - 2)) + 1, from.Y - 1);
    } else if (!HasOption(mweoScrollPastEol) && dx == 1 && from.X > len && from.Y < lines_->Count()) {
        to = Point(1, from.Y + 1);
    } else {
        // A step is a character: its bytes are passed over together.
        auto x = static_cast<size_t>(from.X - 1);
        for (int step = 0; step < std::abs(dx); ++step)
            x = dx > 0 ? NextCharPos(caretY_, x) : PrevCharPos(caretY_, x);
        to.X = static_cast<int>(x) + 1;
        if (dx > 0 && !HasOption(mweoScrollPastEol))
            to.X = std::min(to.X, len + 1);
    }
    MoveCaretAndSelection(from, to, selecting);
}

void TmwCustomEditModel::MoveCaretVert(int dy, bool selecting)
{
    const TPoint from = CaretXY();
    const int y = std::clamp(from.Y + dy, 1, std::max(1, lines_->Count()));
    // The caret keeps the column it shows in, whatever the characters before it.
    MoveCaretAndSelection(from, CharPoint(DisplayColumn(from), y), selecting);
}

void TmwCustomEditModel::CmdMove(TmwEditorCommand command, char, void* data)
{
    const bool selecting = command > ecSelection;
    const TmwEditorCommand move = selecting ? command - ecSelection : command;
    const TPoint caret = CaretXY();
    const int page = HasOption(mweoHalfPageScroll) ? linesInWindow_ >> 1 : linesInWindow_;
    switch (move) {
    case ecLeft:
    case ecRight:
        MoveCaretHorz(move == ecLeft ? -1 : 1, selecting);
        break;
    case ecUp:
    case ecDown:
        MoveCaretVert(move == ecUp ? -1 : 1, selecting);
        break;
    case ecWordLeft:
        MoveCaretAndSelection(caret, PrevWordPosition(), selecting);
        break;
    case ecWordRight:
        MoveCaretAndSelection(caret, NextWordPosition(), selecting);
        break;
    case ecLineStart:
        MoveCaretAndSelection(caret, Point(1, caret.Y), selecting);
        break;
    case ecLineEnd:
        MoveCaretAndSelection(caret, Point(static_cast<int>(CaretLineLength()) + 1, caret.Y), selecting);
        break;
    case ecPageUp:
    case ecPageDown:
        MoveCaretVert(move == ecPageUp ? -page : page, selecting);
        break;
    case ecPageLeft:
    case ecPageRight:
        MoveCaretHorz(move == ecPageLeft ? -charsInWindow_ : charsInWindow_, selecting);
        break;
    case ecPageTop:
        MoveCaretAndSelection(caret, Point(caret.X, topLine_), selecting);
        break;
    case ecPageBottom:
        MoveCaretAndSelection(caret, Point(caret.X, topLine_ + linesInWindow_ - 1), selecting);
        break;
    case ecEditorTop:
        MoveCaretAndSelection(caret, Point(1, 1), selecting);
        break;
    case ecEditorBottom: {
        const int count = lines_->Count();
        MoveCaretAndSelection(caret, Point(static_cast<int>(lines_->Length(count - 1)) + 1, count), selecting);
        break;
    }
    case ecGotoXY:
        if (data)
            MoveCaretAndSelection(caret, *static_cast<const TPoint*>(data), selecting);
        break;
    default:
        break;
    }
}

TPoint TmwCustomEditModel::NextWordPosition() const
{
    const TPoint caret = CaretXY();
    if (caret.Y > lines_->Count())
        return caret;
    const std::string& line = lines_->Get(caret.Y - 1);
    const int len = static_cast<int>(line.size());
    auto word = [this](char c) { return c != '\0' && IsWordChar(c); };
    auto white = [this](char c) { return c != '\0' && !IsWordChar(c); };
    // The scan goes by bytes: it stops at a place, past zero-width
    // characters that are no word characters themselves.
    auto place = [this](size_t p, int y) { return Point(static_cast<int>(PlaceAt(y - 1, p)) + 1, y); };
    if (caret.X < len) {
        // 0-based scan from the caret: past the word under it, then past the blanks after it.
        size_t p = static_cast<size_t>(caret.X - 1);
        if (word(line[p]))
            while (p < line.size() && !white(line[p]))
                ++p;
        while (p < line.size() && !word(line[p]))
            ++p;
        return place(p, caret.Y);
    }
    if (caret.Y < lines_->Count()) {
        const std::string& next = lines_->Get(caret.Y);
        size_t p = 0;
        while (p < next.size() && !word(next[p]))
            ++p;
        return place(p < next.size() ? p : 0, caret.Y + 1);
    }
    return caret;
}

TPoint TmwCustomEditModel::PrevWordPosition() const
{
    const TPoint caret = CaretXY();
    if (caret.Y > lines_->Count())
        return caret;
    const std::string& line = lines_->Get(caret.Y - 1);
    const int x = std::min(caret.X, static_cast<int>(line.size()) + 1);
    auto endOfPrevious = [&] {
        return Point(static_cast<int>(lines_->Length(caret.Y - 2)) + 1, caret.Y - 1);
    };
    auto word = [this](char c) { return c != '\0' && IsWordChar(c); };
    if (x > 1) {
        // 1-based column p of the nearest word character before the caret.
        int p = x - 1;
        while (p >= 1 && !word(line[static_cast<size_t>(p - 1)]))
            --p;
        if (p >= 1) {
            while (p > 1 && word(line[static_cast<size_t>(p - 2)]))
                --p;
            // A word begun by zero-width characters begins with the character they follow.
            return Point(static_cast<int>(ClusterStartAt(caret.Y - 1, static_cast<size_t>(p - 1))) + 1, caret.Y);
        }
        return caret.Y > 1 ? endOfPrevious() : Point(1, caret.Y);
    }
    return caret.Y > 1 ? endOfPrevious() : caret;
}

void TmwCustomEditModel::FindMatchingBracket()
{
    static const char pairs[] = "()[]{}";
    const TPoint caret = CaretXY();
    const std::string& line = lines_->Get(caret.Y - 1);
    if (caret.X > static_cast<int>(line.size()))
        return;
    const char* at = std::strchr(pairs, line[static_cast<size_t>(caret.X - 1)]);
    if (!at || *at == '\0')
        return;
    const size_t index = static_cast<size_t>(at - pairs);
    const bool forward = index % 2 == 0;
    const char same = *at;
    const char partner = forward ? pairs[index + 1] : pairs[index - 1];
    int depth = 1;
    int y = caret.Y;
    int x = caret.X - 1; // 0-based position of the bracket
    for (;;) {
        const std::string& text = lines_->Get(y - 1);
        x += forward ? 1 : -1;
        while (x >= 0 && x < static_cast<int>(text.size())) {
            char c = text[static_cast<size_t>(x)];
            if (c == same)
                ++depth;
            else if (c == partner && --depth == 0) {
                SetCaretXY(Point(x + 1, y));
                return;
            }
            x += forward ? 1 : -1;
        }
        y += forward ? 1 : -1;
        if (y < 1 || y > lines_->Count())
            return;
        x = forward ? -1 : static_cast<int>(lines_->Length(y - 1));
    }
}

void TmwCustomEditModel::CmdScroll(TmwEditorCommand command, char, void*)
{
    switch (command) {
    case ecScrollUp:
        SetTopLine(topLine_ - 1);
        if (CaretY() > topLine_ + linesInWindow_ - 1)
            SetCaretXY(Point(CaretX(), topLine_ + linesInWindow_ - 1));
        break;
    case ecScrollDown:
        SetTopLine(topLine_ + 1);
        if (CaretY() < topLine_)
            SetCaretXY(Point(CaretX(), topLine_));
        break;
    case ecScrollLeft:
        SetLeftChar(LeftChar() - 1);
        if (LeftChar() + charsInWindow_ < DisplayColumn(CaretXY()))
            SetCaretXY(CharPoint(LeftChar() + charsInWindow_, CaretY()));
        break;
    default:
        SetLeftChar(LeftChar() + 1);
        if (DisplayColumn(CaretXY()) < LeftChar())
            SetCaretXY(CharPoint(LeftChar(), CaretY()));
        break;
    }
}

void TmwCustomEditModel::CmdInsertMode(TmwEditorCommand command, char, void*)
{
    SetInsertMode(command == ecInsertMode || (command == ecToggleMode && !insertMode_));
}

void TmwCustomEditModel::CmdSelectionMode(TmwEditorCommand command, char, void*)
{
    SetSelectionMode(static_cast<TSelectionMode>(command - ecNormalSelect));
}

void TmwCustomEditModel::CmdBookmark(TmwEditorCommand command, char, void*)
{
    if (!bookMarkOptions_.EnableKeys())
        return;
    if (command <= ecGotoMarker9) {
        GotoBookMark(command - ecGotoMarker0);
        return;
    }
    const int number = command - ecSetMarker0;
    int x = 0, y = 0;
    if (GetBookMark(number, x, y)) {
        ClearBookMark(number);
        // The key takes a bookmark off its own line and moves it from any other.
        if (y == CaretY())
            return;
    }
    SetBookMark(number, CaretX(), CaretY());
}

// ---------------------------------------------------------------- character offsets

int TmwCustomEditModel::GetSelStart() const
{
    const TPoint b = BlockBegin();
    int offset = 0;
    for (int i = 0; i < b.Y - 1; ++i)
        offset += static_cast<int>(lines_->Length(i)) + 2;
    return offset + std::min(b.X, static_cast<int>(lines_->Length(b.Y - 1)) + 2);
}

TPoint TmwCustomEditModel::OffsetToPoint(int value) const
{
    int sum = 0;
    for (int i = 0; i < lines_->Count(); ++i) {
        int size = static_cast<int>(lines_->Length(i)) + 2;
        if (sum + size >= value)
            return Point(std::max(1, value - sum), i + 1);
        sum += size;
    }
    const int last = lines_->Count();
    return Point(static_cast<int>(lines_->Length(last - 1)) + 1, last);
}

void TmwCustomEditModel::SetSelStart(int value)
{
    SetCaretXY(OffsetToPoint(value));
    blockBegin_ = CaretXY();
    StatusChanged(mwscSelection);
}

void TmwCustomEditModel::SetSelEnd(int value)
{
    SetBlockEnd(OffsetToPoint(value));
}
