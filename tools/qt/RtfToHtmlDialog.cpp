// The RTF-to-HTML window.
#include "tools/qt/RtfToHtmlDialog.h"

#include "controls/colormemo/ColMemo.h"
#include "localisation/RunTimeText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/qt/Dialogs.h"
#include "tools/RtfToHtml.h"
#include "tools/qt/framework/FileChooser.h"

using namespace vx::tools;

Tfrm_rtfhtml::Tfrm_rtfhtml(QWidget* parent) : GeneratorDialog("frm_rtfhtml", "Import RTF to HTML format", parent)
{
    Files = new TFileChooser(this, {"Rtf files|*.rtf"});
    AddRow({}, Files);
    ColorMemo1 = new vx::TColorMemo(this);
    ColorMemo1->setObjectName("ColorMemo1");
    ColorMemo1->setMinimumSize(420, 240);
    AddRow({}, ColorMemo1);
    AddCommandButton("SpeedButton1", "Convert", [this] { Convert(); });
    AddCloseButton("SpeedButton2", "Close");
    Loaded();
}

void Tfrm_rtfhtml::Activated()
{
    ColorMemo1->Lines().Clear();
}

void Tfrm_rtfhtml::Convert()
{
    const std::string path = Files->SelectedPath();
    if (path.empty())
        return;
    std::string rtf;
    try {
        rtf = vx::ReadWholeFile(path);
    } catch (const Exception& e) {
        ShowMessage(ErrorText(e));
        return;
    }
    // The whole file is one text: tables and styles run over its lines.
    TStringList html;
    html.SetText(RtfToHtml(rtf));
    TStrings& memo = ColorMemo1->Lines();
    memo.BeginUpdate();
    for (int i = 0; i < html.Count(); ++i)
        if (!html[i].empty())
            memo.Add(html[i]);
    memo.EndUpdate();
}
