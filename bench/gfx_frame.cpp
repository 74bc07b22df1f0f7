// One game frame through the graphics layer: 2 full-screen backgrounds, 400
// colour-keyed 32 × 32 sprites and 100 sprites stretched × 2, then the frame
// handed to the window. Direct3D 32-bit (target: median 1.0 ms) and
// DirectDraw 8-bit with the palette applied at hand-over (target: 1.5 ms).
#include <benchmark/benchmark.h>

#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/dd_surface.h"

namespace {

DDSURFACEDATA g_Back[2], g_Sprites;

bool Build(int d3d, int bpp) {
    DDEnd();
    BuildBitmapTable();
    if (!DDInit(d3d, nullptr, 640, 480, bpp, 0, d3d ? 1 : 0, 1, 60, 0, SurfaceTable, BitmapTable, kSurfaceSlots, 0))
        return false;
    for (int i = 0; i < 256; ++i) g_Palette[i][0] = uint8_t(i), g_Palette[i][1] = uint8_t(255 - i),
                                  g_Palette[i][2] = uint8_t(i * 7);
    // Colour values: ARGB on Direct3D, palette numbers on DirectDraw (fills
    // there take the value as given).
    auto colour = [&](int n) { return d3d ? PalNumToRGB(uint32_t(n)) : uint32_t(n); };
    for (int b = 0; b < 2; ++b) {
        if (!DDCreateSurface(&g_Back[b], 640, 480, 0, 0, 0, 0, 0)) return false;
        for (int y = 0; y < 480; y += 16)
            for (int x = 0; x < 640; x += 16) DDFillRectRGB(&g_Back[b], x, y, 16, 16, colour(16 + (x + y + b) % 200));
    }
    // A sheet of 8 sprites of 32 × 32, each with a transparent border.
    if (!DDCreateSurface(&g_Sprites, 256, 32, 1, 0, 0, 0, 0)) return false;
    DDFillRect(&g_Sprites, 0, 0, 256, 32, 0);  // the transparent colour
    for (int k = 0; k < 8; ++k) DDFillRectRGB(&g_Sprites, k * 32 + 4, 4, 24, 24, colour(30 + k * 20));
    return true;
}

// The device and surfaces, the frame limiter passing at once; a failed
// set-up ends the benchmark with an error.
bool SetUp(benchmark::State& state, int d3d, int bpp) {
    g_DDFrameLimiter = [](int, int, DDSURFACEDATA*) { return true; };
    if (Build(d3d, bpp)) return true;
    state.SkipWithError("set-up failed");
    return false;
}

void DrawFrame() {
    DDBlt(&g_BackBuffer, 0, 0, 640, 480, &g_Back[0], 0, 0, 0);
    DDBlt(&g_BackBuffer, 0, 0, 640, 480, &g_Back[1], 0, 0, 1);
    for (int i = 0; i < 400; ++i)
        DDBlt(&g_BackBuffer, (i * 37) % 620 - 8, (i * 53) % 460 - 8, 32, 32, &g_Sprites, (i % 8) * 32, 0, 1);
    for (int i = 0; i < 100; ++i)
        DDBltStretch(&g_BackBuffer, (i * 71) % 600 - 16, (i * 29) % 440 - 16, 64, 64, &g_Sprites, (i % 8) * 32, 0,
                     32, 32, 1);
}

void TearDown() {
    for (DDSURFACEDATA* s : {&g_Back[0], &g_Back[1], &g_Sprites}) {
        g_LiveSurfaces.remove(s);
        DDReleaseSurfaceData(s);
        *s = DDSURFACEDATA{};
    }
    DDEnd();
}

void BM_FrameDirect3D32(benchmark::State& state) {
    if (!SetUp(state, 1, 32)) return;
    for (auto _ : state) {
        DrawFrame();
        DDPresent(60, 0, nullptr);
    }
    TearDown();
}
BENCHMARK(BM_FrameDirect3D32)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FrameDirectDraw8(benchmark::State& state) {
    if (!SetUp(state, 0, 8)) return;
    for (auto _ : state) {
        DrawFrame();
        DDFlipPrimary();  // includes the palette conversion at hand-over
    }
    TearDown();
}
BENCHMARK(BM_FrameDirectDraw8)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A full-screen fill of the back buffer in the Direct3D family (target:
// median 0.15 ms at 32 and 16 bits).
void BM_FillScreenDirect3D(benchmark::State& state) {
    if (!SetUp(state, 1, int(state.range(0)))) return;
    int n = 0;
    for (auto _ : state) DDFillSurface(&g_BackBuffer, uint32_t(16 + (n++ & 63)));
    TearDown();
}
BENCHMARK(BM_FillScreenDirect3D)->Arg(32)->Arg(16)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A light frame: the back buffer cleared, 200 colour-keyed 32 x 32 sprites,
// the frame handed to the window; Direct3D 32-bit (target: median 0.5 ms).
void BM_ClearSpritesDirect3D32(benchmark::State& state) {
    if (!SetUp(state, 1, 32)) return;
    for (auto _ : state) {
        DDFillSurface(&g_BackBuffer, 16);
        for (int i = 0; i < 200; ++i)
            DDBlt(&g_BackBuffer, (i * 37) % 620 - 8, (i * 53) % 460 - 8, 32, 32, &g_Sprites, (i % 8) * 32, 0, 1);
        DDPresent(60, 0, nullptr);
    }
    TearDown();
}
BENCHMARK(BM_ClearSpritesDirect3D32)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
