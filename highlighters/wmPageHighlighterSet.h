// The five languages of a web page and the multi-language highlighter set up
// over them as the main window sets it up, owned together.
#pragma once

#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/wmMultiSyn.h"
#include "highlighters/wmMultiSynSetup.h"
#include "highlighters/wmPHPSyn.h"

struct TwmPageHighlighterSet {
    ThkHTMLSyn html;
    TwmPHPSyn php;
    TmwJScriptSyn js;
    TlbVbsSyn vbs;
    TmwCSSSyn css;
    TwmMultiSyn multi;
    TwmPageHighlighterSet() { SetupPageSchemes(multi, {&html, &php, &js, &vbs, &css}); }
};
