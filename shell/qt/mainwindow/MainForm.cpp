// The main window's construction: its layout, menus, highlighters and timers,
// and the creation event.
#include "shell/qt/mainwindow/MainForm.h"

// MRUList.h needs the complete menu type.
#include <QMenu>

#include "controls/flat/TFlatHintUnit.h"
#include "controls/stores/MRUList.h"
#include "controls/speedbar/SpeedBar.h"
#include "controls/stores/Placemnt.h"
#include "controls/display/RxGrdCpt.h"
#include "controls/edits/ItemWideComboBox.h"
#include "editor/qt/mwAutoComplete.h"
#include "editor/qt/mwCompletionProposal.h"
#include "editor/Colors.h"
#include "editor/qt/mwCustomEdit.h"
#include "highlighters/DcjPerlSyn.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/siTCLTKSyn.h"
#include "highlighters/wmMultiSyn.h"
#include "highlighters/wmMultiSynSetup.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmSQLSyn.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/ProgramPaths.h"
#include "platform/RegStore.h"
#include "platform/qt/Application.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/ComponentTranslation.h"
#include "shell/qt/mainwindow/KeyboardReturn.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/mainwindow/TabCaptions.h"
#include "internet/qt/IPWatch.h"
#include "shell/qt/mainwindow/MainFormCommands.h"
#include "shell/qt/launch/Launchers.h"
#include "shell/qt/menu/MenuBuilder.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/SidePanels.h"
#include "shell/plugins/uilPluginManager.h"
#include "shell/qt/taglists/TagLists.h"
#include "shell/qt/typing/TypingRules.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Form1");
    // The first child: gone before the windows it watches are taken down.
    new vx::shell::TKeyboardReturn(*this);
    resize(1000, 700);
    vx::shell::RegisterComponentTranslation();
    CreateHighlighters();
    BuildLayout();
    BuildMenus();
    codec1 = std::make_unique<TMwCompletionProposal>();
    a_complete = std::make_unique<TmwAutoComplete>();
    AttachCompletion(1);
    KMLang1 = Named(new TKMLang(this), "KMLang1");
    // The file panel's folder label shows a path of the machine, no text.
    KMLang1->SetLocalRules(MakeList({"-dirlabel"}));
    vx::shell::TieTabsToLanguage(*this, *KMLang1);
    FlatHint1 = Named(new TFlatHint(this), "FlatHint1");
    FormStorage1 = Named(new TFormStorage(this), "FormStorage1");
    // The storage keeps only the recent-files list: no window placement.
    FormStorage1->SetUseRegistry(true);
    FormStorage1->SetOptions(0);
    FormStorage1->SetIniSection("\\software\\inis\\Vellumix\\mru");
    mru = Named(new TMRUManager(this), "mru");
    mru->SetCapacity(5);
    mru->SetIniStorage(FormStorage1);
    mru->SetRecentMenu(ReOpen1);
    mru->OnClick = [this](QObject*, const std::string& name, const std::string&, TObjectSlot) {
        vx::DeliverShowingExceptions([&] {
            OpenDocumentInFreeSlot(name, false);
            return true;
        });
    };
    Timer1 = Named(new QTimer(this), "Timer1");
    CreateStatusPanels();
    Timer2 = Named(new QTimer(this), "Timer2");
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, Guarded([this] { Timer2Timer(); }));
    Timer2->start();
    tipstimer = Named(new QTimer(this), "tipstimer");
    res_timer = Named(new QTimer(this), "res_timer");
    // It has nothing to do when it ticks; a slow tick keeps an idle program idle.
    res_timer->setInterval(1000);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (IsOwnEditor(now))
            lastFocused_ = static_cast<TmwCustomEdit*>(now);
    });
    // A damaged settings file is found while a store is locked: the message
    // is shown once the event loop is free.
    vx::reg::SetDamageReporter([this](const TMessage& message) {
        QMetaObject::invokeMethod(
            this, [message] { MessageDlg(InCurrentLanguage(message), mtError, mbOK); }, Qt::QueuedConnection);
    });
    Form1 = this;
    vx::shell::MainWindow() = this;
    TFlatHint::SetMainForm(this);
    plugins1 = std::make_unique<TuilPluginManager>();
    StartRecovery();
    FormCreate();
    KMLang1->Loaded();
    vx::shell::BindLaunchers(*this);
    vx::shell::BindMainCommands(*this);
    // The status bar shows the address and the online state the watcher sees.
    ipwatcher = new TIPWatch(this);
}

TForm1::~TForm1()
{
    // Nothing of the application reaches a window being taken apart.
    disconnect(qApp, nullptr, this, nullptr);
    vx::reg::SetDamageReporter({});
    qApp->removeEventFilter(this);
    // The editors refer to the highlighters: they go first.
    delete PageControl1;
    delete newedit;
    if (TFlatHint::MainForm() == this)
        TFlatHint::SetMainForm(nullptr);
    if (Form1 == this)
        Form1 = nullptr;
    if (vx::shell::MainWindow() == this)
        vx::shell::MainWindow() = nullptr;
}

void TForm1::CreateHighlighters()
{
    hi_html = std::make_unique<ThkHTMLSyn>();
    hi_css = std::make_unique<TmwCSSSyn>();
    hi_js = std::make_unique<TmwJScriptSyn>();
    hi_perl = std::make_unique<TDcjPerlSyn>();
    hi_php = std::make_unique<TwmPHPSyn>();
    hi_sql = std::make_unique<TwmSQLSyn>();
    hi_vbs = std::make_unique<TlbVbsSyn>();
    hi_tcl = std::make_unique<TsiTCLTKSyn>();
    wmMultiSyn1 = std::make_unique<TwmMultiSyn>();
    // The main window's own colours, over the highlighters' defaults.
    hi_html->ASPAttri->SetBackground(clYellow);
    hi_html->ASPAttri->SetForeground(clBlack);
    hi_html->SymbolAttri->SetForeground(clBlack);
    hi_html->UndefKeyAttri->SetForeground(clRed);
    hi_perl->InvalidAttri->SetForeground(clBlack);
    hi_perl->KeyAttri->SetForeground(clNavy);
    hi_perl->NumberAttri->SetForeground(clRed);
    hi_perl->SpaceAttri->SetForeground(clWindow);
    hi_css->IdentifierAttri->SetBackground(clWhite);
    hi_css->KeyAttri->SetForeground(clGreen);
    SetupPageSchemes(*wmMultiSyn1, {hi_html.get(), hi_php.get(), hi_js.get(), hi_vbs.get(), hi_css.get()});
}

void TForm1::BuildLayout()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    // The gradient caption is a bar inside the window: window managers here
    // paint their own title bars.
    RxGradientCaption1 = Named(new TRxGradientCaption(central), "RxGradientCaption1");
    RxGradientCaption1->SetFormCaption(ProductVersion);
    SpeedBar1 = Named(new TSpeedBar(central), "SpeedBar1");
    SpeedBar1->SetOptions(sbFlatBtns);

    toppanel = Named(new QWidget(central), "toppanel");
    auto* top = new QHBoxLayout(toppanel);
    top->setContentsMargins(0, 0, 0, 0);
    // The tag boxes show their chosen tag whole: the lists hold tags too long for one row.
    combobox1 = Named(new TItemWideComboBox(toppanel), "combobox1");
    combobox2 = Named(new TItemWideComboBox(toppanel), "combobox2");
    combobox3 = Named(new TItemWideComboBox(toppanel), "combobox3");
    ComboBox4 = Named(new QComboBox(toppanel), "ComboBox4");
    ComboBox4->setToolTip("Quick Fontsize tool");
    ComboBox4->addItems({"normal", "1", "2", "3", "4", "5", "6", "7", "+1", "+2", "+3", "-1", "-2"});
    CheckBox1 = Named(new QCheckBox("Auto launch wizards", toppanel), "CheckBox1");
    for (QWidget* w : {static_cast<QWidget*>(combobox1), static_cast<QWidget*>(combobox2),
                       static_cast<QWidget*>(combobox3), static_cast<QWidget*>(ComboBox4),
                       static_cast<QWidget*>(CheckBox1)})
        top->addWidget(w);
    top->addStretch();

    auto* splitter = Named(new QSplitter(central), "Splitter1");
    BuildTagLists(splitter);
    PageControl1 = Named(new vx::shell::TDocumentTabs(splitter), "PageControl1");
    for (int i = 1; i <= SlotCount; ++i) {
        auto* tab = Named(new QWidget, QString("TabSheet%1").arg(i));
        tab->setProperty(vx::shell::DocumentCaptionProperty, true);
        auto* tabLayout = new QVBoxLayout(tab);
        tabLayout->setContentsMargins(0, 0, 0, 0);
        auto* editor = Named(new TmwCustomEdit(tab), QString("richedit%1").arg(i));
        editor->Model().SetHighLighter(wmMultiSyn1.get());
        ReportRefusals(*editor);
        tabLayout->addWidget(editor);
        PageControl1->addTab(tab, vx::shell::EmptyTabCaption());
        TabSheets[i - 1] = tab;
        richedit[i - 1] = editor;
    }
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 780});

    newedit = Named(new TmwCustomEdit, "newedit");
    newedit->hide();
    vblist = Named(new QListWidget(central), "vblist");
    vblist->hide();

    layout->addWidget(RxGradientCaption1);
    layout->addWidget(SpeedBar1);
    layout->addWidget(toppanel);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);
    StatusBar1 = Named(new TStatusBar(this), "StatusBar1");
    setStatusBar(StatusBar1);
}

void TForm1::BuildTagLists(QWidget* parent)
{
    auto* pages = Named(new QTabWidget(parent), "PageControl2");
    pages->setTabPosition(QTabWidget::West);
    auto addList = [pages](const char* name, const char* caption) {
        auto* list = Named(new QListWidget(pages), name);
        pages->addTab(list, caption);
        return list;
    };
    tags = addList("tags", "HTML");
    aspbox = addList("aspbox", "ASP");
    sqlbox = addList("sqlbox", "SQL");
    phplist = addList("phplist", "PHP");
    perllist = addList("perllist", "Perl");
    mivalist = addList("mivalist", "Miva");
    coldfusion = addList("coldfusion", "ColdFusion");
    webtv = addList("webtv", "WebTV");
    usertags = addList("usertags", "User");
    csslist = addList("csslist", "CSS");
    Jtree = Named(new QTreeWidget(pages), "Jtree");
    Jtree->setHeaderHidden(true);
    pages->addTab(Jtree, "JavaScript");
    ListBox1 = addList("ListBox1", "Files");
    vcsbox = Named(new QTreeWidget(pages), "vcsbox");
    vcsbox->setHeaderHidden(true);
    pages->addTab(vcsbox, "VCS");
}

void TForm1::BuildMenus()
{
    vx::shell::menu::BuildMenus(*this);
    vx::shell::SetUpTagLists(*this);
    vx::shell::SetUpPanels(*this);
    (new vx::shell::TTypingRules(*this))->Install();
    New1 = findChild<QAction*>("New1");
    if (QAction* closeAll = findChild<QAction*>("CloseAllfiles1"))
        closeAll->setProperty(BeginnerTag, 1);
    SetNewPageWizard(nullptr);
}

void TForm1::SetNewPageWizard(std::function<bool()> wizard)
{
    newPageWizard_ = std::move(wizard);
    New1->setEnabled(static_cast<bool>(newPageWizard_));
    SpeedBar1->FindItemByName("SpeedButton1")->SetEnabled(static_cast<bool>(newPageWizard_));
}

namespace {

const TRunTimeText SwitchToBeginners{"Switch to Beginners mode"};
const TRunTimeText SwitchToAdvanced{"Switch to Advanced mode"};

} // namespace

void TForm1::AdvancedNovice1Click()
{
    const bool advanced = beginnersMode_;
    for (QAction* action : findChildren<QAction*>())
        if (action->property(BeginnerTag).toInt() == 1)
            action->setEnabled(advanced);
    AdvancedNovice1->setText(vx::ToQString(advanced ? SwitchToBeginners() : SwitchToAdvanced()));
    beginnersMode_ = !advanced;
}

void TForm1::FormCreate()
{
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationInactive)
            vx::DeliverShowingExceptions([this] {
                ApplicationDeactivate();
                return true;
            });
    });
    vx::shell::FilePanel(*this)->SetFolder(vx::ProgramFolder());
    setWindowTitle("");
    for (TmwCustomEdit* editor : richedit) {
        editor->Model().SetLineText(" ");
        editor->Model().SetModified(false);
    }
    for (int i = 0; i < SlotCount; ++i) {
        slots_[i].FileName.clear();
        PageControl1->setTabText(i, vx::shell::EmptyTabCaption());
    }
}

bool TForm1::event(QEvent* e)
{
    const bool result = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate)
        vx::DeliverShowingExceptions([this] {
            FormActivate();
            return true;
        });
    return result;
}

void TForm1::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (!e->spontaneous())
        vx::DeliverShowingExceptions([this] {
            FormShow();
            return true;
        });
}

void TForm1::closeEvent(QCloseEvent* e)
{
    bool allowed = false;
    vx::DeliverShowingExceptions([&] {
        allowed = FormCloseQuery();
        return true;
    });
    if (!allowed) {
        e->ignore();
        return;
    }
    e->accept();
    QCoreApplication::quit();
}
