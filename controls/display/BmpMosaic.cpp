// Tiling a picture into an off-screen image the size of the control.
#include "controls/display/BmpMosaic.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

int MosaicLastTile(int extent, int tile)
{
    if (tile <= 0)
        return -1;
    return static_cast<int>(std::lround(static_cast<double>(extent) / tile));
}

TBmpMosaic::TBmpMosaic(QWidget* parent) : QWidget(parent)
{
    resize(105, 105);
}

void TBmpMosaic::SetPicture(const QPixmap& value)
{
    picture_ = value;
    Rebuild();
    update();
}

void TBmpMosaic::Rebuild()
{
    mosaic_ = QPixmap(size());
    mosaic_.fill(Qt::transparent);
    const int rows = MosaicLastTile(height(), picture_.height());
    const int columns = MosaicLastTile(width(), picture_.width());
    if (rows < 0 || columns < 0)
        return;
    QPainter painter(&mosaic_);
    for (int row = 0; row <= rows; ++row)
        for (int column = 0; column <= columns; ++column)
            painter.drawPixmap(column * picture_.width(), row * picture_.height(), picture_);
}

void TBmpMosaic::paintEvent(QPaintEvent*)
{
    if (mosaic_.width() != width())
        Rebuild();
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    painter.drawPixmap(0, 0, mosaic_);
}

void TBmpMosaic::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
        OnClick(this);
    QWidget::mouseReleaseEvent(event);
}
