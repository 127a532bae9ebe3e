// The clipboard viewer dialog's window.
#include "shell/qt/windows/ClipViewForm.h"

#include "controls/clipboard/ClipView.h"
#include "shell/qt/windows/ShellDialog.h"

#include <QVBoxLayout>

Tfrm_clipview::Tfrm_clipview(QWidget* parent) : GeneratorDialog("frm_clipview", "Clipboard viewer", parent)
{
    ClipboardViewer1 = Named(new vx::TClipboardViewer(this), "ClipboardViewer1");
    ClipboardViewer1->setFrameShape(QFrame::NoFrame);
    Client()->insertWidget(0, ClipboardViewer1, 1);
    AddCloseButton("SpeedButton1", "&Close");
    resize(480, 340);
    Loaded();
}
