// Drawing the animator's image and exchanging it through the clipboard.
#include "images/qt/RxGIFPicture.h"

#include "images/GIFClipboard.h"
#include "images/GIFImage.h"
#include "images/RxGIF.h"
#include "images/qt/BitmapImage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>

namespace {

void PutOnClipboard(const QImage& picture, const std::optional<std::string>& payload)
{
    auto data = std::make_unique<QMimeData>();
    data->setImageData(picture);
    if (payload)
        data->setData(GIFClipboardMimeType, QByteArray(payload->data(), static_cast<qsizetype>(payload->size())));
    QGuiApplication::clipboard()->setMimeData(data.release());
}

} // namespace

void DrawGIFImage(QPainter& painter, const QRect& rect, RxGIF::TGIFImage& image)
{
    if (image.FrameIndex() < 0 || image.FrameIndex() >= image.Count())
        return;
    RxGIF::TGIFFrame& frame = image.Frame(image.FrameIndex());
    const QImage picture = BitmapToQImage(frame.Bitmap());
    DrawTransparentImage(painter, rect, picture, image.TransparentFlag ? frame.TransparentColor() : RxGIF::clNone);
}

void CopyGIFImageToClipboard(RxGIF::TGIFImage& image)
{
    if (image.Count() == 0)
        return;
    PutOnClipboard(BitmapToQImage(image.Frame(0).Bitmap()), image.ClipboardPayload());
}

bool ClipboardHasGIFImage()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && (data->hasFormat(GIFClipboardMimeType) || data->hasImage());
}

std::unique_ptr<RxGIF::TGIFImage> GIFImageFromClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return nullptr;
    auto image = std::make_unique<RxGIF::TGIFImage>();
    const QImage picture = data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
    if (data->hasFormat(GIFClipboardMimeType)) {
        const QByteArray payload = data->data(GIFClipboardMimeType);
        // Frame 0 decodes from the payload to the picture that travels beside it.
        if (image->LoadFromClipboardPayload(std::string_view(payload.constData(), static_cast<size_t>(payload.size()))))
            return image;
    }
    if (picture.isNull())
        return nullptr;
    image->Assign(QImageToBitmap(picture));
    return image;
}


void CopyGIFImageToClipboard(TGIFImage& image)
{
    if (image.Empty())
        return;
    TGIFBitmap picture;
    image.AssignTo(picture);
    PutOnClipboard(BitmapToQImage(picture), image.ClipboardPayload());
}

std::unique_ptr<TGIFImage> GIFLibraryImageFromClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return nullptr;
    auto image = std::make_unique<TGIFImage>();
    if (data->hasFormat(GIFClipboardMimeType)) {
        const QByteArray payload = data->data(GIFClipboardMimeType);
        if (image->LoadFromClipboardPayload(std::string_view(payload.constData(), static_cast<size_t>(payload.size()))))
            return image;
    }
    if (!data->hasImage())
        return nullptr;
    image->AddBitmap(QImageToBitmap(qvariant_cast<QImage>(data->imageData())));
    return image;
}
