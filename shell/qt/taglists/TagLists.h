// The tag-list pages of the main window's left panel, the tool-bar drop-down
// boxes and quick font tools: a double click (or a pick) puts the entry into
// the active slot's document, wrapping the selection when it is a pair.
#pragma once

#include <string_view>

class QListWidget;
class QTabWidget;
class QWidget;
class TForm1;

namespace vx::shell {

// Arranges the pages of PageControl2 and connects the lists, boxes and tools.
void SetUpTagLists(TForm1& form);

QTabWidget* TagPages(const TForm1& form);
// Shows the page of that caption ("Html", "SQL", ...); false when there is none.
bool ShowTagPage(TForm1& form, std::string_view caption);

// The double-click commands.
void GenericListDblClick(TForm1& form, QListWidget& list);
void tagsDblClick(TForm1& form);
void aspboxDblClick(TForm1& form);
void JtreeDblClick(TForm1& form);

} // namespace vx::shell
