// The editing commands of the main window on the focused editor: clipboard,
// undo, select all, case changes and the highlighter choice. Without a
// focused editor they do nothing.
#pragma once

#include <string_view>

class TForm1;

namespace vx::shell::menu {

void Undo(TForm1& form, std::string_view);
void Cut(TForm1& form, std::string_view);
void Copy(TForm1& form, std::string_view);
void Paste(TForm1& form, std::string_view);
void SelectAll(TForm1& form, std::string_view);
void UpperCase(TForm1& form, std::string_view);
void LowerCase(TForm1& form, std::string_view);
void Capitalize(TForm1& form, std::string_view);
// index: "0".."7", the entries of the editor menu's highlighter choice.
void SelectHighlighter(TForm1& form, std::string_view index);

} // namespace vx::shell::menu
