// The cost of the library's calls as a program makes them: drawing with logging off,
// through the renderer and the platform's device contexts, onto the surface.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "sktch.h"
#include "sktch/headless.h"
#include "state.h"

namespace {

// Opens the library on a screen of the given size (the text window spans its width).
void open_library(int screen_width = 1024, int screen_height = 768) {
    sktch::headless::reset();
    sktch::reset_state();
    sktch::headless::set_screen_size(screen_width, screen_height);
    SKTCH_open(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
    SKTCH_logging(0);
    SKTCH_clear();
}

// A thousand 2 by 2 rectangles with their pen and brush created, selected, restored and
// deleted, as the renderer does for each.
void BM_GdiTinyRectangles(benchmark::State& s) {
    open_library();
    HDC dc = sktch::state.surface_dc;
    for (auto _ : s) {
        for (int i = 0; i < 1000; ++i) {
            HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 255, 0));
            HBRUSH brush = CreateSolidBrush(RGB(255, 255, 0));
            HGDIOBJ old_pen = SelectObject(dc, pen);
            HGDIOBJ old_brush = SelectObject(dc, brush);
            int x = (i * 7) % 590, y = (i * 13) % 530;
            Rectangle(dc, x, y, x + 2, y + 2);
            SelectObject(dc, old_pen);
            SelectObject(dc, old_brush);
            DeleteObject(pen);
            DeleteObject(brush);
        }
    }
    s.SetItemsProcessed(s.iterations() * 1000);
}
BENCHMARK(BM_GdiTinyRectangles);

void BM_TinyRectangle(benchmark::State& s) {
    open_library();
    int i = 0;
    for (auto _ : s) {
        int x = (i * 7) % 590 - 295, y = (i * 13) % 480 - 240;
        SKTCH_rectangle(YELLOW, x, y + 1, x + 1, y, 0);
        ++i;
    }
}
BENCHMARK(BM_TinyRectangle);

void BM_Textf25Characters(benchmark::State& s) {
    open_library();
    for (auto _ : s) SKTCH_textf(BLACK, -285, -220, 15, "%s", "Safely land the airplane.");
}
BENCHMARK(BM_Textf25Characters);

// A 60-character line printed into the text window of a screen as wide as the argument
// (1024 by 768, or 1920 by 1080): the ring, the scroll of the whole window, the strip
// cleared under it and the new line drawn there.
void BM_Printf60Characters(benchmark::State& s) {
    const int width = int(s.range(0));
    open_library(width, width == 1920 ? 1080 : 768);
    std::string line(59, 'x');
    for (auto _ : s) SKTCH_printf("%s\n", line.c_str());
}
BENCHMARK(BM_Printf60Characters)->Arg(1024)->Arg(1920);

// A logged drawing call, as a beginner's first program makes them with logging on: the
// pixel painted and its line printed.
void BM_LoggedPixel(benchmark::State& s) {
    const int width = int(s.range(0));
    open_library(width, width == 1920 ? 1080 : 768);
    SKTCH_logging(1);
    int i = 0;
    for (auto _ : s) {
        SKTCH_pixel(i % 24, i % 601 - 300, i % 540 - 270);
        ++i;
    }
}
BENCHMARK(BM_LoggedPixel)->Arg(1024)->Arg(1920);

// The limit for the copies: moving the surface's bytes once.
void BM_MemcpySurface(benchmark::State& s) {
    std::vector<std::uint32_t> from(601 * 540, 1), to(601 * 540);
    for (auto _ : s) {
        std::memcpy(to.data(), from.data(), to.size() * sizeof to[0]);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpySurface);

// One pass of the event wait that presents a changed surface: the whole-surface copy
// to the window.
void BM_PresentSurface(benchmark::State& s) {
    open_library();
    for (auto _ : s) {
        sktch::state.surface_dirty = 1;
        sktch::pump_one_message();
    }
}
BENCHMARK(BM_PresentSurface);

}  // namespace

BENCHMARK_MAIN();
