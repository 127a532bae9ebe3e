// The page and head generator dialogs.
#include "tools/qt/PageGenerators.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "platform/qt/QtText.h"
#include "tools/PageTemplates.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>

using namespace vx::tools;

Tfrm_newpage::Tfrm_newpage(QWidget* parent)
    : GeneratorDialog("frm_newpage", "New Page", parent, {.ToClipboard = true})
{
    RadioGroup1 = AddRadioGroup("RadioGroup1", "<File Type>", {"Active Server Page", "Html"}, 0);
    Edit1 = AddEdit("Edit1", "<Page Title>");
    auto* options = new QGroupBox("<ASP options>", this);
    options->setObjectName("GroupBox1");
    CheckBox1 = AddCheck("CheckBox1", "Include VBScript opening tag", false, options);
    CheckBox2 = AddCheck("CheckBox2", "Script timeout (60 seconds)", false, options);
    CheckBox3 = AddCheck("CheckBox3", "Session state enabled", false, options);
    AddRow({}, options);
    AddGenerateButton("SpeedButton1", "Generate new page", [this] {
        return NewPageLines({RadioGroup1->ItemIndex() == 1, Edit1->Text(), CheckBox1->Checked(), CheckBox2->Checked(),
                             CheckBox3->Checked()},
                            Clock());
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_meta::Tfrm_meta(QWidget* parent) : GeneratorDialog("frm_meta", "MetaTag generator", parent)
{
    for (std::size_t i = 0; i < kw.size(); ++i) {
        const std::string name = "kw" + std::to_string(i + 1);
        kw[i] = AddEdit(name.c_str(), "Keyword " + std::to_string(i + 1));
    }
    desc = AddEdit("desc", "Description");
    copyri = AddEdit("copyri", "Copyright");
    Author = AddEdit("Author", "Author");
    weeks = AddEdit("weeks", "Revisit after (weeks)", "2");
    email = AddEdit("email", "Your e-mail address");
    AddGenerateButton("SpeedButton1", "Ok", [this] {
        TMetaFields fields{{}, desc->Text(), copyri->Text(), Author->Text(), weeks->Text(), email->Text()};
        for (std::size_t i = 0; i < kw.size(); ++i)
            fields.Keywords[i] = kw[i]->Text();
        return MetaLines(fields);
    });
    AddCancelButton("SpeedButton2", "Cancel");
    Loaded();
}

Tfrm_redirect::Tfrm_redirect(QWidget* parent) : GeneratorDialog("frm_redirect", "Url Redirection wizard", parent)
{
    edit1 = AddEdit("edit1", "Url to redirect to", "http://");
    edit2 = AddEdit("edit2", "Delay in seconds", "1");
    AddGenerateButton("SpeedButton1", "&Ok", [this] { return TLines{RedirectLine(edit1->Text(), edit2->Text())}; });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_transition::Tfrm_transition(QWidget* parent)
    : GeneratorDialog("frm_transition", "Page transition wizard", parent)
{
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    for (const char* style : TransitionStyles)
        ListBox1->addItem(style);
    AddRow("Transition style", ListBox1);
    SpinEdit1 = AddSpin("SpinEdit1", "Duration in seconds", 0, 60, 1);
    RadioButton1 = new QRadioButton("Transition on page enter", this);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton("Transition on page exit", this);
    RadioButton2->setObjectName("RadioButton2");
    AddRow({}, RadioButton1);
    AddRow({}, RadioButton2);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->hide();
    AddGenerateButton("SpeedButton1", "Ok", [this] {
        Edit1->setText(
            vx::ToQString(TransitionLine(RadioButton2->isChecked(), SpinEdit1->value(), ListBox1->currentRow())));
        return TLines{};
    });
    TFlatSpeedButton* cancel = AddCancelButton("SpeedButton2", "Cancel");
    cancel->OnClick = [this, clear = cancel->OnClick](QObject* sender) {
        Edit1->clear();
        clear(sender);
    };
    Loaded();
}

void Tfrm_transition::Activated()
{
    Edit1->clear();
    ListBox1->setCurrentRow(0);
}

Tfrm_fp_subst::Tfrm_fp_subst(QWidget* parent) : GeneratorDialog("frm_fp_subst", "Substitution properties", parent)
{
    cb1 = AddCombo("cb1", "Substitute with", {});
    for (const char* item : SubstitutionItems)
        cb1->Items().Add(item);
    cb1->SetStyle(TComboBoxStyle::csDropDownList);
    AddGenerateButton("SpeedButton1", "Ok", [this] { return TLines{SubstitutionLine(cb1->ItemIndex())}; });
    AddCancelButton("SpeedButton2", "Cancel");
    Loaded();
}

void Tfrm_fp_subst::Activated()
{
    cb1->SetItemIndex(0);
}

Tfrm_marquee::Tfrm_marquee(QWidget* parent) : GeneratorDialog("frm_marquee", "Marquee (scroll) wizard", parent)
{
    Edit1 = AddEdit("Edit1", "Text");
    RadioGroup1 = AddRadioGroup("RadioGroup1", "Direction", {"Left", "Right"});
    RadioGroup2 = AddRadioGroup("RadioGroup2", "Scroll behaviour", {"Slide", "Alternate", "Scroll"});
    AddGenerateButton("SpeedButton1", "Ok", [this] {
        return TLines{MarqueeLine(Edit1->Text(), RadioGroup1->ItemIndex(), RadioGroup2->ItemIndex())};
    });
    AddCancelButton("SpeedButton2", "Cancel");
    Loaded();
}
