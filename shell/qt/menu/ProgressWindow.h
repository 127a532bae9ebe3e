// The progress window of the long line-by-line commands: a bar and the number
// of the line being worked on out of the last line's, shown while the command
// runs.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QLabel;
class QProgressBar;

class Tfrm_progress : public QDialog {
public:
    explicit Tfrm_progress(QWidget* parent, int maximum);

    // Moves the bar and the counter to line and lets pending events through.
    void Step(int line);

    QProgressBar* ProgressBar1;
    QLabel* Label1; // "Progress"
    QLabel* Label2; // "Scanning  line "
    QLabel* Label3; // the counter, "00042 of 01234"

private:
    void ShowCounter(int line);
};
