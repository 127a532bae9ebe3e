// What every language highlighter shows and exports: its token kinds by
// number, the attribute of each kind, the escape and white-space flags handed
// to an exporter, its attributes' defaults, its names and its flags.
#include "highlighters/DcjPerlSyn.h"
#include "highlighters/RegisterHighlighters.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/siTCLTKSyn.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmSQLSyn.h"
#include "tests/highlighters/ExportCapture.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace vx::test;

namespace {

bool NeedsEscapeInRtf(char c) { return c == '{' || c == '}' || c == '\\' || static_cast<unsigned char>(c) > 127; }

using TMake = std::unique_ptr<TmwCustomHighLighter> (*)();

std::unique_ptr<TmwCustomHighLighter> MakeTclWithSecondWords()
{
    auto hl = std::make_unique<TsiTCLTKSyn>();
    TStringList words;
    words.Add("myproc");
    hl->SetSecondKeyWords(words);
    return hl;
}

// One token of a sample line: its text and kind number, the attribute it is
// shown with, and what the exporter is handed for it.
struct KindRow {
    std::string text;
    int kind;
    std::string attribute;
    bool needsEscape;
    bool isSpace = false;
    std::string exportAttribute = ""; // when it differs from attribute
};

struct KindSample {
    const char* language;
    TMake make;
    std::string line;
    std::vector<KindRow> rows;
};

const std::vector<KindSample>& KindSamples()
{
    static const std::vector<KindSample> samples = {
        {"HTML", &CreateHighlighter<ThkHTMLSyn>, "<B x{ \\y=\"{v}\" \"s\">t{&amp;<H7><% a %><!-- c -->",
         {{"<", 8, "Symbol", true}, {"B", 4, "Reserved word", false}, {" ", 6, "Space", false, true},
          {"x{", 3, "Identifier", true}, {" ", 6, "Space", false, true}, {"\\y", 3, "Identifier", true},
          {"=", 8, "Symbol", true}, {"\"{v}\"", 11, "Value", true}, {" ", 6, "Space", false, true},
          {"\"s\"", 7, "Value", true}, {">", 8, "Symbol", true}, {"t{", 9, "Text", true},
          {"&amp;", 0, "Escape ampersand", false}, {"<", 8, "Symbol", true}, {"H7", 10, "Unknown word", true},
          {">", 8, "Symbol", true}, {"<%", 1, "Asp", true}, {" a %>", 1, "Asp", true},
          {"<!--", 2, "Comment", true}, {" c -->", 2, "Comment", true}}},
        {"JScript", &CreateHighlighter<TmwJScriptSyn>, "if x 1 \"s\" /* c */ + @\\",
         {{"if", 2, "Reserved word", false}, {" ", 5, "Space", false, true}, {"x", 1, "Identifier", true},
          {" ", 5, "Space", false, true}, {"1", 4, "Number", false}, {" ", 5, "Space", false, true},
          {"\"s\"", 6, "String", true}, {" ", 5, "Space", false, true}, {"/* c */", 0, "Comment", true},
          {" ", 5, "Space", false, true}, {"+", 7, "Symbol", true}, {" ", 5, "Space", false, true},
          {"@", 8, "String", true}, {"\\", 8, "String", true}}},
        {"VBScript", &CreateHighlighter<TlbVbsSyn>, "Dim x{ 1 \"s\" \\ ' c",
         {{"Dim", 2, "Reserved word", false}, {" ", 5, "Space", false, true}, {"x", 1, "Identifier", true},
          {"{", 7, "Symbol", true}, {" ", 5, "Space", false, true}, {"1", 4, "Number", false},
          {" ", 5, "Space", false, true}, {"\"s\"", 6, "String", true}, {" ", 5, "Space", false, true},
          {"\\", 1, "Identifier", true}, {" ", 5, "Space", false, true}, {"' c", 0, "Comment", true}}},
        {"SQL", &CreateHighlighter<TwmSQLSyn>, "SELECT x 12 'a' ! { -- c",
         {{"SELECT", 2, "Reserved word", false}, {" ", 6, "Symbol", true}, {"x", 1, "Identifier", true},
          {" ", 6, "Symbol", true}, {"12", 4, "Number", false}, {" ", 6, "Symbol", true},
          {"'a'", 5, "String", true}, {" ", 6, "Symbol", true}, {"!", 7, "Symbol", true},
          {" ", 6, "Symbol", true}, {"{", 7, "Symbol", true}, {" ", 6, "Symbol", true},
          {"-- c", 0, "Comment", true}}},
        {"PHP", &CreateHighlighter<TwmPHPSyn>, "echo $v @f 1 \"s\" \\ + # c",
         {{"echo", 3, "Reserved word", false}, {" ", 6, "Space", false, true}, {"$v", 10, "Variable", true},
          {" ", 6, "Space", false, true}, {"@", 2, "Invalid symbol", false}, {"f", 1, "Identifier", true},
          {" ", 6, "Space", false, true}, {"1", 5, "Number", false}, {" ", 6, "Space", false, true},
          {"\"s\"", 7, "String", true}, {" ", 6, "Space", false, true}, {"\\", 9, "Identifier", true},
          {" ", 6, "Space", false, true}, {"+", 8, "Symbol", true}, {" ", 6, "Space", false, true},
          {"# c", 0, "Comment", true}}},
        {"Perl", &CreateHighlighter<TDcjPerlSyn>, "use strict eq $ARGV $\\ 1 \"s\" { ` x # c",
         {{"use", 2, "Reserved word", false}, {" ", 7, "Space", false, true}, {"strict", 6, "Pragma", false},
          {" ", 7, "Space", false, true}, {"eq", 5, "Operator", false}, {" ", 7, "Space", false, true},
          {"$ARGV", 11, "Variable", true}, {" ", 7, "Space", false, true}, {"$\\", 11, "Variable", true},
          {" ", 7, "Space", false, true}, {"1", 4, "Number", false}, {" ", 7, "Space", false, true},
          {"\"s\"", 8, "String", true}, {" ", 7, "Space", false, true}, {"{", 9, "Symbol", true},
          {" ", 7, "Space", false, true}, {"`", 10, "Illegal char", true, false, "Symbol"},
          {" ", 7, "Space", false, true}, {"x", 1, "Identifier", true}, {" ", 7, "Space", false, true},
          {"# c", 0, "Comment", true}}},
        {"CSS", &CreateHighlighter<TmwCSSSyn>, "font: #F0 1 'a' { \\ /* c */ (x",
         {{"font", 2, "Key", false}, {":", 8, "Identifier", true}, {" ", 5, "Space", false, true},
          {"#F0", 4, "Number", false}, {" ", 5, "Space", false, true}, {"1", 4, "Number", false},
          {" ", 5, "Space", false, true}, {"'a'", 6, "String", true}, {" ", 5, "Space", false, true},
          {"{", 6, "String", true}, {" ", 5, "Space", false, true}, {"\\", 8, "Identifier", true},
          {" ", 5, "Space", false, true}, {"/* c */", 0, "Comment", true}, {" ", 5, "Space", false, true},
          {"(", 7, "Symbol", true}, {"x", 1, "Identifier", true}}},
        {"Tcl/Tk", &MakeTclWithSecondWords, "puts x 1 \"s\" $ ( myProc # c",
         {{"puts", 2, "Reserved word", true}, {" ", 5, "Space", false, true}, {"x", 1, "Identifier", true},
          {" ", 5, "Space", false, true}, {"1", 4, "Number", false}, {" ", 5, "Space", false, true},
          {"\"s\"", 6, "String", true}, {" ", 5, "Space", false, true}, {"$", 8, "Symbol", true},
          {" ", 5, "Space", false, true}, {"(", 7, "Symbol", true}, {" ", 5, "Space", false, true},
          {"myProc", 9, "Second reserved word", true}, {" ", 5, "Space", false, true},
          {"# c", 0, "Comment", true}}},
    };
    return samples;
}

// The line-end kind of each language, in the same order as KindSamples.
constexpr int kNullKinds[] = {5, 3, 3, 3, 4, 3, 3, 3};

} // namespace

TEST(LanguageKinds, EveryKindShowsWithItsAttributeUnderItsNumber)
{
    size_t language = 0;
    for (const KindSample& sample : KindSamples()) {
        SCOPED_TRACE(sample.language);
        auto hl = sample.make();
        std::vector<Tok> expected;
        int pos = 0;
        for (const KindRow& row : sample.rows) {
            expected.push_back({row.text, row.kind, pos, row.attribute});
            pos += static_cast<int>(row.text.size());
        }
        EXPECT_EQ(Scan(*hl, sample.line), expected);
        EXPECT_EQ(hl->GetTokenKind(), kNullKinds[language++]);
        EXPECT_EQ(hl->GetTokenAttribute(), nullptr);
    }
}

TEST(LanguageKinds, ExportFlagsTheKindsWhoseTextMayNeedEscaping)
{
    for (const KindSample& sample : KindSamples()) {
        SCOPED_TRACE(sample.language);
        auto hl = sample.make();
        std::vector<ExportedToken> expected;
        for (const KindRow& row : sample.rows)
            expected.push_back({row.text, row.exportAttribute.empty() ? row.attribute : row.exportAttribute,
                                row.needsEscape, row.isSpace});
        expected.push_back({"", "", false, false});
        TExportCapture out;
        out.ExportLine(*hl, sample.line);
        EXPECT_EQ(out.tokens, expected);
    }
}

// Whatever the line, every token holding a brace, a backslash or a byte
// above 127 reaches the exporter flagged for escaping, and the exported texts
// are the line.
TEST(LanguageKinds, NoTextToEscapeIsExportedUnflagged)
{
    const std::vector<std::string> fragments = {
        "{", "}", "\\", "{1", "\\x", "x\\", "a{b", "$\\", "$", "@", "#", "%", "&", "&amp;", "<", ">", "=", "\"",
        "'", "\xE9", "x\xFC", "<%", "%>", "<!--", "-->", "/*", "*/", "//", "--", " ", "\t", "word", "if", "12",
        "x{", "`", "("};
    const auto lines = RandomLines(fragments, 400, 7);
    for (const KindSample& sample : KindSamples()) {
        SCOPED_TRACE(sample.language);
        auto hl = sample.make();
        for (std::int32_t start : {0, 1, 2, 3, 4, 5, 7}) {
            for (const std::string& line : lines) {
                hl->SetRange(start);
                TExportCapture out;
                out.ExportLine(*hl, line);
                std::string joined;
                for (const ExportedToken& t : out.tokens) {
                    joined += t.text;
                    if (std::any_of(t.text.begin(), t.text.end(), NeedsEscapeInRtf)) {
                        ASSERT_TRUE(t.needsEscape) << "token \"" << t.text << "\" of line \"" << line << "\"";
                    }
                }
                ASSERT_EQ(joined, line);
            }
        }
    }
}

namespace {

struct AttributeDefault {
    std::string name;
    TColor foreground = clWindowText;
    TColor background = clWindow;
    TFontStyles style = {};
};

struct LanguageFacts {
    TMake make;
    std::string languageName;
    std::string filter;
    unsigned capability;
    std::int32_t resetRange;
    std::vector<AttributeDefault> attributes;
    // the names of the default attributes 0, 1 and 2 ("" for none)
    std::vector<std::string> defaults;
    // a character that is, and one that is not, a word character
    char wordChar;
    char otherChar;
};

const TFontStyles kBold = TFontStyles(fsBold);
const TFontStyles kItalic = TFontStyles(fsItalic);

const std::vector<LanguageFacts>& Languages()
{
    static const std::vector<LanguageFacts> facts = {
        {&CreateHighlighter<ThkHTMLSyn>, "HTML Document", "HTML Document (*.htm,*.html)|*.htm;*.html", 6, 5,
         {{"Asp", clBlack, clYellow}, {"Comment"}, {"Identifier", clWindowText, clWindow, kBold},
          {"Reserved word", 0xFF0080, clWindow, kBold}, {"Space"}, {"Symbol", clWindowText, clWindow, kBold},
          {"Text"}, {"Unknown word", clRed, clWindow, kBold}, {"Value", 0xFF8000},
          {"Escape ampersand", clLime, clWindow, kBold}},
         {"Space", "Comment", "Reserved word"}, '7', '_'},
        {&CreateHighlighter<TmwJScriptSyn>, "Javascript", "Javascript files (*.js)|*.js", 6, 1,
         {{"Comment", clWindowText, clWindow, kItalic},
          {"Identifier"},
          {"Reserved word", clWindowText, clWindow, kBold},
          {"Number"}, {"Space"}, {"String"}, {"Symbol"}},
         {"Space", "Comment", "Reserved word"}, '_', '$'},
        {&CreateHighlighter<TlbVbsSyn>, "MS VBScript", "VBScript files (*.vbs)|*.vbs", 6, 1,
         {{"Comment", clWindowText, clWindow, kItalic},
          {"Identifier"},
          {"Reserved word", clWindowText, clWindow, kBold},
          {"Number"}, {"Space"}, {"String"}, {"Symbol"}},
         {"Space", "Comment", "Reserved word"}, '_', '&'},
        {&CreateHighlighter<TwmSQLSyn>, "SQL", "SQL files (*.sql)|*.sql", 7, 2,
         {{"Comment", clWindowText, clWindow, kItalic},
          {"Identifier"},
          {"Reserved word", clWindowText, clWindow, kBold},
          {"Number"}, {"String"}, {"Symbol"}},
         {"", "Comment", "Reserved word"}, '!', ' '},
        {&CreateHighlighter<TwmPHPSyn>, "PHP",
         "PHP files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc", 6, 0,
         {{"Comment", clWindowText, clWindow, kItalic}, {"Identifier"}, {"Invalid symbol"},
          {"Reserved word", clWindowText, clWindow, kBold}, {"Number"}, {"Space"}, {"String"}, {"Symbol"},
          {"Variable"}},
         {"Space", "Comment", "Reserved word"}, '_', '$'},
        {&CreateHighlighter<TDcjPerlSyn>, "Perl", "Perl files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi", 6, 0,
         {{"Comment", clWindowText, clWindow, kItalic}, {"Identifier"}, {"Illegal char"},
          {"Reserved word", clWindowText, clWindow, kBold}, {"Number"}, {"Operator"},
          {"Pragma", clWindowText, clWindow, kBold}, {"Space", clWindow}, {"String"}, {"Symbol"},
          {"Variable", clWindowText, clWindow, kBold}},
         {"Space", "Comment", "Reserved word"}, '@', '-'},
        {&CreateHighlighter<TmwCSSSyn>, "Cascading Stylesheets", "Cascading Stylesheets (*.css)|*.css", 6, 0,
         {{"Comment", clWindowText, clWindow, kItalic},
          {"Identifier"},
          {"Key", clWindowText, clWindow, kBold},
          {"Number"}, {"Space"}, {"String"}, {"Symbol"}},
         {"Space", "Comment", "Key"}, '_', '-'},
        {&CreateHighlighter<TsiTCLTKSyn>, "Tcl/Tk", "Tcl/Tk files (*.tcl)|*.tcl", 6, 4,
         {{"Comment", clWindowText, clWindow, kItalic},
          {"Identifier"},
          {"Reserved word", clWindowText, clWindow, kBold},
          {"Second reserved word", clWindowText, clWindow, kBold}, {"Number"}, {"Space"}, {"String"}, {"Symbol"}},
         {"Space", "Comment", "Reserved word"}, '$', ' '},
    };
    return facts;
}

TmwHighLightAttributes* FindAttribute(const TmwCustomHighLighter& hl, const std::string& name)
{
    for (int i = 0; i < hl.GetAttribCount(); ++i)
        if (hl.GetAttribute(i)->Name() == name)
            return hl.GetAttribute(i);
    return nullptr;
}

} // namespace

TEST(LanguageKinds, AttributesNamesAndFlagsOfEveryLanguage)
{
    for (const LanguageFacts& facts : Languages()) {
        SCOPED_TRACE(facts.languageName);
        auto hl = facts.make();
        EXPECT_EQ(hl->GetLanguageName(), facts.languageName);
        EXPECT_EQ(hl->GetDefaultFilter(), facts.filter);
        EXPECT_EQ(hl->GetCapability(), facts.capability);
        EXPECT_EQ(hl->GetRange(), facts.resetRange);
        hl->SetRange(0x1FF);
        EXPECT_EQ(hl->GetRange(), 0xFF); // the low byte
        hl->ResetRange();
        EXPECT_EQ(hl->GetRange(), facts.resetRange);
        ASSERT_EQ(hl->GetAttribCount(), static_cast<int>(facts.attributes.size()));
        for (const AttributeDefault& expected : facts.attributes) {
            SCOPED_TRACE(expected.name);
            const TmwHighLightAttributes* a = FindAttribute(*hl, expected.name);
            ASSERT_NE(a, nullptr);
            EXPECT_EQ(a->Foreground(), expected.foreground);
            EXPECT_EQ(a->Background(), expected.background);
            EXPECT_EQ(a->Style(), expected.style);
        }
        for (int i = 0; i < 3; ++i) {
            const TmwHighLightAttributes* a = hl->GetDefaultAttribute(i);
            EXPECT_EQ(a ? a->Name() : "", facts.defaults[static_cast<size_t>(i)]) << i;
        }
        EXPECT_EQ(hl->GetDefaultAttribute(3), nullptr);
        EXPECT_EQ(hl->GetDefaultAttribute(-1), nullptr);
        const TCharSet chars = hl->GetIdentChars();
        EXPECT_TRUE(chars[static_cast<unsigned char>(facts.wordChar)]);
        EXPECT_FALSE(chars[static_cast<unsigned char>(facts.otherChar)]);
    }
}

TEST(LanguageKinds, AnEmptyLineIsTheLineEndAtOnceInEveryRange)
{
    for (const LanguageFacts& facts : Languages()) {
        SCOPED_TRACE(facts.languageName);
        auto hl = facts.make();
        for (std::int32_t range = 0; range < 8; ++range) {
            hl->SetRange(range);
            hl->SetLine("", 1);
            EXPECT_TRUE(hl->GetEol()) << range;
            EXPECT_EQ(hl->GetTokenPos(), 0);
            EXPECT_EQ(hl->GetToken(), "");
            EXPECT_EQ(hl->GetTokenAttribute(), nullptr);
        }
    }
}

TEST(LanguageKinds, EveryAttributeChangeReachesTheHookedEditors)
{
    for (const LanguageFacts& facts : Languages()) {
        SCOPED_TRACE(facts.languageName);
        auto hl = facts.make();
        int notified = 0;
        hl->AddChangeHook([&](void*) { ++notified; });
        for (int i = 0; i < hl->GetAttribCount(); ++i) {
            TmwHighLightAttributes* a = hl->GetAttribute(i);
            a->SetForeground(a->Foreground());
            EXPECT_EQ(notified, i) << a->Name(); // an equal value is no change
            a->SetForeground(a->Foreground() == clRed ? clBlue : clRed);
            EXPECT_EQ(notified, i + 1) << a->Name();
        }
    }
}

TEST(LanguageKinds, TheEightLanguagesAreRegisteredOnce)
{
    RegisterAllHighlighters();
    std::multiset<std::string> registered;
    for (int i = 0; i < HighlighterList().Count(); ++i)
        registered.insert(HighlighterList()[i]->Create()->GetLanguageName());
    for (const LanguageFacts& facts : Languages())
        EXPECT_EQ(registered.count(facts.languageName), 1u) << facts.languageName;
    EXPECT_EQ(registered.count("General Multi-Highlighter"), 0u);
}
