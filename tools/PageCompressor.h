// The HTML compressor's work on one page, in one reading of it: shorter tags,
// fewer blanks, line breaks and double quotes, no webbot comments. What a
// browser or a web server reads as written is copied unchanged: server blocks,
// scripts, style sheets, pre, textarea, conditional comments and quoted
// attribute values; white space a browser shows keeps at least one character.
#pragma once

#include <string>
#include <string_view>

namespace vx::tools {

struct TCompressOptions {
    // "<strong>" to "<b>" and the like.
    bool SimpleTags = false;
    // A centred paragraph closed by its own "</p>" becomes a center element.
    bool Center = false;
    // Double quotes off the attribute values that read the same without them.
    bool InvCommas = false;
    // Runs of blanks to one blank.
    bool Spaces = false;
    // Doubled carriage returns and line feeds to one.
    bool Returns = false;
    // Line breaks removed where no shown white space depends on them; takes
    // precedence over Returns.
    bool AllReturns = false;
    // "<!--webbot" comments removed, while Returns or AllReturns is on.
    bool Webbots = false;
};

// Never longer than the text.
std::string CompressPage(std::string_view text, const TCompressOptions& options);

} // namespace vx::tools
