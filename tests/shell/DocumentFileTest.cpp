#include "shell/core/DocumentFile.h"

#include <gtest/gtest.h>

using vx::shell::JoinLines;
using vx::shell::LoadedLinesOf;

namespace {

TStringList LinesOf(const std::string& bytes)
{
    TStringList lines;
    lines.SetText(bytes);
    return lines;
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
    struct Case {
        const char* loaded;
        const char* edited; // as the line store holds it, joined with LF
        const char* saved;
    };
    const Case cases[] = {
        {"a\r\nb\nc\rd\r\n", "a\nB\nc\nd", "a\r\nB\nc\rd\r\n"},          // a changed line keeps its own break
        {"a\r\nb\nc\rd", "a\nb\nX\nc\nd", "a\r\nb\nX\r\nc\rd"},           // an inserted line takes the usual one
        {"a\nb\r\nc\r\n", "a\nc", "a\nc\r\n"},                            // a removed line takes its break along
        {"a\r\nb\n", "a\nb\nc", "a\r\nb\nc\n"},                           // an added last line ends as the text did
        {"a\r\nb", "a\nb\nc", "a\r\nb\r\nc"},                             // ... without a final break
        {"", "new\ntext", "new\r\ntext\r\n"},                             // a new text gets CR LF
        {"x\r\n", "", ""},                                                // one empty line is an empty file
    };
    for (const Case& c : cases) {
        TStringList lines;
        std::string edited = c.edited;
        std::size_t start = 0;
        while (true) {
            const std::size_t at = edited.find('\n', start);
            lines.Add(edited.substr(start, at == std::string::npos ? std::string::npos : at - start));
            if (at == std::string::npos)
                break;
            start = at + 1;
        }
        EXPECT_EQ(JoinLines(lines, LoadedLinesOf(c.loaded)), c.saved) << c.loaded << " -> " << c.edited;
    }
}

TEST(DocumentFile, BinaryMeansANulByteInTheFirstBlock)
{
    EXPECT_FALSE(vx::shell::LooksBinary("plain <b>text</b>\r\n"));
    EXPECT_TRUE(vx::shell::LooksBinary(std::string("GIF89a\0\0", 8)));
    std::string late(9000, 'a');
    late[8500] = '\0';
    EXPECT_FALSE(vx::shell::LooksBinary(late)) << "only the first block is looked at";
}
