// The event wait: keeps messages flowing, presents the surface, makes periodic events,
// feeds script playback in and records what it returns.
#include "state.h"

namespace sktch {

// Handles at most one message; returns 1 when the queue had one.
int pump_one_message() {
    MSG msg;
    int got = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) ? 1 : 0;
    if (got && msg.message == WM_QUIT) {
        state.event_kind = SKTCH_QUIT;
        return got;
    }
    if (got) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (state.surface_dirty) {
        BitBlt(state.window_dc, 0, 0, kSurfaceWidth, kSurfaceHeight, state.surface_dc, 0, 0,
               SRCCOPY);
        state.surface_dirty = 0;
    }
    return got;
}

static bool event_pending() {
    return state.event_kind == -1 || (state.event_kind == SKTCH_PERIODIC && !state.timer_fired);
}

int wait_for_event(EventRecord* record) {
    state.event_kind = -1;
    state.event_key = 0;
    state.event_y = 0;
    state.event_x = 0;

    while (event_pending()) {
        int got = pump_one_message();
        // A quit taken from the queue ends the wait: a script line must not take its place,
        // or the user could not quit while a script plays.
        if (state.event_kind == SKTCH_QUIT) break;
        if (state.play_one || state.playing) {
            state.play_one = 0;
            if (play_script_line() == 1) break;  // a script's event does not wait for the timer
            stop_playback();
        }
        if ((state.single_step || state.animate_run) && state.event_kind == -1) {
            state.event_kind = SKTCH_PERIODIC;
            state.timer_fired = 0;
            state.single_step = 0;
            state.play_one = 0;
        }
        // Nothing came and nothing is ready: sleep until the next message or timer tick
        // instead of polling again.
        if (!got && event_pending()) WaitMessage();
    }

    EventRecord current{state.event_x, state.event_y, state.event_key};
    // The recording keeps what the program gets: after SKTCH_ANIMATE_QUIT that is the quit,
    // which writes the pending periodic run.
    int kind = state.quit_requested ? SKTCH_QUIT : state.event_kind;
    if (state.recording) {
        if (kind == SKTCH_PERIODIC) {
            count_recorded_periodic();
        } else {
            flush_recorded_periodic();
            record_event(kind, current.x, current.y, current.key);
        }
    }

    if (record) *record = current;
    return kind;
}

}  // namespace sktch

int SKTCH_await_event(int* x, int* y, char* key) {
    sktch::EventRecord record{};
    int kind = sktch::wait_for_event(&record);
    if (x) *x = record.x;
    if (y) *y = record.y;
    if (key) *key = static_cast<char>(record.key);
    return kind;
}
