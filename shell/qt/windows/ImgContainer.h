// The image container: a never-shown window that holds the side picture every
// dialog copies into its own picture when it is activated.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QLabel;
class QPixmap;

class Tfrm_imgcontainer : public TShellDialog {
public:
    explicit Tfrm_imgcontainer(QWidget* parent = nullptr);

    QLabel* Image1;
    // Copies the shared side picture into a dialog's own picture.
    void CopySidePicture(QLabel& target) const;
};

extern Tfrm_imgcontainer* frm_imgcontainer;
