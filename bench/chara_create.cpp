// Creating a chara whose definition holds 30 flows of 10 commands (every
// third command a move): the definition copied, the run records and their
// animation schedules built. Target: median <= 100 us (Release).
#include <benchmark/benchmark.h>

#include "play/chara.h"
#include "records/database.h"
#include "records/stage.h"

static void BM_CharaCreate(benchmark::State& state) {
    g_Stage.ApplySpeedLevel(4);
    g_Database.m_vecAnimeSet.assign(1, cDbAnimeSet());
    g_Database.m_vecAnime.assign(2, cDbAnime());
    cEdChara def;
    for (int f = 0; f < 30; ++f) {
        cEdFlow flow = cEdFlow::ForReading();
        flow.m_nId = static_cast<int8_t>(1 + f % 26);
        for (int c = 0; c < 10; ++c) {
            cEdFlowCmd cmd;
            cmd.m_nKind = static_cast<int8_t>(c % 3 == 0 ? 2 : 1);
            cmd.m_nTime = static_cast<int16_t>(1 + c);
            cmd.m_nAnime = static_cast<int16_t>(c % 4 == 0 ? 1 : 0);
            cmd.m_vecParam.assign(4, c);
            if (c % 3 == 0) cmd.m_spMove.Create().m_nAnime = 2;
            flow.m_vecCmd.push_back(cmd);
        }
        def.m_vecFlow.push_back(flow);
    }
    for (auto _ : state) {
        cChara chara;
        chara.InitChara(&def, nullptr, 1);
        chara.InsertFlows(chara.m_Def.m_vecFlow, 0, 0);
        benchmark::DoNotOptimize(chara.m_vFlows.data());
    }
}
BENCHMARK(BM_CharaCreate)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
