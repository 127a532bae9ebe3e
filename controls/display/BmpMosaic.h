// TBmpMosaic: a graphic control that tiles a picture over its whole area.
#pragma once

#include "controls/common/Events.h"

#include <QPixmap>
#include <QWidget>

// The last tile index along an extent: tiles 0..n are drawn so the extent is
// always covered; -1 when the tile has no size.
int MosaicLastTile(int extent, int tile);

class TBmpMosaic : public QWidget {
public:
    explicit TBmpMosaic(QWidget* parent = nullptr);

    const QPixmap& Picture() const { return picture_; }
    // Takes a copy of the tile, rebuilds the tiled image and repaints.
    void SetPicture(const QPixmap& value);
    // The tiled image as last built.
    const QPixmap& Mosaic() const { return mosaic_; }

    vx::TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Rebuild();

    QPixmap picture_;
    QPixmap mosaic_;
};
