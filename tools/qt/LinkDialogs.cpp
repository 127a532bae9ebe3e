// The link and mailto dialogs.
#include "tools/qt/LinkDialogs.h"

#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "tools/TextTemplates.h"

#include <QGroupBox>

#include <exception>

using namespace vx::tools;

namespace {

template <std::size_t N> void FillItems(TFlatComboBox& combo, const std::array<const char*, N>& items)
{
    for (const char* item : items)
        combo.Items().Add(item);
    combo.SetStyle(TComboBoxStyle::csDropDownList);
}

// The history file is the user's: a failure to write it is shown, and the dialog goes on.
template <class F> void Reporting(F change)
{
    try {
        change();
    } catch (const std::exception& error) {
        ShowMessage(ErrorText(error));
    }
}

} // namespace

Tfrm_addurl::Tfrm_addurl(QWidget* parent) : GeneratorDialog("frm_addurl", "Add Link", parent)
{
    combobox1 = AddCombo("combobox1", "Link type", {});
    FillItems(*combobox1, LinkTypes);
    combobox2 = AddCombo("combobox2", "Target", {});
    FillItems(*combobox2, LinkTargets);
    edit1 = AddCombo("edit1", "Actual link", {});
    edit1->SetStyle(TComboBoxStyle::csDropDown);
    edit2 = AddEdit("edit2", "Description");

    Advanced = new QGroupBox(this);
    Advanced->setObjectName("GroupBox1");
    edit3 = AddEdit("edit3", "Mouseover", {}, Advanced);
    edit4 = AddEdit("edit4", "Mouseout", {}, Advanced);
    FlatEdit1 = AddEdit("FlatEdit1", "Query string", {}, Advanced);
    FlatEdit2 = AddEdit("FlatEdit2", "Value", {}, Advanced);
    AddRow({}, Advanced);

    delebutton = AddCommandButton("delebutton", "Delete", [this] {
        const int index = edit1->ItemIndex();
        Reporting([&] { history_.Delete(index); });
        FillHistory();
    });
    delebutton->setToolTip("Delete link from list (file)");
    SpeedButton4 = AddCommandButton("SpeedButton4", "Advanced options", [this] {
        Advanced->setVisible(!Advanced->isVisible());
        adjustSize();
    });
    AddGenerateButton("SpeedButton1", "Ok", [this] {
        TLinkFields link{combobox1->Text(), edit1->Text(),  FlatEdit1->Text(), FlatEdit2->Text(),
                         combobox2->Text(), edit2->Text(),  edit3->Text(),     edit4->Text()};
        Reporting([&] { history_.Add(link.Link); });
        return TLines{LinkLine(link)};
    });
    AddCancelButton("SpeedButton2", "Cancel");
    Loaded();
}

void Tfrm_addurl::FillHistory()
{
    const std::string typed = edit1->Text();
    edit1->Items().Clear();
    for (const std::string& url : history_.Items())
        edit1->Items().Add(url);
    edit1->SetText(typed);
    delebutton->setEnabled(history_.FileExists());
}

void Tfrm_addurl::Activated()
{
    Advanced->hide();
    adjustSize();
    FillHistory();
    combobox1->SetItemIndex(0);
    combobox2->SetItemIndex(0);
}

Tfrm_mailto::Tfrm_mailto(QWidget* parent)
    : GeneratorDialog("frm_mailto", "Mailto: Wizard", parent, {.Left = 40, .Top = 40})
{
    edit1 = AddEdit("edit1", "Recipient name");
    AddGenerateButton("SpeedButton1", "Ok", [this] {
        return edit1->Text().empty() ? TLines{} : TLines{MailtoLine(edit1->Text())};
    });
    AddCancelButton("SpeedButton2", "Cancel");
    Loaded();
}
