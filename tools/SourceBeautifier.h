// Re-indents an ASP page or a plain VBScript by two indentation levels (HTML
// nesting and script nesting) driven by four word lists of boundary-marked keys.
#pragma once

#include "tools/DateTimeText.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::tools {

enum class TIndentUnit { Space1, Space2, Space3, Tab1, Tab2 };

struct TBeautifyOptions {
    bool Html = true;
    bool Script = true;
    TIndentUnit Unit = TIndentUnit::Space3;
    // Word keys (see MakeWordKey).
    std::vector<std::string> IndentHtml;
    std::vector<std::string> OutdentHtml;
    std::vector<std::string> IndentScript;
    std::vector<std::string> OutdentScript;
};

// The word lists as shipped, as the lines the settings memos show.
struct TShippedLists {
    std::vector<std::string> IndentHtml;
    std::vector<std::string> OutdentHtml;
    std::vector<std::string> IndentScript;
    std::vector<std::string> OutdentScript;
};
const TShippedLists& ShippedWordLists();
// Each line trimmed and made a word key; a "³" the user typed is the word mark.
std::vector<std::string> WordKeys(const std::vector<std::string>& lines);
// A key as the settings show it: its word marks as "³".
std::string ShownKey(std::string_view key);

// Every occurrence of search (ASCII letter case ignored) replaced in one pass
// from left to right. A replacement shorter than the search is looked at again
// with what follows it, so runs collapse; a longer one is never rescanned.
std::string ReplaceAllText(std::string_view text, std::string_view search, std::string_view replacement);
// The same, only outside double-quoted strings (quotes pair across line ends).
std::string ReplaceOutsideQuotes(std::string_view text, std::string_view search, std::string_view replacement);

// The line without its comment and strings, blanks as marks, upper case.
std::string MakeWordKey(std::string_view line);
// The word key with marks around tag brackets and at both ends.
std::string MakeLineKey(std::string_view line);

std::string IndentOf(int level, TIndentUnit unit);

// Called before each step with its number: 1, 2, 3 and 6.
using TBeautifyProgress = std::function<void(int step)>;

// The beautified lines of text (lines split at CR LF, CR or LF), each ended by
// LF. A page is indented by its elements and server blocks (see
// PageBeautifier.h); a plain script is re-indented statement by statement.
std::string BeautifyText(std::string_view text, const TBeautifyOptions& options,
                         const TBeautifyProgress& progress = {});

// The plain-script engine on any text: blanks normalised, every script
// delimiter on a line of its own, each statement indented by the script level
// and each other line by the HTML level of the lines before it.
std::string BeautifyScript(std::string_view text, const TBeautifyOptions& options,
                           const TBeautifyProgress& progress = {});

// Whether the text is a page: its first character other than white space is
// "<". Anything else is a plain script.
bool IsPage(std::string_view text);
// Whether a plain script holds script delimiters, and so starts outside the script.
bool HasScriptBlocks(std::string_view text);
// The comment line put above a page beautified at that moment. Its date is
// code of the page: it is written in the one form code keeps, whatever
// language the user chose.
std::string BeautifyBanner(const TClockReading& when);

} // namespace vx::tools
