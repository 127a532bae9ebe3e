#include "shell/qt/menu/TextCommands.h"

#include "controls/common/StrUtils.h"
#include "editor/qt/mwCustomEdit.h"
#include "platform/FileIO.h"
#include "platform/TextEncoding.h"
#include "platform/Utf8.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/CsvHtml.h"
#include "shell/DocumentText.h"
#include "shell/TagBlock.h"
#include "shell/qt/menu/DocumentPrint.h"
#include "shell/qt/menu/ProgressWindow.h"
#include "localisation/RunTimeText.h"

#include <QApplication>
#include <QInputDialog>
#include <QTextDocument>

#include <array>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace vx::shell {

namespace {

const TRunTimeText Exported{"Document succesfully exported"};
const TRunTimeText InformationTitle{"Information"};
const TRunTimeText CsvWouldBeOverwritten{"The CSV file itself would be overwritten: give it another extension first."};
const TRunTimeText OverwriteFile{"Overwrite %1?"};
const TRunTimeText SavedAs{" File saved as %1 "};

// "All webrelated" ends the filters of the file dialogs.
const TRunTimeFilter SaveFilter{"All files (*.*)|*.*"};
const TRunTimeFilter CsvFilter{"Comma delimited files (*.csv)|*.csv|All files (*.*)|*.*"};
const TRunTimeFilter GlobalAsaFilter{"Global.asa (*.asa)|*.asa"};
const TRunTimeText ExportTitle{"Export"};
const TRunTimeText SaveSelectionTitle{"Save Selection as"};
const TRunTimeText ImportCsvTitle{"Import CSV file"};
const TRunTimeText GlobalAsaTitle{"Create Global.asa"};
const TRunTimeText RemarkTitle{"State remark"};
const TRunTimeText RemarkPrompt{"The text of the remark:"};
const TRunTimeText EncodeTitle{"Variable"};
const TRunTimeText EncodePrompt{"The variable, or the quoted text, that Server.HTMLEncode encodes:"};
const TRunTimeText CannotStore{"The text holds characters that a Windows-1252 file cannot store; nothing was written."};

// Lines converted between two steps of the progress window.
constexpr int ProgressStep = 64;

// The focused editor's caret line, restored when the command is done.
class TCaretKeeper {
public:
    explicit TCaretKeeper(TmwCustomEditModel& model) : model_(model), caret_(model.CaretXY()) {}
    ~TCaretKeeper() { model_.SetCaretXY(caret_); }
    TCaretKeeper(const TCaretKeeper&) = delete;
    TCaretKeeper& operator=(const TCaretKeeper&) = delete;

private:
    TmwCustomEditModel& model_;
    TPoint caret_;
};

// Puts the new text of lines first to last (from 0) in place as one change,
// which one Undo takes back: lines rewritten behind the undo list's back would
// leave its records pointing at text that is no longer there.
void ReplaceLines(TmwCustomEditModel& model, int first, int last, const std::vector<std::string>& text)
{
    std::string block;
    for (int i = first; i <= last; ++i)
        block += (i > first ? "\r\n" : "") + text[static_cast<std::size_t>(i)];
    const TSelectionMode mode = model.SelectionMode();
    model.SetSelectionMode(smNormal);
    model.SetBlockBegin(Point(1, first + 1));
    model.SetBlockEnd(Point(static_cast<int>(model.Lines().Length(last)) + 1, last + 1));
    model.SetSelText(block);
    model.SetSelectionMode(mode);
}

// Rewrites every line by convert under a progress window; the lines before
// the first changed one and after the last are not touched.
template <class F> void RewriteLines(TForm1& form, TmwCustomEdit& editor, F convert)
{
    TmwCustomEditModel& model = editor.Model();
    TCaretKeeper caret(model);
    const TStrings& lines = model.Lines();
    Tfrm_progress progress(&form, lines.Count() - 1);
    progress.show();
    std::vector<std::string> converted;
    converted.reserve(static_cast<std::size_t>(lines.Count()));
    int first = -1;
    int last = -1;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i % ProgressStep == 0)
            progress.Step(i);
        converted.push_back(convert(lines[i]));
        if (converted.back() != lines[i]) {
            first = first < 0 ? i : first;
            last = i;
        }
    }
    progress.Step(lines.Count() - 1);
    if (first >= 0)
        ReplaceLines(model, first, last, converted);
}

std::string LinesText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The selection start as an offset from 0 into the text, line breaks counting
// two; without a selection, the caret's place.
std::size_t SelectionStart(const TmwCustomEditModel& model)
{
    if (model.SelAvail())
        return static_cast<std::size_t>(std::max(1, model.GetSelStart()) - 1);
    const TPoint caret = model.CaretXY();
    std::size_t offset = 0;
    for (int i = 0; i + 1 < caret.Y && i < model.LineCount(); ++i)
        offset += model.Lines().Length(i) + 2;
    return offset + static_cast<std::size_t>(caret.X - 1);
}

// An answer, or nothing when the box is cancelled. The box is in the
// program's own font, its prompt saying what to type.
bool InputQuery(QWidget* parent, const TRunTimeText& caption, const TRunTimeText& prompt, std::string& value)
{
    QInputDialog box(parent);
    box.setFont(QApplication::font());
    box.setWindowTitle(vx::ToQString(caption()));
    box.setLabelText(vx::ToQString(prompt()));
    box.setTextValue(vx::ToQString(value));
    if (box.exec() != QDialog::Accepted)
        return false;
    value = vx::FromQString(box.textValue());
    return true;
}

void InsertAnswer(TForm1& form, const TRunTimeText& caption, const TRunTimeText& prompt, const char* preset,
                  const char* before, const char* after)
{
    if (!form.ActiveEditor())
        return;
    std::string answer = preset;
    if (InputQuery(&form, caption, prompt, answer))
        form.insert_item(before + answer + after, 0);
}

// Writes text of the document to a file in the bytes of the document's own
// file: a Windows-1252 document's in Windows-1252. False, said to the user,
// when the text holds a character such a file cannot store.
bool WriteAsTheDocument(const TmwCustomEditModel& model, const std::string& path, const std::string& text)
{
    const std::optional<std::string> bytes = vx::EncodeDocument(text, model.Encoding());
    if (!bytes) {
        MessageDlg(CannotStore(), mtError, mbOK);
        return false;
    }
    vx::WriteFileAtomic(path, *bytes);
    return true;
}

void ExportLines(TForm1& form, std::string_view lineEnd)
{
    TmwCustomEdit* editor = form.ActiveEditor();
    if (!editor)
        return;
    const std::string path = vx::dialogs::SaveFile(ExportTitle(), SaveFilter());
    if (path.empty() || !WriteAsTheDocument(editor->Model(), path, JoinLines(editor->Model().Lines(), lineEnd)))
        return;
    MessageBox(Exported(), InformationTitle(), MB_OK | MB_ICONINFORMATION);
}

} // namespace

void ReplaceAllWithProgress(TForm1& form, std::span<const TReplacement> replacements)
{
    TmwCustomEdit* editor = form.EditableEditor();
    if (!editor)
        return;
    RewriteLines(form, *editor, [replacements](std::string line) {
        for (const TReplacement& replacement : replacements)
            if (!replacement.Find.empty())
                line = ReplaceStr(line, replacement.Find, replacement.Replace);
        return line;
    });
}

std::string SelectTagBlock(TForm1& form)
{
    TmwCustomEdit* editor = form.ActiveEditor();
    if (!editor)
        return {};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TmwCustomEditModel& model = editor->Model();
    const std::string text = model.GetText();
    const auto block = FindTagBlock(text, SelectionStart(model));
    QApplication::restoreOverrideCursor();
    if (!block)
        return {};
    // The editor counts its offsets from 1.
    model.SetSelStart(static_cast<int>(block->Begin) + 1);
    model.SetSelEnd(static_cast<int>(block->End) + 1);
    return model.GetSelText();
}

} // namespace vx::shell

namespace vx::shell::menu {

void Conversion(TForm1& form, std::string_view which)
{
    struct TPair {
        std::string_view Which;
        TReplacement Replacement;
    };
    static constexpr std::array<TPair, 9> Pairs{{
        {"SpacesToNbsp", {" ", "&nbsp;"}},
        {"BackToForwardSlash", {"\\", "/"}},
        {"ForwardToBackSlash", {"/", "\\"}},
        {"BoldToStrong", {"<b>", "<strong>"}},
        {"BoldToStrong", {"</b>", "</strong>"}},
        {"StrongToBold", {"<strong>", "<b>"}},
        {"StrongToBold", {"</strong>", "</b>"}},
        {"BracketsToEntities", {"<", "&lt;"}},
        {"BracketsToEntities", {">", "&gt;"}},
    }};
    std::vector<TReplacement> replacements;
    for (const TPair& pair : Pairs)
        if (pair.Which == which)
            replacements.push_back(pair.Replacement);
    ReplaceAllWithProgress(form, replacements);
}

void TabsToSpaces(TForm1& form, std::string_view)
{
    if (TmwCustomEdit* editor = form.EditableEditor())
        RewriteLines(form, *editor, [](const std::string& line) { return vx::TabsToSpaces(line, 4); });
}

void SelectTagBlockCommand(TForm1& form, std::string_view)
{
    SelectTagBlock(form);
}

void VbsRemark(TForm1& form, std::string_view)
{
    InsertAnswer(form, RemarkTitle, RemarkPrompt, "..", " Rem ", "");
}

void HtmlRemark(TForm1& form, std::string_view)
{
    InsertAnswer(form, RemarkTitle, RemarkPrompt, "..", " <!--", " --> ");
}

void HtmlEncode(TForm1& form, std::string_view)
{
    InsertAnswer(form, EncodeTitle, EncodePrompt, "", " Server.htmlencode(", ")");
}

void SaveSelectionas(TForm1& form, std::string_view)
{
    TmwCustomEdit* editor = form.ActiveEditor();
    if (!editor)
        return;
    const std::string path = vx::dialogs::SaveFile(SaveSelectionTitle(), SaveFilter());
    if (!path.empty())
        WriteAsTheDocument(editor->Model(), path, editor->Model().GetSelText() + "\r\n");
}

void ExportUnix(TForm1& form, std::string_view)
{
    ExportLines(form, "\n");
}

void ExportMac(TForm1& form, std::string_view)
{
    ExportLines(form, "\r");
}

void ImportCsv(TForm1&, std::string_view)
{
    const std::string input = vx::dialogs::OpenFile(ImportCsvTitle(), CsvFilter());
    if (input.empty())
        return;
    const std::filesystem::path in(input);
    const std::string output = std::filesystem::path(in).replace_extension(".html").string();
    if (output == input) {
        MessageDlg(CsvWouldBeOverwritten(), mtError, mbOK);
        return;
    }
    if (vx::FileExists(output) &&
        MessageDlg(OverwriteFile({output}), mtConfirmation, TMsgDlgButtons(mbYes | mbNo)) != mrYes)
        return;
    // A CSV file that is not UTF-8 was written in Windows-1252: the page shows its characters.
    TStringList lines;
    lines.SetText(vx::TextFromFileBytes(vx::ReadWholeFile(input)));
    std::vector<std::string> rows;
    for (int i = 0; i < lines.Count(); ++i)
        rows.push_back(lines[i]);
    const std::vector<std::string> page = CsvToHtml(rows, vx::PathText(in.filename().string()), ProductVersion,
                                                    ShortDateToday(vx::BuiltInFormatSettings()) + " " +
                                                        LongTimeNow(vx::BuiltInFormatSettings()));
    vx::WriteFileAtomic(output, LinesText(page));
    ShowMessage(SavedAs({output}));
}

void CreateGlobalAsa(TForm1& form, std::string_view)
{
    const std::string path = vx::dialogs::SaveFile(GlobalAsaTitle(), GlobalAsaFilter(), "global.asa");
    if (path.empty())
        return;
    vx::WriteFileAtomic(path, LinesText(GlobalAsaLines()));
    form.OpenDocumentInFreeSlot(path, false);
}

void PrintDocument(TForm1& form, std::string_view)
{
    TmwCustomEdit* editor = form.ActiveEditor();
    if (!editor)
        return;
    std::vector<std::string> lines = PrintHeaderLines(ShortDateToday(), LongTimeNow());
    const TStrings& text = editor->Model().Lines();
    for (int i = 0; i < text.Count(); ++i)
        lines.push_back(text[i]);
    QTextDocument document;
    document.setDefaultFont(DocumentPrintFont());
    std::string plain;
    for (const std::string& line : lines)
        plain += line + "\n";
    document.setPlainText(vx::ToQString(plain));
    PrintThroughDialog(&form, document, false);
}

} // namespace vx::shell::menu
