// A long game over the headless backend: the landing game runs its own loop while the idle
// hook clicks a button (now and then a spot off the panel) every hundred periodic events.
// The resident memory is read after a warm-up and at the end; it must not grow by 1 MB or
// more. Under the address sanitizer, whose quarantine holds freed memory on purpose, the
// figures are printed but not judged: there LeakSanitizer's report at exit is the check.
//
// Usage: soak_headless [EVENTS]   (1,000,000 unless given)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "sktch.h"
#include "sktch/headless.h"

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kJudgeMemory = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kJudgeMemory = false;
#else
constexpr bool kJudgeMemory = true;
#endif
#else
constexpr bool kJudgeMemory = true;
#endif

namespace {

constexpr long kLimitKb = 1024;
constexpr int kClickEvery = 100;

// The button centres in client pixels of the graphics window, whose world origin lies at
// (297, 243): LAND, PULL UP, BRAKES, RESTART.
constexpr int kButtonX = 297 - 250;
constexpr int kButtonY[] = {243 - 233, 243 - 208, 243 - 183, 243 - 158};

long resident_kb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::int64_t events = argc > 1 ? std::atoll(argv[1]) : 1'000'000;
    if (events < 1000) {
        std::fprintf(stderr, "usage: %s [EVENTS], at least 1000\n", argv[0]);
        return 2;
    }
    const std::int64_t warm_up = std::min<std::int64_t>(events / 10, 10'000);

    // The game runs in a directory of its own, in case a key starts a script.
    std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("sktch-soak-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    std::filesystem::current_path(directory);

    sktch::headless::reset();

    std::mt19937 random(12345);
    std::int64_t clicks = 0, next_click = kClickEvery;
    long warm_kb = -1, end_kb = -1;
    bool closing = false;
    auto started = std::chrono::steady_clock::now();

    // The game sees one periodic event per tick of 100 ms of the virtual clock, and the
    // clock moves only while the game waits: the tick count is the periodic event count.
    sktch::headless::on_idle([&] {
        std::int64_t periodic = sktch::headless::now_ms() / 100;
        HWND window = sktch::headless::find_window("SKTCH Graphics");
        if (closing) return;
        if (periodic == warm_up) warm_kb = resident_kb();
        if (periodic >= events) {
            end_kb = resident_kb();
            closing = true;
            sktch::headless::close_window(window);
            return;
        }
        if (periodic >= next_click) {
            next_click += kClickEvery;
            ++clicks;
            if (random() % 8 == 0)
                sktch::headless::click(window, int(random() % 595), int(random() % 487));
            else
                sktch::headless::click(window, kButtonX, kButtonY[random() % 4]);
        }
    });

    static char command_line[] = "";
    int result = WinMain(reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)), nullptr,
                         command_line, SW_SHOWNORMAL);
    sktch::headless::on_idle(nullptr);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::filesystem::current_path(directory.parent_path());
    std::filesystem::remove_all(directory);

    long growth = end_kb - warm_kb;
    std::printf("periodic events: %lld, clicks: %lld, seconds: %.1f\n", (long long)events,
                (long long)clicks, seconds);
    std::printf("VmRSS after %lld events: %ld kB; at the end: %ld kB; growth: %ld kB\n",
                (long long)warm_up, warm_kb, end_kb, growth);
    if (result != 0) {
        std::printf("FAIL: the game returned %d\n", result);
        return 1;
    }
    if (warm_kb < 0 || end_kb < 0) {
        std::printf("FAIL: the resident memory was not read\n");
        return 1;
    }
    if (kJudgeMemory && growth >= kLimitKb) {
        std::printf("FAIL: resident memory grew by %ld kB (limit %ld kB)\n", growth, kLimitKb);
        return 1;
    }
    std::printf(kJudgeMemory ? "PASS\n" : "PASS (memory growth not judged under ASan)\n");
    return 0;
}
