#include "controls/display/BmpMosaic.h"
#include "controls/clipboard/ClipIcon.h"
#include "controls/display/Titler.h"

#include "editor/qt/SysColors.h"
#include "tests/controls/FlatTestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageWriter>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A tile whose top-left pixel is red and the rest blue.
QPixmap MarkedTile(int w, int h)
{
    QImage tile(w, h, QImage::Format_RGB32);
    tile.fill(Qt::blue);
    tile.setPixel(0, 0, qRgb(255, 0, 0));
    return QPixmap::fromImage(tile);
}

QByteArray IconFile(QColor color)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

} // namespace

TEST(TBmpMosaic, TilesCoverTheWholeArea)
{
    EXPECT_EQ(MosaicLastTile(100, 30), 3);
    EXPECT_EQ(MosaicLastTile(100, 40), 3) << "2.5 rounds up; tile 3 starts past the edge";
    EXPECT_EQ(MosaicLastTile(10, 30), 0);
    EXPECT_EQ(MosaicLastTile(100, 0), -1);

    TBmpMosaic mosaic;
    EXPECT_EQ(mosaic.size(), QSize(105, 105));
    mosaic.resize(100, 100);
    mosaic.SetPicture(MarkedTile(30, 30));
    const QImage image = mosaic.Mosaic().toImage();
    ASSERT_EQ(image.size(), QSize(100, 100));
    for (int row = 0; row <= 3; ++row)
        for (int column = 0; column <= 3; ++column)
            EXPECT_EQ(image.pixel(column * 30, row * 30), qRgb(255, 0, 0)) << row << "," << column;
    EXPECT_EQ(image.pixel(99, 99), qRgb(0, 0, 255)) << "the 4 x 4th tile covers the corner";

    mosaic.SetPicture(MarkedTile(50, 50));
    EXPECT_EQ(mosaic.Mosaic().toImage().pixel(30, 30), qRgb(0, 0, 255)) << "a new picture rebuilds";
    EXPECT_EQ(mosaic.Mosaic().toImage().pixel(50, 50), qRgb(255, 0, 0));
}

TEST(TBmpMosaic, PaintRebuildsForANewWidthAndFramesAnEmptyPicture)
{
    TBmpMosaic mosaic;
    mosaic.SetPicture(MarkedTile(10, 10));
    mosaic.resize(60, 20);
    const QImage shown = mosaic.grab().toImage();
    EXPECT_EQ(mosaic.Mosaic().width(), 60);
    EXPECT_EQ(shown.pixel(50, 10), qRgb(255, 0, 0));

    TBmpMosaic empty;
    empty.resize(40, 40);
    empty.SetPicture(QPixmap());
    QPixmap canvas(40, 40);
    canvas.fill(Qt::white);
    empty.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
    const QImage drawn = canvas.toImage();
    EXPECT_EQ(drawn.pixel(20, 20), qRgb(255, 255, 255)) << "the frame is not filled";
    int dark = 0;
    for (int x = 0; x < 40; ++x)
        dark += qGray(drawn.pixel(x, 0)) < 128;
    EXPECT_GT(dark, 5);
    EXPECT_LT(dark, 40) << "the frame is dashed";

    int clicks = 0;
    empty.OnClick = [&](QObject*) { ++clicks; };
    vx::test::Click(empty, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
}

TEST(TTitler, DefaultsAndStep)
{
    TTitler titler;
    EXPECT_EQ(titler.size(), QSize(50, 50));
    EXPECT_EQ(titler.Interval(), 50);
    EXPECT_EQ(titler.Step(), 1);
    EXPECT_EQ(titler.Offset(), 0);
    EXPECT_EQ(titler.Color(), clBlack);
    EXPECT_EQ(titler.FontColor(), 0x0000FF00u);
    EXPECT_EQ(titler.Alignment(), Qt::AlignHCenter);
    EXPECT_EQ(titler.BorderStyle(), bsSingle);
    EXPECT_EQ(titler.BevelOuter(), bvNone);
    titler.SetStep(0);
    EXPECT_EQ(titler.Step(), 1) << "Step 0 is ignored";
    titler.SetStep(-3);
    EXPECT_EQ(titler.Step(), 1);
    titler.SetStep(4);
    titler.Tick();
    titler.Tick();
    EXPECT_EQ(titler.Offset(), 8);
    titler.SetInterval(20);
    EXPECT_EQ(titler.Interval(), 20);
}

TEST(TTitler, RestartsWhenTheTextHasPassedAndScrollsUp)
{
    TTitler titler;
    titler.SetBorderStyle(bsNone);
    titler.SetInterval(100000);
    titler.Titles().Add("ONE");
    titler.Titles().Add("TWO");
    titler.Titles().Add("THREE");
    const int lineHeight = QFontMetrics(titler.font()).height();
    const int limit = lineHeight * 3 + titler.height();
    for (int i = 0; i < limit; ++i)
        titler.Tick();
    titler.grab();
    EXPECT_EQ(titler.Offset(), limit) << "at the limit it keeps going";
    titler.Tick();
    titler.grab();
    EXPECT_EQ(titler.Offset(), 0) << "past it the titles start again";

    auto greenRows = [&] {
        const QImage image = titler.grab().toImage();
        int first = -1;
        for (int y = 0; y < image.height() && first < 0; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGreen(image.pixel(x, y)) > 128 && qRed(image.pixel(x, y)) < 100)
                    first = y;
        return first;
    };
    EXPECT_EQ(greenRows(), -1) << "at offset 0 the text sits below the panel";
    for (int i = 0; i < 20; ++i)
        titler.Tick();
    const int early = greenRows();
    for (int i = 0; i < 10; ++i)
        titler.Tick();
    const int later = greenRows();
    ASSERT_GE(early, 0);
    EXPECT_EQ(early - later, 10) << "the text moves up one pixel a step";
}

TEST(TTitler, PaintEventsGetTheCanvas)
{
    TTitler titler;
    titler.Titles().Add("X");
    std::vector<std::string> calls;
    titler.OnPaintBefore = [&](QObject*, QPainter& canvas) {
        calls.push_back("before");
        canvas.fillRect(0, 0, 5, 5, Qt::red);
    };
    titler.OnPaintAfter = [&](QObject*, QPainter&) { calls.push_back("after"); };
    const QImage image = titler.grab().toImage();
    EXPECT_EQ(calls, (std::vector<std::string>{"before", "after"}));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 0, 0));
}

TEST(ClipIcon, ReadsIconsOnlyInTheFormat)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("not an icon");
    EXPECT_FALSE(ClipboardHasIcon());
    EXPECT_EQ(CreateIconFromClipboard(), nullptr);
    QIcon kept(MarkedTile(8, 8));
    LoadIconFromClipboard(kept);
    EXPECT_EQ(kept.pixmap(8, 8).toImage().pixel(0, 0), qRgb(255, 0, 0)) << "no icon leaves it alone";

    CopyIconToClipboard(IconFile(Qt::green));
    ASSERT_TRUE(ClipboardHasIcon());
    auto icon = CreateIconFromClipboard();
    ASSERT_NE(icon, nullptr);
    ASSERT_FALSE(icon->isNull());
    EXPECT_EQ(icon->pixmap(16, 16).toImage().pixel(4, 4), QColor(Qt::green).rgb());

    CopyIconToClipboard("garbage");
    LoadIconFromClipboard(kept);
    EXPECT_EQ(kept.pixmap(8, 8).toImage().pixel(0, 0), qRgb(255, 0, 0)) << "a broken icon leaves it alone";
    clipboard->clear();
}

TEST(TTitler, BevelsAndBorderWidthFrameTheTitles)
{
    TTitler titler;
    titler.resize(60, 40);
    titler.SetBevelOuter(bvRaised);
    titler.SetBevelInner(bvLowered);
    titler.SetBevelWidth(2);
    titler.SetBorderWidth(3);
    // One border line, two bevels of two, three of border width.
    EXPECT_EQ(titler.contentsRect(), QRect(1 + 7, 1 + 7, 60 - 16, 40 - 16));
    const QImage image = vx::test::Render(titler);
    const TColor highlight = vx::ColorToRGB(clBtnHighlight), shadow = vx::ColorToRGB(clBtnShadow);
    EXPECT_EQ(vx::test::PixelAt(image, 1, 20), highlight) << "the raised outer bevel's lit side";
    EXPECT_EQ(vx::test::PixelAt(image, 58, 20), shadow);
    EXPECT_EQ(vx::test::PixelAt(image, 4, 20), clBlack) << "the border width in Color";
    EXPECT_EQ(vx::test::PixelAt(image, 6, 20), shadow) << "the lowered inner bevel's dark side";
    EXPECT_EQ(vx::test::PixelAt(image, 53, 20), highlight);
}
