// The calculator's panel, dialog and component: keys by click and keyboard,
// memory label, paste, OK in the error state and how the display words it,
// and Execute's result.
#include "controls/edits/RxCalc.h"
#include "localisation/RunTimeText.h"
#include "platform/Exception.h"
#include "platform/qt/QtText.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vx::test;

namespace {

void Press(TCalculatorPanel& panel, TCalcBtnKind kind)
{
    TCalcButton* button = panel.ButtonOfKind(kind);
    ASSERT_NE(button, nullptr);
    Click(*button, QPoint(3, 3));
}

void Type(QWidget& target, const QString& text)
{
    for (QChar c : text)
        KeyDown(target, 0, Qt::NoModifier, QString(c));
}

} // namespace

TEST(CalculatorPanel, LayoutsHoldTheirKeys)
{
    TCalculatorPanel dialog(nullptr, TCalcPanelLayout::clDialog);
    EXPECT_EQ(dialog.size(), QSize(240, 129));
    EXPECT_EQ(dialog.ButtonOfKind(cbEql)->geometry(), QRect(199, 104, 36, 22));
    EXPECT_EQ(dialog.ButtonOfKind(cbClr)->geometry(), QRect(191, 6, 44, 22));
    EXPECT_NE(dialog.ButtonOfKind(cbMC), nullptr);
    // Six keys show pictures instead of captions.
    EXPECT_EQ(dialog.ButtonOfKind(cbAdd)->Caption(), "");
    EXPECT_FALSE(dialog.ButtonOfKind(cbAdd)->Glyph().isNull());
    EXPECT_EQ(dialog.ButtonOfKind(cbDiv)->Caption(), "/");
    EXPECT_EQ(dialog.ButtonOfKind(cbDiv)->FontColor(), clPurple);
    EXPECT_EQ(dialog.ButtonOfKind(cbClr)->FontColor(), clMaroon);
    EXPECT_EQ(dialog.FindButton(19)->Kind(), cbEql);
    EXPECT_EQ(dialog.ButtonOfKind(cbOk)->Tag(), -1);

    dialog.SetCtl3D(false);
    EXPECT_EQ(dialog.ButtonOfKind(cbEql)->Style(), TRxButtonStyle::bsWin31);
    dialog.SetCtl3D(true);
    EXPECT_EQ(dialog.ButtonOfKind(cbEql)->Style(), TRxButtonStyle::bsNew);

    TCalculatorPanel popup(nullptr, TCalcPanelLayout::clPopup);
    EXPECT_EQ(popup.size(), QSize(98, 124));
    EXPECT_EQ(popup.ButtonOfKind(cbEql)->geometry(), QRect(52, 98, 44, 21));
    EXPECT_EQ(popup.ButtonOfKind(cbSqr), nullptr);
    EXPECT_EQ(popup.ButtonOfKind(cbAdd)->Caption(), "+");
    EXPECT_EQ(vx::ToQString(popup.ButtonOfKind(cbSgn)->Caption()), QString(QChar(0x00B1)));
}

TEST(CalculatorPanel, ClicksAndKeyboardDriveTheEngine)
{
    TCalculatorPanel panel(nullptr, TCalcPanelLayout::clDialog);
    QLabel display;
    panel.SetDisplayLabel(&display);
    int results = 0;
    panel.OnResult = [&](QObject*) { ++results; };
    Press(panel, TCalcBtnKind(cbNum0 + 7));
    Press(panel, cbMul);
    Press(panel, TCalcBtnKind(cbNum0 + 6));
    Press(panel, cbEql);
    EXPECT_EQ(display.text(), "42");
    EXPECT_EQ(results, 1);

    panel.CalcKeyPress(27);
    EXPECT_EQ(display.text(), "0");
    for (char k : std::string("2,5+1\r"))
        panel.CalcKeyPress(k);
    EXPECT_EQ(display.text(), "3.5");
    panel.CalcKeyPress('8');
    panel.CalcKeyPress('q');
    EXPECT_EQ(display.text(), QString::number(std::sqrt(8.0), 'g', 15));
}

TEST(CalculatorPanel, MemoryKeysAndLabel)
{
    TCalculatorPanel panel(nullptr, TCalcPanelLayout::clDialog);
    panel.CalcKeyPress('9');
    Press(panel, cbMS);
    EXPECT_EQ(panel.MemoryLabel()->text(), "M");
    Press(panel, cbMP);
    EXPECT_EQ(panel.Engine().Memory(), 18);
    panel.CalcKeyPress('C');
    Press(panel, cbMR);
    EXPECT_EQ(panel.Engine().Text(), "18");
    Press(panel, cbMC);
    EXPECT_EQ(panel.MemoryLabel()->text(), "");
}

TEST(CalculatorPanel, OkInTheErrorStateStays)
{
    TCalculatorPanel panel(nullptr, TCalcPanelLayout::clDialog);
    QLabel display;
    panel.SetDisplayLabel(&display);
    panel.Engine().BeepOnError = false;
    int oks = 0;
    panel.OnOk = [&](QObject*) { ++oks; };
    const TRunTimeLookup before =
        SetRunTimeLookup([](std::string_view english) { return "<" + std::string(english) + ">"; });
    for (char k : std::string("1/0="))
        panel.CalcKeyPress(k);
    SetRunTimeLookup(before);
    EXPECT_EQ(display.text(), "<Error>") << "the display says it in the program's language";
    Press(panel, cbOk);
    EXPECT_EQ(oks, 0);
    panel.CalcKeyPress('C');
    panel.CalcKeyPress('5');
    panel.CalcKeyPress('.');
    Press(panel, cbOk);
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(panel.Engine().Text(), "5");
}

TEST(CalculatorPanel, PasteReadsANumber)
{
    TCalculatorPanel panel(nullptr, TCalcPanelLayout::clDialog);
    QGuiApplication::clipboard()->setText(" $12.5 ");
    panel.Paste();
    EXPECT_EQ(panel.Engine().Text(), "12.5");
    panel.Copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "12.5");
    QGuiApplication::clipboard()->setText("twelve");
    EXPECT_THROW(panel.Paste(), EConvertError);
    EXPECT_EQ(panel.Engine().Text(), "12.5");
}

TEST(RxCalculator, OkTakesTheValueAndMemory)
{
    TRxCalculator calc;
    calc.Value = 12;
    int changes = 0;
    calc.OnChange = [&](QObject*) { ++changes; };
    QTimer::singleShot(0, [&] {
        TRxCalculatorForm* form = calc.Form();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->Display()->text(), "12");
        EXPECT_EQ(form->windowTitle(), "Calculator");
        // The first digit replaces the shown value.
        Type(*form, "3*2=");
        Click(*form->Panel()->ButtonOfKind(cbMS), QPoint(3, 3));
        // After a memory key the next operator has no number to act on.
        Type(*form, "+=");
        Click(*form->Panel()->ButtonOfKind(cbOk), QPoint(3, 3));
    });
    EXPECT_TRUE(calc.Execute());
    EXPECT_EQ(calc.Value, 6);
    EXPECT_EQ(calc.Memory(), 6);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(calc.Form(), nullptr);
}

TEST(RxCalculator, CancelKeepsValueAndMemory)
{
    TRxCalculator calc;
    calc.Title = "Sums";
    QTimer::singleShot(0, [&] {
        TRxCalculatorForm* form = calc.Form();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), "Sums");
        EXPECT_EQ(form->Display()->text(), "0");
        Type(*form, "77");
        Click(*form->Panel()->ButtonOfKind(cbMS), QPoint(3, 3));
        Click(*form->Panel()->ButtonOfKind(cbCancel), QPoint(3, 3));
    });
    EXPECT_FALSE(calc.Execute());
    EXPECT_EQ(calc.Value, 0);
    EXPECT_EQ(calc.Memory(), 0);
}

TEST(RxCalculator, CopyAndPasteShortcutsWorkWithoutTheMenu)
{
    TRxCalculatorForm form(nullptr, 0);
    Activate(form);
    Type(form, "12");
    QApplication::clipboard()->clear();
    KeyDown(form, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "12");
    QApplication::clipboard()->setText("345");
    KeyDown(form, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(form.Display()->text(), "345");
}
