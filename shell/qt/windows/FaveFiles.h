// The favourite files: a list the user keeps of files to open again.
#pragma once

#include "shell/FaveList.h"
#include "tools/qt/framework/GeneratorDialog.h"

class QListWidget;

class Tfrm_favefiles : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_favefiles(QWidget* parent = nullptr);

    QListWidget* ListBox1;
    TFlatSpeedButton* SpeedButton1; // "Add file to list"
    TFlatSpeedButton* SpeedButton2; // "Remove from list"
    TFlatSpeedButton* SpeedButton3; // "Load file in editor"

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();

protected:
    void Activated() override;

private:
    void ShowList();

    vx::shell::TFaveList faves_;
};
