// The SQL highlighter: token streams of its edge cases, the stored colour
// schemes, and the scanner properties over a generated script.
#include "highlighters/wmSQLSyn.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

using namespace vx::test;
using S = TwmSQLSyn;
using TK = std::vector<std::pair<std::string, int>>;

TEST(SQLSyn, KeywordsIdentifiersAndAttributes)
{
    S hl;
    EXPECT_EQ(Scan(hl, "select SELECT Selects base_name entry_point"),
              (std::vector<Tok>{{"select", S::tkKey, 0, "Reserved word"},
                                {" ", S::tkSymbol, 6, "Symbol"},
                                {"SELECT", S::tkKey, 7, "Reserved word"},
                                {" ", S::tkSymbol, 13, "Symbol"},
                                {"Selects", S::tkIdentifier, 14, "Identifier"},
                                {" ", S::tkSymbol, 21, "Symbol"},
                                {"base_name", S::tkKey, 22, "Reserved word"},
                                {" ", S::tkSymbol, 31, "Symbol"},
                                {"entry_point", S::tkKey, 32, "Reserved word"}}));
    // Same hash as a keyword is not enough: "basename" and "base_name" hash alike.
    EXPECT_EQ(TextsAndKinds(Scan(hl, "basename ofn")), (TK{{"basename", S::tkIdentifier}, {" ", S::tkSymbol},
                                                         {"ofn", S::tkIdentifier}}));
}

TEST(SQLSyn, CommentsToTheEndOfTheLine)
{
    S hl;
    for (std::string line : {"-- x", "// x", "# x"})
        EXPECT_EQ(TextsAndKinds(Scan(hl, "a " + line)), (TK{{"a", S::tkIdentifier}, {" ", S::tkSymbol},
                                                           {line, S::tkComment}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a-b")), (TK{{"a", S::tkIdentifier}, {"-", S::tkSymbol}, {"b", S::tkIdentifier}}));
}

TEST(SQLSyn, BlockCommentsSpanLines)
{
    S hl;
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x /* a", S::rsUnknown, &range)),
              (TK{{"x", S::tkIdentifier}, {" ", S::tkSymbol}, {"/* a", S::tkComment}}));
    EXPECT_EQ(range, S::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "", S::rsComment, &range)), TK{});
    EXPECT_EQ(range, S::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "b */ c", S::rsComment, &range)),
              (TK{{"b */", S::tkComment}, {" ", S::tkSymbol}, {"c", S::tkIdentifier}}));
    EXPECT_EQ(range, S::rsUnknown);
    // "/*/" opens a comment and does not close it.
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/*/ a", S::rsUnknown, &range)), (TK{{"/*/ a", S::tkComment}}));
    EXPECT_EQ(range, S::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/**/x", S::rsUnknown, &range)), (TK{{"/**/", S::tkComment},
                                                                       {"x", S::tkIdentifier}}));
    EXPECT_EQ(range, S::rsUnknown);
    // Any range but 1 is normal.
    EXPECT_EQ(TextsAndKinds(Scan(hl, "*/", 7, &range)), (TK{{"*", S::tkSymbol}, {"/", S::tkSymbol}}));
    EXPECT_EQ(range, S::rsUnknown);
}

TEST(SQLSyn, Numbers)
{
    S hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "12.5")), (TK{{"12.5", S::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1..5")), (TK{{"1", S::tkNumber}, {".", S::tkSymbol}, {".5", S::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x = 5;")), (TK{{"x", S::tkIdentifier}, {" ", S::tkSymbol}, {"=", S::tkSymbol},
                                                     {" ", S::tkSymbol}, {"5", S::tkNumber}, {";", S::tkSymbol}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "10x1F 0x1F")),
              (TK{{"10x1F", S::tkNumber}, {" ", S::tkSymbol}, {"0x1F", S::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "12e-5 12E+5 1-2")),
              (TK{{"12e-5", S::tkNumber}, {" ", S::tkSymbol}, {"12E+5", S::tkNumber}, {" ", S::tkSymbol},
                  {"1", S::tkNumber}, {"-", S::tkSymbol}, {"2", S::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "0x1E-5")), (TK{{"0x1E", S::tkNumber}, {"-", S::tkSymbol}, {"5", S::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, ".")), (TK{{".", S::tkSymbol}}));
}

TEST(SQLSyn, Strings)
{
    S hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "'it''s'")), (TK{{"'it'", S::tkString}, {"'s'", S::tkString}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"("a\"b" c)")),
              (TK{{R"("a\"b")", S::tkString}, {" ", S::tkSymbol}, {"c", S::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"("a\\" c)")),
              (TK{{R"("a\\")", S::tkString}, {" ", S::tkSymbol}, {"c", S::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"(""" x" y)")), (TK{{R"(""" x")", S::tkString}, {" ", S::tkSymbol},
                                                          {"y", S::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"("" x)")), (TK{{R"("")", S::tkString}, {" ", S::tkSymbol},
                                                      {"x", S::tkIdentifier}}));
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "'open", S::rsUnknown, &range)), (TK{{"'open", S::tkString}}));
    EXPECT_EQ(range, S::rsUnknown); // nothing carries over
}

TEST(SQLSyn, UnknownCharactersAndTheEmptyLine)
{
    S hl;
    EXPECT_EQ(Scan(hl, "!"), (std::vector<Tok>{{"!", S::tkUnknown, 0, "Symbol"}}));
    EXPECT_EQ(Scan(hl, "\x7F"), (std::vector<Tok>{{"\x7F", S::tkUnknown, 0, "Symbol"}}));
    hl.SetRange(S::rsComment);
    hl.SetLine("", 1);
    EXPECT_TRUE(hl.GetEol());
    EXPECT_EQ(hl.GetTokenPos(), 0);
    EXPECT_EQ(hl.GetRange(), S::rsComment);
}

TEST(SQLSyn, InterfaceParticulars)
{
    S hl;
    EXPECT_EQ(hl.GetLanguageName(), "SQL");
    EXPECT_EQ(hl.GetDefaultFilter(), "SQL files (*.sql)|*.sql");
    EXPECT_EQ(hl.GetCapability(), 7u);
    EXPECT_EQ(hl.GetDefaultAttribute(0), nullptr);
    EXPECT_EQ(hl.GetDefaultAttribute(1), hl.CommentAttri);
    EXPECT_EQ(hl.GetDefaultAttribute(2), hl.KeyAttri);
    EXPECT_EQ(hl.GetAttribCount(), 6);
    EXPECT_EQ(hl.CommentAttri->Style(), TFontStyles(fsItalic));
    EXPECT_EQ(hl.KeyAttri->Style(), TFontStyles(fsBold));
    hl.ResetRange();
    EXPECT_EQ(hl.GetRange(), S::rsUnknown);
}

TEST(SQLSyn, ScannerPropertiesOnAGeneratedScript)
{
    S hl;
    auto lines = RandomLines({"SELECT ", "name", " FROM ", "t", " WHERE ", "x", " = ", "12.5e-3", "'s'", "\"q\\\"\"",
                              "/*", "*/", "--", "#", "//", "..", "0x1F", ";", "(", ")", " ", "\t", "_a1", "\"\"\"",
                              std::string(1, '\0'), "\xFF", "\x80"},
                             3000, 7);
    ExpectDocumentProperties(hl, lines);
}

namespace {

void WriteScheme(const std::string& scheme, const std::string& attribute, TColor fore, int style)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(std::string(S::SchemesKey) + scheme + "\\" + attribute, true));
    reg.WriteInteger("Foreground", static_cast<int>(fore));
    reg.WriteInteger("Style", style);
}

struct SchemeFixture : ::testing::Test {
    void TearDown() override
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        reg.DeleteKey("\\Software\\Vellumix\\Highlighters\\SQL");
    }
};

} // namespace

TEST_F(SchemeFixture, NoStoredSchemes)
{
    S hl;
    EXPECT_FALSE(hl.UseUserSettings(0));
    EXPECT_EQ(hl.KeyAttri->Style(), TFontStyles(fsBold));
    TStringList names;
    names.Add("kept");
    hl.EnumUserSettings(names);
    EXPECT_EQ(names.Count(), 1); // left as it was without the scheme key
}

TEST_F(SchemeFixture, TheFirstSchemeIsAppliedAtCreation)
{
    WriteScheme("Dark", "Reserved word", clYellow, 2);
    WriteScheme("Dark", "Comment", clGray, 0);
    WriteScheme("Light", "Reserved word", clNavy, 1);
    S hl;
    EXPECT_EQ(hl.KeyAttri->Foreground(), clYellow);
    EXPECT_EQ(hl.KeyAttri->Style(), TFontStyles(fsItalic));
    EXPECT_EQ(hl.CommentAttri->Foreground(), clGray);
    EXPECT_EQ(hl.NumberAttri->Foreground(), clWindowText); // no subkey: unchanged, still loaded
    TStringList names;
    hl.EnumUserSettings(names);
    ASSERT_EQ(names.Count(), 2);
    EXPECT_EQ(names[0], "Dark");
    EXPECT_EQ(names[1], "Light");
    EXPECT_TRUE(hl.UseUserSettings(1));
    EXPECT_EQ(hl.KeyAttri->Foreground(), clNavy);
    EXPECT_EQ(hl.KeyAttri->Name(), "Reserved word");
    EXPECT_FALSE(hl.UseUserSettings(2));
    EXPECT_FALSE(hl.UseUserSettings(-1));
    EXPECT_EQ(hl.KeyAttri->Foreground(), clNavy);
}

TEST_F(SchemeFixture, AFailedLoadRestoresEveryAttribute)
{
    WriteScheme("Broken", "Comment", clRed, 0);
    WriteScheme("Broken", "Reserved word", clRed, 0);
    S hl;
    ASSERT_EQ(hl.CommentAttri->Foreground(), clRed);
    WriteScheme("Broken", "Comment", clBlue, 0);
    WriteScheme("Broken", "Reserved word", clGreen, 0);
    bool thrown = false;
    hl.AddChangeHook([&](void*) {
        if (!thrown && hl.KeyAttri->Foreground() == clGreen) {
            thrown = true;
            throw std::runtime_error("editor failed");
        }
    });
    EXPECT_FALSE(hl.UseUserSettings(0));
    EXPECT_TRUE(thrown);
    EXPECT_EQ(hl.CommentAttri->Foreground(), clRed);
    EXPECT_EQ(hl.KeyAttri->Foreground(), clRed);
}

TEST_F(SchemeFixture, AHookThatFailsWhileRestoringDoesNotEscape)
{
    WriteScheme("Broken", "Comment", clRed, 0);
    WriteScheme("Broken", "Reserved word", clRed, 0);
    S hl;
    WriteScheme("Broken", "Comment", clBlue, 0);
    WriteScheme("Broken", "Reserved word", clGreen, 0);
    int calls = 0;
    hl.AddChangeHook([&](void*) {
        ++calls;
        throw std::runtime_error("editor failed every time");
    });
    bool result = true;
    EXPECT_NO_THROW(result = hl.UseUserSettings(0));
    EXPECT_FALSE(result);
    EXPECT_GE(calls, 2) << "the hook ran while loading and again while restoring";
    EXPECT_EQ(hl.CommentAttri->Foreground(), clRed);
    EXPECT_EQ(hl.KeyAttri->Foreground(), clRed);
}
