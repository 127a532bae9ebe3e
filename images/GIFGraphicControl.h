// The graphic control extension: delay, disposal and transparency of a sub-image.
#pragma once

#include "images/GIFExtension.h"

#include <cstdint>

class TGIFGraphicControlExtension : public TGIFExtension {
public:
    // The first one made for a sub-image becomes the one in force there.
    explicit TGIFGraphicControlExtension(TGIFSubImage& subImage);
    ~TGIFGraphicControlExtension() override;

    static const TGIFExtensionClass& Class();
    const TGIFExtensionClass& ClassInfo() const override { return Class(); }

    bool Transparent() const { return packed_ & 0x01; }
    void SetTransparent(bool value);
    bool UserInput() const { return packed_ & 0x02; }
    void SetUserInput(bool value);
    int Disposal() const { return (packed_ >> 2) & 7; }
    void SetDisposal(int value);
    std::uint16_t Delay() const { return delay_; }
    void SetDelay(std::uint16_t value) { delay_ = value; }
    std::uint8_t TransparentColorIndex() const { return transparentIndex_; }
    // Warns "Invalid color index" and stores 0 when the index is past a non-empty active table.
    void SetTransparentColorIndex(int index);
    void SetTransparentColorIndexUnchecked(std::uint8_t index) { transparentIndex_ = index; }

protected:
    void SaveExtension(TByteStream& stream) override;
    // A block shorter than its 6 bytes warns "Premature end of data".
    void LoadExtension(TByteStream& stream) override;

private:
    bool InForce() const;
    std::uint8_t blockSize_ = 4;
    std::uint8_t packed_ = 0;
    std::uint16_t delay_ = 0;
    std::uint8_t transparentIndex_ = 0;
    std::uint8_t terminator_ = 0;
};
