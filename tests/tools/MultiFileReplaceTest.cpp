// Search and replace across files on real temporary folders.
#include "tools/FolderScan.h"
#include "tools/MultiFileReplace.h"

#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <span>

using namespace vx::tools;
using vx::test::readFile;
using vx::test::writeFile;

namespace {

TReplaceOptions Replacing(std::string find, std::string replacement)
{
    TReplaceOptions options;
    options.Find = std::move(find);
    options.Replacement = std::move(replacement);
    options.FindOnly = false;
    return options;
}

// A file's content, the run over it, and what the file then holds.
struct ReplaceCase {
    const char* name;
    std::string in;
    TReplaceOptions options;
    std::string out;
    std::int64_t occurrences;
};

class MultiFileReplaceTest : public ::testing::Test {
protected:
    vx::test::TempDir dir;

    void ExpectReplacements(std::span<const ReplaceCase> cases)
    {
        for (const ReplaceCase& c : cases) {
            const TFileOutcome outcome = c.occurrences ? TFileOutcome::Accepted : TFileOutcome::NothingFound;
            EXPECT_EQ(Run(c.in, c.options, outcome, c.occurrences), c.out) << c.name;
        }
    }

    // Writes content, replaces, and answers what the file then holds.
    std::string Run(const std::string& content, const TReplaceOptions& options, TFileOutcome expected,
                    std::int64_t occurrences)
    {
        const std::string file = dir.file("page.htm");
        writeFile(file, content);
        TMultiFileReplace run(options, [this](const std::string& question) {
            questions.push_back(question);
            if (answers.empty())
                return TPromptAnswer::Yes;
            const TPromptAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        });
        EXPECT_EQ(run.ReplaceInFile(file), expected) << content;
        EXPECT_EQ(run.Counters().Occurrences, occurrences) << content;
        EXPECT_EQ(run.Counters().BytesRead, static_cast<std::int64_t>(content.size()));
        return readFile(file);
    }

    std::deque<TPromptAnswer> answers;
    std::vector<std::string> questions;
};

} // namespace

TEST_F(MultiFileReplaceTest, FilesWithoutAMatchComeBackByteIdentical)
{
    const std::string longLine(100 * 1024, 'x');
    for (const std::string& content : {std::string("a\nb\n\nc"), std::string("a\r\nb\r\n\r\n"),
                                       std::string("a\rb\r\rc\r"), longLine + "\r\n" + longLine, std::string()})
        EXPECT_EQ(Run(content, Replacing("zz", "y"), TFileOutcome::NothingFound, 0), content);
}

TEST_F(MultiFileReplaceTest, Replacements)
{
    TReplaceOptions whole = Replacing("cat", "dog");
    whole.WholeWords = true;
    TReplaceOptions exact = Replacing("Cat", "x");
    exact.IgnoreCase = false;
    const ReplaceCase cases[] = {
        {"growing", "cat cat", Replacing("cat", "cats"), "cats cats", 2},
        {"deletion continues at its place", "aab", Replacing("a", ""), "b", 2},
        {"adjacent deletions", "aa", Replacing("a", ""), "", 2},
        {"line ends kept", "a cat\r\n\r\ncat\nx\rcat", Replacing("cat", "c"), "a c\r\n\r\nc\nx\rc", 3},
        {"last line without a break", "cat", Replacing("cat", "dog"), "dog", 1},
        {"whole words", "concatenate cats cat. cat", whole, "concatenate cats dog. dog", 2},
        {"case ignored, replacement as typed", "Cat CAT", Replacing("cat", "Dog"), "Dog Dog", 2},
        {"case sensitive", "cat Cat", exact, "cat x", 1},
        {"word characters above 127", "\xE9" "cat cat\xE9", whole, "\xE9" "cat cat\xE9", 0},
    };
    ExpectReplacements(cases);
}

// A UTF-8 file and a Windows-1252 file are searched as characters, case
// folded whole, and each is written back in its own encoding, every other
// byte as it was.
TEST_F(MultiFileReplaceTest, FilesOfEitherEncoding)
{
    TReplaceOptions exact = Replacing("é", "e");
    exact.IgnoreCase = false;
    TReplaceOptions whole = Replacing("café", "tea");
    whole.WholeWords = true;
    TReplaceOptions wholeCat = Replacing("cat", "dog");
    wholeCat.WholeWords = true;
    std::string allHigh;
    for (int c = 0x80; c <= 0xFF; ++c)
        allHigh += static_cast<char>(c);
    const ReplaceCase cases[] = {
        {"UTF-8, exact case", "café Café CAFÉ", exact, "cafe Cafe CAFÉ", 2},
        {"UTF-8, case ignored", "café Café CAFÉ", Replacing("é", "e"), "cafe Cafe CAFe", 3},
        {"UTF-8, Cyrillic and Greek", "ЖИЗНЬ жизнь ΣΟΦΊΑ", Replacing("жизнь", "life"), "life life ΣΟΦΊΑ", 2},
        {"UTF-8, a replacement outside Windows-1252", "a x b", Replacing("x", "α你😀"), "a α你😀 b", 1},
        {"UTF-8, whole words", "café cafés xcafé café.", whole, "tea cafés xcafé tea.", 2},
        {"Windows-1252, case ignored", "caf\xE9 CAF\xC9\r\n", Replacing("é", "è"), "caf\xE8 CAF\xE8\r\n", 2},
        {"Windows-1252, the euro", "10\x80 20\x80", Replacing("€", "EUR"), "10EUR 20EUR", 2},
        {"Windows-1252, a replacement it holds", "a-\xE9", Replacing("-", "\u2013\u00a0"), "a\x96\xA0\xE9", 1},
        {"Windows-1252, every byte kept", "x" + allHigh + "x", Replacing("x", "y"), "y" + allHigh + "y", 2},
        {"Windows-1252, whole words", "caf\xE9 caf\xE9s caf\xE9.", whole, "tea caf\xE9s tea.", 2},
        {"letters outside ASCII are word characters", "écat caté cat", wholeCat, "écat caté dog", 1},
        {"Windows-1252, no occurrence, nothing refused", "caf\xE9", Replacing("x", "α"), "caf\xE9", 0},
    };
    ExpectReplacements(cases);
}

// A UTF-8 file's byte order mark is no text to search: a word at the start
// is a whole word, a question shows the line without it, and the file keeps
// it at its start. In a Windows-1252 file the same bytes are characters.
TEST_F(MultiFileReplaceTest, AByteOrderMarkIsNoTextAndStays)
{
    TReplaceOptions whole = Replacing("cat", "dog");
    whole.WholeWords = true;
    TReplaceOptions prompted = Replacing("cat", "dog");
    prompted.Prompt = true;
    const ReplaceCase cases[] = {
        {"a whole word right after the mark", "\xEF\xBB\xBF" "cat cat\r\n", whole, "\xEF\xBB\xBF" "dog dog\r\n", 2},
        {"the first characters replaced", "\xEF\xBB\xBF" "cat", Replacing("cat", ""), "\xEF\xBB\xBF", 1},
        {"the mark is not found as text", "\xEF\xBB\xBF" "cat", Replacing("\xEF\xBB\xBF", "x"), "\xEF\xBB\xBF" "cat", 0},
        {"Windows-1252: the bytes are characters", "\xEF\xBB\xBF" "cat\xE9", Replacing("\xC2\xBF" "cat", "dog"),
         "\xEF\xBB" "dog\xE9", 1},
        {"prompted", "\xEF\xBB\xBF" "cat", prompted, "\xEF\xBB\xBF" "dog", 1},
    };
    ExpectReplacements(cases);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].ends_with("line:\n\ncat")) << questions[0];
}

// A replacement a Windows-1252 file has no byte for is not written into it:
// the file is left as it was and named in the message; the run goes on.
TEST_F(MultiFileReplaceTest, AWindows1252FileIsNotGivenACharacterItCannotHold)
{
    const std::string legacy = dir.file("legacy.htm");
    const std::string modern = dir.file("modern.htm");
    writeFile(legacy, "caf\xE9 x\r\n");
    writeFile(modern, "café x\r\n");
    TMultiFileReplace run(Replacing("x", "α"), nullptr);
    EXPECT_EQ(run.ReplaceInFile(legacy), TFileOutcome::Failed);
    EXPECT_EQ(run.Error(), "The file " + legacy +
                               " is a Windows-1252 file, which has no character \"α\" of the replacement: it was "
                               "not changed");
    EXPECT_EQ(readFile(legacy), "caf\xE9 x\r\n");
    EXPECT_EQ(run.Counters().Occurrences, 0);
    EXPECT_EQ(run.Counters().BytesWritten, 0);
    EXPECT_EQ(run.ReplaceInFile(modern), TFileOutcome::Accepted);
    EXPECT_EQ(readFile(modern), "café α\r\n");
    EXPECT_EQ(run.Counters().Occurrences, 1);
    EXPECT_EQ(run.Counters().FilesRead, 2);
}

TEST_F(MultiFileReplaceTest, PromptAnswers)
{
    TReplaceOptions options = Replacing("cat", "dog");
    options.Prompt = true;
    answers = {TPromptAnswer::Yes, TPromptAnswer::No, TPromptAnswer::All};
    EXPECT_EQ(Run("cat cat\r\n  the cat cat", options, TFileOutcome::Accepted, 3), "dog cat\r\n  the dog dog");
    ASSERT_EQ(questions.size(), 3u) << "All stops the questions for the file";
    EXPECT_EQ(questions[2], "Replace \"cat\" with \"dog\" in file\n" + dir.file("page.htm") +
                                "\nFor the following line:\n\nthe cat cat");

    // The line is shown in characters, at most 200 of them, never half of one.
    questions.clear();
    answers = {TPromptAnswer::No};
    const std::string line = std::string(199, 'a') + "éé cat";
    EXPECT_EQ(Run(line, options, TFileOutcome::NothingFound, 0), line);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].ends_with(std::string(199, 'a') + "é")) << questions[0];

    questions.clear();
    answers = {TPromptAnswer::Yes, TPromptAnswer::Cancel};
    EXPECT_EQ(Run("cat cat cat", options, TFileOutcome::Accepted, 1), "dog cat cat");
    EXPECT_EQ(questions.size(), 2u);

    answers = {TPromptAnswer::No, TPromptAnswer::No};
    EXPECT_EQ(Run("cat cat", options, TFileOutcome::NothingFound, 0), "cat cat");
}

TEST_F(MultiFileReplaceTest, FindOnlyLeavesFilesAlone)
{
    TReplaceOptions find;
    find.Find = "CAT";
    const std::string before = "a cat\r\nb cat";
    const std::string file = dir.file("page.htm");
    writeFile(file, before);
    const auto stamp = std::filesystem::last_write_time(file);
    TMultiFileReplace run(find, nullptr);
    EXPECT_EQ(run.ReplaceInFile(file), TFileOutcome::Accepted);
    EXPECT_EQ(run.Counters().Occurrences, 2);
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(std::filesystem::last_write_time(file), stamp);
    EXPECT_EQ(run.ReplaceInFile(dir.file("missing.htm")), TFileOutcome::Failed);
    EXPECT_EQ(run.Error(), "Error accessing file " + dir.file("missing.htm"));
    EXPECT_EQ(run.Counters().FilesRead, 1);
}

TEST_F(MultiFileReplaceTest, ARewrittenFileKeepsItsPermissionsAndLeavesNoTemporary)
{
    const std::string file = dir.file("page.htm");
    writeFile(file, "cat");
    namespace fs = std::filesystem;
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, mode);
    TMultiFileReplace run(Replacing("cat", "dog"), nullptr);
    EXPECT_EQ(run.ReplaceInFile(file), TFileOutcome::Accepted);
    EXPECT_EQ(readFile(file), "dog");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, mode);
    EXPECT_EQ(run.Counters().BytesWritten, 3);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "no temporary file is left beside it";
}

TEST_F(MultiFileReplaceTest, BackupAndWriteFailures)
{
    TReplaceOptions options = Replacing("a", "b");
    options.Backup = true;
    EXPECT_EQ(Run("aa", options, TFileOutcome::Accepted, 2), "bb");
    EXPECT_EQ(readFile(dir.file("page.htm.bak")), "aa");

    // A folder nobody may write to: finding works, replacing fails and the file stays.
    const std::string folder = dir.file("locked");
    std::filesystem::create_directory(folder);
    writeFile(folder + "/x.htm", "a");
    vx::test::GiveToUnprivileged(dir.path().string());
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                             std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read |
                                             std::filesystem::perms::others_exec);
    const int status = vx::test::RunUnprivileged([&folder] {
        TReplaceOptions find;
        find.Find = "a";
        if (TMultiFileReplace(find, nullptr).ReplaceInFile(folder + "/x.htm") != TFileOutcome::Accepted)
            return 1;
        TMultiFileReplace replace(Replacing("a", "b"), nullptr);
        if (replace.ReplaceInFile(folder + "/x.htm") != TFileOutcome::Failed || replace.Error().empty())
            return 2;
        return readFile(folder + "/x.htm") == "a" ? 0 : 3;
    });
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(status, 0);
}

TEST(ExtensionList, WholeEntries)
{
    const std::pair<const char*, bool> names[] = {
        {"a.htm", true}, {"A.HTM", true}, {"a.asp", true}, {"a.tm", false}, {"noext", false}, {"a.html", false},
    };
    for (const auto& [name, matches] : names)
        EXPECT_EQ(MatchesExtensionList(".htm; .asp", name), matches) << name;
    EXPECT_TRUE(MatchesExtensionList(".txt;*.*", "noext"));
    EXPECT_FALSE(MatchesExtensionList("", "a.htm"));
}

TEST(FolderScan, FilesSortedThenSubfolders)
{
    vx::test::TempDir dir;
    const auto path = [&dir](const std::string& name) { return dir.file(name); };
    std::filesystem::create_directories(path("sub/deeper"));
    std::filesystem::create_directories(path(".hidden"));
    for (const char* name : {"b.htm", "a.asp", "c.tm", "noext", ".dot.htm", "sub/x.htm", "sub/deeper/y.htm",
                             ".hidden/z.htm"})
        writeFile(path(name), "x");
    TScanSettings settings;
    settings.Extensions = ".htm;.asp";
    EXPECT_EQ(ScanDir(dir.path().string(), settings), (std::vector<std::string>{path("a.asp"), path("b.htm")}));
    settings.IncludeSubfolders = true;
    std::vector<std::string> seen;
    EXPECT_EQ(ScanDir(dir.path().string(), settings, [&seen](const std::string& name) { seen.push_back(name); }),
              (std::vector<std::string>{path("a.asp"), path("b.htm"), path("sub/x.htm"), path("sub/deeper/y.htm")}));
    EXPECT_FALSE(seen.empty());
    EXPECT_EQ(ScanDir(path("b.htm"), settings), std::vector<std::string>{path("b.htm")});
    EXPECT_EQ(ScanDir(path("c.tm"), settings), std::vector<std::string>{});
    EXPECT_EQ(ScanDir(path("missing"), settings), std::vector<std::string>{});
    EXPECT_EQ(ScanDir(path("b.htm") + std::string(1, '\0') + "junk", settings), std::vector<std::string>{path("b.htm")});
}

TEST(FolderScan, SettingsAreStored)
{
    TScanSettings settings;
    settings.Extensions = ".txt";
    settings.IncludeSubfolders = true;
    settings.Save();
    const TScanSettings loaded = TScanSettings::Load();
    EXPECT_EQ(loaded.Extensions, ".txt");
    EXPECT_TRUE(loaded.IncludeSubfolders);
    TScanSettings().Save();
}
