// A combo box as wide as the item it shows, not as its widest item: a long
// list does not widen the window, and the chosen entry shows whole while the
// window has room for it.
#pragma once

#include <QComboBox>

class TItemWideComboBox : public QComboBox {
public:
    explicit TItemWideComboBox(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    // The box around a text of that width: frame, margins and arrow.
    QSize AroundText(int width) const;
};
