// The flight rules: what a click on a button and what a tick of the clock do to the game.
#pragma once

#include "game_state.h"

// 1 when (x, y) lies strictly inside the button panel, else 0.
int panel_hit(int x, int y);

// Applies the button under (x, y): LAND, PULL UP, BRAKES or RESTART, from the top.
void press_button(int x, int y, GameState& game);

// Complains about a press that is on no button.
void report_bad_button();

// One tick of the clock: the sun drifts left and sinks a little on each crossing ...
void step_sun(GameState& game);
// ... the flyers move one step and wrap around at the window's edges ...
void step_flyers(GameState& game);
// ... and the aircraft moves, stopping for good if it came down short of the runway.
void step_plane(GameState& game);

// Draws the outcome of the flight, if there is one yet: "CRASH!!!!!", "NICE LANDING"
// or "OVERSHOT RUNWAY".
void draw_outcome(const GameState& game);
