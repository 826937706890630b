// One frame of the landing game in a web page: the busy frame the native benchmark draws
// (bench/game_bench.cpp), drawn again and again; prints the median time of a frame over 15
// runs as "frame_us MEDIAN", which bench/web/bench.mjs reads from the page's console.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "rules.h"
#include "scene.h"
#include "sktch.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_logging(0);
    SKTCH_clear();
    GameState game;  // the aircraft stopped on the runway, the flyers after their first step
    game.plane_x = -150;
    game.plane_y = -130;
    game.plane_speed = 0;
    step_flyers(game);
    redraw(game);  // fonts and glyphs into their caches

    constexpr int kFrames = 200;
    std::vector<double> runs;
    for (int run = 0; run < 15; ++run) {
        const double start = emscripten_get_now();
        for (int i = 0; i < kFrames; ++i) redraw(game);
        runs.push_back((emscripten_get_now() - start) * 1000.0 / kFrames);
    }
    std::sort(runs.begin(), runs.end());
    std::printf("frame_us %.1f\n", runs[runs.size() / 2]);
    std::fflush(stdout);
    while (SKTCH_await_event(nullptr, nullptr, nullptr) != SKTCH_QUIT) {
    }
    SKTCH_close();
    return 0;
}
