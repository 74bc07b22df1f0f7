// The mosaic and the box blur in every branch.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "effects_fixture.h"
#include "media/gfx/effects/mosaic_blur.h"
#include "media/gfx/effects/pixel_pass.h"

using namespace gfxtest;
using gfx::ScaleDown;
using gfx::ScaleUp;

namespace {
uint32_t Distinct(int x, int y) { return 0xFF000000u | uint32_t(x * 16 + 3) << 16 | uint32_t(y * 16 + 5) << 8 | 7; }
}  // namespace

TEST_F(GfxTest, MosaicBlocksFromTheTopLeft) {
    ResetGraphics();
    BuildBitmapTable();
    ASSERT_TRUE(InitAll(1, 32, 1));
    Surf src(12, 12), dst(14, 14, DTMEMORYTYPE_SYSTEM, 0x11111111);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) SetRaw(&src.sd, x, y, Distinct(x, y) & 0x00FFFFFF);
    // 10 x 10 at (2, 3) from (1, 1), block 4: blocks of 4, 4 and 2 each way.
    EXPECT_TRUE(DDBltMosaic(&dst.sd, 2, 3, 10, 10, 4, &src.sd, 1, 1, 0, nullptr));
    for (int j = 0; j < 14; ++j)
        for (int i = 0; i < 14; ++i) {
            const int ri = i - 2, rj = j - 3;
            uint32_t want = 0x11111111;
            if (ri >= 0 && ri < 10 && rj >= 0 && rj < 10) want = Distinct(1 + ri / 4 * 4, 1 + rj / 4 * 4);
            ASSERT_EQ(Raw(&dst.sd, i, j), want) << i << "," << j;
        }
    // Block 1 is the identity (byte 3 set to 255); block 0 and a negative block draw nothing.
    Surf id(12, 12);
    EXPECT_TRUE(DDBltMosaic(&id.sd, 0, 0, 12, 12, 1, &src.sd, 0, 0, 0, nullptr));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(Raw(&id.sd, x, y), Distinct(x, y));
    FillRaw(&id.sd, 5);
    EXPECT_TRUE(DDBltMosaic(&id.sd, 0, 0, 12, 12, 0, &src.sd, 0, 0, 0, nullptr));
    EXPECT_TRUE(DDBltMosaic(&id.sd, 0, 0, 12, 12, -3, &src.sd, 0, 0, 0, nullptr));
    EXPECT_EQ(Raw(&id.sd, 4, 4), 5u);
    // Flag 1 skips a block whose top-left pixel has alpha 0, whatever the rest holds.
    FillRaw(&id.sd, 5);
    SetRaw(&src.sd, 4, 0, 0xFF000000u);
    EXPECT_TRUE(DDBltMosaic(&id.sd, 0, 0, 8, 4, 4, &src.sd, 0, 0, 1, nullptr));
    EXPECT_EQ(Raw(&id.sd, 0, 0), 5u);
    EXPECT_EQ(Raw(&id.sd, 5, 1), 0xFF000000u);
}

TEST_F(GfxTest, MosaicDirectDraw16AveragesAndKey) {
    ResetGraphics();
    BuildBitmapTable();
    ASSERT_TRUE(InitAll(0, 16, 0));
    const gfx::PixelLayout l = g_SurfLayout;
    auto pack = [&](uint32_t r, uint32_t g, uint32_t b) { return r << l.rs | g << l.gs | b << l.bs; };
    auto trip = [](uint32_t c, int max) { return ScaleDown(ScaleUp(c, max), max); };
    // Block 1: every channel value through the 0..255 round trip.
    Surf src(64, 1), dst(64, 1);
    for (int x = 0; x < 64; ++x) SetRaw(&src.sd, x, 0, pack(uint32_t(x) & uint32_t(l.rm), uint32_t(x) & uint32_t(l.gm), uint32_t(x) & uint32_t(l.bm)));
    EXPECT_TRUE(DDBltMosaic(&dst.sd, 0, 0, 64, 1, 1, &src.sd, 0, 0, 0, nullptr));
    for (uint32_t x = 0; x < 64; ++x)
        ASSERT_EQ(Raw(&dst.sd, int(x), 0), pack(trip(x & uint32_t(l.rm), l.rm), trip(x & uint32_t(l.gm), l.gm),
                                               trip(x & uint32_t(l.bm), l.bm)));
    // A 2 x 2 block of key pixels: skipped with flag 1, averaged with flag 0.
    const uint32_t key = g_DD.dwColorKey;
    Surf keys(2, 2, 0, key), out(2, 2, 0, 0x1234);
    EXPECT_TRUE(DDBltMosaic(&out.sd, 0, 0, 2, 2, 2, &keys.sd, 0, 0, 1, nullptr));
    EXPECT_EQ(Raw(&out.sd, 1, 1), 0x1234u);
    EXPECT_TRUE(DDBltMosaic(&out.sd, 0, 0, 2, 2, 2, &keys.sd, 0, 0, 0, nullptr));
    const gfx::fx::Rgb k = gfx::fx::Channels(key, l);
    EXPECT_EQ(Raw(&out.sd, 1, 1), pack(trip(k.r, l.rm), trip(k.g, l.gm), trip(k.b, l.bm)));
    // With flag 1 the key pixels of a mixed block are left out of the average.
    SetRaw(&keys.sd, 0, 0, pack(l.rm, 0, 0));
    SetRaw(&keys.sd, 1, 0, pack(0, 0, l.bm));
    EXPECT_TRUE(DDBltMosaic(&out.sd, 0, 0, 2, 2, 2, &keys.sd, 0, 0, 1, nullptr));
    EXPECT_EQ(Raw(&out.sd, 0, 1), pack(ScaleDown(127, l.rm), 0, ScaleDown(127, l.bm)));
}

TEST_F(GfxTest, MosaicDirectDraw8And32) {
    {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(0, 8, 0));
        Surf src(4, 4, 0, 9), dst(4, 4, 0, 1);
        SetRaw(&src.sd, 2, 0, g_DD.dwColorKey);
        EXPECT_TRUE(DDBltMosaic(&dst.sd, 0, 0, 4, 4, 2, &src.sd, 0, 0, 1, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 1, 1), 9u);
        EXPECT_EQ(Raw(&dst.sd, 3, 1), 1u);  // key at the block's corner
    }
    {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(0, 32, 0));
        Surf src(2, 1, 0, 0x00102030), dst(2, 1, 0, 0x7F000000);
        SetRaw(&src.sd, 1, 0, 0xAA305071);
        EXPECT_TRUE(DDBltMosaic(&dst.sd, 0, 0, 2, 1, 2, &src.sd, 0, 0, 0, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 1, 0), 0x7F203850u);  // bytes 0..2 averaged, byte 3 kept
    }
}

TEST_F(GfxTest, MosaicColourAdditionAndFullScreen) {
    DDBLTPARAM add{0xFF102030, 7}, modulate{0xFF102030, 4};
    {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(1, 32, 1));
        Surf src(2, 2, DTMEMORYTYPE_SYSTEM, 0x00F01010), dst(2, 2);
        EXPECT_TRUE(DDBltMosaic(&dst.sd, 0, 0, 2, 2, 2, &src.sd, 0, 0, 0, &add));
        EXPECT_EQ(Raw(&dst.sd, 1, 1), 0xFFFF3040u);
        EXPECT_TRUE(DDBltMosaic(&dst.sd, 0, 0, 2, 2, 2, &src.sd, 0, 0, 0, &modulate));
        EXPECT_EQ(Raw(&dst.sd, 1, 1), 0xFFF01010u);
    }
    for (int screen : {1, 0}) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(1, 16, screen));
        const gfx::PixelLayout l = g_SurfLayout;
        const uint32_t px = 30u << l.rs | 3u << l.gs | 1u << l.bs;  // alpha bit clear, bit 13 set
        Surf src(2, 2, DTMEMORYTYPE_SYSTEM, px), tex(2, 2);
        const uint32_t r = 31, g = 3 + ScaleDown(0x20, l.gm), b = 1 + ScaleDown(0x30, l.bm);
        EXPECT_TRUE(DDBltMosaic(&tex.sd, 0, 0, 2, 2, 2, &src.sd, 0, 0, 1, &add));
        EXPECT_EQ(Raw(&tex.sd, 1, 1), r << l.rs | g << l.gs | b << l.bs | 1u << l.as);
        EXPECT_TRUE(DDBltMosaic(&tex.sd, 0, 0, 2, 2, 2, &src.sd, 0, 0, 1, nullptr));
        EXPECT_EQ(Raw(&tex.sd, 1, 1), px);  // copied as it is
        EXPECT_TRUE(DDBltMosaic(&g_BackBuffer, 0, 0, 2, 2, 2, &src.sd, 0, 0, 1, &add));
        if (screen == 0) {
            const gfx::PixelLayout& bl = g_BackLayout;
            EXPECT_EQ(Raw(&g_BackBuffer, 1, 1), r << bl.rs | g * 2 << bl.gs | b << bl.bs);
        } else {
            EXPECT_EQ(Raw(&g_BackBuffer, 1, 1), r << l.rs | g << l.gs | b << l.bs | 1u << l.as);
        }
    }
}

TEST_F(GfxTest, MosaicSourcePartlyOutsideTheImage) {
    for (int d3d : {1, 0}) {
        for (int bpp : {8, 16, 32}) {
            if (d3d && bpp == 8) continue;
            ResetGraphics();
            BuildBitmapTable();
            ASSERT_TRUE(InitAll(d3d, bpp, d3d));
            const uint32_t v = bpp == 8 ? 9u : bpp == 16 ? 0xFFFFu : 0xFFFFFFFFu;
            Surf src(6, 6, DTMEMORYTYPE_SYSTEM, v), dst(16, 16, DTMEMORYTYPE_SYSTEM, 0);
            // Blocks of 4 from (-5, 3) over 16 x 16: only samples inside the image are read.
            EXPECT_TRUE(DDBltMosaic(&dst.sd, 0, 0, 16, 16, 4, &src.sd, -5, 3, 0, nullptr));
            EXPECT_EQ(Raw(&dst.sd, 0, 0), 0u) << bpp;  // corner at (-5, 3): skipped or nothing to average
            // DirectDraw 32 keeps the destination's byte 3.
            const uint32_t in = !d3d && bpp == 32 ? 0x00FFFFFFu : v;
            EXPECT_EQ(Raw(&dst.sd, 8, 0), in) << bpp;  // corner at (3, 3)
            EXPECT_EQ(Raw(&dst.sd, 8, 15), 0u) << bpp;
            // Corner (-1, 3): the average takes its inside column; the others skip it.
            EXPECT_EQ(Raw(&dst.sd, 4, 0), !d3d && bpp != 8 ? in : 0u) << bpp;
        }
    }
}

TEST_F(GfxTest, BlurBoxAndRadiusZero) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Surf src(3, 3), dst(5, 5, DTMEMORYTYPE_SYSTEM, 0x11111111);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) SetRaw(&src.sd, x, y, 0x00000000u | uint32_t(x * 40 + y * 8) << 16 | 12u * uint32_t(y));
    EXPECT_TRUE(DDBltBlur(&dst.sd, 1, 1, 3, 3, 1, 1, &src.sd, 0, 0, 0, nullptr));
    auto r = [&](int x, int y) { return uint32_t(x * 40 + y * 8); };
    auto b = [&](int y) { return 12u * uint32_t(y); };
    EXPECT_EQ(Raw(&dst.sd, 1, 1), 0xFF000000u | r(0, 0) << 16);  // the corner takes itself only
    EXPECT_EQ(Raw(&dst.sd, 3, 3), 0xFF000000u | (r(1, 1) + r(2, 1) + r(1, 2) + r(2, 2)) / 4 << 16 | (b(1) + b(2)) / 2);
    EXPECT_EQ(Raw(&dst.sd, 2, 1), 0xFF000000u | (r(0, 0) + r(1, 0)) / 2 << 16);
    EXPECT_EQ(Raw(&dst.sd, 0, 0), 0x11111111u);
    FillRaw(&dst.sd, 0x11111111);
    for (auto [rx, ry] : {std::pair{0, 1}, {1, 0}, {-1, 2}}) {
        EXPECT_TRUE(DDBltBlur(&dst.sd, 1, 1, 3, 3, rx, ry, &src.sd, 0, 0, 0, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 2, 2), 0x11111111u);
    }
}

TEST_F(GfxTest, BlurFlagLeavesTransparentOut) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Surf src(2, 2, DTMEMORYTYPE_SYSTEM, 0x00FF0000), dst(2, 2, DTMEMORYTYPE_SYSTEM, 0x22222222);
    SetRaw(&src.sd, 1, 1, 0x80000040);
    EXPECT_TRUE(DDBltBlur(&dst.sd, 0, 0, 2, 2, 1, 1, &src.sd, 0, 0, 1, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 0, 0), 0x22222222u);  // transparent centre untouched
    EXPECT_EQ(Raw(&dst.sd, 1, 1), 0xFF000040u);  // only the opaque sample
    EXPECT_TRUE(DDBltBlur(&dst.sd, 0, 0, 2, 2, 1, 1, &src.sd, 0, 0, 0, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 1, 1), 0xFFBF0010u);  // (3 x 255) / 4 red, 64 / 4 blue
}

namespace {
// The blur as a direct sum over the box, for comparison.
void DirectBlur(gfx::cImage& d, const gfx::cImage& s, int bytes, int x, int y, int w, int h, int rx, int ry, int sx,
                int sy, const std::function<bool(uint32_t)>& transparent,
                const std::function<uint32_t(uint32_t, uint32_t, uint32_t, uint32_t)>& pack,
                const std::function<gfx::fx::Rgb(uint32_t)>& channels, int flag) {
    auto get = [&](const gfx::cImage& im, int px, int py) { return bytes == 2 ? im.Get(px, py) & 0xFFFF : im.Get(px, py); };
    auto inSrc = [&](int px, int py) { return px >= 0 && py >= 0 && px < s.Width() && py < s.Height(); };
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (x + i < 0 || y + j < 0 || x + i >= d.Width() || y + j >= d.Height()) continue;
            if (flag == 1 && (!inSrc(sx + i, sy + j) || transparent(get(s, sx + i, sy + j)))) continue;
            uint32_t sr = 0, sg = 0, sb = 0, n = 0;
            for (int dy = -ry; dy < ry; ++dy)
                for (int dx = -rx; dx < rx; ++dx) {
                    if (i + dx < 0 || i + dx >= w || j + dy < 0 || j + dy >= h) continue;
                    if (!inSrc(sx + i + dx, sy + j + dy)) continue;
                    const uint32_t p = get(s, sx + i + dx, sy + j + dy);
                    if (flag == 1 && transparent(p)) continue;
                    const gfx::fx::Rgb c = channels(p);
                    sr += c.r, sg += c.g, sb += c.b, ++n;
                }
            if (n) d.Set(x + i, y + j, pack(sr / n, sg / n, sb / n, get(d, x + i, y + j)));
        }
}
}  // namespace

TEST_F(GfxTest, BlurSumsEqualDirectSums) {
    struct Mode {
        int d3d, bpp;
    };
    for (const Mode m : {Mode{1, 16}, Mode{1, 32}, Mode{0, 16}, Mode{0, 32}}) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(m.d3d, m.bpp, m.d3d));
        const gfx::PixelLayout l = g_SurfLayout;
        const uint32_t key = g_DD.dwColorKey;
        const int bytes = m.bpp / 8;
        std::function<bool(uint32_t)> transparent = [&](uint32_t p) {
            if (!m.d3d) return p == key;
            return m.bpp == 16 ? (p & 0xA000u) == 0 : (p >> 24) == 0;
        };
        std::function<gfx::fx::Rgb(uint32_t)> channels = [&](uint32_t p) {
            return m.bpp == 32 ? gfx::fx::Rgb{p >> 16 & 255, p >> 8 & 255, p & 255} : gfx::fx::Channels(p, l);
        };
        std::function<uint32_t(uint32_t, uint32_t, uint32_t, uint32_t)> pack = [&](uint32_t r, uint32_t g, uint32_t b,
                                                                                  uint32_t old) {
            if (m.bpp == 32) return (m.d3d ? 0xFF000000u : old & 0xFF000000u) | r << 16 | g << 8 | b;
            return r << l.rs | g << l.gs | b << l.bs | (m.d3d ? 1u << l.as : 0u);
        };
        std::mt19937 rng(uint32_t(m.bpp * 10 + m.d3d));
        Surf src(20, 14), dst(24, 16), want(24, 16);
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 20; ++x) {
                uint32_t p = rng();
                if (bytes == 2) p &= 0xFFFF;
                if (m.bpp == 32 && m.d3d) p = (rng() & 3) ? p | 0xFF000000u : p & 0x00FFFFFFu;
                if (!m.d3d && (rng() & 3) == 0) p = key;
                SetRaw(&src.sd, x, y, p);
            }
        // Rectangles partly outside the source image and the destination:
        // a little, and far enough that the first rows written lie more than
        // the radius below the rectangle's top and the first columns' boxes
        // hold no sample at small radii.
        struct Place {
            int x, y, w, h, sx, sy;
        };
        for (const Place& pl : {Place{9, -1, 18, 12, 3, -2}, Place{2, -9, 18, 22, -12, -4}})
            for (int radius = 1; radius <= 24; ++radius)
                for (int flag : {0, 1}) {
                    const uint32_t fill = bytes == 2 ? 0x1234u : 0x56123456u;
                    FillRaw(&dst.sd, fill);
                    FillRaw(&want.sd, fill);
                    const int rx = radius, ry = (radius * 7) % 24 + 1;
                    EXPECT_TRUE(DDBltBlur(&dst.sd, pl.x, pl.y, pl.w, pl.h, rx, ry, &src.sd, pl.sx, pl.sy, flag, nullptr));
                    DirectBlur(Img(&want.sd), Img(&src.sd), bytes, pl.x, pl.y, pl.w, pl.h, rx, ry, pl.sx, pl.sy,
                               transparent, pack, channels, flag);
                    for (int y = 0; y < 16; ++y)
                        for (int x = 0; x < 24; ++x)
                            ASSERT_EQ(Raw(&dst.sd, x, y), Raw(&want.sd, x, y))
                                << m.d3d << "/" << m.bpp << " at " << pl.x << "," << pl.y << " r" << rx << "x" << ry
                                << " flag " << flag << " at " << x << "," << y;
                }
        // Boxes of more than 4104 samples take the plain division, fewer the
        // reciprocal: a large box over a larger picture crosses that count.
        Surf big(80, 64), bigDst(80, 64), bigWant(80, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 80; ++x) {
                uint32_t p = rng() | (bytes == 2 ? 0x8000u : 0xFF000000u);
                if (bytes == 2) p &= 0xFFFF;
                if ((rng() & 7) == 0) p = m.d3d ? (bytes == 2 ? p & 0x5FFFu : p & 0x00FFFFFFu) : key;
                SetRaw(&big.sd, x, y, p);
            }
        FillRaw(&bigDst.sd, 0);
        FillRaw(&bigWant.sd, 0);
        EXPECT_TRUE(DDBltBlur(&bigDst.sd, 0, 0, 78, 62, 37, 36, &big.sd, 1, 1, 1, nullptr));
        DirectBlur(Img(&bigWant.sd), Img(&big.sd), bytes, 0, 0, 78, 62, 37, 36, 1, 1, transparent, pack, channels, 1);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 80; ++x)
                ASSERT_EQ(Raw(&bigDst.sd, x, y), Raw(&bigWant.sd, x, y)) << m.d3d << "/" << m.bpp << " at " << x << "," << y;
    }
}
