// The common hand-in and result steps of the launchers.
#include "shell/qt/launch/LaunchSteps.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "editor/qt/mwCustomEdit.h"
#include "internet/qt/EmailForm.h"
#include "internet/qt/OpenUrlForm.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "tools/qt/FileGenerators.h"

#include <QDialog>
#include <QTabWidget>
#include <QVariant>

#include <filesystem>
#include <optional>

namespace vx::shell {

bool TLaunch::Accepted() const
{
    return Result == QDialog::Accepted;
}

} // namespace vx::shell

namespace vx::shell::steps {

namespace {

QObject* Child(const QDialog& dialog, const char* name)
{
    return dialog.findChild<QObject*>(name);
}

const char* TextPropertyOf(const QObject& control)
{
    return control.metaObject()->indexOfProperty("plainText") >= 0 ? "plainText" : "text";
}

std::vector<std::string> ResultLines(const TLaunch& launch)
{
    return MemoLines(*launch.Dialog, "Memo1");
}

std::optional<std::string> FirstResultLine(const TLaunch& launch)
{
    std::vector<std::string> lines = ResultLines(launch);
    if (lines.empty())
        return std::nullopt;
    return std::move(lines.front());
}

void WrapWhenNotEmpty(TLaunch& launch, const std::string& text, std::uint16_t back)
{
    if (!text.empty())
        launch.Form.insert_item_2(text, back);
}

} // namespace

std::vector<std::string> MemoLines(const QDialog& dialog, const char* memo)
{
    std::vector<std::string> lines;
    QObject* control = Child(dialog, memo);
    if (auto* flat = dynamic_cast<TFlatMemo*>(control)) {
        for (int i = 0; i < flat->Lines().Count(); ++i)
            lines.push_back(flat->Lines()[i]);
        return lines;
    }
    const std::string text = ControlText(dialog, memo);
    if (text.empty())
        return lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

std::string MemoText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string ControlText(const QDialog& dialog, const char* control)
{
    QObject* child = Child(dialog, control);
    return child ? FromQString(child->property(TextPropertyOf(*child)).toString()) : std::string();
}

void SetControlText(QDialog& dialog, const char* control, const std::string& text)
{
    if (QObject* child = Child(dialog, control))
        child->setProperty(TextPropertyOf(*child), ToQString(text));
}

std::string DialogResult(const QDialog& dialog)
{
    return FromQString(dialog.property("vxResult").toString());
}

int SlotOf(const TForm1& form, const TmwCustomEdit* editor)
{
    for (int slot = 1; editor && slot <= TForm1::SlotCount; ++slot)
        if (form.SlotEditor(slot) == editor)
            return slot;
    return 0;
}

std::string FileNameOf(const TForm1& form, const TmwCustomEdit* editor)
{
    const int slot = SlotOf(form, editor);
    return slot == 0 ? std::string() : form.SlotFileName(slot);
}

void Lines(TLaunch& launch)
{
    launch.Form.append_lines(ResultLines(launch));
}

void FirstLine(TLaunch& launch)
{
    if (const std::optional<std::string> line = FirstResultLine(launch))
        launch.Form.insert_item(*line, 0);
}

void FirstLineIntoActiveSlot(TLaunch& launch)
{
    if (QWidget* page = launch.Form.PageControl1->currentWidget())
        if (auto* editor = page->findChild<TmwCustomEdit*>())
            editor->setFocus();
    FirstLine(launch);
}

// A cancelled wizard leaves the document as it was, blank line and all.
void BlankLineThenLines(TLaunch& launch)
{
    if (!launch.Accepted())
        return;
    std::vector<std::string> lines = ResultLines(launch);
    lines.insert(lines.begin(), std::string());
    launch.Form.append_lines(lines);
}

void Paste(TLaunch& launch)
{
    if (TmwCustomEdit* editor = launch.Form.EditableEditor())
        editor->Model().PasteFromClipboard();
}

void WrapWholeMemo(TLaunch& launch)
{
    launch.Form.insert_item_2(MemoText(ResultLines(launch)), 0);
}

void WrapWholeMemoWhenNotEmpty(TLaunch& launch)
{
    WrapWhenNotEmpty(launch, MemoText(ResultLines(launch)), 0);
}

void WrapFirstLineBack7(TLaunch& launch)
{
    if (const std::optional<std::string> line = FirstResultLine(launch))
        launch.Form.insert_item_2(*line, 7);
}

void WrapFirstLine(TLaunch& launch)
{
    if (const std::optional<std::string> line = FirstResultLine(launch))
        launch.Form.insert_item_2(*line, 0);
}

void WrapEdit1WhenNotEmpty(TLaunch& launch)
{
    WrapWhenNotEmpty(launch, ControlText(*launch.Dialog, "Edit1"), 0);
}

void LinesOfMemo2(TLaunch& launch)
{
    launch.Form.append_lines(MemoLines(*launch.Dialog, "memo2"));
}

void OpenChosenFile(TLaunch& launch)
{
    auto* openUrl = dynamic_cast<Tfrm_openurl*>(launch.Dialog);
    if (openUrl && !openUrl->SavedFile().empty())
        launch.Form.OpenDocumentInFreeSlot(openUrl->SavedFile(), false);
}

void ReloadVcsList(TLaunch& launch)
{
    launch.Form.LoadVcsList();
}

void ReplaceSelection(TLaunch& launch)
{
    const std::vector<std::string> lines = ResultLines(launch);
    if (lines.empty())
        return;
    std::string text = lines.front();
    for (std::size_t i = 1; i < lines.size(); ++i)
        text += "\r\n" + lines[i];
    launch.Form.insert_item(text, 0);
}

bool HasSelection(TLaunch& launch)
{
    return launch.Editor && launch.Editor->Model().SelAvail();
}

bool HasSlotEditor(TLaunch& launch)
{
    return SlotOf(launch.Form, launch.Editor) != 0;
}

namespace {

std::string SelectionOf(const TLaunch& launch)
{
    return launch.Editor ? launch.Editor->Model().GetSelText() : std::string();
}

void SetMemoLines(QDialog& dialog, const char* memo, const std::string& text)
{
    if (auto* flat = dynamic_cast<TFlatMemo*>(dialog.findChild<QObject*>(memo))) {
        flat->Lines().Clear();
        flat->Lines().SetText(text);
        return;
    }
    SetControlText(dialog, memo, text);
}

} // namespace

void PresetDroppedImage(TLaunch& launch)
{
    if (launch.Argument.empty())
        return;
    const std::filesystem::path path(launch.Argument);
    launch.Dialog->setProperty("vxInitialDir", ToQPath(path.parent_path().string()));
    launch.Dialog->setProperty("vxFileName", ToQPath(path.filename().string()));
}

void IncludeHandIn(TLaunch& launch)
{
    if (auto* wizard = dynamic_cast<Tfrm_incwizard*>(launch.Dialog))
        wizard->SetDocument(FileNameOf(launch.Form, launch.Editor), WebRoot());
}

void SelectionToDump(TLaunch& launch)
{
    if (HasSelection(launch))
        SetMemoLines(*launch.Dialog, "dump", SelectionOf(launch));
}

void SelectionToMemo2(TLaunch& launch)
{
    SetMemoLines(*launch.Dialog, "Memo2", SelectionOf(launch));
}

void SelectionToMemo1(TLaunch& launch)
{
    SetMemoLines(*launch.Dialog, "Memo1", SelectionOf(launch));
}

void EditorToMailMessage(TLaunch& launch)
{
    auto* mail = dynamic_cast<Tfrm_email*>(launch.Dialog);
    if (!mail || !launch.Editor)
        return;
    mail->SakMsg1().SetText(launch.Editor->Model().Lines());
    mail->SakMsg1().TextEncoding = launch.Editor->Model().Encoding();
}

void FileNameToEdtHTML(TLaunch& launch)
{
    // A file name, not the program's text: shown as the system names files.
    if (QObject* address = Child(*launch.Dialog, "edtHTML"))
        address->setProperty(TextPropertyOf(*address), ToQPath(FileNameOf(launch.Form, launch.Editor)));
}

void EditorToPrintMemo(TLaunch& launch)
{
    auto* memo = launch.Dialog->findChild<TmwCustomEdit*>("memo1");
    if (!memo || !launch.Editor)
        return;
    memo->Model().SetHighLighter(launch.Editor->Model().HighLighter());
    memo->Model().SetText(launch.Editor->Model().GetText());
}

void EditorTextToMemo1(TLaunch& launch)
{
    if (auto* memo = launch.Dialog->findChild<TmwCustomEdit*>("memo1"); memo && launch.Editor)
        memo->Model().SetText(launch.Editor->Model().GetText());
}

} // namespace vx::shell::steps
