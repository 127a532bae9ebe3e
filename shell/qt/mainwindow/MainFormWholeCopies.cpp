// The whole copies that interrupted in-place saves left: offered when their
// file is opened, by whichever of its names, while nothing newer has been
// saved; set aside, never deleted unseen, once declined or superseded.
#include "shell/qt/mainwindow/MainForm.h"

#include "localisation/RunTimeText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <filesystem>

namespace {

const TRunTimeText NewerCopyOf{"A newer copy of "};
const TRunTimeText SaveWasCutOff{" was found: saving it was cut off before the file held all of it."};
const TRunTimeText CopyGoesAside{
    "Declined, or once the document is saved, the copy is kept where it is not offered again:"};
const TRunTimeText OpenCopyInstead{"Open it instead?"};
const TRunTimeText CopyOfferedAgain{"The copy is offered again when the document is opened."};
const TRunTimeText WhoseCopyUnknown{
    "The copy was made of the file that had the place on the disk %1 has now; whether that was this document "
    "under another name cannot be told."};

// The document the copy was made of, as the question names it: by its name
// where the file being opened is reached by that name, else by its path (a
// copy found through another of the file's names), so that the user sees
// whose text is offered.
std::string CopiedDocument(const std::string& fileName, const std::string& copy)
{
    const std::filesystem::path document = std::filesystem::absolute(vx::CopiedFileName(copy)).lexically_normal();
    const std::filesystem::path opened = std::filesystem::absolute(vx::LinkTarget(fileName)).lexically_normal();
    return vx::PathText(document == opened ? document.filename().string() : document.string());
}

std::string CopyQuestion(const std::string& fileName, const vx::TWholeCopy& copy)
{
    std::string question = NewerCopyOf() + CopiedDocument(fileName, copy.Path) + SaveWasCutOff() + "\r\n";
    if (!copy.Settled)
        question += WhoseCopyUnknown({vx::PathText(std::filesystem::path(fileName).filename().string())}) + "\r\n";
    return question + CopyGoesAside() + "\r\n    " + vx::PathText(vx::SetAsideName(copy.Path)) + "\r\n" +
           OpenCopyInstead();
}

} // namespace

std::string TForm1::TakeWholeCopy(const std::string& fileName, std::string& bytes)
{
    for (const vx::TWholeCopy& copy : vx::WholeCopiesOf(fileName)) {
        std::string text = vx::ReadWholeFile(copy.Path);
        // The file was written whole after all: the copy is no longer needed.
        // One that may be another document's is that document's to answer.
        if (text == bytes && copy.Settled) {
            vx::RemoveWholeCopy(copy.Path);
            continue;
        }
        if (MessageDlg(CopyQuestion(fileName, copy), mtConfirmation, mbYesNo) == mrYes) {
            bytes = std::move(text);
            return copy.Path;
        }
        try {
            vx::SetAsideWholeCopy(copy.Path);
        } catch (const Exception& e) {
            MessageDlg(ErrorText(e) + "\r\n" + CopyOfferedAgain(), mtWarning, mbOK);
        }
    }
    return {};
}

void TForm1::RetireWholeCopies(TSlot& state, const std::vector<std::string>& superseded)
{
    if (!state.Copy.empty())
        vx::RemoveWholeCopy(state.Copy);
    for (const std::string& copy : superseded) {
        if (copy == state.Copy)
            continue;
        try {
            vx::SetAsideWholeCopy(copy);
        } catch (const Exception&) {
            // The save itself succeeded. The copy stays where it was, and the
            // next open offers it with the means to decline it, which says
            // why it cannot be moved.
        }
    }
    state.Copy.clear();
}
