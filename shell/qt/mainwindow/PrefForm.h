// The preferences window: its controls are the program's live settings. It
// loads them from the registry whenever it is shown and writes them back when
// the user saves; the auto-complete abbreviations are edited on its last page
// and kept in the user's data folder (data/macros.dat), seeded from the
// program's list.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;
class TComboEdit;
class TFlatMemo;
class TFontComboBox;
class TRadioGroup;
class TWave;

// The registry key of the preferences under HKEY_LOCAL_MACHINE.
inline constexpr const char* PreferencesKey = "\\software\\Orvane\\Vellumix\\";

// The tag-case mode the preferences set: "NORMAL", "UP", "LO" or "CAPS".
std::string& TagCaseMode();

// The colour a colour box shows (0x00BBGGRR); a value not among its colours is added.
std::uint32_t ColorBoxValue(const QComboBox& box);
void SetColorBoxValue(QComboBox& box, std::uint32_t color);

class Tfrm_pref : public TShellDialog {
public:
    static constexpr int CheckBoxCount = 23;
    static constexpr int MaxWorkspaces = 100;

    explicit Tfrm_pref(QWidget* parent = nullptr);

    // --- "Global &options"
    QLineEdit* p_name;
    QLineEdit* p_email;
    QLineEdit* smtp;
    QSpinBox* workspacer;
    TRadioGroup* RadioGroup2; // tag case
    TComboEdit* ComboEdit2;   // shared data directory
    QComboBox* ComboBox1;     // start language
    QLineEdit* sound;         // wave file of the exit sound
    QToolButton* soundButton;
    QToolButton* SpeedButton1; // plays the exit sound
    QSpinBox* SpinEdit2;
    // --- "&Color && Font options"
    QComboBox* ColorComboBox1;
    QComboBox* ColorComboBox2;
    QComboBox* ColorComboBox3;
    QComboBox* ColorComboBox4;
    QSpinBox* SpinEdit1;
    std::array<TFontComboBox*, 4> FontComboBoxes; // FontComboBox1..FontComboBox4
    QComboBox* asp;
    QComboBox* vbs;
    QComboBox* html;
    QComboBox* phpcol;
    QComboBox* mivacol;
    QComboBox* Perlcol;
    QComboBox* sqlcol;
    // --- "Document options"
    TRadioGroup* RadioGroup1; // indent
    QComboBox* p_align;
    QLabel* p_alignLabel;
    // --- "Beautify options && external tools"
    std::array<QLineEdit*, 3> ToolPrograms;
    std::array<QLineEdit*, 3> ToolNames;
    std::array<QToolButton*, 3> ToolButtons;
    QLabel* TopStyleLabel;
    // --- "Macro's"
    TFlatMemo* Memo1;
    QLabel* Image1; // side picture

    // CheckBox(1) .. CheckBox(23).
    QCheckBox* CheckBox(int number) const { return checkBoxes_.at(number - 1); }
    bool Ticked(int number) const;

    // The workspace count of the last load, 0..100.
    int WorkspaceCount() const { return workspaceCount_; }

    // The window's wave player.
    TWave* Wave1;
    // Plays a wave file once; by default through Wave1.
    std::function<void(const std::string& fileName)> PlayWave;

    void FormActivate();   // load
    void Button2Click();   // "&Save Information": save, load, close
    void Button1Click();   // "&Cancel"
    void soundButtonClick();
    void ToolButtonClick(int index);
    void SpeedButton1Click();
    void CheckBox13Click();
    void CheckBox15Click();
    void CheckBox22Click();
    void ComboEdit2ButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildGlobalPage();
    QWidget* BuildColorPage();
    QWidget* BuildDocumentPage();
    QWidget* BuildToolsPage();
    QWidget* BuildMacroPage();
    void Connect();
    void LoadRegistry();
    void SaveRegistry();
    void SetDefaultMacros();

    std::array<QCheckBox*, CheckBoxCount> checkBoxes_{};
    int workspaceCount_ = 0;
    // The editor font setting as loaded, which the combo cannot show when not installed.
    std::string storedFontName_;
};

extern Tfrm_pref* frm_pref;
