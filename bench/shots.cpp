// Shots: one sub-step of 2,000 flying shots (straight, homing on the hero,
// waving) with their moves and block tests, target median <= 1 ms; and one
// volley of 127 shots with 20 clones, target median <= 2 ms (Release).
#include <benchmark/benchmark.h>

#include "app/scene_manager.h"
#include "engine/flow.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/map_cell.h"
#include "play/scene_play.h"
#include "play/shot.h"
#include "play/shot_volley.h"
#include "records/cmd_kinds.h"
#include "records/ed_flow.h"
#include "records/stage.h"

namespace {

struct BenchStage {
    cScenePlay scene;
    cScene* saved = g_lpPlayScene;
    BenchStage() {
        g_lpPlayScene = &scene;
        g_Stage.ApplySpeedLevel(1);
        scene.m_ScrollX.Init(0, 200);
        scene.m_ScrollY.Init(1, 100);
        cMapCell empty;
        empty.m_nHitMode = 0;
        g_vMapCells.assign(size_t(scene.m_ScrollX.m_nStride) * scene.m_ScrollY.m_nCells, empty);
        g_vPlayers.resize(1);
        cChara& hero = g_vPlayers[0];
        hero.InitChara(nullptr, nullptr, 0);
        hero.m_nKey = 1;
        hero.m_dX = 3000;
        hero.m_dY = 1600;
        hero.m_nDrawWidth = hero.m_nDrawHeight = 32;
        hero.UpdateScreenRect();
    }
    ~BenchStage() {
        scene.m_lstShots.clear();
        g_vPlayers.clear();
        g_lstCharas.clear();
        g_vMapCells.clear();
        g_lpPlayScene = saved;
    }
};

}  // namespace

static void BM_StepMoveAndBlockTest2000Shots(benchmark::State& state) {
    BenchStage stage;
    cChara& owner = g_lstCharas.emplace_back();
    owner.InitChara(nullptr, nullptr, 0);
    owner.m_nKey = 2;
    const int kinds[3] = {TRAJ_STRAIGHT, TRAJ_HOME_HERO, TRAJ_WAVE};
    for (int i = 0; i < 2000; ++i) {
        cEdShot def;
        def.m_nTrajectory = int8_t(kinds[i % 3]);
        def.m_nSpeed = 40;
        def.m_nTrajectoryParam[0] = 4;
        def.m_nTrajectoryParam[1] = 999;
        if (def.m_nTrajectory == TRAJ_WAVE) def.m_nTrajectoryParam[1] = 4;
        ShotVolley v;
        v.nX = 400 + (i * 37) % 5600;
        v.nY = 400 + (i * 53) % 2400;
        v.dVX = i % 2 ? 4 : -4;
        v.dVY = i % 5 - 2;
        v.dSpeed = 4;
        cShot made;
        made.InitShot(10 + i, owner, CMD_SHOT, def, v);
        made.m_lpOwner = made.m_lpTarget = nullptr;
        AddShot(stage.scene, made);
    }
    for (auto _ : state) {
        int ended = 0;
        for (cShot& s : stage.scene.m_lstShots) {
            ended += s.StepShot();
            s.MoveShotY();
            s.MoveShotX();
            ended += s.ShotHitsBlock();
        }
        benchmark::DoNotOptimize(ended);
    }
}
BENCHMARK(BM_StepMoveAndBlockTest2000Shots)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

static void BM_Volley127ShotsWith20Clones(benchmark::State& state) {
    BenchStage stage;
    cCharaComputer& user = g_lstCharas.emplace_back();
    user.InitChara(nullptr, nullptr, 0);
    user.LinkChara(nullptr);
    user.m_nKey = 2;
    user.m_dX = 3000;
    user.m_dY = 1500;
    user.m_nDrawWidth = user.m_nDrawHeight = 32;
    user.UpdateScreenRect();
    cEdFlowCmd cmd;
    cmd.m_nKind = CMD_SHOT;
    cEdShot& def = cmd.m_spShot.Create();
    def.m_nFormation = FORMATION_SPREAD;
    def.m_nFormationParam[0] = 2;
    def.m_nCount = 127;
    def.m_nClones = 20;
    def.m_nAngleStep = 3;
    def.m_nSpeed = 40;
    cFlowCmd run;
    run.m_lpDef = &cmd;
    for (auto _ : state) {
        FireShot(&stage.scene.m_lstShots, user, run, def);
        state.PauseTiming();
        if (stage.scene.m_lstShots.size() != 127 * 21) state.SkipWithError("a shot is missing");
        stage.scene.m_lstShots.clear();
        stage.scene.m_vShotGroups.assign(8, {});
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Volley127ShotsWith20Clones)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
