// The style-sheet editor's hook library and the wrappers around it.
#include "shell/TopStyleHook.h"

#include "platform/AnsiText.h"
#include "platform/FileIO.h"
#include "platform/Registry.h"
#include "platform/SharedLibrary.h"

#include <cstring>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

namespace vx::shell {

namespace {

// The library's functions as C functions of these shapes.
using TIsInstalled = int (*)();
using TGetVersion = int (*)(char*, int*);
using TEditBlock = int (*)(char*, int*, void*, const char*);
using TEditSheet = int (*)(const char*, const char*);

class TDynamicTopStyleLibrary : public TTopStyleLibrary {
public:
    explicit TDynamicTopStyleLibrary(std::unique_ptr<vx::SharedLibrary> library)
        : library_(std::move(library)), isInstalled_(Entry<TIsInstalled>("IsTSLiteInstalled")),
          getVersion_(Entry<TGetVersion>("GetTSLiteVersion")), editBlock_(Entry<TEditBlock>("EditStyleBlock")),
          editSheet_(Entry<TEditSheet>("EditStyleSheet"))
    {
    }

    int IsTSLiteInstalled() override { return isInstalled_ ? isInstalled_() : 0; }
    int GetTSLiteVersion(char* buffer, int* size) override { return getVersion_ ? getVersion_(buffer, size) : 0; }
    int EditStyleBlock(char* buffer, int* size, void* owner, const char* application) override
    {
        return editBlock_ ? editBlock_(buffer, size, owner, application) : 0;
    }
    int EditStyleSheet(const char* fileName, const char* text) override
    {
        return editSheet_ ? editSheet_(fileName, text) : 0;
    }

private:
    template <class F> F Entry(const char* name) const { return reinterpret_cast<F>(library_->Symbol(name)); }

    std::unique_ptr<vx::SharedLibrary> library_;
    TIsInstalled isInstalled_;
    TGetVersion getVersion_;
    TEditBlock editBlock_;
    TEditSheet editSheet_;
};

// The text up to the first zero, never beyond the buffer.
std::string BoundedText(const std::vector<char>& buffer)
{
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

} // namespace

std::unique_ptr<TTopStyleLibrary> LoadTopStyleLibrary(const std::string& path)
{
    std::unique_ptr<vx::SharedLibrary> library =
        path.find('/') == std::string::npos ? vx::SharedLibrary::Find(path) : vx::SharedLibrary::Open(path);
    if (!library)
        return nullptr;
    return std::make_unique<TDynamicTopStyleLibrary>(std::move(library));
}

TTopStyleHook::TTopStyleHook(TTopStyleLoader loader) : loader_(std::move(loader)) {}

TTopStyleHook::~TTopStyleHook() = default;

std::string TTopStyleHook::LibraryPath()
{
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        if (reg.OpenKeyReadOnly(AppPathsKey)) {
            const std::string path = vx::Trim(reg.ReadString(""));
            if (!path.empty() && vx::FileExists(path)) {
                std::error_code failure;
                const std::filesystem::path absolute = std::filesystem::absolute(path, failure);
                return failure ? path : absolute.string();
            }
        }
    } catch (const std::exception&) {
        // An unreadable settings store leaves the library to the loader's search.
    }
    return LibraryName;
}

bool TTopStyleHook::LoadTopStyleHook()
{
    if (loadFailed_)
        return false;
    if (library_)
        return true;
    library_ = loader_ ? loader_(LibraryPath()) : nullptr;
    loadFailed_ = !library_;
    return !loadFailed_;
}

bool TTopStyleHook::Register(const std::string& applicationName)
{
    registered_ = false;
    if (!LoadTopStyleHook() || library_->IsTSLiteInstalled() == 0)
        return false;
    std::vector<char> buffer(VersionBufferSize, '\0');
    int size = static_cast<int>(buffer.size());
    const std::string version = library_->GetTSLiteVersion(buffer.data(), &size) != 0 ? BoundedText(buffer) : "";
    if (version.empty() || version == "1.5.0.0" || version.starts_with("1.0"))
        return false;
    applicationName_ = applicationName;
    registered_ = true;
    return true;
}

bool TTopStyleHook::EditStyleBlock(std::string& text, void* owner)
{
    if (text.size() >= BlockBufferSize || !LoadTopStyleHook())
        return false;
    std::vector<char> buffer(BlockBufferSize, '\0');
    std::memcpy(buffer.data(), text.data(), text.size());
    int size = static_cast<int>(buffer.size());
    if (library_->EditStyleBlock(buffer.data(), &size, owner, applicationName_.c_str()) == 0)
        return false;
    text = BoundedText(buffer);
    return true;
}

bool TTopStyleHook::EditStyleSheet(const std::string& fileName, const std::string& text)
{
    return LoadTopStyleHook() && library_->EditStyleSheet(fileName.c_str(), text.c_str()) != 0;
}

void TTopStyleHook::Unload()
{
    library_.reset();
    loadFailed_ = false;
    registered_ = false;
}

TTopStyleHook& TopStyleHook()
{
    static TTopStyleHook hook;
    return hook;
}

std::optional<std::string> StyleElementBody(std::string text)
{
    constexpr std::string_view open = "<style>";
    constexpr std::string_view close = "</style>";
    if (const std::size_t at = vx::LowerCase(text).find(open); at != std::string::npos)
        text.erase(at, open.size());
    const std::size_t end = vx::LowerCase(text).find(close);
    if (end == std::string::npos)
        return std::nullopt;
    text.erase(end, close.size());
    return text;
}

} // namespace vx::shell
