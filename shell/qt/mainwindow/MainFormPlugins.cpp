// The Plug-ins menu: "Load Plugins" runs the main window's plug-in manager,
// and every command a plug-in offers becomes an item at the top of the menu
// until the plug-in is unloaded.
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/MainFormCommands.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "shell/plugins/uilPluginManager.h"

#include <QAction>
#include <QApplication>

#include <filesystem>
#include <system_error>

namespace vx::shell {

namespace {

const TRunTimeText NoPluginFolder{"The plug-in folder does not exist: "};
const TRunTimeText NoPluginFiles{"The plug-in folder holds no plug-in (no file ending in .plg): "};

// Which plug-in a menu item runs a command of.
constexpr const char* PluginProperty = "vxPlugin";

quintptr Key(const TuilPlugin& plugin)
{
    return reinterpret_cast<quintptr>(&plugin);
}

void plugins1NewCommand(TForm1& form, TuilPluginManager& sender, const std::string& caption,
                        const std::string& hint, const std::string& data, std::function<void()> execute)
{
    // A plug-in may end the program: what the user wrote is copied first.
    auto run = [&form, execute = std::move(execute)] {
        form.SaveRecoveryCopies();
        execute();
    };
    QAction* action = AddPluginCommand(form, caption, QKeySequence(ToQString(data)), hint, std::move(run));
    if (action)
        action->setProperty(PluginProperty, Key(sender.GetPlugin(sender.Count() - 1)));
}

void RemovePluginCommands(TForm1& form, const TuilPlugin& plugin)
{
    const QVariant key = Key(plugin);
    for (QAction* action : form.findChildren<QAction*>())
        if (action->property(PluginProperty) == key)
            delete action;
}

} // namespace

void ConnectPluginManager(TForm1& form)
{
    TuilPluginManager& manager = *form.plugins1;
    manager.Application = QCoreApplication::instance();
    manager.OnNewCommand = [&form](TuilPluginManager& sender, const std::string& caption, const std::string& hint,
                                   const std::string& data, const vx_plugin_bitmap*, std::function<void()> execute) {
        plugins1NewCommand(form, sender, caption, hint, data, std::move(execute));
    };
    manager.OnUnloadPlugin = [&form](TuilPluginManager& sender, int index) {
        RemovePluginCommands(form, sender.GetPlugin(index));
    };
}

void LoadPlugins(TForm1& form)
{
    // Loading runs the plug-ins' own code, which may end the program.
    form.SaveRecoveryCopies();
    TuilPluginManager& manager = *form.plugins1;
    manager.SetExtension("plg");
    const bool found = !manager.PluginFiles().empty();
    try {
        manager.LoadPlugins();
    } catch (const EuilLoadPluginError& e) {
        MessageDlg(ErrorText(e), mtError, mbOK);
        return;
    }
    // Nothing loaded and nothing new in the menu: the user learns why.
    const std::string folder = manager.ScannedFolder();
    std::error_code unreadable;
    if (!std::filesystem::is_directory(folder, unreadable))
        ShowMessage(NoPluginFolder() + folder);
    else if (!found)
        ShowMessage(NoPluginFiles() + folder);
}

} // namespace vx::shell
