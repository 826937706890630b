// The first program of docs/windows.md, built against an installed SKTCH.
#include "sktch.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_clear();
    SKTCH_circle(RED, 0, 0, 50);
    int x, y;
    char key;
    while (SKTCH_await_event(&x, &y, &key) != SKTCH_QUIT) {
    }
    return SKTCH_close() - 1;
}
