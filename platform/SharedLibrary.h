// A shared library loaded from an explicit path: the dynamic loader in place
// of the Windows library calls.
#pragma once

#include <memory>
#include <string>

namespace vx {

class SharedLibrary {
public:
    // Loads the library at path. A relative path is taken from the current
    // folder, never looked up in the loader's search path. On failure returns
    // null and, when error is given, puts the loader's reason there.
    static std::unique_ptr<SharedLibrary> Open(const std::string& path, std::string* error = nullptr);
    // Loads the library of that bare file name from the loader's search path
    // (LD_LIBRARY_PATH, the system's library folders), never from the
    // current folder. Null on failure, as Open.
    static std::unique_ptr<SharedLibrary> Find(const std::string& name, std::string* error = nullptr);

    // Unloads the library: what it exported must no longer be in use.
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The address of an exported symbol; null when the library has none of that name.
    void* Symbol(const char* name) const;

    // Gives up the handle without unloading: the library stays in the process
    // until it ends.
    void KeepLoaded();

private:
    explicit SharedLibrary(void* handle) : handle_(handle) {}
    static std::unique_ptr<SharedLibrary> Load(const char* file, std::string* error);
    void* handle_;
};

} // namespace vx
