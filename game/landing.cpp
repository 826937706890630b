// The landing game: bring the aircraft down onto the runway and brake it to a stop.
//
// The aircraft flies in from the right. Four buttons at the top left steer it: LAND takes
// it down a little, PULL UP takes it up, BRAKES slows it once its wheels are on the runway,
// and RESTART starts a new flight. Every tick of the clock moves the sun, the background
// flyers and the aircraft; after every event the whole picture is drawn again.
#include "rules.h"
#include "scene.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
    SKTCH_open(instance, previous_instance, command_line, show_command);
    SKTCH_logging(0);  // no log line for each of the frame's many drawing calls
    SKTCH_clear();
    SKTCH_animate(SKTCH_ANIMATE_RUN);  // a periodic event on every tick from now on

    GameState game;

    // The first picture has no flyers yet and no outcome.
    draw_scene(game.sun_x, game.sun_y);
    draw_panel();
    draw_plane(game.plane_x, game.plane_y);

    int mouse_x = 0;
    int mouse_y = 0;
    char key = 0;  // the game ignores the keyboard
    while (!game.done) {
        switch (SKTCH_await_event(&mouse_x, &mouse_y, &key)) {
            case SKTCH_MOUSE:
                if (panel_hit(mouse_x, mouse_y)) press_button(mouse_x, mouse_y, game);
                break;
            case SKTCH_PERIODIC:
                step_sun(game);
                step_flyers(game);
                step_plane(game);
                break;
            case SKTCH_QUIT:
                game.done = true;
                break;
            default:  // typed keys change nothing
                break;
        }
        // Every event, the last one too, ends with a new frame.
        redraw(game);
    }

    SKTCH_close();
    return 0;
}
