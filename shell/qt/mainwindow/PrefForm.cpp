// The preferences window: its pages, controls and control handlers.
#include "shell/qt/mainwindow/PrefForm.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "controls/edits/RXCombos.h"
#include "controls/edits/ToolEdit.h"
#include "controls/sound/WWave32.h"
#include "editor/Colors.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/Application.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/ListFiles.h"
#include "shell/qt/windows/DirSelector.h"
#include "shell/qt/windows/ImgContainer.h"
#include "shell/qt/mainwindow/PrefSettings.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>

Tfrm_pref* frm_pref = nullptr;

std::string& TagCaseMode()
{
    static std::string mode = "NORMAL";
    return mode;
}

namespace {

const TRunTimeText NoSharedFolder{" You can't switch VCS on if you don't define a shared data directory first"};
const TRunTimeFilter WaveFilter{"Wave files|*.wav"};
const TRunTimeFilter ProgramFilter{"Programs|*|All files|*.*"};

struct TNamedColour {
    const char* Name;
    TColor Value;
};

constexpr TNamedColour StandardColours[] = {
    {"Black", clBlack},   {"Maroon", clMaroon}, {"Green", clGreen}, {"Olive", clOlive},  {"Navy", clNavy},
    {"Purple", clPurple}, {"Teal", clTeal},     {"Gray", clGray},   {"Silver", clSilver}, {"Red", clRed},
    {"Lime", clLime},     {"Yellow", clYellow}, {"Blue", clBlue},   {"Fuchsia", clFuchsia}, {"Aqua", clAqua},
    {"White", clWhite}};

QComboBox* NewColourBox(const char* name, TColor initial, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const TNamedColour& colour : StandardColours)
        box->addItem(colour.Name, QVariant::fromValue<uint>(colour.Value));
    SetColorBoxValue(*box, initial);
    return box;
}

QSpinBox* NewSpin(const char* name, int min, int max, int value, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(min, max);
    spin->setValue(value);
    return spin;
}

QToolButton* NewToolButton(const QString& name, const char* caption, QWidget* parent)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setText(caption);
    return button;
}

} // namespace

std::uint32_t ColorBoxValue(const QComboBox& box)
{
    return box.currentData().toUInt();
}

void SetColorBoxValue(QComboBox& box, std::uint32_t color)
{
    int index = box.findData(QVariant::fromValue<uint>(color));
    if (index < 0) {
        char name[16];
        std::snprintf(name, sizeof name, "$%08X", color);
        box.addItem(name, QVariant::fromValue<uint>(color));
        index = box.count() - 1;
    }
    box.setCurrentIndex(index);
}

Tfrm_pref::Tfrm_pref(QWidget* parent) : TShellDialog("frm_pref", "Preferences", parent)
{
    Wave1 = new TWave(this);
    Wave1->setObjectName("Wave1");
    PlayWave = [this](const std::string& fileName) {
        Wave1->SetWaveName(fileName);
        Wave1->Play();
    };
    auto* outer = new QHBoxLayout(this);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    outer->addWidget(Image1);
    auto* right = new QVBoxLayout;
    auto* pages = new QTabWidget(this);
    pages->setObjectName("PageControl1");
    // The window is as wide as its row of tabs: every tab shows.
    pages->tabBar()->setUsesScrollButtons(false);
    pages->addTab(BuildGlobalPage(), "Global &options");
    pages->addTab(BuildColorPage(), "&Color && Font options");
    pages->addTab(BuildDocumentPage(), "Document options");
    pages->addTab(BuildToolsPage(), "Beautify options && external tools");
    pages->addTab(BuildMacroPage(), "Macro's");
    right->addWidget(pages);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* save = AddButton("Button2", "&Save Information");
    QPushButton* cancel = AddButton("Button1", "&Cancel");
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    right->addLayout(buttons);
    outer->addLayout(right, 1);
    connect(save, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    connect(cancel, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    Connect();
    // The macros are the user's own (macros.dat of the data folder): no language replaces them.
    KMLang1()->SetLocalRules(MakeList({"-Memo1"}));
    Loaded();
}

QWidget* Tfrm_pref::BuildGlobalPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");
    auto* form = new QFormLayout(page);
    p_name = Named(new QLineEdit(page), "p_name");
    p_email = Named(new QLineEdit(page), "p_email");
    smtp = Named(new QLineEdit(page), "smtp");
    form->addRow("Your name", p_name);
    form->addRow("Emailaddress", p_email);
    form->addRow("SMTP mailer", smtp);
    workspacer = NewSpin("workspacer", 0, MaxWorkspaces, DefaultWorkspaces, page);
    form->addRow("Maximum workspaces (Max. 100)", workspacer);
    SpinEdit2 = NewSpin("SpinEdit2", 1, 9, 5, page);
    form->addRow("Number of recent files to remember", SpinEdit2);
    RadioGroup2 = new TRadioGroup("RadioGroup2", "Tag managment", page);
    RadioGroup2->SetItems(MakeList({"Normal", "Upper case", "Lower case", "Capitalize"}));
    RadioGroup2->SetItemIndex(0);
    form->addRow(RadioGroup2);
    ComboEdit2 = Named(new TComboEdit(page), "ComboEdit2");
    ComboEdit2->SetGlyphKind(TGlyphKind::gkEllipsis);
    ComboEdit2->OnButtonClick = [click = Guarded([this] { ComboEdit2ButtonClick(); })](QObject*) { click(); };
    form->addRow("Shared data directory", ComboEdit2);
    ComboBox1 = new QComboBox(page);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({"English", "Nederlands"});
    form->addRow("Start with this language", ComboBox1);
    auto* soundRow = new QHBoxLayout;
    sound = Named(new QLineEdit(page), "sound");
    soundButton = NewToolButton("soundButton", "...", page);
    SpeedButton1 = NewToolButton("SpeedButton1", "Test", page);
    soundRow->addWidget(sound);
    soundRow->addWidget(soundButton);
    soundRow->addWidget(SpeedButton1);
    for (const TBoolSetting& setting : BoolSettings) {
        if (setting.Page != TPrefPage::Global)
            continue;
        auto* box = new QCheckBox(setting.Caption, page);
        box->setObjectName(QString("CheckBox%1").arg(setting.Box));
        checkBoxes_[setting.Box - 1] = box;
        form->addRow(box);
        if (setting.Box == 13)
            form->addRow(soundRow);
    }
    auto* tips = new QCheckBox("Let assistant show tips", page);
    tips->setObjectName("CheckBox7");
    tips->setChecked(true);
    checkBoxes_[6] = tips;
    form->addRow(tips);
    sound->setEnabled(false);
    SpeedButton1->setEnabled(false);
    return page;
}

QWidget* Tfrm_pref::BuildColorPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet2");
    auto* form = new QFormLayout(page);
    ColorComboBox1 = NewColourBox("ColorComboBox1", clBlack, page);
    ColorComboBox2 = NewColourBox("ColorComboBox2", clWhite, page);
    SpinEdit1 = NewSpin("SpinEdit1", 1, 72, DefaultFontSize, page);
    ColorComboBox3 = NewColourBox("ColorComboBox3", clWhite, page);
    ColorComboBox4 = NewColourBox("ColorComboBox4", clBlack, page);
    form->addRow("Editor textcolor", ColorComboBox1);
    form->addRow("Edit background", ColorComboBox2);
    form->addRow("Font size (pitch)", SpinEdit1);
    const char* fontCaptions[] = {"Editor Font", "ASP font", "VBScript font", "HTML font"};
    for (int i = 0; i < 4; ++i) {
        FontComboBoxes[i] = new TFontComboBox(page);
        FontComboBoxes[i]->setObjectName(QString("FontComboBox%1").arg(i + 1));
        form->addRow(fontCaptions[i], FontComboBoxes[i]);
    }
    form->addRow("Drive panel", ColorComboBox3);
    form->addRow("Fontcolor", ColorComboBox4);
    asp = NewColourBox("asp", clOlive, page);
    vbs = NewColourBox("vbs", clGreen, page);
    html = NewColourBox("html", clBlue, page);
    phpcol = NewColourBox("phpcol", clPurple, page);
    mivacol = NewColourBox("mivacol", clTeal, page);
    Perlcol = NewColourBox("Perlcol", clRed, page);
    sqlcol = NewColourBox("sqlcol", clAqua, page);
    form->addRow("ASP commands", asp);
    form->addRow("VBScript commands", vbs);
    form->addRow("Html commands", html);
    form->addRow("PHP commands", phpcol);
    form->addRow("Miva commands", mivacol);
    form->addRow("Perl/cgi commands", Perlcol);
    form->addRow("SQL statements", sqlcol);
    return page;
}

QWidget* Tfrm_pref::BuildDocumentPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet3");
    auto* form = new QFormLayout(page);
    for (const TBoolSetting& setting : BoolSettings) {
        if (setting.Page != TPrefPage::Document)
            continue;
        auto* box = new QCheckBox(setting.Caption, page);
        box->setObjectName(QString("CheckBox%1").arg(setting.Box));
        checkBoxes_[setting.Box - 1] = box;
        form->addRow(box);
    }
    p_align = new QComboBox(page);
    p_align->setObjectName("p_align");
    p_align->addItems({"Default", "align=center", "align=left", "align=right", ""});
    p_align->setCurrentIndex(0);
    p_alignLabel = new QLabel("Alignment", page);
    p_alignLabel->setObjectName("Label_p_align");
    p_align->setEnabled(false);
    p_alignLabel->setEnabled(false);
    form->addRow(p_alignLabel, p_align);
    RadioGroup1 = new TRadioGroup("RadioGroup1", "<Ident using>", page);
    RadioGroup1->SetItems(MakeList({"1 Space per level", "2 Spaces per level", "3 Spaces per level",
                                    "1 Tab per level", "2 Tabs per level"}));
    RadioGroup1->SetItemIndex(0);
    form->addRow(RadioGroup1);
    return page;
}

QWidget* Tfrm_pref::BuildToolsPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet4");
    auto* form = new QFormLayout(page);
    for (int i = 0; i < 3; ++i) {
        auto* row = new QHBoxLayout;
        ToolPrograms[i] = Named(new QLineEdit(page), QString("ToolProgram%1").arg(i + 1));
        ToolNames[i] = Named(new QLineEdit(page), QString("ToolName%1").arg(i + 1));
        ToolButtons[i] = NewToolButton(QString("ToolButton%1").arg(i + 1), "...", page);
        row->addWidget(ToolPrograms[i], 2);
        row->addWidget(ToolButtons[i]);
        row->addWidget(ToolNames[i], 1);
        form->addRow(QString("Tool %1").arg(i + 1), row);
    }
    TopStyleLabel = new QLabel("No", page);
    TopStyleLabel->setObjectName("Label_topstyle");
    form->addRow("Topstyle style editor installed?", TopStyleLabel);
    return page;
}

QWidget* Tfrm_pref::BuildMacroPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet5");
    auto* layout = new QVBoxLayout(page);
    auto* label = new QLabel("While in you are in a document press on Shift+Space to expand the macro to the text "
                             "that you define here",
                             page);
    label->setWordWrap(true);
    Memo1 = new TFlatMemo(page);
    Memo1->setObjectName("Memo1");
    SetDefaultMacros();
    layout->addWidget(label);
    layout->addWidget(Memo1, 1);
    return page;
}

void Tfrm_pref::SetDefaultMacros()
{
    Memo1->Lines().Assign(
        MakeList({"!rp", "=response.write\"\"", "!afref", "=<a href=\"\"></a>", "!style", "=<style></style>"}));
}

void Tfrm_pref::Connect()
{
    connect(soundButton, &QToolButton::clicked, this, Guarded([this] { soundButtonClick(); }));
    connect(SpeedButton1, &QToolButton::clicked, this, Guarded([this] { SpeedButton1Click(); }));
    for (int i = 0; i < 3; ++i)
        connect(ToolButtons[i], &QToolButton::clicked, this, Guarded([this, i] { ToolButtonClick(i); }));
    connect(CheckBox(13), &QCheckBox::clicked, this, Guarded([this] { CheckBox13Click(); }));
    connect(CheckBox(15), &QCheckBox::clicked, this, Guarded([this] { CheckBox15Click(); }));
    connect(CheckBox(22), &QCheckBox::clicked, this, Guarded([this] { CheckBox22Click(); }));
}

bool Tfrm_pref::Ticked(int number) const
{
    return CheckBox(number)->isChecked();
}

void Tfrm_pref::showEvent(QShowEvent* event)
{
    TShellDialog::showEvent(event);
    vx::DeliverShowingExceptions([this] {
        FormActivate();
        return true;
    });
}

void Tfrm_pref::Button1Click()
{
    close();
}

void Tfrm_pref::Button2Click()
{
    Memo1->Lines().SaveToFile(vx::shell::UserDataFile("macros.dat"));
    SaveRegistry();
    FormActivate();
    close();
}

void Tfrm_pref::soundButtonClick()
{
    const std::string chosen =
        vx::dialogs::OpenFile(OpenTitle(), WaveFilter(), vx::ProgramPath("sounds"));
    if (!chosen.empty())
        sound->setText(vx::ToQString(chosen));
}

void Tfrm_pref::ToolButtonClick(int index)
{
    const std::string chosen = vx::dialogs::OpenFile(OpenTitle(), ProgramFilter(), vx::ProgramFolder());
    if (!chosen.empty())
        ToolPrograms.at(index)->setText(vx::ToQString(chosen));
}

void Tfrm_pref::SpeedButton1Click()
{
    const std::string name = vx::FromQString(sound->text());
    if (PlayWave && !name.empty())
        PlayWave(name);
}

void Tfrm_pref::CheckBox13Click()
{
    sound->setEnabled(Ticked(13));
    SpeedButton1->setEnabled(Ticked(13));
}

void Tfrm_pref::CheckBox15Click()
{
    p_align->setEnabled(Ticked(15));
    p_alignLabel->setEnabled(Ticked(15));
}

void Tfrm_pref::CheckBox22Click()
{
    if (!ComboEdit2->text().isEmpty() || !Ticked(22))
        return;
    CheckBox(22)->setChecked(false);
    ShowMessage(NoSharedFolder());
    ComboEdit2->setFocus();
}

void Tfrm_pref::ComboEdit2ButtonClick()
{
    const std::string chosen = Tfrm_dirselector::Choose(this);
    if (!chosen.empty())
        ComboEdit2->setText(vx::ToQString(chosen));
}
