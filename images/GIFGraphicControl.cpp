// The graphic control extension.
#include "images/GIFGraphicControl.h"

#include "images/GIFException.h"
#include "images/GIFStream.h"
#include "images/GIFSubImage.h"

const TGIFExtensionClass& TGIFGraphicControlExtension::Class()
{
    static const TGIFExtensionClass cls{
        "TGIFGraphicControlExtension", 0xF9,
        [](TGIFSubImage& s) -> std::unique_ptr<TGIFExtension> { return std::make_unique<TGIFGraphicControlExtension>(s); },
        nullptr};
    return cls;
}

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage& subImage) : TGIFExtension(subImage)
{
    if (!subImage.GraphicControlExtension())
        subImage.SetGraphicControlExtension(this);
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension()
{
    if (InForce()) {
        if (Transparent())
            SubImage().SetTransparentFlag(false);
        SubImage().SetGraphicControlExtension(nullptr);
    }
}

bool TGIFGraphicControlExtension::InForce() const
{
    return SubImage().GraphicControlExtension() == this;
}

void TGIFGraphicControlExtension::SetTransparent(bool value)
{
    packed_ = static_cast<std::uint8_t>(value ? packed_ | 0x01 : packed_ & ~0x01);
    if (InForce())
        SubImage().SetTransparentFlag(value);
}

void TGIFGraphicControlExtension::SetUserInput(bool value)
{
    packed_ = static_cast<std::uint8_t>(value ? packed_ | 0x02 : packed_ & ~0x02);
}

void TGIFGraphicControlExtension::SetDisposal(int value)
{
    packed_ = static_cast<std::uint8_t>((packed_ & ~0x1C) | ((value & 7) << 2));
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(int index)
{
    const int count = SubImage().ActiveColorMap().Count();
    if (index < 0 || index > 255 || (count > 0 && index >= count)) {
        Warning(TGIFSeverity::gsWarning, InvalidColorIndex.English());
        index = 0;
    }
    transparentIndex_ = static_cast<std::uint8_t>(index);
}

void TGIFGraphicControlExtension::SaveExtension(TByteStream& stream)
{
    const std::uint8_t record[6] = {blockSize_, packed_, static_cast<std::uint8_t>(delay_),
                                    static_cast<std::uint8_t>(delay_ >> 8), transparentIndex_, terminator_};
    stream.Write(record, 6);
}

void TGIFGraphicControlExtension::LoadExtension(TByteStream& stream)
{
    std::uint8_t record[6] = {};
    if (stream.Read(record, 6) < 6) {
        Warning(TGIFSeverity::gsWarning, PrematureEndOfData.English());
        return;
    }
    blockSize_ = record[0];
    packed_ = record[1];
    delay_ = static_cast<std::uint16_t>(record[2] | record[3] << 8);
    transparentIndex_ = record[4];
    terminator_ = record[5];
    if (Transparent() && InForce())
        SubImage().SetTransparentFlag(true);
}
