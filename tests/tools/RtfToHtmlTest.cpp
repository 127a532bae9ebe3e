// RTF to HTML: the control words, groups, tables and escapes.
#include "tools/RtfToHtml.h"

#include "editor/mwCustomEditModel.h"
#include "editor/mwRtfExport.h"
#include "highlighters/hkHTMLSyn.h"
#include "platform/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

using vx::tools::RtfToHtml;

TEST(RtfToHtml, ControlWords)
{
    const std::pair<const char*, const char*> cases[] = {
        {"\\b bold\\plain  plain", "\r\n<P><B>bold</B> plain"},
        {"\\qc centred", "\r\n<P ALIGN=CENTER>centred"},
        {"\\qr right", "\r\n<P ALIGN=RIGHT>right"},
        {"a<b>&c", "\r\n<P>a&lt;b&gt;&amp;c"},
        {"\\fs24 x", "\r\n<P><FONT FACE=\"\" COLOR=\"\" SIZE=\"3\">x"},
        {"{\\*\\generator Writer;}text", "\r\n<P>text"},
        {"\\b0 x", "\r\n<P>x"},
        {"\\b a\\b0 b\\i c\\i0 d\\ul e\\ul0 f", "\r\n<P><B>a</B>b<I>c</I>d<U>e</U>f"},
        {"{\\b a}b", "\r\n<P><B>a</B>b"},
        {"a\\tab b", "\r\n<P>a\tb"},
        {"\\\\ \\{ \\}", "\r\n<P>\\ { }"},
        {"one\\par two", "\r\n<P>one\r\n<P>two"},
        {"one\\par\\par two", "\r\n<P>one\r\n<P>two"},
        {"{\\stylesheet{\\s0 Normal;}}x", "\r\n<P>x"},
        {"", ""},
    };
    for (const auto& [rtf, html] : cases)
        EXPECT_EQ(RtfToHtml(rtf), html) << rtf;
}

// Characters outside ASCII come out as UTF-8: escaped and 8-bit bytes in the
// document's code page, \uN as the character with its fallback skipped.
TEST(RtfToHtml, CharactersOutsideAscii)
{
    const std::pair<const char*, const char*> cases[] = {
        {"caf\\'e9", "\r\n<P>café"},
        {"caf\\'E9 \\'80", "\r\n<P>café €"},
        {"caf\xE9", "\r\n<P>café"},
        {"\\u8364?", "\r\n<P>€"},
        {"\\u8364\\'80 x", "\r\n<P>€ x"},
        {"\\u233 e!", "\r\n<P>é!"},
        {"{\\uc2\\u20320??}x", "\r\n<P>你x"},
        {"\\uc0\\u945 b", "\r\n<P>αb"},
        {"\\u-10179?\\u-8704?", "\r\n<P>😀"},
        {"\\u-10179?x", "\r\n<P>\uFFFDx"},
        {"\\u1078\\'3f<", "\r\n<P>ж&lt;"},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'e6\\'e8\\'e7\\'ed\\'fc}", "\r\n<P>жизнь"},
        {"{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'93\\'fa}", "\r\n<P>あ日"},
        {"{\\rtf1\\ansicpg1253 \\'e1}{\\'e1}", "\r\n<P>αα"},
        {"{\\rtf1\\ansicpg999999 \\'e9}", "\r\n<P>é"},
        {"{\\fonttbl{\\f1\\fcharset0 Caf\\'e9 Sans;}}\\f1 x",
         "\r\n<P><FONT FACE=\"Café Sans\" COLOR=\"\" SIZE=\"0\">x"},
    };
    for (const auto& [rtf, html] : cases)
        EXPECT_EQ(RtfToHtml(rtf), html) << rtf;
}

TEST(RtfToHtml, TablesAndLists)
{
    const std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
                            "{\\f1\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue999;}"
                            "\\pard\\plain {\\f1\\cf1\\fs20 Red}\\cf2 green\\par"
                            "\\pard{\\pntext\\f0 \\'b7\\tab}{\\*\\pn\\pnlvlblt}\\fi-360 item\\par}";
    const std::string html = RtfToHtml(rtf);
    EXPECT_NE(html.find("<FONT FACE=\"Arial\" COLOR=\"#FF0000\" SIZE=\"2\">Red"), std::string::npos) << html;
    EXPECT_NE(html.find("COLOR=\"#0080FF\""), std::string::npos) << "colour parts are clamped: " << html;
    EXPECT_NE(html.find("<FONT FACE=\"Times New Roman\""), std::string::npos) << html;
    EXPECT_NE(html.find("<UL>"), std::string::npos) << html;
    EXPECT_EQ(html.find("Normal"), std::string::npos);
}

TEST(RtfToHtml, TruncatedAndRandomInput)
{
    const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}\\b\\cf1 x\\'4";
    for (std::size_t n = 0; n <= rtf.size(); ++n)
        RtfToHtml(rtf.substr(0, n));
    std::mt19937 random(5);
    // Whatever the bytes, the HTML is well-formed UTF-8.
    const std::string alphabet = "{}\\';*abcfilpqrsu019- \xE9\xC3\x82";
    for (int round = 0; round < 4000; ++round) {
        std::string text = random() % 2 ? "\\ansicpg932 " : "";
        for (int i = random() % 60; i > 0; --i)
            text.push_back(alphabet[random() % alphabet.size()]);
        ASSERT_TRUE(vx::utf8::IsValid(RtfToHtml(text))) << text;
    }
}

TEST(RtfToHtml, LibreOfficeDocument)
{
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    vx::test::TempDir dir;
    vx::test::writeFile(dir.file("page.html"),
                        "<html><head><meta charset=\"utf-8\"></head><body><p>plain <b>bold</b> after "
                        "<font color=\"#ff0000\" face=\"Arial\">red</font> &amp; &lt;tag&gt; café €α 你好 😀</p>"
                        "</body></html>");
    const std::string command = "cd '" + dir.path().string() + "' && HOME='" + dir.path().string() +
                                "' soffice --headless --convert-to rtf:\"Rich Text Format\" page.html >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 || !std::filesystem::exists(dir.file("page.rtf")))
        GTEST_SKIP() << "LibreOffice could not convert";
    const std::string html = RtfToHtml(vx::test::readFile(dir.file("page.rtf")));
    EXPECT_NE(html.find("<B>bold</B>"), std::string::npos) << html;
    EXPECT_NE(html.find(" after "), std::string::npos) << html;
    EXPECT_NE(html.find("COLOR=\"#FF0000\""), std::string::npos) << html;
    EXPECT_NE(html.find("FACE=\"Arial\""), std::string::npos) << html;
    EXPECT_NE(html.find("&amp; &lt;tag&gt; café €α 你好 😀"), std::string::npos) << html;
}

TEST(RtfToHtml, OwnExporterDocument)
{
    ThkHTMLSyn html;
    TmwCustomEditModel model;
    model.SetHighLighter(&html);
    model.SetText("<b>fish & chips</b>");
    TmwRtfExport rtf;
    ASSERT_TRUE(rtf.ExportLines(1, model.LineCount(), &html, &model));
    const std::string page = RtfToHtml(rtf.Buffer());
    model.SetHighLighter(nullptr);
    EXPECT_NE(page.find("FACE=\"Courier New\""), std::string::npos) << page;
    EXPECT_NE(page.find("COLOR=\"#8000FF\""), std::string::npos) << page;
    EXPECT_NE(page.find("<B>&lt;"), std::string::npos) << page;
    EXPECT_NE(page.find("fish &amp; chips"), std::string::npos) << page;
    EXPECT_EQ(page.find("Generated by"), std::string::npos) << "the information group is no text";
}
