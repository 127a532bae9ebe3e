#include "shell/DocumentFile.h"

#include <gtest/gtest.h>

#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

using vx::shell::JoinLines;
using vx::shell::LoadedLinesOf;

namespace {

TStringList LinesOf(const std::string& bytes)
{
    TStringList lines;
    lines.SetText(bytes);
    return lines;
}

// The lines of an edited text as the line store holds them, given joined with LF.
TStringList EditedLines(const std::string& edited)
{
    TStringList lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = edited.find('\n', start);
        lines.Add(edited.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return lines;
        start = at + 1;
    }
}

// A loaded text, its lines after an edit and the bytes that saves.
struct EditCase {
    const char* loaded;
    const char* edited; // as the line store holds it, joined with LF
    const char* saved;
};

void ExpectSaved(std::span<const EditCase> cases)
{
    for (const EditCase& c : cases)
        EXPECT_EQ(JoinLines(EditedLines(c.edited), LoadedLinesOf(c.loaded)), c.saved) << c.loaded << " -> " << c.edited;
}

} // namespace

TEST(DocumentFile, LoadedLinesSplitAsTheLineStoreDoes)
{
    const std::pair<std::string, bool> cases[] = {
        {"a\nb\n\nc\n", false}, {"a\r\nb", false},         {"x\ry\r", false}, {"one line", false},
        {"\n\n", false},        {"a\r\n\rb\n\r\n", true}, {"", false},       {"a\nb\r", true},
    };
    for (const auto& [bytes, mixed] : cases) {
        const auto loaded = LoadedLinesOf(bytes);
        const TStringList lines = LinesOf(bytes);
        if (mixed) {
            ASSERT_EQ(loaded.Fingerprints.size(), static_cast<std::size_t>(lines.Count())) << bytes;
            for (int i = 0; i < lines.Count(); ++i)
                EXPECT_EQ(loaded.Fingerprints[static_cast<std::size_t>(i)], vx::shell::LineFingerprint(lines[i]))
                    << bytes;
        } else {
            EXPECT_TRUE(loaded.Fingerprints.empty() && loaded.Breaks.empty()) << bytes << ": lines all end alike";
        }
        EXPECT_EQ(JoinLines(lines, loaded), bytes) << "unchanged lines give back the bytes";
    }
    EXPECT_EQ(LoadedLinesOf("a\nb\r\n").Usual, vx::shell::TLineBreak::Lf);
    EXPECT_EQ(LoadedLinesOf("no break").Usual, vx::shell::TLineBreak::CrLf);
}

TEST(DocumentFile, EditedMixedTextKeepsEveryOtherLinesBreak)
{
    const EditCase cases[] = {
        {"a\r\nb\nc\rd\r\n", "a\nB\nc\nd", "a\r\nB\nc\rd\r\n"},          // a changed line keeps its own break
        {"a\r\nb\nc\rd", "a\nb\nX\nc\nd", "a\r\nb\nX\r\nc\rd"},           // an inserted line takes the usual one
        {"a\nb\r\nc\r\n", "a\nc", "a\nc\r\n"},                            // a removed line takes its break along
        {"a\r\nb\n", "a\nb\nc", "a\r\nb\nc\n"},                           // an added last line ends as the text did
        {"a\r\nb", "a\nb\nc", "a\r\nb\r\nc"},                             // ... without a final break
        {"", "new\ntext", "new\r\ntext\r\n"},                             // a new text gets CR LF
        {"x\r\n", "", ""},                                                // one empty line is an empty file
    };
    ExpectSaved(cases);
}

// A text of one empty line is an empty file (a new text, an empty file, a
// text whose characters were all deleted), unless the file was one line
// break and nothing else: that stays.
TEST(DocumentFile, OneEmptyLineIsAnEmptyFileUnlessTheFileWasALoneBreak)
{
    const EditCase cases[] = {
        {"\n", "", "\n"},
        {"\r", "", "\r"},
        {"\r\n", "", "\r\n"},
        {"", "", ""},
        {"x\r\n", "", ""},
        {"x\n", "", ""},
        {"x", "", ""},
        {"\n", "typed", "typed\n"},
        {"\r", "a\nb", "a\rb\r"},
        {"\r\n", "\n", "\r\n\r\n"},
    };
    ExpectSaved(cases);
    EXPECT_EQ(JoinLines(EditedLines(""), {}), "") << "a new document";
}

TEST(DocumentFile, BinaryMeansANulByteInTheFirstBlock)
{
    EXPECT_FALSE(vx::shell::LooksBinary("plain <b>text</b>\r\n"));
    EXPECT_TRUE(vx::shell::LooksBinary(std::string("GIF89a\0\0", 8)));
    std::string late(9000, 'a');
    late[8500] = '\0';
    EXPECT_FALSE(vx::shell::LooksBinary(late)) << "only the first block is looked at";
}

namespace {

using vx::shell::TLineBreak;

struct ModelLine {
    std::string text;
    TLineBreak lineBreak;
    bool loaded; // untouched since the load
};

// The lines and breaks of saved bytes, split as a load splits them.
std::vector<std::pair<std::string, TLineBreak>> SplitSaved(const std::string& bytes)
{
    std::vector<std::pair<std::string, TLineBreak>> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t at = bytes.find_first_of("\r\n", start);
        if (at == std::string::npos) {
            lines.emplace_back(bytes.substr(start), TLineBreak::None);
            break;
        }
        const bool crlf = bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n';
        lines.emplace_back(bytes.substr(start, at - start),
                           crlf ? TLineBreak::CrLf : bytes[at] == '\r' ? TLineBreak::Cr : TLineBreak::Lf);
        start = at + (crlf ? 2 : 1);
    }
    return lines;
}

} // namespace

TEST(DocumentFile, EveryUntouchedLineKeepsItsBreakWhateverChangedAroundIt)
{
    // A plain model: the lines with their breaks and whether each is still the
    // loaded one; random edits anywhere; what is saved must give each loaded
    // line its own break back. Lines are told apart by their text.
    std::mt19937 random(49);
    const TLineBreak breaks[] = {TLineBreak::CrLf, TLineBreak::Lf, TLineBreak::Cr};
    int fresh = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<ModelLine> model;
        const int count = 1 + static_cast<int>(random() % 60);
        std::string bytes;
        for (int i = 0; i < count; ++i) {
            model.push_back({"line " + std::to_string(fresh++), breaks[random() % 3], true});
            bytes += model.back().text + std::string(vx::shell::BreakText(model.back().lineBreak));
        }
        const bool finalBreak = random() % 2 == 0;
        if (!finalBreak) {
            bytes.resize(bytes.size() - vx::shell::BreakText(model.back().lineBreak).size());
            model.back().lineBreak = TLineBreak::None;
        }
        const auto loaded = LoadedLinesOf(bytes);
        for (int edits = static_cast<int>(random() % 8); edits > 0; --edits) {
            const std::size_t at = random() % (model.size() + 1);
            switch (random() % 3) {
            case 0:
                model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), {"new " + std::to_string(fresh++), {}, false});
                break;
            case 1:
                if (model.size() > 1 && at < model.size())
                    model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            default:
                if (at < model.size())
                    model[at] = {"changed " + std::to_string(fresh++), {}, false};
            }
        }
        TStringList lines;
        for (const ModelLine& line : model)
            lines.Add(line.text);
        const auto saved = SplitSaved(JoinLines(lines, loaded));
        ASSERT_EQ(saved.size(), model.size()) << bytes;
        for (std::size_t i = 0; i < model.size(); ++i) {
            EXPECT_EQ(saved[i].first, model[i].text);
            if (i + 1 == model.size())
                EXPECT_EQ(saved[i].second, loaded.Final) << "the text ends as it did";
            else if (model[i].loaded && model[i].lineBreak != TLineBreak::None)
                EXPECT_EQ(saved[i].second, model[i].lineBreak) << model[i].text << " in round " << round;
            else
                EXPECT_NE(saved[i].second, TLineBreak::None) << "a line that is no longer the last gets one";
        }
    }
}

TEST(DocumentFile, LinesAreMatchedThroughTheLinesThatOccurOnce)
{
    using vx::shell::MatchLoadedLines;
    struct Case {
        std::vector<std::uint32_t> old, now;
        std::vector<std::ptrdiff_t> match;
    };
    const Case cases[] = {
        {{1, 2, 3}, {1, 2, 3}, {0, 1, 2}},
        {{1, 2, 3, 4, 5}, {1, 9, 2, 3, 5}, {0, -1, 1, 2, 4}},  // the two edits
        {{7, 1, 7, 2, 7}, {7, 2, 7, 1, 7}, {0, -1, -1, 1, 4}}, // of two lines that swapped, one stays
        {{5, 5, 5}, {5, 5}, {0, 1}},                            // repeated lines, line by line
        {{1, 2}, {}, {}},
        {{}, {3, 4}, {-1, -1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchLoadedLines(c.old, c.now), c.match);
}
