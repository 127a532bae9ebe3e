// Insertion into the active editor. The active editor is the slot or
// workspace editor that has the focus; while no widget has the focus at all
// (a modal dialog has just closed and the main window is not active again
// yet) it is the editor that had it last, which the window tracks itself
// because platforms differ in when they give the focus back.
#include "shell/qt/mainwindow/MainForm.h"

#include "editor/qt/mwCustomEdit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/TagCase.h"

#include <QApplication>
#include <QTabWidget>

#include <algorithm>
#include <initializer_list>

namespace {

const TRunTimeText ReadOnlyMessage{"The document is read-only: it was not changed."};

} // namespace

bool TForm1::IsOwnEditor(const QWidget* widget) const
{
    if (!widget)
        return false;
    return std::find(richedit.begin(), richedit.end(), widget) != richedit.end() ||
           std::find(workspaces_.begin(), workspaces_.end(), widget) != workspaces_.end();
}

void TForm1::ReturnKeyboard()
{
    const QWidget* page = PageControl1->currentWidget();
    QWidget* pageEditor = page ? page->findChild<TmwCustomEdit*>() : nullptr;
    for (QWidget* candidate : std::initializer_list<QWidget*>{focusWidget(), lastFocused_.data(), pageEditor})
        if (IsOwnEditor(candidate) && candidate->isVisible()) {
            candidate->setFocus(Qt::ActiveWindowFocusReason);
            break;
        }
    activateWindow();
}

TmwCustomEdit* TForm1::ActiveEditor() const
{
    // While a modal dialog is up, the document is not the target.
    if (QApplication::activeModalWidget())
        return nullptr;
    QWidget* focus = QApplication::focusWidget();
    if (IsOwnEditor(focus))
        return static_cast<TmwCustomEdit*>(focus);
    if (focus)
        return nullptr;
    if (lastFocused_ && lastFocused_->isVisible())
        return lastFocused_;
    return nullptr;
}

bool TForm1::MayChange(const TmwCustomEdit& editor)
{
    if (!editor.Model().GetReadOnly())
        return true;
    StatusBar1->showMessage(vx::ToQString(ReadOnlyMessage()));
    return false;
}

TmwCustomEdit* TForm1::EditableEditor()
{
    TmwCustomEdit* editor = ActiveEditor();
    return editor && MayChange(*editor) ? editor : nullptr;
}

void TForm1::insert_item(const std::string& text, std::uint8_t mode)
{
    const std::string converted = vx::shell::ApplyTagCase(text, TagCaseMode());
    if (mode > 1)
        return;
    TmwCustomEdit* editor = EditableEditor();
    if (!editor)
        return;
    if (mode == 0) {
        editor->Model().SetSelText(converted);
        editor->setFocus();
    } else {
        AppendLines(editor->Model(), {converted});
    }
}

void TForm1::append_lines(const std::vector<std::string>& lines)
{
    TmwCustomEdit* editor = EditableEditor();
    if (!editor || lines.empty())
        return;
    std::vector<std::string> converted;
    converted.reserve(lines.size());
    for (const std::string& line : lines)
        converted.push_back(vx::shell::ApplyTagCase(line, TagCaseMode()));
    AppendLines(editor->Model(), converted);
}

// The lines go in through the line list, which leaves the caret, the
// selection and the blanks at the end of the last line alone; the undo record
// says what an insertion at the end of the last line would have said, so that
// Undo takes the generated block away rather than an older change. The list
// does not ask the document's encoding, so the lines are put to it first: a
// line it cannot store keeps the whole block out.
void TForm1::AppendLines(TmwCustomEditModel& model, const std::vector<std::string>& lines)
{
    if (!std::all_of(lines.begin(), lines.end(), [&model](const std::string& line) { return model.AcceptsText(line); }))
        return;
    const int before = model.LineCount();
    const TPoint start = before == 0 ? Point(1, 1) : Point(static_cast<int>(model.Lines()[before - 1].size()) + 1, before);
    std::vector<std::string> tails = model.LineTails(start.Y, 1);
    for (const std::string& line : lines)
        model.Lines().Add(line);
    // Each text is one line of the list, whatever it holds.
    const TPoint end = Point(static_cast<int>(lines.back().size()) + 1, model.LineCount());
    model.UndoList().AddChange(mwcrInsert, start, end, "", smNormal, std::move(tails));
}

void TForm1::insert_item_2(const std::string& text, std::uint16_t back)
{
    const std::string converted = vx::shell::ApplyTagCase(text, TagCaseMode());
    TmwCustomEdit* editor = EditableEditor();
    if (!editor)
        return;
    TmwCustomEditModel& model = editor->Model();
    // Asked before the selection is taken in, so that a refused pair leaves
    // the caret where it was too.
    if (model.AcceptsText(converted)) {
        const std::size_t split = converted.size() - std::min<std::size_t>(back, converted.size());
        model.SetSelText(converted.substr(0, split) + model.GetSelText() + converted.substr(split));
        model.SetCaretX(model.CaretX() - back);
    }
    editor->setFocus();
}

void TForm1::ReportRefusals(TmwCustomEdit& editor)
{
    editor.Model().OnTextRefused = [this](TmwCustomEditModel*, const std::string& text) { ReportRefusedText(text); };
}
