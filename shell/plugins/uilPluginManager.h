// The plug-in manager: finds the plug-in libraries of a folder, loads them
// through the contract of shell/plugins/plugin.h, keeps the loaded plug-ins
// and reports each command they offer, so the host can make a menu item of it.
#pragma once

#include "platform/Exception.h"
#include "platform/TStringList.h"
#include "shell/plugins/plugin.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vx {
class SharedLibrary;
}
class TuilPlugin;

VX_DECLARE_EXCEPTION(EuilPluginError, Exception);
VX_DECLARE_EXCEPTION(EuilLoadPluginError, EuilPluginError);

class TuilPluginManager {
public:
    using TNotifyEvent = std::function<void(TuilPluginManager& Sender)>;
    using TuilBeforeLoadEvent =
        std::function<void(TuilPluginManager& Sender, const std::string& Filename, bool& AllowLoad)>;
    using TuilAfterLoadEvent = std::function<void(TuilPluginManager& Sender, const std::string& Filename)>;
    // AEvent runs the command; ABitmap is null when the command has no picture.
    using TNewCommandEvent = std::function<void(TuilPluginManager& Sender, const std::string& ACaption,
                                                const std::string& AHint, const std::string& AData,
                                                const vx_plugin_bitmap* ABitmap, std::function<void()> AEvent)>;
    using TuilUnloadEvent = std::function<void(TuilPluginManager& Sender, int Index)>;

    static constexpr const char* Version = "5.0a1";

    TuilPluginManager();
    // Frees every plug-in object; their libraries stay loaded until the
    // process ends, as the host may still hold what they handed out.
    ~TuilPluginManager();
    TuilPluginManager(const TuilPluginManager&) = delete;
    TuilPluginManager& operator=(const TuilPluginManager&) = delete;

    // Without the dot; "uil" at first. Any other length than 1 to 3 raises
    // EuilPluginError and keeps the extension.
    const std::string& Extension() const { return extension_; }
    void SetExtension(const std::string& value);
    // The folder to scan; empty: the program's folder.
    const std::string& PluginFolder() const { return folder_; }
    void SetPluginFolder(const std::string& value) { folder_ = value; }
    // The folder LoadPlugins scans, as the system names it.
    std::string ScannedFolder() const;
    // The names of the files LoadPlugins would load, in its order; none when
    // the folder is missing.
    std::vector<std::string> PluginFiles() const;
    // What the plug-ins' initialisation receives as the application object.
    void* Application = nullptr;

    int Count() const;
    // Raises EuilPluginError "Invalid index" for an index out of range.
    const TuilPlugin& GetPlugin(int index) const;
    // The loaded plug-ins' names in load order, in place of list's lines.
    void GetLoadedPlugins(TStrings& list) const;

    // Loads every file of the folder with the extension, in name order. A
    // failing file raises its error here, which names the later files: they
    // are not tried and OnAfterLoading is not notified; plug-ins loaded
    // before it stay.
    void LoadPlugins();
    // Loads one library; raises EuilLoadPluginError when it is no library
    // (with the loader's reason), lacks the entry point, hands over an object
    // that fails the checks of PluginDefect, or fails its initialisation. A
    // plug-in refused by its instance limit or its initialisation is unloaded again.
    void LoadPlugin(const std::string& path);
    // Notifies OnUnloadPlugin, then frees the plug-in and unloads its library.
    void UnloadPlugin(int index);
    // Hands the pair to every loaded plug-in, in load order.
    void Broadcast(std::intptr_t first, std::intptr_t second);

    TNotifyEvent OnBeforeLoading;
    TNotifyEvent OnAfterLoading;
    TuilBeforeLoadEvent OnBeforeLoad;
    TuilAfterLoadEvent OnAfterLoad;
    // Once per command of the plug-in just loaded, the last in the list.
    TNewCommandEvent OnNewCommand;
    // Before the plug-in at Index is unloaded: the host takes away what it
    // made of the plug-in's commands.
    TuilUnloadEvent OnUnloadPlugin;

private:
    struct TLoaded;
    void CheckIndex(int index) const;
    int InstancesOf(const std::string& pluginName) const;

    std::string extension_ = "uil";
    std::vector<TLoaded> loaded_;
    std::string folder_;
};
