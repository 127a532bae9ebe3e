// Own colour, parent colour and derived-colour switch of the flat controls.
#include "controls/flat/TFlatColorControl.h"

#include "controls/common/SysColors.h"

#include <QComboBox>
#include <QEvent>

template <class Base>
TFlatColorControl<Base>::TFlatColorControl(QWidget* parent, TColor color, bool parentColor)
    : Base(parent), color_(color), parentColor_(parentColor)
{
    if (parentColor_)
        TakeParentColor();
}

template <class Base>
void TFlatColorControl<Base>::StoreColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    ColorChanged();
}

template <class Base>
void TFlatColorControl<Base>::SetColor(TColor value)
{
    parentColor_ = false;
    StoreColor(value);
    RecalcAdvColors();
}

template <class Base>
void TFlatColorControl<Base>::SetParentColor(bool value)
{
    parentColor_ = value;
    if (value)
        TakeParentColor();
}

template <class Base>
void TFlatColorControl<Base>::SetUseAdvColors(bool value)
{
    if (value == useAdvColors_)
        return;
    useAdvColors_ = value;
    SetParentColor(value);
    RecalcAdvColors();
}

template <class Base>
void TFlatColorControl<Base>::RecalcAdvColors()
{
    if (!useAdvColors_)
        return;
    CalcAdvColors();
    this->update();
}

template <class Base>
void TFlatColorControl<Base>::TakeParentColor()
{
    if (QWidget* parent = this->parentWidget())
        StoreColor(vx::WidgetColor(parent));
}

// Parent-colour and system-colour notifications.
template <class Base>
void TFlatColorControl<Base>::ParentColorChanged()
{
    if (useAdvColors_)
        parentColor_ = true;
    if (parentColor_)
        TakeParentColor();
    RecalcAdvColors();
}

template <class Base>
bool TFlatColorControl<Base>::event(QEvent* e)
{
    bool handled = Base::event(e);
    if (e->type() == QEvent::ParentChange)
        ParentColorChanged();
    return handled;
}

template <class Base>
void TFlatColorControl<Base>::changeEvent(QEvent* e)
{
    Base::changeEvent(e);
    if (e->type() == QEvent::PaletteChange || e->type() == QEvent::ApplicationPaletteChange)
        ParentColorChanged();
}

template class TFlatColorControl<QWidget>;
template class TFlatColorControl<QComboBox>;
