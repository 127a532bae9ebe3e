// Tests of the colour memo: rule parsing, matchers, span merging and the widget.
#include "controls/colormemo/ColMemo.h"

#include "editor/qt/SysColors.h"
#include "platform/Exception.h"
#include "tests/controls/FlatTestSupport.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace vx;

namespace {

TStringList List(std::initializer_list<const char*> items)
{
    TStringList list;
    for (const char* item : items)
        list.Add(item);
    return list;
}

std::vector<TKeyDescr> MatchAll(const TColorRule& rule, std::string_view text)
{
    std::vector<TKeyDescr> spans;
    rule.Match(text, 0, static_cast<int>(text.size()) - 1, spans);
    return spans;
}

std::vector<std::pair<int, int>> Ranges(const std::vector<TKeyDescr>& spans)
{
    std::vector<std::pair<int, int>> out;
    for (const auto& s : spans)
        out.emplace_back(s.Start, s.End);
    return out;
}

using R = std::vector<std::pair<int, int>>;

} // namespace

TEST(ColorRuleColours, NamesAndHexAgreeAndBadTextIsAConversionError)
{
    EXPECT_EQ(ParseRuleColor("#FF0000", clBlack), clRed);
    EXPECT_EQ(ParseRuleColor(" red ", clBlack), clRed);
    EXPECT_EQ(ParseRuleColor("$0000FF", clBlack), clBlue);
    EXPECT_EQ(ParseRuleColor("00ff00", clBlack), clLime);
    EXPECT_EQ(ParseRuleColor("Navy", clBlack), clNavy);
    EXPECT_EQ(ParseRuleColor("", clYellow), clYellow);
    EXPECT_THROW(ParseRuleColor("bogus", clBlack), EConvertError);
    EXPECT_THROW(ParseRuleColor("#", clBlack), EConvertError);

    TColorRule rule;
    rule.SetKeyDrawingType(dtKeyShow);
    rule.SetKeywords(List({"one;red"}));
    EXPECT_THROW(rule.SetKeywords(List({"two;blue", "three;nocolour"})), EConvertError);
    ASSERT_EQ(rule.keywords.size(), 1u) << "a failed parse leaves the rule as it was";
    EXPECT_EQ(rule.keywords[0].Text, "ONE");
    EXPECT_EQ(rule.Keywords().Count(), 1);
}

TEST(ColorRuleKeywords, CaseAndWholeWords)
{
    TColorRule rule;
    rule.SetKeyDrawingType(dtKeyShow);
    rule.SetKeywords(List({"select;navy", "", " ;red", "@x"}));
    ASSERT_EQ(rule.keywords.size(), 2u);
    const std::string text = "SELECT Select select selected @select";
    auto spans = MatchAll(rule, text);
    EXPECT_EQ(Ranges(spans), (R{{0, 5}, {7, 12}, {14, 19}}));
    for (const auto& s : spans) {
        EXPECT_EQ(s.Color, clNavy);
        EXPECT_EQ(s.Key, 1);
    }
    rule.SetPartWord(true);
    EXPECT_EQ(MatchAll(rule, text).size(), 5u);
    rule.SetPartWord(false);
    rule.SetKeyCase(true);
    rule.SetKeywords(List({"select;navy"}));
    EXPECT_EQ(Ranges(MatchAll(rule, text)), (R{{14, 19}}));
}

TEST(ColorRuleKeywords, ColourTableHoldsFortyOneAndThenReusesThePreviousSlot)
{
    TColorRule rule;
    rule.SetKeyDrawingType(dtKeyShow);
    TStringList list;
    for (int i = 0; i < 43; ++i)
        list.Add("k" + std::to_string(i) + ";#0000" + (i < 16 ? "0" : "") + [&] {
            char buf[8];
            std::snprintf(buf, sizeof buf, "%x", i);
            return std::string(buf);
        }());
    list.Add("again;#000000");
    rule.SetKeywords(list);
    EXPECT_EQ(rule.colorTable.size(), 41u);
    EXPECT_EQ(rule.keywords[40].Slot, 41);
    EXPECT_EQ(rule.keywords[41].Slot, 41);
    EXPECT_EQ(rule.keywords[42].Slot, 41);
    EXPECT_EQ(rule.keywords[43].Slot, 1) << "a known colour keeps its slot";
    const auto spans = MatchAll(rule, "K42");
    ASSERT_FALSE(spans.empty());
    EXPECT_EQ(spans.back().End, 2);
    EXPECT_EQ(spans.back().Color, rule.colorTable[40]);
}

TEST(ColorRuleMarkers, BeginEndSpansAcrossLines)
{
    TColorRule rule;
    rule.SetKeyBegEndLst(List({"<!--;-->;gray", "noseparator", ";x;red", "{;}"}));
    ASSERT_EQ(rule.markers.size(), 2u);
    const std::string text = "a <!-- one\ntwo --> b {c} <!-- open";
    auto spans = MatchAll(rule, text);
    ASSERT_EQ(Ranges(spans), (R{{2, 17}, {21, 23}}));
    EXPECT_EQ(spans[0].Color, clGray);
    EXPECT_EQ(spans[1].Color, clRed) << "no colour part gives DefKeyColor";
    EXPECT_TRUE(MatchAll(rule, "x <!-- never closed {a}").empty()) << "an unclosed begin ends the matching";
}

TEST(ColorRuleMarkers, EarliestBeginWinsTiesGoToTheEarlierEntryAndMarkersAreCut)
{
    TColorRule rule;
    rule.SetKeyBegEndLst(List({"ab;z;blue", "a;y;red", "1234567;9;navy"}));
    EXPECT_EQ(rule.markers[2].Begin, "123456");
    auto spans = MatchAll(rule, "abyz a y 1234569");
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(Ranges(spans), (R{{0, 3}, {5, 7}, {9, 15}}));
    EXPECT_EQ(spans[0].Color, clBlue);
    TStringList many;
    for (int i = 0; i < 45; ++i)
        many.Add("b" + std::to_string(i) + ";e");
    rule.SetKeyBegEndLst(many);
    EXPECT_EQ(rule.markers.size(), 40u);
}

TEST(ColorRuleMarkers, LineEndRuns)
{
    TColorRule rule;
    rule.SetKeyDrawingType(dtBeginLineEnd);
    rule.SetKeyLineEndLst(List({"//;green", ";;navy", "#", ";red"}));
    ASSERT_EQ(rule.markers.size(), 3u);
    EXPECT_EQ(rule.markers[1].Begin, ";");
    EXPECT_EQ(rule.markers[2].Color, clRed);
    auto spans = MatchAll(rule, "x // c\ny; z\n#end");
    EXPECT_EQ(Ranges(spans), (R{{2, 5}, {8, 10}, {12, 15}}));
    EXPECT_EQ(spans[0].Color, clGreen);
    EXPECT_EQ(spans[1].Color, clNavy);
}

TEST(ColorRuleAssign, CopiesSettingsAndLists)
{
    TColorRule a;
    a.SetKeyDrawingType(dtKeyShow);
    a.SetZOrder(3);
    a.SetKeyMaxHeight(4);
    a.SetKeywords(List({"w;blue"}));
    a.SetKeySelColor(clLime);
    TColorRule b;
    b.Assign(a);
    EXPECT_EQ(b.KeyDrawingType(), dtKeyShow);
    EXPECT_EQ(b.ZOrder(), 3);
    EXPECT_EQ(b.KeyMaxHeight(), 4);
    EXPECT_EQ(b.Keywords().Count(), 1);
    EXPECT_EQ(b.KeySelColor(), clYellow) << "the selection colour is not copied";
    EXPECT_EQ(MatchAll(b, "w").size(), 1u);
}

TEST(SpanMerge, HigherOrderWinsAndEqualOrderGoesToTheLaterSpan)
{
    const std::vector<TKeyDescr> spans{{0, 5, clRed, 1, 0}, {3, 8, clBlue, 2, 0}, {7, 9, clLime, 2, 1},
                                       {TKeyDescr::Unused, TKeyDescr::Unused, clAqua, 9, 0}, {-5, 0, clNavy, 0, 0},
                                       {20, 30, clGray, 5, 0}};
    const auto runs = MergeSpans(spans, 12);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(Ranges(runs), (R{{0, 2}, {3, 6}, {7, 9}}));
    EXPECT_EQ(runs[0].Color, clRed) << "order 0 does not override order 1";
    EXPECT_EQ(runs[1].Color, clBlue);
    EXPECT_EQ(runs[2].Color, clLime);
    EXPECT_EQ(runs[2].Key, 1);
    EXPECT_TRUE(MergeSpans({}, 10).empty());
}

TEST(HotSpots, MarkersTextHoverAndClickText)
{
    THotSpot hot;
    hot.BeginChar = '[';
    hot.EndChar = ']';
    const std::string text = "go [there] and [open\nx]";
    std::vector<TKeyDescr> spans;
    hot.Match(text, 0, static_cast<int>(text.size()) - 1, spans);
    EXPECT_TRUE(spans.empty()) << "inactive";
    hot.Active = true;
    hot.Match(text, 0, static_cast<int>(text.size()) - 1, spans);
    ASSERT_GE(spans.size(), 3u);
    EXPECT_EQ(Ranges(spans).at(0), std::make_pair(3, 3));
    EXPECT_EQ(spans[2].Order, kOrderHotText);
    EXPECT_EQ(Ranges(spans).at(2), std::make_pair(4, 8));
    EXPECT_TRUE(hot.IsOver(text, 5));
    EXPECT_FALSE(hot.IsOver(text, 3)) << "a begin marker before the end marker";
    EXPECT_FALSE(hot.IsOver(text, 17)) << "the end marker is on another line";
    EXPECT_EQ(hot.TextAt(text, 6), "there");
    EXPECT_EQ(hot.TextAt("plain] x", 2), "plain");
}

TEST(SpanMerge, RandomRulesAndTextStayInsideTheText)
{
    static constexpr char kAlphabet[] = "ab;<>-!\n @x";
    std::mt19937 random(11);
    auto randomText = [&](std::size_t max) {
        std::string text(random() % max, ' ');
        for (char& ch : text)
            ch = kAlphabet[random() % (sizeof kAlphabet - 1)];
        return text;
    };
    for (int round = 0; round < 300; ++round) {
        TColorRule rule;
        rule.SetKeyDrawingType(static_cast<TKeyDrawingType>(random() % 4));
        TStringList list;
        for (int i = 0; i < 4; ++i)
            list.Add(randomText(8));
        // Most random colour parts are not colours; those lists are refused whole.
        const auto refusedWhole = [&](const std::function<void()>& set, const TStrings& stored) {
            try {
                set();
            } catch (const EConvertError&) {
                EXPECT_EQ(stored.Count(), 0);
            }
        };
        refusedWhole([&] { rule.SetKeyBegEndLst(list); }, rule.KeyBegEndLst());
        refusedWhole([&] { rule.SetKeyLineEndLst(list); }, rule.KeyLineEndLst());
        refusedWhole([&] { rule.SetKeywords(list); }, rule.Keywords());
        const std::string text = randomText(60);
        std::vector<TKeyDescr> spans;
        rule.Match(text, static_cast<int>(random() % 70) - 5, static_cast<int>(random() % 70), spans);
        for (const TKeyDescr& s : spans) {
            EXPECT_LE(0, s.Start);
            EXPECT_LE(s.Start, s.End);
            EXPECT_LT(s.End, static_cast<int>(text.size()));
        }
        for (const TKeyDescr& run : MergeSpans(spans, static_cast<int>(text.size()))) {
            EXPECT_LE(0, run.Start);
            EXPECT_LT(run.End, static_cast<int>(text.size()));
        }
    }
}

namespace {

struct ColorMemoFixture : ::testing::Test {
    TColorMemo memo;
    void SetUp() override
    {
        memo.resize(300, 120);
        memo.show();
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(ColorMemoFixture, WithoutRulesItIsAPlainMemo)
{
    memo.Lines().Add("first");
    memo.Lines().Add("second");
    EXPECT_EQ(memo.Text(), "first\nsecond");
    EXPECT_TRUE(memo.VisibleSpans().empty());
    QPlainTextEdit plain;
    plain.setLineWrapMode(QPlainTextEdit::NoWrap);
    plain.resize(300, 120);
    plain.setPlainText(QStringLiteral("first\nsecond"));
    plain.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(memo.viewport()->grab().toImage(), plain.viewport()->grab().toImage());
    memo.Lines().Clear();
    EXPECT_EQ(memo.Text(), "");
    memo.setPlainText(QStringLiteral("typed\ntext"));
    EXPECT_EQ(memo.Lines().Count(), 2);
    EXPECT_EQ(memo.Lines()[1], "text");
}

TEST_F(ColorMemoFixture, AppendedLinesJoinTheTextWhateverItEndsIn)
{
    memo.Lines().Add("");
    memo.Lines().Add("b");
    EXPECT_EQ(memo.Text(), "\nb");
    memo.setPlainText(QStringLiteral("typed\n"));
    ASSERT_EQ(memo.Lines().Count(), 1);
    memo.Lines().Add("next");
    EXPECT_EQ(memo.Text(), "typed\nnext");
    memo.Lines().Add("");
    memo.Lines().Add("last");
    EXPECT_EQ(memo.Text(), "typed\nnext\n\nlast");
    EXPECT_EQ(memo.Lines().Count(), 4);
    memo.Lines().Clear();
    for (int i = 0; i < 2000; ++i)
        memo.Lines().Add("line " + std::to_string(i));
    EXPECT_EQ(memo.document()->blockCount(), 2000);
    EXPECT_EQ(memo.Lines()[1999], "line 1999");
    memo.setPlainText(QStringLiteral("x"));
    EXPECT_EQ(memo.Lines().Count(), 1) << "editing still rebuilds the lines";
}

TEST_F(ColorMemoFixture, KeywordsArePaintedInTheirColour)
{
    TColorRule& rule = memo.ColorRules().Add();
    rule.SetKeyDrawingType(dtKeyShow);
    rule.SetKeywords(List({"select;#0000FF"}));
    memo.Lines().Add("select * from t");
    const auto runs = memo.VisibleSpans();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Color, clBlue);
    QCoreApplication::processEvents();
    const QImage shot = memo.viewport()->grab().toImage();
    int blue = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            blue += c.blue() > 150 && c.red() < 80 && c.green() < 80;
        }
    EXPECT_GT(blue, 10);

    std::vector<std::string> keys;
    memo.OnDrawKey = [&](QPainter&, const std::string& key, const QRect&, TColor) { keys.push_back(key); };
    memo.viewport()->grab();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys[0], "select");
}

// The rules read UTF-8, the memo counts characters: a keyword after letters of
// one, two, three and four bytes is coloured where it stands, and a letter
// outside ASCII is part of the word it touches.
TEST_F(ColorMemoFixture, KeywordsAfterCharactersOutsideAsciiAreColouredWhereTheyStand)
{
    struct Row {
        QString text;
        std::vector<std::pair<int, int>> runs; // memo offsets
        QString key;                          // what the key-drawing event gets first
    };
    const Row rows[] = {
        {QString::fromUtf8(u8"caf\u00E9 select"), {{5, 10}}, QStringLiteral("select")},
        {QString::fromUtf8(u8"\u20AC\u4F60\U0001F600 select x"), {{5, 10}}, QStringLiteral("select")},
        {QString::fromUtf8(u8"\u017Bselect select"), {{8, 13}}, QStringLiteral("select")},
        {QString::fromUtf8(u8"\u00E9\nselect\u00E9 select"), {{10, 15}}, QStringLiteral("select")},
        {QString::fromUtf8(u8"\u0416select\u00C9 x"), {}, QString()},
        {QString::fromUtf8(u8"x s\u00E9lect"), {{2, 7}}, QString::fromUtf8(u8"s\u00E9lect")},
    };
    TColorRule& rule = memo.ColorRules().Add();
    rule.SetKeyDrawingType(dtKeyShow);
    rule.SetKeywords(List({"select;#0000FF", "S\xC3\x89LECT;#0000FF"}));
    for (const Row& row : rows) {
        memo.setPlainText(row.text);
        EXPECT_EQ(Ranges(memo.VisibleSpans()), row.runs) << row.text.toStdString();
        std::vector<std::string> keys;
        memo.OnDrawKey = [&](QPainter&, const std::string& key, const QRect&, TColor) { keys.push_back(key); };
        memo.viewport()->grab();
        memo.OnDrawKey = nullptr;
        EXPECT_EQ(keys.empty(), row.key.isEmpty()) << row.text.toStdString();
        if (!keys.empty())
            EXPECT_EQ(QString::fromStdString(keys[0]), row.key) << row.text.toStdString();
    }
}

TEST_F(ColorMemoFixture, ScrollingIsReported)
{
    std::string text(300, 'x');
    for (int i = 0; i < 30; ++i)
        text += "\nline";
    memo.setPlainText(QString::fromLatin1(text.c_str()));
    int vertical = 0;
    int horizontal = 0;
    memo.OnVScroll = [&](QObject*) { ++vertical; };
    memo.OnHScroll = [&](QObject*) { ++horizontal; };
    memo.verticalScrollBar()->setValue(3);
    EXPECT_EQ(vertical, 1);
    EXPECT_EQ(horizontal, 0);
    memo.horizontalScrollBar()->setValue(20);
    EXPECT_EQ(horizontal, 1);
}

TEST_F(ColorMemoFixture, CommentSpanReachesBackAboveTheView)
{
    TColorRule& rule = memo.ColorRules().Add();
    rule.SetKeyBegEndLst(List({"<!--;-->;gray"}));
    std::string text = "<!-- start\nend -->";
    for (int i = 0; i < 30; ++i)
        text += "\nline";
    memo.setPlainText(QString::fromLatin1(text.c_str()));
    memo.verticalScrollBar()->setValue(1);
    ASSERT_EQ(memo.FirstVisibleLine(), 1);
    EXPECT_TRUE(memo.VisibleSpans().empty()) << "one line of look-back cannot see the begin marker";
    rule.SetKeyMaxHeight(2);
    const auto runs = memo.VisibleSpans();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(Ranges(runs), (R{{0, 17}}));
    EXPECT_EQ(runs[0].Color, clGray);
}

// Painting reads only the lines on view (and the rules' look-back): what it
// finds there lies at the right offsets of the whole text, and a selection of
// everything is cut to the view.
TEST_F(ColorMemoFixture, SpansOfALongTextLieOnTheLinesOnView)
{
    TColorRule& rule = memo.ColorRules().Add();
    rule.SetKeyDrawingType(dtKeyShow);
    rule.SetKeywords(List({"select;#0000FF"}));
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "row " + std::to_string(i) + " select xselect\n";
    text += "select";
    memo.setPlainText(QString::fromLatin1(text.c_str()));
    memo.selectAll();
    memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
    const QTextBlock first = memo.document()->findBlockByNumber(memo.FirstVisibleLine());
    ASSERT_GT(first.blockNumber(), 2000);
    const auto runs = memo.VisibleSpans();
    ASSERT_FALSE(runs.empty());
    int keywords = 0;
    for (const TKeyDescr& run : runs) {
        EXPECT_GE(run.Start, first.position()) << "nothing above the lines on view";
        EXPECT_LT(run.End, static_cast<int>(text.size()));
        if (run.Order != kOrderSelection)
            ++keywords;
    }
    EXPECT_EQ(keywords, 0) << "the selection keeps the keyword colours off";

    memo.moveCursor(QTextCursor::End);
    const auto plain = memo.VisibleSpans();
    ASSERT_FALSE(plain.empty());
    for (const TKeyDescr& run : plain) {
        ASSERT_EQ(run.Color, clBlue);
        EXPECT_EQ(text.substr(static_cast<std::size_t>(run.Start), 6), "select");
        EXPECT_TRUE(run.Start == 0 || text[static_cast<std::size_t>(run.Start - 1)] != 'x') << "whole words only";
    }
    EXPECT_EQ(plain.back().End, static_cast<int>(text.size()) - 1) << "the last line's keyword";
}

TEST_F(ColorMemoFixture, SelectionKeepsRuleColoursOffAndNavigationCollapsesIt)
{
    TColorRule& rule = memo.ColorRules().Add();
    rule.SetKeyDrawingType(dtKeyShow);
    rule.SetKeywords(List({"key"}));
    memo.setPlainText(QStringLiteral("key key"));
    QTextCursor c = memo.textCursor();
    c.setPosition(0);
    c.setPosition(3, QTextCursor::KeepAnchor);
    memo.setTextCursor(c);
    auto runs = memo.VisibleSpans();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Order, kOrderSelection);
    EXPECT_EQ(runs[1].Color, clRed);
    test::KeyDown(memo, Qt::Key_Left);
    EXPECT_FALSE(memo.textCursor().hasSelection());
    EXPECT_EQ(memo.textCursor().position(), 2) << "collapsed to the end, then moved left";
}

TEST_F(ColorMemoFixture, EventRulesTakeAtMostTheBufferCapacity)
{
    TColorRule& rule = memo.ColorRules().Add();
    rule.SetKeyDrawingType(dtEventDraw);
    rule.SetZOrder(7);
    memo.setPlainText(QStringLiteral("abcdefghij"));
    int calls = 0;
    memo.OnDraw = [&](const TColorRule& sender, int fromPos, std::vector<TKeyDescr>& a, int& count) {
        ++calls;
        EXPECT_EQ(&sender, &memo.ColorRules().Items(0));
        EXPECT_EQ(fromPos, 0);
        if (a.size() < 2)
            return;
        a[0] = {0, 1, clLime, 0, 0};
        a[1] = {4, 5, clNavy, 9, 0};
        count = 3;
    };
    EXPECT_TRUE(memo.VisibleSpans().empty()) << "no buffer, no call";
    EXPECT_EQ(calls, 0);
    memo.SetColorLimMax(2);
    const auto runs = memo.VisibleSpans();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Order, 7);
    EXPECT_EQ(runs[1].Order, 9);
    EXPECT_EQ(runs[1].Color, clNavy);
}

TEST_F(ColorMemoFixture, HotSpotShowsTheHandAndReportsItsText)
{
    THotSpot hot;
    hot.BeginChar = '[';
    hot.EndChar = ']';
    hot.Active = true;
    memo.SetHotSpot(hot);
    memo.setPlainText(QStringLiteral("see [topic] here"));
    std::string clicked;
    memo.OnHotSpotClick = [&](QObject*, const std::string& src) { clicked = src; };
    QTextCursor c = memo.textCursor();
    c.setPosition(6);
    const QPoint over = memo.cursorRect(c).center() + QPoint(2, 0);
    test::MouseMove(*memo.viewport(), over);
    EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::PointingHandCursor);
    test::MousePress(*memo.viewport(), over);
    test::MouseRelease(*memo.viewport(), over);
    EXPECT_EQ(clicked, "topic");
    c.setPosition(13);
    test::MouseMove(*memo.viewport(), memo.cursorRect(c).center() + QPoint(2, 0));
    EXPECT_NE(memo.viewport()->cursor().shape(), Qt::PointingHandCursor);
    const auto runs = memo.VisibleSpans();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].Color, clBlue);
}
