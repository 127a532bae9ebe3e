// The RTF export dialog.
#include "tools/qt/RtfExportDialog.h"

#include "controls/flat/TFlatEditUnit.h"
#include "controls/foldertree/DirTree.h"
#include "editor/mwRtfExport.h"
#include "editor/qt/mwCustomEdit.h"
#include "highlighters/hkHTMLSyn.h"
#include "localisation/RunTimeText.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/Dialogs.h"

#include <exception>

using namespace vx::tools;

namespace {

const TRunTimeText ChooseFolderFirst{"Select the folder to export to."};
const TRunTimeText NameTheFile{"Enter the name of the file to export to."};

} // namespace

Tfrm_rtfexport::Tfrm_rtfexport(QWidget* parent)
    : GeneratorDialog("frm_rtfexport", "Export to RTF", parent), mwRtfExport1(std::make_unique<TmwRtfExport>()),
      html_(std::make_unique<ThkHTMLSyn>())
{
    DirTree1 = new TDirTree(this);
    DirTree1->setObjectName("DirTree1");
    AddRow("Folder", DirTree1);
    Edit1 = AddEdit("Edit1", "Filename", "export.rtf");
    memo1 = new TmwCustomEdit(this);
    memo1->setObjectName("memo1");
    memo1->hide();
    memo1->Model().SetHighLighter(html_.get());
    AddCommandButton("SpeedButton1", "&Ok", [this] { Export(); });
    AddCancelButton("SpeedButton2", "&Cancel", false);
    Loaded();
}

Tfrm_rtfexport::~Tfrm_rtfexport()
{
    memo1->Model().SetHighLighter(nullptr);
}

void Tfrm_rtfexport::Export()
{
    const std::string folder = DirTree1->GetSelectedDir();
    if (folder == "?" || folder.empty()) {
        ShowMessage(ChooseFolderFirst());
        return;
    }
    if (Edit1->Text().empty()) {
        ShowMessage(NameTheFile());
        return;
    }
    try {
        memo1->ExportToFile(false, vx::JoinPath(folder, Edit1->Text()), mwRtfExport1.get());
    } catch (const std::exception& error) {
        ShowMessage(ErrorText(error));
        return;
    }
    done(mrOk);
}
