// The plain text and comment extensions, whose data is held as a text list.
#pragma once

#include "images/GIFExtension.h"
#include "platform/TStringList.h"

#include <cstdint>

class TGIFTextExtension : public TGIFExtension {
public:
    using TGIFExtension::TGIFExtension;
    static const TGIFExtensionClass& Class();
    const TGIFExtensionClass& ClassInfo() const override { return Class(); }

    std::uint16_t GridLeft = 0;
    std::uint16_t GridTop = 0;
    std::uint16_t GridWidth = 0;
    std::uint16_t GridHeight = 0;
    std::uint8_t CharWidth = 0;
    std::uint8_t CharHeight = 0;
    std::uint8_t ForegroundColorIndex = 0;
    std::uint8_t BackgroundColorIndex = 0;
    TStringList Text;

protected:
    void SaveExtension(TByteStream& stream) override;
    void LoadExtension(TByteStream& stream) override;

private:
    std::uint8_t blockSize_ = 12;
};

class TGIFCommentExtension : public TGIFExtension {
public:
    using TGIFExtension::TGIFExtension;
    static const TGIFExtensionClass& Class();
    const TGIFExtensionClass& ClassInfo() const override { return Class(); }

    TStringList Text;

protected:
    void SaveExtension(TByteStream& stream) override;
    void LoadExtension(TByteStream& stream) override;
};
