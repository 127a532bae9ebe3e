#include "tests/shell/ShellFixture.h"

#include "controls/single/WWave32.h"
#include "shell/PrefForm.h"

#include <QLineEdit>

using vx::test::ShellTest;

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
