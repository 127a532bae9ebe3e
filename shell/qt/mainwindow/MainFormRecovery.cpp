// The main window's recovery copies: written a moment after the typing in an
// editor pauses, dropped when its text is saved or closed, and offered at the
// next start when the program ended without removing them; those that cannot
// be read whole are kept aside and told of once. Copies that cannot be written
// are told of once, and shown in the status bar while they cannot.
#include "shell/qt/mainwindow/MainForm.h"

#include "editor/qt/mwCustomEdit.h"
#include "localisation/RunTimeText.h"
#include "platform/Exception.h"
#include "platform/qt/Application.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/DocumentNames.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/mainwindow/StatusNotice.h"
#include "shell/qt/windows/ShellDialog.h"

#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <utility>

namespace {

const TRunTimeText RestoreQuestion{"Vellumix ended before the changes to these documents were saved:%1\r\n\r\n"
                                   "Restore them? No discards them; Cancel keeps them for the next start."};
const TRunTimeText NoFreeSlot{"There was no free document slot for:%1\r\nIt is offered again at the next start."};
const TRunTimeText CopiesKeptAside{"Some recovery copies of unsaved text could not be read whole (cut short or damaged) "
                                   "and cannot be restored.\r\nThey were kept as they are, in:%1"};
const TRunTimeText CopiesInFolder{"%1 (number of copies: %2)"};
const TRunTimeText CopiesLeftInRuns{
    "%1, each in the folder of its run, as they could not be moved from there (number of copies: %2)"};

using vx::shell::TRecoveryPlace;
using vx::shell::TRecoveryRecord;

// Looks a second apart; a copy is written after two looks without a change.
constexpr int LookInterval = 1000;
constexpr int Pause = 2;

const TRunTimeText CopiesNotKept{"Could not keep a recovery copy of your text in "};
const TRunTimeText OnlySavingKeeps{"Until this is mended, only saving keeps what you type."};

// What is said of the files an earlier run left that were no whole copy, once
// as they are set aside: where they are kept, and how many, in a line for
// those in the damaged folder and one for those that could not be moved
// there and stay in their runs' folders. Empty when there were none.
std::string KeptAsideNotice(const std::vector<std::string>& setAside)
{
    const std::filesystem::path damaged = vx::shell::DamagedFolder(vx::shell::RecoveryRoot());
    const auto moved = std::count_if(setAside.begin(), setAside.end(), [&](const std::string& path) {
        return std::filesystem::path(path).parent_path() == damaged;
    });
    const auto unmoved = static_cast<std::ptrdiff_t>(setAside.size()) - moved;
    std::string places;
    if (moved > 0)
        places += "\r\n    " + CopiesInFolder({vx::PathText(damaged.string()), std::to_string(moved)});
    if (unmoved > 0)
        places += "\r\n    " + CopiesLeftInRuns({vx::PathText(vx::shell::RecoveryRoot()), std::to_string(unmoved)});
    return places.empty() ? std::string() : CopiesKeptAside({places});
}

std::string DocumentName(const TRecoveryRecord& record)
{
    return vx::shell::DocumentName(record.FileName, record.Place.Workspace, record.Place.Number);
}

} // namespace

void TForm1::StartRecovery()
{
    recovery_ = std::make_unique<vx::shell::TRecoveryKeeper>(vx::shell::RecoveryRoot(), Pause);
    recoveryNotice_ = Named(new TStatusNotice(StatusBar1), "RecoveryNotice");
    StatusBar1->addWidget(recoveryNotice_, 1);
    auto* timer = Named(new QTimer(this), "RecoveryTimer");
    timer->setInterval(LookInterval);
    connect(timer, &QTimer::timeout, this, [this] { KeepRecoveryCopies(false); });
    timer->start();
}

TRecoveryPlace TForm1::PlaceOf(const TmwCustomEdit* editor) const
{
    for (int slot = 1; slot <= SlotCount; ++slot)
        if (SlotEditor(slot) == editor)
            return {false, slot};
    for (std::size_t k = 0; k < workspaces_.size(); ++k)
        if (workspaces_[k] == editor)
            return {true, static_cast<int>(k) + 1};
    return {};
}

std::string TForm1::SavedText(const TmwCustomEdit* editor) const
{
    const TRecoveryPlace place = PlaceOf(editor);
    // A workspace was never read from a file: its lines take the usual breaks.
    const vx::shell::TLoadedLines plain;
    const vx::shell::TLoadedLines& loaded = place.Workspace ? plain : slots_[place.Number - 1].Loaded;
    return vx::shell::JoinLines(editor->Model().Lines(), loaded);
}

TRecoveryRecord TForm1::RecoveryRecordOf(const TmwCustomEdit* editor, std::string text) const
{
    TRecoveryRecord record;
    record.Place = PlaceOf(editor);
    if (!record.Place.Workspace) {
        const TSlot& state = slots_[record.Place.Number - 1];
        record.FileName = state.FileName;
        record.Stamp = state.Stamp;
        record.ByteOrderMark = state.ByteOrderMark;
    }
    record.Text = std::move(text);
    record.Encoding = editor->Model().Encoding();
    return record;
}

bool TForm1::KeepRecoveryCopies(bool flush)
{
    std::vector<const TmwCustomEdit*> editors(richedit.begin(), richedit.end());
    editors.insert(editors.end(), workspaces_.begin(), workspaces_.end());
    return KeepRecoveryCopiesOf(editors, flush, [this](const TmwCustomEdit* editor) { return SavedText(editor); });
}

bool TForm1::KeepRecoveryCopiesOf(const std::vector<const TmwCustomEdit*>& editors, bool flush,
                                  const std::function<std::string(const TmwCustomEdit*)>& textOf)
{
    try {
        for (const TmwCustomEdit* editor : editors) {
            const TmwCustomEditModel& model = editor->Model();
            recovery_->Look(editor, PlaceOf(editor), model.Modified() && !model.GetReadOnly(), model.ChangeCount(),
                            flush, [&] { return RecoveryRecordOf(editor, textOf(editor)); });
        }
    } catch (const Exception& e) {
        ReportRecoveryFailure(ErrorText(e));
        return false;
    }
    if (!recovery_->Failing())
        recoveryNotice_->Show({});
    return true;
}

void TForm1::ReportRecoveryFailure(const std::string& reason)
{
    const std::string message = CopiesNotKept() + vx::PathText(vx::shell::RecoveryRoot()) + ":\r\n" + reason;
    recoveryNotice_->Show(message);
    // Said once: the looks go on every second, and every change fails again.
    if (recoveryFailureTold_)
        return;
    recoveryFailureTold_ = true;
    MessageDlg(message + "\r\n" + OnlySavingKeeps(), mtWarning, mbOK);
}

void TForm1::SaveRecoveryCopies()
{
    KeepRecoveryCopies(true);
}

void TForm1::DropRecoveryCopy(const TmwCustomEdit* editor)
{
    recovery_->Drop(editor, PlaceOf(editor));
}

std::string TForm1::RecoveryFolder() const
{
    return recovery_->Folder();
}

TmwCustomEdit* TForm1::RestoreCopy(const TRecoveryRecord& record)
{
    TmwCustomEdit* editor = nullptr;
    int slot = 0;
    if (record.Place.Workspace && record.Place.Number <= static_cast<int>(workspaces_.size())) {
        editor = workspaces_[record.Place.Number - 1];
    } else {
        const bool ownFree =
            !record.Place.Workspace && record.Place.Number <= SlotCount && IsFreeSlot(record.Place.Number);
        slot = ownFree ? record.Place.Number : FirstFreeSlot();
        if (slot == 0)
            return nullptr;
        editor = SlotEditor(slot);
    }
    TmwCustomEditModel& model = editor->Model();
    model.SetReadOnly(false);
    model.SetText(record.Text);
    model.SetEncoding(record.Encoding);
    model.ClearUndo();
    model.SetCaretXY(Point(1, 1));
    // What no file holds yet: the user saves it, or not.
    model.SetModified(true);
    if (slot != 0) {
        TSlot& state = slots_[slot - 1];
        state = TSlot{};
        state.FileName = record.Place.Workspace ? std::string() : record.FileName;
        state.Loaded = vx::shell::LoadedLinesOf(record.Text);
        state.Stamp = record.Stamp;
        state.ByteOrderMark = record.ByteOrderMark;
        PageControl1->setTabText(slot - 1, TabCaptionOf(state.FileName));
    }
    return editor;
}

void TForm1::OfferRecovery()
{
    auto left = std::make_unique<vx::shell::TLeftRecovery>(vx::shell::RecoveryRoot());
    const std::string keptAside = KeptAsideNotice(left->SetAside());
    if (left->Copies().empty()) {
        if (!keptAside.empty())
            MessageDlg(keptAside, mtWarning, mbOK);
        return;
    }
    std::string names;
    for (const auto& copy : left->Copies())
        names += "\r\n    " + DocumentName(copy.Record);
    const std::string question = RestoreQuestion({names});
    const int answer =
        MessageDlg(keptAside.empty() ? question : keptAside + "\r\n\r\n" + question, mtConfirmation, mbYesNoCancel);
    if (answer != mrYes && answer != mrNo)
        return;
    std::string notRestored;
    std::vector<std::pair<const void*, std::string>> restored;
    const std::vector<vx::shell::TLeftRecovery::TCopy> copies = left->Copies();
    for (const auto& copy : copies) {
        if (answer == mrNo)
            left->Remove(copy.Path);
        else if (const TmwCustomEdit* editor = RestoreCopy(copy.Record))
            restored.emplace_back(editor, copy.Path);
        else
            notRestored += "\r\n    " + DocumentName(copy.Record);
    }
    left->Tidy();
    // An old copy goes only once this run holds its text on disk, or the
    // text is saved or closed: a crash right after the restore (the text
    // itself may cause it) must find it still.
    if (!restored.empty()) {
        recovery_->Adopt(std::move(left), restored);
        KeepRecoveryCopies(true);
    }
    if (!notRestored.empty())
        MessageDlg(NoFreeSlot({notRestored}), mtWarning, mbOK);
}
