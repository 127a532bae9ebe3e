// TEnhListHeader: the column header of the list views. It paints a section
// through its list view when that draws its own header (sort arrows or an
// owner-draw event), and remembers which section is held down.
#pragma once

#include <QHeaderView>

namespace vx {

class TCustomEnhListView;

class TEnhListHeader : public QHeaderView {
public:
    explicit TEnhListHeader(TCustomEnhListView& owner);

    // The section under the pressed mouse button, or -1.
    int PressedSection() const { return pressed_; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TCustomEnhListView& owner_;
    int pressed_ = -1;
};

} // namespace vx
