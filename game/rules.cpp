// The flight rules of the landing game.
#include "rules.h"

namespace {

// Below this height the wheels are on the ground (the runway's centre line).
constexpr int kGround = -115;
// Above this height the wheels are still on the runway (its lower edge).
constexpr int kRunwayBottom = -140;
// The runway's near end: the aircraft comes from the right and must touch down left of it.
constexpr int kRunwayEnd = -90;

// Where a new flight starts.
constexpr int kStartX = 270;
constexpr int kStartY = 40;

// LAND and PULL UP work while the aircraft moves or is still in the air.
bool can_steer(const GameState& game) {
    return game.plane_speed != 0 || game.plane_y > kGround;
}

}  // namespace

int panel_hit(int x, int y) {
    // Strictly inside the panel's outline, which runs from (-295, 245) to (-220, 145).
    if (x > -295 && x < -220 && y > 145 && y < 245) return 1;
    return 0;
}

void report_bad_button() {
    SKTCH_textf(RED, 0, 0, 16, "BAAAADDD NEWS!");
}

void press_button(int x, int y, GameState& game) {
    if (x < -295 || x > -220) {
        report_bad_button();
        return;
    }
    // The buttons are rows 25 units high, counted from the top of the panel at y = 245.
    int row = (245 - y) / 25;
    switch (row) {
        case 0:  // LAND: down and forward
            if (can_steer(game)) {
                game.plane_x -= 5;
                game.plane_y -= 5;
            }
            break;
        case 1:  // PULL UP: up and forward; too late once stopped on the ground
            if (can_steer(game)) {
                game.plane_x -= 5;
                game.plane_y += 5;
            } else {
                SKTCH_textf(RED, game.plane_x + 20, game.plane_y - 20, 14, "CRASH");
            }
            break;
        case 2:  // BRAKES: they only work with the wheels on the runway
            if (game.plane_y > kRunwayBottom && game.plane_y < kGround) game.plane_speed -= 1;
            if (game.plane_speed < 0) game.plane_speed = 0;
            break;
        case 3:  // RESTART: a new flight, a little slower than the first
            game.plane_x = kStartX;
            game.plane_y = kStartY;
            game.plane_speed = 10;
            break;
        default:
            report_bad_button();
            break;
    }
}

void step_sun(GameState& game) {
    game.sun_x -= 1;
    if (game.sun_x < -330) {
        // Past the left edge: come back in from the right, a little lower.
        game.sun_x = -game.sun_x;
        game.sun_y -= 1;
    }
}

void step_flyers(GameState& game) {
    for (int i = 0; i < kFlyerCount; ++i) {
        int x = game.flyer_x[i] + game.flyer_direction * game.flyer_step;
        if (x > 300)
            game.flyer_x[i] = -300;
        else if (x < -300)
            game.flyer_x[i] = 300;
        else
            game.flyer_x[i] = x;
    }
}

void step_plane(GameState& game) {
    // On the ground before reaching the runway: a crash, and it stops where it is.
    if (game.plane_x > kRunwayEnd && game.plane_y < kGround) game.plane_speed = 0;

    int x = game.plane_x - game.plane_speed;
    // Well past either edge: reappear beyond the other one.
    if (x > 340 || x < -340)
        game.plane_x = -x;
    else
        game.plane_x = x;
}

void draw_outcome(const GameState& game) {
    if (game.plane_speed == 0 && game.plane_x > kRunwayEnd) {
        SKTCH_textf(RED, game.plane_x + 30, game.plane_y, 19, "CRASH!!!!!");
    } else if (game.plane_speed == 0 && game.plane_x > -300 && game.plane_x < kRunwayEnd) {
        SKTCH_textf(BLUE, game.plane_x + 30, game.plane_y, 19, "NICE LANDING");
    } else if (game.plane_speed != 0 && game.plane_x < -300) {
        SKTCH_textf(RED, -290, game.plane_y, 19, "OVERSHOT RUNWAY");
    }
}
