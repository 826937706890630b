// Two roles for the line-input check under Wine:
//   sktch-ask.exe OUT        asks for a line with SKTCH_gets and writes what came back, between
//                            brackets, and the call's result to OUT; exits 0 if the dialog ran.
//   sktch-ask.exe peek OUT   writes what the open "SKTCH_gets" dialog shows (its prompt and
//                            its button, read through the dialog manager) to OUT.
//   sktch-ask.exe close      asks the open dialog to close, as its close box does.
#include <cstdio>
#include <cstring>

#include "sktch.h"

namespace {

int peek(const char* path) {
    HWND dialog = FindWindowA(nullptr, "SKTCH_gets");
    if (!dialog) return 4;
    char prompt[256] = "", button[64] = "";
    GetDlgItemTextA(dialog, 103, prompt, sizeof prompt);
    GetDlgItemTextA(dialog, 101, button, sizeof button);
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 5;
    std::fprintf(out, "prompt=[%s]\nbutton=[%s]\n", prompt, button);
    return std::fclose(out) == 0 ? 0 : 5;
}

int close_dialog() {
    HWND dialog = FindWindowA(nullptr, "SKTCH_gets");
    return dialog && PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 4;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    if (std::strncmp(command_line, "peek ", 5) == 0) return peek(command_line + 5);
    if (std::strcmp(command_line, "close") == 0) return close_dialog();
    SKTCH_open(instance, previous, command_line, show);
    char buffer[256] = "untouched";
    int shown = SKTCH_gets("Type a word and press Enter", buffer);
    const char* path = *command_line ? command_line : "answer.txt";
    if (std::FILE* out = std::fopen(path, "wb")) {
        std::fprintf(out, "[%s] %d\n", buffer, shown);
        std::fclose(out);
    }
    SKTCH_close();
    return shown ? 0 : 3;
}
