// TPopupWindow: the base of the windows an edit drops down (the calendar of
// the date edit): shown without taking the focus, closed up by its owner.
#pragma once

#include <QVariant>
#include <QWidget>

#include <functional>

class TPopupWindow : public QWidget {
public:
    // owner is the edit the popup belongs to.
    explicit TPopupWindow(QWidget* owner);

    // Shows the popup at a screen point, on top, without activating it.
    void ShowAt(QPoint screenPos);
    void HidePopup();
    virtual QVariant GetValue() const { return QString(); }
    virtual void SetValue(const QVariant&) {}
    // Hands the decision to the owner.
    void CloseUp(bool accept);

    std::function<void(bool accept)> OnCloseUp;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};
