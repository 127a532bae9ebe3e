// The date and time, remark, if-then and make-function dialogs.
#include "tools/qt/TextDialogs.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/FileIO.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "tools/qt/DialogFields.h"
#include "tools/TextTemplates.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QListWidget>
#include <QProgressBar>

#include <exception>

using namespace vx::tools;

namespace {

const TRunTimeText SaveFunctionTitle{"Save function"};
const TRunTimeFilter FunctionFilter{"ASP files|*.asp|Include files|*.inc"};

QListWidget* AddList(vx::tools::GeneratorDialog& dialog, const char* name, const std::string& label)
{
    auto* list = new QListWidget(&dialog);
    list->setObjectName(name);
    dialog.AddRow(label, list);
    return list;
}

void Fill(QListWidget& list, const TLines& items)
{
    list.clear();
    for (const std::string& item : items)
        list.addItem(vx::ToQString(item));
}

} // namespace

Tfrm_datetime::Tfrm_datetime(QWidget* parent) : GeneratorDialog("frm_datetime", "Date and time functions", parent)
{
    ListBox1 = AddList(*this, "ListBox1", "Date");
    ListBox2 = AddList(*this, "ListBox2", "Time");
    AddCloseButton("SpeedButton1", "&OK");
    AddCancelButton("SpeedButton2", "&Cancel", false);
    Loaded();
}

void Tfrm_datetime::Activated()
{
    const TClockReading now = Clock();
    Fill(*ListBox1, FormattedItems(DateFormats, now));
    Fill(*ListBox2, FormattedItems(TimeFormats, now));
}

Tfrm_remark::Tfrm_remark(QWidget* parent) : GeneratorDialog("frm_remark", "Remark wizard", parent)
{
    RadioGroup1 = AddRadioGroup("RadioGroup1", "Remark type", {});
    TStringList types;
    for (const char* type : RemarkTypes)
        types.Add(type);
    RadioGroup1->SetItems(types);
    remark1 = AddMemo(*this, "remark1", "Remark");
    AddGenerateButton("SpeedButton1", "&Ok", [this] {
        remark1->Lines().Add(RemarkStamp(Clock()));
        return RemarkLines(RadioGroup1->ItemIndex(), MemoLines(*remark1));
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_ifthen::Tfrm_ifthen(QWidget* parent) : GeneratorDialog("frm_ifthen", "If then Wizard", parent)
{
    Edit1 = AddEdit("Edit1", "If");
    Edit4 = AddEdit("Edit4", "=");
    Edit2 = AddEdit("Edit2", "then");
    Edit3 = AddEdit("Edit3", "else");
    AddGenerateButton("SpeedButton1", "&Ok", [this] {
        return IfThenLines({Edit1->Text(), Edit4->Text(), Edit2->Text(), Edit3->Text()});
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_makefunction::Tfrm_makefunction(QWidget* parent) : GeneratorDialog("frm_makefunction", "Make function", parent)
{
    dump = AddMemo(*this, "dump", "Selected text");
    Edit1 = AddEdit("Edit1", "Function name");
    CheckBox1 = AddCheck("CheckBox1", "Save function as  a include file");
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    AddRow({}, ProgressBar1);
    AddGenerateButton("SpeedButton1", "&Generate", [this] {
        const TLines body = MemoLines(*dump);
        ProgressBar1->setRange(0, std::max(0, static_cast<int>(body.size()) - 1));
        ProgressBar1->setValue(ProgressBar1->maximum());
        TLines lines = MakeFunctionLines(Edit1->Text(), body);
        if (!CheckBox1->Checked())
            return lines;
        const std::string file =
            vx::dialogs::SaveFile(SaveFunctionTitle(), FunctionFilter(), "", "asp");
        if (file.empty())
            return lines;
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        try {
            vx::WriteFileAtomic(file, text);
        } catch (const std::exception& error) {
            // Not written: the function goes into the document instead of being lost.
            ShowMessage(ErrorText(error));
            return lines;
        }
        return TLines{};
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}
