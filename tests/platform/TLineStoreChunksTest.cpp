// A long line's chunks against a string edited the plain way: typing near one
// place, deletions across many chunks, insertions longer than a chunk, the
// line emptied and filled again, and where its last tab before a place is;
// and how much of the line an edit moves.
#include "platform/TLineStoreChunks.h"
#include "platform/TextShape.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

namespace {

constexpr std::size_t kChunk = TLineChunks::kChunk;

std::string Joined(const TLineChunks& line)
{
    std::string text;
    for (std::size_t i = 0; i < line.PieceCount(); ++i)
        text += line.Piece(i);
    return text;
}

// Odd seeds give bytes of every value, even seeds mostly whole characters
// of one to four bytes, zero-width ones among them, with a stray byte now
// and then: edits at any byte split characters, and chunks must still meet
// between characters.
std::string Letters(std::mt19937& rng, std::size_t n)
{
    static const char* const characters[] = {"a", "\t", "\xC3\xA9", "\xE2\x82\xAC", "\xE4\xBD\xA0",
                                             "\xF0\x9F\x98\x80", "\xC3", "\x80", "\xCC\x81", "\xE2\x80\x8D"};
    const bool bytes = rng() % 2 == 1;
    std::string s;
    while (s.size() < n)
        s += bytes ? std::string(1, static_cast<char>(rng() % 256)) : characters[rng() % std::size(characters)];
    s.resize(n);
    return s;
}

TEST(TLineChunks, AgreesWithPlainEdits)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&](std::size_t n) { return n == 0 ? std::size_t{0} : static_cast<std::size_t>(rng() % n); };
        std::string want = Letters(rng, pick(12 * kChunk));
        TLineChunks line(want);
        std::size_t place = pick(want.size() + 1);
        for (int step = 0; step < 400; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            if (pick(8) == 0)
                place = pick(want.size() + 1);
            place = std::min(place, want.size());
            std::size_t count = 0;
            std::string text;
            switch (pick(6)) {
            case 0: count = pick(want.size() - place + 1); break;                 // across chunks
            case 1: text = Letters(rng, pick(5 * kChunk)); break;                   // longer than chunks
            case 2: count = std::min(want.size() - place, pick(3)); break;          // Delete
            case 3:
                if (place > 0) { // Backspace
                    --place;
                    count = 1;
                }
                break;
            default: text = Letters(rng, 1 + pick(3)); break; // typing
            }
            line.Replace(place, count, text);
            want.replace(place, count, text);
            place += text.size();
            ASSERT_EQ(line.Length(), want.size());
            if (step % 7 == 0) {
                ASSERT_EQ(Joined(line), want);
                ASSERT_EQ(line.Whole(), want);
            }
            const std::size_t from = pick(want.size() + 2);
            const std::size_t n = pick(3 * kChunk);
            std::string read;
            line.Read(from, n, read);
            ASSERT_EQ(read, from < want.size() ? want.substr(from, n) : "");
            for (std::size_t i = 0; i < line.PieceCount(); ++i) {
                ASSERT_FALSE(line.Piece(i).empty()) << "no empty chunk";
                ASSERT_LE(line.Piece(i).size(), 2 * kChunk + 3) << "no chunk grows without bound";
            }
            // Measuring the whole line is what costs most here: now and then.
            if (step % 40 == 0) {
                TTextShape shape;
                for (std::size_t i = 0; i < line.PieceCount(); ++i) {
                    const TTextShape alone = i == 0 ? ShapeOf(line.Piece(i)) : ShapeOfContinuation(line.Piece(i));
                    ASSERT_EQ(line.PieceShape(i), alone);
                    shape += line.PieceShape(i);
                }
                ASSERT_EQ(shape, ShapeOf(want)) << "chunks meet between characters";
            }
        }
        EXPECT_EQ(Joined(TLineChunks(line)), want) << "a copy has the same text";
        line.Replace(0, want.size(), "");
        EXPECT_EQ(line.PieceCount(), 0u);
        line.Replace(0, 0, "again");
        EXPECT_EQ(line.Whole(), "again");
    }
}

// Keystrokes anywhere in a long line move at most the chunk they land in:
// every other chunk keeps its place in memory. The whole copy follows edits.
TEST(TLineChunks, AKeystrokeMovesOneChunk)
{
    std::string text(40 * kChunk, 'a');
    TLineChunks line(text);
    const std::string& whole = line.Whole();
    EXPECT_EQ(whole, text);
    for (std::size_t pos : {std::size_t{0}, 17 * kChunk + 5, text.size()}) {
        std::vector<const char*> before;
        for (std::size_t i = 0; i < line.PieceCount(); ++i)
            before.push_back(line.Piece(i).data());
        line.Replace(pos, 0, "x");
        text.insert(pos, "x");
        int moved = 0;
        for (std::size_t i = 0; i < line.PieceCount(); ++i)
            moved += line.Piece(i).data() != before[i];
        EXPECT_LE(moved, 1) << "at " << pos;
        EXPECT_EQ(line.Whole(), text);
        EXPECT_EQ(&line.Whole(), &whole) << "the whole copy is one string throughout";
    }
}

} // namespace

namespace {

// A line read in blocks: each block is appended as it comes, cut wherever
// the block ends, inside a character too. The line holds the text, and the
// chunks' shapes add up to the text's, as if it had come whole.
TEST(TLineChunks, BlocksAppendedAnywhereMakeTheLineTheWholeTextMakes)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        const std::string text = Letters(rng, 6 * kChunk + rng() % kChunk);
        TLineChunks line("");
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t block = 1 + rng() % (2 * kChunk);
            line.Append(std::string_view(text).substr(at, block));
            at += block;
        }
        ASSERT_EQ(Joined(line), text);
        TTextShape shape;
        for (std::size_t i = 0; i < line.PieceCount(); ++i)
            shape += line.PieceShape(i);
        EXPECT_EQ(shape, ShapeOf(text));
    }
}

} // namespace

namespace {

// A zero-width character takes no cell but where nothing stands before it in
// the line, and it is no character the user counts; zero-width characters
// that begin a chunk join the character ending the chunk before it.
TEST(TLineChunks, ZeroWidthCharactersJoinTheCharacterBeforeThem)
{
    const std::string acute = "\xCC\x81";
    struct Row {
        std::string text;
        TTextShape alone;      // tabs, cells, characters
        TTextShape continuing; // after other characters of the line
    };
    const Row rows[] = {
        {"e" + acute, {0, 1, 1}, {0, 1, 1}},
        {acute + "x", {0, 2, 1}, {0, 1, 1}},
        {acute + acute, {0, 1, 0}, {0, 0, 0}},
        {"\t" + acute + "x", {1, 2, 2}, {1, 2, 2}},
        {"\xE2\x80\x8B", {0, 1, 0}, {0, 0, 0}},                                  // zero-width space
        {"\xE2\x9D\xA4\xEF\xB8\x8F!", {0, 2, 2}, {0, 2, 2}},                     // a variation selector
        {"\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9", {0, 4, 2}, {0, 4, 2}}, // emoji joined
        {"\xE4\xBD\xA0\xE3\x82\x99", {0, 2, 1}, {0, 2, 1}},                      // a wide one's mark
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.text));
        EXPECT_EQ(ShapeOf(row.text), row.alone);
        EXPECT_EQ(ShapeOfContinuation(row.text), row.continuing);
    }

    const std::string text = std::string(kChunk - 1, 'a') + "e" + acute + std::string(kChunk, 'b');
    TLineChunks line(text);
    ASSERT_GE(line.PieceCount(), 2u);
    ASSERT_EQ(line.Piece(1).substr(0, 2), acute) << "a chunk begins with the accent";
    TTextShape shape;
    for (std::size_t i = 0; i < line.PieceCount(); ++i)
        shape += line.PieceShape(i);
    EXPECT_EQ(shape, (TTextShape{0, 2 * kChunk, 2 * kChunk}));
}

} // namespace
