// The always-trigger of one physics sub-step over 500 computer charas of 8
// idle flows each: half the flows have three-step key sequences (gap 3)
// matched back through full key histories, failing at their oldest step
// after the gap search; the other half fail their start conditions. No
// flow starts, so every flow is looked at in every sub-step.
// Target: median <= 1 ms per sub-step (Release).
#include <benchmark/benchmark.h>

#include <vector>

#include "app/scene_manager.h"
#include "engine/flow.h"
#include "engine/flow_trigger.h"
#include "media/input/input_list.h"
#include "play/chara_computer.h"
#include "play/scene_play.h"
#include "records/cmd_kinds.h"
#include "records/cond.h"
#include "records/database.h"
#include "records/stage.h"

namespace {

constexpr int kCharas = 500;
constexpr int kRight = 2, kButton0 = 11, kButton1 = 12;

cKeyCond Pressed(int key) {
    cKeyCond k;
    k.m_vecKey.at(static_cast<size_t>(key)) = cKeyCond::KEY_PRESSED;
    k.m_bAnyDuration = 1;
    return k;
}

cEdFlow Flow(bool keyed, int id) {
    cEdFlow f = cEdFlow::ForReading();
    f.m_nId = static_cast<int8_t>(id);
    f.m_nTrigger = TRG_ALWAYS;
    cEdFlowCmd wait;
    wait.m_nKind = CMD_WAIT;
    wait.m_nTime = 1;
    f.m_vecCmd = {wait};
    if (keyed) {
        // Button 1 never held: the oldest step fails after the gap search.
        f.m_vecKeyCond = {Pressed(kButton1), Pressed(kRight), Pressed(kButton0)};
        f.m_nKeyInterval = 3;
        f.m_bKeyRepeat = static_cast<int8_t>(id / 2 % 2);
    } else {
        cCond c;
        c.m_nKind = COND_CHARA_VAR;
        c.m_nVarIndex = 1;
        c.m_nValue = 1;  // variable 1 is 0
        f.m_vecCond = {c};
    }
    return f;
}

// 32 runs in every channel: right and button 0 alternate 3 held, 2 released
// frames (held now); button 1 and the others stay released.
void FillHistories(cInput& input) {
    for (int ch = 0; ch < DIR_KEY_CHANNELS + BUTTON_KEY_CHANNELS; ++ch) {
        KeyHistory& h = ch < DIR_KEY_CHANNELS ? input.m_vecDirKeys.at(ch) : input.m_vecButtonKeys.at(ch - DIR_KEY_CHANNELS);
        const bool alternating = ch == kRight || ch == kButton0;
        for (int i = 0; i < KEY_HISTORY_LENGTH; ++i)
            h.at(i) = alternating ? KeyHistoryEntry{(i + 1) % 2, i % 2 == 0 ? 3 : 2} : KeyHistoryEntry{0, 7};
    }
}

}  // namespace

static void BM_AlwaysTriggerPerSubStep(benchmark::State& state) {
    g_Stage.ApplySpeedLevel(1);
    g_Database.m_vecAnimeSet.assign(1, cDbAnimeSet{});
    cScenePlay scene;
    scene.m_ScrollX.Init(0, 60);
    scene.m_ScrollY.Init(1, 20);
    g_lpPlayScene = &scene;
    g_InputList.assign(1, cInput());
    FillHistories(g_InputList.at(0));

    cEdChara def;
    for (int i = 0; i < 8; ++i) def.m_vecFlow.push_back(Flow(i % 2 == 0, i + 1));
    g_lstCharas.clear();
    for (int i = 0; i < kCharas; ++i) {
        cCharaComputer& c = g_lstCharas.emplace_back();
        c.InitComputer(i + 1, def, nullptr, nullptr, 0);
        c.m_nFacing = i % 2;
    }
    for (auto _ : state) {
        for (cCharaComputer& c : g_lstCharas) ResetFlowOnceFlags(c);
        for (cCharaComputer& c : g_lstCharas) FireFlowTrigger(c, TRG_ALWAYS);
    }
    int started = 0;
    for (const cCharaComputer& c : g_lstCharas)
        for (const cFlow& f : c.m_vFlows) started += f.m_bRunning;
    state.counters["started"] = started;
    g_lstCharas.clear();
    g_lpPlayScene = nullptr;
}
BENCHMARK(BM_AlwaysTriggerPerSubStep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
