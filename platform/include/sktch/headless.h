// The headless backend's driver: windows live in memory, time is a virtual clock, and a
// test or tool plays the user.
//
// The clock stands still while the program computes and jumps straight to the next timer
// deadline whenever the program would wait, so runs are fast and repeatable. Just before
// each such jump the idle hook runs: it is where a driver clicks, types, chooses menu items
// or decides the run is over (for instance with close_window or PostQuitMessage). Without
// an idle hook nothing can come but the timers: the program then sleeps until the next
// deadline, its clock following the real one, instead of spinning from tick to tick.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sktch/win32.h"

namespace sktch::headless {

// A window's client area as the user would see it: `width` by `height` pixels, row by row
// from the top-left, each 0x00RRGGBB.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// Forgets every window, message, timer and object; the clock restarts at 0.
void reset();

void set_screen_size(int width, int height);  // 1024 by 768 unless set
std::int64_t now_ms();
// Moves the clock forward by `ms` (timers fall due; nothing runs).
void advance_clock(std::int64_t ms);

// Runs whenever the program would block; replaces the previous hook (an empty one removes
// it). When the hook queues nothing, the clock jumps to the next timer deadline; without a
// hook the program sleeps until that deadline comes in real time.
void on_idle(std::function<void()> hook);
// How many times the program has waited so far.
std::uint64_t idle_count();

// Input, as a user's mouse and keyboard would make it. Coordinates are client pixels.
void click(HWND window, int x, int y);
void key_down(HWND window, int virtual_key, char character = 0, bool repeat = false);
void key_up(HWND window, int virtual_key);
// Ctrl down, the letter down and up (an upper-case letter), Ctrl up.
void press_ctrl_key(HWND window, char letter);
// Types a character: its key down (with the character) and up.
void type_char(HWND window, char character);
// Chooses an enabled menu item with this command id; false when there is none.
bool choose_menu_item(HWND window, UINT id);
// The close box: WM_CLOSE for the window.
void close_window(HWND window);

// Looking at windows.
HWND find_window(const char* title);
// A copy of the client area's pixels; 0 by 0 for no window.
Pixels window_pixels(HWND window);
// One pixel of the client area, 0x00RRGGBB; 0 outside it or for no window.
std::uint32_t window_pixel(HWND window, int x, int y);
// The lines of text a window shows, top to bottom (left to right along a line): one for
// each TextOutA made on the window itself, as it was written, until it scrolls out of view,
// is written over or painted over. Text drawn elsewhere and copied onto the window is only
// pixels. The text window shows the program's printed lines this way.
std::vector<std::string> window_text(HWND window);
bool window_visible(HWND window);
bool menu_item_checked(HWND window, UINT id);
bool save_window_png(HWND window, const std::string& path);

// Dialogs: the next dialog is answered with `text` (its edit control gets it, then its
// default button is pressed), or fails to be created.
void answer_next_dialog(const std::string& text);
void fail_next_dialog();

}  // namespace sktch::headless
