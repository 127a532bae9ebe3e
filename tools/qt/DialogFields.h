// Fields several generator dialogs share beyond the framework's own: a memo
// under a label, its lines, and an edit whose ellipsis button picks a file.
#pragma once

#include "localisation/RunTimeText.h"
#include "tools/qt/framework/GeneratorDialog.h"

#include <functional>
#include <string>

class TComboEdit;

namespace vx::tools {

TLines MemoLines(const TFlatMemo& memo);
TFlatMemo* AddMemo(GeneratorDialog& dialog, const char* name, const std::string& label, QWidget* page = nullptr);
// The chosen file's path, as take turns it, becomes the edit's text; a
// cancelled file dialog changes nothing. A name chosen without an extension
// gets defaultExt when that is not empty.
TComboEdit* AddFileEdit(GeneratorDialog& dialog, const char* name, const std::string& label,
                        const TRunTimeFilter& filter, std::function<std::string(const std::string&)> take,
                        QWidget* page = nullptr, const std::string& defaultExt = {});

} // namespace vx::tools
