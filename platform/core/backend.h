// The narrow interface between the platform core and a backend that shows windows.
//
// A backend is chosen when a program is linked: each backend library defines backend().
// The core calls the backend for what only a window system can do; the backend calls the
// core (the functions at the end of this file) to deliver input.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/core.h"
#include "core/dialog_template.h"

namespace sktch::platform {

// A dialog as the backend shows it: the template, with its places in pixels.
using DialogDescription = DialogTemplate;

class Backend {
  public:
    virtual ~Backend() = default;

    virtual SIZE screen_size() = 0;
    // Milliseconds on a monotonic clock (a virtual one for the headless backend).
    virtual std::int64_t now_ms() = 0;

    virtual void window_created(HWND window, Window& w) = 0;
    virtual void window_destroyed(HWND window, Window& w) = 0;
    virtual void window_shown(HWND window, Window& w) = 0;  // visibility changed
    virtual void menu_changed(HWND window, Window& w) = 0;  // bar set, item checked, ...
    virtual void pixels_changed(HWND window, Window& w) = 0;
    // Whether a bitmap copied whole onto a window may be copied only when the window is
    // next read or drawn on: for a backend that shows nothing itself.
    virtual bool defers_window_copies() { return false; }

    // Delivers pending native input to the core without blocking.
    virtual void poll() = 0;
    // Blocks until input arrives or the deadline passes (no deadline: until input).
    virtual void wait(std::optional<std::int64_t> deadline_ms) = 0;

    // Shows a modal dialog for the dialog window the core made; false when it cannot be
    // shown. While it is open the core runs the message loop; the backend posts WM_COMMAND
    // with a button's id to the dialog window when the button is pressed (or Enter presses
    // the default button).
    virtual bool dialog_shown(HWND dialog, const DialogDescription& description) = 0;
    virtual void dialog_closed(HWND dialog) = 0;
    // What a dialog control holds now: an edit box's text, its lines ended by "\r\n".
    virtual std::string control_text(HWND dialog, int id) = 0;
};

Backend& backend();

// ---- what backends call ----------------------------------------------------------------------

// Queues an input message (mouse, key, WM_COMMAND from a menu, WM_CLOSE) for a window.
void post_input(HWND window, UINT message, WPARAM w, LPARAM l);
// Queues WM_KEYDOWN or WM_KEYUP; `character` is what the key types (0 for none), which
// TranslateMessage turns into WM_CHAR. Key-state tracking (VK_CONTROL) is kept here.
void post_key(HWND window, bool down, int virtual_key, unsigned char character, bool repeat);
// The window system resized a window's client area.
void client_resized(HWND window, int width, int height);
// The window system needs part of a window repainted.
void invalidate(HWND window);
// Is anything ready for PeekMessageA?
bool message_ready();

}  // namespace sktch::platform
