// TCustomEnhListView: a report-style list view that sorts itself when a column
// header is clicked (with a smart comparison that knows dates, times and
// numbers), shows sort arrows, lets its owner draw rows, cells and header
// sections, paints a background image, and keeps column widths and the sort
// in the registry.
#pragma once

#include "controls/common/Events.h"
#include "controls/listviews/EnhListSort.h"
#include "controls/listviews/ListItems.h"

#include <QPixmap>
#include <QTableView>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCustomIniFile;

namespace vx {

class TEnhListHeader;
class TEnhListModel;
class TImageList;

enum TAutoColumnSort { acsNoSort, acsSort, acsSortToggle };
enum TLVStyle { lvStandard, lvOwnerDrawFixed };
using TDFSVersion = std::string;

// Owner-draw state bits of a row.
using TOwnerDrawState = unsigned;
enum : unsigned { odSelected = 1, odFocused = 0x10 };

// Pixels between a cell's edge and its text, and before an image.
constexpr int LVTextOffset = 4;
constexpr int LVImageOffset = 2;

struct TEnhLVSaveSettings {
    virtual ~TEnhLVSaveSettings() = default;
    bool AutoSave = false;
    std::string RegistryKey;
    bool SaveColumnSizes = true;
    bool SaveCurrentSort = true;
};

using TLVHDrawItemEvent =
    std::function<void(QObject* Control, QPainter*& ACanvas, int Index, QRect& ARect, bool Selected, bool& DefaultDrawing)>;
using TLVMeasureItemEvent = std::function<void(QObject* Control, int& AHeight)>;
using TLVDrawItemEvent = std::function<void(QObject* Control, QPainter*& ACanvas, int Index, QRect ARect,
                                            TOwnerDrawState State, bool& DefaultDrawing, bool& FullRowSelect)>;
using TLVDrawSubItemEvent = std::function<void(QObject* Control, QPainter*& ACanvas, int Index, int SubItem, QRect ARect,
                                               TOwnerDrawState State, bool& DefaultDrawing)>;
using TLVAfterDrawItemEvent =
    std::function<void(QObject* Control, QPainter*& ACanvas, int Index, QRect ARect, TOwnerDrawState State)>;
using TLVSortItemsEvent =
    std::function<void(QObject* Sender, TListItem* Item1, TListItem* Item2, int SortColumn, int& CompResult)>;
using TLVSortStatusEvent = std::function<void(QObject* Sender, int SortColumn, bool Ascending)>;
using TLVEditCanceled = std::function<void(QObject* Sender, TListItem* Item)>;
using TLVColumnClickEvent = std::function<void(QObject* Sender, int Column)>;

class TCustomEnhListView : public QTableView {
public:
    explicit TCustomEnhListView(QWidget* parent = nullptr);
    ~TCustomEnhListView() override;

    // The end of setting the control up: settings are read, the list sorted.
    virtual void Loaded();

    // Columns; a width of -1 sizes to the contents, -2 to the header text.
    int AddColumn(const std::string& caption, int width = 50, TAlignment alignment = taLeftJustify);
    int ColumnCount() const;
    const TListColumn& Column(int index) const;
    void SetColumn(int index, const TListColumn& column);
    int ColumnWidth(int index) const;
    void SetColumnWidth(int index, int width);

    TListItem* AddItem(const std::string& caption, std::vector<std::string> subItems = {});
    int ItemCount() const;
    TListItem* Items(int index) const;
    void DeleteItem(int index);
    void ClearItems();

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool MultiSelect() const;
    void SetMultiSelect(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    TImageList* SmallImages() const;
    virtual void SetSmallImages(TImageList* images);
    TImageList* StateImages() const;
    void SetStateImages(TImageList* images);

    TAutoColumnSort AutoColumnSort() const { return autoColumnSort_; }
    void SetAutoColumnSort(TAutoColumnSort value) { autoColumnSort_ = value; }
    TAutoSortStyle AutoSortStyle() const { return autoSortStyle_; }
    void SetAutoSortStyle(TAutoSortStyle value) { autoSortStyle_ = value; }
    bool AutoResort() const { return autoResort_; }
    void SetAutoResort(bool value) { autoResort_ = value; }
    bool AutoSortAscending() const { return autoSortAscending_; }
    void SetAutoSortAscending(bool value) { autoSortAscending_ = value; }
    bool ShowSortArrows() const { return showSortArrows_; }
    void SetShowSortArrows(bool value);
    bool ReverseSortArrows() const { return reverseSortArrows_; }
    void SetReverseSortArrows(bool value);
    TLVStyle Style() const { return style_; }
    void SetStyle(TLVStyle value);
    const QPixmap& BackgroundImage() const { return backgroundImage_; }
    void SetBackgroundImage(const QPixmap& value);
    TDFSVersion Version() const { return GetVersion(); }
    void SetVersion(const TDFSVersion&) {}
    virtual TDFSVersion GetVersion() const;

    bool CurrentSortAscending() const { return currentSortAscending_; }
    void SetCurrentSortAscending(bool value);
    int LastColumnClicked() const { return lastColumnClicked_; }
    void SetLastColumnClicked(int value);
    TEnhLVSaveSettings& SaveSettings() { return *saveSettings_; }

    virtual void Resort();
    virtual void BeginUpdate();
    virtual void EndUpdate();
    virtual void SortColumn(int Column, bool Ascending);
    virtual void SortColumnToggle(int Column, bool Ascending);
    virtual void ResizeColumns(bool UseHeader);
    virtual void StoreSettings();
    virtual bool LoadSettings();
    virtual void InvalidateColumnHeader(int Index);

    // The text of a display position's cell: -1 the first position.
    virtual std::string GetSubItemText(int Index, int SubItem) const;
    // The column at a display position (-1 for none), and a column's position.
    virtual int GetActualColumn(int Position) const;
    virtual int ActualColumnIndex(int Column) const;

    // The arrows of the sorted column's header; null while not shown or when
    // the font is too small for them.
    const QPixmap& UpArrow() const { return upArrow_; }
    const QPixmap& DownArrow() const { return downArrow_; }
    bool HeaderOwnerDraw() const { return headerOwnerDraw_; }
    virtual void SetHeaderOwnerDraw(bool Value);
    void SetOnDrawHeader(TLVHDrawItemEvent value);
    virtual void ColumnClick(int Column);
    // Whether a selected row is marked across all its columns.
    virtual bool FullRowSelected() const { return false; }
    // A column's header image: its index in SmallImages and whether it goes
    // right of the text; false for none.
    virtual bool HeaderImageOf(int Column, int& Image, bool& RightOfText) const;

    // Header and row painting, for the header and owner-drawn rows.
    virtual void DrawHeader(QPainter& canvas, int Index, const QRect& Rect, bool Selected);
    virtual void DefaultDrawHeader(QPainter* ACanvas, int Index, QRect Rect, bool Selected);
    virtual void DrawItem(QPainter& canvas, int Index, const QRect& Rect, TOwnerDrawState State);
    virtual void DefaultDrawItem(QPainter* ACanvas, int Index, QRect Rect, TOwnerDrawState State, bool FullRowSelect);
    virtual void DefaultDrawSubItem(QPainter* ACanvas, int Index, int SubItem, QRect Rect, TOwnerDrawState State);

    TLVHDrawItemEvent OnDrawHeader;
    TLVMeasureItemEvent OnMeasureItem;
    TLVDrawItemEvent OnDrawItem;
    TLVDrawSubItemEvent OnDrawSubItem;
    TLVAfterDrawItemEvent OnAfterDefaultDrawItem;
    TLVSortItemsEvent OnSortItems;
    TLVSortStatusEvent OnSortBegin;
    TLVSortStatusEvent OnSortFinished;
    TLVEditCanceled OnEditCanceled;
    TLVColumnClickEvent OnColumnClick;

protected:
    TCustomEnhListView(QWidget* parent, std::unique_ptr<TEnhLVSaveSettings> settings);

    TEnhListModel& Model() const { return *model_; }
    TEnhListHeader& Header() const { return *header_; }
    bool Reading() const { return reading_; }

    virtual void DoSortBegin(int SortColumn, bool Ascending);
    virtual void DoSortFinished(int SortColumn, bool Ascending);
    virtual int DoSortItems(TListItem* Item1, TListItem* Item2, int SortColumn);
    virtual void DoMeasureItem(int& AHeight);
    virtual void DoDrawItem(QPainter*& ACanvas, int Index, QRect ARect, TOwnerDrawState State, bool& DefaultDrawing,
                            bool& FullRowSelect);
    virtual void DoDrawSubItem(QPainter*& ACanvas, int Index, int SubItem, QRect ARect, TOwnerDrawState State,
                               bool& DefaultDrawing);
    virtual void DoAfterDefaultDrawItem(QPainter*& ACanvas, int Index, QRect ARect, TOwnerDrawState State);
    virtual void DoEditCanceled(TListItem* Item);
    virtual void DoDrawHeader(QPainter*& ACanvas, int Index, QRect& ARect, bool Selected, bool& DefaultDrawing);
    virtual void CreateSortBmps();
    virtual void UpdateBackgroundImage();
    virtual void WriteSettings(TCustomIniFile& ini);
    virtual void ReadSettings(TCustomIniFile& ini);
    // The sizes step of ReadSettings, shared with the descendants.
    void ReadColumnSizes(TCustomIniFile& ini);
    void ReadCurrentSort(TCustomIniFile& ini);
    void WriteColumnSizes(TCustomIniFile& ini);
    void WriteCurrentSort(TCustomIniFile& ini);
    // Stores the settings unless that was already done on the way out.
    void StoreSettingsOnDestroy();
    // Row height of the current style and font.
    void UpdateRowHeight();
    void ApplyModelOptions(bool subItemImages, bool checkboxes);
    // Follows an image list's changes until it is replaced or destroyed.
    void WatchImages(TImageList* previous, TImageList* images);
    void ImagesChanged();
    // The width the images take before an item's caption.
    int ImagesWidth() const;

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void paintOwnerDrawRows();
    void updateHeaderOwnerDraw();

    TEnhListModel* model_;
    TEnhListHeader* header_;
    std::unique_ptr<TEnhLVSaveSettings> saveSettings_;
    TAutoColumnSort autoColumnSort_ = acsNoSort;
    TAutoSortStyle autoSortStyle_ = assSmart;
    bool autoResort_ = true, autoSortAscending_ = true, currentSortAscending_ = true;
    bool showSortArrows_ = false, reverseSortArrows_ = false;
    bool readOnly_ = false, hideSelection_ = true, subItemImages_ = false, checkboxes_ = false;
    TLVStyle style_ = lvStandard;
    QPixmap backgroundImage_, upArrow_, downArrow_;
    int lastColumnClicked_ = -1;
    int updateCount_ = 1;
    bool resortNeeded_ = false, headerOwnerDraw_ = false, windowCreated_ = false, reading_ = false, settingsStored_ = false;
};

class TEnhListView : public TCustomEnhListView {
public:
    using TCustomEnhListView::TCustomEnhListView;
};

} // namespace vx
