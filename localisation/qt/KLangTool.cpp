// The windows whose built-in texts make up "native.lng", and their writer.
#include "localisation/qt/KLangTool.h"

#include "localisation/KLangEd.h"
#include "localisation/qt/KMLang.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"

#include <QWidget>

#include <filesystem>
#include <system_error>

void TLangWindowRegistry::Register(const std::string& name, TWindowFactory factory)
{
    windows_.emplace_back(name, std::move(factory));
}

TLangWindowRegistry& LangWindows()
{
    static TLangWindowRegistry registry;
    return registry;
}

TNativeFileReport WriteNativeLanguage(const TLangWindowRegistry& registry, const std::string& folder,
                                      const std::string& baseLanguage)
{
    const std::string nativePath = vx::JoinPath(folder, "native.lng");
    const std::string basePath = baseLanguage.empty() ? std::string() : vx::JoinPath(folder, baseLanguage + ".lng");
    if (!basePath.empty() && vx::FileExists(basePath))
        throw EKMLangError("Language file \"" + basePath + "\" exists already; it is left as it is");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    TkLangFileEdit native;
    native.SetFlag(lfNative, true);
    native.SetHasLocale(true);
    native.CaptureLocale();
    TNativeFileReport report;
    for (const auto& [name, factory] : registry.Windows()) {
        std::unique_ptr<QWidget> window = factory();
        if (!window)
            continue;
        TKMLang* lang = window->findChild<TKMLang*>(QString(), Qt::FindDirectChildrenOnly);
        if (!lang)
            lang = new TKMLang(window.get()); // owned by the window
        lang->CollectInto(native);
        ++report.Windows;
    }
    report.Texts = native.StringCount();
    native.SaveAs(nativePath);
    if (!basePath.empty()) {
        TkLangFileEdit base;
        base.LoadFromBytes(vx::ReadWholeFile(nativePath));
        base.SetFlag(lfNative, false);
        base.SaveAs(basePath);
    }
    return report;
}
