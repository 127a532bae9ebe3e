// The ASP, ad rotator, Perl, SQL table and RTF export dialogs driven
// through their widgets.
#include "tests/controls/FlatTestSupport.h"
#include "tests/support/TempDir.h"
#include "tests/tools/DialogClicks.h"
#include "tests/tools/FakeMainWindow.h"
#include "tests/tools/ScriptCheck.h"

#include "controls/edits/ToolEdit.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "controls/foldertree/DirTree.h"
#include "editor/qt/mwCustomEdit.h"
#include "platform/qt/Dialogs.h"
#include "tools/qt/AdRotator.h"
#include "tools/qt/AspGenerators.h"
#include "tools/qt/PerlDialogs.h"
#include "tools/qt/RtfExportDialog.h"
#include "tools/qt/SqlTableDialog.h"

#include <QLabel>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using vx::tools::GeneratorDialog;
using vx::tools::TLines;

using vx::test::ClickButton;

namespace {

void ClickEllipsis(TComboEdit& edit)
{
    auto* button = edit.findChild<QWidget*>();
    ASSERT_NE(button, nullptr);
    vx::test::Click(*button, button->rect().center());
}

class ScriptDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& request) {
            requests.push_back(request);
            vx::dialogs::Answer answer{answers.empty() ? mrCancel : answers.front().result,
                                       answers.empty() ? std::string() : answers.front().path};
            if (!answers.empty())
                answers.erase(answers.begin());
            return answer;
        });
    }
    void TearDown() override { vx::dialogs::SetAnswerer({}); }

    vx::test::FakeMainWindow main;
    vx::test::TempDir dir;
    std::vector<vx::dialogs::Answer> answers;
    std::vector<vx::dialogs::Request> requests;
};

} // namespace

TEST_F(ScriptDialogs, CancelLeavesNothingToInsert)
{
    std::vector<std::unique_ptr<GeneratorDialog>> dialogs;
    dialogs.push_back(std::make_unique<Tfrm_cookie>());
    dialogs.push_back(std::make_unique<Tfrm_cookiedetect>());
    dialogs.push_back(std::make_unique<Tfrm_aspcounter>());
    dialogs.push_back(std::make_unique<Tfrm_responsewiz>());
    dialogs.push_back(std::make_unique<Tfrm_ado>());
    dialogs.push_back(std::make_unique<Tfrm_dsnless>());
    dialogs.push_back(std::make_unique<Tfrm_mailwiz>());
    dialogs.push_back(std::make_unique<Tfrm_coldmail>());
    dialogs.push_back(std::make_unique<Tfrm_perlmail>());
    dialogs.push_back(std::make_unique<Tfrm_makeperl>());
    dialogs.push_back(std::make_unique<Tfrm_make_perl>());
    dialogs.push_back(std::make_unique<Tfrm_sqlmaketable>());
    dialogs[9]->findChild<TFlatMemo*>("Memo2")->Lines().Add("selected");
    for (auto& dialog : dialogs) {
        dialog->show();
        ClickButton(*dialog, "SpeedButton1");
        EXPECT_FALSE(dialog->ResultLines().empty()) << dialog->objectName().toStdString();
        dialog->show();
        ClickButton(*dialog, "SpeedButton2");
        EXPECT_TRUE(dialog->ResultLines().empty()) << dialog->objectName().toStdString();
        EXPECT_EQ(dialog->result(), mrCancel);
    }
}

TEST_F(ScriptDialogs, AdoQueryStartsFromTheSqlName)
{
    Tfrm_ado dialog;
    dialog.show();
    dialog.edit2->SetText("q");
    ClickButton(dialog, "SpeedButton3");
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 1);
    EXPECT_EQ(dialog.memo2->Lines()[0], "q = \"select * from\"");
    ClickButton(dialog, "SpeedButton5");
    dialog.memo2->Lines().Add(" & \" t\"");
    ClickButton(dialog, "SpeedButton1");
    const TLines lines = dialog.ResultLines();
    EXPECT_EQ(lines[3], " q = \"select * from\" & \" t\" ");
    EXPECT_EQ(lines[4], " set my_record_set = my_connection.execute(q)");
    EXPECT_EQ(vx::test::UnclosedVBStrings(lines), TLines{});
}

TEST_F(ScriptDialogs, FileFieldsTakeTheChosenFile)
{
    answers = {{mrOk, "/data/Web/Shop.MDB"}, {mrOk, "/data/Web/Shop.MDB"}};
    Tfrm_dsnless dsnless;
    dsnless.show();
    ClickEllipsis(*dsnless.edit1);
    EXPECT_EQ(dsnless.edit1->Text(), "/data/Web/Shop.MDB");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, "Microsoft Access|*.mdb|All database files|*.mdb");
    ClickButton(dsnless, "SpeedButton1");
    EXPECT_EQ(dsnless.ResultLines()[4],
              " my_connection = \"DRIVER={Microsoft Access Driver (*.mdb)}; DBQ=/data/Web/Shop.MDB\"");

    Tfrm_massmailing mass;
    mass.show();
    ClickEllipsis(*mass.ComboEdit1);
    EXPECT_EQ(mass.ComboEdit1->Text(), "shop.mdb");
    mass.msgmemo->Lines().Add("Hi");
    mass.msgmemo->Lines().Add("Bye");
    ClickButton(mass, "SpeedButton3");
    ClickButton(mass, "SpeedButton5");
    ClickButton(mass, "SpeedButton1");
    const TLines lines = mass.ResultLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), " Msg_Body = \"Hi\"&VbCrLf& \"Bye\"&VbCrLf&\" \""), lines.end());
    ASSERT_EQ(mass.msgmemo->Lines().Count(), 2);
    EXPECT_EQ(mass.msgmemo->Lines()[0], " \"Hi\"&VbCrLf&") << "each line of the message is rewritten in place";
    EXPECT_EQ(mass.msgmemo->Lines()[1], " \"Bye\"&VbCrLf&");
}

TEST_F(ScriptDialogs, ResponseAndCookiePlacement)
{
    Tfrm_responsewiz response;
    response.show();
    EXPECT_EQ(response.pos(), QPoint(40, 50));
    EXPECT_EQ(response.ComboBox1->ItemIndex(), 0);
    response.ComboBox1->SetItemIndex(10);
    ClickButton(response, "SpeedButton1");
    EXPECT_EQ(response.ResultLines(), TLines{"<% Response.Expires =  %>"});

    Tfrm_cookie cookie(nullptr, [] { return vx::tools::TClockReading{2026, 12, 10, 4, 9, 30, 0}; });
    cookie.show();
    EXPECT_EQ(cookie.pos(), QPoint(40, 40));
    cookie.edit1->SetText("theme");
    ClickButton(cookie, "SpeedButton1");
    EXPECT_EQ(cookie.ResultLines()[1], " Response.Cookies(\"theme\") = \"\"");
    // A cookie made with the defaults lives a year, not a moment.
    EXPECT_EQ(cookie.edit2->Text(), "December 10, 2027");
    EXPECT_EQ(cookie.ResultLines()[2], " Response.Cookies(\"theme\").Expires = \"December 10, 2027\"");
}

TEST_F(ScriptDialogs, TheCookieWizardExpiresAYearFromToday)
{
    // Read before and after the window is made: a day may turn in between.
    const vx::tools::TClockReading before = vx::tools::ClockNow();
    Tfrm_cookie cookie;
    const vx::tools::TClockReading after = vx::tools::ClockNow();
    const auto expiry = [](const vx::tools::TClockReading& now) {
        return vx::tools::FormatDateTime("MMMM d, yyyy", vx::tools::AYearLater(now));
    };
    cookie.show();
    EXPECT_TRUE(cookie.edit2->Text() == expiry(before) || cookie.edit2->Text() == expiry(after))
        << cookie.edit2->Text() << " on " << expiry(before);
}

TEST_F(ScriptDialogs, SqlTableBuildsItsStatementInView)
{
    Tfrm_sqlmaketable dialog;
    dialog.show();
    EXPECT_TRUE(dialog.Memo1->isVisible());
    EXPECT_FALSE(dialog.Edit3->isVisible());
    dialog.Edit1->SetText("Users");
    vx::test::KeyPress(*dialog.Edit1, Qt::Key_Return); // done with the table name
    dialog.Edit2->SetText("Name");
    dialog.ComboBox1->SetItemIndex(14); // VarChar
    EXPECT_TRUE(dialog.Edit3->isVisible());
    dialog.Edit3->SetText("30");
    dialog.ComboBox2->SetItemIndex(1);
    ClickButton(dialog, "SpeedButton3");
    EXPECT_FALSE(dialog.Edit3->isVisible());
    EXPECT_EQ(dialog.Edit2->Text(), "");
    EXPECT_EQ(dialog.Edit3->Text(), "255");
    dialog.Edit2->SetText("Id");
    dialog.ComboBox1->SetItemIndex(7); // Primary Key
    ClickButton(dialog, "SpeedButton3");
    ClickButton(dialog, "SpeedButton3"); // an empty name adds nothing
    dialog.Edit1->SetText("People");
    vx::test::KeyPress(*dialog.Edit1, Qt::Key_Return);
    ClickButton(dialog, "SpeedButton1");
    const TLines lines = dialog.ResultLines();
    EXPECT_EQ(lines, (TLines{"Create Table People( ", " Name\t VarChar (30)  Not Null,", " Id\t Integer Primary Key",
                             " ); "}));
    std::string output;
    EXPECT_EQ(vx::test::RunWithInput("sqlite3 -bail :memory:", vx::test::Joined(lines), output), 0) << output;
}

TEST_F(ScriptDialogs, PerlFromTheSelectedText)
{
    Tfrm_makeperl perl;
    perl.Memo2->Lines().Add("\"hi\"");
    perl.show();
    ClickButton(perl, "SpeedButton1");
    EXPECT_EQ(perl.ResultLines(), TLines{"print \"\\\"hi\\\"\\n\";"});

    Tfrm_make_perl function;
    function.Memo2->Lines().Add("x");
    function.show();
    vx::test::Click(*function.checkbox1, QPoint(8, function.checkbox1->height() / 2));
    ClickButton(function, "SpeedButton1");
    const TLines lines = function.ResultLines();
    EXPECT_EQ(lines[lines.size() - 2], " & My_Perl_Function");
    std::string output;
    EXPECT_EQ(vx::test::RunWithInput("perl -c -", vx::test::Joined(lines), output), 0) << output;

    Tfrm_perlmail mail;
    mail.show();
    ClickButton(mail, "SpeedButton1");
    EXPECT_EQ(vx::test::RunWithInput("perl -c -", vx::test::Joined(mail.ResultLines()), output), 0) << output;
}

TEST_F(ScriptDialogs, AdRotatorReadsEachFileAfresh)
{
    const std::string first = dir.file("first.txt"), second = dir.file("second.txt"), bad = dir.file("bad.txt");
    vx::test::writeFile(first, "REDIRECT /a.asp\r\nWIDTH 1\r\nHEIGHT 2\r\nBORDER 3\r\n*\r\ni1\r\nh1\r\nA1\r\n5\r\n");
    vx::test::writeFile(second, "REDIRECT /b.asp\r\nWIDTH 4\r\nHEIGHT 5\r\nBORDER 6\r\n*\r\ni2\r\nh2\r\nB2\r\n7\r\n"
                                "i3\r\nh3\r\nB3\r\n8\r\n");
    vx::test::writeFile(bad, "not\r\na\r\nschedule\r\n");
    answers = {{mrOk, first}, {mrOk, second}, {mrOk, bad}};
    Tfrm_adrotator dialog;
    dialog.show();
    EXPECT_EQ(dialog.ComboEdit1->Text(), "ad_rotator.txt");
    ClickEllipsis(*dialog.ComboEdit1);
    EXPECT_EQ(requests[0].defaultExt, "txt");
    EXPECT_EQ(dialog.Edit1->Text(), "/a.asp");
    ClickEllipsis(*dialog.ComboEdit1);
    EXPECT_EQ(dialog.ComboEdit1->Text(), second);
    EXPECT_EQ(dialog.Edit1->Text(), "/b.asp");
    ASSERT_EQ(dialog.ComboBox1->Items().Count(), 2) << "the first file's entries are gone";
    EXPECT_EQ(dialog.ComboBox1->Items()[0], "B2");
    EXPECT_EQ(dialog.Edit7->Text(), "B2");

    answers.insert(answers.begin() + 1, {mrOk, ""}); // the message box's OK
    ClickEllipsis(*dialog.ComboEdit1);
    EXPECT_EQ(requests.back().text, " Not a valid ad rotator schedule file ");
    EXPECT_EQ(dialog.ComboEdit1->Text(), "");
    EXPECT_EQ(dialog.ComboBox1->Items().Count(), 2) << "a refused file changes nothing else";
}

TEST_F(ScriptDialogs, AdRotatorEditsAndSavesWithABackup)
{
    const std::string file = dir.file("ads.txt");
    const std::string original = "REDIRECT /a.asp\r\nWIDTH 1\r\nHEIGHT 2\r\nBORDER 3\r\n*\r\ni1\r\nh1\r\nA1\r\n5\r\n"
                                 "i2\r\nh2\r\nA2\r\n6\r\n";
    vx::test::writeFile(file, original);
    answers = {{mrOk, file}};
    Tfrm_adrotator dialog;
    dialog.show();
    ClickEllipsis(*dialog.ComboEdit1);
    ClickButton(dialog, "SpeedButton1");
    dialog.ComboBox1->SetItemIndex(1);
    EXPECT_EQ(dialog.Edit5->Text(), "i2");
    dialog.Edit8->setFocus();
    dialog.Edit8->selectAll();
    vx::test::KeyPress(*dialog.Edit8, Qt::Key_9, "9");
    ClickButton(dialog, "SpeedButton4"); // add
    EXPECT_EQ(dialog.ComboBox1->ItemIndex(), 2);
    EXPECT_EQ(dialog.Edit7->Text(), "Alternate text goes here");
    answers = {{mrNo, ""}};
    ClickButton(dialog, "SpeedButton5"); // delete, answered No
    EXPECT_EQ(dialog.Schedule().Ads.size(), 3u);
    dialog.ComboBox1->SetItemIndex(0);
    answers = {{mrYes, ""}};
    ClickButton(dialog, "SpeedButton5");
    ASSERT_EQ(dialog.Schedule().Ads.size(), 2u);
    EXPECT_EQ(dialog.ComboBox1->ItemIndex(), 0);
    ClickButton(dialog, "SpeedButton6");
    vx::test::Click(*dialog.CheckBox1, QPoint(8, dialog.CheckBox1->height() / 2));
    ClickButton(dialog, "SpeedButton7");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(vx::test::readFile(dir.file("ads.bak")), original);
    EXPECT_EQ(vx::test::readFile(file), "REDIRECT /a.asp\r\nWIDTH 1\r\nHEIGHT 2\r\nBORDER 3\r\n*\r\ni2\r\nh2\r\nA2\r\n9\r\n"
                                        "/images/banner.gif\r\nhttp://www.example.com/\r\nAlternate text goes here\r\n25\r\n");
    EXPECT_EQ(dialog.ResultLines()[3], "<% = My_Advertisements.GetAdvertisement(\"ads.txt\") %>");
}

TEST_F(ScriptDialogs, NewSchedulerStartsEmptyBesideTheUsersData)
{
    const std::string file = dir.file("old.txt");
    vx::test::writeFile(file, "REDIRECT /a.asp\r\nWIDTH 1\r\nHEIGHT 2\r\nBORDER 3\r\n*\r\ni1\r\nh1\r\nA1\r\n5\r\n");
    answers = {{mrOk, file}};
    Tfrm_adrotator dialog;
    dialog.show();
    ClickEllipsis(*dialog.ComboEdit1);
    ClickButton(dialog, "SpeedButton2");
    EXPECT_EQ(dialog.ComboEdit1->Text(), file) << "a full path gets no second folder";
    EXPECT_EQ(dialog.Edit1->Text(), "/scripts/adredir.asp");
    ASSERT_EQ(dialog.Schedule().Ads.size(), 1u);
    EXPECT_EQ(dialog.Schedule().Ads[0].AltText, "Vellumix edit webpages with ease");
    dialog.ComboEdit1->SetText("fresh.txt");
    ClickButton(dialog, "SpeedButton2");
    EXPECT_EQ(std::filesystem::path(dialog.ComboEdit1->Text()).filename(), "fresh.txt");
    EXPECT_TRUE(std::filesystem::path(dialog.ComboEdit1->Text()).is_absolute());
}

TEST_F(ScriptDialogs, RtfExportNeedsAFolderAndOpensInLibreOffice)
{
    Tfrm_rtfexport dialog;
    dialog.memo1->Model().SetText("<p>Caf\xC3\xA9 & <b>bold</b></p>\r\nsecond line");
    dialog.show();
    dialog.DirTree1->clearSelection();
    dialog.DirTree1->setCurrentItem(nullptr);
    answers = {{mrOk, ""}};
    ClickButton(dialog, "SpeedButton1");
    EXPECT_TRUE(dialog.isVisible()) << "no folder chosen: nothing written";
    ASSERT_EQ(requests.size(), 1u);

    dialog.DirTree1->SetSelectedDir(dir.path().string());
    ClickButton(dialog, "SpeedButton1");
    EXPECT_FALSE(dialog.isVisible());
    const std::string rtf = dir.file("export.rtf");
    ASSERT_TRUE(std::filesystem::exists(rtf));

    vx::test::TempDir out, profile;
    std::string output;
    const std::string command = "soffice -env:UserInstallation=file://" + profile.path().string() +
                                " --headless --convert-to 'txt:Text (encoded):UTF8' --outdir '" + out.path().string() + "' '" + rtf +
                                "'";
    ASSERT_EQ(vx::test::RunWithInput(command, "", output), 0) << output;
    const std::string text = vx::test::readFile(out.file("export.txt"));
    // Asked for UTF-8: the plain text filter would write the machine's locale.
    EXPECT_NE(text.find("<p>Caf\xC3\xA9 & <b>bold</b></p>"), std::string::npos) << text;
    EXPECT_NE(text.find("second line"), std::string::npos) << text;
}
