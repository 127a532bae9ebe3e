// The bookmark glyph strip: glyph arithmetic, shared lifetime and where marks land.
#include "editor/qt/mwInternalImage.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QRgb kPaper = qRgb(0xEE, 0xEE, 0xEE);

QImage Paper()
{
    QImage image(60, 40, QImage::Format_ARGB32);
    image.fill(kPaper);
    return image;
}

// The smallest rectangle holding every pixel that is no longer paper.
QRect Painted(const QImage& image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kPaper)
                r |= QRect(x, y, 1, 1);
    return r;
}

QImage Mark(const TmwInternalImage& strip, int number, int x, int y, int lineHeight)
{
    QImage image = Paper();
    QPainter p(&image);
    strip.DrawMark(p, number, x, y, lineHeight);
    p.end();
    return image;
}

} // namespace

TEST(InternalImage, GlyphArithmeticAndSharedLifetime)
{
    int before = TmwInternalImage::RefCount();
    {
        TmwInternalImage strip("mweInternalImages", 10);
        EXPECT_EQ(strip.GlyphWidth(), 12);
        EXPECT_EQ(strip.GlyphHeight(), 14);
        TmwInternalImage coarse("mweInternalImages", 7); // (120 + 3) div 7
        EXPECT_EQ(coarse.GlyphWidth(), 17);
        EXPECT_EQ(TmwInternalImage::RefCount(), before + 2);
    }
    EXPECT_EQ(TmwInternalImage::RefCount(), before);
}

TEST(InternalImage, OnlyNumbersBelowTheCountAreDrawn)
{
    TmwInternalImage strip("mweInternalImages", 10);
    EXPECT_EQ(Painted(Mark(strip, 10, 5, 5, 20)), QRect());
    EXPECT_EQ(Painted(Mark(strip, 11, 5, 5, 20)), QRect());
    EXPECT_EQ(Painted(Mark(strip, -1, 5, 5, 20)), QRect());
    EXPECT_FALSE(Painted(Mark(strip, 9, 5, 5, 20)).isEmpty());
    TmwInternalImage unknown("NoSuchStrip", 10);
    EXPECT_EQ(Painted(Mark(unknown, 1, 5, 5, 20)), QRect());
    TmwInternalImage none("mweInternalImages", 0);
    EXPECT_EQ(Painted(Mark(none, 0, 5, 5, 20)), QRect());
}

TEST(InternalImage, DigitsDiffer)
{
    TmwInternalImage strip("mweInternalImages", 10);
    for (int a = 0; a < 10; ++a)
        for (int b = a + 1; b < 10; ++b)
            EXPECT_NE(Mark(strip, a, 0, 0, 14), Mark(strip, b, 0, 0, 14)) << a << " " << b;
}

TEST(InternalImage, CentredInATallRowClippedInAShortOne)
{
    TmwInternalImage strip("mweInternalImages", 10);
    QRect tall = Painted(Mark(strip, 3, 10, 4, 20));
    EXPECT_GE(tall.top(), 4 + (20 - 14) / 2);
    EXPECT_LE(tall.bottom(), 4 + (20 - 14) / 2 + 13);
    EXPECT_GE(tall.left(), 10);
    EXPECT_LE(tall.right(), 10 + 11);

    // A row of 8 pixels shows the glyph's middle rows 3..10 at y..y+7.
    QImage shortRow = Mark(strip, 3, 10, 4, 8);
    QRect clipped = Painted(shortRow);
    EXPECT_EQ(clipped.top(), 4);
    EXPECT_EQ(clipped.bottom(), 11);
    QImage full = Mark(strip, 3, 10, 0, 14);
    for (int row = 0; row < 8; ++row)
        for (int x = 10; x < 22; ++x)
            EXPECT_EQ(shortRow.pixel(x, 4 + row), full.pixel(x, 3 + row)) << x << "," << row;
}
