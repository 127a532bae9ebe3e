#include "tests/shell/ShellFixture.h"

#include "controls/edits/ToolEdit.h"
#include "controls/foldertree/DirTree.h"
#include "controls/sound/WWave32.h"
#include "shell/qt/windows/DirSelector.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

using vx::test::ShellTest;

namespace {

// Answers the directory selector once it is up: selects folder ("" selects
// nothing) and presses "&Ok".
void AnswerSelector(const std::string& folder, std::string& caption)
{
    QTimer::singleShot(0, [folder, &caption] {
        auto* selector = dynamic_cast<Tfrm_dirselector*>(QApplication::activeModalWidget());
        if (!selector)
            return;
        caption = selector->windowTitle().toStdString();
        if (!folder.empty())
            selector->DirTree1->SetSelectedDir(folder);
        selector->SpeedButton1->click();
    });
}

} // namespace

// The sound test button and the exit sound play through the window's wave player.
TEST_F(ShellTest, PreferencesPlayWavesThroughTheirWavePlayer)
{
    Start();
    ASSERT_NE(frm_pref->Wave1, nullptr);
    EXPECT_EQ(frm_pref->Wave1->objectName(), "Wave1");
    EXPECT_EQ(frm_pref->Wave1->WhereWave(), wwInFile);
    frm_pref->sound->setText("/nowhere/bell.wav");
    frm_pref->SpeedButton1Click();
    EXPECT_EQ(frm_pref->Wave1->WaveName(), "/nowhere/bell.wav") << "a missing file plays nothing, quietly";
}

TEST_F(ShellTest, SharedDirectoryComesFromTheDirectorySelector)
{
    Start();
    vx::test::TempDir dir;
    std::filesystem::create_directories(dir.file("shared/data"));
    frm_pref->ComboEdit2->setText("/before");
    std::string caption;
    AnswerSelector("", caption);
    frm_pref->ComboEdit2ButtonClick();
    EXPECT_EQ(caption, "Select directory");
    EXPECT_EQ(frm_pref->ComboEdit2->text(), "/before") << "no folder selected leaves the field, never \"?\"";

    AnswerSelector(dir.file("shared/data"), caption);
    frm_pref->ComboEdit2->ButtonClick();
    EXPECT_EQ(frm_pref->ComboEdit2->text().toStdString(), dir.file("shared/data")) << "the field's own button";
}
