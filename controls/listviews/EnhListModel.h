// TEnhListModel: the table behind the list views. It holds the columns and,
// outside virtual mode, the items; in virtual mode it holds only a row count
// and asks its owner for each cell when the view shows it.
#pragma once

#include "controls/listviews/ListItems.h"

#include <QAbstractTableModel>

#include <functional>
#include <memory>

namespace vx {

class TImageList;

// The list-item mask bits of a virtual cell request.
enum TLVVMMaskItem : unsigned { lvifText = 1, lvifImage = 2, lvifParam = 4, lvifState = 8, lvifIndent = 16 };

class TEnhListModel : public QAbstractTableModel {
public:
    // What the owning view answers for the model.
    struct Hooks {
        // A virtual cell: the mask says what is wanted; text and image are filled.
        std::function<void(int row, int column, unsigned mask, std::string& text, int& image)> VirtualCell;
        // Whether a row's text is underlined (hot or cold underline styles).
        std::function<bool(int row)> Underlined;
        // The image shown left of a column's header text, or -1.
        std::function<int(int column)> HeaderImage;
    };

    explicit TEnhListModel(QObject* parent = nullptr);
    ~TEnhListModel() override;

    Hooks& HookSet() { return hooks_; }

    int AddColumn(const TListColumn& column);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    // Throws EListError for a bad index.
    const TListColumn& Column(int index) const;
    void SetColumn(int index, const TListColumn& column);

    TListItem* AddItem(const std::string& caption, std::vector<std::string> subItems = {});
    int ItemCount() const;
    // Null for a bad index or in virtual mode.
    TListItem* Item(int index) const;
    int IndexOf(const TListItem* item) const;
    // Throws EListError for a bad index.
    void DeleteItem(int index);
    void ClearItems();

    bool Virtual() const { return virtual_; }
    // Switching clears the items and the virtual count.
    void SetVirtual(bool value);
    void SetVirtualCount(int count);

    // Stable sort of the items; selection and current row follow their items.
    void Sort(const std::function<int(const TListItem*, const TListItem*)>& compare);

    void SetSmallImages(TImageList* images);
    TImageList* SmallImages() const { return smallImages_; }
    void SetStateImages(TImageList* images);
    TImageList* StateImages() const { return stateImages_; }
    void SetOptions(bool subItemImages, bool checkboxes, bool readOnly);
    void RefreshAll();
    void RefreshHeader();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Called by TListItem.
    void ItemChanged(const TListItem* item, int column);
    // Fired after the user edited a caption.
    std::function<void(TListItem* item)> OnEdited;

private:
    QVariant cellImage(int row, int column) const;

    Hooks hooks_;
    std::vector<TListColumn> columns_;
    std::vector<std::unique_ptr<TListItem>> items_;
    bool virtual_ = false;
    int virtualCount_ = 0;
    TImageList* smallImages_ = nullptr;
    TImageList* stateImages_ = nullptr;
    bool subItemImages_ = false, checkboxes_ = false, readOnly_ = false;
};

// The cell alignment of a column as Qt flags.
Qt::Alignment ColumnAlignment(TAlignment alignment);

} // namespace vx
