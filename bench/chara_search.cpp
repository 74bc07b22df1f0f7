// The nearest chara to a shot among 500 charas, half of them in view, some
// dead or untouchable. Target: median <= 10 us (Release).
#include <benchmark/benchmark.h>

#include <deque>
#include <vector>

#include "play/chara.h"
#include "play/chara_search.h"
#include "records/stage.h"

static void BM_NearestToMe(benchmark::State& state) {
    g_Stage.m_bHitInViewOnly = 0;
    std::deque<cChara> charas(500);
    std::vector<cChara*> list;
    for (int i = 0; i < 500; ++i) {
        cChara& c = charas[i];
        c.m_nKey = i;
        c.m_bActing = 1;
        c.m_bInView = i % 2;
        c.m_bDead = i % 17 == 0;
        c.m_Def.m_nInvincible = static_cast<int8_t>(i % 13 == 0 ? 2 : 0);
        c.m_nScrLeft = (i * 37) % 640;
        c.m_nScrTop = (i * 53) % 480;
        c.m_nScrRight = c.m_nScrLeft + 31;
        c.m_nScrBottom = c.m_nScrTop + 31;
        list.push_back(&c);
    }
    cObject shot;
    shot.m_nScrLeft = 300, shot.m_nScrRight = 315, shot.m_nScrTop = 200, shot.m_nScrBottom = 215;
    for (auto _ : state) benchmark::DoNotOptimize(NearestToMe(shot, list));
}
BENCHMARK(BM_NearestToMe)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
