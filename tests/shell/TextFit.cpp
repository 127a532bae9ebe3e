// Measuring a window's words against their controls.
#include "tests/shell/TextFit.h"

#include "tests/shell/WindowTexts.h"

#include "controls/display/RxLabel.h"
#include "controls/edits/RXCombos.h"
#include "controls/flat/FlatUtilitys.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "platform/qt/QtText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegion>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace vx::test {
namespace {

// A line edit keeps this many pixels free on either side of its text.
constexpr int LineEditMargin = 2;

// The pixels of a run [first, last] that none of the spans covers.
int UncoveredRun(int first, int last, std::vector<std::pair<int, int>> spans)
{
    std::sort(spans.begin(), spans.end());
    int free = 0, at = first;
    for (const auto& [from, to] : spans) {
        free += std::max(0, std::min(from, last + 1) - at);
        at = std::max(at, to + 1);
    }
    return free + std::max(0, last + 1 - at);
}

class TMeasure {
public:
    explicit TMeasure(QWidget& window) : window_(window), covers_(OwnedWindowsOver(window)) {}

    // The text needs needed pixels across the control's text area, of which
    // the part the window does not cut off is the room.
    void Across(QWidget& control, const QString& what, const QString& text, int needed, const QRect& area)
    {
        if (text.trimmed().isEmpty())
            return;
        const QRect visible = Visible(control, area);
        rooms_.push_back({PlaceOf(window_, control) + "." + what.toStdString(), text, needed,
                          Uncovered(visible, Qt::Horizontal)});
    }
    // A text the control scrolls into view: all of its room is.
    void Scrolled(QWidget& control, const QString& what, const QString& text, int needed, int room)
    {
        if (!text.trimmed().isEmpty())
            rooms_.push_back({PlaceOf(window_, control) + "." + what.toStdString(), text, needed, room});
    }
    // A text that wraps: the lines it needs down the text area.
    void Down(QWidget& control, const QString& what, const QString& text, const QRect& needed, const QRect& area)
    {
        if (text.trimmed().isEmpty())
            return;
        const QRect visible = Visible(control, area);
        const bool across = needed.width() > visible.width();
        rooms_.push_back({PlaceOf(window_, control) + "." + what.toStdString(), text,
                          across ? needed.width() : needed.height(),
                          Uncovered(visible, across ? Qt::Horizontal : Qt::Vertical)});
    }
    std::vector<TTextRoom> Rooms() { return std::move(rooms_); }

private:
    // The shown windows the window owns stand above it: the parts of it they
    // cover, in the window's pixels.
    static std::vector<QRect> OwnedWindowsOver(QWidget& window)
    {
        std::vector<QRect> covers;
        for (QWidget* owned : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!owned->isWindow() || !owned->isVisible())
                continue;
            const QRegion shape = owned->mask().isEmpty() ? QRegion(owned->rect()) : owned->mask();
            for (const QRect& part : shape)
                covers.emplace_back(part.translated(window.mapFromGlobal(owned->mapToGlobal(QPoint(0, 0)))));
        }
        return covers;
    }
    // The part of the area (in the control's pixels) that the control's
    // parents up to the window leave visible.
    QRect Visible(const QWidget& control, const QRect& area) const
    {
        QRect shown(control.mapTo(&window_, area.topLeft()), area.size());
        for (const QWidget* parent = control.parentWidget(); parent && parent != &window_; parent = parent->parentWidget())
            shown &= QRect(parent->mapTo(&window_, QPoint(0, 0)), parent->size());
        return shown & window_.rect();
    }
    // The columns (Qt::Horizontal) or rows of the visible area no owned window covers.
    int Uncovered(const QRect& visible, Qt::Orientation along) const
    {
        const bool across = along == Qt::Horizontal;
        std::vector<std::pair<int, int>> spans;
        for (const QRect& cover : covers_)
            if (const QRect part = cover & visible; !part.isEmpty())
                spans.emplace_back(across ? part.left() : part.top(), across ? part.right() : part.bottom());
        return UncoveredRun(across ? visible.left() : visible.top(), across ? visible.right() : visible.bottom(),
                            std::move(spans));
    }

    QWidget& window_;
    std::vector<QRect> covers_;
    std::vector<TTextRoom> rooms_;
};

int MnemonicWidth(const QFontMetrics& metrics, const QString& text)
{
    return metrics.size(Qt::TextShowMnemonic, text).width();
}

void MeasureButton(TMeasure& measure, QAbstractButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(&button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<QRadioButton*>(&button))
        contents = QStyle::SE_RadioButtonContents;
    else if (!qobject_cast<QPushButton*>(&button))
        return; // tool buttons show pictures
    int needed = MnemonicWidth(button.fontMetrics(), button.text());
    if (!button.icon().isNull())
        needed += button.iconSize().width() + 4;
    measure.Across(button, "Caption", button.text(), needed,
                   button.style()->subElementRect(contents, &option, &button));
}

void MeasureLabel(TMeasure& measure, QLabel& label)
{
    QString text = label.text();
    if (text.isEmpty() || !label.pixmap().isNull())
        return;
    if (Qt::mightBeRichText(text)) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    }
    const int margin = label.margin() + std::max(label.indent(), 0);
    const QRect area = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    const int flags = Qt::TextShowMnemonic | (label.wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed = label.fontMetrics().boundingRect(QRect(0, 0, area.width(), 100000), flags, text);
    if (label.wordWrap())
        measure.Down(label, "Caption", text, needed, area);
    else
        measure.Across(label, "Caption", text, needed.width(), area);
}

void MeasureGroupBox(TMeasure& measure, QGroupBox& box)
{
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.subControls = QStyle::SC_GroupBoxLabel;
    option.textAlignment = box.alignment();
    // The style makes the title's room as wide as the title: the box and its parents may cut it.
    const QRect label = box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    measure.Across(box, "Caption", box.title(), label.width(), label & box.rect());
}

void MeasureTabs(TMeasure& measure, QTabBar& bar)
{
    const bool upright = bar.shape() == QTabBar::RoundedWest || bar.shape() == QTabBar::RoundedEast ||
                         bar.shape() == QTabBar::TriangularWest || bar.shape() == QTabBar::TriangularEast;
    // Tabs that do not fit hide behind scroll buttons, which take room of their own.
    QRect shown = bar.rect();
    for (const QToolButton* scroll : bar.findChildren<QToolButton*>())
        if (scroll->isVisible()) {
            if (upright)
                shown.setBottom(std::min(shown.bottom(), scroll->geometry().top() - 1));
            else
                shown.setRight(std::min(shown.right(), scroll->geometry().left() - 1));
        }
    const int space = bar.style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, &bar);
    for (int i = 0; i < bar.count(); ++i) {
        if (!bar.isTabVisible(i))
            continue;
        const QString what = "Tabs." + QString::number(i);
        const int needed = MnemonicWidth(bar.fontMetrics(), bar.tabText(i)) + space;
        // An upright tab runs its text down the tab.
        if (upright)
            measure.Down(bar, what, bar.tabText(i), QRect(0, 0, 0, needed), bar.tabRect(i) & shown);
        else
            measure.Across(bar, what, bar.tabText(i), needed, bar.tabRect(i) & shown);
    }
}

void MeasureLineEdit(TMeasure& measure, QLineEdit& edit)
{
    if (edit.echoMode() != QLineEdit::Normal)
        return;
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    const QRect area = edit.style()
                           ->subElementRect(QStyle::SE_LineEditContents, &option, &edit)
                           .marginsRemoved(edit.textMargins())
                           .adjusted(LineEditMargin, 0, -LineEditMargin, 0);
    measure.Across(edit, "Text", edit.text(), edit.fontMetrics().horizontalAdvance(edit.text()), area);
}

void MeasureComboBox(TMeasure& measure, QComboBox& combo)
{
    // An editable box shows its value in its own line edit; the font box
    // shows one of this machine's fonts.
    if (combo.isEditable() || dynamic_cast<TFontComboBox*>(&combo))
        return;
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.frame = combo.hasFrame();
    QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
    if (auto* drawn = dynamic_cast<TOwnerDrawComboBox*>(&combo))
        field = drawn->TextRect(field, combo.currentIndex());
    int needed = combo.fontMetrics().horizontalAdvance(combo.currentText());
    if (!combo.itemIcon(combo.currentIndex()).isNull())
        needed += combo.iconSize().width() + 4;
    measure.Across(combo, "Text", combo.currentText(), needed, field);
}

void MeasureFlatButton(TMeasure& measure, TFlatSpeedButton& button)
{
    QPoint glyph;
    QRect text;
    vx::CalcButtonLayout(button.fontMetrics(), button.rect(), QPoint(), button.Caption(), button.Layout(),
                         button.Margin(), button.Spacing(), glyph, text, button.NumGlyphs(), button.Glyph());
    // The 3-D frame takes a pixel on either side.
    measure.Across(button, "Caption", vx::ToQString(button.Caption()), text.width(),
                   text & button.rect().adjusted(1, 1, -1, -1));
}

void MeasureFlatCheckBox(TMeasure& measure, TFlatCheckBox& check)
{
    const QString caption = vx::ToQString(check.Caption());
    const QRect area = check.TextRect();
    const QRect needed = check.fontMetrics().boundingRect(QRect(area.topLeft(), QSize(area.width(), 100000)),
                                                         Qt::TextWordWrap | Qt::TextShowMnemonic, caption);
    measure.Down(check, "Caption", caption, needed, area);
}

void MeasureRxLabel(TMeasure& measure, TRxLabel& label)
{
    const QString caption = vx::ToQString(label.Caption());
    const QRect area = label.rect().adjusted(1, 0, -1, 0);
    measure.Down(label, "Caption", caption, QRect(QPoint(), label.TextExtent(area.width())), area);
}

// A list's column headings: each needs what the header asks for it, which
// is what fitting the column to its contents gives it, across its whole
// column, which the list scrolls into view.
void MeasureColumnHeadings(TMeasure& measure, QHeaderView& header)
{
    if (header.orientation() != Qt::Horizontal || !header.model())
        return;
    for (int i = 0; i < header.count(); ++i) {
        const int column = header.logicalIndex(i);
        if (header.isSectionHidden(column))
            continue;
        measure.Scrolled(header, "Columns." + QString::number(column),
                         header.model()->headerData(column, Qt::Horizontal).toString(),
                         header.sectionSizeHint(column), header.sectionSize(column));
    }
}

// A status bar draws its message from a few pixels in up to its first shown
// panel, or to the size grip's corner.
void MeasureStatusMessage(TMeasure& measure, QStatusBar& bar)
{
    int right = bar.width() - 12;
    for (const QWidget* panel : bar.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (panel->isVisibleTo(&bar) && panel->x() > 0)
            right = std::min(right, panel->x() - 2);
    const QString message = bar.currentMessage();
    measure.Across(bar, "Message", message, bar.fontMetrics().horizontalAdvance(message),
                   QRect(6, 0, right - 6, bar.height()));
}

void Measure(TMeasure& measure, QWidget& control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(&control))
        MeasureButton(measure, *button);
    else if (auto* label = qobject_cast<QLabel*>(&control))
        MeasureLabel(measure, *label);
    else if (auto* box = qobject_cast<QGroupBox*>(&control))
        MeasureGroupBox(measure, *box);
    else if (auto* bar = qobject_cast<QTabBar*>(&control))
        MeasureTabs(measure, *bar);
    else if (auto* edit = qobject_cast<QLineEdit*>(&control))
        MeasureLineEdit(measure, *edit);
    else if (auto* combo = qobject_cast<QComboBox*>(&control))
        MeasureComboBox(measure, *combo);
    else if (auto* flat = dynamic_cast<TFlatSpeedButton*>(&control))
        MeasureFlatButton(measure, *flat);
    else if (auto* check = dynamic_cast<TFlatCheckBox*>(&control))
        MeasureFlatCheckBox(measure, *check);
    else if (auto* rxLabel = dynamic_cast<TRxLabel*>(&control))
        MeasureRxLabel(measure, *rxLabel);
    else if (auto* bar = qobject_cast<QStatusBar*>(&control))
        MeasureStatusMessage(measure, *bar);
    else if (auto* header = qobject_cast<QHeaderView*>(&control))
        MeasureColumnHeadings(measure, *header);
}

void LayOut()
{
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QApplication::processEvents();
}

// What measureOne finds of each control of class C the window shows now.
template <class C> std::vector<TTextRoom> RoomsOfShown(QWidget& window, void (*measureOne)(TMeasure&, C&))
{
    TMeasure measure(window);
    for (C* control : window.findChildren<C*>())
        if (control->window() == &window && control->isVisibleTo(&window))
            measureOne(measure, *control);
    return measure.Rooms();
}

} // namespace

std::vector<TTextRoom> TextRooms(QWidget& window)
{
    return RoomsOfShown<QWidget>(window, Measure);
}

std::vector<TTextRoom> ColumnHeadingRooms(QWidget& window)
{
    return RoomsOfShown<QHeaderView>(window, MeasureColumnHeadings);
}

std::optional<TTextRoom> RoomOf(QWidget& window, const QString& text)
{
    std::vector<TTextRoom> rooms = TextRooms(window);
    std::erase_if(rooms, [&text](const TTextRoom& room) { return room.Text != text; });
    return rooms.size() == 1 ? std::optional(std::move(rooms.front())) : std::nullopt;
}

std::vector<TTextRoom> TextRoomsOnEveryPage(QWidget& window)
{
    std::map<std::string, TTextRoom> rooms;
    auto take = [&rooms, &window] {
        LayOut();
        for (TTextRoom& room : TextRooms(window))
            rooms.insert_or_assign(room.Place, std::move(room));
    };
    take();
    for (QTabWidget* pages : window.findChildren<QTabWidget*>()) {
        if (!pages->isVisibleTo(&window))
            continue;
        const int shown = pages->currentIndex();
        for (int i = 0; i < pages->count(); ++i)
            if (pages->isTabVisible(i)) {
                pages->setCurrentIndex(i);
                take();
            }
        pages->setCurrentIndex(shown);
    }
    LayOut();
    std::vector<TTextRoom> all;
    for (auto& [place, room] : rooms)
        all.push_back(std::move(room));
    return all;
}

} // namespace vx::test
