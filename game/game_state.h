// Everything the landing game remembers from one event to the next.
//
// All positions are world coordinates of the graphics window: the origin is its centre,
// x grows to the right, y grows upward, and the visible width runs from x = -300 to 300.
#pragma once

#include "sktch.h"

// The number of small aircraft crossing the sky in the background.
constexpr int kFlyerCount = 9;

struct GameState {
    // The player's aircraft. (plane_x, plane_y) is the point just below its wheels.
    int plane_x = 270;
    int plane_y = 40;
    int plane_speed = 12;  // units moved left per tick; 0 once it has stopped

    // The centre of the sun.
    int sun_x = 250;
    int sun_y = 215;

    // The background flyers, 75 units apart, all at one height.
    int flyer_x[kFlyerCount] = {0, -75, -150, -225, -300, -375, -450, -525, -600};
    int flyer_y = 220;
    int flyer_direction = -1;  // -1 moves them to the left
    int flyer_step = 5;        // units moved per tick

    bool done = false;  // set by the quit event; ends the game loop
};
