// One physics sub-step of the flow engine over 1,000 computer charas of 8
// flows each: the activity pass (appearance conditions with a distance
// test), then each acting chara's update with its flow pass (waits,
// same-frame chains, commands guarded by condition lists), and the stopped
// flows started again as the always-trigger does.
// Target: median <= 2 ms per sub-step (Release).
#include <benchmark/benchmark.h>

#include <vector>

#include "app/scene_manager.h"
#include "engine/cmd_tables.h"
#include "engine/conditions.h"
#include "engine/flow_runtime.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/scene_play.h"
#include "records/cond.h"
#include "records/database.h"
#include "records/stage.h"

namespace {

constexpr int kCharas = 1000;

cCond VarCond(int index, int op, int value) {
    cCond c;
    c.m_nKind = COND_CHARA_VAR;
    c.m_nVarIndex = static_cast<int16_t>(index);
    c.m_nOp = static_cast<int8_t>(op);
    c.m_nValue = value;
    return c;
}

cCond NearHero() {
    cCond c;
    c.m_nKind = COND_DISTANCE;
    c.m_nDirection = 6;
    c.m_nValue = 100;  // half blocks
    return c;
}

cEdFlowCmd Cmd(int kind, int time, int sameFrame) {
    cEdFlowCmd c;
    c.m_nFamily = cEdFlowCmd::FAMILY_CHARA;
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_nTime = static_cast<int16_t>(time);
    c.m_bSameFrame = static_cast<int8_t>(sameFrame);
    return c;
}
cEdFlowCmd Wait(int time, int sameFrame = 0) { return Cmd(CMD_WAIT, time, sameFrame); }
cEdFlowCmd Guard(int sameFrame) {
    cEdFlowCmd c = Cmd(CMD_FLOW_CONTROL, 0, sameFrame);
    cCondList& list = c.m_spCondList.Create();
    list.m_vecCond = {VarCond(0, 0, 0), NearHero(), VarCond(1, 2, 0)};
    c.m_vecParam.assign(5, 0);
    return c;
}

cEdFlow Flow(std::vector<cEdFlowCmd> cmds) {
    cEdFlow f = cEdFlow::ForReading();
    f.m_vecCmd = std::move(cmds);
    return f;
}

// A guarded command as the flow control tests its condition list, with the
// result written into the flow's variables.
void ExecGuard(cChara& chara, cFlowCmd& cmd) {
    const cCondList& list = *cmd.m_lpDef->m_spCondList;
    cScenePlay* scene = PlayScene();
    scene->m_lpCurFlowVars[0] = EvalCondList(list.m_vecCond, list.m_nCondMode, &chara, scene->m_lpCurFlowVars) ? 1 : 2;
}

}  // namespace

static void BM_FlowPassPerSubStep(benchmark::State& state) {
    g_Stage.ApplySpeedLevel(1);
    g_Database.m_vecAnimeSet.assign(1, cDbAnimeSet{});
    cScenePlay scene;
    scene.m_ScrollX.Init(0, 60);
    scene.m_ScrollY.Init(1, 20);
    g_lpPlayScene = &scene;
    CmdExecTable[CMD_FLOW_CONTROL] = ExecGuard;

    g_vPlayers.resize(1);
    cCharaPlayer& hero = g_vPlayers[0];
    hero.m_nDrawWidth = hero.m_nDrawHeight = 32;
    hero.m_dX = 320;
    hero.m_dY = 240;

    cEdChara def;
    def.m_nActivationRange = 3;  // acts wherever it is
    def.m_nMaxHP = 10;
    def.m_vecCond = {VarCond(0, 0, 0), NearHero()};
    def.m_vecFlow = {
        Flow({Wait(1), Wait(1), Wait(1)}),
        Flow({Wait(1, 1), Wait(2, 1), Wait(1, 1), Wait(3)}),
        Flow({Guard(0), Wait(2)}),
        Flow({Wait(0), Wait(0), Wait(0), Wait(0)}),
        Flow({Wait(5)}),
        Flow({Guard(1), Wait(1, 1), Wait(2)}),
        Flow({Wait(1), Wait(0), Wait(2)}),
        Flow({Wait(10)}),
    };
    g_lstCharas.clear();
    for (int i = 0; i < kCharas; ++i) {
        cCharaComputer& c = g_lstCharas.emplace_back();
        c.InitComputer(i + 1, def, nullptr, nullptr, 0);
        c.m_dX = 320 + (i % 40) * 16;
        c.m_dY = 200 + (i / 40) * 8;
        c.m_dRight = c.m_dX + 31;
        c.m_dBottom = c.m_dY + 31;
        c.m_nDrawWidth = c.m_nDrawHeight = 32;
    }
    for (auto _ : state) {
        UpdateActiveStates(scene);
        for (cCharaComputer& c : g_lstCharas) {
            if (!c.m_bActing) continue;
            scene.m_lpCurChara = &c;
            for (cFlow& f : c.m_vFlows)
                if (!f.m_bRunning) StartFlow(f);
            benchmark::DoNotOptimize(c.UpdateChara(0));
        }
    }
    int acting = 0, guards = 0;
    for (const cCharaComputer& c : g_lstCharas) {
        acting += c.m_bActing;
        guards += c.m_vFlows[2].m_anVars[0] == 1;
    }
    state.counters["acting"] = acting;
    state.counters["guards held"] = guards;
    g_lstCharas.clear();
    g_vPlayers.clear();
    g_lpPlayScene = nullptr;
}
BENCHMARK(BM_FlowPassPerSubStep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
