// The speed bar's items, their buttons, the floating drag image and the sections.
#include "controls/speedbar/SpeedBar.h"

#include "controls/common/RXConst.h"
#include "platform/qt/QtText.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vx {

std::string SpeedItemHintFor(const std::string& newCaption, const std::string& oldHint)
{
    const auto oldBar = oldHint.find('|');
    const std::string oldLong = oldBar == std::string::npos ? std::string() : oldHint.substr(oldBar + 1);
    const auto bar = newCaption.find('|');
    if (bar != std::string::npos) {
        if (bar + 1 < newCaption.size())
            return newCaption;
        return newCaption.substr(0, bar) + "|" + oldLong;
    }
    return newCaption + "|" + oldLong;
}

} // namespace vx

// --- the button

TSpeedbarButton::~TSpeedbarButton()
{
    StopDrag();
}

TSpeedbarButton::TSpeedbarButton(TSpeedItem* item) : item_(item)
{
    hide();
    SetStyle(TRxButtonStyle::bsNew);
    setGeometry(0, 0, 24, 23);
}

bool TSpeedbarButton::Editing() const
{
    return item_->Editing() && item_->SpeedBar();
}

// The bar's image list stands in for the item's own glyph while the item has an image in it.
void TSpeedbarButton::SyncImageGlyph()
{
    const TSpeedBar* bar = item_->SpeedBar();
    const vx::TImageList* images = bar ? bar->Images() : nullptr;
    const int index = item_->ImageIndex();
    const bool useImage = images && index >= 0 && index < images->Count();
    if (useImage) {
        SetGlyph(images->Image(index).toImage());
        SetNumGlyphs(1);
    } else if (usingImage_) {
        SetGlyph(ownGlyph_);
        SetNumGlyphs(ownNumGlyphs_);
    }
    usingImage_ = useImage;
}

QImage TSpeedbarButton::FaceImage()
{
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    facePaint_ = true;
    render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    facePaint_ = false;
    return image;
}

void TSpeedbarButton::MoveTo(int left, int top)
{
    if (const TSpeedBar* bar = item_->SpeedBar()) {
        if (bar->Vertical())
            left = std::max(left, bar->BtnOffsetHorz());
        else
            top = std::max(top, bar->BtnOffsetVert());
    }
    move(left, top);
}

void TSpeedbarButton::paintEvent(QPaintEvent* e)
{
    if (isVisible() || facePaint_)
        TRxSpeedButton::paintEvent(e);
}

bool TSpeedbarButton::ShowHint() const
{
    const TSpeedBar* bar = item_->SpeedBar();
    return parentShowHint_ && bar ? bar->ShowHint() : showHint_;
}

void TSpeedbarButton::SetShowHint(bool value)
{
    showHint_ = value;
    parentShowHint_ = false;
}

bool TSpeedbarButton::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip && !ShowHint()) {
        e->ignore();
        return true;
    }
    return TRxSpeedButton::event(e);
}

void TSpeedbarButton::mousePressEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (item_->OnMouseDown)
        item_->OnMouseDown(this, e->button(), e->modifiers(), p.x(), p.y());
    if (!Editing()) {
        TRxSpeedButton::mousePressEvent(e);
        return;
    }
    if (e->button() != Qt::LeftButton || !item_->Visible())
        return;
    const TSpeedBar* bar = item_->SpeedBar();
    QCursor::setPos(mapToGlobal(QPoint(bar->BtnWidth(), bar->BtnHeight())));
    raise();
    floating_ = std::make_unique<TBtnControl>();
    floating_->InitButton(item_);
    dragBar_ = item_->SpeedBar();
    setCursor(floating_->cursor());
}

void TSpeedbarButton::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (item_->OnMouseMove)
        item_->OnMouseMove(this, Qt::NoButton, e->modifiers(), p.x(), p.y());
    if (!floating_) {
        TRxSpeedButton::mouseMoveEvent(e);
        return;
    }
    DragTo(e->globalPosition().toPoint());
}

void TSpeedbarButton::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (item_->OnMouseUp)
        item_->OnMouseUp(this, e->button(), e->modifiers(), p.x(), p.y());
    if (!floating_) {
        TRxSpeedButton::mouseReleaseEvent(e);
        return;
    }
    DragEnd(e->globalPosition().toPoint());
}

// Once hidden the button hears no more of the mouse, so the bar holds the
// mouse for the rest of the drag and its moves and the release come here.
bool TSpeedbarButton::eventFilter(QObject* watched, QEvent* e)
{
    if (!floating_ || watched != dragBar_)
        return TRxSpeedButton::eventFilter(watched, e);
    if (e->type() == QEvent::MouseMove) {
        DragTo(static_cast<QMouseEvent*>(e)->globalPosition().toPoint());
        return true;
    }
    if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        DragEnd(static_cast<QMouseEvent*>(e)->globalPosition().toPoint());
        return true;
    }
    return e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
}

void TSpeedbarButton::DragTo(QPoint screenPoint)
{
    TSpeedBar* bar = dragBar_;
    if (!bar || item_->SpeedBar() != bar) {
        StopDrag(); // the item left its bar meanwhile
        return;
    }
    if (isVisible()) {
        hide();
        bar->installEventFilter(this);
        bar->grabMouse();
    }
    const QPoint topLeft = screenPoint - QPoint(floating_->width(), floating_->height());
    if (bar->rect().contains(bar->mapFromGlobal(topLeft)))
        floating_->ShowAt(topLeft);
    else
        floating_->hide();
}

void TSpeedbarButton::StopDrag()
{
    if (TSpeedBar* bar = dragBar_) {
        bar->removeEventFilter(this);
        if (QWidget::mouseGrabber() == bar)
            bar->releaseMouse();
    }
    dragBar_ = nullptr;
    floating_.reset();
    unsetCursor();
}

void TSpeedbarButton::DragEnd(QPoint screenPoint)
{
    TSpeedBar* bar = dragBar_;
    const QSize size = floating_->size();
    StopDrag();
    if (!bar || item_->SpeedBar() != bar)
        return;
    // Shown again for the drop to place; the outcomes that hide the item hide it.
    show();
    const QPoint point = bar->mapFromGlobal(screenPoint - QPoint(size.width(), size.height()));
    if (!bar->rect().contains(point)) {
        lower();
        item_->SetVisible(false);
        bar->Notify(sbnChanged);
    } else if (bar->AcceptDropItem(item_, point.x(), point.y())) {
        bar->Notify(sbnButtonDropped, item_);
        update();
    } else {
        bar->Notify(sbnChanged);
    }
}

void TSpeedbarButton::enterEvent(QEnterEvent* e)
{
    TRxSpeedButton::enterEvent(e);
    if (item_->OnMouseEnter)
        item_->OnMouseEnter(this);
}

void TSpeedbarButton::leaveEvent(QEvent* e)
{
    TRxSpeedButton::leaveEvent(e);
    if (item_->OnMouseLeave)
        item_->OnMouseLeave(this);
}

// --- the floating image

TBtnControl::TBtnControl()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setCursor(vx::ScreenCursor(vx::crDragHand));
}

void TBtnControl::InitButton(TSpeedItem* item)
{
    TSpeedbarButton* button = item->Button();
    if (const TSpeedBar* bar = item->SpeedBar())
        button->resize(bar->BtnWidth(), bar->BtnHeight());
    image_ = button->FaceImage();
    resize(button->size());
}

void TBtnControl::ShowAt(QPoint screenPoint)
{
    move(screenPoint);
    show();
    raise();
}

void TBtnControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

// --- the item

TSpeedItem::TSpeedItem(QObject* owner) : QObject(owner), button_(new TSpeedbarButton(this))
{
}

TSpeedItem::~TSpeedItem()
{
    if (bar_) {
        visible_ = false;
        bar_->RemoveItem(this);
    }
    delete button_.data();
}

void TSpeedItem::SetSectionIndex(int value)
{
    if (bar_ && sectionIndex_ >= 0)
        bar_->AddItem(value, this);
    else
        sectionIndex_ = value;
}

void TSpeedItem::UpdateButton()
{
    if (!button_)
        return;
    const bool barShown = bar_ && !bar_->isHidden();
    if (visible_ && bar_ && button_->parentWidget() != bar_)
        button_->setParent(bar_);
    button_->setVisible(visible_ && barShown);
    const bool editing = editing_ && bar_;
    button_->setEnabled(editing || (enabled_ && (!bar_ || bar_->isEnabled())));
    button_->SetFlat(!editing && bar_ && (bar_->Options() & sbFlatBtns));
    button_->SyncImageGlyph();
}

void TSpeedItem::SetEditing(bool value)
{
    editing_ = value;
    UpdateButton();
}

void TSpeedItem::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateButton();
}

void TSpeedItem::SetVisible(bool value)
{
    if (value == visible_)
        return;
    visible_ = value;
    UpdateButton();
}

void TSpeedItem::SetImageIndex(int value)
{
    if (value == imageIndex_)
        return;
    imageIndex_ = value;
    button_->ButtonGlyph().Invalidate();
    button_->SyncImageGlyph();
    button_->update();
}

void TSpeedItem::SetTag(int value)
{
    tag_ = value;
    button_->setProperty("Tag", value);
}

// The hint follows the caption while they agree, and never on an item of a control still being built.
void TSpeedItem::SetCaption(const std::string& value)
{
    if (value == caption_)
        return;
    const std::string hint = Hint();
    const std::string shortHint = hint.substr(0, hint.find('|'));
    if (caption_ == shortHint)
        SetHint(vx::SpeedItemHintFor(value, hint));
    caption_ = value;
}

std::string TSpeedItem::Name() const
{
    return vx::FromQString(objectName());
}

void TSpeedItem::SetName(const std::string& value)
{
    const std::string old = Name();
    setObjectName(vx::ToQString(value));
    if (caption_ == old)
        SetCaption(value);
}

QFont TSpeedItem::Font() const
{
    return button_->font();
}

void TSpeedItem::SetFont(const QFont& value)
{
    button_->setFont(value);
}

bool TSpeedItem::ParentFont() const
{
    return !button_->testAttribute(Qt::WA_SetFont);
}

void TSpeedItem::SetParentFont(bool value)
{
    if (value)
        button_->setFont(QFont());
    else
        button_->setFont(button_->font());
}

QCursor TSpeedItem::Cursor() const
{
    return button_->cursor();
}

void TSpeedItem::SetCursor(const QCursor& value)
{
    button_->setCursor(value);
}

void TSpeedItem::SetGlyph(const QImage& value)
{
    button_->ownGlyph_ = value;
    if (!button_->usingImage_) {
        button_->SetGlyph(value);
        button_->ownNumGlyphs_ = button_->NumGlyphs();
    }
}

void TSpeedItem::SetNumGlyphs(int value)
{
    button_->ownNumGlyphs_ = value;
    if (!button_->usingImage_) {
        button_->SetNumGlyphs(value);
        button_->ownNumGlyphs_ = button_->NumGlyphs();
    }
}

std::string TSpeedItem::Hint() const
{
    return vx::FromQString(button_->toolTip());
}

void TSpeedItem::SetHint(const std::string& value)
{
    button_->setToolTip(vx::ToQString(value));
}

int TSpeedItem::Left() const
{
    return button_->x();
}

void TSpeedItem::SetLeft(int value)
{
    button_->MoveTo(value, button_->y());
}

int TSpeedItem::Top() const
{
    return button_->y();
}

void TSpeedItem::SetTop(int value)
{
    button_->MoveTo(button_->x(), value);
}

void TSpeedItem::ButtonClick()
{
    button_->ButtonClick();
}

// --- the section

TSpeedbarSection::TSpeedbarSection(QObject* owner) : QObject(owner)
{
}

TSpeedbarSection::~TSpeedbarSection()
{
    while (!items_.empty())
        delete items_.back();
    if (bar_)
        bar_->sections_.erase(std::find(bar_->sections_.begin(), bar_->sections_.end(), this));
}

void TSpeedbarSection::SetCaption(const std::string& value)
{
    if (value == caption_)
        return;
    if (bar_ && bar_->SearchSection(value) >= 0)
        throw ESpeedbarError("String list does not allow duplicates");
    caption_ = value;
}

int TSpeedbarSection::Index() const
{
    if (!bar_)
        return -1;
    const auto& list = bar_->sections_;
    return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TSpeedbarSection::SetIndex(int value)
{
    if (!bar_)
        return;
    auto& list = bar_->sections_;
    const int last = int(list.size()) - 1;
    value = std::clamp(value, 0, last);
    const int current = Index();
    if (value == current)
        return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + value, this);
    bar_->ReindexSections();
}

void TSpeedbarSection::SetSpeedBar(TSpeedBar* bar)
{
    if (bar == bar_)
        return;
    const int index = Index();
    if (bar_)
        bar_->RemoveSection(index);
    if (bar) {
        bar->AddSection(this);
        if (index >= 0)
            SetIndex(index);
    }
}
