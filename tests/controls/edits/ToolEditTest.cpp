// The edit with a button and the date edit: ellipsis picture, popup
// placement, masks and date formats, reading and setting dates, keys, the
// drop-down calendar and the date dialog.
#include "controls/edits/ToolEdit.h"
#include "editor/qt/SysColors.h"
#include "localisation/FormatSettings.h"
#include "platform/Exception.h"
#include "platform/qt/QtText.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QProxyStyle>
#include <QStyle>
#include <QTimer>

#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

using namespace vx;
using namespace vx::test;

namespace {

// Day-first dates with "/" for the length of a test.
struct DayFirstLocale {
    TFormatSettings saved = FormatSettings();
    DayFirstLocale()
    {
        FormatSettings().ShortDateFormat = "dd/MM/yyyy";
        FormatSettings().DateSeparator = '/';
    }
    ~DayFirstLocale() { FormatSettings() = saved; }
};

} // namespace

TEST(ComboEditParts, EllipsisDotsSpacedThreeApart)
{
    QImage dots = EllipsisGlyph(20);
    ASSERT_EQ(dots.size(), QSize(14, 4));
    std::string row;
    for (int x = 0; x < 14; ++x)
        row += qRed(dots.pixel(x, 1)) == 0 ? '#' : '.';
    EXPECT_EQ(row, ".##...##...##.");
    EXPECT_EQ(qRed(dots.pixel(1, 0)), 255);
    EXPECT_EQ(qRed(dots.pixel(1, 2)), 0);
    EXPECT_EQ(EllipsisGlyph(3).width(), 1);
}

TEST(ComboEditParts, PopupOpensAboveWithoutRoomAndStaysOnScreen)
{
    const QSize screen(800, 600);
    const QSize edit(100, 21), popup(180, 120);
    EXPECT_EQ(PopupPosition(QPoint(300, 100), edit, popup, screen, TPopupAlign::epaRight), QPoint(220, 121));
    EXPECT_EQ(PopupPosition(QPoint(300, 100), edit, popup, screen, TPopupAlign::epaLeft), QPoint(300, 121));
    EXPECT_EQ(PopupPosition(QPoint(300, 550), edit, popup, screen, TPopupAlign::epaLeft), QPoint(300, 430));
    // Right alignment that would leave the screen on the left is undone.
    EXPECT_EQ(PopupPosition(QPoint(20, 100), edit, popup, screen, TPopupAlign::epaRight), QPoint(20, 121));
    // Left alignment past the right edge is shifted left.
    EXPECT_EQ(PopupPosition(QPoint(700, 100), edit, popup, screen, TPopupAlign::epaLeft), QPoint(620, 121));
}

TEST(ComboEditParts, MasksAndFormats)
{
    DayFirstLocale locale;
    const std::pair<std::string, QString> masks[] = {
        {"!99/99/9999;1; ", "00/00/0000; "},
        {"!9999/99/99;1;_", "0000/00/00;_"},
        {"!99\xE2\x82\xAC" "99;1;\xC2\xB7", QString::fromUtf8(u8"00\u20AC00;\u00B7")},  // € between, · as the blank
        {"\xE5\xB9\xB4" "99;0;_", QString::fromUtf8(u8"\u5E7400;_")},                    // 年
    };
    for (const auto& [mask, qt] : masks)
        EXPECT_EQ(QtInputMask(mask), qt) << mask;
    EXPECT_EQ(FormatDateFmt("DD/MM/YYYY", EncodeDate(2026, 3, 7)), "07/03/2026");
    EXPECT_EQ(FormatDateFmt("YY/MM/DD", EncodeDate(2005, 12, 31)), "05/12/31");
    FormatSettings().DateSeparator = '.';
    EXPECT_EQ(QtInputMask("!99/99/99;1; "), "00.00.00; ");
    EXPECT_EQ(FormatDateFmt("MM/DD/YYYY", EncodeDate(2026, 3, 7)), "03.07.2026");
}

TEST(ComboEdit, ButtonFollowsTheBorderAndTheMinimumHeightFollowsTheFont)
{
    QWidget window;
    auto* edit = new TComboEdit(&window);
    Activate(window);
    edit->setFrame(false);
    edit->resize(150, 25);
    EXPECT_EQ(edit->Button()->geometry(), QRect(150 - 21, 0, 21, 25)) << "without a border: the whole right edge";

    QFont small = edit->font();
    small.setPixelSize(8);
    edit->setFont(small);
    const int smallMinimum = edit->minimumHeight();
    QFont big = small;
    big.setPixelSize(40);
    edit->setFont(big);
    const int expected = std::min(QFontMetrics(QApplication::font()).height(), QFontMetrics(big).height()) + 5;
    EXPECT_EQ(edit->minimumHeight(), expected);
    EXPECT_GT(edit->minimumHeight(), smallMinimum);
    edit->resize(150, 1);
    EXPECT_EQ(edit->height(), expected) << "a resize below the minimum is raised to it";
    EXPECT_EQ(edit->Button()->height(), expected) << "the button keeps the edit's height";
}

TEST(ComboEditParts, ButtonSitsInsideTheBorderItHas)
{
    struct Row {
        bool border;
        bool ctl3d;
        QRect expected;
    };
    // 150 x 24 with a 21-pixel button: inside the 2-pixel sunken edge, inside
    // the 1-pixel flat line 2 pixels below the client area's top, or along the
    // whole right edge.
    for (const Row& row : {Row{true, true, QRect(127, 2, 21, 20)}, Row{true, false, QRect(128, 3, 21, 20)},
                           Row{false, true, QRect(129, 0, 21, 24)}, Row{false, false, QRect(129, 0, 21, 24)}})
        EXPECT_EQ(EditButtonRect(QSize(150, 24), 21, row.border, row.ctl3d), row.expected)
            << row.border << row.ctl3d;
}

TEST(ComboEdit, WithoutTheThreeDLookTheBorderIsOneFlatLineWithTheButtonInsideIt)
{
    QWidget window;
    auto* edit = new TComboEdit(&window);
    edit->resize(150, 24);
    edit->SetColor(clWhite);
    Activate(window);
    edit->SetCtl3D(false);
    EXPECT_EQ(edit->Button()->geometry(), QRect(128, 3, 21, 20));
    const QImage flat = Render(*edit);
    EXPECT_EQ(PixelAt(flat, 0, 12), ColorToRGB(clWindowFrame)) << "the line";
    EXPECT_EQ(PixelAt(flat, 1, 12), clWhite) << "no sunken edge inside it";
    EXPECT_EQ(PixelAt(flat, 60, 0), ColorToRGB(clWindowFrame));
    EXPECT_EQ(PixelAt(flat, 60, 1), clWhite);
    int clicks = 0;
    edit->OnButtonClick = [&](QObject*) { ++clicks; };
    Click(*edit->Button(), QPoint(5, 5));
    EXPECT_EQ(clicks, 1);

    edit->SetCtl3D(true);
    EXPECT_EQ(edit->Button()->geometry(), QRect(127, 2, 21, 20));
    edit->resize(200, 30);
    edit->SetCtl3D(false);
    EXPECT_EQ(edit->Button()->geometry(), QRect(178, 3, 21, 26)) << "the layout follows the size";
}

TEST(ComboEdit, ButtonLayoutAndClicks)
{
    QWidget window;
    auto* edit = new TComboEdit(&window);
    edit->resize(150, 24);
    Activate(window);
    EXPECT_EQ(edit->ButtonWidth(), 21);
    EXPECT_EQ(edit->Button()->geometry(), QRect(150 - 21 - 2, 2, 21, 20));
    EXPECT_EQ(edit->textMargins().right(), 23);

    edit->SetGlyphKind(TGlyphKind::gkEllipsis);
    EXPECT_EQ(edit->Glyph().size(), QSize(15, 4));
    int clicks = 0;
    edit->OnButtonClick = [&](QObject*) {
        ++clicks;
        edit->SetText("C:\\web\\index.asp");
    };
    Click(*edit->Button(), QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->Text(), "C:\\web\\index.asp");

    edit->setFocus();
    KeyDown(*edit, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(clicks, 2);

    edit->SetReadOnly(true);
    Click(*edit->Button(), QPoint(5, 5));
    EXPECT_EQ(clicks, 2);
    edit->SetReadOnly(false);
    edit->SetDirectInput(false);
    EXPECT_TRUE(edit->isReadOnly());
    Click(*edit->Button(), QPoint(5, 5));
    EXPECT_EQ(clicks, 3);

    edit->SetColor(clBlack);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(Qt::black));
    edit->SetButtonWidth(1);
    EXPECT_FALSE(edit->Button()->isVisible());
}

namespace {

// Columns left of the button that are dark over most of the edit's height: the caret of an empty edit.
int CaretColumns(TComboEdit& edit)
{
    const QImage image = Render(edit);
    int columns = 0;
    for (int x = 0; x < image.width() / 2; ++x) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            dark += qGray(image.pixel(x, y)) < 64;
        columns += dark > image.height() / 3;
    }
    return columns;
}

} // namespace

TEST(ComboEdit, CaretIsOnePixelWideOrTwoInABoldFont)
{
    QWidget window;
    auto* edit = new TComboEdit(&window);
    edit->resize(150, 24);
    Activate(window);
    EXPECT_EQ(edit->style()->pixelMetric(QStyle::PM_TextCursorWidth), 1);
    edit->setFocus();
    EXPECT_EQ(CaretColumns(*edit), 1);

    QFont bold = edit->font();
    bold.setBold(true);
    edit->setFont(bold);
    EXPECT_EQ(edit->style()->pixelMetric(QStyle::PM_TextCursorWidth), 2);
    edit->clearFocus();
    edit->setFocus();
    EXPECT_EQ(CaretColumns(*edit), 2);
    // The edit's style is its own, on the application's look.
    auto* own = qobject_cast<QProxyStyle*>(edit->style());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->baseStyle()->name(), QApplication::style()->name());
}

TEST(DateEdit, FourDigitMaskAndEmptyText)
{
    DayFirstLocale locale;
    TDateEdit edit;
    edit.SetYearDigits(TYearDigits::dyFour);
    EXPECT_EQ(edit.EditMask(), "!99/99/9999;1; ");
    EXPECT_EQ(edit.DateFormat(), "DD/MM/YYYY");
    EXPECT_EQ(edit.Date(), 0);
    edit.SetDefaultToday(true);
    EXPECT_EQ(edit.Date(), Date());
    EXPECT_EQ(edit.NumGlyphs(), 2);
    EXPECT_GE(edit.ButtonWidth(), 21);

    edit.SetYearDigits(TYearDigits::dyTwo);
    EXPECT_EQ(edit.EditMask(), "!99/99/99;1; ");
    EXPECT_EQ(edit.DateFormat(), "DD/MM/YY");
}

TEST(DateEdit, DatesBothWays)
{
    DayFirstLocale locale;
    TDateEdit edit;
    edit.SetYearDigits(TYearDigits::dyFour);
    edit.SetDate(EncodeDate(2026, 12, 7));
    EXPECT_EQ(edit.Text(), "07/12/2026");
    EXPECT_EQ(edit.Date(), EncodeDate(2026, 12, 7));
    EXPECT_TRUE(edit.isModified());

    edit.SetText("29/02/2004");
    EXPECT_EQ(edit.Date(), EncodeDate(2004, 2, 29));
    edit.SetText("29/02/2005");
    EXPECT_EQ(edit.Date(), 0);
    edit.SetText("31/02/2001");
    EXPECT_EQ(edit.Date(), 0);
    EXPECT_THROW(edit.CheckValidDate(), EConvertError);
    edit.SetDate(0);
    EXPECT_EQ(edit.Date(), 0);
    EXPECT_NO_THROW(edit.CheckValidDate());

    // A change of the year digits keeps the date.
    edit.SetDate(EncodeDate(2005, 6, 1));
    edit.SetYearDigits(TYearDigits::dyTwo);
    EXPECT_EQ(edit.Text(), "01/06/05");
    EXPECT_EQ(edit.Date(), EncodeDate(2005, 6, 1));
}

TEST(DateEdit, MonthFirstAndYearFirstOrders)
{
    TFormatSettings saved = FormatSettings();
    FormatSettings().DateSeparator = '-';
    FormatSettings().ShortDateFormat = "M-d-yyyy";
    {
        TDateEdit edit;
        edit.SetYearDigits(TYearDigits::dyFour);
        EXPECT_EQ(edit.DateFormat(), "MM/DD/YYYY");
        edit.SetDate(EncodeDate(2026, 3, 7));
        EXPECT_EQ(edit.Text(), "03-07-2026");
        EXPECT_EQ(edit.Date(), EncodeDate(2026, 3, 7));
    }
    FormatSettings().ShortDateFormat = "yyyy-MM-dd";
    {
        TDateEdit edit;
        edit.SetYearDigits(TYearDigits::dyFour);
        EXPECT_EQ(edit.EditMask(), "!9999/99/99;1; ");
        edit.SetDate(EncodeDate(1999, 11, 30));
        EXPECT_EQ(edit.Text(), "1999-11-30");
        EXPECT_EQ(edit.Date(), EncodeDate(1999, 11, 30));
    }
    FormatSettings() = saved;
}

TEST(DateEdit, KeysMoveTheDate)
{
    DayFirstLocale locale;
    QWidget window;
    auto* edit = new TDateEdit(&window);
    Activate(window);
    edit->setFocus();
    edit->SetYearDigits(TYearDigits::dyFour);
    KeyDown(*edit, Qt::Key_Plus, Qt::KeypadModifier, "+");
    EXPECT_EQ(edit->Date(), Date() + 1);
    edit->SetDate(EncodeDate(2026, 3, 1));
    KeyDown(*edit, Qt::Key_Minus, Qt::KeypadModifier, "-");
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 2, 28));
    KeyDown(*edit, Qt::Key_Minus, Qt::NoModifier, "-");
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 2, 28));
    KeyDown(*edit, Qt::Key_T, Qt::NoModifier, "t");
    EXPECT_EQ(edit->Date(), Date());
}

TEST(DateEdit, GlyphKindDecidesTheGlyphCount)
{
    TDateEdit edit;
    edit.SetNumGlyphs(1);
    EXPECT_EQ(edit.NumGlyphs(), 2);
    edit.SetGlyphKind(TGlyphKind::gkEllipsis);
    edit.SetNumGlyphs(3);
    EXPECT_EQ(edit.NumGlyphs(), 1);
    edit.SetGlyphKind(TGlyphKind::gkCustom);
    edit.SetNumGlyphs(3);
    EXPECT_EQ(edit.NumGlyphs(), 3);
}

TEST(DateEdit, CalendarHintsKeepFourLines)
{
    TDateEdit edit;
    for (const char* s : {"a", "b", "c", "d", "e", "f"})
        edit.CalendarHints().Add(s);
    EXPECT_EQ(edit.CalendarHints().Count(), 4);
    EXPECT_EQ(edit.CalendarHints()[3], "d");
}

TEST(DateEdit, TextIsReadOnlyWhileThePopupIsOpen)
{
    DayFirstLocale locale;
    QWidget window;
    window.resize(300, 200);
    auto* edit = new TDateEdit(&window);
    edit->SetYearDigits(TYearDigits::dyFour);
    edit->SetDate(EncodeDate(2026, 1, 31));
    Activate(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_FALSE(edit->isReadOnly());

    MousePress(*edit->Button(), QPoint(5, 5));
    MouseRelease(*edit->Button(), QPoint(5, 5));
    ASSERT_TRUE(edit->PopupVisible());
    EXPECT_TRUE(edit->isReadOnly()) << "no typing, and no caret, while the calendar is open";
    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 1, 31));
}

TEST(DateEdit, PopupCalendarDayNamesFitTheirCellsInItsSmallFont)
{
    TPopupCalendar popup(nullptr);
    EXPECT_EQ(popup.font().pointSize(), 8);
    TLocCalendar& calendar = *popup.Calendar();
    const QFontMetrics metrics(calendar.font());
    for (int col = 0; col < 7; ++col)
        EXPECT_LE(metrics.horizontalAdvance(ToQString(calendar.CellText(col, 0))), calendar.CellRect(col, 0).width())
            << calendar.CellText(col, 0);
}

TEST(DateEdit, PopupAcceptsOnEnterAndKeepsOnEscape)
{
    DayFirstLocale locale;
    QWidget window;
    window.resize(300, 200);
    auto* edit = new TDateEdit(&window);
    Activate(window);
    edit->setFocus();
    edit->SetYearDigits(TYearDigits::dyFour);
    edit->SetDate(EncodeDate(2026, 1, 31));

    KeyDown(*edit, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(edit->PopupVisible());
    auto* popup = dynamic_cast<TPopupCalendar*>(edit->Popup());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Calendar()->CalendarDate(), EncodeDate(2026, 1, 31));
    EXPECT_EQ(popup->Title()->text(), "January, 2026");
    KeyDown(*edit, Qt::Key_PageDown);
    EXPECT_EQ(popup->Calendar()->CalendarDate(), EncodeDate(2026, 2, 28));
    EXPECT_EQ(popup->Title()->text(), "February, 2026");
    KeyDown(*edit, Qt::Key_Escape);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 1, 31));

    KeyDown(*edit, Qt::Key_Down, Qt::AltModifier);
    KeyDown(*edit, Qt::Key_PageDown, Qt::ControlModifier);
    KeyDown(*edit, Qt::Key_Right);
    KeyDown(*edit, Qt::Key_Return);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Date(), EncodeDate(2027, 2, 1));

    // The accept handler may refuse the picked date.
    edit->OnAcceptDate = [](QObject*, TDateTime&, bool& action) { action = false; };
    KeyDown(*edit, Qt::Key_Down, Qt::AltModifier);
    KeyDown(*edit, Qt::Key_Right);
    KeyDown(*edit, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(edit->Date(), EncodeDate(2027, 2, 1));
}

TEST(DateEdit, DialogStyleRunsTheDateDialog)
{
    DayFirstLocale locale;
    QWidget window;
    auto* edit = new TDateEdit(&window);
    Activate(window);
    edit->SetYearDigits(TYearDigits::dyFour);
    edit->SetCalendarStyle(TCalendarStyle::csDialog);
    EXPECT_EQ(edit->Popup(), nullptr);
    edit->SetDate(EncodeDate(2004, 2, 29));
    edit->CalendarHints().Add("");
    edit->CalendarHints().Add("Back a month");
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<TSelectDateDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Select a Date");
        EXPECT_EQ(dialog->TitleLabel()->text(), "February, 2004");
        EXPECT_EQ(dialog->StepButton(skPrevMonth)->toolTip(), "Back a month");
        EXPECT_EQ(dialog->StepButton(skPrevYear)->toolTip(), "Previous Year");
        Click(*dialog->StepButton(skNextYear), QPoint(3, 3));
        EXPECT_EQ(dialog->TitleLabel()->text(), "February, 2005");
        KeyDown(*dialog, Qt::Key_Return);
    });
    edit->Button()->ButtonClick();
    EXPECT_EQ(edit->Date(), EncodeDate(2005, 2, 28));

    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<TSelectDateDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        KeyDown(*dialog, Qt::Key_Tab);
        KeyDown(*dialog, Qt::Key_Escape);
    });
    edit->Button()->ButtonClick();
    EXPECT_EQ(edit->Date(), EncodeDate(2005, 2, 28));
}

TEST(DateEdit, TwoDigitYearsLieInTheCurrentCenturyUnlessPastTheWindow)
{
    DayFirstLocale locale;
    TDateEdit edit;
    edit.SetYearDigits(TYearDigits::dyTwo);
    const int now = CurrentYear();
    const int century = now - now % 100;
    for (int yy : {0, 5, 57, 99}) {
        char text[16];
        std::snprintf(text, sizeof text, "01/01/%02d", yy);
        edit.SetText(text);
        // The next century only for years up to the current two-digit year + 30 - 100.
        const int year = yy > now % 100 + 30 - 100 ? century + yy : century + 100 + yy;
        EXPECT_EQ(edit.Date(), EncodeDate(year, 1, 1)) << text;
    }
}

TEST(DateEdit, RegionalSettingsChangeRebuildsTheFormatKeepingTheDate)
{
    TFormatSettings saved = FormatSettings();
    FormatSettings().ShortDateFormat = "M/d/yyyy";
    FormatSettings().DateSeparator = '/';
    {
        TDateEdit edit;
        edit.SetYearDigits(TYearDigits::dyFour);
        edit.SetDate(EncodeDate(2026, 3, 7));
        EXPECT_EQ(edit.Text(), "03/07/2026");
        FormatSettings().ShortDateFormat = "dd.MM.yyyy";
        QEvent change(QEvent::LocaleChange);
        QApplication::sendEvent(&edit, &change);
        EXPECT_EQ(edit.DateFormat(), "DD/MM/YYYY");
        EXPECT_EQ(edit.Text(), "07/03/2026");
        EXPECT_EQ(edit.Date(), EncodeDate(2026, 3, 7));
    }
    FormatSettings() = saved;
}
