// The launchers' special steps: beautify, the link and structure trees, the
// user tags, the used tags and the document information.
#include "shell/qt/launch/LaunchSteps.h"
#include "internet/qt/TreeCopy.h"

#include "editor/qt/mwCustomEdit.h"
#include "platform/FileIO.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/HTMLPars.h"
#include "shell/ListFiles.h"
#include "shell/UserTags.h"
#include "tools/DateTimeText.h"
#include "tools/DocumentInfo.h"
#include "tools/qt/framework/DisplayDialogs.h"
#include "controls/flat/TFlatMemoUnit.h"

#include <QDateTime>
#include <QDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QTreeWidget>

#include <variant>

namespace vx::shell::steps {

namespace {

// The main window's tree of that name gets copies of the dialog tree's items, fully expanded.
void CopyTree(TLaunch& launch, const char* from, const char* to)
{
    auto* source = launch.Dialog->findChild<QTreeView*>(from);
    auto* target = launch.Form.findChild<QTreeWidget*>(to);
    if (!target)
        return;
    if (source)
        CopyTreeItems(*source, *target);
    else
        target->clear();
}

std::string DateTimeText(const QDateTime& when)
{
    return vx::tools::ShortDateLongTime(vx::tools::ClockReadingAt(when.toSecsSinceEpoch()));
}

} // namespace

void BeautifyHandIn(TLaunch& launch)
{
    SetControlText(*launch.Dialog, "memo1", launch.Editor->Model().GetText());
}

void BeautifyResult(TLaunch& launch)
{
    std::string text = ControlText(*launch.Dialog, "memo1");
    TmwCustomEditModel& model = launch.Editor->Model();
    // Asked before everything is selected: a refused text leaves the selection as it was.
    if (text == model.GetText() || !launch.Form.MayChange(*launch.Editor) || !model.AcceptsText(text))
        return;
    // The selection ends after the last character, before the final line break.
    for (const char* end : {"\r\n", "\n"})
        if (text.ends_with(end)) {
            text.resize(text.size() - std::string_view(end).size());
            break;
        }
    // Select all and replace, so that the change can be undone.
    model.SelectAll();
    model.SetSelText(text);
}

void CopyLinkTree(TLaunch& launch)
{
    CopyTree(launch, "trvLinks", "TreeView1");
}

void CopyStructureTrees(TLaunch& launch)
{
    CopyTree(launch, "trvStructure", "TreeView2");
    CopyTree(launch, "trvLinks", "TreeView3");
}

void ReloadUserTags(TLaunch& launch)
{
    QListWidget* list = launch.Form.usertags;
    list->clear();
    TStringList items;
    if (!LoadListFile(UserTagsPath(), items))
        return;
    for (int i = 0; i < items.Count(); ++i)
        list->addItem(ToQString(items[i]));
}

void FillUsedTags(TLaunch& launch)
{
    auto* dialog = static_cast<Tfrm_tagsused*>(launch.Dialog);
    TStrings& memo = dialog->memo1->Lines();
    memo.Clear();
    if (!launch.Editor)
        return;
    // The text as it stands in the editor, saved or not.
    HTMLPars::THTMLParser parser;
    parser.Lines().SetText(launch.Editor->Model().GetText());
    parser.Execute();
    memo.BeginUpdate();
    for (const HTMLPars::THTMLElement& element : parser.Parsed())
        if (const auto* tag = std::get_if<HTMLPars::THTMLTag>(&element))
            memo.Add("<" + tag->Name + ">");
    memo.EndUpdate();
}

void FillDocumentInfo(TLaunch& launch)
{
    if (!launch.Editor)
        return;
    auto* dialog = static_cast<Tfrm_docinfo*>(launch.Dialog);
    vx::tools::TDocumentFacts facts;
    facts.FileName = FileNameOf(launch.Form, launch.Editor);
    facts.Lines = &launch.Editor->Model().Lines();
    facts.SavedAt = DateTimeText(QDateTime::currentDateTime());
    if (!facts.FileName.empty() && FileExists(facts.FileName)) {
        facts.SavedBytes = ReadWholeFile(facts.FileName);
        facts.SavedAt = DateTimeText(QFileInfo(ToQPath(facts.FileName)).lastModified());
    }
    for (const auto& [item, data] : vx::tools::DocumentInfoRows(facts))
        dialog->AddRow(item, data);
}

} // namespace vx::shell::steps
