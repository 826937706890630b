// The script reader fed arbitrary files: the bytes are written as the script file and played
// back through the event wait until playback stops, or until a bound on the events played
// (a file may ask for two billion periodic events in one line).
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "sktch.h"
#include "sktch/headless.h"
#include "sktch/run_menu.h"
#include "state.h"

namespace {

constexpr int kMaxEvents = 1000;

std::string directory;

void remove_directory() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}

// Back to no script: playback off, the stream closed with nothing owed.
void forget_script() {
    sktch::stop_playback();
    sktch::close_script_file();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // On a memory file system where there is one: rewriting a file in place on a disk file
    // system may wait for the disk at every close.
    std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/sktch-fuzz-script-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    directory = pattern;
    if (chdir(pattern.c_str()) != 0) std::abort();
    std::atexit(remove_directory);

    sktch::headless::reset();
    sktch::reset_state();
    // A small screen keeps the text window, which scrolls for every message, small.
    sktch::headless::set_screen_size(320, 240);
    SKTCH_open(reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)), nullptr, nullptr,
               SW_SHOWNORMAL);
    SKTCH_logging(0);
    SKTCH_clear();
    sktch::headless::on_idle([] {
        HWND graphics = sktch::headless::find_window("SKTCH Graphics");
        if (!sktch::headless::menu_item_checked(graphics, SKTCH_MENU_PLAYBACK)) PostQuitMessage(0);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    forget_script();
    std::FILE* file = std::fopen(sktch::kScriptFileName, "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    if (!sktch::headless::choose_menu_item(sktch::state.graphics_window, SKTCH_MENU_PLAYBACK))
        std::abort();
    for (int events = 0; events < kMaxEvents; ++events) {
        int x = 0, y = 0;
        char key = 0;
        int kind = SKTCH_await_event(&x, &y, &key);
        if (kind == SKTCH_QUIT) break;
        // Played events are of the three kinds a script holds, and carry only their values.
        if (kind == SKTCH_MOUSE && key != 0) std::abort();
        if (kind == SKTCH_KBD && (x != 0 || y != 0)) std::abort();
        if (kind == SKTCH_PERIODIC && (x != 0 || y != 0 || key != 0)) std::abort();
        if (kind != SKTCH_MOUSE && kind != SKTCH_KBD && kind != SKTCH_PERIODIC) std::abort();
    }
    return 0;
}
