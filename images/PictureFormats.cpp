// The picture loader's format table.
#include "images/PictureFormats.h"

#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "images/Graphic.h"
#include "images/GraphicException.h"
#include "images/RxGIF.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

const TWording UnknownExtension{"Unknown picture file extension (%1)"};

std::string Normalised(std::string extension)
{
    if (!extension.empty() && extension.front() == '.')
        extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

} // namespace

void TPictureFormats::Register(TPictureFormat format)
{
    format.Extension = Normalised(format.Extension);
    formats_.push_back(std::move(format));
}

void TPictureFormats::Unregister(const std::string& className)
{
    formats_.erase(std::remove_if(formats_.begin(), formats_.end(),
                                  [&](const TPictureFormat& f) { return f.ClassName == className; }),
                   formats_.end());
}

const TPictureFormat* TPictureFormats::Find(const std::string& extension) const
{
    const std::string wanted = Normalised(extension);
    for (auto it = formats_.rbegin(); it != formats_.rend(); ++it)
        if (it->Extension == wanted)
            return &*it;
    return nullptr;
}

TPictureFormats& PictureFormats()
{
    static TPictureFormats formats = [] {
        TPictureFormats table;
        // The animator's class comes later, so general picture loads of ".gif" files get it.
        table.Register({"gif", "GIF Image", "TGIFImage", [] { return std::make_unique<TGIFImage>(); }});
        table.Register({"gif", "CompuServe GIF Image", "RxGIF.TGIFImage",
                        [] { return std::make_unique<RxGIF::TGIFImage>(); }});
        return table;
    }();
    return formats;
}

std::unique_ptr<TGraphic> LoadPicture(const std::string& path)
{
    const std::string extension = std::filesystem::path(path).extension().string();
    const TPictureFormat* format = PictureFormats().Find(extension);
    if (!format)
        throw EInvalidGraphic(TMessage(UnknownExtension, {extension}));
    std::unique_ptr<TGraphic> graphic = format->Create();
    TMemoryByteStream stream(vx::ReadWholeFile(path));
    graphic->LoadFromStream(stream);
    return graphic;
}
