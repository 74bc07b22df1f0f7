// Golden frames of the stage select (rows, cleared signs, best scores, the
// best total, the ranking panel) and the stage list (full, with a name that
// holds per-cent signs, and empty), in the Japanese and English demos; and
// the key walks from the title through both menus into the play kind and
// back.
#include "tests/app/scenes/stage_menu_harness.h"

#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "frontend/scenes/scene_title.h"

namespace {

using namespace scenetest;

StartOptions SelectOptions(bool english) {
    StartOptions o;
    o.english = english;
    o.tweak = [](cSystemData& sd) {
        sd.m_bSelectShowHighScore = 1;
        sd.m_bSelectShowTotal = 1;
    };
    return o;
}

// Stages 1 and 2 cleared with 1500 and 30, stage 3 reached; stage 1's
// challenge ranking on file.
void PrepareChallenge() {
    g_Progress.Reset(g_SystemData.m_nStageCount);
    g_Progress.m_nHighestStage = 3;
    g_Progress.m_vecStageFlag.at(0).m_bCleared = 1;
    g_Progress.m_vecStageFlag.at(0).m_nBest = 1500;
    g_Progress.m_vecStageFlag.at(1).m_bCleared = 1;
    g_Progress.m_vecStageFlag.at(1).m_nBest = 30;
    g_Progress.m_nBestTotal = 1530;
    g_Progress.m_bShowRanking = 0;
    g_Progress.m_nRankCategory = 0;
    g_SceneState.m_nSelectRow = 0;
    g_SceneState.m_nSelectTop = 0;
    cRanking r;
    r.m_vecTable.at(0).Insert("Ann", 1500);
    r.m_vecTable.at(0).Insert("bob", 30);
    ASSERT_TRUE(SaveRanking(r, 1, "data\\stg4\\c01.", 0, 0, 0));
}

TEST(StageSelectGolden, RowsSignsBestAndPanel) {
    for (bool english : {false, true}) {
        SCOPED_TRACE(english);
        StageMenuRun run(SelectOptions(english));
        ASSERT_TRUE(run.Started());
        PrepareChallenge();
        ASSERT_TRUE(run.Enter(SCENE_STAGESELECT));
        run.Step();
        if (!english) {
            EXPECT_EQ(Golden("stage_select_ja.png", run.Shown()), "");
        }
        run.Tap(kKeyButton4);
        ASSERT_EQ(g_Progress.m_bShowRanking, 1);
        EXPECT_EQ(Golden(english ? "stage_select_panel_en.png" : "stage_select_panel_ja.png", run.Shown()), "");
    }
}

TEST(StageListGolden, FullAndEmpty) {
    for (bool english : {false, true}) {
        SCOPED_TRACE(english);
        StartOptions o;
        o.english = english;
        StageMenuRun run(o);
        ASSERT_TRUE(run.Started());
        // 22 more files after the demo's nine: a list longer than its rows.
        for (int i = 0; i < 21; ++i)
            run.Dir().WriteFile("data/stg4/extra" + std::to_string(i) + ".stg4_1000", "x");
        run.Dir().WriteFile("data/stg4/100%d%s.stg4_1000", "x");
        platform::InvalidateDirCache();
        g_FreeData.m_nListPos = 0;
        g_FreeData.m_strLastFile.clear();
        ASSERT_TRUE(run.Enter(SCENE_STAGELIST));
        ASSERT_EQ(CountStageFiles(), 31);
        // Japanese: the top of the list; English: the last row, the list
        // scrolled to its end.
        if (english) run.Tap(platform::VK_UP);
        run.Step();
        EXPECT_EQ(Golden(english ? "stage_list_en.png" : "stage_list_ja.png", run.Shown()), "");
        if (english) continue;
        for (const auto& e : std::filesystem::directory_iterator(run.Dir().Path() / "data/stg4"))
            std::filesystem::remove(e.path());
        platform::InvalidateDirCache();
        ASSERT_TRUE(run.Enter(SCENE_STAGELIST));
        run.Step();
        EXPECT_EQ(Golden("stage_list_empty_ja.png", run.Shown()), "");
    }
}

TEST(StageMenuWalk, TitleStageSelectPlayAndBack) {
    StartOptions o;
    o.tweak = [](cSystemData& sd) { sd.m_bAllStages = 1; };
    StageMenuRun run(o);
    ASSERT_TRUE(run.Started());
    ChooseTitleItem(run, TITLE_CHALLENGE);
    ASSERT_TRUE(run.StepUntilState(1));
    ASSERT_EQ(Kind(), SCENE_STAGESELECT);
    run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    const PlayVisit* v = run.StepUntilPlay();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->progress.m_nSeriesIndex, 2);
    EXPECT_EQ(g_Stage.m_strPath, "data\\stg4\\c02-1.stg4_1000");
    ASSERT_TRUE(run.StepUntilState(1));
    ASSERT_EQ(Kind(), SCENE_STAGESELECT);
    run.Step();
    EXPECT_EQ(Cursor().m_nY, 1);
    run.Tap(kKeyCancel);
    ASSERT_TRUE(run.StepUntilState(1));
    EXPECT_EQ(Kind(), SCENE_TITLE);
    EXPECT_EQ(g_bQuit.load(), 0);
}

TEST(StageMenuWalk, TitleStageListPlayAndBack) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    g_FreeData.m_nListPos = 0;
    g_FreeData.m_strLastFile.clear();
    ChooseTitleItem(run, TITLE_FREE);
    ASSERT_TRUE(run.StepUntilState(1));
    ASSERT_EQ(Kind(), SCENE_STAGELIST);
    run.Tap(platform::VK_DOWN);
    run.Tap(platform::VK_DOWN);
    const std::string chosen = g_StageFiles.at(2).m_strPath;
    run.Tap(kKeyDecide);
    const PlayVisit* v = run.StepUntilPlay();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->stage, chosen);
    ASSERT_TRUE(run.StepUntilState(1));
    ASSERT_EQ(Kind(), SCENE_STAGELIST);
    run.Step();
    EXPECT_EQ(Cursor().m_nY, 2);
    run.Tap(kKeyCancel);
    ASSERT_TRUE(run.StepUntilState(1));
    EXPECT_EQ(Kind(), SCENE_TITLE);
}

}  // namespace
