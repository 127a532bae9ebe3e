// Highlighters that resume a line, and random lines for them.
#include "tests/editor/support/ResumingLines.h"

#include "highlighters/DcjPerlSyn.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/siTCLTKSyn.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmPageHighlighterSet.h"
#include "highlighters/wmSQLSyn.h"

namespace vx::test {

namespace {

template <class T> TResuming Language()
{
    return {T::Class.ClassName, [] { return std::shared_ptr<TmwCustomHighLighter>(T::Class.Create()); }};
}

} // namespace

const std::vector<TResuming>& Resuming()
{
    static const std::vector<TResuming> all = {
        Language<TwmSQLSyn>(),  Language<TwmPHPSyn>(),     Language<TDcjPerlSyn>(), Language<TsiTCLTKSyn>(),
        Language<ThkHTMLSyn>(), Language<TmwJScriptSyn>(), Language<TlbVbsSyn>(),   Language<TmwCSSSyn>(),
        {"page", [] {
             auto set = std::make_shared<TwmPageHighlighterSet>();
             return std::shared_ptr<TmwCustomHighLighter>(set, &set->multi);
         }},
    };
    return all;
}

std::string Fragment(Rng& rng)
{
    static const std::vector<std::string> fragments = {
        "/*", "*/", "//", "--", "#", "<!--", "-->", "<%", "%>", "<?php", "?>", "<script>", "</script>", "<",
        ">", "\"", "'", "`", "\\", "&amp;", "&lt", "&nbsp;", "&", ";", "=", "{", "}", "(", ")", "[", "]", "$",
        "@", "%", "x", "1.5e+3", "0x1F", "&H1F", "..", ".", "if", "select", "function", "begin", "end", "rem",
        "var", "div", "color:", " ", "  ", "\t", "abc", "Hello", "=pod", std::string(1, '\0'), "\xE9", "<?",
        "<?PHP", "<script language=\"JavaScript\">", "<script language=\"vb\">", "<style type=\"text/css\">",
        "</style>", "<script language=\"jscript\">"};
    std::string text;
    for (int n = Pick(rng, 1, 3); n > 0; --n)
        text += fragments[static_cast<size_t>(Pick(rng, 0, static_cast<int>(fragments.size()) - 1))];
    return text;
}

std::string RandomLine(Rng& rng, std::size_t length)
{
    std::string line;
    while (line.size() < length) {
        // Long runs of plain text let the kept states lie far apart.
        if (Pick(rng, 0, 9) == 0)
            line.append(static_cast<size_t>(Pick(rng, 50, 400)), Pick(rng, 0, 1) ? 'w' : ' ');
        else
            line += Fragment(rng);
    }
    return line;
}

} // namespace vx::test
