// The list views' column header.
#include "controls/listviews/EnhListHeader.h"

#include "controls/listviews/EnhListView.h"
#include "controls/listviews/ImgList.h"

#include <QMouseEvent>
#include <QPainter>

namespace vx {

TEnhListHeader::TEnhListHeader(TCustomEnhListView& owner) : QHeaderView(Qt::Horizontal, &owner), owner_(owner)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setStretchLastSection(false);
    connect(this, &QHeaderView::sectionClicked, this, [this](int logicalIndex) { owner_.ColumnClick(logicalIndex); });
}

void TEnhListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (owner_.HeaderOwnerDraw()) {
        painter->save();
        owner_.DrawHeader(*painter, logicalIndex, rect, logicalIndex == pressed_);
        painter->restore();
        return;
    }
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    // The style puts a header image left of the text only; one that belongs
    // right of it is drawn here.
    int image = -1;
    bool right = false;
    if (owner_.HeaderImageOf(logicalIndex, image, right) && right && owner_.SmallImages()) {
        const QPixmap picture = owner_.SmallImages()->Image(image);
        if (!picture.isNull())
            painter->drawPixmap(rect.right() - picture.width() - LVTextOffset, rect.top() + (rect.height() - picture.height()) / 2,
                                picture);
    }
}

void TEnhListHeader::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pressed_ = logicalIndexAt(event->position().toPoint());
        viewport()->update();
    }
    QHeaderView::mousePressEvent(event);
}

void TEnhListHeader::mouseReleaseEvent(QMouseEvent* event)
{
    pressed_ = -1;
    viewport()->update();
    QHeaderView::mouseReleaseEvent(event);
}

} // namespace vx
