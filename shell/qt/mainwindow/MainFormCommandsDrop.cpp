// Files dropped on the slot editors.
#include "shell/qt/mainwindow/MainFormCommands.h"

#include "controls/dragdrop/agDragDrop.h"
#include "editor/qt/mwCustomEdit.h"
#include "platform/AnsiText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/qt/launch/Launchers.h"

#include <QString>

#include <algorithm>
#include <array>
#include <filesystem>

namespace vx::shell {

bool AcceptedDocumentExtension(std::string_view ext)
{
    static constexpr std::array<std::string_view, 17> accepted = {
        "ASP", "INC", "ASA", "HTM", "HTML", "HTX", "SHTML", "JS", "VBS",
        "CGI", "PL",  "PHP3", "PHP", "PHP2", "PHP4", "PM", "CSS"};
    const std::string upper = AnsiUpperCase(ext);
    return std::find(accepted.begin(), accepted.end(), upper) != accepted.end();
}

void DropFiles(TForm1& form, const TStrings& files)
{
    if (files.Count() == 0)
        return;
    const std::string& file = files[0];
    std::string ext = std::filesystem::path(file).extension().string();
    if (!ext.empty())
        ext.erase(0, 1);
    if (AcceptedDocumentExtension(ext)) {
        form.OpenDocumentInFreeSlot(file, false);
        return;
    }
    const std::string upper = AnsiUpperCase(ext);
    if (upper == "GIF" || upper == "JPG")
        RunLauncher(form, "Tfrm_addimg", file);
}

void BindDropTargets(TForm1& form)
{
    for (int slot = 1; slot <= TForm1::SlotCount; ++slot) {
        const QString name = QString("agDropFileTarget%1").arg(slot);
        if (form.findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
            continue;
        auto* target = Named(new TagDropFileTarget(&form), name);
        target->SetTarget(form.SlotEditor(slot));
        target->OnDrop = [&form](QObject*, int, QPoint, TStringList& files) {
            Guarded([&] { DropFiles(form, files); })();
        };
    }
}

} // namespace vx::shell
