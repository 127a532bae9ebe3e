// The scheme collection of the multi-language highlighter.
#include "highlighters/wmMultiSchemes.h"

#include "highlighters/wmMultiSyn.h"
#include "platform/Exception.h"

int TgmScheme::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TgmScheme::Changed()
{
    if (collection_)
        collection_->Changed();
}

void TgmScheme::SetStartExpr(const std::string& value)
{
    startExpr_ = value;
    Changed();
}

void TgmScheme::SetEndExpr(const std::string& value)
{
    endExpr_ = value;
    Changed();
}

void TgmScheme::SetHighlighter(TmwCustomHighLighter* value)
{
    highlighter_ = value;
    Changed();
}

void TgmScheme::SetEndOutsideStrings(bool value)
{
    endOutsideStrings_ = value;
    Changed();
}

void TgmScheme::Assign(const TgmScheme& source)
{
    startExpr_ = source.startExpr_;
    endExpr_ = source.endExpr_;
    highlighter_ = source.highlighter_;
    endOutsideStrings_ = source.endOutsideStrings_;
    Changed();
}

void TgmSchemes::check(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TgmScheme& TgmSchemes::Items(int index)
{
    check(index);
    return *items_[static_cast<size_t>(index)];
}

const TgmScheme& TgmSchemes::Items(int index) const
{
    check(index);
    return *items_[static_cast<size_t>(index)];
}

TgmScheme& TgmSchemes::Add()
{
    items_.push_back(std::make_unique<TgmScheme>(this));
    Changed();
    return *items_.back();
}

void TgmSchemes::Delete(int index)
{
    check(index);
    items_.erase(items_.begin() + index);
    Changed();
}

void TgmSchemes::Clear()
{
    items_.clear();
    Changed();
}

void TgmSchemes::Assign(const TgmSchemes& source)
{
    if (&source == this)
        return;
    items_.clear();
    for (const auto& item : source.items_)
        Add().Assign(*item);
    Changed();
}

int TgmSchemes::IndexOf(const TgmScheme* scheme) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == scheme)
            return static_cast<int>(i);
    return -1;
}

bool TgmSchemes::Usable(int index) const
{
    if (index < 0 || index >= Count())
        return false;
    const TmwCustomHighLighter* hl = items_[static_cast<size_t>(index)]->Highlighter();
    return hl && hl != static_cast<const TmwCustomHighLighter*>(owner_);
}
