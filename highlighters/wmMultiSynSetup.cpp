// The page schemes of the main window's multi-language highlighter.
#include "highlighters/wmMultiSynSetup.h"

#include "highlighters/wmMultiSyn.h"

namespace {

struct TSchemeText {
    const char* start;
    const char* end;
    TmwCustomHighLighter* TwmPageHighlighters::*highlighter;
    bool endOutsideStrings;
};

// The script tags must be written as here apart from the case of the language
// name; client script may be named "JScript" or "JavaScript", the name pages
// mostly use. "<?" opens PHP with or without "php" in any case. PHP reads
// "?>" in a string or block comment as text; browsers end a script or style
// block at its end tag wherever it stands.
constexpr TSchemeText kPageSchemes[] = {
    {R"re(<\?([pP][hH][pP])?)re", R"re(\?>)re", &TwmPageHighlighters::Php, true},
    {R"re(<script language="([jJ]([aA][vV][aA])?[sS][cC][rR][iI][pP][tT])">)re", "</script>", &TwmPageHighlighters::JScript, false},
    {R"re(<script language=("[vV][bB]")>)re", "</script>", &TwmPageHighlighters::VBScript, false},
    {R"re(<style type=("[tT][eE][xX][tT]/[cC][sS][sS]")>)re", "</style>", &TwmPageHighlighters::Css, false},
};

} // namespace

void SetupPageSchemes(TwmMultiSyn& multi, const TwmPageHighlighters& highlighters)
{
    multi.SetDefaultFilter("*.asp");
    multi.SetDefaultHighlighter(highlighters.Html);
    TgmSchemes& schemes = multi.Schemes();
    schemes.Clear();
    for (const TSchemeText& text : kPageSchemes) {
        TgmScheme& scheme = schemes.Add();
        scheme.SetStartExpr(text.start);
        scheme.SetEndExpr(text.end);
        scheme.SetHighlighter(highlighters.*text.highlighter);
        scheme.SetEndOutsideStrings(text.endOutsideStrings);
    }
}
