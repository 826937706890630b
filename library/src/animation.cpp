// Animation and logging from code, as the Run menu does them for the user.
#include "state.h"

namespace sktch {

void show_text_window(int show) {
    ShowWindow(state.text_window, show ? SW_SHOW : SW_HIDE);
}

}  // namespace sktch

using namespace sktch;

int SKTCH_animate(int request) {
    if (!state.graphics_window) return 0;
    switch (request) {
        case SKTCH_ANIMATE_HALT:
            state.single_step = 0;
            state.animate_run = 0;
            break;
        case SKTCH_ANIMATE_STEP:
            state.single_step = 1;
            break;
        case SKTCH_ANIMATE_RUN:
            state.animate_run = 1;
            break;
        case SKTCH_ANIMATE_QUIT:
            state.quit_requested = 1;
            break;
        default:
            break;
    }
    return 1;
}

int SKTCH_logging(int on) {
    if (!state.graphics_window) return 0;
    state.logging = on ? 1 : 0;
    CheckMenuItem(state.run_menu, SKTCH_MENU_LOGGING, on ? MF_CHECKED : MF_UNCHECKED);
    if (state.logging) show_text_window(1);
    return 1;
}
