// The captions of the main window's document tabs: a slot's file name, or
// "<empty>" in the current language for a slot without a file and for every
// workspace. The language file leaves the tabs alone (they name documents)
// and knows nothing of the workspaces made at run time, so the main window
// retitles them itself.
#pragma once

#include <QString>

class TForm1;
class TKMLang;

namespace vx::shell {

QString EmptyTabCaption();

// Has the empty tabs and the workspaces' status bars follow each language switch.
void TieTabsToLanguage(TForm1& form, TKMLang& language);

} // namespace vx::shell
