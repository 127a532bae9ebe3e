// Conversions between the image tools' bitmaps and Qt images.
#include "images/qt/BitmapImage.h"

#include "images/GIFBitmap.h"

#include <QImage>
#include <QPainter>

#include <cstring>

QImage BitmapToQImage(const TGIFBitmap& bitmap)
{
    if (bitmap.Empty())
        return QImage();
    if (bitmap.PixelFormat() == TPixelFormat::pf24bit) {
        QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB888);
        for (int y = 0; y < bitmap.Height(); ++y) {
            const std::uint8_t* src = bitmap.ScanLine(y);
            uchar* dst = image.scanLine(y);
            for (int x = 0; x < bitmap.Width(); ++x) {
                dst[x * 3] = src[x * 3 + 2];
                dst[x * 3 + 1] = src[x * 3 + 1];
                dst[x * 3 + 2] = src[x * 3];
            }
        }
        return image;
    }
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const TGIFColor& c : bitmap.Palette)
        colours.push_back(qRgb(c.Red, c.Green, c.Blue));
    // Indices past the palette show black rather than being undefined.
    while (colours.size() < 256)
        colours.push_back(qRgb(0, 0, 0));
    image.setColorTable(colours);
    const bool oneBit = bitmap.PixelFormat() == TPixelFormat::pf1bit;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t* src = bitmap.ScanLine(y);
        uchar* dst = image.scanLine(y);
        if (!oneBit) {
            std::memcpy(dst, src, static_cast<size_t>(bitmap.Width()));
            continue;
        }
        for (int x = 0; x < bitmap.Width(); ++x)
            dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return image;
}

TGIFBitmap QImageToBitmap(const QImage& image, RxGIF::TColor background)
{
    if (image.isNull())
        return TGIFBitmap{};
    if (image.format() == QImage::Format_Indexed8 && !image.hasAlphaChannel()) {
        TGIFBitmap bitmap(image.width(), image.height(), TPixelFormat::pf8bit);
        for (QRgb c : image.colorTable())
            bitmap.Palette.push_back(TGIFColor{static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                                               static_cast<std::uint8_t>(qBlue(c))});
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(bitmap.ScanLine(y), image.constScanLine(y), static_cast<size_t>(image.width()));
        return bitmap;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const TGIFColor back = RxGIF::GIFColorOf(background);
    TGIFBitmap bitmap(image.width(), image.height(), TPixelFormat::pf24bit);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* dst = bitmap.ScanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const bool opaque = qAlpha(src[x]) >= 128;
            dst[x * 3] = opaque ? static_cast<std::uint8_t>(qBlue(src[x])) : back.Blue;
            dst[x * 3 + 1] = opaque ? static_cast<std::uint8_t>(qGreen(src[x])) : back.Green;
            dst[x * 3 + 2] = opaque ? static_cast<std::uint8_t>(qRed(src[x])) : back.Red;
        }
    }
    return bitmap;
}

void DrawTransparentImage(QPainter& painter, const QRect& rect, const QImage& image, RxGIF::TColor transparent)
{
    if (image.isNull())
        return;
    if (transparent == RxGIF::clNone) {
        painter.drawImage(rect, image);
        return;
    }
    const TGIFColor key = RxGIF::GIFColorOf(transparent);
    const QRgb keyRgb = qRgb(key.Red, key.Green, key.Blue);
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((row[x] & 0xFFFFFF) == (keyRgb & 0xFFFFFF))
                row[x] = 0;
    }
    painter.drawImage(rect, masked);
}
