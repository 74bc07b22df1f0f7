// One scripted scene of the mosaic, blur, rotation and lens per device mode,
// compared bit-exactly with a golden PNG (UPDATE_GOLDEN=1 writes the files).
#include <gtest/gtest.h>

#include "effects_fixture.h"
#include "../golden_modes.h"
#include "media/gfx/dd_frame.h"
#include "media/gfx/effects/mosaic_blur.h"
#include "media/gfx/effects/rotate_lens.h"
#include "tests/media/text/png_golden.h"

using namespace gfxtest;

namespace {

// An 80 x 60 picture: a checker of palette colours around a transparent
// square, with a row of the sheet at the bottom.
void PaintChecker(DDSURFACEDATA* pic) {
    DDFillSurface(pic, 25);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) DDFillRect(pic, x * 10, y * 10, 10, 10, uint32_t(40 + ((x + y) % 2) * 90 + x * 9));
    DDFillRect(pic, 30, 20, 20, 14, 0);  // transparent
    DDBlt(pic, 0, 52, 64, 8, &SurfaceTable[4], 0, 0, 0);
}

void DrawSmears(DDSURFACEDATA* pic, DDSURFACEDATA* picSys) {
    DDSURFACEDATA* back = &g_BackBuffer;
    DDFillSurface(back, 5);
    DDFillRect(back, 0, 240, 640, 240, 120);
    const DDBLTPARAM add{0xFF302010, 7};
    DDBltMosaic(back, 10, 10, 80, 60, 6, picSys, 0, 0, 1, nullptr);
    DDBltMosaic(back, 100, 10, 80, 60, 9, picSys, 0, 0, 0, &add);
    DDBltBlur(back, 190, 10, 80, 60, 3, 2, picSys, 0, 0, 0, nullptr);
    DDBltBlur(back, 280, 10, 80, 60, 4, 4, picSys, 0, 0, 1, &add);
    // The rotation from the video picture (the quad road in Direct3D) and
    // from its system-memory copy (the software road).
    DDBltRotate(back, 420, 60, 80, 60, 40, 30, 30, pic, 0, 0, 1);
    DDBltRotate(back, 540, 60, 80, 60, 40, 30, 30, picSys, 0, 0, 1);
    DDBltRotate(back, 420, 170, 80, 60, 40, 30, -75, picSys, 0, 0, 0);
    DDBltLens(back, 540, 330, 60, 40, picSys, 40, 30, 0, 1, nullptr);
    DDBltLens(back, 260, 330, 40, 25, picSys, 40, 30, 1, 1, &add);
    DDBltLens(back, 400, 330, 40, 25, picSys, 40, 30, 0, 0, nullptr);
}

}  // namespace

TEST_F(GfxTest, SmearEffectsGoldenScenePerMode) {
    for (const GoldenMode& m : kGoldenModes) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(m.d3d, m.bpp, m.screenMode)) << m.name;
        DDSURFACEDATA pic, picSys;
        ASSERT_TRUE(DDCreateSurface(&pic, 80, 60, 1, 0, DTMEMORYTYPE_VIDEO_RT, 0, 0));
        ASSERT_TRUE(DDCreateSurface(&picSys, 80, 60, 1, 0, DTMEMORYTYPE_SYSTEM, 0, 0));
        PaintChecker(&pic);
        PaintChecker(&picSys);
        std::vector<uint32_t> first, second;
        int w = 0, h = 0;
        DrawSmears(&pic, &picSys);
        ASSERT_TRUE(DDSurfaceToXrgb8888(&g_BackBuffer, first, w, h));
        DrawSmears(&pic, &picSys);
        ASSERT_TRUE(DDSurfaceToXrgb8888(&g_BackBuffer, second, w, h));
        EXPECT_TRUE(first == second) << m.name << ": drawn twice";
        EXPECT_EQ(texttest::CompareGoldenIn("tests/media/gfx/effects/golden_smear", m.name, w, h, first), "") << m.name;
        for (DDSURFACEDATA* s : {&pic, &picSys}) {
            g_LiveSurfaces.remove(s);
            DDReleaseSurfaceData(s);
        }
    }
}
