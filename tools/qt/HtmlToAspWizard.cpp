// The HTML-to-ASP wizard's two pages.
#include "tools/qt/HtmlToAspWizard.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/Utf8.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "tools/HtmlToAsp.h"
#include "tools/qt/framework/FileChooser.h"
#include "tools/qt/framework/MemoLines.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>

using namespace vx::tools;

namespace {

const TRunTimeText ChooseHtmlFile{"Select the html file to convert"};
const TRunTimeText ProcessingLine{"Processing line %1"};
const TRunTimeText WritingLines{"Writing line.."};

} // namespace

Tfrm_cvthtml::Tfrm_cvthtml(QWidget* parent)
    : GeneratorDialog("frm_cvthtml", "Convert html to asp/vbscript", parent)
{
    QWidget* files = AddPage("TabSheet1", "Select file(s)");
    Files = new TFileChooser(files, {"Html Files|*.htm;*.html;*.shtml;*.htt", "Htm files|*.htm",
                                     "Html files|*.html", "Shtml files|*.shtml", "Htt files|*.htt"});
    AddRow({}, Files, files);
    AddNextButton(files, "SpeedButton1", "&Next");

    QWidget* options = AddPage("TabSheet2", "Options");
    CheckBox1 = AddCheck("CheckBox1", "Transform whole file into VBScript function", false, options);
    Panel3 = new QWidget(options);
    Panel3->setObjectName("Panel3");
    Edit1 = AddEdit("Edit1", "Function name", "my_function", Panel3);
    AddRow({}, Panel3, options);
    Panel3->setEnabled(false);
    CheckBox1->OnClick = [this](QObject*) { Panel3->setEnabled(CheckBox1->Checked()); };
    AddBackButton(options, "SpeedButton3", "&Back");
    AddPageButton(options, "SpeedButton2", "&Finish", [this] { Finish(); });
    StatusBar1 = new QLabel(options);
    StatusBar1->setObjectName("StatusBar1");
    AddRow("Status", StatusBar1, options);
    ProgressBar1 = new QProgressBar(options);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setValue(0);
    AddRow({}, ProgressBar1, options);
    memo1 = new TFlatMemo(options);
    memo1->setObjectName("memo1");
    memo1->hide();
    memo2 = new TFlatMemo(options);
    memo2->setObjectName("memo2");
    memo2->hide();
    Loaded();
}

void Tfrm_cvthtml::Finish()
{
    memo1->Lines().Clear();
    memo2->Lines().Clear();
    ProgressBar1->setValue(0);
    // Without a readable file the choice is made again.
    const std::string path = Files->SelectedPath();
    try {
        memo1->Lines().SetText(vx::TextFromFileBytes(vx::ReadWholeFile(path)));
    } catch (const Exception& e) {
        ShowMessage(path.empty() ? ChooseHtmlFile() : ErrorText(e));
        PageControl1->setCurrentIndex(0);
        return;
    }
    const std::vector<std::string> source = MemoLinesOf(*memo1);
    ProgressBar1->setRange(0, std::max<int>(0, memo1->Lines().Count() - 1));
    const std::vector<std::string> result =
        HtmlToAspLines(source, CheckBox1->Checked(), Edit1->Text(), [this](std::size_t i) {
            StatusBar1->setText(vx::ToQString(ProcessingLine({std::to_string(i)})));
            ProgressBar1->setValue(static_cast<int>(i));
            // Long files keep the window responsive.
            if (i % 512 == 0)
                QApplication::processEvents();
        });
    AddMemoLines(*memo2, result);
    StatusBar1->setText(vx::ToQString(WritingLines()));
    ProgressBar1->setValue(0);
    PageControl1->setCurrentIndex(0);
    done(mrOk);
}
