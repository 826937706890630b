// A freshly opened library on the headless backend, and ways to look at what it did.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sktch.h"
#include "sktch/headless.h"
#include "state.h"

namespace sktch::testing {

inline HINSTANCE test_instance() {
    return reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000));
}

// The log ring's lines, oldest first, as stored.
inline std::vector<std::string> ring_lines() {
    std::vector<std::string> lines;
    int index = state.log_first;
    for (int count = 0; index >= 0 && !(index == state.log_next && count != 0); ++count) {
        const char* text = static_cast<const char*>(GlobalLock(state.log_lines[index]));
        lines.push_back(text ? text : "<missing>");
        GlobalUnlock(state.log_lines[index]);
        index = index == kLogLines - 1 ? 0 : index + 1;
    }
    return lines;
}

struct Event {
    int kind, x, y;
    char key;
    bool operator==(const Event&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << "{kind " << e.kind << ", " << e.x << ", " << e.y << ", key " << int(e.key) << "}";
}

inline Event await() {
    Event e{};
    e.kind = SKTCH_await_event(&e.x, &e.y, &e.key);
    return e;
}

class OpenLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        // Each test in a directory of its own, where it may write its script file.
        char pattern[] = "/tmp/sktch-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        previous_directory = std::filesystem::current_path();
        std::filesystem::current_path(directory);
        headless::reset();
        reset_state();
        SKTCH_open(test_instance(), nullptr, nullptr, SW_SHOWNORMAL);
        SKTCH_clear();
        handle_pending_messages();  // the windows' first paint, before the test's own lines
        first_line = int(ring_lines().size());
    }

    // Dispatches everything queued, paint messages included, as the wait's pump would.
    static void handle_pending_messages() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    void TearDown() override {
        SKTCH_close();
        reset_state();
        headless::reset();
        std::filesystem::current_path(previous_directory);
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }

    // Lines printed since the fixture opened the library.
    std::vector<std::string> printed() const {
        std::vector<std::string> all = ring_lines();
        if (int(all.size()) <= first_line) return {};
        return {all.begin() + first_line, all.end()};
    }
    void forget_printed() { first_line = int(ring_lines().size()); }

    // The surface pixel at a world point, as 0x00RRGGBB.
    std::uint32_t surface_at(int x, int y) const {
        COLORREF c = GetPixel(state.surface_dc, state.origin_x + x, state.origin_y - y);
        return std::uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
    // What the graphics window shows at a client pixel.
    std::uint32_t window_at(int x, int y) const {
        return headless::window_pixel(state.graphics_window, x, y);
    }

    HWND graphics() const { return state.graphics_window; }
    HWND text() const { return state.text_window; }

    int first_line = 0;
    std::filesystem::path directory;
    std::filesystem::path previous_directory;
};

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

}  // namespace sktch::testing
