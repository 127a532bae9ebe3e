#include "editor/mwCustomEditModel.h"
#include "editor/mwRtfExport.h"
#include "highlighters/RegisterHighlighters.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/wmPageHighlighterSet.h"
#include "platform/FileIO.h"
#include "tests/editor/support/BraceHighlighter.h"
#include "tests/editor/support/RtfChecker.h"
#include "tests/editor/support/RtfText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

using vx::test::CheckRtf;
using vx::test::RtfText;

const std::string Golden = std::string(VX_SOURCE_DIR) + "/tests/editor/golden/rtf/";

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string Joined(const std::vector<std::string>& errors)
{
    std::string all;
    for (const auto& e : errors)
        all += e + "\n";
    return all;
}

// ---------------------------------------------------------------- runs

struct RunFixture : ::testing::Test {
    RunFixture()
    {
        keyword.SetForeground(clBlue);
        keyword.SetStyle(fsBold);
        comment.SetForeground(clGreen);
        comment.SetStyle(fsItalic | fsUnderline);
        comment.SetBackground(clYellow);
    }
    TmwHighLightAttributes keyword{"Key"};
    TmwHighLightAttributes comment{"Comment"};
    TmwRtfExport rtf;
};

TEST_F(RunFixture, ChangedAttributeOpensARunAndLineEndsCloseTheParagraph)
{
    TmwCustomEditModel model;
    TBraceHighlighter braces;
    model.SetText("x");
    rtf.Setup(&model, &braces, 1); // a 10-point font
    rtf.FormatToken("if", &keyword, false, false);
    rtf.FormatToken("else", &keyword, false, false);
    rtf.FormatToken("", nullptr, false, false);
    rtf.FormatToken("then", &keyword, false, false);
    EXPECT_EQ(rtf.Buffer(), "\\plain\\fs20\\cf0\\b ifelse\r\n\\par \\plain\\fs20\\cf0\\b then")
        << "one run per change; a line end starts a new run";
    rtf.FormatToken("{x}", &comment, true, false);
    EXPECT_TRUE(EndsWith(rtf.Buffer(), "then\\plain\\fs20\\cf1\\i\\ul \\{x\\}")) << rtf.Buffer();
    model.SetHighLighter(nullptr);
}

TEST_F(RunFixture, EscapesSpecialsWhateverTheHighlighterSays)
{
    rtf.FormatToken("a\\b{c}", &keyword, true, false);
    rtf.FormatToken("{d}", &keyword, false, false);
    rtf.FormatToken("ident", &keyword, false, false);
    EXPECT_EQ(rtf.Buffer(), "\\plain\\fs10\\cf0\\b a\\\\b\\{c\\}\\{d\\}ident");
}

TEST_F(RunFixture, TextWithoutAnAttributeIsKeptInAPlainRun)
{
    rtf.FormatToken("lost?", nullptr, true, false);
    EXPECT_EQ(rtf.Buffer(), "\\plain\\fs10\\cf0 lost?");
}

TEST_F(RunFixture, BackgroundRunsCarryTheBackgroundAndCloseAfterEveryToken)
{
    rtf.SetUseBackGround(true);
    rtf.FormatToken("x", &comment, false, false);
    rtf.FormatToken("y", &comment, false, false);
    rtf.FormatToken("z", &keyword, false, false);
    // Each attribute's foreground enters the colour table before its background.
    // A token after a closed run opens its own, even with the same attribute.
    EXPECT_EQ(rtf.Buffer(), "\\plain\\fs10\\cb1\\cf0\\i\\ul x\\plain\\f0\\fs10 "
                            "\\plain\\fs10\\cb1\\cf0\\i\\ul y\\plain\\f0\\fs10 "
                            "\\plain\\fs10\\cb3\\cf2\\b z\\plain\\f0\\fs10 ");
}

// Characters outside ASCII go as \uN, a signed 16-bit code unit (a surrogate
// pair beyond the Basic Multilingual Plane), each followed by its fallback:
// the Windows-1252 byte where the code page has the character, else "?".
TEST(RtfEscape, SpecialsAndCharactersOutsideAscii)
{
    const struct {
        const char* text;
        const char* body;
        const char* field;
    } rows[] = {
        {"}{\\", "\\}\\{\\\\", "\\}\\{\\\\"},
        {"a{b}\\c \t", "a\\{b\\}\\\\c \t", "a\\{b\\}\\\\c \\'09"},
        {"caf\u00e9", "caf\\u233\\'e9", "caf\\u233\\'e9"},
        {"\u20ac5", "\\u8364\\'805", "\\u8364\\'805"},
        {"\u00ff\u0178", "\\u255\\'ff\\u376\\'9f", "\\u255\\'ff\\u376\\'9f"},
        {"\u03b1\u0436", "\\u945?\\u1078?", "\\u945?\\u1078?"},
        {"\u4f60\uac00", "\\u20320?\\u-21504?", "\\u20320?\\u-21504?"},
        {"\U0001F600!", "\\u-10179?\\u-8704?!", "\\u-10179?\\u-8704?!"},
        {"\U0010FFFF", "\\u-9217?\\u-8193?", "\\u-9217?\\u-8193?"},
        // A byte that begins no character is shown as the replacement character.
        {"x\xE9y", "x\\u-3?y", "x\\u-3?y"},
    };
    for (const auto& row : rows) {
        std::string body;
        AppendRtfEscaped(body, row.text);
        EXPECT_EQ(body, row.body) << row.text;
        EXPECT_EQ(RtfEscapeField(row.text), row.field) << row.text;
    }
}

// A highlighter that cuts a character between two tokens: it goes out whole
// with the token that completes it; cut short at the line's end, its bytes
// go out as what they are.
TEST_F(RunFixture, ACharacterCutBetweenTokensGoesOutWhole)
{
    const struct {
        std::vector<std::string> tokens;
        const char* expected;
    } rows[] = {
        {{"caf\xC3", "\xA9!"}, "\\plain\\fs10\\cf0\\b caf\\u233\\'e9!"},
        {{"\xF0", "\x9F", "\x98\x80"}, "\\plain\\fs10\\cf0\\b \\u-10179?\\u-8704?"},
        {{"a\xE2\x82", ""}, "\\plain\\fs10\\cf0\\b a\\u-3?\\u-3?\r\n\\par "},
    };
    for (const auto& row : rows) {
        rtf.Clear();
        for (const std::string& token : row.tokens)
            rtf.FormatToken(token, token.empty() ? nullptr : &keyword, false, false);
        EXPECT_EQ(rtf.Buffer(), row.expected);
    }
}

// ---------------------------------------------------------------- whole documents

struct DocumentFixture : ::testing::Test {
    void Load(const std::string& text)
    {
        model.SetHighLighter(&html);
        model.SetText(text);
    }
    ~DocumentFixture() override { model.SetHighLighter(nullptr); }
    std::string Export(bool selection, bool background)
    {
        rtf.SetUseBackGround(background);
        bool done = selection ? rtf.ExportSelection(&html, &model)
                              : rtf.ExportLines(1, model.LineCount(), &html, &model);
        EXPECT_TRUE(done);
        return rtf.Buffer();
    }
    ThkHTMLSyn html;
    TmwCustomEditModel model;
    TmwRtfExport rtf;
};

TEST_F(DocumentFixture, HeaderHoldsFontColoursInfoAndTitle)
{
    Load("<b>");
    const std::string doc = Export(false, false);
    EXPECT_EQ(doc.substr(0, doc.find("\\plain\\fs20")),
              "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern Courier New;}}\r\n"
              "{\\colortbl\\red0\\green0\\blue0;\\red128\\green0\\blue255;}\r\n"
              "{\\info{\\comment Generated by mwRtfExport}\r\n{\\title (Untitled)}}\r\n"
              "\\deflang1033\\pard\\plain \r\n");
    EXPECT_TRUE(EndsWith(doc, "\\b b\\plain\\fs20\\cf0\\b >\r\n\\par }")) << doc;
}

TEST_F(DocumentFixture, TitleAndFontNameAreEscaped)
{
    Load("<b>");
    rtf.SetTitle("100% {braces} \\ caf\u00e9 \u4f60");
    rtf.Look().FontName = "Odd}Font";
    const std::string doc = Export(false, false);
    EXPECT_NE(doc.find("{\\title 100% \\{braces\\} \\\\ caf\\u233\\'e9 \\u20320?}}"), std::string::npos) << doc;
    EXPECT_NE(doc.find("{\\f0\\fmodern Odd\\}Font;}"), std::string::npos);
    EXPECT_EQ(Joined(CheckRtf(doc)), "");
}

TEST_F(DocumentFixture, BackgroundGroupGivesTheEditorColour)
{
    Load("<b>");
    model.SetColor(0x00336699);
    const std::string doc = Export(false, true);
    EXPECT_NE(doc.find("\r\n{\\*\\background{\\shp{{\\sp{\\sn fillColor}{\\sv 3368601}}}}}\r\n"), std::string::npos);
    rtf.Look().ResolveColor = [](TColor c) { return IsSystemColor(c) ? TColor{0x010203} : c; };
    model.SetColor(clWindow);
    EXPECT_NE(Export(false, true).find("{\\sv 66051}"), std::string::npos) << "system colours as the screen shows them";
}

TEST_F(DocumentFixture, SelectionEndsWithoutTheLastParagraph)
{
    Load("<b>\r\n<i>");
    model.SetBlockBegin(Point(1, 1));
    model.SetBlockEnd(Point(3, 2));
    const std::string doc = Export(true, false);
    EXPECT_TRUE(EndsWith(doc, "\\par \\plain\\fs20\\cf0\\b <\\plain\\fs20\\cf1\\b i}")) << doc;
    EXPECT_EQ(doc.find("\\pa}"), std::string::npos);
    EXPECT_EQ(Joined(CheckRtf(doc)), "");
}

TEST_F(DocumentFixture, EmptyTextExportsNothing)
{
    Load("");
    EXPECT_FALSE(rtf.ExportLines(1, model.LineCount(), &html, &model));
    EXPECT_EQ(rtf.Buffer(), "");
}

TEST_F(DocumentFixture, ClearForgetsTheColours)
{
    Load("<b>");
    Export(false, false);
    rtf.Clear();
    EXPECT_EQ(rtf.Buffer(), "");
    EXPECT_EQ(rtf.GetHeader().find("\\red"), std::string::npos);
}

TEST_F(DocumentFixture, NamesFilterAndSharedInstance)
{
    EXPECT_EQ(rtf.GetFormatName(), "RTF");
    EXPECT_EQ(rtf.GetDisplayName(), "RTF");
    EXPECT_EQ(rtf.GetFilter(), "Rich Text Format (*.rtf)|*.rtf");
    EXPECT_EQ(rtf.GetClipboardFormat(), "text/rtf");
    TmwCustomExport* shared = rtf.GetInstance();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared, TmwRtfExport().GetInstance());
    EXPECT_NE(shared, &rtf);
    bool listed = false;
    for (const TmwExportClass* cls : ExporterClasses())
        listed = listed || std::string(cls->ClassName) == "TmwRtfExport";
    EXPECT_TRUE(listed);
}

// Golden files, checked by hand: the HTML page whole and as a selection from
// the middle of line 3 to the middle of line 6, with and without background.
struct GoldenCase {
    const char* expected;
    bool selection;
    bool background;
};

class RtfGolden : public DocumentFixture, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(RtfGolden, MatchesTheFileCheckedByHand)
{
    const GoldenCase& c = GetParam();
    Load(vx::ReadWholeFile(Golden + "page.html"));
    model.SetBlockBegin(Point(6, 3));
    model.SetBlockEnd(Point(11, 6));
    const std::string doc = Export(c.selection, c.background);
    EXPECT_EQ(Joined(CheckRtf(doc)), "");
    if (std::getenv("VX_WRITE_GOLDEN"))
        vx::WriteFileAtomic(Golden + c.expected, doc);
    EXPECT_EQ(doc, vx::ReadWholeFile(Golden + c.expected));
}

INSTANTIATE_TEST_SUITE_P(Page, RtfGolden,
                         ::testing::Values(GoldenCase{"page.rtf", false, false}, GoldenCase{"page-bg.rtf", false, true},
                                           GoldenCase{"page-sel.rtf", true, false},
                                           GoldenCase{"page-sel-bg.rtf", true, true}));

// Random text with every character RTF treats specially and characters
// outside ASCII of one to four bytes, through every language highlighter:
// each export is a valid document, and a reader finds every character of
// the lines in it.
TEST(RtfProperty, EveryLanguageExportsValidRtfFromAnyText)
{
    RegisterAllHighlighters();
    const std::vector<std::string> alphabet = {
        "{", "}", "\\", "<", ">", "&", ";", "\"", "'", "=", "%", "!", "-", "/", "*", "#", "$", "@", "(", ")",
        "[", "]", ":", ".", ",", "\t", " ", " ", "a", "b", "c", "X", "Y", "Z", "0", "1", "9",
        "\u00e9", "\u00ff", "\u20ac", "\u03b1", "\u0436", "\u4f60", "\U0001F600", "\u00df"};
    std::mt19937 rng(77);
    for (int h = 0; h < HighlighterList().Count(); ++h) {
        const char* language = HighlighterList()[h]->ClassName;
        std::unique_ptr<TmwCustomHighLighter> hl = HighlighterList()[h]->Create();
        TmwCustomEditModel model;
        model.SetHighLighter(hl.get());
        std::string text;
        for (int line = 0; line < 60; ++line) {
            const size_t length = rng() % 40;
            for (size_t i = 0; i < length; ++i)
                text += alphabet[rng() % alphabet.size()];
            text += "\r\n";
        }
        text += "end";
        model.SetText(text);
        model.SetBlockBegin(Point(3, 7));
        model.SetBlockEnd(Point(5, 40));
        std::string read;
        for (char c : text + "\n")
            if (c != '\r')
                read += c;
        TmwRtfExport rtf;
        for (bool background : {false, true}) {
            rtf.SetUseBackGround(background);
            ASSERT_TRUE(rtf.ExportLines(1, model.LineCount(), hl.get(), &model));
            EXPECT_EQ(Joined(CheckRtf(rtf.Buffer())), "") << language;
            EXPECT_EQ(RtfText(rtf.Buffer()), read) << language;
            ASSERT_TRUE(rtf.ExportSelection(hl.get(), &model));
            EXPECT_EQ(Joined(CheckRtf(rtf.Buffer())), "") << language;
        }
        model.SetHighLighter(nullptr);
    }
}

// The main window's default highlighter: a page whose blocks each language colours.
TEST(RtfMultiLanguage, MixedPageExportsEveryPieceInItsColours)
{
    TwmPageHighlighterSet page;
    TwmMultiSyn& multi = page.multi;
    TmwCustomEditModel model;
    model.SetHighLighter(&multi);
    model.SetText("<p>{a}</p>\r\n<?php\r\n$x = \"{\\n}\";\r\n?>\r\n<style>p { color: red }</style>");
    TmwRtfExport rtf;
    ASSERT_TRUE(rtf.ExportLines(1, model.LineCount(), &multi, &model));
    const std::string doc = rtf.Buffer();
    EXPECT_EQ(Joined(CheckRtf(doc)), "");
    EXPECT_NE(doc.find("\\{a\\}"), std::string::npos);
    EXPECT_NE(doc.find("\\{\\\\n\\}"), std::string::npos) << doc;
    EXPECT_NE(doc.find(" color"), std::string::npos);
    EXPECT_EQ(std::count(doc.begin(), doc.end(), '\n'), 5 + 5) << "five header lines, five paragraphs";
    model.SetHighLighter(nullptr);
}

// ---------------------------------------------------------------- a real reader

// LibreOffice reads every golden file back to the page's text.
TEST(RtfReader, LibreOfficeReadsTheText)
{
    const QString office = QStandardPaths::findExecutable("soffice");
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    vx::test::TempDir dir;
    QStringList args{"-env:UserInstallation=file://" + QString::fromStdString(dir.file("profile")), "--headless",
                     "--convert-to", "txt:Text (encoded):UTF8", "--outdir", QString::fromStdString(dir.file("out"))};
    for (const char* name : {"page.rtf", "page-bg.rtf", "page-sel.rtf", "page-sel-bg.rtf"})
        args << QString::fromStdString(Golden + name);
    QProcess process;
    process.start(office, args);
    ASSERT_TRUE(process.waitForFinished(180000)) << "LibreOffice did not finish";
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    auto text = [&](const char* name) {
        std::string t = vx::ReadWholeFile(dir.file(std::string("out/") + name));
        if (t.rfind("\xEF\xBB\xBF", 0) == 0)
            t.erase(0, 3);
        std::string lf;
        for (char ch : t)
            if (ch != '\r')
                lf += ch;
        return lf;
    };
    std::string page;
    for (char ch : vx::ReadWholeFile(Golden + "page.html"))
        if (ch != '\r')
            page += ch;
    EXPECT_EQ(text("page.txt"), page);
    EXPECT_EQ(text("page-bg.txt"), page);
    const std::string selection = "layout: {two columns} \\ see notes -->\n<body bgcolor=\"#FFFFFF\">\n"
                                  "  <p class=\"intro\">Fish &amp; chips {daily}</p>\n  <% Respo\n";
    EXPECT_EQ(text("page-sel.txt"), selection);
    EXPECT_EQ(text("page-sel-bg.txt"), selection);
}

// ---------------------------------------------------------------- the checker itself

TEST(RtfChecker, RejectsWhatAReaderWouldStumbleOver)
{
    const std::string ok = "{\\rtf1\\ansi\\uc1{\\colortbl\\red0\\green0\\blue0;}\\plain\\cf0 a\\{b\\} \\'e9"
                           "\\u233\\'e9\\u945?\\u-10179?\\u-8704?\\par }";
    EXPECT_EQ(Joined(CheckRtf(ok)), "");
    const char* bad[] = {
        "{\\rtf1 a",                                     // unclosed
        "{\\rtf1 a}}",                                   // closed twice
        "{\\rtf1 a}b",                                   // text after the document
        "{\\rtf1 \\pa}",                                 // unknown word
        "{\\rtf1 \\'e}",                                 // short hex escape
        "{\\rtf1 \\#}",                                  // unknown symbol
        "{\\rtf1 {\\colortbl\\red0;}\\cf1 x}",           // colour beyond the table
        "{\\rtf1 {\\fonttbl{\\f0 A;}}\\f1 x}",           // font beyond the table
        "{\\rtf1 a\\*\\background}",                     // \* inside a group
        "{\\rtf1 a\x01}",                                // raw control character
        "\\rtf1 a",                                      // no group
        "{\\rtf1 caf\xC3\xA9}",                         // raw bytes above 0x7F
        "{\\rtf1 \\u65535?}",                             // beyond the signed 16-bit range
        "{\\rtf1 \\u945}",                                // no fallback character
        "{\\rtf1 \\u65?}",                                // an ASCII character as \u
        "{\\rtf1 \\u-10179?x}",                           // high surrogate alone
        "{\\rtf1 \\u-8704?}",                             // low surrogate alone
    };
    for (const char* doc : bad)
        EXPECT_FALSE(CheckRtf(doc).empty()) << doc;
}

TEST(RtfReaderOfTheTests, ReadsTheBodysCharacters)
{
    const struct {
        const char* rtf;
        const char* text;
    } rows[] = {
        {"{\\rtf1{\\fonttbl{\\f0 A;}}{\\colortbl;}{\\info{\\title T}}\\plain\\b a\\{b\\}\\par c}", "a{b}\nc"},
        {"{\\rtf1 \\u233\\'e9\\'80\\u945?\\u-10179?\\u-8704?!}", "\u00e9\u20ac\u03b1\U0001F600!"},
        {"{\\rtf1{\\*\\background{x}}y\r\nz}", "yz"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(RtfText(row.rtf), row.text) << row.rtf;
}

} // namespace
