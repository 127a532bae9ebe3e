// The texts set at run time, gathered in one list for the language tool.
#include "shell/RunTimeTextList.h"

#include "shell/menu/MenuTable.h"

namespace vx::shell {

namespace {

// Why commands are disabled (besides the menu table's own reasons).
constexpr const char* Reasons[] = {
    "the style-sheet editor is not installed",
    "the internal browser preview is not built",
    "disabled in the layout",
    "filled at run time",
};

} // namespace

std::vector<const char*> RunTimeTextList()
{
    std::vector<const char*> texts(std::begin(Reasons), std::end(Reasons));
    for (const menu::TMenuRow& row : menu::MenuRows())
        if (row.Kind == menu::TKind::Inert)
            texts.push_back(row.Arg);
    return texts;
}

} // namespace vx::shell
