// Menus as a model: items with ids, texts and flags, which the backend shows natively.
#include "core/backend.h"
#include "core/core.h"

namespace sktch::platform {
namespace {

bool contains(HMENU menu, HMENU wanted, int depth = 0) {
    if (menu == wanted) return true;
    Menu* m = find_menu(menu);
    if (!m || depth > kMaxMenuDepth) return false;
    for (const MenuItem& item : m->items)
        if ((item.flags & MF_POPUP) &&
            contains(reinterpret_cast<HMENU>(item.id), wanted, depth + 1))
            return true;
    return false;
}

// Tells the backend about every window whose menu bar shows `menu`.
void notify(HMENU menu) {
    core().windows.for_each([&](std::uint32_t id, Window& w) {
        if (w.menu && contains(w.menu, menu)) backend().menu_changed(make_handle<HWND>(id), w);
    });
}

}  // namespace

MenuItem* find_menu_item(HMENU menu, UINT id, HMENU* owner, int depth) {
    Menu* m = find_menu(menu);
    if (!m || depth > kMaxMenuDepth) return nullptr;
    for (MenuItem& item : m->items) {
        if (item.flags & MF_POPUP) {
            if (MenuItem* inner =
                    find_menu_item(reinterpret_cast<HMENU>(item.id), id, owner, depth + 1))
                return inner;
        } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
            if (owner) *owner = menu;
            return &item;
        }
    }
    return nullptr;
}

}  // namespace sktch::platform

using namespace sktch::platform;

HMENU CreateMenu() {
    return make_handle<HMENU>(core().menus.add(Menu{false, {}}));
}

HMENU CreatePopupMenu() {
    return make_handle<HMENU>(core().menus.add(Menu{true, {}}));
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id_or_popup, LPCSTR text) {
    Menu* m = find_menu(menu);
    if (!m) return FALSE;
    if ((flags & MF_POPUP) && !find_menu(reinterpret_cast<HMENU>(id_or_popup))) return FALSE;
    m->items.push_back({flags, id_or_popup, (text && !(flags & MF_SEPARATOR)) ? text : ""});
    notify(menu);
    return TRUE;
}

BOOL SetMenu(HWND window, HMENU menu) {
    Window* w = find_window(window);
    if (!w || (menu && !find_menu(menu))) return FALSE;
    w->menu = menu;
    backend().menu_changed(window, *w);
    // A menu bar takes room from the client area; a window still being created gets its
    // first WM_SIZE from CreateWindowExA.
    bool created = w->created;
    if (refresh_client_size(window) && created && (w = find_window(window)))
        SendMessageA(window, WM_SIZE, 0, MAKELPARAM(w->client_width, w->client_height));
    return TRUE;
}

HMENU GetMenu(HWND window) {
    Window* w = find_window(window);
    return w ? w->menu : nullptr;
}

BOOL DrawMenuBar(HWND window) {
    Window* w = find_window(window);
    if (!w) return FALSE;
    backend().menu_changed(window, *w);
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check) {
    HMENU owner = nullptr;
    MenuItem* item = find_menu_item(menu, id, &owner);
    if (!item) return DWORD(-1);
    DWORD previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~UINT(MF_CHECKED)) | (check & MF_CHECKED);
    notify(owner);
    return previous;
}

BOOL DestroyMenu(HMENU menu) {
    Menu* m = find_menu(menu);
    if (!m) return FALSE;
    std::vector<MenuItem> items = m->items;
    core().menus.remove(handle_id(menu));
    for (const MenuItem& item : items)
        if (item.flags & MF_POPUP) DestroyMenu(reinterpret_cast<HMENU>(item.id));
    return TRUE;
}
