#include "shell/qt/panels/SidePanels.h"
#include "internet/qt/LinkCheckForm.h"
#include "internet/qt/TreeCopy.h"
#include "shell/qt/launch/LaunchSteps.h"

#include "controls/edits/RxCalc.h"
#include "controls/display/BmpMosaic.h"
#include "editor/qt/mwCustomEdit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/QtText.h"
#include "shell/qt/windows/FileManager.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/DocumentText.h"
#include "shell/qt/menu/MenuBuilder.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/ViewClicks.h"

#include <QAction>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace vx::shell {

namespace {

const TRunTimeText ManagerHelp{
    "Filemanager : These are the files currently open in the editor, doubleclick to open filemanager to see the "
    "status of the files"};
const TRunTimeText CalculatorTitle{"Calculator"};
// The View menu's items that show or hide a panel say what a click does next.
const TRunTimeText ShowFilePanel{"Show filepanel"};
const TRunTimeText HideFilePanel{"Hide filepanel"};
const TRunTimeText WordWrapOn{"Wordwrap on"};
const TRunTimeText WordWrapOff{"Wordwrap off"};
const TRunTimeText ShowValidatorPanel{"Show Link validator panel"};
const TRunTimeText HideValidatorPanel{"Hide Linkvalidator panel"};

struct TTreeHelp {
    const char* Tree;
    TRunTimeText Text;
};

const TTreeHelp TreeHelps[] = {
    {"TreeView1", TRunTimeText{"Link validator, Vellumix can check the validity of your hard work and test if the "
                               "links are ok, if not it will tell you here"}},
    {"TreeView2", TRunTimeText{"Document structure, this shows the structure of the document you work on, if there "
                               "is no information here press CTRL+ALT+D. If the document is incomplete Vellumix will "
                               "*not* show you the structure."}},
    {"TreeView3", TRunTimeText{"Document links, this shows all the links of the document you work on, if there is no "
                               "information here press CTRL+ALT+D. If the document is incomplete Vellumix will *not* "
                               "show you the links."}},
};

QAction* Item(const TForm1& form, const char* name)
{
    return form.findChild<QAction*>(name);
}

// The validator page checks the focused slot's file with a link checker that
// is never shown, and keeps its tree.
void CheckLinksOfFocusedSlot(TForm1& form)
{
    const std::string file = steps::FileNameOf(form, form.ActiveEditor());
    TfrmLinkChecking checker(&form);
    checker.edtHTML->setText(vx::ToQPath(file));
    if (file.empty())
        return;
    checker.btnCheck1Click();
    if (auto* target = form.findChild<QTreeWidget*>("TreeView1"))
        CopyTreeItems(*checker.trvLinks, *target);
}

QTabWidget* BuildRightPanels(TForm1& form, QWidget* parent)
{
    auto* pages = Named(new QTabWidget(parent), "PageControl3");
    const std::pair<const char*, const char*> sheets[] = {
        {"TabSheet11", "Validator"}, {"TabSheet12", "Structure"}, {"TabSheet13", "Links"}};
    for (int i = 0; i < 3; ++i) {
        auto* tree = Named(new QTreeWidget, TreeHelps[i].Tree);
        tree->setHeaderHidden(true);
        tree->setObjectName(TreeHelps[i].Tree);
        auto* sheet = Named(new QWidget, sheets[i].first);
        auto* layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(tree);
        pages->addTab(sheet, sheets[i].second);
        OnViewClick(*tree, TViewClick::Single, [&form, &help = TreeHelps[i].Text] { form.ShowAssistantText(help()); });
    }
    QObject::connect(pages, &QTabWidget::currentChanged, pages, Guarded([&form, pages] {
        if (pages->currentWidget()->objectName() == "TabSheet11")
            CheckLinksOfFocusedSlot(form);
    }));
    return pages;
}

QWidget* BuildLogoPanel(TForm1& form)
{
    auto* panel = Named(new QWidget(form.centralWidget()), "Panel5");
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* mosaic = Named(new TBmpMosaic(panel), "BmpMosaic1");
    mosaic->setMinimumHeight(24);
    layout->addWidget(mosaic);
    panel->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(panel, &QWidget::customContextMenuRequested, panel, [&form, panel](const QPoint& at) {
        if (QMenu* menu = menu::PopupMenu(form, "PopupMenu3"))
            menu->popup(panel->mapToGlobal(at));
    });
    return panel;
}

// The editor of the named slot at the list's index: the list names the
// named slots in slot order.
TmwCustomEdit* NamedSlotEditor(const TForm1& form, int index)
{
    for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
        if (!form.SlotFileName(slot).empty() && index-- == 0)
            return form.SlotEditor(slot);
    return nullptr;
}

} // namespace

TFilePanel* FilePanel(const TForm1& form)
{
    return form.findChild<TFilePanel*>("Panel1");
}

QTabWidget* RightPanels(const TForm1& form)
{
    return form.findChild<QTabWidget*>("PageControl3");
}

QWidget* LogoPanel(const TForm1& form)
{
    return form.findChild<QWidget*>("Panel5");
}

void ListBox1Click(TForm1& form)
{
    form.ShowAssistantText(ManagerHelp());
    auto* images = form.findChild<QListWidget*>("imagebox");
    images->clear();
    TmwCustomEdit* editor = NamedSlotEditor(form, form.ListBox1->currentRow());
    if (!editor)
        return;
    for (const std::string& source : ImageSources(editor->Model().Lines()))
        images->addItem(vx::ToQString(source));
}

void SetUpPanels(TForm1& form)
{
    auto* splitter = form.findChild<QSplitter*>("Splitter1");
    auto* files = new TFilePanel(form, splitter);
    splitter->insertWidget(1, files);
    // The close button leaves the menu item as hiding from the menu does, so
    // that one pick of "Show filepanel" brings the panel back.
    QObject::connect(files->SpeedButton10, &QToolButton::clicked, files, Guarded([&form] {
                         Item(form, "Filepanel1")->setChecked(true);
                         vx::shell::menu::ToggleFilePanel(form, {});
                     }));
    splitter->addWidget(BuildRightPanels(form, splitter));
    splitter->setStretchFactor(2, 1);
    form.centralWidget()->layout()->addWidget(BuildLogoPanel(form));
    QObject::connect(form.ListBox1, &QListWidget::itemClicked, form.ListBox1, Guarded([&form] { ListBox1Click(form); }));
    QObject::connect(form.ListBox1, &QListWidget::itemDoubleClicked, form.ListBox1,
                     Guarded([&form] { vx::shell::menu::ShowFileManager(form, {}); }));
    OnViewClick(*form.vcsbox, TViewClick::Double, [&form] { Item(form, "ShowVCSManager1")->trigger(); });
    Item(form, "Hidelogopanel1")->setChecked(true);
    // The panel starts hidden, as the toggle leaves it on its first run.
    Item(form, "Filepanel1")->trigger();
}

} // namespace vx::shell

namespace vx::shell::menu {

// The checkable items have already changed their mark when their command runs.

void ToggleFilePanel(TForm1& form, std::string_view)
{
    QAction* item = Item(form, "Filepanel1");
    FilePanel(form)->setVisible(!item->isChecked());
    item->setText(vx::ToQString(item->isChecked() ? ShowFilePanel() : HideFilePanel()));
}

void ToggleWordWrap(TForm1& form, std::string_view)
{
    QAction* item = Item(form, "Wordwraponoff1");
    item->setText(vx::ToQString(item->isChecked() ? WordWrapOn() : WordWrapOff()));
}

void ToggleValidatorPanel(TForm1& form, std::string_view)
{
    QAction* item = Item(form, "Hidevalidatorpanel1");
    RightPanels(form)->setVisible(!item->isChecked());
    item->setText(vx::ToQString(item->isChecked() ? ShowValidatorPanel() : HideValidatorPanel()));
}

void GeneralToolbar(TForm1& form, std::string_view)
{
    Item(form, "Viewgeneraltoolbar1")->setChecked(false);
}

void ToggleAssistant(TForm1& form, std::string_view)
{
    form.VellumixAssistant1Click();
}

void ToggleLogoPanel(TForm1& form, std::string_view)
{
    QWidget* logo = LogoPanel(form);
    logo->setVisible(logo->isHidden());
    Item(form, "Hidelogopanel1")->setChecked(!logo->isHidden());
}

void CloseLogoBar(TForm1& form, std::string_view)
{
    LogoPanel(form)->hide();
}

void FlatTabs(TForm1& form, std::string_view)
{
    form.PageControl1->setDocumentMode(Item(form, "SpeedButton14")->isChecked());
}

void Mask(TForm1& form, std::string_view masks)
{
    FilePanel(form)->SetMasks(std::string(masks));
}

void Calculator(TForm1& form, std::string_view)
{
    auto* calculator = form.findChild<TRxCalculator*>("calculator");
    if (!calculator) {
        calculator = new TRxCalculator(&form);
        calculator->setObjectName("calculator");
    }
    calculator->Title = CalculatorTitle();
    calculator->Execute();
}

void ShowFileManager(TForm1&, std::string_view)
{
    if (!frm_filemanager)
        return;
    frm_filemanager->show();
    frm_filemanager->raise();
    // It takes the keyboard: Escape closes it.
    frm_filemanager->activateWindow();
}

} // namespace vx::shell::menu
