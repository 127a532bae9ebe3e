// Option objects: change notification, clamping, gutter measuring and line numbers.
#include "editor/mwSupportClasses.h"

#include <gtest/gtest.h>

namespace {


struct GutterFixture : ::testing::Test {
    TmwGutter gutter;
    int changes = 0;
    void SetUp() override
    {
        gutter.OnChange = [this](TmwGutter* sender) {
            EXPECT_EQ(sender, &gutter);
            ++changes;
        };
    }
};

} // namespace

TEST_F(GutterFixture, SettersNotifyOnlyOnChangeAndClamp)
{
    gutter.SetColor(clBtnFace);
    gutter.SetWidth(30);
    EXPECT_EQ(changes, 0);
    gutter.SetWidth(-5);
    EXPECT_EQ(gutter.Width(), 0);
    gutter.SetLeftOffset(-1);
    gutter.SetRightOffset(-1);
    EXPECT_EQ(gutter.LeftOffset(), 0);
    EXPECT_EQ(gutter.RightOffset(), 0);
    EXPECT_EQ(changes, 3);
    gutter.SetCursor(5); // a plain field
    EXPECT_EQ(changes, 3);
}

TEST_F(GutterFixture, DigitCountIsClampedAndResetsCurrentCount)
{
    gutter.SetDigitCount(20);
    EXPECT_EQ(gutter.DigitCount(), 12);
    EXPECT_EQ(gutter.AutoSizeDigits(), 12);
    gutter.SetDigitCount(1);
    EXPECT_EQ(gutter.DigitCount(), 2);
    EXPECT_EQ(changes, 2);
    gutter.SetDigitCount(0);
    EXPECT_EQ(changes, 2);
}

TEST_F(GutterFixture, AutoSizeWidensOnlyWhenAllThreeFlagsAreSet)
{
    gutter.SetDigitCount(2);
    gutter.AutoSizeDigitCount(12345);
    EXPECT_EQ(gutter.AutoSizeDigits(), 2);
    gutter.SetAutoSize(true);
    gutter.SetShowLineNumbers(true);
    changes = 0;
    gutter.AutoSizeDigitCount(12345);
    EXPECT_EQ(gutter.AutoSizeDigits(), 5);
    EXPECT_EQ(changes, 1);
    gutter.AutoSizeDigitCount(99999);
    EXPECT_EQ(changes, 1);
    gutter.AutoSizeDigitCount(3);
    EXPECT_EQ(gutter.AutoSizeDigits(), 2);
    gutter.SetZeroStart(true);
    gutter.AutoSizeDigitCount(100); // lines 0..99
    EXPECT_EQ(gutter.AutoSizeDigits(), 2);
    gutter.SetZeroStart(false);
    gutter.AutoSizeDigitCount(100);
    EXPECT_EQ(gutter.AutoSizeDigits(), 3);
    gutter.SetVisible(false);
    gutter.AutoSizeDigitCount(100);
    EXPECT_EQ(gutter.AutoSizeDigits(), 2);
}

TEST_F(GutterFixture, FormatLineNumber)
{
    EXPECT_EQ(gutter.FormatLineNumber(7), "   7");
    gutter.SetLeadingZeros(true);
    EXPECT_EQ(gutter.FormatLineNumber(7), "0007");
    EXPECT_EQ(gutter.FormatLineNumber(123456), "123456"); // never cut
    gutter.SetZeroStart(true);
    EXPECT_EQ(gutter.FormatLineNumber(1), "0000");
    gutter.SetLeadingZeros(false);
    EXPECT_EQ(gutter.FormatLineNumber(1), "   0");
}

TEST_F(GutterFixture, RealGutterWidth)
{
    EXPECT_EQ(gutter.RealGutterWidth(8), 30);
    gutter.SetShowLineNumbers(true);
    EXPECT_EQ(gutter.RealGutterWidth(8), 16 + 2 + 4 * 8 + 2);
    gutter.SetVisible(false);
    EXPECT_EQ(gutter.RealGutterWidth(8), 0);
}

TEST_F(GutterFixture, AssignCopiesEverythingAndNotifiesOnce)
{
    TmwGutter other;
    int otherChanges = 0;
    other.OnChange = [&](TmwGutter*) { ++otherChanges; };
    other.SetDigitCount(3);
    other.SetShowLineNumbers(true);
    other.SetAutoSize(true);
    other.AutoSizeDigitCount(123456);
    other.SetColor(clRed);
    other.SetCursor(7);
    other.SetLeadingZeros(true);
    otherChanges = 0;

    gutter.Assign(other);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(otherChanges, 0); // the handler stays with its object
    EXPECT_EQ(gutter.DigitCount(), 3);
    EXPECT_EQ(gutter.AutoSizeDigits(), 6);
    EXPECT_EQ(gutter.Color(), clRed);
    EXPECT_EQ(gutter.Cursor(), 7);
    EXPECT_TRUE(gutter.LeadingZeros());
    EXPECT_EQ(gutter.FormatLineNumber(5), "000005");
}

TEST(SelectedColor, DefaultsAndNotification)
{
    TmwSelectedColor colors;
    EXPECT_EQ(colors.Background(), clHighlight);
    EXPECT_EQ(colors.Foreground(), clHighlightText);
    int changes = 0;
    colors.OnChange = [&](TmwSelectedColor*) { ++changes; };
    colors.SetBackground(clHighlight);
    colors.SetForeground(clBlack);
    colors.SetForeground(clBlack);
    EXPECT_EQ(changes, 1);
}

TEST(BookMarkOpt, DefaultsAndNotification)
{
    TmwBookMarkOpt options(nullptr);
    EXPECT_TRUE(options.EnableKeys());
    EXPECT_TRUE(options.GlyphsVisible());
    EXPECT_EQ(options.LeftMargin(), 2);
    EXPECT_EQ(options.Xoffset(), 12);
    int changes = 0;
    options.OnChange = [&](TmwBookMarkOpt*) { ++changes; };
    options.SetEnableKeys(false); // a plain field
    options.SetLeftMargin(2);
    options.SetXoffset(20);
    options.SetGlyphsVisible(false);
    options.SetBookmarkImages(reinterpret_cast<TImageList*>(&changes));
    EXPECT_EQ(changes, 3);
}
