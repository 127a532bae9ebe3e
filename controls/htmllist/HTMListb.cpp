// The HTML list box: rows drawn and measured by the mini-HTML renderer.
#include "controls/htmllist/HTMListb.h"

#include "editor/qt/SysColors.h"
#include "platform/qt/QtText.h"

#include <QDesktopServices>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QUrl>

#include <algorithm>

namespace vx {

class THTMItemDelegate : public QStyledItemDelegate {
public:
    explicit THTMItemDelegate(THTMListbox& box) : QStyledItemDelegate(&box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int row = index.row();
        if (row < 0 || row >= box_.items_.Count())
            return;
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const TColor back = selected ? clHighlight : clWindow;
        const TColor fore = selected ? clHighlightText : clWindowText;
        const TColor link = selected ? clHighlightText : box_.urlColor_;
        painter->save();
        painter->setFont(box_.font());
        painter->setBrush(ToQColor(back));
        painter->setPen(ToQColor(fore));
        painter->fillRect(option.rect, ToQColor(back));
        THTMLItemResult result;
        DrawHTMLItem(*painter, box_.items_[row], option.rect, link, false, false, 0, 0, box_.images_, result);
        if ((option.state & QStyle::State_HasFocus) != 0) {
            painter->setPen(QPen(ToQColor(fore), 1, Qt::DotLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        (void)option;
        return {box_.ItemWidth(), box_.MeasureItem(index.row())};
    }

private:
    THTMListbox& box_;
};

void THTMListItems::Changed()
{
    TStringList::Changed();
    owner_.ItemsChanged();
}

THTMListbox::THTMListbox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new THTMItemDelegate(*this));
    setUniformItemSizes(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    ShellOpen = [](const std::string& url) { QDesktopServices::openUrl(QUrl(ToQString(url))); };
}

THTMListbox::~THTMListbox() = default;

void THTMListbox::ItemsChanged()
{
    const int keep = currentRow();
    const QSignalBlocker block(this);
    clear();
    for (int i = 0; i < items_.Count(); ++i)
        addItem(QString());
    if (keep >= 0 && keep < count())
        setCurrentRow(keep);
}

void THTMListbox::SetURLColor(TColor value)
{
    if (urlColor_ == value)
        return;
    urlColor_ = value;
    viewport()->update();
}

void THTMListbox::SetMultiline(bool value)
{
    if (multiline_ == value)
        return;
    multiline_ = value;
    Remeasure();
}

void THTMListbox::SetImages(const THTMLImages* value)
{
    if (images_ == value)
        return;
    images_ = value;
    Remeasure();
}

void THTMListbox::SetItemHeight(int value)
{
    if (value < 1 || itemHeight_ == value)
        return;
    itemHeight_ = value;
    Remeasure();
}

void THTMListbox::SetColumns(int value)
{
    value = std::max(value, 0);
    if (columns_ == value)
        return;
    columns_ = value;
    setWrapping(columns_ > 0);
    setHorizontalScrollBarPolicy(columns_ > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    Remeasure();
}

int THTMListbox::ItemWidth() const
{
    const int width = viewport()->width();
    return columns_ > 0 ? std::max(width / columns_, 1) : width;
}

void THTMListbox::SetMultiSelect(bool value)
{
    UpdateSelectionMode(value);
}

void THTMListbox::SetExtendedSelect(bool value)
{
    if (extendedSelect_ == value)
        return;
    extendedSelect_ = value;
    UpdateSelectionMode(MultiSelect());
}

void THTMListbox::UpdateSelectionMode(bool multi)
{
    if (!multi)
        setSelectionMode(QAbstractItemView::SingleSelection);
    else
        setSelectionMode(extendedSelect_ ? QAbstractItemView::ExtendedSelection : QAbstractItemView::MultiSelection);
}

void THTMListbox::Remeasure()
{
    if (remeasuring_)
        return;
    remeasuring_ = true;
    doItemsLayout();
    viewport()->update();
    remeasuring_ = false;
}

int THTMListbox::MeasureItem(int index) const
{
    if (!multiline_ || index < 0 || index >= items_.Count())
        return itemHeight_;
    QImage scratch(1, 1, QImage::Format_ARGB32);
    QPainter painter(&scratch);
    painter.setFont(font());
    THTMLItemResult result;
    const QRect rect(0, 0, ItemWidth(), 1000);
    DrawHTMLItem(painter, items_[index], rect, urlColor_, true, false, 0, 0, images_, result);
    return result.Height + 4;
}

bool THTMListbox::LinkAt(const QPoint& point, int& index, std::string& anchor) const
{
    const QListWidgetItem* item = itemAt(point);
    if (!item)
        return false;
    index = row(item);
    if (index < 0 || index >= items_.Count())
        return false;
    QImage scratch(1, 1, QImage::Format_ARGB32);
    QPainter painter(&scratch);
    painter.setFont(font());
    THTMLItemResult result;
    DrawHTMLItem(painter, items_[index], visualItemRect(item), urlColor_, false, true, point.x(), point.y(), images_,
                 result);
    anchor = result.Anchor;
    return result.OnLink;
}

void THTMListbox::mousePressEvent(QMouseEvent* event)
{
    int index = -1;
    std::string anchor;
    if (!LinkAt(event->position().toPoint(), index, anchor)) {
        QListWidget::mousePressEvent(event);
        return;
    }
    if (anchor.find("://") != std::string::npos || anchor.find("mailto:") != std::string::npos) {
        if (ShellOpen)
            ShellOpen(anchor);
    } else if (OnAnchorClick) {
        OnAnchorClick(this, index, anchor);
    }
}

void THTMListbox::mouseMoveEvent(QMouseEvent* event)
{
    QListWidget::mouseMoveEvent(event);
    int index = -1;
    std::string anchor;
    if (LinkAt(event->position().toPoint(), index, anchor)) {
        if (OnAnchorEnter)
            OnAnchorEnter(this, index, anchor);
        viewport()->setCursor(Qt::PointingHandCursor);
    } else {
        viewport()->unsetCursor();
    }
}

void THTMListbox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (OnDblClick)
        OnDblClick(this);
}

void THTMListbox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    if (multiline_ || columns_ > 0)
        Remeasure();
}

} // namespace vx
