// The combo box that follows its current item.
#include "controls/edits/ItemWideComboBox.h"

#include <QStyleOptionComboBox>

namespace {

// The narrowest box still shows a few characters.
constexpr int LeastCharacters = 6;

} // namespace

TItemWideComboBox::TItemWideComboBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] { updateGeometry(); });
}

QSize TItemWideComboBox::AroundText(int width) const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(width, fontMetrics().height()), this);
}

QSize TItemWideComboBox::sizeHint() const
{
    return AroundText(std::max(fontMetrics().horizontalAdvance(currentText()),
                               fontMetrics().horizontalAdvance(QLatin1Char('x')) * LeastCharacters));
}

QSize TItemWideComboBox::minimumSizeHint() const
{
    return AroundText(fontMetrics().horizontalAdvance(QLatin1Char('x')) * LeastCharacters);
}
