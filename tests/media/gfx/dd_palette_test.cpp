#include <gtest/gtest.h>

#include <cstring>

#include "gfx_fixture.h"
#include "media/gfx/dd_palette_fx.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

using namespace gfxtest;

namespace {
bool Init(int useD3D, int bpp) {
    gfx::DDMachineState().desktopBpp = bpp;
    return DDInit(useD3D, nullptr, 640, 480, bpp, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0);
}
}  // namespace

// Palette numbers and the transparent colour per mode, from an 8-bit and a
// 24-bit palette image. Colour 3 is (0x18, 0xF8, 0x78), colour 0 (0xF8, 0, 0xF8).
TEST_F(GfxTest, PalNumToRGBAndTransmitPerMode) {
    testbmp::Write("p24.bmp", PaletteBmp24());
    struct Case {
        int useD3D, bpp;
        const char* file;
        uint32_t pal0, pal3, colorKey;
    } cases[] = {
        {1, 32, "bmp\\plt\\Palette.bmp", 0, 0xFF18F878, 0},
        {1, 32, "p24.bmp", 0, 0xFF18F878, 0},
        // 16-bit textures keep five bits: 0xF8 -> 31 -> 255, 0x78 -> 15 -> 123
        {1, 16, "bmp\\plt\\Palette.bmp", 0, 0xFF18FF7B, 0xFC1F},
        {0, 8, "bmp\\plt\\Palette.bmp", 0, 3, 0},
        // the system copy of an 8-bit image drops low bits, a true-colour
        // image goes through c * max / 255
        {0, 16, "bmp\\plt\\Palette.bmp", 0xF81F, 3 << 11 | 62 << 5 | 15, 0xF81F},
        {0, 16, "p24.bmp", 0xF01E, 2 << 11 | 61 << 5 | 14, 0xF01E},
        {0, 32, "bmp\\plt\\Palette.bmp", 0xF800F8, 0x18F878, 0xF800F8},
        {0, 32, "p24.bmp", 0xF800F8, 0x18F878, 0xF800F8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.useD3D << " " << c.bpp << " " << c.file);
        ResetGraphics();
        ASSERT_TRUE(Init(c.useD3D, c.bpp));
        ASSERT_TRUE(DDLoadPaletteFromFile(g_Palette, c.file));
        ASSERT_EQ(DDSetTransmit(c.file), 1);
        EXPECT_EQ(PalNumToRGB(0), c.pal0);
        EXPECT_EQ(PalNumToRGB(3), c.pal3);
        if (c.useD3D && c.bpp == 16) {
            EXPECT_EQ(lpDTCon->wTransmit_16, c.colorKey);  // alpha bit set
            EXPECT_EQ(lpDTCon->dwTransTexel, 0u);
        } else {
            EXPECT_EQ(g_DD.dwColorKey, c.colorKey);
        }
        if (c.useD3D && c.bpp == 32) {
            EXPECT_EQ(lpDTCon->dwTransARGB, 0xFFF800F8u);
        }
        EXPECT_EQ(PalNumToRGB(256), 0u);
    }
}

TEST_F(GfxTest, PaletteLoadFailuresAndDirect3DOnlyNotes) {
    platform::CapturedMessageBoxes boxes;  // the debug error box of a failed lock
    ASSERT_TRUE(Init(1, 32));
    EXPECT_FALSE(DDLoadPaletteFromFile(g_Palette, "bmp\\nothing.bmp"));
    EXPECT_EQ(DDSetTransmit(std::string("bmp\\nothing.bmp")), 0);
    EXPECT_NE(ReadText("ZI_Vare.txt").find("bmp\\nothing.bmp" + SJ(" 作成失敗！")), std::string::npos);
    const uint8_t e[4] = {1, 2, 3, 0};
    EXPECT_EQ(DDPalToRGB16(e), 0u);
    EXPECT_NE(ReadText("ZI_Vare.txt").find(SJ("DDPalToRGB16はDirect3Dでは未対応")), std::string::npos);
    // A failed lock leaves the transparent colour as it was.
    gfx::Faults().Arm(gfx::Fault::D3DLock);
    EXPECT_EQ(DDSetTransmit(BitmapTable[0].strFileName), 0);
}

// The palette-index map finds each pixel's palette number in every family and
// depth that builds one: Direct3D 16 bits compares the pixel's fields scaled
// to 0..255 (a colour-keyed surface's transparent pixels are number 0),
// DirectDraw 16 bits compares the entries as 16-bit values, 32 bits the bytes.
TEST_F(GfxTest, PaletteIndexMap) {
    testbmp::Write("p24.bmp", PaletteBmp24());
    // 4 x 1: palette colour 7, a colour of no entry, colour 200, colour 0.
    const std::vector<uint32_t> rgb = {PalColor(7), 0x123457, PalColor(200), PalColor(0)};
    testbmp::Write("m24.bmp", testbmp::MakeRgb(4, 1, rgb));
    std::vector<uint32_t> table(256);
    for (int i = 0; i < 256; ++i) table[i] = PalColor(i);
    table[1] = 0x123457;
    testbmp::Write("m8.bmp", testbmp::Make8(4, 1, table, {7, 1, 200, 0}));
    const struct Case {
        int useD3D, bpp;
        const char* palette;
        const char* image;
        int key;
    } cases[] = {
        {1, 16, "bmp\\plt\\Palette.bmp", "m24.bmp", 0}, {1, 16, "bmp\\plt\\Palette.bmp", "m24.bmp", 1},
        {1, 16, "p24.bmp", "m8.bmp", 1},                   {0, 16, "p24.bmp", "m24.bmp", 0},
        {0, 16, "bmp\\plt\\Palette.bmp", "m8.bmp", 0},   {1, 32, "bmp\\plt\\Palette.bmp", "m24.bmp", 0},
        {0, 32, "bmp\\plt\\Palette.bmp", "m24.bmp", 0},  {0, 32, "p24.bmp", "m8.bmp", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.useD3D ? "Direct3D " : "DirectDraw ") << c.bpp << " " << c.palette << " "
                                        << c.image << " key " << c.key);
        ResetGraphics();
        ASSERT_TRUE(Init(c.useD3D, c.bpp));
        ASSERT_TRUE(DDLoadPaletteFromFile(g_Palette, c.palette));
        ASSERT_EQ(DDSetTransmit(std::string(c.palette)), 1);
        g_Palette[5][0] = g_Palette[5][1] = g_Palette[5][2] = 0;  // black: what a keyed texel reads as
        DDSURFACEDATA sd;
        ASSERT_EQ(DDCreateSurfaceFromFile(&sd, c.image, c.key, c.bpp, 1, 0, 0, 1, 0, 0, 0), 0);
        const std::vector<uint8_t>* map = c.useD3D ? sd.lpDT->lpPalIdx : sd.lpDD->lpPalIdx;
        ASSERT_NE(map, nullptr);
        EXPECT_EQ((std::vector<int>{(*map)[0], (*map)[1], (*map)[2], (*map)[3]}), (std::vector<int>{7, 0, 200, 0}));
        g_LiveSurfaces.remove(&sd);
        DDReleaseSurfaceData(&sd);
    }
}

TEST_F(GfxTest, BlendPalette) {
    uint8_t src[256][4], out[256][4];
    for (int i = 0; i < 256; ++i) src[i][0] = uint8_t(i), src[i][1] = 100, src[i][2] = 255, src[i][3] = 7;
    struct Case {
        int alpha;
        uint8_t r5, g5, b5;  // entry 5 after blending toward (10, 20, 30)
    } cases[] = {{256, 5, 100, 255}, {0, 10, 20, 30}, {128, (10 * 128 + 5 * 128) >> 8, 60, (30 * 128 + 255 * 128) >> 8}};
    for (const Case& c : cases) {
        std::memset(out, 0xEE, sizeof out);
        ASSERT_TRUE(DDBlendPalette(out, 2, 9, c.alpha, 10, 20, 30, src));
        EXPECT_EQ(out[5][0], c.r5);
        EXPECT_EQ(out[5][1], c.g5);
        EXPECT_EQ(out[5][2], c.b5);
        for (int i = 2; i <= 9; ++i) EXPECT_EQ(out[i][3], 1);
        EXPECT_EQ(out[1][0], 0xEE);
        EXPECT_EQ(out[10][0], 0xEE);
    }
    EXPECT_TRUE(DDBlendPalette(out, 9, 8, 0, 0, 0, 0, src));  // empty range
    for (auto [f, l, a] : {std::tuple{-1, 5, 0}, {0, 256, 0}, {9, 7, 0}, {0, 5, 257}, {0, 5, -1}}) {
        std::memset(out, 0xEE, sizeof out);
        EXPECT_FALSE(DDBlendPalette(out, f, l, a, 0, 0, 0, src));
        EXPECT_EQ(out[0][0], 0xEE);
    }
}

TEST_F(GfxTest, RotatePalette) {
    g_DD.nBpp = 8;
    uint8_t src[256][4], dst[256][4];
    for (int i = 0; i < 256; ++i) src[i][0] = uint8_t(i), src[i][1] = src[i][2] = src[i][3] = 0;
    ASSERT_TRUE(DDRotatePalette(dst, 16, 207, 16, 1, src));
    EXPECT_EQ(dst[16][0], 32);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(dst[192 + k][0], 16 + k);
    EXPECT_EQ(dst[15][0], 15);
    EXPECT_EQ(dst[208][0], 208);
    ASSERT_TRUE(DDRotatePalette(dst, 16, 207, 16, 0, src));
    EXPECT_EQ(dst[32][0], 16);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(dst[16 + k][0], 192 + k);
    for (int count : {0, 192}) {
        ASSERT_TRUE(DDRotatePalette(dst, 16, 207, count, 1, src));
        EXPECT_EQ(std::memcmp(dst, src, sizeof src), 0);
    }
    // In place: the same array rotates further on every call.
    uint8_t pal[256][4];
    std::memcpy(pal, src, sizeof pal);
    DDRotatePalette(pal, 16, 207, 16, 1, pal);
    DDRotatePalette(pal, 16, 207, 16, 1, pal);
    EXPECT_EQ(pal[16][0], 48);
    // Refused ranges and counts change nothing.
    std::memset(dst, 0xEE, sizeof dst);
    EXPECT_FALSE(DDRotatePalette(dst, 16, 207, 193, 1, src));
    EXPECT_FALSE(DDRotatePalette(dst, 16, 207, -1, 0, src));
    EXPECT_FALSE(DDRotatePalette(dst, 20, 10, 0, 0, src));
    EXPECT_EQ(dst[0][0], 0xEE);
    // 24 bits: not even the plain copy.
    g_DD.nBpp = 24;
    EXPECT_TRUE(DDRotatePalette(dst, 16, 207, 16, 1, src));
    EXPECT_EQ(dst[100][0], 0xEE);
}

TEST_F(GfxTest, BlendTable) {
    static uint8_t table[65536];
    std::memset(table, 0xAB, sizeof table);
    platform::MakeDirectory("bmp\\hbt");
    testbmp::Write("bmp\\hbt\\hbtA.dat", std::vector<uint8_t>(1000, 0x11));
    ASSERT_TRUE(Init(0, 8));
    EXPECT_TRUE(DDLoadBlendTable(table, "bmp\\hbt\\hbtA.dat"));
    EXPECT_EQ(table[999], 0x11);
    EXPECT_EQ(table[1000], 0xAB);
    EXPECT_FALSE(DDLoadBlendTable(table, "bmp\\hbt\\hbtB.dat"));
    ResetGraphics();
    ASSERT_TRUE(Init(1, 32));
    std::memset(table, 0xAB, sizeof table);
    EXPECT_TRUE(DDLoadBlendTable(table, "bmp\\hbt\\hbtA.dat"));
    EXPECT_EQ(table[0], 0xAB);
}

TEST_F(GfxTest, PaletteFromSwatchWithoutAlphaKeepsPalette) {
    platform::CapturedMessageBoxes boxes;  // the debug error box of a failed lock
    ASSERT_TRUE(Init(1, 32));
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, 16, 24, 0, 0, 1, 0, 0));  // system texture, all texels 0
    uint8_t pal[256][4];
    std::memset(pal, 0x5A, sizeof pal);
    EXPECT_EQ(DDSetPalette_UnPal(pal, &sd), 1);
    EXPECT_EQ(pal[77][1], 0x5A);
    gfx::Faults().Arm(gfx::Fault::D3DLock);
    EXPECT_EQ(DDSetPalette_UnPal(pal, &sd), 1);
    EXPECT_NE(ReadText("ZI_Vare.txt").find("DDSetPalette_UnPal Lock Err"), std::string::npos);
    DDReleaseSurfaceData(&sd);
}

TEST_F(GfxTest, FadeUnpaletted) {
    for (int bpp : {16, 32, 24}) {
        SCOPED_TRACE(bpp);
        ResetGraphics();
        ASSERT_TRUE(Init(0, bpp));
        DDSURFACEDATA dst, src;
        ASSERT_TRUE(DDCreateSurface(&dst, 4, 2, 0, 1, 0, 0, 0));
        ASSERT_TRUE(DDCreateSurface(&src, 3, 3, 0, 1, 0, 0, 0));  // narrower: clipped
        {
            DDLOCK l(&src);
            l.Image()->Set(0, 0, bpp == 16 ? 0xFFFF : 0xFFFFFF);
            l.Image()->Set(1, 0, bpp == 16 ? (10u << 11 | 20u << 5 | 30u) : 0x102030);
        }
        const uint32_t sentinel = bpp == 16 ? 0x1234 : 0x123456;
        {
            DDLOCK l(&dst);
            l.Image()->Set(3, 0, sentinel);
        }
        ASSERT_EQ(DDFade_UnPal(&dst, 256, 0, 0, 0, &src), 1);
        DDLOCK l(&dst);
        if (bpp == 24) {
            EXPECT_EQ(l.Image()->Get(0, 0), 0u);  // nothing is written
        } else {
            EXPECT_EQ(l.Image()->Get(0, 0), bpp == 16 ? 0xFFFFu : 0xFFFFFFu);
            // 16 bits: 10 -> 82 -> 9, 20 -> 80 -> 19, 30 -> 246 -> 29 (both scalings truncate)
            EXPECT_EQ(l.Image()->Get(1, 0), bpp == 16 ? (9u << 11 | 19u << 5 | 29u) : 0x102030u);
        }
        EXPECT_EQ(l.Image()->Get(3, 0), sentinel);
        DDUnlock(l);
        ASSERT_EQ(DDFade_UnPal(&dst, 0, 255, 0, 255, &src), 1);
        DDLOCK l2(&dst);
        if (bpp != 24) {
            EXPECT_EQ(l2.Image()->Get(2, 1), bpp == 16 ? 0xF81Fu : 0xFF00FFu);
        }
        DDUnlock(l2);
        gfx::Faults().Arm(gfx::Fault::DDLock, 1, 1);  // the source lock fails
        EXPECT_EQ(DDFade_UnPal(&dst, 0, 1, 2, 3, &src), 0);
        DDReleaseSurfaceData(&dst);
        DDReleaseSurfaceData(&src);
    }
}
