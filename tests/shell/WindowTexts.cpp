// Collecting what a window shows in words.
#include "tests/shell/WindowTexts.h"

#include "controls/buttons/RXCtrls.h"
#include "controls/display/RxLabel.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "platform/qt/QtText.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTextEdit>

#include <functional>

namespace vx::test {
namespace {

// Rows of a list or tree looked at: enough for every list a window is built with.
constexpr int MaxRows = 400;

std::string NameOf(const QWidget& control)
{
    if (!control.objectName().isEmpty())
        return control.objectName().toStdString();
    int index = 0;
    if (const QObject* parent = control.parent())
        for (const QObject* sibling : parent->children()) {
            if (sibling == &control)
                break;
            index += sibling->metaObject() == control.metaObject();
        }
    return std::string(control.metaObject()->className()) + "#" + std::to_string(index);
}

void AddModelTexts(TShownTexts& texts, const std::string& place, const QAbstractItemView& view)
{
    const QAbstractItemModel* model = view.model();
    if (!model)
        return;
    for (int column = 0; column < model->columnCount(); ++column)
        texts[place + ".Columns." + std::to_string(column)] = model->headerData(column, Qt::Horizontal).toString();
    // Depth first through the rows, children after their parent.
    int seen = 0;
    std::function<void(const QModelIndex&, const std::string&)> rows = [&](const QModelIndex& parent,
                                                                          const std::string& at) {
        for (int row = 0; row < model->rowCount(parent) && seen < MaxRows; ++row, ++seen) {
            const std::string here = at + "." + std::to_string(row);
            for (int column = 0; column < model->columnCount(parent); ++column)
                texts[place + ".Items" + here + ":" + std::to_string(column)] =
                    model->index(row, column, parent).data().toString();
            rows(model->index(row, 0, parent), here);
        }
    };
    rows(QModelIndex(), "");
}

void AddLines(TShownTexts& texts, const std::string& place, const QString& text)
{
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i)
        texts[place + "." + std::to_string(i)] = lines[i];
}

void AddControlTexts(TShownTexts& texts, const std::string& place, QWidget& control)
{
    auto add = [&](const std::string& what, const QString& text) { texts[place + "." + what] = text; };
    add("Hint", control.toolTip());
    add("AccessibleName", control.accessibleName());
    if (auto* label = qobject_cast<QLabel*>(&control))
        add("Caption", label->text());
    else if (auto* button = qobject_cast<QAbstractButton*>(&control))
        add("Caption", button->text());
    else if (auto* box = qobject_cast<QGroupBox*>(&control))
        add("Caption", box->title());
    else if (auto* tabs = qobject_cast<QTabBar*>(&control))
        for (int i = 0; i < tabs->count(); ++i)
            add("Tabs." + std::to_string(i), tabs->tabText(i));
    else if (auto* combo = qobject_cast<QComboBox*>(&control)) {
        add("Text", combo->currentText());
        for (int i = 0; i < combo->count(); ++i)
            add("Items." + std::to_string(i), combo->itemText(i));
    } else if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        add("Text", edit->text());
        add("Placeholder", edit->placeholderText());
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(&control))
        AddLines(texts, place + ".Lines", memo->toPlainText());
    else if (auto* rich = qobject_cast<QTextEdit*>(&control))
        AddLines(texts, place + ".Lines", rich->toPlainText());
    else if (auto* view = qobject_cast<QAbstractItemView*>(&control))
        AddModelTexts(texts, place, *view);
    else if (auto* flat = dynamic_cast<TFlatSpeedButton*>(&control))
        add("Caption", vx::ToQString(flat->Caption()));
    else if (auto* check = dynamic_cast<TFlatCheckBox*>(&control))
        add("Caption", vx::ToQString(check->Caption()));
    else if (auto* rxLabel = dynamic_cast<TRxLabel*>(&control))
        add("Caption", vx::ToQString(rxLabel->Caption()));
    else if (auto* speed = dynamic_cast<TRxSpeedButton*>(&control))
        add("Caption", vx::ToQString(speed->Caption()));
    else if (auto* status = qobject_cast<QStatusBar*>(&control))
        add("Message", status->currentMessage());
}

} // namespace

std::string PlaceOf(const QWidget& window, const QWidget& control)
{
    std::string place;
    for (const QWidget* at = &control; at && at != &window; at = at->parentWidget())
        place = NameOf(*at) + (place.empty() ? "" : "/" + place);
    return place;
}

bool Shows(const QWidget& window, const QWidget& control)
{
    for (const QWidget* at = &control; at && at != &window; at = at->parentWidget())
        if (at->isHidden() && !qobject_cast<const QStackedWidget*>(at->parentWidget()))
            return false;
    return true;
}

TShownTexts ShownTexts(QWidget& window)
{
    TShownTexts texts;
    texts["Caption"] = window.windowTitle();
    for (QWidget* control : window.findChildren<QWidget*>())
        if (!control->isWindow() && Shows(window, *control))
            AddControlTexts(texts, PlaceOf(window, *control), *control);
    // Menus and their items: the window's own pop-up menus and menu bar.
    for (QMenu* menu : window.findChildren<QMenu*>()) {
        const std::string place = NameOf(*menu);
        texts[place + ".Caption"] = menu->title();
        const QList<QAction*> actions = menu->actions();
        for (int i = 0; i < actions.size(); ++i)
            if (!actions[i]->isSeparator() && actions[i]->isVisible())
                texts[place + "/" + std::to_string(i) + ".Caption"] = actions[i]->text();
    }
    std::erase_if(texts, [](const auto& entry) { return entry.second.trimmed().isEmpty(); });
    return texts;
}

} // namespace vx::test
