// The text-to-HTML window.
#include "tools/qt/TextToHtmlDialog.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/TextEncoding.h"
#include "platform/qt/Dialogs.h"
#include "tools/TextToHtml.h"
#include "tools/qt/framework/MemoLines.h"

#include <QApplication>
#include <QProgressBar>

using namespace vx::tools;

namespace {

const TRunTimeText SelectTitle{"Select file"};
const TRunTimeText SaveTitle{"Save file"};
const TRunTimeFilter TextFilter{"Textfiles|*.txt;*.asc;*.doc"};
const TRunTimeFilter HtmlFilter{"htmlfiles|*.htm;*.html"};

TFlatMemo* HiddenMemo(QWidget* parent, const char* name)
{
    auto* memo = new TFlatMemo(parent);
    memo->setObjectName(name);
    memo->hide();
    return memo;
}

} // namespace

Tfrm_txt2html::Tfrm_txt2html(QWidget* parent) : GeneratorDialog("frm_txt2html", "Tex to Html", parent)
{
    memo1 = HiddenMemo(this, "memo1");
    memo2 = HiddenMemo(this, "memo2");
    checkbox1 = AddCheck("checkbox1", "Convert returns to <br>");
    CheckBox2 = AddCheck("CheckBox2", "Convert first line to title");
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setValue(0);
    AddRow("Progress", ProgressBar1);
    AddCommandButton("SpeedButton1", "Convert", [this] { Convert(); })
        ->setToolTip("Click here to convert selected file to html");
    AddCloseButton("SpeedButton2", "Cancel")->setToolTip("Cancel action");
    Loaded();
}

void Tfrm_txt2html::Convert()
{
    const std::string source = vx::dialogs::OpenFile(SelectTitle(), TextFilter(), "", "txt");
    // The page is stored as the text was: UTF-8, or Windows-1252 byte for byte.
    vx::TTextEncoding encoding = vx::TTextEncoding::Utf8;
    if (!source.empty()) {
        memo1->Lines().Clear();
        memo2->Lines().Clear();
        try {
            vx::TDecodedText text = vx::DecodeDocument(vx::ReadWholeFile(source));
            memo1->Lines().SetText(text.Text);
            encoding = text.Encoding;
        } catch (const Exception& e) {
            // Nothing is offered for saving from a file that could not be read.
            ShowMessage(ErrorText(e));
            return;
        }
        ProgressBar1->setRange(0, std::max(0, memo1->Lines().Count() - 1));
        const std::vector<std::string> page =
            TextToHtmlLines(MemoLinesOf(*memo1), {checkbox1->Checked(), CheckBox2->Checked()}, [this](std::size_t i) {
                ProgressBar1->setValue(static_cast<int>(i));
                if (i % 512 == 0)
                    QApplication::processEvents();
            });
        AddMemoLines(*memo2, page);
    }
    memo2->Lines().Add("</html>");
    const std::string target = vx::dialogs::SaveFile(SaveTitle(), HtmlFilter(), "", "htm");
    if (!target.empty()) {
        try {
            const std::string page = memo2->Lines().Text();
            // The page holds the text's characters and ASCII only, which its encoding holds.
            vx::WriteFileAtomic(target, vx::EncodeDocument(page, encoding).value_or(page));
        } catch (const Exception& e) {
            ShowMessage(ErrorText(e));
            return;
        }
    }
    done(mrOk);
}
