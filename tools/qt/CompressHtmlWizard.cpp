// The compressor wizard: a warning, the options, the files and the results.
#include "tools/qt/CompressHtmlWizard.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QLabel>
#include <QTabWidget>

using namespace vx::tools;

namespace {

const TRunTimeText SameNames{" You cannot have the same name for a source and output file "};
const TRunTimeFilter HtmlFilter{"Html files|*.htm;*.html;*.shtml;*.htt"};
const TRunTimeText SourceTitle{"Source file"};
const TRunTimeText OutputTitle{"Output file"};

QLabel* SizeLabel(GeneratorDialog& dialog, const char* name, const std::string& caption, QWidget* page)
{
    auto* label = new QLabel("000000", page);
    label->setObjectName(name);
    dialog.AddRow(caption, label, page);
    return label;
}

} // namespace

Tfrm_compresshtml::Tfrm_compresshtml(QWidget* parent)
    : GeneratorDialog("frm_compresshtml", "Compress html files", parent)
{
    // The wizard's own settings: only the short tags until the user ticks more.
    HTMLCompressor1.Center = HTMLCompressor1.InvCommas = HTMLCompressor1.Spaces = false;
    HTMLCompressor1.Returns = HTMLCompressor1.AllReturns = HTMLCompressor1.Webbots = false;

    QWidget* warning = AddPage("TabSheet1", "Warning");
    Memo2 = new TFlatMemo(warning);
    Memo2->setObjectName("Memo2");
    Memo2->SetReadOnly(true);
    Memo2->Lines().SetText("Warning!\r\n\r\nCompressing html files will have as a side effect that it will become "
                           "unreadable\r\nwebbrowsers however will display them \r\n");
    AddRow({}, Memo2, warning);
    AddNextButton(warning, "Next1", "Next");

    QWidget* properties = AddPage("TabSheet2", "Set properties");
    const auto option = [this, properties](const char* name, const char* caption, std::initializer_list<bool*> targets) {
        TFlatCheckBox* box = AddCheck(name, caption, false, properties);
        box->OnClick = [box, targets = std::vector<bool*>(targets)](QObject*) {
            for (bool* target : targets)
                *target = box->Checked();
        };
        return box;
    };
    CheckBox1 = option("CheckBox1", "Convert <p align=center> to  <center>", {&HTMLCompressor1.Center});
    CheckBox2 = option("CheckBox2", "Eliminate spaces ", {&HTMLCompressor1.Spaces});
    CheckBox3 = option("CheckBox3", "Remove frontpage webbot tags", {&HTMLCompressor1.Webbots});
    CheckBox4 = option("CheckBox4", "Remove carriage returns", {&HTMLCompressor1.AllReturns, &HTMLCompressor1.Returns});
    CheckBox5 = option("CheckBox5", "Remove inverted comma's", {&HTMLCompressor1.InvCommas});
    AddBackButton(properties, "Back2", "Back");
    AddNextButton(properties, "Next2", "Next");

    QWidget* files = AddPage("TabSheet3", "Select files");
    Edit1 = AddEdit("Edit1", "Source file", {}, files);
    AddPageButton(files, "SourceButton", "...", [this] {
        const std::string name = vx::dialogs::OpenFile(SourceTitle(), HtmlFilter(), Edit1->Text(), "html");
        if (!name.empty())
            Edit1->SetText(name);
    });
    Edit2 = AddEdit("Edit2", "Output file", {}, files);
    AddPageButton(files, "OutputButton", "...", [this] {
        const std::string name = vx::dialogs::SaveFile(OutputTitle(), HtmlFilter(), Edit2->Text(), "html");
        if (!name.empty())
            Edit2->SetText(name);
    });
    AddPageButton(files, "Finish", "Finish", [this] { Finish(); });
    AddBackButton(files, "Back3", "Back");

    QWidget* results = AddPage("TabSheet4", "Results");
    Label4 = SizeLabel(*this, "Label4", "Source filesize", results);
    Label5 = SizeLabel(*this, "Label5", "Output filesize", results);
    Label6 = SizeLabel(*this, "Label6", "Gained", results);
    AddPageButton(results, "Ok", "&Ok", [this] { done(mrOk); });
    Loaded();
}

void Tfrm_compresshtml::Finish()
{
    if (Edit1->Text() == Edit2->Text()) {
        ShowMessage(SameNames());
        Edit2->SetText({});
        return;
    }
    // A file that cannot be read or written is named, and the files page stays.
    if (!HTMLCompressor1.LoadFromFile(Edit1->Text())) {
        ShowMessage(HTMLCompressor1.LastError());
        return;
    }
    QApplication::processEvents();
    HTMLCompressor1.Compress();
    if (!HTMLCompressor1.SaveToFile(Edit2->Text())) {
        ShowMessage(HTMLCompressor1.LastError());
        return;
    }
    QApplication::processEvents();
    const auto loaded = HTMLCompressor1.LoadedSize();
    const auto compressed = HTMLCompressor1.CompressedSize();
    Label4->setText(QString::number(loaded));
    Label5->setText(QString::number(compressed));
    Label6->setText(QString::number(loaded - compressed));
    PageControl1->setCurrentIndex(3);
}
