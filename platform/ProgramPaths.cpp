#include "platform/ProgramPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vx {

namespace {

std::string fromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : std::string();
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

std::string ProgramFolder()
{
    std::string home = fromEnvironment("VELLUMIX_HOME");
    if (!home.empty())
        return withoutTrailingSlash(home);
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

std::string ConfigFolder()
{
    std::string config = fromEnvironment("VELLUMIX_CONFIG");
    if (!config.empty())
        return withoutTrailingSlash(config);
    std::string base = fromEnvironment("XDG_CONFIG_HOME");
    if (base.empty())
        base = fromEnvironment("HOME") + "/.config";
    return base + "/vellumix";
}

std::string DataFolder()
{
    std::string data = fromEnvironment("VELLUMIX_DATA");
    if (!data.empty())
        return withoutTrailingSlash(data);
    std::string base = fromEnvironment("XDG_DATA_HOME");
    if (base.empty())
        base = fromEnvironment("HOME") + "/.local/share";
    return base + "/vellumix";
}

std::string NativePath(std::string_view path)
{
    std::string result(path);
    for (char& c : result)
        if (c == '\\')
            c = '/';
    return result;
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string result(folder);
    while (!result.empty() && result.back() == '/')
        result.pop_back();
    size_t start = 0;
    while (start < name.size() && name[start] == '/')
        ++start;
    result += '/';
    result += name.substr(start);
    return result;
}

std::string ProgramPath(std::string_view relative)
{
    std::string native = NativePath(relative);
    if (!native.empty() && native.front() == '/')
        return native;
    return JoinPath(ProgramFolder(), native);
}

std::string UserDataPath(std::string_view relative)
{
    const std::filesystem::path user = JoinPath(DataFolder(), NativePath(relative));
    std::error_code ec;
    if (std::filesystem::exists(user, ec))
        return user.string();
    std::filesystem::create_directories(user.parent_path(), ec);
    const std::filesystem::path seed = ProgramPath(relative);
    // The copy is the user's to change, however read-only the program's file is.
    if (std::filesystem::is_regular_file(seed, ec) && std::filesystem::copy_file(seed, user, ec))
        std::filesystem::permissions(user, std::filesystem::perms::owner_write, std::filesystem::perm_options::add, ec);
    return user.string();
}

} // namespace vx
