// Tests of the mini-HTML renderer and the HTML list box.
#include "controls/htmllist/HTMListb.h"

#include "editor/qt/SysColors.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

using namespace vx;

namespace {

QFont TestFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(10);
    return font;
}

int GhHeight()
{
    return QFontMetrics(TestFont()).size(Qt::TextSingleLine, QStringLiteral("gh")).height();
}

// Renders or measures text on a white canvas; the picture is left in `image`.
struct Canvas {
    QImage image{300, 200, QImage::Format_RGB32};
    Canvas() { image.fill(Qt::white); }

    THTMLItemResult Run(std::string_view text, const QRect& rect, bool measure, bool hit = false, int x = 0, int y = 0,
                        const THTMLImages* images = nullptr)
    {
        QPainter p(&image);
        p.setFont(TestFont());
        p.setPen(Qt::black);
        THTMLItemResult result;
        DrawHTMLItem(p, text, rect, clBlue, measure, hit, x, y, images, result);
        return result;
    }
    int Count(QRgb color, const QRect& area) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
        return n;
    }
    int Ink(const QRect& area) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += qGray(image.pixel(x, y)) < 128;
        return n;
    }
};

const QRect kRect(0, 0, 300, 200);

} // namespace

TEST(HtmlEngine, ColourNamesAreExactAndUnknownIsBlack)
{
    EXPECT_EQ(ColorFromName("clred"), clRed);
    EXPECT_EQ(ColorFromName("clnavy"), clNavy);
    EXPECT_EQ(ColorFromName("clbtnface"), 0x8000000Fu);
    EXPECT_EQ(ColorFromName("clinfobk"), 0x80000018u);
    EXPECT_EQ(ColorFromName("clRed"), clBlack);
    EXPECT_EQ(ColorFromName("clmaroon"), clBlack);
    EXPECT_EQ(ColorFromName("nothing"), clBlack);
}

TEST(HtmlEngine, HexColoursIgnoreCaseAndShortTextIsBlack)
{
    EXPECT_EQ(HexToColor("#FF0000"), clRed);
    EXPECT_EQ(HexToColor("#ff8000"), HexToColor("#FF8000"));
    EXPECT_EQ(HexToColor("#ff8000"), 0x0080FFu);
    EXPECT_EQ(HexToColor("#12"), clBlack);
    EXPECT_EQ(HexToColor(""), clBlack);
    // A character that is no hexadecimal digit counts as 0 and never spills
    // into the next colour.
    EXPECT_EQ(HexToColor("#G0FF00"), 0x00FF00u);
    EXPECT_EQ(HexToColor("#FFzz:0"), 0x0000FFu);
}

TEST(HtmlEngine, LineBreaksInAnyCaseEndTheLine)
{
    Canvas c;
    EXPECT_EQ(c.Run("hello", kRect, true).Height, GhHeight());
    EXPECT_EQ(c.Run("", kRect, true).Height, GhHeight());
    EXPECT_EQ(c.Run("one<BR>two", kRect, true).Height, 2 * GhHeight());
    EXPECT_EQ(c.Run("one<br>two<br>three", kRect, true).Height, 3 * GhHeight());
    EXPECT_EQ(c.Run("one<P>two</P>three", kRect, true).Height, 2 * GhHeight());
    EXPECT_EQ(c.Run("<hr>below", kRect, true).Height, 2 * GhHeight());
}

TEST(HtmlEngine, WordsWrapAndAWideWordGetsItsOwnLine)
{
    Canvas c;
    EXPECT_EQ(c.Run("aa bb cc dd ee ff gg hh", QRect(0, 0, 40, 200), true).Height % GhHeight(), 0);
    EXPECT_GT(c.Run("aa bb cc dd ee ff gg hh", QRect(0, 0, 40, 200), true).Height, 2 * GhHeight());
    const std::string wide(60, 'W');
    EXPECT_EQ(c.Run(wide, QRect(0, 0, 50, 200), true).Height, GhHeight());
    EXPECT_EQ(c.Run("a " + wide + " b", QRect(0, 0, 50, 200), true).Height, 3 * GhHeight());
    EXPECT_EQ(c.Run("x", QRect(0, 0, 0, 200), true).Height, GhHeight());
}

TEST(HtmlEngine, LowerCaseBoldDrawsHeavierInk)
{
    Canvas plain, bold;
    plain.Run("WWWWWW", kRect, false);
    bold.Run("<b>WWWWWW</b>", kRect, false);
    EXPECT_GT(bold.Ink(kRect), plain.Ink(kRect));
    Canvas after;
    after.Run("<b>x</b>WWWWWW", kRect, false);
    Canvas ref;
    ref.Run("<b>x</b>", kRect, false);
    EXPECT_EQ(after.Ink(kRect) - ref.Ink(kRect), plain.Ink(kRect)) << "closing tag removes bold";
}

TEST(HtmlEngine, FontColoursByNameInMixedCaseAndByHex)
{
    for (const char* text : {"<font color=\"clRed\">WWW</font>", "<FONT COLOR=\"#ff0000\">WWW</FONT>"}) {
        Canvas c;
        c.Run(text, kRect, false);
        EXPECT_GT(c.Count(qRgb(255, 0, 0), kRect), 0) << text;
    }
    Canvas unknown;
    unknown.Run("<font color=\"clbogus\">WWW</font>", kRect, false);
    EXPECT_EQ(unknown.Count(qRgb(255, 0, 0), kRect), 0);
    EXPECT_GT(unknown.Ink(kRect), 0);
}

TEST(HtmlEngine, FontSizeGrowsTheLineAndTheClosingTagRestoresIt)
{
    QFont big = TestFont();
    big.setPointSize(20);
    const int bigHeight = QFontMetrics(big).size(Qt::TextSingleLine, QStringLiteral("A")).height();
    ASSERT_GT(bigHeight, GhHeight());
    Canvas c;
    EXPECT_EQ(c.Run("<font size=\"20\">A</font><br>b", kRect, true).Height, bigHeight + GhHeight());
    EXPECT_EQ(c.Run("<font size=\"20\">A<br>b", kRect, true).Height, 2 * bigHeight);
    EXPECT_EQ(c.Run("<font size=\"x\" face=\"DejaVu Sans\">A", kRect, true).Height, GhHeight());
}

TEST(HtmlEngine, LinksHitTestTheirTextAndTakeTheLinkColour)
{
    Canvas c;
    const int goWidth = QFontMetrics(TestFont()).horizontalAdvance(QStringLiteral("go "));
    const int mid = GhHeight() / 2;
    const std::string text = "go <a href=\"page\">here</a> end";
    THTMLItemResult r = c.Run(text, kRect, false, true, goWidth + 3, mid);
    EXPECT_TRUE(r.OnLink);
    EXPECT_EQ(r.Anchor, "page");
    EXPECT_FALSE(c.Run(text, kRect, false, true, 2, mid).OnLink);
    EXPECT_FALSE(c.Run(text, kRect, false, true, goWidth + 3, GhHeight() + 5).OnLink);
    r = c.Run("<a href=page>here</a>", kRect, false, true, 3, mid);
    EXPECT_TRUE(r.OnLink);
    EXPECT_EQ(r.Anchor, "");
    Canvas drawn;
    drawn.Run(text, kRect, false);
    EXPECT_GT(drawn.Count(qRgb(0, 0, 255), kRect), 0);
}

TEST(HtmlEngine, RightAlignmentAndIndentMoveTheText)
{
    Canvas right;
    right.Run("<p align=\"right\">WW", kRect, false);
    EXPECT_EQ(right.Ink(QRect(0, 0, 150, 40)), 0);
    EXPECT_GT(right.Ink(QRect(250, 0, 50, 40)), 0);
    Canvas centre;
    centre.Run("<p align=\"center\">WW", kRect, false);
    EXPECT_EQ(centre.Ink(QRect(0, 0, 120, 40)), 0);
    EXPECT_GT(centre.Ink(QRect(120, 0, 60, 40)), 0);
    Canvas ind;
    ind.Run("<ind x=\"100\">WW", kRect, false);
    EXPECT_EQ(ind.Ink(QRect(0, 0, 99, 40)), 0);
    EXPECT_GT(ind.Ink(QRect(100, 0, 60, 40)), 0);
}

TEST(HtmlEngine, RuleBackgroundAndDrawingStopAtTheBottom)
{
    Canvas rule;
    rule.Run("<hr>", QRect(10, 20, 100, 50), false);
    EXPECT_EQ(rule.Count(qRgb(0, 0, 0), QRect(9, 21, 102, 1)), 100);
    Canvas body;
    body.Run("<body bgcolor=\"cllime\">x", QRect(0, 0, 50, 50), false);
    EXPECT_GT(body.Count(qRgb(0, 255, 0), QRect(0, 0, 50, 50)), 2000);
    Canvas clipped;
    const int h = GhHeight();
    clipped.Run("a<br>b<br>WWW<br>WWW", QRect(0, 0, 100, 2 * h), false);
    EXPECT_EQ(clipped.Ink(QRect(0, 2 * h, 100, 100)), 0);
    EXPECT_GT(clipped.Ink(QRect(0, h, 100, h)), 0) << "a second line that fits is drawn";
    const int tallTop = clipped.Run("<font size=\"20\">A</font>", QRect(0, 0, 100, 200), true).Height;
    Canvas exact;
    exact.Run("<font size=\"20\">A</font><br>bbb", QRect(0, 0, 100, tallTop + h), false);
    EXPECT_GT(exact.Ink(QRect(0, tallTop, 100, h)), 0) << "a short line after a tall one fits the rest";
    Canvas tiny;
    tiny.Run("WWW<br>WWW", QRect(0, 0, 100, 3), false);
    EXPECT_GT(tiny.Ink(QRect(0, 0, 100, 200)), 0) << "the first line always shows";
}

TEST(HtmlEngine, ImagesFromTheListSetTheLineHeight)
{
    QImage red(20, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    const THTMLImages images{red};
    Canvas c;
    EXPECT_EQ(c.Run("a<img src=\"idx:0\">b", kRect, true, false, 0, 0, &images).Height, 40);
    EXPECT_EQ(c.Run("a<img src=\"idx:7\">b", kRect, true, false, 0, 0, &images).Height, GhHeight());
    EXPECT_EQ(c.Run("<img src=\"idx:0\">", kRect, true).Height, GhHeight());
    EXPECT_EQ(c.Run("<img src=\"res://x\">", kRect, true).Height, GhHeight());
    Canvas drawn;
    drawn.Run("<img src=\"IDX:0\">", kRect, false, false, 0, 0, &images);
    EXPECT_EQ(drawn.Count(qRgb(255, 0, 0), kRect), 800);
    // An image that does not fit the rest of the line moves to the next.
    EXPECT_EQ(c.Run("WWW<img src=\"idx:0\">", QRect(0, 0, 40, 200), true, false, 0, 0, &images).Height,
              GhHeight() + 40);
}

TEST(HtmlEngine, FileImagesAndSystemIcons)
{
    test::TempDir dir;
    QImage tall(10, 50, QImage::Format_RGB32);
    tall.fill(Qt::blue);
    ASSERT_TRUE(tall.save(QString::fromStdString(dir.file("tall.bmp")), "BMP"));
    Canvas c;
    EXPECT_EQ(c.Run("<img src=\"file://" + dir.file("tall.bmp") + "\">", kRect, true).Height, 50);
    EXPECT_EQ(c.Run("<img src=\"file://" + dir.file("missing.bmp") + "\">", kRect, true).Height, GhHeight());
    EXPECT_EQ(c.Run("<img src=\"lsys:page.html\">", kRect, true).Height, std::max(32, GhHeight()));
    QImage target(40, 40, QImage::Format_ARGB32);
    QPainter p(&target);
    QSize size;
    DrawSysIcon(p, 0, 0, size, false, false, dir.file("tall.bmp"));
    EXPECT_EQ(size, QSize(16, 16));
    DrawSysIcon(p, 0, 0, size, true, true, "4");
    EXPECT_EQ(size, QSize(32, 32));
}

TEST(HtmlEngine, RandomMarkupNeverStallsOrOverflows)
{
    static constexpr char kAlphabet[] = "<>/\" =#abBfFhHiIuUpPrRxXdDcCsSlL0123456789 \t";
    std::mt19937 random(7);
    Canvas c;
    for (int round = 0; round < 400; ++round) {
        std::string text(random() % 80, ' ');
        for (char& ch : text)
            ch = kAlphabet[random() % (sizeof kAlphabet - 1)];
        const QRect rect(0, 0, static_cast<int>(random() % 120), 60);
        EXPECT_GT(c.Run(text, rect, true).Height, 0) << text;
        c.Run(text, rect, false);
        c.Run(text, rect, false, true, 10, 5);
    }
}

namespace {

struct HTMListboxFixture : ::testing::Test {
    THTMListbox box;
    std::vector<std::string> opened;
    void SetUp() override
    {
        box.setFont(TestFont());
        box.resize(300, 200);
        box.ShellOpen = [this](const std::string& url) { opened.push_back(url); };
        box.show();
    }
    QPoint LinkPoint(int row, const char* before)
    {
        const QRect r = box.visualItemRect(box.item(row));
        return {r.left() + QFontMetrics(TestFont()).horizontalAdvance(QString::fromLatin1(before)) + 3,
                r.top() + GhHeight() / 2};
    }
};

} // namespace

TEST_F(HTMListboxFixture, ItemHeightUnlessMultiline)
{
    box.Items().Add("one<br>two<br>three");
    box.Items().Add("x");
    EXPECT_EQ(box.MeasureItem(0), 16);
    box.SetMultiline(true);
    EXPECT_EQ(box.MeasureItem(0), 3 * GhHeight() + 4);
    EXPECT_EQ(box.MeasureItem(1), GhHeight() + 4);
    EXPECT_EQ(box.visualItemRect(box.item(0)).height(), 3 * GhHeight() + 4);
    box.SetMultiline(false);
    box.SetItemHeight(20);
    EXPECT_EQ(box.visualItemRect(box.item(0)).height(), 20);
    EXPECT_EQ(box.count(), 2);
    box.Items().Clear();
    EXPECT_EQ(box.count(), 0);
}

TEST_F(HTMListboxFixture, ColumnsShareTheWidth)
{
    for (int i = 0; i < 40; ++i)
        box.Items().Add("item " + std::to_string(i));
    box.SetColumns(3);
    QCoreApplication::processEvents();
    const int width = box.viewport()->width() / 3;
    EXPECT_EQ(box.visualItemRect(box.item(0)).width(), width);
    EXPECT_EQ(box.visualItemRect(box.item(0)).left(), 0);
    EXPECT_EQ(box.visualItemRect(box.item(39)).left() % width, 0);
    EXPECT_GT(box.visualItemRect(box.item(39)).left(), 0);
}

TEST_F(HTMListboxFixture, ClicksOpenSchemesAndReportPlainAnchors)
{
    box.Items().Add("see <a href=\"http://x.org/\">web</a>");
    box.Items().Add("go <a href=\"topic\">there</a>");
    int gotIndex = -1;
    std::string gotAnchor;
    box.OnAnchorClick = [&](QObject*, int index, const std::string& anchor) {
        gotIndex = index;
        gotAnchor = anchor;
    };
    test::Click(*box.viewport(), LinkPoint(0, "see "));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "http://x.org/");
    EXPECT_EQ(gotIndex, -1);
    test::Click(*box.viewport(), LinkPoint(1, "go "));
    EXPECT_EQ(gotIndex, 1);
    EXPECT_EQ(gotAnchor, "topic");
    EXPECT_EQ(box.ItemIndex(), -1) << "a click on a link does not select";
    test::Click(*box.viewport(), LinkPoint(1, "") - QPoint(2, 0));
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HTMListboxFixture, DoubleClickIsReported)
{
    box.Items().Add("one");
    QObject* sender = nullptr;
    box.OnDblClick = [&](QObject* s) { sender = s; };
    const QPoint at = box.visualItemRect(box.item(0)).center();
    test::DoubleClick(*box.viewport(), at);
    EXPECT_EQ(sender, &box);
}

TEST_F(HTMListboxFixture, MovingOverALinkReportsItAndShowsTheHand)
{
    box.Items().Add("go <a href=\"topic\">there</a>");
    std::string entered;
    box.OnAnchorEnter = [&](QObject*, int, const std::string& anchor) { entered = anchor; };
    test::MouseMove(*box.viewport(), LinkPoint(0, "go "));
    EXPECT_EQ(entered, "topic");
    EXPECT_EQ(box.viewport()->cursor().shape(), Qt::PointingHandCursor);
    test::MouseMove(*box.viewport(), QPoint(2, 2));
    EXPECT_EQ(box.viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(HTMListboxFixture, SelectedItemsDrawLinksInTheHighlightTextColour)
{
    box.SetURLColor(clLime);
    box.Items().Add("<a href=\"x\">WWWWWW</a>");
    auto limePixels = [&] {
        QCoreApplication::processEvents();
        const QImage shot = box.viewport()->grab().toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += (shot.pixel(x, y) & 0xFFFFFF) == 0x00FF00;
        return n;
    };
    EXPECT_GT(limePixels(), 0);
    box.SetItemIndex(0);
    EXPECT_EQ(limePixels(), 0);
}
