// Registration of the language highlighter classes, in a fixed order.
#include "highlighters/RegisterHighlighters.h"

#include "highlighters/DcjPerlSyn.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/siTCLTKSyn.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmSQLSyn.h"

void RegisterAllHighlighters()
{
    RegisterHighlighter(TwmSQLSyn::Class);
    RegisterHighlighter(TwmPHPSyn::Class);
    RegisterHighlighter(TDcjPerlSyn::Class);
    RegisterHighlighter(TsiTCLTKSyn::Class);
    RegisterHighlighter(ThkHTMLSyn::Class);
    RegisterHighlighter(TmwJScriptSyn::Class);
    RegisterHighlighter(TlbVbsSyn::Class);
    RegisterHighlighter(TmwCSSSyn::Class);
}
