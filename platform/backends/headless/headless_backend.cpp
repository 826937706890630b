// The headless backend: windows in memory, a virtual clock, and the driver of headless.h.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

#include "core/backend.h"
#include "raster/diagnostics.h"
#include "raster/png_io.h"
#include "sktch/headless.h"

namespace sktch::platform {
namespace {

class HeadlessBackend final : public Backend {
  public:
    SIZE screen{1024, 768};
    std::int64_t clock = 0;
    std::function<void()> idle_hook;
    std::uint64_t idles = 0;
    std::optional<std::string> dialog_answer;
    bool dialog_fails = false;

    SIZE screen_size() override { return screen; }
    std::int64_t now_ms() override { return clock; }
    void window_created(HWND, Window&) override {}
    void window_destroyed(HWND, Window&) override {}
    void window_shown(HWND, Window&) override {}
    void menu_changed(HWND, Window&) override {}
    void pixels_changed(HWND, Window&) override {}
    // Nothing shows a window until the driver reads it: a program's frames copied to its
    // window are copied only when looked at.
    bool defers_window_copies() override { return true; }
    void poll() override {}

    void wait(std::optional<std::int64_t> deadline) override {
        ++idles;
        if (idle_hook) {
            auto hook = idle_hook;  // the hook may replace itself
            hook();
        }
        if (message_ready()) return;
        if (!deadline) {
            diagnostic("the program waits for input that can never come (headless)");
            std::exit(3);
        }
        // With no driver, nothing but a timer can end the wait: the clock follows the real
        // one while the program sleeps, as it would on a screen, rather than racing ahead.
        if (!idle_hook && *deadline > clock)
            std::this_thread::sleep_for(std::chrono::milliseconds(*deadline - clock));
        if (*deadline > clock) clock = *deadline;
    }

    // A dialog is answered as soon as it is shown: its edit box holds the answer (empty
    // unless the driver gave one) and its default button is pressed.
    bool dialog_shown(HWND dialog, const DialogDescription& description) override {
        if (dialog_fails) {
            dialog_fails = false;
            return false;
        }
        shown_answer = dialog_answer.value_or("");
        dialog_answer.reset();
        post_input(dialog, WM_COMMAND, default_command(description), 0);
        return true;
    }
    void dialog_closed(HWND) override {}
    std::string control_text(HWND, int) override { return shown_answer; }

    std::string shown_answer;
};

HeadlessBackend& the_backend() {
    static HeadlessBackend instance;
    return instance;
}

// A window's pixels as the user would see them; null for no window. Every read of a
// window's pixels goes through here.
const raster::Bitmap* shown_pixels(HWND window) {
    Window* w = find_window(window);
    return w ? &backing_to_read(*w) : nullptr;
}

}  // namespace

Backend& backend() {
    return the_backend();
}

}  // namespace sktch::platform

namespace sktch::headless {

using namespace sktch::platform;

void reset() {
    reset_core();
    HeadlessBackend& h = the_backend();
    h.screen = {1024, 768};
    h.clock = 0;
    h.idle_hook = nullptr;
    h.idles = 0;
    h.dialog_answer.reset();
    h.dialog_fails = false;
    h.shown_answer.clear();
}

void set_screen_size(int width, int height) {
    the_backend().screen = {width, height};
}
std::int64_t now_ms() {
    return the_backend().clock;
}
void advance_clock(std::int64_t ms) {
    if (ms > 0) the_backend().clock += ms;
}
void on_idle(std::function<void()> hook) {
    the_backend().idle_hook = std::move(hook);
}
std::uint64_t idle_count() {
    return the_backend().idles;
}

void click(HWND window, int x, int y) {
    post_input(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    post_input(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void key_down(HWND window, int virtual_key, char character, bool repeat) {
    post_key(window, true, virtual_key, static_cast<unsigned char>(character), repeat);
}

void key_up(HWND window, int virtual_key) {
    post_key(window, false, virtual_key, 0, false);
}

void press_ctrl_key(HWND window, char letter) {
    int vk = letter >= 'a' && letter <= 'z' ? letter - 32 : letter;
    key_down(window, VK_CONTROL);
    key_down(window, vk, char(vk & 0x1F));  // Ctrl+letter types a control character
    key_up(window, vk);
    key_up(window, VK_CONTROL);
}

void type_char(HWND window, char character) {
    int vk = character >= 'a' && character <= 'z' ? character - 32 : character & 0xFF;
    key_down(window, vk, character);
    key_up(window, vk);
}

bool choose_menu_item(HWND window, UINT id) {
    Window* w = sktch::platform::find_window(window);
    MenuItem* item = w ? find_menu_item(w->menu, id) : nullptr;
    if (!item || (item->flags & (MF_GRAYED | MF_DISABLED))) return false;
    post_input(window, WM_COMMAND, id, 0);
    return true;
}

void close_window(HWND window) {
    post_input(window, WM_CLOSE, 0, 0);
}

HWND find_window(const char* title) {
    HWND found = nullptr;
    core().windows.for_each([&](std::uint32_t id, Window& w) {
        if (!found && title && w.title == title) found = make_handle<HWND>(id);
    });
    return found;
}

Pixels window_pixels(HWND window) {
    const raster::Bitmap* shown = shown_pixels(window);
    if (!shown) return {};
    Pixels copy{shown->width, shown->height, {}};
    copy.pixels.reserve(shown->pixels.size());
    for (int y = 0; y < shown->height; ++y)  // the rows in picture order, wherever they start
        copy.pixels.insert(copy.pixels.end(), shown->row(y), shown->row(y) + shown->width);
    return copy;
}

std::uint32_t window_pixel(HWND window, int x, int y) {
    const raster::Bitmap* shown = shown_pixels(window);
    if (!shown || x < 0 || y < 0 || x >= shown->width || y >= shown->height) return 0;
    return shown->at(x, y);
}

std::vector<std::string> window_text(HWND window) {
    Window* w = sktch::platform::find_window(window);
    if (!w) return {};
    std::vector<const TextRun*> runs;
    for (const TextRun& run : w->text_runs) runs.push_back(&run);
    std::stable_sort(runs.begin(), runs.end(), [](const TextRun* a, const TextRun* b) {
        return a->cell.top != b->cell.top ? a->cell.top < b->cell.top : a->cell.left < b->cell.left;
    });
    std::vector<std::string> lines;
    for (const TextRun* run : runs) lines.push_back(run->text);
    return lines;
}

bool window_visible(HWND window) {
    Window* w = sktch::platform::find_window(window);
    return w && w->visible;
}

bool menu_item_checked(HWND window, UINT id) {
    Window* w = sktch::platform::find_window(window);
    MenuItem* item = w ? find_menu_item(w->menu, id) : nullptr;
    return item && (item->flags & MF_CHECKED);
}

bool save_window_png(HWND window, const std::string& path) {
    const raster::Bitmap* shown = shown_pixels(window);
    return shown && raster::write_png(*shown, path);
}

void answer_next_dialog(const std::string& text) {
    the_backend().dialog_answer = text;
    the_backend().dialog_fails = false;
}

void fail_next_dialog() {
    the_backend().dialog_answer.reset();
    the_backend().dialog_fails = true;
}

}  // namespace sktch::headless
