// The assistant window: a picture and a text balloon that show tips and ask
// the main window's yes/no questions. It has no frame: only its visible
// controls show, and it is dragged by any part that is not a control of its own.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

#include <QPoint>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TFlatMemo;

class Tfrm_profhelp : public TShellDialog {
public:
    explicit Tfrm_profhelp(QWidget* parent = nullptr);

    QFrame* Shape1;  // the balloon around the memo
    QLabel* Label1;  // "Click here to drag assistant"
    TFlatMemo* Memo1;
    QLabel* Image1;  // the picture panel
    QLabel* Image2;  // the tip picture
    QLabel* Image3;  // the speaking picture
    QPushButton* Button1; // "&No": hides both buttons, modal result Cancel
    QPushButton* Button2; // "&Yes": modal result OK
    QLineEdit* Edit1;
    QMenu* PopupMenu1;

    void FormActivate() override;
    // Lower right over the main window, above its status bars.
    void MoveToLowerRight();
    void MoveToUpperLeft();
    // The memo's font one point larger or smaller; never below one point.
    void ChangeFontSize(int delta);
    // Clips the window to its visible controls: a hidden one leaves a hole.
    void RebuildShape();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void BuildPopupMenu();
    void StartDrag(const QPoint& globalPos);
    void DragTo(const QPoint& globalPos);

    QPoint dragOffset_;
};

extern Tfrm_profhelp* frm_profhelp;
