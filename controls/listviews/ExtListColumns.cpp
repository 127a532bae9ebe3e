// Column header-image settings of the extended list view.
#include "controls/listviews/ExtListColumns.h"

namespace vx {

void TExtListColumn::SetImageIndex(int value)
{
    if (imageIndex_ == value)
        return;
    imageIndex_ = value;
    owner_->Changed();
}

void TExtListColumn::SetImageAlignment(TColumnImageAlign value)
{
    if (imageAlignment_ == value)
        return;
    imageAlignment_ = value;
    owner_->Changed();
}

void TExtListColumn::Assign(const TExtListColumn& source)
{
    imageIndex_ = source.imageIndex_;
    imageAlignment_ = source.imageAlignment_;
    owner_->Changed();
}

TExtListColumn& TExtListColumns::Add()
{
    items_.push_back(std::unique_ptr<TExtListColumn>(new TExtListColumn(*this)));
    Changed();
    return *items_.back();
}

TExtListColumn* TExtListColumns::Items(int index) const
{
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

void TExtListColumns::Clear()
{
    items_.clear();
    Changed();
}

void TExtListColumns::Assign(const TExtListColumns& source)
{
    if (&source == this)
        return;
    items_.clear();
    for (const auto& item : source.items_) {
        items_.push_back(std::unique_ptr<TExtListColumn>(new TExtListColumn(*this)));
        items_.back()->imageIndex_ = item->imageIndex_;
        items_.back()->imageAlignment_ = item->imageAlignment_;
    }
    Changed();
}

void TExtListColumns::Changed() const
{
    if (onChange_)
        onChange_();
}

} // namespace vx
