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

// Takes the double quotes off the values inside tags that read the same
// without them (letters, digits, "-", ".", "_" and ":"), except in tags
// holding an apostrophe, in "<!" tags and in script blocks.
void StripQuotes(std::string& text);

struct TPairRule {
    // Lower case; the text's letter case is ignored.
    std::string_view Opener;
    std::string_view ShortOpener;
    std::string_view Closer;
    std::string_view LongCloser;
};

// Each rule replaces its opener by the short form and the next closer after
// it by the long form, pair after pair. Rules whose texts never overlap and
// whose replacements make no matches for each other share one pass: each
// sees only what the ones before it left alone, as if they ran in turn.
void PairRules(std::string& text, std::span<const TPairRule> rules);

} // namespace vx::tools
