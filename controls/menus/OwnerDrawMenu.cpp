// Owner drawing of menu items: a style on the bar and its menus hands the
// measuring and drawing of each item to the menu's events.
#include "controls/menus/OwnerDrawMenu.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

class TitaMenuStyle : public QProxyStyle {
public:
    explicit TitaMenuStyle(TitaCustomMenu& owner) : owner_(owner) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize standard = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        QAction* action = item ? ActionByText(widget, item->text) : nullptr;
        if ((type != CT_MenuItem && type != CT_MenuBarItem) || !action || !owner_.OnMeasureItem)
            return standard;
        int width = standard.width(), height = standard.height();
        QPixmap scratch(1, 1);
        QPainter canvas(&scratch);
        canvas.setFont(widget->font());
        owner_.OnMeasureItem(&owner_, action, canvas, width, height);
        return {width, height};
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if ((element != CE_MenuItem && element != CE_MenuBarItem) || !item || !widget) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QAction* action = ActionAt(widget, item->rect.center());
        if (!action || !owner_.OnDrawItem)
            return;
        unsigned state = 0;
        if (item->state & State_Selected)
            state |= odSelected;
        if (!(item->state & State_Enabled))
            state |= odGrayed | odDisabled;
        if (item->checked)
            state |= odChecked;
        painter->save();
        painter->setBrush(QBrush(Qt::white, Qt::SolidPattern));
        painter->setPen(QPen(QBrush(Qt::black), 1, Qt::NoPen));
        owner_.OnDrawItem(&owner_, action, *painter, item->rect, state);
        painter->restore();
    }

private:
    static QAction* ActionAt(const QWidget* widget, QPoint at)
    {
        if (const auto* menu = qobject_cast<const QMenu*>(widget))
            return menu->actionAt(at);
        if (const auto* bar = qobject_cast<const QMenuBar*>(widget))
            return bar->actionAt(at);
        return nullptr;
    }

    // Sizes are asked before items have places, so the item is found by its text.
    static QAction* ActionByText(const QWidget* widget, const QString& text)
    {
        if (!widget)
            return nullptr;
        const QString caption = text.section(QLatin1Char('\t'), 0, 0);
        for (QAction* action : widget->actions())
            if (action->text() == caption)
                return action;
        return nullptr;
    }

    TitaCustomMenu& owner_;
};

TitaCustomMenu::TitaCustomMenu(QWidget* parent) : QMenuBar(parent), drawStyle_(new TitaMenuStyle(*this))
{
    drawStyle_->setParent(this);
}

TitaCustomMenu::~TitaCustomMenu()
{
    // The menus may outlive the bar; they go back to the application's style first.
    style_ = msStandard;
    Loaded();
}

void TitaCustomMenu::SetStyle(TMenuStyle value)
{
    style_ = value;
    Loaded();
}

void TitaCustomMenu::Loaded()
{
    Apply(this);
    updateGeometry();
    update();
}

void TitaCustomMenu::Apply(QWidget* menu)
{
    menu->setStyle(style_ == msOwnerDraw ? drawStyle_ : nullptr);
    for (QAction* action : menu->actions())
        if (QMenu* sub = action->menu())
            Apply(sub);
}
