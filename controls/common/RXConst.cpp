// The hand cursors the program registers at start-up, and the screen cursor table.
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
    struct StartupCursor {
        int id;
        const char* resource;
        Qt::CursorShape fallback;
    };
    static constexpr StartupCursor kCursors[] = {
        {crHand, "RX_HANDCUR", Qt::OpenHandCursor},
        {crDragHand, "RX_DRAGCUR", Qt::ClosedHandCursor},
        {crToolbarHand, "HAND", Qt::PointingHandCursor},
        {crRightHand, "RightHand", Qt::PointingHandCursor},
        {crLeftHand, "LeftHand", Qt::PointingHandCursor},
        {crTopHand, "TopHand", Qt::PointingHandCursor},
    };
    for (const StartupCursor& cursor : kCursors)
        SetScreenCursor(cursor.id, loadCursor(cursor.resource, cursor.fallback));
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
