// A dataset as a Qt table model, so that grid and list views show a result
// set: rows are read forward in batches as the view scrolls, each remembered
// by its bookmark; an edited cell goes to the dataset as an edit and a post.
#pragma once

#include "database/DataSet.h"

#include <QAbstractTableModel>

#include <string>
#include <vector>

class TDataSetModel : public QAbstractTableModel, private TDataLink {
public:
    explicit TDataSetModel(QObject* parent = nullptr);
    ~TDataSetModel() override;

    void SetDataSource(TDataSource* source) { TDataLink::SetDataSource(source); }
    TDataSet* DataSet() const { return TDataLink::DataSet(); }
    // Moves the dataset onto the row shown at row; false when there is none.
    bool GotoRow(int row);
    // The value of a cell as the dataset gives it, the whole of a long value included.
    std::string CellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Row {
        TBookmark bookmark;
        std::vector<std::string> cells;
        std::vector<bool> nulls;
    };

    void ActiveChanged() override { reload(); }
    void DataSetChanged() override { reload(); }
    void reload();
    Row readRow() const;
    // Runs walk with the dataset's controls disabled and puts it back where it was.
    void keepingPosition(const std::function<void()>& walk);

    std::vector<Row> rows_;
    std::vector<std::string> headers_;
    bool atEnd_ = true;
    bool busy_ = false;
};
