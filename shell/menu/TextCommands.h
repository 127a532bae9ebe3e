// The commands that rewrite the focused document line by line or write it out:
// replacements under a progress window, tabs to spaces, the tag block,
// remarks, saving the selection, exports, the CSV import, Global.asa and
// black-and-white printing. Without a focused editor they do nothing.
#pragma once

#include <string>
#include <string_view>

class TForm1;

namespace vx::shell {

// Replaces every occurrence of find by replace in every line of the focused
// editor, under a progress window; the caret line stays. An empty find
// changes nothing.
void ReplaceAllWithProgress(TForm1& form, std::string_view find, std::string_view replace);
// Selects the tag block around the selection start of the focused editor and
// returns its text; empty when there is none.
std::string SelectTagBlock(TForm1& form);

} // namespace vx::shell

namespace vx::shell::menu {

void Conversion(TForm1& form, std::string_view which);
void TabsToSpaces(TForm1& form, std::string_view);
void SelectTagBlockCommand(TForm1& form, std::string_view);
void VbsRemark(TForm1& form, std::string_view);
void HtmlRemark(TForm1& form, std::string_view);
void HtmlEncode(TForm1& form, std::string_view);
void SaveSelectionas(TForm1& form, std::string_view);
void ExportUnix(TForm1& form, std::string_view);
void ExportMac(TForm1& form, std::string_view);
void ImportCsv(TForm1& form, std::string_view);
void CreateGlobalAsa(TForm1& form, std::string_view);
void PrintDocument(TForm1& form, std::string_view);

} // namespace vx::shell::menu
