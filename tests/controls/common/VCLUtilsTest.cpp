#include "controls/common/RXConst.h"
#include "controls/common/VCLUtils.h"
#include "controls/listviews/ListItems.h"
#include "platform/qt/Dialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

using namespace vx;

namespace {

QImage canvasImage(int w, int h, QColor fill)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

class PaintedWidget : public QWidget {
public:
    PaintedWidget(QWidget* parent, QColor color) : QWidget(parent), color_(color) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), color_); }

private:
    QColor color_;
};

} // namespace

TEST(VCLUtils, GradientFillPaintsBandsAndEndStripInsideTheRect)
{
    QImage image = canvasImage(20, 14, Qt::magenta);
    {
        QPainter p(&image);
        GradientFillRect(p, QRect(5, 2, 10, 10), clBlack, clWhite, fdTopToBottom, 4);
    }
    // Four bands of 2 pixels: 0, 85, 170, 255, then 2 pixels of the end colour.
    const int expected[10] = {0, 0, 85, 85, 170, 170, 255, 255, 255, 255};
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(qRed(image.pixel(7, 2 + row)), expected[row]) << row;
    EXPECT_EQ(image.pixel(7, 1), QColor(Qt::magenta).rgb());
    EXPECT_EQ(image.pixel(7, 12), QColor(Qt::magenta).rgb());
    EXPECT_EQ(image.pixel(4, 5), QColor(Qt::magenta).rgb());
    EXPECT_EQ(image.pixel(15, 5), QColor(Qt::magenta).rgb());

    QImage reverse = canvasImage(10, 1, Qt::magenta);
    {
        QPainter p(&reverse);
        GradientFillRect(p, reverse.rect(), clRed, clBlue, fdRightToLeft, 3);
    }
    EXPECT_EQ(reverse.pixel(0, 0), QColor(Qt::blue).rgb()) << "right-to-left starts from the end colour";
    EXPECT_EQ(reverse.pixel(8, 0), QColor(Qt::red).rgb());
    EXPECT_EQ(reverse.pixel(9, 0), QColor(Qt::red).rgb()) << "the leftover pixel takes the begin colour";

    QImage single = canvasImage(4, 4, Qt::magenta);
    {
        QPainter p(&single);
        GradientFillRect(p, single.rect(), clRed, clBlue, fdLeftToRight, 0);
    }
    EXPECT_EQ(single.pixel(3, 3), QColor(Qt::red).rgb()) << "one band is the start colour";
}

TEST(VCLUtils, TransparentBitmapLeavesOutTheKeyColour)
{
    QImage bitmap(2, 2, QImage::Format_RGB32);
    bitmap.setPixel(0, 0, qRgb(255, 0, 0));
    bitmap.setPixel(1, 0, qRgb(0, 255, 0));
    bitmap.setPixel(0, 1, qRgb(0, 0, 255)); // bottom-left: the default key
    bitmap.setPixel(1, 1, qRgb(255, 0, 0));

    QImage out = canvasImage(8, 8, Qt::white);
    {
        QPainter p(&out);
        DrawTransparentBitmapRect(p, 0, 0, 4, 4, QRect(), bitmap, clDefault);
        DrawTransparentBitmap(p, 5, 5, bitmap, clRed);
    }
    EXPECT_EQ(out.pixel(1, 1), qRgb(255, 0, 0)) << "stretched two-fold";
    EXPECT_EQ(out.pixel(3, 1), qRgb(0, 255, 0));
    EXPECT_EQ(out.pixel(1, 3), qRgb(255, 255, 255)) << "blue is the key";
    EXPECT_EQ(out.pixel(5, 5), qRgb(255, 255, 255)) << "red is the key";
    EXPECT_EQ(out.pixel(6, 5), qRgb(0, 255, 0));
    EXPECT_EQ(out.pixel(5, 6), qRgb(0, 0, 255));

    QImage opaque = canvasImage(2, 2, Qt::white);
    {
        QPainter p(&opaque);
        DrawTransparentBitmapRect(p, 0, 0, 0, 0, QRect(0, 1, 1, 1), bitmap, clNone);
    }
    EXPECT_EQ(opaque.pixel(0, 0), qRgb(0, 0, 255)) << "clNone draws the source part opaque";
}

TEST(VCLUtils, DisabledBitmapIsEmbossed)
{
    QImage source(3, 3, QImage::Format_RGB32);
    source.fill(qRgb(255, 0, 255));
    source.setPixel(0, 0, qRgb(10, 20, 30));
    QImage result = CreateDisabledBitmapEx(source, clFuchsia, clSilver, true, clGray, clWhite);
    EXPECT_EQ(result.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(result.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(result.pixel(2, 2), qRgb(192, 192, 192));
    QImage flat = CreateDisabledBitmapEx(source, clFuchsia, clSilver, false, clGray, clWhite);
    EXPECT_EQ(flat.pixel(1, 1), qRgb(192, 192, 192));

    std::vector<QImage> list(2, QImage(2, 2, QImage::Format_ARGB32));
    list[1].fill(Qt::transparent);
    list[1].setPixel(0, 0, qRgba(1, 2, 3, 255));
    QImage canvas = canvasImage(4, 4, Qt::black);
    {
        QPainter p(&canvas);
        ImageListDrawDisabled(list, p, 1, 1, 1, clWhite, clGray, true);
        ImageListDrawDisabled(list, p, 0, 0, 7, clWhite, clGray, true);
    }
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(128, 128, 128));
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 0));
}

TEST(VCLUtils, BitmapCellsAndResources)
{
    QImage grid(6, 4, QImage::Format_ARGB32);
    grid.fill(Qt::transparent);
    grid.setPixel(4, 2, qRgba(9, 9, 9, 255));
    QImage cell;
    AssignBitmapCell(grid, cell, 3, 2, 5);
    EXPECT_EQ(cell.size(), QSize(2, 2));
    EXPECT_EQ(cell.pixel(0, 0), qRgba(9, 9, 9, 255));
    EXPECT_EQ(qAlpha(cell.pixel(1, 1)), 0);
    AssignBitmapCell(grid, cell, 0, 0, -3);
    EXPECT_EQ(cell.size(), grid.size()) << "counts below 1 are taken as 1";

    try {
        MakeBitmap("NO_SUCH_BITMAP");
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource NO_SUCH_BITMAP not found");
    }
    EXPECT_THROW(MakeBitmap(4711), EResNotFound);
}

TEST(VCLUtils, Geometry)
{
    QRect r(10, 20, 5, 6);
    EXPECT_EQ(RectWidth(r), 5);
    EXPECT_EQ(RectHeight(r), 6);
    EXPECT_TRUE(PointInRect(QPoint(10, 20), r));
    EXPECT_TRUE(PointInRect(QPoint(15, 26), r)) << "edges included";
    EXPECT_FALSE(PointInRect(QPoint(16, 26), r));
    EXPECT_FALSE(PointInRect(QPoint(9, 20), r));
    EXPECT_EQ(PaletteColor(0x123456), 0x02123456u);
    EXPECT_EQ(PaletteEntries(QImage(2, 2, QImage::Format_RGB32)), 0);
}

TEST(VCLUtils, MinimizeTextKeepsTheLongestFittingHead)
{
    QFontMetrics fm(QApplication::font());
    const QString text = "C:\\a\\very\\long\\path\\name.txt";
    const int full = fm.horizontalAdvance(text);
    EXPECT_EQ(MinimizeText(text, fm, full), text);
    QString shortened = MinimizeText(text, fm, full / 2);
    ASSERT_TRUE(shortened.endsWith("..."));
    EXPECT_LE(fm.horizontalAdvance(shortened), full / 2);
    QString head = shortened.chopped(3);
    EXPECT_TRUE(text.startsWith(head));
    EXPECT_GT(fm.horizontalAdvance(text.left(head.size() + 1) + "..."), full / 2) << "one more would not fit";
    EXPECT_EQ(MinimizeText(text, fm, 0), "...");
}

TEST(VCLUtils, CellTextAlignment)
{
    // A list column's alignment is the one the cell routines take.
    TListColumn column;
    column.Alignment = taRightJustify;
    QImage image = canvasImage(100, 20, Qt::white);
    {
        QPainter p(&image);
        p.setBrush(Qt::white);
        p.setPen(Qt::black);
        DrawCellTextEx(p, QRect(0, 0, 100, 20), 2, false, false, column.Alignment, "MMM", 2);
    }
    int leftmost = 100;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 20; ++y)
            if (qRed(image.pixel(x, y)) < 128)
                leftmost = std::min(leftmost, x);
    EXPECT_GT(leftmost, 60) << "right-aligned text sits at the right edge";
}

TEST(VCLUtils, CopyParentImagePaintsParentAndEarlierSiblings)
{
    PaintedWidget parent(nullptr, Qt::red);
    parent.resize(40, 40);
    PaintedWidget below(&parent, Qt::green);
    below.setGeometry(0, 0, 15, 40);
    PaintedWidget control(&parent, Qt::blue);
    control.setGeometry(10, 10, 20, 20);
    PaintedWidget above(&parent, Qt::yellow);
    above.setGeometry(0, 0, 40, 40);
    parent.show();

    QImage image = canvasImage(20, 20, Qt::black);
    {
        QPainter p(&image);
        CopyParentImage(&control, p);
    }
    EXPECT_EQ(image.pixel(2, 2), QColor(Qt::green).rgb()) << "the earlier sibling overlaps x 10..14";
    EXPECT_EQ(image.pixel(10, 10), QColor(Qt::red).rgb()) << "the parent's own painting";

    QWidget orphan;
    QImage untouched = canvasImage(4, 4, Qt::black);
    QPainter p(&untouched);
    CopyParentImage(&orphan, p);
    p.end();
    EXPECT_EQ(untouched.pixel(0, 0), QColor(Qt::black).rgb());
}

TEST(VCLUtils, WaitCursorNests)
{
    StopWait();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "StopWait alone leaves the cursor alone";
    StartWait();
    StartWait();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    StopWait();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    StopWait();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    StopWait();
    EXPECT_EQ(WaitCount(), 0);
}

TEST(VCLUtils, NotImplementedSaysSoAndAbortsSilently)
{
    StartWait();
    vx::dialogs::Request shown;
    vx::dialogs::SetAnswerer([&](const vx::dialogs::Request& r) {
        shown = r;
        return vx::dialogs::Answer{mrOk};
    });
    EXPECT_THROW(NotImplemented(), EAbort);
    vx::dialogs::SetAnswerer(nullptr);
    EXPECT_EQ(shown.text, "Function not yet implemented");
    EXPECT_EQ(shown.type, mtInformation);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(WaitCount(), 0);
}

TEST(VCLUtils, CenterControlKeepsCoordinatesNonNegative)
{
    QWidget parent;
    parent.resize(100, 60);
    QWidget child(&parent);
    child.resize(20, 10);
    CenterControl(&child);
    EXPECT_EQ(child.pos(), QPoint(40, 25));
    child.resize(300, 10);
    CenterControl(&child);
    EXPECT_EQ(child.pos(), QPoint(0, 25));
}

TEST(VCLUtils, InvertFrameTogglesAndMemoryHelpers)
{
    auto frames = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->objectName() == "InvertFrame" && w->isVisible();
        return n;
    };
    DrawInvertFrame(QRect(10, 10, 50, 40), 3);
    EXPECT_EQ(frames(), 1);
    DrawInvertFrame(QRect(10, 10, 50, 40), 3);
    EXPECT_EQ(frames(), 0);

    TGlobalBlock none = AllocGlobalMem(0);
    EXPECT_EQ(none, nullptr);
    TGlobalBlock block = AllocGlobalMem(9);
    ASSERT_NE(block, nullptr);
    const char zeros[9] = {};
    EXPECT_TRUE(MemBlocksEqual(block.get(), zeros, 9));
    char text[] = "abcdefgh";
    CopyMemBlock(text, OffsetPointer(text, 2), 5);
    EXPECT_STREQ(text, "ababcdeh") << "overlapping move";
    EXPECT_FALSE(MemBlocksEqual(text, "ababcdeX", 8));
    FreeGlobalMem(block);
    EXPECT_EQ(block, nullptr);
}

TEST(RXConst, HandCursorsAreRegistered)
{
    // Other suites may have registered them already; registering again is harmless.
    RegisterRxCursors();
    for (int id : {crHand, crDragHand, crToolbarHand, crRightHand, crLeftHand, crTopHand})
        EXPECT_NE(ScreenCursor(id).shape(), Qt::ArrowCursor) << id;
}
