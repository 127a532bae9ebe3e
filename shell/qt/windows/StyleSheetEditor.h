// The main window's commands of the external style-sheet editor: they hand
// the focused document's file, or a style block of its text, to the editor
// through its hook library, and are usable while the library has registered.
#pragma once

class TForm1;

namespace vx::shell {

// "Launch Style sheet editor (CSS file only)": the focused slot's file when it
// is a style sheet, else a message.
void LaunchStyleSheetEditorForCss(TForm1& form);
// "Launch Style sheet editor", "Launch Topstyle": the focused slot's file.
void LaunchStyleSheetEditor(TForm1& form);
// "Edit style in selected part of text": the selection, edited in place.
void EditSelectedStyle(TForm1& form);
// "Edit stylesheet with TopStyle": the body of the enclosing style element.
void EditStyleSheetWithTopStyle(TForm1& form);

// Enables the commands when the editor is present, else disables them saying why.
void ShowStyleSheetEditorPresence(TForm1& form, bool present);

} // namespace vx::shell
