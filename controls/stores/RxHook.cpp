// Window hooks: one shared event filter per hooked widget, passing what its
// hooks leave unhandled on down the chain.
#include "controls/stores/RxHook.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

// The event filter of one hooked widget, a child of it, holding its hooks in
// attach order. It leaves with its last hook or with the widget.
class TControlHook : public QObject {
public:
    static TControlHook* Find(QWidget* control)
    {
        auto found = Hooks().find(control);
        return found == Hooks().end() ? nullptr : found->second;
    }

    static TControlHook* Obtain(QWidget* control)
    {
        if (TControlHook* hook = Find(control))
            return hook;
        return new TControlHook(control);
    }

    ~TControlHook() override { Hooks().erase(control_); }

    void Add(TRxWindowHook* hook)
    {
        if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end())
            hooks_.emplace_back(hook);
    }

    void Remove(TRxWindowHook* hook)
    {
        std::erase(hooks_, hook);
        if (!hooks_.empty())
            return;
        control_->removeEventFilter(this);
        Hooks().erase(control_);
        // It may be delivering an event right now.
        if (depth_ > 0)
            deleteLater();
        else
            delete this;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The event this hook passes on down the chain goes by it.
        if (watched != control_ || event == passing_)
            return false;
        ++depth_;
        // A hook may detach (or be destroyed) while the event runs.
        std::vector<QPointer<TRxWindowHook>> hooks(hooks_.rbegin(), hooks_.rend());
        QPointer<QWidget> control(control_);
        bool handled = Run(hooks, &TRxWindowHook::BeforeMessage, event);
        if (event->type() == QEvent::DeferredDelete) {
            --depth_;
            return false;
        }
        if (!handled)
            PassOn(event);
        if (control)
            Run(hooks, &TRxWindowHook::AfterMessage, event);
        --depth_;
        return true;
    }

private:
    explicit TControlHook(QWidget* control)
        : QObject(control)
        , control_(control)
    {
        Hooks()[control] = this;
        control->installEventFilter(this);
    }

    static std::unordered_map<QWidget*, TControlHook*>& Hooks()
    {
        static std::unordered_map<QWidget*, TControlHook*> hooks;
        return hooks;
    }

    // True when a handler set Handled; the rest are then skipped.
    static bool Run(const std::vector<QPointer<TRxWindowHook>>& hooks, THookMessageEvent TRxWindowHook::*which,
                    QEvent* event)
    {
        bool handled = false;
        for (const QPointer<TRxWindowHook>& hook : hooks) {
            if (!hook || !((*hook).*which))
                continue;
            ((*hook).*which)(hook.data(), event, handled);
            if (handled)
                return true;
        }
        return false;
    }

    // Hands the event to what the hook replaced: the filters installed on the
    // control before it, then the control itself. notify keeps the event's
    // spontaneous flag, which handlers of show and activation events read.
    void PassOn(QEvent* event)
    {
        QEvent* outer = passing_;
        passing_ = event;
        QCoreApplication::instance()->notify(control_, event);
        passing_ = outer;
    }

    QWidget* control_;
    std::vector<TRxWindowHook*> hooks_;
    int depth_ = 0;
    QEvent* passing_ = nullptr;
};

} // namespace

TRxWindowHook::TRxWindowHook(QObject* owner)
    : QObject(owner)
{
}

TRxWindowHook::~TRxWindowHook()
{
    UnhookControl();
}

void TRxWindowHook::SetActive(bool value)
{
    if (value == active_)
        return;
    active_ = value;
    if (active_)
        HookControl();
    else
        UnhookControl();
}

void TRxWindowHook::SetWinControl(QWidget* value)
{
    if (value == winControl_)
        return;
    UnhookControl();
    disconnect(controlGone_);
    winControl_ = value;
    if (value)
        controlGone_ = connect(value, &QObject::destroyed, this, [this] { winControl_ = nullptr; });
    if (active_)
        HookControl();
}

void TRxWindowHook::HookControl()
{
    if (winControl_)
        TControlHook::Obtain(winControl_)->Add(this);
}

void TRxWindowHook::UnhookControl()
{
    if (!winControl_)
        return;
    if (TControlHook* hook = TControlHook::Find(winControl_))
        hook->Remove(this);
}
