// The captions of the main window's document tabs: a slot's file name, or
// "<empty>" in the current language for a slot without a file and for every
// workspace. The language file leaves the tabs alone (they name documents)
// and knows nothing of the workspaces made at run time, so the main window
// retitles them itself.
#pragma once

#include <QString>
#include <QTabWidget>

class TForm1;
class TKMLang;

namespace vx::shell {

// The main window's document tabs. Qt takes "&" in a tab's text for the mark
// of a shortcut letter: "x&z.html" would show as "xz.html" with the "z"
// underlined, and Alt+Z would go to the tab. A caption set here shows as it
// is given.
class TDocumentTabs : public QTabWidget {
public:
    using QTabWidget::QTabWidget;
    // Hides QTabWidget's, which would take "&" for a shortcut mark; tabText()
    // gives the text as Qt keeps it, "&" doubled.
    void setTabText(int index, const QString& caption);
};

QString EmptyTabCaption();

// Has the empty tabs and the workspaces' status bars follow each language switch.
void TieTabsToLanguage(TForm1& form, TKMLang& language);

} // namespace vx::shell
