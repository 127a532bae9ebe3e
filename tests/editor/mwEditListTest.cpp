#include "editor/mwEditList.h"
#include "platform/TextShape.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sstream>
#include <string>
#include <vector>

namespace {

// Records every callback of a line store as text, with the update depth it fired at.
struct Recorder {
    explicit Recorder(TmwEditList& list)
    {
        list.OnAdded = [&](TmwEditList* l) { log.push_back("added " + std::to_string(l->Count())); };
        list.OnCleared = [&](TmwEditList* l) { log.push_back("cleared " + std::to_string(l->Count())); };
        list.OnDeleted = [&](int i) { log.push_back("deleted " + std::to_string(i)); };
        list.OnInserted = [&](int i) { log.push_back("inserted " + std::to_string(i)); };
        list.OnTextLoaded = [&](TmwEditList* l) { log.push_back("loaded " + std::to_string(l->Count())); };
        list.OnLinePut = [&](int i) { log.push_back("put " + std::to_string(i)); };
        list.OnScanRanges = [&](TmwEditList* l) { log.push_back("scan " + std::to_string(l->Count())); };
        list.OnChange = [&](TStringList*) { log.push_back("change"); };
    }
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

} // namespace

TEST(TmwEditList, EachMutationFiresItsCallbackBeforeTheListsChangeEvent)
{
    TmwEditList list;
    Recorder r(list);
    list.Add("a");
    list.Insert(0, "b");
    list.Put(1, "c");
    list.Delete(0);
    EXPECT_EQ(r.log, (Log{"added 1", "change", "inserted 0", "change", "put 1", "change", "deleted 0", "change"}));
    EXPECT_EQ(list.Text(), "c\r\n");
}

TEST(TmwEditList, AnEditInPlaceIsAnnouncedAsAPut)
{
    TmwEditList list;
    list.Add("short");
    list.Add(std::string(5000, 'L'));
    Recorder r(list);
    list.ReplaceText(0, 5, 0, "er");
    list.ReplaceText(1, 10, 3, "x");
    list.ReplaceText(1, 11, 0, "y");
    EXPECT_EQ(r.log, (Log{"put 0", "change", "put 1", "change", "put 1", "change"}));
    EXPECT_EQ(list[0], "shorter");
    EXPECT_EQ(list[1], std::string(10, 'L') + "xy" + std::string(4987, 'L'));
}

TEST(TmwEditList, NeverStaysEmpty)
{
    TmwEditList list;
    list.Add("only");
    Recorder r(list);
    list.Delete(0);
    ASSERT_EQ(list.Count(), 1) << "deleting the only line empties it";
    EXPECT_EQ(list[0], "");
    EXPECT_EQ(r.log, (Log{"deleted 0", "change"})) << "no put callback for the emptying";

    list.Add("x");
    r.log.clear();
    list.Clear();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], "");
    EXPECT_EQ(r.log.front(), "cleared 2") << "fired before the lines go";
    EXPECT_NE(std::find(r.log.begin(), r.log.end(), "added 1"), r.log.end()) << "the empty line is added through Add";

    TStringList empty;
    list.Assign(empty);
    EXPECT_EQ(list.Count(), 1) << "assigning an empty list leaves one empty line";
    EXPECT_EQ(list[0], "");

    list.SetTextStr("");
    EXPECT_EQ(list.Count(), 1);
    std::istringstream in("");
    list.LoadFromStream(in);
    EXPECT_EQ(list.Count(), 1);
}

TEST(TmwEditList, LoadCounterHoldsBackTheEmptyLineUntilItReturnsToZero)
{
    TmwEditList list;
    list.Add("a");
    list.BeginLoad();
    list.BeginLoad();
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    list.EndLoad();
    EXPECT_EQ(list.Count(), 0);
    list.EndLoad();
    EXPECT_EQ(list.Count(), 1);
    list.EndLoad();
    EXPECT_EQ(list.LoadCount(), 0) << "lowering below zero does nothing";
}

TEST(TmwEditList, SettingTheTextKeepsExactlyItsLines)
{
    TmwEditList list;
    list.Add("old");
    Recorder r(list);
    list.SetTextStr("a\nb");
    ASSERT_EQ(list.Count(), 2) << "no empty line left over from clearing";
    EXPECT_EQ(list[0], "a");
    EXPECT_EQ(r.log, (Log{"cleared 1", "added 1", "added 2", "loaded 2", "change"}));
}

TEST(TmwEditList, BulkLoadsScanOnceAfterAllLinesAreIn)
{
    TmwEditList list;
    Recorder r(list);
    std::istringstream in("a\r\nb\r\nc");
    list.LoadFromStream(in);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(r.log, (Log{"cleared 0", "loaded 3", "scan 3", "change"})) << "no per-line callback";
    ASSERT_TRUE(list.OnAdded) << "the per-line callback is back afterwards";

    TStringList source;
    source.AddObject("x", 42);
    r.log.clear();
    list.AddStrings(source);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Objects(3), 0) << "objects are not copied";
    EXPECT_EQ(r.log, (Log{"scan 4", "change"}));

    r.log.clear();
    list.Assign(source);
    EXPECT_EQ(list.Text(), "x\r\n");
    EXPECT_EQ(r.log, (Log{"cleared 4", "scan 1", "change"}));
}

TEST(TmwEditList, LoadWithoutScanHandlerAddsLineByLine)
{
    TmwEditList list;
    Recorder r(list);
    list.OnScanRanges = nullptr;
    std::istringstream in("a\nb");
    list.LoadFromStream(in);
    EXPECT_EQ(r.log, (Log{"cleared 0", "added 1", "added 2", "loaded 2", "change"}));
}

TEST(TmwEditList, RangesLiveInTheObjectSlot)
{
    TmwEditList list;
    list.Add("a");
    list.Insert(0, "b");
    EXPECT_EQ(list.Range(0), 0) << "a new line's state is 0";
    list.SetRange(1, -7);
    EXPECT_EQ(list.Range(1), -7);
    EXPECT_EQ(list.Objects(1), -7);
}

namespace {

// A stream that cannot tell its position or size, like a pipe.
class TPipeBuf : public std::streambuf {
public:
    explicit TPipeBuf(std::string data) : data_(std::move(data)) { setg(data_.data(), data_.data(), data_.data() + data_.size()); }

private:
    std::string data_;
};

} // namespace

TEST(TmwEditList, LoadsTheRestOfAnyStream)
{
    TmwEditList list;
    std::istringstream in("skip\r\nkeep\r\nthis");
    std::string first;
    std::getline(in, first);
    list.LoadFromStream(in);
    EXPECT_EQ(list.Text(), "keep\r\nthis\r\n") << "from where the stream stands";

    TPipeBuf pipe("a\nb");
    std::istream piped(&pipe);
    list.LoadFromStream(piped);
    EXPECT_EQ(list.Text(), "a\r\nb\r\n");
}

// A stream is read a block at a time: lines, line breaks of every kind (a
// CR LF split between two blocks among them) and lines longer than a block
// come out as setting the same text gives them, with and without a last break.
TEST(TmwEditList, LoadingAStreamInBlocksKeepsTheLinesOfTheText)
{
    constexpr size_t kBlock = TStringList::kReadBlock;
    const std::string breaks[] = {"\r\n", "\r", "\n", "\n\r"};
    for (size_t split = kBlock - 3; split <= kBlock + 1; ++split) {
        std::string text(split - 1, 'a');
        text += "\r\nnext\rline\n\r" + std::string(kBlock + 17, 'L');
        for (const std::string& end : {std::string(), std::string("\r"), std::string("\r\n")}) {
            SCOPED_TRACE("break at " + std::to_string(split) + ", end " + std::to_string(end.size()));
            TmwEditList loaded;
            std::istringstream in(text + end);
            loaded.LoadFromStream(in);
            TmwEditList set;
            set.SetTextStr(text + end);
            ASSERT_EQ(loaded.Count(), set.Count());
            for (int i = 0; i < set.Count(); ++i)
                ASSERT_EQ(loaded.View(i), set.View(i)) << "line " << i;
        }
    }
    // Lines over several blocks, read into their chunks as they come: the
    // break before, at and after the end of a block, tabs here and there.
    std::string tabbed(2 * kBlock + kBlock / 2, 'w');
    for (size_t at = 5; at < tabbed.size(); at += 70001)
        tabbed[at] = '\t';
    for (size_t split = 2 * kBlock - 2; split <= 2 * kBlock + 1; ++split)
        for (const std::string& br : breaks) {
            const std::string text = tabbed.substr(0, split) + br + tabbed + br + "short" + br + tabbed;
            SCOPED_TRACE("long line of " + std::to_string(split) + ", break " + std::to_string(br.size()));
            TmwEditList loaded;
            std::istringstream in(text);
            loaded.LoadFromStream(in);
            TmwEditList set;
            set.SetTextStr(text);
            ASSERT_EQ(loaded.Count(), set.Count());
            for (int i = 0; i < set.Count(); ++i) {
                ASSERT_EQ(loaded.View(i), set.View(i)) << "line " << i;
                TTextShape pieces;
                for (size_t p = 0; p < loaded.PieceCount(i); ++p)
                    pieces += loaded.PieceShape(i, p);
                ASSERT_EQ(pieces, ShapeOf(set.View(i))) << "line " << i;
            }
        }
    for (const std::string& br : breaks) {
        TPipeBuf pipe(std::string(kBlock - 1, 'x') + br + "y");
        std::istream piped(&pipe);
        TmwEditList list;
        list.LoadFromStream(piped);
        EXPECT_EQ(list.Count(), br == "\n\r" ? 3 : 2);
    }
}
