#include "editor/qt/mwCustomEdit.h"
#include "editor/qt/mwKeyMapping.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

QKeyEvent Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString())
{
    return QKeyEvent(QEvent::KeyPress, key, mods, text);
}

} // namespace

TEST(KeyMapping, QtKeysBecomeVirtualKeysAndShiftStates)
{
    uint16_t key = 0;
    TShiftState shift = 0;
    ASSERT_TRUE(KeyEventToKey(Press(Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier), key, shift));
    EXPECT_EQ(key, 'Y');
    EXPECT_EQ(shift, ssCtrl | ssShift);
    ASSERT_TRUE(KeyEventToKey(Press(Qt::Key_PageDown, Qt::AltModifier), key, shift));
    EXPECT_EQ(key, 0x22);
    EXPECT_EQ(shift, ssAlt);
    ASSERT_TRUE(KeyEventToKey(Press(Qt::Key_Backtab, Qt::ShiftModifier), key, shift));
    EXPECT_EQ(key, 0x09);
    EXPECT_EQ(shift, ssShift);
    ASSERT_TRUE(KeyEventToKey(Press(Qt::Key_F24), key, shift));
    EXPECT_EQ(key, 0x87);
    ASSERT_TRUE(KeyEventToKey(Press(Qt::Key_Exclam, Qt::ShiftModifier), key, shift));
    EXPECT_EQ(key, '1') << "a shifted digit is its digit key";
    for (auto [modifier, vk] : {std::pair{Qt::Key_Shift, 0x10}, {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12}}) {
        ASSERT_TRUE(KeyEventToKey(Press(modifier), key, shift)) << "a stroke of its own";
        EXPECT_EQ(key, vk);
    }
    EXPECT_FALSE(KeyEventToKey(Press(Qt::Key_unknown), key, shift));
}

TEST(KeyMapping, OneKeyEventIsOneKeyDownAndAtMostOneCharacter)
{
    TmwCustomEditModel m;
    m.SetText("ab");
    m.SetCaretXY(Point(2, 1));
    int keyDowns = 0;
    int chars = 0;
    m.OnKeyDown = [&](TmwCustomEditModel*, uint16_t&, TShiftState) { ++keyDowns; };
    m.OnKeyPress = [&](TmwCustomEditModel*, char&) { ++chars; };
    DeliverKeyPress(m, Press(Qt::Key_Return, Qt::NoModifier, "\r"));
    EXPECT_EQ(m.GetText(), "a\r\nb\r\n") << "one line break, the character swallowed";
    EXPECT_EQ(keyDowns, 1);
    EXPECT_EQ(chars, 0);
    DeliverKeyPress(m, Press(Qt::Key_X, Qt::NoModifier, "x"));
    EXPECT_EQ(m.Lines()[1], "xb");
    EXPECT_EQ(keyDowns, 2);
    EXPECT_EQ(chars, 1);
    DeliverKeyPress(m, Press(Qt::Key_E, Qt::NoModifier, QString::fromUtf8("\xc3\xa9")));
    EXPECT_EQ(m.Lines()[1], "x\xc3\xa9" "b") << "typed as its character";
    EXPECT_EQ(chars, 1) << "a character of several bytes is not handed to OnKeyPress byte by byte";
}

TEST(KeyMapping, AKeyHeldWithAltAloneTypesNothing)
{
    TmwCustomEdit edit;
    edit.Model().SetText("ab");
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.activateWindow();
    edit.setFocus();
    edit.Model().SetCaretXY(Point(2, 1));
    std::vector<std::pair<uint16_t, TShiftState>> keyDowns;
    edit.Model().OnKeyDown = [&](TmwCustomEditModel*, uint16_t& key, TShiftState shift) {
        keyDowns.emplace_back(key, shift);
    };
    QTest::keyClick(&edit, Qt::Key_L, Qt::AltModifier);
    QTest::keyClick(&edit, Qt::Key_K, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(edit.Model().LineText(), "ab") << "menu keys leave the text alone";
    const std::vector<std::pair<uint16_t, TShiftState>> letters{{'L', ssAlt}, {'K', ssAlt | ssShift}};
    std::erase_if(keyDowns, [](const auto& down) { return down.first < '0'; }); // the modifiers' own strokes
    EXPECT_EQ(keyDowns, letters) << "the keys still reach the key bindings";
    QTest::keyClick(&edit, Qt::Key_X);
    EXPECT_EQ(edit.Model().LineText(), "axb");
    DeliverKeyPress(edit.Model(), Press(Qt::Key_E, Qt::ControlModifier | Qt::AltModifier, QString::fromUtf8("\xe2\x82\xac")));
    EXPECT_EQ(edit.Model().LineText(), "ax\xe2\x82\xac" "b") << "AltGr, reported as Ctrl+Alt, still types";
}

TEST(KeyMapping, AModifierPressedAloneClearsAPendingChord)
{
    TmwCustomEditModel m;
    m.SetText("x(a)");
    TmwKeyStroke& chord = m.Keystrokes().Add();
    chord.SetKey('Q', ssCtrl);
    chord.SetKey2('B', ssCtrl);
    chord.SetCommand(ecMatchBracket);
    m.SetCaretXY(Point(2, 1));
    DeliverKeyPress(m, Press(Qt::Key_Control, Qt::ControlModifier));
    DeliverKeyPress(m, Press(Qt::Key_Q, Qt::ControlModifier, "\x11"));
    DeliverKeyPress(m, Press(Qt::Key_B, Qt::ControlModifier, "\x02"));
    EXPECT_EQ(m.CaretX(), 4) << "Ctrl held: Ctrl+Q Ctrl+B reached the chord";

    m.SetCaretXY(Point(2, 1));
    for (int modifier : {Qt::Key_Control, Qt::Key_Shift, Qt::Key_Alt}) {
        DeliverKeyPress(m, Press(Qt::Key_Q, Qt::ControlModifier, "\x11"));
        DeliverKeyPress(m, Press(modifier, Qt::ControlModifier));
        DeliverKeyPress(m, Press(Qt::Key_B, Qt::ControlModifier, "\x02"));
        EXPECT_EQ(m.CaretX(), 2) << "the modifier pressed between cleared the chord: " << modifier;
    }
    EXPECT_EQ(m.GetText(), "x(a)\r\n");
}

TEST(KeyMapping, TheWidgetTakesKeysThroughTheMapping)
{
    TmwCustomEdit edit;
    edit.Model().SetText("abc");
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    QApplication::processEvents();
    QKeyEvent end = Press(Qt::Key_End);
    QApplication::sendEvent(&edit, &end);
    QKeyEvent d = Press(Qt::Key_D, Qt::NoModifier, "d");
    QApplication::sendEvent(&edit, &d);
    QKeyEvent undo = Press(Qt::Key_Z, Qt::ControlModifier, "\x1a");
    QApplication::sendEvent(&edit, &undo);
    QKeyEvent redo = Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a");
    QApplication::sendEvent(&edit, &redo);
    EXPECT_EQ(edit.Model().GetText(), "abcd\r\n");
}
