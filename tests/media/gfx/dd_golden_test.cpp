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
