// One frame of the landing game through the headless backend, beside a plain memset over
// as many bytes as the frame paints, so the cost per painted pixel can be judged.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "rules.h"
#include "scene.h"
#include "sktch.h"
#include "sktch/headless.h"
#include "state.h"

namespace {

// Pixels one frame paints on the 601 by 540 surface, overdraw included: the sky (598 by
// 494 after clipping), the ground (598 by 201), the three hills, the thirteen buildings,
// the runway, the sun, and a few thousand for windows, lights, texts and aircraft.
constexpr std::int64_t kFramePixels =
    598 * 494 + 598 * 201 + 75'000 + 36'400 + 43'200 + 40'700 + 10'800 + 1'300 + 8'000;
constexpr std::int64_t kFrameBytes = kFramePixels * 4;

// The library opened over the headless backend, logging off, as the game runs it.
void open_library() {
    sktch::headless::reset();
    sktch::reset_state();
    static char command_line[] = "";
    SKTCH_open(reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)), nullptr, command_line,
               SW_SHOWNORMAL);
    SKTCH_logging(0);
    SKTCH_clear();
}

// A busy frame: the aircraft stopped on the runway with "NICE LANDING", the flyers after
// their first step (four spread out, five together at the right edge).
GameState busy_frame() {
    GameState game;
    game.plane_x = -150;
    game.plane_y = -130;
    game.plane_speed = 0;
    step_flyers(game);
    return game;
}

void BM_Redraw(benchmark::State& state) {
    open_library();
    const GameState game = busy_frame();
    redraw(game);  // fonts and glyphs into their caches
    for (auto _ : state) {
        redraw(game);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
    SKTCH_close();
}
BENCHMARK(BM_Redraw)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The same frame timed one by one. On a shared virtual machine the processor's speed can
// switch between levels for tens of milliseconds at a time, and a repetition's mean mixes
// them; the percentiles of single frames keep them apart: the 10th is the frame undisturbed,
// the 90th the frame at the slower level.
constexpr int kTimedFrames = 20'000;

void BM_RedrawFrameByFrame(benchmark::State& state) {
    open_library();
    const GameState game = busy_frame();
    redraw(game);
    std::vector<double> micros;
    micros.reserve(kTimedFrames);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        redraw(game);
        benchmark::ClobberMemory();
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    auto percentile = [&](std::size_t percent) { return micros[micros.size() * percent / 100]; };
    state.counters["p10_us"] = percentile(10);
    state.counters["p50_us"] = percentile(50);
    state.counters["p90_us"] = percentile(90);
    SKTCH_close();
}
BENCHMARK(BM_RedrawFrameByFrame)->Unit(benchmark::kMicrosecond)->Iterations(kTimedFrames);

void BM_MemsetFrameBytes(benchmark::State& state) {
    std::vector<std::uint32_t> pixels(kFramePixels);
    int value = 0;
    for (auto _ : state) {
        std::memset(pixels.data(), ++value & 0xFF, kFrameBytes);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
}
BENCHMARK(BM_MemsetFrameBytes)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The console report, plus the ratio of the two medians at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians_[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void print_ratio() const {
        auto frame = medians_.find("BM_Redraw");
        auto fill = medians_.find("BM_MemsetFrameBytes");
        if (frame == medians_.end() || fill == medians_.end() || fill->second <= 0) return;
        std::printf(
            "\nframe median %.1f us, memset median %.1f us (CPU time): the frame takes %.1f x "
            "memset\n",
            frame->second, fill->second, frame->second / fill->second);
    }

  private:
    std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_ratio();
    benchmark::Shutdown();
    return 0;
}
