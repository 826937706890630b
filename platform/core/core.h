// The platform layer's own state: windows, the message queue, timers, menus, device contexts,
// GDI objects and memory blocks. One record for the process, like the window system itself.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "core/dialog_template.h"
#include "core/handles.h"
#include "raster/glyphs.h"
#include "raster/raster.h"
#include "sktch/win32.h"

namespace sktch::platform {

struct WindowClass {
    std::string name;
    WNDPROC procedure = nullptr;
    UINT style = 0;
    HBRUSH background = nullptr;
};

struct MenuItem {
    UINT flags = 0;
    UINT_PTR id = 0;   // command id, or the popup's HMENU for MF_POPUP
    std::string text;  // with its '&' mnemonic and the shortcut text after a tab
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

// Text written straight onto a window, with the cell it fills.
struct TextRun {
    RECT cell;
    std::string text;
};

struct Window {
    WindowClass window_class;
    std::string title;
    DWORD style = 0;
    RECT frame{};          // outer rectangle on the screen
    int client_width = 0;  // size of the client area: the backing store's size
    int client_height = 0;
    raster::Bitmap backing;  // the client area's pixels, kept between paints
    // Rows that a scroll uncovered and that are still owed their old pixels, which lie at
    // `from`; none while count is 0 (see window_rows.cpp).
    struct OwedRows {
        int first = 0, count = 0, from = 0;
    } owed;
    // A bitmap copied whole onto the window and not yet looked at (backends that defer
    // window copies only; see Backend): the window shows it, and its pixels are copied when
    // someone reads or draws the window, or before the bitmap itself changes.
    HGDIOBJ shows = nullptr;
    // Or the window shows the top-left corner of `held`, a bitmap it took those pixels
    // over in (see settle_shown_bitmap).
    bool shows_held = false;
    std::unique_ptr<raster::Bitmap> held;
    // While `known`: on each stored row r of the backing store, every pixel from column
    // from[r] on is `color` (see window_rows.cpp).
    struct PlainRows {
        bool known = false;
        raster::Pixel color = 0;
        std::vector<int> from;
    } plain;
    HMENU menu = nullptr;
    bool visible = false;
    bool needs_paint = false;  // an update region is pending: WM_PAINT is due
    bool created = false;      // WM_CREATE and the first WM_SIZE have been sent
    bool being_destroyed = false;
    void* native = nullptr;          // the backend's own object for this window
    std::vector<TextRun> text_runs;  // the text it shows, in the order it was written

    // A modal dialog's window: its procedure, its controls and how it ended.
    DLGPROC dialog_procedure = nullptr;
    std::vector<DialogControl> controls;
    bool dialog_ended = false;
    INT_PTR dialog_result = 0;
};

// Font data lives on the heap, resolved to a cached font on first use.
struct FontData {
    glyphs::FontRequest request;
    const glyphs::Font* font = nullptr;
};

enum class GdiKind : std::uint8_t { pen, brush, font, bitmap };

// A pen, brush, font or bitmap. A flat record rather than a variant: every drawing call
// makes and deletes a pen and a brush, so these must stay plain values, cheap to store and
// to clear. Only the field of the object's kind is used.
struct GdiObject {
    GdiKind kind = GdiKind::pen;
    bool stock = false;
    bool delete_pending = false;  // deleted while selected: goes when no context holds it
    int selections = 0;           // how many device contexts have it selected
    raster::Pen pen;
    raster::Brush brush;
    std::unique_ptr<FontData> font;
    std::unique_ptr<raster::Bitmap> bitmap;

    GdiObject() = default;
    explicit GdiObject(const raster::Pen& p) : pen(p) {}
    explicit GdiObject(const raster::Brush& b) : kind(GdiKind::brush), brush(b) {}
    explicit GdiObject(glyphs::FontRequest request)
        : kind(GdiKind::font), font(std::make_unique<FontData>(FontData{std::move(request)})) {}
    explicit GdiObject(std::unique_ptr<raster::Bitmap> b)
        : kind(GdiKind::bitmap), bitmap(std::move(b)) {}
};

// A deleted object only lets go of its font or bitmap: pens and brushes own nothing, and
// the slot's next object is built over the rest.
inline void release(GdiObject& object) {
    if (object.kind == GdiKind::pen || object.kind == GdiKind::brush) return;
    object.font.reset();
    object.bitmap.reset();
}

struct DeviceContext {
    HWND window = nullptr;  // a window's context draws on its backing store...
    bool memory = false;    // ...a memory context on its selected bitmap
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ bitmap = nullptr;
    // What the selected objects hold, kept at selection so that drawing needs no look-ups
    // (GDI objects never change once made; a memory bitmap stays put while selected).
    raster::Pen pen_value;
    raster::Brush brush_value;
    raster::Bitmap* memory_bitmap = nullptr;
    // A window shows the selected bitmap without having copied it yet: the bitmap must not
    // change before the window has its pixels (see settle_shown_bitmap).
    bool bitmap_shown = false;
    COLORREF text_color = RGB(0, 0, 0);
    COLORREF background_color = RGB(255, 255, 255);
    int background_mode = OPAQUE;
    POINT position{0, 0};
};

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT period_ms;
    std::int64_t deadline_ms;
};

struct MemoryBlock {
    std::vector<char> bytes;
    int locks = 0;
};

struct Core {
    std::vector<WindowClass> classes;
    HandleTable<Window> windows;
    std::deque<MSG> queue;
    bool quit_posted = false;
    int quit_code = 0;
    std::vector<Timer> timers;
    HandleTable<Menu> menus;
    HandleTable<DeviceContext> contexts;
    HandleTable<GdiObject> objects;
    HandleTable<MemoryBlock> blocks;
    std::array<bool, 256> keys_down{};
    std::array<HGDIOBJ, 16> stock{};
};

// The process's platform state, built on first use in static storage: its address is
// fixed, which spares every handle look-up a load.
alignas(Core) extern unsigned char core_storage[sizeof(Core)];
extern bool core_built;
Core& build_core();
inline Core& core() {
    if (!core_built) [[unlikely]]
        return build_core();
    return *std::launder(reinterpret_cast<Core*>(core_storage));
}
// Forgets every window, message, timer and object, as a new process would start.
void reset_core();

// Handle look-ups; null for a stale or foreign handle. Inline: every drawing call makes
// several.
inline Window* find_window(HWND handle) {
    return core().windows.get(handle_id(handle));
}
inline DeviceContext* find_context(HDC handle) {
    return core().contexts.get(handle_id(handle));
}
inline GdiObject* find_object(HGDIOBJ handle) {
    return core().objects.get(handle_id(handle));
}
// A device context lets go of an object it had selected (a selected object is always live);
// an object deleted while selected goes with the last selection.
void erase_object(Core& c, HGDIOBJ object);  // out of line: the selections stay short
inline void release_selection(Core& c, HGDIOBJ object) {
    GdiObject& o = c.objects.live(handle_id(object));
    if (--o.selections == 0 && o.delete_pending) [[unlikely]]
        erase_object(c, object);
}

// The font a font object stands for, looked up on first use; null for other objects.
const glyphs::Font* object_font(GdiObject* object);
inline Menu* find_menu(HMENU handle) {
    return core().menus.get(handle_id(handle));
}
// How deep popups are followed: a menu that holds itself ends there.
constexpr int kMaxMenuDepth = 8;
// The first command item with this id in a menu or its popups, as CheckMenuItem and a
// chosen item find it; `owner`, when given, receives the menu that holds it.
MenuItem* find_menu_item(HMENU menu, UINT id, HMENU* owner = nullptr, int depth = 0);

// What keeps a text window's scroll and the new line under it from costing the whole
// window (window_rows.cpp): a scroll of the whole client area turns the backing store's
// ring of rows and leaves the rows it uncovered owing their old pixels, and the plain rows
// say how much of each row a fill in the background colour must paint.
// Copies the bitmap a window shows, then pays the rows still owed.
void settle_backing(Window& w);
// Gives every window that shows a memory context's bitmap its pixels, before the bitmap
// changes or leaves the context. `painted`, when given, is a block of the bitmap the coming
// call paints over whatever lies there: a window then takes the bitmap's pixels whole into
// its backing store (or, when smaller, into a bitmap it holds), and the bitmap gets back
// only what lies outside the block.
void settle_shown_bitmap(DeviceContext& dc, const raster::Clip* painted = nullptr);
// A window's backing store to read: what it shows is in its pixels first.
inline raster::Bitmap& backing_to_read(Window& w) {
    if (w.owed.count != 0 || w.shows || w.shows_held) [[unlikely]]
        settle_backing(w);
    return w.backing;
}
// A window's backing store for drawing that does not keep the plain rows up.
inline raster::Bitmap& backing_to_draw(Window& w) {
    w.plain.known = false;
    return backing_to_read(w);
}
// The whole backing store is `color`, nothing owed.
void reset_window_rows(Window& w, raster::Pixel color);
// ScrollDC of the whole client area by dy rows, for 0 < 2 * |dy| <= its height.
void scroll_window_rows(Window& w, int dy);
// The block [left, right) x [top, bottom) is about to be painted over in one colour.
void forgive_owed_rows(Window& w, long long left, long long top, long long right, long long bottom);
// Paints the block in `color` when it spans whole rows in the plain colour, painting only
// what is not that colour already; false (nothing done) otherwise.
bool fill_plain_rows(Window& w, long long left, long long top, long long right, long long bottom,
                     raster::Pixel color);
// Something was drawn within [left, right) x [top, bottom).
void mark_drawn_rows(Window& w, long long left, long long top, long long right, long long bottom);

// The pixels a device context draws on; null when it has none.
inline raster::Bitmap* context_bitmap(DeviceContext& dc) {
    if (dc.memory) {
        if (dc.bitmap_shown) [[unlikely]]
            settle_shown_bitmap(dc);
        return dc.memory_bitmap;
    }
    Window* w = find_window(dc.window);
    return w ? &backing_to_draw(*w) : nullptr;
}
// The colour of a window's class background brush; white without one.
raster::Pixel class_background(const Window& w);
// Re-reads a window's client size after its frame or menu changed; true when it changed.
bool refresh_client_size(HWND window);
// Tells the backend that a window's backing store changed (drawn on through a window DC).
void window_pixels_changed(HWND window);

// Keeping a window's text runs in step with its pixels: text written over a cell replaces
// the text there, scrolling moves what lies inside the scrolled area, and an opaque fill
// forgets the text it covers. Erasing the whole window clears text_runs.
void text_drawn(Window& w, const RECT& cell, std::string_view text);
void text_scrolled(Window& w, const RECT& area, int dx, int dy);
void text_covered(Window& w, const RECT& area);

// The bitmap a fresh memory context has selected.
HGDIOBJ default_bitmap();

// COLORREF is 0x00BBGGRR; pixels are 0x00RRGGBB.
inline raster::Pixel to_pixel(COLORREF color) {
    return raster::Pixel(GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color));
}
inline COLORREF to_colorref(raster::Pixel pixel) {
    return RGB(int(pixel >> 16) & 0xFF, int(pixel >> 8) & 0xFF, int(pixel) & 0xFF);
}

}  // namespace sktch::platform
