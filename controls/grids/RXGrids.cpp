// The extended draw grid: cell geometry, painting with its drawing events,
// fixed-cell buttons, sizing by dragging lines, and column widths in storage.
#include "controls/grids/RXGrids.h"

#include "controls/common/SysColors.h"
#include "controls/stores/AppUtils.h"
#include "controls/common/VCLUtils.h"
#include "controls/grids/RXGridsEditor.h"
#include "platform/qt/QtText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <numeric>
#include <string>

namespace {

// How far beside a line the mouse may be to drag it.
constexpr int SizingZone = 2;

} // namespace

TRxDrawGrid::TRxDrawGrid(QWidget* parent) : QWidget(parent)
{
    colWidths_.assign(5, defaultColWidth_);
    rowHeights_.assign(5, defaultRowHeight_);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    iniLink_.OnSave = [this] { SaveWidths(); };
    iniLink_.OnLoad = [this] { LoadWidths(); };
}

TRxDrawGrid::~TRxDrawGrid()
{
    iniLink_.OnSave = nullptr;
    iniLink_.OnLoad = nullptr;
}

// ------------------------------------------------------------- dimensions

void TRxDrawGrid::Resize(std::vector<int>& sizes, int count, int size)
{
    sizes.resize(static_cast<std::size_t>(std::max(count, 1)), size);
}

void TRxDrawGrid::SetColCount(int value)
{
    value = std::max(value, 1);
    if (value == ColCount())
        return;
    if (value <= fixedCols_)
        fixedCols_ = value - 1;
    Resize(colWidths_, value, defaultColWidth_);
    MoveCurrent(col_, row_);
    updateGeometry();
    update();
}

void TRxDrawGrid::SetRowCount(int value)
{
    value = std::max(value, 1);
    if (value == RowCount())
        return;
    if (value <= fixedRows_)
        fixedRows_ = value - 1;
    Resize(rowHeights_, value, defaultRowHeight_);
    MoveCurrent(col_, row_);
    updateGeometry();
    update();
}

void TRxDrawGrid::SetFixedCols(int value)
{
    if (value < 0 || value >= ColCount())
        throw EInvalidGridOperation("Fixed column count must be less than column count");
    if (value == fixedCols_)
        return;
    fixedCols_ = value;
    MoveCurrent(col_, row_);
    update();
}

void TRxDrawGrid::SetFixedRows(int value)
{
    if (value < 0 || value >= RowCount())
        throw EInvalidGridOperation("Fixed row count must be less than row count");
    if (value == fixedRows_)
        return;
    fixedRows_ = value;
    MoveCurrent(col_, row_);
    update();
}

void TRxDrawGrid::SetDefaultColWidth(int value)
{
    if (value == defaultColWidth_)
        return;
    defaultColWidth_ = value;
    std::fill(colWidths_.begin(), colWidths_.end(), value);
    ColWidthsChanged();
}

void TRxDrawGrid::SetDefaultRowHeight(int value)
{
    if (value == defaultRowHeight_)
        return;
    defaultRowHeight_ = value;
    std::fill(rowHeights_.begin(), rowHeights_.end(), value);
    RowHeightsChanged();
}

void TRxDrawGrid::SetColWidths(int col, int value)
{
    int& width = colWidths_.at(static_cast<std::size_t>(col));
    if (width == value)
        return;
    width = std::max(value, 0);
    ColWidthsChanged();
}

void TRxDrawGrid::SetRowHeights(int row, int value)
{
    int& height = rowHeights_.at(static_cast<std::size_t>(row));
    if (height == value)
        return;
    height = std::max(value, 0);
    RowHeightsChanged();
}

void TRxDrawGrid::SetGridLineWidth(int value)
{
    value = std::max(value, 0);
    if (value == gridLineWidth_)
        return;
    gridLineWidth_ = value;
    updateGeometry();
    update();
}

void TRxDrawGrid::ColWidthsChanged()
{
    updateGeometry();
    update();
    if (OnColumnSized)
        OnColumnSized(this);
}

void TRxDrawGrid::RowHeightsChanged()
{
    updateGeometry();
    update();
    if (OnRowSized)
        OnRowSized(this);
}

void TRxDrawGrid::SetOptions(TGridOptions value)
{
    if (value == options_)
        return;
    options_ = value;
    update();
}

void TRxDrawGrid::SetColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    update();
}

void TRxDrawGrid::SetFixedColor(TColor value)
{
    if (value == fixedColor_)
        return;
    fixedColor_ = value;
    update();
}

void TRxDrawGrid::SetDefaultDrawing(bool value)
{
    if (value == defaultDrawing_)
        return;
    defaultDrawing_ = value;
    update();
}

void TRxDrawGrid::SetCol(int value)
{
    MoveCurrent(value, row_);
}

void TRxDrawGrid::SetRow(int value)
{
    MoveCurrent(col_, value);
}

void TRxDrawGrid::MoveCurrent(int col, int row)
{
    col = std::clamp(col, fixedCols_, ColCount() - 1);
    row = std::clamp(row, fixedRows_, RowCount() - 1);
    if (col == col_ && row == row_)
        return;
    const bool editing = EditorMode();
    if (editing)
        HideEditor(true);
    col_ = col;
    row_ = row;
    update();
    if (editing && (options_ & goAlwaysShowEditor))
        ShowEditor();
}

// ----------------------------------------------------------------- editing

TRxInplaceEdit* TRxDrawGrid::CreateEditor()
{
    return new TRxInplaceEdit(this);
}

bool TRxDrawGrid::CanEditAcceptKey(char& key)
{
    if (OnAcceptEditKey)
        OnAcceptEditKey(this, key);
    return key != '\0';
}

int TRxDrawGrid::GetEditLimit()
{
    int limit = 0;
    if (OnGetEditLimit)
        OnGetEditLimit(this, limit);
    return limit;
}

bool TRxDrawGrid::CanEditShow()
{
    if (!(options_ & goEditing) || (options_ & goRowSelect) || (StateOf(col_, row_) & gdFixed))
        return false;
    bool allow = true;
    if (OnShowEditor)
        OnShowEditor(this, col_, row_, allow);
    return allow;
}

bool TRxDrawGrid::EditorMode() const
{
    return editor_ && editor_->isVisible();
}

void TRxDrawGrid::SetEditorMode(bool value)
{
    if (value)
        ShowEditor();
    else if (EditorMode())
        HideEditor(true);
}

void TRxDrawGrid::ShowEditor()
{
    if (!CanEditShow()) {
        if (EditorMode())
            HideEditor(true);
        return;
    }
    if (!editor_)
        editor_ = CreateEditor();
    UpdateEditor();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
}

void TRxDrawGrid::UpdateEditor()
{
    std::string text;
    if (OnGetEditText)
        OnGetEditText(this, col_, row_, text);
    vx::TAlignment alignment = vx::taLeftJustify;
    if (OnGetEditAlign)
        OnGetEditAlign(this, col_, row_, alignment);
    TInplaceEditStyle style = ieSimple;
    if (OnGetEditStyle)
        OnGetEditStyle(this, col_, row_, style);
    editor_->SetAlignment(alignment);
    editor_->SetEditStyle(style);
    if (style == iePickList) {
        TPopupListbox* list = editor_->PickList();
        TStringList items;
        if (OnGetPicklist)
            OnGetPicklist(this, col_, row_, items);
        list->clear();
        for (int i = 0; i < items.Count(); ++i)
            list->addItem(vx::ToQString(items[i]));
    }
    const int limit = GetEditLimit();
    editor_->setMaxLength(limit > 0 ? limit : 32767);
    editor_->setText(vx::ToQString(text));
    editor_->selectAll();
    editor_->setGeometry(CellRect(col_, row_));
}

void TRxDrawGrid::StoreEditText()
{
    if (OnSetEditText)
        OnSetEditText(this, col_, row_, vx::FromQString(editor_->text()));
}

void TRxDrawGrid::HideEditor(bool store)
{
    if (!EditorMode())
        return;
    if (store)
        StoreEditText();
    const bool hadFocus = editor_->hasFocus();
    editor_->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    update(CellRect(col_, row_));
}

bool TRxDrawGrid::EditorKey(QKeyEvent* e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Escape: {
        char key = 27;
        if (CanEditAcceptKey(key) && !ctrl && EditorMode() && !(options_ & goAlwaysShowEditor)) {
            HideEditor(false);
            if (OnCancelEdit)
                OnCancelEdit(this);
            return true;
        }
        return false;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (options_ & goAlwaysShowEditor) {
            StoreEditText();
            editor_->selectAll();
        } else {
            HideEditor(true);
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        keyPressEvent(e);
        return true;
    default:
        return false;
    }
}

// --------------------------------------------------------------- geometry

int TRxDrawGrid::CellStart(const std::vector<int>& sizes, int index) const
{
    return std::accumulate(sizes.begin(), sizes.begin() + index, 0) + index * gridLineWidth_;
}

QRect TRxDrawGrid::CellRect(int col, int row) const
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return {};
    return {CellStart(colWidths_, col), CellStart(rowHeights_, row), ColWidths(col), RowHeights(row)};
}

bool TRxDrawGrid::MouseToCell(QPoint pos, int& col, int& row) const
{
    auto find = [this](const std::vector<int>& sizes, int at) {
        int start = 0;
        for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
            if (at >= start && at < start + sizes[i] + gridLineWidth_)
                return i;
            start += sizes[i] + gridLineWidth_;
        }
        return -1;
    };
    col = find(colWidths_, pos.x());
    row = find(rowHeights_, pos.y());
    return col >= 0 && row >= 0;
}

int TRxDrawGrid::SizingLine(const std::vector<int>& sizes, int pos) const
{
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
        const int line = CellStart(sizes, i) + sizes[i];
        if (pos >= line - SizingZone && pos <= line + gridLineWidth_ + SizingZone - 1)
            return i;
    }
    return -1;
}

QSize TRxDrawGrid::sizeHint() const
{
    return {CellStart(colWidths_, ColCount()), CellStart(rowHeights_, RowCount())};
}

TGridDrawState TRxDrawGrid::StateOf(int col, int row) const
{
    if (col < fixedCols_ || row < fixedRows_)
        return gdFixed;
    TGridDrawState state = 0;
    if (row == row_ && (col == col_ || (options_ & goRowSelect)))
        state |= gdSelected;
    if (row == row_ && col == col_ && (hasFocus() || EditorMode()))
        state |= gdFocused;
    return state;
}

// --------------------------------------------------------------- painting

void TRxDrawGrid::DrawCell(QPainter& canvas, int col, int row, QRect rect, TGridDrawState state)
{
    const bool fixed = state & gdFixed;
    const bool shownPressed = fixed && pressed_ && col == pressedCol_ && row == pressedRow_;
    if (defaultDrawing_) {
        canvas.setFont(font());
        TColor back = color_, text = clWindowText;
        if (fixed) {
            back = fixedColor_;
            text = clBtnText;
        } else if ((state & gdSelected) && (!(state & gdFocused) || (options_ & goDrawFocusSelected))) {
            back = clHighlight;
            text = clHighlightText;
        }
        canvas.fillRect(rect, vx::ToQColor(back));
        canvas.setPen(vx::ToQColor(text));
        canvas.setBrush(vx::ToQColor(back));
    }
    if (OnDrawCell)
        OnDrawCell(this, col, row, shownPressed ? rect.translated(gridLineWidth_, gridLineWidth_) : rect, state);
    if (defaultDrawing_ && fixed) {
        // A raised inner edge, sunken while the cell is pressed.
        const QColor top = vx::ToQColor(shownPressed ? clBtnShadow : clBtnHighlight);
        const QColor bottom = vx::ToQColor(shownPressed ? clBtnHighlight : clBtnShadow);
        if (options_ & goFixedVertLine) {
            canvas.fillRect(rect.left(), rect.top(), 1, rect.height(), top);
            canvas.fillRect(rect.right(), rect.top(), 1, rect.height(), bottom);
        }
        if (options_ & goFixedHorzLine) {
            canvas.fillRect(rect.left(), rect.top(), rect.width(), 1, top);
            canvas.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottom);
        }
    }
    if (defaultDrawing_ && (state & gdFocused) && hasFocus() && !(options_ & goRowSelect)) {
        canvas.setPen(QPen(vx::ToQColor(clWindowText), 1, Qt::DotLine));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void TRxDrawGrid::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    canvas_ = &canvas;
    canvas.fillRect(rect(), vx::ToQColor(color_));
    for (int row = 0; row < RowCount(); ++row) {
        for (int col = 0; col < ColCount(); ++col) {
            const QRect cell = CellRect(col, row);
            if (cell.left() > width() || cell.top() > height())
                continue;
            const TGridDrawState state = StateOf(col, row);
            canvas.save();
            canvas.setClipRect(cell);
            DrawCell(canvas, col, row, cell, state);
            canvas.restore();
            if (gridLineWidth_ <= 0)
                continue;
            const bool fixed = state & gdFixed;
            const QColor line = vx::ToQColor(fixed ? clWindowFrame : clBtnFace);
            if (options_ & (fixed ? goFixedVertLine : goVertLine))
                canvas.fillRect(cell.right() + 1, cell.top(), gridLineWidth_, cell.height() + gridLineWidth_, line);
            if (options_ & (fixed ? goFixedHorzLine : goHorzLine))
                canvas.fillRect(cell.left(), cell.bottom() + 1, cell.width() + gridLineWidth_, gridLineWidth_, line);
        }
    }
    if ((options_ & goRowSelect) && !(options_ & goRangeSelect) && hasFocus() && ColCount() > fixedCols_) {
        QRect selected = CellRect(fixedCols_, row_).united(CellRect(ColCount() - 1, row_));
        if (!(options_ & goHorzLine))
            selected.setBottom(selected.bottom() + gridLineWidth_);
        canvas.setPen(QPen(vx::ToQColor(clWindowText), 1, Qt::DotLine));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(selected.adjusted(0, 0, -1, -1));
    }
    canvas_ = nullptr;
}

// ------------------------------------------------------------------ mouse

void TRxDrawGrid::SetPressed(bool value)
{
    if (pressed_ == value)
        return;
    pressed_ = value;
    update(CellRect(pressedCol_, pressedRow_));
}

void TRxDrawGrid::StopTracking()
{
    if (!tracking_)
        return;
    tracking_ = false;
    SetPressed(false);
    pressedCol_ = pressedRow_ = -1;
}

void TRxDrawGrid::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    const QPoint pos = e->position().toPoint();
    const int fixedWidth = CellStart(colWidths_, fixedCols_);
    const int fixedHeight = CellStart(rowHeights_, fixedRows_);
    if ((options_ & goColSizing) && pos.y() < fixedHeight && (sizing_ = SizingLine(colWidths_, pos.x())) >= 0) {
        sizingRows_ = false;
        sizingOrigin_ = CellStart(colWidths_, sizing_);
        return;
    }
    if ((options_ & goRowSizing) && pos.x() < fixedWidth && (sizing_ = SizingLine(rowHeights_, pos.y())) >= 0) {
        sizingRows_ = true;
        sizingOrigin_ = CellStart(rowHeights_, sizing_);
        return;
    }
    int col, row;
    if (!MouseToCell(pos, col, row))
        return;
    if (StateOf(col, row) & gdFixed) {
        if (!fixedButtons_)
            return;
        bool enabled = true;
        if (OnCheckButton)
            OnCheckButton(this, col, row, enabled);
        if (!enabled) {
            vx::DefaultBeep();
            return;
        }
        tracking_ = true;
        pressedCol_ = col;
        pressedRow_ = row;
        SetPressed(true);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    MoveCurrent(col, row);
}

void TRxDrawGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    int col, row;
    if (e->button() != Qt::LeftButton || !MouseToCell(e->position().toPoint(), col, row))
        QWidget::mouseDoubleClickEvent(e);
    else if (StateOf(col, row) & gdFixed)
        fixedButtons_ ? mousePressEvent(e) : QWidget::mouseDoubleClickEvent(e);
    else
        ShowEditor();
}

void TRxDrawGrid::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    int col, row;
    if (tracking_) {
        SetPressed(rect().contains(pos) && MouseToCell(pos, col, row) && col == pressedCol_ && row == pressedRow_);
    } else if (sizing_ < 0) {
        const bool colLine = (options_ & goColSizing) && pos.y() < CellStart(rowHeights_, fixedRows_) &&
                             SizingLine(colWidths_, pos.x()) >= 0;
        const bool rowLine = (options_ & goRowSizing) && pos.x() < CellStart(colWidths_, fixedCols_) &&
                             SizingLine(rowHeights_, pos.y()) >= 0;
        setCursor(colLine ? Qt::SplitHCursor : rowLine ? Qt::SplitVCursor : Qt::ArrowCursor);
    }
    QWidget::mouseMoveEvent(e);
}

void TRxDrawGrid::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    const QPoint pos = e->position().toPoint();
    if (sizing_ >= 0) {
        const int line = sizing_;
        sizing_ = -1;
        const int size = std::max(1, (sizingRows_ ? pos.y() : pos.x()) - sizingOrigin_);
        if (sizingRows_)
            SetRowHeights(line, size);
        else
            SetColWidths(line, size);
        return;
    }
    if (tracking_) {
        const int pressedCol = pressedCol_, pressedRow = pressedRow_;
        int col, row;
        const bool over = rect().contains(pos) && MouseToCell(pos, col, row) && col == pressedCol && row == pressedRow;
        StopTracking();
        if (over && pressedCol < ColCount() && pressedRow < RowCount() && OnFixedCellClick)
            OnFixedCellClick(this, pressedCol, pressedRow);
        return;
    }
    QWidget::mouseReleaseEvent(e);
}

// ------------------------------------------------------- keys and focus

void TRxDrawGrid::keyPressEvent(QKeyEvent* e)
{
    const bool rowSelect = options_ & goRowSelect;
    // One character, a picker's emoji (two UTF-16 units) as well as a letter.
    const QString typed = e->text();
    const QList<uint> codes = typed.toUcs4();
    if ((options_ & goEditing) && !EditorMode() && codes.size() == 1 && codes.front() >= 32 &&
        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const std::string character = vx::FromQString(typed);
        char key = character.front();
        if (CanEditAcceptKey(key)) {
            ShowEditor();
            // The owner may put another key in its place; a character of
            // several bytes goes in whole.
            if (EditorMode())
                editor_->setText(vx::ToQString(key == character.front() ? character : std::string(1, key)));
        }
        e->accept();
        return;
    }
    switch (e->key()) {
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ShowEditor();
        break;

    case Qt::Key_Left:
        if (!rowSelect)
            MoveCurrent(col_ - 1, row_);
        break;
    case Qt::Key_Right:
        if (!rowSelect)
            MoveCurrent(col_ + 1, row_);
        break;
    case Qt::Key_Up:
        MoveCurrent(col_, row_ - 1);
        break;
    case Qt::Key_Down:
        MoveCurrent(col_, row_ + 1);
        break;
    case Qt::Key_Home:
        MoveCurrent(fixedCols_, row_);
        break;
    case Qt::Key_End:
        MoveCurrent(ColCount() - 1, row_);
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
}

void TRxDrawGrid::FireFocus()
{
    update();
    if (OnChangeFocus)
        OnChangeFocus(this);
}

void TRxDrawGrid::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    FireFocus();
}

void TRxDrawGrid::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    FireFocus();
}

bool TRxDrawGrid::event(QEvent* e)
{
    // Losing the active window cancels whatever the mouse was doing.
    if (e->type() == QEvent::WindowDeactivate) {
        StopTracking();
        sizing_ = -1;
    }
    return QWidget::event(e);
}

// ---------------------------------------------------------------- storage

void TRxDrawGrid::SaveWidths()
{
    TCustomIniFile* ini = iniLink_.IniObject();
    if (objectName().isEmpty() || !ini)
        return;
    const std::string section = iniLink_.RootSection() + vx::GetDefaultSection(this);
    for (int i = 0; i < ColCount(); ++i)
        vx::IniWriteInteger(ini, section, "Item" + std::to_string(i), ColWidths(i));
}

void TRxDrawGrid::LoadWidths()
{
    TCustomIniFile* ini = iniLink_.IniObject();
    if (objectName().isEmpty() || !ini)
        return;
    const std::string section = iniLink_.RootSection() + vx::GetDefaultSection(this);
    for (int i = 0; i < ColCount(); ++i)
        SetColWidths(i, vx::IniReadInteger(ini, section, "Item" + std::to_string(i), ColWidths(i)));
}
