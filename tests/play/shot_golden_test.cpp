// Shots (sizes 1 and 2, both facings) and swords (in front of owners
// facing either way, size 1 and 2) drawn at their screen boxes, compared
// with a golden image (UPDATE_GOLDEN=1 writes it).
#include <gtest/gtest.h>

#include "base/scene_state.h"
#include "media/scene.h"
#include "records/system_ini.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "media/gfx/dd_surface.h"
#include "play/chara_computer.h"
#include "play/scene_play.h"
#include "play/shot.h"
#include "play/shot_volley.h"
#include "play/stage_resources.h"
#include "records/cmd_kinds.h"
#include "records/database.h"
#include "records/stage.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/media/text/png_golden.h"

namespace {

// Cells of cw x ch: a transparent margin of one dot, a colour per cell and
// a dark mark in the top-left quarter that shows mirroring.
std::vector<uint8_t> Cells(int w, int h, int cw, int ch, int seed) {
    std::vector<uint32_t> colors(256);
    for (int i = 0; i < 256; ++i) colors[size_t(i)] = gfxtest::PalColor(i);
    std::vector<uint8_t> px(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int lx = x % cw, ly = y % ch, k = (x / cw) * 31 + y / ch;
            uint8_t v = 0;
            if (lx > 0 && ly > 0 && lx < cw - 1 && ly < ch - 1) v = uint8_t(1 + (k * 37 + seed) % 200);
            if (lx > 0 && ly > 0 && lx < cw / 2 && ly < ch / 2) v = 250;
            px[size_t(y) * w + x] = v;
        }
    return testbmp::Make8(w, h, colors, px);
}

class ShotGolden : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        m_savedScene = g_lpPlayScene;
        g_lpPlayScene = &m_scene;
        m_savedStage = g_Stage;
        m_savedSwords = g_Database.m_vecSwordType;
        m_savedIni = g_SystemIni.Direct3D;
        testbmp::Write("bmp\\Shot.bmp", Cells(128, 480, 16, 16, 5));
        testbmp::Write("bmp\\SwordL.bmp", Cells(64, 32, 32, 16, 90));
        testbmp::Write("bmp\\SwordR.bmp", Cells(64, 32, 32, 16, 140));
    }
    void TearDown() override {
        m_shots.clear();
        g_lstCharas.clear();
        ReleaseStageResources();
        g_Database.m_vecSwordType = m_savedSwords;
        g_Stage = m_savedStage;
        g_SystemIni.Direct3D = m_savedIni;
        g_lpPlayScene = m_savedScene;
        GfxTest::TearDown();
    }
    bool Start() {
        g_SystemIni.Direct3D = 1;
        if (!InitAll(1, 32, 0)) return false;
        const int slots[] = {20, 21, 38, 39};
        if (!DDLoadSurfaces(SurfaceTable, slots, 4)) return false;
        cDbSwordType type;
        type.m_strFile = "bmp\\SwordL.bmp";
        type.m_strFile2 = "bmp\\SwordR.bmp";
        type.m_vecParts.resize(1);
        cDbSwordPart& part = type.m_vecParts[0];
        part.m_nCellX = 32;
        part.m_nCellY = 0;
        part.m_nWidth = 24;
        part.m_nHeight = 12;
        part.m_nDuration = 10;
        part.m_nOffsetY = 2;
        g_Database.m_vecSwordType = {cDbSwordType(), type};
        LoadSwordBitmaps();
        g_Stage.ApplySpeedLevel(1);
        m_scene.m_ScrollX.Init(0, 20);
        m_scene.m_ScrollY.Init(1, 15);
        m_scene.m_ScrollX.m_dPos = 100;
        m_scene.m_ScrollY.m_dPos = 50;
        return true;
    }
    cCharaComputer& Owner(int key, int x, int y, int facing) {
        cCharaComputer& c = g_lstCharas.emplace_back();
        c.InitChara(nullptr, nullptr, 0);
        c.m_nKey = key;
        c.m_nSide = 1;
        c.m_nFacing = facing;
        c.m_nWidth = c.m_nDrawWidth = c.m_nBaseDrawWidth = 32;
        c.m_nHeight = c.m_nDrawHeight = c.m_nBaseDrawHeight = 32;
        c.m_dX = x + 100;
        c.m_dY = y + 50;
        c.UpdatePosX();
        c.UpdatePosY();
        return c;
    }
    // A flying shot at screen (x, y) moving left or right.
    void Shot(cChara& owner, int x, int y, int size, int graphic, int facing) {
        cEdShot def;
        def.m_nSize = int8_t(size);
        def.m_nGraphic = int16_t(graphic);
        ShotVolley v;
        v.nX = x + 100;
        v.nY = y + 50;
        v.dVX = facing ? 2 : -2;
        m_shots.emplace_back().InitShot(int(m_shots.size()) + 10, owner, CMD_SHOT, def, v);
    }
    void Sword(cChara& owner, int size) {
        cEdShot def;
        def.m_nSize = int8_t(size);
        def.m_nTrajectory = 1;
        cShot& s = m_shots.emplace_back();
        s.InitShot(int(m_shots.size()) + 10, owner, CMD_SWORD, def, ShotVolley{});
        s.StepShot();
    }
    std::string Compare(const char* name) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        if (!DDSurfaceToXrgb8888(&g_BackBuffer, px, w, h)) return "no frame";
        const int cw = 320, ch = 160;
        std::vector<uint32_t> crop(size_t(cw) * ch);
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) crop[size_t(y) * cw + x] = px[size_t(y) * w + x] & 0xFFFFFF;
        return texttest::CompareGoldenIn("tests/play/golden", name, cw, ch, crop);
    }

    cScenePlay m_scene;
    cScene* m_savedScene = nullptr;
    cStage m_savedStage;
    cCheckedVector<cDbSwordType> m_savedSwords;
    int m_savedIni = 0;
    std::list<cShot> m_shots;
};

TEST_F(ShotGolden, ShotsAndSwords) {
    ASSERT_TRUE(Start());
    cCharaComputer& left = Owner(2, 80, 100, 0);
    cCharaComputer& right = Owner(3, 200, 100, 1);
    Shot(left, 10, 10, 1, 1, 0);
    Shot(left, 40, 10, 1, 31, 1);
    Shot(left, 70, 10, 2, 2, 0);
    Shot(left, 110, 10, 2, 32, 1);
    Sword(left, 1);
    Sword(right, 2);
    DDFillSurface(&g_BackBuffer, 3);
    int frame = 0;
    for (cShot& s : m_shots) {
        s.UpdateScreenRect();
        // The later shots are drawn a tick on: the second cell.
        for (int i = 0; i < 8 * (frame++ % 2); ++i) s.m_Anime.AdvanceFrame();
        DrawShot(s, &g_BackBuffer, 0);
    }
    EXPECT_EQ(Compare("shots_d3d32.png"), "");
}

}  // namespace
