// The test plug-ins the build makes, put where a test wants them, and what
// the one loaded from a path has recorded.
#pragma once

#include "tests/shell/plugins/Probe.h"

#include <dlfcn.h>

#include <filesystem>
#include <optional>
#include <string>

namespace vx::test {

// Copies the test plug-in fixture ("commands", "other", "never", "noentry",
// "noobject") into folder under name (fixture + ".plg" when empty). Each copy
// is a library of its own to the loader, with its own records.
inline std::string PutPlugin(const std::filesystem::path& folder, const std::string& fixture,
                             const std::string& name = {})
{
    std::filesystem::create_directories(folder);
    const std::filesystem::path target = folder / (name.empty() ? fixture + ".plg" : name);
    std::filesystem::copy_file(std::filesystem::path(VX_PLUGIN_FIXTURES) / (fixture + ".plg"), target,
                               std::filesystem::copy_options::overwrite_existing);
    return target.string();
}

// True while the library at path is loaded into the process.
inline bool LibraryLoaded(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// What the loaded test plug-in at path recorded; none when it is not loaded.
// The library is not held: unloading it stays possible.
inline std::optional<vxtest_probe> ProbeOf(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return std::nullopt;
    std::optional<vxtest_probe> probe;
    if (void* entry = dlsym(handle, VXTEST_PROBE_ENTRY))
        probe = *reinterpret_cast<vxtest_probe_of_fn>(entry)();
    dlclose(handle);
    return probe;
}

} // namespace vx::test
