// The page and head templates, byte for byte.
#include "tools/PageTemplates.h"

#include "tests/support/FormatSettingsScope.h"

#include <gtest/gtest.h>

using namespace vx::tools;

namespace {

// 2 January 2026, 15:04:05, a Friday.
const TClockReading FixedClock{2026, 1, 2, 5, 15, 4, 5};
// Quotes and bytes above 127 pass through untouched.
const std::string Awkward = "Caf\xe9 \"quoted\" <&>";

} // namespace

TEST(NewPageLines, FileTypeOptionsTitleAndDate)
{
    struct Case {
        TNewPageFields fields;
        TLines expected;
    };
    const Case cases[] = {
        {{false, "Home", true, true, true},
         {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">", "<head> ", " <title>Home</title>",
          "  <meta name=\"generator\" content=\"Vellumix Professional1.0\">",
          "  <meta name=\"date_time\" content=\"1/2/2026 3:04:05 PM\">",
          "  <meta name=\"dc.creator\" content=\"Vellumix Professional1.0\">", "  <meta name=\"dc.title\" content=\"Home\">",
          "</head>", "", "<SCRIPT LANGUAGE=\"VBSCript\" RUNAT=Server>", "<% Server.ScriptTimeOut = 60 %>",
          "<% Enablesessionstate = true %>", ""}},
        {{true, "", false, false, false},
         {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">", "<html>", "<head> ", " <title></title>",
          "  <meta name=\"generator\" content=\"Vellumix Professional1.0\">",
          "  <meta name=\"date_time\" content=\"1/2/2026 3:04:05 PM\">",
          "  <meta name=\"dc.creator\" content=\"Vellumix Professional1.0\">", "  <meta name=\"dc.title\" content=\"\">",
          "</head>", "", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NewPageLines(c.fields, FixedClock), c.expected) << c.fields.Title;
    // The page's code keeps one form of the date, whatever language is chosen.
    const vx::test::TFormatSettingsScope dutch(vx::test::DutchFormats());
    EXPECT_EQ(NewPageLines(cases[0].fields, FixedClock), cases[0].expected) << "with Dutch chosen";

    const TLines options = NewPageLines({true, Awkward, false, true, false}, FixedClock);
    ASSERT_EQ(options.size(), 12u);
    EXPECT_EQ(options[3], " <title>" + Awkward + "</title>");
    EXPECT_EQ(options[7], "  <meta name=\"dc.title\" content=\"" + Awkward + "\">");
    EXPECT_EQ(options[10], "<% Server.ScriptTimeOut = 60 %>") << "each option alone";
}

TEST(MetaLines, EveryFieldInItsLineAndTheKeywordsJoined)
{
    TMetaFields empty;
    const TLines blank = MetaLines(empty);
    const TLines expected = {"",
                             "<!-- start of meta-tags -->",
                             "",
                             " <link rev=\"made\" href=\"mailto:\">",
                             " <meta name=\"keywords\" content=\",,,,,,,,,,,\">",
                             " <meta name=\"description\" content=\"\">",
                             " <meta name=\"copyright\" content=\"\">",
                             " <meta name=\"author\" content=\"\">",
                             " <meta name=\"revisit-after\" content=\"2 Weeks\">",
                             " <meta name=\"Robot\" content=\"ALL\">",
                             " <meta name=\"rating\" content=\"General\">",
                             " <meta name=\"Generator\" content=\"Vellumix Professional 1.0\">",
                             " <meta name=\"DC.Title\" content=\"Vellumix 1.0\">",
                             " <meta name=\"DC.Creator\" content=\"Vellumix 1.0\">",
                             " <meta name=\"DC.Description\" content=\"ASP & HTML EDITOR -- http://www.vellumix.example/\">",
                             "",
                             "<!-- end of meta-tags -->",
                             ""};
    EXPECT_EQ(blank, expected);

    TMetaFields one;
    one.Keywords[0] = "asp";
    EXPECT_EQ(MetaLines(one)[4], " <meta name=\"keywords\" content=\"asp,,,,,,,,,,,\">");

    TMetaFields full{{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", Awkward}, Awkward, "(c) me", "Ann", "4",
                     "ann@example.org"};
    const TLines filled = MetaLines(full);
    EXPECT_EQ(filled[3], " <link rev=\"made\" href=\"mailto:ann@example.org\">");
    EXPECT_EQ(filled[4], " <meta name=\"keywords\" content=\"a,b,c,d,e,f,g,h,i,j,k," + Awkward + "\">");
    EXPECT_EQ(filled[5], " <meta name=\"description\" content=\"" + Awkward + "\">");
    EXPECT_EQ(filled[6], " <meta name=\"copyright\" content=\"(c) me\">");
    EXPECT_EQ(filled[7], " <meta name=\"author\" content=\"Ann\">");
    EXPECT_EQ(filled[8], " <meta name=\"revisit-after\" content=\"4 Weeks\">");
}

TEST(SmallTemplates, RedirectTransitionSubstitutionSoundMarquee)
{
    const std::pair<std::string, std::string> cases[] = {
        {RedirectLine("http://", "1"), "<meta http-equiv=\"refresh\" content=\"1; url=http://\">"},
        {RedirectLine("", ""), "<meta http-equiv=\"refresh\" content=\"; url=\">"},
        {RedirectLine("http://x/" + Awkward, "10"), "<meta http-equiv=\"refresh\" content=\"10; url=http://x/" + Awkward + "\">"},
        {TransitionLine(true, 5, 23), "<META http-equiv=\"Page-Exit\" CONTENT=\"RevealTrans(Duration=5.0,Transition=23)\">"},
        {TransitionLine(false, 0, 0), "<META http-equiv=\"Page-Enter\" CONTENT=\"RevealTrans(Duration=0.0,Transition=0)\">"},
        {SubstitutionLine(0), "<!--webbot bot=\"Substitution\" S-Variable=\"vti_author\" -->"},
        {SubstitutionLine(1), "<!--webbot bot=\"Substitution\" S-Variable=\"vti_description\" -->"},
        {SubstitutionLine(2), "<!--webbot bot=\"Substitution\" S-Variable=\"vti_modifiedby\" -->"},
        {SubstitutionLine(3), "<!--webbot bot=\"Substitution\" S-Variable=\"Page-URL\" -->"},
        {SubstitutionLine(-1), ""},
        {SoundLine("/music/intro.wav"), "<bgsound src=\"intro.wav\" loop=\"0\">"},
        {SoundLine(""), "<bgsound src=\"\" loop=\"0\">"},
        {MarqueeLine("hello", 0, 0), "<marquee  direction=left  behavior=\"slide\" >hello</marquee>"},
        {MarqueeLine(Awkward, 1, 2), "<marquee  direction=right  behavior=\"scroll\" >" + Awkward + "</marquee>"},
        {MarqueeLine("x", -1, 1), "<marquee  behavior=\"alternate\" >x</marquee>"},
        {MarqueeLine("", -1, -1), "<marquee ></marquee>"},
    };
    for (const auto& [actual, expected] : cases)
        EXPECT_EQ(actual, expected);
    EXPECT_EQ(std::string(TransitionStyles[23]), "Random");
    EXPECT_EQ(std::string(TransitionStyles[0]), "Box in");
}

TEST(IncludePath, RelativeToTheDocumentOrTheSiteRoot)
{
    struct Case {
        TIncludeKind kind;
        const char* file;
        const char* document;
        const char* root;
        const char* path;
        bool note;
    };
    const Case cases[] = {
        {TIncludeKind::File, "/site/shop/inc/db.inc", "/site/shop/cart.asp", "", "inc/db.inc", false},
        {TIncludeKind::File, "/site/lib/db.inc", "/site/shop/cart.asp", "", "../lib/db.inc", false},
        {TIncludeKind::File, "/site/lib/db.inc", "", "/site", "db.inc", true},
        {TIncludeKind::Virtual, "/site/lib/db.inc", "/site/shop/cart.asp", "/site", "/lib/db.inc", false},
        {TIncludeKind::Virtual, "/site/lib/db.inc", "", "/site/", "/lib/db.inc", false},
        {TIncludeKind::Virtual, "/other/db.inc", "/site/a.asp", "/site", "db.inc", true},
        {TIncludeKind::Virtual, "/site/lib/db.inc", "/site/a.asp", "", "db.inc", true},
        {TIncludeKind::File, "", "/site/a.asp", "/site", "", false},
    };
    for (const Case& c : cases) {
        const TIncludePath p = IncludePath(c.kind, c.file, c.document, c.root);
        EXPECT_EQ(p.Path, c.path) << c.file << " in " << c.document;
        EXPECT_EQ(!p.Note.empty(), c.note) << c.file << " in " << c.document;
    }
    EXPECT_EQ(IncludeLine(TIncludeKind::File, "inc/db.inc"), "<!--#include file=\"inc/db.inc\" -->");
    EXPECT_EQ(IncludeLine(TIncludeKind::Virtual, ""), "<!--#include virtual=\"\" -->");
}
