// The bookmark glyph strip: our own ten glyphs, a numbered ribbon each,
// drawn pixel by pixel once per process so they look the same everywhere.
#include "editor/qt/mwInternalImage.h"

#include <QImage>
#include <QPainter>

#include <memory>

namespace {

constexpr char kBookmarkStrip[] = "mweInternalImages";
constexpr int kGlyphs = 10;
constexpr int kCellWidth = 12;
constexpr int kCellHeight = 14;

// 5 x 7 digits, one row of five bits per byte, high bit on the left.
constexpr unsigned char kDigits[kGlyphs][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// A ribbon in columns 1..10 whose lower end is cut into a notch.
bool InRibbon(int x, int y)
{
    if (x < 1 || x > 10)
        return false;
    int notch = y - 10; // 0 at the row the notch starts, grows downwards
    return notch <= 0 || x < 5 - notch + 1 || x > 6 + notch - 1;
}

bool OnRibbonEdge(int x, int y)
{
    return InRibbon(x, y) && !(InRibbon(x - 1, y) && InRibbon(x + 1, y) && InRibbon(x, y - 1) &&
                               InRibbon(x, y + 1) && y > 0 && y < kCellHeight - 1);
}

void DrawGlyph(QImage& strip, int digit)
{
    const QRgb edge = qRgb(0x10, 0x30, 0x60);
    const QRgb fill = qRgb(0x20, 0x60, 0xC0);
    const QRgb ink = qRgb(0xFF, 0xFF, 0xFF);
    int left = digit * kCellWidth;
    for (int y = 0; y < kCellHeight; ++y)
        for (int x = 0; x < kCellWidth; ++x)
            if (InRibbon(x, y))
                strip.setPixel(left + x, y, OnRibbonEdge(x, y) ? edge : fill);
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
            if (kDigits[digit][row] & (0x10 >> col))
                strip.setPixel(left + 3 + col, 2 + row, ink);
}

struct SharedStrip {
    int refs = 0;
    std::unique_ptr<QImage> image;
};

SharedStrip& Strip()
{
    static SharedStrip strip;
    return strip;
}

} // namespace

TmwInternalImage::TmwInternalImage(const std::string& name, int count) : count_(count)
{
    SharedStrip& shared = Strip();
    if (shared.refs++ == 0) {
        shared.image = std::make_unique<QImage>(kGlyphs * kCellWidth, kCellHeight, QImage::Format_ARGB32);
        shared.image->fill(Qt::transparent);
        for (int d = 0; d < kGlyphs; ++d)
            DrawGlyph(*shared.image, d);
    }
    if (name == kBookmarkStrip && count > 0) {
        image_ = shared.image.get();
        glyphWidth_ = (image_->width() + count / 2) / count;
        glyphHeight_ = image_->height();
    }
}

TmwInternalImage::~TmwInternalImage()
{
    SharedStrip& shared = Strip();
    if (--shared.refs == 0)
        shared.image.reset();
}

int TmwInternalImage::RefCount() { return Strip().refs; }

void TmwInternalImage::DrawMark(QPainter& canvas, int number, int x, int y, int lineHeight) const
{
    if (!image_ || number < 0 || number >= count_ || lineHeight <= 0)
        return;
    int srcX = number * glyphWidth_;
    if (glyphHeight_ > lineHeight) {
        QRect source(srcX, (glyphHeight_ - lineHeight) / 2, glyphWidth_, lineHeight);
        canvas.drawImage(QPoint(x, y), *image_, source);
    } else {
        QRect source(srcX, 0, glyphWidth_, glyphHeight_);
        canvas.drawImage(QPoint(x, y + (lineHeight - glyphHeight_) / 2), *image_, source);
    }
}
