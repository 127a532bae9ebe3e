// The registry of the table's commands and the insertion and page commands.
#include "shell/qt/menu/MenuCommands.h"

#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/menu/EditCommands.h"
#include "shell/qt/menu/TextCommands.h"
#include "shell/qt/panels/SidePanels.h"
#include "shell/qt/taglists/TagLists.h"

#include <QTabWidget>

#include <array>
#include <utility>

namespace vx::shell::menu {

namespace {

constexpr int StrongBox = 18;

void Bold(TForm1& form, std::string_view)
{
    if (frm_pref && frm_pref->Ticked(StrongBox))
        form.insert_item_2("<strong></strong>", 9);
    else
        form.insert_item_2("<b></b>", 4);
}

// Every part follows the one before on the same line: the old selection
// stands right after the opening tag.
void ImportStyleSheet(TForm1& form, std::string_view)
{
    for (const char* part : {"<STYLE TYPE=\"text/css\">", " <!--", "  @import url(http://www.yoursite.com/style.css);",
                             " -->", "</STYLE>"})
        form.insert_item_2(part, 0);
}

void ShowPage(TForm1& form, std::string_view caption)
{
    ShowTagPage(form, caption);
}

void TabsLeft(TForm1& form, std::string_view)
{
    TagPages(form)->setTabPosition(QTabWidget::West);
}

// One row of tabs: the pages scroll rather than wrap.
void TabsBottom(TForm1& form, std::string_view)
{
    QTabWidget* pages = TagPages(form);
    pages->setUsesScrollButtons(true);
    pages->setTabPosition(QTabWidget::South);
}

constexpr std::array<std::pair<std::string_view, TCommand>, 37> Commands{{
    {"Bold", Bold},
    {"ImportStyleSheet", ImportStyleSheet},
    {"ShowPage", ShowPage},
    {"TabsLeft", TabsLeft},
    {"TabsBottom", TabsBottom},
    {"Undo", Undo},
    {"Cut", Cut},
    {"Copy", Copy},
    {"Paste", Paste},
    {"SelectAll", SelectAll},
    {"UpperCase", UpperCase},
    {"LowerCase", LowerCase},
    {"Capitalize", Capitalize},
    {"Highlighter", SelectHighlighter},
    {"Convert", Conversion},
    {"TabsToSpaces", TabsToSpaces},
    {"SelectTagBlock", SelectTagBlockCommand},
    {"VbsRemark", VbsRemark},
    {"HtmlRemark", HtmlRemark},
    {"HtmlEncode", HtmlEncode},
    {"SaveSelectionas", SaveSelectionas},
    {"ExportUnix", ExportUnix},
    {"ExportMac", ExportMac},
    {"ImportCsv", ImportCsv},
    {"CreateGlobalAsa", CreateGlobalAsa},
    {"PrintDocument", PrintDocument},
    {"ToggleFilePanel", ToggleFilePanel},
    {"ToggleWordWrap", ToggleWordWrap},
    {"ToggleValidatorPanel", ToggleValidatorPanel},
    {"GeneralToolbar", GeneralToolbar},
    {"ToggleAssistant", ToggleAssistant},
    {"ToggleLogoPanel", ToggleLogoPanel},
    {"CloseLogoBar", CloseLogoBar},
    {"FlatTabs", FlatTabs},
    {"Mask", Mask},
    {"Calculator", Calculator},
    {"ShowFileManager", ShowFileManager},
}};

std::string_view CommandName(std::string_view nameAndArg)
{
    return nameAndArg.substr(0, nameAndArg.find(':'));
}

} // namespace

std::string_view CommandArg(std::string_view nameAndArg)
{
    const std::size_t colon = nameAndArg.find(':');
    return colon == std::string_view::npos ? std::string_view() : nameAndArg.substr(colon + 1);
}

TCommand FindCommand(std::string_view nameAndArg)
{
    const std::string_view name = CommandName(nameAndArg);
    for (const auto& [known, command] : Commands)
        if (known == name)
            return command;
    return nullptr;
}

} // namespace vx::shell::menu
