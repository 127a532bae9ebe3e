// The editor control's model: lines with their highlighter states, caret,
// selection in three modes, marks and bookmarks, undo and redo, clipboard.
// It knows no toolkit; the window that shows it supplies metrics through
// TmwEditMetrics and receives invalidations, scrolling and caret moves through
// TmwEditView.
#pragma once

#include "editor/Colors.h"
#include "editor/mwEditClipboard.h"
#include "editor/mwEditList.h"
#include "editor/mwEditTypes.h"
#include "editor/mwEditWindow.h"
#include "editor/mwKeyCmds.h"
#include "editor/mwLineCheckpoints.h"
#include "editor/mwMarks.h"
#include "editor/mwMethodChain.h"
#include "editor/mwPaintStates.h"
#include "editor/mwSupportClasses.h"
#include "editor/mwUndoList.h"
#include "platform/ControlTypes.h"
#include "platform/TextEncoding.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TmwCustomHighLighter;
class TmwCustomEdit;

using TmwEditorOptions = uint16_t;
enum : TmwEditorOptions {
    mweoAutoIndent = 1,
    mweoDragDropEditing = 2,
    mweoDropFiles = 4,
    mweoHalfPageScroll = 8,
    mweoNoCaret = 16,
    mweoNoSelection = 32,
    mweoScrollPastEol = 64,
    mweoShowScrollHint = 128,
    mweoTabsToSpaces = 256,
    mweoSmartTabs = 512,
    mweoDefaultOptions = 963
};

using TmwStatusChanges = uint16_t;
enum : TmwStatusChanges {
    mwscCaretX = 2,
    mwscCaretY = 4,
    mwscLeftChar = 8,
    mwscTopLine = 16,
    mwscInsertMode = 32,
    mwscModified = 64,
    mwscSelection = 128
};

// Editor state flags.
using TmwStateFlags = uint16_t;
enum : TmwStateFlags {
    mwsfCaretChanged = 1,
    mwsfScrollbarChanged = 2,
    mwsfLinesChanging = 4,
    mwsfScrolling = 8,
    mwsfIgnoreNextChar = 16,
    mwsfCaretVisible = 32,
    mwsfDblClicked = 64,
    mwsfGutterClicked = 128,
    mwsfWaitForDragging = 256
};

enum TCaretType : uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum TBorderStyle : uint8_t { bsNone, bsSingle };

class TmwCustomEditModel {
public:
    using TNotifyEvent = std::function<void(TmwCustomEditModel* Sender)>;
    using TPlaceMarkEvent = std::function<void(TmwCustomEditModel* Sender, std::unique_ptr<TMark>& Mark)>;
    using TStatusChangeEvent = std::function<void(TmwCustomEditModel* Sender, TmwStatusChanges Changes)>;
    using TGutterClickEvent =
        std::function<void(TmwCustomEditModel* Sender, int X, int Y, int Line, TMark* Mark)>;
    using TProcessCommandEvent =
        std::function<void(TmwCustomEditModel* Sender, TmwEditorCommand& Command, char& AChar, void* Data)>;
    using TKeyEvent = std::function<void(TmwCustomEditModel* Sender, uint16_t& Key, TShiftState Shift)>;
    using TKeyPressEvent = std::function<void(TmwCustomEditModel* Sender, char& Key)>;
    using TSpecialLineColorsEvent =
        std::function<void(TmwCustomEditModel* Sender, int Line, bool& Special, TColor& FG, TColor& BG)>;

    static constexpr int BookmarkCount = 10;

    // metrics and view may be null: the model then behaves as without a window.
    // owner is the widget showing the model, handed to the bookmark options.
    explicit TmwCustomEditModel(TmwEditMetrics* metrics = nullptr, TmwEditView* view = nullptr,
                                TmwCustomEdit* owner = nullptr);
    virtual ~TmwCustomEditModel();
    TmwCustomEditModel(const TmwCustomEditModel&) = delete;
    TmwCustomEditModel& operator=(const TmwCustomEditModel&) = delete;

    // --- owned parts
    TmwEditList& Lines() { return *lines_; }
    const TmwEditList& Lines() const { return *lines_; }
    // Replaces the whole text by the given lines, with or without a window.
    void SetLines(const TStrings& value) { lines_->Assign(value); }
    int LineCount() const { return lines_->Count(); }
    TUndoList& UndoList() { return undoList_; }
    TUndoList& RedoList() { return redoList_; }
    TMarkList& Marks() { return marks_; }
    TmwSelectedColor& SelectedColor() { return selectedColor_; }
    TmwBookMarkOpt& BookMarkOptions() { return bookMarkOptions_; }
    TmwGutter& Gutter() { return gutter_; }
    void SetGutter(const TmwGutter& value) { gutter_.Assign(value); }

    // --- highlighter (referenced, not owned)
    TmwCustomHighLighter* HighLighter() const { return highlighter_; }
    // Its states inside the long line last scanned, and those painting kept
    // along long lines; both follow every change of the lines.
    const TmwLineCheckpoints& KeptStates() const { return checkpoints_; }
    TmwPaintStates& PaintStates() { return paintStates_; }
    void SetHighLighter(TmwCustomHighLighter* value);
    // The highlighter is being destroyed: drop it and repaint.
    void HighLighterDestroyed();

    // --- clipboard (referenced, not owned); without one, clipboard commands do nothing
    void SetClipboard(TmwClipboard* clipboard) { clipboard_ = clipboard; }

    // --- caret, 1-based
    int CaretX() const { return caretX_ + 1; }
    int CaretY() const { return caretY_ + 1; }
    TPoint CaretXY() const { return Point(CaretX(), CaretY()); }
    void SetCaretX(int value) { SetCaretXY(Point(value, CaretY())); }
    void SetCaretY(int value) { SetCaretXY(Point(CaretX(), value)); }
    virtual void SetCaretXY(TPoint value);
    void EnsureCursorPosVisible();

    // --- selection
    TPoint BlockBegin() const; // the earlier end
    TPoint BlockEnd() const;   // the later end
    TPoint RawBlockBegin() const { return blockBegin_; } // the anchor
    TPoint RawBlockEnd() const { return blockEnd_; }     // the moving end
    void SetBlockBegin(TPoint value);
    void SetBlockEnd(TPoint value);
    bool SelAvail() const;
    std::string GetSelText() const;
    // The selected text as undo records keep it: column pieces hold only what
    // the lines had, so that putting them back gives the lines exactly.
    std::string SelTextForUndo() const { return SelectedText(false); }
    // Replaces the selection as the application does; a read-only editor's
    // text is not changed by it, nor by Undo, Redo, cut or paste.
    void SetSelText(const std::string& value);
    // The blanks ending each of count lines from firstLine (1-based) on, as
    // trimming would drop them: what an undo record keeps of the lines a
    // change is about to replace. Lines past the end are left out.
    std::vector<std::string> LineTails(int firstLine, int count) const;
    // The end point to record for text inserted in mode at start, worked out
    // from the text: the caret stops at MaxLeftChar, the text does not.
    TPoint InsertedEnd(TSelectionMode mode, TPoint start, const std::string& text) const;
    void SetSelTextPrimitive(const std::string& value) { SetSelTextPrimitiveEx(smNormal, value, nullptr); }
    // Replaces the selection by value inserted in pasteMode, recording nothing.
    // With tag, a column insertion reports the length of its pieces there.
    void SetSelTextPrimitiveEx(TSelectionMode pasteMode, const std::string& value, int* tag);
    void SelectAll();
    TSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(TSelectionMode value);
    // Whether (column, line) lies inside the selection.
    bool IsPointInSelection(TPoint value) const;
    // The character columns a column block spans: left, and right (exclusive).
    std::pair<int, int> BlockColumns() const;

    // --- text
    // How the document is stored in its file; the lines hold UTF-8 either way.
    vx::TTextEncoding Encoding() const { return encoding_; }
    void SetEncoding(vx::TTextEncoding value) { encoding_ = value; }
    std::string GetText() const { return lines_->Text(); }
    void SetText(const std::string& value);
    std::string LineText() const;
    void SetLineText(const std::string& value);
    // Leading characters #1..#32 of line, when auto indent is on.
    int LeftSpaces(const std::string& line) const;

    // --- scrolling and window metrics
    int LeftChar() const { return leftChar_ + 1; }
    void SetLeftChar(int value);
    int TopLine() const { return topLine_; }
    void SetTopLine(int value);
    int CharsInWindow() const { return charsInWindow_; }
    int LinesInWindow() const { return linesInWindow_; }
    int CharWidth() const { return charWidth_; }
    int LineHeight() const { return lineHeight_; }
    int GutterWidth() const { return gutterWidth_; }
    int TextOffset() const { return textOffset_; }
    int MaxLeftChar() const { return maxLeftChar_; }
    // The length of the longest line.
    int LongestLine() const;
    // Columns the horizontal scroll range covers: MaxLeftChar, or more for a
    // longer line, so that every character can be shown.
    int ColumnCount() const;
    // The largest LeftChar: the last page of columns fills the window.
    int LastLeftChar() const;
    // The widest column the caret or a selection end on line (1-based) can
    // have: the one after MaxLeftChar, or after the end of a longer line.
    int ColumnLimit(int line) const;
    // Where a point's column shows on its line, tabs expanded as painted.
    int DisplayColumn(TPoint value) const;
    // The characters before a point of its line, plus one, zero-width ones
    // not counted: the column the user counts in (past the end, a column a
    // byte). A zero-width character stands in no column: one at a line's
    // start lies before column 1.
    int CharacterColumn(TPoint value) const;
    // The point of line at character column, the inverse.
    int ByteColumn(int line, int characterColumn) const;
    // A column block spans the same characters of every line: its corners
    // are compared across lines, and kept in undo records, as character
    // columns, which the text of other lines does not move.
    TPoint ColumnPoint(TPoint value) const { return Point(CharacterColumn(value), value.Y); }
    TPoint BytePoint(TPoint column) const { return Point(ByteColumn(column.Y, column.X), column.Y); }
    // A point as an undo record of mode keeps it.
    TPoint RecordedPoint(TPoint value, TSelectionMode mode) const
    {
        return mode == smColumn ? ColumnPoint(value) : value;
    }
    // The point of line (1-based) nearest to where display column shows.
    TPoint CharPoint(int displayColumn, int line) const;
    // Byte positions (0-based) of line index and the characters around them.
    // The caret and the block's ends stand only at places: between clusters
    // (a character with the zero-width characters that follow it), which
    // keys and the mouse pass over whole. Past the line's end, a column a byte.
    // Where the character holding pos starts.
    size_t CharStartAt(int index, size_t pos) const;
    // The place pos goes to: back to the start of the character it falls
    // inside, on past the zero-width characters that it stands before.
    size_t PlaceAt(int index, size_t pos) const;
    // The places after and before the cluster at pos.
    size_t NextCharPos(int index, size_t pos) const;
    size_t PrevCharPos(int index, size_t pos) const;
    // Column x (1-based) of line, moved to a place as PlaceAt moves it.
    int InsideCharacters(int line, int x) const
    {
        return static_cast<int>(PlaceAt(line - 1, static_cast<size_t>(x - 1))) + 1;
    }
    size_t CaretLineLength() const { return caretY_ < lines_->Count() ? lines_->Length(caretY_) : 0; }
    // The window's font or size changed: measure again.
    void FontChanged();
    void SizeChanged();

    // --- invalidation (1-based lines; (-1, -1) is the whole area)
    void InvalidateLines(int first, int last);
    void InvalidateGutterLines(int first, int last);
    void InvalidateLine(int line);
    void Invalidate();

    // --- paint lock and status
    void IncPaintLock() { ++paintLock_; }
    void DecPaintLock();
    int PaintLock() const { return paintLock_; }
    void StatusChanged(TmwStatusChanges changes);
    TmwStateFlags StateFlags() const { return stateFlags_; }
    void SetStateFlag(TmwStateFlags flag, bool on);
    void UpdateCaret();
    void UpdateScrollBars(bool force);

    // --- published settings
    TmwEditorOptions Options() const { return options_; }
    void SetOptions(TmwEditorOptions value);
    bool HasOption(TmwEditorOptions option) const { return (options_ & option) != 0; }
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool value);
    TCaretType InsertCaret() const { return insertCaret_; }
    void SetInsertCaret(TCaretType value);
    TCaretType OverwriteCaret() const { return overwriteCaret_; }
    void SetOverwriteCaret(TCaretType value);
    virtual bool GetReadOnly() const { return readOnly_; }
    virtual void SetReadOnly(bool value) { readOnly_ = value; }
    // Set by every change of the lines outside a whole-text load (SetText,
    // Assign, LoadFromFile), recorded for undo or not: lines a command adds
    // or rewrites are the user's text changing too. A load leaves it as it was.
    bool Modified() const { return modified_; }
    void SetModified(bool value);
    // Advances with every change of the lines, loads included.
    std::uint64_t ChangeCount() const { return changeCount_; }
    int MaxUndo() const { return undoList_.MaxUndo(); }
    void SetMaxUndo(int value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int value);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    int ExtraLineSpacing() const { return extraLineSpacing_; }
    void SetExtraLineSpacing(int value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    int RightEdge() const { return rightEdge_; }
    void SetRightEdge(int value);
    TColor RightEdgeColor() const { return rightEdgeColor_; }
    void SetRightEdgeColor(TColor value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);

    // --- undo and redo
    bool CanUndo() const { return !undoList_.Empty(); }
    bool CanRedo() const { return !redoList_.Empty(); }
    void Undo();
    void Redo();
    void ClearUndo();

    // --- key bindings and commands
    TmwKeyStrokes& Keystrokes() { return keystrokes_; }
    // Copies the given bindings; none empties the collection.
    void SetKeystrokes(const TmwKeyStrokes* value);
    virtual void SetDefaultKeystrokes() { keystrokes_.ResetDefaults(); }
    // A key went down: OnKeyDown may change or clear it, then its binding (or
    // the chord it completes) runs. A key that ran a command is set to 0, and
    // the character it would type next is swallowed.
    void KeyDown(uint16_t& key, TShiftState shift);
    // A typed character: OnKeyPress may change it, then it is typed.
    void KeyPress(char& key);
    // A typed character of one or more bytes (UTF-8): one byte goes through
    // KeyPress; a longer one is typed whole, unseen by OnKeyPress.
    void TypeCharacter(const std::string& character);
    // Whether the document can store text: one stored as Windows-1252
    // refuses characters that code page lacks, and OnTextRefused says so.
    // Every way text enters the document asks this before it changes
    // anything (typing, paste and SetSelText ask it themselves); a caller
    // that moves the caret or the selection first, or fills the lines
    // directly, asks it first, so that a refused text leaves all as it was.
    bool AcceptsText(const std::string& text);
    // Carries out one command. Data: a TPoint for ecGotoXY and ecSelGotoXY,
    // a zero-terminated string for ecImeStr.
    virtual void CommandProcessor(TmwEditorCommand command, char aChar, void* data);
    virtual void DoOnProcessCommand(TmwEditorCommand& command, char& aChar, void* data);

    // --- caret moves
    void MoveCaretHorz(int dx, bool selecting);
    void MoveCaretVert(int dy, bool selecting);
    void MoveCaretAndSelection(TPoint from, TPoint to, bool selecting);
    virtual TPoint NextWordPosition() const;
    virtual TPoint PrevWordPosition() const;
    // Moves the caret to the partner of the bracket under it.
    virtual void FindMatchingBracket();

    // --- the selection as character offsets, each line counting its length plus 2
    int GetSelStart() const;
    void SetSelStart(int value);
    void SetSelEnd(int value);

    // --- line break, shared by the command processor and by undo and redo:
    // opens a line at the caret with auto-indent; moveCaret false leaves the caret.
    void InsertLineBreak(bool moveCaret);

    // --- clipboard
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool CanPaste() const;

    // --- bookmarks
    // Bookmark n is the mark of the list with bookmark number n: a mark
    // removed from the list, or a list cleared, takes the bookmark with it.
    void SetBookMark(int number, int x, int y);
    void ClearBookMark(int number);
    void GotoBookMark(int number);
    // The bookmark's position; false when it is not set.
    bool GetBookMark(int number, int& x, int& y) const;
    bool IsBookmark(int number) const { return FindBookmark(number) != nullptr; }

    // --- events
    TNotifyEvent OnChange;
    TNotifyEvent OnCommandDone;
    TGutterClickEvent OnGutterClick;
    TPlaceMarkEvent OnPlaceBookmark;
    TNotifyEvent OnSelectionChange;
    TProcessCommandEvent OnProcessCommand;
    TProcessCommandEvent OnProcessUserCommand;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TSpecialLineColorsEvent OnSpecialLineColors;
    TStatusChangeEvent OnStatusChange;
    std::function<void(TmwCustomEditModel* Sender, const std::string& text)> OnTextRefused;

    virtual void DoOnSelectionChange();
    // A click at pixel (x, y) in the gutter: OnGutterClick with its line and the mark clicked, if any.
    virtual void DoOnGutterClick(int x, int y);
    // Special colours of line; false when OnSpecialLineColors does not answer Special.
    virtual bool DoOnSpecialLineColors(int line, TColor& foreground, TColor& background);

protected:
    // Moves marks at or below line by delta lines.
    void ShiftMarks(int fromLine, int delta);
    // Lines firstGone..lastGone were removed: their marks go to target, later ones move up.
    void ShiftMarksAfterDelete(int firstGone, int lastGone, int target);
    TMark* FindBookmark(int number) const;
    // Puts the caret and both block ends back inside the text when a change
    // took their line away or made it shorter than their column allows.
    void KeepInsideText();
    // Line index changed length: keeps track of the longest line.
    void LineLengthChanged(int index);

private:
    // Line store handlers.
    // Every change: counted, and the text modified unless it is a load.
    void LinesEdited();
    void ListAdded();
    void ListCleared();
    void ListDeleted(int index);
    void ListInserted(int index);
    void ListTextReplaced(int index, size_t pos, size_t removed, size_t inserted);
    void ListLinePut(int index);
    void ListTextLoaded();
    void ListScanRanges();
    void ListChanging();
    void ListChanged();
    // Highlighter state rescans.
    int ScanFrom(int index);
    // Scans line index from startRange and returns the range it ends in,
    // which the highlighter is left at.
    std::int32_t ScanLine(int index, std::int32_t startRange);
    void RescanAll();

    std::string SelectedText(bool padColumns) const;
    // A recorded point as a place in the text.
    TPoint RecordPlace(TPoint recorded, TSelectionMode mode) const
    {
        return mode == smColumn ? BytePoint(recorded) : recorded;
    }
    // Records the selection's text for undo with reason, before it is deleted.
    void RecordSelection(TChangeReason reason);
    // Command handlers, dispatched by a table in the command processor.
    using TCommandHandler = void (TmwCustomEditModel::*)(TmwEditorCommand command, char aChar, void* data);
    struct TCommandEntry;
    static const TCommandEntry* FindCommand(TmwEditorCommand command);
    void CmdMove(TmwEditorCommand command, char, void* data);
    void CmdSelectAll(TmwEditorCommand, char, void*) { SelectAll(); }
    void CmdDeleteLastChar(TmwEditorCommand, char, void*);
    void CmdDeleteChar(TmwEditorCommand, char, void*);
    void CmdDeleteWords(TmwEditorCommand command, char, void*);
    void CmdDeleteToLineEnds(TmwEditorCommand command, char, void*);
    void CmdDeleteLine(TmwEditorCommand, char, void*);
    void CmdClearAll(TmwEditorCommand, char, void*) { lines_->Clear(); }
    void CmdLineBreak(TmwEditorCommand command, char, void*) { InsertLineBreak(command == ecLineBreak); }
    void CmdChar(TmwEditorCommand, char aChar, void*);
    void CmdImeStr(TmwEditorCommand, char, void* data);
    void CmdHistory(TmwEditorCommand command, char, void*);
    void CmdClipboard(TmwEditorCommand command, char, void*);
    void CmdScroll(TmwEditorCommand command, char, void*);
    void CmdInsertMode(TmwEditorCommand command, char, void*);
    void CmdSelectionMode(TmwEditorCommand command, char, void*);
    void CmdBlockIndent(TmwEditorCommand, char, void*);
    void CmdBlockUnindent(TmwEditorCommand, char, void*);
    void CmdTab(TmwEditorCommand, char, void*);
    void CmdMatchBracket(TmwEditorCommand, char, void*) { FindMatchingBracket(); }
    void CmdBookmark(TmwEditorCommand command, char, void*);
    // Types text at the caret, or over the selection (recorded with selReason).
    void TypeText(const std::string& text, TChangeReason selReason);
    // Records the selection with reason, deletes it, and returns where the caret went.
    TPoint DeleteSelectionRecorded(TChangeReason reason);
    // Deletes start..end (smNormal) after recording it with reason and the given points.
    void DeleteRangeRecorded(TPoint start, TPoint end, TChangeReason reason, TPoint recStart, TPoint recEnd);
    int TabWidthAtLeastOne() const { return tabWidth_ > 0 ? tabWidth_ : 1; }
    // Past the zero-width characters from pos (a character's start) of line index.
    size_t ZeroWidthEnd(int index, size_t pos) const;
    // Where the cluster holding pos (inside line index) begins.
    size_t ClusterStartAt(int index, size_t pos) const;
    // The point at a character offset; the end of the text for offsets past it.
    TPoint OffsetToPoint(int value) const;
    bool IsWordChar(char c) const;

    void DeleteSelection(TPoint bb, TPoint be);
    void InsertNormal(const std::string& value);
    void InsertColumn(const std::string& value, int* tag);
    void InsertLines(const std::string& value);
    // Caret anywhere up to MaxLeftChar, whatever the options.
    void SetCaretFree(TPoint value);
    // After an edit that leaves nothing selected the anchor is where the caret
    // went: the lines' change collapsed the selection where the caret was.
    void AnchorAtCaret();
    // Caret exactly at value, past MaxLeftChar too: where text is taken out
    // of or put into a line, which may be longer than the caret can go.
    void PlaceInsertionPoint(TPoint value);
    // The far corner of text as a column block put at start.
    static TPoint ColumnBlockEnd(TPoint start, const std::string& text);
    // One record each; true when the next record belongs to the same step.
    bool UndoItem();
    bool RedoItem();
    // Runs step until it reports no more records of list.
    void ReplayChanges(const TUndoList& list, bool (TmwCustomEditModel::*step)());
    // The line without the blanks (spaces) at its end: padding the editor added
    // goes again, tabs and other characters stay.
    static std::string TrimEndBlanks(std::string line);
    // The length of line without the blanks at its end.
    static size_t TrimmedLength(std::string_view line);
    // The blanks of line's indent, up to count, that unindenting takes: a
    // blank with zero-width characters after it is a character of its own.
    static int IndentBlanks(std::string_view line, int count);
    // A column block of width blanks on each of count lines, as a block indent puts in.
    static std::string IndentBlock(int count, int width);
    // The line without count blanks of its indent, which begins after the
    // zero-width characters a line may begin with, as column 1 does.
    static std::string WithoutIndent(std::string_view line, size_t count);
    // The same of line index (0-based), read around its editing gap.
    size_t TrimmedLength(int index) const;
    // Drops the blanks ending line index (0-based), in place.
    void TrimLineEnd(int index);
    // Ends the lines from firstLine on with exactly the blanks in tails.
    void RestoreLineTails(int firstLine, const std::vector<std::string>& tails);
    // Removes count lines from the end of the text.
    void RemoveLastLines(int count);
    // Selects start..end exactly as an undo record holds them.
    void SelectRecorded(TPoint start, TPoint end);
    // Inserts text as a column block spanning begin..end.
    void InsertColumnBlock(TPoint begin, TPoint end, const std::string& text);
    // Puts text on the clipboard as plain text and as the private block.
    void SetClipboardText(const std::string& text);
    void UndoAddedChange(TUndoList* list);
    void RecalcCharExtent();
    void UpdateGeometry(bool fontChanged);
    void GutterChanged();
    TRect LinesRect(int first, int last, int left, int right) const;
    void InvalidateRectOf(const TRect& rect);
    bool AnyAttributeStyle(TFontStyle style) const;

    TmwEditMetrics* metrics_;
    TmwEditView* view_;
    std::unique_ptr<TmwEditList> lines_;
    TUndoList undoList_;
    TUndoList redoList_;
    TMarkList marks_;
    TmwSelectedColor selectedColor_;
    TmwBookMarkOpt bookMarkOptions_;
    TmwGutter gutter_;
    TmwCustomHighLighter* highlighter_ = nullptr;
    TmwChainHandle highlighterHook_ = 0;
    TmwChainHandle highlighterDestroyHook_ = 0;
    // Highlighter states inside the long line last scanned, and the change
    // ReplaceText reported for the line about to be rescanned (index -1: none).
    TmwLineCheckpoints checkpoints_;
    TmwPaintStates paintStates_;
    struct TLineEdit {
        int index = -1;
        size_t pos = 0;
        size_t removed = 0;
        size_t inserted = 0;
    } pendingEdit_;
    TmwClipboard* clipboard_ = nullptr;

    TPoint blockBegin_{1, 1};
    TPoint blockEnd_{1, 1};
    int caretX_ = 0;
    int caretY_ = 0;
    int charsInWindow_ = 0;
    int charWidth_ = 1;
    int gutterWidth_ = 0;
    bool insertMode_ = true;
    int linesInWindow_ = 0;
    int leftChar_ = 0;
    int maxLeftChar_ = 1024;
    mutable int longestIndex_ = -1; // the longest line, or -1 when it has to be found again
    mutable size_t longestLength_ = 0; // its length when it was found or last grew
    int paintLock_ = 0;
    int rightEdge_ = 80;
    TColor rightEdgeColor_ = clSilver;
    TScrollStyle scrollBars_ = ssBoth;
    TBorderStyle borderStyle_ = bsSingle;
    TColor color_ = clWindow;
    int lineHeight_ = 1;
    int textOffset_ = 0;
    int topLine_ = 1;
    bool modified_ = false;
    std::uint64_t changeCount_ = 0;
    TSelectionMode selectionMode_ = smNormal;
    TRect invalidateRect_;
    TmwStateFlags stateFlags_ = 0;
    TmwStatusChanges statusChanges_ = 0;
    TmwEditorOptions options_ = mweoDefaultOptions;
    TCaretType insertCaret_ = ctVerticalLine;
    TCaretType overwriteCaret_ = ctBlock;
    bool readOnly_ = false;
    vx::TTextEncoding encoding_ = vx::TTextEncoding::Utf8;
    int tabWidth_ = 8;
    bool wantTabs_ = false;
    int extraLineSpacing_ = 0;
    bool hideSelection_ = false;
    int undoRedoDepth_ = 0;
    TmwKeyStrokes keystrokes_;
    uint16_t chordKey_ = 0;
    TShiftState chordShift_ = 0;
};
