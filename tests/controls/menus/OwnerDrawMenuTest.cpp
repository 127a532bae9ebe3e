#include "controls/menus/OwnerDrawMenu.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPainter>

#include <map>

namespace {

struct MenuFixture : ::testing::Test {
    MenuFixture()
    {
        file = bar.addMenu("&File");
        open = file->addAction("&Open");
        save = file->addAction("&Save");
        save->setEnabled(false);
        recent = file->addMenu("Recent");
        recent->addAction("one.htm");
    }

    TitaMenu bar;
    QMenu* file;
    QAction* open;
    QAction* save;
    QMenu* recent;
};

} // namespace

TEST_F(MenuFixture, StyleSwitchesEveryMenu)
{
    EXPECT_EQ(bar.Style(), msStandard);
    EXPECT_EQ(file->style(), QApplication::style());
    bar.SetStyle(msOwnerDraw);
    EXPECT_NE(file->style(), QApplication::style());
    EXPECT_EQ(recent->style(), file->style()) << "sub-menus are owner-drawn too";

    QMenu* later = bar.addMenu("Help");
    EXPECT_EQ(later->style(), QApplication::style());
    bar.Loaded();
    EXPECT_EQ(later->style(), file->style());

    bar.SetStyle(msStandard);
    EXPECT_EQ(file->style(), QApplication::style());
    EXPECT_EQ(recent->style(), QApplication::style());
}

TEST_F(MenuFixture, EventsMeasureAndDrawItems)
{
    std::map<QString, unsigned> drawn;
    bar.OnDrawItem = [&](QObject* sender, QAction* item, QPainter& canvas, QRect rect, unsigned state) {
        EXPECT_EQ(sender, &bar);
        EXPECT_EQ(canvas.pen().style(), Qt::NoPen);
        canvas.fillRect(rect, Qt::red);
        drawn[item->text()] = state;
    };
    bar.OnMeasureItem = [&](QObject*, QAction* item, QPainter&, int& width, int& height) {
        if (item == open)
            height = 40;
        width = 150;
    };
    const int standardHeight = file->sizeHint().height();
    file->grab();
    EXPECT_TRUE(drawn.empty()) << "the standard style draws itself";

    bar.SetStyle(msOwnerDraw);
    EXPECT_GT(file->sizeHint().height(), standardHeight);
    EXPECT_GE(file->sizeHint().width(), 150);
    file->setActiveAction(open);
    const QImage image = file->grab().toImage();
    ASSERT_TRUE(drawn.count("&Open"));
    EXPECT_TRUE(drawn["&Open"] & odSelected);
    EXPECT_EQ(drawn["&Save"], unsigned(odGrayed | odDisabled));
    const QRect openRect = file->actionGeometry(open);
    EXPECT_EQ(openRect.height(), 40);
    EXPECT_EQ(image.pixel(openRect.center()), qRgb(255, 0, 0));

    drawn.clear();
    bar.SetStyle(msStandard);
    file->grab();
    EXPECT_TRUE(drawn.empty());
}
