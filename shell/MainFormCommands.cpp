// The main window's remaining commands and what it lends the dialogs.
#include "shell/MainForm.h"

#include "shell/ImgContainer.h"

void TForm1::CopySidePicture(QLabel& target) const
{
    if (frm_imgcontainer)
        frm_imgcontainer->CopySidePicture(target);
}
