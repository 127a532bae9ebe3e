// The extended list view: extended styles, virtual mode, column order,
// header images and the version check.
#include "controls/listviews/ExtListView.h"

#include "controls/listviews/EnhListHeader.h"
#include "controls/listviews/EnhListModel.h"
#include "controls/listviews/ImgList.h"
#include "platform/CustomIniFile.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace vx {

namespace {

constexpr unsigned ExtendedStyleBits[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x40, 0x80, 0x100, 0x800, 0x1000};
constexpr int ExtendedStyleCount = sizeof(ExtendedStyleBits) / sizeof(ExtendedStyleBits[0]);
// The system's default mouse hover time, used while HoverTime is -1.
constexpr int DefaultHoverTime = 400;
// The longest text a virtual cell gives.
constexpr int VirtualTextMax = 1024;

} // namespace

unsigned ExtendedStylesToBits(TLVExtendedStyles styles)
{
    unsigned bits = 0;
    for (int i = 0; i < ExtendedStyleCount; ++i)
        if (styles & (1u << i))
            bits |= ExtendedStyleBits[i];
    return bits;
}

TLVExtendedStyles BitsToExtendedStyles(unsigned bits)
{
    TLVExtendedStyles styles = 0;
    for (int i = 0; i < ExtendedStyleCount; ++i)
        if (bits & ExtendedStyleBits[i])
            styles |= 1u << i;
    return styles;
}

TComCtlVersion ComCtlVersion() { return {5, 81, 0, 0}; }

bool ComCtlVersionSufficient(const TComCtlVersion& v)
{
    const int have[] = {v.Major, v.Minor, v.Release, v.Build};
    const int need[] = {4, 70, 0, 0};
    return !std::lexicographical_compare(std::begin(have), std::end(have), std::begin(need), std::end(need));
}

// ---- the control ----

TCustomExtListView::TCustomExtListView(QWidget* parent)
    : TCustomEnhListView(parent, std::make_unique<TExtLVSaveSettings>()),
      columnsFormat_([this] { Model().RefreshHeader(); Header().viewport()->update(); }), hoverTimer_(new QTimer(this))
{
    hoverTimer_->setSingleShot(true);
    connect(hoverTimer_, &QTimer::timeout, this, [this] {
        if (hoverRow_ >= 0 && hoverRow_ < ItemCount())
            setCurrentIndex(model()->index(hoverRow_, 0));
    });
    auto& hooks = Model().HookSet();
    hooks.VirtualCell = [this](int row, int column, unsigned mask, std::string& text, int& image) {
        char buffer[VirtualTextMax + 1] = {};
        TLVItemRecord record;
        record.mask = mask;
        record.iItem = row;
        record.iSubItem = column;
        record.pszText = buffer;
        record.cchTextMax = VirtualTextMax;
        DoVMGetItemInfo(record);
        text = buffer;
        image = record.iImage;
    };
    hooks.Underlined = [this](int row) {
        if (extendedStyles_ & LVX(lvxUnderlineHot))
            return row == hotRow_;
        return (extendedStyles_ & LVX(lvxUnderlineCold)) != 0 && row != hotRow_;
    };
    hooks.HeaderImage = [this](int column) {
        int image = -1;
        bool right = false;
        return HeaderImageOf(column, image, right) && !right && !HeaderOwnerDraw() ? image : -1;
    };
}

TCustomExtListView::~TCustomExtListView() { StoreSettingsOnDestroy(); }

TDFSVersion TCustomExtListView::GetVersion() const { return "TExtListView v3.50"; }

void TCustomExtListView::Loaded()
{
    TCustomEnhListView::Loaded();
    Model().RefreshHeader();
}

TLVExtendedStyles TCustomExtListView::ExtendedStyles() const { return extendedStyles_; }

void TCustomExtListView::SetExtendedStyles(TLVExtendedStyles value)
{
    const TLVExtendedStyles activation = LVX(lvxOneClickActivate) | LVX(lvxTwoClickActivate);
    if ((value & LVX(lvxUnderlineCold)) && !(value & LVX(lvxOneClickActivate)))
        value |= LVX(lvxOneClickActivate);
    if ((value & LVX(lvxUnderlineHot)) && !(value & activation))
        value |= LVX(lvxOneClickActivate);
    extendedStyles_ = value;
    setShowGrid(value & LVX(lvxGridLines));
    Header().setSectionsMovable(value & LVX(lvxHeaderDragDrop));
    setMouseTracking(value & (LVX(lvxTrackSelect) | activation));
    ApplyModelOptions(value & LVX(lvxSubItemImages), value & LVX(lvxCheckboxes));
    viewport()->update();
}

bool TCustomExtListView::VirtualMode() const { return Model().Virtual(); }

void TCustomExtListView::SetVirtualMode(bool value)
{
    if (value == VirtualMode())
        return;
    Model().SetVirtual(value);
    lastHint_ = {-1, -1};
    if (value && itemCount_ >= 1)
        Model().SetVirtualCount(itemCount_);
}

void TCustomExtListView::SetRequireComCtlUpdate(bool value)
{
    requireComCtlUpdate_ = value;
    if (value && !ComCtlVersionSufficient(ComCtlVersion()))
        throw EELVOldComCtl("COMCTL32.DLL is older than required version");
}

void TCustomExtListView::SetSmallImages(TImageList* images)
{
    TCustomEnhListView::SetSmallImages(images);
    SetHeaderOwnerDraw(OnDrawHeader || ShowSortArrows());
}

bool TCustomExtListView::HeaderImageOf(int Column, int& Image, bool& RightOfText) const
{
    const TExtListColumn* format = columnsFormat_.Items(Column);
    if (!format || format->ImageIndex() < 0 || !SmallImages() || SmallImages()->Count() == 0)
        return false;
    Image = format->ImageIndex();
    RightOfText = format->ImageAlignment() == ciaRightOfText;
    return true;
}

// ---- virtual mode ----

void TCustomExtListView::SetItemCountEx(int Count, unsigned Flags)
{
    itemCount_ = Count;
    itemCountFlags_ = Flags;
    if (!VirtualMode())
        return;
    const int top = verticalScrollBar()->value();
    Model().SetVirtualCount(Count);
    if (Flags & lvsicfNoScroll)
        verticalScrollBar()->setValue(top);
    if (!(Flags & lvsicfNoInvalidateAll))
        viewport()->update();
}

void TCustomExtListView::DoVMGetItemInfo(TLVItemRecord& Record)
{
    if (Record.iItem == -1)
        return;
    std::string text;
    unsigned state = Record.state;
    if (OnVMGetItemInfo)
        OnVMGetItemInfo(this, Record.iItem, Record.iSubItem, Record.mask, Record.iImage, Record.lParam, state, Record.iIndent, text);
    if ((Record.mask & lvifText) && Record.pszText && Record.cchTextMax > 0) {
        const size_t length = std::min(text.size(), static_cast<size_t>(Record.cchTextMax - 1));
        std::memcpy(Record.pszText, text.data(), length);
        Record.pszText[length] = '\0';
        Record.state = state;
    }
}

void TCustomExtListView::DoVMCacheHint(TNMLVCacheHint& HintInfo)
{
    if (OnVMCacheHint)
        OnVMCacheHint(this, HintInfo);
}

void TCustomExtListView::DoVMFindItem(TLVFindInfo& FindInfo, int& Found)
{
    if (OnVMFindItem)
        OnVMFindItem(this, FindInfo, Found);
}

void TCustomExtListView::DoVMStateChanged(TNMLVODStateChange& StateInfo)
{
    if (OnVMStateChanged)
        OnVMStateChanged(this, StateInfo);
}

void TCustomExtListView::cacheHint()
{
    if (!VirtualMode() || ItemCount() == 0)
        return;
    TNMLVCacheHint hint;
    hint.iFrom = std::max(rowAt(0), 0);
    hint.iTo = rowAt(viewport()->height() - 1);
    if (hint.iTo < 0)
        hint.iTo = ItemCount() - 1;
    if (hint.iFrom == lastHint_.iFrom && hint.iTo == lastHint_.iTo)
        return;
    lastHint_ = hint;
    DoVMCacheHint(hint);
}

void TCustomExtListView::paintEvent(QPaintEvent* event)
{
    cacheHint();
    TCustomEnhListView::paintEvent(event);
}

void TCustomExtListView::keyboardSearch(const QString& search)
{
    if (!VirtualMode()) {
        TCustomEnhListView::keyboardSearch(search);
        return;
    }
    if (search.isEmpty() || ItemCount() == 0)
        return;
    if (!searchClock_.isValid() || searchClock_.elapsed() > QApplication::keyboardInputInterval())
        search_.clear();
    searchClock_.start();
    search_ += search;
    TLVFindInfo info;
    info.flags = lvfiString | lvfiPartial | lvfiWrap;
    info.psz = FromQString(search_);
    info.iStart = std::max(currentIndex().row(), 0);
    int found = -1;
    DoVMFindItem(info, found);
    if (found >= 0 && found < ItemCount()) {
        const QModelIndex index = model()->index(found, 0);
        setCurrentIndex(index);
        scrollTo(index);
    }
}

void TCustomExtListView::reportRanges(const QItemSelection& ranges, unsigned newState, unsigned oldState)
{
    for (const QItemSelectionRange& range : ranges) {
        if (range.bottom() <= range.top() || range.left() != 0)
            continue;
        TNMLVODStateChange change{range.top(), range.bottom(), newState, oldState};
        DoVMStateChanged(change);
    }
}

void TCustomExtListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    TCustomEnhListView::selectionChanged(selected, deselected);
    if (!VirtualMode())
        return;
    reportRanges(selected, lvisSelected, 0);
    reportRanges(deselected, 0, lvisSelected);
}

void TCustomExtListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    TCustomEnhListView::currentChanged(current, previous);
    if (current.isValid())
        selectionMark_ = current.row();
}

// ---- item search ----

int TCustomExtListView::nextSelected(int row, int step) const
{
    int best = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        int candidate = -1;
        if (step > 0 && range.bottom() >= row)
            candidate = std::max(range.top(), row);
        else if (step < 0 && range.top() <= row)
            candidate = std::min(range.bottom(), row);
        if (candidate >= 0 && (best < 0 || (step > 0 ? candidate < best : candidate > best)))
            best = candidate;
    }
    return best;
}

bool TCustomExtListView::matchesStates(int row, TItemStates states) const
{
    if ((states & lvisFocused) && currentIndex().row() != row)
        return false;
    if ((states & lvisSelected) && !selectionModel()->isRowSelected(row, QModelIndex()))
        return false;
    const TListItem* item = Items(row);
    if ((states & lvisCut) && !(item && item->Cut()))
        return false;
    if ((states & lvisDropHilited) && !(item && item->DropTarget()))
        return false;
    return true;
}

int TCustomExtListView::GetNextItem(int StartIndex, TSearchDirection Direction, TItemStates States) const
{
    // A report view stacks its rows: nothing lies left or right of a row.
    if (Direction == sdLeft || Direction == sdRight)
        return -1;
    const int step = Direction == sdAbove ? -1 : 1;
    int row = Direction == sdAbove ? StartIndex - 1 : std::max(StartIndex + 1, 0);
    if (Direction == sdAbove && StartIndex < 0)
        return -1;
    if (VirtualMode() && (States & (lvisCut | lvisDropHilited)))
        return -1;
    if (States & lvisFocused) {
        const int focused = currentIndex().row();
        const bool ahead = step > 0 ? focused >= row : (focused >= 0 && focused <= row);
        return focused >= 0 && ahead && matchesStates(focused, States) ? focused : -1;
    }
    while (row >= 0 && row < ItemCount()) {
        if (States & lvisSelected) {
            row = nextSelected(row, step);
            if (row < 0)
                return -1;
        }
        if (matchesStates(row, States))
            return row;
        row += step;
    }
    return -1;
}

// ---- column order ----

void TCustomExtListView::SetColumnOrder(const std::vector<int>& Order)
{
    if (static_cast<int>(Order.size()) != ColumnCount())
        return;
    std::vector<int> sorted = Order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < ColumnCount(); ++i)
        if (sorted[static_cast<size_t>(i)] != i)
            return;
    for (int position = 0; position < ColumnCount(); ++position)
        Header().moveSection(Header().visualIndex(Order[static_cast<size_t>(position)]), position);
    viewport()->update();
}

bool TCustomExtListView::GetColumnOrder(std::vector<int>& Order) const
{
    // No columns means no order to report; a header out of step with the
    // columns answers -1 for a place, and that is no order either.
    Order.clear();
    for (int position = 0; position < ColumnCount(); ++position) {
        const int column = GetActualColumn(position);
        if (column < 0) {
            Order.clear();
            return false;
        }
        Order.push_back(column);
    }
    return !Order.empty();
}

// ---- settings ----

void TCustomExtListView::WriteSettings(TCustomIniFile& ini)
{
    const TExtLVSaveSettings& settings = SaveSettings();
    if ((settings.SaveColumnOrder || settings.SaveColumnSizes) && ColumnCount() > 0) {
        if (settings.SaveColumnOrder) {
            std::vector<int> order;
            GetColumnOrder(order);
            ini.WriteString("Columns", "Order", JoinIntList(order));
        }
        if (settings.SaveColumnSizes)
            WriteColumnSizes(ini);
    }
    if (settings.SaveCurrentSort)
        WriteCurrentSort(ini);
}

void TCustomExtListView::ReadSettings(TCustomIniFile& ini)
{
    const TExtLVSaveSettings& settings = SaveSettings();
    if ((settings.SaveColumnOrder || settings.SaveColumnSizes) && ColumnCount() > 0) {
        if (settings.AutoSave && settings.SaveColumnOrder) {
            std::vector<int> order(static_cast<size_t>(ColumnCount()));
            std::iota(order.begin(), order.end(), 0);
            ReadIntList(ini.ReadString("Columns", "Order", ""), order);
            SetColumnOrder(order);
        }
        if (settings.SaveColumnSizes)
            ReadColumnSizes(ini);
    }
    if (settings.SaveCurrentSort)
        ReadCurrentSort(ini);
}

// ---- mouse and keyboard ----

void TCustomExtListView::DoMarqueeBegin(bool& CanBegin)
{
    if (OnMarqueeBegin)
        OnMarqueeBegin(this, CanBegin);
}

void TCustomExtListView::DoItemActivate()
{
    if (OnItemActivate)
        OnItemActivate(this);
}

void TCustomExtListView::DoHotTrack(int& ItemIndex, int SubItemIndex, QPoint Location, bool& AllowSelect)
{
    if (OnHotTrack)
        OnHotTrack(this, ItemIndex, SubItemIndex, Location, AllowSelect);
}

void TCustomExtListView::setHotRow(int row)
{
    if (hotRow_ == row)
        return;
    hotRow_ = row;
    if (extendedStyles_ & (LVX(lvxUnderlineHot) | LVX(lvxUnderlineCold)))
        viewport()->update();
}

void TCustomExtListView::mouseMoveEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const int row = index.isValid() ? index.row() : -1;
    if (row != hotRow_ && (extendedStyles_ & LVX(lvxTrackSelect)) && row >= 0) {
        int item = row;
        bool allowSelect = true;
        DoHotTrack(item, index.column(), event->position().toPoint(), allowSelect);
        hoverTimer_->stop();
        if (allowSelect && item >= 0 && item < ItemCount()) {
            hoverRow_ = item;
            hoverTimer_->start(hoverTime_ < 0 ? DefaultHoverTime : hoverTime_);
        }
    }
    setHotRow(row);
    TCustomEnhListView::mouseMoveEvent(event);
}

bool TCustomExtListView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave) {
        hoverTimer_->stop();
        setHotRow(-1);
    }
    return TCustomEnhListView::viewportEvent(event);
}

void TCustomExtListView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    pressedRow_ = index.isValid() ? index.row() : -1;
    pressedWasSelected_ = index.isValid() && selectionModel()->isRowSelected(index.row(), QModelIndex());
    if (event->button() == Qt::LeftButton && !index.isValid() && MultiSelect()) {
        bool canBegin = true;
        DoMarqueeBegin(canBegin);
        if (!canBegin) {
            event->accept();
            return;
        }
    }
    TCustomEnhListView::mousePressEvent(event);
}

void TCustomExtListView::mouseReleaseEvent(QMouseEvent* event)
{
    TCustomEnhListView::mouseReleaseEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() || index.row() != pressedRow_)
        return;
    if ((extendedStyles_ & LVX(lvxOneClickActivate)) ||
        ((extendedStyles_ & LVX(lvxTwoClickActivate)) && pressedWasSelected_))
        DoItemActivate();
}

void TCustomExtListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    TCustomEnhListView::mouseDoubleClickEvent(event);
    const bool clickActivates = extendedStyles_ & (LVX(lvxOneClickActivate) | LVX(lvxTwoClickActivate));
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid() && !clickActivates)
        DoItemActivate();
}

void TCustomExtListView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != QAbstractItemView::EditingState &&
        currentIndex().isValid()) {
        DoItemActivate();
        event->accept();
        return;
    }
    TCustomEnhListView::keyPressEvent(event);
}

} // namespace vx
