// Colour change, translucent blits and the screen tint on each road.
#include <gtest/gtest.h>

#include "effects_fixture.h"
#include "media/gfx/dd_surface.h"
#include "platform/cp932.h"

using namespace gfxtest;
using gfx::ScaleDown;
using gfx::ScaleUp;

namespace {
// Stage rule of the quad: texel x F + tint x (255 - F), rounded.
uint32_t QuadMix(uint32_t c, uint32_t t, uint32_t f) { return (c * f + t * (255 - f) + 127) / 255; }
}  // namespace

TEST_F(GfxTest, ColourChangeLevelsOnBothRoads) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Pal pal;
    pal.Set(9, 200, 100, 0);
    const uint32_t texel = 0xFF40C0FF;
    Surf video(2, 1, DTMEMORYTYPE_VIDEO_RT, texel), sys(2, 1, DTMEMORYTYPE_SYSTEM, texel);
    Surf rt(2, 1, DTMEMORYTYPE_VIDEO_RT), soft(2, 1);
    // Level 2: texel weight 80/255 on the quad, 64/255 in software (float, truncated).
    EXPECT_TRUE(DDBltColorChange(&rt.sd, 0, 0, 2, 1, &video.sd, 0, 0, 0, pal.e, nullptr, 9, 2, nullptr));
    EXPECT_EQ(Raw(&rt.sd, 0, 0), 0xFF000000u | QuadMix(0x40, 200, 80) << 16 | QuadMix(0xC0, 100, 80) << 8 |
                                     QuadMix(0xFF, 0, 80));
    EXPECT_TRUE(DDBltColorChange(&soft.sd, 0, 0, 2, 1, &sys.sd, 0, 0, 0, pal.e, nullptr, 9, 2, nullptr));
    const float a = 64.0f / 255.0f;
    auto mix = [a](uint32_t c, uint32_t t) { return uint32_t(int(float(c) * a + (1.0f - a) * float(t))); };
    EXPECT_EQ(Raw(&soft.sd, 0, 0), 0xFF000000u | mix(0x40, 200) << 16 | mix(0xC0, 100) << 8 | mix(0xFF, 0));
    // Level 1 is the floor average in software.
    EXPECT_TRUE(DDBltColorChange(&soft.sd, 0, 0, 2, 1, &sys.sd, 0, 0, 0, pal.e, nullptr, 9, 1, nullptr));
    EXPECT_EQ(Raw(&soft.sd, 0, 0), 0xFF000000u | 0x84u << 16 | 0x92u << 8 | 0x7F);

    // Level 5 is the flat tint on both roads; the quad keeps the texel's alpha.
    SetRaw(&video.sd, 0, 0, 0x00FFFFFF);
    SetRaw(&sys.sd, 0, 0, 0x00FFFFFF);
    FillRaw(&rt.sd, 0x11223344);
    FillRaw(&soft.sd, 0x11223344);
    DDBltColorChange(&rt.sd, 0, 0, 2, 1, &video.sd, 0, 0, 0, pal.e, nullptr, 9, 5, nullptr);
    DDBltColorChange(&soft.sd, 0, 0, 2, 1, &sys.sd, 0, 0, 0, pal.e, nullptr, 9, 5, nullptr);
    EXPECT_EQ(Raw(&rt.sd, 0, 0), 0x11223344u);  // alpha 0: blended away
    EXPECT_EQ(Raw(&rt.sd, 1, 0), 0xFFC86400u);
    EXPECT_EQ(Raw(&soft.sd, 0, 0), 0xFFC86400u);
    EXPECT_EQ(Raw(&soft.sd, 1, 0), 0xFFC86400u);

    // Level 0 or less draws nothing in Direct3D.
    FillRaw(&soft.sd, 0x11223344);
    EXPECT_TRUE(DDBltColorChange(&soft.sd, 0, 0, 2, 1, &sys.sd, 0, 0, 0, pal.e, nullptr, 9, 0, nullptr));
    EXPECT_TRUE(DDBltColorChange(&soft.sd, 0, 0, 2, 1, &sys.sd, 0, 0, 0, pal.e, nullptr, 9, -1, nullptr));
    EXPECT_EQ(Raw(&soft.sd, 1, 0), 0x11223344u);
}

TEST_F(GfxTest, ColourChangeFullScreen16Green) {
    ASSERT_TRUE(InitAll(1, 16, 0));
    Pal pal;
    pal.Set(9, 0, 80, 0);  // green 80 -> 9 of 31
    Surf src(2, 2, DTMEMORYTYPE_SYSTEM, 0x8000 | 10u << 5);
    DDBltColorChange(&g_BackBuffer, 0, 0, 1, 1, &src.sd, 0, 0, 0, pal.e, nullptr, 9, 1, nullptr);
    EXPECT_EQ(Raw(&g_BackBuffer, 0, 0), 19u << 5);  // level 1: c + t itself
    DDBltColorChange(&g_BackBuffer, 0, 0, 1, 1, &src.sd, 0, 0, 0, pal.e, nullptr, 9, 2, nullptr);
    const float a = 64.0f / 255.0f;
    EXPECT_EQ(Raw(&g_BackBuffer, 0, 0), uint32_t(int(10.0f * a + (1.0f - a) * 9.0f)) * 2 << 5);
}

TEST_F(GfxTest, ColourChangeDirectDraw) {
    Pal pal;
    std::vector<uint8_t> table(65536);
    for (int p = 0; p < 256; ++p)
        for (int c = 0; c < 256; ++c) table[size_t(p) * 256 + c] = uint8_t(p + c % 7 + 1);
    // 8 bits: two look-ups at level 2; a negative level copies; level 0 draws nothing.
    {
        ASSERT_TRUE(InitAll(0, 8, 0));
        Surf src(2, 1, 0, 40), dst(2, 1, 0, 3);
        EXPECT_TRUE(DDBltColorChange(&dst.sd, 0, 0, 2, 1, &src.sd, 0, 0, 1, pal.e, table.data(), 0x109, 2, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), 40u + 3 + 3);  // index 9: +3 per look-up
        EXPECT_TRUE(DDBltColorChange(&dst.sd, 0, 0, 2, 1, &src.sd, 0, 0, 1, pal.e, table.data(), 9, 0, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), 46u);
        EXPECT_TRUE(DDBltColorChange(&dst.sd, 0, 0, 2, 1, &src.sd, 0, 0, 1, pal.e, table.data(), 9, -3, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), 40u);
        // A level far beyond the table's cycle gives the same as stepping.
        EXPECT_TRUE(DDBltColorChange(&dst.sd, 0, 0, 2, 1, &src.sd, 0, 0, 1, pal.e, table.data(), 0, 1000, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), uint32_t((40 + 1000) & 255));
        const int huge = 2147483647;
        EXPECT_TRUE(DDBltColorChange(&dst.sd, 0, 0, 2, 1, &src.sd, 0, 0, 1, pal.e, table.data(), 0, huge, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), uint32_t((40 + 2147483647LL) & 255));
        // Without a blend table nothing is drawn.
        EXPECT_TRUE(DDBltColorChange(&dst.sd, 0, 0, 2, 1, &src.sd, 0, 0, 1, pal.e, nullptr, 0, 1, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), uint32_t((40 + 2147483647LL) & 255));
    }
    // 16 and 32 bits: (((c + t) >> 1) + t) >> 1 on channels widened to 0..255.
    for (int bpp : {16, 32}) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(0, bpp, 0));
        const gfx::PixelLayout l = g_SurfLayout;
        const uint32_t cr = bpp == 16 ? 20 : 160, cg = bpp == 16 ? 40 : 33, cb = bpp == 16 ? 3 : 250;
        pal.Set(9, uint8_t(bpp == 16 ? 7 : 70), uint8_t(bpp == 16 ? 50 : 90), uint8_t(bpp == 16 ? 31 : 10));
        const uint32_t px = cr << l.rs | cg << l.gs | cb << l.bs;
        Surf src(2, 1, 0, px), dst(2, 1, 0, 0x7F000000u);
        EXPECT_TRUE(DDBltColorChange(&dst.sd, 0, 0, 2, 1, &src.sd, 0, 0, 0, pal.e, nullptr, 9, 2, nullptr));
        auto step2 = [&](uint32_t c, int pi, int max) {
            const uint32_t cc = ScaleUp(c, max), t = ScaleUp(pal.e[9][pi], max);
            return ScaleDown((((cc + t) >> 1) + t) >> 1, max);
        };
        uint32_t want = step2(cr, 0, l.rm) << l.rs | step2(cg, 1, l.gm) << l.gs | step2(cb, 2, l.bm) << l.bs;
        if (bpp == 32) want |= 0x7F000000u;  // byte 3 kept
        EXPECT_EQ(Raw(&dst.sd, 0, 0), want) << bpp;
        // A huge level gives what stepping it out gives (a fixed point).
        auto settle = [&](uint32_t c, int pi, int max) {
            uint32_t v = ScaleUp(c, max);
            for (int k = 0; k < 300; ++k) v = (v + ScaleUp(pal.e[9][pi], max)) >> 1;
            return ScaleDown(v, max);
        };
        want = settle(cr, 0, l.rm) << l.rs | settle(cg, 1, l.gm) << l.gs | settle(cb, 2, l.bm) << l.bs;
        if (bpp == 32) want |= 0x7F000000u;
        DDBltColorChange(&dst.sd, 0, 0, 1, 1, &src.sd, 0, 0, 0, pal.e, nullptr, 9, 2147483647, nullptr);
        EXPECT_EQ(Raw(&dst.sd, 0, 0), want) << bpp;
    }
}

TEST_F(GfxTest, TranslucentBlitRoads) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Surf video(2, 1, DTMEMORYTYPE_VIDEO_RT, 0xFF000000), sys(2, 1, DTMEMORYTYPE_SYSTEM, 0xFF000000);
    Surf soft(2, 1);
    // Half: vertex alpha 127 on the quad, the exact average in software.
    FillRaw(&g_BackBuffer, 0xFFFFFF);
    EXPECT_TRUE(DDBltHalf(&g_BackBuffer, 0, 0, 2, 1, &video.sd, 0, 0, 1, nullptr));
    EXPECT_EQ(Raw(&g_BackBuffer, 0, 0) & 0xFFFFFF, 0x808080u);  // (255 x 128 + 127) / 255
    FillRaw(&soft.sd, 0xFFFFFFFF);
    EXPECT_TRUE(DDBltHalf(&soft.sd, 0, 0, 2, 1, &sys.sd, 0, 0, 1, nullptr));
    EXPECT_EQ(Raw(&soft.sd, 0, 0), 0xFF7F7F7Fu);
    // Alpha 255: invisible on the quad, still half and half in software.
    FillRaw(&g_BackBuffer, 0xFFFFFF);
    EXPECT_TRUE(DDBltAlpha(&g_BackBuffer, 0, 0, 2, 1, &video.sd, 0, 0, 1, nullptr, 255));
    EXPECT_EQ(Raw(&g_BackBuffer, 0, 0) & 0xFFFFFF, 0xFFFFFFu);
    FillRaw(&soft.sd, 0xFFFFFFFF);
    EXPECT_TRUE(DDBltAlpha(&soft.sd, 0, 0, 2, 1, &sys.sd, 0, 0, 1, nullptr, 255));
    EXPECT_EQ(Raw(&soft.sd, 0, 0), 0xFF7F7F7Fu);
    // The quad leaves the alpha operation at "select the texture".
    EXPECT_EQ(g_DD.lpDevice->stage.alphaOp, gfx::TOP_SELECTARG1);
    EXPECT_EQ(g_DD.lpDevice->stage.alphaArg1, gfx::TA_TEXTURE);
}

TEST_F(GfxTest, TranslucentBlit16AndDirectDraw) {
    // Direct3D 16-bit full-screen back buffer: green (d + 2s) >> 1 in six bits.
    {
        ASSERT_TRUE(InitAll(1, 16, 0));
        Surf src(1, 1, DTMEMORYTYPE_SYSTEM, 0x8000 | 20u << 10 | 10u << 5 | 4);
        SetRaw(&g_BackBuffer, 0, 0, 10u << 11 | 40u << 5 | 8);
        DDBltHalf(&g_BackBuffer, 0, 0, 1, 1, &src.sd, 0, 0, 1, nullptr);
        EXPECT_EQ(Raw(&g_BackBuffer, 0, 0), 15u << 11 | 30u << 5 | 6);
    }
    std::vector<uint8_t> table(65536);
    for (size_t i = 0; i < table.size(); ++i) table[i] = uint8_t(i * 7 + 3);
    // DirectDraw 8 bits: index 0 is transparent in the source and takes the source in the destination.
    {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(0, 8, 0));
        Surf src(3, 1, 0, 5), dst(3, 1, 0, 0);
        SetRaw(&src.sd, 2, 0, 0);
        SetRaw(&dst.sd, 1, 0, 9);
        SetRaw(&dst.sd, 2, 0, 9);
        DDBltHalf(&dst.sd, 0, 0, 3, 1, &src.sd, 0, 0, 1, table.data());
        EXPECT_EQ(Raw(&dst.sd, 0, 0), 5u);
        EXPECT_EQ(Raw(&dst.sd, 1, 0), table[9 * 256 + 5]);
        EXPECT_EQ(Raw(&dst.sd, 2, 0), 9u);
    }
    // DirectDraw 16 and 32 bits: a keyed destination takes the source; the
    // average goes through 0..255 channels at 16 bits.
    for (int bpp : {16, 32}) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(0, bpp, 0));
        const gfx::PixelLayout l = g_SurfLayout;
        const uint32_t s = 3u << l.rs | 7u << l.gs | 30u << l.bs, d = 10u << l.rs | 0u << l.gs | 1u << l.bs;
        Surf src(3, 1, 0, s), dst(3, 1, 0, d);
        SetRaw(&dst.sd, 1, 0, g_DD.dwColorKey);
        SetRaw(&src.sd, 2, 0, g_DD.dwColorKey);
        DDBltHalf(&dst.sd, 0, 0, 3, 1, &src.sd, 0, 0, 1, nullptr);
        auto avg = [](uint32_t a, uint32_t b, int m) { return ScaleDown((ScaleUp(a, m) + ScaleUp(b, m)) >> 1, m); };
        const uint32_t want = avg(3, 10, l.rm) << l.rs | avg(7, 0, l.gm) << l.gs | avg(30, 1, l.bm) << l.bs;
        EXPECT_EQ(Raw(&dst.sd, 0, 0), bpp == 16 ? want : 6u << 16 | 3u << 8 | 15u) << bpp;
        EXPECT_EQ(Raw(&dst.sd, 1, 0), s) << bpp;
        EXPECT_EQ(Raw(&dst.sd, 2, 0), d) << bpp;
    }
}

TEST_F(GfxTest, ScreenTint) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    // The whole image, whatever the rectangle; alpha 0 without the virtual
    // back buffer shows the plain colour.
    FillRaw(&g_BackBuffer, 0x102030);
    EXPECT_EQ(DDChangeColor(&g_BackBuffer, 100, 0, 10, 10, 0, 255, 128, 0), 1);
    EXPECT_EQ(Raw(&g_BackBuffer, 0, 0), 0xFF8000u);
    EXPECT_EQ(Raw(&g_BackBuffer, 639, 479), 0xFF8000u);
    // Alpha 255 leaves the picture; 128 weighs it half.
    FillRaw(&g_BackBuffer, 0x102030);
    DDChangeColor(&g_BackBuffer, 0, 0, 1, 1, 255, 255, 128, 0);
    EXPECT_EQ(Raw(&g_BackBuffer, 5, 5), 0x102030u);
    DDChangeColor(&g_BackBuffer, 0, 0, 1, 1, 128, 255, 128, 0);
    EXPECT_EQ(Raw(&g_BackBuffer, 5, 5), (255u * 127 + 0x10 * 128 + 127) / 255 << 16 |
                                            (128u * 127 + 0x20 * 128 + 127) / 255 << 8 | (0x30 * 128 + 127) / 255);
    // With the virtual back buffer the picture is the texture: picture x colour.
    DDSetVirtualBackBuffer(1);
    FillRaw(&g_BackBuffer, 0xFF808080);
    DDChangeColor(&g_BackBuffer, 0, 0, 1, 1, 0, 255, 128, 0);
    EXPECT_EQ(Raw(&g_VirBackBuffer, 320, 240), 0xFF804000u);
    DDSetVirtualBackBuffer(0);
}

TEST_F(GfxTest, ScreenTintInDirectDrawOnlyLogs) {
    ASSERT_TRUE(InitAll(0, 32, 0));
    FillRaw(&g_BackBuffer, 0x102030);
    EXPECT_EQ(DDChangeColor(&g_BackBuffer, 0, 0, 640, 480, 0, 255, 0, 0), 1);
    EXPECT_EQ(Raw(&g_BackBuffer, 0, 0), 0x102030u);
    SetDebugLog(0, "");
    EXPECT_NE(ReadText("ZI_Vare.txt").find(SJ("DDrawでは DDChangeColor(DDSURFACEDATA *lpDstSD,int x,int y,int nWidth,"
                                              "int nHeight,int nAlpha,BYTE bRed,BYTE bGreen,BYTE bBlue) は未対応")),
              std::string::npos);
}
