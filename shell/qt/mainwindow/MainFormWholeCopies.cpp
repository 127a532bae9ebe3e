// The whole copies that interrupted in-place saves left: offered in place of
// the text of a file that holds what such a save left, by whichever of its
// names it is opened; set aside, never deleted unseen, once that document
// declines or saves over them. A copy beside a file that holds other text is
// another document's, or older: the user is told where it is kept, and may
// open it apart, and it stays for its own document. What a save killed
// before it named its temporary had written is told of once, and kept aside;
// what is kept aside is named at each open of the document, with its size
// and time, and may be opened apart; closing it there offers to remove it,
// so that nothing goes that the user has not seen.
#include "shell/qt/mainwindow/MainForm.h"

#include "localisation/FormatSettings.h"
#include "localisation/RunTimeText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/LeftBehind.h"
#include "platform/WholeCopies.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/FileListing.h"
#include "tools/DateTimeText.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>

namespace {

const TRunTimeText NewerCopyFound{
    "A newer copy of %1 was found: saving it was cut off before the file held all of it."};
const TRunTimeText FileHoldsItsStart{"The file holds only the first %1 of the copy's %2 bytes."};
const TRunTimeText FileHoldsReplacedText{"The file still holds the text that the save was replacing."};
const TRunTimeText YesTakesTheCopy{
    "Yes opens the copy in place of the file's text; once the document is saved, the copy is removed."};
const TRunTimeText NoSetsTheCopyAside{
    "No opens the file as it is, and the copy is kept where it is not offered again:"};
const TRunTimeText OpenCopyInstead{"Open the copy instead?"};
const TRunTimeText CopyOfferedAgain{"The copy is offered again when the document is opened."};
const TRunTimeText CopyOfOtherText{
    "A copy of another text, or of an earlier one, is kept in %1: saving %2 was cut off before the file held all "
    "of it. %3 holds other text now, so the copy is not put in its place, and it stays where it is."};
const TRunTimeText OpenCopyApart{"Open the copy as a document of its own, read-only?"};
const TRunTimeText LeftByACutSave{
    "A save of %1 was cut off before the file held its text. What it had written is kept in %2, where it is not "
    "offered again."};
const TRunTimeText CopyCannotBeRead{
    "A copy of %1 is kept in %2: saving it was cut off before the file held all of it. The copy cannot be read, "
    "so whether it holds a newer text cannot be told: %3"};

const TRunTimeText KeptTexts{"Earlier texts of %1, from saves that were cut off, are kept beside it:%2"};
const TRunTimeText KeptTextFacts{"%1 (%2 bytes, changed %3)"};
const TRunTimeText OpenKeptTexts{
    "Open them read-only, to look at them? Closing one asks whether to remove it. No keeps them."};
const TRunTimeText RoomForSomeKeptTexts{"Only %1 of them can be opened: the other documents hold files."};
const TRunTimeText NoRoomForKeptTexts{"No document is free to open them in. They are named again at the next open."};
const TRunTimeText RemoveKeptTexts{
    "Remove these earlier texts from the disk?%1\r\nNo keeps them, and they are named again when their document "
    "is opened."};
const TRunTimeText NotRemoved{"These could not be removed:%1"};

// A text kept aside as the questions name it.
struct TKeptText {
    std::string Path;
    // Its path, size and last change, as the chosen language writes them;
    // the path alone where the file cannot be looked at.
    std::string Named;
    std::time_t Changed = 0;
};

// The newest first: the likeliest to hold what the user misses.
std::vector<TKeptText> KeptTextsNewestFirst(const std::vector<std::string>& paths)
{
    std::vector<TKeptText> texts;
    for (const std::string& path : paths) {
        TKeptText text{path, vx::PathText(path)};
        struct stat facts {};
        if (::stat(path.c_str(), &facts) == 0) {
            text.Changed = facts.st_mtime;
            text.Named = KeptTextFacts(
                {text.Named,
                 vx::shell::FormatFileSize(static_cast<std::uint64_t>(facts.st_size),
                                           vx::FormatSettings().ThousandSeparator),
                 vx::tools::ShortDateShortTime(vx::tools::ClockReadingAt(text.Changed))});
        }
        texts.push_back(std::move(text));
    }
    std::stable_sort(texts.begin(), texts.end(),
                     [](const TKeptText& a, const TKeptText& b) { return a.Changed > b.Changed; });
    return texts;
}

std::string Listed(const std::vector<TKeptText>& texts)
{
    std::string list;
    for (const TKeptText& text : texts)
        list += "\r\n    " + text.Named;
    return list;
}

std::string WholePath(const std::string& path)
{
    return std::filesystem::absolute(path).lexically_normal().string();
}

// The document the copy was made of, as the question names it: by its name
// where the file being opened is reached by that name, else by its path (a
// copy found through another of the file's names), so that the user sees
// whose text is offered.
std::string CopiedDocument(const std::string& fileName, const std::string& copy)
{
    const std::string document = WholePath(vx::CopiedFileName(copy));
    const bool opened = document == WholePath(vx::LinkTarget(fileName));
    return vx::PathText(opened ? std::filesystem::path(document).filename().string() : document);
}

// What the file holds of what a cut save left, fileText being its text: the
// text the save replaced, or the start of the copy's.
std::string WhatTheFileHolds(const vx::TWholeCopy& copy, std::string_view fileText)
{
    if (copy.Standing == vx::TCopyStanding::Replaced)
        return FileHoldsReplacedText();
    return FileHoldsItsStart({std::to_string(fileText.size()), std::to_string(copy.Text.size())});
}

std::string CopyQuestion(const std::string& fileName, const vx::TWholeCopy& copy, std::string_view fileText)
{
    return NewerCopyFound({CopiedDocument(fileName, copy.Path)}) + "\r\n" + WhatTheFileHolds(copy, fileText) +
           "\r\n" + YesTakesTheCopy() + "\r\n" + NoSetsTheCopyAside() + "\r\n    " +
           vx::PathText(vx::KeptAsideName(copy.Path)) + "\r\n" + OpenCopyInstead();
}

std::string OtherCopyNotice(const std::string& fileName, const std::string& copy)
{
    return CopyOfOtherText({vx::PathText(copy), CopiedDocument(fileName, copy),
                            vx::PathText(std::filesystem::path(fileName).filename().string())});
}

} // namespace

int TForm1::RoomApart(const std::vector<TApart>& apart) const
{
    int freeSlots = 0;
    for (int slot = 1; slot <= SlotCount; ++slot)
        freeSlots += IsFreeSlot(slot) ? 1 : 0;
    // One slot takes the file being opened.
    return std::max(0, freeSlots - 1 - static_cast<int>(apart.size()));
}

void TForm1::TellOfTextApart(const std::string& notice, const TApart& text, std::vector<TApart>& apart)
{
    if (RoomApart(apart) == 0)
        MessageDlg(notice, mtInformation, mbOK);
    else if (MessageDlg(notice + "\r\n" + OpenCopyApart(), mtConfirmation, mbYesNo) == mrYes)
        apart.push_back(text);
}

std::string TForm1::TakeWholeCopy(const std::string& fileName, std::string& bytes, const vx::TLeftBehind& left,
                                  std::vector<vx::TWholeCopy>& copies, std::vector<TApart>& apart)
{
    if (!left.KeptAside.empty())
        OfferKeptTexts(fileName, left.KeptAside, apart);
    for (const std::string& temporary : left.Temporaries) {
        std::string kept = temporary;
        try {
            vx::KeepAside(temporary);
            kept = vx::KeptAsideName(temporary);
        } catch (const Exception&) {
            // It stays where it is, and is told of again at the next open.
        }
        TellOfTextApart(LeftByACutSave({vx::PathText(std::filesystem::path(fileName).filename().string()),
                                        vx::PathText(kept)}),
                        {kept, TOpenAs::KeptApart}, apart);
    }
    for (vx::TWholeCopy& copy : copies) {
        if (copy.Standing == vx::TCopyStanding::Whole) {
            // The file was written whole after all: the copy is no longer needed.
            vx::RemoveWholeCopy(copy.Path);
            continue;
        }
        if (copy.Standing == vx::TCopyStanding::Unreadable) {
            MessageDlg(CopyCannotBeRead({CopiedDocument(fileName, copy.Path), vx::PathText(copy.Path),
                                         InCurrentLanguage(copy.Unread)}),
                       mtWarning, mbOK);
            continue;
        }
        if (copy.Standing == vx::TCopyStanding::Other) {
            TellOfTextApart(OtherCopyNotice(fileName, copy.Path), {copy.Path, TOpenAs::CopyApart}, apart);
            continue;
        }
        if (MessageDlg(CopyQuestion(fileName, copy, bytes), mtConfirmation, mbYesNo) == mrYes) {
            bytes = std::move(copy.Text);
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

void TForm1::OfferKeptTexts(const std::string& fileName, const std::vector<std::string>& keptAside,
                            std::vector<TApart>& apart)
{
    const std::vector<TKeptText> kept = KeptTextsNewestFirst(keptAside);
    const std::string told =
        KeptTexts({vx::PathText(std::filesystem::path(fileName).filename().string()), Listed(kept)});
    const std::size_t room = static_cast<std::size_t>(RoomApart(apart));
    if (room == 0) {
        MessageDlg(told + "\r\n" + NoRoomForKeptTexts(), mtInformation, mbOK);
        return;
    }
    const std::string some = room < kept.size() ? RoomForSomeKeptTexts({std::to_string(room)}) + "\r\n" : "";
    if (MessageDlg(told + "\r\n" + some + OpenKeptTexts(), mtConfirmation, mbYesNo) != mrYes)
        return;
    for (std::size_t i = 0; i < std::min(room, kept.size()); ++i)
        apart.push_back({kept[i].Path, TOpenAs::KeptApart});
}

void TForm1::OfferToRemoveKeptTexts(const std::vector<int>& closing)
{
    std::vector<std::string> shown;
    for (int slot : closing)
        if (slots_[slot - 1].KeptText)
            shown.push_back(SlotFileName(slot));
    if (shown.empty())
        return;
    const std::vector<TKeptText> kept = KeptTextsNewestFirst(shown);
    if (MessageDlg(RemoveKeptTexts({Listed(kept)}), mtConfirmation, mbYesNo) != mrYes)
        return;
    std::string notRemoved;
    for (const TKeptText& text : kept)
        if (std::remove(text.Path.c_str()) != 0)
            notRemoved += "\r\n    " + vx::PathText(text.Path) + ": " + std::strerror(errno);
    if (!notRemoved.empty())
        MessageDlg(NotRemoved({notRemoved}), mtWarning, mbOK);
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
            // file holds a later text: the next open tells where it is.
        }
    }
    state.Copy.clear();
}
