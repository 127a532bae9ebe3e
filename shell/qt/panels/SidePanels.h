// The main window's side panels around the documents: the file panel, the
// link and structure trees on the right, the logo bar, the "&Manager" page,
// and the commands that show and hide them.
#pragma once

#include <string_view>

class QTabWidget;
class QWidget;
class TForm1;

namespace vx::shell {

class TFilePanel;

// Builds the panels into the main window and connects their help texts.
void SetUpPanels(TForm1& form);

TFilePanel* FilePanel(const TForm1& form);
QTabWidget* RightPanels(const TForm1& form); // PageControl3
QWidget* LogoPanel(const TForm1& form);      // Panel5

// The "&Manager" list's click: the images the page of the clicked entry refers to.
void ListBox1Click(TForm1& form);

} // namespace vx::shell

namespace vx::shell::menu {

void ToggleFilePanel(TForm1& form, std::string_view);
void ToggleWordWrap(TForm1& form, std::string_view);
void ToggleValidatorPanel(TForm1& form, std::string_view);
void GeneralToolbar(TForm1& form, std::string_view);
void ToggleAssistant(TForm1& form, std::string_view);
void ToggleLogoPanel(TForm1& form, std::string_view);
void CloseLogoBar(TForm1& form, std::string_view);
void FlatTabs(TForm1& form, std::string_view);
void Mask(TForm1& form, std::string_view masks);
void Calculator(TForm1& form, std::string_view);
void ShowFileManager(TForm1& form, std::string_view);

} // namespace vx::shell::menu
