// The hand-in and result steps the launcher table is made of. Dialogs are
// reached by the component names of their controls (objectName) and Qt
// properties; the few whose hand-in is no control are reached by their class.
#pragma once

#include "shell/qt/launch/LauncherTable.h"

#include <string>
#include <vector>

class QDialog;

namespace vx::shell::steps {

// --- reading and writing a dialog's controls by name
// The lines of the named memo (a memo of the flat family, a plain or a rich
// text edit); none when it is missing or empty.
std::vector<std::string> MemoLines(const QDialog& dialog, const char* memo);
// The lines each followed by CR LF, as a memo's whole text reads.
std::string MemoText(const std::vector<std::string>& lines);
// The text of the named control ("plainText" where it has one, else "text").
std::string ControlText(const QDialog& dialog, const char* control);
void SetControlText(QDialog& dialog, const char* control, const std::string& text);
// The text a dialog leaves for its launcher outside its controls: its
// property "vxResult".
std::string DialogResult(const QDialog& dialog);

// The slot file name of the editor; empty for a workspace or an unnamed slot.
std::string FileNameOf(const TForm1& form, const TmwCustomEdit* editor);
// The slot number (1..5) of the editor; 0 for none.
int SlotOf(const TForm1& form, const TmwCustomEdit* editor);

// --- result paths, taken when the dialog was accepted
void Lines(TLaunch& launch);
void FirstLine(TLaunch& launch);
// The active page's editor takes the focus first.
void FirstLineIntoActiveSlot(TLaunch& launch);
void BlankLineThenLines(TLaunch& launch);
void Paste(TLaunch& launch);
void WrapWholeMemo(TLaunch& launch);
void WrapWholeMemoWhenNotEmpty(TLaunch& launch);
void WrapFirstLineBack7(TLaunch& launch);
void WrapFirstLine(TLaunch& launch);
void WrapEdit1WhenNotEmpty(TLaunch& launch);
void LinesOfMemo2(TLaunch& launch);
// The lines replace the selection the dialog was handed.
void ReplaceSelection(TLaunch& launch);

// --- after the dialog closed, however
void OpenChosenFile(TLaunch& launch);
void ReloadVcsList(TLaunch& launch);

// --- hand-ins and guards
bool HasSelection(TLaunch& launch);
bool HasSlotEditor(TLaunch& launch);
// The dropped image's folder and name preset the image dialog (its
// properties "vxInitialDir" and "vxFileName").
void PresetDroppedImage(TLaunch& launch);
// The include wizard learns the document's file and the site root.
void IncludeHandIn(TLaunch& launch);
void SelectionToDump(TLaunch& launch);
void SelectionToMemo2(TLaunch& launch);
void SelectionToMemo1(TLaunch& launch);
void EditorToMailMessage(TLaunch& launch);
void FileNameToEdtHTML(TLaunch& launch);
void EditorToPrintMemo(TLaunch& launch);
void EditorTextToMemo1(TLaunch& launch);

// --- special steps
void BeautifyHandIn(TLaunch& launch);
void BeautifyResult(TLaunch& launch);
// After the dialog closed, however.
void CopyLinkTree(TLaunch& launch);
void CopyStructureTrees(TLaunch& launch);
void ReloadUserTags(TLaunch& launch);
void FillUsedTags(TLaunch& launch);
void FillDocumentInfo(TLaunch& launch);

} // namespace vx::shell::steps
