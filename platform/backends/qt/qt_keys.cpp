// Qt key events in Win32 terms: virtual-key codes and the character a key types.
#include "backends/qt/qt_backend.h"

namespace sktch::platform::qt {
namespace {

// Virtual keys beyond the few that win32.h names.
enum : int {
    kClear = 0x0C,
    kPause = 0x13,
    kCapital = 0x14,
    kPrior = 0x21,
    kNext = 0x22,
    kEnd = 0x23,
    kHome = 0x24,
    kLeft = 0x25,
    kUp = 0x26,
    kRight = 0x27,
    kDown = 0x28,
    kSnapshot = 0x2C,
    kInsert = 0x2D,
    kDelete = 0x2E,
    kLeftWindows = 0x5B,
    kApps = 0x5D,
    kNumpad0 = 0x60,
    kMultiply = 0x6A,
    kAdd = 0x6B,
    kSubtract = 0x6D,
    kDecimal = 0x6E,
    kDivide = 0x6F,
    kF1 = 0x70,
    kNumLock = 0x90,
    kScroll = 0x91,
    kOem1 = 0xBA,  // ;:
    kOemPlus = 0xBB,
    kOemComma = 0xBC,
    kOemMinus = 0xBD,
    kOemPeriod = 0xBE,
    kOem2 = 0xBF,  // /?
    kOem3 = 0xC0,  // `~
    kOem4 = 0xDB,  // [{
    kOem5 = 0xDC,  // \|
    kOem6 = 0xDD,  // ]}
    kOem7 = 0xDE,  // '"
    kOem8 = 0xDF,  // anything else that types a character
};

// Keys on the keypad, which Qt marks with KeypadModifier.
int keypad_key(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return kNumpad0 + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Asterisk:
            return kMultiply;
        case Qt::Key_Plus:
            return kAdd;
        case Qt::Key_Minus:
            return kSubtract;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return kDecimal;
        case Qt::Key_Slash:
            return kDivide;
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
            return kOem1;
        case Qt::Key_Equal:
        case Qt::Key_Plus:
            return kOemPlus;
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return kOemComma;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return kOemMinus;
        case Qt::Key_Period:
        case Qt::Key_Greater:
            return kOemPeriod;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            return kOem2;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
            return kOem3;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return kOem4;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return kOem5;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return kOem6;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return kOem7;
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
            return kClear;
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
            return kPause;
        case Qt::Key_CapsLock:
            return kCapital;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_PageUp:
            return kPrior;
        case Qt::Key_PageDown:
            return kNext;
        case Qt::Key_End:
            return kEnd;
        case Qt::Key_Home:
            return kHome;
        case Qt::Key_Left:
            return kLeft;
        case Qt::Key_Up:
            return kUp;
        case Qt::Key_Right:
            return kRight;
        case Qt::Key_Down:
            return kDown;
        case Qt::Key_Print:
            return kSnapshot;
        case Qt::Key_Insert:
            return kInsert;
        case Qt::Key_Delete:
            return kDelete;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
            return kLeftWindows;
        case Qt::Key_Menu:
            return kApps;
        case Qt::Key_NumLock:
            return kNumLock;
        case Qt::Key_ScrollLock:
            return kScroll;
        default:
            if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kF1 + (key - Qt::Key_F1);
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
    if (qt_key > 0x20 && qt_key <= 0xFF) return kOem8;
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
