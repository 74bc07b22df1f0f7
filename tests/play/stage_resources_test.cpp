// Stage resources on a real device: the database surfaces with their
// options and aliases, the background slots, the shot sheets, the restore
// of the run-time surfaces after a loss and the release at the end.
#include <gtest/gtest.h>

#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/dd_frame.h"
#include "media/media_services.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/stage_resources.h"
#include "platform/cp932.h"
#include "records/database.h"
#include "tests/media/gfx/gfx_fixture.h"

namespace {

class StageResources : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        m_saved = g_Database;
        testbmp::Write("bmp\\Own.bmp", gfxtest::SheetBmp8(64, 32));
        testbmp::Write("bmp\\Big.bmp", gfxtest::SheetBmp8(800, 600));
        testbmp::Write("bmp\\Fits.bmp", gfxtest::SheetBmp8(640, 480));
    }
    void TearDown() override {
        ReleaseStageResources();
        g_Database = m_saved;
        BuildBitmapTable();
        GfxTest::TearDown();
    }
    static uint32_t Pixel(DDSURFACEDATA* sd, int x, int y) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        if (!DDSurfaceToXrgb8888(sd, px, w, h) || x >= w || y >= h) return 0xDEADBEEF;
        return px[size_t(y) * w + x] & 0xFFFFFF;
    }
    cDatabase m_saved;
};

TEST_F(StageResources, DedicatedBitmapsSkipEntryZeroAndCarryTheirOptions) {
    ASSERT_TRUE(InitAll(0, 16, 1));
    g_Database.m_vecBmpCharaExc.assign(1, cDbBmpCharaExc{});
    LoadDedicatedBitmaps();
    EXPECT_TRUE(g_vDedicatedSurfaces.empty());
    EXPECT_TRUE(g_vDedicatedSlots.empty());

    g_Database.m_vecBmpCharaExc.resize(3);
    g_Database.m_vecBmpCharaExc[1].m_strFile = "bmp\\Own.bmp";
    g_Database.m_vecBmpCharaExc[2].m_strFile = "bmp\\Own.bmp";
    g_Database.m_vecBmpCharaExc[2].m_bCustomCell = 1;
    g_Database.m_vecBmpCharaExc[2].m_nCellSize = 2;
    LoadDedicatedBitmaps();
    ASSERT_EQ(g_vDedicatedSurfaces.size(), 8u);
    struct Row {
        int memory, mirror;
    } rows[8] = {{0, 0}, {0, 32}, {1, 0}, {1, 32}, {0, 0}, {0, 64}, {1, 0}, {1, 64}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(g_vDedicatedSlots[size_t(i)].nMemory, rows[i].memory);
        EXPECT_EQ(g_vDedicatedSlots[size_t(i)].nMirrorW, rows[i].mirror);
        EXPECT_EQ(g_vDedicatedSurfaces[size_t(i)].nWidth, 64);
        EXPECT_EQ(g_vDedicatedSurfaces[size_t(i)].lpAlias, i % 4 ? &g_vDedicatedSurfaces[size_t(i / 4 * 4)] : nullptr);
    }
    // Mirrored cell by cell: the first column of a 32-dot cell comes last.
    EXPECT_EQ(Pixel(&g_vDedicatedSurfaces[1], 31, 0), Pixel(&g_vDedicatedSurfaces[0], 0, 0));
    EXPECT_EQ(Pixel(&g_vDedicatedSurfaces[1], 0, 0), Pixel(&g_vDedicatedSurfaces[0], 31, 0));
}

TEST_F(StageResources, SwordWithoutItsSecondFileStillGetsFourSurfaces) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    g_Database.m_vecSwordType.assign(1, cDbSwordType{});
    g_Database.m_vecSwordType[0].m_strFile = "bmp\\Own.bmp";
    g_Database.m_vecSwordType[0].m_strFile2 = "";
    g_Database.m_vecEffect.assign(2, cDbEffect{});
    g_Database.m_vecEffect[1].m_strFile = "bmp\\Own.bmp";
    LoadSwordBitmaps();
    LoadEffectBitmaps();
    ASSERT_EQ(g_vSwordSurfaces.size(), 4u);
    EXPECT_EQ(g_vSwordSurfaces[0].nWidth, 64);
    EXPECT_EQ(g_vSwordSurfaces[2].nWidth, 64);
    EXPECT_EQ(g_vSwordSurfaces[1].nWidth, 0);
    EXPECT_EQ(g_vSwordSurfaces[3].nWidth, 0);
    EXPECT_EQ(g_vSwordSurfaces[2].lpAlias, &g_vSwordSurfaces[0]);
    EXPECT_EQ(g_vSwordSurfaces[3].lpAlias, &g_vSwordSurfaces[1]);
    EXPECT_EQ(g_vSwordSlots[2].bAlias, 1);  // shared in Direct3D
    const std::string log = ReadText("ZI_Vare.txt");
    const std::string failed = SJ("ソード  読み込み失敗！");
    size_t count = 0;
    for (size_t at = log.find(failed); at != std::string::npos; at = log.find(failed, at + 1)) ++count;
    EXPECT_EQ(count, 2u);
    ASSERT_EQ(g_vEffectSurfaces.size(), 2u);
    EXPECT_EQ(g_vEffectSurfaces[1].lpAlias, &g_vEffectSurfaces[0]);
    EXPECT_EQ(g_vEffectSlots[1].nMemory, 1);
}

TEST_F(StageResources, BackgroundSlotsFollowTheStage) {
    ASSERT_TRUE(InitAll(0, 8, 1));
    std::vector<cEdBackground> bgs(5);
    bgs[0].m_strFile = "bmp\\Big.bmp";
    bgs[1].m_strFile = "bmp\\Fits.bmp";
    bgs[2].m_strFile = "bmp\\Missing.bmp";
    bgs[3].m_strFile = "bmp\\Fits.bmp";
    bgs[3].m_bFill = 1;
    bgs[4].m_strFile = "bmp\\Own.bmp";
    SetBackgroundFiles(bgs);
    EXPECT_EQ(BitmapTable[56].nMemory, 1);  // 800 x 600 in system memory
    EXPECT_EQ(BitmapTable[57].nMemory, 0);
    EXPECT_EQ(BitmapTable[58].nMemory, 0);  // unreadable
    EXPECT_EQ(BitmapTable[59].strFileName, "");
    EXPECT_EQ(BitmapTable[63].strFileName, "");
    ASSERT_TRUE(LoadPlaySurfaces(true));
    EXPECT_EQ(SurfaceTable[56].nWidth, 800);
    EXPECT_EQ(SurfaceTable[56].nMemory, 1);
    EXPECT_EQ(SurfaceTable[57].nMemory, 0);
    EXPECT_EQ(SurfaceTable[59].nWidth, 0);
    EXPECT_EQ(SurfaceTable[60].nWidth, 64);
}

TEST_F(StageResources, ShotSheetsCentreEachCellInA32DotCell) {
    // Shot bitmap: 128 x 480, every 16 x 16 cell one colour index
    // 1 + column + 8 x row (rows 0..29).
    std::vector<uint32_t> colors(256);
    for (int i = 0; i < 256; ++i) colors[size_t(i)] = gfxtest::PalColor(i);
    std::vector<uint8_t> px(128 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 128; ++x) px[size_t(y) * 128 + x] = uint8_t(1 + x / 16 + 8 * (y / 16));
    testbmp::Write("bmp\\Shot.bmp", testbmp::Make8(128, 480, colors, px));
    ASSERT_TRUE(InitAll(0, 32, 1));
    BuildShotSheets();
    DDSURFACEDATA* sheet = &SurfaceTable[64];
    struct Probe {
        int x, y, index;
    } probes[] = {
        {8, 8, 1},            // row 0, column 0: the left half of shot pair 0
        {40, 8, 2},           // its right half
        {8 + 64, 8, 3},       // pair 1
        {40 + 64 * 3, 8 + 32 * 29 + 15, 8 + 8 * 29},  // last row, last pair, bottom line
    };
    for (const Probe& p : probes) EXPECT_EQ(Pixel(sheet, p.x, p.y), gfxtest::PalColor(p.index)) << p.x << "," << p.y;
    EXPECT_EQ(Pixel(sheet, 0, 0), Pixel(sheet, 7, 7));  // cleared between the cells
    EXPECT_NE(Pixel(sheet, 0, 0), gfxtest::PalColor(1));
}

TEST_F(StageResources, ALostSurfaceOfTheContainersIsRestoredFromItsFile) {
    ASSERT_TRUE(InitAll(0, 16, 1));
    g_Database.m_vecBmpCharaExc.resize(2);
    g_Database.m_vecBmpCharaExc[1].m_strFile = "bmp\\Own.bmp";
    LoadDedicatedBitmaps();
    g_Database.m_vecEffect.assign(2, cDbEffect{});
    g_Database.m_vecEffect[1].m_strFile = "bmp\\Own.bmp";
    LoadEffectBitmaps();
    const uint32_t before = Pixel(&g_vDedicatedSurfaces[0], 5, 5);
    for (DDSURFACEDATA* s : {&g_vDedicatedSurfaces[0], &g_vEffectSurfaces[0]}) {
        s->lpDD->lpSurface->lost = true;
        DDFillSurface(s, 0);
    }
    EXPECT_TRUE(DDRestoreRunTimeSurfaces());
    EXPECT_FALSE(g_vDedicatedSurfaces[0].lpDD->lpSurface->lost);
    EXPECT_FALSE(g_vEffectSurfaces[0].lpDD->lpSurface->lost);
    EXPECT_EQ(Pixel(&g_vDedicatedSurfaces[0], 5, 5), before);
    // A file gone since: the check fails.
    g_vEffectSurfaces[0].lpDD->lpSurface->lost = true;
    g_vEffectSurfaces[0].strFileName = "bmp\\Gone.bmp";
    EXPECT_FALSE(DDRestoreRunTimeSurfaces());
    // Release at the end empties every container.
    g_lstRunTimeSurfaces.emplace_back();
    g_lstRunTimeSlots.emplace_back();
    g_lstScreenEffectSurfaces.emplace_back();
    ReleaseStageResources();
    EXPECT_TRUE(g_vDedicatedSurfaces.empty() && g_vEffectSurfaces.empty() && g_lstRunTimeSurfaces.empty() &&
                g_lstRunTimeSlots.empty() && g_lstScreenEffectSurfaces.empty());
    EXPECT_TRUE(SurfaceTable[64].lpDD == nullptr && SurfaceTable[64].lpDT == nullptr);
}

}  // namespace
