// The one start-up call that puts every language highlighter class into the
// program's highlighter list. Each language highlighter adds its line here.
#pragma once

void RegisterAllHighlighters();
