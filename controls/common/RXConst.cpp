// The two hand cursors of the speed bar and the slider, and the screen cursor table.
#include "controls/common/RXConst.h"

#include <QPixmap>

#include <map>

namespace vx {

namespace {

std::map<int, QCursor>& cursorTable()
{
    static std::map<int, QCursor> table;
    return table;
}

QCursor loadCursor(const char* resource, Qt::CursorShape fallback)
{
    QPixmap picture(QStringLiteral(":/") + QLatin1String(resource));
    return picture.isNull() ? QCursor(fallback) : QCursor(picture);
}

} // namespace

void RegisterRxCursors()
{
    SetScreenCursor(crHand, loadCursor("RX_HANDCUR", Qt::OpenHandCursor));
    SetScreenCursor(crDragHand, loadCursor("RX_DRAGCUR", Qt::ClosedHandCursor));
}

void SetScreenCursor(int id, const QCursor& cursor)
{
    cursorTable()[id] = cursor;
}

QCursor ScreenCursor(int id)
{
    auto it = cursorTable().find(id);
    return it == cursorTable().end() ? QCursor(Qt::ArrowCursor) : it->second;
}

} // namespace vx
