// The rotation on both roads and the lens in every branch.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "effects_fixture.h"
#include "media/gfx/effects/rotate_lens.h"

using namespace gfxtest;
using gfx::Fault;

namespace {
uint32_t Px(int x, int y) { return 0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8 | 0x5A; }
void Pattern(DDSURFACEDATA* sd) {
    gfx::cImage& i = Img(sd);
    for (int y = 0; y < i.Height(); ++y)
        for (int x = 0; x < i.Width(); ++x) i.Set(x, y, Px(x, y));
}
}  // namespace

TEST_F(GfxTest, RotateSoftwareZeroAndNinety) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Surf src(8, 8), dst(16, 16, DTMEMORYTYPE_SYSTEM, 0x11111111);
    Pattern(&src.sd);
    // 0 degrees, centred pivot: the rectangle in place, the margin untouched.
    EXPECT_TRUE(DDBltRotate(&dst.sd, 6, 6, 4, 2, 2, 1, 0, &src.sd, 3, 2, 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool in = x >= 4 && x < 8 && y >= 5 && y < 7;
            ASSERT_EQ(Raw(&dst.sd, x, y), in ? Px(3 + x - 4, 2 + y - 5) : 0x11111111u) << x << "," << y;
        }
    // 90 degrees: two wide and four high; destination (cx - 2 + U, cy - 1 + V)
    // takes source (2 + V - 1, 3 - U).
    FillRaw(&dst.sd, 0x11111111);
    EXPECT_TRUE(DDBltRotate(&dst.sd, 6, 6, 4, 2, 2, 1, 90, &src.sd, 3, 2, 0));
    int written = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (Raw(&dst.sd, x, y) == 0x11111111u) continue;
            ++written;
            const int U = x - 4, V = y - 5;
            ASSERT_TRUE(U >= 2 && U <= 3 && V >= -1 && V <= 2) << x << "," << y;
            EXPECT_EQ(Raw(&dst.sd, x, y), Px(3 + 1 + V, 2 + 3 - U));
        }
    EXPECT_EQ(written, 8);
}

TEST_F(GfxTest, RotateKeyTestInBothFamilies) {
    for (int d3d : {1, 0}) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(d3d, 32, d3d));
        Surf src(2, 1), dst(2, 1, DTMEMORYTYPE_SYSTEM, 0x33333333);
        SetRaw(&src.sd, 0, 0, g_DD.dwColorKey);
        SetRaw(&src.sd, 1, 0, 0x00ABCDEF);  // alpha 0: not the test here
        EXPECT_TRUE(DDBltRotate(&dst.sd, 1, 0, 2, 1, 1, 0, 0, &src.sd, 0, 0, 1));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), 0x33333333u) << d3d;
        EXPECT_EQ(Raw(&dst.sd, 1, 0), 0x00ABCDEFu) << d3d;
        EXPECT_TRUE(DDBltRotate(&dst.sd, 1, 0, 2, 1, 1, 0, 0, &src.sd, 0, 0, 0));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), g_DD.dwColorKey) << d3d;
    }
}

TEST_F(GfxTest, RotatePivotOffCentreOnBothRoads) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Surf video(4, 4, DTMEMORYTYPE_VIDEO_RT, 0xFF00FF00), sys(4, 4, DTMEMORYTYPE_SYSTEM, 0xFF00FF00);
    Surf rt(16, 16, DTMEMORYTYPE_VIDEO_RT), soft(16, 16);
    // Centred pivot: both put the rectangle on [6, 10).
    EXPECT_TRUE(DDBltRotate(&rt.sd, 8, 8, 4, 4, 2, 2, 0, &video.sd, 0, 0, 0));
    EXPECT_TRUE(DDBltRotate(&soft.sd, 8, 8, 4, 4, 2, 2, 0, &sys.sd, 0, 0, 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool in = x >= 6 && x < 10 && y >= 6 && y < 10;
            ASSERT_EQ(Raw(&rt.sd, x, y) != 0, in) << x << "," << y;
            ASSERT_EQ(Raw(&soft.sd, x, y) != 0, in) << x << "," << y;
        }
    // Pivot (0, 0): the quad still covers [6, 10), the software road [8, 12).
    FillRaw(&rt.sd, 0);
    FillRaw(&soft.sd, 0);
    EXPECT_TRUE(DDBltRotate(&rt.sd, 8, 8, 4, 4, 0, 0, 0, &video.sd, 0, 0, 0));
    EXPECT_TRUE(DDBltRotate(&soft.sd, 8, 8, 4, 4, 0, 0, 0, &sys.sd, 0, 0, 0));
    EXPECT_NE(Raw(&rt.sd, 6, 6), 0u);
    EXPECT_EQ(Raw(&rt.sd, 11, 11), 0u);
    EXPECT_EQ(Raw(&soft.sd, 6, 6), 0u);
    EXPECT_EQ(Raw(&soft.sd, 11, 11), 0xFF00FF00u);
    // A turned quad covers a turned square: 45 degrees reaches the square's tips.
    FillRaw(&rt.sd, 0);
    EXPECT_TRUE(DDBltRotate(&rt.sd, 8, 8, 4, 4, 2, 2, 45, &video.sd, 0, 0, 0));
    EXPECT_NE(Raw(&rt.sd, 8, 6), 0u);
    EXPECT_NE(Raw(&rt.sd, 9, 8), 0u);
    EXPECT_EQ(Raw(&rt.sd, 6, 6), 0u);
    EXPECT_EQ(Raw(&rt.sd, 9, 9), 0u);
}

TEST_F(GfxTest, LensMapsTheDisc) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Surf src(100, 100), dst(100, 100, DTMEMORYTYPE_SYSTEM, 0x22000000);
    Pattern(&src.sd);
    EXPECT_TRUE(DDBltLens(&dst.sd, 50, 50, 30, 40, &src.sd, 50, 50, 0, 0, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 50, 50), Px(50, 50));
    EXPECT_EQ(Raw(&dst.sd, 60, 50), Px(58, 50));  // trunc(8.16 + 0.5)
    EXPECT_EQ(Raw(&dst.sd, 40, 50), Px(43, 50));  // trunc(-8.16 + 0.5) = -7
    EXPECT_EQ(Raw(&dst.sd, 50, 80), Px(50, 80));  // the rim: z = K - ... = 40, offset 30
    EXPECT_EQ(Raw(&dst.sd, 75, 75), 0x22000000u);  // outside the disc, clear 0
    // Depth 0 (an animated lens passing through 0) draws nothing: not the
    // flat disc of the centre pixel.
    const uint32_t before52 = Raw(&dst.sd, 52, 53), before46 = Raw(&dst.sd, 46, 50);
    EXPECT_FALSE(DDBltLens(&dst.sd, 50, 50, 5, 0, &src.sd, 20, 30, 0, 0, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 52, 53), before52);
    EXPECT_EQ(Raw(&dst.sd, 46, 50), before46);
    EXPECT_NE(Raw(&dst.sd, 52, 53), Px(20, 30));
    // Clear empties the square's corners; off, they keep their pixels.
    EXPECT_TRUE(DDBltLens(&dst.sd, 50, 50, 30, 40, &src.sd, 50, 50, 0, 1, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 75, 75), 0u);
    EXPECT_EQ(Raw(&dst.sd, 81, 50), 0x22000000u);  // outside the square
    // An alpha-0 source pixel is never written, whatever the flag.
    FillRaw(&dst.sd, 0x22000000);
    SetRaw(&src.sd, 50, 50, 0x00FFFFFF);
    EXPECT_TRUE(DDBltLens(&dst.sd, 50, 50, 30, 40, &src.sd, 50, 50, 0, 0, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 50, 50), 0x22000000u);
    // The colour addition keeps the destination's byte 3.
    DDBLTPARAM add{0xFF010203, 7};
    SetRaw(&src.sd, 50, 50, 0xFF10FE30);
    EXPECT_TRUE(DDBltLens(&dst.sd, 50, 50, 30, 40, &src.sd, 50, 50, 0, 0, &add));
    EXPECT_EQ(Raw(&dst.sd, 50, 50), 0x2211FF33u);
}

TEST_F(GfxTest, LensRefusesWithoutLocking) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Surf src(40, 40, DTMEMORYTYPE_SYSTEM, 0xFF445566), dst(40, 40);
    gfx::Faults().Arm(Fault::D3DLock, 1);
    struct Case {
        int radius, depth;
    };
    for (const Case c : {Case{0, 5}, Case{10, -1}, Case{-3, 2}, Case{14, 100}, Case{0, 0}, Case{5, 0}})
        EXPECT_FALSE(DDBltLens(&dst.sd, 20, 20, c.radius, c.depth, &src.sd, 20, 20, 0, 0, nullptr))
            << c.radius << "/" << c.depth;
    // The fault is still armed: the first lens that locks meets it.
    EXPECT_FALSE(DDBltLens(&dst.sd, 20, 20, 15, 100, &src.sd, 20, 20, 0, 0, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 20, 20), 0u);
    EXPECT_TRUE(DDBltLens(&dst.sd, 20, 20, 15, 100, &src.sd, 20, 20, 0, 0, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 20, 20), 0xFF445566u);
}

TEST_F(GfxTest, LensDirectDrawLeavesKeyOut) {
    for (int bpp : {8, 16, 32}) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(0, bpp, 0));
        Surf src(20, 20, 0, g_DD.dwColorKey), dst(20, 20, 0, 3);
        SetRaw(&src.sd, 10, 10, 7);
        EXPECT_TRUE(DDBltLens(&dst.sd, 10, 10, 6, 8, &src.sd, 10, 10, 0, 1, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 10, 10), 7u) << bpp;
        EXPECT_EQ(Raw(&dst.sd, 12, 10), 3u) << bpp;  // key: left out with flag 0
    }
}

TEST_F(GfxTest, LensDirect3D16TestsOnlyWithFlag) {
    ASSERT_TRUE(InitAll(1, 16, 1));
    Surf src(10, 10, DTMEMORYTYPE_SYSTEM, 0x1234), dst(10, 10, DTMEMORYTYPE_SYSTEM, 0x8001);
    EXPECT_TRUE(DDBltLens(&dst.sd, 5, 5, 4, 3, &src.sd, 5, 5, 1, 0, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 5, 5), 0x8001u);
    EXPECT_TRUE(DDBltLens(&dst.sd, 5, 5, 4, 3, &src.sd, 5, 5, 0, 0, nullptr));
    EXPECT_EQ(Raw(&dst.sd, 5, 5), 0x1234u);
}

TEST_F(GfxTest, LensMirroredQuarterEqualsDirectWalk) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Surf src(300, 300), dst(1000, 1000), want(1000, 1000);
    {
        gfx::cImage& s = Img(&src.sd);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x) s.Set(x, y, 0xFF000000u | (uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u) >> 8);
    }
    struct Case {
        int radius, depth, cx, cy;
    };
    for (const Case c : {Case{7, 3, 500, 500}, Case{8, 20, 3, 995}, Case{31, 5, 500, 500}, Case{452, 100, 500, 500},
                         Case{452, 300, 100, 900}, Case{60, 1, 500, 10}}) {  // depth 0 draws nothing
        FillRaw(&dst.sd, 0x7F7F7F7F);
        FillRaw(&want.sd, 0x7F7F7F7F);
        ASSERT_TRUE(DDBltLens(&dst.sd, c.cx, c.cy, c.radius, c.depth, &src.sd, 150, 150, 0, 1, nullptr));
        // Every point of the square, straight from the rule.
        const gfx::cImage& s = Img(&src.sd);
        gfx::cImage& w = Img(&want.sd);
        const double K = std::trunc(std::sqrt(double(c.depth) * c.depth + double(c.radius) * c.radius));
        for (int dy = -c.radius; dy <= c.radius; ++dy)
            for (int dx = -c.radius; dx <= c.radius; ++dx) {
                const int tx = c.cx + dx, ty = c.cy + dy;
                if (tx < 0 || ty < 0 || tx >= 1000 || ty >= 1000) continue;
                uint32_t v = 0;
                if (dx * dx + dy * dy <= c.radius * c.radius) {
                    const double z = std::sqrt(K * K - double(dx * dx) - double(dy * dy));
                    int ox = dx, oy = dy;
                    if (z != 0) {
                        ox = int(std::trunc(double(dx * c.depth) / z + 0.5));
                        oy = int(std::trunc(double(dy * c.depth) / z + 0.5));
                    }
                    const int qx = 150 + ox, qy = 150 + oy;
                    if (qx >= 0 && qy >= 0 && qx < 300 && qy < 300) v = s.Get(qx, qy);
                }
                w.Set(tx, ty, v);
            }
        for (int y = 0; y < 1000; ++y)
            ASSERT_EQ(std::memcmp(Img(&dst.sd).Row(y), w.Row(y), 4000), 0)
                << "radius " << c.radius << " depth " << c.depth << " row " << y;
    }
}
