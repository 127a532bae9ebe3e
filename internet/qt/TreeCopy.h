// Copying a dialog's tree into a tree of the main window when the dialog
// closes (the link checker's and the structure viewer's results).
#pragma once

class QTreeWidget;

// Replaces the target's items with copies of the source's, icons included,
// and expands them fully.
void CopyTreeItems(const QTreeWidget& source, QTreeWidget& target);
