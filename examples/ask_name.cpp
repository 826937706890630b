// ask_name: asks for your name in a small dialog with SKTCH_gets, then greets you by name.
#include <cstring>

#include "sktch.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_logging(0);
    SKTCH_clear();

    // SKTCH_gets needs room for 256 characters. It returns once "Okay" (or Enter) is pressed,
    // or at once with 0 when the dialog cannot be shown: then the name stays empty.
    char name[256] = "";
    if (!SKTCH_gets("What is your name?", name)) name[0] = '\0';

    // The box may hold several lines: keep the first. Nothing typed? Then use "stranger".
    name[std::strcspn(name, "\r\n")] = '\0';
    if (name[0] == '\0') std::strcpy(name, "stranger");

    SKTCH_textf(BLUE, -270, 30, 40, "Hello, %s!", name);
    SKTCH_text(GRAY_50, -270, -30, 16, "Quit with Ctrl+Q.");

    while (SKTCH_await_event(nullptr, nullptr, nullptr) != SKTCH_QUIT) {
    }
    SKTCH_close();
    return 0;
}
