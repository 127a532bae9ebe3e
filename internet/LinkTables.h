// Which attributes of which tags are links, and of what kind, for the link
// checker and the structure viewer; and the kinds of the address prefixes.
// The kind is the index of the link's picture.
#pragma once

#include "platform/TStringList.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TLinkRule {
    const char* Tag;
    const char* Attribute;
    int Kind;
};

struct TLinkPrefix {
    const char* Prefix;
    int Kind;
};

struct TTagLink {
    std::string Value;
    int Kind;
};

std::span<const TLinkRule> LinkCheckerRules();
std::span<const TLinkPrefix> LinkCheckerPrefixes();
std::span<const TLinkRule> StructureRules();
std::span<const TLinkPrefix> StructurePrefixes();

// The link values of a tag (its name upper-cased, its attribute lines
// NAME=value), in rule order, for the attributes present and not empty;
// OBJECT and APPLET values get the tag's CODEBASE in front.
std::vector<TTagLink> TagLinks(std::string_view upperName, const TStringList& attributes,
                               std::span<const TLinkRule> rules);
// The kind of the first prefix the address starts with (any case), else kind.
int PrefixKind(std::string_view address, std::span<const TLinkPrefix> prefixes, int kind);
