// The draw pass of a busy PLAY frame: two backgrounds, a full screen of
// blocks in both layers, 100 charas, 200 shots and the status bar, eight
// layers. Targets: median 2 ms in Direct3D 32-bit, 3 ms in DirectDraw 8-bit.
#include <benchmark/benchmark.h>

#include "app/scene_manager.h"
#include "frontend/data/game_progress.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/dd_surface.h"
#include "media/text/font.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/draw_stage.h"
#include "play/map_cell.h"
#include "play/palette_sprite.h"
#include "play/scene_play.h"
#include "platform/cp932.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tests/play/place_object.h"

namespace {

cScenePlay g_Scene;

using playtest::PlaceObject;

bool Build(int d3d, int bpp) {
    DDEnd();
    BuildBitmapTable();
    if (!DDInit(d3d, nullptr, 640, 480, bpp, 0, d3d ? 1 : 0, 1, 60, 0, SurfaceTable, BitmapTable, kSurfaceSlots, 0))
        return false;
    for (int i = 0; i < 256; ++i)
        g_Palette[i][0] = uint8_t(i), g_Palette[i][1] = uint8_t(255 - i), g_Palette[i][2] = uint8_t(i * 7);
    // Every slot an image of its own size (the sheets 640 x 480), striped.
    for (int s = 1; s < kSurfaceSlots; ++s) {
        const BMPSLOT& b = BitmapTable[s];
        const bool empty = IsEmptyName(b.strFileName);
        const int w = empty ? b.nWidth : 640, h = empty ? b.nHeight : 480;
        if (!DDCreateSurface(&SurfaceTable[s], w, h, 1, 0, 0, 0, 0)) return false;
        for (int x = 0; x < w; x += 8) DDFillRect(&SurfaceTable[s], x, 0, 6, h, uint32_t(16 + (x / 8 + s) % 200));
    }
    g_lpPlayScene = &g_Scene;
    SelectIconSurfaces();
    g_Fonts[0].InitFont(SJ("ＭＳ ゴシック"), 0, 12, 12, 12, 241, 0, 1, nullptr, 1, 240, nullptr, 0);
    g_Fonts[1].InitFont(SJ("ＭＳ ゴシック"), 0, 16, 16, 16, 241, 0, 1, nullptr, 1, 240, nullptr, 0);
    g_Scene.m_ScrollX.Init(0, 60);
    g_Scene.m_ScrollY.Init(1, 40);
    g_Scene.m_ScrollX.m_dPos = 400;
    g_Scene.m_ScrollY.m_dPos = 350;
    g_Scene.m_nState = CSCENEPLAY_PLAY;
    g_Scene.m_bShowStatus = 1;
    g_Scene.m_nTimeLeft = 300;
    g_Stage.m_bEightLayers = 1;
    g_Stage.m_vecBackground.assign(2, cEdBackground{});
    g_Stage.m_vecBackground[1].m_dParallaxX = 1;
    auto& items = g_SystemData.m_vecStatusItems;
    items.assign(5, cSysStatusItem{});
    for (auto& it : items) it.m_bShow = it.m_bIcon = 1, it.m_nDigits = 6;
    g_Progress.m_nScore = 123456;
    g_vMapCells.assign(size_t(g_Scene.m_ScrollX.m_nStride) * g_Scene.m_ScrollY.m_nCells, cMapCell{});
    for (size_t i = 0; i < g_vMapCells.size(); ++i) {
        g_vMapCells[i].m_nGraphic = int16_t(1 + i % 40);
        g_vMapCells[i].m_nGraphicKind = 0;
        g_vMapCells[i].m_nLayer = int8_t(i % 2);
    }
    g_vPlayers.assign(1, cCharaPlayer{});
    PlaceObject(g_vPlayers[0], 1, 700, 600);
    g_lstCharas.clear();
    for (int i = 0; i < 100; ++i) {
        g_lstCharas.emplace_back();
        PlaceObject(g_lstCharas.back(), 100 + i, 400 + (i * 37) % 600, 350 + (i * 53) % 440);
        g_lstCharas.back().m_nGraphic = i % 30;
        g_lstCharas.back().m_Def.m_nZ = int8_t(i % 8);
    }
    g_Scene.m_lstShots.clear();
    for (int i = 0; i < 200; ++i) {
        g_Scene.m_lstShots.emplace_back();
        PlaceObject(g_Scene.m_lstShots.back(), 1000 + i, 400 + (i * 71) % 620, 350 + (i * 29) % 460);
        g_Scene.m_lstShots.back().m_EdShot.m_nZ = int8_t(i % 8);
        g_Scene.m_lstShots.back().m_EdShot.m_nGraphic = int16_t(i % 60);
    }
    return true;
}

bool SetUp(benchmark::State& state, int d3d, int bpp) {
    g_DDFrameLimiter = [](int, int, DDSURFACEDATA*) { return true; };
    if (Build(d3d, bpp)) return true;
    state.SkipWithError("set-up failed");
    return false;
}

void TearDown() {
    g_lstCharas.clear();
    g_vPlayers.clear();
    g_vMapCells.clear();
    g_Scene.m_lstShots.clear();
    for (Font& f : g_Fonts) f.Release();
    g_FontList.clear();
    for (auto& s : SurfaceTable) DDReleaseSurfaceData(&s);
    g_lpPlayScene = nullptr;
    DDEnd();
}

void BM_DrawStageDirect3D32(benchmark::State& state) {
    if (!SetUp(state, 1, 32)) return;
    for (auto _ : state) {
        DDBeginScene();
        DrawStage(g_Scene, 1, 0, 1, 0);
        DDEndScene();
    }
    TearDown();
}
BENCHMARK(BM_DrawStageDirect3D32)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DrawStageDirectDraw8(benchmark::State& state) {
    if (!SetUp(state, 0, 8)) return;
    for (auto _ : state) DrawStage(g_Scene, 1, 0, 1, 0);
    TearDown();
}
BENCHMARK(BM_DrawStageDirectDraw8)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
