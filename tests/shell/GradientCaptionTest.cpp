// The main window's gradient caption bar: found by name at the window's top,
// showing the product title once the window has been activated.
#include "tests/shell/ShellFixture.h"

#include "controls/display/RxGrdCpt.h"

#include <QLayout>

using vx::test::ShellTest;

TEST_F(ShellTest, GradientCaptionShowsTheProductTitleAtTheTop)
{
    StartAndActivate();
    auto* bar = form->findChild<TRxGradientCaption*>("RxGradientCaption1");
    ASSERT_EQ(bar, form->RxGradientCaption1);
    EXPECT_EQ(bar->FormCaption(), ProductVersion);
    EXPECT_FALSE(bar->isHidden());
    ASSERT_NE(bar->parentWidget()->layout(), nullptr);
    EXPECT_EQ(bar->parentWidget()->layout()->indexOf(bar), 0) << "first in the window's column";
    EXPECT_GT(bar->sizeHint().height(), 0);

    bar->SetFormCaption("changed");
    form->FormActivate();
    EXPECT_EQ(bar->FormCaption(), ProductVersion) << "activation puts the title back";
}
