// Application extensions: identifier handling, unknown data blocks, the loop extension.
#include "images/GIFAppExtension.h"

#include "images/GIFException.h"
#include "images/GIFExtensionRegistry.h"
#include "images/GIFStream.h"

#include <algorithm>

namespace {

const TWording UnsupportedBlockSize{"Unsupported Application Extension block size"};

// The application classes refine themselves by their identifier.
const TGIFExtensionClass* RefineApplication(TByteStream& stream)
{
    const int size = ReadByte(stream);
    if (size == 11) {
        char identifier[11];
        if (stream.Read(identifier, 11) != 11)
            return nullptr;
        const TGIFExtensionClass* cls = FindAppExtension(std::string_view(identifier, 11));
        return cls ? cls : &TGIFUnknownAppExtension::Class();
    }
    if (size == 10) {
        char identifier[10];
        return stream.Read(identifier, 10) == 10 ? &TGIFUnknownAppExtension::Class() : nullptr;
    }
    return nullptr;
}

template <class T>
std::unique_ptr<TGIFExtension> Make(TGIFSubImage& subImage)
{
    return std::make_unique<T>(subImage);
}

} // namespace

const TGIFExtensionClass& TGIFApplicationExtension::Class()
{
    static const TGIFExtensionClass cls{"TGIFApplicationExtension", 0xFF, Make<TGIFApplicationExtension>,
                                        RefineApplication};
    return cls;
}

void TGIFApplicationExtension::SetIdentifier(std::string_view identifier)
{
    identifier_.fill(0);
    std::copy_n(identifier.begin(), std::min<size_t>(11, identifier.size()), identifier_.begin());
}

void TGIFApplicationExtension::SaveExtension(TByteStream& stream)
{
    WriteByte(stream, 11);
    stream.Write(identifier_.data(), 11);
    SaveData(stream);
}

void TGIFApplicationExtension::LoadExtension(TByteStream& stream)
{
    std::uint8_t size;
    ReadCheck(stream, &size, 1);
    if (size < 10)
        throw GIFException(TMessage(UnsupportedBlockSize, {}));
    identifier_.fill(0);
    ReadCheck(stream, identifier_.data(), 11);
    if (size == 10)
        stream.Seek(-1, TSeekOrigin::soCurrent);
    else if (size > 11)
        stream.Seek(std::min<std::int64_t>(size - 11, stream.Remaining()), TSeekOrigin::soCurrent);
    LoadData(stream);
}

void TGIFApplicationExtension::SaveData(TByteStream& stream)
{
    WriteByte(stream, 0);
}

void TGIFApplicationExtension::LoadData(TByteStream& stream)
{
    SkipSubBlocks(stream);
}

const TGIFExtensionClass& TGIFUnknownAppExtension::Class()
{
    static const TGIFExtensionClass cls{"TGIFUnknownAppExtension", 0xFF, Make<TGIFUnknownAppExtension>,
                                        RefineApplication};
    return cls;
}

void TGIFUnknownAppExtension::SaveData(TByteStream& stream)
{
    for (const TGIFBlock& block : Blocks) {
        WriteByte(stream, static_cast<std::uint8_t>(block.Data.size()));
        stream.Write(block.Data.data(), static_cast<std::int64_t>(block.Data.size()));
    }
    WriteByte(stream, 0);
}

void TGIFUnknownAppExtension::LoadData(TByteStream& stream)
{
    Blocks.clear();
    int size;
    while ((size = ReadByte(stream)) > 0) {
        TGIFBlock block{std::string(static_cast<size_t>(size), '\0')};
        ReadCheck(stream, block.Data.data(), size);
        Blocks.push_back(std::move(block));
    }
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage& subImage) : TGIFApplicationExtension(subImage)
{
    SetIdentifier("NETSCAPE2.0");
}

const TGIFExtensionClass& TGIFAppExtNSLoop::Class()
{
    static const TGIFExtensionClass cls{"TGIFAppExtNSLoop", 0xFF, Make<TGIFAppExtNSLoop>, RefineApplication};
    return cls;
}

void TGIFAppExtNSLoop::SaveData(TByteStream& stream)
{
    const std::uint8_t loop[4] = {3, 1, static_cast<std::uint8_t>(Loops), static_cast<std::uint8_t>(Loops >> 8)};
    stream.Write(loop, 4);
    if (BufferSize != 0) {
        const std::uint8_t buffer[6] = {5, 2, static_cast<std::uint8_t>(BufferSize),
                                        static_cast<std::uint8_t>(BufferSize >> 8),
                                        static_cast<std::uint8_t>(BufferSize >> 16),
                                        static_cast<std::uint8_t>(BufferSize >> 24)};
        stream.Write(buffer, 6);
    }
    WriteByte(stream, 0);
}

void TGIFAppExtNSLoop::LoadData(TByteStream& stream)
{
    int size;
    while ((size = ReadByte(stream)) > 0) {
        std::uint8_t block[255];
        ReadCheck(stream, block, size);
        const int id = block[0] & 7;
        if (id == 1) {
            if (size < 3)
                throw GIFException(TMessage(InvalidGIFData, {}));
            Loops = static_cast<std::uint16_t>(block[1] | block[2] << 8);
        } else if (id == 2) {
            if (size < 5)
                throw GIFException(TMessage(InvalidGIFData, {}));
            BufferSize = static_cast<std::uint32_t>(block[1] | block[2] << 8 | block[3] << 16) |
                         static_cast<std::uint32_t>(block[4]) << 24;
        }
    }
}
