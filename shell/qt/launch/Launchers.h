// The commands that open a tool or generator dialog and bring its result into
// the document. Menu items, speed items and buttons name their dialog class in
// the dynamic property "vxLauncher"; BindLaunchers connects every one whose
// dialog is built and leaves the others disabled.
#pragma once

#include <QString>

#include <functional>
#include <string_view>

class QDialog;
class TForm1;

namespace vx::shell {

// The property a command carries to name the dialog class it opens.
inline constexpr const char* LauncherProperty = "vxLauncher";

void BindLaunchers(TForm1& form);
bool LauncherAvailable(std::string_view dialogClass);
// Runs the launcher of the class: create, hand in, show modally, take the
// result, free. An unknown or unbuilt class does nothing. argument is handed
// on to the hand-in (the image dialog takes a dropped file's path).
void RunLauncher(TForm1& form, std::string_view dialogClass, std::string_view argument = {});

// Shows a launched dialog modally and answers its modal result. Tests put in
// one that answers without waiting for a user; an empty host restores exec().
using TDialogHost = std::function<int(QDialog&)>;
void SetDialogHost(TDialogHost host);

} // namespace vx::shell
