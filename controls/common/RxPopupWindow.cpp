// The drop-down popup base.
#include "controls/common/RxPopupWindow.h"

#include <QMouseEvent>

TPopupWindow::TPopupWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void TPopupWindow::ShowAt(QPoint screenPos)
{
    move(screenPos);
    show();
}

void TPopupWindow::HidePopup()
{
    hide();
}

void TPopupWindow::CloseUp(bool accept)
{
    if (OnCloseUp)
        OnCloseUp(accept);
}

void TPopupWindow::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        CloseUp(rect().contains(e->position().toPoint()));
}
