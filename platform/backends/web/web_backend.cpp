// The web backend: windows as canvases in the page, waiting through Asyncify, and modal
// dialogs as page dialogs. The page side lives in sktch_web.js; this file keeps the core's
// side: what the page must show, and the entry points the page calls with input.
#include <emscripten.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

#include "backends/web/web_window.h"
#include "core/backend.h"

extern "C" {
// Implemented in sktch_web.js.
void sktch_web_waiting();
void sktch_web_wait(int milliseconds);  // suspends until input or the time passes (< 0: input)
double sktch_web_now();
int sktch_web_dialog_show(int dialog, const char* description);
void sktch_web_dialog_close(int dialog);
char* sktch_web_dialog_text(int dialog, int id);  // malloc'd
}

namespace sktch::platform {
namespace {

constexpr double kYieldEveryMs = 40;  // a busy program still lets the page paint and take input

class WebBackend final : public Backend {
  public:
    SIZE screen_size() override { return {1024, 768}; }
    std::int64_t now_ms() override { return std::int64_t(sktch_web_now()); }

    void window_created(HWND window, Window& w) override { web::created(window, w); }
    void window_destroyed(HWND window, Window& w) override { web::destroyed(window, w); }
    void window_shown(HWND window, Window& w) override { web::shown(window, w); }
    void menu_changed(HWND window, Window& w) override { web::menu(window, w); }
    void pixels_changed(HWND, Window& w) override { web::mark_changed(w); }

    void poll() override {
        // A long run of work without a wait (a script played back) would freeze the page.
        if (sktch_web_now() - last_yield_ < kYieldEveryMs) return;
        web::present_all();
        emscripten_sleep(0);
        last_yield_ = sktch_web_now();
    }

    void wait(std::optional<std::int64_t> deadline) override {
        web::present_all();
        sktch_web_waiting();
        while (!message_ready()) {
            int left = -1;
            if (deadline) {
                const std::int64_t ms = *deadline - now_ms();
                if (ms <= 0) break;
                left = int(std::min<std::int64_t>(ms, INT_MAX));
            }
            sktch_web_wait(left);
        }
        last_yield_ = sktch_web_now();
    }

    bool dialog_shown(HWND dialog, const DialogDescription& description) override {
        web::present_all();
        const std::string json = web::dialog_json(description);
        return sktch_web_dialog_show(web::id_of(dialog), json.c_str()) != 0;
    }
    void dialog_closed(HWND dialog) override { sktch_web_dialog_close(web::id_of(dialog)); }
    std::string control_text(HWND dialog, int id) override {
        char* text = sktch_web_dialog_text(web::id_of(dialog), id);
        std::string result = text ? text : "";
        std::free(text);
        return result;
    }

  private:
    double last_yield_ = 0;
};

}  // namespace

Backend& backend() {
    static WebBackend instance;
    return instance;
}

}  // namespace sktch::platform

// ---- what the page calls ----------------------------------------------------------------------

using sktch::platform::web::handle_of;

extern "C" {

EMSCRIPTEN_KEEPALIVE void sktch_web_input(int window, unsigned message, unsigned w, int l) {
    sktch::platform::post_input(handle_of(window), message, WPARAM(w), LPARAM(l));
}

EMSCRIPTEN_KEEPALIVE void sktch_web_key(int window, int down, int virtual_key, int character,
                                        int repeat) {
    sktch::platform::post_key(handle_of(window), down != 0, virtual_key,
                              static_cast<unsigned char>(character), repeat != 0);
}

EMSCRIPTEN_KEEPALIVE void sktch_web_exposed(int window) {
    sktch::platform::invalidate(handle_of(window));
}

}  // extern "C"
