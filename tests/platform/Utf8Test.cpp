#include "platform/TextEncoding.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <random>

using namespace vx::utf8;

TEST(Utf8, CharactersAreWellFormedSequencesOrLoneBytes)
{
    struct Row {
        const char* text;
        std::size_t length; // of the character at 0
        char32_t code;
    };
    const Row rows[] = {
        {"A", 1, U'A'},
        {"\xC3\xA9", 2, 0xE9},
        {"\xE2\x82\xAC", 3, 0x20AC},
        {"\xF0\x9F\x98\x80", 4, 0x1F600},
        {"\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
        {"\x80", 1, kReplacement},             // a trail byte alone
        {"\xC3", 1, kReplacement},             // cut short
        {"\xC3" "A", 1, kReplacement},         // a lead without its trail
        {"\xC0\xAF", 1, kReplacement},         // overlong
        {"\xE0\x80\xAF", 1, kReplacement},     // overlong
        {"\xED\xA0\x80", 1, kReplacement},     // a surrogate
        {"\xF4\x90\x80\x80", 1, kReplacement}, // past U+10FFFF
        {"\xFF", 1, kReplacement},
        {"\xE9" "t\xE9", 1, kReplacement}, // Windows-1252 text
    };
    for (const Row& row : rows) {
        const std::string_view text(row.text);
        std::size_t length = 0;
        EXPECT_EQ(Decode(text, 0, &length), row.code) << row.text;
        EXPECT_EQ(length, row.length) << row.text;
        EXPECT_EQ(CharLength(text, 0), row.length) << row.text;
        EXPECT_EQ(IsValid(text), row.code != kReplacement) << row.text;
        // Inside longer text the bytes are read a word at a time: the verdict holds there too.
        const std::string before(11, 'x');
        EXPECT_EQ(IsValid(before + row.text + before), row.code != kReplacement) << row.text;
        EXPECT_EQ(IsValid(before + row.text), row.code != kReplacement) << row.text;
    }
}

TEST(Utf8, EveryByteLiesInOneCharacterWhateverTheBytes)
{
    std::mt19937 random(7);
    const char pieces[][5] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\x80", "\xC3", "\xE2\x82", "\xFF"};
    for (int round = 0; round < 500; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % std::size(pieces)];
        // Walking forward and backward meets the same boundaries, and every
        // byte's character starts at the boundary before it.
        std::vector<std::size_t> forward;
        bool wellFormed = true;
        for (std::size_t i = 0; i < text.size(); i = NextChar(text, i)) {
            forward.push_back(i);
            wellFormed = wellFormed && Decode(text, i) != kReplacement;
        }
        EXPECT_EQ(IsValid(text), wellFormed) << round;
        std::vector<std::size_t> backward;
        for (std::size_t i = text.size(); i > 0;) {
            i = PrevChar(text, i);
            backward.insert(backward.begin(), i);
        }
        ASSERT_EQ(forward, backward) << text;
        EXPECT_EQ(CountChars(text), forward.size());
        for (std::size_t b = 0, c = 0; b < text.size(); ++b) {
            if (c + 1 < forward.size() && forward[c + 1] <= b)
                ++c;
            EXPECT_EQ(CharStart(text, b), forward[c]) << text << " byte " << b;
        }
        for (std::size_t c = 0; c <= forward.size(); ++c)
            EXPECT_EQ(OffsetOfChar(text, c), c < forward.size() ? forward[c] : text.size());
    }
}

TEST(Utf8, EncodingGivesBackTheCodePoint)
{
    for (char32_t cp : {U'\0', U'A', char32_t(0x7F), char32_t(0x80), char32_t(0x7FF), char32_t(0x800),
                        char32_t(0xFFFD), char32_t(0x10000), char32_t(0x10FFFF)}) {
        const std::string bytes = Encode(cp);
        std::size_t length = 0;
        EXPECT_EQ(Decode(bytes, 0, &length), cp);
        EXPECT_EQ(length, bytes.size());
        EXPECT_TRUE(IsValid(bytes));
    }
}

TEST(Utf8, WideCharactersTakeTwoCellsAndZeroWidthOnesNone)
{
    const std::pair<char32_t, int> rows[] = {
        {U'a', 1},     {0xE9, 1},     {0x3B1, 1},     {0x436, 1},   {0x20AC, 1},  {0x4F60, 2},
        {0x3042, 2},   {0xAC00, 2},   {0xFF21, 2},    {0x1F600, 2}, {0x1F680, 2}, {0x20000, 2},
        {0x2FFFD, 2},  {0x10FFFF, 1}, {0xFFFD, 1},    {0x1100, 2},  {0x1160, 1},  {0x231A, 2},
        // Combining marks, enclosing ones too, and the other zero-width characters.
        {0x2FF, 1},    {0x300, 0},    {0x301, 0},     {0x36F, 0},   {0x370, 1},   {0x1AFF, 0},
        {0x1DC0, 0},   {0x1DFF, 0},   {0x20D0, 0},    {0x20DD, 0},  {0x20FF, 0},  {0xFE20, 0},
        {0xFE2F, 0},   {0x200B, 0},   {0x200C, 0},    {0x200D, 0},  {0x200E, 0},  {0x200F, 0},
        {0x2010, 1},   {0x2060, 0},   {0x2064, 0},    {0x2065, 1},  {0xFE00, 0},  {0xFE0F, 0},
        {0xE0100, 0},  {0xE01EF, 0},  {0x3099, 0},    {0x309B, 2},  {0x0E31, 0},  {0x093F, 1},
    };
    for (auto [cp, cells] : rows) {
        EXPECT_EQ(CellWidth(cp), cells) << std::hex << static_cast<unsigned>(cp);
        EXPECT_EQ(IsZeroWidth(cp), cells == 0) << std::hex << static_cast<unsigned>(cp);
    }
}

// A character and the zero-width characters after it are one cluster, in the
// first one's cells; a zero-width character with nothing before it in its
// line, offset 0 of the text, is one of its own, in a cell.
TEST(Utf8, ClustersTakeTheirFirstCharactersCells)
{
    const std::string acute = "\xCC\x81";
    const std::string joiner = "\xE2\x80\x8D";
    const std::string selector = "\xEF\xB8\x8F";
    struct Row {
        std::string text;
        std::size_t pos;
        int cells;
        std::size_t length; // of the cluster at pos
    };
    const Row rows[] = {
        {"ab", 0, 1, 1},
        {"\xC3\xA9", 0, 1, 2},                                   // a precomposed letter
        {"e" + acute + "x", 0, 1, 3},                              // a decomposed one
        {"e" + acute + acute + "x", 0, 1, 5},
        {"\xE4\xBD\xA0" + acute, 0, 2, 5},                        // a wide character's mark
        {"\xF0\x9F\x98\x80", 0, 2, 4},                            // emoji
        {"\xF0\x9F\x91\xA8" + joiner + "\xF0\x9F\x91\xA9", 0, 2, 7}, // joined emoji: two clusters
        {"\xF0\x9F\x91\xA8" + joiner + "\xF0\x9F\x91\xA9", 7, 2, 4},
        {"\xE2\x9D\xA4" + selector, 0, 1, 6},                      // a variation selector
        {"\t" + acute, 0, 1, 3},
        {acute + "x", 0, 1, 2},                                    // at the line's start
        {acute + acute + "x", 0, 1, 4},
        {"\xE2\x80\x8B" "x", 0, 1, 3},                             // a zero-width space there
        {"a" + acute + acute, 1, 0, 4},                            // the rest of a cluster: no cells
        {"\xCC", 0, 1, 1},                                        // a lead byte cut short
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.text) + " at " + std::to_string(row.pos));
        std::size_t length = 0;
        EXPECT_EQ(CellsAt(row.text, row.pos, &length), row.cells);
        EXPECT_EQ(length, row.length);
        EXPECT_EQ(ClusterEnd(row.text, row.pos), row.pos + row.length);
    }
}

TEST(Utf8, TheCaretStepsOverClusters)
{
    const std::string acute = "\xCC\x81";
    // a, e with two accents, the wide character with a mark, x: clusters at 0, 1, 6, 12.
    const std::string text = "ae" + acute + acute + "\xE4\xBD\xA0\xE3\x82\x99" "x";
    const std::vector<std::size_t> starts = {0, 1, 6, 12};
    for (std::size_t b = 0, c = 0; b < text.size(); ++b) {
        if (c + 1 < starts.size() && starts[c + 1] <= b)
            ++c;
        EXPECT_EQ(ClusterStart(text, b), starts[c]) << "byte " << b;
        if (starts[c] == b) {
            EXPECT_EQ(ClusterEnd(text, b), c + 1 < starts.size() ? starts[c + 1] : text.size()) << "byte " << b;
        }
    }
    EXPECT_EQ(ClusterStart(text, text.size()), text.size());
    EXPECT_EQ(ClusterStart(acute + acute, 3), 0u) << "back to the line's start";
    EXPECT_EQ(SkipZeroWidth(text, 2), 6u);
    EXPECT_EQ(SkipZeroWidth(text, 1), 1u);
    EXPECT_EQ(SkipZeroWidth(acute, 0), 2u);
}

// The columns the user counts: the characters that are not zero-width ones.
// Zero-width characters lie before the column of the character after them.
TEST(Utf8, ZeroWidthCharactersTakeNoColumn)
{
    const std::string acute = "\xCC\x81";
    struct Row {
        std::string text;
        std::vector<std::size_t> columns; // where each column begins
    };
    const Row rows[] = {
        {"", {}},
        {"abc", {0, 1, 2}},
        {"ae" + acute + "b", {0, 1, 4}},
        {"e" + acute + acute, {0}},
        {acute + "x" + acute + "y", {2, 5}},
        {acute + acute, {}},
        {"\xE4\xBD\xA0\xE3\x82\x99" "x", {0, 6}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.text));
        EXPECT_EQ(CountSpacingChars(row.text), row.columns.size());
        for (std::size_t c = 0; c <= row.columns.size(); ++c)
            EXPECT_EQ(OffsetOfSpacingChar(row.text, c), c < row.columns.size() ? row.columns[c] : row.text.size());
    }
}

// One rule tells how long a sequence is, and whether bytes at a text's end
// begin one that the text cuts short: the second byte's range rules out
// overlong forms, surrogates and code points past U+10FFFF.
TEST(Utf8, OneRuleOfSequenceLengths)
{
    struct Row {
        const char* bytes;
        std::size_t length; // of the character at 0
        bool cutShort;      // the bytes begin a sequence the end cuts short
    };
    const Row rows[] = {
        {"\xE0\x80", 1, false},     {"\xE0\x9F", 1, false},     {"\xE0\xA0", 1, true},
        {"\xE0\xA0\x80", 3, false}, {"\xED\xA0", 1, false},     {"\xED\xBF", 1, false},
        {"\xED\x9F", 1, true},      {"\xED\x9F\xBF", 3, false}, {"\xF4\x90", 1, false},
        {"\xF4\x8F", 1, true},      {"\xF4\x8F\xBF", 1, true},  {"\xF4\x8F\xBF\xBF", 4, false},
        {"\xF0\x80", 1, false},     {"\xF0\x8F", 1, false},     {"\xF0\x90", 1, true},
        {"\xC0", 1, false},         {"\xC0\x80", 1, false},     {"\xC1\xBF", 1, false},
        {"\xC2", 1, true},          {"\xC2\x80", 2, false},     {"\xDF", 1, true},
        {"\xF5", 1, false},         {"\xF5\x80\x80", 1, false}, {"\xF8", 1, false},
        {"\xFF", 1, false},         {"\x80", 1, false},         {"a", 1, false},
        {"\xE2\x82", 1, true},      {"\xE2\x82" "a", 1, false},  {"\xF0\x9F\x98", 1, true},
    };
    for (const Row& row : rows) {
        const std::string_view text(row.bytes);
        EXPECT_EQ(CharLength(text, 0), row.length) << testing::PrintToString(row.bytes);
        EXPECT_EQ(CutShort(text, 0), row.cutShort) << testing::PrintToString(row.bytes);
    }
}

TEST(Utf8, FileTextIsUtf8OrElseWindows1252)
{
    EXPECT_EQ(vx::TextFromFileBytes("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(vx::TextFromFileBytes("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(vx::TextFromFileBytes(""), "");
    // Long ASCII runs around a stray byte are read in words: the stray byte still counts.
    const std::string ascii(37, 'x');
    EXPECT_FALSE(IsValid(ascii + "\xE9" + ascii));
    EXPECT_TRUE(IsValid(ascii + "\xC3\xA9" + ascii));
}

TEST(TextEncoding, EveryByteOfAWindows1252FileComesBack)
{
    std::string bytes = "<p>";
    for (int c = 0x80; c <= 0xFF; ++c)
        bytes += static_cast<char>(c);
    bytes += std::string("\r\n\0z", 4);
    const vx::TDecodedText decoded = vx::DecodeDocument(bytes);
    EXPECT_EQ(decoded.Encoding, vx::TTextEncoding::Windows1252);
    EXPECT_TRUE(IsValid(decoded.Text));
    EXPECT_EQ(CountChars(decoded.Text), bytes.size()); // one character a byte
    EXPECT_EQ(vx::EncodeDocument(decoded.Text, decoded.Encoding), bytes);
}

TEST(TextEncoding, Utf8FilesStayAsTheyAre)
{
    const std::string page = "<p>caf\xC3\xA9 \xF0\x9F\x98\x80</p>";
    const vx::TDecodedText decoded = vx::DecodeDocument(page);
    EXPECT_EQ(decoded.Encoding, vx::TTextEncoding::Utf8);
    EXPECT_EQ(decoded.Text, page);
    EXPECT_EQ(vx::EncodeDocument(decoded.Text, decoded.Encoding), page);
}

TEST(TextEncoding, AWindows1252FileRefusesWhatItCannotHold)
{
    struct Row {
        const char* text;
        bool holds;
        std::size_t bad;
    };
    const Row rows[] = {
        {"plain", true, 0},
        {"caf\xC3\xA9 \xE2\x82\xAC", true, 0},
        {"a\xCE\xB1", false, 1},          // alpha
        {"ab\xE4\xBD\xA0", false, 2},     // a Chinese character
        {"\xC2\x81", true, 0},            // an unassigned byte, kept as its control
        {"\xC2\x80", false, 0},           // a control whose byte means the euro sign
    };
    for (const Row& row : rows) {
        EXPECT_EQ(vx::CanHold(vx::TTextEncoding::Windows1252, row.text), row.holds) << row.text;
        EXPECT_TRUE(vx::CanHold(vx::TTextEncoding::Utf8, row.text));
        std::size_t bad = 99;
        EXPECT_EQ(vx::EncodeDocument(row.text, vx::TTextEncoding::Windows1252, &bad).has_value(), row.holds);
        if (!row.holds) {
            EXPECT_EQ(bad, row.bad) << row.text;
        }
    }
}
