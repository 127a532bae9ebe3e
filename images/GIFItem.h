// The base of every block of a GIF file, the owning list of blocks, and the trailer.
#pragma once

#include "images/GIFException.h"

#include <memory>
#include <string>
#include <vector>

class TByteStream;
class TGIFImage;

// One block of a GIF file. Every block writes itself to a stream and reads itself back;
// warnings go to the owning image, which may be absent (then they are dropped).
class TGIFItem {
public:
    explicit TGIFItem(TGIFImage* image) : image_(image) {}
    virtual ~TGIFItem() = default;
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    TGIFImage* Image() const { return image_; }
    // 1 when the block fits GIF 87a, 2 when it needs 89a.
    virtual int Version() const { return 1; }
    virtual void Warning(TGIFSeverity severity, const std::string& message);
    virtual void SaveToStream(TByteStream& stream) = 0;
    virtual void LoadFromStream(TByteStream& stream) = 0;
    void SaveToFile(const std::string& path);
    void LoadFromFile(const std::string& path);

private:
    TGIFImage* image_;
};

// An owning list of blocks. Delete and Clear free the items; Remove hands one back.
class TGIFList {
public:
    explicit TGIFList(TGIFImage* image) : image_(image) {}
    virtual ~TGIFList() = default;
    TGIFList(const TGIFList&) = delete;
    TGIFList& operator=(const TGIFList&) = delete;

    TGIFImage* Image() const { return image_; }
    int Add(std::unique_ptr<TGIFItem> item);
    void Delete(int index);
    std::unique_ptr<TGIFItem> Remove(TGIFItem* item);
    void Clear();
    int IndexOf(const TGIFItem* item) const;
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError for an index outside 0..Count-1.
    TGIFItem* Items(int index) const;

    virtual void SaveToStream(TByteStream& stream);
    virtual void LoadFromStream(TByteStream& stream) = 0;
    void Warning(TGIFSeverity severity, const std::string& message);

private:
    TGIFImage* image_;
    std::vector<std::unique_ptr<TGIFItem>> items_;
};

// The trailer byte 0x3B that ends a GIF file.
class TGIFTrailer : public TGIFItem {
public:
    using TGIFItem::TGIFItem;
    void SaveToStream(TByteStream& stream) override;
    // Warns "Invalid Image trailer" when a byte follows that is not the trailer.
    void LoadFromStream(TByteStream& stream) override;
};
