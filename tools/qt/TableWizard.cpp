// The table wizard's pages.
#include "tools/qt/TableWizard.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "tools/TableTemplate.h"

#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>

using namespace vx::tools;

namespace {

constexpr const char* AssistantNote = "Watch the assistant for detailed\r\ninformation on the creation of\r\nthis table.";

} // namespace

Tfrm_tablewiz::Tfrm_tablewiz(QWidget* parent) : GeneratorDialog("frm_tablewiz", "Table wizard", parent)
{
    QWidget* specifics = AddPage("TabSheet1", "Table specifics");
    SpinEdit1 = AddSpin("SpinEdit1", "Rows", 0, 100, 1, specifics);
    SpinEdit2 = AddSpin("SpinEdit2", "Columns", 0, 100, 1, specifics);
    SpinEdit3 = AddSpin("SpinEdit3", "Table width", 0, 100, 100, specifics);
    AddRow({}, new QLabel(QString(AssistantNote).replace("\r\n", "\n"), specifics), specifics);
    AddNextButton(specifics, "Next1", "&Next");

    QWidget* padding = AddPage("TabSheet2", "Padding && Alignment");
    SpinEdit4 = AddSpin("SpinEdit4", "Cell padding", 0, 99, 0, padding);
    SpinEdit5 = AddSpin("SpinEdit5", "Cell spacing", 0, 99, 0, padding);
    ComboBox1 = AddCombo("ComboBox1", "Alignment",
                         {"Absbottom", "Absmiddle", "Baseline", "Bleedleft", "Bleedright", "Center", "Left", "Middle",
                          "Middle", "Right", "Text", "Top"},
                         padding);
    ComboBox1->SetStyle(TComboBoxStyle::csDropDownList);
    SpinEdit6 = AddSpin("SpinEdit6", "Border", 0, 99, 0, padding);
    AddRow({}, new QLabel(QString(AssistantNote).replace("\r\n", "\n"), padding), padding);
    AddBackButton(padding, "Back2", "Back");
    AddNextButton(padding, "Next2", "&Next");

    QWidget* caption = AddPage("TabSheet3", "Caption ");
    Edit1 = AddEdit("Edit1", "Table Caption", "my_caption", caption);
    AddBackButton(caption, "Back3", "Back");
    AddNextButton(caption, "Next3", "&Next");

    QWidget* finish = AddPage("TabSheet4", "Set options && finish");
    CheckBox1 = AddCheck("CheckBox1", "Make table a VBScript function", false, finish);
    Panel4 = new QWidget(finish);
    Panel4->setObjectName("Panel4");
    Edit2 = AddEdit("Edit2", "Function name", "my_table_function", Panel4);
    AddRow({}, Panel4, finish);
    Panel4->setVisible(false);
    CheckBox1->OnClick = [this](QObject*) { Panel4->setVisible(CheckBox1->Checked()); };
    AddBackButton(finish, "Back4", "Back");

    TFlatSpeedButton* finishButton = AddGenerateButton("SpeedButton1", "Finish", [this] {
        return TableLines({SpinEdit1->value(), SpinEdit2->value(), SpinEdit3->value(), SpinEdit4->value(),
                           SpinEdit5->value(), ComboBox1->Text(), SpinEdit6->value(), Edit1->Text(),
                           CheckBox1->Checked(), Edit2->Text()});
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    // Finishing is the last page's step.
    connect(PageControl1, &QTabWidget::currentChanged, finishButton,
            [this, finishButton](int page) { finishButton->setVisible(page == PageControl1->count() - 1); });
    finishButton->setVisible(false);
    Loaded();
}

void Tfrm_tablewiz::Activated()
{
    ComboBox1->SetItemIndex(0);
}
