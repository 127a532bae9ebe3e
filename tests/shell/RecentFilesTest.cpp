#include "controls/stores/MRUList.h"
#include "platform/Exception.h"
#include "tests/shell/ShellFixture.h"

#include <QMenu>

using vx::test::ShellTest;

TEST_F(ShellTest, RecentFilesSurviveARestart)
{
    const std::string a = WriteDoc("a.asp", "a\r\n");
    const std::string b = WriteDoc("b.htm", "b\r\n");
    StartAndActivate();
    Focus(form->SlotEditor(1));
    form->OpenDocumentInFreeSlot(a, false);
    form->OpenDocumentInFreeSlot(b, false);
    form.reset();

    Start();
    EXPECT_EQ(form->mru->Strings().Count(), 0) << "read when the window is shown";
    Focus(form->SlotEditor(1));
    ASSERT_EQ(form->mru->Strings().Count(), 2);
    EXPECT_EQ(form->mru->Strings()[0], b) << "the newest first";
    EXPECT_EQ(form->mru->Strings()[1], a);
    EXPECT_TRUE(form->ReOpen1->isEnabled());
    EXPECT_EQ(form->ReOpen1->actions().size(), 2);
}

TEST_F(ShellTest, AFailedOpenAddsNoRecentFile)
{
    StartAndActivate();
    Focus(form->SlotEditor(1));
    const std::string before = Text(form->SlotEditor(1));
    form->OpenDocumentInFreeSlot(docs.file("missing.asp"), false);
    // A regular file whose reading fails.
    EXPECT_THROW(form->OpenDocumentInFreeSlot("/proc/self/mem", false), Exception);
    EXPECT_EQ(form->mru->Strings().Count(), 0);
    EXPECT_FALSE(form->ReOpen1->isEnabled());
    EXPECT_EQ(form->SlotFileName(1), "") << "the slot stays free";
    EXPECT_EQ(Text(form->SlotEditor(1)), before) << "and keeps its text";

    form.reset();
    Start();
    Focus(form->SlotEditor(1));
    EXPECT_EQ(form->mru->Strings().Count(), 0) << "nothing stored either";
}
