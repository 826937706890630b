// Shared helpers for the game's tests: opening the library over the headless backend,
// reading the lines it logs and the pixels it shows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sktch.h"
#include "sktch/headless.h"
#include "state.h"

namespace game_test {

// Colours as the window shows them (0xRRGGBB).
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kIceBlue = 0x99FFFF;
constexpr std::uint32_t kBrown = 0x996633;
constexpr std::uint32_t kForestGreen = 0x006633;
constexpr std::uint32_t kOlive = 0x999933;
constexpr std::uint32_t kGray50 = 0x808080;
constexpr std::uint32_t kGray20 = 0xCCCCCC;

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

// A fresh platform and library, for every test that opens the library.
inline void reset_all() {
    sktch::headless::reset();
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
    return sktch::headless::window_pixels(sktch::state.graphics_window);
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

// The lines in the text window's log, oldest first (the last 25 at most).
inline std::vector<std::string> log_lines() {
    using sktch::state;
    std::vector<std::string> lines;
    int index = state.log_first;
    for (int count = 0; index >= 0 && !(index == state.log_next && count != 0); ++count) {
        if (const char* line = static_cast<const char*>(GlobalLock(state.log_lines[index]))) {
            lines.emplace_back(line);
            GlobalUnlock(state.log_lines[index]);
        }
        index = index == sktch::kLogLines - 1 ? 0 : index + 1;
    }
    return lines;
}

}  // namespace game_test
