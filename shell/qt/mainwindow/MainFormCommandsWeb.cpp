// Help files, outside web links and the browser previews of the current page.
#include "shell/qt/mainwindow/MainFormCommands.h"

#include "editor/qt/mwCustomEdit.h"
#include "localisation/RunTimeText.h"
#include "platform/AnsiText.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/PreviewHTML.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/Preview.h"
#include "shell/qt/launch/LaunchSteps.h"
#include "shell/qt/launch/Launchers.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QUrl>
#include <QWidget>

#include <filesystem>

namespace vx::shell {

namespace {

const TRunTimeText SaveFirst{"Save document first!"};
const TRunTimeText MustSaveFirst{"You must save the document first!"};
const TRunTimeText NotBelowWebRoot{
    "The page does not lie below the web server's root folder: it cannot be viewed through the web server."};
const TRunTimeText NoHelpFile{"The help file \"%1\" is not beside the program: it was looked for in %2 and in %3."};
const TRunTimeText NoHelpProgram{"No program could be started to show the help file %1."};
const TRunTimeText NoWebBrowser{"No web browser could be started to open %1."};

// The help index through the desktop's program for it; what went wrong is said.
void OpenHelpFile(std::string_view name)
{
    const std::string path = HelpFilePath(name);
    if (path.empty()) {
        ShowMessage(NoHelpFile({name, ProgramFolder(), ProgramPath("data")}));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(ToQPath(path))))
        ShowMessage(NoHelpProgram({path}));
}

// The address through the desktop's web browser; when none starts, the user
// learns which address it was.
void OpenInWebBrowser(const QUrl& url)
{
    if (!QDesktopServices::openUrl(url))
        ShowMessage(NoWebBrowser({FromQString(url.toString())}));
}

// The file name of the slot whose editor has the focus.
std::string FocusedFileName(TForm1& form)
{
    return steps::FileNameOf(form, form.ActiveEditor());
}

} // namespace

std::string WebRoot()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    return reg.OpenKey(PreferencesKey, false) ? reg.ReadString("webroot") : std::string();
}

std::string HelpFilePath(std::string_view name)
{
    for (const std::string& path : {ProgramPath(name), ProgramPath("data\\" + std::string(name))})
        if (std::filesystem::is_regular_file(path))
            return path;
    return {};
}

void OpenHelpIndex(TForm1&)
{
    OpenHelpFile("vellumix.chm");
}

void OpenVBScriptHelp(TForm1&)
{
    OpenHelpFile("vbscript.chm");
}

const std::vector<std::pair<const char*, const char*>>& WebLinks()
{
    static const std::vector<std::pair<const char*, const char*>> links = {
        {"ASPTown1", "http://www.asptown.com/"},
        {"N4GuysfromRolla1", "http://www.4guysfromrolla.com/"},
        {"TheASPHole1", "http://www.asphole.com/"},
        {"TheASPdeveloppernetwork1", "http://www.aspdeveloper.net/"},
        {"TheASPAlliance1", "http://www.aspalliance.com/"},
        {"ASP101Course1", "http://www.asp101.com/"},
        {"IntroductiontoSQL1", "http://www.w3schools.com/sql/"},
        {"TypicalSQLCommands1", "http://www.w3schools.com/sql/sql_syntax.asp"},
    };
    return links;
}

void OpenWebLink(const std::string& url)
{
    OpenInWebBrowser(QUrl(ToQString(url)));
}

std::optional<std::string> PreviewUrl(const std::string& fileName, const std::string& webRoot,
                                      const std::string& host)
{
    if (webRoot.empty() || fileName.empty())
        return std::nullopt;
    namespace fs = std::filesystem;
    const fs::path root = fs::path(webRoot).lexically_normal();
    const fs::path file = fs::path(fileName).lexically_normal();
    const fs::path relative = file.lexically_relative(root);
    if (relative.empty() || *relative.begin() == ".." || relative.is_absolute() || relative == ".")
        return std::nullopt;
    const QString path = ToQPath(relative.generic_string());
    const QByteArray encoded = QUrl::toPercentEncoding(path, "/");
    return "http://" + host + "/" + encoded.toStdString();
}

void TakeWebServerChoice(TLaunch& launch)
{
    CommandState(launch.Form).ThroughWebServer = steps::DialogResult(*launch.Dialog) == "1";
}

void PreviewInExternalBrowser(TForm1& form)
{
    const std::string name = FocusedFileName(form);
    if (name.empty()) {
        ShowMessage(SaveFirst());
        return;
    }
    OpenInWebBrowser(QUrl::fromLocalFile(ToQPath(name)));
}

bool InternalPreviewAvailable()
{
    // The commands are bound before the preview window is made: the engine decides.
    return WebBrowserInstalled();
}

void PreviewInInternalBrowser(TForm1& form)
{
    TCommandState& state = CommandState(form);
    const std::string name = FocusedFileName(form);
    // The warning's choice is kept for later previews.
    if (AnsiUpperCase(std::filesystem::path(name).extension().string()) == ".ASP")
        RunLauncher(form, "Tfrm_asp_warning");
    if (name.empty()) {
        ShowMessage(MustSaveFirst());
        return;
    }
    QUrl url = QUrl::fromLocalFile(ToQPath(name));
    if (state.ThroughWebServer) {
        const std::optional<std::string> served = PreviewUrl(name, WebRoot(), "127.0.0.1");
        if (!served) {
            ShowMessage(NotBelowWebRoot());
            return;
        }
        url = QUrl(ToQString(*served));
    }
    if (!frm_preview)
        return;
    frm_preview->show();
    frm_preview->raise();
    frm_preview->PreviewHTML1->Navigate(url);
}

} // namespace vx::shell
