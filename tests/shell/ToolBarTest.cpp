// The main window's tool bar as a user sees it in a window 1,000 pixels wide:
// every button of every section on the bar, side by side, each with a picture
// and its hint; a disabled command says why.
#include "tests/shell/ShellFixture.h"

#include "controls/speedbar/SpeedBar.h"
#include "platform/qt/QtText.h"
#include "shell/qt/menu/MenuBuilder.h"
#include "shell/menu/MenuTable.h"
#include "shell/qt/menu/ToolBarGlyphs.h"

#include <QHelpEvent>
#include <QStatusBar>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

namespace vx::test {
namespace {

using vx::shell::menu::MenuRows;
using vx::shell::menu::TMenuRow;

bool IsToolRow(const TMenuRow& row)
{
    return std::string_view(row.Parent).starts_with(vx::shell::menu::ToolBarPrefix);
}

// Pixels that are neither clear nor one flat colour: a picture, not a blank.
bool ShowsAPicture(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QRgb first = 0;
    bool any = false, varied = false;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            if (qAlpha(p) < 128)
                continue;
            varied |= any && p != first;
            first = any ? first : p;
            any = true;
        }
    return any && varied;
}

TEST(ToolBarGlyphs, EveryToolButtonHasADrawnPictureWhateverTheThemeHas)
{
    using vx::shell::menu::ToolGlyphSize;
    for (const TMenuRow& row : MenuRows()) {
        if (!IsToolRow(row))
            continue;
        EXPECT_TRUE(ShowsAPicture(vx::shell::menu::DrawnToolButtonGlyph(row.Name))) << row.Name;
        const QImage shown = vx::shell::menu::ToolButtonGlyph(row.Name);
        EXPECT_EQ(shown.size(), QSize(2 * ToolGlyphSize, ToolGlyphSize)) << row.Name << ": enabled and disabled";
        EXPECT_TRUE(ShowsAPicture(shown.copy(ToolGlyphSize, 0, ToolGlyphSize, ToolGlyphSize))) << row.Name;
    }
    EXPECT_TRUE(vx::shell::menu::ToolButtonGlyph("NoSuchButton").isNull());
}

// How far apart the brightest and the darkest quarter of the enabled
// picture's pixels lie in brightness, in the picture given (the enabled one
// or the one a state shows in its place).
int Contrast(const QImage& enabled, const QImage& shown)
{
    std::vector<std::pair<int, QPoint>> byBrightness;
    for (int y = 0; y < enabled.height(); ++y)
        for (int x = 0; x < enabled.width(); ++x)
            if (qAlpha(enabled.pixel(x, y)) == 255)
                byBrightness.emplace_back(qGray(enabled.pixel(x, y)), QPoint(x, y));
    std::sort(byBrightness.begin(), byBrightness.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    const std::size_t quarter = byBrightness.size() / 4;
    if (quarter == 0)
        return 0;
    long dark = 0, light = 0;
    for (std::size_t i = 0; i < quarter; ++i) {
        dark += qGray(shown.pixel(byBrightness[i].second));
        light += qGray(shown.pixel(byBrightness[byBrightness.size() - 1 - i].second));
    }
    return static_cast<int>((light - dark) / static_cast<long>(quarter));
}

// Where the picture stands in the painted button: every opaque pixel of it
// matches there; (-1, -1) when it stands nowhere.
QPoint PlaceOfPicture(const QImage& painted, const QImage& picture)
{
    for (int top = 0; top + picture.height() <= painted.height(); ++top)
        for (int left = 0; left + picture.width() <= painted.width(); ++left) {
            bool same = true;
            for (int y = 0; y < picture.height() && same; ++y)
                for (int x = 0; x < picture.width() && same; ++x)
                    same = qAlpha(picture.pixel(x, y)) < 255 ||
                           (painted.pixel(left + x, top + y) | 0xFF000000u) == (picture.pixel(x, y) | 0xFF000000u);
            if (same)
                return {left, top};
        }
    return {-1, -1};
}

bool Grey(QRgb pixel)
{
    return std::abs(qRed(pixel) - qGreen(pixel)) <= 8 && std::abs(qGreen(pixel) - qBlue(pixel)) <= 8;
}

// A disabled tool button shows its own picture in greys: the letters of a
// drawn mark stay readable on their frame, as the shapes of a theme's icon do.
TEST_F(ShellTest, ADisabledToolButtonShowsItsPictureGreyed)
{
    StartAndActivate();
    form->resize(1000, 700);
    form->show();
    QApplication::processEvents();
    int disabled = 0;
    for (const TMenuRow& row : MenuRows()) {
        TSpeedItem* item = IsToolRow(row) ? form->SpeedBar1->FindItemByName(row.Name) : nullptr;
        if (!item || item->Enabled() || !item->Button()->isVisible())
            continue;
        ++disabled;
        TSpeedbarButton& button = *item->Button();
        const QImage painted = button.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage picture = button.ButtonGlyph().GlyphFor(rbsDisabled).convertToFormat(QImage::Format_ARGB32);
        const QImage enabled = button.ButtonGlyph().GlyphFor(rbsUp).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(picture.size(), enabled.size()) << row.Name;
        EXPECT_NE(PlaceOfPicture(painted, picture), QPoint(-1, -1)) << row.Name << ": the button paints its picture";
        const int before = Contrast(enabled, enabled), after = Contrast(enabled, picture);
        EXPECT_GE(after * 3, before) << row.Name << ": the light and dark parts of the picture keep apart, " << after
                                     << " of " << before;
        int coloured = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                coloured += qAlpha(picture.pixel(x, y)) == 255 && !Grey(picture.pixel(x, y));
        EXPECT_EQ(coloured, 0) << row.Name << ": coloured pixels in the disabled picture";
    }
    EXPECT_GE(disabled, 3) << "the style-sheet editor buttons, disabled without a style-sheet editor";
}

TEST_F(ShellTest, EverySectionOfTheToolBarFitsAThousandPixelWindowWithPicturesAndHints)
{
    StartAndActivate();
    form->resize(1000, 700);
    form->show();
    QApplication::processEvents();
    TSpeedBar* bar = form->SpeedBar1;
    std::vector<QRect> taken;
    int lastSection = -1, shownButtons = 0;
    for (const TMenuRow& row : MenuRows()) {
        if (!IsToolRow(row) || (row.Flags & vx::shell::menu::rfHidden))
            continue;
        TSpeedItem* item = bar->FindItemByName(row.Name);
        ASSERT_NE(item, nullptr) << row.Name;
        QWidget* button = item->Button();
        EXPECT_TRUE(button->isVisible()) << row.Name;
        const QRect onWindow(button->mapTo(form.get(), QPoint(0, 0)), button->size());
        EXPECT_TRUE(form->rect().contains(onWindow)) << row.Name << " lies outside the window";
        EXPECT_TRUE(bar->rect().contains(button->geometry())) << row.Name << " lies outside the bar";
        for (const QRect& other : taken)
            EXPECT_FALSE(other.intersects(button->geometry())) << row.Name << " covers another button";
        taken.push_back(button->geometry());
        EXPECT_TRUE(ShowsAPicture(item->Glyph())) << row.Name;
        EXPECT_TRUE(item->Hint().starts_with(row.Caption)) << row.Name << ": " << item->Hint();
        EXPECT_GE(item->SectionIndex(), lastSection) << row.Name << ": sections follow in their order";
        lastSection = item->SectionIndex();
        ++shownButtons;
    }
    EXPECT_GT(shownButtons, 50);
    EXPECT_EQ(lastSection + 1, bar->SectionCount());
}

// A disabled command tells why: in its tooltip, and in the status bar while
// the mouse is on its menu item.
TEST_F(ShellTest, ADisabledCommandSaysWhyInItsTooltipAndTheStatusBar)
{
    StartAndActivate();
    form->show();
    QApplication::processEvents();
    auto* item = form->findChild<QAction*>("Gatewayinterface1");
    ASSERT_NE(item, nullptr);
    ASSERT_FALSE(item->isEnabled());
    const QString reason = item->property(vx::shell::menu::DisabledReason).toString();
    ASSERT_FALSE(reason.isEmpty());
    EXPECT_TRUE(item->toolTip().contains(reason)) << item->toolTip().toStdString();
    EXPECT_TRUE(item->statusTip().contains(reason)) << item->statusTip().toStdString();

    // On the tool bar: the disabled style-sheet editor button's tooltip.
    TSpeedItem* button = form->SpeedBar1->FindItemByName("Editstyleinselectedpartoftext1");
    ASSERT_NE(button, nullptr);
    ASSERT_FALSE(button->Enabled());
    const auto* command = form->findChild<QAction*>("Editstyleinselectedpartoftext1");
    ASSERT_NE(command, nullptr);
    const std::string why = vx::FromQString(command->property(vx::shell::menu::DisabledReason).toString());
    ASSERT_FALSE(why.empty());
    EXPECT_NE(button->Hint().find("(" + why + ")"), std::string::npos) << button->Hint();

    // An item enabled later loses the reason again.
    auto* assistant = form->findChild<QAction*>("VellumixAssistant1");
    ASSERT_TRUE(assistant && assistant->isEnabled());
    EXPECT_EQ(assistant->statusTip(), QString());
}

} // namespace
} // namespace vx::test
