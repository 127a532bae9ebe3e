// The editor's image list for bookmark and mark pictures.
#include "editor/qt/mwImageList.h"

#include <QPainter>

TImageList::TImageList(int width, int height) : width_(width), height_(height), destroyChain_(this) {}

TImageList::~TImageList() { destroyChain_.Fire(); }

int TImageList::Add(const QPixmap& image)
{
    images_.push_back(image.size() == QSize(width_, height_)
                          ? image
                          : image.scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return Count() - 1;
}

void TImageList::Draw(QPainter& canvas, int index, int x, int y) const
{
    if (index >= 0 && index < Count())
        canvas.drawPixmap(x, y, images_[static_cast<size_t>(index)]);
}

TmwChainHandle TImageList::AddDestroyHook(TmwNotifyEventChain::TNotifyEvent handler)
{
    return destroyChain_.AddHandler(std::move(handler));
}
