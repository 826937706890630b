// Opening the library's two windows and its drawing surface, and closing.
#include "state.h"

using namespace sktch;

int SKTCH_open(HINSTANCE instance, HINSTANCE previous_instance, LPSTR, int show_command) {
    if (!previous_instance) {
        WNDCLASSA wc{};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.cbClsExtra = 0;
        wc.cbWndExtra = 0;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = CreateSolidBrush(color_table[WHITE].rgb);
        wc.lpszMenuName = "generic";
        wc.lpfnWndProc = graphics_window_proc;
        wc.lpszClassName = "DrawWndClass";
        RegisterClassA(&wc);
        wc.lpfnWndProc = text_window_proc;
        wc.lpszClassName = "TextWndClass";
        RegisterClassA(&wc);
    }

    int cx = GetSystemMetrics(SM_CXSCREEN);
    int cy = GetSystemMetrics(SM_CYSCREEN);

    state.animate_run = 0;
    state.single_step = 0;

    state.graphics_window =
        CreateWindowExA(0, "DrawWndClass", "SKTCH Graphics", WS_CAPTION | WS_SYSMENU, 0, 0,
                        kSurfaceWidth, kSurfaceHeight, nullptr, nullptr, instance, nullptr);
    state.text_window =
        CreateWindowExA(0, "TextWndClass", "SKTCH Text", WS_OVERLAPPEDWINDOW, 0, cy * 2 / 3 + 1, cx,
                        cy / 3, nullptr, nullptr, instance, nullptr);
    state.instance = instance;

    state.window_dc = GetDC(state.graphics_window);
    state.surface_bitmap = CreateCompatibleBitmap(state.window_dc, kSurfaceWidth, kSurfaceHeight);
    state.surface_dc = CreateCompatibleDC(state.window_dc);
    SelectObject(state.surface_dc, state.surface_bitmap);

    ShowWindow(state.text_window, show_command);
    ShowWindow(state.graphics_window, show_command);

    SetTimer(state.graphics_window, SKTCH_PERIODIC_TIMER, 100, nullptr);
    return 1;
}

int SKTCH_close() {
    ReleaseDC(state.graphics_window, state.window_dc);
    // A program that leaves its loop without a quit event keeps its recording's last run.
    if (state.recording) flush_recorded_periodic();
    close_script_file();
    return 1;
}
