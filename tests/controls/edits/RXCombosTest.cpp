// The colour and font combo boxes: colour values and names, HTML colour
// round trips, item drawing, and font names kept across the list.
#include "controls/common/SysColors.h"
#include "controls/edits/RXCombos.h"
#include "editor/qt/SysColors.h"
#include "platform/AnsiText.h"
#include "platform/qt/QtText.h"
#include "tests/controls/FlatTestSupport.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::test;

TEST(ColorComboBox, ListAndDefaults)
{
    TColorComboBox c;
    ASSERT_EQ(c.count(), 16);
    EXPECT_EQ(c.ColorValue(), clBlack);
    EXPECT_EQ(c.currentIndex(), 0);
    EXPECT_EQ(c.ItemName(1), "Maroon");
    EXPECT_EQ(c.ItemName(7), "Gray");
    EXPECT_EQ(c.ItemName(15), "White");
    EXPECT_EQ(TColorComboBox::ListColor(4), 0x800000u);
    EXPECT_EQ(TColorComboBox::ListColor(9), 0x0000FFu);
    EXPECT_TRUE(c.DisplayNames());
}

TEST(ColorComboBox, ColorValueSelectsOrLeavesAlone)
{
    TColorComboBox c;
    int changes = 0;
    c.OnChange = [&](QObject*) { ++changes; };
    c.SetColorValue(clTeal);
    EXPECT_EQ(c.ColorValue(), clTeal);
    EXPECT_EQ(c.currentIndex(), 6);
    EXPECT_EQ(changes, 1);
    c.SetColorValue(clTeal);
    EXPECT_EQ(changes, 1);
    c.SetColorValue(0x123456);
    EXPECT_EQ(c.ColorValue(), clTeal);
    EXPECT_EQ(c.currentIndex(), 6);
    c.SetColorValue(clBtnFace);
    EXPECT_EQ(c.ColorValue(), clTeal);
    EXPECT_EQ(changes, 1);
}

TEST(ColorComboBox, ClickSetsTheValueBeforeTheClickEvent)
{
    TColorComboBox c;
    TColor seen = 0xFFFFFFFF;
    c.OnClick = [&](QObject*) { seen = c.ColorValue(); };
    c.setCurrentIndex(11);
    KeyDown(c, Qt::Key_Down);
    EXPECT_EQ(seen, clBlue);
}

TEST(ColorComboBox, NamesReplaceOnlyNonEmptyLines)
{
    TColorComboBox c;
    c.SetColorValue(clMaroon);
    c.ColorNames().Add("Schwarz");
    c.ColorNames().Add("");
    EXPECT_EQ(c.ItemName(0), "Schwarz");
    EXPECT_EQ(c.ItemName(1), "Maroon");
    EXPECT_EQ(c.currentIndex(), 1);
    EXPECT_EQ(c.ColorValue(), clMaroon);
}

TEST(ColorComboBox, SwatchAndName)
{
    TColorComboBox c;
    c.resize(150, 20);
    QImage img(150, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        c.DrawItem(p, QRect(0, 0, 150, 20), 9, false);
    }
    EXPECT_EQ(PixelAt(img, 2, 2), ColorToRGB(clWindowText));
    EXPECT_EQ(PixelAt(img, 10, 10), clRed);
    EXPECT_EQ(PixelAt(img, 23, 17), ColorToRGB(clWindowText));
    EXPECT_NE(PixelAt(img, 40, 10), clRed);

    c.SetDisplayNames(false);
    {
        QPainter p(&img);
        c.DrawItem(p, QRect(0, 0, 150, 20), 12, false);
    }
    EXPECT_EQ(PixelAt(img, 140, 10), clBlue);
    EXPECT_EQ(PixelAt(img, 146, 10), ColorToRGB(clWindowText));
}

TEST(HtmlColors, RoundTripsThroughTheComboBox)
{
    TColorComboBox c;
    for (int i = 0; i < TColorComboBox::ColorCount; ++i) {
        c.SetColorValue(TColorComboBox::ListColor(i));
        const std::string html = ColorToHtml(c.ColorValue());
        TColor back = 0;
        ASSERT_TRUE(HtmlToColor(html, back));
        c.SetColorValue(back);
        EXPECT_EQ(c.currentIndex(), i) << html;
    }
    EXPECT_EQ(ColorToHtml(clRed), "#FF0000");
    EXPECT_EQ(ColorToHtml(clNavy), "#000080");
    EXPECT_EQ(ColorToHtml(0x00336699), "#996633");
    TColor color = 0;
    EXPECT_TRUE(HtmlToColor("#c0c0C0", color));
    EXPECT_EQ(color, clSilver);
    EXPECT_TRUE(HtmlToColor("0080ff", color));
    EXPECT_EQ(color, 0xFF8000u);
    EXPECT_FALSE(HtmlToColor("#12345", color));
    EXPECT_FALSE(HtmlToColor("#12345G", color));
    EXPECT_FALSE(HtmlToColor("", color));
}

TEST(FontComboBox, ListsInstalledFontsOnce)
{
    TFontComboBox f;
    const QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty());
    EXPECT_GT(f.count(), 0);
    EXPECT_LE(f.count(), families.size());
    for (int i = 1; i < f.count(); ++i)
        EXPECT_LE(CompareText(FromQString(f.itemText(i - 1)), FromQString(f.itemText(i))), 0);
    const int screen = f.count();
    f.SetDevice(TFontDevice::fdBoth);
    EXPECT_EQ(f.count(), screen);
    f.SetOptions(foOEMFontsOnly);
    EXPECT_EQ(f.count(), 0);
    f.SetOptions(0);
    f.SetTrueTypeOnly(true);
    for (int i = 0; i < f.count(); ++i)
        EXPECT_TRUE(f.FontType(i) & TFontComboBox::TrueTypeFont);
}

TEST(FontComboBox, NameMatchesInAnyCaseAndAnUnknownNameReadsEmpty)
{
    TFontComboBox f;
    ASSERT_GT(f.count(), 0);
    const std::string first = FromQString(f.itemText(0));
    int changes = 0;
    f.OnChange = [&](QObject*) { ++changes; };
    f.SetFontName(AnsiLowerCase(first));
    EXPECT_EQ(f.currentIndex(), 0);
    EXPECT_EQ(f.FontName(), first);
    EXPECT_EQ(changes, 1);
    f.SetFontName(first);
    EXPECT_EQ(changes, 1) << "the same name again changes nothing";

    f.SetFontName("Vellumix Missing Face");
    EXPECT_EQ(f.currentIndex(), -1);
    EXPECT_EQ(f.FontName(), "");
    EXPECT_EQ(changes, 2);
}

TEST(FontComboBox, ARebuildKeepsTheNameAndSignalsOnceWhenItIsLost)
{
    TFontComboBox f;
    ASSERT_GT(f.count(), 0);
    const std::string first = FromQString(f.itemText(0));
    f.SetFontName(first);
    int changes = 0;
    f.OnChange = [&](QObject*) { ++changes; };
    f.SetDevice(TFontDevice::fdBoth);
    EXPECT_EQ(f.FontName(), first);
    EXPECT_EQ(changes, 0);
    // No face here uses the OEM character set, so the list empties.
    f.SetOptions(foOEMFontsOnly);
    EXPECT_EQ(f.FontName(), "");
    EXPECT_EQ(changes, 1);
    f.SetOptions(0);
    EXPECT_EQ(f.FontName(), "");
    EXPECT_EQ(changes, 1);
}

TEST(FontComboBox, AChangeOfTheInstalledFontsRebuildsTheList)
{
    TFontComboBox f;
    ASSERT_GT(f.count(), 0);
    f.clear();
    emit qApp->fontDatabaseChanged();
    EXPECT_EQ(f.count(), QFontDatabase::families().size());
}

TEST(FontComboBox, ClickSignalsAfterTheClickEvent)
{
    TFontComboBox f;
    ASSERT_GT(f.count(), 0);
    std::string order;
    f.OnClick = [&](QObject*) { order += "click "; };
    f.OnChange = [&](QObject*) { order += "change"; };
    f.setCurrentIndex(-1);
    KeyDown(f, Qt::Key_Down);
    EXPECT_EQ(f.currentIndex(), 0);
    EXPECT_EQ(order, "click change");
    EXPECT_EQ(f.FontName(), FromQString(f.itemText(0)));
}

TEST(FontComboBox, PrinterFontsNeedAPrinter)
{
    TFontComboBox f;
    const int screenFonts = f.count();
    ASSERT_GT(screenFonts, 0);
    const bool havePrinter = !QPrinterInfo::availablePrinterNames().isEmpty();
    f.SetDevice(TFontDevice::fdPrinter);
    EXPECT_EQ(f.count(), havePrinter ? screenFonts : 0);
    f.SetDevice(TFontDevice::fdBoth);
    EXPECT_EQ(f.count(), screenFonts) << "each face once";
}

TEST(FontComboBox, PrinterFacesJoinTheScreenOnceAndDeviceFacesShowTheirPicture)
{
    QWidget window;
    auto* f = new TFontComboBox(&window);
    f->resize(200, 24);
    Activate(window);
    ASSERT_GT(f->count(), 0);
    const std::string screenFace = FromQString(f->itemText(0));
    const int screenFaces = f->count();
    f->PrinterFonts = [&] {
        return std::vector<TFontFace>{{"Printer Resident", TFontComboBox::DeviceFont, true, true},
                                      {screenFace, TFontComboBox::TrueTypeFont, true, false},
                                      {"Printer Symbols", TFontComboBox::DeviceFont, false, false}};
    };
    f->SetDevice(TFontDevice::fdPrinter);
    ASSERT_EQ(f->count(), 3);
    f->SetDevice(TFontDevice::fdBoth);
    EXPECT_EQ(f->count(), screenFaces + 2) << "a face on screen and printer is listed once";
    f->SetOptions(foAnsiOnly | foFixedPitchOnly);
    const int resident = f->findText("Printer Resident");
    ASSERT_GE(resident, 0);
    EXPECT_EQ(f->findText("Printer Symbols"), -1) << "the printer's faces pass the same filters";
    EXPECT_EQ(f->FontType(resident), TFontComboBox::DeviceFont);

    // The device picture stands at the left, its text after it; a face of no
    // kind leaves the picture's place empty.
    const QRect rect(0, 0, 200, 20);
    const auto draw = [&](int index) {
        QImage image(rect.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        f->DrawItem(painter, rect, index, false);
        return image;
    };
    const QImage device = draw(resident);
    const int top = (rect.height() - 12) / 2;
    EXPECT_EQ(PixelAt(device, 2 + 3, top + 1), 0x800000u) << "the device mark is drawn";
    f->PrinterFonts = [] { return std::vector<TFontFace>{{"Plain Printer Face", 0, true, true}}; };
    f->Rebuild();
    const int plain = f->findText("Plain Printer Face");
    ASSERT_GE(plain, 0);
    EXPECT_EQ(PixelAt(draw(plain), 2 + 3, top + 1), FromQColor(f->palette().color(QPalette::Base)));
}
