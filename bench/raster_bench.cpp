// Speed of the rasterizer's common shapes on a 601 x 540 bitmap.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "raster/raster.h"

namespace {

using namespace sktch::raster;

constexpr int kWidth = 601, kHeight = 540;

const Pen kThinPen{0x336699, 0, false};
const Brush kSolid{0x336699, false};

void FilledRectangleWholeBitmap(benchmark::State& state) {
    Bitmap bitmap(kWidth, kHeight, 0xFFFFFF);
    const Target t = whole(bitmap);
    for (auto _ : state) {
        rectangle(t, kThinPen, kSolid, 0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(bitmap.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kWidth) * kHeight * 4);
}
BENCHMARK(FilledRectangleWholeBitmap);

// The limit for the rectangle above: setting the same bytes with memset.
void MemsetWholeBitmap(benchmark::State& state) {
    std::vector<Pixel> pixels(std::size_t(kWidth) * kHeight);
    int value = 0;
    for (auto _ : state) {
        std::memset(pixels.data(), value++ & 0xFF, pixels.size() * sizeof(Pixel));
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kWidth) * kHeight * 4);
}
BENCHMARK(MemsetWholeBitmap);

void ThousandSmallRectangles(benchmark::State& state) {
    Bitmap bitmap(kWidth, kHeight, 0xFFFFFF);
    const Target t = whole(bitmap);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const int x = (i * 37) % (kWidth - 2), y = (i * 53) % (kHeight - 2);
            rectangle(t, kThinPen, kSolid, x, y, x + 2, y + 2);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(ThousandSmallRectangles);

void FilledTriangleHalfBitmap(benchmark::State& state) {
    Bitmap bitmap(kWidth, kHeight, 0xFFFFFF);
    const Target t = whole(bitmap);
    const Point pts[3] = {{0, 0}, {kWidth, 0}, {0, kHeight}};
    for (auto _ : state) {
        polygon(t, kThinPen, kSolid, pts, 3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FilledTriangleHalfBitmap);

void FilledCircleRadius20(benchmark::State& state) {
    Bitmap bitmap(kWidth, kHeight, 0xFFFFFF);
    const Target t = whole(bitmap);
    for (auto _ : state) {
        ellipse(t, kThinPen, kSolid, 280, 250, 321, 291);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FilledCircleRadius20);

void Line200Width2(benchmark::State& state) {
    Bitmap bitmap(kWidth, kHeight, 0xFFFFFF);
    const Target t = whole(bitmap);
    const Pen pen{0x336699, 2, false};
    for (auto _ : state) {
        line(t, pen, 100, 100, 260, 220);  // 200 pixels long
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Line200Width2);

}  // namespace

BENCHMARK_MAIN();
