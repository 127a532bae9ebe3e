// The extension base and the extension list of a sub-image.
#include "images/GIFExtension.h"

#include "images/GIFExtensionRegistry.h"
#include "images/GIFStream.h"
#include "images/GIFSubImage.h"

TGIFExtension::TGIFExtension(TGIFSubImage& subImage) : TGIFItem(subImage.Image()), subImage_(subImage) {}

void TGIFExtension::SaveToStream(TByteStream& stream)
{
    const std::uint8_t head[2] = {0x21, Label()};
    stream.Write(head, 2);
    SaveExtension(stream);
}

void TGIFExtension::LoadFromStream(TByteStream& stream)
{
    std::uint8_t head[2];
    ReadCheck(stream, head, 1);
    if (head[0] != 0x21)
        throw GIFException("Invalid extension introducer");
    ReadCheck(stream, head + 1, 1);
    if (head[1] != Label())
        throw GIFException("Internal error: Extension Instance does not match Extension Label");
    LoadExtension(stream);
}

TGIFExtensionList::TGIFExtensionList(TGIFSubImage& subImage) : TGIFList(subImage.Image()), subImage_(subImage) {}

TGIFExtension& TGIFExtensionList::Extension(int index) const
{
    return static_cast<TGIFExtension&>(*Items(index));
}

void TGIFExtensionList::LoadFromStream(TByteStream& stream)
{
    for (;;) {
        const int b = ReadByte(stream);
        if (b < 0)
            return;
        if (b == 0x2C || b == 0x3B) {
            stream.Seek(-1, TSeekOrigin::soCurrent);
            return;
        }
        if (b != 0x21)
            Warning(TGIFSeverity::gsWarning, "Invalid extension introducer");
        const TGIFExtensionClass* cls = FindExtension(stream);
        if (!cls)
            throw GIFException("Unknown extension type");
        stream.Seek(-1, TSeekOrigin::soCurrent);
        std::unique_ptr<TGIFExtension> extension = cls->Create(subImage_);
        extension->LoadFromStream(stream);
        Add(std::move(extension));
    }
}
