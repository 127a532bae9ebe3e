// Whether a window's words fit their controls: every caption, button text,
// tab text, field value, column heading and status bar message, measured in
// the font the control draws it with,
// against the room the control gives it where the window does not cut the
// control off and no shown window it owns (the assistant over the main
// window) covers it.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace vx::test {

struct TTextRoom {
    std::string Place; // as WindowTexts names it
    QString Text;
    // Pixels across (or down, for a text that wraps) the text needs and has.
    int Needed = 0;
    int Room = 0;
    bool Fits() const { return Needed <= Room; }
};

// The controls of the window that show now; a page control shows only its
// current page.
std::vector<TTextRoom> TextRooms(QWidget& window);

// The same over every page of every page control of the window, each page
// made current in turn and laid out; the pages shown before come back.
std::vector<TTextRoom> TextRoomsOnEveryPage(QWidget& window);

// The column headings of the window's lists that show now, each against
// its whole column, which the list scrolls into view (TextRooms measures
// them too).
std::vector<TTextRoom> ColumnHeadingRooms(QWidget& window);
// The room of the one place of the window that shows the text now; none
// when no place, or more than one, shows it.
std::optional<TTextRoom> RoomOf(QWidget& window, const QString& text);

} // namespace vx::test
