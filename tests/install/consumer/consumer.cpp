// A program built against an installed SKTCH. It opens the library, draws, runs the animation
// for one periodic event, then asks to quit and expects the next event to be SKTCH_QUIT; it
// exits with 0 only when both events came as expected. Built with the headless library it
// also reads the graphics window's pixels and saves them as a PNG, to the path given as its
// command line.
#include <cstdio>

#include "sktch.h"
#ifdef CONSUMER_HEADLESS
#include "sktch/headless.h"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_logging(0);
    SKTCH_clear();
    SKTCH_circle(RED, 0, 0, 40);
    SKTCH_printf("drawn\n");

    SKTCH_animate(SKTCH_ANIMATE_RUN);
    int first = SKTCH_await_event(nullptr, nullptr, nullptr);
    SKTCH_animate(SKTCH_ANIMATE_QUIT);
    int second = SKTCH_await_event(nullptr, nullptr, nullptr);

#ifdef CONSUMER_HEADLESS
    HWND graphics = sktch::headless::find_window("SKTCH Graphics");
    if (command_line && *command_line && !sktch::headless::save_window_png(graphics, command_line))
        return 2;
    // The driver's pixels, read with nothing but the installed headers.
    sktch::headless::Pixels shown = sktch::headless::window_pixels(graphics);
    if (shown.width != 595 || shown.height != 487 || shown.at(297, 243) != 0xFF0000 ||
        sktch::headless::window_pixel(graphics, 100, 100) != 0xFFFFFF)
        return 3;
#endif
    SKTCH_close();
    std::printf("events %d %d\n", first, second);
    return first == SKTCH_PERIODIC && second == SKTCH_QUIT ? 0 : 1;
}
