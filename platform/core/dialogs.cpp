// Modal dialogs from in-memory templates: the dialog window, its message loop, and the
// calls its dialog procedure makes.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/backend.h"
#include "core/core.h"

namespace sktch::platform {
namespace {

// Dialog units to pixels, from the average character size of the dialog's font.
void place(DialogTemplate& d) {
    int base_x = 8, base_y = 16;
    if (const glyphs::Font* font = object_font(find_object(core().stock[SYSTEM_FONT]))) {
        base_x = std::max(1, glyphs::metrics(*font).average_char_width);
        base_y = std::max(1, glyphs::metrics(*font).height);
    }
    auto to_pixels = [&](const RECT& u) {
        return RECT{int((long long)u.left * base_x / 4), int((long long)u.top * base_y / 8),
                    int((long long)u.right * base_x / 4), int((long long)u.bottom * base_y / 8)};
    };
    d.rect = to_pixels(d.units);
    for (DialogControl& c : d.controls) c.rect = to_pixels(c.units);
}

LRESULT CALLBACK dialog_window_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
    Window* dialog = find_window(window);
    DLGPROC procedure = dialog ? dialog->dialog_procedure : nullptr;
    if (procedure)
        if (INT_PTR handled = procedure(window, message, w, l)) return handled;
    if (message == WM_CLOSE) {
        // A dialog is not destroyed by its close box: it is asked to cancel.
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    if (message == WM_PAINT) return DefWindowProcA(window, message, w, l);
    return 0;
}

bool dialog_running(HWND window) {
    Window* dialog = find_window(window);
    return dialog && !dialog->dialog_ended;
}

}  // namespace
}  // namespace sktch::platform

using namespace sktch::platform;

INT_PTR DialogBoxIndirectParamA(HINSTANCE, LPCDLGTEMPLATEA dialog_template, HWND owner,
                                DLGPROC procedure, LPARAM init_param) {
    DialogTemplate description;
    if (!procedure || !read_dialog_template(dialog_template, SIZE_MAX, description)) return -1;
    place(description);

    Window w;
    w.window_class.name = "#32770";
    w.window_class.procedure = dialog_window_proc;
    w.title = description.title;
    w.style = description.style;
    w.frame = description.rect;
    if (Window* o = find_window(owner)) {
        w.frame.left += o->frame.left;
        w.frame.right += o->frame.left;
        w.frame.top += o->frame.top;
        w.frame.bottom += o->frame.top;
    }
    w.client_width = std::clamp<int>(description.rect.right - description.rect.left, 0, 4096);
    w.client_height = std::clamp<int>(description.rect.bottom - description.rect.top, 0, 4096);
    w.dialog_procedure = procedure;
    w.controls = description.controls;
    w.created = true;
    HWND dialog = make_handle<HWND>(core().windows.add(std::move(w)));

    if (!backend().dialog_shown(dialog, description)) {
        core().windows.remove(handle_id(dialog));
        return -1;
    }
    SendMessageA(dialog, WM_INITDIALOG, 0, init_param);

    // The dialog's own message loop: every window keeps getting its messages (repaints,
    // timer ticks), but the program's code waits here until the dialog ends.
    while (dialog_running(dialog)) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(int(msg.wParam));  // the program's loop sees it next
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        WaitMessage();
    }

    INT_PTR result = 0;
    if (Window* ended = find_window(dialog))
        result = ended->dialog_ended ? ended->dialog_result : 0;
    backend().dialog_closed(dialog);
    core().windows.remove(handle_id(dialog));
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    Window* w = find_window(dialog);
    if (!w || !w->dialog_procedure) return FALSE;
    w->dialog_ended = true;
    w->dialog_result = result;
    return TRUE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int max_count) {
    Window* w = find_window(dialog);
    if (!w || !text || max_count <= 0) return 0;
    text[0] = '\0';
    auto control = std::find_if(w->controls.begin(), w->controls.end(),
                                [&](const DialogControl& c) { return c.id == id; });
    if (control == w->controls.end()) return 0;
    std::string value = control->kind == DialogControl::Kind::Edit
                            ? backend().control_text(dialog, id)
                            : control->text;
    std::size_t n = std::min(value.size(), std::size_t(max_count - 1));
    std::memcpy(text, value.data(), n);
    text[n] = '\0';
    return UINT(n);
}
