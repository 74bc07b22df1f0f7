// One scripted scene per device mode, compared bit-exactly with a golden PNG
// (UPDATE_GOLDEN=1 writes the files).
#include <gtest/gtest.h>

#include "gfx_fixture.h"
#include "golden_modes.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "media/gfx/dd_layer.h"
#include "tests/media/text/png_golden.h"

using namespace gfxtest;

namespace {

void DrawScene() {
    DDSURFACEDATA* sheet = &SurfaceTable[4];  // 72 x 8, column 0 of each cell transparent
    DDFillSurface(&g_BackBuffer, 3);
    DDFillRect(&g_BackBuffer, 10, 10, 100, 60, 20);
    DDFillRectRGB(&g_BackBuffer, 120, 10, 60, 60, 0xFF40A0E0);
    DDFillRect(&g_BackBuffer, 600, 440, 100, 100, 200);  // cut at the image
    for (int i = 0; i < 9; ++i) DDBlt(&g_BackBuffer, 10 + i * 10, 80, 8, 8, sheet, i * 8, 0, 1);
    DDBlt(&g_BackBuffer, 10, 92, 72, 8, sheet, 0, 0, 0);
    DDBltStretch(&g_BackBuffer, 10, 104, 144, 16, sheet, 0, 0, 72, 8, 1);
    DDBltStretch(&g_BackBuffer, 10, 124, 36, 4, sheet, 0, 0, 72, 8, 1);
    DDBltStretch(&g_BackBuffer, 10, 132, 100, 12, sheet, 0, 0, 72, 8, 1);
    DDBlt(&g_BackBuffer, -4, 150, 16, 8, sheet, 0, 0, 1);
    DDBlt(&g_BackBuffer, 20, 150, 16, 8, sheet, -4, 0, 1);
    DDBlt(&g_BackBuffer, 630, 474, 16, 8, sheet, 0, 0, 1);
    DDBltStretch(&g_BackBuffer, -16, 160, 64, 16, sheet, 0, 0, 32, 8, 1);
    DDCircle(&g_BackBuffer, 300, 60, 40, 9);
    DDCircle(&g_BackBuffer, 300, 60, 3, 10);
    for (int i = 0; i < 20; ++i) DDSetPixel(&g_BackBuffer, 360 + i * 2, 20, 11);
    if (lpDTCon) {
        DDBltStretch(&g_BackBuffer, 200, 104, 72, 8, sheet, 72, 0, -72, 8, 1);  // flipped
        DDSetBlitColor(0xFFFF8040);
        DDBlt(&g_BackBuffer, 200, 120, 72, 8, sheet, 0, 0, 1);
        DDSetColorOp(7);
        DDBlt(&g_BackBuffer, 200, 132, 72, 8, sheet, 0, 0, 1);
        DDResetColorOp();
        DDResetBlitColor();
        DDBeginLayer(1);
        DDLayerOrderSurface(&SurfaceTable[1]);
        DDLayerOrderSurface(sheet);
        DDBlt(&g_BackBuffer, 300, 120, 72, 8, sheet, 0, 0, 1);
        DDBlt(&g_BackBuffer, 310, 116, 8, 8, &SurfaceTable[1], 0, 0, 0);
        DDEndLayer();
        DDBeginFillBatch();
        DDFillRectRGB(&g_BackBuffer, 400, 100, 40, 40, 0x80FF0000);
        DDFillRectRGB(&g_BackBuffer, 420, 120, 40, 40, 0x800000FF);
        DDEndFillBatch();
    }
}

}  // namespace

TEST_F(GfxTest, GoldenScenePerMode) {
    for (const GoldenMode& m : kGoldenModes) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(m.d3d, m.bpp, m.screenMode)) << m.name;
        DrawScene();
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        ASSERT_TRUE(DDSurfaceToXrgb8888(&g_BackBuffer, px, w, h));
        EXPECT_EQ(texttest::CompareGoldenIn("tests/media/gfx/golden", m.name, w, h, px), "") << m.name;
    }
}

// A true-colour image keeps black and loses only the palette's transparent
// colour, whichever family and depth draws it and whether the palette image
// is an 8-bit or a true-colour file. The two 16-bit families are golden.
TEST_F(GfxTest, TrueColourImagesKeepBlackAndLoseTheTransparentColour) {
    // 16 x 4: transparent, black, white, a colour; four columns each.
    std::vector<uint32_t> px(16 * 4);
    const uint32_t kColours[4] = {PalColor(0), 0x000000, 0xF8F8F8, 0x48F068};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x) px[size_t(y) * 16 + x] = kColours[x / 4];
    const struct Mode {
        const char* golden;
        int d3d, bpp, screenMode;
        bool palette24;
    } modes[] = {
        {"d3d16_truecolour.png", 1, 16, 1, true}, {"dd16_truecolour.png", 0, 16, 0, false},
        {nullptr, 1, 16, 1, false},               {nullptr, 0, 16, 0, true},
        {nullptr, 1, 32, 1, false},               {nullptr, 1, 32, 1, true},
        {nullptr, 0, 32, 0, false},               {nullptr, 0, 32, 0, true},
    };
    for (const Mode& m : modes) {
        SCOPED_TRACE(testing::Message() << (m.d3d ? "Direct3D " : "DirectDraw ") << m.bpp
                                        << (m.palette24 ? ", true-colour palette" : ", 8-bit palette"));
        ResetGraphics();
        BuildBitmapTable();
        testbmp::Write("bmp\\plt\\Palette.bmp", m.palette24 ? PaletteBmp24() : PaletteBmp8());
        testbmp::Write("bmp\\Block.bmp", testbmp::MakeRgb(16, 4, px, 24));
        ASSERT_TRUE(InitAll(m.d3d, m.bpp, m.screenMode));
        DDSURFACEDATA* block = &SurfaceTable[2];
        DDFillSurface(&g_BackBuffer, 3);
        DDBlt(&g_BackBuffer, 10, 10, 16, 4, block, 0, 0, 1);         // keyed
        DDBltStretch(&g_BackBuffer, 10, 20, 64, 16, block, 0, 0, 16, 4, 1);
        DDBlt(&g_BackBuffer, 10, 40, 16, 4, block, 0, 0, 0);         // opaque
        std::vector<uint32_t> out;
        int w = 0, h = 0;
        ASSERT_TRUE(DDSurfaceToXrgb8888(&g_BackBuffer, out, w, h));
        auto at = [&](int x, int y) { return out[size_t(y) * w + x]; };
        const uint32_t bg = at(0, 0);
        EXPECT_EQ(at(11, 11), bg);         // the transparent colour is not drawn
        EXPECT_EQ(at(15, 11), 0x000000u);  // black stays black
        EXPECT_EQ(at(19, 11), at(19, 41));  // as the opaque blit draws them
        EXPECT_EQ(at(23, 11), at(23, 41));
        EXPECT_NE(at(19, 11), bg);
        EXPECT_EQ(at(20, 25), bg);
        EXPECT_EQ(at(30, 25), 0x000000u);
        EXPECT_EQ(at(15, 41), 0x000000u);
        if (m.golden) {
            EXPECT_EQ(texttest::CompareGoldenIn("tests/media/gfx/golden", m.golden, w, h, out), "");
        }
    }
}
