// The main window's remaining commands: tips, file drop on the slot editors,
// plug-in commands, the language menu, help and web links, the browser
// previews, redo, the recorder and the default-editor check. They bind to the
// menu's actions by objectName in one table; an action the menu lacks is
// skipped.
#pragma once

#include "platform/TStringList.h"

#include <QKeySequence>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QAction;
class TForm1;

namespace vx::shell {

// Connects the commands to the form's actions and sets up the tips and the
// drop targets; a second call binds only actions added since.
void BindMainCommands(TForm1& form);

// --- file drop
// True when ext (without the point, any case) is one of the document types.
bool AcceptedDocumentExtension(std::string_view ext);
// The first file counts: a document opens in a free slot, a GIF or JPG image
// starts the image dialog with its folder and name; anything else does nothing.
void DropFiles(TForm1& form, const TStrings& files);

// --- plug-in menu: the newest command stands first.
QAction* AddPluginCommand(TForm1& form, const std::string& caption, const QKeySequence& shortcut,
                          const std::string& hint, std::function<void()> execute);

// --- previews
// "http://" + host + "/" + the file's path below root with slashes; none when
// the file does not lie below root (or root is empty).
std::optional<std::string> PreviewUrl(const std::string& fileName, const std::string& webRoot,
                                      const std::string& host);

// --- tips: one of the lines, chosen at random; none for an empty list. The
// list is the chosen language's tips, read again once the language changes.
void ShowTip(TForm1& form);
TStringList& Tips(TForm1& form);

} // namespace vx::shell
