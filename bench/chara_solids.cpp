// One frame at 10 sub-steps of 200 walking charas against 20 rising block
// charas (96 x 96): half of the charas stand on the solids and are lifted
// every sub-step, half walk under them. Each sub-step the solids rise one
// dot and every chara is resolved against the whole list of 220 computer
// charas. Target: median <= 2 ms (Release).
#include <benchmark/benchmark.h>

#include <vector>

#include "app/scene_manager.h"
#include "play/chara_solids.h"
#include "play/map_cell.h"
#include "play/scene_play.h"
#include "records/stage.h"

namespace {

constexpr int kSolids = 20;
constexpr int kCharasPerSolid = 10;
constexpr int kSubSteps = 10;

struct Start {
    cCharaComputer* chara;
    double x, y;
};

void Place(cCharaComputer& c, double x, double y) {
    c.m_dX = x;
    c.m_dY = y;
    c.AfterMoveX();
    c.AfterMoveY();
}

}  // namespace

static void BM_CollideSolidsFrame(benchmark::State& state) {
    cScenePlay scene;
    cScene* saved = g_lpPlayScene;
    g_lpPlayScene = &scene;
    scene.m_ScrollX.Init(0, 100);
    scene.m_ScrollY.Init(1, 30);
    cMapCell empty;
    empty.m_nHitMode = 0;
    g_vMapCells.assign(static_cast<size_t>(scene.m_ScrollX.m_nStride) * scene.m_ScrollY.m_nCells, empty);
    g_Stage.ApplySpeedLevel(kSubSteps);

    cEdChara solidDef;
    solidDef.m_bBlockChara = 1;
    solidDef.m_nSize = 3;
    const cEdChara walkerDef;
    g_lstCharas.clear();
    std::vector<Start> solids, charas;
    int key = 1;
    for (int i = 0; i < kSolids; ++i) {
        const double sx = 400 + i * 128, sy = 600;
        cCharaComputer& s = g_lstCharas.emplace_back();
        s.InitComputer(key++, solidDef, nullptr, nullptr, 0);
        s.m_bActing = 1;
        s.m_dSpeedY = -1;
        solids.push_back({&s, sx, sy});
        for (int j = 0; j < kCharasPerSolid; ++j) {
            cCharaComputer& c = g_lstCharas.emplace_back();
            c.InitComputer(key++, walkerDef, nullptr, nullptr, 0);
            c.m_bActing = 1;
            const bool onTop = j % 2 == 0;
            // On top: standing on the solid; under: walking 40 dots below it.
            charas.push_back({&c, sx + j * 8, onTop ? sy - c.m_nHeight : sy + 96 + 40});
            c.m_dSpeedX = onTop ? 0.0 : 0.5;
        }
    }

    for (auto _ : state) {
        for (const Start& s : solids) Place(*s.chara, s.x, s.y);
        for (const Start& c : charas) {
            Place(*c.chara, c.x, c.y);
            c.chara->m_bOnBlockChara = 0;
        }
        for (int e = 0; e < kSubSteps; ++e) {
            for (const Start& s : solids) {
                s.chara->SaveBox();
                Place(*s.chara, s.chara->m_dX, s.chara->m_dY + s.chara->m_dSpeedY);
            }
            for (const Start& c : charas) {
                cCharaComputer& ch = *c.chara;
                ch.ClearContacts();
                ch.SaveBox();
                Place(ch, ch.m_dX + ch.m_dSpeedX, ch.m_dY);
                benchmark::DoNotOptimize(CollideSolids(ch, g_lstCharas));
            }
        }
    }
    int riding = 0;
    for (const Start& c : charas) riding += c.chara->m_bOnBlockChara;
    state.counters["riding"] = riding;
    g_lstCharas.clear();
    g_vMapCells.clear();
    g_lpPlayScene = saved;
}
BENCHMARK(BM_CollideSolidsFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
