// TCustomExtListView: the enhanced list view with extended styles (grid
// lines, check boxes, full-row select, header drag and drop, hot tracking and
// activation), virtual mode (the control holds only a row count and asks its
// owner for each cell when it is shown), a column order that can be kept in
// the registry, header images and the common-controls version check.
#pragma once

#include "controls/listviews/EnhListModel.h"
#include "controls/listviews/EnhListView.h"
#include "controls/listviews/ExtListColumns.h"
#include "platform/Exception.h"

#include <QElapsedTimer>

#include <cstdint>

class QTimer;

namespace vx {

VX_DECLARE_EXCEPTION(EELVException, Exception);
VX_DECLARE_EXCEPTION(EELVOldComCtl, EELVException);

enum TLVExtendedStyle {
    lvxGridLines, lvxSubItemImages, lvxCheckboxes, lvxTrackSelect, lvxHeaderDragDrop, lvxFullRowSelect,
    lvxOneClickActivate, lvxTwoClickActivate, lvxFlatScrollBar, lvxUnderlineHot, lvxUnderlineCold
};
// A set of extended styles: bit N stands for element N.
using TLVExtendedStyles = unsigned;
constexpr TLVExtendedStyles LVX(TLVExtendedStyle style) { return 1u << style; }
// The platform's extended list-view style bits of a set, and back.
unsigned ExtendedStylesToBits(TLVExtendedStyles styles);
TLVExtendedStyles BitsToExtendedStyles(unsigned bits);

// A set of TLVVMMaskItem bits (text, image, param, state, indent).
using TLVVMMaskItems = unsigned;

// The item record of a get-info request: what is asked (mask) and the fields
// the owner fills; the text goes into the caller's buffer of cchTextMax bytes.
struct TLVItemRecord {
    unsigned mask = 0;
    int iItem = -1;
    int iSubItem = 0;
    unsigned state = 0;
    unsigned stateMask = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    std::intptr_t lParam = 0;
    int iIndent = 0;
};
// The rows about to be shown.
struct TNMLVCacheHint {
    int iFrom = 0;
    int iTo = 0;
};
// A search for an item by its text, as typed by the user.
enum : unsigned { lvfiString = 2, lvfiPartial = 8, lvfiWrap = 0x20 };
struct TLVFindInfo {
    unsigned flags = 0;
    std::string psz;
    int iStart = 0;
};
// The selection of a range of rows changed.
enum : unsigned { lvisFocused = 1, lvisSelected = 2, lvisCut = 4, lvisDropHilited = 8 };
struct TNMLVODStateChange {
    int iFrom = 0;
    int iTo = 0;
    unsigned uNewState = 0;
    unsigned uOldState = 0;
};

enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
// A set of item states: the lvis* bits.
using TItemStates = unsigned;
// SetItemCountEx flags.
enum : unsigned { lvsicfNoInvalidateAll = 1, lvsicfNoScroll = 2 };

struct TExtLVSaveSettings : TEnhLVSaveSettings {
    bool SaveColumnOrder = true;
};

// A library version as major, minor, release and build numbers.
struct TComCtlVersion {
    int Major = 0, Minor = 0, Release = 0, Build = 0;
};
// The common-controls version this build stands for.
TComCtlVersion ComCtlVersion();
// Whether a version is at least 4.70.0.0.
bool ComCtlVersionSufficient(const TComCtlVersion& version);

using TLVMarqueeBeginEvent = std::function<void(QObject* Sender, bool& CanBegin)>;
using TLVHotTrackEvent = std::function<void(QObject* Sender, int& ItemIndex, int SubItemIndex, QPoint Location, bool& AllowSelect)>;
using TLVVMGetItemInfoEvent = std::function<void(QObject* Sender, int Item, int SubItem, TLVVMMaskItems Mask, int& Image,
                                                 std::intptr_t& Param, unsigned& State, int& Indent, std::string& Text)>;
using TLVVMCacheHintEvent = std::function<void(QObject* Sender, TNMLVCacheHint& HintInfo)>;
using TLVVMFindItemEvent = std::function<void(QObject* Sender, TLVFindInfo& FindInfo, int& Found)>;
using TLVVMStateChangedEvent = std::function<void(QObject* Sender, TNMLVODStateChange& StateInfo)>;

class TCustomExtListView : public TCustomEnhListView {
public:
    explicit TCustomExtListView(QWidget* parent = nullptr);
    ~TCustomExtListView() override;

    void Loaded() override;
    TDFSVersion GetVersion() const override;

    TLVExtendedStyles ExtendedStyles() const;
    void SetExtendedStyles(TLVExtendedStyles value);
    bool VirtualMode() const;
    void SetVirtualMode(bool value);
    int HoverTime() const { return hoverTime_; }
    void SetHoverTime(int value) { hoverTime_ = value; }
    bool RequireComCtlUpdate() const { return requireComCtlUpdate_; }
    // Raises EELVOldComCtl when the library is older than 4.70; stays True.
    void SetRequireComCtlUpdate(bool value);
    TExtLVSaveSettings& SaveSettings() { return static_cast<TExtLVSaveSettings&>(TCustomEnhListView::SaveSettings()); }
    TExtListColumns& ColumnsFormat() { return columnsFormat_; }
    void SetColumnsFormat(const TExtListColumns& value) { columnsFormat_.Assign(value); }
    void SetSmallImages(TImageList* images) override;

    void SetItemCountEx(int Count, unsigned Flags);
    int GetNextItem(int StartIndex, TSearchDirection Direction, TItemStates States) const;
    // Order[p] is the column shown at display position p; an order that is not
    // a permutation of the columns is ignored.
    void SetColumnOrder(const std::vector<int>& Order);
    bool GetColumnOrder(std::vector<int>& Order) const;
    int SelectionMark() const { return selectionMark_; }
    void SetSelectionMark(int Index) { selectionMark_ = Index; }

    bool FullRowSelected() const override { return extendedStyles_ & LVX(lvxFullRowSelect); }
    bool HeaderImageOf(int Column, int& Image, bool& RightOfText) const override;

    // Answers a get-info request for a virtual cell.
    virtual void DoVMGetItemInfo(TLVItemRecord& Record);

    TLVMarqueeBeginEvent OnMarqueeBegin;
    TNotifyEvent OnItemActivate;
    TLVHotTrackEvent OnHotTrack;
    TLVVMGetItemInfoEvent OnVMGetItemInfo;
    TLVVMCacheHintEvent OnVMCacheHint;
    TLVVMFindItemEvent OnVMFindItem;
    TLVVMStateChangedEvent OnVMStateChanged;

protected:
    virtual void DoMarqueeBegin(bool& CanBegin);
    virtual void DoItemActivate();
    virtual void DoHotTrack(int& ItemIndex, int SubItemIndex, QPoint Location, bool& AllowSelect);
    virtual void DoVMCacheHint(TNMLVCacheHint& HintInfo);
    virtual void DoVMFindItem(TLVFindInfo& FindInfo, int& Found);
    virtual void DoVMStateChanged(TNMLVODStateChange& StateInfo);

    void WriteSettings(TCustomIniFile& ini) override;
    void ReadSettings(TCustomIniFile& ini) override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    bool matchesStates(int row, TItemStates states) const;
    // The next selected row from row on in steps of step (+1 or -1), or -1.
    int nextSelected(int row, int step) const;
    void setHotRow(int row);
    void cacheHint();
    void reportRanges(const QItemSelection& ranges, unsigned newState, unsigned oldState);

    TLVExtendedStyles extendedStyles_ = 0;
    int hoverTime_ = -1, selectionMark_ = -1;
    bool requireComCtlUpdate_ = false;
    int itemCount_ = 0;
    unsigned itemCountFlags_ = 0;
    TExtListColumns columnsFormat_;
    int hotRow_ = -1, pressedRow_ = -1, hoverRow_ = -1;
    bool pressedWasSelected_ = false;
    TNMLVCacheHint lastHint_{-1, -1};
    QTimer* hoverTimer_;
    QString search_;
    QElapsedTimer searchClock_;
};

class TExtListView : public TCustomExtListView {
public:
    using TCustomExtListView::TCustomExtListView;
};

} // namespace vx
