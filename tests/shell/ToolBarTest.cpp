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

#include <string_view>

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
    for (const TMenuRow& row : MenuRows()) {
        if (!IsToolRow(row))
            continue;
        EXPECT_TRUE(ShowsAPicture(vx::shell::menu::DrawnToolButtonGlyph(row.Name))) << row.Name;
        const QImage shown = vx::shell::menu::ToolButtonGlyph(row.Name);
        EXPECT_EQ(shown.size(), QSize(vx::shell::menu::ToolGlyphSize, vx::shell::menu::ToolGlyphSize)) << row.Name;
    }
    EXPECT_TRUE(vx::shell::menu::ToolButtonGlyph("NoSuchButton").isNull());
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
