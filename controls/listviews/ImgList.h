// TImageList: a list of equally sized pictures that list views and their
// headers draw by index; every change is announced to the controls using it.
#pragma once

#include <QObject>
#include <QPixmap>

#include <vector>

namespace vx {

class TImageList : public QObject {
    Q_OBJECT
public:
    explicit TImageList(int width = 16, int height = 16, QObject* parent = nullptr);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }
    // Scales the picture to the list's size; answers its index.
    int Add(const QPixmap& image);
    void Clear();
    // A null pixmap for an index outside the list.
    QPixmap Image(int index) const;

signals:
    void Changed();

private:
    int width_, height_;
    std::vector<QPixmap> images_;
};

} // namespace vx
