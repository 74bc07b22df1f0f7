// A scripted stage frame drawn by the draw pass, compared with golden
// images (UPDATE_GOLDEN=1 writes them): two backgrounds (parallax 0 and 1),
// blocks behind and in front, the hero, charas with a gauge, an item, shots,
// the status bar and the time.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/scene_state.h"
#include "media/scene.h"
#include "records/system_ini.h"
#include "frontend/data/game_progress.h"
#include "media/gfx/dd_frame.h"
#include "media/text/font.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/draw_stage.h"
#include "play/map_cell.h"
#include "play/palette_sprite.h"
#include "play/scene_play.h"
#include "play/stage_resources.h"
#include "platform/cp932.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tests/play/place_object.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/media/text/png_golden.h"

namespace {

// An 8-bit picture whose index changes every 4 dots across and 8 down,
// with a transparent frame one dot wide around every 32 x 32 cell.
std::vector<uint8_t> Pattern(int w, int h, int base) {
    std::vector<uint32_t> colors(256);
    for (int i = 0; i < 256; ++i) colors[size_t(i)] = gfxtest::PalColor(i);
    std::vector<uint8_t> px(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool edge = x % 32 == 0 || y % 32 == 0;
            px[size_t(y) * w + x] = edge ? 0 : uint8_t(base + (x / 4 + y / 8) % 40);
        }
    return testbmp::Make8(w, h, colors, px);
}

using playtest::PlaceObject;

class DrawStageGolden : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        m_savedScene = g_lpPlayScene;
        g_lpPlayScene = &m_scene;
        m_savedStage = g_Stage;
        m_savedSystem = g_SystemData;
        m_savedProgress = g_Progress;
        m_savedIni = g_SystemIni.Direct3D;
        testbmp::Write("bmp\\Block.bmp", Pattern(64, 96, 20));
        testbmp::Write("bmp\\Character1.bmp", Pattern(128, 96, 60));
        testbmp::Write("bmp\\Shot.bmp", Pattern(128, 480, 100));
        testbmp::Write("bmp\\Item.bmp", Pattern(64, 64, 140));
        testbmp::Write("bmp\\StatusWindow.bmp", Pattern(640, 20, 180));
        testbmp::Write("bmp\\Accessory.bmp", Pattern(128, 192, 30));
        testbmp::Write("bmp\\Word.bmp", Pattern(320, 192, 70));
        testbmp::Write("bmp\\Mark.bmp", Pattern(128, 200, 110));
        testbmp::Write("bmp\\Far.bmp", Pattern(64, 64, 150));
        testbmp::Write("bmp\\Near.bmp", Pattern(96, 64, 190));
    }
    void TearDown() override {
        for (Font& f : g_Fonts) {
            f.Release();
            g_FontList.erase(std::remove(g_FontList.begin(), g_FontList.end(), &f), g_FontList.end());
        }
        ReleaseStageResources();
        BuildBitmapTable();
        g_vPlayers.clear();
        g_lstCharas.clear();
        g_lstItems.clear();
        g_vMapCells.clear();
        g_Stage = m_savedStage;
        g_SystemData = m_savedSystem;
        g_Progress = m_savedProgress;
        g_SystemIni.Direct3D = m_savedIni;
        g_lpPlayScene = m_savedScene;
        SelectIconSurfaces();
        GfxTest::TearDown();
    }
    bool Scene(int d3d, int bpp) {
        g_SystemIni.Direct3D = d3d;
        g_Stage.m_vecBackground.assign(2, cEdBackground{});
        g_Stage.m_vecBackground[0].m_strFile = "bmp\\Far.bmp";
        g_Stage.m_vecBackground[0].m_dParallaxX = g_Stage.m_vecBackground[0].m_dParallaxY = 0;
        g_Stage.m_vecBackground[1].m_strFile = "bmp\\Near.bmp";
        g_Stage.m_vecBackground[1].m_dParallaxX = g_Stage.m_vecBackground[1].m_dParallaxY = 1;
        SetBackgroundFiles(g_Stage.m_vecBackground);
        if (!InitAll(d3d, bpp, 0)) return false;
        if (!LoadPlaySurfaces(false)) return false;
        if (!g_Fonts[0].InitFont(SJ("ＭＳ ゴシック"), 0, 12, 12, 12, 241, 0, 1, nullptr, 1, 240, nullptr, 0) ||
            !g_Fonts[1].InitFont(SJ("ＭＳ ゴシック"), 0, 16, 16, 16, 241, 0, 1, nullptr, 1, 240, nullptr, 0))
            return false;
        SelectIconSurfaces();
        BuildShotSheets();
        m_scene.m_ScrollX.Init(0, 40);
        m_scene.m_ScrollY.Init(1, 30);
        m_scene.m_ScrollX.m_dPos = 347;
        m_scene.m_ScrollY.m_dPos = 330;
        m_scene.m_nState = CSCENEPLAY_PLAY;
        m_scene.m_nTimeLeft = 123;
        m_scene.m_bShowStatus = 1;
        g_Stage.m_bEightLayers = 1;
        g_Progress.m_nScore = 4321;
        g_Progress.m_nStageScore = 50;
        g_Progress.m_nLives = 999999;
        auto& items = g_SystemData.m_vecStatusItems;
        items.assign(5, cSysStatusItem{});
        for (int i = 0; i < 5; ++i) {
            items[size_t(i)].m_bShow = 1;
            items[size_t(i)].m_bIcon = i != 1;
            items[size_t(i)].m_nDigits = 5;
            items[size_t(i)].m_nWarnLevel = 3;
        }
        items[1].m_strLabel = "SC";
        // Blocks: a floor behind the objects, a pillar in front.
        g_vMapCells.assign(size_t(m_scene.m_ScrollX.m_nStride) * m_scene.m_ScrollY.m_nCells, cMapCell{});
        auto cell = [&](int c, int r) -> cMapCell& {
            return g_vMapCells[size_t(c + (r << m_scene.m_ScrollX.m_nShift))];
        };
        for (int c = 10; c < 32; ++c) {
            cell(c, 24).m_nGraphic = 1;
            cell(c, 24).m_nGraphicKind = 0;
        }
        for (int r = 20; r < 24; ++r) {
            cell(16, r).m_nGraphic = 2;
            cell(16, r).m_nGraphicKind = 0;
            cell(16, r).m_nLayer = 1;
        }
        g_vPlayers.resize(1);
        cCharaPlayer& hero = g_vPlayers[0];
        PlaceObject(hero, 1, 347 + 160, 330 + 410 - 32);
        hero.m_nGraphic = 1;
        hero.m_Def.m_nZ = 3;
        hero.m_Def.m_nMaxHP = 10;
        hero.m_nHP = 2;
        hero.m_Def.m_nMaxSP = 10;
        hero.m_nSP = 7;
        g_lstCharas.resize(2);
        PlaceObject(g_lstCharas.front(), 10, 347 + 300, 330 + 410 - 32);
        g_lstCharas.front().m_nGraphic = 2;
        g_lstCharas.front().m_nFacing = 1;
        g_lstCharas.front().m_HPGauge = CharaGauge{100, 30, 8.0, 0.2};
        PlaceObject(g_lstCharas.back(), 11, 347 + 500, 330 + 300);
        g_lstCharas.back().m_nGraphic = 1;
        g_lstCharas.back().m_Def.m_nSize = 2;
        g_lstCharas.back().m_nDrawWidth = g_lstCharas.back().m_nDrawHeight = 64;
        g_lstItems.resize(1);
        PlaceObject(g_lstItems.front(), 20, 347 + 400, 330 + 410 - 32);
        g_lstItems.front().m_Def.m_nGraphic = 1;
        g_lstItems.front().m_Def.m_nSize = 1;
        m_scene.m_lstShots.resize(2);
        PlaceObject(m_scene.m_lstShots.front(), 30, 347 + 220, 330 + 380);
        m_scene.m_lstShots.front().m_nGraphic = 1;
        PlaceObject(m_scene.m_lstShots.back(), 31, 347 + 250, 330 + 360);
        m_scene.m_lstShots.back().m_nGraphic = 30;
        m_scene.m_lstShots.back().m_nFacing = 1;
        for (cShot& s : m_scene.m_lstShots) s.m_nDrawWidth = s.m_nDrawHeight = 16;
        return true;
    }
    std::string Compare(const char* name) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        if (!DDSurfaceToXrgb8888(&g_BackBuffer, px, w, h)) return "no frame";
        for (auto& p : px) p &= 0xFFFFFF;
        return texttest::CompareGoldenIn("tests/play/golden", name, w, h, px);
    }
    cScenePlay m_scene;
    cScene* m_savedScene = nullptr;
    cStage m_savedStage;
    cSystemData m_savedSystem;
    cGameProgress m_savedProgress;
    int m_savedIni = 0;
};

TEST_F(DrawStageGolden, Direct3D32) {
    ASSERT_TRUE(Scene(1, 32));
    DrawStage(m_scene, 1, 0, 1, 0);
    EXPECT_EQ(Compare("stage_frame_d3d32.png"), "");
}

TEST_F(DrawStageGolden, DirectDraw8) {
    ASSERT_TRUE(Scene(0, 8));
    DrawStage(m_scene, 1, 0, 1, 0);
    EXPECT_EQ(Compare("stage_frame_dd8.png"), "");
}

}  // namespace
