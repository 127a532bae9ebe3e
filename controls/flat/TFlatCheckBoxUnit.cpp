// The flat check box.
#include "controls/flat/TFlatCheckBoxUnit.h"

#include "platform/qt/QtText.h"
#include "controls/common/SysColors.h"
#include "controls/common/VCLUtils.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <array>
#include <cstdlib>

namespace {

struct TickLine {
    int x1, y1, x2, y2;
};

// Each line runs from its first point up to, not including, its second.
constexpr std::array<TickLine, 6> kTick{{{2, 4, 6, 8}, {2, 5, 5, 8}, {2, 6, 5, 9}, {8, 2, 4, 6}, {8, 3, 4, 7}, {8, 4, 5, 7}}};

} // namespace

TFlatCheckBox::TFlatCheckBox(QWidget* parent) : TFlatHoverControl(parent, clBtnFace, vx::clFlatFocused)
{
    resize(121, 17);
    setFocusPolicy(Qt::StrongFocus);
}

void TFlatCheckBox::SetChecked(bool value)
{
    if (value == checked_)
        return;
    checked_ = value;
    if (OnClick)
        OnClick(this);
    update();
}

void TFlatCheckBox::SetLayout(TCheckBoxLayout value)
{
    if (value == layout_)
        return;
    layout_ = value;
    update();
}

void TFlatCheckBox::SetCaption(const std::string& value)
{
    caption_ = value;
    shortcutId_ = vx::GrabMnemonic(*this, shortcutId_, value);
    updateGeometry();
    update();
}

QSize TFlatCheckBox::sizeHint() const
{
    // The square and its gap take 16 pixels, the far edge one more; the text starts a pixel down.
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, vx::ToQString(caption_));
    return {text.width() + 17, std::max(text.height() + 2, 17)};
}

QRect TFlatCheckBox::CheckRect() const
{
    if (layout_ == TCheckBoxLayout::checkboxLeft)
        return vx::WinRect(1, 3, 12, 14);
    return vx::WinRect(width() - 12, 3, width() - 1, 14);
}

QRect TFlatCheckBox::TextRect() const
{
    return layout_ == TCheckBoxLayout::checkboxLeft ? vx::WinRect(16, 1, width() - 1, height() - 1)
                                                    : vx::WinRect(1, 1, width() - 16, height() - 1);
}

void TFlatCheckBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect square = CheckRect();
    TColor fill = colorFocused_;
    if (!focused_ && !mouseIn_)
        fill = Color();
    else if (mouseDown_)
        fill = colorDown_;
    p.fillRect(square, vx::ToQColor(fill));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::NoBrush);
    QRect frame = square;
    vx::Frame3D(p, frame, colorBorder_, colorBorder_);

    if (checked_) {
        const QColor tick = vx::ToQColor(isEnabled() ? colorCheck_ : clBtnShadow);
        for (const TickLine& l : kTick) {
            int steps = std::max(std::abs(l.x2 - l.x1), std::abs(l.y2 - l.y1));
            for (int i = 0; i < steps; ++i)
                p.fillRect(square.left() + l.x1 + (l.x2 - l.x1) * i / steps,
                           square.top() + l.y1 + (l.y2 - l.y1) * i / steps, 1, 1, tick);
        }
    }

    int align = layout_ == TCheckBoxLayout::checkboxLeft ? Qt::AlignLeft : Qt::AlignRight;
    p.setFont(font());
    vx::DrawCaption(p, TextRect(), align | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic,
                    vx::ToQString(caption_), isEnabled(), palette().color(QPalette::WindowText));
}

void TFlatCheckBox::Toggle()
{
    SetChecked(!checked_);
}

void TFlatCheckBox::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled())
        return;
    setFocus(Qt::MouseFocusReason);
    mouseDown_ = true;
    update();
}

void TFlatCheckBox::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !mouseDown_)
        return;
    mouseDown_ = false;
    if (rect().contains(e->position().toPoint()))
        Toggle();
    else
        MouseLeave();
    update();
}

void TFlatCheckBox::mouseMoveEvent(QMouseEvent* e)
{
    HoverMove(e->position().toPoint());
}

void TFlatCheckBox::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        Toggle();
        return;
    }
    TFlatHoverControl::keyPressEvent(e);
}

void TFlatCheckBox::focusInEvent(QFocusEvent* e)
{
    TFlatHoverControl::focusInEvent(e);
    focused_ = true;
    update();
}

void TFlatCheckBox::focusOutEvent(QFocusEvent* e)
{
    TFlatHoverControl::focusOutEvent(e);
    if (!isEnabled())
        return;
    focused_ = false;
    mouseIn_ = false;
    update();
}

void TFlatCheckBox::changeEvent(QEvent* e)
{
    TFlatHoverControl::changeEvent(e);
    if (e->type() == QEvent::EnabledChange && !isEnabled()) {
        mouseDown_ = false;
        HoverClear();
        update();
    }
}

bool TFlatCheckBox::event(QEvent* e)
{
    if (vx::IsMnemonic(e, shortcutId_)) {
        if (isEnabled()) {
            setFocus(Qt::ShortcutFocusReason);
            Toggle();
        }
        return true;
    }
    return TFlatHoverControl::event(e);
}
