// The message queue: posting, polling, blocking until something is ready, dispatching.
//
// Order of what a poll finds: posted and input messages in arrival order, then WM_QUIT,
// then WM_PAINT for a window that needs painting, then WM_TIMER for a timer that is due,
// so paint and timer messages are made only when the queue is otherwise empty.
#include <algorithm>

#include "core/backend.h"
#include "core/core.h"

namespace sktch::platform {
namespace {

// Bit 25 of a key message's lParam (reserved in Win32) marks it as coming from the keyboard:
// only such a key types a character. A key message posted by a program types nothing.
constexpr LPARAM kFromKeyboard = LPARAM(1) << 25;

bool matches(const MSG& msg, HWND window, UINT low, UINT high) {
    if (window && msg.hwnd != window) return false;
    if (low == 0 && high == 0) return true;
    return msg.message >= low && msg.message <= high;
}

MSG make(HWND window, UINT message, WPARAM w, LPARAM l) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = w;
    msg.lParam = l;
    msg.time = DWORD(backend().now_ms());
    return msg;
}

Timer* due_timer(std::int64_t now) {
    for (Timer& t : core().timers)
        if (t.deadline_ms <= now) return &t;
    return nullptr;
}

HWND window_needing_paint() {
    HWND found = nullptr;
    core().windows.for_each([&](std::uint32_t id, Window& w) {
        if (!found && w.visible && w.needs_paint) found = make_handle<HWND>(id);
    });
    return found;
}

}  // namespace

bool message_ready() {
    Core& c = core();
    return !c.queue.empty() || c.quit_posted || window_needing_paint() ||
           due_timer(backend().now_ms());
}

void post_input(HWND window, UINT message, WPARAM w, LPARAM l) {
    core().queue.push_back(make(window, message, w, l));
}

void post_key(HWND window, bool down, int virtual_key, unsigned char character, bool repeat) {
    int vk = virtual_key & 0xFF;
    core().keys_down[std::size_t(vk)] = down;
    // Bits 16-23 (the scan code on a PC keyboard) carry the character the key types here.
    LPARAM l = 1 | (LPARAM(character) << 16) | kFromKeyboard;
    if (repeat || !down) l |= LPARAM(1) << 30;
    if (!down) l |= LPARAM(1) << 31;
    post_input(window, down ? WM_KEYDOWN : WM_KEYUP, WPARAM(vk), l);
}

}  // namespace sktch::platform

using namespace sktch::platform;

BOOL PeekMessageA(MSG* msg, HWND window, UINT low, UINT high, UINT remove) {
    backend().poll();
    Core& c = core();
    MSG found{};
    bool have = false;
    for (auto it = c.queue.begin(); it != c.queue.end(); ++it) {
        if (!matches(*it, window, low, high)) continue;
        found = *it;
        if (remove & PM_REMOVE) c.queue.erase(it);
        have = true;
        break;
    }
    if (!have && c.quit_posted && !window &&
        matches(make(nullptr, WM_QUIT, 0, 0), window, low, high)) {
        found = make(nullptr, WM_QUIT, WPARAM(c.quit_code), 0);
        if (remove & PM_REMOVE) c.quit_posted = false;
        have = true;
    }
    if (!have) {
        HWND painting = window_needing_paint();
        if (painting && matches(make(painting, WM_PAINT, 0, 0), window, low, high)) {
            found = make(painting, WM_PAINT, 0, 0);
            have = true;
        }
    }
    if (!have) {
        std::int64_t now = backend().now_ms();
        if (Timer* t = due_timer(now);
            t && matches(make(t->window, WM_TIMER, 0, 0), window, low, high)) {
            found = make(t->window, WM_TIMER, t->id, 0);
            if (remove & PM_REMOVE) {
                // At most one WM_TIMER is pending per timer: ticks missed meanwhile merge.
                t->deadline_ms += t->period_ms;
                if (t->deadline_ms <= now) t->deadline_ms = now + t->period_ms;
            }
            have = true;
        }
    }
    if (have && msg) *msg = found;
    return have ? TRUE : FALSE;
}

BOOL WaitMessage() {
    while (!message_ready()) {
        std::optional<std::int64_t> deadline;
        for (const Timer& t : core().timers)
            if (!deadline || t.deadline_ms < *deadline) deadline = t.deadline_ms;
        backend().wait(deadline);
        backend().poll();
    }
    return TRUE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT low, UINT high) {
    MSG local{};
    while (!PeekMessageA(&local, window, low, high, PM_REMOVE)) WaitMessage();
    if (msg) *msg = local;
    return local.message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN || !(msg->lParam & kFromKeyboard)) return FALSE;
    auto character = static_cast<unsigned char>((msg->lParam >> 16) & 0xFF);
    if (character == 0) return FALSE;
    // The character comes next, before anything queued after its key.
    MSG typed = *msg;
    typed.message = WM_CHAR;
    typed.wParam = character;
    core().queue.push_front(typed);
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    Window* w = find_window(msg->hwnd);
    if (!w || !w->window_class.procedure) return 0;
    return w->window_class.procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageA(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (window && !find_window(window)) return FALSE;
    if (message == WM_KEYDOWN || message == WM_KEYUP) l &= ~kFromKeyboard;
    core().queue.push_back(make(window, message, w, l));
    return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM w, LPARAM l) {
    Window* target = find_window(window);
    if (!target || !target->window_class.procedure) return 0;
    return target->window_class.procedure(window, message, w, l);
}

void PostQuitMessage(int exit_code) {
    core().quit_posted = true;
    core().quit_code = exit_code;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse_ms, TIMERPROC) {
    if (window && !find_window(window)) return 0;
    elapse_ms = std::clamp<UINT>(elapse_ms, 10, 0x7FFFFFFF);
    std::int64_t deadline = backend().now_ms() + elapse_ms;
    for (Timer& t : core().timers)
        if (t.window == window && t.id == id) {
            t.period_ms = elapse_ms;
            t.deadline_ms = deadline;
            return id;
        }
    core().timers.push_back({window, id, elapse_ms, deadline});
    return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& timers = core().timers;
    auto n =
        std::erase_if(timers, [&](const Timer& t) { return t.window == window && t.id == id; });
    std::erase_if(core().queue, [&](const MSG& m) {
        return m.message == WM_TIMER && m.hwnd == window && m.wParam == id;
    });
    return n ? TRUE : FALSE;
}
