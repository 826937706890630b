// Window classes and windows: creation with its first messages, showing, sizes, destruction.
#include <algorithm>
#include <climits>
#include <cstring>

#include "core/backend.h"
#include "core/core.h"

namespace sktch::platform {
namespace {

// Non-client metrics of the reference desktop, so client sizes come out as a program
// designed there expects (a 601 by 540 captioned window with a menu bar has a 595 by 487
// client area).
constexpr int kBorder = 3;
constexpr int kThickBorder = 4;
constexpr int kCaption = 28;
constexpr int kMenuBar = 19;

void client_size_for(const Window& w, int& width, int& height) {
    int border = (w.style & WS_THICKFRAME) ? kThickBorder : (w.style & WS_CAPTION) ? kBorder : 0;
    int caption = ((w.style & WS_CAPTION) == WS_CAPTION) ? kCaption : 0;
    int menu = w.menu ? kMenuBar : 0;
    long long outer_w = (long long)w.frame.right - w.frame.left;
    long long outer_h = (long long)w.frame.bottom - w.frame.top;
    width = int(std::clamp<long long>(outer_w - 2 * border, 0, 16384));
    height = int(std::clamp<long long>(outer_h - 2 * border - caption - menu, 0, 16384));
}

// Makes the backing store match the client size; new pixels get the class background.
void fit_backing(Window& w) {
    if (w.backing.width == w.client_width && w.backing.height == w.client_height) return;
    backing_to_read(w);  // what it shows comes along
    w.backing.resize(w.client_width, w.client_height, class_background(w));
    w.text_runs.clear();
    reset_window_rows(w, class_background(w));
}

}  // namespace

raster::Pixel class_background(const Window& w) {
    GdiObject* object = find_object(w.window_class.background);
    return object && object->kind == GdiKind::brush ? object->brush.color : 0xFFFFFF;
}

void window_pixels_changed(HWND window) {
    if (Window* w = find_window(window)) backend().pixels_changed(window, *w);
}

void client_resized(HWND window, int width, int height) {
    Window* w = find_window(window);
    if (!w || (w->client_width == width && w->client_height == height)) return;
    w->frame.right += width - w->client_width;
    w->frame.bottom += height - w->client_height;
    w->client_width = std::max(0, width);
    w->client_height = std::max(0, height);
    fit_backing(*w);
    w->needs_paint = true;
    SendMessageA(window, WM_SIZE, 0, MAKELPARAM(w->client_width, w->client_height));
}

void invalidate(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

bool refresh_client_size(HWND window) {
    Window* w = find_window(window);
    if (!w) return false;
    int width, height;
    client_size_for(*w, width, height);
    if (width == w->client_width && height == w->client_height) return false;
    w->client_width = width;
    w->client_height = height;
    fit_backing(*w);
    return true;
}

}  // namespace sktch::platform

using namespace sktch::platform;

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
    auto& classes = core().classes;
    for (const auto& c : classes)
        if (c.name == wc->lpszClassName) return 0;  // already registered
    classes.push_back({wc->lpszClassName, wc->lpfnWndProc, wc->style, wc->hbrBackground});
    return ATOM(0xC000 + classes.size());
}

HWND CreateWindowExA(DWORD, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND, HMENU menu, HINSTANCE, LPVOID) {
    if (!class_name) return nullptr;
    const WindowClass* found = nullptr;
    for (const auto& c : core().classes)
        if (c.name == class_name) found = &c;
    if (!found) return nullptr;

    Window w;
    w.window_class = *found;
    w.title = title ? title : "";
    w.style = style;
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = 640, height = 480;
    w.frame = {x, y, int(std::clamp<long long>((long long)x + width, INT_MIN, INT_MAX)),
               int(std::clamp<long long>((long long)y + height, INT_MIN, INT_MAX))};
    w.menu = menu;
    HWND handle = make_handle<HWND>(core().windows.add(std::move(w)));
    refresh_client_size(handle);
    find_window(handle)->needs_paint = true;
    backend().window_created(handle, *find_window(handle));

    if (SendMessageA(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    Window* created = find_window(handle);
    if (!created) return nullptr;
    refresh_client_size(handle);
    created->created = true;
    SendMessageA(handle, WM_SIZE, 0, MAKELPARAM(created->client_width, created->client_height));
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL DestroyWindow(HWND window) {
    Window* w = find_window(window);
    if (!w || w->being_destroyed) return FALSE;
    w->being_destroyed = true;
    SendMessageA(window, WM_DESTROY, 0, 0);
    auto& timers = core().timers;
    std::erase_if(timers, [&](const Timer& t) { return t.window == window; });
    if ((w = find_window(window))) {
        backend().window_destroyed(window, *w);
        if (w->menu) DestroyMenu(w->menu);
    }
    core().windows.remove(handle_id(window));
    return TRUE;
}

BOOL IsWindow(HWND window) {
    return find_window(window) != nullptr;
}

BOOL ShowWindow(HWND window, int command) {
    Window* w = find_window(window);
    if (!w) return FALSE;
    bool was_visible = w->visible;
    w->visible = command != SW_HIDE;
    if (w->visible && !was_visible) w->needs_paint = true;
    if (w->visible != was_visible) backend().window_shown(window, *w);
    return was_visible;
}

int GetSystemMetrics(int index) {
    SIZE screen = backend().screen_size();
    if (index == SM_CXSCREEN) return screen.cx;
    if (index == SM_CYSCREEN) return screen.cy;
    return 0;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    Window* w = find_window(window);
    if (!w || !rect) return FALSE;
    *rect = {0, 0, w->client_width, w->client_height};
    return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    Window* w = find_window(window);
    if (!w || !rect) return FALSE;
    *rect = w->frame;
    return TRUE;
}

int GetWindowTextA(HWND window, LPSTR text, int max_count) {
    Window* w = find_window(window);
    if (!w || !text || max_count <= 0) return 0;
    int n = int(std::min<std::size_t>(w->title.size(), std::size_t(max_count - 1)));
    std::memcpy(text, w->title.data(), std::size_t(n));
    text[n] = '\0';
    return n;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
    Window* w = find_window(window);
    if (!w) return FALSE;
    w->needs_paint = true;
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    Window* w = find_window(window);
    if (!w) return FALSE;
    if (w->needs_paint && w->visible) SendMessageA(window, WM_PAINT, 0, 0);
    return TRUE;
}

HICON LoadIconA(HINSTANCE, LPCSTR name) {
    return reinterpret_cast<HICON>(const_cast<char*>(name));
}
HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
    return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 0;
        }
        default:
            return 0;
    }
}
