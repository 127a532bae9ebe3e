// The editor's change lists: each editor keeps one for undo and one for redo,
// holding one record per text change with the reason it was made.
#pragma once

#include "editor/mwEditTypes.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

enum TChangeReason : uint8_t {
    mwcrInsert = 0,         // typed or input-method text; overwrite keeps what it replaced
    mwcrPaste = 1,          // clipboard paste
    mwcrDragDropInsert = 2, // text dropped by drag and drop
    mwcrDeleteAfter = 3,    // deleted after the caret
    mwcrDelete = 4,         // deleted before the caret, or a deleted selection
    mwcrSelDelete = 5,      // selection replaced
    mwcrDragDropDelete = 6, // drag-and-drop source removed
    mwcrLineBreak = 7,      // line break; holds the text that moved to the new line (redo: the new line)
    mwcrIndent = 8,         // block indent; holds the indentation put in
    mwcrUnindent = 9,       // block unindent; holds the removed blanks
    mwcrNone = 10           // what an empty list answers
};

struct TChangeRecord {
    std::string text;
    TChangeReason reason = mwcrNone;
    TPoint start;
    TPoint end;
    TSelectionMode mode = smNormal;
    // The blanks that ended each line of the text this record's reversal
    // brings back, from its first line on: edits drop blanks at line ends, so
    // the lines can only come back exactly with these. Empty for records that
    // carry none; their lines are then left as the reversal gives them.
    std::vector<std::string> tails;
    // Lines the change appended after the last line (a column block put past
    // the end), which its reversal removes again.
    int addedLines = 0;
};

class TUndoList {
public:
    // Called after every change recorded while unlocked (also when a limit of 0 keeps none).
    std::function<void(TUndoList* sender)> OnAddedChange;

    // Ignored while locked; drops the oldest record when the list is full.
    // The text is copied.
    void AddChange(TChangeReason reason, TPoint start, TPoint end, const std::string& text,
                   TSelectionMode mode, std::vector<std::string> tails = {}, int addedLines = 0);
    // Removes the newest record; mwcrNone (and an untouched record) when empty.
    TChangeReason GetChange(TChangeRecord& record);
    TChangeReason LastChangeReason() const;
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    const TChangeRecord& Item(int index) const { return items_.at(static_cast<size_t>(index)); }

    int MaxUndo() const { return maxUndo_; }
    // Drops the oldest records beyond the new limit at once; negative counts as 0.
    void SetMaxUndo(int value);
    void ClearList();
    void LockUndo() { locked_ = true; }
    void UnLockUndo() { locked_ = false; }
    bool Locked() const { return locked_; }

private:
    std::deque<TChangeRecord> items_; // oldest first
    int maxUndo_ = 10;
    bool locked_ = false;
};
