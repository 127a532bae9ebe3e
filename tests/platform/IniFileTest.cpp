#include "platform/IniFile.h"
#include "tests/platform/FileSizeLimit.h"
#include "tests/platform/RegistrySandbox.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using vx::test::readFile;
using vx::test::TempDir;
using vx::test::writeFile;

TEST(IniFile, ReadsProfilesWrittenByOthers)
{
    TempDir dir;
    const std::string path = dir.file("todo.ini");
    writeFile(path, "; header comment\n"
                    "orphan=ignored\n"
                    "[Entry 1]\r\n"
                    "  Topic = Fix the menu  \r"
                    "topic=second occurrence loses\n"
                    "Quoted=\"  padded  \"\n"
                    "Single='x'\n"
                    "Half=\"x'\n"
                    "no equals sign\n"
                    "Empty=\n"
                    "[ second ]\n"
                    "Count=12\n"
                    "[ENTRY 1]\n"
                    "Later=duplicate section is not read\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("entry 1", "TOPIC", "d"), "Fix the menu");
    EXPECT_EQ(ini.ReadString("Entry 1", "Quoted", "d"), "  padded  ");
    EXPECT_EQ(ini.ReadString("Entry 1", "Single", "d"), "x");
    EXPECT_EQ(ini.ReadString("Entry 1", "Half", "d"), "\"x'");
    EXPECT_EQ(ini.ReadString("Entry 1", "Empty", "d"), "") << "present but empty is not the default";
    EXPECT_EQ(ini.ReadString("Entry 1", "Later", "d"), "d");
    EXPECT_EQ(ini.ReadString("", "orphan", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("Second", "count", 0), 12);

    TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(list.CommaText(), "\"Entry 1\",second");
    ini.ReadSection("entry 1", list);
    EXPECT_EQ(list.CommaText(), "Topic,Quoted,Single,Half,Empty");
    ini.ReadSectionValues("Entry 1", list);
    EXPECT_EQ(list[0], "Topic=Fix the menu");
    EXPECT_TRUE(ini.SectionExists("SECOND"));
    EXPECT_FALSE(ini.SectionExists("none"));
    EXPECT_TRUE(ini.ValueExists("Entry 1", "empty"));
    EXPECT_FALSE(ini.ValueExists("Entry 1", "Later"));
}

TEST(IniFile, WritesGoToTheFileAtOnceAndKeepComments)
{
    TempDir dir;
    const std::string path = dir.file("data.ini");
    writeFile(path, "; keep me\n[A]\nx=1\n; inside\n\n[B]\ny=2\n");
    TIniFile ini(path);
    ini.WriteString("a", "X", "changed");
    ini.WriteString("A", "New", "v");
    ini.WriteInteger("C", "n", -3);
    ini.WriteBool("C", "flag", true);
    EXPECT_EQ(readFile(path), "; keep me\r\n[A]\r\nx=changed\r\nNew=v\r\n; inside\r\n\r\n"
                              "[B]\r\ny=2\r\n\r\n[C]\r\nn=-3\r\nflag=1\r\n");

    TIniFile fresh(path);
    EXPECT_EQ(fresh.ReadInteger("c", "N", 0), -3);
    EXPECT_TRUE(fresh.ReadBool("C", "flag", false));
    fresh.DeleteKey("A", "x");
    fresh.EraseSection("b");
    // The first object notices the change on disk before its next call.
    EXPECT_EQ(ini.ReadString("A", "x", "gone"), "gone");
    EXPECT_FALSE(ini.SectionExists("B"));
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.CommaText(), "A,C");
}

// Names and values of UTF-8 text: written as they are, names matched in any
// case, letters outside ASCII included.
TEST(IniFile, Utf8TextIsWrittenAsItIsAndNamesMatchInAnyCase)
{
    TempDir dir;
    const std::string path = dir.file("u.ini");
    TIniFile ini(path);
    ini.WriteString("Caf\xC3\xA9", "\xCE\xB1\xD0\xB6", "\xC3\xA9\xE2\x82\xAC\xCE\xB1\xE4\xBD\xA0 \xF0\x9F\x98\x80");
    EXPECT_EQ(readFile(path), "[Caf\xC3\xA9]\r\n\xCE\xB1\xD0\xB6=\xC3\xA9\xE2\x82\xAC\xCE\xB1\xE4\xBD\xA0 \xF0\x9F\x98\x80\r\n");
    const std::pair<std::string, std::string> names[] = {
        {"Caf\xC3\xA9", "\xCE\xB1\xD0\xB6"},
        {"CAF\xC3\x89", "\xCE\x91\xD0\x96"},
        {"caf\xC3\xA9", "\xCE\x91\xD0\xB6"},
    };
    for (const auto& [section, key] : names)
        EXPECT_EQ(TIniFile(path).ReadString(section, key, "none"), "\xC3\xA9\xE2\x82\xAC\xCE\xB1\xE4\xBD\xA0 \xF0\x9F\x98\x80")
            << section << " " << key;
}

// A profile an earlier version wrote in Windows-1252 reads as its characters
// and is rewritten in UTF-8, comments included.
TEST(IniFile, AProfileOfAnEarlierVersionInWindows1252ReadsAsItsCharacters)
{
    TempDir dir;
    const std::string path = dir.file("old.ini");
    writeFile(path, "; \xE9t\xE9\r\n[Caf\xE9]\r\nPrix=5 \x80\r\nNom=\x8A\xE9\r\n");
    TIniFile ini(path);
    const std::pair<std::string, std::string> rows[] = {
        {"Prix", "5 \xE2\x82\xAC"},
        {"Nom", "\xC5\xA0\xC3\xA9"},
    };
    for (const auto& [key, value] : rows)
        EXPECT_EQ(ini.ReadString("CAF\xC3\x89", key, "none"), value) << key;
    ini.WriteString("Caf\xC3\xA9", "Ville", "K\xC3\xB6ln");
    EXPECT_EQ(readFile(path), "; \xC3\xA9t\xC3\xA9\r\n[Caf\xC3\xA9]\r\nPrix=5 \xE2\x82\xAC\r\nNom=\xC5\xA0\xC3\xA9\r\n"
                              "Ville=K\xC3\xB6ln\r\n");
}

TEST(IniFile, NumbersAndBooleansFallBackToTheDefault)
{
    TempDir dir;
    const std::string path = dir.file("n.ini");
    writeFile(path, "[S]\nhex=$1F\nchex=0x10\nneg=-7\nword=seven\nbig=99999999999\nzero=0\nsp= 5 \nall=$FFFFFFFF\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "chex", 0), 16);
    EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("S", "word", 4), 4);
    EXPECT_EQ(ini.ReadInteger("S", "big", 4), 4);
    EXPECT_EQ(ini.ReadInteger("S", "sp", 0), 5);
    EXPECT_EQ(ini.ReadInteger("S", "all", 0), -1);
    EXPECT_EQ(ini.ReadInteger("S", "missing", 9), 9);
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "neg", false));
    EXPECT_TRUE(ini.ReadBool("S", "word", true));
    EXPECT_FALSE(ini.ReadBool("S", "word", false));
}

TEST(IniFile, BadFilesAndBadNamesNeverCorruptAnything)
{
    TempDir dir;
    const std::string path = dir.file("bad.ini");
    std::string garbage = "[Trunc";
    for (int c = 0; c < 256; ++c)
        garbage += static_cast<char>(c);
    garbage += std::string("\n[S]\nk=v\xFF\0tail", 14);
    writeFile(path, garbage);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "k", ""), std::string("v\xC3\xBF\0tail", 8)) << "not UTF-8: read as Windows-1252";
    ini.WriteString("S", "k", "clean");
    TIniFile again(path);
    EXPECT_EQ(again.ReadString("S", "k", ""), "clean");

    EXPECT_THROW(ini.WriteString("S", "k", "two\nlines"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", "a=b", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S]", "k", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", " ", "v"), EIniFileException);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "clean");

    // A file that exists but cannot be read is never replaced.
    const std::string folder = dir.file("folder.ini");
    std::filesystem::create_directory(folder);
    TIniFile unreadable(folder);
    EXPECT_EQ(unreadable.ReadString("S", "k", "d"), "d");
    EXPECT_THROW(unreadable.WriteString("S", "k", "v"), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(IniFile, AFailedWriteChangesNothingOnDiskOrInTheObject)
{
    TempDir dir;
    const std::string path = dir.file("w.ini");
    TIniFile ini(path);
    ini.WriteString("S", "k", "old");
    const std::string before = readFile(path);
    {
        vx::test::FileSizeLimit limit(before.size() + 8);
        EXPECT_THROW(ini.WriteString("S", "k", std::string(1000, 'x')), EIniFileException);
    }
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
    ini.WriteString("S", "k2", "after");
    EXPECT_EQ(TIniFile(path).ReadString("S", "k2", ""), "after");
}

TEST(RegIniFile, SectionsAreSubkeysAndNumbersAreStrings)
{
    vx::test::RegistrySandbox sandbox;
    TRegIniFile ini("Software\\Vellumix");
    ini.WriteString("TForm1.mru", "Item0", "c:\\a.htm");
    ini.WriteInteger("TForm1.mru", "Count", 1);
    ini.WriteBool("Flags", "On", true);
    ini.WriteString("", "Top", "level");

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Vellumix\\TForm1.mru", false));
    EXPECT_EQ(reg.GetDataType("Count"), TRegDataType::rdString);
    EXPECT_EQ(reg.ReadString("Count"), "1");
    reg.WriteInteger("Dword", 5);
    reg.WriteBinaryData("Bin", "xx");
    reg.CloseKey();

    TRegistry::ResetStoreForTests(); // every write already reached the file
    TRegIniFile again("\\software\\VELLUMIX");
    EXPECT_EQ(again.ReadString("tform1.MRU", "item0", ""), "c:\\a.htm");
    EXPECT_EQ(again.ReadInteger("TForm1.mru", "count", 0), 1);
    EXPECT_EQ(again.ReadInteger("TForm1.mru", "Dword", 0), 5);
    EXPECT_EQ(again.ReadInteger("TForm1.mru", "Bin", 7), 7);
    EXPECT_EQ(again.ReadString("TForm1.mru", "Dword", "d"), "d");
    EXPECT_EQ(again.ReadInteger("TForm1.mru", "Item0", -1), -1);
    EXPECT_TRUE(again.ReadBool("Flags", "On", false));
    EXPECT_EQ(again.ReadString("", "Top", ""), "level");
    EXPECT_EQ(again.ReadString("Missing", "x", "d"), "d");
    EXPECT_FALSE(reg.KeyExists("\\Software\\Vellumix\\Missing")) << "reading creates nothing";

    TStringList list;
    again.ReadSections(list);
    EXPECT_EQ(list.CommaText(), "TForm1.mru,Flags");
    again.ReadSection("TForm1.mru", list);
    EXPECT_EQ(list.CommaText(), "Item0,Count,Dword,Bin");

    again.DeleteKey("TForm1.mru", "ITEM0");
    EXPECT_FALSE(again.ValueExists("TForm1.mru", "Item0"));
    again.EraseSection("flags");
    again.EraseSection("");
    again.ReadSections(list);
    EXPECT_EQ(list.CommaText(), "TForm1.mru");
    EXPECT_EQ(again.ReadString("", "Top", "gone"), "gone");
}

TEST(RegIniFile, AbsoluteSectionsAndOtherRoots)
{
    vx::test::RegistrySandbox sandbox;
    TRegIniFile ini("Software\\App");
    ini.WriteString("\\Software\\Elsewhere\\mru", "Item0", "x");
    EXPECT_EQ(ini.ReadString("\\software\\elsewhere\\MRU", "item0", ""), "x");
    TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("\\Software\\Elsewhere\\mru"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\App"));

    ini.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(ini.ReadString("\\Software\\Elsewhere\\mru", "Item0", "other root"), "other root");
    EXPECT_THROW(ini.SetRootKey(7), ERegistryException);
    EXPECT_EQ(ini.RootKey(), HKEY_LOCAL_MACHINE);
}
