#include "shell/qt/panels/FileListModel.h"

#include "localisation/FormatSettings.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/QtText.h"
#include "shell/DocumentTypes.h"
#include "shell/TextCase.h"
#include "tools/DateTimeText.h"

#include <QFileIconProvider>
#include <QFileInfo>

#include <array>

namespace {

const std::array<TRunTimeText, 4> Headings{TRunTimeText("File Name"), TRunTimeText("Size"), TRunTimeText("Date"),
                                           TRunTimeText("Type")};

// A file's time as the chosen language writes a short date and time.
std::string ModifiedText(std::int64_t time)
{
    return vx::tools::ShortDateShortTime(vx::tools::ClockReadingAt(static_cast<std::time_t>(time)));
}

} // namespace

TFileListModel::TFileListModel(QObject* parent) : QAbstractTableModel(parent), listing_(&vx::shell::DocumentTypeName)
{
    icons_.emplace_back(); // index 0: no icon
}

int TFileListModel::Load(const std::string& folder, const std::string& maskText)
{
    beginResetModel();
    listing_.Load(folder, maskText);
    sort_ = vx::shell::TFileSort::None;
    endResetModel();
    return listing_.Count();
}

void TFileListModel::SortByColumn(int column, bool ascending)
{
    beginResetModel();
    sort_ = static_cast<vx::shell::TFileSort>(column + 1);
    ascending_ = ascending;
    listing_.Sort(sort_, ascending_);
    endResetModel();
}

void TFileListModel::FollowLanguage()
{
    listing_.RenameTypes();
    if (sort_ == vx::shell::TFileSort::Type) {
        // The new names may sort in another order.
        beginResetModel();
        listing_.Sort(sort_, ascending_);
        endResetModel();
    } else if (rowCount() > 0) {
        // The sizes and dates are written as the language writes them, too.
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
    }
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int TFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : listing_.Count();
}

int TFileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

int TFileListModel::GetFileIconIndex(const std::string& fileName) const
{
    const std::string suffix = vx::shell::LowerExtension(fileName);
    const auto found = iconOfSuffix_.find(suffix);
    if (found != iconOfSuffix_.end())
        return found->second;
    static const QFileIconProvider provider;
    const QIcon icon = provider.icon(QFileInfo(vx::ToQString(fileName)));
    int index = 0;
    if (!icon.isNull()) {
        icons_.push_back(icon);
        index = static_cast<int>(icons_.size()) - 1;
    }
    iconOfSuffix_.emplace(suffix, index);
    return index;
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= listing_.Count())
        return {};
    vx::shell::TFileObject& file = listing_[index.row()];
    if (role == Qt::DecorationRole && index.column() == 0) {
        if (file.ImageIndex < 0)
            file.ImageIndex = GetFileIconIndex(listing_.FullName(index.row()));
        return icons_.at(file.ImageIndex);
    }
    if (role == Qt::TextAlignmentRole) {
        if (index.column() == 1)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (index.column() == 2)
            return int(Qt::AlignCenter);
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0: return vx::ToQString(vx::shell::CapitalizeFirst(file.Name));
    // Grouped as the chosen language groups digits, whatever the machine's locale.
    case 1:
        return vx::ToQString(
            vx::shell::FormatFileSize(static_cast<std::uint64_t>(file.Size), vx::FormatSettings().ThousandSeparator));
    case 2: return vx::ToQString(ModifiedText(file.Time));
    case 3: return vx::ToQString(file.TypeName);
    default: return {};
    }
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section < 0 || section >= static_cast<int>(Headings.size()))
        return {};
    return vx::ToQString(Headings[static_cast<std::size_t>(section)]());
}
