// A small SKTCH program for runs on a real X server: it draws a filled red square centred on
// the world origin (100 by 100) and prints each event as a line on stdout: "MOUSE x y",
// "KBD c" (a printable character) or "KBD #n" (its code), "QUIT". Started with "animate" it
// runs the animation and redraws 600 shapes on every periodic event.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "sktch.h"

namespace {

constexpr int kShapes = 600;

// The red square, which a test finds on the screen.
void draw_marker() {
    SKTCH_rectangle(RED, -50, 50, 50, -50, 0);
}

// A busy frame: rows of small shapes that shift with the frame number.
void draw_frame(int frame) {
    SKTCH_clear();
    for (int i = 0; i < kShapes; ++i) {
        int x = -290 + (i * 37 + frame * 3) % 580;
        int y = -235 + (i * 53 + frame * 2) % 470;
        int color = 2 + i % 22;
        switch (i % 4) {
            case 0:
                SKTCH_rectangle(color, x, y, x + 12, y + 9, 0);
                break;
            case 1:
                SKTCH_circle(color, x, y, 6);
                break;
            case 2:
                SKTCH_line(color, x, y, x + 15, y + 7, 1);
                break;
            default:
                SKTCH_triangle(color, x, y, x + 10, y, x + 5, y + 9, 0);
                break;
        }
    }
    draw_marker();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    bool animate = command_line && std::strcmp(command_line, "animate") == 0;
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_logging(0);
    SKTCH_clear();
    draw_marker();
    if (animate) SKTCH_animate(SKTCH_ANIMATE_RUN);

    int frame = 0;
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        int kind = SKTCH_await_event(&x, &y, &key);
        if (kind == SKTCH_QUIT) {
            std::puts("QUIT");
            break;
        }
        if (kind == SKTCH_MOUSE) {
            std::printf("MOUSE %d %d\n", x, y);
        } else if (kind == SKTCH_KBD) {
            auto c = static_cast<unsigned char>(key);
            if (std::isgraph(c))
                std::printf("KBD %c\n", c);
            else
                std::printf("KBD #%d\n", c);
        } else if (kind == SKTCH_PERIODIC && animate) {
            draw_frame(++frame);
        }
        std::fflush(stdout);
    }
    std::fflush(stdout);
    SKTCH_close();
    return 0;
}
