// Every text the program's windows set while they run and show to the user
// (status-bar words, hints, dialog titles and file filters, why a command is
// disabled): the language tool files them under "RunTimeTexts", where Tr()
// finds their translations.
#pragma once

#include <string>
#include <vector>

namespace vx::shell {

std::vector<std::string> RunTimeTextList();

} // namespace vx::shell
