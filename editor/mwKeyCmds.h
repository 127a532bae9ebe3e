// Editor commands and key bindings: the command numbers and their names, one
// binding of a key (or a two-stroke chord) to a command, and the editor's
// collection of bindings with its default map.
#pragma once

#include "platform/Exception.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using TmwEditorCommand = uint16_t;

enum : TmwEditorCommand {
    ecNone = 0,
    ecLeft = 1, ecRight = 2, ecUp = 3, ecDown = 4, ecWordLeft = 5, ecWordRight = 6, ecLineStart = 7,
    ecLineEnd = 8, ecPageUp = 9, ecPageDown = 10, ecPageLeft = 11, ecPageRight = 12, ecPageTop = 13,
    ecPageBottom = 14, ecEditorTop = 15, ecEditorBottom = 16, ecGotoXY = 17,
    ecSelection = 100, // added to a move: the same move extending the selection
    ecSelLeft = 101, ecSelRight = 102, ecSelUp = 103, ecSelDown = 104, ecSelWordLeft = 105,
    ecSelWordRight = 106, ecSelLineStart = 107, ecSelLineEnd = 108, ecSelPageUp = 109, ecSelPageDown = 110,
    ecSelPageLeft = 111, ecSelPageRight = 112, ecSelPageTop = 113, ecSelPageBottom = 114,
    ecSelEditorTop = 115, ecSelEditorBottom = 116, ecSelGotoXY = 117,
    ecSelectAll = 199,
    ecDeleteLastChar = 401, ecDeleteChar = 402, ecDeleteWord = 403, ecDeleteLastWord = 404, ecDeleteBOL = 405,
    ecDeleteEOL = 406, ecDeleteLine = 407, ecClearAll = 408, ecLineBreak = 409, ecInsertLine = 410, ecChar = 411,
    ecImeStr = 500,
    ecUndo = 601, ecRedo = 602, ecCut = 603, ecCopy = 604, ecPaste = 605, ecScrollUp = 606, ecScrollDown = 607,
    ecScrollLeft = 608, ecScrollRight = 609, ecInsertMode = 610, ecOverwriteMode = 611, ecToggleMode = 612,
    ecBlockIndent = 613, ecBlockUnindent = 614, ecNormalSelect = 615, ecColumnSelect = 616, ecLineSelect = 617,
    ecTab = 618, ecShiftTab = 619, ecMatchBracket = 620,
    ecGotoMarker0 = 701, ecGotoMarker9 = 710,
    ecSetMarker0 = 751, ecSetMarker9 = 760,
    ecUserFirst = 1001 // every command from here up is the application's
};

// Shift state of a stroke, one byte: the keyboard modifiers of the class library's shift set.
using TShiftState = uint8_t;
enum : TShiftState { ssShift = 1, ssAlt = 2, ssCtrl = 4 };

// A menu short cut: key code in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
using TShortCut = uint16_t;
TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// The short cut as menus show it ("Ctrl+Shift+Y", "PgDn"); "" for 0.
std::string ShortCutToText(TShortCut shortCut);

// The identifier of a command ("ecDeleteLine"), or its decimal number when it has none.
std::string EditorCommandToIdent(TmwEditorCommand command);
// The command of an identifier, compared exactly; none when it is not one.
std::optional<TmwEditorCommand> IdentToEditorCommand(std::string_view ident);

VX_DECLARE_EXCEPTION(EmwKeyError, Exception);

class TStringList;

class TmwKeyStrokes;

class TmwKeyStroke {
public:
    explicit TmwKeyStroke(TmwKeyStrokes* collection = nullptr) : collection_(collection) {}

    void Assign(const TmwKeyStroke& source);

    uint16_t Key() const { return key_; }
    TShiftState Shift() const { return shift_; }
    uint16_t Key2() const { return key2_; }
    TShiftState Shift2() const { return shift2_; }
    void SetKey(uint16_t key, TShiftState shift);
    void SetKey2(uint16_t key, TShiftState shift);

    TShortCut GetShortCut() const { return ShortCut(key_, shift_); }
    TShortCut GetShortCut2() const { return ShortCut(key2_, shift2_); }
    // Raises EmwKeyError "Shortcut already exists" when another binding of the
    // collection has the same pair of short cuts; the keys then stay as they were.
    void SetShortCut(TShortCut value);
    void SetShortCut2(TShortCut value);

    TmwEditorCommand Command() const { return command_; }
    void SetCommand(TmwEditorCommand value) { command_ = value; }

    // "<command> - <short cut>[ <second short cut>]", as collection editors show it.
    std::string GetDisplayName() const;

private:
    void CheckDuplicate(TShortCut shortCut, TShortCut shortCut2) const;

    TmwKeyStrokes* collection_;
    uint16_t key_ = 0;
    TShiftState shift_ = 0;
    uint16_t key2_ = 0;
    TShiftState shift2_ = 0;
    TmwEditorCommand command_ = ecNone;
};

class TmwKeyStrokes {
public:
    TmwKeyStrokes() = default;
    TmwKeyStrokes(const TmwKeyStrokes&) = delete;
    TmwKeyStrokes& operator=(const TmwKeyStrokes&) = delete;

    TmwKeyStroke& Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TmwKeyStroke& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Copies of every binding of source, in order, in place of this collection's.
    void Assign(const TmwKeyStrokes& source);
    // The 79 default bindings.
    void ResetDefaults();

    // Index of the first single-stroke binding of key and shift, or -1.
    int FindKeycode(uint16_t key, TShiftState shift) const;
    // Index of the first binding of both strokes, or -1.
    int FindKeycode2(uint16_t key, TShiftState shift, uint16_t key2, TShiftState shift2) const;
    // Index of the first binding with both short cuts, or -1.
    int FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const;

    // The bindings as they are stored: one line per binding,
    // "<command>=<ShortCut>,<ShortCut2>", the command by its identifier
    // ("ecDeleteLine"), or its number when it has none.
    void SaveToStrings(TStringList& lines) const;
    // The stored bindings in place of these. A line that is no binding (an
    // unknown command, a short cut that is no number) raises EmwKeyError
    // naming it, and the bindings stay as they were.
    void LoadFromStrings(const TStringList& lines);

private:
    std::vector<std::unique_ptr<TmwKeyStroke>> items_;
};
