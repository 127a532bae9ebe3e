// Blocks, block lists and the trailer.
#include "images/GIFItem.h"

#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"

void TGIFItem::Warning(TGIFSeverity severity, const std::string& message)
{
    if (image_)
        image_->Warning(this, severity, message);
}

void TGIFItem::SaveToFile(const std::string& path)
{
    TMemoryByteStream stream;
    SaveToStream(stream);
    vx::WriteFileAtomic(path, stream.Data());
}

void TGIFItem::LoadFromFile(const std::string& path)
{
    TMemoryByteStream stream(vx::ReadWholeFile(path));
    LoadFromStream(stream);
}

int TGIFList::Add(std::unique_ptr<TGIFItem> item)
{
    items_.push_back(std::move(item));
    return Count() - 1;
}

TGIFItem* TGIFList::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(TMessage(ListIndexOutOfBounds, {std::to_string(index)}));
    return items_[static_cast<size_t>(index)].get();
}

void TGIFList::Delete(int index)
{
    Items(index);
    // Take the item out first: its destructor may look at the list it belonged to.
    std::unique_ptr<TGIFItem> item = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
}

std::unique_ptr<TGIFItem> TGIFList::Remove(TGIFItem* item)
{
    const int index = IndexOf(item);
    if (index < 0)
        return nullptr;
    std::unique_ptr<TGIFItem> owned = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    return owned;
}

void TGIFList::Clear()
{
    while (!items_.empty())
        Delete(Count() - 1);
}

int TGIFList::IndexOf(const TGIFItem* item) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

void TGIFList::SaveToStream(TByteStream& stream)
{
    for (auto& item : items_)
        item->SaveToStream(stream);
}

void TGIFList::Warning(TGIFSeverity severity, const std::string& message)
{
    if (image_)
        image_->Warning(nullptr, severity, message);
}

void TGIFTrailer::SaveToStream(TByteStream& stream)
{
    WriteByte(stream, 0x3B);
}

void TGIFTrailer::LoadFromStream(TByteStream& stream)
{
    const int b = ReadByte(stream);
    if (b >= 0 && b != 0x3B)
        Warning(TGIFSeverity::gsWarning, "Invalid Image trailer");
}
