// The main window's commands as data: every item of the main menu, of the
// pop-up menus and of the tool bar, with its parent, caption, shortcut and
// what runs when it is picked. The builder makes the items from it, the
// language files translate them by name and the tests walk it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vx::shell::menu {

enum class TKind : std::uint8_t {
    Menu,      // a sub-menu, or a top-level menu when Parent names a menu bar or pop-up
    Separator,
    Form,      // an existing main-window handler; Arg names it
    Command,   // a command of the menu unit; Arg names it
    Insert,    // Arg goes to insert_item in mode 0
    Wrap,      // Arg goes to insert_item_2 with Back
    Template,  // the template Arg is appended line by line (insert_item mode 1)
    Alias,     // runs the item named Arg
    Launcher,  // opens the dialog class Arg; enabled by the launcher binding
    External,  // bound by objectName by another unit; Arg says which
    Inert,     // has no command; Arg says why
};

enum TRowFlag : std::uint8_t {
    rfNone = 0,
    rfCheckable = 1,
    rfHidden = 2,
    rfDisabled = 4, // disabled in the layout
};

struct TMenuRow {
    const char* Name;     // objectName of the item
    const char* Parent;   // objectName of the menu, pop-up or tool-bar section it sits in
    const char* Caption;
    const char* Shortcut; // "" for none
    TKind Kind;
    const char* Arg;
    int Back;             // caret steps back for Wrap
    std::uint8_t Flags;
};

// Roots: the menu bar, the pop-up menus and the tool-bar sections.
inline constexpr const char* MenuBarName = "MainMenu1";
inline constexpr const char* ToolBarPrefix = "SpeedBar1:";

std::span<const TMenuRow> MenuRows();

// A template's lines, in order, the banners naming the product's version;
// empty when there is no template of that name.
std::vector<std::string> TemplateLines(std::string_view name, std::string_view version);

} // namespace vx::shell::menu
