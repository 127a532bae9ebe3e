// The commands that rewrite the focused document line by line or write it out:
// replacements under a progress window, tabs to spaces, the tag block,
// remarks, saving the selection, exports, the CSV import, Global.asa and
// black-and-white printing. Without a focused editor they do nothing.
#pragma once

#include <span>
#include <string>
#include <string_view>

class TForm1;

namespace vx::shell {

// A text to find and the text that replaces it.
struct TReplacement {
    std::string_view Find;
    std::string_view Replace;
};
// Replaces every occurrence of each find by its replacement, one after the
// other, in every line of the focused editor, under a progress window, as one
// change that one Undo takes back; the caret line stays. An empty find changes
// nothing.
void ReplaceAllWithProgress(TForm1& form, std::span<const TReplacement> replacements);
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
