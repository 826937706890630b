// Text drawing once fonts and glyphs are cached: the cost of a typical label.
#include <benchmark/benchmark.h>

#include <climits>
#include <string>

#include "raster/glyphs.h"

namespace {

using sktch::glyphs::FontRequest;
using sktch::raster::Bitmap;
using sktch::raster::Target;

const std::string kLabel = "Score: 12345   Fuel: 678";  // 25 characters with the space

FontRequest label_request() {
    FontRequest request;
    request.height = -15;
    request.face = "SKTCH-font";
    return request;
}

// What a text drawing call does: find the font, measure, draw.
void BM_FindMeasureDraw25(benchmark::State& state) {
    Bitmap bitmap(640, 480, 0xFFFFFF);
    const Target target{&bitmap, {0, 0, bitmap.width, bitmap.height}};
    const FontRequest request = label_request();
    const bool opaque = state.range(0) != 0;
    for (auto _ : state) {
        const sktch::glyphs::Font* font = sktch::glyphs::find_font(request);
        const int width = sktch::glyphs::text_width(*font, kLabel.data(), int(kLabel.size()));
        sktch::glyphs::draw_text(target, *font, 20, 30, kLabel.data(), int(kLabel.size()), 0x203040,
                                 opaque, 0xFFFFFF);
        benchmark::DoNotOptimize(width);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(kLabel.size()));
}
BENCHMARK(BM_FindMeasureDraw25)->Arg(0)->Arg(1)->ArgName("opaque");

void BM_FindFont(benchmark::State& state) {
    const FontRequest request = label_request();
    for (auto _ : state) benchmark::DoNotOptimize(sktch::glyphs::find_font(request));
}
BENCHMARK(BM_FindFont);

// A long string far off the bitmap should cost next to nothing.
void BM_DrawOffTarget1000(benchmark::State& state) {
    Bitmap bitmap(64, 64, 0xFFFFFF);
    const Target target{&bitmap, {0, 0, bitmap.width, bitmap.height}};
    const std::string text(1000, 'W');
    const sktch::glyphs::Font* font = sktch::glyphs::find_font(label_request());
    const int x = int(state.range(0));
    const int y = int(state.range(1));
    for (auto _ : state) {
        sktch::glyphs::draw_text(target, *font, x, y, text.data(), int(text.size()), 0, true,
                                 0xFFFFFF);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawOffTarget1000)
    ->Args({INT_MIN, 0})
    ->Args({0, INT_MAX - 5})
    ->Args({100000, 0})
    ->ArgNames({"x", "y"});

}  // namespace

BENCHMARK_MAIN();
