// A word written in letters outside ASCII (UTF-8) colours as an ASCII word in
// its place does: in identifiers, strings, comments, tags and text, every
// language gives it one token of the same kind, never a token per byte.
#include "highlighters/DcjPerlSyn.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/siTCLTKSyn.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmPageHighlighterSet.h"
#include "highlighters/wmSQLSyn.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vx::test;

namespace {

// Every "W" of text replaced by word.
std::string Put(std::string text, const std::string& word)
{
    for (std::size_t at; (at = text.find('W')) != std::string::npos;)
        text.replace(at, 1, word);
    return text;
}

// The tokens' kinds and texts, each occurrence of word written back as "W":
// a token that holds part of the word only keeps it, and differs.
std::vector<std::pair<std::string, int>> Shape(const std::vector<Tok>& tokens, const std::string& word)
{
    std::vector<std::pair<std::string, int>> shape;
    for (const Tok& token : tokens) {
        std::string text = token.text;
        for (std::size_t at; (at = text.find(word)) != std::string::npos;)
            text.replace(at, word.size(), "W");
        shape.emplace_back(text, token.kind);
    }
    return shape;
}

struct Language {
    const char* name;
    std::function<std::unique_ptr<TmwCustomHighLighter>()> make;
    std::vector<const char*> lines; // "W" stands for the word
};

template <class H> std::function<std::unique_ptr<TmwCustomHighLighter>()> Maker()
{
    return [] { return std::make_unique<H>(); };
}

} // namespace

TEST(LanguageWordsOutsideAscii, ColourAsAnAsciiWordDoes)
{
    const Language languages[] = {
        {"HTML", Maker<ThkHTMLSyn>(),
         {"<W W=W title=\"W W\">W &amp; W</W>", "<p class=W>W</p>", "<!-- W -->", "<% W %>", "<W1 x>"}},
        {"JScript", Maker<TmwJScriptSyn>(), {"var W = 'W' + W.W(\"W\"); // W", "/* W */ W2 = W"}},
        {"VBScript", Maker<TlbVbsSyn>(), {"Dim W : W = \"W\" & W ' W", "Rem W"}},
        {"CSS", Maker<TmwCSSSyn>(), {"W { color: W; } /* W */ 'W'", ".W { font: \"W\" }"}},
        {"PHP", Maker<TwmPHPSyn>(), {"$W = W('W', \"W\"); // W", "# W", "/* W */ echo $W;"}},
        {"Perl", Maker<TDcjPerlSyn>(), {"my $W = W(\"W\", 'W'); # W", "sub W { return @W; }"}},
        {"SQL", Maker<TwmSQLSyn>(), {"SELECT W FROM W WHERE W = 'W' -- W", "/* W */ W.W"}},
        {"Tcl/Tk", Maker<TsiTCLTKSyn>(), {"set W \"W\" ; # W", "proc W {W} { puts $W }"}},
        {"page", [] { return std::unique_ptr<TmwCustomHighLighter>(); },
         {"<W x=\"W\"><% W = \"W\" ' W %></W>", "<?php $W = 'W'; // W ?> W",
          "<script language=\"JavaScript\">var W = 'W';</script>W"}},
    };
    const std::string words[] = {"café", "жизнь", "你好", "é", "😀"};
    for (const Language& language : languages) {
        SCOPED_TRACE(language.name);
        TwmPageHighlighterSet page;
        std::unique_ptr<TmwCustomHighLighter> own = language.make();
        TmwCustomHighLighter& hl = own ? *own : page.multi;
        for (const char* line : language.lines) {
            hl.ResetRange();
            const auto ascii = Shape(Scan(hl, Put(line, "xyz"), hl.GetRange()), "xyz");
            for (const std::string& word : words) {
                hl.ResetRange();
                EXPECT_EQ(Shape(Scan(hl, Put(line, word), hl.GetRange()), word), ascii) << line << " with " << word;
            }
        }
    }
}
