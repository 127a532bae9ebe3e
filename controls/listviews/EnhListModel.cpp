// The list views' table model: items, columns and virtual rows.
#include "controls/listviews/EnhListModel.h"

#include "controls/listviews/ImgList.h"
#include "platform/Exception.h"
#include "platform/qt/QtText.h"

#include <QFont>
#include <QIcon>
#include <QPainter>

#include <algorithm>
#include <unordered_map>

namespace vx {

Qt::Alignment ColumnAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

TEnhListModel::TEnhListModel(QObject* parent) : QAbstractTableModel(parent) {}

TEnhListModel::~TEnhListModel() = default;

int TEnhListModel::AddColumn(const TListColumn& column)
{
    const int index = ColumnCount();
    beginInsertColumns(QModelIndex(), index, index);
    columns_.push_back(column);
    endInsertColumns();
    return index;
}

const TListColumn& TEnhListModel::Column(int index) const
{
    if (index < 0 || index >= ColumnCount())
        throw EListError(TMessage(ListIndexOutOfBounds, {std::to_string(index)}));
    return columns_[static_cast<size_t>(index)];
}

void TEnhListModel::SetColumn(int index, const TListColumn& column)
{
    Column(index);
    columns_[static_cast<size_t>(index)] = column;
    emit headerDataChanged(Qt::Horizontal, index, index);
    if (rowCount() > 0)
        emit dataChanged(this->index(0, index), this->index(rowCount() - 1, index));
}

TListItem* TEnhListModel::AddItem(const std::string& caption, std::vector<std::string> subItems)
{
    if (virtual_)
        return nullptr;
    const int row = ItemCount();
    beginInsertRows(QModelIndex(), row, row);
    items_.push_back(std::unique_ptr<TListItem>(new TListItem(*this)));
    items_.back()->caption_ = caption;
    items_.back()->subItems_ = std::move(subItems);
    endInsertRows();
    return items_.back().get();
}

int TEnhListModel::ItemCount() const { return virtual_ ? virtualCount_ : static_cast<int>(items_.size()); }

TListItem* TEnhListModel::Item(int index) const
{
    if (virtual_ || index < 0 || index >= ItemCount())
        return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

int TEnhListModel::IndexOf(const TListItem* item) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

void TEnhListModel::DeleteItem(int index)
{
    if (!Item(index))
        throw EListError(TMessage(ListIndexOutOfBounds, {std::to_string(index)}));
    beginRemoveRows(QModelIndex(), index, index);
    items_.erase(items_.begin() + index);
    endRemoveRows();
}

void TEnhListModel::ClearItems()
{
    beginResetModel();
    items_.clear();
    virtualCount_ = 0;
    endResetModel();
}

void TEnhListModel::SetVirtual(bool value)
{
    if (virtual_ == value)
        return;
    beginResetModel();
    items_.clear();
    virtualCount_ = 0;
    virtual_ = value;
    endResetModel();
}

void TEnhListModel::SetVirtualCount(int count)
{
    count = std::max(count, 0);
    if (!virtual_ || count == virtualCount_)
        return;
    if (count > virtualCount_) {
        beginInsertRows(QModelIndex(), virtualCount_, count - 1);
        virtualCount_ = count;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), count, virtualCount_ - 1);
        virtualCount_ = count;
        endRemoveRows();
    }
}

void TEnhListModel::Sort(const std::function<int(const TListItem*, const TListItem*)>& compare)
{
    if (virtual_ || items_.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<const TListItem*> owners;
    owners.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& index : before)
        owners.push_back(items_[static_cast<size_t>(index.row())].get());
    std::stable_sort(items_.begin(), items_.end(),
                     [&](const std::unique_ptr<TListItem>& a, const std::unique_ptr<TListItem>& b) { return compare(a.get(), b.get()) < 0; });
    std::unordered_map<const TListItem*, int> rows;
    for (size_t i = 0; i < items_.size(); ++i)
        rows[items_[i].get()] = static_cast<int>(i);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.push_back(index(rows[owners[static_cast<size_t>(i)]], before[i].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TEnhListModel::SetSmallImages(TImageList* images)
{
    smallImages_ = images;
    RefreshAll();
}

void TEnhListModel::SetStateImages(TImageList* images)
{
    stateImages_ = images;
    RefreshAll();
}

void TEnhListModel::SetOptions(bool subItemImages, bool checkboxes, bool readOnly)
{
    if (subItemImages_ == subItemImages && checkboxes_ == checkboxes && readOnly_ == readOnly)
        return;
    subItemImages_ = subItemImages;
    checkboxes_ = checkboxes;
    readOnly_ = readOnly;
    RefreshAll();
}

void TEnhListModel::RefreshAll()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    RefreshHeader();
}

void TEnhListModel::RefreshHeader()
{
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int TEnhListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ItemCount(); }

int TEnhListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount(); }

QVariant TEnhListModel::cellImage(int row, int column) const
{
    int image = -1;
    QPixmap state;
    if (virtual_) {
        if (!smallImages_ || (column > 0 && !subItemImages_))
            return {};
        std::string unused;
        if (hooks_.VirtualCell)
            hooks_.VirtualCell(row, column, lvifImage, unused, image);
    } else if (column == 0) {
        const TListItem& item = *items_[static_cast<size_t>(row)];
        image = item.imageIndex_;
        if (stateImages_)
            state = stateImages_->Image(item.stateIndex_);
    }
    const QPixmap picture = smallImages_ ? smallImages_->Image(image) : QPixmap();
    if (state.isNull())
        return picture.isNull() ? QVariant() : QVariant(QIcon(picture));
    if (picture.isNull())
        return QIcon(state);
    // The state image goes before the item's own, as one picture.
    QPixmap both(state.width() + picture.width(), std::max(state.height(), picture.height()));
    both.fill(Qt::transparent);
    QPainter painter(&both);
    painter.drawPixmap(0, 0, state);
    painter.drawPixmap(state.width(), 0, picture);
    painter.end();
    return QIcon(both);
}

QVariant TEnhListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= ItemCount() || index.column() >= ColumnCount())
        return {};
    const int row = index.row(), column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        if (virtual_) {
            std::string text;
            int image = -1;
            if (hooks_.VirtualCell)
                hooks_.VirtualCell(row, column, lvifText, text, image);
            return ToQString(text);
        }
        const TListItem& item = *items_[static_cast<size_t>(row)];
        if (column == 0)
            return ToQString(item.caption_);
        const size_t sub = static_cast<size_t>(column - 1);
        return sub < item.subItems_.size() ? ToQString(item.subItems_[sub]) : QString();
    }
    case Qt::DecorationRole:
        return cellImage(row, column);
    case Qt::CheckStateRole:
        if (column == 0 && checkboxes_ && !virtual_)
            return items_[static_cast<size_t>(row)]->checked_ ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ColumnAlignment(columns_[static_cast<size_t>(column)].Alignment));
    case Qt::FontRole:
        if (hooks_.Underlined && hooks_.Underlined(row)) {
            QFont font;
            font.setUnderline(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

bool TEnhListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    TListItem* item = index.isValid() ? Item(index.row()) : nullptr;
    if (!item || index.column() != 0)
        return false;
    if (role == Qt::CheckStateRole && checkboxes_) {
        item->SetChecked(value.toInt() == Qt::Checked);
        return true;
    }
    if (role != Qt::EditRole)
        return false;
    item->SetCaption(FromQString(value.toString()));
    if (OnEdited)
        OnEdited(item);
    return true;
}

QVariant TEnhListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount())
        return {};
    const TListColumn& column = columns_[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole)
        return ToQString(column.Caption);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ColumnAlignment(column.Alignment));
    if (role == Qt::DecorationRole && hooks_.HeaderImage && smallImages_) {
        const QPixmap picture = smallImages_->Image(hooks_.HeaderImage(section));
        if (!picture.isNull())
            return QIcon(picture);
    }
    return {};
}

Qt::ItemFlags TEnhListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && !virtual_) {
        if (!readOnly_)
            result |= Qt::ItemIsEditable;
        if (checkboxes_)
            result |= Qt::ItemIsUserCheckable;
    }
    return result;
}

void TEnhListModel::ItemChanged(const TListItem* item, int column)
{
    const int row = IndexOf(item);
    if (row < 0 || ColumnCount() == 0)
        return;
    const int first = column < 0 ? 0 : std::min(column, ColumnCount() - 1);
    const int last = column < 0 ? ColumnCount() - 1 : first;
    emit dataChanged(index(row, first), index(row, last));
}

} // namespace vx
