// The link tree model.
#include "internet/qt/LinkTreeModel.h"

#include "internet/LinkCrawl.h"
#include "internet/qt/LinkPictures.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/QtText.h"

TLinkTreeModel::TLinkTreeModel(const TLinkCrawl& crawl, QObject* parent) : QAbstractItemModel(parent), crawl_(crawl) {}

int TLinkTreeModel::NodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex TLinkTreeModel::IndexOf(int node) const
{
    if (node < 0 || node >= static_cast<int>(crawl_.Nodes().size()))
        return {};
    const int parent = crawl_.Nodes()[static_cast<std::size_t>(node)].Parent;
    const int row = parent < 0 ? 0 : node - static_cast<int>(crawl_.Nodes()[static_cast<std::size_t>(parent)].FirstChild);
    return createIndex(row, 0, static_cast<quintptr>(node));
}

void TLinkTreeModel::ChildrenAdding(int parent, int count)
{
    beginInsertRows(IndexOf(parent), 0, count - 1);
}

void TLinkTreeModel::NodeChanged(int node)
{
    const QModelIndex index = IndexOf(node);
    emit dataChanged(index, index, {Qt::DecorationRole});
}

QModelIndex TLinkTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, 0, quintptr(0));
    const TLinkNode& page = crawl_.Nodes()[static_cast<std::size_t>(NodeOf(parent))];
    return createIndex(row, 0, static_cast<quintptr>(page.FirstChild + static_cast<std::uint32_t>(row)));
}

QModelIndex TLinkTreeModel::parent(const QModelIndex& child) const
{
    const int node = NodeOf(child);
    return node < 0 ? QModelIndex() : IndexOf(crawl_.Nodes()[static_cast<std::size_t>(node)].Parent);
}

int TLinkTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return crawl_.Nodes().empty() ? 0 : 1;
    return static_cast<int>(crawl_.Nodes()[static_cast<std::size_t>(NodeOf(parent))].ChildCount);
}

int TLinkTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool TLinkTreeModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant TLinkTreeModel::data(const QModelIndex& index, int role) const
{
    const int node = NodeOf(index);
    if (node < 0)
        return {};
    if (role == Qt::DisplayRole)
        return vx::ToQString(crawl_.Address(node));
    if (role == Qt::ToolTipRole)
        return vx::ToQString(InCurrentLanguage(crawl_.StatusText(node)));
    if (role == Qt::DecorationRole) {
        const TLinkNode& n = crawl_.Nodes()[static_cast<std::size_t>(node)];
        return Icon(n.State, n.Kind);
    }
    return {};
}

const QIcon& TLinkTreeModel::Icon(int state, int kind) const
{
    QIcon& icon = icons_[state * 100 + kind];
    if (icon.isNull())
        icon = LinkNodeIcon(state, kind);
    return icon;
}
