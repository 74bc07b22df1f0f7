// Effect blits over a full 640 x 480 screen (the lens: radius 452, the whole
// screen). Direct3D 32-bit on the quad
// road (the back buffer from a video texture) and on the software road (a
// system texture from a system texture), and DirectDraw 32-bit: target a
// median of at most 1 ms each on one core. The 16- and 8-bit figures are for
// information.
#include <benchmark/benchmark.h>

#include <vector>

#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_surface.h"
#include "media/gfx/effects/colour_blits.h"
#include "media/gfx/effects/mosaic_blur.h"
#include "media/gfx/effects/rotate_lens.h"
#include "media/gfx/effects/slice_blits.h"

namespace {

enum Mode { D3D32, D3D16, DD32, DD16, DD8 };
enum Road { QUAD, SOFTWARE };
enum Effect { WAVE, SPLIT, FLIP, BURST, CIRCLE, COLOUR_CHANGE, HALF, ALPHA, TINT, MOSAIC, BLUR2, BLUR16, ROTATE, LENS };

DDSURFACEDATA g_Src, g_Dst;
std::vector<uint8_t> g_Table(65536);

bool SetUp(Mode mode, Road road) {
    DDEnd();
    BuildBitmapTable();
    const int d3d = mode == D3D32 || mode == D3D16;
    const int bpp = mode == D3D32 || mode == DD32 ? 32 : mode == DD8 ? 8 : 16;
    if (!DDInit(d3d, nullptr, 640, 480, bpp, 0, d3d ? 1 : 0, 1, 60, 0, SurfaceTable, BitmapTable, kSurfaceSlots, 0))
        return false;
    for (int i = 0; i < 256; ++i)
        g_Palette[i][0] = uint8_t(i), g_Palette[i][1] = uint8_t(255 - i), g_Palette[i][2] = uint8_t(i * 7);
    for (size_t i = 0; i < g_Table.size(); ++i) g_Table[i] = uint8_t(i * 13 + 5);
    const int memType = road == QUAD ? DTMEMORYTYPE_VIDEO_RT : DTMEMORYTYPE_SYSTEM;
    if (!DDCreateSurface(&g_Src, 640, 480, 1, 0, memType, 0, 0)) return false;
    auto colour = [&](int n) { return d3d ? PalNumToRGB(uint32_t(n)) : uint32_t(n); };
    for (int y = 0; y < 480; y += 16)
        for (int x = 0; x < 640; x += 16) DDFillRectRGB(&g_Src, x, y, 16, 16, colour(1 + (x + 3 * y) % 250));
    if (road == SOFTWARE && d3d) {
        if (!DDCreateSurface(&g_Dst, 640, 480, 0, 0, DTMEMORYTYPE_SYSTEM, 0, 0)) return false;
    }
    return true;
}

void TearDown() {
    for (DDSURFACEDATA* s : {&g_Src, &g_Dst}) {
        g_LiveSurfaces.remove(s);
        DDReleaseSurfaceData(s);
        *s = DDSURFACEDATA{};
    }
    DDEnd();
}

void Draw(Effect e, Road road, DDSURFACEDATA* dst) {
    DDSURFACEDATA* src = &g_Src;
    switch (e) {
    case WAVE: DDBltWave(dst, 0, 0, 640, 480, 2, 8.0, 10, 2, src, 0, 0, 1, 0); break;
    case SPLIT: DDBltSplit(dst, 0, 0, 640, 480, 4, 6, src, 0, 0, 1, 0); break;
    case FLIP: DDBltFlip(dst, 0, 0, 640, 480, src, 0, 0, src, 0, 0, 640, 480, 1, 100, 0); break;
    case BURST: DDBltBurst(dst, 0, 0, 640, 480, src, 0, 0, 8, 1); break;
    case CIRCLE: DDBltCircle(dst, 320, 240, 320, 240, 240, 1, src, 320, 240, 1); break;
    case COLOUR_CHANGE:
        DDBltColorChange(dst, 0, 0, 640, 480, src, 0, 0, 1, g_Palette, g_Table.data(), 40, 2, nullptr);
        break;
    case HALF: DDBltHalf(dst, 0, 0, 640, 480, src, 0, 0, 1, g_Table.data()); break;
    case ALPHA: DDBltAlpha(dst, 0, 0, 640, 480, src, 0, 0, 1, g_Table.data(), 100); break;
    case TINT:
        // The software road of the tint is the virtual back buffer, which
        // reads the picture as its texture.
        DDSetVirtualBackBuffer(road == SOFTWARE ? 1 : 0);
        DDChangeColor(&g_BackBuffer, 0, 0, 640, 480, 160, 40, 80, 200);
        break;
    case MOSAIC: DDBltMosaic(dst, 0, 0, 640, 480, 8, src, 0, 0, 1, nullptr); break;
    case BLUR2: DDBltBlur(dst, 0, 0, 640, 480, 2, 2, src, 0, 0, 1, nullptr); break;
    case BLUR16: DDBltBlur(dst, 0, 0, 640, 480, 16, 16, src, 0, 0, 1, nullptr); break;
    case ROTATE: DDBltRotate(dst, 320, 240, 640, 480, 320, 240, 30, src, 0, 0, 1); break;
    case LENS: DDBltLens(dst, 320, 240, 452, 100, src, 320, 240, 1, 1, nullptr); break;
    }
}

void BM_Effect(benchmark::State& state) {
    const Mode mode = Mode(state.range(0));
    const Road road = Road(state.range(1));
    const Effect e = Effect(state.range(2));
    if (!SetUp(mode, road)) {
        state.SkipWithError("set-up failed");
        return;
    }
    DDSURFACEDATA* dst = g_Dst.lpDT ? &g_Dst : &g_BackBuffer;
    for (auto _ : state) {
        Draw(e, road, dst);
        benchmark::ClobberMemory();
    }
    DDSetVirtualBackBuffer(0);
    TearDown();
}

void Args(benchmark::internal::Benchmark* b) {
    for (int e = WAVE; e <= LENS; ++e) {
        for (int mode : {D3D32, DD32, D3D16, DD16, DD8}) {
            const bool d3d = mode == D3D32 || mode == D3D16;
            if (e == TINT && !d3d) continue;  // Direct3D only
            for (int road : {QUAD, SOFTWARE}) {
                if (!d3d && road == SOFTWARE) continue;  // one road in DirectDraw
                b->Args({mode, road, e});
            }
        }
    }
    b->ArgNames({"mode", "road", "effect"});
}
BENCHMARK(BM_Effect)->Apply(Args)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
