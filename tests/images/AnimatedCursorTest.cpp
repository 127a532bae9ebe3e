// Animated cursors built by the tests: icons of every depth, per-step rates and
// sequences, truncated and lying files, the icon list with icons from the test
// program's resources, and the strip.
#include "images/AnimatedCursorImage.h"
#include "images/GraphicException.h"
#include "images/IconList.h"
#include "images/RxGIF.h"
#include "images/qt/IconResources.h"
#include "platform/Exception.h"
#include "tests/images/AniTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace anitest;

TAnimatedCursorImage Load(const std::string& file)
{
    TAnimatedCursorImage cursor;
    cursor.LoadFromData(file);
    return cursor;
}

TEST(AnimatedCursor, IconsOfEveryDepth)
{
    for (int bits : {1, 4, 8, 24, 32}) {
        const TAnimatedCursorImage cursor = Load(Riff(Anih(1, 1, 5) + Fram({Ico(5, 3, bits)})));
        ASSERT_EQ(cursor.Count(), 1) << bits;
        const TIcon& icon = cursor.Frame(0).Icon;
        ASSERT_EQ(icon.Width(), 5);
        ASSERT_EQ(icon.Height(), 3);
        EXPECT_TRUE(icon.Transparent(0, 0)) << bits;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                if (x == 0 && y == 0)
                    continue;
                EXPECT_FALSE(icon.Transparent(x, y));
                const std::uint8_t* p = icon.Image().ScanLine(y) + x * 3;
                EXPECT_EQ((TGIFColor{p[2], p[1], p[0]}), Expected(bits, x, y)) << bits << " at " << x << "," << y;
            }
        EXPECT_EQ(cursor.MaxColors(), bits <= 8 ? 1 << bits : 0);
    }
}

TEST(AnimatedCursor, RatesAndSequenceHoldOneValuePerStep)
{
    const TAnimatedCursorImage rated =
        Load(Riff(Anih(3, 3, 4) + Chunk("rate", Words({6, 6, 12})) + Fram({Ico(4, 4, 8), Ico(4, 4, 4), Ico(4, 4, 1)})));
    ASSERT_EQ(rated.Count(), 3);
    EXPECT_EQ(rated.Frame(0).JiffRate, 6u);
    EXPECT_EQ(rated.Frame(2).JiffRate, 12u);
    EXPECT_EQ(rated.Header().Steps, 3u);

    const TAnimatedCursorImage sequenced = Load(Riff(Anih(2, 4, 3) + Chunk("seq ", Words({1, 0, 1, 1})) +
                                                     Fram({Ico(4, 4, 1), Ico(4, 4, 24)})));
    ASSERT_EQ(sequenced.Count(), 4);
    const int expected[] = {1, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sequenced.Frame(i).Index, expected[i]);
        EXPECT_EQ(sequenced.Frame(i).JiffRate, 3u);
    }
    EXPECT_EQ(sequenced.Frame(0).Icon.Data(), Ico(4, 4, 24));

    const TAnimatedCursorImage extra = Load(Riff(Anih(1, 1, 3) + Fram({Ico(4, 4, 1), Ico(4, 4, 4)})));
    ASSERT_EQ(extra.Count(), 2) << "icons past the announced frames become frames";
    EXPECT_EQ(extra.Frame(1).Index, -1);
}

TEST(AnimatedCursor, HotSpotsTitleAndCreator)
{
    const std::string title(300, 't');
    const TAnimatedCursorImage cursor =
        Load(Riff(Anih(2, 2, 3) + Chunk("LIST", "INFO" + Chunk("INAM", title) + Chunk("IART", "me")) +
                  Fram({Ico(6, 4, 8, 2, 3, 1), Ico(6, 4, 8)})));
    ASSERT_EQ(cursor.Count(), 2);
    EXPECT_FALSE(cursor.Frame(0).IsIcon);
    EXPECT_EQ(cursor.Frame(0).HotSpotX, 3);
    EXPECT_EQ(cursor.Frame(0).HotSpotY, 1);
    EXPECT_TRUE(cursor.Frame(1).IsIcon);
    EXPECT_EQ(cursor.Frame(1).HotSpotX, 3) << "an icon's hot spot is its centre";
    EXPECT_EQ(cursor.Frame(1).HotSpotY, 2);
    EXPECT_EQ(cursor.Title(), std::string(255, 't'));
    EXPECT_EQ(cursor.Creator(), "me");
}

TEST(AnimatedCursor, TruncatedAndLyingFiles)
{
    const std::string good = Riff(Anih(3, 3, 4) + Fram({Ico(4, 4, 8), Ico(4, 4, 8), Ico(4, 4, 8)}));
    const TAnimatedCursorImage cut = Load(good.substr(0, good.size() - 30));
    EXPECT_EQ(cut.Count(), 2) << "the frames read before the cut stay";

    const TAnimatedCursorImage many = Load(Riff(Anih(1, 0x7FFFFFFF, 4) + Fram({Ico(4, 4, 8)})));
    EXPECT_EQ(many.Count(), 1) << "a huge step count makes no more frames than there are icons";

    // A directory that announces 40 entries, the first pointing past the data.
    std::string lying = Ico(4, 4, 8);
    lying[4] = 40;
    lying.replace(18, 4, U32(0x7FFFFFF0));
    struct Bad {
        const char* what;
        std::string file;
    };
    const Bad bad[] = {
        {"no RIFF", "RIFX" + Riff("").substr(4)},
        {"no ACON", "RIFF" + U32(4) + "AVI "},
        {"no icon flag", Riff(Anih(1, 1, 3, 0) + Fram({Ico(4, 4, 8)}))},
        {"no steps", Riff(Anih(1, 0, 3) + Fram({Ico(4, 4, 8)}))},
        {"no frame with an icon", Riff(Anih(1, 1, 3) + Fram({lying}))},
        {"short", "RIFF"},
    };
    for (const Bad& b : bad)
        EXPECT_THROW(Load(b.file), EReadError) << b.what;
    EXPECT_EQ(Load("").Count(), 0);
}

TEST(AnimatedCursor, StripIconListAndGIFFrames)
{
    const TAnimatedCursorImage cursor = Load(Riff(Anih(4, 4, 6) + Chunk("rate", Words({6, 6, 12, 1})) +
                                                  Fram({Ico(32, 32, 24), Ico(32, 32, 24), Ico(32, 32, 24), Ico(32, 32, 24)})));
    const TGIFBitmap strip = cursor.DrawFramesToBitmap(0x00FF00, false, false);
    EXPECT_EQ(strip.Width(), 128);
    EXPECT_EQ(strip.Height(), 32);
    EXPECT_EQ(strip.ScanLine(0)[32 * 3 + 1], 0xFF) << "transparent pixels show the background";
    EXPECT_EQ(cursor.DrawFramesToBitmap(0, true, false).Height(), 128);

    TIconList list;
    int notified = 0;
    list.OnChange = [&](TIconList*) { ++notified; };
    cursor.AssignTo(list);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(notified, 1);

    RxGIF::TGIFImage gif;
    gif.Assign(cursor);
    ASSERT_EQ(gif.Count(), 4);
    EXPECT_EQ(gif.Frame(0).Delay(), 100);
    EXPECT_EQ(gif.Frame(2).Delay(), 200);
    EXPECT_EQ(gif.BackgroundColor(), RxGIF::TGIFImage::WindowColor);
    const RxGIF::TColor key = gif.Frame(0).TransparentColor();
    ASSERT_NE(key, RxGIF::clNone);
    const std::uint8_t* corner = gif.Frame(0).Bitmap().ScanLine(0);
    EXPECT_EQ(RxGIF::ColorOf(TGIFColor{corner[2], corner[1], corner[0]}), key);
}

TEST(IconList, EditingAndStoredForm)
{
    TIconList list;
    int notified = 0;
    list.OnChange = [&](TIconList*) { ++notified; };
    const TIcon a = TIcon::FromICO(Ico(4, 4, 1));
    const TIcon b = TIcon::FromICO(Ico(8, 8, 4));
    list.Add(a);
    list.Put(1, TIcon{});
    list.Insert(0, b);
    EXPECT_EQ(list.Count(), 3);
    list.Move(0, 2);
    list.Exchange(0, 1);
    EXPECT_EQ(list.Get(2).Width(), 8);
    EXPECT_TRUE(list.Get(0).Empty());
    EXPECT_EQ(notified, 5);
    EXPECT_THROW(list.Get(3), EListError);

    const std::string stored = list.WriteData();
    EXPECT_EQ(stored.substr(4, 4), U32(0)) << "an empty entry is stored as size 0";
    TIconList back;
    back.ReadData(stored);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_TRUE(back.Get(0).Empty());
    EXPECT_EQ(back.Get(1).Data(), a.Data());
    EXPECT_EQ(back.Get(2).Data(), b.Data());

    for (const std::string& lie : {U32(1000) + U32(0), U32(1) + U32(5000) + "abc", std::string("ab")}) {
        TIconList bad;
        EXPECT_THROW(bad.ReadData(lie), EReadError);
        EXPECT_EQ(bad.Count(), 0);
    }

    list.BeginUpdate();
    list.BeginUpdate();
    list.Clear();
    list.EndUpdate();
    EXPECT_EQ(notified, 5);
    list.EndUpdate();
    EXPECT_EQ(notified, 6) << "the outermost end notifies once";
}

TEST(IconList, IconsFromAModulesResources)
{
    TIconList list;
    int notified = 0;
    list.OnChange = [&](TIconList*) { ++notified; };
    const TQtIconModule program(vx::ProgramModule);
    EXPECT_EQ(list.AddResource(program, "SMALL"), 0);
    EXPECT_EQ(list.AddResource(program, "SMALL"), 1);
    list.InsertResource(1, program, "MAINICON");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(notified, 3);
    EXPECT_EQ(list.Get(1).Data(), Ico(16, 16, 4));
    EXPECT_EQ(list.Get(0).Data(), Ico(8, 8, 1));
    EXPECT_EQ(list.Get(2).Width(), 8);

    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.IndexOf(list.Get(i)), i) << "each entry is its own object";
    const TIcon copy = list.Get(1);
    EXPECT_EQ(list.IndexOf(copy), -1) << "an equal icon is not the list's";

    EXPECT_THROW(list.AddResource(program, "NOSUCH"), EResNotFound);
    EXPECT_THROW(list.InsertResource(0, TQtIconModule(":/elsewhere/"), "MAINICON"), EResNotFound);
    EXPECT_THROW(list.AddResource(program, "BROKEN"), EInvalidGraphic);
    EXPECT_THROW(list.InsertResource(5, program, "SMALL"), EListError);
    EXPECT_EQ(list.Count(), 3) << "a failed load adds nothing";
    EXPECT_EQ(notified, 3);
}

} // namespace
