// The enhanced list view: sorting, settings, header and row painting.
#include "controls/listviews/EnhListView.h"

#include "controls/listviews/EnhListDelegate.h"
#include "controls/listviews/EnhListHeader.h"
#include "controls/listviews/EnhListModel.h"
#include "controls/listviews/ImgList.h"
#include "platform/IniFile.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace vx {

TCustomEnhListView::TCustomEnhListView(QWidget* parent) : TCustomEnhListView(parent, std::make_unique<TEnhLVSaveSettings>()) {}

TCustomEnhListView::TCustomEnhListView(QWidget* parent, std::unique_ptr<TEnhLVSaveSettings> settings)
    : QTableView(parent), model_(new TEnhListModel(this)), header_(new TEnhListHeader(*this)),
      saveSettings_(std::move(settings))
{
    setHorizontalHeader(header_);
    setModel(model_);
    setItemDelegate(new TEnhListDelegate(*this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    model_->OnEdited = [this](TListItem*) {
        if (autoResort_)
            Resort();
    };
    UpdateRowHeight();
}

TCustomEnhListView::~TCustomEnhListView() { StoreSettingsOnDestroy(); }

void TCustomEnhListView::StoreSettingsOnDestroy()
{
    if (settingsStored_)
        return;
    settingsStored_ = true;
    try {
        StoreSettings();
    } catch (const Exception&) {
        // The control is going away; nothing is left to report to.
    }
}

TDFSVersion TCustomEnhListView::GetVersion() const { return "TEnhListView v3.50"; }

void TCustomEnhListView::Loaded()
{
    UpdateBackgroundImage();
    updateCount_ = 0;
    const bool read = LoadSettings();
    if (!(read && saveSettings_->SaveCurrentSort) && ColumnCount() > 0) {
        SetLastColumnClicked(0);
        Resort();
    }
    QTimer::singleShot(0, this, [this] { updateHeaderOwnerDraw(); });
}

void TCustomEnhListView::showEvent(QShowEvent* event)
{
    QTableView::showEvent(event);
    if (!windowCreated_) {
        windowCreated_ = true;
        updateCount_ = 0;
    }
}

// ---- columns and items ----

int TCustomEnhListView::AddColumn(const std::string& caption, int width, TAlignment alignment)
{
    const int index = model_->AddColumn({caption, alignment});
    SetColumnWidth(index, width);
    return index;
}

int TCustomEnhListView::ColumnCount() const { return model_->ColumnCount(); }

const TListColumn& TCustomEnhListView::Column(int index) const { return model_->Column(index); }

void TCustomEnhListView::SetColumn(int index, const TListColumn& column) { model_->SetColumn(index, column); }

int TCustomEnhListView::ColumnWidth(int index) const { return columnWidth(index); }

void TCustomEnhListView::SetColumnWidth(int index, int width)
{
    if (index < 0 || index >= ColumnCount())
        return;
    if (width == -1)
        resizeColumnToContents(index);
    else if (width == -2)
        setColumnWidth(index, header_->sectionSizeHint(index));
    else
        setColumnWidth(index, std::max(width, 0));
}

TListItem* TCustomEnhListView::AddItem(const std::string& caption, std::vector<std::string> subItems)
{
    return model_->AddItem(caption, std::move(subItems));
}

int TCustomEnhListView::ItemCount() const { return model_->ItemCount(); }

TListItem* TCustomEnhListView::Items(int index) const { return model_->Item(index); }

void TCustomEnhListView::DeleteItem(int index)
{
    model_->DeleteItem(index);
    if (autoResort_)
        Resort();
}

void TCustomEnhListView::ClearItems() { model_->ClearItems(); }

void TCustomEnhListView::SetReadOnly(bool value)
{
    readOnly_ = value;
    model_->SetOptions(subItemImages_, checkboxes_, readOnly_);
}

void TCustomEnhListView::ApplyModelOptions(bool subItemImages, bool checkboxes)
{
    subItemImages_ = subItemImages;
    checkboxes_ = checkboxes;
    model_->SetOptions(subItemImages_, checkboxes_, readOnly_);
}

bool TCustomEnhListView::MultiSelect() const { return selectionMode() == QAbstractItemView::ExtendedSelection; }

void TCustomEnhListView::SetMultiSelect(bool value)
{
    setSelectionMode(value ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void TCustomEnhListView::SetHideSelection(bool value)
{
    if (hideSelection_ == value)
        return;
    hideSelection_ = value;
    viewport()->update();
}

TImageList* TCustomEnhListView::SmallImages() const { return model_->SmallImages(); }

void TCustomEnhListView::WatchImages(TImageList* previous, TImageList* images)
{
    if (previous && previous != SmallImages() && previous != StateImages())
        disconnect(previous, nullptr, this, nullptr);
    if (images) {
        // A member function, as Qt refuses a unique connection to a lambda.
        connect(images, &TImageList::Changed, this, &TCustomEnhListView::ImagesChanged, Qt::UniqueConnection);
        connect(images, &QObject::destroyed, this, [this](QObject* gone) {
            if (gone == SmallImages())
                model_->SetSmallImages(nullptr);
            if (gone == StateImages())
                model_->SetStateImages(nullptr);
        });
    }
    UpdateRowHeight();
}

void TCustomEnhListView::ImagesChanged()
{
    model_->RefreshAll();
}

void TCustomEnhListView::SetSmallImages(TImageList* images)
{
    TImageList* previous = SmallImages();
    if (images == previous)
        return;
    model_->SetSmallImages(images);
    WatchImages(previous, images);
}

TImageList* TCustomEnhListView::StateImages() const { return model_->StateImages(); }

void TCustomEnhListView::SetStateImages(TImageList* images)
{
    TImageList* previous = StateImages();
    if (images == previous)
        return;
    model_->SetStateImages(images);
    WatchImages(previous, images);
}

int TCustomEnhListView::ImagesWidth() const
{
    if (Model().Virtual())
        return 0;
    return (StateImages() ? StateImages()->Width() : 0) + (SmallImages() ? SmallImages()->Width() : 0);
}

// ---- sorting ----

void TCustomEnhListView::SetCurrentSortAscending(bool value)
{
    if (currentSortAscending_ == value)
        return;
    currentSortAscending_ = value;
    InvalidateColumnHeader(lastColumnClicked_);
}

void TCustomEnhListView::SetLastColumnClicked(int value)
{
    if (lastColumnClicked_ == value)
        return;
    const int previous = lastColumnClicked_;
    lastColumnClicked_ = value;
    if (showSortArrows_) {
        InvalidateColumnHeader(previous);
        InvalidateColumnHeader(value);
    }
}

void TCustomEnhListView::InvalidateColumnHeader(int Index)
{
    if (Index < 0 || Index >= ColumnCount())
        return;
    header_->viewport()->update(header_->sectionViewportPosition(Index), 0, header_->sectionSize(Index), header_->height());
}

void TCustomEnhListView::ColumnClick(int Column)
{
    if (autoColumnSort_ == acsSortToggle)
        currentSortAscending_ = Column == lastColumnClicked_ ? !currentSortAscending_ : autoSortAscending_;
    if (OnColumnClick)
        OnColumnClick(this, Column);
    if (autoColumnSort_ != acsNoSort && Column < ColumnCount())
        SortColumn(Column, currentSortAscending_);
    SetLastColumnClicked(Column);
    InvalidateColumnHeader(Column);
}

void TCustomEnhListView::SortColumn(int Column, bool Ascending)
{
    resortNeeded_ = false;
    SetLastColumnClicked(Column);
    // The sort events carry the inverse of the requested direction.
    DoSortBegin(Column, !Ascending);
    const int factor = Ascending ? 1 : -1;
    const int compareColumn = Column - 1;
    model_->Sort([&](const TListItem* a, const TListItem* b) {
        return factor * DoSortItems(const_cast<TListItem*>(a), const_cast<TListItem*>(b), compareColumn);
    });
    DoSortFinished(Column, !Ascending);
}

void TCustomEnhListView::SortColumnToggle(int Column, bool Ascending)
{
    if (autoColumnSort_ == acsSortToggle)
        currentSortAscending_ = Column == lastColumnClicked_ ? !Ascending : Ascending;
    InvalidateColumnHeader(Column);
    SortColumn(Column, Ascending);
}

int TCustomEnhListView::DoSortItems(TListItem* Item1, TListItem* Item2, int SortColumn)
{
    if (OnSortItems) {
        int result = 0;
        OnSortItems(this, Item1, Item2, SortColumn, result);
        return result;
    }
    if (!Item1 || !Item2)
        return 0;
    const auto text = [SortColumn](const TListItem* item) -> std::string {
        if (SortColumn < 0)
            return item->Caption();
        const size_t sub = static_cast<size_t>(SortColumn);
        return sub < item->SubItems().size() ? item->SubItems()[sub] : std::string();
    };
    return CompareListText(text(Item1), text(Item2), autoSortStyle_);
}

void TCustomEnhListView::DoSortBegin(int SortColumn, bool Ascending)
{
    if (OnSortBegin)
        OnSortBegin(this, SortColumn, Ascending);
}

void TCustomEnhListView::DoSortFinished(int SortColumn, bool Ascending)
{
    if (OnSortFinished)
        OnSortFinished(this, SortColumn, Ascending);
}

void TCustomEnhListView::Resort()
{
    resortNeeded_ = true;
    const bool autoSorted = autoColumnSort_ != acsNoSort && lastColumnClicked_ >= 0 && lastColumnClicked_ < ColumnCount();
    if ((autoSorted || OnSortItems) && updateCount_ < 1)
        SortColumn(lastColumnClicked_, currentSortAscending_);
}

void TCustomEnhListView::BeginUpdate() { ++updateCount_; }

void TCustomEnhListView::EndUpdate()
{
    if (updateCount_ > 0)
        --updateCount_;
    if (updateCount_ == 0 && resortNeeded_)
        Resort();
}

void TCustomEnhListView::ResizeColumns(bool UseHeader)
{
    BeginUpdate();
    for (int i = 0; i < ColumnCount(); ++i)
        SetColumnWidth(i, UseHeader ? -2 : -1);
    EndUpdate();
}

// ---- settings ----

void TCustomEnhListView::StoreSettings()
{
    if (!saveSettings_->AutoSave || reading_)
        return;
    TRegIniFile ini(saveSettings_->RegistryKey);
    WriteSettings(ini);
}

bool TCustomEnhListView::LoadSettings()
{
    if (!saveSettings_->AutoSave)
        return false;
    TRegIniFile ini(saveSettings_->RegistryKey);
    reading_ = true;
    try {
        ReadSettings(ini);
    } catch (...) {
        reading_ = false;
        throw;
    }
    reading_ = false;
    return true;
}

void TCustomEnhListView::WriteColumnSizes(TCustomIniFile& ini)
{
    std::vector<int> widths;
    for (int i = 0; i < ColumnCount(); ++i)
        widths.push_back(ColumnWidth(i));
    ini.WriteString("Columns", "Sizes", JoinIntList(widths));
}

void TCustomEnhListView::WriteCurrentSort(TCustomIniFile& ini)
{
    ini.WriteBool("Sort", "Ascending", currentSortAscending_);
    ini.WriteInteger("Sort", "SortCol", lastColumnClicked_);
}

void TCustomEnhListView::WriteSettings(TCustomIniFile& ini)
{
    if (saveSettings_->SaveColumnSizes)
        WriteColumnSizes(ini);
    if (saveSettings_->SaveCurrentSort)
        WriteCurrentSort(ini);
}

void TCustomEnhListView::ReadColumnSizes(TCustomIniFile& ini)
{
    std::vector<int> widths;
    for (int i = 0; i < ColumnCount(); ++i)
        widths.push_back(ColumnWidth(i));
    const std::string text = ini.ReadString("Columns", "Sizes", "");
    if (text.empty())
        widths[0] = -1;
    else
        ReadIntList(text, widths);
    if (widths[0] == -1)
        return;
    for (int i = 0; i < ColumnCount(); ++i)
        SetColumnWidth(i, widths[static_cast<size_t>(i)]);
}

void TCustomEnhListView::ReadCurrentSort(TCustomIniFile& ini)
{
    const bool ascending = ini.ReadBool("Sort", "Ascending", true);
    const int column = std::max(std::min(ini.ReadInteger("Sort", "SortCol", 0), ColumnCount() - 1), 0);
    BeginUpdate();
    SetCurrentSortAscending(ascending);
    SetLastColumnClicked(column);
    Resort();
    EndUpdate();
}

void TCustomEnhListView::ReadSettings(TCustomIniFile& ini)
{
    if (saveSettings_->SaveColumnSizes && ColumnCount() > 0)
        ReadColumnSizes(ini);
    if (saveSettings_->SaveCurrentSort)
        ReadCurrentSort(ini);
}

// ---- header ----

void TCustomEnhListView::SetHeaderOwnerDraw(bool Value)
{
    if (headerOwnerDraw_ == Value)
        return;
    headerOwnerDraw_ = Value;
    header_->viewport()->update();
}

void TCustomEnhListView::updateHeaderOwnerDraw() { SetHeaderOwnerDraw(OnDrawHeader || showSortArrows_); }

void TCustomEnhListView::SetOnDrawHeader(TLVHDrawItemEvent value)
{
    OnDrawHeader = std::move(value);
    updateHeaderOwnerDraw();
}

void TCustomEnhListView::SetShowSortArrows(bool value)
{
    if (showSortArrows_ == value)
        return;
    showSortArrows_ = value;
    if (value) {
        CreateSortBmps();
    } else {
        upArrow_ = QPixmap();
        downArrow_ = QPixmap();
    }
    updateHeaderOwnerDraw();
    header_->viewport()->update();
}

void TCustomEnhListView::SetReverseSortArrows(bool value)
{
    if (reverseSortArrows_ == value)
        return;
    reverseSortArrows_ = value;
    if (showSortArrows_) {
        CreateSortBmps();
        InvalidateColumnHeader(lastColumnClicked_);
    }
}

namespace {

// A triangle of side size pointing up or down, lit from the top left.
QPixmap SortArrow(int size, bool up, const QPalette& palette)
{
    QPixmap arrow(size, size);
    arrow.fill(palette.color(QPalette::Button));
    QPainter p(&arrow);
    const int s = size - 1, mid = s / 2;
    const QPoint apex = up ? QPoint(mid, 0) : QPoint(mid, s);
    const QPoint left = up ? QPoint(0, s) : QPoint(0, 0);
    const QPoint right = up ? QPoint(s, s) : QPoint(s, 0);
    const QColor light = palette.color(QPalette::Light), shadow = palette.color(QPalette::Dark);
    p.setPen(light);
    p.drawLine(left, apex);
    p.setPen(up ? light : shadow);
    p.drawLine(left, right);
    p.setPen(shadow);
    p.drawLine(apex, right);
    return arrow;
}

} // namespace

void TCustomEnhListView::CreateSortBmps()
{
    upArrow_ = QPixmap();
    downArrow_ = QPixmap();
    const int t = QFontMetrics(font()).height() - 6;
    if (t < 1)
        return;
    const int side = t + (t & 1);
    upArrow_ = SortArrow(side, !reverseSortArrows_, palette());
    downArrow_ = SortArrow(side, reverseSortArrows_, palette());
}

bool TCustomEnhListView::HeaderImageOf(int, int&, bool&) const { return false; }

void TCustomEnhListView::DoDrawHeader(QPainter*& ACanvas, int Index, QRect& ARect, bool Selected, bool& DefaultDrawing)
{
    if (OnDrawHeader)
        OnDrawHeader(this, ACanvas, Index, ARect, Selected, DefaultDrawing);
}

void TCustomEnhListView::DrawHeader(QPainter& canvas, int Index, const QRect& Rect, bool Selected)
{
    canvas.setFont(font());
    canvas.setBrush(palette().button());
    QPainter* painter = &canvas;
    QRect rect = Rect;
    bool defaultDrawing = !OnDrawHeader;
    DoDrawHeader(painter, Index, rect, Selected, defaultDrawing);
    if (defaultDrawing)
        DefaultDrawHeader(painter, Index, rect, Selected);
}

void TCustomEnhListView::DefaultDrawHeader(QPainter* ACanvas, int Index, QRect Rect, bool Selected)
{
    QPainter& p = *ACanvas;
    const QPalette& pal = palette();
    const QRect cell = Rect;
    p.fillRect(cell, pal.button());
    p.setPen(Selected ? pal.color(QPalette::Dark) : pal.color(QPalette::Light));
    p.drawLine(cell.topLeft(), cell.topRight());
    p.drawLine(cell.topLeft(), cell.bottomLeft());
    p.setPen(Selected ? pal.color(QPalette::Light) : pal.color(QPalette::Dark));
    p.drawLine(cell.bottomLeft(), cell.bottomRight());
    p.drawLine(cell.topRight(), cell.bottomRight());
    QRect r = cell.adjusted(2, 2, -2, -2);
    if (Index < 0 || Index >= ColumnCount())
        return;
    if (Selected)
        r.translate(1, 1);
    const TAlignment align = Column(Index).Alignment;
    if (align == taLeftJustify)
        r.setLeft(r.left() + LVTextOffset);
    else if (align == taRightJustify)
        r.setRight(r.right() - LVTextOffset);

    int image = -1;
    bool imageRight = false;
    const QPixmap picture = HeaderImageOf(Index, image, imageRight) && SmallImages() ? SmallImages()->Image(image) : QPixmap();
    if (!picture.isNull()) {
        const int y = r.top() + (r.height() - picture.height()) / 2;
        if (imageRight) {
            p.drawPixmap(r.right() - picture.width() + 1, y, picture);
            r.setRight(r.right() - picture.width() - LVImageOffset);
        } else {
            p.drawPixmap(r.left(), y, picture);
            r.setLeft(r.left() + picture.width() + LVImageOffset);
        }
    }

    const QPixmap& arrow = currentSortAscending_ ? upArrow_ : downArrow_;
    const bool withArrow = showSortArrows_ && autoColumnSort_ != acsNoSort && Index == lastColumnClicked_ && !arrow.isNull();
    QRect textArea = r;
    if (withArrow) {
        if (align == taRightJustify)
            textArea.setLeft(textArea.left() + arrow.width() + 8);
        else
            textArea.setRight(textArea.right() - arrow.width() - 8);
    }
    const QFontMetrics fm(font());
    const QString text = fm.elidedText(ToQString(Column(Index).Caption), Qt::ElideRight, std::max(textArea.width(), 0));
    const int textWidth = std::min(fm.horizontalAdvance(text), std::max(textArea.width(), 0));
    int x = textArea.left();
    if (align == taRightJustify)
        x = textArea.right() + 1 - textWidth;
    else if (align == taCenter)
        x = textArea.left() + (textArea.width() - textWidth) / 2;
    p.save();
    p.setClipRect(cell);
    p.setPen(pal.color(QPalette::ButtonText));
    p.drawText(QRect(x, textArea.top(), textWidth, textArea.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               text);
    p.restore();
    if (withArrow) {
        const int ax = align == taRightJustify ? x - 8 - arrow.width() : x + textWidth + 8;
        if (ax >= cell.left() && ax + arrow.width() <= cell.right())
            p.drawPixmap(ax, cell.top() + (cell.height() - arrow.height()) / 2, arrow);
    }
}

// ---- rows ----

void TCustomEnhListView::SetStyle(TLVStyle value)
{
    if (style_ == value)
        return;
    style_ = value;
    UpdateRowHeight();
    viewport()->update();
}

void TCustomEnhListView::DoMeasureItem(int& AHeight)
{
    if (OnMeasureItem)
        OnMeasureItem(this, AHeight);
}

void TCustomEnhListView::UpdateRowHeight()
{
    const QFontMetrics fm(font());
    int height = fm.height() + 1;
    if (style_ == lvOwnerDrawFixed)
        DoMeasureItem(height);
    else
        height = std::max({height + 2, SmallImages() ? SmallImages()->Height() + 2 : 0,
                           StateImages() ? StateImages()->Height() + 2 : 0});
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(std::max(height, 1));
}

std::string TCustomEnhListView::GetSubItemText(int Index, int SubItem) const
{
    const TListItem* item = Items(Index);
    if (!item)
        return {};
    int column = SubItem + 1;
    if (ColumnCount() >= SubItem + 2)
        column = GetActualColumn(SubItem + 1);
    if (column == 0)
        return item->Caption();
    const size_t sub = static_cast<size_t>(column - 1);
    return column > 0 && sub < item->SubItems().size() ? item->SubItems()[sub] : std::string();
}

int TCustomEnhListView::GetActualColumn(int Position) const
{
    if (Position < 0 || Position >= ColumnCount())
        return -1;
    return header_->logicalIndex(Position);
}

int TCustomEnhListView::ActualColumnIndex(int Column) const
{
    if (Column < 0 || Column >= ColumnCount())
        return 0;
    return header_->visualIndex(Column);
}

void TCustomEnhListView::DoDrawItem(QPainter*& ACanvas, int Index, QRect ARect, TOwnerDrawState State,
                                    bool& DefaultDrawing, bool& FullRowSelect)
{
    if (OnDrawItem)
        OnDrawItem(this, ACanvas, Index, ARect, State, DefaultDrawing, FullRowSelect);
}

void TCustomEnhListView::DoDrawSubItem(QPainter*& ACanvas, int Index, int SubItem, QRect ARect, TOwnerDrawState State,
                                       bool& DefaultDrawing)
{
    if (OnDrawSubItem)
        OnDrawSubItem(this, ACanvas, Index, SubItem, ARect, State, DefaultDrawing);
}

void TCustomEnhListView::DoAfterDefaultDrawItem(QPainter*& ACanvas, int Index, QRect ARect, TOwnerDrawState State)
{
    if (OnAfterDefaultDrawItem)
        OnAfterDefaultDrawItem(this, ACanvas, Index, ARect, State);
}

void TCustomEnhListView::DoEditCanceled(TListItem* Item)
{
    if (OnEditCanceled)
        OnEditCanceled(this, Item);
}

void TCustomEnhListView::DrawItem(QPainter& canvas, int Index, const QRect& Rect, TOwnerDrawState State)
{
    canvas.setFont(font());
    canvas.setBrush(palette().base());
    QPainter* painter = &canvas;
    bool defaultDrawing = !OnDrawItem;
    bool fullRowSelect = FullRowSelected();
    DoDrawItem(painter, Index, Rect, State, defaultDrawing, fullRowSelect);
    if (!defaultDrawing)
        return;
    DefaultDrawItem(painter, Index, Rect, State, fullRowSelect);
    if ((State & odFocused) && hasFocus()) {
        QRect focus = Rect;
        if (!fullRowSelect && ColumnCount() > 0) {
            const int first = GetActualColumn(0);
            const int cellLeft = columnViewportPosition(first);
            int left = cellLeft + LVTextOffset - 2 + ImagesWidth();
            if (ImagesWidth() > 0)
                left += LVImageOffset;
            const int width = QFontMetrics(font()).horizontalAdvance(ToQString(GetSubItemText(Index, -1))) + 8;
            focus.setLeft(left);
            focus.setWidth(std::min(width, cellLeft + columnWidth(first) - left));
        }
        painter->save();
        painter->setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(focus.adjusted(0, 0, -1, -1));
        painter->restore();
    }
    DoAfterDefaultDrawItem(painter, Index, Rect, State);
}

void TCustomEnhListView::DefaultDrawItem(QPainter* ACanvas, int Index, QRect Rect, TOwnerDrawState State, bool FullRowSelect)
{
    QPainter& p = *ACanvas;
    const QPalette& pal = palette();
    const bool selected = State & odSelected;
    QBrush back = pal.base();
    QColor fore = pal.color(QPalette::Text);
    if (selected && hasFocus()) {
        back = pal.highlight();
        fore = pal.color(QPalette::HighlightedText);
    } else if (selected && !hideSelection_) {
        back = pal.button();
        fore = pal.color(QPalette::ButtonText);
    }
    for (int position = 0; position < ColumnCount(); ++position) {
        const int column = GetActualColumn(position);
        QRect cell(columnViewportPosition(column), Rect.top(), columnWidth(column), Rect.height());
        const bool marked = position == 0 || FullRowSelect;
        p.fillRect(cell, marked ? back : pal.base());
        p.setPen(marked ? fore : pal.color(QPalette::Text));
        const TListItem* item = position == 0 ? Items(Index) : nullptr;
        if (item && ImagesWidth() > 0) {
            int x = cell.left() + LVImageOffset;
            const auto draw = [&](TImageList* images, int image, bool dimmed) {
                if (!images)
                    return;
                QPixmap picture = images->Image(image);
                if (!picture.isNull()) {
                    if (dimmed) {
                        QColor tint = pal.color(QPalette::Highlight);
                        tint.setAlpha(128);
                        QPainter dim(&picture);
                        dim.fillRect(picture.rect(), tint);
                    }
                    p.drawPixmap(x, cell.top() + (cell.height() - picture.height()) / 2, picture);
                }
                x += images->Width();
            };
            draw(StateImages(), item->StateIndex(), false);
            draw(SmallImages(), item->ImageIndex(), selected && hasFocus());
            cell.setLeft(x);
        }
        DefaultDrawSubItem(ACanvas, Index, position - 1, cell, State);
    }
}

void TCustomEnhListView::DefaultDrawSubItem(QPainter* ACanvas, int Index, int SubItem, QRect Rect, TOwnerDrawState State)
{
    QPainter* painter = ACanvas;
    bool defaultDrawing = true;
    DoDrawSubItem(painter, Index, SubItem, Rect, State, defaultDrawing);
    if (!defaultDrawing || Model().Virtual())
        return;
    const int column = GetActualColumn(SubItem + 1);
    const TAlignment align = column >= 0 ? Column(column).Alignment : taLeftJustify;
    QRect r = SubItem >= 0 ? Rect.adjusted(LVTextOffset, 0, -LVTextOffset, 0) : Rect.adjusted(LVTextOffset, 0, 0, 0);
    const QFontMetrics fm(painter->font());
    const QString text = fm.elidedText(ToQString(GetSubItemText(Index, SubItem)), Qt::ElideRight, std::max(r.width(), 0));
    painter->drawText(r, ColumnAlignment(align) | Qt::TextSingleLine, text);
}

void TCustomEnhListView::paintOwnerDrawRows()
{
    QPainter canvas(viewport());
    canvas.fillRect(viewport()->rect(), palette().base());
    if (ItemCount() == 0)
        return;
    const int first = std::max(rowAt(0), 0);
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = ItemCount() - 1;
    const int right = columnViewportPosition(GetActualColumn(ColumnCount() - 1)) + columnWidth(GetActualColumn(ColumnCount() - 1));
    for (int row = first; row <= last; ++row) {
        TOwnerDrawState state = 0;
        if (selectionModel()->isRowSelected(row, QModelIndex()))
            state |= odSelected;
        if (currentIndex().row() == row)
            state |= odFocused;
        const int left = ColumnCount() > 0 ? columnViewportPosition(GetActualColumn(0)) : 0;
        DrawItem(canvas, row, QRect(left, rowViewportPosition(row), std::max(right - left, 0), rowHeight(row)), state);
    }
}

void TCustomEnhListView::paintEvent(QPaintEvent* event)
{
    if (style_ == lvOwnerDrawFixed && ColumnCount() > 0)
        paintOwnerDrawRows();
    else
        QTableView::paintEvent(event);
}

// ---- background, fonts, editing ----

void TCustomEnhListView::SetBackgroundImage(const QPixmap& value)
{
    backgroundImage_ = value;
    UpdateBackgroundImage();
}

void TCustomEnhListView::UpdateBackgroundImage()
{
    QPalette pal = palette();
    if (!backgroundImage_.isNull())
        pal.setBrush(QPalette::Base, QBrush(backgroundImage_));
    else
        pal.setBrush(QPalette::Base, QApplication::palette(this).base());
    setPalette(pal);
    viewport()->update();
}

void TCustomEnhListView::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateRowHeight();
    else if (event->type() == QEvent::PaletteChange && showSortArrows_)
        CreateSortBmps();
}

void TCustomEnhListView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    TListItem* item = Items(currentIndex().row());
    QTableView::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::RevertModelCache && item)
        DoEditCanceled(item);
}

} // namespace vx
