// The graphics window's procedure: the Run menu and its Ctrl shortcuts, the world origin,
// clicks and typed characters as events, timer ticks, and repainting from the surface.
#include "state.h"

namespace sktch {
namespace {

void build_run_menu(HWND window) {
    HMENU bar = CreateMenu();
    state.run_menu = CreatePopupMenu();
    HMENU run = state.run_menu;
    AppendMenuA(run, MF_STRING, SKTCH_MENU_ANIMATE, "&Animate\tCtrl+A");
    AppendMenuA(run, MF_STRING, SKTCH_MENU_HALT, "&Halt animation\tCtrl+H");
    AppendMenuA(run, MF_STRING, SKTCH_MENU_ADVANCE, "Advance one &frame\tCtrl+F");
    AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run, MF_STRING | MF_CHECKED, SKTCH_MENU_LOGGING, "&Logging\tCtrl+L");
    AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run, MF_STRING, SKTCH_MENU_RECORD, "&Record Script\tCtrl+R");
    AppendMenuA(run, MF_STRING, SKTCH_MENU_PLAYBACK, "&Playback Script\tCtrl+P");
    AppendMenuA(run, MF_STRING, SKTCH_MENU_PLAY_ONE, "Play &One Script\tCtrl+O");
    AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run, MF_STRING, SKTCH_MENU_QUIT, "&Quit\tCtrl+Q");
    AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run, MF_STRING | MF_GRAYED, SKTCH_MENU_CONTACT, "MAC: sktch-mac@example.org");
    AppendMenuA(run, MF_STRING | MF_GRAYED, SKTCH_MENU_CONTACT,
                "WINDOWS: sktch-windows@example.org");
    AppendMenuA(run, MF_STRING | MF_GRAYED, SKTCH_MENU_CONTACT,
                "UPDATES: sktch-updates@example.org");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(run), "&Run");
    SetMenu(window, bar);
    DrawMenuBar(window);
}

void set_check(int id, bool on) {
    CheckMenuItem(state.run_menu, UINT(id), on ? MF_CHECKED : MF_UNCHECKED);
}

void run_command(int id) {
    switch (id) {
        case SKTCH_MENU_ANIMATE:
            state.animate_run = 1;
            break;
        case SKTCH_MENU_HALT:
            state.animate_run = 0;
            break;
        case SKTCH_MENU_ADVANCE:
            state.animate_run = 0;
            state.single_step = 1;
            break;
        case SKTCH_MENU_LOGGING:
            state.logging = !state.logging;
            set_check(SKTCH_MENU_LOGGING, state.logging);
            break;
        case SKTCH_MENU_RECORD:
            if (state.recording)
                stop_recording();
            else
                start_recording();
            set_check(SKTCH_MENU_RECORD, state.recording);
            break;
        case SKTCH_MENU_PLAYBACK:
            if (state.playing)
                end_playback();
            else
                start_playback();
            break;
        case SKTCH_MENU_PLAY_ONE:
            state.play_one = 1;
            state.animate_run = 0;
            state.single_step = 0;
            break;
        case SKTCH_MENU_QUIT:
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
            return SKTCH_MENU_ANIMATE;
        case 'H':
        case 'H' + 32:
            return SKTCH_MENU_HALT;
        case 'F':
        case 'F' + 32:
            return SKTCH_MENU_ADVANCE;
        case 'L':
        case 'L' + 32:
            return SKTCH_MENU_LOGGING;
        case 'R':
        case 'R' + 32:
            return SKTCH_MENU_RECORD;
        case 'P':
        case 'P' + 32:
            return SKTCH_MENU_PLAYBACK;
        case 'O':
        case 'O' + 32:
            return SKTCH_MENU_PLAY_ONE;
        case 'Q':
        case 'Q' + 32:
            return SKTCH_MENU_QUIT;
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
            KillTimer(state.graphics_window, SKTCH_PERIODIC_TIMER);
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
            if (w >= SKTCH_MENU_ANIMATE && w <= SKTCH_MENU_QUIT) run_command(int(w));
            return 0;
        default:
            return DefWindowProcA(window, message, w, l);
    }
}

}  // namespace sktch
