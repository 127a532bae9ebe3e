// The main window's document slots: open into the first free slot, save,
// save as, close, the timed autosave and the save on deactivation.
#include "shell/MainForm.h"

// MRUList.h needs the complete menu type.
#include <QMenu>

#include "controls/stores/MRUList.h"
#include "editor/qt/mwCustomEdit.h"
#include "highlighters/hkHTMLSyn.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/FileManager.h"
#include "shell/PrefForm.h"
#include "shell/ShellDialog.h"

#include <QApplication>
#include <QListWidget>
#include <QTabWidget>
#include <QTime>
#include <QTimer>

#include <filesystem>

namespace {

std::string NameWithoutFolder(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

constexpr const char* WebFileMasks = "*.asp;*.inc;*.asa;*.htm;*.html;*.htc;*.shtml;*.css;*.js;*.vbs;*.pl;*.cgi;"
                                     "*.pm;*.php;*.php3;*.php4;*.txt;*.xml";

// The document filter of the open and save dialogs; the new-page save labels two entries its own way.
std::string DocumentFilter(const char* vbscriptLabel = "Vbscript", const char* allLabel = "All webrelated")
{
    return std::string("Active Server Files|*.asp;*.inc|Active Server Pages|*.asp|Active Server Includes|*.inc|"
                       "Html files|*.htm;*.html;*.htc|Perl|*.pl;*.cgi;*.pm|CSS|*.css|PHP|*.php;*.php3;*.php2;"
                       "*.php4|") +
           vbscriptLabel + "|*.vbs|JavaScript|*.js|" + allLabel + "|" + WebFileMasks;
}

} // namespace

int TForm1::FirstFreeSlot() const
{
    for (int i = 1; i <= SlotCount; ++i)
        if (SlotFileName(i).empty())
            return i;
    return 0;
}

int TForm1::ActiveSlot() const
{
    TmwCustomEdit* active = ActiveEditor();
    for (int i = 1; i <= SlotCount; ++i)
        if (active && SlotEditor(i) == active)
            return i;
    return 0;
}

void TForm1::OpenDocumentInFreeSlot(const std::string& fileName, bool readOnly)
{
    if (fileName.empty() || !vx::FileExists(fileName))
        return;
    const int slot = FirstFreeSlot();
    if (slot == 0)
        return;
    // Read first: a file that cannot be read leaves the slot free and the
    // recent-files list as it was.
    const std::string bytes = vx::ReadWholeFile(fileName);
    TmwCustomEdit* editor = SlotEditor(slot);
    TmwCustomEditModel& model = editor->Model();
    model.Lines().SetText(bytes);
    model.ClearUndo();
    model.SetCaretXY(Point(1, 1));
    model.SetModified(false);
    if (readOnly)
        model.SetReadOnly(true);
    if (slot == 2)
        model.SetScrollBars(ssBoth);
    TSlot& state = slots_[slot - 1];
    state.FileName = fileName;
    state.Style = vx::shell::LineEndStyleOf(bytes);
    state.Stamp = vx::shell::StampOf(fileName);
    mru->Add(fileName, slot);
    PageControl1->setTabText(slot - 1, vx::ToQString(NameWithoutFolder(fileName)));
    PageControl1->setCurrentIndex(slot - 1);
    editor->setFocus();
}

void TForm1::Fileopen1Click()
{
    const std::string chosen = vx::dialogs::OpenFile("Open", DocumentFilter());
    if (!chosen.empty())
        OpenDocumentInFreeSlot(chosen, false);
}

void TForm1::New1Click()
{
    if (!RunNewPageWizard || !RunNewPageWizard())
        return;
    newedit->Model().Lines().Clear();
    newedit->Model().PasteFromClipboard();
    const std::string chosen = vx::dialogs::SaveFile("Save page", DocumentFilter("VBscript", "All webreleated"));
    if (chosen.empty())
        return;
    newedit->Model().Lines().SaveToFile(chosen);
    OpenDocumentInFreeSlot(chosen, false);
}

void TForm1::WriteSlot(int slot)
{
    TSlot& state = slots_[slot - 1];
    TmwCustomEditModel& model = SlotEditor(slot)->Model();
    vx::WriteFileAtomic(state.FileName, vx::shell::JoinLines(model.Lines(), state.Style));
    model.SetModified(false);
    state.Stamp = vx::shell::StampOf(state.FileName);
}

bool TForm1::SaveSlot(int slot, TSaveKind kind)
{
    const TSlot& state = slots_[slot - 1];
    const TmwCustomEditModel& model = SlotEditor(slot)->Model();
    if (state.FileName.empty() || model.GetReadOnly())
        return false;
    if (!model.Modified())
        return true;
    const vx::shell::TFileStamp disk = vx::shell::StampOf(state.FileName);
    if (disk.Exists && disk != state.Stamp) {
        if (kind == TSaveKind::Background)
            return false;
        if (MessageDlg(state.FileName + " has been changed by another program since it was loaded.\r\n"
                                        "Do you want to overwrite it?",
                       mtWarning, mbYesNo) != mrYes)
            return false;
    }
    try {
        WriteSlot(slot);
    } catch (const Exception& e) {
        MessageDlg("Could not save " + state.FileName + ":\r\n" + e.Message(), mtError, mbOK);
        return false;
    }
    return true;
}

void TForm1::SaveNamedSlots(TSaveKind kind)
{
    ListBox1->clear();
    for (int i = 1; i <= SlotCount; ++i)
        SaveSlot(i, kind);
    if (frm_filemanager) {
        frm_filemanager->ListBox1->clear();
        frm_filemanager->ListBox2->clear();
    }
    const std::string now = LongTimeNow();
    for (int i = 1; i <= SlotCount; ++i) {
        const std::string& name = SlotFileName(i);
        if (name.empty())
            continue;
        ListBox1->addItem(vx::ToQString(NameWithoutFolder(name)));
        if (frm_filemanager) {
            frm_filemanager->ListBox1->addItem(vx::ToQString(name));
            frm_filemanager->ListBox2->addItem(vx::ToQString(now));
        }
    }
}

void TForm1::Save1Click()
{
    SaveNamedSlots(TSaveKind::Explicit);
}

void TForm1::ApplicationDeactivate()
{
    SaveNamedSlots(TSaveKind::Background);
}

void TForm1::Timer2Timer()
{
    Timer2->setInterval(10000);
    if (frm_pref && frm_pref->Ticked(6))
        SaveNamedSlots(TSaveKind::Background);
}

void TForm1::SaveAs1Click()
{
    const int slot = ActiveSlot();
    const std::string chosen = vx::dialogs::SaveFile("Save As", DocumentFilter());
    if (chosen.empty() || slot == 0)
        return;
    TSlot& state = slots_[slot - 1];
    const std::string previous = state.FileName;
    state.FileName = chosen;
    try {
        WriteSlot(slot);
    } catch (const Exception&) {
        state.FileName = previous;
        throw;
    }
    PageControl1->setTabText(slot - 1, vx::ToQString(NameWithoutFolder(chosen)));
    SlotTab(slot)->setToolTip(vx::ToQString(chosen));
}

void TForm1::ClearSlot(int slot)
{
    TmwCustomEditModel& model = SlotEditor(slot)->Model();
    model.Lines().Clear();
    model.SetHighLighter(hi_html.get());
    model.SetReadOnly(false);
    model.SetLineText(" ");
    model.ClearUndo();
    model.SetModified(false);
    slots_[slot - 1] = TSlot{};
    PageControl1->setTabText(slot - 1, "<empty>");
}

void TForm1::Closefile1Click()
{
    const int slot = ActiveSlot();
    if (MessageDlg(" Are you sure you want to close this file (save unfinished work first!) ", mtWarning, mbYesNo) ==
        mrNo)
        return;
    if (slot != 0)
        ClearSlot(slot);
}

void TForm1::CloseAllfiles1Click()
{
    if (MessageDlg(" Are you sure you want to close all files (save unfinished work first!) ", mtWarning,
                   mbYesNo) == mrNo)
        return;
    for (int i = 1; i <= SlotCount; ++i)
        ClearSlot(i);
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::Prefferences1Click()
{
    frm_pref->exec();
    frm_pref->FormActivate();
}

void TForm1::SpeedButton12Click()
{
    frm_pref->exec();
}

bool TForm1::NeedsSave(int slot) const
{
    const TmwCustomEditModel& model = SlotEditor(slot)->Model();
    return !SlotFileName(slot).empty() && !model.GetReadOnly() && model.Modified();
}

bool TForm1::AskToSaveModified()
{
    bool modified = false;
    for (int i = 1; i <= SlotCount; ++i)
        modified = modified || NeedsSave(i);
    if (!modified)
        return true;
    const int answer = MessageDlg("Save the changes to your documents before quitting?", mtConfirmation, mbYesNoCancel);
    if (answer == mrNo)
        return true;
    if (answer != mrYes)
        return false;
    bool saved = true;
    for (int i = 1; i <= SlotCount; ++i)
        if (NeedsSave(i))
            saved = SaveSlot(i, TSaveKind::Explicit) && saved;
    return saved;
}
