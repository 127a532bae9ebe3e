// The text passes of the HTML compressor. Each takes the current text and
// leaves it no longer than it was; every scan ends at the text's end.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vx::tools {

struct TReplaceRule {
    // Lower case; the text's letter case is ignored.
    std::string_view Search;
    // Shorter than Search; empty deletes where the neighbours allow it.
    std::string_view Replacement;
};

// Rules that never make matches for each other may share one pass: at each
// place they are tried in order.
struct TReplacePass {
    std::span<const TReplaceRule> Rules;
    // Leave pre and textarea blocks alone.
    bool KeepPre;
    // Leave script blocks alone.
    bool KeepScript;
};

// One run of the replace engine. A match that is replaced is looked at again
// from where it stood, so runs collapse ("\r\r\r" by "\r" ends as "\r"). While
// the first search text begins with a carriage return, tags are stepped over
// whole, and with webbots on a "<!--webbot" comment is removed through its ">".
void ReplacePass(std::string& text, const TReplacePass& pass, bool webbots);

// Deletes the double quotes inside tags, except in tags holding an apostrophe,
// in "<!" tags, in script blocks and around value="..." values holding a blank.
void StripQuotes(std::string& text);

// Replaces each opener by its short form and the next closer after it by its
// long form, pair after pair.
void PairRule(std::string& text, std::string_view opener, std::string_view shortOpener, std::string_view closer,
              std::string_view longCloser);

} // namespace vx::tools
