// The animator's GIF image on screen and on the desktop clipboard.
#pragma once

#include <memory>

class QMimeData;
class QPainter;
class QRect;

class TGIFImage;

namespace RxGIF {
class TGIFImage;
}

// The current frame stretched into the rectangle (nothing when no frame is
// current), its transparent colour left out when the image's transparent flag is set.
void DrawGIFImage(QPainter& painter, const QRect& rect, RxGIF::TGIFImage& image);

// Frame 0's picture goes on the clipboard, and the "GIF Image" payload too when
// every frame has compressed data. Nothing happens without frames.
void CopyGIFImageToClipboard(RxGIF::TGIFImage& image);
// Whether the clipboard holds the "GIF Image" format or a picture.
bool ClipboardHasGIFImage();
// The clipboard's GIF, or a one-frame image of the clipboard's picture; none when it holds neither.
std::unique_ptr<RxGIF::TGIFImage> GIFImageFromClipboard();

// The GIF library's image on the clipboard: its logical screen picture, and the
// "GIF Image" payload. Nothing happens for an empty image.
void CopyGIFImageToClipboard(TGIFImage& image);
// The clipboard's "GIF Image" payload, or its picture as one frame; none when it holds neither.
std::unique_ptr<TGIFImage> GIFLibraryImageFromClipboard();
