// text_window: SKTCH_printf writes a line to the text window, the way printf writes to a
// console. This program prints a table of squares and cubes there; every key you type or
// click you make adds the next row.
#include "sktch.h"

void print_row(int n) {
    SKTCH_printf("%4d %8d %10d\n", n, n * n, n * n * n);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_logging(0);  // only our own lines in the text window, no log of drawing calls
    SKTCH_clear();
    // "\n" starts a second line of text, below the first.
    SKTCH_text(BLACK, -200, 20, 20, "The table is in the text window.\nType a key or click!");

    // Each call prints one line; end it with \n. %4d pads a number to 4 characters.
    SKTCH_printf("%4s %8s %10s\n", "n", "n*n", "n*n*n");
    int n = 1;
    for (; n <= 10; ++n) print_row(n);

    int kind;
    while ((kind = SKTCH_await_event(nullptr, nullptr, nullptr)) != SKTCH_QUIT) {
        if (kind == SKTCH_KBD || kind == SKTCH_MOUSE) {
            print_row(n);
            ++n;
        }
    }
    SKTCH_close();
    return 0;
}
