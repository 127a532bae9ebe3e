// The GIF image: whole-file reading and writing, logical screen size, warnings and progress.
#include "images/GIFImage.h"

#include "images/GIFClipboard.h"
#include "images/GIFException.h"
#include "images/GIFPalettes.h"
#include "images/GIFStream.h"

#include <algorithm>

namespace {

const TWording NoColorTable{"No global or local color table defined"};

} // namespace

void TGIFImageList::LoadFromStream(TByteStream& stream)
{
    TGIFImage* image = Image();
    for (;;) {
        int b;
        do
            b = ReadByte(stream);
        while (b == 0);
        // The data ends, or holds no block, where the first frame or the
        // trailer must come: no picture can be read from it.
        if (Count() == 0 && b != 0x3B && b != 0x21 && b != 0x2C)
            throw GIFException(TMessage(InvalidGIFData, {}));
        if (b < 0)
            return;
        stream.Seek(-1, TSeekOrigin::soCurrent);
        if (b == 0x3B)
            return;
        if (b != 0x21 && b != 0x2C) {
            Warning(TGIFSeverity::gsWarning, "Unknown GIF block type");
            return;
        }
        auto subImage = std::make_unique<TGIFSubImage>(image);
        subImage->LoadFromStream(stream);
        Add(std::move(subImage));
        if (image) {
            const std::int64_t size = std::max<std::int64_t>(stream.Size(), 1);
            image->Progress(TProgressStage::psRunning, static_cast<int>(stream.Position() * 100 / size), "Loading...");
        }
    }
}

TGIFImage::TGIFImage() : header_(this), images_(this) {}

TGIFImage::~TGIFImage()
{
    images_.Clear();
}

void TGIFImage::SetWidth(int value)
{
    for (int i = 0; i < images_.Count(); ++i) {
        const TGIFSubImage& frame = images_.SubImage(i);
        if (frame.Left() + frame.Width() > value)
            throw GIFException(TMessage(ImageWidthTooSmall, {}));
    }
    header_.LogicalScreenWidth = static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
}

void TGIFImage::SetHeight(int value)
{
    for (int i = 0; i < images_.Count(); ++i) {
        const TGIFSubImage& frame = images_.SubImage(i);
        if (frame.Top() + frame.Height() > value)
            throw GIFException(TMessage(ImageHeightTooSmall, {}));
    }
    header_.LogicalScreenHeight = static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
}

int TGIFImage::Version() const
{
    int version = 0;
    for (int i = 0; i < images_.Count(); ++i)
        version = std::max(version, images_.SubImage(i).Version());
    return version;
}

void TGIFImage::Clear()
{
    images_.Clear();
    header_.Clear();
    palette_.reset();
}

bool TGIFImage::Dithering() const
{
    return (DrawOptions & goDither) && (!(DrawOptions & goAutoDither) || GIFPaletteDisplay);
}

TGIFPalette TGIFImage::Palette()
{
    if (paletteBusy_)
        throw GIFException(TMessage(NoColorTable, {}));
    if (palette_)
        return *palette_;
    paletteBusy_ = true;
    struct TBusy {
        bool& flag;
        ~TBusy() { flag = false; }
    } busy{paletteBusy_};
    if (Dithering())
        palette_ = WebPalette();
    else if (header_.ColorMap().Count() > 0)
        palette_ = header_.ColorMap().ExportPalette();
    else if (images_.Count() > 0)
        return images_.SubImage(0).Palette();
    else
        return {};
    return *palette_;
}

TGIFSubImage& TGIFImage::Add(std::unique_ptr<TGIFSubImage> subImage)
{
    TGIFSubImage& added = *subImage;
    images_.Add(std::move(subImage));
    return added;
}

void TGIFImage::LoadFromStream(TByteStream& stream)
{
    const std::string message = "Loading...";
    Progress(TProgressStage::psStarting, 0, message);
    const std::int64_t start = stream.Position();
    try {
        Clear();
        header_.LoadFromStream(stream);
        images_.LoadFromStream(stream);
        TGIFTrailer(this).LoadFromStream(stream);
    } catch (...) {
        stream.SetPosition(start);
        Progress(TProgressStage::psEnding, 0, message);
        throw;
    }
    Progress(TProgressStage::psEnding, 100, message);
}

void TGIFImage::SaveToStream(TByteStream& stream)
{
    const std::string message = "Saving...";
    Progress(TProgressStage::psStarting, 0, message);
    try {
        header_.SaveToStream(stream);
        for (int i = 0; i < images_.Count(); ++i) {
            images_.SubImage(i).SaveToStream(stream);
            Progress(TProgressStage::psRunning, (i + 1) * 100 / images_.Count(), message);
        }
        TGIFTrailer(this).SaveToStream(stream);
    } catch (...) {
        Progress(TProgressStage::psEnding, 0, message);
        throw;
    }
    Progress(TProgressStage::psEnding, 100, message);
}

std::optional<std::string> TGIFImage::ClipboardPayload()
{
    if (Empty())
        return std::nullopt;
    return GIFClipboardPayloadOf(*this);
}

bool TGIFImage::LoadFromClipboardPayload(std::string_view payload)
{
    return ReadGIFClipboardPayload(payload, [this](TByteStream& gif) { LoadFromStream(gif); });
}

void TGIFImage::Warning(TGIFItem* sender, TGIFSeverity severity, const std::string& message)
{
    if (OnWarning)
        OnWarning(sender, severity, message);
}

void TGIFImage::Progress(TProgressStage stage, int percent, const std::string& message)
{
    if (OnProgress)
        OnProgress(stage, percent, message);
}
