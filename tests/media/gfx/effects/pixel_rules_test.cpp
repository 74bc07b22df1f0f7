// The rules every software pixel effect shares: transparency, writing,
// colour addition, the choice between the quad and the software road, and
// failures of locks and render targets.
#include <gtest/gtest.h>

#include "effects_fixture.h"
#include "media/gfx/dd_surface.h"

using namespace gfxtest;
using gfx::Fault;

TEST_F(GfxTest, EffectTransparencyPerFamilyAndDepth) {
    struct Case {
        int d3d, bpp;
        uint32_t src;  // ~0u: the DirectDraw key; ~1u: the key with its low bit flipped
        int flag;
        bool drawn;
    };
    const Case cases[] = {
        {1, 16, 0x2000, 1, true},       {1, 16, 0x1FFF, 1, false},      {1, 16, 0x8000, 1, true},
        {1, 32, 0x00FFFFFF, 1, false},  {1, 32, 0x01000000, 1, true},   {1, 32, 0x00FFFFFF, 0, true},
        {0, 8, ~0u, 1, false},          {0, 8, ~1u, 1, true},           {0, 16, ~0u, 1, false},
        {0, 16, ~1u, 1, true},          {0, 32, ~0u, 1, false},         {0, 32, ~1u, 1, true},
        {0, 32, ~0u, 0, true},
    };
    Pal pal;
    std::vector<uint8_t> table(65536, 9);
    for (const Case& c : cases) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(c.d3d, c.bpp, c.d3d));  // DirectDraw full screen: its own depth
        uint32_t px = c.src;
        if (px == ~0u) px = g_DD.dwColorKey;
        if (px == ~1u) px = g_DD.dwColorKey ^ 1;
        Surf src(4, 4, DTMEMORYTYPE_SYSTEM, px), dst(4, 4, DTMEMORYTYPE_SYSTEM, 0);
        EXPECT_TRUE(DDBltColorChange(&dst.sd, 0, 0, 4, 4, &src.sd, 0, 0, c.flag, pal.e, table.data(), 200, 1, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 1, 1) != 0, c.drawn) << c.d3d << " " << c.bpp << " " << std::hex << px;
    }
}

TEST_F(GfxTest, EffectWriteRules) {
    Pal pal;
    pal.Set(7, 255, 128, 64);
    struct Case {
        const char* what;
        int bpp, screenMode;
        bool toBack;
        uint32_t want;
    };
    // Level 5 is the flat tint: 16 bits take (31, 15, 7).
    const Case cases[] = {
        {"16-bit full-screen back buffer: doubled green, no alpha bit", 16, 0, true, 31u << 11 | 30u << 5 | 7},
        {"16-bit window back buffer: green as it is and the alpha bit", 16, 1, true, 0x8000 | 31u << 10 | 15u << 5 | 7},
        {"16-bit texture in full screen", 16, 0, false, 0x8000 | 31u << 10 | 15u << 5 | 7},
        {"32 bits: byte 3 = 255", 32, 1, true, 0xFFFF8040},
    };
    for (const Case& c : cases) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(1, c.bpp, c.screenMode));
        Surf src(4, 4, DTMEMORYTYPE_SYSTEM, c.bpp == 16 ? 0x8000u : 0xFF000000u), tex(4, 4);
        DDSURFACEDATA* dst = c.toBack ? &g_BackBuffer : &tex.sd;
        EXPECT_TRUE(DDBltColorChange(dst, 0, 0, 2, 2, &src.sd, 0, 0, 0, pal.e, nullptr, 7, 5, nullptr));
        EXPECT_EQ(Raw(dst, 1, 1), c.want) << c.what;
        EXPECT_EQ(Raw(dst, 2, 2), c.toBack ? 0u : 0u) << c.what << ": outside the rectangle";
    }
    // The half blit: Direct3D 32 bits sets byte 3, DirectDraw 32 bits keeps it.
    for (int d3d : {1, 0}) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(d3d, 32, d3d));
        Surf src(2, 2, DTMEMORYTYPE_SYSTEM, 0x00305070), dst(2, 2, DTMEMORYTYPE_SYSTEM, 0x5A102030);
        EXPECT_TRUE(DDBltHalf(&dst.sd, 0, 0, 2, 2, &src.sd, 0, 0, 0, nullptr));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), d3d ? 0xFF203850u : 0x5A203850u);
    }
}

TEST_F(GfxTest, EffectColourAddition) {
    Pal pal;
    pal.Set(1, 0, 0, 0);
    struct Case {
        int bpp;
        uint32_t src;
        bool block;
        DDBLTPARAM param;
        uint32_t want;
    };
    const uint32_t px16 = 0x8000 | 10u << 10 | 3u << 5;
    const Case cases[] = {
        {16, px16, true, {0xFFFF0000, 7}, 0x8000 | 15u << 10 | 1u << 5},  // 255 adds 31 and clamps
        {16, px16, true, {0xFFFF0000, 4}, 0x8000 | 5u << 10 | 1u << 5},   // modulate adds nothing
        {16, px16, false, {}, 0x8000 | 5u << 10 | 1u << 5},
        {32, 0xFF640010, true, {0xFFFF0020, 7}, 0xFF7F0018},
        {32, 0xFF640010, false, {}, 0xFF320008},
    };
    for (const Case& c : cases) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(1, c.bpp, 1));
        Surf src(2, 2, DTMEMORYTYPE_SYSTEM, c.src), dst(2, 2);
        EXPECT_TRUE(DDBltColorChange(&dst.sd, 0, 0, 2, 2, &src.sd, 0, 0, 0, pal.e, nullptr, 1, 1,
                                     c.block ? &c.param : nullptr));
        EXPECT_EQ(Raw(&dst.sd, 0, 0), c.want) << c.bpp << " op " << c.param.nColorOp;
    }
}

TEST_F(GfxTest, EffectRoadChoice) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Pal pal;
    pal.Set(2, 0, 0, 0);
    Surf videoSrc(4, 4, DTMEMORYTYPE_VIDEO_RT, 0xFFFFFFFF), sysSrc(4, 4, DTMEMORYTYPE_SYSTEM, 0xFFFFFFFF);
    Surf sysDst(4, 4), rtDst(4, 4, DTMEMORYTYPE_VIDEO_RT);
    struct Case {
        const char* what;
        DDSURFACEDATA *dst, *src;
        bool quad;
    };
    const Case cases[] = {
        {"render target from video memory", &g_BackBuffer, &videoSrc.sd, true},
        {"render-target texture from a managed file texture", &rtDst.sd, &SurfaceTable[48], true},
        {"render target from system memory", &g_BackBuffer, &sysSrc.sd, false},
        {"system texture from video memory", &sysDst.sd, &videoSrc.sd, false},
    };
    // Level 2 weighs the texel 80/255 on the quad and 64/255 in software.
    for (const Case& c : cases) {
        FillRaw(c.dst, 0);
        FillRaw(&SurfaceTable[48], 0xFFFFFFFF);
        EXPECT_TRUE(DDBltColorChange(c.dst, 0, 0, 2, 2, c.src, 0, 0, 0, pal.e, nullptr, 2, 2, nullptr));
        EXPECT_EQ(Raw(c.dst, 0, 0) & 0xFFFFFF, c.quad ? 0x505050u : 0x404040u) << c.what;
    }
}

TEST_F(GfxTest, EffectMirroredCellOnBothRoads) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    // Slot 5 is slot 4 with 32-pixel mirrored cells. Alpha 0 on the quad is
    // a plain copy: the cell comes out flipped.
    const gfx::cImage& sheet = Img(&SurfaceTable[4]);
    FillRaw(&g_BackBuffer, 0);
    EXPECT_TRUE(DDBltAlpha(&g_BackBuffer, 0, 0, 32, 8, &SurfaceTable[5], 0, 0, 1, nullptr, 0));
    for (int j = 0; j < 31; ++j) EXPECT_EQ(Raw(&g_BackBuffer, j, 3), sheet.Get(31 - j, 3) & 0xFFFFFF) << j;
    // The software road takes the adjusted position with the size as given.
    Surf dst(32, 8);
    EXPECT_TRUE(DDBltAlpha(&dst.sd, 0, 0, 32, 8, &SurfaceTable[5], 0, 0, 1, nullptr, 0));
    for (int j = 0; j < 32; ++j)
        EXPECT_EQ(Raw(&dst.sd, j, 3), 0xFF000000u | (sheet.Get(32 + j, 3) & 0xFEFEFE) >> 1) << j;
}

TEST_F(GfxTest, EffectLockFailureLeavesNothingLocked) {
    Pal pal;
    for (int d3d : {1, 0}) {
        for (int skip : {0, 1}) {
            ResetGraphics();
            BuildBitmapTable();
            ASSERT_TRUE(InitAll(d3d, 32, d3d));
            Surf src(4, 4, DTMEMORYTYPE_SYSTEM, 0xFF123456), dst(4, 4);
            gfx::Faults().Arm(d3d ? Fault::D3DLock : Fault::DDLock, 1, skip);
            EXPECT_FALSE(DDBltColorChange(&dst.sd, 0, 0, 4, 4, &src.sd, 0, 0, 0, pal.e, nullptr, 3, 2, nullptr));
            EXPECT_FALSE(d3d ? dst.sd.lpDT->lpSurface->locked : dst.sd.lpDD->lpSurface->locked);
            EXPECT_FALSE(d3d ? src.sd.lpDT->lpSurface->locked : src.sd.lpDD->lpSurface->locked);
            EXPECT_EQ(Raw(&dst.sd, 0, 0), 0u);
            // The next call locks both again.
            EXPECT_TRUE(DDBltHalf(&dst.sd, 0, 0, 4, 4, &src.sd, 0, 0, 0, nullptr));
        }
    }
}

TEST_F(GfxTest, EffectQuadTargetSwitchFailureDrawsNothing) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Pal pal;
    Surf src(4, 4, DTMEMORYTYPE_VIDEO_RT, 0xFFFFFFFF);
    FillRaw(&g_BackBuffer, 0x123456);
    gfx::Faults().Arm(Fault::D3DSetRenderTarget, 3);
    EXPECT_TRUE(DDBltColorChange(&g_BackBuffer, 0, 0, 4, 4, &src.sd, 0, 0, 0, pal.e, nullptr, 3, 2, nullptr));
    EXPECT_TRUE(DDBltHalf(&g_BackBuffer, 0, 0, 4, 4, &src.sd, 0, 0, 0, nullptr));
    EXPECT_EQ(DDChangeColor(&g_BackBuffer, 0, 0, 4, 4, 0, 255, 0, 0), 1);
    EXPECT_EQ(Raw(&g_BackBuffer, 1, 1), 0x123456u);
    // A source without a vertex buffer draws nothing either.
    src.sd.lpDT->lpVB.reset();
    EXPECT_TRUE(DDBltHalf(&g_BackBuffer, 0, 0, 4, 4, &src.sd, 0, 0, 0, nullptr));
    EXPECT_EQ(Raw(&g_BackBuffer, 1, 1), 0x123456u);
}
