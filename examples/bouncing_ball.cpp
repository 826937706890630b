// bouncing_ball: an animation. After SKTCH_animate(SKTCH_ANIMATE_RUN), SKTCH_await_event
// returns SKTCH_PERIODIC at every tick of the clock (ten times a second). At each tick the
// ball takes one step, turns around at the window's edges, and the picture is drawn again.
#include "sktch.h"

const int kRight = 297;  // the window's edges in world coordinates: x from -297 to 297,
const int kTop = 243;    // y from -243 to 243
const int kRadius = 20;

void draw(int x, int y, int ticks) {
    SKTCH_clear();
    SKTCH_circle(RED, x, y, kRadius);
    SKTCH_textf(BLACK, -290, -235, 14, "tick %d", ticks);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_logging(0);  // ten pictures a second would flood the text window
    SKTCH_animate(SKTCH_ANIMATE_RUN);

    int x = 0, y = 0;    // the ball's centre: it starts in the middle
    int dx = 9, dy = 6;  // how far it moves at each tick
    int ticks = 0;
    draw(x, y, ticks);

    int kind;
    while ((kind = SKTCH_await_event(nullptr, nullptr, nullptr)) != SKTCH_QUIT) {
        if (kind != SKTCH_PERIODIC) continue;  // clicks and keys do nothing here
        // If the next step would take the ball past an edge, turn it around first.
        if (x + dx + kRadius > kRight || x + dx - kRadius < -kRight) dx = -dx;
        if (y + dy + kRadius > kTop || y + dy - kRadius < -kTop) dy = -dy;
        x += dx;
        y += dy;
        ++ticks;
        draw(x, y, ticks);
    }
    SKTCH_close();
    return 0;
}
