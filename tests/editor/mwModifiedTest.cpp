// The modified flag follows every change of the lines, recorded for undo or
// not; a whole-text load leaves it alone. The change count follows both.
#include "editor/mwCustomEditModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

TEST(TmwCustomEditModified, EveryChangeOfTheLinesButALoadSetsIt)
{
    using TChange = std::function<void(TmwCustomEditModel&)>;
    const std::pair<const char*, TChange> changes[] = {
        {"a line added", [](TmwCustomEditModel& m) { m.Lines().Add("new"); }},
        {"a line inserted", [](TmwCustomEditModel& m) { m.Lines().Insert(0, "new"); }},
        {"a line deleted", [](TmwCustomEditModel& m) { m.Lines().Delete(1); }},
        {"a line put", [](TmwCustomEditModel& m) { m.Lines().Put(0, "other"); }},
        {"the lines cleared", [](TmwCustomEditModel& m) { m.Lines().Clear(); }},
        {"the caret line set", [](TmwCustomEditModel& m) { m.SetLineText(" "); }},
        {"text typed", [](TmwCustomEditModel& m) { m.SetSelText("typed"); }},
    };
    for (const auto& [what, change] : changes) {
        TmwCustomEditModel model;
        model.SetText("one\r\ntwo");
        EXPECT_FALSE(model.Modified()) << "a load is no change of the user's";
        const std::uint64_t before = model.ChangeCount();
        change(model);
        EXPECT_TRUE(model.Modified()) << what;
        EXPECT_GT(model.ChangeCount(), before) << what;
    }
    TmwCustomEditModel model;
    const std::uint64_t before = model.ChangeCount();
    model.SetText("loaded");
    EXPECT_FALSE(model.Modified());
    EXPECT_GT(model.ChangeCount(), before) << "a load is counted all the same";
}
