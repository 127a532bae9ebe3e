// Cell painting of the list views.
#include "controls/listviews/EnhListDelegate.h"

#include "controls/listviews/EnhListView.h"

namespace vx {

TEnhListDelegate::TEnhListDelegate(TCustomEnhListView& owner) : QStyledItemDelegate(&owner), owner_(owner) {}

void TEnhListDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const bool firstColumn = owner_.ActualColumnIndex(index.column()) == 0;
    const bool hidden = owner_.HideSelection() && !owner_.hasFocus();
    if ((!firstColumn && !owner_.FullRowSelected()) || hidden)
        option->state &= ~QStyle::State_Selected;
}

} // namespace vx
