// Message boxes and the common dialogs (open and save file, colour, font,
// folder) behind one thin wrapper. When an answerer is set (tests do), every
// dialog goes to it instead of the screen: it sees what the user would see
// and returns what the user would choose.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// --- the class library's message dialog

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// A set of buttons, as bits.
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbYes = 1;
inline constexpr TMsgDlgButtons mbNo = 2;
inline constexpr TMsgDlgButtons mbOK = 4;
inline constexpr TMsgDlgButtons mbCancel = 8;
inline constexpr TMsgDlgButtons mbAbort = 16;
inline constexpr TMsgDlgButtons mbRetry = 32;
inline constexpr TMsgDlgButtons mbIgnore = 64;
inline constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
inline constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
inline constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
inline constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// Modal results; the same numbers as the IDOK... results of MessageBox.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

// --- the platform's message box flags and results
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONSTOP = MB_ICONERROR;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONEXCLAMATION = MB_ICONWARNING;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_DEFBUTTON1 = 0x000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr int IDOK = mrOk;
inline constexpr int IDCANCEL = mrCancel;
inline constexpr int IDABORT = mrAbort;
inline constexpr int IDRETRY = mrRetry;
inline constexpr int IDIGNORE = mrIgnore;
inline constexpr int IDYES = mrYes;
inline constexpr int IDNO = mrNo;

// A message box captioned with the application title and an OK button.
void ShowMessage(const std::string& text);
// A message box captioned after its type ("Warning", "Error", "Information",
// "Confirm", through Qt's translation; the application title for mtCustom);
// answers the mr... result.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// The application object's message box: MB_... button set, icon and default
// button flags; answers IDOK, IDCANCEL, IDYES, IDNO and so on.
int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

namespace vx::dialogs {

enum class Kind { Message, OpenFile, SaveFile, Color, Font, Folder };

// A font as the font dialog shows it; color is a TColor (0x00BBGGRR).
struct FontChoice {
    std::string name;
    int size = 0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint32_t color = 0;
    bool operator==(const FontChoice&) const = default;
};

// What a dialog would show.
struct Request {
    Kind kind = Kind::Message;
    std::string caption;
    // Message: the text. File dialogs: the filter in "Description|*.ext|..." form.
    std::string text;
    // File dialogs: the initial file name or folder; Folder: the start folder.
    std::string initial;
    // File dialogs: the extension a chosen name without one gets ("asp").
    std::string defaultExt;
    // File dialogs: the filter entry shown first, counting from 1.
    int filterIndex = 1;
    // Open dialog: whether it offers the "Open as read-only" box, and the box's text.
    bool offersReadOnly = false;
    std::string readOnlyBox;
    // Message only.
    TMsgDlgType type = mtCustom;
    TMsgDlgButtons buttons = mbOK;
    // Color and Font: the initial choice.
    std::uint32_t color = 0;
    FontChoice font;
};

// What the user chose. result is the mr... value of the button pressed; for the
// other dialogs mrOk for a choice and mrCancel for none.
struct Answer {
    int result = mrCancel;
    std::string path;
    // Open dialog: the state of its read-only box.
    bool readOnly = false;
    std::uint32_t color = 0;
    FontChoice font;
};

using Answerer = std::function<Answer(const Request&)>;
// Sends every dialog to answerer instead of the screen; an empty one restores
// the real dialogs.
void SetAnswerer(Answerer answerer);

// The chosen file's path, or "" when cancelled. Paths are file names as the
// system stores them, bytes that need not be UTF-8. A chosen name without an extension
// gets defaultExt when that is not empty. filterIndex picks the filter entry
// shown first, counting from 1.
std::string OpenFile(const std::string& caption, const std::string& filter, const std::string& initial = "",
                     const std::string& defaultExt = "", int filterIndex = 1);
std::string SaveFile(const std::string& caption, const std::string& filter, const std::string& initial = "",
                     const std::string& defaultExt = "");

struct FileChoice {
    std::string path; // "" when cancelled
    bool readOnly = false;
};
// The open dialog with the "Open as read-only" box, readOnlyBox its text in
// the program's language ("&" marks its accelerator).
FileChoice OpenFileOfferingReadOnly(const std::string& caption, const std::string& filter,
                                    const std::string& defaultExt, const std::string& readOnlyBox);
// True and the choice in color (a TColor) when the user chose one.
bool ChooseColor(std::uint32_t& color);
bool ChooseFont(FontChoice& font);
// The chosen folder, or "" when cancelled.
std::string ChooseFolder(const std::string& caption, const std::string& initial = "");

// "HTML files|*.htm;*.html|All files|*.*" -> "HTML files (*.htm *.html);;All files (*)".
std::string QtFilter(std::string_view filter);

} // namespace vx::dialogs
