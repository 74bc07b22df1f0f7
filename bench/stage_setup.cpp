// The stage set-up of a generated 500 x 60 stage with 2,000 placed charas
// and a floor of blocks. Target: <= 50 ms (Release).
#include <benchmark/benchmark.h>

#include "app/scene_manager.h"
#include "play/chara_computer.h"
#include "play/scene_play.h"
#include "play/stage_setup.h"
#include "records/stage.h"

static void BM_SetupStageLarge(benchmark::State& state) {
    cScenePlay scene;
    cScene* saved = g_lpPlayScene;
    g_lpPlayScene = &scene;
    cStage stage;
    stage.m_nWidth = 500;
    stage.m_nHeight = 60;
    stage.m_nPixelWidth = 500 * 32;
    stage.m_nPixelHeight = 60 * 32;
    stage.m_vecPlacedChara.clear();
    stage.m_vecPlacedBlock.clear();
    stage.m_vecPlacedItem.clear();
    cEdChara& hero = stage.m_vecPlacedChara.emplace_back();
    hero.m_nX = 2;
    hero.m_nY = 50;
    hero.m_nSide = 0;
    hero.m_nGraphic = 1;
    hero.m_nGroup = 0;
    for (int i = 0; i < 2000; ++i) {
        cEdChara& c = stage.m_vecPlacedChara.emplace_back();
        c.m_nX = static_cast<int16_t>(5 + i % 490);
        c.m_nY = static_cast<int16_t>(5 + (i / 490) * 10);
        c.m_nSide = 1;
        c.m_nGraphic = 1;
        c.m_nGroup = static_cast<int8_t>(1 + i % 7);
        c.m_nCarriedItem = -1;
    }
    for (int x = 0; x < 500; ++x) {
        cEdBlock& b = stage.m_vecPlacedBlock.emplace_back();
        b.m_nX = static_cast<int16_t>(x);
        b.m_nY = 59;
        b.m_nGraphic = 1;
    }
    g_Stage = stage;
    g_Stage.ApplySpeedLevel(10);
    g_StageStart.TakeStartCopyOf(g_Stage);
    g_HeroDef = hero;
    for (auto _ : state) {
        scene.SetupStage(1, 0);
        benchmark::DoNotOptimize(g_lstCharas.size());
    }
    if (g_lstCharas.size() != 2000) state.SkipWithError("charas were lost");
    g_lstCharas.clear();
    g_lpPlayScene = saved;
}
BENCHMARK(BM_SetupStageLarge)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
