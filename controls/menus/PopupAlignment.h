// The side of a pop-up menu that lies at the point it pops up at, kept with
// the menu so that every control popping it up places it alike.
#pragma once

#include <QPoint>

class QMenu;

enum TPopupAlignment { paLeft, paRight, paCenter };

TPopupAlignment PopupAlignment(const QMenu& menu);
void SetPopupAlignment(QMenu& menu, TPopupAlignment value);
// The menu's top-left corner when it pops up at point (screen coordinates).
QPoint PopupTopLeft(const QMenu& menu, QPoint point);
// Runs the menu at point, aligned by its alignment; the chosen action or null.
class QAction* ExecPopup(QMenu& menu, QPoint point);
