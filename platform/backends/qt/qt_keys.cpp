// Qt key events in Win32 terms: virtual-key codes and the character a key types.
#include "backends/qt/qt_backend.h"

namespace sktch::platform::qt {
namespace {

// Keys on the keypad, which Qt marks with KeypadModifier.
int keypad_key(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return VK_NUMPAD0 + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Asterisk:
            return VK_MULTIPLY;
        case Qt::Key_Plus:
            return VK_ADD;
        case Qt::Key_Minus:
            return VK_SUBTRACT;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return VK_DECIMAL;
        case Qt::Key_Slash:
            return VK_DIVIDE;
        default:
            return 0;
    }
}

// Printable keys: Qt names the symbol typed, Win32 the key it sits on (US layout).
int symbol_key(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;  // the same codes
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;
    switch (key) {
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_Exclam:
            return '1';
        case Qt::Key_At:
            return '2';
        case Qt::Key_NumberSign:
            return '3';
        case Qt::Key_Dollar:
            return '4';
        case Qt::Key_Percent:
            return '5';
        case Qt::Key_AsciiCircum:
            return '6';
        case Qt::Key_Ampersand:
            return '7';
        case Qt::Key_Asterisk:
            return '8';
        case Qt::Key_ParenLeft:
            return '9';
        case Qt::Key_ParenRight:
            return '0';
        case Qt::Key_Semicolon:
        case Qt::Key_Colon:
            return VK_OEM_1;
        case Qt::Key_Equal:
        case Qt::Key_Plus:
            return VK_OEM_PLUS;
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return VK_OEM_COMMA;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return VK_OEM_MINUS;
        case Qt::Key_Period:
        case Qt::Key_Greater:
            return VK_OEM_PERIOD;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            return VK_OEM_2;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
            return VK_OEM_3;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return VK_OEM_4;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return VK_OEM_5;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return VK_OEM_6;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return VK_OEM_7;
        default:
            return 0;
    }
}

int function_key(int key) {
    switch (key) {
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Clear:
            return VK_CLEAR;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Shift:
            return VK_SHIFT;
        case Qt::Key_Control:
            return VK_CONTROL;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return VK_MENU;
        case Qt::Key_Pause:
            return VK_PAUSE;
        case Qt::Key_CapsLock:
            return VK_CAPITAL;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Print:
            return VK_SNAPSHOT;
        case Qt::Key_Insert:
            return VK_INSERT;
        case Qt::Key_Delete:
            return VK_DELETE;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
            return VK_LWIN;
        case Qt::Key_Menu:
            return VK_APPS;
        case Qt::Key_NumLock:
            return VK_NUMLOCK;
        case Qt::Key_ScrollLock:
            return VK_SCROLL;
        default:
            if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + (key - Qt::Key_F1);
            return 0;
    }
}

}  // namespace

int virtual_key(int qt_key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier)
        if (int vk = keypad_key(qt_key)) return vk;
    if (int vk = function_key(qt_key)) return vk;
    if (int vk = symbol_key(qt_key)) return vk;
    // Other keys that type a Latin-1 character (letters of other layouts).
    if (qt_key > 0x20 && qt_key <= 0xFF) return VK_OEM_8;  // any other key that types a character
    return 0;
}

unsigned char typed_character(int qt_key, Qt::KeyboardModifiers modifiers, const QString& text) {
    bool ctrl = modifiers & Qt::ControlModifier;
    bool alt = modifiers & Qt::AltModifier;
    if (alt && !ctrl) return 0;  // Alt+key chooses from the menu bar instead
    if (ctrl && qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return (qt_key - Qt::Key_A) + 1;
    if (ctrl && qt_key >= Qt::Key_BracketLeft && qt_key <= Qt::Key_BracketRight)
        return qt_key & 0x1F;  // Ctrl+[ is Escape, as on a terminal
    switch (qt_key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return '\r';
        case Qt::Key_Backspace:
            return '\b';
        case Qt::Key_Tab:
            return '\t';
        case Qt::Key_Escape:
            return 0x1B;
        case Qt::Key_Delete:
            return 0;  // types nothing, though X11 reports DEL
        default:
            break;
    }
    if (ctrl || text.size() != 1) return 0;
    char16_t c = text.front().unicode();
    return c >= 0x20 && c <= 0xFF && c != 0x7F ? static_cast<unsigned char>(c) : 0;
}

}  // namespace sktch::platform::qt
