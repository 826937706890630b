// make_pictures: draws the colour chart of the documentation with SKTCH's own calls, in a
// graphics window without a screen, and writes what the window shows as a PNG.
//
//     make_pictures OUTPUT.png
//
// The 24 colours stand in three columns of eight, in the order of their numbers: each one
// a swatch with a black frame, its number, its constant, the name log lines use, and its
// red, green and blue values. The pictures of the landing game are made by sktch-replay
// from the scripts beside them (see the docs_pictures target).
#include <cstdio>
#include <cstring>
#include <string>

#include "sktch.h"
#include "sktch/headless.h"
#include "state.h"  // the library's colour table: the chart shows its names and values

namespace {

const char* const constant_names[24] = {
    "BLACK",     "WHITE",        "RED",       "GREEN",     "BLUE",       "YELLOW",
    "MAGENTA",   "CYAN",         "PURPLE",    "NAVY_BLUE", "DUSTY_PLUM", "ICE_BLUE",
    "TURQUOISE", "ORANGE",       "BROWN",     "PINK",      "CHALK",      "GOLD",
    "PEACH",     "FOREST_GREEN", "SEA_GREEN", "OLIVE",     "GRAY_50",    "GRAY_20",
};

// The client area is 595 by 487 pixels: world x runs from -297 to 297, y from 243 down to
// -243. Three columns of 198 units, eight rows of 60.
constexpr int kColumnWidth = 198;
constexpr int kRowHeight = 60;
constexpr int kRows = 8;

void draw_colour_chart() {
    for (int colour = 0; colour < 24; ++colour) {
        int left = -297 + (colour / kRows) * kColumnWidth;
        int top = 241 - (colour % kRows) * kRowHeight;
        COLORREF rgb = sktch::color_table[colour].rgb;
        int red = int(rgb & 0xFF);
        int green = int((rgb >> 8) & 0xFF);
        int blue = int((rgb >> 16) & 0xFF);

        SKTCH_rectangle(colour, left + 6, top - 5, left + 60, top - 54, 0);
        SKTCH_rectangle(BLACK, left + 6, top - 5, left + 60, top - 54, 1);
        // Three lines: the first line's bottom-left corner is the anchor, the others follow
        // below it.
        SKTCH_textf(BLACK, left + 68, top - 17, 13, "%d  %s\n\"%s\"\n%d, %d, %d", colour,
                    constant_names[colour], sktch::color_table[colour].name, red, green, blue);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(argc == 2 ? stdout : stderr,
                     "Usage: make_pictures OUTPUT.png\n"
                     "Draws the chart of SKTCH's 24 colours and writes it to OUTPUT.png.\n");
        return argc == 2 ? 0 : 2;
    }
    char no_arguments[] = "";
    SKTCH_open(reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)), nullptr, no_arguments,
               SW_SHOWNORMAL);
    SKTCH_logging(0);
    SKTCH_clear();
    draw_colour_chart();

    // The window shows the picture once the program waits: ask for one animation tick and
    // wait for it (the clock of the headless windows jumps straight to it).
    SKTCH_animate(SKTCH_ANIMATE_STEP);
    SKTCH_await_event(nullptr, nullptr, nullptr);
    bool written =
        sktch::headless::save_window_png(sktch::headless::find_window("SKTCH Graphics"), argv[1]);
    SKTCH_close();
    if (!written) {
        std::fprintf(stderr, "make_pictures: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
