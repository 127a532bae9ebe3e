// The web-safe colour picture.
#include "tools/qt/ColourPicker.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

QColor ToQColor(std::uint32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

} // namespace

TWebColourImage::TWebColourImage(QWidget* parent) : QWidget(parent)
{
    setObjectName("img216Colors");
    setFixedSize(Columns * Cell, Rows * Cell);
    setMouseTracking(true);
}

std::uint32_t TWebColourImage::ColourAt(QPoint point)
{
    const int column = std::clamp(point.x() / Cell, 0, Columns - 1);
    const int row = std::clamp(point.y() / Cell, 0, Rows - 1);
    const int index = row * Columns + column;
    const std::uint32_t red = index / 36 * 0x33, green = index / 6 % 6 * 0x33, blue = index % 6 * 0x33;
    return red | (green << 8) | (blue << 16);
}

void TWebColourImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int row = 0; row < Rows; ++row)
        for (int column = 0; column < Columns; ++column) {
            const QRect cell(column * Cell, row * Cell, Cell, Cell);
            painter.fillRect(cell, ToQColor(ColourAt(cell.topLeft())));
        }
}

void TWebColourImage::mouseMoveEvent(QMouseEvent* e)
{
    if (OnMove && rect().contains(e->position().toPoint()))
        OnMove(ColourAt(e->position().toPoint()));
}

void TWebColourImage::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnPick && rect().contains(e->position().toPoint()))
        OnPick(ColourAt(e->position().toPoint()));
}
