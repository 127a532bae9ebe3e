// Registration of the language highlighter classes, in a fixed order.
#include "highlighters/RegisterHighlighters.h"

#include "editor/mwHighlighter.h"

void RegisterAllHighlighters()
{
}
