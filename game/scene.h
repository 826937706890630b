// Everything the landing game draws. The whole picture is painted again after every event,
// back to front, without clearing: the sky paints over the previous picture.
#pragma once

#include "game_state.h"

// Sky, sun, ground, runway, title, hills and skyline.
void draw_scene(int sun_x, int sun_y);
// One building with its lit windows; `left` counts from the window's left edge.
void draw_building(int left, int width, int height, int colour);
// The runway with its markings; the edge lights shine in `light_colour`.
void draw_runway(int light_colour);
// The four buttons at the top left.
void draw_panel();
// The player's aircraft, pointing left, drawn above the point (x, y).
void draw_plane(int x, int y);
// One background flyer: the aircraft without its wheels.
void draw_flyer(int x, int y);
// All the background flyers.
void draw_flyers(const int flyer_x[kFlyerCount], int flyer_y);

// One whole frame: scene, panel, aircraft, outcome text and flyers, in this order.
void redraw(const GameState& game);
