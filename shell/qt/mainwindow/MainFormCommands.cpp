// The main window's remaining commands, bound to its actions by name, and
// what it lends the dialogs.
#include "shell/qt/mainwindow/MainFormCommands.h"

#include "controls/speedbar/SpeedBar.h"
#include "editor/qt/mwCustomEdit.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/FileIO.h"
#include "platform/qt/QtText.h"
#include "shell/qt/windows/About.h"
#include "shell/qt/windows/FrontPageCheck.h"
#include "shell/qt/windows/ImgContainer.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "shell/qt/windows/PreviewImg.h"
#include "shell/qt/windows/Recorder.h"
#include "shell/qt/windows/RegEdit.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/qt/windows/StyleSheetEditor.h"
#include "shell/ListFiles.h"
#include "shell/TopStyleHook.h"
#include "shell/qt/menu/MenuBuilder.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <random>
#include <utility>

void TForm1::CopySidePicture(QLabel& target) const
{
    if (frm_imgcontainer)
        frm_imgcontainer->CopySidePicture(target);
}

namespace vx::shell {

TCommandState& CommandState(TForm1& form)
{
    if (auto* state = dynamic_cast<TCommandState*>(form.findChild<QObject*>("MainCommands", Qt::FindDirectChildrenOnly)))
        return *state;
    auto* state = new TCommandState(&form);
    state->setObjectName("MainCommands");
    return *state;
}

TStringList& Tips(TForm1& form)
{
    return CommandState(form).Tips;
}

namespace {

// The tips in the chosen language: a language names its own file as it names
// its language file, data\tips.<language>.txt; English, and a language
// without tips of its own, read data\tips.txt.
std::string TipsFile(const std::string& language)
{
    if (!TKAppLanguage::IsNativeName(language))
        if (std::string own = DataFile("tips." + language + ".txt"); FileExists(own))
            return own;
    return DataFile("tips.txt");
}

// Read once, and again after the language has changed.
void ReadTips(TCommandState& state)
{
    const std::string& language = TKAppLanguage::Instance().CurrentLanguage();
    if (state.TipsLanguage == language)
        return;
    state.TipsLanguage = language;
    state.Tips.Clear();
    LoadListFile(TipsFile(language), state.Tips);
}

} // namespace

void ShowTip(TForm1& form)
{
    TCommandState& state = CommandState(form);
    ReadTips(state);
    if (state.Tips.Count() == 0)
        return;
    std::uniform_int_distribution<int> pick(0, state.Tips.Count() - 1);
    form.TipPending = true;
    form.ShowAssistantText(state.Tips[pick(state.Random)]);
}

QAction* AddPluginCommand(TForm1& form, const std::string& caption, const QKeySequence& shortcut,
                          const std::string& hint, std::function<void()> execute)
{
    auto* menu = form.findChild<QMenu*>("Plugins1");
    if (!menu)
        return nullptr;
    auto* action = new QAction(ToQString(caption), menu);
    action->setShortcut(shortcut);
    action->setToolTip(ToQString(hint));
    action->setStatusTip(ToQString(hint));
    QObject::connect(action, &QAction::triggered, &form, Guarded(std::move(execute)));
    const QList<QAction*> existing = menu->actions();
    menu->insertAction(existing.isEmpty() ? nullptr : existing.front(), action);
    return action;
}

namespace {

void SetLanguage(TForm1& form, const char* name)
{
    form.KMLang1->SetLangFileName(name);
}

void Redo(TForm1& form)
{
    if (TmwCustomEdit* editor = form.ActiveEditor())
        editor->Model().Redo();
}

void ShowRecorder(TForm1&)
{
    if (!frm_recorder)
        return;
    frm_recorder->show();
    frm_recorder->raise();
    // It takes the keyboard: Escape closes it.
    frm_recorder->activateWindow();
}

void DefaultEditorCheck(TForm1& form)
{
    if (form.CheckFrontPageEditorSetting(true))
        Tfrm_fpcheck::Run(&form);
    form.RegisterShellEditVerb();
}

using TCommand = void (*)(TForm1&);

template <class Window> void RunWindow(TForm1& form)
{
    Window::Run(&form);
}

// Action names and their commands; several actions may share one.
const std::pair<const char*, TCommand> Commands[] = {
    {"English1", [](TForm1& f) { SetLanguage(f, "Native"); }},
    {"Nederlands1", [](TForm1& f) { SetLanguage(f, "Nederlands"); }},
    {"Redo1", Redo},
    {"Redo2", Redo},
    {"Movementrecorder1", ShowRecorder},
    {"Defaulteditorcheck1", DefaultEditorCheck},
    {"FindandReplace1", [](TForm1& f) { f.Find1Click(); }},
    {"Jumptoline1", [](TForm1& f) { f.Jumptoline1Click(); }},
    {"Imagepreviewer1", RunWindow<Tfrm_previewimg>},
    {"AboutVellumix1", RunWindow<Tfrm_about>},
    {"EditASPregistryentries1", RunWindow<Tfrm_regedit>},
    {"VellumixHelpIndex1", OpenHelpIndex},
    {"VBScriptHelpindex1", OpenVBScriptHelp},
    {"Currentpageinexternalbrowser1", PreviewInExternalBrowser},
    {"Currentpageininternalbrowser1", PreviewInInternalBrowser},
    {"LoadPlugins1", LoadPlugins},
    {"LaunchStylesheeteditorCSS1", LaunchStyleSheetEditorForCss},
    {"LaunchStylesheeteditor1", LaunchStyleSheetEditor},
    {"Editstyleinselectedpartoftext1", EditSelectedStyle},
    {"EditstylesheetwithTopStyle1", EditStyleSheetWithTopStyle},
};

// Why a command is disabled; shown in the current language with its hint.
const TRunTimeText PreviewNotBuilt{"the internal browser preview is not built"};

// A menu item or a speed item that stays disabled, beginner mode or not, saying why.
void Disable(TForm1& form, const char* name, const char* reason)
{
    for (QObject* command : form.findChildren<QObject*>(name)) {
        // The reason first: items that follow this one copy it when it changes.
        command->setProperty(menu::DisabledReason, reason);
        command->setProperty(TForm1::BeginnerTag, 0);
        if (auto* action = qobject_cast<QAction*>(command))
            action->setEnabled(false);
        else if (auto* item = dynamic_cast<TSpeedItem*>(command))
            item->SetEnabled(false);
    }
}

// An action is bound once, however often the binding runs. The menu leaves a
// command that another unit binds disabled, saying why, until it is bound.
bool Claim(QAction* action)
{
    if (!action || action->property("vxCommandBound").toBool())
        return false;
    action->setProperty("vxCommandBound", true);
    action->setProperty(menu::DisabledReason, QVariant());
    action->setProperty(menu::HandlerProperty, action->objectName());
    action->setEnabled(true);
    return true;
}

void StartTips(TForm1& form)
{
    TCommandState& state = CommandState(form);
    if (state.TipsStarted)
        return;
    state.TipsStarted = true;
    ReadTips(state);
    QObject::connect(form.tipstimer, &QTimer::timeout, &form, Guarded([&form] { ShowTip(form); }));
    form.tipstimer->setInterval(50000);
    form.tipstimer->start();
}

} // namespace

void BindMainCommands(TForm1& form)
{
    StartTips(form);
    BindDropTargets(form);
    ConnectPluginManager(form);
    for (const auto& [name, command] : Commands)
        if (QAction* action = form.findChild<QAction*>(name); Claim(action))
            QObject::connect(action, &QAction::triggered, &form, Guarded([&form, command = command] { command(form); }));
    for (const auto& [name, url] : WebLinks())
        if (QAction* action = form.findChild<QAction*>(name); Claim(action))
            QObject::connect(action, &QAction::triggered, &form, Guarded([url = url] { OpenWebLink(url); }));
    // Usable once the style-sheet editor registers, at the window's activation.
    ShowStyleSheetEditorPresence(form, TopStyleHook().Registered());
    if (!InternalPreviewAvailable())
        Disable(form, "Currentpageininternalbrowser1", PreviewNotBuilt.English());
}

} // namespace vx::shell
