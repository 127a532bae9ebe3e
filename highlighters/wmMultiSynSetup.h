// How the main window sets up its multi-language highlighter for ASP and PHP
// pages: HTML around PHP, script and style blocks.
#pragma once

class TmwCustomHighLighter;
class TwmMultiSyn;

// The language highlighters the page schemes hand their blocks to (not owned).
struct TwmPageHighlighters {
    TmwCustomHighLighter* Html = nullptr;
    TmwCustomHighLighter* Php = nullptr;
    TmwCustomHighLighter* JScript = nullptr;
    TmwCustomHighLighter* VBScript = nullptr;
    TmwCustomHighLighter* Css = nullptr;
};

// Filter "*.asp", the HTML highlighter as default, and the schemes in this
// order: 0 PHP, 1 JScript, 2 VBScript, 3 style sheets (replacing any others).
void SetupPageSchemes(TwmMultiSyn& multi, const TwmPageHighlighters& highlighters);
