// Extension blocks: the common base, the class descriptors the registries hand
// out, and the list of extensions in front of one sub-image.
#pragma once

#include "images/GIFItem.h"

#include <cstdint>
#include <memory>

class TGIFExtension;
class TGIFSubImage;

// What the reader knows about an extension class: its label, how to make one for
// a sub-image, and how to pick a more specific class from the bytes that follow
// the label (the application extension looks at its identifier).
struct TGIFExtensionClass {
    const char* Name;
    std::uint8_t Label;
    std::unique_ptr<TGIFExtension> (*Create)(TGIFSubImage& subImage);
    // Reads from just after the label; answers the refined class, or null for "this one".
    const TGIFExtensionClass* (*Refine)(TByteStream& stream);
};

class TGIFExtension : public TGIFItem {
public:
    explicit TGIFExtension(TGIFSubImage& subImage);

    TGIFSubImage& SubImage() const { return subImage_; }
    std::uint8_t Label() const { return ClassInfo().Label; }
    virtual const TGIFExtensionClass& ClassInfo() const = 0;
    int Version() const override { return 2; }

    // Writes the introducer 0x21, the label and the record.
    void SaveToStream(TByteStream& stream) override;
    // Reads the introducer and label again ("Invalid extension introducer",
    // "Internal error: Extension Instance does not match Extension Label"), then the record.
    void LoadFromStream(TByteStream& stream) override;

protected:
    virtual void SaveExtension(TByteStream& stream) = 0;
    virtual void LoadExtension(TByteStream& stream) = 0;

private:
    TGIFSubImage& subImage_;
};

class TGIFExtensionList : public TGIFList {
public:
    explicit TGIFExtensionList(TGIFSubImage& subImage);
    TGIFExtension& Extension(int index) const;
    // Reads extensions up to the image separator or the trailer, which is put back.
    void LoadFromStream(TByteStream& stream) override;

private:
    TGIFSubImage& subImage_;
};
