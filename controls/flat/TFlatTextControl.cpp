// Frame, background and derived colours of the flat edit and the flat memo.
#include "controls/flat/TFlatTextControl.h"

#include "controls/common/SysColors.h"
#include "controls/common/VCLUtils.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include <typeinfo>

template <class Base>
TFlatTextControl<Base>::TFlatTextControl(QWidget* parent) : Base(parent)
{
    ParentColorChanged();
    RedrawBorder();
}

template <class Base>
void TFlatTextControl<Base>::SetColors(int index, TColor value)
{
    colors_[index] = value;
    if (index == 2)
        parentColor_ = false;
    RedrawBorder();
}

template <class Base>
void TFlatTextControl<Base>::SetParentColor(bool value)
{
    if (parentColor_ == value)
        return;
    parentColor_ = value;
    if (value) {
        lastParentColor_ = 0xFFFFFFFFu;
        ParentColorChanged();
    }
}

template <class Base>
void TFlatTextControl<Base>::SetAdvColorFocused(int value)
{
    if (vx::StoreAdvColor(advColorFocused_, value))
        CalcAdvColors();
}

template <class Base>
void TFlatTextControl<Base>::SetAdvColorBorder(int value)
{
    if (vx::StoreAdvColor(advColorBorder_, value))
        CalcAdvColors();
}

template <class Base>
void TFlatTextControl<Base>::SetUseAdvColors(bool value)
{
    if (value == useAdvColors_)
        return;
    useAdvColors_ = value;
    SetParentColor(value);
    CalcAdvColors();
}

template <class Base>
void TFlatTextControl<Base>::CalcAdvColors()
{
    if (!useAdvColors_)
        return;
    colors_[0] = vx::CalcAdvancedColor(colors_[2], colors_[0], advColorFocused_, false);
    colors_[1] = vx::CalcAdvancedColor(colors_[2], colors_[1], advColorBorder_, true);
    RedrawBorder();
}

// Parent-colour and system-colour changes both end here.
template <class Base>
void TFlatTextControl<Base>::ParentColorChanged()
{
    QWidget* parent = this->parentWidget();
    if (!parent)
        return;
    TColor parentColor = vx::WidgetColor(parent);
    if (parentColor == lastParentColor_)
        return;
    lastParentColor_ = parentColor;
    if (useAdvColors_ || parentColor_) {
        colors_[2] = parentColor;
        RedrawBorder();
    }
    CalcAdvColors();
}

template <class Base>
bool TFlatTextControl<Base>::IsActive() const
{
    if (this->hasFocus())
        return true;
    if (!mouseInControl_)
        return false;
    const QWidget* focus = QApplication::focusWidget();
    return !focus || typeid(*focus) != typeid(*this);
}

template <class Base>
void TFlatTextControl<Base>::RedrawBorder()
{
    active_ = IsActive();
    TColor shown = Color();
    if (shown != shownColor_) {
        shownColor_ = shown;
        QPalette pal = this->palette();
        pal.setColor(QPalette::Base, vx::ToQColor(shown));
        this->setPalette(pal);
    }
    this->update();
}

template <class Base>
void TFlatTextControl<Base>::PaintFrame()
{
    QPainter p(this);
    const TColor inner = Color();
    QRect r = this->rect();
    vx::Frame3D(p, r, colors_[1], colors_[1]);
    vx::Frame3D(p, r, inner, inner);
    vx::Frame3D(p, r, inner, inner);
    p.setPen(Qt::NoPen);
    PaintExtras(p, vx::ToQColor(inner));
}

template <class Base>
bool TFlatTextControl<Base>::event(QEvent* e)
{
    bool handled = Base::event(e);
    switch (e->type()) {
    case QEvent::Paint:
        PaintFrame();
        break;
    case QEvent::ParentChange:
        lastParentColor_ = 0xFFFFFFFFu;
        ParentColorChanged();
        break;
    default:
        break;
    }
    return handled;
}

template <class Base>
void TFlatTextControl<Base>::changeEvent(QEvent* e)
{
    Base::changeEvent(e);
    switch (e->type()) {
    case QEvent::EnabledChange:
        RedrawBorder();
        break;
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        ParentColorChanged();
        break;
    default:
        break;
    }
}

template <class Base>
void TFlatTextControl<Base>::focusInEvent(QFocusEvent* e)
{
    Base::focusInEvent(e);
    RedrawBorder();
}

template <class Base>
void TFlatTextControl<Base>::focusOutEvent(QFocusEvent* e)
{
    Base::focusOutEvent(e);
    RedrawBorder();
}

template <class Base>
void TFlatTextControl<Base>::enterEvent(QEnterEvent* e)
{
    Base::enterEvent(e);
    if (!QApplication::activeWindow())
        return;
    mouseInControl_ = true;
    RedrawBorder();
}

template <class Base>
void TFlatTextControl<Base>::leaveEvent(QEvent* e)
{
    Base::leaveEvent(e);
    mouseInControl_ = false;
    RedrawBorder();
}

template <class Base>
void TFlatTextControl<Base>::FireChange()
{
    if (OnChange)
        OnChange(this);
}

template class TFlatTextControl<QLineEdit>;
template class TFlatTextControl<QPlainTextEdit>;
