// Shared libraries through the POSIX dynamic loader.
#include "platform/SharedLibrary.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace vx {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& path, std::string* error)
{
    // dlopen searches its library path for a name without a slash; an
    // absolute path is only ever that one file.
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failure);
    if (failure || path.empty()) {
        if (error)
            *error = path.empty() ? "empty path" : failure.message();
        return nullptr;
    }
    return Load(absolute.c_str(), error);
}

std::unique_ptr<SharedLibrary> SharedLibrary::Find(const std::string& name, std::string* error)
{
    if (name.empty() || name.find('/') != std::string::npos) {
        if (error)
            *error = "not a bare library name: " + name;
        return nullptr;
    }
    return Load(name.c_str(), error);
}

std::unique_ptr<SharedLibrary> SharedLibrary::Load(const char* file, std::string* error)
{
    void* handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* reason = dlerror();
            *error = reason ? reason : "unknown error";
        }
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary()
{
    if (handle_)
        dlclose(handle_);
}

void* SharedLibrary::Symbol(const char* name) const
{
    return handle_ ? dlsym(handle_, name) : nullptr;
}

void SharedLibrary::KeepLoaded()
{
    handle_ = nullptr;
}

} // namespace vx
