// The Tcl/Tk highlighter: token streams of its edge cases, the word lists and
// their registry storage, and the scanner properties over a generated script.
#include "highlighters/siTCLTKSyn.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

using namespace vx::test;
using C = TsiTCLTKSyn;
using TK = std::vector<std::pair<std::string, int>>;

TEST(TclSyn, WordsAreLookedUpInUpperCase)
{
    C hl;
    EXPECT_EQ(Scan(hl, "puts \"Hello\""), (std::vector<Tok>{{"puts", C::tkKey, 0, "Reserved word"},
                                                          {" ", C::tkSpace, 4, "Space"},
                                                          {"\"Hello\"", C::tkString, 5, "String"}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "Set set SET tk_popup TKWAIT pkg_mkindex setx")),
              (TK{{"Set", C::tkKey}, {" ", C::tkSpace}, {"set", C::tkKey}, {" ", C::tkSpace}, {"SET", C::tkKey},
                  {" ", C::tkSpace}, {"tk_popup", C::tkKey}, {" ", C::tkSpace}, {"TKWAIT", C::tkKey},
                  {" ", C::tkSpace}, {"pkg_mkindex", C::tkKey}, {" ", C::tkSpace}, {"setx", C::tkIdentifier}}));
    EXPECT_EQ(C().KeyWords().Count(), 147);
}

TEST(TclSyn, EveryBuiltInWordIsFound)
{
    C hl;
    for (int i = 0; i < hl.KeyWords().Count(); ++i)
        EXPECT_EQ(TextsAndKinds(Scan(hl, hl.KeyWords()[i])), (TK{{hl.KeyWords()[i], C::tkKey}})) << i;
}

TEST(TclSyn, SecondKeyWordsAreUpperCasedInTheCallersList)
{
    C hl;
    int notified = 0;
    hl.AddChangeHook([&](void*) { ++notified; });
    TStringList words;
    words.Add("myproc");
    words.Add("set");
    words.Add("MyProc");
    hl.SetSecondKeyWords(words);
    EXPECT_EQ(words[0], "MYPROC");
    EXPECT_EQ(words[2], "MYPROC");
    EXPECT_EQ(hl.SecondKeyWords().Count(), 2); // duplicates dropped
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(Scan(hl, "myProc set"), (std::vector<Tok>{{"myProc", C::tkSecondKey, 0, "Second reserved word"},
                                                        {" ", C::tkSpace, 6, "Space"},
                                                        {"set", C::tkKey, 7, "Reserved word"}}));
    // A sorted caller's list is upper-cased too, and stays sorted.
    TStringList sorted;
    sorted.SetSorted(true);
    sorted.Add("beta");
    sorted.Add("alpha");
    hl.SetKeyWords(sorted);
    EXPECT_TRUE(sorted.Sorted());
    EXPECT_EQ(sorted[0], "ALPHA");
    EXPECT_EQ(TextsAndKinds(Scan(hl, "alpha puts")), (TK{{"alpha", C::tkKey}, {" ", C::tkSpace},
                                                        {"puts", C::tkIdentifier}}));
}

TEST(TclSyn, CommentsAndSymbols)
{
    C hl;
    EXPECT_EQ(Scan(hl, "$var"), (std::vector<Tok>{{"$", C::tkUnknown, 0, "Symbol"}, {"var", C::tkIdentifier, 1, "Identifier"}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a / b")), (TK{{"a", C::tkIdentifier}, {" ", C::tkSpace}, {"/", C::tkSymbol},
                                                   {" ", C::tkSpace}, {"b", C::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x // c")), (TK{{"x", C::tkIdentifier}, {" ", C::tkSpace}, {"// c", C::tkComment}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "# c")), (TK{{"# c", C::tkComment}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "#* c")), (TK{{"#* c", C::tkComment}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "( ; { } )")),
              (TK{{"(", C::tkSymbol}, {" ", C::tkSpace}, {";", C::tkSymbol}, {" ", C::tkSpace}, {"{", C::tkSymbol},
                  {" ", C::tkSpace}, {"}", C::tkUnknown}, {" ", C::tkSpace}, {")", C::tkUnknown}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\x0C \x0C")), (TK{{"\x0C", C::tkUnknown}, {" \x0C", C::tkSpace}}));
}

TEST(TclSyn, BlockCommentsAndContinuations)
{
    C hl;
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a /* b", C::rsUnKnown, &range)),
              (TK{{"a", C::tkIdentifier}, {" ", C::tkSpace}, {"/* b", C::tkComment}}));
    EXPECT_EQ(range, C::rsCStyle);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "c */ d", range, &range)),
              (TK{{"c */", C::tkComment}, {" ", C::tkSpace}, {"d", C::tkIdentifier}}));
    EXPECT_EQ(range, C::rsUnKnown);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/*/", C::rsUnKnown, &range)), (TK{{"/*/", C::tkComment}}));
    EXPECT_EQ(range, C::rsCStyle);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x } y", C::rsPasStyle, &range)),
              (TK{{"x }", C::tkComment}, {" ", C::tkSpace}, {"y", C::tkIdentifier}}));
    EXPECT_EQ(range, C::rsUnKnown);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x *) y", C::rsAnsi, &range)),
              (TK{{"x *)", C::tkComment}, {" ", C::tkSpace}, {"y", C::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "open", C::rsAnsi, &range)), (TK{{"open", C::tkComment}}));
    EXPECT_EQ(range, C::rsAnsi);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "", C::rsAnsi, &range)), TK{});
    EXPECT_EQ(range, C::rsAnsi);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "set", 9, &range)), (TK{{"set", C::tkKey}}));
    EXPECT_EQ(range, 9); // any other value is left as it is
    hl.ResetRange();
    EXPECT_EQ(hl.GetRange(), C::rsUnKnown);
}

TEST(TclSyn, StringsAndNumbers)
{
    C hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"("a\"b" "c" """d" x)")),
              (TK{{R"("a\"b")", C::tkString}, {" ", C::tkSpace}, {R"("c")", C::tkString}, {" ", C::tkSpace},
                  {R"("""d")", C::tkString}, {" ", C::tkSpace}, {"x", C::tkIdentifier}}));
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\"open", C::rsUnKnown, &range)), (TK{{"\"open", C::tkString}}));
    EXPECT_EQ(range, C::rsUnKnown);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1.5e3 1..2 7 1e-5")),
              (TK{{"1.5e3", C::tkNumber}, {" ", C::tkSpace}, {"1", C::tkNumber}, {".", C::tkUnknown},
                  {".", C::tkUnknown}, {"2", C::tkNumber}, {" ", C::tkSpace}, {"7", C::tkNumber},
                  {" ", C::tkSpace}, {"1e-5", C::tkNumber}}));
}

TEST(TclSyn, WordListAndAttributesRoundTripThroughTheRegistry)
{
    const std::string key = "Software\\VellumixTest\\Tcl";
    C saved;
    TStringList words;
    words.Add("alpha");
    words.Add("proc");
    saved.SetKeyWords(words);
    saved.KeyAttri->SetForeground(clMaroon);
    ASSERT_TRUE(saved.SaveToRegistry(HKEY_CURRENT_USER, key));

    C loaded;
    ASSERT_TRUE(loaded.LoadFromRegistry(HKEY_CURRENT_USER, key));
    EXPECT_EQ(loaded.KeyWords().Text(), "ALPHA\r\nPROC\r\n");
    EXPECT_EQ(loaded.KeyAttri->Foreground(), clMaroon);

    // Words written in lower case by someone else are upper-cased on load, so they match.
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("\\" + key, false));
        reg.WriteString("KeyWords", "lower\r\nwords\r\n");
    }
    ASSERT_TRUE(loaded.LoadFromRegistry(HKEY_CURRENT_USER, key));
    EXPECT_EQ(loaded.KeyWords().Text(), "LOWER\r\nWORDS\r\n");
    EXPECT_EQ(TextsAndKinds(Scan(loaded, "lower")), (TK{{"lower", C::tkKey}}));
    EXPECT_FALSE(loaded.LoadFromRegistry(HKEY_CURRENT_USER, key + "\\Missing"));
    EXPECT_EQ(loaded.KeyWords().Count(), 2);
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.DeleteKey("\\" + key);
}

TEST(TclSyn, InterfaceParticulars)
{
    C hl;
    EXPECT_EQ(hl.GetLanguageName(), "Tcl/Tk");
    EXPECT_EQ(hl.GetDefaultFilter(), "Tcl/Tk files (*.tcl)|*.tcl");
    EXPECT_EQ(hl.GetCapability(), 6u);
    EXPECT_EQ(hl.GetAttribCount(), 8);
    EXPECT_EQ(hl.GetDefaultAttribute(0), hl.SpaceAttri);
    EXPECT_EQ(hl.SecondKeyAttri->Style(), TFontStyles(fsBold));
    EXPECT_TRUE(hl.GetIdentChars()['$']); // the base set
}

TEST(TclSyn, ScannerPropertiesOnAGeneratedScript)
{
    C hl;
    auto lines = RandomLines({"proc ", "name", " {", "}", "set ", "$x", " ", "\t", "\"s\"", "\"", "\\\"", "#", "//",
                              "/*", "*/", "*)", "/", "1.5e3", "..", "puts", "tk_popup", "\x0C", std::string(1, '\0'),
                              "\xFF", "\x80"},
                             3000, 17);
    ExpectDocumentProperties(hl, lines);
    for (std::int32_t start : {1, 2, 3})
        for (int i = 0; i < 200; ++i)
            ExpectLineProperties(hl, lines[static_cast<size_t>(i)], start);
}
