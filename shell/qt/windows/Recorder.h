// The macro recorder's window, created at start-up and kept for the run with
// the recording; its caption shows the recorder's state.
#pragma once

#include "shell/qt/windows/ShellDialog.h"
#include "shell/TRecorder.h"

#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TFlatMemo;

namespace vx::shell {
class TRecorderJournal;
}

class Tfrm_recorder : public TShellDialog {
public:
    explicit Tfrm_recorder(QWidget* parent = nullptr);

    vx::recorder::TRecorder& Recorder();

    QLabel* Image1;
    TFlatMemo* Memo1;
    QLabel* Label1; // shown when the whole desktop is recorded
    QLabel* Label2; // shown when only the program's own windows are, there being no X display
    QLabel* Label3; // the same on an X display without the extensions the desktop needs
    QGroupBox* GroupBox1; // "Speed factor (%)"
    QSpinBox* SpinEdit1;
    QPushButton* Button1; // record
    QPushButton* Button2; // stop
    QPushButton* Button3; // play back
    QPushButton* Button4; // load
    QPushButton* Button5; // save

    void FormActivate() override;
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

private:
    void stateChanged(vx::recorder::TRecorder::TState state);
    // The dialog's file name, taken from the settings when it is empty; the
    // choice is remembered there; "" when cancelled.
    std::string chooseFile(bool save, std::string& dialogName);

    vx::shell::TRecorderJournal* journal_;
    const std::string iniPath_;
    std::string openName_;
    std::string saveName_;
};

extern Tfrm_recorder* frm_recorder;
