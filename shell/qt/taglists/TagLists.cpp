#include "shell/qt/taglists/TagLists.h"

#include "controls/common/EnterKey.h"
#include "controls/edits/RXCombos.h"
#include "editor/qt/mwCustomEdit.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/TagEntry.h"
#include "shell/qt/menu/MenuBuilder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

namespace vx::shell {

namespace {

// The preferences the lists read.
constexpr int WizardsBox = 8;
constexpr int StrongBox = 18;
constexpr int CenterBox = 19;

bool Preference(int box)
{
    return frm_pref && frm_pref->Ticked(box);
}

// The editor of the page shown in the document tabs receives the focus.
void FocusActiveSlot(TForm1& form)
{
    QWidget* page = form.PageControl1->currentWidget();
    if (!page)
        return;
    if (auto* editor = page->findChild<TmwCustomEdit*>())
        editor->setFocus();
}

void InsertEntry(TForm1& form, std::string_view entry)
{
    const TTagEntry split = SplitTagEntry(entry);
    FocusActiveSlot(form);
    if (split.Pair)
        form.insert_item_2(split.Text, static_cast<std::uint16_t>(split.Back));
    else
        form.insert_item(std::string(entry), 0);
}

std::string CurrentEntry(const QListWidget& list)
{
    const QListWidgetItem* item = list.currentItem();
    return item ? vx::FromQString(item->text()) : std::string();
}

// The menu command that opens a wizard; the entry goes in as it stands while
// that dialog is not available.
const char* WizardCommand(TTagWizard wizard)
{
    switch (wizard) {
    case TTagWizard::Mailto: return "MailtoWizard1";
    case TTagWizard::Sound: return "Soundwizard1";
    case TTagWizard::AddLink: return "AddlinkURL1";
    case TTagWizard::AddImage: return "AddGraphicImage1";
    case TTagWizard::Remark: return "RemarkWizard1";
    case TTagWizard::Table: return "TableWizard1";
    case TTagWizard::FontSelector: return "Fontselector1";
    case TTagWizard::Marquee: return "Marqueewizard1";
    case TTagWizard::Meta: return "Metataggenerator1";
    default: return nullptr;
    }
}

void WrapInActiveSlot(TForm1& form, const std::string& text, std::uint16_t back)
{
    FocusActiveSlot(form);
    form.insert_item_2(text, back);
}

struct TPage {
    const char* Caption;
    const char* Widget;
};

constexpr std::array<TPage, 12> Pages{{
    {"Html", "HtmlPage"},
    {"Webtv", "webtv"},
    {"Usertags", "usertags"},
    {"SQL", "sqlbox"},
    {"Cold Fusion", "coldfusion"},
    {"Miva", "mivalist"},
    {"PHP", "phplist"},
    {"Style sheets (css)", "csslist"},
    {"Perl commands", "perllist"},
    {"JavaScript", "Jtree"},
    {"ASP Tags", "aspbox"},
    {"&Manager", "ManagerPage"},
}};

QWidget* BuildHtmlPage(TForm1& form)
{
    auto* page = Named(new QWidget, "HtmlPage");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form.tags, 1);
    form.CheckBox1->setText("Launch wizard on tag select");
    layout->addWidget(form.CheckBox1);
    form.tags->show();
    form.CheckBox1->show();
    return page;
}

QWidget* BuildManagerPage(TForm1& form)
{
    auto* page = Named(new QWidget, "ManagerPage");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel("Open files", page));
    layout->addWidget(form.ListBox1, 1);
    layout->addWidget(new QLabel("Images", page));
    layout->addWidget(Named(new QListWidget(page), "imagebox"), 1);
    layout->addWidget(new QLabel("Version control", page));
    layout->addWidget(form.vcsbox, 1);
    form.ListBox1->show();
    form.vcsbox->show();
    return page;
}

void ArrangePages(TForm1& form)
{
    QTabWidget* pages = TagPages(form);
    while (pages->count() > 0)
        pages->removeTab(0);
    QWidget* html = BuildHtmlPage(form);
    QWidget* manager = BuildManagerPage(form);
    for (const TPage& page : Pages) {
        QWidget* widget = page.Widget == std::string_view("HtmlPage")      ? html
                          : page.Widget == std::string_view("ManagerPage") ? manager
                                                                           : pages->findChild<QWidget*>(page.Widget);
        pages->addTab(widget, page.Caption);
    }
    for (QListWidget* sorted : {form.sqlbox, form.csslist, form.perllist})
        sorted->setSortingEnabled(true);
    QMenu* tabMenu = menu::PopupMenu(form, "PopupMenu2");
    pages->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(pages->tabBar(), &QWidget::customContextMenuRequested, pages,
                     [tabBar = pages->tabBar(), tabMenu](const QPoint& at) { tabMenu->popup(tabBar->mapToGlobal(at)); });
}

// The drop-down boxes keep their entries sorted, whatever order fills them.
void KeepSorted(QComboBox* box)
{
    QObject::connect(box->model(), &QAbstractItemModel::rowsInserted, box, [box] { box->model()->sort(0); });
}

// A pick in a drop-down box selects the entry of the same text in its list
// and runs that list's command.
void ConnectCombo(TForm1& form, QComboBox* box, QListWidget* list, void (*command)(TForm1&, QListWidget&))
{
    KeepSorted(box);
    QObject::connect(box, &QComboBox::activated, box, Guarded([&form, box, list, command] {
                         const QList<QListWidgetItem*> found = list->findItems(box->currentText(), Qt::MatchExactly);
                         if (found.isEmpty())
                             return;
                         list->setCurrentItem(found.first());
                         command(form, *list);
                     }));
}

void ConnectQuickFontTools(TForm1& form)
{
    auto* colors = Named(new TColorComboBox(form.toppanel), "ColorComboBox1");
    colors->setToolTip("Quick font color tool");
    colors->OnClick = [&form, colors](QObject*) {
        WrapInActiveSlot(form, FontColorTag(colors->ColorValue()), 7);
    };
    auto* fonts = Named(new TFontComboBox(form.toppanel), "FontComboBox1");
    fonts->setToolTip("Quick font face tool");
    // As wide as a longish font name, whatever fonts this machine has.
    fonts->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fonts->setMinimumContentsLength(16);
    fonts->OnClick = [&form, fonts](QObject*) { WrapInActiveSlot(form, FontFaceTag(fonts->FontName()), 7); };
    auto* layout = static_cast<QHBoxLayout*>(form.toppanel->layout());
    const int at = layout->indexOf(form.ComboBox4);
    layout->insertWidget(at, fonts);
    layout->insertWidget(at, colors);

    form.ComboBox4->clear();
    form.ComboBox4->addItems({"normal", "1 ( 8 pt)", "2 (10 pt)", "3 (12 pt)", "4 (14 pt)", "5 (18 pt)", "6 (24 pt)",
                              "7 (36 pt)"});
    QObject::connect(form.ComboBox4, &QComboBox::activated, form.ComboBox4, Guarded([&form] {
                         const std::string tag = FontSizeTag(form.ComboBox4->currentIndex());
                         if (!tag.empty())
                             WrapInActiveSlot(form, tag, 7);
                     }));
}

} // namespace

QTabWidget* TagPages(const TForm1& form)
{
    return form.findChild<QTabWidget*>("PageControl2");
}

bool ShowTagPage(TForm1& form, std::string_view caption)
{
    QTabWidget* pages = TagPages(form);
    for (const TPage& page : Pages)
        if (caption == page.Caption)
            if (QWidget* widget = pages->findChild<QWidget*>(page.Widget)) {
                pages->setCurrentWidget(widget);
                return true;
            }
    return false;
}

void GenericListDblClick(TForm1& form, QListWidget& list)
{
    InsertEntry(form, CurrentEntry(list));
}

void tagsDblClick(TForm1& form)
{
    const std::string entry = CurrentEntry(*form.tags);
    FocusActiveSlot(form);
    if (!Preference(WizardsBox)) {
        InsertEntry(form, entry);
        return;
    }
    const TTagWizard wizard = MatchTagWizard(entry, Preference(StrongBox), Preference(CenterBox));
    if (wizard == TTagWizard::Strong) {
        form.insert_item_2("<strong></strong>", 9);
        return;
    }
    if (wizard == TTagWizard::Center) {
        form.insert_item_2("<p align=\"center\"></p>", 4);
        return;
    }
    if (const char* command = WizardCommand(wizard)) {
        QAction* action = form.findChild<QAction*>(command);
        if (action && action->isEnabled()) {
            action->trigger();
            return;
        }
    }
    InsertEntry(form, entry);
}

void aspboxDblClick(TForm1& form)
{
    const std::string entry = CurrentEntry(*form.aspbox);
    FocusActiveSlot(form);
    form.insert_item_2(entry, 0);
}

void JtreeDblClick(TForm1& form)
{
    const QTreeWidgetItem* node = form.Jtree->currentItem();
    if (!node)
        return;
    const TTagEntry split = SplitTagEntry(vx::FromQString(node->text(0)));
    FocusActiveSlot(form);
    form.insert_item_2(split.Text, static_cast<std::uint16_t>(split.Back));
}

void SetUpTagLists(TForm1& form)
{
    ArrangePages(form);
    // Enter on an entry inserts it as a double click does.
    auto connect = [](auto* view, auto signal, std::function<void()> run) {
        QObject::connect(view, signal, view, Guarded(run));
        vx::OnEnterKey(view, Guarded(run));
    };
    for (QListWidget* list : {form.webtv, form.usertags, form.sqlbox, form.coldfusion, form.mivalist, form.phplist,
                              form.csslist, form.perllist})
        connect(list, &QListWidget::itemDoubleClicked, [&form, list] { GenericListDblClick(form, *list); });
    connect(form.tags, &QListWidget::itemDoubleClicked, [&form] { tagsDblClick(form); });
    connect(form.aspbox, &QListWidget::itemDoubleClicked, [&form] { aspboxDblClick(form); });
    connect(form.Jtree, &QTreeWidget::itemDoubleClicked, [&form] { JtreeDblClick(form); });
    ConnectCombo(form, form.combobox1, form.tags, [](TForm1& f, QListWidget&) { tagsDblClick(f); });
    ConnectCombo(form, form.combobox2, form.mivalist, GenericListDblClick);
    ConnectCombo(form, form.combobox3, form.phplist, GenericListDblClick);
    ConnectQuickFontTools(form);
    QObject::connect(form.CheckBox1, &QCheckBox::clicked, form.CheckBox1, [](bool checked) {
        if (frm_pref)
            frm_pref->CheckBox(WizardsBox)->setChecked(checked);
    });
}

} // namespace vx::shell
