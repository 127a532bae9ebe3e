// Loading, keeping and unloading plug-ins.
#include "shell/plugins/uilPluginManager.h"

#include "platform/AnsiText.h"
#include "platform/ProgramPaths.h"
#include "platform/SharedLibrary.h"
#include "shell/plugins/uilPlugin.h"
#include "shell/plugins/uilPluginCheck.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

namespace fs = std::filesystem;

// The library outlives its plug-in object: the object's code lives in it.
struct TuilPluginManager::TLoaded {
    std::unique_ptr<vx::SharedLibrary> Library;
    std::unique_ptr<TuilPlugin> Plugin;
};

namespace {

// The loader's own words follow as they came.
const TWording NoLibrary{"Error loading Plug-in \"%1\":\r\n%2"};
const TWording NoEntryPoint{"\"%1\" is not a valid Plug-in"};
const TWording UntrustedObject{"\"%1\" is not a valid Plug-in: %2."};
const TWording InitializationFailed{"\"%1\" failed initialization."};
// What a failed file cost: the files after it, which were not tried.
const TWording LaterFilesNotLoaded{"%1\r\nTherefore these plug-ins were not loaded: %2"};

// The names, separated by commas.
std::string Listed(std::span<const std::string> names)
{
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

// The visible regular files of folder whose extension is ext, any case, by name.
std::vector<std::string> MatchingFiles(const std::string& folder, const std::string& ext)
{
    std::vector<std::string> names;
    std::error_code failure;
    fs::directory_iterator it(folder, failure);
    if (failure)
        return names;
    const std::string suffix = vx::UpperCase("." + ext);
    for (; it != fs::directory_iterator(); it.increment(failure)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        if (name.front() == '.' || !it->is_regular_file(kind) || name.size() <= suffix.size() ||
            vx::UpperCase(name.substr(name.size() - suffix.size())) != suffix)
            continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TuilPluginManager::TuilPluginManager() = default;

TuilPluginManager::~TuilPluginManager()
{
    for (TLoaded& loaded : loaded_) {
        loaded.Plugin.reset();
        loaded.Library->KeepLoaded();
    }
}

void TuilPluginManager::SetExtension(const std::string& value)
{
    if (value == extension_)
        return;
    if (value.empty() || value.size() > 3)
        throw EuilPluginError("Extension must be between 1 and 3 characters");
    extension_ = value;
}

int TuilPluginManager::Count() const
{
    return static_cast<int>(loaded_.size());
}

void TuilPluginManager::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EuilPluginError("Invalid index");
}

const TuilPlugin& TuilPluginManager::GetPlugin(int index) const
{
    CheckIndex(index);
    return *loaded_[index].Plugin;
}

void TuilPluginManager::GetLoadedPlugins(TStrings& list) const
{
    list.Clear();
    for (const TLoaded& loaded : loaded_)
        list.Add(loaded.Plugin->Name());
}

int TuilPluginManager::InstancesOf(const std::string& pluginName) const
{
    return static_cast<int>(std::count_if(loaded_.begin(), loaded_.end(), [&](const TLoaded& loaded) {
        return loaded.Plugin->PluginName() == pluginName;
    }));
}

std::string TuilPluginManager::ScannedFolder() const
{
    return vx::NativePath(folder_.empty() ? vx::ProgramFolder() : folder_);
}

std::vector<std::string> TuilPluginManager::PluginFiles() const
{
    return MatchingFiles(ScannedFolder(), extension_);
}

void TuilPluginManager::LoadPlugins()
{
    if (OnBeforeLoading)
        OnBeforeLoading(*this);
    const std::string folder = ScannedFolder();
    const std::vector<std::string> files = PluginFiles();
    for (auto file = files.begin(); file != files.end(); ++file) {
        bool allowLoad = true;
        if (OnBeforeLoad)
            OnBeforeLoad(*this, *file, allowLoad);
        if (!allowLoad)
            continue;
        try {
            LoadPlugin(vx::JoinPath(folder, *file));
        } catch (const EuilLoadPluginError& e) {
            if (file + 1 == files.end())
                throw;
            throw EuilLoadPluginError(
                TMessage(LaterFilesNotLoaded, {e.Said(), Listed(std::span(file + 1, files.end()))}));
        }
        if (OnAfterLoad)
            OnAfterLoad(*this, *file);
    }
    if (OnAfterLoading)
        OnAfterLoading(*this);
}

void TuilPluginManager::LoadPlugin(const std::string& path)
{
    TLoaded loaded;
    std::string reason;
    loaded.Library = vx::SharedLibrary::Open(path, &reason);
    if (!loaded.Library)
        throw EuilLoadPluginError(TMessage(NoLibrary, {path, reason}));
    void* entry = loaded.Library->Symbol(VX_PLUGIN_ENTRY);
    if (!entry)
        throw EuilLoadPluginError(TMessage(NoEntryPoint, {path}));
    vx_plugin* object = reinterpret_cast<vx_register_plugin>(entry)();
    if (!object)
        return;
    // An object that fails the checks is not trusted to destroy itself either.
    if (std::optional<TMessage> defect = vx::shell::PluginDefect(object))
        throw EuilLoadPluginError(TMessage(UntrustedObject, {path, std::move(*defect)}));
    loaded.Plugin = std::make_unique<TuilPlugin>(object);
    // Leaving here frees the refused object first, then its library.
    if (InstancesOf(loaded.Plugin->PluginName()) >= loaded.Plugin->Instances())
        return;
    if (!loaded.Plugin->Initialize(this, Application, fs::path(path).filename().string()))
        throw EuilLoadPluginError(TMessage(InitializationFailed, {path}));
    loaded_.push_back(std::move(loaded));
    const TuilPlugin& plugin = *loaded_.back().Plugin;
    for (int i = 0; i < plugin.CommandCount(); ++i) {
        TuilPlugin::TCommand command = plugin.Command(i);
        if (OnNewCommand)
            OnNewCommand(*this, command.Caption, command.Hint, command.Data, command.Bitmap,
                         std::move(command.Execute));
    }
}

void TuilPluginManager::UnloadPlugin(int index)
{
    CheckIndex(index);
    if (OnUnloadPlugin)
        OnUnloadPlugin(*this, index);
    // Freed on leaving: the plug-in object, then its library.
    const TLoaded unloaded = std::move(loaded_[index]);
    loaded_.erase(loaded_.begin() + index);
}

void TuilPluginManager::Broadcast(std::intptr_t first, std::intptr_t second)
{
    for (TLoaded& loaded : loaded_)
        loaded.Plugin->Receive(first, second);
}
