// A freshly opened library on the headless backend, and ways to look at what it did.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sktch.h"
#include "sktch/headless.h"
#include "sktch_test_support.h"
#include "state.h"

namespace sktch::testing {

inline HINSTANCE test_instance() {
    return reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000));
}

// The log ring's lines, oldest first, as stored (with their newlines). Read from the
// library's state on purpose, for the tests of the ring itself: it also holds lines the text
// window no longer shows or never showed. Other tests read the window (printed()).
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
        ASSERT_FALSE(directory.path().empty());
        previous_directory = std::filesystem::current_path();
        std::filesystem::current_path(directory.path());
        headless::reset();
        headless::on_idle([] {});  // the test drives: the clock jumps, nothing sleeps
        // A screen tall enough that the text window shows every line a test prints.
        headless::set_screen_size(1024, 4096);
        reset_state();
        SKTCH_open(test_instance(), nullptr, nullptr, SW_SHOWNORMAL);
        SKTCH_clear();
        handle_pending_messages();  // the windows' first paint, before the test's own lines
        forget_printed();
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
    }

    // Lines the text window shows, printed since the fixture opened the library (or since
    // forget_printed()).
    std::vector<std::string> shown() const {
        std::vector<std::string> all = test_support::text_window_lines();
        if (int(all.size()) <= first_shown) return {};
        return {all.begin() + first_shown, all.end()};
    }
    // The same lines as the log ring stores them, with their newlines.
    std::vector<std::string> printed() const {
        std::vector<std::string> all = ring_lines();
        if (int(all.size()) <= first_line) return {};
        return {all.begin() + first_line, all.end()};
    }
    void forget_printed() {
        first_line = int(ring_lines().size());
        first_shown = int(test_support::text_window_lines().size());
    }

    // The surface pixel at a world point, as 0x00RRGGBB.
    std::uint32_t surface_at(int x, int y) const {
        COLORREF c = GetPixel(state.surface_dc, state.origin_x + x, state.origin_y - y);
        return std::uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
    // What the graphics window shows at a client pixel.
    std::uint32_t window_at(int x, int y) const { return headless::window_pixel(graphics(), x, y); }

    HWND graphics() const { return test_support::graphics_window(); }
    HWND text() const { return test_support::text_window(); }

    int first_line = 0;
    int first_shown = 0;
    test_support::TemporaryFolder directory;
    std::filesystem::path previous_directory;
};

using test_support::kBlack;
using test_support::kBlue;
using test_support::kRed;
using test_support::kWhite;

}  // namespace sktch::testing
