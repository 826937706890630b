// A window for tests of the window system itself: a class of its own with the default
// procedure, at the top-left of the screen.
#pragma once

#include "sktch/win32.h"

namespace sktch::test_support {

// Registers class_name (again, harmlessly, when a test runs twice) and makes a window of it,
// width by height with the frame its style gives; its title is the class name.
inline HWND plain_window(const char* class_name, DWORD style, int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = class_name;
    RegisterClassA(&wc);
    return CreateWindowExA(0, class_name, class_name, style, 0, 0, width, height, nullptr, nullptr,
                           nullptr, nullptr);
}

}  // namespace sktch::test_support
