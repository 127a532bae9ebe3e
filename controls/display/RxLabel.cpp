// The shadow label and the button picture.
#include "controls/display/RxLabel.h"

#include "controls/common/SysColors.h"
#include "controls/flat/FlatUtilitys.h"
#include "controls/common/VCLUtils.h"
#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace vx {

QPoint ShadowOffset(TShadowPosition position, int size)
{
    switch (position) {
    case TShadowPosition::spLeftTop: return QPoint(-size, -size);
    case TShadowPosition::spLeftBottom: return QPoint(-size, size);
    case TShadowPosition::spRightBottom: return QPoint(size, size);
    case TShadowPosition::spRightTop: return QPoint(size, -size);
    }
    return QPoint();
}

} // namespace vx

TRxLabel::TRxLabel(QWidget* parent) : QWidget(parent)
{
    resize(65, 17);
}

void TRxLabel::SetCaption(const std::string& value)
{
    caption_ = value;
    UpdateShortcut();
    AdjustBounds();
    update();
}

void TRxLabel::SetAlignment(TRxAlignment value)
{
    alignment_ = value;
    update();
}

void TRxLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustBounds();
}

void TRxLabel::SetFocusControl(QWidget* value)
{
    if (focusControl_)
        focusControl_->removeEventFilter(this);
    focusControl_ = value;
    if (value)
        value->installEventFilter(this);
    UpdateShortcut();
}

void TRxLabel::SetLayout(TTextLayout value)
{
    layout_ = value;
    update();
}

void TRxLabel::SetShadowColor(TColor value)
{
    shadowColor_ = value;
    update();
}

void TRxLabel::SetShadowSize(int value)
{
    shadowSize_ = std::clamp(value, 0, 255);
    AdjustBounds();
    update();
}

void TRxLabel::SetShadowPos(TShadowPosition value)
{
    shadowPos_ = value;
    update();
}

void TRxLabel::SetShowAccelChar(bool value)
{
    showAccelChar_ = value;
    UpdateShortcut();
    AdjustBounds();
    update();
}

void TRxLabel::SetShowFocus(bool value)
{
    showFocus_ = value;
    update();
}

void TRxLabel::SetTransparent(bool value)
{
    transparent_ = value;
    update();
}

void TRxLabel::SetWordWrap(bool value)
{
    wordWrap_ = value;
    AdjustBounds();
    update();
}

TColor TRxLabel::Color() const
{
    if (parentColor_ && parentWidget())
        return vx::WidgetColor(parentWidget());
    return color_;
}

void TRxLabel::SetColor(TColor value)
{
    color_ = value;
    parentColor_ = false;
    update();
}

void TRxLabel::SetParentColor(bool value)
{
    parentColor_ = value;
    update();
}

int TRxLabel::TextFlags() const
{
    int flags = Qt::TextExpandTabs | Qt::AlignTop;
    if (wordWrap_)
        flags |= Qt::TextWordWrap;
    if (showAccelChar_)
        flags |= Qt::TextShowMnemonic;
    switch (alignment_) {
    case TRxAlignment::taLeftJustify: flags |= Qt::AlignLeft; break;
    case TRxAlignment::taRightJustify: flags |= Qt::AlignRight; break;
    case TRxAlignment::taCenter: flags |= Qt::AlignHCenter; break;
    }
    return flags;
}

QString TRxLabel::DisplayText(bool measuring) const
{
    if (measuring && (caption_.empty() || (showAccelChar_ && caption_ == "&")))
        return " ";
    return vx::ToQString(caption_);
}

void TRxLabel::EffectiveShadow(int& size, TShadowPosition& position) const
{
    size = shadowSize_;
    position = shadowPos_;
    if (!isEnabled() && size == 0) {
        size = 1;
        position = TShadowPosition::spRightBottom;
    }
}

QSize TRxLabel::TextExtent(int width) const
{
    const QFontMetrics fm(font());
    const QRect box(0, 0, wordWrap_ ? width : 0x7FFF, 0x7FFF);
    QSize size = fm.boundingRect(box, TextFlags(), DisplayText(true)).size();
    int shadow;
    TShadowPosition position;
    EffectiveShadow(shadow, position);
    size.rheight() += shadow;
    return size;
}

void TRxLabel::AdjustBounds()
{
    if (!autoSize_)
        return;
    const QSize text = TextExtent(width() - 2);
    const int newWidth = text.width() + 2;
    const int right = x() + width();
    if (alignment_ == TRxAlignment::taRightJustify)
        setGeometry(right - newWidth, y(), newWidth, text.height());
    else
        resize(newWidth, text.height());
}

void TRxLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!transparent_)
        p.fillRect(rect(), vx::ToQColor(Color()));
    p.setFont(font());
    QRect r = rect().adjusted(1, 0, -1, 0);
    if (layout_ != TTextLayout::tlTop) {
        const int textHeight = TextExtent(r.width()).height();
        const int room = height() - textHeight;
        r.translate(0, layout_ == TTextLayout::tlCenter ? room / 2 : room);
    }
    int shadow;
    TShadowPosition position;
    EffectiveShadow(shadow, position);
    const QColor shadowColor = vx::ToQColor(isEnabled() ? shadowColor_ : clBtnHighlight);
    const QColor textColor = isEnabled() ? palette().color(QPalette::WindowText) : vx::ToQColor(clGrayText);
    const QString text = DisplayText(false);
    if (shadow > 0) {
        p.setPen(shadowColor);
        p.drawText(r.translated(vx::ShadowOffset(position, shadow)), TextFlags(), text);
    }
    p.setPen(textColor);
    p.drawText(r, TextFlags(), text);
    if (showFocus_ && focusControl_ && focusControl_->hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = r.intersected(rect());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

void TRxLabel::UpdateShortcut()
{
    const bool wanted = focusControl_ && showAccelChar_;
    shortcutId_ = vx::GrabMnemonic(*this, shortcutId_, wanted ? caption_ : std::string());
}

bool TRxLabel::event(QEvent* e)
{
    if (vx::IsMnemonic(e, shortcutId_)) {
        if (isEnabled() && focusControl_ && focusControl_->isEnabled() && focusControl_->focusPolicy() != Qt::NoFocus)
            focusControl_->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QWidget::event(e);
}

bool TRxLabel::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == focusControl_ && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) && showFocus_)
        update();
    return QWidget::eventFilter(watched, e);
}

void TRxLabel::UpdateTracking(bool inside)
{
    TrackMouse(*this, inside, pressed_);
}

void TRxLabel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        pressed_ = true;
    if (OnMouseDown)
        OnMouseDown(this);
}

void TRxLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    pressed_ = false;
    const bool inside = rect().contains(e->position().toPoint());
    if (inside && OnClick)
        OnClick(this);
    UpdateTracking(inside);
}

void TRxLabel::enterEvent(QEnterEvent*)
{
    UpdateTracking(true);
}

void TRxLabel::leaveEvent(QEvent*)
{
    UpdateTracking(false);
}

void TRxLabel::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::EnabledChange) {
        AdjustBounds();
        if (!isEnabled())
            UpdateTracking(false);
        update();
    }
}

void TButtonImage::Draw(QPainter& canvas, QPoint pos, TRxButtonState state, const QFont& font)
{
    QRect r(pos, size_);
    canvas.fillRect(r, vx::ToQColor(clBtnFace));
    vx::Frame3D(canvas, r, clBtnShadow, clWindowFrame);
    vx::Frame3D(canvas, r, clBtnHighlight, clBtnShadow);
    canvas.setFont(font);
    glyph_.Draw(canvas, r, QPoint(), caption_, TRxButtonLayout::blGlyphTop, -1, 1, false, state);
}
