// One scripted scene of every effect blit per device mode, compared
// bit-exactly with a golden PNG (UPDATE_GOLDEN=1 writes the files).
#include <gtest/gtest.h>

#include "effects_fixture.h"
#include "../golden_modes.h"
#include "media/gfx/dd_frame.h"
#include "media/gfx/effects/slice_blits.h"
#include "tests/media/text/png_golden.h"

using namespace gfxtest;

namespace {

// A 64 x 48 picture: coloured bands, a transparent hole and a row of the sheet.
void PaintPicture(DDSURFACEDATA* pic) {
    DDFillSurface(pic, 30);
    for (int i = 0; i < 8; ++i) DDFillRect(pic, i * 8, 0, 8, 40 - i * 3, uint32_t(60 + i * 20));
    DDFillRect(pic, 20, 14, 24, 12, 0);  // transparent
    DDBlt(pic, 0, 40, 64, 8, &SurfaceTable[4], 0, 0, 0);
}

void DrawScene(DDSURFACEDATA* pic, DDSURFACEDATA* picSys, const uint8_t (*pal)[4], const uint8_t* table) {
    DDSURFACEDATA* back = &g_BackBuffer;
    DDSURFACEDATA* sheet = &SurfaceTable[4];
    DDFillSurface(back, 3);
    DDFillRect(back, 0, 240, 640, 240, 100);
    // Slices and bands.
    DDBltWave(back, 10, 10, 64, 48, 2, 4.0, 30, 2, pic, 0, 0, 1, 0);
    DDBltWave(back, 90, 10, 64, 48, 1, 3.0, 0, 4, pic, 0, 0, 1, 1);
    DDBltSplit(back, 170, 10, 64, 48, 8, 3, pic, 0, 0, 1, 1);
    DDBltSplit(back, 250, 10, 64, 48, 6, 4, pic, 0, 0, 1, 0);
    DDBltFlip(back, 330, 10, 64, 48, pic, 0, 0, sheet, 0, 0, 64, 8, 1, 20, 0);
    DDBltFlip(back, 410, 10, 64, 48, pic, 0, 0, sheet, 0, 0, 64, 8, 1, 30, 1);
    DDBltBurst(back, 490, 10, 64, 48, pic, 0, 0, 4, 1);
    DDBltCircle(back, 600, 40, 32, 24, 20, 1, pic, 32, 24, 1);
    DDBltCircle(back, 40, 110, 32, 24, 22, 4, pic, 32, 24, 1);
    DDBltCircle(back, 120, 110, 32, 10, 22, 3, pic, 32, 24, 0);
    // Colour effects from the picture (the quad road in Direct3D) and from
    // its system-memory copy (the software road), over both halves of the screen.
    for (int row = 0; row < 2; ++row) {
        DDSURFACEDATA* src = row == 0 ? pic : picSys;
        const int y = 170 + row * 150;
        for (int level = 1; level <= 5; ++level)
            DDBltColorChange(back, 10 + (level - 1) * 70, y, 64, 48, src, 0, 0, 1, pal, table, 40, level, nullptr);
        const DDBLTPARAM add{0xFF402000, 7};
        DDBltColorChange(back, 360, y, 64, 48, src, 0, 0, 1, pal, table, 200, 2, &add);
        DDBltHalf(back, 430, y, 64, 48, src, 0, 0, 1, table);
        DDBltAlpha(back, 500, y, 64, 48, src, 0, 0, 1, table, 64);
        DDBltAlpha(back, 570, y + 60, 64, 48, src, 0, 0, 0, table, 200);
    }
    DDChangeColor(back, 0, 0, 1, 1, 220, 0, 0, 255);
}

}  // namespace

TEST_F(GfxTest, EffectsGoldenScenePerMode) {
    std::vector<uint8_t> table(65536);
    for (int d = 0; d < 256; ++d)
        for (int s = 0; s < 256; ++s) table[size_t(d) * 256 + s] = uint8_t((d + s) / 2);
    for (const GoldenMode& m : kGoldenModes) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(m.d3d, m.bpp, m.screenMode)) << m.name;
        // DirectDraw 16 bits takes the palette in its channel ranges.
        uint8_t pal[256][4];
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 4; ++c) {
                const int max = c == 0 ? g_SurfLayout.rm : c == 1 ? g_SurfLayout.gm : g_SurfLayout.bm;
                pal[i][c] = !lpDTCon && m.bpp == 16 && c < 3 ? uint8_t(gfx::ScaleDown(g_Palette[i][c], max))
                                                              : g_Palette[i][c];
            }
        DDSURFACEDATA pic, picSys;
        ASSERT_TRUE(DDCreateSurface(&pic, 64, 48, 1, 0, DTMEMORYTYPE_VIDEO_RT, 0, 0));
        ASSERT_TRUE(DDCreateSurface(&picSys, 64, 48, 1, 0, DTMEMORYTYPE_SYSTEM, 0, 0));
        PaintPicture(&pic);
        PaintPicture(&picSys);
        std::vector<uint32_t> first, second;
        int w = 0, h = 0;
        DrawScene(&pic, &picSys, pal, table.data());
        ASSERT_TRUE(DDSurfaceToXrgb8888(&g_BackBuffer, first, w, h));
        DrawScene(&pic, &picSys, pal, table.data());
        ASSERT_TRUE(DDSurfaceToXrgb8888(&g_BackBuffer, second, w, h));
        EXPECT_TRUE(first == second) << m.name << ": drawn twice";
        EXPECT_EQ(texttest::CompareGoldenIn("tests/media/gfx/effects/golden", m.name, w, h, first), "") << m.name;
        for (DDSURFACEDATA* s : {&pic, &picSys}) {
            g_LiveSurfaces.remove(s);
            DDReleaseSurfaceData(s);
        }
    }
}
