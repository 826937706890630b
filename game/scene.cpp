// The landing game's picture, painted back to front.
#include "scene.h"

#include "rules.h"

namespace {

struct Building {
    int left, width, height, colour;
};

// The skyline, left to right. The antennas stand on the sixth building, so the buildings
// before it are drawn first, then the antennas, then the rest.
constexpr int kBuildingsBeforeAntennas = 6;
constexpr Building kSkyline[] = {
    // left, width, height, colour
    {30, 32, 80, BLACK},   {70, 32, 90, BLACK},    {110, 32, 85, GRAY_50}, {150, 32, 95, BLACK},
    {190, 32, 130, BLACK}, {230, 32, 170, BLACK},  // the tallest, with the antennas
    {270, 32, 120, BLACK}, {310, 32, 100, BLACK},  {350, 32, 80, GRAY_50}, {390, 32, 90, BLACK},
    {430, 32, 70, BLACK},  {470, 32, 40, GRAY_50}, {510, 64, 35, BLACK},
};
constexpr int kBuildingCount = sizeof kSkyline / sizeof kSkyline[0];

void draw_buildings(int first, int end) {
    for (int i = first; i < end; ++i) {
        const Building& b = kSkyline[i];
        draw_building(b.left, b.width, b.height, b.colour);
    }
}

}  // namespace

void draw_scene(int sun_x, int sun_y) {
    SKTCH_rectangle(ICE_BLUE, -300, -250, 300, 250, 0);  // sky
    SKTCH_circle(YELLOW, sun_x, sun_y, 20);              // sun
    SKTCH_rectangle(BROWN, -300, -250, 300, -50, 0);     // ground
    draw_runway(BLUE);
    SKTCH_textf(BLACK, -285, -220, 15, "Safely land the airplane.");

    // Three hills on the horizon; the olive one reaches past the left edge.
    SKTCH_triangle(GRAY_50, -300, -50, 300, -50, 0, 200, 0);
    SKTCH_triangle(OLIVE, -375, -50, 100, -50, -375, 166, 0);
    SKTCH_triangle(FOREST_GREEN, -100, -50, 300, -50, 300, 166, 0);

    // The skyline in front of the hills, with three antennas on the tallest building.
    draw_buildings(0, kBuildingsBeforeAntennas);
    SKTCH_line(RED, -60, 120, -60, 140, 2);
    SKTCH_line(RED, -52, 120, -52, 130, 2);
    SKTCH_line(RED, -44, 120, -44, 140, 2);
    draw_buildings(kBuildingsBeforeAntennas, kBuildingCount);
}

void draw_building(int left, int width, int height, int colour) {
    // The building stands on the horizon at y = -50.
    int x = left - 300;
    int roof = height - 50;
    SKTCH_rectangle(colour, x, -50, x + width, roof, 0);

    // Lit windows: 2 by 2 dots every 5 units, starting 3 units in from the top-left
    // corner; the lowest row stays more than 10 units above the ground.
    for (int r = 3; r + 10 < height; r += 5) {
        for (int c = 3; c < width - 1; c += 5) {
            SKTCH_rectangle(YELLOW, x + c, roof - r, x + c + 1, roof - r - 1, 0);
        }
    }
}

void draw_runway(int light_colour) {
    SKTCH_rectangle(GRAY_20, -300, -90, -90, -140, 0);
    SKTCH_rectangle(BLACK, -300, -90, -90, -140, 1);

    // Dashes along the centre line.
    for (int i = 0; i < 6; ++i) {
        SKTCH_line(YELLOW, -300 + 30 * i, -115, -280 + 30 * i, -115, 1);
    }
    // Threshold stripes near the runway's right end.
    SKTCH_line(WHITE, -95, -95, -95, -135, 2);
    SKTCH_line(WHITE, -100, -95, -100, -135, 2);
    SKTCH_line(WHITE, -105, -95, -105, -135, 2);

    // Red lights across the right end, then a row of lights along each long edge.
    for (int y = -95; y > -140; y -= 8) {
        SKTCH_circle(RED, -85, y, 1);
    }
    for (int x = -298; x < -90; x += 8) {
        SKTCH_circle(light_colour, x, -85, 1);
    }
    for (int x = -298; x < -90; x += 8) {
        SKTCH_circle(light_colour, x, -145, 1);
    }
}

void draw_panel() {
    // Four boxes, 25 units high, one under the other.
    for (int i = 0; i < 4; ++i) {
        SKTCH_rectangle(BLACK, -295, 245 - 25 * i, -220, 220 - 25 * i, 1);
    }
    // Each label sits half its size below the middle of its box (y = 233 for the first).
    constexpr int kLabelSize = 12;
    constexpr int kFirstLabelY = 233 - kLabelSize / 2;
    SKTCH_textf(FOREST_GREEN, -285, kFirstLabelY, kLabelSize, "LAND");
    SKTCH_textf(RED, -285, kFirstLabelY - 25, kLabelSize, "PULL UP");
    SKTCH_textf(BLACK, -285, kFirstLabelY - 50, kLabelSize, "BRAKES");
    SKTCH_textf(BLACK, -285, kFirstLabelY - 75, kLabelSize, "RESTART");
}

void draw_plane(int x, int y) {
    SKTCH_oval(WHITE, x - 20, y + 6, x + 20, y + 12, 0);                     // body
    SKTCH_circle(BLACK, x - 10, y + 4, 3);                                   // front wheel
    SKTCH_circle(BLACK, x + 10, y + 4, 3);                                   // rear wheel
    SKTCH_triangle(WHITE, x + 20, y + 8, x + 13, y + 8, x + 20, y + 18, 0);  // tail
}

void draw_flyer(int x, int y) {
    SKTCH_oval(WHITE, x - 20, y + 6, x + 20, y + 12, 0);
    SKTCH_triangle(WHITE, x + 20, y + 8, x + 13, y + 8, x + 20, y + 18, 0);
}

void draw_flyers(const int flyer_x[kFlyerCount], int flyer_y) {
    for (int i = 0; i < kFlyerCount; ++i) {
        draw_flyer(flyer_x[i], flyer_y);
    }
}

void redraw(const GameState& game) {
    draw_scene(game.sun_x, game.sun_y);
    draw_panel();
    draw_plane(game.plane_x, game.plane_y);
    draw_outcome(game);
    draw_flyers(game.flyer_x, game.flyer_y);
}
