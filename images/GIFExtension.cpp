// The extension base and the extension list of a sub-image.
#include "images/GIFExtension.h"

#include "images/GIFException.h"
#include "images/GIFExtensionRegistry.h"
#include "images/GIFStream.h"
#include "images/GIFSubImage.h"

namespace {

const TWording InvalidIntroducer{"Invalid extension introducer"};
const TWording LabelMismatch{"Internal error: Extension Instance does not match Extension Label"};
const TWording UnknownExtensionType{"Unknown extension type"};

} // namespace

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
        throw GIFException(TMessage(InvalidIntroducer, {}));
    ReadCheck(stream, head + 1, 1);
    if (head[1] != Label())
        throw GIFException(TMessage(LabelMismatch, {}));
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
            Warning(TGIFSeverity::gsWarning, InvalidIntroducer.English());
        const TGIFExtensionClass* cls = FindExtension(stream);
        if (!cls)
            throw GIFException(TMessage(UnknownExtensionType, {}));
        stream.Seek(-1, TSeekOrigin::soCurrent);
        std::unique_ptr<TGIFExtension> extension = cls->Create(subImage_);
        extension->LoadFromStream(stream);
        Add(std::move(extension));
    }
}
