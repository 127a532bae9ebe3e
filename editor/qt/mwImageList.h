// TImageList: pictures of one size that an application gives the editor for
// its bookmarks and marks, drawn by index. Whoever keeps a reference hooks
// its destruction and drops the reference there.
#pragma once

#include "editor/mwMethodChain.h"

#include <QPixmap>

#include <vector>

class QPainter;

class TImageList {
public:
    explicit TImageList(int width = 16, int height = 16);
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }
    // Scales the picture to the list's size; answers its index.
    int Add(const QPixmap& image);
    // Draws picture index with its top left at (x, y); an index outside the list draws nothing.
    void Draw(QPainter& canvas, int index, int x, int y) const;

    TmwChainHandle AddDestroyHook(TmwNotifyEventChain::TNotifyEvent handler);
    void RemoveDestroyHook(TmwChainHandle handle) { destroyChain_.RemoveHandler(handle); }

private:
    int width_;
    int height_;
    std::vector<QPixmap> images_;
    TmwNotifyEventChain destroyChain_;
};
