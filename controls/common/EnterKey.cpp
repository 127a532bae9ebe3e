// The Enter key of a list as its double click.
#include "controls/common/EnterKey.h"

#include <QAbstractItemView>
#include <QKeyEvent>

namespace vx {

namespace {

class TEnterKey : public QObject {
public:
    TEnterKey(QAbstractItemView* view, std::function<void()> run) : QObject(view), view_(view), run_(std::move(run))
    {
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !view_->currentIndex().isValid())
            return false;
        run_();
        return true;
    }

private:
    QAbstractItemView* view_;
    std::function<void()> run_;
};

} // namespace

void OnEnterKey(QAbstractItemView* view, std::function<void()> run)
{
    new TEnterKey(view, std::move(run));
}

} // namespace vx
