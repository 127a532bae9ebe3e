// Line marks and their list.
#include "editor/mwMarks.h"

#include "editor/mwCustomEditModel.h"

#include <algorithm>

TMark::TMark(TmwCustomEditModel* owner) : edit_(owner) {}

TmwCustomEditModel* TMark::Edit()
{
    return edit_ && edit_->Marks().Contains(this) ? edit_ : nullptr;
}

void TMark::RepaintLine(int line)
{
    if (TmwCustomEditModel* edit = Edit())
        edit->InvalidateLine(line);
}

void TMark::SetLine(int value)
{
    if (visible_ && Edit()) {
        if (line_ > 0)
            RepaintLine(line_);
        line_ = value;
        RepaintLine(line_);
    } else {
        line_ = value;
    }
}

void TMark::SetImageIndex(int value)
{
    imageIndex_ = value;
    if (visible_)
        RepaintLine(line_);
}

void TMark::SetVisible(bool value)
{
    if (visible_ == value)
        return;
    visible_ = value;
    RepaintLine(line_);
}

void TMark::SetInternalImage(bool value)
{
    internalImage_ = value;
    if (visible_)
        RepaintLine(line_);
}

TMark* TMarkList::Add(std::unique_ptr<TMark> mark)
{
    TMark* added = mark.get();
    marks_.push_back(std::move(mark));
    Changed();
    return added;
}

void TMarkList::Remove(TMark* mark)
{
    auto it = std::find_if(marks_.begin(), marks_.end(), [&](const auto& m) { return m.get() == mark; });
    if (it == marks_.end())
        return;
    // Out of the list before it dies, so nothing reaches it through the list meanwhile.
    std::unique_ptr<TMark> dying = std::move(*it);
    marks_.erase(it);
    Changed();
}

void TMarkList::Clear()
{
    if (marks_.empty())
        return;
    marks_.clear();
    Changed();
}

bool TMarkList::Contains(const TMark* mark) const
{
    return std::any_of(marks_.begin(), marks_.end(), [&](const auto& m) { return m.get() == mark; });
}

TMarkList::TMarks TMarkList::GetMarksForLine(int line) const
{
    TMarks result{};
    size_t n = 0;
    for (const auto& mark : marks_) {
        if (n == result.size())
            break;
        if (mark->Line() == line)
            result[n++] = mark.get();
    }
    return result;
}

void TMarkList::Changed()
{
    if (OnChange)
        OnChange(this);
}
