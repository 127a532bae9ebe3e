// Copying tree items.
#include "internet/qt/TreeCopy.h"

#include <QTreeWidget>

void CopyTreeItems(const QTreeWidget& source, QTreeWidget& target)
{
    target.clear();
    for (int i = 0; i < source.topLevelItemCount(); ++i)
        target.addTopLevelItem(source.topLevelItem(i)->clone());
    target.expandAll();
}
