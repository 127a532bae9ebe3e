// The link to the external style-sheet editor: its hook library, loaded once
// on demand, and the wrappers the main window calls. The library stands
// behind an interface so that a test can put a library of its own in its place.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vx::shell {

// The entry points of the hook library the program calls. Each answers what
// the library's function of that name answers; 0 stands for failure.
class TTopStyleLibrary {
public:
    virtual ~TTopStyleLibrary() = default;
    virtual int IsTSLiteInstalled() = 0;
    // Writes the version text into buffer, *size bytes at most.
    virtual int GetTSLiteVersion(char* buffer, int* size) = 0;
    // Edits the zero-terminated text in buffer (*size bytes) in place.
    virtual int EditStyleBlock(char* buffer, int* size, void* owner, const char* application) = 0;
    virtual int EditStyleSheet(const char* fileName, const char* text) = 0;
};

// Makes the library from a path; null when it cannot be loaded.
using TTopStyleLoader = std::function<std::unique_ptr<TTopStyleLibrary>(const std::string& path)>;

// The shared library at path, or of that bare name on the loader's search
// path; an entry point the library lacks answers 0. Null when the loader
// refuses it.
std::unique_ptr<TTopStyleLibrary> LoadTopStyleLibrary(const std::string& path);

class TTopStyleHook {
public:
    static constexpr const char* LibraryName = "tshook.dll";
    static constexpr const char* AppPathsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tshook.dll";
    // The style block travels in a buffer of this size, its terminating zero included.
    static constexpr std::size_t BlockBufferSize = 65536;
    static constexpr std::size_t VersionBufferSize = 20;

    explicit TTopStyleHook(TTopStyleLoader loader = LoadTopStyleLibrary);
    ~TTopStyleHook();
    TTopStyleHook(const TTopStyleHook&) = delete;
    TTopStyleHook& operator=(const TTopStyleHook&) = delete;

    // Whether the library is usable, loading it on the first call. A failed
    // load is not tried again until Unload.
    bool LoadTopStyleHook();
    // Stores the name and answers true when the lite editor is installed in a
    // version that takes part: not empty, not "1.5.0.0", not "1.0...".
    bool Register(const std::string& applicationName);
    // Hands text to the editor; true, with text replaced by the edited one,
    // when the editor took it. A text that does not fit the block buffer is
    // refused without calling the library.
    bool EditStyleBlock(std::string& text, void* owner);
    bool EditStyleSheet(const std::string& fileName, const std::string& text);
    // Frees the library and forgets a failed load.
    void Unload();

    // Whether the last Register succeeded.
    bool Registered() const { return registered_; }
    const std::string& ApplicationName() const { return applicationName_; }

private:
    // The App Paths value, made absolute, when it names an existing file;
    // else the bare name for the loader's own search.
    static std::string LibraryPath();

    TTopStyleLoader loader_;
    std::unique_ptr<TTopStyleLibrary> library_;
    bool loadFailed_ = false;
    bool registered_ = false;
    std::string applicationName_;
};

// The program's one link, freed at program end.
TTopStyleHook& TopStyleHook();

// The text of a style element without its tags: the first "<style>" and the
// first "</style>" after it removed, in any letter case; none without a "</style>".
std::optional<std::string> StyleElementBody(std::string text);

} // namespace vx::shell
