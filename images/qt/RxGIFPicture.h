// The animator's GIF image on screen and on the desktop clipboard.
#pragma once

#include <memory>

class QMimeData;
class QPainter;
class QRect;

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
