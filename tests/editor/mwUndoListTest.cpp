#include "editor/mwUndoList.h"

#include <gtest/gtest.h>

TEST(TUndoList, KeepsTheNewestRecordsUpToItsLimit)
{
    TUndoList list;
    EXPECT_EQ(list.MaxUndo(), 10);
    list.SetMaxUndo(2);
    for (int i = 1; i <= 3; ++i)
        list.AddChange(mwcrInsert, Point(i, 1), Point(i + 1, 1), std::to_string(i), smNormal);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(0).text, "2");

    list.SetMaxUndo(1);
    ASSERT_EQ(list.Count(), 1) << "lowering the limit drops the oldest at once";
    TChangeRecord rec;
    EXPECT_EQ(list.GetChange(rec), mwcrInsert);
    EXPECT_EQ(rec.text, "3");
    EXPECT_EQ(rec.start, Point(3, 1));
    EXPECT_EQ(list.GetChange(rec), mwcrNone);
    EXPECT_EQ(rec.text, "3") << "an empty list leaves the record alone";
    EXPECT_EQ(list.LastChangeReason(), mwcrNone);
}

TEST(TUndoList, ZeroLimitKeepsNothingButStillReportsTheChange)
{
    TUndoList list;
    int reported = 0;
    list.OnAddedChange = [&](TUndoList*) { ++reported; };
    list.SetMaxUndo(0);
    list.AddChange(mwcrDelete, Point(1, 1), Point(1, 1), "x", smNormal);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(reported, 1);
    list.SetMaxUndo(-3);
    EXPECT_EQ(list.MaxUndo(), 0);
}

TEST(TUndoList, LockedListIgnoresChanges)
{
    TUndoList list;
    int reported = 0;
    list.OnAddedChange = [&](TUndoList*) { ++reported; };
    list.LockUndo();
    list.AddChange(mwcrDelete, Point(1, 1), Point(1, 1), "x", smNormal);
    list.UnLockUndo();
    list.AddChange(mwcrLineBreak, Point(1, 1), Point(1, 1), "", smColumn);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(list.LastChangeReason(), mwcrLineBreak);
    list.ClearList();
    EXPECT_TRUE(list.Empty());
}
