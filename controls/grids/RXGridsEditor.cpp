// The grid's in-place editor with its ellipsis or pick-list button, and the
// pick list with incremental search.
#include "controls/grids/RXGridsEditor.h"

#include "controls/common/SysColors.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace {

// A typed search goes on while keys come closer together than this.
constexpr std::int64_t SearchPause = 4000;
constexpr int MaxSearchLength = 32;

} // namespace

// ------------------------------------------------------------ TPopupListbox

TPopupListbox::TPopupListbox(QWidget* owner)
    : QListWidget(owner),
      Clock([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    // A window of its own that the owner still deletes.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::Box);
    setUniformItemSizes(true);
    setMouseTracking(true);
}

void TPopupListbox::keyPressEvent(QKeyEvent* e)
{
    const QString typed = e->text();
    if (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Escape) {
        searchText_.clear();
        return;
    }
    if (typed.size() == 1 && typed[0].isPrint()) {
        const std::int64_t now = Clock();
        if (now - lastKey_ > SearchPause)
            searchText_.clear();
        lastKey_ = now;
        if (searchText_.size() < MaxSearchLength)
            searchText_ += typed;
        for (int i = 0; i < count(); ++i) {
            if (item(i)->text().startsWith(searchText_, Qt::CaseInsensitive)) {
                setCurrentRow(i);
                break;
            }
        }
        return;
    }
    QListWidget::keyPressEvent(e);
}

void TPopupListbox::mouseReleaseEvent(QMouseEvent* e)
{
    QListWidget::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && onClose_)
        onClose_(rect().contains(e->position().toPoint()));
}

// ----------------------------------------------------------- TRxInplaceEdit

namespace vx {

TEllipsisDots EllipsisDots(int buttonLeft, int buttonWidth, bool pressed)
{
    const int size = std::clamp((buttonWidth - 12) / 2, 1, 3);
    return {size, buttonLeft + (buttonWidth - 6 - 2 * size) / 2 + (pressed ? 1 : 0)};
}

} // namespace vx

TRxInplaceEdit::TRxInplaceEdit(TRxDrawGrid* grid)
    : QLineEdit(grid), grid_(grid), buttonWidth_(style()->pixelMetric(QStyle::PM_ScrollBarExtent))
{
    setFrame(false);
    setMouseTracking(true);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (grid_->OnEditChange)
            grid_->OnEditChange(grid_);
    });
}

void TRxInplaceEdit::SetAlignment(vx::TAlignment value)
{
    alignment_ = value;
    setAlignment((value == vx::taRightJustify ? Qt::AlignRight
                  : value == vx::taCenter     ? Qt::AlignHCenter
                                              : Qt::AlignLeft) |
                 Qt::AlignVCenter);
}

void TRxInplaceEdit::SetEditStyle(TInplaceEditStyle value)
{
    if (editStyle_ == value)
        return;
    if (listVisible_)
        CloseUp(false);
    editStyle_ = value;
    // The text stays clear of the button.
    setTextMargins(0, 0, value == ieSimple ? 0 : buttonWidth_, 0);
    update();
}

QRect TRxInplaceEdit::ButtonRect() const
{
    if (editStyle_ == ieSimple)
        return {};
    return {width() - buttonWidth_, 0, buttonWidth_, height()};
}

TPopupListbox* TRxInplaceEdit::PickList()
{
    if (!pickList_) {
        pickList_ = new TPopupListbox(this);
        pickList_->onClose_ = [this](bool accept) { CloseUp(accept); };
    }
    return pickList_;
}

void TRxInplaceEdit::DropDown()
{
    if (listVisible_ || editStyle_ != iePickList)
        return;
    TPopupListbox* list = PickList();
    list->setPalette(palette());
    list->setFont(font());
    const int rows = std::min(list->count(), TPopupListbox::MaxRows);
    const int itemHeight = std::max(11, list->sizeHintForRow(0));
    int listWidth = width();
    for (int i = 0; i < list->count(); ++i)
        listWidth = std::max(listWidth, list->fontMetrics().horizontalAdvance(list->item(i)->text()) + 8);
    if (list->count() > TPopupListbox::MaxRows)
        listWidth += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    list->setVerticalScrollBarPolicy(list->count() > TPopupListbox::MaxRows ? Qt::ScrollBarAlwaysOn
                                                                           : Qt::ScrollBarAlwaysOff);
    const int listHeight = rows * itemHeight + 4;
    QPoint at = mapToGlobal(QPoint(0, height()));
    const QScreen* screen = this->screen();
    if (screen && at.y() + listHeight > screen->geometry().bottom())
        at = mapToGlobal(QPoint(0, -listHeight));
    const QList<QListWidgetItem*> same = list->findItems(text(), Qt::MatchExactly);
    list->setCurrentItem(same.isEmpty() ? nullptr : same.front());
    list->setGeometry(QRect(at, QSize(listWidth, listHeight)));
    list->searchText_.clear();
    list->show();
    listVisible_ = true;
    update();
}

void TRxInplaceEdit::CloseUp(bool accept)
{
    if (!listVisible_)
        return;
    listVisible_ = false;
    StopTracking();
    pickList_->hide();
    if (accept && pickList_->currentItem() && !isReadOnly()) {
        setText(pickList_->currentItem()->text());
        selectAll();
        if (grid_->OnEditChange)
            grid_->OnEditChange(grid_);
    }
    update();
}

void TRxInplaceEdit::ButtonClick()
{
    if (grid_->OnEditButtonClick)
        grid_->OnEditButtonClick(grid_);
}

void TRxInplaceEdit::SetPressed(bool value)
{
    if (pressed_ == value)
        return;
    pressed_ = value;
    update(ButtonRect());
}

void TRxInplaceEdit::StopTracking()
{
    tracking_ = false;
    SetPressed(false);
}

void TRxInplaceEdit::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    if (editStyle_ == ieSimple)
        return;
    QPainter canvas(this);
    DrawButton(canvas);
}

void TRxInplaceEdit::DrawButton(QPainter& canvas)
{
    const QRect button = ButtonRect();
    if (editStyle_ == ieEllipsis) {
        canvas.fillRect(button, vx::ToQColor(clBtnFace));
        if (!pressed_) {
            QRect edge = button;
            vx::Frame3D(canvas, edge, clBtnHighlight, clWindowFrame);
        }
        const vx::TEllipsisDots dots = vx::EllipsisDots(button.left(), button.width(), pressed_);
        const int y = (height() - 2) / 2 + (pressed_ ? 1 : 0);
        for (int i = 0; i < 3; ++i)
            canvas.fillRect(dots.left + i * (dots.size + 2), y, dots.size, dots.size, Qt::black);
        return;
    }
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = button;
    option.state = QStyle::State_Raised;
    if (pressed_)
        option.state = QStyle::State_Sunken;
    if (isEnabled() && pickList_ && pickList_->count() > 0)
        option.state |= QStyle::State_Enabled;
    else
        option.state &= ~QStyle::State_Enabled;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &canvas, this);
    option.rect = button.adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &canvas, this);
}

void TRxInplaceEdit::keyPressEvent(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (editStyle_ == iePickList && mods == Qt::AltModifier && (key == Qt::Key_Down || key == Qt::Key_Up)) {
        listVisible_ ? CloseUp(true) : DropDown();
        return;
    }
    if (listVisible_) {
        if (enter || key == Qt::Key_Escape) {
            CloseUp(enter);
            return;
        }
        QApplication::sendEvent(pickList_, e);
        return;
    }
    if (editStyle_ == ieEllipsis && enter && mods == Qt::ControlModifier) {
        ButtonClick();
        return;
    }
    const QString typed = e->text();
    if (typed.size() == 1 && typed[0].unicode() >= 32 && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        char ch = vx::FromQString(typed).front();
        if (!grid_->CanEditAcceptKey(ch))
            return;
    }
    if (grid_->EditorKey(e))
        return;
    QLineEdit::keyPressEvent(e);
}

void TRxInplaceEdit::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !ButtonRect().contains(e->position().toPoint())) {
        QLineEdit::mousePressEvent(e);
        return;
    }
    if (listVisible_) {
        CloseUp(false);
        return;
    }
    tracking_ = true;
    SetPressed(true);
    if (editStyle_ == iePickList)
        DropDown();
}

void TRxInplaceEdit::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    setCursor(ButtonRect().contains(pos) ? Qt::ArrowCursor : Qt::IBeamCursor);
    if (!tracking_) {
        QLineEdit::mouseMoveEvent(e);
        return;
    }
    SetPressed(ButtonRect().contains(pos));
    if (listVisible_) {
        // Dragging into the open list picks the item under the mouse.
        const QPoint inList = pickList_->viewport()->mapFromGlobal(e->globalPosition().toPoint());
        if (pickList_->viewport()->rect().contains(inList)) {
            if (QListWidgetItem* item = pickList_->itemAt(inList))
                pickList_->setCurrentItem(item);
        }
    }
}

void TRxInplaceEdit::mouseReleaseEvent(QMouseEvent* e)
{
    if (!tracking_ || e->button() != Qt::LeftButton) {
        QLineEdit::mouseReleaseEvent(e);
        return;
    }
    const bool click = pressed_ && editStyle_ == ieEllipsis;
    if (listVisible_) {
        const QPoint inList = pickList_->mapFromGlobal(e->globalPosition().toPoint());
        if (pickList_->rect().contains(inList)) {
            CloseUp(true);
            return;
        }
    }
    StopTracking();
    if (click)
        ButtonClick();
}

void TRxInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (!ButtonRect().contains(e->position().toPoint()))
        QLineEdit::mouseDoubleClickEvent(e);
}

void TRxInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    // A window system that activates the pick list as it shows it takes the
    // focus away only to the list: that leaves it open.
    if (!pickList_ || QApplication::activeWindow() != pickList_)
        CloseUp(false);
    QLineEdit::focusOutEvent(e);
}

void TRxInplaceEdit::hideEvent(QHideEvent* e)
{
    CloseUp(false);
    QLineEdit::hideEvent(e);
}
