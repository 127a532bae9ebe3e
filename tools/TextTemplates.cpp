// The insert dialogs' texts.
#include "tools/TextTemplates.h"

#include "tools/Banner.h"
#include "tools/ScriptQuoting.h"

#include <cstdio>

namespace vx::tools {

const std::array<const char*, 6> LinkTypes = {"http://", "https://", "ftp://", "gopher://", "telnet://", "file:///"};
const std::array<const char*, 8> LinkTargets = {"_Blank", "_Parent", "_Self", "_Top",
                                                "Banner", "Contents", "main",  "menu"};

std::string LinkLine(const TLinkFields& f)
{
    std::string s = "<a href=\"" + f.Type + f.Link;
    if (!f.Query.empty())
        s += "?" + f.Query + "=" + f.Value;
    s += "\" target=\"" + f.Target + "\" ";
    if (!f.MouseOver.empty())
        s += "onmouseover=\"window.status='" + f.MouseOver + "';return true\" ";
    if (!f.MouseOut.empty())
        s += "onmouseout=\"window.status='" + f.MouseOut + "';return true\" ";
    return s + ">" + f.Description + "</a>";
}

std::string MailtoLine(const std::string& recipient)
{
    return "<a href=\"mailto:" + recipient + "\">" + recipient + "</a>";
}

std::string ImageLine(const TImageFields& f)
{
    std::string tag = "<img src=\"" + f.FileName + "\" Alt=\"" + f.Alt + "\"";
    std::string size;
    if (!f.Height.empty())
        size += " height=\"" + f.Height + "\"";
    if (!f.Width.empty())
        size += " width=\"" + f.Width + "\"";
    if (!size.empty())
        tag += size + " ";
    tag += " border=\"0\">";
    return f.ClickThrough ? "<a href=\"" + f.Url + "\">" + tag + "</a>" : tag;
}

std::string FontLine(const std::string& face)
{
    return "<font face=\"" + face + "\"></font>";
}

std::string ColourText(std::uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

std::string FontColourLine(std::uint32_t colour)
{
    return "<font color=\"" + ColourText(colour) + "\"></font>";
}

const std::array<const char*, 14> DateFormats = {
    "dddd, mmmm d, yyyyy", "dddd, d mmmm, yyyyy", "ddd, mmmm d, yyyyy", "ddd, mmm d, yyyy", "ddd, d mmmm, yyyyy",
    "ddd, d mmm, yyyy",    "mmmm d, yyyyy",       "d mmmm, yyyyy",      "mmm d, yyyyy",     "mmmm d, yyyyy",
    "dd/mm/yyyy",          "mm/dd/yyyy",          "mm/dd/yy",           "dd/mm/yy"};
const std::array<const char*, 7> TimeFormats = {
    "t", "hh:nnam/pm", "hh:nn:ss", "hh:nn:ssam/pm", "c", "dd/mm/yyyy - hh:nn:ss", "mm/dd/yyyy - hh:nn:ss"};

const std::array<const char*, 6> RemarkTypes = {"HTML remark",       "VBScript remark",    "JavaScript remark",
                                                "Perl remark",       "Style Sheet remark", "ASP remark"};

std::string RemarkStamp(const TClockReading& when)
{
    // A remark is code of the page, which keeps one form of a date whatever language the user chose.
    return " remark added on " + ShortDateLongTime(when, vx::BuiltInFormatSettings());
}

TLines RemarkLines(int type, const TLines& lines)
{
    static const std::array<std::pair<const char*, const char*>, 6> marks = {{
        {"<!-- ", " -->"}, {"rem ", ""}, {"// ", ""}, {"# ", ""}, {"/* ", " */"}, {"'", ""},
    }};
    TLines out{" "};
    if (type < 0 || type >= static_cast<int>(marks.size()))
        return out;
    for (const std::string& line : lines)
        out.push_back(marks[type].first + line + marks[type].second);
    return out;
}

TLines IfThenLines(const TIfThenFields& f)
{
    TLines out{"If " + f.Expression + " = " + f.Value + " then", "  " + f.Then};
    if (!f.Else.empty()) {
        out.push_back("Else");
        out.push_back("  " + f.Else);
    }
    out.push_back("End If");
    return out;
}

TLines MakeFunctionLines(const std::string& name, const TLines& body)
{
    TLines out{"<%", std::string("rem function created by Vellumix Professional ") + VersionTag, "function " + name};
    for (const std::string& line : body)
        out.push_back(" response.write (\"" + VBQuoted(line) + "\")");
    out.push_back("end function");
    out.push_back("%>");
    return out;
}

} // namespace vx::tools
