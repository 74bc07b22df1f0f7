// Rankings drawn from a ranking file written by the test, compared with
// golden frames: a score table (1500 and 30 ending at one column) with its
// sign, a time table, the result box of a play, and an empty table in the
// English demo with its footer and sign.
#include "media/frame_loop.h"
#include "tests/app/scenes/scene_harness.h"

#include "base/quit.h"
#include "frontend/data/ranking.h"
#include "play/ranking_draw.h"
#include "media/gfx/dd_blit.h"
#include "records/stage.h"

namespace {

using namespace scenetest;

// The challenge ranking file of stage c01: scores, then clear times.
void WriteFixtureRanking() {
    cRanking r;
    r.m_vecTable.at(0).Insert("Ann", 1500);
    r.m_vecTable.at(0).Insert("bob", 30);
    for (int v : {5432, 6000, 999999}) r.m_vecTable.at(2).Insert("tim", v);
    ASSERT_TRUE(SaveRanking(r, 1, "data\\stg4\\c01.", 0, 0, 0));
}

// The title's first frame loads the pictures the text boxes and signs use.
void PrepareScreen(DemoRun& run) {
    run.Step();
    DDFillSurface(&g_BackBuffer, 16);
    g_SceneState.g_nGameKind = 1;
    g_SceneState.g_bRankingOn = 1;
}

TEST(RankingGolden, TablesAndResultBox) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    PrepareScreen(run);
    WriteFixtureRanking();
    ASSERT_TRUE(LoadRanking(g_Ranking, 1, "data\\stg4\\c01.", 0, 0, 0));
    g_Ranking.Draw(&g_BackBuffer, 8, 8, 0, 1);
    g_Ranking.Draw(&g_BackBuffer, 328, 8, 2, -1);
    // Categories 0 and 2 shown (the demo's challenge), a new time record.
    g_Stage.m_vecRankingSwitch.assign(5, 1);
    g_Progress.m_nScore = 1234;
    g_Progress.m_nTotal2 = 6500;
    const int32_t positions[5] = {-1, -1, 0, -1, -1};
    DrawStageResult(&g_BackBuffer, 16, 400, positions);
    // A stage that uses no shown category draws no box.
    g_Stage.m_vecRankingSwitch.assign(5, 0);
    g_Stage.m_vecRankingSwitch.at(1) = 1;
    DrawStageResult(&g_BackBuffer, 336, 400, positions);
    PresentFrame();
    EXPECT_EQ(Golden("ranking_tables.png", run.Shown()), "");
}

TEST(RankingGolden, EmptyTableInEnglish) {
    StartOptions o;
    o.english = true;
    DemoRun run(o);
    ASSERT_TRUE(run.Started());
    PrepareScreen(run);
    g_Ranking.Reset();
    g_Ranking.Draw(&g_BackBuffer, 184, 64, 2, 3);
    PresentFrame();
    EXPECT_EQ(Golden("ranking_empty_en.png", run.Shown()), "");
}

// A ranking file whose table holds no entries draws that table empty
// instead of ending the program.
TEST(RankingGolden, ATableStoredWithoutEntriesDrawsEmpty) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    PrepareScreen(run);
    cRanking r;
    r.m_vecTable.at(0).m_vecEntry.clear();
    ASSERT_TRUE(SaveRanking(r, 1, "data\\stg4\\c02.", 0, 0, 0));
    ASSERT_TRUE(LoadRanking(g_Ranking, 1, "data\\stg4\\c02.", 0, 0, 0));
    ASSERT_TRUE(g_Ranking.m_vecTable.at(0).m_vecEntry.empty());
    const int closes = CloseRequestCount();
    g_Ranking.Draw(&g_BackBuffer, 184, 64, 0, -1);
    EXPECT_EQ(g_bQuit.load(), 0);
    EXPECT_EQ(CloseRequestCount(), closes);
    g_Ranking.Reset();
}

}  // namespace
