// A formula of the code command on a chara and its target, evaluated over
// and over. Target: at least 250,000 evaluations per second (median,
// Release).
#include <benchmark/benchmark.h>

#include "app/scene_manager.h"
#include "engine/formula.h"
#include "play/chara.h"
#include "play/scene_play.h"

static void BM_RunCodeHit(benchmark::State& state) {
    cScenePlay scene;
    g_lpPlayScene = &scene;
    cChara self, target;
    self.m_vTargets.assign(kTargetSlots, nullptr);
    target.m_vTargets.assign(kTargetSlots, nullptr);
    self.TargetSlot(0) = &target;
    self.m_Def.m_nAttack = 1;
    target.m_Def.m_nMaxHP = 999999;
    const std::string code = "tg1.hp = tg1.hp - my.power * 2";
    for (auto _ : state) {
        target.m_nHP = 999999;
        benchmark::DoNotOptimize(RunCode(code, self));
    }
    state.SetItemsProcessed(state.iterations());
    g_lpPlayScene = nullptr;
}
BENCHMARK(BM_RunCodeHit)->Repetitions(5)->ReportAggregatesOnly(true);
