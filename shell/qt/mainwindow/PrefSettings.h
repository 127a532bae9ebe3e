// The settings tables of the preferences window: which registry value belongs
// to which control, with its caption and what a missing value gives. The
// window's layout, its load and its save all read them.
#pragma once

#include <array>

// What loading does with a Boolean whose value is missing or empty.
enum class TWhenMissing { Stays, Ticked, Unticked };

enum class TPrefPage { Global, Document };

struct TBoolSetting {
    const char* Value;
    int Box; // CheckBox<Box>
    const char* Caption;
    TWhenMissing Missing;
    TPrefPage Page;
};

// In load order; "showvcs" comes first, as it is read before the others.
inline constexpr std::array<TBoolSetting, 22> BoolSettings{{
    {"showvcs", 22, "Show VCS manager on startup", TWhenMissing::Unticked, TPrefPage::Global},
    {"vbslaunch", 1, "Launch VBScript help at startup?", TWhenMissing::Stays, TPrefPage::Global},
    {"htmlident", 2, "Ident HTML", TWhenMissing::Stays, TPrefPage::Document},
    {"vbident", 3, "Ident VBScript", TWhenMissing::Stays, TPrefPage::Document},
    {"enter_br", 4, "Translate enter/return to <br>", TWhenMissing::Unticked, TPrefPage::Document},
    {"assistant", 5, "Show assistant during editing", TWhenMissing::Ticked, TPrefPage::Global},
    {"a_save", 6, "Autosave documents?", TWhenMissing::Stays, TPrefPage::Global},
    {"l_wiz", 8, "Auto launch wizards when using tags from tag bar?", TWhenMissing::Ticked, TPrefPage::Global},
    {"beginners_mode", 9, "Run Vellumix in beginners mode", TWhenMissing::Stays, TPrefPage::Global},
    {"toppanel", 10, "Hide top-panel", TWhenMissing::Stays, TPrefPage::Global},
    {"resdetect", 11, "Resource detector on?", TWhenMissing::Ticked, TPrefPage::Global},
    {"autofinish", 12, "Auto finish tag", TWhenMissing::Unticked, TPrefPage::Document},
    {"sound_on_exit", 13, "Warning sound on exit ?", TWhenMissing::Ticked, TPrefPage::Global},
    {"ampersand_to_and", 14, "Translate && (ampersand) to and", TWhenMissing::Unticked, TPrefPage::Document},
    {"ctrlend", 15, "Translate CTRL+ ENTER to <p>", TWhenMissing::Unticked, TPrefPage::Document},
    {"altend", 16, "Translate ALT+ENTER to <hr>", TWhenMissing::Unticked, TPrefPage::Document},
    {"c_complete", 17, "Use code completion (CTRL+SPACE)", TWhenMissing::Unticked, TPrefPage::Document},
    {"b_strong", 18, "Insert <b> as <strong>", TWhenMissing::Unticked, TPrefPage::Document},
    {"centerasp", 19, "Insert <center> as <p align=center>", TWhenMissing::Unticked, TPrefPage::Document},
    {"pcnaquote", 20, "Add ; after a double quote", TWhenMissing::Unticked, TPrefPage::Document},
    {"slash_n", 21, "Insert \\n before a double quote", TWhenMissing::Unticked, TPrefPage::Document},
    {"saveonenter", 23, "Save on enter", TWhenMissing::Unticked, TPrefPage::Document},
}};

inline constexpr int DefaultFontSize = 10;
inline constexpr int DefaultWorkspaces = 2;
