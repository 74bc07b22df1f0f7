// Speed of the pixel core on a 640 x 480 frame.
#include <benchmark/benchmark.h>

#include "media/gfx/pixel_ops.h"
#include "media/gfx/quad.h"

using namespace gfx;

namespace {

cImage Pattern(PixelFormat f, int w, int h) {
    cImage img(f, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.Set(x, y, uint32_t(0xFF000000u | (x * 2654435761u ^ y * 40503u)));
    return img;
}

void BM_QuadBlitFullFrame(benchmark::State& st) {
    const PixelFormat f = st.range(0) == 32 ? PixelFormat::ARGB8888 : PixelFormat::ARGB1555;
    const PixelFormat t = st.range(0) == 32 ? PixelFormat::XRGB8888 : PixelFormat::ARGB1555;
    const cImage tex = Pattern(f, 640, 480);
    cImage target(t, 640, 480);
    QuadParams q;
    q.texture = &tex;
    BlitQuadVertices(q.v, 0, 0, 640, 480, 0, 0, 640, 480);
    for (auto _ : st) {
        DrawQuad(target, q);
        benchmark::DoNotOptimize(target.Bits());
    }
    st.SetItemsProcessed(st.iterations() * 640 * 480);
}
BENCHMARK(BM_QuadBlitFullFrame)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_QuadSprites(benchmark::State& st) {
    const cImage tex = Pattern(PixelFormat::ARGB8888, 256, 256);
    cImage target(PixelFormat::XRGB8888, 640, 480);
    QuadParams q;
    q.texture = &tex;
    for (auto _ : st) {
        for (int i = 0; i < 300; ++i) {
            BlitQuadVertices(q.v, (i * 37) % 620, (i * 53) % 460, 32, 32, (i % 8) * 32, 0, 32, 32);
            DrawQuad(target, q);
        }
        benchmark::DoNotOptimize(target.Bits());
    }
    st.SetItemsProcessed(st.iterations() * 300 * 32 * 32);
}
BENCHMARK(BM_QuadSprites)->Unit(benchmark::kMillisecond);

void BM_CopyRectKeyed(benchmark::State& st) {
    const cImage src = Pattern(PixelFormat::RGB565, 640, 480);
    cImage dst(PixelFormat::RGB565, 640, 480);
    for (auto _ : st) {
        CopyRect(dst, 0, 0, src, 0, 0, 640, 480, {Skip::Key, 0x1234});
        benchmark::DoNotOptimize(dst.Bits());
    }
    st.SetItemsProcessed(st.iterations() * 640 * 480);
}
BENCHMARK(BM_CopyRectKeyed)->Unit(benchmark::kMillisecond);

void BM_FrameToXrgb(benchmark::State& st) {
    const cImage src = Pattern(PixelFormat::Index8, 640, 480);
    uint8_t pal[256][4] = {};
    std::vector<uint32_t> out;
    for (auto _ : st) {
        ConvertToXrgb8888(src, pal, out);
        benchmark::DoNotOptimize(out.data());
    }
    st.SetItemsProcessed(st.iterations() * 640 * 480);
}
BENCHMARK(BM_FrameToXrgb)->Unit(benchmark::kMillisecond);

}  // namespace
