// Palette graphics lookup: which surface and cell a (source, number, frame)
// comes from, in both graphics modes, with the fallbacks.
#include "play/palette_sprite.h"

#include <gtest/gtest.h>

#include "records/system_ini.h"
#include "play/object.h"
#include "media/gfx/run_time_surfaces.h"
#include "records/database.h"
#include "records/system_data.h"

namespace {

class PaletteSpriteTable : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedDd = g_DD.bUseD3D;
        m_savedIni = g_SystemIni.Direct3D;
        m_savedCompat = g_SystemData.m_bCompat986;
        m_savedBmp = g_Database.m_vecBmpCharaExc;
        for (int s : {4, 5, 22, 23}) Size(s, 22 * 32, 15 * 32);  // chara sheet 1: 22 columns
        for (int s : {6, 7, 24, 25}) Size(s, 64, 64);            // chara sheet 2: a short one
        // Entries: 1 small cells, 2 cells of 2 x 32, 3 cell size 0, 4 a sheet
        // narrower than a cell, 5 cells of 20 x 32.
        g_Database.m_vecBmpCharaExc.assign(6, cDbBmpCharaExc{});
        auto& t = g_Database.m_vecBmpCharaExc;
        t[2].m_bCustomCell = 1, t[2].m_nCellSize = 2;
        t[3].m_bCustomCell = 1, t[3].m_nCellSize = 0;
        t[5].m_bCustomCell = 1, t[5].m_nCellSize = 20;
        g_vDedicatedSurfaces.assign(20, DDSURFACEDATA{});
        for (int i = 0; i < 20; ++i) g_vDedicatedSurfaces[i].nWidth = i / 4 == 3 ? 16 : 256;
        for (int i = 16; i < 20; ++i) g_vDedicatedSurfaces[i].nWidth = 1280;
    }
    void TearDown() override {
        g_DD.bUseD3D = m_savedDd;
        g_SystemIni.Direct3D = m_savedIni;
        g_SystemData.m_bCompat986 = m_savedCompat;
        g_Database.m_vecBmpCharaExc = m_savedBmp;
        g_vDedicatedSurfaces.clear();
        for (auto& s : SurfaceTable) s = DDSURFACEDATA{};
    }
    static void Size(int slot, int w, int h) {
        SurfaceTable[slot].nWidth = w;
        SurfaceTable[slot].nHeight = h;
    }
    int m_savedDd = 0, m_savedIni = 0, m_savedCompat = 0;
    cCheckedVector<cDbBmpCharaExc> m_savedBmp;
};

DDSURFACEDATA* Slot(int n) { return &SurfaceTable[n]; }
DDSURFACEDATA* Own(int n) { return &g_vDedicatedSurfaces[n]; }

TEST_F(PaletteSpriteTable, SourcesAndFallbacks) {
    struct Case {
        const char* name;
        int d3d, compat, user, source, n, f, c, facing;
        DDSURFACEDATA* surface;
        int x, y, prepared, scale;
    } cases[] = {
        {"block 0", 0, 0, 0, 0, 0, 0, 0, 0, Slot(2), 0, 0, 0, 1},
        {"block 15: second column", 0, 0, 0, 0, 15, 3, 0, 0, Slot(2), 32, 0, 0, 1},
        {"block 29", 0, 0, 1, 0, 29, 0, 0, 1, Slot(2), 32, 448, 0, 1},
        {"block, Direct3D", 1, 0, 0, 0, 16, 0, 0, 0, Slot(3), 32, 32, 0, 1},
        {"shot 29", 0, 0, 0, 3, 29, 0, 0, 0, Slot(64), 0, 928, 0, 1},
        {"shot 30: third column", 0, 0, 0, 3, 30, 0, 0, 0, Slot(64), 64, 0, 0, 1},
        {"shot 30, chara facing right", 0, 0, 1, 3, 30, 0, 0, 1, Slot(65), 64, 0, 0, 1},
        {"shot 30, other user facing right", 0, 0, 0, 3, 30, 0, 0, 1, Slot(64), 64, 0, 0, 1},
        {"shot, Direct3D", 1, 0, 1, 3, 31, 0, 0, 1, Slot(65), 64, 32, 0, 1},
        {"item 16 frame 1", 0, 0, 2, 2, 16, 9, 1, 0, Slot(40), 96, 32, 0, 1},
        {"item 16, block user", 0, 0, 0, 2, 16, 1, 9, 0, Slot(40), 96, 32, 0, 1},
        {"item, Direct3D", 1, 0, 2, 2, 0, 0, 0, 0, Slot(41), 0, 0, 0, 1},
        {"chara column f + c", 0, 0, 1, 1, 3, 2, 1, 0, Slot(4), 96, 96, 0, 1},
        {"chara facing right", 0, 0, 1, 1, 3, 2, 1, 1, Slot(5), 96, 96, 0, 1},
        {"chara facing right, Direct3D", 1, 0, 1, 1, 3, 2, 1, 1, Slot(23), 96, 96, 0, 1},
        {"chara frame 20 of a chara", 0, 0, 1, 1, 3, 20, 0, 0, Slot(4), 640, 96, 0, 1},
        {"chara frame 19, other user", 0, 0, 0, 1, 3, 19, 0, 0, Slot(4), 608, 96, 0, 1},
        {"chara frame 20, other user", 0, 0, 0, 1, 3, 20, 0, 0, Slot(5), 0, 96, 0, 1},
        {"chara frame 21, other user", 0, 0, 2, 1, 3, 21, 5, 1, Slot(5), 32, 96, 0, 1},
        {"chara frame 20, Direct3D", 1, 0, 0, 1, 3, 20, 0, 0, Slot(23), 0, 96, 0, 1},
        {"short sheet", 0, 0, 0, 1, 16, 1, 0, 0, Slot(6), 32, 32, 0, 1},
        {"short sheet, column outside", 0, 0, 0, 1, 16, 2, 0, 0, Slot(4), 0, 0, 0, 1},
        {"short sheet, row outside", 0, 0, 0, 1, 17, 0, 0, 0, Slot(4), 0, 0, 0, 1},
        {"short sheet outside, Direct3D", 1, 0, 1, 1, 17, 0, 0, 1, Slot(22), 0, 0, 0, 1},
        {"chara sheet 9", 0, 0, 0, 1, 120, 0, 0, 0, Slot(4), 0, 0, 0, 1},
        {"chara -1", 0, 0, 0, 1, -1, 0, 0, 0, Slot(4), 0, 0, 0, 1},
        {"chara -15", 0, 0, 0, 1, -15, 0, 0, 0, Slot(4), 0, 0, 0, 1},
        {"chara negative column", 0, 0, 1, 1, 3, 0, -1, 0, Slot(4), 0, 0, 0, 1},
        {"own 1", 0, 0, 0, 4, 1, 9, 0, 0, Own(0), 32, 32, 0, 1},
        {"own 1, chara facing right", 0, 0, 1, 4, 1, 8, 1, 1, Own(1), 32, 32, 0, 1},
        {"own 1, Direct3D", 1, 0, 0, 4, 1, 9, 0, 0, Own(2), 32, 32, 0, 1},
        {"own 1, Direct3D facing right", 1, 0, 1, 4, 1, 9, 0, 1, Own(3), 32, 32, 0, 1},
        {"own 1, compat", 0, 1, 0, 4, 1, 9, 0, 0, Own(0), 288, 0, 0, 1},
        {"own 1, compat, frame 17", 0, 1, 0, 4, 1, 17, 0, 0, Own(0), 32, 32, 0, 1},
        {"own 2, large cells", 0, 0, 0, 4, 2, 5, 0, 0, Own(4), 64, 64, 1, 2},
        {"own 2, large cells, compat", 0, 1, 0, 4, 2, 5, 0, 0, Own(4), 320, 0, 1, 2},
        {"own 3, cell size 0", 0, 0, 0, 4, 3, 1, 0, 0, Slot(4), 0, 0, 0, 1},
        {"own 3, cell size 0, compat", 0, 1, 0, 4, 3, 1, 0, 0, Slot(4), 0, 0, 0, 1},
        {"own 4, narrower than a cell", 0, 0, 0, 4, 4, 1, 0, 0, Slot(4), 0, 0, 0, 1},
        {"own 4, narrow, compat", 0, 1, 0, 4, 4, 17, 0, 0, Own(12), 32, 32, 0, 1},
        {"own 5, 16 / 20 cells, compat", 0, 1, 0, 4, 5, 1, 0, 0, Slot(4), 0, 0, 0, 1},
        {"own 5, 20 x 32 cells", 0, 0, 0, 4, 5, 3, 0, 0, Own(16), 640, 640, 1, 20},
        {"own 0", 0, 0, 0, 4, 0, 0, 0, 0, Slot(4), 0, 0, 0, 1},
        {"own 6: no entry", 0, 0, 0, 4, 6, 0, 0, 0, Slot(4), 0, 0, 0, 1},
        {"own -1", 0, 0, 0, 4, -1, 0, 0, 0, Slot(4), 0, 0, 0, 1},
        {"unknown source", 0, 0, 0, 7, 1, 0, 0, 0, Slot(4), 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        g_DD.bUseD3D = c.d3d;
        g_SystemIni.Direct3D = 1;
        g_SystemData.m_bCompat986 = c.compat;
        cObject object;
        object.m_nFacing = c.facing;
        PaletteSprite sp;
        sp.bPrepared = 7;  // every lookup sets it
        GetPaletteSprite(sp, c.user, c.source, c.n, c.f, &object, c.c);
        EXPECT_EQ(sp.lpSurface, c.surface) << c.name;
        EXPECT_EQ(sp.sx, c.x) << c.name;
        EXPECT_EQ(sp.sy, c.y) << c.name;
        EXPECT_EQ(sp.bPrepared, c.prepared) << c.name;
        EXPECT_EQ(sp.nScale, c.scale) << c.name;
    }
}

TEST_F(PaletteSpriteTable, PairsAndModeChoice) {
    cObject right;
    right.m_nFacing = 1;
    PaletteSprite sp;
    g_DD.bUseD3D = 0;
    GetPaletteSprite(sp, 1, 1, 3, 0, &right, 0);
    EXPECT_EQ(sp.lpDD, Slot(5));
    EXPECT_EQ(sp.lpDDMirror, Slot(4));
    EXPECT_EQ(sp.lpD3D, Slot(23));
    EXPECT_EQ(sp.lpD3DMirror, Slot(22));
    EXPECT_EQ(sp.lpSurfaceMirror, Slot(4));

    // Direct3D running with its setting off: the DirectDraw sheets.
    g_DD.bUseD3D = 1;
    g_SystemIni.Direct3D = 0;
    EXPECT_FALSE(UseDirect3DSheets());
    GetPaletteSprite(sp, 1, 1, 3, 0, &right, 0);
    EXPECT_EQ(sp.lpSurface, Slot(5));
    g_SystemIni.Direct3D = 1;
    EXPECT_TRUE(UseDirect3DSheets());

    // Without an object a chara user faces left.
    GetPaletteSprite(sp, 1, 1, 3, 0, nullptr, 0);
    EXPECT_EQ(sp.lpSurface, Slot(22));
}

TEST_F(PaletteSpriteTable, IconSurfacesPerMode) {
    const struct {
        int d3d, ini, stretch;
        int overlay, stretchWork, colorWork;
    } cases[] = {
        {0, 0, 0, 43, 69, 69}, {0, 0, 1, 43, 68, 69}, {1, 1, 1, 44, 69, 71}, {1, 0, 0, 43, 69, 71},
    };
    const int savedStretch = g_SystemIni.DD_VideoStretch;
    for (const auto& c : cases) {
        g_DD.bUseD3D = c.d3d;
        g_SystemIni.Direct3D = c.ini;
        g_SystemIni.DD_VideoStretch = c.stretch;
        SelectIconSurfaces();
        EXPECT_EQ(g_IconSurfaces.lpItemIcons, Slot(42));
        EXPECT_EQ(g_IconSurfaces.lpOverlay, Slot(c.overlay));
        EXPECT_EQ(g_IconSurfaces.lpStretchWork, Slot(c.stretchWork));
        EXPECT_EQ(g_IconSurfaces.lpColorWork, Slot(c.colorWork));
    }
    g_SystemIni.DD_VideoStretch = savedStretch;
}

}  // namespace
