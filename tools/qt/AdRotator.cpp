// The ad rotator schedule editor.
#include "tools/qt/AdRotator.h"

#include "controls/edits/ToolEdit.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/Utf8.h"
#include "platform/qt/Dialogs.h"
#include "tools/qt/DialogFields.h"

#include <QTabWidget>

#include <exception>
#include <filesystem>

using namespace vx::tools;

namespace {

const TRunTimeText NotASchedule{" Not a valid ad rotator schedule file "};
const TRunTimeText InformationTitle{"Information"};
const TRunTimeText DeleteQuestion{" Are you sure you want delete this entry? "};
const TRunTimeText ChooseScheduleFirst{"Choose a schedule file first."};
const TRunTimeFilter TextFilter{"Text files|*.txt"};

// A schedule named without a folder lives in the user's data folder.
std::string SchedulePath(const std::string& text)
{
    if (text.empty() || std::filesystem::path(text).has_parent_path())
        return text;
    return vx::JoinPath(vx::DataFolder(), text);
}

} // namespace

Tfrm_adrotator::Tfrm_adrotator(QWidget* parent)
    : GeneratorDialog("frm_adrotator", "Advertisement rotation file maintainer", parent)
{
    QWidget* file = AddPage("TabSheet1", "Rotator file");
    ComboEdit1 = AddFileEdit(*this, "ComboEdit1", "Name of file", TextFilter,
                             [this](const std::string& path) { return OpenSchedule(path) ? path : std::string(); },
                             file, "txt");
    ComboEdit1->SetText("ad_rotator.txt");
    Edit1 = AddEdit("Edit1", "Redirect", {}, file);
    Edit2 = AddEdit("Edit2", "Width", {}, file);
    Edit3 = AddEdit("Edit3", "Height", {}, file);
    Edit4 = AddEdit("Edit4", "Border", {}, file);
    AddNextButton(file, "SpeedButton1", "&Next");
    AddPageButton(file, "SpeedButton2", "Create new scheduler", [this] { CreateNew(); });

    QWidget* banner = AddPage("TabSheet2", "Banner specifics");
    ComboBox1 = AddCombo("ComboBox1", "Entry", {}, banner);
    ComboBox1->SetStyle(TComboBoxStyle::csDropDownList);
    ComboBox1->setToolTip("Select entry in scheduler to edit");
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ShowEntry(ComboBox1->ItemIndex()); });
    Edit5 = AddEdit("Edit5", "Image location", {}, banner);
    Edit6 = AddEdit("Edit6", "Homepage", {}, banner);
    Edit7 = AddEdit("Edit7", "Alternate text", {}, banner);
    Edit8 = AddEdit("Edit8", "Impressions", {}, banner);
    // Every change goes into the selected entry at once, so nothing typed is
    // lost whichever button comes next.
    const std::pair<TFlatEdit*, std::string TAdvertisement::*> fields[] = {
        {Edit5, &TAdvertisement::Image},
        {Edit6, &TAdvertisement::HomePage},
        {Edit7, &TAdvertisement::AltText},
        {Edit8, &TAdvertisement::Impressions}};
    for (const auto& [edit, member] : fields)
        connect(edit, &QLineEdit::textEdited, this, [this, edit, member] {
            if (TAdvertisement* ad = Selected())
                ad->*member = edit->Text();
        });
    AddBackButton(banner, "SpeedButton3", "&Back");
    AddPageButton(banner, "SpeedButton4", "Add new record", [this] {
        schedule_.Ads.push_back(NewAdvertisement());
        ShowSchedule();
        ComboBox1->SetItemIndex(ComboBox1->Items().Count() - 1);
        ShowEntry(ComboBox1->ItemIndex());
    });
    AddPageButton(banner, "SpeedButton5", "Delete record", [this] { Delete(); });
    AddNextButton(banner, "SpeedButton6", "&Next");

    QWidget* finalize = AddPage("TabSheet3", "Finalize");
    CheckBox1 = AddCheck("CheckBox1", "Generate asp code", false, finalize);
    AddCommandButton("SpeedButton7", "&Finish", [this] { Finish(); });
    AddCancelButton("SpeedButton8", "&Cancel");
    Loaded();
}

void Tfrm_adrotator::Activated()
{
    schedule_ = {};
    ShowSchedule();
}

bool Tfrm_adrotator::OpenSchedule(const std::string& path)
{
    std::optional<TAdSchedule> read;
    try {
        read = ParseAdSchedule(vx::TextFromFileBytes(vx::ReadWholeFile(path)));
    } catch (const std::exception& error) {
        ShowMessage(ErrorText(error));
        return false;
    }
    if (!read) {
        MessageBox(NotASchedule(), InformationTitle(), MB_ICONINFORMATION);
        ComboEdit1->SetText({});
        return false;
    }
    schedule_ = std::move(*read);
    ShowSchedule();
    return true;
}

void Tfrm_adrotator::ShowSchedule()
{
    Edit1->SetText(schedule_.Redirect);
    Edit2->SetText(schedule_.Width);
    Edit3->SetText(schedule_.Height);
    Edit4->SetText(schedule_.Border);
    ComboBox1->Items().Clear();
    for (const TAdvertisement& ad : schedule_.Ads)
        ComboBox1->Items().Add(ad.AltText);
    ComboBox1->SetItemIndex(schedule_.Ads.empty() ? -1 : 0);
    ShowEntry(ComboBox1->ItemIndex());
}

TAdvertisement* Tfrm_adrotator::Selected()
{
    const int index = ComboBox1->ItemIndex();
    return index >= 0 && index < static_cast<int>(schedule_.Ads.size()) ? &schedule_.Ads[index] : nullptr;
}

void Tfrm_adrotator::ShowEntry(int)
{
    const TAdvertisement* ad = Selected();
    const TAdvertisement none;
    Edit5->SetText((ad ? ad : &none)->Image);
    Edit6->SetText((ad ? ad : &none)->HomePage);
    Edit7->SetText((ad ? ad : &none)->AltText);
    Edit8->SetText((ad ? ad : &none)->Impressions);
}

void Tfrm_adrotator::CreateNew()
{
    ComboEdit1->SetText(SchedulePath(ComboEdit1->Text()));
    schedule_ = NewAdSchedule();
    ShowSchedule();
}

void Tfrm_adrotator::Delete()
{
    if (!Selected())
        return;
    if (MessageDlg(DeleteQuestion(), mtWarning, mbYesNo) == mrNo)
        return;
    schedule_.Ads.erase(schedule_.Ads.begin() + ComboBox1->ItemIndex());
    ShowSchedule();
}

void Tfrm_adrotator::Finish()
{
    const std::string path = SchedulePath(ComboEdit1->Text());
    if (path.empty()) {
        ShowMessage(ChooseScheduleFirst());
        return;
    }
    TAdSchedule schedule = schedule_;
    schedule.Redirect = Edit1->Text();
    schedule.Width = Edit2->Text();
    schedule.Height = Edit3->Text();
    schedule.Border = Edit4->Text();
    try {
        SaveAdSchedule(path, schedule);
    } catch (const std::exception& error) {
        // Nothing was written: the dialog stays open with everything the user typed.
        ShowMessage(ErrorText(error));
        return;
    }
    TStrings& memo = Memo1->Lines();
    memo.Clear();
    if (CheckBox1->Checked())
        for (const std::string& line : AdRotatorLines(path))
            memo.Add(line);
    done(mrOk);
}
