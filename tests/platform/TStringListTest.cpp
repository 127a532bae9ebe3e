#include "platform/Exception.h"
#include "platform/TStringList.h"
#include "platform/TextShape.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

TEST(TStringList, TextSplitsAtEveryLineEndAndJoinsWithCrLf)
{
    TStringList list;
    list.SetText("a\r\nb\nc\rd\r\n\r\ne");
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list[3], "d");
    EXPECT_EQ(list[4], "");
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");

    list.SetText("x\n");
    EXPECT_EQ(list.Count(), 1) << "a final line break adds no line";
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    list.SetText("\n\r");
    EXPECT_EQ(list.Count(), 2) << "LF then CR are two breaks";
}

// The split a line at a time by the rule (CR LF, CR or LF ends a line), to
// hold the one-pass split against on texts of every mix of breaks.
std::vector<std::string> SplitByRule(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// Texts set and read from a stream, of up to a few hundred bytes with breaks
// dense or rare, so that runs without a break reach past sixteen bytes.
TEST(TStringList, OnePassSplitAgreesWithTheRuleOnRandomTexts)
{
    std::mt19937 rng(7);
    const char breaks[] = "\r\n";
    const char letters[] = "ab\0";
    for (int round = 0; round < 3000; ++round) {
        const int percentBreaks = std::uniform_int_distribution<int>(1, 60)(rng);
        std::string text;
        for (int n = std::uniform_int_distribution<int>(0, round % 3 ? 40 : 300)(rng); n > 0; --n)
            text += std::uniform_int_distribution<int>(0, 99)(rng) < percentBreaks
                        ? breaks[std::uniform_int_distribution<int>(0, 1)(rng)]
                        : letters[std::uniform_int_distribution<int>(0, 2)(rng)];
        const std::vector<std::string> want = SplitByRule(text);
        TStringList set;
        set.SetText(text);
        TStringList read;
        std::istringstream in(text);
        read.LoadFromStream(in);
        for (const TStringList* list : {&set, &read}) {
            ASSERT_EQ(list->Count(), static_cast<int>(want.size())) << round;
            for (int i = 0; i < list->Count(); ++i)
                ASSERT_EQ((*list)[i], want[static_cast<size_t>(i)]) << round << " line " << i;
        }
    }
}

TEST(TStringList, NulBytesAreOrdinaryCharacters)
{
    TStringList list;
    list.SetText(std::string("a\0b\nc", 5));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], std::string("a\0b", 3));
}

TEST(TStringList, ChangeEventsFireOncePerUpdateBracket)
{
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TStringList*) { ++changing; };
    list.OnChange = [&](TStringList*) { ++changed; };
    list.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    list.SetText("1\n2\n3");
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    list.BeginUpdate();
    list.Add("x");
    list.Delete(0);
    EXPECT_EQ(changed, 2);
    list.EndUpdate();
    EXPECT_EQ(changed, 3);
    list.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(TStringList, IndexErrorsAreListErrors)
{
    TStringList list;
    list.Add("a");
    EXPECT_THROW(list.Get(1), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(2, "x"), EListError);
    list.Insert(1, "b");
    EXPECT_EQ(list[1], "b");
    try {
        list.Put(5, "x");
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
}

TEST(TStringList, SortedListsFindAndRejectDuplicatesAsConfigured)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Apple");
    list.Add("banana");
    EXPECT_EQ(list.Add("APPLE"), 0) << "dupIgnore returns the existing index";
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], "Apple");
    EXPECT_EQ(list.IndexOf("BANANA"), 1);
    EXPECT_EQ(list.IndexOf("cherry"), -1);
    EXPECT_THROW(list.Insert(0, "x"), EListError);
    list.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(list.Add("pear"), EListError);
    list.SetDuplicates(TDuplicates::dupAccept);
    list.Add("pear");
    EXPECT_EQ(list.Count(), 4);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("apple"), -1);
}

TEST(TStringList, CaseInsensitiveCompareFoldsTheLettersOfUtf8Text)
{
    struct Row {
        const char* a;
        const char* b;
        int order;
    };
    const Row rows[] = {
        {"\xC3\x84rger", "\xC3\xA4RGER", 0},           // Ärger, äRGER
        {"\xC5\xA0", "\xC5\xA1", 0},                   // Š, š
        {"\xCE\xA3\xCE\xBF\xCF\x86", "\xCF\x83\xCE\x9F\xCE\xA6", 0}, // Σοφ, σΟΦ
        {"\xD0\x96", "\xD0\xB6", 0},                   // Ж, ж
        {"\xC3\x97", "\xC3\xB7", -1},                  // × before ÷: no letters
        {"a", "\xC3\xA9", -1},                           // by code point: a before é
        {"\xC3\xA9", "\xE4\xBD\xA0", -1},             // é before 你
        {"\xC3\xA9", "\xE9", -1},                       // a lone byte is no é
        {"\xE9", "\xC9", 1},                             // and lone bytes keep their case
        {"abc", "ABCD", -1},
        {"", "", 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CompareText(row.a, row.b), row.order) << row.a << " / " << row.b;
        EXPECT_EQ(CompareText(row.b, row.a), -row.order) << row.b << " / " << row.a;
        EXPECT_EQ(SameText(row.a, row.b), row.order == 0) << row.a << " / " << row.b;
    }
}

TEST(TStringList, NamesAndValues)
{
    TStringList list;
    list.Add("Host=example");
    list.Add("novalue");
    list.Add("Port=21");
    EXPECT_EQ(list.Values("host"), "example");
    EXPECT_EQ(list.Names(2), "Port");
    EXPECT_EQ(list.Names(1), "");
    list.SetValue("port", "2121");
    EXPECT_EQ(list[2], "port=2121");
    list.SetValue("User", "anon");
    EXPECT_EQ(list.Count(), 4);
    list.SetValue("Host", "");
    EXPECT_EQ(list.IndexOfName("host"), -1);
}

TEST(TStringList, CommaTextQuotesWhatNeedsIt)
{
    TStringList list;
    list.Add("plain");
    list.Add("two words");
    list.Add("say \"hi\"");
    list.Add("a,b");
    EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"say \"\"hi\"\"\",\"a,b\"");
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(back.Text(), list.Text());
    back.SetCommaText("  one ,two three");
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back[1], "two");
}

TEST(TStringList, AssignCopiesObjectsAndSurvivesSelfAssignment)
{
    TStringList a;
    a.AddObject("x", 42);
    TStringList b;
    b.Add("old");
    b.Assign(a);
    ASSERT_EQ(b.Count(), 1);
    EXPECT_EQ(b.Objects(0), 42);
    b.Assign(b);
    EXPECT_EQ(b.Count(), 1);
    b.AddStrings(b);
    EXPECT_EQ(b.Count(), 2);
}

TEST(TStringList, FilesRoundTripAsUtf8)
{
    vx::test::TempDir dir;
    std::string path = dir.file("list.txt");
    TStringList list;
    list.Add("caf\xC3\xA9 \xE2\x82\xAC \xCE\xB1 \xE4\xBD\xA0 \xF0\x9F\x98\x80");
    list.Add("");
    list.SaveToFile(path);
    EXPECT_EQ(vx::test::readFile(path), "caf\xC3\xA9 \xE2\x82\xAC \xCE\xB1 \xE4\xBD\xA0 \xF0\x9F\x98\x80\r\n\r\n");
    TStringList back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Text(), list.Text());
    EXPECT_THROW(back.LoadFromFile(dir.file("missing.txt")), EFOpenError);
    EXPECT_THROW(list.SaveToFile(dir.file("no/such/folder/x.txt")), EStreamError);
}

// A file is UTF-8 when all its bytes are; any other was written in
// Windows-1252 by an earlier version and reads as those characters.
TEST(TStringList, AListFileThatIsNotUtf8IsReadAsWindows1252)
{
    struct Row {
        std::string bytes;
        std::string text;
    };
    const Row rows[] = {
        {"caf\xE9\r\n\x80 5\r\n", "caf\xC3\xA9\r\n\xE2\x82\xAC 5\r\n"},
        {"\xC3\xA9t\xE9\n", "\xC3\x83\xC2\xA9t\xC3\xA9\r\n"}, // one stray byte makes the whole file Windows-1252
        {"\xC3\xA9t\xC3\xA9\n", "\xC3\xA9t\xC3\xA9\r\n"},
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\r\n"}, // bytes the code page leaves free
        {"plain", "plain\r\n"},
    };
    vx::test::TempDir dir;
    const std::string path = dir.file("old.txt");
    for (const Row& row : rows) {
        vx::test::writeFile(path, row.bytes);
        TStringList list;
        list.LoadFromFile(path);
        EXPECT_EQ(list.Text(), row.text) << row.bytes;
    }
}

TEST(TStringList, MoveAndExchange)
{
    TStringList list;
    list.SetCommaText("a,b,c,d");
    list.Move(0, 3);
    EXPECT_EQ(list.CommaText(), "b,c,d,a");
    list.Exchange(0, 3);
    EXPECT_EQ(list.CommaText(), "a,c,d,b");
}

// Random text of the given length from a small alphabet with NUL bytes and blanks.
std::string RandomBytes(std::mt19937& rng, size_t length)
{
    static const char alphabet[] = {'a', 'b', ' ', '\0', '\t', 'z'};
    std::string s;
    for (size_t i = 0; i < length; ++i)
        s += alphabet[rng() % sizeof(alphabet)];
    return s;
}

// In-place edits against a vector of strings edited the plain way: lines
// crossing the length from which a line is held in chunks both ways, edits
// across chunks, empty lines, NUL bytes, and every other operation between
// edits, which must see the line whole wherever it was edited.
TEST(TStringListReplaceText, AgreesWithPlainEditsWhateverTheChunks)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&](size_t n) { return n == 0 ? size_t{0} : static_cast<size_t>(rng() % n); };
        TStringList list;
        std::vector<std::string> want;
        for (int i = 0; i < 5; ++i) {
            want.push_back(RandomBytes(rng, pick(2) ? pick(20) : 3000 + pick(3000)));
            list.Add(want.back());
        }
        int changes = 0;
        list.OnChange = [&](TStringList*) { ++changes; };
        for (int step = 0; step < 3000; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            const size_t i = pick(want.size());
            const int index = static_cast<int>(i);
            std::string& line = want[i];
            const size_t op = pick(20);
            if (op < 12) { // mostly typing and deleting near one place, as a user does
                const size_t pos = pick(line.size() + 3);
                const size_t count = pick(3) == 0 ? pick(line.size() + 2) : pick(3);
                const std::string text = RandomBytes(rng, pick(4) == 0 ? pick(2500) : pick(3));
                const int before = changes;
                list.ReplaceText(index, pos, count, text);
                EXPECT_EQ(changes, before + 1) << "one announcement per edit";
                const size_t at = std::min(pos, line.size());
                line.replace(at, std::min(count, line.size() - at), text);
            } else if (op == 12) {
                line = RandomBytes(rng, pick(6000));
                list.Put(index, line);
            } else if (op == 13) {
                want.insert(want.begin() + static_cast<std::ptrdiff_t>(i), RandomBytes(rng, pick(10)));
                list.Insert(index, want[i]);
            } else if (op == 14 && want.size() > 1) {
                want.erase(want.begin() + static_cast<std::ptrdiff_t>(i));
                list.Delete(index);
            } else if (op == 15) {
                const size_t j = pick(want.size());
                std::swap(want[i], want[j]);
                list.Exchange(index, static_cast<int>(j));
            } else if (op == 16) {
                ASSERT_EQ(list.Get(index), line) << "read whole";
            } else if (op == 17) {
                const size_t pos = pick(line.size() + 2);
                const size_t count = pick(40);
                ASSERT_EQ(list.Substr(index, pos, count), pos < line.size() ? line.substr(pos, count) : "");
            } else {
                std::string pieces;
                TTextShape shape;
                for (size_t p = 0; p < list.PieceCount(index); ++p) {
                    pieces += list.Piece(index, p);
                    shape += list.PieceShape(index, p);
                }
                ASSERT_EQ(pieces, line) << "read piece by piece";
                ASSERT_EQ(shape, ShapeOf(line)) << "the pieces' shapes add up to the line's";
            }
            ASSERT_EQ(list.Count(), static_cast<int>(want.size()));
            const int checked = std::min(index, list.Count() - 1);
            ASSERT_EQ(list.Length(checked), want[static_cast<size_t>(checked)].size());
        }
        std::string text;
        for (const std::string& line : want)
            text += line + "\r\n";
        EXPECT_EQ(list.Text(), text);
        TStringList copy(list);
        EXPECT_EQ(copy.Text(), text) << "a copy is of the whole lines";
    }
}

// Lines read whole are strings that stay valid while other lines change or
// lines are added at the end, and show their own line's changes.
TEST(TStringListStore, WholeLinesStayValidAndFollowTheirLine)
{
    TStringList list;
    list.SetText("first\nsecond line\n\nfourth");
    const std::string& first = list[0];
    const std::string& second = list[1];
    list.Put(2, std::string(100, 'x'));
    list.ReplaceText(3, 0, 1, "F");
    for (int i = 0; i < 1000; ++i)
        list.Add("added line " + std::to_string(i));
    EXPECT_EQ(first, "first");
    EXPECT_EQ(second, "second line");
    list.Put(1, "changed");
    EXPECT_EQ(second, "changed") << "the string follows its line";
    list.ReplaceText(0, 5, 0, "!");
    EXPECT_EQ(first, "first!");
    EXPECT_EQ(list[3], "Fourth");
    list.Exchange(0, 3);
    EXPECT_EQ(list[0], "Fourth");
    EXPECT_EQ(list[3], "first!");
}

// Lines rewritten again and again leave their old text behind in the arena
// until it is written afresh; every line and object slot survives that, and
// lines growing past the arena's limit and shrinking again keep their text.
TEST(TStringListStore, RewrittenLinesSurviveTheArenaBeingWrittenAfresh)
{
    std::mt19937 rng(7);
    TStringList list;
    std::vector<std::string> want;
    for (int i = 0; i < 100; ++i) {
        want.push_back(RandomBytes(rng, 1000));
        list.AddObject(want.back(), i);
    }
    for (int round = 0; round < 4000; ++round) {
        const size_t i = rng() % want.size();
        const size_t length = round % 50 == 0 ? TLineStore::kArenaLength + 1 + rng() % 10 : rng() % 1500;
        want[i] = RandomBytes(rng, length);
        if (round % 3 == 0)
            list.ReplaceText(static_cast<int>(i), 0, std::string::npos, want[i]);
        else
            list.Put(static_cast<int>(i), want[i]);
        if (round % 500 == 0 || round == 3999)
            for (size_t j = 0; j < want.size(); ++j) {
                ASSERT_EQ(list[static_cast<int>(j)], want[j]) << "line " << j << " after round " << round;
                ASSERT_EQ(list.Objects(static_cast<int>(j)), static_cast<TObjectSlot>(j));
            }
    }
    list.Sort();
    std::sort(want.begin(), want.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    for (size_t j = 0; j < want.size(); ++j)
        EXPECT_EQ(CompareText(list[static_cast<int>(j)], want[j]), 0) << "sorted line " << j;
}

TEST(TStringListReplaceText, RefusesSortedListsAndBadIndexes)
{
    TStringList list;
    list.Add("a");
    EXPECT_THROW(list.ReplaceText(1, 0, 0, "x"), EListError);
    EXPECT_THROW(list.Substr(-1, 0, 1), EListError);
    list.SetSorted(true);
    EXPECT_THROW(list.ReplaceText(0, 0, 0, "x"), EListError);
    EXPECT_EQ(list[0], "a");
}

TEST(TStringListJoinedText, SeparatesLinesWithoutATrailingSeparator)
{
    struct Case {
        std::vector<std::string> lines;
        std::string joined;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, ""},
        {{"a"}, "a"},
        {{"a", "", "b"}, "a\n\nb"},
        {{"", ""}, "\n"},
    };
    for (const Case& c : cases) {
        TStringList list;
        for (const std::string& line : c.lines)
            list.Add(line);
        EXPECT_EQ(list.JoinedText("\n"), c.joined) << c.lines.size() << " lines";
    }
}
