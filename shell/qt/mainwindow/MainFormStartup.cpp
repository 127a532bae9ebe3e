// The main window's start-up and shut-down: activation with the first-time
// set-up, the list files of the data folder, the shell verb, the FrontPage
// check and the version-manager list.
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"

#include "controls/display/RxGrdCpt.h"
#include "editor/qt/mwAutoComplete.h"
#include "editor/qt/mwCompletionProposal.h"
#include "editor/qt/mwCustomEdit.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/AnsiText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"
#include "platform/qt/Application.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/ComponentTranslation.h"
#include "shell/qt/windows/FrontPageCheck.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/windows/StyleSheetEditor.h"
#include "shell/qt/mainwindow/TabCaptions.h"
#include "shell/ListFiles.h"
#include "shell/TopStyleHook.h"
#include "shell/VersionList.h"
#include "shell/qt/launch/Launchers.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/SidePanels.h"
#include "shell/plugins/uilPluginManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>


namespace {

void FillList(QListWidget* list, const TStringList& items)
{
    list->clear();
    QStringList texts;
    texts.reserve(items.Count());
    for (int i = 0; i < items.Count(); ++i)
        texts.append(vx::ToQString(items[i]));
    list->addItems(texts);
}

void FillCombo(QComboBox* combo, const TStringList& items)
{
    combo->clear();
    for (int i = 0; i < items.Count(); ++i)
        combo->addItem(vx::ToQString(items[i]));
    combo->setCurrentIndex(0);
}

void FillTree(QTreeWidget* tree, const std::string& text)
{
    tree->clear();
    std::vector<QTreeWidgetItem*> parents;
    for (const vx::shell::TTreeTextNode& node : vx::shell::ParseTreeText(text)) {
        parents.resize(node.Level);
        auto* item = node.Level == 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(parents.back());
        item->setText(0, vx::ToQString(node.Caption));
        parents.push_back(item);
    }
}

} // namespace

void TForm1::FormActivate()
{
    const bool first = firstActivation_;
    // Cleared before the set-up runs: whatever fails in it, a later
    // activation never runs it again.
    firstActivation_ = false;
    std::vector<std::function<void()>> steps;
    if (first)
        steps.emplace_back([this] { FirstActivationSetup(); });
    // Before the preferences show whether the style-sheet editor is there.
    steps.emplace_back(
        [this] { vx::shell::ShowStyleSheetEditorPresence(*this, vx::shell::TopStyleHook().Register(ProductName)); });
    if (first) {
        // Everything below that reads a setting reads the stored one.
        steps.emplace_back([this] {
            if (frm_pref)
                frm_pref->FormActivate();
        });
    }
    steps.emplace_back([this] {
        ComboBox4->setCurrentIndex(0);
        tipstimer->setInterval(50000);
        KMLang1->SetLangDir(vx::ProgramPath("languages"));
        plugins1->SetExtension("plg");
        plugins1->SetPluginFolder(vx::ProgramPath("plugins\\"));
        for (QListWidget* list : {tags, webtv, usertags, aspbox, vblist})
            list->clear();
        for (TmwCustomEdit* editor : richedit)
            editor->Model().SetMaxUndo(50);
    });
    steps.emplace_back([this] { LoadListFiles(); });
    steps.emplace_back([this] {
        if (frm_pref && frm_pref->Ticked(10))
            toppanel->hide();
        RxGradientCaption1->SetFormCaption(ProductVersion);
    });
    if (first) {
        steps.emplace_back([this] { ApplyStartLanguage(); });
        steps.emplace_back([this] {
            if (!frm_pref)
                return;
            if (frm_pref->Ticked(11))
                res_timer->start();
            CheckBox1->setChecked(frm_pref->Ticked(8));
            VellumixAssistant1->setChecked(frm_pref->Ticked(5));
            if (frm_pref->Ticked(5) && frm_profhelp) {
                frm_profhelp->show();
                frm_profhelp->raise();
            }
        });
        steps.emplace_back([this] {
            // The switch flips the flag: start from the opposite of the wanted mode.
            beginnersMode_ = !(frm_pref && frm_pref->Ticked(9));
            AdvancedNovice1Click();
        });
        steps.emplace_back([this] { LoadKeyBindings(); });
        steps.emplace_back([this] { CreateWorkspaces(); });
        // Before the command line: a file named there that was restored is
        // then found open.
        steps.emplace_back([this] { OfferRecovery(); });
        steps.emplace_back([this] {
            const std::string help = vx::shell::HelpFilePath("vbscript.chm");
            if (frm_pref && frm_pref->Ticked(1) && !help.empty())
                QDesktopServices::openUrl(QUrl::fromLocalFile(vx::ToQPath(help)));
        });
        if (CommandLine.size() <= SlotCount)
            for (const std::string& name : CommandLine)
                steps.emplace_back([this, name] { OpenDocumentInFreeSlot(name, false); });
        steps.emplace_back([this] {
            if (frm_pref && frm_pref->Ticked(22))
                vx::shell::RunLauncher(*this, "Tfrm_todo");
        });
        steps.emplace_back([this] { LoadVcsList(); });
        steps.emplace_back([this] {
            richedit[0]->setFocus();
            projectStart_ = std::chrono::steady_clock::now();
        });
    }
    RunActivationSteps(steps);
}

void TForm1::RunActivationSteps(const std::vector<std::function<void()>>& steps)
{
    std::string failures;
    for (const auto& step : steps) {
        try {
            step();
        } catch (const std::exception& e) {
            failures += (failures.empty() ? "" : "\r\n") + ErrorText(e);
        }
    }
    // The box ends in an activation of the window: the same failure again is
    // not shown again, or the boxes would never stop.
    if (!failures.empty() && failures != activationFailures_)
        MessageDlg(failures, mtError, mbOK);
    activationFailures_ = failures;
}

void TForm1::ApplyStartLanguage()
{
    if (!frm_pref)
        return;
    try {
        KMLang1->SetLangFileName(frm_pref->ComboBox1->currentIndex() == 1 ? "Nederlands" : "Native");
    } catch (const Exception&) {
        // The windows keep their built-in texts, not a half-translated mix.
        KMLang1->SetLangFileName("Native");
        throw;
    }
}

void TForm1::FirstActivationSetup()
{
    for (TmwCustomEdit* editor : richedit)
        editor->Model().Lines().Clear();
    for (int i = 1; i < SlotCount; ++i)
        richedit[i]->Model().SetLineText(" ");
    richedit[0]->Model().Lines().SetText(std::string("<html>\r\n <head>\r\n  <meta name=\"Generator\" content=\"") +
                                         ProductVersion +
                                         "\">\r\n  <title>Title goes here</title>\r\n </head>\r\n\r\n</html>\r\n");
    richedit[0]->Model().SetCaretXY(Point(1, 6));
    for (int i = 0; i < SlotCount; ++i) {
        richedit[i]->Model().ClearUndo();
        richedit[i]->Model().SetModified(false);
        slots_[i] = TSlot{};
        PageControl1->setTabText(i, vx::shell::EmptyTabCaption());
    }
    // Last: a store that cannot take the verb is reported, and the template stands.
    RegisterShellEditVerb();
}

void TForm1::LoadListFiles()
{
    using vx::shell::DataFile;
    using vx::shell::LoadListFile;
    // A list file that is missing or cannot be read is skipped; the others still load.
    auto load = [](const std::string& name, TStrings& list) {
        try {
            // The user's own tags and abbreviations are the user's data; the other lists are shipped.
            const bool users = name == "usertag.ae" || name == "macros.dat";
            return LoadListFile(users ? vx::shell::UserDataFile(name) : DataFile(name), list);
        } catch (const EStreamError&) {
            return false;
        }
    };
    TStringList jscript;
    if (load("jscript.ae", jscript))
        FillTree(Jtree, jscript.Text());
    load("macros.dat", a_complete->AutoCompleteList());
    const std::pair<const char*, QListWidget*> lists[] = {
        {"sql.ae", sqlbox},   {"vbscript.ae", vblist}, {"asp.ae", aspbox},        {"miva.ae", mivalist},
        {"php.ae", phplist},  {"perl.ae", perllist},   {"htmltags.ae", tags},     {"codecomplete.ae", nullptr},
        {"coldtags.ae", coldfusion}, {"webtv.ae", webtv}, {"usertag.ae", usertags}, {"css.ae", csslist}};
    for (const auto& [name, list] : lists) {
        if (!list) {
            if (load(name, codec1->ItemList()))
                for (int slot = 2; slot <= SlotCount; ++slot)
                    AttachCompletion(slot);
            continue;
        }
        TStringList items;
        if (!load(name, items))
            continue;
        FillList(list, items);
        if (list == mivalist)
            FillCombo(combobox2, items);
        else if (list == phplist)
            FillCombo(combobox3, items);
        else if (list == tags)
            FillCombo(combobox1, items);
    }
}

void TForm1::AttachCompletion(int slot)
{
    codec1->AddEditor(SlotEditor(slot));
    a_complete->AddEditor(SlotEditor(slot));
}

void TForm1::LoadKeyBindings()
{
    const std::string path = vx::UserDataPath(KeyBindingsFile);
    TmwKeyStrokes& bindings = richedit[0]->Model().Keystrokes();
    TStringList lines;
    if (!vx::FileExists(path)) {
        // The user's copy to change them in.
        bindings.SaveToStrings(lines);
        lines.SaveToFile(path);
        return;
    }
    lines.LoadFromFile(path);
    bindings.LoadFromStrings(lines);
    for (int i = 1; i < SlotCount; ++i)
        richedit[i]->Model().SetKeystrokes(&bindings);
}

void TForm1::CreateWorkspaces()
{
    if (workspacesCreated_)
        return;
    workspacesCreated_ = true;
    const int count = std::clamp(frm_pref ? frm_pref->WorkspaceCount() : 0, 0, MaxWorkspaces);
    for (int k = 1; k <= count; ++k) {
        auto* tab = new QWidget;
        tab->setObjectName(QString("tabs_%1").arg(k + 5));
        tab->setProperty(vx::shell::DocumentCaptionProperty, true);
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* editor = new TmwCustomEdit(tab);
        editor->setObjectName(QString("richedit%1").arg(k + 5));
        editor->Model().SetKeystrokes(&richedit[0]->Model().Keystrokes());
        ReportRefusals(*editor);
        editor->Model().SetLineText(" ");
        editor->Model().SetModified(false);
        auto* status = new TStatusBar(tab);
        status->setObjectName(QString("statusbar_%1").arg(k));
        status->setSizeGripEnabled(false);
        status->CopyPanels(*StatusBar1);
        layout->addWidget(editor, 1);
        layout->addWidget(status);
        PageControl1->addTab(tab, vx::shell::EmptyTabCaption());
        workspaces_.push_back(editor);
    }
}

void TForm1::FormShow()
{
    // Asked once the window stands on the screen, from the event loop.
    if (CheckFrontPageEditorSetting(false))
        QTimer::singleShot(0, this, Guarded([this] { Tfrm_fpcheck::Run(this); }));
    vx::shell::FilePanel(*this)->RefreshFileList();
}

void TForm1::RegisterShellEditVerb()
{
    const std::string command =
        vx::AnsiLowerCase(vx::FromQString(QCoreApplication::applicationFilePath())) + " \"%1\"";
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    for (const std::string base : {"\\htmlfile\\shell\\vellumix\\", "\\httfile\\shell\\vellumix\\"}) {
        reg.OpenKey(base, true);
        reg.WriteString("", "Edit with &Vellumix");
        reg.OpenKey(base + "command", true);
        reg.WriteString("", command);
    }
    reg.CloseKey();
}

bool TForm1::CheckFrontPageEditorSetting(bool force)
{
    bool fires = force;
    if (!force) {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        if (reg.OpenKey(PreferencesKey, true) && reg.ReadString("fpcheck") == "FALSE")
            return false;
        reg.OpenKey(FrontPageEditorsKey, true);
        fires = vx::AnsiUpperCase(reg.ReadString("asp")).find("FRONTPG.EXE") != std::string::npos;
        reg.CloseKey();
    }
    return fires;
}

void TForm1::LoadVcsList()
{
    vcsbox->clear();
    for (const std::string& file : vx::shell::TVcsList().Values("F_file")) {
        auto* item = new QTreeWidgetItem(vcsbox);
        item->setText(0, vx::ToQString(file));
    }
}
