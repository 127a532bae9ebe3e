// lngtool: builds the program's windows and writes "native.lng" (and, with
// --base, the starting file of a new language) from their built-in texts.
//
//   lngtool [--dir <folder>] [--base <language>]
//
// The folder defaults to the "languages" folder beside the program.
#include "localisation/qt/KLangTool.h"
#include "localisation/qt/KMLang.h"
#include "platform/Exception.h"
#include "platform/ProgramPaths.h"
#include "shell/ComponentTranslation.h"
#include "shell/LanguageWindows.h"
#include "shell/main/PrivateSettings.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

int usage()
{
    std::cerr << "usage: lngtool [--dir <folder>] [--base <language>]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // The windows are built, never shown: no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The windows read and may write settings while they are built: on a
    // settings folder of the tool's own, the user's stay untouched.
    QTemporaryDir settings;
    UsePrivateSettings(settings, TSettingsOverride::Always);
    QApplication app(argc, argv);

    std::string folder = vx::ProgramPath("languages");
    std::string base;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--dir" || arg == "--base") && i + 1 < argc)
            (arg == "--dir" ? folder : base) = argv[++i];
        else
            return usage();
    }

    try {
        vx::shell::RegisterComponentTranslation();
        vx::shell::RegisterLanguageWindows(LangWindows());
        TKAppLanguage::Instance().Initialize();
        const TNativeFileReport report = WriteNativeLanguage(LangWindows(), folder, base);
        std::cout << "Wrote " << report.Texts << " texts of " << report.Windows << " windows to "
                  << vx::JoinPath(folder, "native.lng") << "\n";
        if (!base.empty())
            std::cout << "Wrote " << vx::JoinPath(folder, base + ".lng") << "\n";
    } catch (const std::exception& e) {
        std::cerr << "lngtool: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
