#include "platform/RegFile.h"

#include <gtest/gtest.h>

using namespace vx::reg;

namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER";

const Key& child(const Key& key, const char* name)
{
    const Key* found = key.FindKey(name);
    if (!found)
        throw std::runtime_error(std::string("missing key ") + name);
    return *found;
}

} // namespace

TEST(RegFile, ReadsTheExportFormsOfOtherWriters)
{
    // LF line ends, comments, blank padding, hand-wrapped hex, hex(N) forms and
    // a key that appears twice (later values win, the key keeps its place).
    const std::string text =
        "REGEDIT4  \n"
        "; a comment\n"
        "[HKEY_CURRENT_USER\\A\\B]\n"
        "@=\"def\"\n"
        "\"bin\" = hex:01,02,\\\n"
        "     03 , FF\n"
        "\"dw\"=hex(4):78,56,34,12\n"
        "\"sz\"=hex(1):61,0d,0a,62,00\n"
        "\"ex\"=hex(2):25,78,25,00\n"
        "\"none\"=hex:\n"
        "\"m\"=hex(7):61,00,62,00,00\n"
        "\"d\"=dword:1\n"
        "\r\n"
        "[hkey_current_user\\a\\C]\r"
        "[HKEY_CURRENT_USER\\A\\B]\n"
        "\"d\"=dword:FFFFFFFF\n";
    auto root = ParseRegFile(text, kRoot);
    const Key& a = child(*root, "A");
    ASSERT_EQ(a.Keys().size(), 2u);
    EXPECT_EQ(a.Keys()[1]->Name(), "C");
    const Key& b = child(a, "b");
    EXPECT_EQ(b.FindValue("")->bytes, "def");
    EXPECT_EQ(b.FindValue("bin")->bytes, "\x01\x02\x03\xFF");
    EXPECT_EQ(b.FindValue("dw")->dword, 0x12345678u);
    EXPECT_EQ(b.FindValue("dw")->type, TRegDataType::rdInteger);
    EXPECT_EQ(b.FindValue("sz")->bytes, "a\r\nb");
    EXPECT_EQ(b.FindValue("sz")->type, TRegDataType::rdString);
    EXPECT_EQ(b.FindValue("ex")->bytes, "%x%");
    EXPECT_EQ(b.FindValue("ex")->type, TRegDataType::rdExpandString);
    EXPECT_EQ(b.FindValue("none")->bytes, "");
    EXPECT_EQ(b.FindValue("m")->multi, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(b.FindValue("d")->dword, 0xFFFFFFFFu);
    EXPECT_EQ(b.Values().size(), 8u);
}

TEST(RegFile, AnEmptyFileIsAnEmptyTreeAndFormatsBack)
{
    auto root = ParseRegFile("", kRoot);
    EXPECT_TRUE(root->Keys().empty());
    EXPECT_EQ(FormatRegFile(*root, kRoot), "REGEDIT4\r\n\r\n");
    EXPECT_TRUE(ParseRegFile("REGEDIT4\r\n\r\n", kRoot)->Keys().empty());
}

TEST(RegFile, LongHexDataIsWrappedAndReadBack)
{
    Key root(kRoot);
    Value v;
    v.name = "long";
    v.type = TRegDataType::rdBinary;
    v.bytes.assign(300, '\xAB');
    root.AddKey("K")->SetValue(v);
    std::string text = FormatRegFile(root, kRoot);
    size_t longest = 0, start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        longest = std::max(longest, end - start);
    EXPECT_LE(longest, 80u);
    EXPECT_EQ(ParseRegFile(text, kRoot)->FindKey("K")->FindValue("long")->bytes, v.bytes);
}

TEST(RegFile, FaultsNameTheirLine)
{
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"REGEDIT5\r\n", "line 1: the file does not begin with REGEDIT4"},
        {"\r\nREGEDIT4\r\n", "line 1: the file does not begin with REGEDIT4"},
        {"REGEDIT4\r\n\"a\"=\"b\"\r\n", "line 2: a value before the first key"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\x]\r\n", "line 2: the key is not under HKEY_CURRENT_USER"},
        {"REGEDIT4\r\n[-HKEY_CURRENT_USER\\x]\r\n", "line 2: the key is not under HKEY_CURRENT_USER"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\x] y\r\n", "line 2: a key line must end with ]"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\x\\\\y]\r\n", "line 2: empty key name"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\nvalue\r\n", "line 3: unexpected text"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\r\n", "line 3: unterminated string"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"\"b\"\r\n", "line 3: = expected after the value name"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=\"b\\n\"\r\n", "line 3: invalid escape in a string"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=\"b\" x\r\n", "line 3: unexpected text after a string"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=dword:123456789\r\n", "line 3: a dword needs one to eight hex digits"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=dword:\r\n", "line 3: a dword needs one to eight hex digits"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=dword:12g\r\n", "line 3: invalid hex digit in a dword"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=hex:1,2\r\n", "line 3: invalid hex byte"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=hex:01,\r\n", "line 3: invalid hex byte"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=hex:01,\\\r\n", "line 3: hex data continues past the end of the file"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=hex:01,\\\r\n  zz\r\n", "line 4: invalid hex byte"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=hex(b):00\r\n", "line 3: unsupported value type hex(11)"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=hex(4):00,01\r\n", "line 3: a hex(4) value needs four bytes"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=hex(2\r\n", "line 3: hex( must be followed by a type and ):"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=-\r\n", "line 3: unknown value data"},
        // Files cut short inside a value, where what is left still reads as a value.
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=dword:0000", "line 3: the file ends inside a value"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=hex:01,02", "line 3: the file ends inside a value"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=hex:01,\\\r\n  02", "line 4: the file ends inside a value"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"a\"=\"text\"", "line 3: the file ends inside a value"},
    };
    for (const Case& c : cases) {
        try {
            ParseRegFile(c.text, kRoot);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ERegFileError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.text;
        }
    }
}
