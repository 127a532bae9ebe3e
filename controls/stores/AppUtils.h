// Names of the files, keys and sections that settings live in, the settings
// calls that work on an INI file and on the registry alike, and the writing and
// reading of a window's placement.
#pragma once

#include <QRect>

#include <string>

class QObject;
class QTableView;
class QWidget;
class TCustomIniFile;

namespace vx {

// Take part in the default registry key: "Software\<company>\<title>" when set.
// Neither is set by the program; both are empty or off by default.
extern std::string DefCompanyName;
extern bool RegUseAppTitle;

// The executable's name with its extension replaced by ".INI".
std::string GetDefaultIniName();
// "Software\" + the executable's name without extension (or the application's
// title with RegUseAppTitle), with DefCompanyName between them when set.
std::string GetDefaultIniRegKey();
// A window: its class name. A control: its window's class name and its own
// name. Anything else owned by a window: window class name + "." + its name. A window's class
// name is that of its C++ class when it has meta-object information, else "T"
// followed by its object name (Form1 -> TForm1).
std::string GetDefaultSection(const QObject* component);
// "(1024x768)": the primary screen's size in pixels.
std::string GetScreenSuffix();
// Where a settings file named without a folder lives: the settings folder.
std::string IniFilePath(const std::string& name);

// Each works on an INI file or the registry; with no ini, reads answer def and
// writes do nothing. Text written to an INI file keeps its surrounding quotes
// and blanks (it is wrapped in one more pair of double quotes when needed).
std::string IniReadString(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                          const std::string& def);
void IniWriteString(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                    const std::string& value);
int IniReadInteger(TCustomIniFile* ini, const std::string& section, const std::string& ident, int def);
void IniWriteInteger(TCustomIniFile* ini, const std::string& section, const std::string& ident, int value);
void IniEraseSection(TCustomIniFile* ini, const std::string& section);
// Under ident + GetScreenSuffix(); reading falls back to the plain ident.
std::string IniReadStringScr(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                             const std::string& def);
void IniWriteStringScr(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                       const std::string& value);

// What is kept of a window's placement, in the platform's terms.
struct TWindowPlacement {
    int flags = 0;
    int showCmd = 1; // 1 normal, 2 minimised, 3 maximised
    int pixelsPerInch = 96;
    QPoint minPosition{-1, -1};
    QPoint maxPosition{-1, -1};
    QRect normalPosition; // as the window's geometry when neither minimised nor maximised
};
TWindowPlacement GetWindowPlacement(const QWidget* form);
void WritePlacement(TCustomIniFile* ini, const std::string& section, const TWindowPlacement& placement);
void WriteFormPlacement(const QWidget* form, TCustomIniFile* ini, const std::string& section);
// Restores what is stored. A position stored at another pixel density is ignored,
// and a window is always placed within the available area of an existing screen.
// The main window (or any window while there is none) starts maximised when it
// is an MDI parent or its position is left to the window system, unless the
// stored show command says otherwise; a main window stored minimised comes
// back normal and is then minimised as the application. When read is given it
// receives the stored flags and minimised and maximised positions.
void ReadFormPlacement(QWidget* form, TCustomIniFile* ini, const std::string& section, bool loadState,
                       bool loadPosition, TWindowPlacement* read = nullptr);
// The program's main window: its first top-level main window; null when none.
QWidget* ApplicationMainWindow();
// The rectangle moved (and if need be shrunk) into the available area of the
// screen it lies on most, or of the primary screen when it lies on none.
QRect ClampToScreens(const QRect& rect);

// A grid's column widths as "Item0", "Item1", ...
void SaveGridLayout(const QTableView* grid, TCustomIniFile* ini, const std::string& section);
void RestoreGridLayout(QTableView* grid, TCustomIniFile* ini, const std::string& section);

} // namespace vx
