// Creating a 1024 x 1024 palette-variant surface from a file (the surface
// with a palette-index map: each pixel's palette number), from an 8-bit and
// a 24-bit picture whose colours are half outside the palette, on the
// Direct3D device at 16 and 32 bits; and the map alone. Target: the map of
// such a picture in at most 10 ms (Release).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "media/gfx/d3d_device.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_surface.h"
#include "media/gfx/ddraw_device.h"
#include "tests/media/gfx/bmp_writer.h"

namespace {

constexpr int kSize = 1024;

// Palette entry i: a colour that survives 16-bit layouts (multiples of 8).
uint32_t PaletteColour(int i) {
    return uint32_t((i * 8) & 0xF8) << 16 | uint32_t((255 - i) & 0xF8) << 8 | uint32_t((i * 40) & 0xF8);
}

// The two pictures, written once: half their pixels palette colours, half
// colours of no entry.
const std::string& PictureFile(int bits) {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/tovaro_palmap_XXXXXX";
        return std::string(mkdtemp(tmpl) ? tmpl : "/tmp");
    }();
    static std::string files[2];
    std::string& file = files[bits == 8 ? 0 : 1];
    if (!file.empty()) return file;
    file = dir + (bits == 8 ? "/p8.bmp" : "/p24.bmp");
    uint32_t seed = 99;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    if (bits == 8) {
        std::vector<uint32_t> table(256);
        for (int i = 0; i < 256; ++i) table[size_t(i)] = i < 128 ? PaletteColour(i * 2) : 0x010305u * uint32_t(i);
        std::vector<uint8_t> px(size_t(kSize) * kSize);
        for (uint8_t& p : px) p = uint8_t(next() >> 16);
        testbmp::Write(file, testbmp::Make8(kSize, kSize, table, px));
    } else {
        std::vector<uint32_t> px(size_t(kSize) * kSize);
        for (uint32_t& p : px) {
            const uint32_t r = next();
            p = r & 0x100 ? PaletteColour(int(r >> 24)) : (r >> 8) & 0xFFFFFF;
        }
        testbmp::Write(file, testbmp::MakeRgb(kSize, kSize, px));
    }
    return file;
}

bool SetUpDevice(int bpp) {
    DDEnd();
    BuildBitmapTable();
    gfx::DDMachineState().desktopBpp = bpp;
    if (!DDInit(1, nullptr, 640, 480, bpp, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, kSurfaceSlots, 0)) return false;
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = PaletteColour(i);
        g_Palette[i][0] = uint8_t(c >> 16);
        g_Palette[i][1] = uint8_t(c >> 8);
        g_Palette[i][2] = uint8_t(c);
        g_Palette[i][3] = 255;
    }
    return true;
}

// args: picture bits (8 or 24), device bits (16 or 32).
void BM_PaletteVariantFromFile(benchmark::State& state) {
    const int bits = int(state.range(0)), bpp = int(state.range(1));
    const std::string& file = PictureFile(bits);
    if (!SetUpDevice(bpp)) {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state) {
        DDSURFACEDATA sd;
        if (DDCreateSurfaceFromFile(&sd, file, 0, bpp, 1, 0, 0, 1, 0, 0, 0) != 0) {
            state.SkipWithError("the surface cannot be made");
            return;
        }
        benchmark::DoNotOptimize(sd.lpDT->lpPalIdx);
        g_LiveSurfaces.remove(&sd);
        DDReleaseSurfaceData(&sd);
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}
BENCHMARK(BM_PaletteVariantFromFile)
    ->Args({8, 16})
    ->Args({8, 32})
    ->Args({24, 16})
    ->Args({24, 32})
    ->Unit(benchmark::kMillisecond);

// The map alone, of a surface made once.
void BM_PaletteIndexMap(benchmark::State& state) {
    const int bits = int(state.range(0)), bpp = int(state.range(1));
    if (!SetUpDevice(bpp)) {
        state.SkipWithError("no device");
        return;
    }
    DDSURFACEDATA sd;
    if (DDCreateSurfaceFromFile(&sd, PictureFile(bits), 0, bpp, 1, 0, 0, 0, 0, 0, 0) != 0) {
        state.SkipWithError("the surface cannot be made");
        return;
    }
    std::vector<uint8_t>* map = nullptr;
    for (auto _ : state) {
        DDBuildPaletteIndexMap(&map, &sd);
        benchmark::DoNotOptimize(map);
    }
    delete map;
    g_LiveSurfaces.remove(&sd);
    DDReleaseSurfaceData(&sd);
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}
BENCHMARK(BM_PaletteIndexMap)->Args({8, 16})->Args({8, 32})->Args({24, 16})->Args({24, 32})->Unit(benchmark::kMillisecond);

}  // namespace
