// shapes: every drawing call of SKTCH, in every one of its 24 colours.
//
// Each colour gets a column and each kind of drawing a row, named on the left. Logging is on
// (it is on from the start), so the text window lists every call as it is made. Then the
// program waits until you quit: Run > Quit, Ctrl+Q, or the window's close box.
#include "sktch.h"

// Where things go, in world coordinates: (0, 0) is the centre of the graphics window, x runs
// from -297 (left) to 297 (right) and y from -243 (bottom) to 243 (top).
const int kFirstColumn = -200;  // x of the middle of colour 0's column
const int kColumnStep = 20;     // one column to the next
const int kFirstRow = 185;      // y of the middle of the top row
const int kRowStep = 52;        // one row to the next (downward)

// Draws one of each shape in `color` with its middle at (x, y); each is about 16 pixels wide.
void draw_cell(int color, int x, int y, int row) {
    switch (row) {
        case 0:  // a pixel is tiny, so draw a 3 by 3 block of them
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) SKTCH_pixel(color, x + dx, y + dy);
            break;
        case 1:  // centre and radius; a circle is always filled
            SKTCH_circle(color, x, y, 8);
            break;
        case 2:  // three corners; the last argument is the line width, 0 fills the shape
            SKTCH_triangle(color, x - 8, y - 8, x + 8, y - 8, x, y + 8, 0);
            break;
        case 3:  // two opposite corners
            SKTCH_rectangle(color, x - 7, y + 8, x + 7, y - 8, 0);
            break;
        case 4:  // an oval fits in the box of two opposite corners
            SKTCH_oval(color, x - 8, y + 5, x + 8, y - 5, 0);
            break;
        case 5:  // from one end to the other, 3 pixels wide
            SKTCH_line(color, x - 7, y - 8, x + 7, y + 8, 3);
            break;
        case 6:  // text: (x, y) is the bottom-left corner, then the size in pixels
            SKTCH_text(color, x - 6, y - 8, 20, "A");
            break;
        case 7:  // text made like printf makes it: here the colour's number
            SKTCH_textf(color, x - 8, y - 6, 12, "%d", color);
            break;
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_clear();  // start from a white picture

    const char* row_names[8] = {"pixel", "circle", "triangle", "rectangle",
                                "oval",  "line",   "text",     "textf"};
    SKTCH_text(BLACK, -290, 222, 16, "The 24 colours, one column each");
    for (int row = 0; row < 8; ++row)
        SKTCH_text(BLACK, -290, kFirstRow - row * kRowStep - 6, 14, row_names[row]);

    // White shapes would vanish on the white picture: give their column a grey strip.
    int white_x = kFirstColumn + WHITE * kColumnStep;
    SKTCH_rectangle(GRAY_50, white_x - 10, kFirstRow + 20, white_x + 9,
                    kFirstRow - 7 * kRowStep - 20, 0);

    for (int color = BLACK; color <= GRAY_20; ++color) {
        int x = kFirstColumn + color * kColumnStep;
        for (int row = 0; row < 8; ++row) draw_cell(color, x, kFirstRow - row * kRowStep, row);
    }

    // Nothing more to draw: wait for events until the user quits.
    while (SKTCH_await_event(nullptr, nullptr, nullptr) != SKTCH_QUIT) {
    }
    SKTCH_close();
    return 0;
}
