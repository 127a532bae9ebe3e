// The speed button: states, groups, auto-repeat, drop-down menu and painting.
#include "controls/buttons/RXCtrls.h"

#include "controls/common/SysColors.h"
#include "controls/flat/FlatUtilitys.h"
#include "controls/common/VCLUtils.h"
#include "controls/menus/PopupAlignment.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QTimer>

namespace {

int gLiveButtons = 0;

} // namespace

int TRxSpeedButton::LiveButtons()
{
    return gLiveButtons;
}

TRxSpeedButton::TRxSpeedButton(QWidget* parent) : QWidget(parent)
{
    ++gLiveButtons;
    resize(25, 25);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

TRxSpeedButton::~TRxSpeedButton()
{
    --gLiveButtons;
}

void TRxSpeedButton::SetAction(QAction* value)
{
    if (value == action_)
        return;
    if (action_)
        QObject::disconnect(action_, nullptr, this, nullptr);
    action_ = value;
    if (!value)
        return;
    QObject::connect(value, &QAction::changed, this, [this] { ActionChange(); });
    ActionChange();
}

void TRxSpeedButton::ActionChange()
{
    if (!action_)
        return;
    SetCaption(vx::FromQString(action_->text()));
    setEnabled(action_->isEnabled());
    setToolTip(action_->toolTip());
    if (groupIndex_ != 0)
        SetDown(action_->isChecked());
    if (glyph_.Glyph().isNull() && !action_->icon().isNull()) {
        glyph_.SetGlyph(vx::IconGlyph(action_->icon()));
        glyph_.SetTransparentColor(qRgb(255, 0, 255));
        update();
    }
}

void TRxSpeedButton::SetAlignment(TRxAlignment value)
{
    glyph_.SetAlignment(value);
    update();
}

void TRxSpeedButton::SetAllowTimer(bool value)
{
    allowTimer_ = value;
    if (!value)
        repeatTimer_.reset();
}

void TRxSpeedButton::SetDown(bool value)
{
    if (Latch(value))
        update();
}

void TRxSpeedButton::SetDropDownMenu(QMenu* value)
{
    menu_ = value;
    update();
}

void TRxSpeedButton::SetFlat(bool value)
{
    flat_ = value;
    update();
}

void TRxSpeedButton::SetGlyph(const QImage& value)
{
    glyph_.SetGlyph(value);
    update();
}

void TRxSpeedButton::SetGrayedInactive(bool value)
{
    grayedInactive_ = value;
    update();
}

void TRxSpeedButton::SetLayout(TRxButtonLayout value)
{
    layout_ = value;
    update();
}

void TRxSpeedButton::SetMargin(int value)
{
    if (value < -1)
        return;
    margin_ = value;
    update();
}

void TRxSpeedButton::SetMarkDropDown(bool value)
{
    markDropDown_ = value;
    update();
}

void TRxSpeedButton::SetNumGlyphs(int value)
{
    glyph_.SetNumGlyphs(value);
    update();
}

void TRxSpeedButton::SetSpacing(int value)
{
    spacing_ = value;
    update();
}

void TRxSpeedButton::SetStyle(TRxButtonStyle value)
{
    style_ = value;
    update();
}

void TRxSpeedButton::SetTransparent(bool value)
{
    transparent_ = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TRxSpeedButton::SetWordWrap(bool value)
{
    glyph_.SetWordWrap(value);
    update();
}

void TRxSpeedButton::SetCaption(const std::string& value)
{
    caption_ = value;
    shortcutId_ = vx::GrabMnemonic(*this, shortcutId_, value);
    update();
}

void TRxSpeedButton::SetFontColor(TColor value)
{
    fontColor_ = value;
    update();
}

void TRxSpeedButton::Click()
{
    vx::EndModal(*this, modalResult_);
    if (OnClick)
        OnClick(this);
    else if (action_)
        action_->trigger();
}

void TRxSpeedButton::ButtonClick()
{
    if (!isEnabled() || CheckMenuDropdown())
        return;
    if (!down_) {
        state_ = rbsDown;
        repaint();
    }
    QThread::msleep(20);
    if (groupIndex_ == 0) {
        Click();
        state_ = rbsUp;
    } else {
        state_ = rbsUp;
        SetDown(!down_);
        Click();
    }
    update();
}

QPoint TRxSpeedButton::DropDownMenuPos() const
{
    const TPopupAlignment alignment = menu_ ? PopupAlignment(*menu_) : paLeft;
    if (alignment == paCenter)
        return {width() / 2, height()};
    if (menuPosition_ == TDropDownMenuPos::dmpBottom)
        return alignment == paRight ? QPoint(width() + 1, height()) : QPoint(-1, height());
    return alignment == paRight ? QPoint(-1, -1) : QPoint(width(), -1);
}

bool TRxSpeedButton::CheckMenuDropdown()
{
    if (!menu_)
        return false;
    ExecPopup(*menu_, mapToGlobal(DropDownMenuPos()));
    return true;
}

TRxButtonState TRxSpeedButton::PaintState() const
{
    if (!isEnabled())
        return rbsDisabled;
    if (flat_ && !MouseInControl() && grayedInactive_)
        return rbsInactive;
    return state_;
}

void TRxSpeedButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled())
        return;
    if (BeginDrag())
        repaint();
    menuTracking_ = true;
    if (CheckMenuDropdown()) {
        // The menu ran its own loop; the release it swallowed is handled now.
        dragging_ = false;
        if (!down_)
            state_ = rbsUp;
        update();
    }
    menuTracking_ = false;
    if (allowTimer_ && dragging_) {
        if (!repeatTimer_) {
            repeatTimer_ = std::make_unique<QTimer>();
            QObject::connect(repeatTimer_.get(), &QTimer::timeout, [this] { TimerExpired(); });
        }
        repeatTimer_->start(initPause_);
    }
}

void TRxSpeedButton::TimerExpired()
{
    // A tick without a timer (auto-repeat turned off meanwhile) repeats nothing.
    if (!repeatTimer_)
        return;
    repeatTimer_->setInterval(repeatInterval_);
    if (state_ == rbsDown && dragging_) {
        try {
            Click();
        } catch (...) {
            repeatTimer_->stop();
            throw;
        }
    }
}

void TRxSpeedButton::mouseMoveEvent(QMouseEvent* e)
{
    const bool inside = rect().contains(e->position().toPoint());
    UpdateTracking(inside);
    if (dragging_)
        DragTo(inside);
}

void TRxSpeedButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    const bool inside = rect().contains(e->position().toPoint());
    if (groupIndex_ == 0) {
        state_ = rbsUp;
    } else if (inside) {
        SetDown(!down_);
    } else if (down_) {
        state_ = rbsExclusive;
    }
    if (repeatTimer_)
        repeatTimer_->stop();
    update();
    if (inside)
        Click();
    UpdateTracking(inside);
}

// The second press of a double click presses nothing, so a double click on a
// down button of a group leaves it down.
void TRxSpeedButton::mouseDoubleClickEvent(QMouseEvent*)
{
    if (down_ && OnDblClick)
        OnDblClick(this);
}

void TRxSpeedButton::UpdateTracking(bool inside)
{
    if (TrackMouse(*this, inside, dragging_))
        update();
}

void TRxSpeedButton::enterEvent(QEnterEvent*)
{
    UpdateTracking(true);
}

void TRxSpeedButton::leaveEvent(QEvent*)
{
    UpdateTracking(false);
}

void TRxSpeedButton::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    switch (e->type()) {
    case QEvent::EnabledChange:
        CorrectState();
        if (!isEnabled())
            UpdateTracking(false);
        update();
        break;
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        glyph_.Invalidate();
        update();
        break;
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
}

bool TRxSpeedButton::event(QEvent* e)
{
    if (vx::IsMnemonic(e, shortcutId_)) {
        if (isEnabled())
            Click();
        return true;
    }
    return QWidget::event(e);
}

void TRxSpeedButton::paintEvent(QPaintEvent*)
{
    CorrectState();
    QPainter p(this);
    p.fillRect(rect(), vx::ToQColor(clBtnFace));
    if (transparent_)
        vx::CopyParentImage(this, p);

    QRect r = rect();
    const bool pressed = state_ == rbsDown || state_ == rbsExclusive;
    if (flat_ && !MouseInControl() && state_ != rbsExclusive) {
        r.adjust(2, 2, -2, -2);
    } else {
        if (!pressed) {
            if (NewStyle() && !flat_) {
                vx::Frame3D(p, r, clBtnHighlight, clWindowFrame);
                vx::Frame3D(p, r, clBtnFace, clBtnShadow);
            } else if (NewStyle()) {
                vx::Frame3D(p, r, clBtnHighlight, clBtnShadow);
            } else if (!flat_) {
                vx::Frame3D(p, r, clWindowFrame, clWindowFrame);
                vx::Frame3D(p, r, clBtnHighlight, clBtnShadow);
            } else {
                vx::Frame3D(p, r, clBtnHighlight, clWindowFrame);
            }
        } else if (NewStyle()) {
            vx::Frame3D(p, r, clWindowFrame, clBtnHighlight);
            if (!flat_)
                vx::Frame3D(p, r, clBtnShadow, clBtnFace);
        } else if (!flat_) {
            vx::Frame3D(p, r, clWindowFrame, clWindowFrame);
            p.fillRect(r.left(), r.top(), r.width(), 1, vx::ToQColor(clBtnShadow));
            p.fillRect(r.left(), r.top(), 1, r.height(), vx::ToQColor(clBtnShadow));
        } else {
            vx::Frame3D(p, r, clWindowFrame, clBtnHighlight);
        }
        r.adjust(1, 1, -1, -1);
    }
    if (state_ == rbsExclusive && !flat_) {
        QImage dither(2, 2, QImage::Format_RGB32);
        const QRgb face = vx::ToQColor(clBtnFace).rgb(), light = vx::ToQColor(clBtnHighlight).rgb();
        dither.setPixel(0, 0, face);
        dither.setPixel(1, 1, face);
        dither.setPixel(1, 0, light);
        dither.setPixel(0, 1, light);
        p.fillRect(r, QBrush(dither));
    }
    p.setFont(font());
    glyph_.Draw(p, r, pressed ? QPoint(1, 1) : QPoint(0, 0), caption_, layout_, margin_, spacing_,
                markDropDown_ && menu_, PaintState(), fontColor_);
}
