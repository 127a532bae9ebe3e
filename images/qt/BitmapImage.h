// Between the image tools' bitmaps and Qt images, and drawing with a transparent colour.
#pragma once

#include "images/RxGIFTypes.h"

class QImage;
class QPainter;
class QRect;
class TGIFBitmap;

// A palette bitmap becomes an indexed image, a 24-bit one an RGB image.
QImage BitmapToQImage(const TGIFBitmap& bitmap);
// An indexed image keeps its indices (8 bits per pixel); anything else becomes 24-bit.
// Pixels that are not opaque take the colour `background`.
TGIFBitmap QImageToBitmap(const QImage& image, RxGIF::TColor background = 0xFFFFFF);

// The image stretched into the rectangle, pixels of the transparent colour
// left out (RxGIF::clNone draws every pixel).
void DrawTransparentImage(QPainter& painter, const QRect& rect, const QImage& image, RxGIF::TColor transparent);
