// The icon list and its stored form.
#include "images/IconList.h"

#include "images/GraphicException.h"
#include "images/LittleEndian.h"
#include "platform/Exception.h"

namespace {

const TWording IconNotValid{"Icon image is not valid"};

const TIcon& EmptyIcon()
{
    static const TIcon empty;
    return empty;
}

} // namespace

void TIconList::Check(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(TMessage(ListIndexOutOfBounds, {std::to_string(index)}));
}

void TIconList::Changed()
{
    if (updateCount_ == 0 && OnChange)
        OnChange(this);
}

void TIconList::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

const TIcon& TIconList::Get(int index) const
{
    Check(index);
    return icons_[static_cast<size_t>(index)] ? *icons_[static_cast<size_t>(index)] : EmptyIcon();
}

void TIconList::Put(int index, const TIcon& icon)
{
    BeginUpdate();
    if (index == Count())
        icons_.push_back(nullptr);
    Check(index);
    icons_[static_cast<size_t>(index)] = std::make_unique<TIcon>(icon);
    EndUpdate();
}

int TIconList::Add(const TIcon& icon)
{
    icons_.push_back(std::make_unique<TIcon>(icon));
    Changed();
    return Count() - 1;
}

namespace {

TIcon ResourceIcon(const TIconModule& module, const std::string& name)
{
    TIcon icon = TIcon::FromICO(module.IconResource(name));
    if (icon.Empty())
        throw EInvalidGraphic(TMessage(IconNotValid, {}));
    return icon;
}

} // namespace

int TIconList::AddResource(const TIconModule& module, const std::string& name)
{
    return Add(ResourceIcon(module, name));
}

void TIconList::InsertResource(int index, const TIconModule& module, const std::string& name)
{
    if (index != Count())
        Check(index);
    Insert(index, ResourceIcon(module, name));
}

int TIconList::IndexOf(const TIcon& icon) const
{
    for (int i = 0; i < Count(); ++i)
        if (&Get(i) == &icon)
            return i;
    return -1;
}

void TIconList::Insert(int index, const TIcon& icon)
{
    if (index != Count())
        Check(index);
    icons_.insert(icons_.begin() + index, std::make_unique<TIcon>(icon));
    Changed();
}

void TIconList::Delete(int index)
{
    Check(index);
    icons_.erase(icons_.begin() + index);
    Changed();
}

void TIconList::Exchange(int i, int j)
{
    Check(i);
    Check(j);
    std::swap(icons_[static_cast<size_t>(i)], icons_[static_cast<size_t>(j)]);
    Changed();
}

void TIconList::Move(int from, int to)
{
    Check(from);
    Check(to);
    auto icon = std::move(icons_[static_cast<size_t>(from)]);
    icons_.erase(icons_.begin() + from);
    icons_.insert(icons_.begin() + to, std::move(icon));
    Changed();
}

void TIconList::Clear()
{
    BeginUpdate();
    while (!icons_.empty())
        Delete(Count() - 1);
    EndUpdate();
}

void TIconList::Assign(const TIconList& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    Clear();
    for (const auto& icon : source.icons_)
        icons_.push_back(icon ? std::make_unique<TIcon>(*icon) : nullptr);
    EndUpdate();
}

void TIconList::Assign(const TIcon& icon)
{
    BeginUpdate();
    Clear();
    Add(icon);
    EndUpdate();
}

std::string TIconList::WriteData() const
{
    std::string out;
    le::Put32(out, static_cast<std::uint32_t>(Count()));
    for (const auto& icon : icons_) {
        const std::string& data = icon ? icon->Data() : std::string();
        le::Put32(out, static_cast<std::uint32_t>(data.size()));
        out += data;
    }
    return out;
}

void TIconList::ReadData(std::string_view data)
{
    BeginUpdate();
    Clear();
    auto fail = [this] {
        icons_.clear();
        EndUpdate();
        throw EReadError(TMessage(StreamReadError, {}));
    };
    if (data.size() < 4)
        fail();
    const std::uint32_t count = le::Get32(data, 0);
    // Every entry needs at least its size field.
    if (count > (data.size() - 4) / 4)
        fail();
    size_t at = 4;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (data.size() - at < 4)
            fail();
        const std::uint32_t size = le::Get32(data, at);
        at += 4;
        if (size > data.size() - at)
            fail();
        icons_.push_back(size == 0 ? nullptr : std::make_unique<TIcon>(TIcon::FromICO(data.substr(at, size))));
        at += size;
    }
    EndUpdate();
}
