// The main window's search in a document slot and its jump to a line.
#include "shell/qt/mainwindow/MainForm.h"

#include "editor/qt/mwCustomEdit.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/windows/SearchForm.h"
#include "shell/TextSearch.h"

#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>

void TForm1::Find1Click()
{
    if (!frm_search)
        return;
    // The editor that has the focus now has it again once the dialog is gone.
    const TmwCustomEdit* focused = ActiveEditor();
    frm_search->SearchRequested = false;
    frm_search->exec();
    if (!frm_search->SearchRequested)
        return;
    frm_search->SearchRequested = false;
    for (int slot = 1; slot <= SlotCount; ++slot)
        if (focused && SlotEditor(slot) == focused)
            FindTextInSlot(std::to_string(slot));
}

void TForm1::FindTextInSlot(const std::string& slot)
{
    const int number = vx::shell::LeadingNumber(slot);
    if (!frm_search || number < 1 || number > SlotCount)
        return;
    TmwCustomEditModel& model = SlotEditor(number)->Model();
    const std::string text = vx::FromQString(frm_search->Edit1->text());
    const int first = frm_search->curloc->isChecked() ? model.CaretY() : 0;
    const bool fifth = number == SlotCount;
    // The hits are taken before the first message: the text cannot change
    // while a modal message is up.
    for (const vx::shell::TTextHit& hit : vx::shell::FindTextInLines(model.Lines(), text, first)) {
        model.SetCaretXY(Point(hit.Column, hit.Line));
        ShowMessage(vx::shell::FoundMessage(text, hit.Line, fifth));
        if (fifth)
            break;
    }
}

void TForm1::Jumptoline1Click()
{
    if (!frm_jump)
        return;
    const QPointer<TmwCustomEdit> editor = ActiveEditor();
    frm_jump->exec();
    const std::string typed = vx::FromQString(frm_jump->edit1->text());
    if (typed.empty() || !editor)
        return;
    TmwCustomEditModel& model = editor->Model();
    const int last = std::max(model.Lines().Count(), 1);
    // The caret keeps the column it shows in, as it does going up or down.
    const int line = std::clamp(vx::shell::LeadingNumber(typed), 1, last);
    model.SetCaretXY(model.CharPoint(model.DisplayColumn(model.CaretXY()), line));
}
