// TRxWindowHook: sees every event of a widget before and after the widget
// handles it. Several hooks may share one widget; they run from the last
// attached to the first, and a BeforeMessage that sets Handled keeps the event
// from the earlier hooks, from event filters installed on the widget before
// the hooks, and from the widget; an event no hook handles goes through those
// filters and the widget before AfterMessage runs. The event that destroys a widget
// (a deferred delete) always reaches it. Main thread only.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QEvent;
class QWidget;

using THookMessageEvent = std::function<void(QObject* Sender, QEvent* Msg, bool& Handled)>;

class TRxWindowHook : public QObject {
public:
    explicit TRxWindowHook(QObject* owner = nullptr);
    ~TRxWindowHook() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    // The hooked widget; it becomes none when the widget is destroyed.
    QWidget* WinControl() const { return winControl_; }
    void SetWinControl(QWidget* value);

    // Attach to or detach from WinControl whatever Active says.
    void HookControl();
    void UnhookControl();

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

private:
    bool active_ = true;
    QPointer<QWidget> winControl_;
    QMetaObject::Connection controlGone_;
};
