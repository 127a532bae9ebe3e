// lngtool: builds the program's windows and writes "native.lng" (and, with
// --base, the starting file of a new language) from their built-in texts;
// each --translate table (<language>.po) then gives "<language>.lng".
//
//   lngtool [--dir <folder>] [--base <language>] [--translate <table>]...
//
// The folder defaults to the "languages" folder beside the program.
#include "localisation/LangTranslator.h"
#include "localisation/TranslationTable.h"
#include "localisation/qt/KLangTool.h"
#include "localisation/qt/KMLang.h"
#include "platform/Exception.h"
#include "platform/ProgramPaths.h"
#include "shell/qt/mainwindow/ComponentTranslation.h"
#include "shell/qt/mainwindow/LanguageWindows.h"
#include "shell/qt/main/PrivateSettings.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

int usage()
{
    std::cerr << "usage: lngtool [--dir <folder>] [--base <language>] [--translate <table>]...\n";
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
    std::vector<std::string> tables;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--dir" || arg == "--base") && i + 1 < argc)
            (arg == "--dir" ? folder : base) = argv[++i];
        else if (arg == "--translate" && i + 1 < argc)
            tables.push_back(argv[++i]);
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
        for (const std::string& table : tables) {
            const std::string out = vx::JoinPath(folder, std::filesystem::path(table).stem().string() + ".lng");
            std::vector<TUntranslatedText> missing;
            try {
                missing = TranslateLanguageFile(vx::JoinPath(folder, "native.lng"), table, out);
            } catch (const ETranslationTableError& e) {
                throw ETranslationTableError(table + ": " + e.what());
            }
            std::cout << "Wrote " << out;
            // Not an error: a window added before its translation shows its
            // built-in texts; the shell's tests list what the table lacks.
            if (!missing.empty())
                std::cout << " (" << missing.size() << " texts not translated yet)";
            std::cout << "\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "lngtool: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
