#include "shell/qt/menu/EditCommands.h"

#include "editor/qt/mwCustomEdit.h"
#include "highlighters/DcjPerlSyn.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/wmMultiSyn.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmSQLSyn.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/TagCase.h"
#include "shell/TextCase.h"

#include <QWidget>

#include <array>

namespace vx::shell::menu {

namespace {

// Replaces a non-empty selection by what convert makes of it.
template <class F> void ConvertSelection(TForm1& form, F convert)
{
    TmwCustomEdit* editor = form.ActiveEditor();
    if (!editor || !editor->Model().SelAvail() || !form.MayChange(*editor))
        return;
    editor->Model().SetSelText(convert(editor->Model().GetSelText()));
}

} // namespace

void Undo(TForm1& form, std::string_view)
{
    if (TmwCustomEdit* editor = form.ActiveEditor())
        editor->Model().Undo();
}

void Cut(TForm1& form, std::string_view)
{
    if (TmwCustomEdit* editor = form.ActiveEditor())
        editor->ExecuteAction(TmwEditAction::Cut);
}

void Copy(TForm1& form, std::string_view)
{
    if (TmwCustomEdit* editor = form.ActiveEditor())
        editor->ExecuteAction(TmwEditAction::Copy);
}

void Paste(TForm1& form, std::string_view)
{
    if (TmwCustomEdit* editor = form.ActiveEditor())
        editor->ExecuteAction(TmwEditAction::Paste);
}

void SelectAll(TForm1& form, std::string_view)
{
    if (TmwCustomEdit* editor = form.ActiveEditor())
        editor->Model().SelectAll();
}

void UpperCase(TForm1& form, std::string_view)
{
    ConvertSelection(form, [](const std::string& text) { return vx::shell::AsciiUpperCase(text); });
}

void LowerCase(TForm1& form, std::string_view)
{
    ConvertSelection(form, [](const std::string& text) { return vx::shell::AsciiLowerCase(text); });
}

void Capitalize(TForm1& form, std::string_view)
{
    ConvertSelection(form, [](const std::string& text) { return vx::shell::CapitalizeWords(text); });
}

void SelectHighlighter(TForm1& form, std::string_view index)
{
    TmwCustomEdit* editor = form.ActiveEditor();
    if (!editor || index.size() != 1 || index[0] < '0' || index[0] > '7')
        return;
    const std::array<TmwCustomHighLighter*, 8> highlighters{
        form.wmMultiSyn1.get(), form.hi_html.get(), form.hi_css.get(), form.hi_js.get(),
        form.hi_perl.get(),     form.hi_php.get(),  form.hi_sql.get(), form.hi_vbs.get()};
    editor->Model().SetHighLighter(highlighters[index[0] - '0']);
    editor->viewport()->update();
    editor->setFocus();
}

} // namespace vx::shell::menu
