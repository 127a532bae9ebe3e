#include "platform/RegStore.h"
#include "platform/Registry.h"
#include "tests/platform/FileSizeLimit.h"
#include "tests/platform/RegistrySandbox.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using vx::test::readFile;
using vx::test::writeFile;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    vx::test::RegistrySandbox sandbox;
};

std::string allBytes()
{
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    return bytes;
}

// Text that the file format must escape or could mistake for syntax.
// "é€α你" and an emoji: UTF-8 goes to the file as it is.
const std::string kTricky = "say \"hi\" C:\\dir\\ a=b @ [x] ;no \xC3\xA9\xE2\x82\xAC\xCE\xB1\xE4\xBD\xA0 \xF0\x9F\x98\x80 end\\";

void writeEveryType(TRegistry& reg)
{
    reg.WriteString("Str", kTricky);
    reg.WriteString("", "default value");
    reg.WriteString("Lines", "one\r\ntwo\nthree\r");
    reg.WriteString("Empty", "");
    reg.WriteExpandString("Expand", "%HOME%\\x\xC2\xA0\xE4\xBD\xA0");
    reg.WriteInteger("Int", -5);
    reg.WriteInteger("Max", 0x7fffffff);
    reg.WriteBool("Yes", true);
    reg.WriteBool("No", false);
    reg.WriteBinaryData("Bin", allBytes());
    reg.WriteBinaryData("NoBytes", std::string_view());
    reg.WriteMultiString("Multi", {"a", "", kTricky, "z"});
    reg.WriteMultiString("NoStrings", {});
    reg.WriteMultiString("OneEmpty", {""});
}

void expectEveryType(TRegistry& reg)
{
    EXPECT_EQ(reg.ReadString("Str"), kTricky);
    EXPECT_EQ(reg.ReadString(""), "default value");
    EXPECT_EQ(reg.ReadString("Lines"), "one\r\ntwo\nthree\r");
    EXPECT_TRUE(reg.ValueExists("Empty"));
    EXPECT_EQ(reg.GetDataType("Empty"), TRegDataType::rdString);
    EXPECT_EQ(reg.ReadString("Expand"), "%HOME%\\x\xC2\xA0\xE4\xBD\xA0");
    EXPECT_EQ(reg.GetDataType("Expand"), TRegDataType::rdExpandString);
    EXPECT_EQ(reg.ReadInteger("Int"), -5);
    EXPECT_EQ(reg.ReadInteger("Max"), 0x7fffffff);
    EXPECT_TRUE(reg.ReadBool("Yes"));
    EXPECT_FALSE(reg.ReadBool("No"));
    EXPECT_EQ(reg.ReadInteger("Yes"), 1);
    EXPECT_EQ(reg.ReadBinaryData("Bin"), allBytes());
    EXPECT_EQ(reg.GetDataType("NoBytes"), TRegDataType::rdBinary);
    EXPECT_EQ(reg.ReadMultiString("Multi"), (std::vector<std::string>{"a", "", kTricky, "z"}));
    EXPECT_TRUE(reg.ReadMultiString("NoStrings").empty());
    EXPECT_EQ(reg.GetDataType("NoStrings"), TRegDataType::rdMultiString);
    EXPECT_EQ(reg.ReadMultiString("OneEmpty"), std::vector<std::string>{""});
}

} // namespace

TEST_F(RegistryTest, EveryValueTypeRoundTripsAcrossObjectsAndReload)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Vellumix", true));
        EXPECT_EQ(reg.CurrentPath(), "Software\\Vellumix");
        writeEveryType(reg);
        TRegistry other;
        ASSERT_TRUE(other.OpenKey("Software\\Vellumix", false));
        expectEveryType(other);
    }
    std::string text = readFile(sandbox.File());
    EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Vellumix]\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("\"Int\"=dword:fffffffb\r\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"default value\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"Str\"=\"say \\\"hi\\\" C:\\\\dir\\\\ a=b @ [x] ;no \xC3\xA9\xE2\x82\xAC\xCE\xB1\xE4\xBD\xA0 "),
              std::string::npos);

    TRegistry::ResetStoreForTests();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Vellumix", false));
    expectEveryType(reg);
    reg.CloseKey();
    EXPECT_EQ(readFile(sandbox.File()), text) << "a reloaded tree writes the same file";
}

TEST_F(RegistryTest, NamesMatchInAnyCaseAndKeepTheirFirstCase)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\MixedCase\xC3\x89\xD0\x96", true));
        reg.WriteString("ValueName\xC3\xA9\xCE\xB1", "1");
    }
    TRegistry::ResetStoreForTests();
    TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("SOFTWARE\\mixedcase\xC3\xA9\xD0\xB6"));
    ASSERT_TRUE(reg.OpenKey("\\software\\MIXEDCASE\xC3\x89\xD0\xB6", false));
    EXPECT_EQ(reg.ReadString("VALUENAME\xC3\x89\xCE\x91"), "1");
    reg.WriteString("valuename\xC3\xA9\xCE\x91", "2");
    TStringList names;
    reg.GetValueNames(names);
    ASSERT_EQ(names.Count(), 1);
    EXPECT_EQ(names[0], "ValueName\xC3\xA9\xCE\xB1");
    EXPECT_EQ(reg.ReadString("ValueName\xC3\xA9\xCE\xB1"), "2");
    reg.OpenKey("\\Software", false);
    reg.GetKeyNames(names);
    EXPECT_EQ(names.Text(), "MixedCase\xC3\x89\xD0\x96\r\n");
}

// Settings an earlier version wrote in Windows-1252, in every form a text
// takes in the file, read as their characters; binary data keeps its bytes.
// The file is written back in UTF-8.
TEST_F(RegistryTest, ASettingsFileOfAnEarlierVersionInWindows1252ReadsAsItsCharacters)
{
    struct Row {
        const char* name;
        TRegDataType type;
        std::string text;
    };
    writeFile(sandbox.File(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Caf\xE9]\r\n"
                              "\"Quoted \xE9\"=\"\x80 5 \xE9t\xE9\"\r\n"
                              "\"Lines\"=hex(1):e9,0d,0a,80,00\r\n"
                              "\"Expand\"=hex(2):25,e9,25,00\r\n"
                              "\"Multi\"=hex(7):e9,00,8a,00,00\r\n"
                              "\"Bin\"=hex:e9,80\r\n\r\n");
    const Row rows[] = {
        {"Quoted \xC3\xA9", TRegDataType::rdString, "\xE2\x82\xAC 5 \xC3\xA9t\xC3\xA9"},
        {"Lines", TRegDataType::rdString, "\xC3\xA9\r\n\xE2\x82\xAC"},
        {"Expand", TRegDataType::rdExpandString, "%\xC3\xA9%"},
    };
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\CAF\xC3\x89", false));
        for (const Row& row : rows) {
            EXPECT_EQ(reg.GetDataType(row.name), row.type) << row.name;
            EXPECT_EQ(reg.ReadString(row.name), row.text) << row.name;
        }
        EXPECT_EQ(reg.ReadMultiString("Multi"), (std::vector<std::string>{"\xC3\xA9", "\xC5\xA0"}));
        EXPECT_EQ(reg.ReadBinaryData("Bin"), "\xE9\x80");
        reg.WriteString("New", "\xCE\xB1");
    }
    EXPECT_EQ(readFile(sandbox.File()),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n[HKEY_CURRENT_USER\\Software\\Caf\xC3\xA9]\r\n"
              "\"Quoted \xC3\xA9\"=\"\xE2\x82\xAC 5 \xC3\xA9t\xC3\xA9\"\r\n"
              "\"Lines\"=hex(1):c3,a9,0d,0a,e2,82,ac,00\r\n"
              "\"Expand\"=hex(2):25,c3,a9,25,00\r\n"
              "\"Multi\"=hex(7):c3,a9,00,c5,a0,00,00\r\n"
              "\"Bin\"=hex:e9,80\r\n"
              "\"New\"=\"\xCE\xB1\"\r\n\r\n");
}

TEST_F(RegistryTest, KeyAndValueNamesKeepTheirOrderOfCreation)
{
    {
        TRegistry reg;
        reg.OpenKey("Order", true);
        for (const char* name : {"b", "a", "C"})
            reg.CreateKey(name);
        for (const char* name : {"z", "y", "X"})
            reg.WriteString(name, name);
        reg.WriteInteger("Y", 3); // rewriting keeps the place
    }
    TRegistry::ResetStoreForTests();
    TRegistry reg;
    reg.OpenKey("Order", false);
    TStringList names;
    reg.GetKeyNames(names);
    EXPECT_EQ(names.CommaText(), "b,a,C");
    reg.GetValueNames(names);
    EXPECT_EQ(names.CommaText(), "z,y,X");
    EXPECT_EQ(reg.ReadInteger("y"), 3);
    EXPECT_TRUE(reg.HasSubKeys());
    reg.OpenKey("a", false);
    EXPECT_FALSE(reg.HasSubKeys());
    EXPECT_EQ(reg.CurrentPath(), "Order\\a");
}

TEST_F(RegistryTest, DeleteKeyTakesItsSubkeysWithIt)
{
    TRegistry reg;
    ASSERT_TRUE(reg.CreateKey("A\\B\\C"));
    reg.OpenKey("A\\B\\C", false);
    reg.WriteString("v", "x");
    reg.CloseKey();
    ASSERT_TRUE(reg.CreateKey("A\\Keep"));
    EXPECT_TRUE(reg.DeleteKey("a\\b"));
    EXPECT_FALSE(reg.KeyExists("A\\B\\C"));
    EXPECT_FALSE(reg.DeleteKey("A\\B"));
    EXPECT_FALSE(reg.DeleteKey(""));
    TRegistry::ResetStoreForTests();
    EXPECT_FALSE(reg.KeyExists("A\\B"));
    EXPECT_TRUE(reg.KeyExists("A\\Keep"));
}

TEST_F(RegistryTest, ReadOnlyKeysOpenOnlyWhenPresentAndRefuseWrites)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKeyReadOnly("Missing"));
    EXPECT_FALSE(reg.KeyExists("Missing")) << "a failed read-only open creates nothing";
    EXPECT_FALSE(reg.OpenKey("Missing", false));

    ASSERT_TRUE(reg.OpenKey("Present", true));
    reg.WriteString("v", "x");
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Present"));
    EXPECT_EQ(reg.ReadString("v"), "x");
    EXPECT_THROW(reg.WriteString("v", "y"), ERegistryException);
    EXPECT_THROW(reg.WriteInteger("n", 1), ERegistryException);
    EXPECT_THROW(reg.CreateKey("Sub"), ERegistryException);
    EXPECT_FALSE(reg.DeleteValue("v"));
    EXPECT_EQ(reg.ReadString("v"), "x");

    EXPECT_FALSE(reg.OpenKey("Missing", false));
    EXPECT_FALSE(reg.OpenKeyReadOnly("\\Missing"));
    EXPECT_EQ(reg.CurrentPath(), "Present") << "a failed open or write keeps the current key";

    ASSERT_TRUE(reg.OpenKey("\\Present", false));
    reg.WriteString("v", "y");
    EXPECT_EQ(reg.ReadString("v"), "y");
}

TEST_F(RegistryTest, WrongTypesReadAsAbsentAndDefaultsNeverRaise)
{
    TRegistry reg;
    reg.OpenKey("T", true);
    reg.WriteInteger("n", 42);
    reg.WriteString("s", "42");
    reg.WriteBinaryData("b", "xy");
    reg.WriteMultiString("m", {"q"});

    EXPECT_EQ(reg.ReadString("n"), "");
    EXPECT_EQ(reg.ReadString("b"), "");
    EXPECT_EQ(reg.ReadBinaryData("s"), "");
    EXPECT_TRUE(reg.ReadMultiString("s").empty());
    char buf[4];
    EXPECT_EQ(reg.ReadBinaryData("n", buf, sizeof buf), 0);
    EXPECT_EQ(reg.ReadBinaryData("missing", buf, sizeof buf), 0);
    EXPECT_EQ(reg.GetDataType("missing"), TRegDataType::rdUnknown);

    try {
        reg.ReadInteger("s");
        FAIL() << "a string read as an integer must raise";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 's'");
    }
    try {
        reg.ReadBool("Missing");
        FAIL() << "a missing integer must raise";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Missing'");
    }

    EXPECT_EQ(RegReadIntegerDef(reg, "s", 7), 7);
    EXPECT_EQ(RegReadIntegerDef(reg, "missing", 7), 7);
    EXPECT_EQ(RegReadIntegerDef(reg, "N", 7), 42);
    EXPECT_EQ(RegReadStringDef(reg, "n", "d"), "d");
    EXPECT_EQ(RegReadStringDef(reg, "S", "d"), "42");
    reg.WriteString("empty", "");
    EXPECT_EQ(RegReadStringDef(reg, "empty", "d"), "") << "a present empty string is not the default";
}

TEST_F(RegistryTest, BinaryReadsIntoABufferOnlyWhenItFits)
{
    TRegistry reg;
    reg.OpenKey("B", true);
    reg.WriteBinaryData("b", "\x01\x02\x03", 3);
    char buf[3] = {};
    EXPECT_EQ(reg.ReadBinaryData("b", buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "\x01\x02\x03");
    EXPECT_THROW(reg.ReadBinaryData("b", buf, 2), ERegistryException);
    EXPECT_THROW(reg.WriteBinaryData("c", buf, -1), ERegistryException);
}

TEST_F(RegistryTest, ObjectsShareOneTreeAndClosingWritesTheFile)
{
    TRegistry writer;
    writer.OpenKey("Shared", true);
    writer.WriteString("v", "first");
    TRegistry reader;
    reader.OpenKey("shared", false);
    EXPECT_EQ(reader.ReadString("V"), "first") << "no file round trip needed between objects";

    writer.CloseKey();
    EXPECT_NE(readFile(sandbox.File()).find("\"v\"=\"first\""), std::string::npos);

    writer.OpenKey("Shared", false);
    writer.WriteString("v", "second");
    writer.OpenKey("\\Elsewhere", true); // opening another key closes this one
    EXPECT_NE(readFile(sandbox.File()).find("\"v\"=\"second\""), std::string::npos);

    {
        TRegistry scoped;
        scoped.OpenKey("Shared", false);
        scoped.WriteInteger("n", 1);
    }
    EXPECT_NE(readFile(sandbox.File()).find("\"n\"=dword:00000001"), std::string::npos);

    // A key deleted under a reader makes its writes fail instead of vanishing.
    EXPECT_TRUE(writer.DeleteKey("\\Shared"));
    EXPECT_THROW(reader.WriteString("v", "lost"), ERegistryException);
    EXPECT_EQ(reader.ReadString("v"), "");
}

TEST_F(RegistryTest, ANewSettingsFolderIsPrivate)
{
    std::filesystem::remove(sandbox.Dir().path());
    TRegistry reg;
    reg.OpenKey("K", true);
    reg.CloseKey();
    EXPECT_TRUE(std::filesystem::exists(sandbox.File()));
    EXPECT_EQ(std::filesystem::status(sandbox.Dir().path()).permissions(), std::filesystem::perms::owner_all);
}

TEST_F(RegistryTest, RootsAreSeparateFiles)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey("\\software\\Orvane", true);
    reg.WriteString("x", "1");
    reg.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_FALSE(reg.KeyExists("software"));
    EXPECT_NE(readFile(sandbox.File("HKEY_LOCAL_MACHINE")).find("[HKEY_LOCAL_MACHINE\\software\\Orvane]"),
              std::string::npos);
    EXPECT_THROW(reg.SetRootKey(0x1234), ERegistryException);
}

TEST_F(RegistryTest, NamesTheFileCannotHoldAreRefused)
{
    TRegistry reg;
    reg.OpenKey("K", true);
    EXPECT_THROW(reg.WriteString("two\nlines", "x"), ERegistryException);
    EXPECT_THROW(reg.OpenKey("bad\rkey", true), ERegistryException);
    EXPECT_FALSE(reg.ValueExists("two\nlines"));
}

TEST_F(RegistryTest, AFailedWriteLeavesTheOldFileAndKeepsTheChangePending)
{
    TRegistry reg;
    reg.OpenKey("K", true);
    reg.WriteString("old", "kept");
    reg.CloseKey();
    const std::string before = readFile(sandbox.File());
    // Leftovers of an earlier crash between write and rename are harmless.
    writeFile(sandbox.File() + ".vxtmp-AbCdEf", "REGEDIT4\r\ngarbage");

    reg.OpenKey("K", false);
    reg.WriteString("big", std::string(4096, 'x'));
    {
        vx::test::FileSizeLimit limit(before.size() + 16);
        EXPECT_THROW(reg.CloseKey(), ERegistryException);
    }
    EXPECT_EQ(readFile(sandbox.File()), before);
    EXPECT_EQ(reg.CurrentPath(), "");
    TRegistry later;
    later.OpenKey("K", false);
    later.WriteString("new", "1");
    later.CloseKey();
    TRegistry::ResetStoreForTests();
    later.OpenKey("K", false);
    EXPECT_EQ(later.ReadString("old"), "kept");
    EXPECT_EQ(later.ReadString("big").size(), 4096u) << "the failed change went out with the next write";
    EXPECT_EQ(later.ReadString("new"), "1");
}

TEST_F(RegistryTest, AnOversizedFileIsReportedAsDamagedWithoutBeingRead)
{
    writeFile(sandbox.File(), "REGEDIT4\r\n");
    std::filesystem::resize_file(sandbox.File(), vx::reg::MaxSettingsFileSize + 1);
    std::vector<std::string> reports;
    vx::reg::SetDamageReporter([&](const TMessage& message) { reports.push_back(message.English()); });
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("A"));
    vx::reg::SetDamageReporter({});
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("larger than 16 MB"), std::string::npos) << reports[0];
    EXPECT_FALSE(std::filesystem::exists(sandbox.File())) << "set aside, not overwritten";
}

TEST_F(RegistryTest, ReportsMadeBeforeAReporterIsSetWaitForIt)
{
    writeFile(sandbox.File(), "garbage");
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("A"));
    std::vector<std::string> reports;
    vx::reg::SetDamageReporter([&](const TMessage& message) { reports.push_back(message.English()); });
    vx::reg::SetDamageReporter({});
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("line 1"), std::string::npos) << reports[0];
}

TEST_F(RegistryTest, ACorruptFileIsReportedSetAsideAndTheStoreGoesOn)
{
    const std::string corrupt = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=dword:zz\r\n";
    writeFile(sandbox.File(), corrupt);
    std::vector<std::string> reports;
    vx::reg::SetDamageReporter([&](const TMessage& message) { reports.push_back(message.English()); });
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("A", false));
    ASSERT_EQ(reports.size(), 1u) << "a corrupt file must be reported";
    EXPECT_NE(reports[0].find(sandbox.File()), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("line 4"), std::string::npos) << reports[0];
    vx::reg::SetDamageReporter({});
    std::vector<std::string> aside;
    for (const auto& entry : std::filesystem::directory_iterator(sandbox.Dir().path()))
        if (entry.path().filename().string().rfind("HKEY_CURRENT_USER.reg.corrupt-", 0) == 0)
            aside.push_back(entry.path().string());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(readFile(aside[0]), corrupt) << "the bad file is kept for the user";

    EXPECT_FALSE(reg.KeyExists("A")) << "after the report the store is empty and usable";
    ASSERT_TRUE(reg.OpenKey("A", true));
    reg.WriteString("x", "fresh");
    reg.CloseKey();
    EXPECT_EQ(readFile(aside[0]), corrupt);
    TRegistry::ResetStoreForTests();
    reg.OpenKey("A", false);
    EXPECT_EQ(reg.ReadString("x"), "fresh");
}
