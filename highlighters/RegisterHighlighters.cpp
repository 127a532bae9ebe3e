// Registration of the language highlighter classes, in a fixed order.
#include "highlighters/RegisterHighlighters.h"

#include "highlighters/DcjPerlSyn.h"
#include "highlighters/siTCLTKSyn.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmSQLSyn.h"

void RegisterAllHighlighters()
{
    RegisterHighlighter(TwmSQLSyn::Class);
    RegisterHighlighter(TwmPHPSyn::Class);
    RegisterHighlighter(TDcjPerlSyn::Class);
    RegisterHighlighter(TsiTCLTKSyn::Class);
}
