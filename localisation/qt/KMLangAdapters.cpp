// What the translator sees of a Qt object.
#include "localisation/qt/KMLangAdapters.h"

#include "platform/TStringList.h"
#include "platform/qt/QtText.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <typeinfo>

namespace {

using vx::FromQString;
using vx::ToQString;

// Binds a getter and setter of a guarded object into a string property.
template <typename T, typename Get, typename Set>
TTransProp textProp(const char* name, T* object, Get get, Set set)
{
    QPointer<T> guard(object);
    return TTransProp{name, false,
                      [guard, get] { return guard ? FromQString(get(guard.data())) : std::string(); },
                      [guard, set](const std::string& s) {
                          if (guard)
                              set(guard.data(), ToQString(s));
                      }};
}

std::string joinLines(const QStringList& lines)
{
    TStringList list;
    for (const QString& line : lines)
        list.Add(FromQString(line));
    return list.Text();
}

QStringList splitLines(const std::string& text)
{
    TStringList list;
    list.SetText(text);
    QStringList lines;
    for (int i = 0; i < list.Count(); ++i)
        lines << ToQString(list[i]);
    return lines;
}

template <typename T, typename Get, typename Set>
TTransProp listProp(const char* name, T* object, Get get, Set set)
{
    QPointer<T> guard(object);
    return TTransProp{name, true,
                      [guard, get] { return guard ? joinLines(get(guard.data())) : std::string(); },
                      [guard, set](const std::string& s) {
                          if (guard)
                              set(guard.data(), splitLines(s));
                      }};
}

// A list's items get their new texts in place, so that what an item carries
// besides its text (its data, icon and check state) and the selection stay.
// Items the program adds after those the window was built with (a colour of
// the user's own after the standard colours) are no texts of the window: a
// list longer than the translation keeps its later items as they are, and a
// shorter one, which the program or the user emptied in part, gets no items
// back.
template <typename SetText>
void setItemTexts(const QStringList& items, int count, SetText setText)
{
    for (int i = 0; i < count && i < items.size(); ++i)
        setText(i, items[i]);
}

QStringList plainLines(const QString& text)
{
    return text.isEmpty() ? QStringList() : text.split('\n');
}

TTransProp hintProp(QWidget* w)
{
    return textProp("Hint", w, [](QWidget* o) { return o->toolTip(); }, [](QWidget* o, const QString& s) { o->setToolTip(s); });
}

QTabWidget* tabWidgetOf(QWidget* page)
{
    QWidget* stack = page->parentWidget();
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

void describeTree(QTreeWidget* tree, TTransNode& node)
{
    QPointer<QTreeWidget> guard(tree);
    TTransNode columns{"TListColumns", nullptr, {}, {}};
    for (int i = 0; i < tree->columnCount(); ++i) {
        TTransNode column{"TListColumn", nullptr, {}, {}};
        column.Props.push_back(TTransProp{
            "Caption", false,
            [guard, i] { return guard && guard->headerItem() ? FromQString(guard->headerItem()->text(i)) : std::string(); },
            [guard, i](const std::string& s) {
                if (!guard || !guard->headerItem())
                    return;
                guard->headerItem()->setText(i, ToQString(s));
                // A heading the language makes longer widens its column: it is read whole.
                QHeaderView& header = *guard->header();
                header.resizeSection(i, std::max(header.sectionSize(i), header.sectionSizeHint(i)));
            }});
        columns.Children.emplace_back("Item" + std::to_string(i), std::move(column));
    }
    node.Children.emplace_back("Columns", std::move(columns));
    node.Props.push_back(hintProp(tree));
    TTransNode items{"TListItems", nullptr, {}, {}};
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        TTransNode item{"TListItem", nullptr, {}, {}};
        item.Props.push_back(TTransProp{
            "Caption", false,
            [guard, i] {
                return guard && guard->topLevelItem(i) ? FromQString(guard->topLevelItem(i)->text(0)) : std::string();
            },
            [guard, i](const std::string& s) {
                if (guard && guard->topLevelItem(i))
                    guard->topLevelItem(i)->setText(0, ToQString(s));
            }});
        items.Children.emplace_back("Item" + std::to_string(i), std::move(item));
    }
    node.Children.emplace_back("Items", std::move(items));
}

// The class the object was made as, without its namespace: our own
// components are named as the rules name them (TFlatCheckBox, TRxLabel ...).
std::string dynamicClassName(const QObject* object)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(typeid(*object).name(), nullptr, nullptr, &status), &std::free);
    if (status != 0 || !name)
        return {};
    std::string full = name.get();
    const std::size_t colons = full.rfind("::");
    return colons == std::string::npos ? full : full.substr(colons + 2);
}

// Lists that show the file system (a folder's subfolders, its files, the
// drives, the tree of folders), the label naming their folder and the title
// of a drop-down calendar, which names the month shown: what they hold is
// found at run time, never a text to translate; only their hints are.
bool showsRunTimeContent(const QObject* object)
{
    if (dynamicClassName(object) == "TDirTree")
        return true;
    const QString name = object->objectName();
    for (const char* prefix : {"DirectoryListBox", "FileListBox", "DriveComboBox", "DirectoryLabel", "CalendarTitle"})
        if (name.startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

bool isRadioGroup(const QObject* object)
{
    return qobject_cast<const QGroupBox*>(object) && dynamicClassName(object) == "TRadioGroup";
}

QList<QRadioButton*> radioItems(QGroupBox* group)
{
    return group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

// A status bar's panels, in order, as Panels.Item<i>.Text.
void describePanels(QStatusBar* bar, TTransNode& node)
{
    TTransNode panels{"TStatusPanels", nullptr, {}, {}};
    int i = 0;
    for (QLabel* panel : bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        TTransNode item{"TStatusPanel", nullptr, {}, {}};
        item.Props.push_back(textProp("Text", panel, [](QLabel* o) { return o->text(); },
                                      [](QLabel* o, const QString& s) { o->setText(s); }));
        panels.Children.emplace_back("Item" + std::to_string(i++), std::move(item));
    }
    node.Children.emplace_back("Panels", std::move(panels));
}

void describeWidget(QWidget* w, TTransNode& node)
{
    node.FontHolder = w;
    if (showsRunTimeContent(w)) {
        // What such a list shows is found at run time; its hint is the program's.
        node.Props.push_back(hintProp(w));
        return;
    }
    if (w->isWindow() && !qobject_cast<QMenu*>(w)) {
        node.Props.push_back(textProp("Caption", w, [](QWidget* o) { return o->windowTitle(); },
                                      [](QWidget* o, const QString& s) { o->setWindowTitle(s); }));
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        node.Props.push_back(textProp("Caption", b, [](QAbstractButton* o) { return o->text(); },
                                      [](QAbstractButton* o, const QString& s) { o->setText(s); }));
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        node.Props.push_back(textProp("Caption", l, [](QLabel* o) { return o->text(); },
                                      [](QLabel* o, const QString& s) { o->setText(s); }));
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        node.Props.push_back(textProp("Caption", g, [](QGroupBox* o) { return o->title(); },
                                      [](QGroupBox* o, const QString& s) { o->setTitle(s); }));
    } else if (auto* m = qobject_cast<QMenu*>(w)) {
        node.Props.push_back(textProp("Caption", m, [](QMenu* o) { return o->title(); },
                                      [](QMenu* o, const QString& s) { o->setTitle(s); }));
    } else if (QTabWidget* tabs = tabWidgetOf(w)) {
        QPointer<QTabWidget> guard(tabs);
        node.Props.push_back(textProp(
            "Caption", w, [guard](QWidget* o) { return guard ? guard->tabText(guard->indexOf(o)) : QString(); },
            [guard](QWidget* o, const QString& s) {
                if (guard)
                    guard->setTabText(guard->indexOf(o), s);
            }));
    }
    if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        describeTree(tree, node);
        return;
    }
    node.Props.push_back(hintProp(w));
    if (auto* bar = qobject_cast<QStatusBar*>(w))
        describePanels(bar, node);
    if (isRadioGroup(w)) {
        node.Props.push_back(listProp(
            "Items", static_cast<QGroupBox*>(w),
            [](QGroupBox* o) {
                QStringList items;
                for (const QRadioButton* button : radioItems(o))
                    items << button->text();
                return items;
            },
            [](QGroupBox* o, const QStringList& items) {
                const QList<QRadioButton*> buttons = radioItems(o);
                for (int i = 0; i < buttons.size() && i < items.size(); ++i)
                    buttons[i]->setText(items[i]);
            }));
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        node.Props.push_back(textProp("Text", e, [](QLineEdit* o) { return o->text(); },
                                      [](QLineEdit* o, const QString& s) { o->setText(s); }));
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        node.Props.push_back(listProp("Lines", p, [](QPlainTextEdit* o) { return plainLines(o->toPlainText()); },
                                      [](QPlainTextEdit* o, const QStringList& s) { o->setPlainText(s.join('\n')); }));
    } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
        node.Props.push_back(listProp("Lines", t, [](QTextEdit* o) { return plainLines(o->toPlainText()); },
                                      [](QTextEdit* o, const QStringList& s) { o->setPlainText(s.join('\n')); }));
    } else if (auto* c = qobject_cast<QComboBox*>(w); c && dynamicClassName(c) != "TFontComboBox") {
        // A font box lists the fonts installed where it runs: no texts of the program.
        node.Props.push_back(listProp(
            "Items", c,
            [](QComboBox* o) {
                QStringList items;
                for (int i = 0; i < o->count(); ++i)
                    items << o->itemText(i);
                return items;
            },
            [](QComboBox* o, const QStringList& items) {
                // A new text of the current item would replace what the user typed.
                const QString edit = o->currentText();
                setItemTexts(items, o->count(), [o](int i, const QString& text) { o->setItemText(i, text); });
                if (o->isEditable())
                    o->setEditText(edit);
            }));
        if (c->isEditable())
            node.Props.push_back(textProp("Text", c, [](QComboBox* o) { return o->currentText(); },
                                          [](QComboBox* o, const QString& s) { o->setEditText(s); }));
    } else if (auto* lw = qobject_cast<QListWidget*>(w)) {
        node.Props.push_back(listProp(
            "Items", lw,
            [](QListWidget* o) {
                QStringList items;
                for (int i = 0; i < o->count(); ++i)
                    items << o->item(i)->text();
                return items;
            },
            [](QListWidget* o, const QStringList& items) {
                // Taken before any text changes: a sorted list moves an item whose text changed.
                QList<QListWidgetItem*> rows;
                for (int i = 0; i < o->count(); ++i)
                    rows << o->item(i);
                setItemTexts(items, o->count(), [&rows](int i, const QString& text) { rows[i]->setText(text); });
            }));
    }
}

// Texts that data, report and query components declare as Qt properties
// under the names the scan rules give them (a query's SQL, a field's
// DisplayLabel, a navigator's Hints ...).
void describeMetaTexts(QObject* object, TTransNode& node)
{
    static const char* const kNames[] = {"DisplayLabel", "Header", "ReportTitle", "Values", "Hints", "SQL"};
    const QMetaObject* meta = object->metaObject();
    for (const char* name : kNames) {
        const int index = meta->indexOfProperty(name);
        if (index < 0)
            continue;
        const QMetaProperty property = meta->property(index);
        if (!property.isWritable())
            continue;
        QPointer<QObject> guard(object);
        if (property.userType() == QMetaType::QString)
            node.Props.push_back(TTransProp{
                name, false, [guard, property] { return guard ? FromQString(property.read(guard).toString()) : std::string(); },
                [guard, property](const std::string& s) {
                    if (guard)
                        property.write(guard, ToQString(s));
                }});
        else if (property.userType() == QMetaType::QStringList)
            node.Props.push_back(TTransProp{
                name, true,
                [guard, property] { return guard ? joinLines(property.read(guard).toStringList()) : std::string(); },
                [guard, property](const std::string& s) {
                    if (guard)
                        property.write(guard, splitLines(s));
                }});
    }
}

} // namespace

std::string TransClassName(const QObject* object)
{
    static const std::map<std::string, std::string> kNames = {
        {"QPushButton", "TButton"},   {"QCheckBox", "TCheckBox"},     {"QRadioButton", "TRadioButton"},
        {"QToolButton", "TSpeedButton"}, {"QLabel", "TLabel"},         {"QGroupBox", "TGroupBox"},
        {"QLineEdit", "TEdit"},       {"QPlainTextEdit", "TMemo"},    {"QTextEdit", "TRichEdit"},
        {"QComboBox", "TComboBox"},   {"QListWidget", "TListBox"},    {"QTreeWidget", "TListView"},
        {"QTabWidget", "TPageControl"}, {"QMenu", "TMenuItem"},       {"QAction", "TMenuItem"},
        {"QMenuBar", "TMainMenu"},    {"QWidget", "TPanel"},          {"QFrame", "TPanel"},
        {"QDialog", "TForm"},         {"QMainWindow", "TForm"},
    };
    const std::string own = dynamicClassName(object);
    if (own.size() > 1 && own[0] == 'T' && std::isupper(static_cast<unsigned char>(own[1])))
        return own;
    if (own.rfind("Tfrm_", 0) == 0 || own.rfind("TFrm_", 0) == 0)
        return own;
    std::string name = object->metaObject()->className();
    if (name == "QWidget" && object->isWidgetType() && static_cast<const QWidget*>(object)->isWindow())
        return "TForm";
    auto it = kNames.find(name);
    return it == kNames.end() ? name : it->second;
}

namespace {

std::vector<TTransAdapter>& Adapters()
{
    static std::vector<TTransAdapter> adapters;
    return adapters;
}

} // namespace

void RegisterTransAdapter(TTransAdapter adapter)
{
    Adapters().push_back(std::move(adapter));
}

TTransProp MakeTransProp(QObject* guard, const char* name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set)
{
    QPointer<QObject> alive(guard);
    return TTransProp{name, false, [alive, get = std::move(get)] { return alive ? get() : std::string(); },
                      [alive, set = std::move(set)](const std::string& s) {
                          if (alive)
                              set(s);
                      }};
}

bool TransHidesChildren(const QObject* object)
{
    return isRadioGroup(object);
}

TTransNode DescribeObject(QObject* object)
{
    TTransNode node;
    node.ClassName = TransClassName(object);
    if (auto* w = qobject_cast<QWidget*>(object)) {
        describeWidget(w, node);
    } else if (auto* a = qobject_cast<QAction*>(object)) {
        node.Props.push_back(textProp("Caption", a, [](QAction* o) { return o->text(); },
                                      [](QAction* o, const QString& s) { o->setText(s); }));
        node.Props.push_back(textProp("Hint", a, [](QAction* o) { return o->statusTip(); },
                                      [](QAction* o, const QString& s) { o->setStatusTip(s); }));
    }
    describeMetaTexts(object, node);
    for (const TTransAdapter& adapter : Adapters())
        adapter(object, node);
    return node;
}
