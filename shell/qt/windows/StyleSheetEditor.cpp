// The external style-sheet editor's commands.
#include "shell/qt/windows/StyleSheetEditor.h"

#include "editor/qt/mwCustomEdit.h"
#include "localisation/RunTimeText.h"
#include "platform/AnsiText.h"
#include "platform/qt/Dialogs.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/TopStyleHook.h"
#include "shell/qt/launch/LaunchSteps.h"
#include "shell/qt/menu/MenuBuilder.h"
#include "shell/qt/menu/TextCommands.h"

#include <QAction>

#include <filesystem>

namespace vx::shell {

namespace {

const TRunTimeText OpenStyleSheetFirst{" Please open and select a stylesheet file (*.css) first "};

// Why the commands are disabled; shown in the current language with their hints.
const TRunTimeText NotInstalled{"the style-sheet editor is not installed"};

// The commands that need the editor; the items that run them follow their state.
constexpr const char* Commands[] = {"LaunchStylesheeteditorCSS1", "LaunchStylesheeteditor1",
                                    "Editstyleinselectedpartoftext1", "EditstylesheetwithTopStyle1"};

std::string FocusedFileName(const TForm1& form)
{
    return steps::FileNameOf(form, form.ActiveEditor());
}

// The window the editor's own windows belong to.
void* OwnerHandle(TForm1& form)
{
    return reinterpret_cast<void*>(form.winId());
}

} // namespace

void LaunchStyleSheetEditorForCss(TForm1& form)
{
    const std::string name = FocusedFileName(form);
    if (AnsiLowerCase(std::filesystem::path(name).extension().string()) != ".css") {
        ShowMessage(OpenStyleSheetFirst());
        return;
    }
    TopStyleHook().EditStyleSheet(name, "");
}

void LaunchStyleSheetEditor(TForm1& form)
{
    const std::string name = FocusedFileName(form);
    if (!name.empty())
        TopStyleHook().EditStyleSheet(name, "");
}

void EditSelectedStyle(TForm1& form)
{
    TmwCustomEdit* editor = form.ActiveEditor();
    if (!editor)
        return;
    std::string text = editor->Model().GetSelText();
    if (TopStyleHook().EditStyleBlock(text, OwnerHandle(form)))
        editor->Model().SetSelText(text);
}

void EditStyleSheetWithTopStyle(TForm1& form)
{
    TmwCustomEdit* editor = form.ActiveEditor();
    if (!editor)
        return;
    std::optional<std::string> body = StyleElementBody(SelectTagBlock(form));
    if (body && TopStyleHook().EditStyleBlock(*body, OwnerHandle(form)))
        editor->Model().SetSelText("<style>" + *body + "</style>");
}

void ShowStyleSheetEditorPresence(TForm1& form, bool present)
{
    for (const char* name : Commands)
        if (auto* action = form.findChild<QAction*>(name)) {
            // The reason first: the items that follow this one copy it when it changes.
            action->setProperty(menu::DisabledReason,
                                present ? QVariant() : QVariant(NotInstalled.English()));
            // Beginner mode, which enables the commands it withholds, leaves these alone.
            action->setProperty(TForm1::BeginnerTag, 0);
            action->setEnabled(present);
        }
}

} // namespace vx::shell
