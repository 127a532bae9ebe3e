#include "editor/mwKeyCmds.h"
#include "editor/mwHighlighter.h"
#include "editor/mwStrConst.h"
#include "platform/ResStrings.h"
#include "platform/TStringList.h"

#include <gtest/gtest.h>

TEST(TmwKeyStrokes, DefaultMapHas79SingleStrokeBindings)
{
    TmwKeyStrokes keys;
    keys.ResetDefaults();
    ASSERT_EQ(keys.Count(), 79);
    for (int i = 0; i < keys.Count(); ++i)
        EXPECT_EQ(keys.Items(i).Key2(), 0);
    auto command = [&](uint16_t key, TShiftState shift) {
        int i = keys.FindKeycode(key, shift);
        return i < 0 ? TmwEditorCommand(ecNone) : keys.Items(i).Command();
    };
    EXPECT_EQ(command('Y', ssCtrl), ecDeleteLine);
    EXPECT_EQ(command('Y', ssCtrl | ssShift), ecDeleteEOL);
    EXPECT_EQ(command('M', ssCtrl), ecLineBreak);
    EXPECT_EQ(command(0x08, ssShift | ssAlt), ecRedo);
    EXPECT_EQ(command('3', ssCtrl | ssShift), ecSetMarker0 + 3);
    EXPECT_EQ(command('0', ssCtrl), ecGotoMarker0);
    EXPECT_EQ(command('B', ssCtrl | ssShift), ecMatchBracket);
    EXPECT_EQ(command('Q', ssCtrl), ecNone);
    EXPECT_EQ(keys.Items(0).Command(), ecUp);
    EXPECT_EQ(keys.Items(78).Command(), ecMatchBracket);
}

TEST(TmwKeyStrokes, CommandNamesBothWays)
{
    EXPECT_EQ(EditorCommandToIdent(ecDeleteLine), "ecDeleteLine");
    EXPECT_EQ(EditorCommandToIdent(ecSelGotoXY), "ecSelGotoXY");
    EXPECT_EQ(EditorCommandToIdent(759), "ecSetMarker8");
    EXPECT_EQ(EditorCommandToIdent(1234), "1234");
    EXPECT_EQ(IdentToEditorCommand("ecLineSelect"), std::optional<TmwEditorCommand>(ecLineSelect));
    EXPECT_EQ(IdentToEditorCommand("ecUserFirst"), std::optional<TmwEditorCommand>(1001));
    EXPECT_FALSE(IdentToEditorCommand("ecdeleteline").has_value()) << "names compare exactly";
    EXPECT_FALSE(IdentToEditorCommand("ecSetMarker10").has_value());
}

TEST(TmwKeyStrokes, ShortCutsAndTheirText)
{
    EXPECT_EQ(ShortCut('Y', ssCtrl | ssShift), 0x6000 + 'Y');
    uint16_t key = 0;
    TShiftState shift = 0;
    ShortCutToKey(0x8000 + 0x08, key, shift);
    EXPECT_EQ(key, 0x08);
    EXPECT_EQ(shift, ssAlt);
    EXPECT_EQ(ShortCutToText(ShortCut('Y', ssCtrl | ssShift)), "Shift+Ctrl+Y");
    EXPECT_EQ(ShortCutToText(ShortCut(0x22, 0)), "PgDn");
    EXPECT_EQ(ShortCutToText(ShortCut(0x71, ssAlt)), "Alt+F2");
    EXPECT_EQ(ShortCutToText(0), "");

    TmwKeyStrokes keys;
    TmwKeyStroke& k = keys.Add();
    k.SetCommand(ecDeleteLine);
    k.SetShortCut(ShortCut('Y', ssCtrl));
    EXPECT_EQ(k.GetDisplayName(), "ecDeleteLine - Ctrl+Y");
    k.SetShortCut2(ShortCut('B', 0));
    EXPECT_EQ(k.GetDisplayName(), "ecDeleteLine - Ctrl+Y B");
    k.SetCommand(1500);
    EXPECT_EQ(k.GetDisplayName(), "1500 - Ctrl+Y B");
}

TEST(TmwKeyStrokes, DuplicateShortCutsAreRefused)
{
    TmwKeyStrokes keys;
    TmwKeyStroke& a = keys.Add();
    a.SetShortCut(ShortCut('Q', ssCtrl));
    a.SetShortCut2(ShortCut('B', 0));
    TmwKeyStroke& b = keys.Add();
    b.SetShortCut2(ShortCut('B', 0));
    b.SetShortCut(ShortCut('W', ssCtrl));
    try {
        b.SetShortCut(ShortCut('Q', ssCtrl));
        FAIL() << "a second binding of the same chord";
    } catch (const EmwKeyError& e) {
        EXPECT_STREQ(e.what(), "Shortcut already exists");
    }
    EXPECT_EQ(b.Key(), 'W') << "the keys stay as they were";
    b.SetShortCut(0);
    a.SetShortCut(ShortCut('Q', ssCtrl)); // its own pair is no duplicate
    EXPECT_EQ(keys.FindShortcut2(ShortCut('Q', ssCtrl), ShortCut('B', 0)), 0);
    EXPECT_EQ(keys.FindKeycode2('Q', ssCtrl, 'B', 0), 0);
    EXPECT_EQ(keys.FindKeycode('Q', ssCtrl), -1) << "a chord is no single-stroke binding";

    TmwKeyStrokes copy;
    copy.ResetDefaults();
    copy.Assign(keys);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Items(0).Key2(), 'B');
}

TEST(TmwKeyStrokes, BindingsAreStoredByCommandName)
{
    TmwKeyStrokes keys;
    keys.ResetDefaults();
    TmwKeyStroke& chord = keys.Add();
    chord.SetKey('Q', ssCtrl);
    chord.SetKey2('B', ssShift);
    chord.SetCommand(ecMatchBracket);
    keys.Add().SetCommand(1042); // a user command has no name
    TStringList stored;
    keys.SaveToStrings(stored);
    ASSERT_EQ(stored.Count(), 81);
    EXPECT_EQ(stored[0], "ecUp=38,0");
    EXPECT_EQ(stored[53], "ecGotoMarker0=16432,0");
    EXPECT_EQ(stored[79], "ecMatchBracket=16465,8258");
    EXPECT_EQ(stored[80], "1042=0,0");

    TmwKeyStrokes loaded;
    loaded.LoadFromStrings(stored);
    ASSERT_EQ(loaded.Count(), keys.Count());
    for (int i = 0; i < keys.Count(); ++i) {
        EXPECT_EQ(loaded.Items(i).Command(), keys.Items(i).Command()) << i;
        EXPECT_EQ(loaded.Items(i).GetShortCut(), keys.Items(i).GetShortCut()) << i;
        EXPECT_EQ(loaded.Items(i).GetShortCut2(), keys.Items(i).GetShortCut2()) << i;
    }

    // A stored list with a bad line changes nothing and says which line it was.
    for (const char* bad : {"ecNoSuchCommand=38,0", "ecUp=38", "ecUp=x,0", "ecUp=38,70000", "=38,0", "ecUp 38,0"}) {
        TStringList lines;
        lines.Add("ecDown=40,0");
        lines.Add(bad);
        try {
            loaded.LoadFromStrings(lines);
            ADD_FAILURE() << bad;
        } catch (const EmwKeyError& e) {
            EXPECT_NE(std::string(e.what()).find(bad), std::string::npos) << e.what();
        }
        EXPECT_EQ(loaded.Count(), keys.Count()) << "the bindings stay as they were: " << bad;
    }
}

TEST(TmwKeyStrokes, TextsComeFromTheStringTable)
{
    EXPECT_EQ(std::string(mwRes::ShortcutExists), "Shortcut already exists");
    EXPECT_EQ(LoadResString(65136), "Shortcut already exists");
    SetResString(65136, "Raccourci existant");
    TmwKeyStrokes keys;
    keys.Add().SetShortCut(ShortCut('Q', ssCtrl));
    TmwKeyStroke& second = keys.Add();
    try {
        second.SetShortCut(ShortCut('Q', ssCtrl));
        ADD_FAILURE();
    } catch (const EmwKeyError& e) {
        EXPECT_STREQ(e.what(), "Raccourci existant") << "a translation reaches the message";
    }
    SetResString(65136, "Shortcut already exists");
    EXPECT_EQ(std::string(mwAttrName::ReservedWord), "Reserved word");
    EXPECT_EQ(LoadResString(65158), "Reserved word");
    EXPECT_EQ(std::string(mwRes::TopLine), "TopLine: %d");
    EXPECT_EQ(std::string(mwRes::RtfFilter), "Rich Text Format (*.rtf)|*.rtf");
}
