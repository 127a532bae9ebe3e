// List items: each change is passed on to the list that holds the item.
#include "controls/listviews/ListItems.h"

#include "controls/listviews/EnhListModel.h"

namespace vx {

void TListItem::changed(int column) const { owner_->ItemChanged(this, column); }

void TListItem::SetCaption(const std::string& value)
{
    if (caption_ == value)
        return;
    caption_ = value;
    changed(0);
}

void TListItem::SetSubItems(std::vector<std::string> value)
{
    subItems_ = std::move(value);
    changed(-1);
}

void TListItem::SetSubItem(int index, const std::string& value)
{
    if (index < 0)
        return;
    if (static_cast<size_t>(index) >= subItems_.size())
        subItems_.resize(static_cast<size_t>(index) + 1);
    subItems_[static_cast<size_t>(index)] = value;
    changed(index + 1);
}

void TListItem::SetImageIndex(int value)
{
    if (imageIndex_ == value)
        return;
    imageIndex_ = value;
    changed(0);
}

void TListItem::SetStateIndex(int value)
{
    if (stateIndex_ == value)
        return;
    stateIndex_ = value;
    changed(0);
}

void TListItem::SetChecked(bool value)
{
    if (checked_ == value)
        return;
    checked_ = value;
    changed(0);
}

int TListItem::Index() const { return owner_->IndexOf(this); }

} // namespace vx
