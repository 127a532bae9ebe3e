// A page's own declaration of its character set, found where browsers find
// it and nowhere else, and the labels that name character sets.
#include "platform/CharsetLabels.h"
#include "platform/DeclaredCharset.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CharsetLabels, EveryLabelNamesItsCharacterSet)
{
    const struct {
        const char* label;
        const char* charset; // "": no character set
    } rows[] = {
        {"utf-8", "UTF-8"},
        {"UTF8", "UTF-8"},
        {"ISO-8859-7", "ISO-8859-7"},
        {"greek", "ISO-8859-7"},
        {"latin1", "windows-1252"},
        {"iso-8859-1", "windows-1252"},
        {"US-ASCII", "windows-1252"},
        {" \tkoi8-r\r\n", "KOI8-R"},
        {"shift_jis", "Shift_JIS"},
        {"x-sjis", "Shift_JIS"},
        {"gb2312", "GBK"},
        {"utf-16", "UTF-16LE"},
        {"iso-2022-kr", "replacement"},
        {"x-user-defined", "x-user-defined"},
        {"", ""},
        {"utf", ""},
        {"latin", ""},
        {"-8", ""},
        {"windows1252", ""},
        {"l1 latin1", ""},
        {"replacement", ""},
        {"iso-8859-16", ""},
        {"utf-8;", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(vx::CharsetOfLabel(row.label).value_or(""), row.charset) << '"' << row.label << '"';
}

// A page whose head runs on past the bytes always read.
std::string LongHead(const std::string& declaration)
{
    return "<html><head><title>t</title><!-- " + std::string(2000, 'x') + " -->" + declaration +
           "</head><body>text</body></html>";
}

// The same declaration after the head has ended.
std::string LateInBody(const std::string& declaration)
{
    return "<html><head><title>t</title></head><body>" + std::string(2000, 'x') + declaration + "</body></html>";
}

TEST(DeclaredCharset, APageDeclaresItsCharacterSetInAMetaElement)
{
    const std::string pragma = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-7\">";
    const struct {
        const char* name;
        std::string page;
        const char* charset; // "": none declared
    } rows[] = {
        {"charset", "<html><head><meta charset=\"ISO-8859-7\"><title>t</title>", "ISO-8859-7"},
        {"unquoted, upper case", "<HTML><HEAD><META CHARSET=KOI8-R>", "KOI8-R"},
        {"single quotes, spaces around =", "<meta charset = 'koi8-r' >", "KOI8-R"},
        {"a slash after meta", "<meta/charset=koi8-r />", "KOI8-R"},
        {"http-equiv and content", pragma, "ISO-8859-7"},
        {"content before http-equiv", "<meta content=\"text/html;charset=koi8-r\" http-equiv=content-type>",
         "KOI8-R"},
        {"the charset in content quoted", "<meta http-equiv=content-type content='text/html; charset=\"koi8-r\"'>",
         "KOI8-R"},
        {"charset twice in content", "<meta http-equiv=content-type content=\"charset charset=koi8-r\">", "KOI8-R"},
        {"a label", "<meta charset=latin1>", "windows-1252"},
        {"UTF-16 is read as UTF-8", "<meta charset=utf-16le>", "UTF-8"},
        {"x-user-defined is read as windows-1252", "<meta charset=x-user-defined>", "windows-1252"},
        {"the first of two", "<meta charset=koi8-r><meta charset=utf-8>", "KOI8-R"},
        {"an attribute's first value counts", "<meta charset=koi8-r charset=utf-8>", "KOI8-R"},
        {"an unknown name, then a known one", "<meta charset=bogus><meta charset=koi8-r>", "KOI8-R"},
        {"charset beats content", "<meta http-equiv=content-type content=\"text/html; charset=utf-8\" charset=koi8-r>",
         "KOI8-R"},
        {"after a comment", "<!-- <meta charset=utf-8> --><meta charset=koi8-r>", "KOI8-R"},
        {"after an empty comment", "<!--><meta charset=koi8-r>", "KOI8-R"},
        {"in a long head", LongHead("<meta charset=koi8-r>"), "KOI8-R"},
        {"in the body, within the first bytes", "<html><body><p>text</p><meta charset=koi8-r>", "KOI8-R"},
        {"none", "<html><head><title>caf\xE9</title></head><body>\xE9</body></html>", ""},
        {"an empty page", "", ""},
        {"an unknown name", "<meta charset=\"windows1252\">", ""},
        {"an empty charset", "<meta charset=\"\">", ""},
        {"content without http-equiv", "<meta content=\"text/html; charset=koi8-r\">", ""},
        {"http-equiv of another kind", "<meta http-equiv=refresh content=\"text/html; charset=koi8-r\">", ""},
        {"content naming no charset", "<meta http-equiv=content-type content=\"text/html; charset\">", ""},
        {"content with an unclosed quote", "<meta http-equiv=content-type content='text/html; charset=\"koi8-r'>",
         ""},
        {"a bogus charset blocks content", "<meta charset=bogus http-equiv=content-type content=\"charset=koi8-r\">",
         ""},
        {"in a comment", "<!-- <meta charset=koi8-r> -->", ""},
        {"in a doctype", "<!DOCTYPE html <meta charset=koi8-r>>", ""},
        {"in another tag's attribute", "<a title=\"<meta charset=koi8-r>\">", ""},
        {"another element", "<metadata charset=koi8-r>", ""},
        {"a slash ends no unquoted value", "<meta charset=koi8-r/>", ""},
        {"cut off by the page's end", "<meta charset=koi8-r", ""},
        {"a quote the page's end cuts off", "<meta charset=\"koi8-r", ""},
        {"an unclosed comment", "<!-- <meta charset=koi8-r>", ""},
        {"late in the body", LateInBody("<meta charset=koi8-r>"), ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(vx::DeclaredCharset(row.page).value_or(""), row.charset) << row.name;
}

} // namespace
