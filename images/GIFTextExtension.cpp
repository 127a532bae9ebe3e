// The plain text and comment extensions.
#include "images/GIFTextExtension.h"

#include "images/GIFStream.h"

namespace {

void Put16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint16_t Get16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

} // namespace

const TGIFExtensionClass& TGIFTextExtension::Class()
{
    static const TGIFExtensionClass cls{
        "TGIFTextExtension", 0x01,
        [](TGIFSubImage& s) -> std::unique_ptr<TGIFExtension> { return std::make_unique<TGIFTextExtension>(s); },
        nullptr};
    return cls;
}

void TGIFTextExtension::SaveExtension(TByteStream& stream)
{
    std::uint8_t record[13] = {blockSize_};
    Put16(record + 1, GridLeft);
    Put16(record + 3, GridTop);
    Put16(record + 5, GridWidth);
    Put16(record + 7, GridHeight);
    record[9] = CharWidth;
    record[10] = CharHeight;
    record[11] = ForegroundColorIndex;
    record[12] = BackgroundColorIndex;
    stream.Write(record, 13);
    WriteStrings(stream, Text);
}

void TGIFTextExtension::LoadExtension(TByteStream& stream)
{
    std::uint8_t record[13];
    ReadCheck(stream, record, 13);
    blockSize_ = record[0];
    GridLeft = Get16(record + 1);
    GridTop = Get16(record + 3);
    GridWidth = Get16(record + 5);
    GridHeight = Get16(record + 7);
    CharWidth = record[9];
    CharHeight = record[10];
    ForegroundColorIndex = record[11];
    BackgroundColorIndex = record[12];
    Text.Clear();
    ReadStrings(stream, Text);
}

const TGIFExtensionClass& TGIFCommentExtension::Class()
{
    static const TGIFExtensionClass cls{
        "TGIFCommentExtension", 0xFE,
        [](TGIFSubImage& s) -> std::unique_ptr<TGIFExtension> { return std::make_unique<TGIFCommentExtension>(s); },
        nullptr};
    return cls;
}

void TGIFCommentExtension::SaveExtension(TByteStream& stream)
{
    WriteStrings(stream, Text);
}

void TGIFCommentExtension::LoadExtension(TByteStream& stream)
{
    Text.Clear();
    ReadStrings(stream, Text);
}
