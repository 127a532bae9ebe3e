#include "shell/DocumentTypes.h"
#include "shell/FileListing.h"
#include "shell/FileMasks.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vx::shell;

TEST(FileMasks, ParsingDropsEmptyPiecesAndLoosensBareWords)
{
    EXPECT_EQ(ParseMasks("", true), (std::vector<std::string>{"*"}));
    EXPECT_EQ(ParseMasks(" *.HTM ;;*.asp,", true), (std::vector<std::string>{"*.asp", "*.htm"}));
    EXPECT_EQ(ParseMasks("index,Default", true), (std::vector<std::string>{"*default*", "*index*"}));
    EXPECT_EQ(ParseMasks("a?c", true), (std::vector<std::string>{"a?c*"}));
    EXPECT_EQ(ParseMasks("a?c", false), (std::vector<std::string>{"a?c"}));
    EXPECT_EQ(ParseMasks(";, ;", false), (std::vector<std::string>{"*"}));
}

TEST(FileMasks, Matching)
{
    struct Row {
        const char* Name;
        const char* Mask;
        bool Strict;
        bool Matches;
    };
    const Row rows[] = {
        {"a.txt.txt", "*.txt", true, true},  // backtracking
        {"banana", "*a", true, true},
        {"page.htm", "*.htm", true, true},
        {"page.html", "*.htm", true, false}, // the extension exactly
        {"page.html", "*.htm*", true, true},
        {"page.htm", "page.ht?", true, true}, // "?" in the last place
        {"page.h", "page.h?", true, false},
        {"abcxyzdef", "abc*xyz*def", true, true},
        {"abcdef", "abc*xyz*def", true, false},
        {"readme", "*.*", true, false},
        {"read.me", "*.*", true, true},
        {"anything", "*", true, true},
        {"index.asp", "index.asp", true, true},
        {"myindex.asp", "index", true, false},
        {"myindex.asp", "index", false, true},
        {"", "?", true, false},
        {"ab", "a*b*", true, true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MatchesMask(row.Name, row.Mask, row.Strict), row.Matches) << row.Name << " ~ " << row.Mask;
    EXPECT_TRUE(MatchesAnyMask("PAGE.ASP", ParseMasks("*.asp;*.inc", true), true));
    EXPECT_FALSE(MatchesAnyMask("page.asa", ParseMasks("*.asp;*.inc", true), true));
    EXPECT_TRUE(MatchesAnyMask("", {}, true));
    EXPECT_FALSE(MatchesAnyMask("x", {}, true));
}

namespace {

class ListingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Write("b.asp", 300);
        Write("A.inc", 10);
        Write("c.htm", 2000);
        Write("notes.txt", 1);
        Write(".hidden.asp", 5);
        std::filesystem::create_directory(dir.path() / "sub.asp");
        const auto now = std::filesystem::file_time_type::clock::now();
        std::filesystem::last_write_time(dir.path() / "b.asp", now - std::chrono::hours(3));
        std::filesystem::last_write_time(dir.path() / "A.inc", now - std::chrono::hours(1));
        std::filesystem::last_write_time(dir.path() / "c.htm", now - std::chrono::hours(2));
    }
    void Write(const std::string& name, std::size_t size) { vx::test::writeFile(dir.file(name), std::string(size, 'x')); }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < listing.Count(); ++i)
            names.push_back(listing[i].Name);
        return names;
    }

    vx::test::TempDir dir{"vellumix-listing"};
    TFileListing listing{[](const std::string& path) {
        return std::filesystem::path(path).extension().string() + std::string(100, 't');
    }};
};

} // namespace

TEST_F(ListingTest, ListsMatchingFilesWithTheirTotal)
{
    EXPECT_EQ(listing.Load(dir.path().string(), "*.asp;*.inc;*.htm"), 3) << "no dot files, no folders";
    EXPECT_EQ(listing.TotalSize(), 2310);
    EXPECT_EQ(listing.Load(dir.path().string(), "*.*"), 4);
    EXPECT_EQ(listing.Load(dir.path().string(), "*.inc"), 1);
    EXPECT_EQ(listing.FullName(0), AddBackslash(dir.path().string()) + "A.inc");
    EXPECT_EQ(listing[0].TypeName.size(), 80u);
    EXPECT_EQ(listing[0].ImageIndex, -1);
    EXPECT_EQ(listing.Load((dir.path() / "missing").string(), "*.*"), 0);
    EXPECT_EQ(listing.TotalSize(), 0);
}

TEST_F(ListingTest, SortsByEachColumnBothWays)
{
    listing.Load(dir.path().string(), "*.asp;*.inc;*.htm");
    const std::pair<TFileSort, std::vector<std::string>> rows[] = {
        {TFileSort::Name, {"A.inc", "b.asp", "c.htm"}},
        {TFileSort::Size, {"A.inc", "b.asp", "c.htm"}},
        {TFileSort::Date, {"b.asp", "c.htm", "A.inc"}},
        {TFileSort::Type, {"b.asp", "c.htm", "A.inc"}},
    };
    for (const auto& [kind, ascending] : rows) {
        listing.Sort(kind, true);
        EXPECT_EQ(Names(), ascending) << static_cast<int>(kind);
        listing.Sort(kind, false);
        EXPECT_EQ(Names(), std::vector<std::string>(ascending.rbegin(), ascending.rend())) << static_cast<int>(kind);
    }
}

TEST_F(ListingTest, NamesSortByTheirCharactersWhateverTheirCase)
{
    for (const char* name : {"\xC3\xA9" "b.htm", "\xC3\x89" "c.htm", "ea.htm", "\xD0\x96" "a.htm", "\xD0\xB6" "b.htm"})
        Write(name, 1);
    listing.Load(dir.path().string(), "*.htm");
    listing.Sort(TFileSort::Name, true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c.htm", "ea.htm", "\xC3\xA9" "b.htm", "\xC3\x89" "c.htm",
                                                 "\xD0\x96" "a.htm", "\xD0\xB6" "b.htm"}));
}

TEST_F(ListingTest, TypeNamesAreAskedAnewWhenTheLanguageChanges)
{
    std::string language = "en";
    TFileListing named{[&language](const std::string& path) {
        return language + std::filesystem::path(path).extension().string();
    }};
    named.Load(dir.path().string(), "*.inc");
    EXPECT_EQ(named[0].TypeName, "en.inc");
    language = "nl";
    named.RenameTypes();
    EXPECT_EQ(named[0].TypeName, "nl.inc");
}

TEST(DocumentTypes, TheProgramsOwnNamesAndTheExtensionForOtherFiles)
{
    const std::pair<const char*, const char*> rows[] = {
        {"index.htm", "HTML document"},     {"/web/INDEX.HTML", "HTML document"},
        {"default.asp", "Active Server Page"}, {"header.inc", "ASP include file"},
        {"global.asa", "ASP application file"}, {"site.css", "CSS style sheet"},
        {"menu.js", "JavaScript file"},     {"run.vbs", "VBScript file"},
        {"form.cgi", "Perl script"},        {"page.php3", "PHP page"},
        {"logo.JPeG", "JPEG image"},        {"archive.tar.gz", "GZ file"},
        {"/a.folder/README", "File"},       {"trailing.", "File"},
    };
    for (const auto& [name, type] : rows)
        EXPECT_EQ(DocumentTypeName(name), type) << name;
    EXPECT_EQ(LowerExtension("/a.b/Page.HTM"), ".htm");
    EXPECT_EQ(LowerExtension("/a.b/page"), "");
}

TEST(FileListingText, SizesAndPaths)
{
    EXPECT_EQ(FormatFileSize(0, ','), "0");
    EXPECT_EQ(FormatFileSize(999, ','), "999");
    EXPECT_EQ(FormatFileSize(1000, '.'), "1.000");
    EXPECT_EQ(FormatFileSize(5'000'000'000ULL, ','), "5,000,000,000") << "beyond 32 bits";
    EXPECT_EQ(AddBackslash("/tmp"), "/tmp/");
    EXPECT_EQ(AddBackslash("/tmp/"), "/tmp/");
}
