// Windows in the page: the core's window records mirrored into sktch_web.js, which keeps the
// frames, menu bars and canvases.
#include "backends/web/web_window.h"

#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" {
// Implemented in sktch_web.js.
void sktch_web_window(int id, const char* title, int style, int width, int height, int visible);
void sktch_web_window_gone(int id);
void sktch_web_menu(int id, const char* menu);
void sktch_web_present(int id, const std::uint32_t* rgba, int width, int height);
}

namespace sktch::platform::web {
namespace {

constexpr int kMaxDepth = 8;  // as deep as the core follows popups

struct Canvas {
    bool changed = true;
    std::vector<std::uint32_t> rgba;  // the page's byte order: red first, opaque
};

Canvas* canvas_of(const Window& w) {
    return static_cast<Canvas*>(w.native);
}

// Latin-1 text as a JSON string.
void append_json(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    out += '"';
}

void append_items(std::string& out, HMENU handle, int depth) {
    out += '[';
    Menu* m = find_menu(handle);
    bool first = true;
    for (const MenuItem& item : m&& depth <= kMaxDepth ? m->items : std::vector<MenuItem>{}) {
        if (!first) out += ',';
        first = false;
        out += "{\"flags\":" + std::to_string(item.flags) + ",\"text\":";
        append_json(out, item.text);
        if (item.flags & MF_POPUP) {
            out += ",\"items\":";
            append_items(out, reinterpret_cast<HMENU>(item.id), depth + 1);
        } else {
            out += ",\"id\":" + std::to_string(item.id);
        }
        out += '}';
    }
    out += ']';
}

void describe(HWND window, const Window& w) {
    sktch_web_window(id_of(window), w.title.c_str(), int(w.style), w.client_width, w.client_height,
                     w.visible ? 1 : 0);
}

}  // namespace

int id_of(HWND window) {
    return int(reinterpret_cast<std::uintptr_t>(window));
}

HWND handle_of(int id) {
    return reinterpret_cast<HWND>(std::uintptr_t(unsigned(id)));
}

void created(HWND window, Window& w) {
    w.native = new Canvas;
    describe(window, w);
    menu(window, w);
}

void destroyed(HWND window, Window& w) {
    delete canvas_of(w);
    w.native = nullptr;
    sktch_web_window_gone(id_of(window));
}

void shown(HWND window, Window& w) {
    describe(window, w);
    if (Canvas* c = canvas_of(w)) c->changed = true;
}

void menu(HWND window, Window& w) {
    std::string json;
    if (w.menu && find_menu(w.menu)) append_items(json, w.menu, 0);
    sktch_web_menu(id_of(window), json.c_str());
}

void mark_changed(Window& w) {
    if (Canvas* c = canvas_of(w)) c->changed = true;
}

void present_all() {
    core().windows.for_each([](std::uint32_t id, Window& w) {
        Canvas* c = canvas_of(w);
        if (!c || !c->changed || !w.visible) return;
        c->changed = false;
        const raster::Bitmap& b = backing_to_read(w);  // rows a scroll still owes are paid
        if (b.width <= 0 || b.height <= 0) return;
        c->rgba.resize(std::size_t(b.width) * b.height);
        std::uint32_t* out = c->rgba.data();
        for (int y = 0; y < b.height; ++y) {
            const raster::Pixel* row = b.row(y);
            for (int x = 0; x < b.width; ++x) {
                const raster::Pixel p = row[x];
                *out++ = ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16) | 0xFF000000u;
            }
        }
        sktch_web_present(id_of(make_handle<HWND>(id)), c->rgba.data(), b.width, b.height);
    });
}

std::string dialog_json(const DialogDescription& d) {
    std::string out = "{\"title\":";
    append_json(out, d.title);
    out += ",\"style\":" + std::to_string(d.style);
    out += ",\"width\":" + std::to_string(d.rect.right - d.rect.left);
    out += ",\"height\":" + std::to_string(d.rect.bottom - d.rect.top);
    out += ",\"controls\":[";
    bool first = true;
    for (const DialogControl& c : d.controls) {
        if (!first) out += ',';
        first = false;
        const char* kind = c.kind == DialogControl::Kind::Button   ? "button"
                           : c.kind == DialogControl::Kind::Edit   ? "edit"
                           : c.kind == DialogControl::Kind::Static ? "static"
                                                                   : "other";
        out += std::string("{\"kind\":\"") + kind + "\",\"id\":" + std::to_string(c.id) +
               ",\"style\":" + std::to_string(c.style) + ",\"x\":" + std::to_string(c.rect.left) +
               ",\"y\":" + std::to_string(c.rect.top) +
               ",\"width\":" + std::to_string(c.rect.right - c.rect.left) +
               ",\"height\":" + std::to_string(c.rect.bottom - c.rect.top) + ",\"text\":";
        append_json(out, c.text);
        out += '}';
    }
    return out + "]}";
}

}  // namespace sktch::platform::web
