#include "shell/qt/panels/ViewClicks.h"

#include "shell/qt/windows/ShellDialog.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QMouseEvent>

namespace vx::shell {

namespace {

class TViewClickFilter : public QObject {
public:
    TViewClickFilter(QWidget& viewport, TViewClick kind, std::function<void()> command)
        : QObject(&viewport), kind_(kind), command_(Guarded(std::move(command)))
    {
        viewport.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A click ends when the button comes up over the view; a double click
        // is the second press.
        const QEvent::Type type =
            kind_ == TViewClick::Single ? QEvent::MouseButtonRelease : QEvent::MouseButtonDblClick;
        if (event->type() == type && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            static_cast<QWidget*>(watched)->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
            command_();
        return false;
    }

private:
    TViewClick kind_;
    std::function<void()> command_;
};

} // namespace

void OnViewClick(QAbstractItemView& view, TViewClick kind, std::function<void()> command)
{
    new TViewClickFilter(*view.viewport(), kind, std::move(command));
}

} // namespace vx::shell
