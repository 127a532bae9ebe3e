// The macro recorder's window.
#include "shell/Recorder.h"

#include "controls/flat/TFlatMemoUnit.h"

#include <QHBoxLayout>

Tfrm_recorder* frm_recorder = nullptr;

Tfrm_recorder::Tfrm_recorder(QWidget* parent) : TShellDialog("frm_recorder", "Idle", parent)
{
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    auto* layout = new QHBoxLayout(this);
    Memo1 = new TFlatMemo(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    for (const char* line : {"Recording of movement,", "", "This tool enables you to record movements ",
                             "within the editor you can record creating a ", "procedure for  example, save the recording",
                             "and play it  back when you want to do the ", "same  routine again."})
        Memo1->Lines().Add(line);
    layout->addWidget(Memo1);
    Loaded();
}
