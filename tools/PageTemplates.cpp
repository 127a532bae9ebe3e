// The page and head templates.
#include "tools/PageTemplates.h"

#include "tools/Banner.h"

#include <filesystem>

namespace vx::tools {

TLines NewPageLines(const TNewPageFields& fields, const TClockReading& now)
{
    const std::string banner = std::string("Vellumix Professional") + VersionTag;
    TLines lines{"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">"};
    if (fields.Html)
        lines.push_back("<html>");
    lines.push_back("<head> ");
    lines.push_back(" <title>" + fields.Title + "</title>");
    lines.push_back("  <meta name=\"generator\" content=\"" + banner + "\">");
    // Code keeps one form of a date, whatever language the user chose.
    const std::string madeAt = ShortDateLongTime(now, vx::BuiltInFormatSettings());
    lines.push_back("  <meta name=\"date_time\" content=\"" + madeAt + "\">");
    lines.push_back("  <meta name=\"dc.creator\" content=\"" + banner + "\">");
    lines.push_back("  <meta name=\"dc.title\" content=\"" + fields.Title + "\">");
    lines.push_back("</head>");
    lines.push_back("");
    if (fields.VBScriptTag)
        lines.push_back("<SCRIPT LANGUAGE=\"VBSCript\" RUNAT=Server>");
    if (fields.ScriptTimeout)
        lines.push_back("<% Server.ScriptTimeOut = 60 %>");
    if (fields.SessionState)
        lines.push_back("<% Enablesessionstate = true %>");
    lines.push_back("");
    return lines;
}

TLines MetaLines(const TMetaFields& f)
{
    std::string keywords;
    for (std::size_t i = 0; i < f.Keywords.size(); ++i)
        keywords += (i ? "," : "") + f.Keywords[i];
    const std::string v = VersionTag;
    return {"",
            "<!-- start of meta-tags -->",
            "",
            " <link rev=\"made\" href=\"mailto:" + f.Email + "\">",
            " <meta name=\"keywords\" content=\"" + keywords + "\">",
            " <meta name=\"description\" content=\"" + f.Description + "\">",
            " <meta name=\"copyright\" content=\"" + f.Copyright + "\">",
            " <meta name=\"author\" content=\"" + f.Author + "\">",
            " <meta name=\"revisit-after\" content=\"" + f.Weeks + " Weeks\">",
            " <meta name=\"Robot\" content=\"ALL\">",
            " <meta name=\"rating\" content=\"General\">",
            " <meta name=\"Generator\" content=\"Vellumix Professional " + v + "\">",
            " <meta name=\"DC.Title\" content=\"Vellumix " + v + "\">",
            " <meta name=\"DC.Creator\" content=\"Vellumix " + v + "\">",
            " <meta name=\"DC.Description\" content=\"ASP & HTML EDITOR -- " + std::string(MakerAddress) + "\">",
            "",
            "<!-- end of meta-tags -->",
            ""};
}

std::string RedirectLine(const std::string& url, const std::string& delay)
{
    return "<meta http-equiv=\"refresh\" content=\"" + delay + "; url=" + url + "\">";
}

const std::array<const char*, 24> TransitionStyles = {
    "Box in",           "Box out",          "Circle in",          "Circle out",          "Wipe up",
    "Wipe down",        "Wipe right",       "Wipe left",          "Vertical blinds",     "Horizontal blinds",
    "Checkerboard across", "Checkerboard down", "Random dissolve", "Split vertical in", "Split vertical out",
    "Split horizontal in", "Split horizontal out", "Strips left down", "Strips left up", "Strips right down",
    "Strips right up",  "Random bars horizontal", "Random bars vertical", "Random"};

std::string TransitionLine(bool onExit, int seconds, int style)
{
    return std::string("<META http-equiv=\"") + (onExit ? "Page-Exit" : "Page-Enter") +
           "\" CONTENT=\"RevealTrans(Duration=" + std::to_string(seconds) + ".0,Transition=" + std::to_string(style) +
           ")\">";
}

const std::array<const char*, 4> SubstitutionItems = {"Author", "Description", "Modified by", "Page URL"};

std::string SubstitutionLine(int item)
{
    static constexpr std::array<const char*, 4> variables = {"vti_author", "vti_description", "vti_modifiedby",
                                                             "Page-URL"};
    if (item < 0 || item >= static_cast<int>(variables.size()))
        return {};
    return std::string("<!--webbot bot=\"Substitution\" S-Variable=\"") + variables[item] + "\" -->";
}

TIncludePath IncludePath(TIncludeKind kind, const std::string& file, const std::string& document,
                         const std::string& siteRoot)
{
    namespace fs = std::filesystem;
    const fs::path target = fs::path(file).lexically_normal();
    const std::string name = target.filename().string();
    if (file.empty())
        return {};
    if (kind == TIncludeKind::File) {
        if (document.empty())
            return {name, "The document has no file name yet: only the include file's name is written."};
        return {target.lexically_relative(fs::path(document).lexically_normal().parent_path()).generic_string(), {}};
    }
    const fs::path relative = siteRoot.empty() ? fs::path() : target.lexically_relative(fs::path(siteRoot).lexically_normal());
    if (relative.empty() || *relative.begin() == "..")
        return {name, "The file does not lie below the site root: only its name is written."};
    return {"/" + relative.generic_string(), {}};
}

std::string IncludeLine(TIncludeKind kind, const std::string& path)
{
    return std::string("<!--#include ") + (kind == TIncludeKind::File ? "file" : "virtual") + "=\"" + path + "\" -->";
}

std::string SoundLine(const std::string& soundFile)
{
    return "<bgsound src=\"" + std::filesystem::path(soundFile).filename().string() + "\" loop=\"0\">";
}

std::string MarqueeLine(const std::string& text, int direction, int behaviour)
{
    static constexpr std::array<const char*, 2> directions = {" direction=left ", " direction=right "};
    static constexpr std::array<const char*, 3> behaviours = {" behavior=\"slide\" ", " behavior=\"alternate\" ",
                                                              " behavior=\"scroll\" "};
    const std::string d = direction >= 0 && direction < 2 ? directions[direction] : "";
    const std::string b = behaviour >= 0 && behaviour < 3 ? behaviours[behaviour] : "";
    return "<marquee " + d + b + ">" + text + "</marquee>";
}

} // namespace vx::tools
