// TEnhListDelegate: paints the list views' cells as a list view does: the
// selection shows in the first display column only unless whole rows are
// selected, and not at all while the control is unfocused and hides it.
#pragma once

#include <QStyledItemDelegate>

namespace vx {

class TCustomEnhListView;

class TEnhListDelegate : public QStyledItemDelegate {
public:
    explicit TEnhListDelegate(TCustomEnhListView& owner);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    TCustomEnhListView& owner_;
};

} // namespace vx
