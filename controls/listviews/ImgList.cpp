// The picture list shared by the list views.
#include "controls/listviews/ImgList.h"

namespace vx {

TImageList::TImageList(int width, int height, QObject* parent) : QObject(parent), width_(width), height_(height) {}

int TImageList::Add(const QPixmap& image)
{
    images_.push_back(image.size() == QSize(width_, height_) ? image : image.scaled(width_, height_));
    emit Changed();
    return Count() - 1;
}

void TImageList::Clear()
{
    if (images_.empty())
        return;
    images_.clear();
    emit Changed();
}

QPixmap TImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? images_[static_cast<size_t>(index)] : QPixmap();
}

} // namespace vx
