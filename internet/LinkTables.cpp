// The link tables.
#include "internet/LinkTables.h"

#include "internet/TextUtil.h"

namespace {

constexpr TLinkRule kCheckerRules[] = {
    {"A", "HREF", 2},           {"IMG", "SRC", 3},        {"IMG", "LONGDESC", 0},    {"FORM", "ACTION", 4},
    {"INPUT", "SRC", 3},        {"INPUT", "USEMAP", 5},   {"AREA", "HREF", 5},       {"FRAME", "SRC", 2},
    {"FRAME", "LONGDESC", 0},   {"IFRAME", "SRC", 2},     {"IFRAME", "LONGDESC", 0}, {"OBJECT", "CLASSID", 6},
    {"OBJECT", "DATA", 5},      {"EMBED", "SRC", 6},      {"APPLET", "CLASSID", 6},  {"APPLET", "DATA", 5},
    {"SCRIPT", "SRC", 6},       {"BODY", "BACKGROUND", 3},
};
constexpr TLinkPrefix kCheckerPrefixes[] = {
    {"MAILTO:", 7}, {"FTP:", 8}, {"TELNET:", 9}, {"NEWS:", 10}, {"GOPHER:", 11},
};
constexpr TLinkRule kStructureRules[] = {
    {"A", "HREF", 1},         {"IMG", "SRC", 2},         {"IMG", "LONGDESC", 0},    {"FORM", "ACTION", 3},
    {"INPUT", "SRC", 2},      {"INPUT", "USEMAP", 4},    {"AREA", "HREF", 4},       {"FRAME", "SRC", 1},
    {"FRAME", "LONGDESC", 0}, {"IFRAME", "SRC", 1},      {"IFRAME", "LONGDESC", 0}, {"OBJECT", "CLASSID", 5},
    {"OBJECT", "DATA", 4},    {"APPLET", "CLASSID", 5},  {"APPLET", "DATA", 4},     {"SCRIPT", "SRC", 5},
};
constexpr TLinkPrefix kStructurePrefixes[] = {
    {"MAILTO:", 6}, {"FTP:", 7}, {"TELNET:", 8}, {"NEWS:", 9}, {"GOPHER:", 10},
};

} // namespace

std::span<const TLinkRule> LinkCheckerRules() { return kCheckerRules; }
std::span<const TLinkPrefix> LinkCheckerPrefixes() { return kCheckerPrefixes; }
std::span<const TLinkRule> StructureRules() { return kStructureRules; }
std::span<const TLinkPrefix> StructurePrefixes() { return kStructurePrefixes; }

std::vector<TTagLink> TagLinks(std::string_view upperName, const TStringList& attributes,
                               std::span<const TLinkRule> rules)
{
    std::vector<TTagLink> links;
    for (const TLinkRule& rule : rules) {
        if (upperName != rule.Tag)
            continue;
        std::string value = attributes.Values(rule.Attribute);
        // A missing attribute is no link, even where a CODEBASE would go in front of it.
        if (value.empty())
            continue;
        if (upperName == "OBJECT" || upperName == "APPLET")
            value = attributes.Values("CODEBASE") + value;
        links.push_back({value, rule.Kind});
    }
    return links;
}

int PrefixKind(std::string_view address, std::span<const TLinkPrefix> prefixes, int kind)
{
    for (const TLinkPrefix& prefix : prefixes)
        if (vx::net::StartsWithNoCase(address, prefix.Prefix))
            return prefix.Kind;
    return kind;
}
