// The script encoder launcher.
#include "tools/qt/EncryptDialog.h"

#include "controls/flat/TFlatEditUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "tools/qt/framework/FileChooser.h"

#include <QGroupBox>
#include <QProcess>
#include <QStringList>
#include <QVBoxLayout>

using namespace vx::tools;

namespace {

const TRunTimeText ChooseSourceFirst{"Select the file to encrypt first."};
const TRunTimeText NameTheOutput{"Enter the name of the output file."};
const TRunTimeText NoEncoder{"The script encoder is not installed (%1)."};
const TRunTimeText EncoderDidNotStart{"The script encoder could not be started (%1)."};

} // namespace

Tfrm_enc::Tfrm_enc(QWidget* parent)
    : GeneratorDialog("frm_enc", "Encrypt sources", parent, {.SidePicture = false})
{
    GroupBox1 = new QGroupBox("<Source file>", this);
    GroupBox1->setObjectName("GroupBox1");
    Files = new TFileChooser(GroupBox1, {"Source files|*.asp;*.vbs;*.inc;*.htm;*.html"});
    (new QVBoxLayout(GroupBox1))->addWidget(Files);
    AddRow({}, GroupBox1);
    Edit1 = AddEdit("Edit1", "Name of output file;");
    AddCommandButton("SpeedButton1", "Encrypt file    ", [this] { Encrypt(); });
    AddCancelButton("SpeedButton2", "       Cancel", false);
    Loaded();
}

std::string Tfrm_enc::EncoderPath()
{
    return vx::ProgramPath("data\\encrypt\\screnc");
}

void Tfrm_enc::Encrypt()
{
    const std::string source = Files->SelectedPath();
    if (source.empty()) {
        ShowMessage(ChooseSourceFirst());
        return;
    }
    const std::string output = Edit1->Text();
    if (output.empty()) {
        ShowMessage(NameTheOutput());
        return;
    }
    const std::string encoder = EncoderPath();
    if (!vx::FileExists(encoder)) {
        ShowMessage(NoEncoder({encoder}));
        return;
    }
    // One argument each, so paths with blanks reach the encoder whole.
    const QStringList arguments{vx::ToQString(source), vx::ToQString(vx::JoinPath(Files->Directory(), output)),
                                "/s"};
    if (!QProcess::startDetached(vx::ToQString(encoder), arguments, vx::ToQString(vx::ProgramFolder())))
        ShowMessage(EncoderDidNotStart({encoder}));
}
