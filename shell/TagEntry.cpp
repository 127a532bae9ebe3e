#include "shell/TagEntry.h"

#include "platform/AnsiText.h"

#include <array>
#include <cstdio>
#include <utility>

namespace vx::shell {

TTagEntry SplitTagEntry(std::string_view entry)
{
    const std::size_t colon = entry.rfind(':');
    if (colon == std::string_view::npos)
        return {std::string(entry), 0, false};
    std::string text(entry.substr(0, colon));
    text += entry.substr(colon + 1);
    return {std::move(text), static_cast<int>(entry.size() - colon - 1), true};
}

TTagWizard MatchTagWizard(std::string_view entry, bool boldAsStrong, bool centerAsParagraph)
{
    static constexpr std::array<std::pair<std::string_view, TTagWizard>, 12> Patterns{{
        {"<B>:</B>", TTagWizard::Strong},
        {"<CENTER>:</CENTER>", TTagWizard::Center},
        {"MAILTO", TTagWizard::Mailto},
        {"<BGSOUND>", TTagWizard::Sound},
        {"<A HREF=\"\">:</A>", TTagWizard::AddLink},
        {"<IMG>", TTagWizard::AddImage},
        {"<IMG SRC=\":\">", TTagWizard::AddImage},
        {"<!--:-->", TTagWizard::Remark},
        {"<TABLE>:</TABLE>", TTagWizard::Table},
        {"<FONT>:</FONT>", TTagWizard::FontSelector},
        {"<MARQUEE>:</MARQUEE>", TTagWizard::Marquee},
        {"<META>", TTagWizard::Meta},
    }};
    const std::string upper = vx::AnsiUpperCase(std::string(entry));
    for (const auto& [pattern, wizard] : Patterns) {
        if (upper != pattern)
            continue;
        if ((wizard == TTagWizard::Strong && !boldAsStrong) || (wizard == TTagWizard::Center && !centerAsParagraph))
            continue;
        return wizard;
    }
    return TTagWizard::None;
}

std::string FontColorTag(std::uint32_t color)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    return "<font color=\"#" + std::string(hex) + "\"></font>";
}

std::string FontFaceTag(std::string_view face)
{
    return "<font face=\"" + std::string(face) + "\"></font>";
}

std::string FontSizeTag(int item)
{
    if (item < 1 || item > 7)
        return {};
    return "<font size=\"" + std::to_string(item) + "\"></font>";
}

std::string ParagraphTag(std::string_view alignment)
{
    if (alignment == "Default")
        return "<p>";
    return "<p " + std::string(alignment) + " >";
}

} // namespace vx::shell
