// Qt keys in Win32 terms: the codes differ wherever Qt names the symbol and Win32 the key.
#include <gtest/gtest.h>

#include "backends/qt/qt_backend.h"

namespace {

using sktch::platform::qt::typed_character;
using sktch::platform::qt::virtual_key;

TEST(QtKeys, VirtualKeysNameTheKeyNotTheSymbol) {
    EXPECT_EQ(virtual_key(Qt::Key_A, Qt::NoModifier), 'A');
    EXPECT_EQ(virtual_key(Qt::Key_A, Qt::ShiftModifier), 'A');
    EXPECT_EQ(virtual_key(Qt::Key_Z, Qt::ControlModifier), 'Z');
    EXPECT_EQ(virtual_key(Qt::Key_7, Qt::NoModifier), '7');
    EXPECT_EQ(virtual_key(Qt::Key_Control, Qt::ControlModifier), VK_CONTROL);
    EXPECT_EQ(virtual_key(Qt::Key_Shift, Qt::ShiftModifier), VK_SHIFT);
    EXPECT_EQ(virtual_key(Qt::Key_Return, Qt::NoModifier), VK_RETURN);
    EXPECT_EQ(virtual_key(Qt::Key_Enter, Qt::KeypadModifier), VK_RETURN);
    EXPECT_EQ(virtual_key(Qt::Key_Escape, Qt::NoModifier), VK_ESCAPE);
    EXPECT_EQ(virtual_key(Qt::Key_Backspace, Qt::NoModifier), VK_BACK);
    EXPECT_EQ(virtual_key(Qt::Key_Space, Qt::NoModifier), VK_SPACE);
    EXPECT_EQ(virtual_key(Qt::Key_Left, Qt::NoModifier), 0x25);
    EXPECT_EQ(virtual_key(Qt::Key_Down, Qt::NoModifier), 0x28);
    EXPECT_EQ(virtual_key(Qt::Key_F1, Qt::NoModifier), 0x70);
    EXPECT_EQ(virtual_key(Qt::Key_F12, Qt::NoModifier), 0x7B);
    // Shifted symbols: Qt's code for '!' is VK_PRIOR's; Win32 reports the '1' key.
    EXPECT_EQ(virtual_key(Qt::Key_Exclam, Qt::ShiftModifier), '1');
    EXPECT_EQ(virtual_key(Qt::Key_ParenRight, Qt::ShiftModifier), '0');
    EXPECT_EQ(virtual_key(Qt::Key_Question, Qt::ShiftModifier), 0xBF);
    EXPECT_EQ(virtual_key(Qt::Key_Slash, Qt::NoModifier), 0xBF);
    // The keypad has keys of its own.
    EXPECT_EQ(virtual_key(Qt::Key_3, Qt::KeypadModifier), 0x63);
    EXPECT_EQ(virtual_key(Qt::Key_Plus, Qt::KeypadModifier), 0x6B);
    EXPECT_EQ(virtual_key(Qt::Key_Plus, Qt::ShiftModifier), 0xBB);
    // Keys Win32 has no code for here.
    EXPECT_EQ(virtual_key(Qt::Key_unknown, Qt::NoModifier), 0);
    EXPECT_EQ(virtual_key(Qt::Key_VolumeUp, Qt::NoModifier), 0);
}

TEST(QtKeys, TypedCharacterIsLatin1WithControlCharactersUnderCtrl) {
    EXPECT_EQ(typed_character(Qt::Key_A, Qt::NoModifier, "a"), 'a');
    EXPECT_EQ(typed_character(Qt::Key_A, Qt::ShiftModifier, "A"), 'A');
    EXPECT_EQ(typed_character(Qt::Key_Exclam, Qt::ShiftModifier, "!"), '!');
    EXPECT_EQ(typed_character(Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9))), 0xE9);
    EXPECT_EQ(typed_character(Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x20AC))), 0);
    // Ctrl+letter types its control character whether or not Qt's text carries it.
    EXPECT_EQ(typed_character(Qt::Key_A, Qt::ControlModifier, "\x01"), 1);
    EXPECT_EQ(typed_character(Qt::Key_A, Qt::ControlModifier, "a"), 1);
    EXPECT_EQ(typed_character(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, ""), 26);
    EXPECT_EQ(typed_character(Qt::Key_5, Qt::ControlModifier, "5"), 0);
    // Editing keys type their control codes, even when a test sends no text.
    EXPECT_EQ(typed_character(Qt::Key_Return, Qt::NoModifier, ""), '\r');
    EXPECT_EQ(typed_character(Qt::Key_Backspace, Qt::NoModifier, "\b"), '\b');
    EXPECT_EQ(typed_character(Qt::Key_Escape, Qt::NoModifier, ""), 0x1B);
    // Keys that type nothing on Win32.
    EXPECT_EQ(typed_character(Qt::Key_Delete, Qt::NoModifier, "\x7f"), 0);
    EXPECT_EQ(typed_character(Qt::Key_Left, Qt::NoModifier, ""), 0);
    EXPECT_EQ(typed_character(Qt::Key_Control, Qt::ControlModifier, ""), 0);
    EXPECT_EQ(typed_character(Qt::Key_X, Qt::AltModifier, "x"), 0);
}

}  // namespace
