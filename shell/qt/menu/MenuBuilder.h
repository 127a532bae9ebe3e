// Makes the main window's menus, pop-up menus and tool-bar buttons from the
// command table and binds each item to what it runs. Items whose command is
// not available are disabled and say why in the property DisabledReason; a
// dialog launcher carries the dialog class in the property LauncherProperty
// and stays disabled until the launcher binding enables and connects it.
#pragma once

class QMenu;
class TForm1;

namespace vx::shell::menu {

inline constexpr const char* LauncherProperty = "vxLauncher";
inline constexpr const char* DisabledReason = "vxDisabledReason";
// What an enabled item runs: the kind of its row.
inline constexpr const char* HandlerProperty = "vxHandler";

void BuildMenus(TForm1& form);

// A pop-up menu of the table by name ("PopupMenu1" ...); null when there is none.
QMenu* PopupMenu(const TForm1& form, const char* name);

} // namespace vx::shell::menu
