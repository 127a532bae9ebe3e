// "Advertisement rotation file maintainer": reads, edits and writes the
// ad rotator's schedule file, and can write the ASP lines that show an
// advertisement from it.
#pragma once

#include "tools/AdSchedule.h"
#include "tools/qt/framework/GeneratorDialog.h"

class TComboEdit;

class Tfrm_adrotator : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_adrotator(QWidget* parent = nullptr);

    TComboEdit* ComboEdit1; // the schedule file
    TFlatEdit* Edit1;       // redirect
    TFlatEdit* Edit2;       // width
    TFlatEdit* Edit3;       // height
    TFlatEdit* Edit4;       // border
    TFlatComboBox* ComboBox1;
    TFlatEdit* Edit5; // image
    TFlatEdit* Edit6; // home page
    TFlatEdit* Edit7; // alternate text
    TFlatEdit* Edit8; // impressions
    TFlatCheckBox* CheckBox1;

    // Reads the schedule into the dialog in place of what it held; a file
    // that is not a schedule is refused with a message.
    bool OpenSchedule(const std::string& path);
    const vx::tools::TAdSchedule& Schedule() const { return schedule_; }

protected:
    void Activated() override;

private:
    void ShowSchedule();
    void ShowEntry(int index);
    vx::tools::TAdvertisement* Selected();
    void CreateNew();
    void Delete();
    void Finish();

    vx::tools::TAdSchedule schedule_;
};
