// The ASP generator dialogs.
#include "tools/qt/AspGenerators.h"

#include "controls/edits/ToolEdit.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/TStringList.h"
#include "platform/qt/Dialogs.h"
#include "tools/AspTemplates.h"
#include "tools/DateTimeText.h"
#include "tools/qt/DialogFields.h"

#include <QLabel>

#include <algorithm>
#include <cctype>
#include <filesystem>

using namespace vx::tools;

namespace {

const TRunTimeFilter AccessFilter{"Microsoft Access|*.mdb|All database files|*.mdb"};
const TRunTimeFilter AccessDatabaseFilter{"Access database|*.mdb"};
// How the cookie wizard shows its expiry date: "MMMM" the month's name, "d"
// the day, "yyyy" the year. The page's code gets the English form in every
// language: the server reads the date, not the user.
const TRunTimeText ExpiryDateForm{"MMMM d, yyyy"};

// A date the field shows in the language's form, as the code writes it; any
// other text as it stands.
std::string ExpiryInCode(const std::string& shown)
{
    const std::optional<TClockReading> date = ReadDate(ExpiryDateForm(), shown);
    return date ? FormatDateTime(ExpiryDateForm.English(), *date, vx::BuiltInFormatSettings()) : shown;
}

} // namespace

Tfrm_cookie::Tfrm_cookie(QWidget* parent, const TClock& clock)
    : GeneratorDialog("frm_cookie", "Cookie Wizard", parent, {.Left = 40, .Top = 40, .SidePicture = false})
{
    edit1 = AddEdit("edit1", "Cookie Name ");
    // A cookie made with the defaults lives a year.
    edit2 = AddEdit("edit2", "Expiry date", FormatDateTime(ExpiryDateForm(), AYearLater(clock())));
    edit3 = AddEdit("edit3", "Path", "/www/home");
    AddGenerateButton("SpeedButton1", "Generate",
                      [this] { return CookieLines(edit1->Text(), ExpiryInCode(edit2->Text()), edit3->Text()); });
    AddCancelButton("SpeedButton2", "Cancel");
    // The date is written in the language the window opened in; a language switch leaves what the field holds.
    TStringList rules;
    rules.Add("-edit2.Text");
    KMLang1->SetLocalRules(rules);
    Loaded();
}

Tfrm_cookiedetect::Tfrm_cookiedetect(QWidget* parent)
    : GeneratorDialog("frm_cookiedetect", "Cookie detect builder", parent)
{
    Edit1 = AddEdit("Edit1", "Function name", "Is_Cookie_Supported");
    CheckBox1 = AddCheck("CheckBox1", "Include sample call");
    AddGenerateButton("SpeedButton1", "&Ok", [this] { return CookieDetectLines(Edit1->Text(), CheckBox1->Checked()); });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_aspcounter::Tfrm_aspcounter(QWidget* parent) : GeneratorDialog("frm_aspcounter", "Page Counter", parent)
{
    Edit1 = AddEdit("Edit1", "Full path to counter file :", "mycounter.cdx");
    Edit2 = AddEdit("Edit2", "Function name :", "My_Counter");
    CheckBox1 = AddCheck("CheckBox1", "Show counter on screen");
    AddGenerateButton("SpeedButton1", "&Ok",
                      [this] { return CounterLines(Edit1->Text(), Edit2->Text(), CheckBox1->Checked()); });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_responsewiz::Tfrm_responsewiz(QWidget* parent)
    : GeneratorDialog("frm_responsewiz", "Response builder", parent, {.Left = 40, .Top = 50, .SidePicture = false})
{
    ComboBox1 = AddCombo("ComboBox1", "Response.", {});
    for (const char* item : ResponseItems)
        ComboBox1->Items().Add(item);
    ComboBox1->SetStyle(TComboBoxStyle::csDropDownList);
    ComboBox1->SetItemIndex(0);
    AddGenerateButton("SpeedButton1", "&Ok", [this] { return TLines{ResponseLine(ComboBox1->Text())}; });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_ado::Tfrm_ado(QWidget* parent) : GeneratorDialog("frm_ado", "Ado Connection wizard", parent)
{
    QWidget* server = AddPage("TabSheet1", "Server connection");
    edit1 = AddEdit("edit1", "Connection name", "my_connection", server);
    edit2 = AddEdit("edit2", "SQL String name", "my_sql_string", server);
    TFlatSpeedButton* next = AddNextButton(server, "SpeedButton3", "Next");
    next->OnClick = [this, turn = next->OnClick](QObject* sender) {
        turn(sender);
        memo2->Lines().Clear();
        memo2->Lines().Add(AdoQueryStart(edit2->Text()));
    };
    QWidget* records = AddPage("TabSheet2", "Record set && DSN");
    edit3 = AddEdit("edit3", "Name of record set", "my_record_set", records);
    edit4 = AddEdit("edit4", "DSN Name", "my_dsn_name", records);
    edit5 = AddEdit("edit5", "DSN password", "db_sample_value", records);
    AddBackButton(records, "SpeedButton4", "Back");
    AddNextButton(records, "SpeedButton5", "Next");
    QWidget* query = AddPage("TabSheet3", "SQL Query");
    memo2 = AddMemo(*this, "memo2", "", query);
    AddBackButton(query, "SpeedButton6", "Back");
    AddGenerateButton("SpeedButton1", "Finish", [this] {
        return AdoLines({edit1->Text(), edit2->Text(), edit3->Text(), edit4->Text(), edit5->Text(),
                         MemoLines(*memo2)});
    });
    AddCancelButton("SpeedButton2", "Cancel");
    Loaded();
}

Tfrm_dsnless::Tfrm_dsnless(QWidget* parent) : GeneratorDialog("frm_dsnless", "DSN-Less connection", parent)
{
    edit1 = AddFileEdit(*this, "edit1", "Database name", AccessFilter,
                        [](const std::string& path) { return path; });
    Edit2 = AddEdit("Edit2", "Connection string name", "my_connection");
    Edit3 = AddEdit("Edit3", "SQL String name", "my_sql_string");
    Edit4 = AddEdit("Edit4", "Recordset name string", "my_record");
    Edit5 = AddEdit("Edit5", "SQL Query String", "my_sql_string");
    AddGenerateButton("SpeedButton1", "Ok", [this] {
        return DsnLessLines({edit1->Text(), Edit2->Text(), Edit3->Text(), Edit4->Text(), Edit5->Text()});
    });
    AddCancelButton("SpeedButton2", "Cancel");
    Loaded();
}

Tfrm_mailwiz::Tfrm_mailwiz(QWidget* parent) : GeneratorDialog("frm_mailwiz", "Mail form Wizard", parent)
{
    Edit1 = AddEdit("Edit1", "To ? (your email address)");
    auto* note = new QLabel("The form posts to sendmail.asp, which sends the mail through CDO of the NT option pack.",
                            this);
    note->setWordWrap(true);
    AddRow({}, note);
    AddGenerateButton("SpeedButton1", "Generate form", [this] { return MailFormLines(Edit1->Text()); });
    AddCancelButton("SpeedButton2", "Cancel");
    Loaded();
}

Tfrm_massmailing::Tfrm_massmailing(QWidget* parent)
    : GeneratorDialog("frm_massmailing", "Mass Mailing Builder", parent)
{
    QWidget* data = AddPage("TabSheet1", "Data Specifics");
    ComboEdit1 = AddFileEdit(*this, "ComboEdit1", "Database", AccessDatabaseFilter, [](const std::string& path) {
        std::string name = std::filesystem::path(path).filename().string();
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        return name;
    }, data);
    Edit1 = AddEdit("Edit1", "Fieldname", "My_Fieldname", data);
    Edit2 = AddEdit("Edit2", "Your name", {}, data);
    Edit3 = AddEdit("Edit3", "Your email address", {}, data);
    Edit5 = AddEdit("Edit5", "Tablename", "My_Email_table", data);
    AddNextButton(data, "SpeedButton3", "&Next");
    QWidget* mail = AddPage("TabSheet2", "Email specifics");
    Edit4 = AddEdit("Edit4", "Subject", {}, mail);
    msgmemo = AddMemo(*this, "msgmemo", "Message text", mail);
    AddBackButton(mail, "SpeedButton4", "&Back");
    AddNextButton(mail, "SpeedButton5", "&Next");
    QWidget* finish = AddPage("TabSheet3", "Generate script");
    AddBackButton(finish, "SpeedButton6", "&Back");
    AddGenerateButton("SpeedButton1", "&Finish", [this] {
        const TLines message = MemoLines(*msgmemo);
        // The message memo shows its lines as the script's body holds them.
        TStrings& memo = msgmemo->Lines();
        memo.BeginUpdate();
        for (int i = 0; i < memo.Count(); ++i)
            memo.Put(i, MassMailBodyLine(memo[i]));
        memo.EndUpdate();
        return MassMailLines(
            {ComboEdit1->Text(), Edit1->Text(), Edit3->Text(), Edit5->Text(), Edit4->Text(), message});
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_coldmail::Tfrm_coldmail(QWidget* parent) : GeneratorDialog("frm_coldmail", "Cold Fusion mail wizard", parent)
{
    fromed = AddEdit("fromed", "Your email address");
    fromed->setPlaceholderText("you@example.com");
    Edit2 = AddEdit("Edit2", "Recipients address");
    Edit2->setPlaceholderText("someone@example.com");
    Edit3 = AddEdit("Edit3", "Subject", "Subject");
    submemo = AddMemo(*this, "submemo", "Message body");
    submemo->Lines().Add("Message text goes here");
    AddGenerateButton("SpeedButton1", "&Ok", [this] {
        return ColdMailLines(Edit2->Text(), fromed->Text(), Edit3->Text(), MemoLines(*submemo));
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}
