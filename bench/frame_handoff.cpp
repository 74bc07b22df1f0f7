// The presentation hand-off of one 640 x 480 frame: the game side's copy into
// the mailbox, the main thread's take and the upload into a streaming
// texture (software renderer, so it runs headless). Target: median <= 0.3 ms.
#include "platform/frame_mailbox.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <vector>

static void BM_FrameHandOff(benchmark::State& state) {
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, 640, 480);
    if (!texture) {
        state.SkipWithError(SDL_GetError());
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
        SDL_UpdateTexture(texture, nullptr, px, 640 * 4);
        benchmark::ClobberMemory();
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(target);
}
BENCHMARK(BM_FrameHandOff)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
