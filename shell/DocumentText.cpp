#include "shell/DocumentText.h"

#include "shell/HTMLPars.h"

namespace vx::shell {

std::string JoinLines(const TStrings& lines, std::string_view lineEnd)
{
    std::string text;
    for (int i = 0; i < lines.Count(); ++i) {
        text += lines.View(i);
        text += lineEnd;
    }
    return text;
}

std::vector<std::string> PrintHeaderLines(std::string_view date, std::string_view time)
{
    return {"Printed at : " + std::string(date) + " " + std::string(time), std::string(105, '-'), ""};
}

std::vector<std::string> ImageSources(const TStrings& lines)
{
    HTMLPars::THTMLParser parser;
    parser.Lines().Assign(lines);
    parser.Execute();
    std::vector<std::string> sources;
    for (const HTMLPars::THTMLElement& element : parser.Parsed()) {
        const auto* tag = std::get_if<HTMLPars::THTMLTag>(&element);
        if (!tag || tag->Name != "IMG")
            continue;
        for (const HTMLPars::THTMLParam& param : tag->Params)
            if (param.Name == "SRC")
                sources.push_back(param.Value.empty() ? "TAG: <" + tag->Name : param.Value);
    }
    return sources;
}

std::vector<std::string> GlobalAsaLines()
{
    return {"",        "<SCRIPT LANGUAGE=VBScript RUNAT=Server>", "Sub Session_OnStart", "rem your routines here",
            "End Sub", "",                                        "Sub Session_Onend",   "rem your routines here",
            "End Sub", "",                                        "</SCRIPT>"};
}

} // namespace vx::shell
