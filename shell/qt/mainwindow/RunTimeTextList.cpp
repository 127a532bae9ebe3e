// The texts set at run time, gathered in one list for the language tool: the
// texts each file declares where it uses them, and why the menu table's
// inert items do nothing.
#include "shell/qt/mainwindow/RunTimeTextList.h"

#include "localisation/RunTimeText.h"
#include "shell/menu/MenuTable.h"

#include <algorithm>

namespace vx::shell {

std::vector<std::string> RunTimeTextList()
{
    std::vector<std::string> texts = FiledRunTimeTexts();
    for (const menu::TMenuRow& row : menu::MenuRows())
        if (row.Kind == menu::TKind::Inert && std::find(texts.begin(), texts.end(), row.Arg) == texts.end())
            texts.emplace_back(row.Arg);
    return texts;
}

} // namespace vx::shell
