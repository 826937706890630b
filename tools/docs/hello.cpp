// The first program of the README and of docs/getting-started.md, word for word (a test
// checks that they show this file). Built as docs_hello_replay, it makes docs/pictures/hello.png.
#include "sktch.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_clear();
    SKTCH_circle(RED, 0, 0, 50);
    SKTCH_text(BLUE, -70, -80, 24, "Hello, SKTCH!");
    while (SKTCH_await_event(nullptr, nullptr, nullptr) != SKTCH_QUIT) {
    }
    SKTCH_close();
    return 0;
}
