// One PLAY frame with its draw pass on a Direct3D 32-bit device: a stage of
// 60 x 20 cells with the hero, 100 charas and 200 shots at speed level 4
// (four physics sub-steps). Target: median 5 ms.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "app/scene_manager.h"
#include "frontend/data/game_progress.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/dd_surface.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/map_cell.h"
#include "play/scene_play.h"
#include "play/stage_setup.h"
#include "records/stage.h"
#include "tests/play/place_object.h"

namespace {

cScenePlay* g_Scene = nullptr;

cEdChara Placed(int x, int y, int side) {
    cEdChara c;
    c.m_nX = static_cast<int16_t>(x);
    c.m_nY = static_cast<int16_t>(y);
    c.m_nSide = static_cast<int8_t>(side);
    c.m_nGraphic = 1;
    c.m_nGroup = static_cast<int8_t>(side);
    c.m_nMaxHP = 1000000;
    return c;
}

bool Build() {
    DDEnd();
    BuildBitmapTable();
    if (!DDInit(1, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, kSurfaceSlots, 0)) return false;
    for (int s = 1; s < kSurfaceSlots; ++s) {
        const BMPSLOT& b = BitmapTable[s];
        const bool empty = IsEmptyName(b.strFileName);
        if (!DDCreateSurface(&SurfaceTable[s], empty ? b.nWidth : 640, empty ? b.nHeight : 480, 1, 0, 0, 0, 0))
            return false;
    }
    g_Scene = new cScenePlay();
    g_lpPlayScene = g_Scene;
    cStage stage;
    stage.m_nWidth = 60;
    stage.m_nHeight = 20;
    stage.m_nPixelWidth = 60 * 32;
    stage.m_nPixelHeight = 20 * 32;
    stage.m_nSpeedLevel = 4;
    stage.m_vecPlacedChara.clear();
    stage.m_vecPlacedItem.clear();
    stage.m_vecPlacedBlock.clear();
    stage.m_vecPlacedChara.push_back(Placed(3, 10, 0));
    for (int i = 0; i < 100; ++i) stage.m_vecPlacedChara.push_back(Placed(5 + (i * 7) % 50, 2 + (i * 3) % 16, 1));
    for (int x = 0; x < 60; ++x) {
        cEdBlock& b = stage.m_vecPlacedBlock.emplace_back();
        b.m_nX = static_cast<int16_t>(x);
        b.m_nY = 19;
        b.m_nGraphic = 1;
        b.m_nHitMode = cEdBlock::HIT_SOLID;
    }
    g_Stage = stage;
    g_Stage.ApplySpeedLevel(4);
    g_StageStart.TakeStartCopyOf(g_Stage);
    g_HeroDef = g_Stage.m_vecPlacedChara[0];
    g_Scene->SetupStage(1, 0);
    g_Scene->m_nState = CSCENEPLAY_PLAY;
    return !g_vPlayers.empty();
}

// 200 shots that stay (their motion is the shots' own work).
void RefillShots() {
    if (g_Scene->m_lstShots.size() >= 200) return;
    g_Scene->m_lstShots.clear();
    g_Scene->m_vShotGroups.assign(8, {});
    for (int i = 0; i < 200; ++i) {
        cShot& s = g_Scene->m_lstShots.emplace_back();
        playtest::PlaceObject(s, 1000 + i, 400 + (i * 71) % 1200, 350 + (i * 29) % 300);
        s.m_nGroup = 2;
        s.m_adHitBox[0] = s.m_dX;
        s.m_adHitBox[1] = s.m_dY;
        s.m_adHitBox[2] = s.m_dX + 15;
        s.m_adHitBox[3] = s.m_dY + 15;
        g_Scene->m_vShotGroups.at(2).push_back(&s);
    }
}

void BM_PlayFrameWithDrawPass(benchmark::State& state) {
    g_DDFrameLimiter = [](int, int, DDSURFACEDATA*) { return true; };
    if (!Build()) {
        state.SkipWithError("set-up failed");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        RefillShots();
        g_vPlayers[0].m_nHP = 1000000;
        g_Scene->m_nState = CSCENEPLAY_PLAY;
        state.ResumeTiming();
        DDBeginScene();
        g_Scene->UpdatePlay();
        DDEndScene();
    }
    int acting = 0;
    for (const cCharaComputer& c : g_lstCharas) acting += c.m_bActing;
    state.counters["charas"] = static_cast<double>(g_lstCharas.size());
    state.counters["acting"] = acting;
    state.counters["shots"] = static_cast<double>(g_Scene->m_lstShots.size());
    state.counters["substeps/frame"] =
        static_cast<double>(g_Scene->m_nSubStepTotal) / static_cast<double>(std::max<int64_t>(1, state.iterations()));
    g_lstCharas.clear();
    g_lstItems.clear();
    g_vPlayers.clear();
    g_vMapCells.clear();
    g_lpPlayScene = nullptr;
    delete g_Scene;
    for (auto& s : SurfaceTable) DDReleaseSurfaceData(&s);
    DDEnd();
}
BENCHMARK(BM_PlayFrameWithDrawPass)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
