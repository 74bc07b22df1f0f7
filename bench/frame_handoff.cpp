// The presentation hand-off of one 640 x 480 frame: the game side's copy into
// the mailbox, the main thread's take and the upload into a streaming
// texture (software renderer, so it runs headless). Target: median <= 0.3 ms.
#include "platform/frame_mailbox.h"
#include "platform/frame_upload.h"

#include <benchmark/benchmark.h>

#include <vector>

static void BM_FrameHandOff(benchmark::State& state) {
    platform::cFrameUploadTarget target(640, 480);
    if (!target.Ok()) {
        state.SkipWithError(target.Error().c_str());
        return;
    }
    platform::cFrameMailbox box;
    std::vector<uint32_t> frame(640 * 480);
    uint32_t n = 0;
    for (auto _ : state) {
        frame[n % frame.size()] = n;  // a frame that changes
        ++n;
        box.Put(frame.data(), 640 * 4);
        const uint32_t* px = box.Take();
        target.Upload(px);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameHandOff)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
