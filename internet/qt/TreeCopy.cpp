// Copying tree items.
#include "internet/qt/TreeCopy.h"

#include <QTreeWidget>

#include <vector>

void CopyTreeItems(const QTreeView& source, QTreeWidget& target)
{
    target.clear();
    const QAbstractItemModel* model = source.model();
    if (!model)
        return;
    struct TPending {
        QModelIndex index;
        QTreeWidgetItem* parent;
        int depth;
    };
    // Rows are copied from an explicit list, not by recursion, however deep the tree.
    std::vector<TPending> pending;
    for (int row = model->rowCount() - 1; row >= 0; --row)
        pending.push_back({model->index(row, 0), nullptr, 1});
    while (!pending.empty()) {
        const TPending next = pending.back();
        pending.pop_back();
        auto* item = next.parent ? new QTreeWidgetItem(next.parent) : new QTreeWidgetItem(&target);
        item->setText(0, model->data(next.index, Qt::DisplayRole).toString());
        item->setIcon(0, model->data(next.index, Qt::DecorationRole).value<QIcon>());
        if (next.depth >= kMaxCopiedDepth)
            continue;
        for (int row = model->rowCount(next.index) - 1; row >= 0; --row)
            pending.push_back({model->index(row, 0, next.index), item, next.depth + 1});
    }
    target.expandAll();
}
