// What many of the tests need: the colours as windows show them (colours.h), the text window's
// lines, a temporary folder of their own, and running a program to see its status and output.
// Everything here goes through SKTCH's public headers and the headless driver.
#pragma once

#include <string>
#include <vector>

#include "colours.h"
#include "folders_and_programs.h"
#include "sktch/headless.h"

namespace sktch::test_support {

// The library's two windows, by their titles.
inline HWND graphics_window() {
    return headless::find_window("SKTCH Graphics");
}
inline HWND text_window() {
    return headless::find_window("SKTCH Text");
}

// The lines the text window shows, oldest first.
inline std::vector<std::string> text_window_lines() {
    return headless::window_text(text_window());
}

}  // namespace sktch::test_support
