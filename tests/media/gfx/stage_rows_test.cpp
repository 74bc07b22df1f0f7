// The row fast path of stage set-ups against the general path, and the
// texture-less stage.
#include <gtest/gtest.h>

#include <random>

#include "media/gfx/quad.h"
#include "media/gfx/stage_rows.h"

using namespace gfx;

TEST(StageRows, PackedBlendEqualsChannelBlend) {
    std::mt19937 rng(3);
    for (int a = 0; a < 256; ++a) {
        for (int n = 0; n < 300; ++n) {
            const uint32_t s = uint32_t(a) << 24 | (rng() & 0xFFFFFF), d = rng();
            EXPECT_EQ(BlendPacked(s, d), PackArgb(BlendSrcAlpha(UnpackArgb(s), UnpackArgb(d)))) << a;
            if (HasFailure()) return;
        }
    }
}

TEST(StageRows, FastPathEqualsGeneralPath) {
    std::mt19937 rng(11);
    auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int ops[] = {TOP_DISABLE, TOP_SELECTARG1, TOP_SELECTARG2, TOP_MODULATE, TOP_ADD, TOP_SUBTRACT,
                       TOP_BLENDFACTORALPHA};
    const int args[] = {TA_DIFFUSE, TA_TEXTURE, TA_TFACTOR};
    for (int n = 0; n < 600; ++n) {
        const PixelFormat df = n % 2 ? PixelFormat::XRGB8888 : PixelFormat::ARGB8888;
        cImage tex(PixelFormat::ARGB8888, rnd(1, 9), rnd(1, 9));
        // Alphas all opaque, all 0 or 255, or anything.
        const int alphaKind = rnd(0, 2);
        for (int y = 0; y < tex.Height(); ++y)
            for (int x = 0; x < tex.Width(); ++x) {
                uint32_t v = uint32_t(rng());
                if (alphaKind == 0) v |= 0xFF000000u;
                if (alphaKind == 1) v = (v & 0xFFFFFF) | (rng() & 1 ? 0xFF000000u : 0);
                tex.Set(x, y, v);
            }
        cImage a(df, 24, 20);
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x) a.Set(x, y, uint32_t(rng()));
        cImage b = a;
        QuadParams q;
        q.texture = rnd(0, 4) == 0 ? nullptr : &tex;
        q.diffuse = rnd(0, 3) == 0 ? 0xFFFFFFFFu : uint32_t(rng());
        q.stage.colorOp = ops[rnd(0, 6)];
        q.stage.alphaOp = ops[rnd(0, 6)];
        q.stage.colorArg1 = args[rnd(0, 2)];
        q.stage.colorArg2 = args[rnd(0, 2)];
        q.stage.alphaArg1 = args[rnd(0, 2)];
        q.stage.alphaArg2 = args[rnd(0, 2)];
        q.stage.tfactor = uint32_t(rng());
        q.blend = rnd(0, 3) != 0;
        const int x = rnd(-6, 20), y = rnd(-6, 18), w = rnd(1, 30), h = rnd(1, 24);
        const double sx = rnd(-8, 8), sy = rnd(-8, 8), sw = rnd(-2, 2) == 0 ? w : rnd(-30, 30),
                     sh = rnd(-2, 2) == 0 ? h : rnd(-30, 30);
        BlitQuadVertices(q.v, x, y, w, h, sx, sy, sw, sh);
        DrawQuad(a, q, QuadPath::Auto);
        DrawQuad(b, q, QuadPath::General);
        ASSERT_TRUE(a == b) << "case " << n;
    }
}

TEST(StageRows, TintInPlaceEqualsGeneralPath) {
    // The screen tint of the virtual back buffer reads the target as its texture.
    std::mt19937 rng(5);
    cImage a(PixelFormat::ARGB8888, 33, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 33; ++x) a.Set(x, y, uint32_t(rng()) | 0xFF000000u);
    // In place, then shifted by one pixel either way (a texel may be a
    // pixel the row has just written), then stretched.
    const int shapes[][4] = {{0, 0, 33, 7}, {1, 0, 32, 7}, {0, 1, 32, 6}, {2, 0, 16, 7}};
    for (const auto& sh : shapes) {
        cImage b = a;
        for (cImage* img : {&a, &b}) {
            QuadParams q;
            q.texture = img;
            q.diffuse = 0x60FF8000;
            BlitQuadVertices(q.v, sh[0], 0, 33 - sh[0], 7, sh[1], 0, sh[2], 7);
            DrawQuad(*img, q, img == &a ? QuadPath::Auto : QuadPath::General);
        }
        EXPECT_TRUE(a == b) << sh[0] << "," << sh[1];
    }
}

TEST(StageRows, NoTextureReadsOpaqueWhite) {
    for (QuadPath p : {QuadPath::Auto, QuadPath::General}) {
        cImage d(PixelFormat::XRGB8888, 4, 4);
        QuadParams q;
        q.diffuse = 0xFF336699;  // modulating white gives the vertex colour
        BlitQuadVertices(q.v, 0, 0, 4, 4, 0, 0, 1, 1);
        DrawQuad(d, q, p);
        EXPECT_EQ(d.Get(2, 2), 0x336699u);
        q.stage.colorOp = TOP_SELECTARG1;
        q.stage.alphaOp = TOP_SELECTARG1;
        DrawQuad(d, q, p);
        EXPECT_EQ(d.Get(2, 2), 0xFFFFFFu);
    }
}

TEST(StageRows, AxisAlignedStepsEqualGeneralPathAtAnyPosition) {
    // Sub-pixel edges, texel coordinates of any step (forward, backward,
    // larger than one texel per pixel) and wrapping.
    std::mt19937 rng(23);
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    for (int n = 0; n < 2000; ++n) {
        cImage tex(PixelFormat::ARGB8888, 1 + int(rng() % 13), 1 + int(rng() % 11));
        for (int y = 0; y < tex.Height(); ++y)
            for (int x = 0; x < tex.Width(); ++x) tex.Set(x, y, uint32_t(rng()) | 0xFF000000u);
        cImage a(PixelFormat::XRGB8888, 40, 30);
        cImage b = a;
        QuadParams q;
        q.texture = &tex;
        const float l = float(real(-10, 40)), r = l + float(real(0.01, 45)), t = float(real(-8, 30)),
                    btm = t + float(real(0.01, 35));
        const float s0 = float(real(-30, 30)), s1 = float(real(-30, 30)), t0 = float(real(-30, 30)),
                    t1 = float(real(-30, 30));
        q.v[0] = {l, t, s0, t0};
        q.v[1] = {l, btm, s0, t1};
        q.v[2] = {r, t, s1, t0};
        q.v[3] = {r, btm, s1, t1};
        DrawQuad(a, q, QuadPath::Auto);
        DrawQuad(b, q, QuadPath::General);
        ASSERT_TRUE(a == b) << "case " << n;
    }
}
