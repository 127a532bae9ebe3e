#include "images/qt/AnimatorGlyphs.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPolygon>

namespace {

// The background the pictures are drawn on and cut out by.
constexpr QRgb kMaskColour = 0xFFFF00FF;

void Page(QPainter& p, int x, int y)
{
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(x, y), QPoint(x + 6, y), QPoint(x + 9, y + 3), QPoint(x + 9, y + 12),
                            QPoint(x, y + 12)}));
}

void Arrow(QPainter& p, bool up)
{
    p.setBrush(QColor(0, 128, 0));
    const int tip = up ? 2 : 13, base = up ? 8 : 7, end = up ? 13 : 2;
    p.drawPolygon(QPolygon({QPoint(8, tip), QPoint(14, base), QPoint(10, base), QPoint(10, end), QPoint(6, end),
                            QPoint(6, base), QPoint(2, base)}));
}

void Draw(QPainter& p, int index)
{
    p.setPen(Qt::black);
    switch (index) {
    case 0: // New
        Page(p, 3, 1);
        break;
    case 1: // Open
        p.setBrush(QColor(255, 255, 128));
        p.drawPolygon(QPolygon({QPoint(1, 4), QPoint(6, 4), QPoint(7, 5), QPoint(14, 5), QPoint(14, 13),
                                QPoint(1, 13)}));
        break;
    case 2: // Save
    case 3: // Save As
        p.setBrush(QColor(0, 0, 128));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 7, 5);
        if (index == 3)
            p.drawLine(10, 10, 13, 13);
        break;
    case 4: // Insert
        Page(p, 1, 1);
        p.drawLine(12, 9, 12, 15);
        p.drawLine(9, 12, 15, 12);
        break;
    case 5: // Cut
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(2, 10, 4, 4);
        p.drawEllipse(9, 10, 4, 4);
        p.drawLine(5, 10, 11, 1);
        p.drawLine(10, 10, 4, 1);
        break;
    case 6: // Copy
        Page(p, 1, 1);
        Page(p, 5, 3);
        break;
    case 7: // Paste
        p.setBrush(QColor(160, 100, 40));
        p.drawRect(1, 2, 10, 12);
        Page(p, 6, 3);
        break;
    case 8: // Delete
        p.setPen(QPen(QColor(200, 0, 0), 2));
        p.drawLine(3, 3, 12, 12);
        p.drawLine(12, 3, 3, 12);
        break;
    case 9: // Move Up
    case 10: // Move Down
        Arrow(p, index == 9);
        break;
    case 11: // Grayscale
        for (int i = 0; i < 4; ++i) {
            p.setBrush(QColor::fromHsv(0, 0, 40 + 60 * i));
            p.drawRect(1 + 3 * i, 2, 3, 11);
        }
        break;
    case 12: // Preview
        p.setBrush(QColor(0, 128, 0));
        p.drawPolygon(QPolygon({QPoint(4, 2), QPoint(13, 8), QPoint(4, 14)}));
        break;
    case 13: // About
        p.setBrush(QColor(0, 0, 200));
        p.drawEllipse(1, 1, 13, 13);
        p.setPen(QPen(Qt::white, 2));
        p.drawPoint(8, 4);
        p.drawLine(8, 7, 8, 11);
        break;
    }
}

} // namespace

QPixmap AnimatorGlyph(int index)
{
    if (index < 0 || index >= kAnimatorGlyphCount)
        return {};
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(kMaskColour);
    {
        QPainter painter(&image);
        Draw(painter, index);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(kMaskColour, Qt::MaskInColor)));
    return pixmap;
}
