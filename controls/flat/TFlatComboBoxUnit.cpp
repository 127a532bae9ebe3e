// The flat combo box: items, styles, events and the flat frame and button.
#include "controls/flat/TFlatComboBoxUnit.h"

#include "platform/qt/QtText.h"
#include "controls/common/SysColors.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include <limits>

// Lets the owner-drawn styles draw and measure their list items.
class TFlatComboBox::ItemDelegate : public QStyledItemDelegate {
public:
    explicit ItemDelegate(TFlatComboBox& combo) : QStyledItemDelegate(&combo), combo_(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!OwnerDraw() || !combo_.OnDrawItem) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        int state = 0;
        if (option.state & QStyle::State_Selected)
            state |= odSelected;
        if (option.state & QStyle::State_HasFocus)
            state |= odFocused;
        if (!(option.state & QStyle::State_Enabled))
            state |= odDisabled;
        painter->save();
        combo_.OnDrawItem(&combo_, index.row(), option.rect, state, *painter);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (!OwnerDraw())
            return size;
        int height = combo_.ItemHeight();
        if (combo_.Style() == TComboBoxStyle::csOwnerDrawVariable && combo_.OnMeasureItem)
            combo_.OnMeasureItem(&combo_, index.row(), height);
        return QSize(size.width(), height);
    }

private:
    bool OwnerDraw() const
    {
        return combo_.Style() == TComboBoxStyle::csOwnerDrawFixed ||
               combo_.Style() == TComboBoxStyle::csOwnerDrawVariable;
    }

    TFlatComboBox& combo_;
};

void TComboItems::Changed()
{
    TStringList::Changed();
    if (UpdateCount() == 0)
        combo_.ItemsChanged();
}

TFlatComboBox::TFlatComboBox(QWidget* parent) : TFlatColorControl<QComboBox>(parent, clWindow, false)
{
    setItemDelegate(new ItemDelegate(*this));
    setMaxVisibleItems(8);
    SetStyle(TComboBoxStyle::csDropDown);
    ColorChanged();
    QObject::connect(this, &QComboBox::activated, [this] {
        if (OnClick)
            OnClick(this);
        if (OnChange)
            OnChange(this);
        update();
    });
}

void TFlatComboBox::CalcAdvColors()
{
    TColor base = parentWidget() ? vx::WidgetColor(parentWidget()) : Color();
    colors_[2] = vx::CalcAdvancedColor(base, colors_[2], adv_[0], true);
    colors_[1] = vx::CalcAdvancedColor(base, colors_[1], adv_[1], true);
}

void TFlatComboBox::ColorChanged()
{
    QPalette pal = view()->palette();
    pal.setColor(QPalette::Base, vx::ToQColor(Color()));
    view()->setPalette(pal);
    if (QLineEdit* edit = lineEdit())
        edit->setPalette(pal);
    update();
}

void TFlatComboBox::SetStyle(TComboBoxStyle value)
{
    style_ = value;
    const std::string text = Text();
    setEditable(HasEdit());
    if (QLineEdit* edit = lineEdit()) {
        if (!edit->property("vxFlatWired").toBool()) {
            edit->setProperty("vxFlatWired", true);
            edit->setFrame(false);
            edit->installEventFilter(this);
            QObject::connect(edit, &QLineEdit::textEdited, [this] {
                if (OnChange)
                    OnChange(this);
            });
        }
        SetMaxLength(maxLength_);
        edit->setText(vx::ToQString(text));
        PlaceEdit();
    }
    ColorChanged();
}

void TFlatComboBox::ItemsChanged()
{
    if (syncing_)
        return;
    syncing_ = true;
    const int index = currentIndex();
    const QString editText = HasEdit() ? currentText() : QString();
    QSignalBlocker block(this);
    clear();
    for (int i = 0; i < items_.Count(); ++i)
        addItem(vx::ToQString(items_[i]));
    setCurrentIndex(index < items_.Count() ? index : -1);
    if (HasEdit())
        setEditText(editText);
    syncing_ = false;
    update();
}

void TFlatComboBox::SetItemIndex(int value)
{
    setCurrentIndex(value >= 0 && value < count() ? value : -1);
    update();
}

std::string TFlatComboBox::Text() const
{
    return vx::FromQString(currentText());
}

void TFlatComboBox::SetText(const std::string& value)
{
    const QString text = vx::ToQString(value);
    if (HasEdit()) {
        setEditText(text);
    } else {
        // Without an edit, only the text of an item can be shown.
        setCurrentIndex(findText(text, Qt::MatchFixedString));
    }
    update();
}

void TFlatComboBox::SetMaxLength(int value)
{
    maxLength_ = value < 0 ? 0 : value;
    if (QLineEdit* edit = lineEdit())
        edit->setMaxLength(maxLength_ == 0 ? std::numeric_limits<int>::max() : maxLength_);
}

QRect TFlatComboBox::ButtonRect() const
{
    return vx::WinRect(width() - ButtonWidth - 2, 0, width(), height());
}

void TFlatComboBox::PlaceEdit()
{
    if (QLineEdit* edit = lineEdit())
        edit->setGeometry(3, 3, width() - ButtonWidth - 8, height() - 6);
}

void TFlatComboBox::showPopup()
{
    if (OnDropDown)
        OnDropDown(this);
    droppedDown_ = true;
    UpdateActive();
    QComboBox::showPopup();
    update();
}

void TFlatComboBox::hidePopup()
{
    QComboBox::hidePopup();
    droppedDown_ = false;
    UpdateActive();
    update(ButtonRect().adjusted(-2, 0, 0, 0));
}

void TFlatComboBox::UpdateActive()
{
    const bool active = droppedDown_ || hasFocus() || (lineEdit() && lineEdit()->hasFocus());
    if (active == active_)
        return;
    active_ = active;
    update();
}

void TFlatComboBox::resizeEvent(QResizeEvent* e)
{
    QComboBox::resizeEvent(e);
    PlaceEdit();
}

void TFlatComboBox::showEvent(QShowEvent* e)
{
    QComboBox::showEvent(e);
    PlaceEdit();
}

void TFlatComboBox::focusInEvent(QFocusEvent* e)
{
    QComboBox::focusInEvent(e);
    UpdateActive();
    update();
}

void TFlatComboBox::focusOutEvent(QFocusEvent* e)
{
    QComboBox::focusOutEvent(e);
    UpdateActive();
    update();
}

bool TFlatComboBox::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == lineEdit() && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut))
        UpdateActive();
    return QComboBox::eventFilter(watched, e);
}

void TFlatComboBox::changeEvent(QEvent* e)
{
    TFlatColorControl<QComboBox>::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        itemHeight_ = 13;
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange)
        update();
}

void TFlatComboBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor color = vx::ToQColor(Color());
    const int w = width(), h = height();
    p.fillRect(vx::WinRect(0, 0, w - ButtonWidth - 4, h), color);
    if (!HasEdit())
        PaintText(p);
    else if (droppedDown_ && style_ == TComboBoxStyle::csDropDown) {
        p.setPen(vx::ToQColor(clWindow));
        p.setBrush(Qt::NoBrush);
        p.drawRect(vx::WinRect(2, 2, w - ButtonWidth - 3, h - 2).adjusted(0, 0, -1, -1));
    }

    // The flat frame: one line in the border colour, two in the control's colour.
    QRect frame = vx::WinRect(0, 0, w - (ButtonWidth + 1), h);
    p.setBrush(Qt::NoBrush);
    for (const QColor& c : {vx::ToQColor(colors_[2]), color, color}) {
        p.setPen(c);
        p.drawRect(frame.adjusted(0, 0, -1, -1));
        frame.adjust(1, 1, -1, -1);
    }
    if (style_ != TComboBoxStyle::csSimple)
        PaintButton(p);
}

void TFlatComboBox::PaintText(QPainter& p)
{
    const int w = width(), h = height();
    const bool highlighted = hasFocus() && !droppedDown_;
    const QRect textArea = vx::WinRect(3, 3, w - ButtonWidth - 5, h - 3);
    const QRect gap = vx::WinRect(w - 2 - ButtonWidth - 8, 3, w - 2 - ButtonWidth - 3, h - 3);
    const QColor fill = highlighted ? vx::ToQColor(clHighlight) : vx::ToQColor(Color());
    p.fillRect(textArea, fill);
    p.fillRect(gap, fill);
    if (highlighted) {
        p.setPen(vx::ToQColor(clHighlight));
        p.drawRect(textArea.adjusted(0, 0, -1, -1));
    }
    const bool ownerDraw = style_ == TComboBoxStyle::csOwnerDrawFixed || style_ == TComboBoxStyle::csOwnerDrawVariable;
    if (ownerDraw && OnDrawItem && currentIndex() >= 0) {
        int state = odComboBoxEdit | (highlighted ? odSelected | odFocused : 0) | (isEnabled() ? 0 : odDisabled);
        p.save();
        OnDrawItem(this, currentIndex(), textArea, state, p);
        p.restore();
        return;
    }
    QPalette::ColorRole role = highlighted ? QPalette::HighlightedText : QPalette::Text;
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, role));
    p.setFont(font());
    p.drawText(textArea.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, currentText());
}

void TFlatComboBox::PaintButton(QPainter& p)
{
    const QRect button = ButtonRect();
    p.fillRect(button, vx::ToQColor(colors_[1]));
    p.setPen(vx::ToQColor(colors_[2]));
    p.setBrush(Qt::NoBrush);
    p.drawRect(button.adjusted(0, 0, -1, -1));

    const int x = button.left() + button.width() / 2 - 6;
    const int y = button.top() + button.height() / 2 - 1;
    auto triangle = [&](int dx, int dy, const QColor& c) {
        const QPoint down[3] = {{x + 4 + dx, y + dy}, {x + 8 + dx, y + dy}, {x + 6 + dx, y + 2 + dy}};
        const QPoint up[3] = {{x + 4 + dx, y + 2 + dy}, {x + 8 + dx, y + 2 + dy}, {x + 6 + dx, y + dy}};
        p.setPen(c);
        p.setBrush(c);
        p.drawPolygon(droppedDown_ ? up : down, 3);
    };
    if (isEnabled()) {
        triangle(0, 0, vx::ToQColor(colors_[0]));
    } else {
        triangle(1, 1, Qt::white);
        triangle(0, 0, QColor(0x80, 0x80, 0x80));
    }
}
