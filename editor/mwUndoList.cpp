// The editor's change lists.
#include "editor/mwUndoList.h"

#include <algorithm>
#include <utility>

void TUndoList::AddChange(TChangeReason reason, TPoint start, TPoint end, const std::string& text,
                          TSelectionMode mode, std::vector<std::string> tails, int addedLines)
{
    if (locked_)
        return;
    // A limit of 0 keeps nothing, but the change still happened: it is reported.
    if (maxUndo_ > 0) {
        if (Count() >= maxUndo_)
            items_.pop_front();
        items_.push_back(TChangeRecord{text, reason, start, end, mode, std::move(tails), addedLines});
    }
    if (OnAddedChange)
        OnAddedChange(this);
}

TChangeReason TUndoList::GetChange(TChangeRecord& record)
{
    if (items_.empty())
        return mwcrNone;
    record = std::move(items_.back());
    items_.pop_back();
    return record.reason;
}

TChangeReason TUndoList::LastChangeReason() const
{
    return items_.empty() ? mwcrNone : items_.back().reason;
}

void TUndoList::SetMaxUndo(int value)
{
    value = std::max(value, 0);
    while (Count() > value)
        items_.pop_front();
    maxUndo_ = value;
}

void TUndoList::ClearList()
{
    items_.clear();
}
