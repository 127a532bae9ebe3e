// The main window's document slots: open into the first free slot, save,
// save as, close, the timed autosave and the save on deactivation.
#include "shell/qt/mainwindow/MainForm.h"

// MRUList.h needs the complete menu type.
#include <QMenu>

#include "controls/stores/MRUList.h"
#include "editor/qt/mwCustomEdit.h"
#include "highlighters/hkHTMLSyn.h"
#include "localisation/RunTimeText.h"
#include "platform/CopyIndex.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/LeftBehind.h"
#include "platform/FreedMemory.h"
#include "platform/TextEncoding.h"
#include "platform/WholeCopies.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/DocumentNames.h"
#include "shell/qt/windows/FileManager.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/mainwindow/StatusNotice.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/qt/mainwindow/TabCaptions.h"
#include "shell/TopStyleHook.h"

#include <QApplication>
#include <QScopeGuard>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <numeric>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

const TRunTimeText ReplaceUnsavedQuestion{
    "Document %1 holds text that has not been saved.\r\nDo you want to discard it and open %2?"};
const TRunTimeText NoSuchFile{"Cannot open %1: there is no such file."};
const TRunTimeText NoSlotLeft{"Cannot open %1: every document already holds a file.\r\nClose one of them first."};
const TRunTimeText ReplaceUnsavedByNewPage{
    "Document %1 holds text that has not been saved.\r\nDo you want to discard it and make a new page?"};
const TRunTimeText NoSlotForNewPage{
    "Cannot make a new page: every document already holds a file.\r\nClose one of them first."};
const TRunTimeText OpenElsewhere{"%1 is open in document %2.\r\nClose it there first, or save under another name."};
const TRunTimeText ChangedOnDisk{
    "%1 has been changed by another program since it was loaded.\r\nDo you want to overwrite it?\r\n"
    "Yes writes this document's text over the other program's.\r\n"
    "No leaves the file as the other program saved it, and keeps this text here, unsaved."};
const TRunTimeText CouldNotSave{"Could not save %1:\r\n%2"};
const TRunTimeText NotSavedAsChanged{"%1 was not saved: another program changed it. Ctrl+S asks before writing over it."};
const TRunTimeText NotSavedWhileHeld{"%1 was not saved: another program was saving or reading it. It is tried again."};
const TRunTimeText NotSavedBecause{"Not saved: %1"};
const TRunTimeText SaveBeforeQuitting{"Save the changes to your documents before quitting?"};

std::string NameWithoutFolder(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

constexpr const char* WebFileMasks = "*.asp;*.inc;*.asa;*.htm;*.html;*.htx;*.shtml;*.js;*.vbs;*.cgi;*.pl;*.php3;"
                                     "*.php;*.php2;*.php4;*.pm;*.css";
constexpr const char* DefaultExtension = "asp";

// The document filter of the open and save dialogs; the new-page save labels two entries its own way.
std::string DocumentFilterText(const char* vbscriptLabel, const char* allLabel)
{
    return std::string("Active Server Files|*.asp;*.inc|Active Server Pages|*.asp|Active Server Includes|*.inc|"
                       "Html files|*.htm;*.html;*.htc|Perl|*.pl;*.cgi;*.pm|CSS|*.css|PHP|*.php;*.php3;*.php2;"
                       "*.php4|") +
           vbscriptLabel + "|*.vbs|JavaScript|*.js|" + allLabel + "|" + WebFileMasks;
}
const TRunTimeFilter DocumentFilter{DocumentFilterText("Vbscript", "All webrelated")};
const TRunTimeFilter NewPageFilter{DocumentFilterText("VBscript", "All webreleated")};
const TRunTimeText SavePageTitle{"Save page"};
const TRunTimeText SaveAsTitle{"Save As"};
const TRunTimeText ReadOnlyBox{"Open as &read-only"};
const TRunTimeText CloseFileQuestion{" Are you sure you want to close this file (save unfinished work first!) "};
const TRunTimeText CloseAllQuestion{" Are you sure you want to close all files (save unfinished work first!) "};
const TRunTimeText ClosingDiscards{"Closing discards the changes that were not saved in:%1"};
const TRunTimeText NoFileYet{"This document has no file yet: Save As gives it one."};

} // namespace

QString TForm1::TabCaptionOf(const std::string& fileName)
{
    return fileName.empty() ? vx::shell::EmptyTabCaption() : vx::ToQPath(NameWithoutFolder(fileName));
}

bool TForm1::IsFreeSlot(int slot) const
{
    return SlotFileName(slot).empty() && !HoldsUnsavedText(SlotEditor(slot));
}

int TForm1::FirstFreeSlot() const
{
    for (int i = 1; i <= SlotCount; ++i)
        if (IsFreeSlot(i))
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

void TForm1::OpenDocumentInFreeSlot(const std::string& name, bool readOnly)
{
    OpenInFreeSlot(name, readOnly, TOpenAs::Document);
}

void TForm1::OpenInFreeSlot(const std::string& name, bool readOnly, TOpenAs as)
{
    if (name.empty())
        return;
    if (!vx::FileExists(name)) {
        MessageDlg(NoSuchFile({vx::PathText(name)}), mtError, mbOK);
        return;
    }
    // A name relative to the working folder (the command line's) would lead a
    // later start's recovery and Re-Open list to another file.
    const std::string fileName = vx::shell::WholeFileName(name);
    // One file in two slots would have two texts, and the last save would win.
    if (const int open = SlotOfFile(fileName)) {
        ActivateSlot(open);
        return;
    }
    if (const int slot = SlotToOpenIn(fileName))
        OpenInSlot(slot, fileName, readOnly, as);
}

void TForm1::OpenInSlot(int slot, const std::string& fileName, bool readOnly, TOpenAs as)
{
    // Read first: a file that cannot be read leaves the slot free and the
    // recent-files list as it was.
    std::string bytes;
    vx::TLeftBehind left;
    std::vector<vx::TWholeCopy> copies;
    vx::shell::TFileStamp stamp;
    std::optional<TMessage> unguarded;
    {
        // Held while it is read and judged: another program's save is never
        // read half written, nor its copy taken for one a cut save left.
        const vx::TFileHold held(fileName, vx::TFileHold::TUse::Reading);
        bytes = vx::ReadWholeFile(fileName);
        if (as == TOpenAs::Document) {
            std::vector<vx::TFiledCopy> index = vx::FiledCopies();
            left = vx::TidyLeftBehind(fileName, index);
            copies = vx::WholeCopiesOf(fileName, bytes, std::move(index));
        }
        stamp = vx::shell::StampOf(fileName);
        unguarded = held.Unguarded();
    }
    TellUnguarded(unguarded);
    std::vector<TApart> apart;
    const std::string copy = TakeWholeCopy(fileName, bytes, left, copies, apart);
    TmwCustomEdit* editor = SlotEditor(slot);
    TmwCustomEditModel& model = editor->Model();
    const bool binary = vx::shell::LooksBinary(bytes);
    // The bytes become the text: a file that is not UTF-8 is Windows-1252,
    // a character a byte, and is saved as such again.
    vx::TDecodedText decoded = vx::DecodeDocument(std::move(bytes));
    model.Lines().SetText(decoded.Text);
    model.SetEncoding(decoded.Encoding);
    model.ClearUndo();
    model.SetCaretXY(Point(1, 1));
    // A copy taken in place of the file is text the file does not hold yet.
    model.SetModified(!copy.empty());
    if (readOnly)
        model.SetReadOnly(true);
    if (slot == 2)
        model.SetScrollBars(ssBoth);
    TSlot& state = slots_[slot - 1];
    state.FileName = fileName;
    state.Loaded = vx::shell::LoadedLinesOf(decoded.Text);
    state.ByteOrderMark = decoded.ByteOrderMark;
    state.Copy = copy;
    state.LooksBinary = binary;
    state.KeptText = as == TOpenAs::KeptApart;
    // The file read whole is now in the editor's lines.
    std::string().swap(decoded.Text);
    vx::ReturnFreedPages();
    state.Stamp = stamp;
    if (as == TOpenAs::Document)
        mru->Add(fileName, slot);
    PageControl1->setTabText(slot - 1, TabCaptionOf(fileName));
    ActivateSlot(slot);
    // The slot may have been in front already: its tab did not change.
    ShowBinaryWarning();
    for (const TApart& other : apart)
        OpenInFreeSlot(other.Path, true, other.As);
}

int TForm1::SlotOfFile(const std::string& fileName) const
{
    for (int i = 1; i <= SlotCount; ++i)
        if (!SlotFileName(i).empty() && vx::shell::SameFile(SlotFileName(i), fileName))
            return i;
    return 0;
}

void TForm1::ActivateSlot(int slot)
{
    PageControl1->setCurrentIndex(slot - 1);
    SlotEditor(slot)->setFocus();
}

int TForm1::SlotToTake(const std::function<std::string(int slot)>& discard, const std::string& noneLeft)
{
    if (const int free = FirstFreeSlot())
        return free;
    // Typed text is given up only when no slot is free, and only if the user says so.
    for (int i = 1; i <= SlotCount; ++i) {
        if (!SlotFileName(i).empty())
            continue;
        return MessageDlg(discard(i), mtConfirmation, mbYesNo) == mrYes ? i : 0;
    }
    MessageDlg(noneLeft, mtInformation, mbOK);
    return 0;
}

int TForm1::SlotToOpenIn(const std::string& fileName)
{
    const std::string name = vx::PathText(NameWithoutFolder(fileName));
    return SlotToTake([&name](int slot) { return ReplaceUnsavedQuestion({std::to_string(slot), name}); },
                      NoSlotLeft({name}));
}

void TForm1::Fileopen1Click()
{
    const vx::dialogs::FileChoice chosen =
        vx::dialogs::OpenFileOfferingReadOnly(OpenTitle(), DocumentFilter(), DefaultExtension, ReadOnlyBox());
    if (!chosen.path.empty())
        OpenDocumentInFreeSlot(chosen.path, chosen.readOnly);
}

void TForm1::New1Click()
{
    if (!newPageWizard_)
        return;
    // Settled before the wizard: a page no document can take would be filled
    // in, and written, for nothing.
    const int slot = SlotToTake([](int i) { return ReplaceUnsavedByNewPage({std::to_string(i)}); },
                                NoSlotForNewPage());
    if (slot == 0 || !newPageWizard_())
        return;
    newedit->Model().Lines().Clear();
    newedit->Model().PasteFromClipboard();
    const std::string chosen =
        vx::dialogs::SaveFile(SavePageTitle(), NewPageFilter(), "", DefaultExtension);
    if (chosen.empty() || !MayTakeName(0, chosen))
        return;
    newedit->Model().Lines().SaveToFile(chosen);
    OpenInSlot(slot, vx::shell::WholeFileName(chosen), false, TOpenAs::Document);
}

bool TForm1::MayTakeName(int slot, const std::string& fileName)
{
    // Two slots with one file would each save over what the other wrote, and
    // a page written under a slot's name would not show in it.
    const int holder = SlotOfFile(fileName);
    if (holder == 0 || holder == slot)
        return true;
    MessageDlg(OpenElsewhere({vx::PathText(NameWithoutFolder(fileName)), std::to_string(holder)}), mtWarning, mbOK);
    return false;
}

std::optional<vx::shell::TFileStamp> TForm1::WriteSlot(int slot, const std::optional<vx::shell::TFileStamp>& expected)
{
    TSlot& state = slots_[slot - 1];
    TmwCustomEdit* editor = SlotEditor(slot);
    const std::string text = SavedText(editor);
    // Until the file holds the text, a kill at any moment leaves it offered
    // at the next start. Kept before the file is held: a copy that cannot be
    // kept is told of in a box, and another program must not wait on it.
    KeepRecoveryCopiesOf({editor}, true, [&text](const TmwCustomEdit*) { return text; });
    const std::string bytes = vx::EncodeForSaving(text, editor->Model().Encoding(), state.ByteOrderMark);
    std::optional<TMessage> unguarded;
    {
        const vx::TFileHold held(state.FileName, vx::TFileHold::TUse::Writing);
        // Looked at while held: no other program's save comes between the look and the write.
        const vx::shell::TFileStamp disk = vx::shell::StampOf(state.FileName);
        if (expected && disk.Exists && disk != *expected)
            return disk;
        const std::vector<std::string> superseded = vx::CopiesASaveSupersedes(state.FileName);
        const std::string_view pieces[] = {bytes};
        vx::WriteFileAtomic(held, pieces);
        state.Stamp = vx::shell::StampOf(state.FileName);
        RetireWholeCopies(state, superseded);
        unguarded = held.Unguarded();
    }
    editor->Model().SetModified(false);
    state.Loaded = vx::shell::LoadedLinesOf(text);
    DropRecoveryCopy(editor);
    NoteNotSaved(slot, {});
    TellUnguarded(unguarded);
    return std::nullopt;
}

namespace {

// The reason is the one a save gives for the same character.
const TRunTimeText NotInserted{"The text was not inserted: %1"};

} // namespace

void TForm1::ReportRefusedText(const std::string& text)
{
    const TMessage why = vx::UnstorableCharacter(vx::FirstUnstorable(text, vx::TTextEncoding::Windows1252));
    StatusBar1->showMessage(vx::ToQString(NotInserted({InCurrentLanguage(why)})));
}

void TForm1::NoteNotSaved(int slot, std::string why)
{
    slots_[slot - 1].NotSaved = std::move(why);
    const auto noted = std::find_if(slots_.begin(), slots_.end(), [](const TSlot& s) { return !s.NotSaved.empty(); });
    saveNotice_->Show(noted == slots_.end() ? std::string() : noted->NotSaved);
}

void TForm1::TellUnguarded(const std::optional<TMessage>& why)
{
    if (!why || unguardedTold_)
        return;
    unguardedTold_ = true;
    MessageDlg(InCurrentLanguage(*why), mtWarning, mbOK);
}

TForm1::TSaveResult TForm1::SaveSlot(int slot, TSaveKind kind)
{
    TSlot& state = slots_[slot - 1];
    const TmwCustomEditModel& model = SlotEditor(slot)->Model();
    // A save waiting on the user has the text in hand: another one would
    // only ask again, or take the program's own hold for another program's.
    if (state.FileName.empty() || model.GetReadOnly() || state.Saving)
        return TSaveResult::Failed;
    if (!model.Modified()) {
        NoteNotSaved(slot, {});
        return TSaveResult::Unchanged;
    }
    state.Saving = true;
    const auto done = qScopeGuard([&state] { state.Saving = false; });
    const std::string name = vx::PathText(NameWithoutFolder(state.FileName));
    // Overwriting a change is asked for with the file let go, and only that
    // change: one made while the question waits is asked about again. A
    // save the user did not ask for asks nothing, and must not stack boxes
    // every few seconds: the status bar says why the file was left alone.
    for (std::optional<vx::shell::TFileStamp> expected = state.Stamp;;) {
        std::optional<vx::shell::TFileStamp> changed;
        try {
            changed = WriteSlot(slot, expected);
        } catch (const Exception& e) {
            if (kind == TSaveKind::Explicit)
                MessageDlg(CouldNotSave({vx::PathText(state.FileName), ErrorText(e)}), mtError, mbOK);
            else if (dynamic_cast<const vx::EHeldByAnother*>(&e))
                NoteNotSaved(slot, NotSavedWhileHeld({name}));
            else
                NoteNotSaved(slot, NotSavedBecause({ErrorText(e)}));
            return TSaveResult::Failed;
        }
        if (!changed)
            return TSaveResult::Written;
        if (kind == TSaveKind::Background) {
            NoteNotSaved(slot, NotSavedAsChanged({name}));
            return TSaveResult::Failed;
        }
        if (MessageDlg(ChangedOnDisk({vx::PathText(state.FileName)}), mtWarning, mbYesNo) != mrYes)
            return TSaveResult::Failed;
        expected = *changed;
    }
}

void TForm1::SaveNamedSlots(TSaveKind kind)
{
    ListBox1->clear();
    std::array<bool, SlotCount> written{};
    for (int i = 1; i <= SlotCount; ++i)
        written[i - 1] = SaveSlot(i, kind) == TSaveResult::Written;
    if (frm_filemanager) {
        frm_filemanager->ListBox1->clear();
        frm_filemanager->ListBox2->clear();
    }
    // The side panel lists the files open; the file manager only those this
    // save really wrote, with their save times.
    const std::string now = LongTimeNow();
    for (int i = 1; i <= SlotCount; ++i) {
        const std::string& name = SlotFileName(i);
        if (!name.empty())
            ListBox1->addItem(TabCaptionOf(name));
        if (written[i - 1] && frm_filemanager) {
            frm_filemanager->ListBox1->addItem(vx::ToQPath(name));
            frm_filemanager->ListBox2->addItem(vx::ToQString(now));
        }
    }
}

void TForm1::Save1Click()
{
    const int slot = ActiveSlot();
    SaveNamedSlots(TSaveKind::Explicit);
    // Only documents with a file are saved: the one in front learns how it gets one.
    if (slot != 0 && SlotFileName(slot).empty())
        StatusBar1->showMessage(vx::ToQString(NoFileYet()));
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
    const std::string chosen = vx::dialogs::SaveFile(SaveAsTitle(), DocumentFilter(), "", DefaultExtension);
    if (chosen.empty() || slot == 0 || !MayTakeName(slot, chosen))
        return;
    TSlot& state = slots_[slot - 1];
    const std::string previous = state.FileName;
    // The copy the text was taken from is its file's, which stays cut until
    // it is saved itself: written elsewhere, the text does not end it.
    const std::string copy = vx::shell::SameFile(chosen, previous) ? state.Copy : std::string();
    const std::string previousCopy = std::exchange(state.Copy, copy);
    state.FileName = chosen;
    try {
        WriteSlot(slot, std::nullopt);
    } catch (const Exception&) {
        state.FileName = previous;
        state.Copy = previousCopy;
        throw;
    }
    PageControl1->setTabText(slot - 1, TabCaptionOf(chosen));
    SlotTab(slot)->setToolTip(vx::ToQPath(chosen));
}

void TForm1::ClearSlot(int slot)
{
    TmwCustomEditModel& model = SlotEditor(slot)->Model();
    model.Lines().Clear();
    model.SetHighLighter(hi_html.get());
    model.SetReadOnly(false);
    model.SetLineText(" ");
    // A new document, whatever the closed file was: UTF-8 without a byte order mark.
    model.SetEncoding(vx::TTextEncoding::Utf8);
    model.ClearUndo();
    model.SetModified(false);
    DropRecoveryCopy(SlotEditor(slot));
    slots_[slot - 1] = TSlot{};
    NoteNotSaved(slot, {});
    PageControl1->setTabText(slot - 1, TabCaptionOf({}));
    ShowBinaryWarning();
}

std::string TForm1::ClosingQuestion(const std::string& question, const std::vector<int>& closing) const
{
    std::string unsaved;
    for (int slot : closing)
        if (NeedsSave(slot) || HoldsUnsavedText(SlotEditor(slot)))
            unsaved += "\r\n    " + vx::shell::DocumentName(SlotFileName(slot), false, slot);
    return unsaved.empty() ? question : question + "\r\n\r\n" + ClosingDiscards({unsaved});
}

void TForm1::Closefile1Click()
{
    const int slot = ActiveSlot();
    const std::vector<int> closed = slot != 0 ? std::vector<int>{slot} : std::vector<int>{};
    if (MessageDlg(ClosingQuestion(CloseFileQuestion(), closed), mtWarning, mbYesNo) == mrNo)
        return;
    OfferToRemoveKeptTexts(closed);
    if (slot != 0)
        ClearSlot(slot);
}

void TForm1::CloseAllfiles1Click()
{
    std::vector<int> all(SlotCount);
    std::iota(all.begin(), all.end(), 1);
    if (MessageDlg(ClosingQuestion(CloseAllQuestion(), all), mtWarning, mbYesNo) == mrNo)
        return;
    OfferToRemoveKeptTexts(all);
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
    vx::shell::TopStyleHook().Register(ProductName);
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

bool TForm1::HoldsUnsavedText(const TmwCustomEdit* editor) const
{
    const TmwCustomEditModel& model = editor->Model();
    if (!model.Modified() || model.GetReadOnly())
        return false;
    for (int i = 1; i <= SlotCount; ++i)
        if (SlotEditor(i) == editor)
            return SlotFileName(i).empty();
    return true;
}

bool TForm1::SaveUnnamed(TmwCustomEdit* editor)
{
    int slot = 0;
    for (int i = 1; i <= SlotCount; ++i)
        if (SlotEditor(i) == editor)
            slot = i;
    const std::string chosen = vx::dialogs::SaveFile(SaveAsTitle(), DocumentFilter(), "", DefaultExtension);
    if (chosen.empty())
        return false;
    try {
        if (slot == 0) {
            const std::string text = SavedText(editor);
            KeepRecoveryCopiesOf({editor}, true, [&text](const TmwCustomEdit*) { return text; });
            // A workspace was never read from a file: it has no byte order mark.
            vx::WriteFileAtomic(chosen, vx::EncodeForSaving(text, editor->Model().Encoding(), false));
            editor->Model().SetModified(false);
            DropRecoveryCopy(editor);
            return true;
        }
        slots_[slot - 1].FileName = chosen;
        WriteSlot(slot, std::nullopt);
    } catch (const Exception& e) {
        if (slot != 0)
            slots_[slot - 1].FileName.clear();
        MessageDlg(CouldNotSave({vx::PathText(chosen), ErrorText(e)}), mtError, mbOK);
        return false;
    }
    PageControl1->setTabText(slot - 1, TabCaptionOf(chosen));
    SlotTab(slot)->setToolTip(vx::ToQPath(chosen));
    return true;
}

bool TForm1::AskToSaveModified()
{
    std::vector<TmwCustomEdit*> unnamed;
    bool modified = false;
    for (int i = 1; i <= SlotCount; ++i)
        modified = modified || NeedsSave(i);
    for (TmwCustomEdit* editor : richedit)
        if (HoldsUnsavedText(editor))
            unnamed.push_back(editor);
    for (TmwCustomEdit* editor : workspaces_)
        if (HoldsUnsavedText(editor))
            unnamed.push_back(editor);
    if (!modified && unnamed.empty())
        return true;
    const int answer = MessageDlg(SaveBeforeQuitting(), mtConfirmation, mbYesNoCancel);
    if (answer == mrNo)
        return true;
    if (answer != mrYes)
        return false;
    bool saved = true;
    for (int i = 1; i <= SlotCount; ++i)
        if (NeedsSave(i))
            saved = SaveSlot(i, TSaveKind::Explicit) == TSaveResult::Written && saved;
    // Text without a file needs a name; cancelling that keeps the program running.
    for (TmwCustomEdit* editor : unnamed)
        if (saved && !SaveUnnamed(editor))
            saved = false;
    return saved;
}
