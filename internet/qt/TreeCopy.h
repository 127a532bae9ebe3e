// Copying a dialog's tree into a tree of the main window when the dialog
// closes (the link checker's and the structure viewer's results).
#pragma once

class QTreeView;
class QTreeWidget;

// Tree items free their children recursively, so a copy goes this many levels
// deep at most (a site that is one long chain of pages nests that deep).
inline constexpr int kMaxCopiedDepth = 1000;

// Replaces the target's items with items holding the text and picture of
// every row of the source's model, and expands them fully.
void CopyTreeItems(const QTreeView& source, QTreeWidget& target);
