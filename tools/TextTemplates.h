// The texts of the small insert dialogs: links, images, mailto, fonts and
// colours, the date and time lists, remarks, If/Else blocks and the VBScript
// function that writes a text. Every function is pure: fields in, text out.
#pragma once

#include "tools/DateTimeText.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vx::tools {

using TLines = std::vector<std::string>;

// --- links
// The link types in the order the dialog lists them; each is written as it stands.
extern const std::array<const char*, 6> LinkTypes;
extern const std::array<const char*, 8> LinkTargets;

struct TLinkFields {
    std::string Type = "http://";
    std::string Link;
    std::string Query; // one query parameter: name ...
    std::string Value; // ... and its value
    std::string Target = "_Blank";
    std::string Description;
    std::string MouseOver;
    std::string MouseOut;
};
std::string LinkLine(const TLinkFields& fields);

std::string MailtoLine(const std::string& recipient);

struct TImageFields {
    std::string FileName; // without its folder
    std::string Alt;
    std::string Height; // empty: not written
    std::string Width;
    std::string Url;
    bool ClickThrough = false;
};
std::string ImageLine(const TImageFields& fields);

// --- fonts and colours; colours hold red in the low byte, then green, then blue.
std::string FontLine(const std::string& face);
// "#RRGGBB"
std::string ColourText(std::uint32_t colour);
std::string FontColourLine(std::uint32_t colour);

// --- date and time lists
extern const std::array<const char*, 14> DateFormats;
extern const std::array<const char*, 7> TimeFormats;
template <std::size_t N>
TLines FormattedItems(const std::array<const char*, N>& formats, const TClockReading& when)
{
    TLines items;
    for (const char* format : formats)
        items.push_back(FormatDateTime(format, when));
    return items;
}

// --- remarks
extern const std::array<const char*, 6> RemarkTypes;
// The line the dialog adds below the user's remark, its date in the form code keeps.
std::string RemarkStamp(const TClockReading& when);
// A blank first line, then each line commented by the type (none: nothing more).
TLines RemarkLines(int type, const TLines& lines);

// --- scripts
struct TIfThenFields {
    std::string Expression;
    std::string Value;
    std::string Then;
    std::string Else; // empty: no Else branch
};
TLines IfThenLines(const TIfThenFields& fields);

// A VBScript function that writes each line as it stands.
TLines MakeFunctionLines(const std::string& name, const TLines& body);

} // namespace vx::tools
