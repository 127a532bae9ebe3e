#include "database/qt/DataSetModel.h"

#include "platform/qt/Application.h"
#include "platform/Utf8.h"
#include "platform/qt/QtText.h"

namespace {

constexpr int kBatch = 256;
// Long values show their first characters in the grid; the whole value is in CellText.
constexpr std::size_t kShownLength = 256;

} // namespace

TDataSetModel::TDataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

TDataSetModel::~TDataSetModel()
{
    busy_ = true;
    TDataLink::SetDataSource(nullptr);
}

void TDataSetModel::reload()
{
    if (busy_)
        return;
    beginResetModel();
    rows_.clear();
    headers_.clear();
    TDataSet* dataSet = DataSet();
    atEnd_ = !dataSet || !dataSet->Active();
    if (!atEnd_)
        for (int i = 0; i < dataSet->FieldCount(); ++i)
            headers_.push_back(dataSet->Fields(i).FieldName());
    endResetModel();
}

TDataSetModel::Row TDataSetModel::readRow() const
{
    TDataSet* dataSet = DataSet();
    Row row;
    row.bookmark = dataSet->GetBookmark();
    for (int i = 0; i < dataSet->FieldCount(); ++i) {
        TField& field = dataSet->Fields(i);
        row.nulls.push_back(field.IsNull());
        row.cells.push_back(field.AsString());
    }
    return row;
}

void TDataSetModel::keepingPosition(const std::function<void()>& walk)
{
    TDataSet* dataSet = DataSet();
    TBookmark here = dataSet->GetBookmark();
    busy_ = true;
    dataSet->DisableControls();
    vx::DeliverShowingExceptions([&] {
        walk();
        if (!here.empty())
            dataSet->GotoBookmark(here);
        return true;
    });
    dataSet->EnableControls();
    busy_ = false;
}

bool TDataSetModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !atEnd_;
}

void TDataSetModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    std::vector<Row> batch;
    bool end = true;
    keepingPosition([&] {
        TDataSet* dataSet = DataSet();
        if (rows_.empty()) {
            dataSet->First();
        } else {
            dataSet->GotoBookmark(rows_.back().bookmark);
            dataSet->Next();
        }
        while (!dataSet->Eof() && !dataSet->IsEmpty() && static_cast<int>(batch.size()) < kBatch) {
            batch.push_back(readRow());
            dataSet->Next();
        }
        end = dataSet->Eof() || dataSet->IsEmpty();
    });
    atEnd_ = end;
    if (batch.empty())
        return;
    int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(batch.size()) - 1);
    for (Row& row : batch)
        rows_.push_back(std::move(row));
    endInsertRows();
}

int TDataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TDataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

std::string TDataSetModel::CellText(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const Row& row = rows_.at(static_cast<size_t>(index.row()));
    if (row.nulls.at(static_cast<size_t>(index.column())))
        return role == Qt::EditRole ? QVariant(QString()) : QVariant();
    const std::string& text = row.cells.at(static_cast<size_t>(index.column()));
    return vx::ToQString(role == Qt::DisplayRole ? text.substr(0, vx::utf8::OffsetOfChar(text, kShownLength)) : text);
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= columnCount())
        return {};
    return vx::ToQString(headers_[static_cast<size_t>(section)]);
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    // A calculated field shows what OnCalcFields makes of the record: it is not typed in.
    if (index.isValid() && DataSet() && DataSet()->CanModify() && index.column() < DataSet()->FieldCount() &&
        !DataSet()->Fields(index.column()).Calculated())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TDataSetModel::GotoRow(int row)
{
    if (row < 0 || row >= rowCount() || !DataSet())
        return false;
    busy_ = true;
    bool moved = vx::DeliverShowingExceptions([&] {
        DataSet()->GotoBookmark(rows_[static_cast<size_t>(row)].bookmark);
        return true;
    });
    busy_ = false;
    return moved;
}

bool TDataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !DataSet())
        return false;
    if (!GotoRow(index.row()))
        return false;
    TDataSet* dataSet = DataSet();
    busy_ = true;
    bool posted = vx::DeliverShowingExceptions([&] {
        dataSet->Edit();
        try {
            TField& field = dataSet->Fields(index.column());
            std::string text = vx::FromQString(value.toString());
            if (text.empty() && field.DataType() != ftString && field.DataType() != ftMemo)
                field.Clear();
            else
                field.SetAsString(text);
            dataSet->Post();
        } catch (...) {
            dataSet->Cancel();
            throw;
        }
        return true;
    });
    if (posted)
        rows_[static_cast<size_t>(index.row())] = readRow();
    busy_ = false;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return posted;
}
