// Frame pacing of the game loop's presentation at rate 60 over 10 s of
// frames (600 frames): the frames per second reached, reported as a counter
// ("fps"; target 60 +- 0.5). Both pacing ways are measured: the frame
// limiter (VSync off) and the emulated vertical blank (VSync on).
#include "base/frame_timing.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/dd_surface.h"
#include "media/media_services.h"
#include "platform/clock.h"

#include <benchmark/benchmark.h>

static void Pace(benchmark::State& state, bool vsync) {
    DDEnd();
    BuildBitmapTable();
    DDInit(1, nullptr, 640, 480, 32, vsync ? 1 : 0, 1, 1, 60, vsync ? 1 : 0, SurfaceTable, BitmapTable, kSurfaceSlots,
           0);
    DDBackEndFromDevice();
    ResetFrameTiming();
    const int frames = 600;
    for (auto _ : state) {
        DDPresent(60, 0, 0);  // settle on the schedule
        uint32_t start = platform::NowMs();
        for (int i = 0; i < frames; ++i) DDPresent(60, 0, 0);
        uint32_t ms = platform::NowMs() - start;
        state.counters["fps"] = frames * 1000.0 / static_cast<double>(ms);
    }
    DDEnd();
}

static void BM_FramePacingLimiter(benchmark::State& state) { Pace(state, false); }
static void BM_FramePacingVBlank(benchmark::State& state) { Pace(state, true); }
BENCHMARK(BM_FramePacingLimiter)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FramePacingVBlank)->Iterations(1)->Unit(benchmark::kMillisecond);
