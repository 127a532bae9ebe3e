// The link checker's tree as a model over the walk's nodes: the view asks for
// the rows it shows and nothing is made for the others, so a walk of many
// thousands of links costs the window no item per link. A row's text is the
// address, its picture the check state beside the link kind, its hint the
// state in words with the reason where there is one.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <map>

class TLinkCrawl;

class TLinkTreeModel : public QAbstractItemModel {
public:
    explicit TLinkTreeModel(const TLinkCrawl& crawl, QObject* parent = nullptr);

    // The node a row stands for; -1 for an invalid index.
    int NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(int node) const;

    // Calls the walk makes while it changes its tree.
    void Resetting() { beginResetModel(); }
    void Reset() { endResetModel(); }
    void ChildrenAdding(int parent, int count);
    void ChildrenAdded() { endInsertRows(); }
    void NodeChanged(int node);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const QIcon& Icon(int state, int kind) const;

    const TLinkCrawl& crawl_;
    mutable std::map<int, QIcon> icons_;
};
