// SKTCH: a small graphics library for a first program.
//
// A program calls SKTCH_open once with the four values its WinMain receives, draws with
// the SKTCH_ calls below in world coordinates (origin at the centre of the graphics window,
// x to the right, y upward), waits for events in its own loop with SKTCH_await_event, and
// calls SKTCH_close once at the end:
//
//     int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
//         SKTCH_open(instance, previous, command_line, show);
//         SKTCH_clear();
//         SKTCH_circle(RED, 0, 0, 50);
//         int x, y;
//         char key;
//         while (SKTCH_await_event(&x, &y, &key) != SKTCH_QUIT) {
//         }
//         return SKTCH_close() - 1;
//     }
//
// Every call returns an integer: 1 when done (0 from SKTCH_animate and SKTCH_logging before
// SKTCH_open); the formatted calls return the number of characters formatted. Nothing ever
// fails: a bad colour, width, radius or size is corrected, and the correction is printed
// as a line in the text window. With logging on (the default), every drawing call is
// echoed there too. Formatted output is cut at 1023 characters.
#pragma once

#include "sktch/win32.h"

// Event kinds, returned by SKTCH_await_event.
enum {
    SKTCH_MOUSE = 1,     // the left button was pressed in the graphics window: x, y
    SKTCH_KBD = 2,       // a character was typed in the graphics window: key
    SKTCH_PERIODIC = 3,  // an animation tick (at most one every 100 ms)
    SKTCH_QUIT = 4,      // the user quit: leave the loop and call SKTCH_close
};

// Requests for SKTCH_animate.
enum {
    SKTCH_ANIMATE_HALT = 0,  // no more periodic events
    SKTCH_ANIMATE_STEP = 1,  // one periodic event, at the next tick
    SKTCH_ANIMATE_RUN = 2,   // a periodic event every tick
    SKTCH_ANIMATE_QUIT = 5,  // every later wait returns SKTCH_QUIT
};

// The 24 colours.
enum {
    BLACK = 0,
    WHITE = 1,
    RED = 2,
    GREEN = 3,
    BLUE = 4,
    YELLOW = 5,
    MAGENTA = 6,
    CYAN = 7,
    PURPLE = 8,
    NAVY_BLUE = 9,
    DUSTY_PLUM = 10,
    ICE_BLUE = 11,
    TURQUOISE = 12,
    ORANGE = 13,
    BROWN = 14,
    PINK = 15,
    CHALK = 16,
    GOLD = 17,
    PEACH = 18,
    FOREST_GREEN = 19,
    SEA_GREEN = 20,
    OLIVE = 21,
    GRAY_50 = 22,
    GRAY_20 = 23,
};

#if defined(__GNUC__)
#define SKTCH_PRINTF_LIKE(format_index, first_arg) \
    __attribute__((format(printf, format_index, first_arg)))
#else
#define SKTCH_PRINTF_LIKE(format_index, first_arg)
#endif

// Opening and closing.
int SKTCH_open(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
               int show_command);
int SKTCH_close();

// Waits for the next event and returns its kind; stores the event's x, y (world coordinates
// of a click) and key (a typed character) through the pointers, 0 where the event has none.
// Any pointer may be null.
int SKTCH_await_event(int* x, int* y, char* key);

// Animation and logging, as the Run menu does them.
int SKTCH_animate(int request);
int SKTCH_logging(int on);

// Drawing. A width of 0 fills the shape.
int SKTCH_clear();
int SKTCH_pixel(int color, int x, int y);
int SKTCH_circle(int color, int x, int y, int radius);
int SKTCH_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int SKTCH_rectangle(int color, int x1, int y1, int x2, int y2, int width);
int SKTCH_oval(int color, int x1, int y1, int x2, int y2, int width);
int SKTCH_line(int color, int x1, int y1, int x2, int y2, int width);
// Text with its first line's bottom-left corner at (x, y); size is the character height in
// pixels (0 to 127); "\n" starts a new line below.
int SKTCH_text(int color, int x, int y, int size, const char* text);
int SKTCH_textf(int color, int x, int y, int size, const char* format, ...) SKTCH_PRINTF_LIKE(5, 6);
int SKTCH_draw_textf(int color, int x, int y, int size, const char* format, ...)
    SKTCH_PRINTF_LIKE(5, 6);
int SKTCH_undo();

// Prints a line in the text window (end it with "\n").
int SKTCH_printf(const char* format, ...) SKTCH_PRINTF_LIKE(1, 2);

// Asks the user for a line of text in a small dialog; buffer must hold 256 characters.
// Returns 1 when the dialog ran, 0 when it could not be shown.
int SKTCH_gets(const char* prompt, char* buffer);
