// Shared helpers for the game's tests: opening the library over the headless backend,
// reading the lines it logs and the pixels it shows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sktch.h"
#include "sktch/headless.h"
#include "sktch_test_support.h"
#include "state.h"

namespace game_test {

using sktch::test_support::kBlack;
using sktch::test_support::kBlue;
using sktch::test_support::kBrown;
using sktch::test_support::kForestGreen;
using sktch::test_support::kGray20;
using sktch::test_support::kGray50;
using sktch::test_support::kIceBlue;
using sktch::test_support::kOlive;
using sktch::test_support::kRed;
using sktch::test_support::kWhite;
using sktch::test_support::kYellow;

// The graphics window's client area and where the world origin lies in it.
constexpr int kClientWidth = 595;
constexpr int kClientHeight = 487;
constexpr int kOriginX = 297;
constexpr int kOriginY = 243;

// The four values a program's start-up hands to WinMain.
inline HINSTANCE test_instance() {
    return reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000));
}
inline char* empty_command_line() {
    static char line[] = "";
    return line;
}

// A fresh platform and library, for every test that opens the library. The library's
// state record is reset from inside: a program never needs that, so the public calls have
// no way to do it. The screen is tall enough for the text window to show every line a
// test prints.
inline void reset_all() {
    sktch::headless::reset();
    sktch::headless::on_idle([] {});  // the test drives: the clock jumps, nothing sleeps
    sktch::headless::set_screen_size(1024, 4096);
    sktch::reset_state();
}

// A test with the library open, logging off, as the game runs it.
class OpenLibrary : public testing::Test {
  protected:
    void SetUp() override {
        reset_all();
        SKTCH_open(test_instance(), nullptr, empty_command_line(), SW_SHOWNORMAL);
        SKTCH_logging(0);
    }
    void TearDown() override { SKTCH_close(); }
};

// Lets one pass of the event wait copy the surface to the window.
inline void present() {
    SKTCH_animate(SKTCH_ANIMATE_STEP);
    SKTCH_await_event(nullptr, nullptr, nullptr);
}

inline sktch::headless::Pixels window_bitmap() {
    return sktch::headless::window_pixels(sktch::test_support::graphics_window());
}

// The shown colour of world point (x, y), which must lie in the client area.
inline std::uint32_t world_pixel(int x, int y) {
    const sktch::headless::Pixels b = window_bitmap();
    int column = kOriginX + x;
    int row = kOriginY - y;
    if (column < 0 || row < 0 || column >= b.width || row >= b.height) {
        ADD_FAILURE() << "(" << x << ", " << y << ") lies outside the window";
        return 0xFFFFFFFFu;
    }
    return b.at(column, row);
}

// How many pixels of `colour` the window shows inside the world box from (x1, y1) (top
// left) to (x2, y2) (bottom right), both corners included.
inline int count_in_box(std::uint32_t colour, int x1, int y1, int x2, int y2) {
    const sktch::headless::Pixels b = window_bitmap();
    int count = 0;
    for (int y = kOriginY - y1; y <= kOriginY - y2; ++y)
        for (int x = kOriginX + x1; x <= kOriginX + x2; ++x)
            if (x >= 0 && y >= 0 && x < b.width && y < b.height && b.at(x, y) == colour) ++count;
    return count;
}

// The lines the text window shows, oldest first.
inline std::vector<std::string> log_lines() {
    return sktch::test_support::text_window_lines();
}

}  // namespace game_test
