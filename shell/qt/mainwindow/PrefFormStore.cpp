// The preferences window's load from and save to the registry. A missing or
// mistyped value gives the layout's value, so that a fresh machine, or a
// damaged store, starts cleanly without an error.
#include "shell/qt/mainwindow/PrefForm.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "controls/edits/RXCombos.h"
#include "controls/edits/ToolEdit.h"
#include "controls/stores/AppUtils.h"
#include "localisation/RunTimeText.h"
#include "platform/Exception.h"
#include "platform/Registry.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/QtText.h"
#include "shell/qt/windows/ImgContainer.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/PrefSettings.h"
#include "shell/TopStyleHook.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/SidePanels.h"
#include "tools/qt/framework/RadioGroup.h"
#include "shell/ListFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

#include <array>
#include <charconv>

namespace {

constexpr std::array<const char*, 4> TagModes{"NORMAL", "UP", "LO", "CAPS"};

// The integer value; missing, mistyped or unreadable gives def.
int IntegerOr(const TRegistry& reg, const char* name, int def)
{
    return RegReadIntegerDef(reg, name, def);
}

// A decimal index in 0..count-1; anything else (empty included) gives 0.
int IndexOf(const std::string& text, int count)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0 || value >= count)
        return 0;
    return value;
}

void SetText(QLineEdit* edit, const std::string& text)
{
    edit->setText(vx::ToQString(text));
}

std::string TextOf(const QLineEdit* edit)
{
    return vx::FromQString(edit->text());
}

// The colour boxes stored as integers, in load and save order, with their layout colours.
struct TColourValue {
    const char* Value;
    QComboBox* Tfrm_pref::*Box;
    TColor Default;
};

constexpr std::array<TColourValue, 11> ColourValues{{
    {"fontcolor", &Tfrm_pref::ColorComboBox1, clBlack},
    {"backcolor", &Tfrm_pref::ColorComboBox2, clWhite},
    {"drivepanel", &Tfrm_pref::ColorComboBox3, clWhite},
    {"panelfont", &Tfrm_pref::ColorComboBox4, clBlack},
    {"aspcolor", &Tfrm_pref::asp, clOlive},
    {"vbcolor", &Tfrm_pref::vbs, clGreen},
    {"htmlcolor", &Tfrm_pref::html, clBlue},
    {"phpcolor", &Tfrm_pref::phpcol, clPurple},
    {"mivacolor", &Tfrm_pref::mivacol, clTeal},
    {"perlcolor", &Tfrm_pref::Perlcol, clRed},
    {"sqlcolor", &Tfrm_pref::sqlcol, clAqua},
}};

// Whether the style editor's hook is installed.
const TRunTimeText TopStyleFound{"Yes!"};
const TRunTimeText TopStyleMissing{"No"};

} // namespace

void Tfrm_pref::FormActivate()
{
    if (frm_imgcontainer)
        frm_imgcontainer->CopySidePicture(*Image1);
    vx::shell::LoadListFile(vx::shell::UserDataFile("macros.dat"), Memo1->Lines());
    TopStyleLabel->setText(vx::ToQString(vx::shell::TopStyleHook().Registered() ? TopStyleFound() : TopStyleMissing()));
    ComboBox1->setCurrentIndex(0);
    // At 40, 40 unless that would put its edge off a small screen.
    move(vx::ClampToScreens(QRect(QPoint(40, 40), frameGeometry().size())).topLeft());
    try {
        LoadRegistry();
    } catch (const Exception&) {
        // An unreadable store leaves the controls as they were: the settings in
        // force stay in force, and start-up goes on.
    }
    TagCaseMode() = TagModes[std::max(0, RadioGroup2->ItemIndex())];
}

void Tfrm_pref::LoadRegistry()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(PreferencesKey, true);
    SetText(p_name, reg.ReadString("name"));
    SetText(p_email, reg.ReadString("email"));
    SetText(smtp, reg.ReadString("smtp"));
    for (const TColourValue& colour : ColourValues)
        SetColorBoxValue(*(this->*colour.Box), IntegerOr(reg, colour.Value, colour.Default));
    SpinEdit1->setValue(IntegerOr(reg, "fontsize", DefaultFontSize));
    storedFontName_ = reg.ReadString("fonttype");
    FontComboBoxes[0]->SetFontName(storedFontName_);
    workspaceCount_ = std::clamp(IntegerOr(reg, "workspace", DefaultWorkspaces), 0, MaxWorkspaces);
    workspacer->setValue(workspaceCount_);
    const std::string tagMode = reg.ReadString("tag_ins");
    if (tagMode.empty()) {
        RadioGroup2->SetItemIndex(0);
    } else {
        for (std::size_t i = 0; i < TagModes.size(); ++i)
            if (tagMode == TagModes[i])
                RadioGroup2->SetItemIndex(static_cast<int>(i));
    }
    SetText(ComboEdit2, reg.ReadString("sharedir"));
    for (const TBoolSetting& setting : BoolSettings) {
        const std::string value = reg.ReadString(setting.Value);
        QCheckBox* box = CheckBox(setting.Box);
        if (value == "TRUE")
            box->setChecked(true);
        else if (value == "FALSE")
            box->setChecked(false);
        else if (value.empty() && setting.Missing != TWhenMissing::Stays)
            box->setChecked(setting.Missing == TWhenMissing::Ticked);
    }
    if (ComboEdit2->text().isEmpty())
        CheckBox(22)->setChecked(false);
    sound->setEnabled(Ticked(13));
    SpeedButton1->setEnabled(sound->isEnabled());
    p_align->setEnabled(Ticked(15));
    p_alignLabel->setEnabled(Ticked(15));
    const std::string language = reg.ReadString("language");
    if (language == "0" || language == "1")
        ComboBox1->setCurrentIndex(language[0] - '0');
    const std::string wave = reg.ReadString("warning sound");
    SetText(sound, wave.empty() ? vx::ProgramPath("exit.wav") : wave);
    RadioGroup1->SetItemIndex(IndexOf(reg.ReadString("identlevel"), RadioGroup1->Count()));
    p_align->setCurrentIndex(IndexOf(reg.ReadString("p_type"), p_align->count()));
    if (vx::shell::TFilePanel* panel = Form1 ? vx::shell::FilePanel(*Form1) : nullptr)
        panel->SetColours(ColorBoxValue(*ColorComboBox3), ColorBoxValue(*ColorComboBox4));
    reg.CloseKey();
}

void Tfrm_pref::SaveRegistry()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(PreferencesKey, true);
    reg.WriteString("name", TextOf(p_name));
    reg.WriteString("email", TextOf(p_email));
    reg.WriteString("smtp", TextOf(smtp));
    for (const TColourValue& colour : ColourValues)
        reg.WriteInteger(colour.Value, static_cast<int>(ColorBoxValue(*(this->*colour.Box))));
    reg.WriteInteger("fontsize", SpinEdit1->value());
    // A face this machine lacks leaves the combo empty; keep the setting
    // unless another face was picked.
    const std::string face = FontComboBoxes[0]->FontName();
    reg.WriteString("fonttype", face.empty() ? storedFontName_ : face);
    reg.WriteInteger("workspace", workspacer->value());
    reg.WriteString("lastupdate_date", ShortDateToday(vx::BuiltInFormatSettings()));
    reg.WriteString("lastupdate_time", LongTimeNow(vx::BuiltInFormatSettings()));
    for (const TBoolSetting& setting : BoolSettings)
        reg.WriteString(setting.Value, Ticked(setting.Box) ? "TRUE" : "FALSE");
    reg.WriteString("p_type", std::to_string(std::max(0, p_align->currentIndex())));
    reg.WriteString("warning sound", TextOf(sound));
    reg.WriteString("identlevel", std::to_string(std::max(0, RadioGroup1->ItemIndex())));
    reg.WriteString("language", std::to_string(std::max(0, ComboBox1->currentIndex())));
    reg.WriteString("sharedir", TextOf(ComboEdit2));
    reg.WriteString("tag_ins", TagModes[std::max(0, RadioGroup2->ItemIndex())]);
    reg.CloseKey();
}
