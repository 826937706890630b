// The graphics window's procedure: the Run menu and its Ctrl shortcuts, the world origin,
// clicks and typed characters as events, timer ticks, and repainting from the surface.
#include "state.h"

namespace sktch {
namespace {

enum Command {
    kAnimate = 1,
    kHalt = 2,
    kAdvanceFrame = 3,
    kLogging = 4,
    kRecord = 5,
    kPlayback = 6,
    kPlayOne = 7,
    kQuit = 8,
    kContact = 9,
};

void build_run_menu(HWND window) {
    HMENU bar = CreateMenu();
    state.run_menu = CreatePopupMenu();
    HMENU run = state.run_menu;
    AppendMenuA(run, MF_STRING, kAnimate, "&Animate\tCtrl+A");
    AppendMenuA(run, MF_STRING, kHalt, "&Halt animation\tCtrl+H");
    AppendMenuA(run, MF_STRING, kAdvanceFrame, "Advance one &frame\tCtrl+F");
    AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run, MF_STRING | MF_CHECKED, kLogging, "&Logging\tCtrl+L");
    AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run, MF_STRING, kRecord, "&Record Script\tCtrl+R");
    AppendMenuA(run, MF_STRING, kPlayback, "&Playback Script\tCtrl+P");
    AppendMenuA(run, MF_STRING, kPlayOne, "Play &One Script\tCtrl+O");
    AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run, MF_STRING, kQuit, "&Quit\tCtrl+Q");
    AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run, MF_STRING | MF_GRAYED, kContact, "MAC: sktch-mac@example.org");
    AppendMenuA(run, MF_STRING | MF_GRAYED, kContact, "WINDOWS: sktch-windows@example.org");
    AppendMenuA(run, MF_STRING | MF_GRAYED, kContact, "UPDATES: sktch-updates@example.org");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(run), "&Run");
    SetMenu(window, bar);
    DrawMenuBar(window);
}

void set_check(int id, bool on) {
    CheckMenuItem(state.run_menu, UINT(id), on ? MF_CHECKED : MF_UNCHECKED);
}

void run_command(int id) {
    switch (id) {
        case kAnimate:
            state.animate_run = 1;
            break;
        case kHalt:
            state.animate_run = 0;
            break;
        case kAdvanceFrame:
            state.animate_run = 0;
            state.single_step = 1;
            break;
        case kLogging:
            state.logging = !state.logging;
            set_check(kLogging, state.logging);
            break;
        case kRecord:
            if (state.recording) {
                state.recording = 0;
                set_check(kRecord, false);
                if (state.periodic_count > 0) {
                    record_event(SKTCH_PERIODIC, state.event_x, state.event_y, state.event_key);
                    state.periodic_count = 0;
                }
                close_script_file();
            } else {
                state.recording = 1;
                set_check(kRecord, true);
                // A new recording counts its own periodic events: what a stopped playback
                // had still to replay is not part of it.
                state.periodic_count = 0;
            }
            break;
        case kPlayback:
            if (state.playing) {
                state.playing = 0;
                set_check(kPlayback, false);
                close_script_file();
            } else {
                state.animate_run = 0;
                state.single_step = 0;
                state.playing = 1;
                set_check(kPlayback, true);
            }
            break;
        case kPlayOne:
            state.play_one = 1;
            state.animate_run = 0;
            state.single_step = 0;
            break;
        case kQuit:
            PostQuitMessage(0);
            break;
        default:
            break;
    }
}

// The command a Ctrl shortcut stands for: the letter's upper-case code or that plus 32.
int shortcut_command(WPARAM key) {
    switch (key) {
        case 'A':
        case 'A' + 32:
            return kAnimate;
        case 'H':
        case 'H' + 32:
            return kHalt;
        case 'F':
        case 'F' + 32:
            return kAdvanceFrame;
        case 'L':
        case 'L' + 32:
            return kLogging;
        case 'R':
        case 'R' + 32:
            return kRecord;
        case 'P':
        case 'P' + 32:
            return kPlayback;
        case 'O':
        case 'O' + 32:
            return kPlayOne;
        case 'Q':
        case 'Q' + 32:
            return kQuit;
        default:
            return 0;
    }
}

}  // namespace

LRESULT CALLBACK graphics_window_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_CREATE:
            build_run_menu(window);
            return 0;
        case WM_DESTROY:
            KillTimer(state.graphics_window, 2);
            PostQuitMessage(0);
            return 0;
        case WM_SIZE: {
            RECT r{};
            GetClientRect(window, &r);
            state.origin_x = (r.right - r.left) / 2 + r.left;
            state.origin_y = (r.bottom - r.top) / 2 + r.top;
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            BitBlt(state.window_dc, 0, 0, kSurfaceWidth, kSurfaceHeight, state.surface_dc, 0, 0,
                   SRCCOPY);
            EndPaint(window, &paint);
            state.surface_dirty = 0;
            return 0;
        }
        case WM_TIMER:
            state.timer_fired = 1;
            return 0;
        case WM_LBUTTONDOWN:
            state.event_x = std::int32_t(LOWORD(std::uintptr_t(l))) - state.origin_x;
            state.event_y = state.origin_y - std::int32_t(HIWORD(std::uintptr_t(l)));
            state.event_kind = SKTCH_MOUSE;
            return 0;
        case WM_CHAR:
            if (!state.ctrl_down) {
                state.event_kind = SKTCH_KBD;
                state.event_key = static_cast<std::int8_t>(w & 0xFF);
            }
            return 0;
        case WM_KEYUP:
            if (w == VK_CONTROL) state.ctrl_down = 0;
            return 0;
        case WM_KEYDOWN:
            if (w == VK_CONTROL)
                state.ctrl_down = 1;
            else if (state.ctrl_down)
                run_command(shortcut_command(w));
            return 0;
        case WM_COMMAND:
            if (w >= kAnimate && w <= kQuit) run_command(int(w));
            return 0;
        default:
            return DefWindowProcA(window, message, w, l);
    }
}

}  // namespace sktch
