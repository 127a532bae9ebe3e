// The file panel's list as a table model over the folder listing: only the
// rows the view asks for are formatted, and icons are looked up when a row is
// first shown, so a large folder lists at once.
#pragma once

#include "shell/FileListing.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <map>
#include <string>
#include <vector>

class TFileListModel : public QAbstractTableModel {
public:
    explicit TFileListModel(QObject* parent = nullptr);

    vx::shell::TFileListing& Listing() { return listing_; }
    // Lists folder anew with the mask text; the count of files.
    int Load(const std::string& folder, const std::string& maskText);
    // Sorts by column 0..3 (name, size, date, type).
    void SortByColumn(int column, bool ascending);
    // The headings, type names, sizes and dates anew in the current language; a
    // list sorted by type is sorted by the new names.
    void FollowLanguage();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // The icon list index of a file's small icon, by its name; 0 when the
    // system has none.
    int GetFileIconIndex(const std::string& fileName) const;

    mutable vx::shell::TFileListing listing_;
    // The order the list was last sorted in since it was listed.
    vx::shell::TFileSort sort_ = vx::shell::TFileSort::None;
    bool ascending_ = true;
    mutable std::vector<QIcon> icons_;
    mutable std::map<std::string, int> iconOfSuffix_;
};
