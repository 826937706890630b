// mouse_paint: click in the graphics window to paint a dot where the mouse is; type a letter
// to choose the colour: r red, g green, b blue, y yellow, k black; c clears the picture.
#include "sktch.h"

// The instructions at the top.
void draw_help() {
    SKTCH_text(BLACK, -290, 225, 14, "Click to paint.  r g b y k: colour   c: clear");
    SKTCH_text(BLACK, 180, 225, 14, "colour:");
}

// A square at the top right, in the colour the next dot will have.
void draw_swatch(int color) {
    SKTCH_rectangle(color, 240, 236, 260, 216, 0);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_clear();
    int color = BLACK;
    draw_help();
    draw_swatch(color);

    int x, y;
    char key;
    int kind;
    // x and y tell where a click was, key which character was typed.
    while ((kind = SKTCH_await_event(&x, &y, &key)) != SKTCH_QUIT) {
        if (kind == SKTCH_MOUSE) {
            SKTCH_circle(color, x, y, 6);
        } else if (kind == SKTCH_KBD) {
            if (key == 'r') color = RED;
            if (key == 'g') color = GREEN;
            if (key == 'b') color = BLUE;
            if (key == 'y') color = YELLOW;
            if (key == 'k') color = BLACK;
            if (key == 'c') {
                SKTCH_clear();
                draw_help();
            }
            draw_swatch(color);
        }
    }
    SKTCH_close();
    return 0;
}
