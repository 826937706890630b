// Asking the user for a line of text: a small modal dialog built in memory at each call,
// with the prompt, an edit box and an "Okay" button.
#include <cstring>

#include "state.h"

namespace sktch {
namespace {

constexpr int kTemplateSize = 292;
constexpr int kPromptLength = 79;
constexpr WORD kOkayButton = 101;
constexpr WORD kEditBox = 102;
constexpr WORD kPromptText = 103;

// Writes little-endian values and 16-bit strings into the zero-filled template.
class TemplateWriter {
  public:
    explicit TemplateWriter(unsigned char* bytes) : bytes_(bytes) {}
    void at(int offset) { at_ = offset; }
    void word(WORD value) {
        bytes_[at_++] = static_cast<unsigned char>(value & 0xFF);
        bytes_[at_++] = static_cast<unsigned char>(value >> 8);
    }
    void dword(DWORD value) {
        word(WORD(value & 0xFFFF));
        word(WORD(value >> 16));
    }
    void text(const char* s) {
        for (; *s; ++s) word(static_cast<unsigned char>(*s));
        word(0);
    }
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
              const char* caption) {
        dword(style);
        dword(0);
        word(WORD(x));
        word(WORD(y));
        word(WORD(cx));
        word(WORD(cy));
        word(id);
        word(0xFFFF);
        word(atom);
        text(caption);
        word(0);  // no creation data
    }

  private:
    unsigned char* bytes_;
    int at_ = 0;
};

void build_template(unsigned char (&bytes)[kTemplateSize], const char* prompt) {
    std::memset(bytes, 0, sizeof bytes);
    // The prompt's first 79 characters, padded with spaces.
    char shown[kPromptLength + 1];
    std::size_t length = prompt ? strnlen(prompt, kPromptLength) : 0;
    std::memset(shown, ' ', kPromptLength);
    std::memcpy(shown, prompt ? prompt : "", length);
    shown[kPromptLength] = '\0';

    TemplateWriter t(bytes);
    t.at(0);
    t.dword(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);  // 0x90C80080
    t.dword(0);
    t.word(3);
    t.word(50);
    t.word(50);
    t.word(185);
    t.word(92);
    t.word(0);  // no menu
    t.word(0);  // the standard dialog class
    t.text("SKTCH_gets");
    t.at(44);
    t.item(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOVSCROLL | ES_MULTILINE, 8, 30,
           167, 37, kEditBox, 0x0081, "");  // 0x50810044, the edit class
    t.at(72);
    t.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 67, 74, 50, 14, kOkayButton,
           0x0080, "Okay");  // 0x50010001, the button class
    t.at(108);
    t.item(WS_CHILD | WS_VISIBLE | WS_GROUP, 8, 3, 167, 24, kPromptText, 0x0082,
           shown);  // 0x50020000, the static class
}

INT_PTR CALLBACK gets_dialog_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_INITDIALOG:
            state.gets_buffer = reinterpret_cast<char*>(l);
            return 1;
        case WM_COMMAND:
            if (w != kOkayButton) return 0;
            GetDlgItemTextA(window, kEditBox, state.gets_buffer, 256);
            EndDialog(window, 1);
            return 1;
        default:
            return 0;
    }
}

}  // namespace

void build_gets_template(unsigned char (&bytes)[292], const char* prompt) {
    build_template(bytes, prompt);
}

}  // namespace sktch

int SKTCH_gets(const char* prompt, char* buffer) {
    using namespace sktch;
    if (!buffer) return 0;
    alignas(4) unsigned char bytes[kTemplateSize];
    build_template(bytes, prompt);
    INT_PTR result = DialogBoxIndirectParamA(
        state.instance, reinterpret_cast<LPCDLGTEMPLATEA>(bytes), state.graphics_window,
        gets_dialog_proc, reinterpret_cast<LPARAM>(buffer));
    return result == -1 ? 0 : 1;
}
