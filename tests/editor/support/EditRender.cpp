// Rendering an editor widget into an image for the painting tests.
#include "tests/editor/support/EditRender.h"

#include "editor/qt/SysColors.h"
#include "editor/qt/mwCustomEdit.h"

#include <QPainter>

#include <map>

namespace vx::test {

namespace {

// Cells are the screen's: a tab spans several of them.
QRect CellRect(const TmwCustomEdit& edit, TPoint cell)
{
    const TmwCustomEditModel& m = edit.Model();
    return QRect(m.TextOffset() + (cell.X - 1) * m.CharWidth(), (cell.Y - m.TopLine()) * m.LineHeight(),
                 m.CharWidth(), m.LineHeight());
}

} // namespace

QImage RenderEdit(TmwCustomEdit& edit)
{
    QImage image(edit.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    edit.Paint(painter, image.rect());
    return image;
}

TColor CellBackground(const TmwCustomEdit& edit, const QImage& image, TPoint cell)
{
    std::map<QRgb, int> counts;
    QRect r = CellRect(edit, cell) & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[image.pixel(x, y) & 0xFFFFFF];
    QRgb best = 0;
    int bestCount = -1;
    for (auto [rgb, n] : counts)
        if (n > bestCount) {
            best = rgb;
            bestCount = n;
        }
    return FromQColor(QColor(best));
}

int CellInk(const TmwCustomEdit& edit, const QImage& image, TPoint cell)
{
    QColor back = ToQColor(CellBackground(edit, image, cell));
    QRect r = CellRect(edit, cell) & image.rect();
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (QColor(image.pixel(x, y)) != back)
                ++ink;
    return ink;
}

} // namespace vx::test
