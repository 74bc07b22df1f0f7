// The stage select on the demo: rows offered, list movement with paging and
// wrap, refused and accepted starts, the remembered row, and the ranking
// panel's buttons.
#include "app/scene_manager.h"
#include "tests/app/scenes/stage_menu_harness.h"

#include "base/files.h"
#include "platform/cp932.h"

namespace {

using namespace scenetest;

cSceneStageSelect* Select() { return dynamic_cast<cSceneStageSelect*>(g_SceneManager.SceneOf(SCENE_STAGESELECT)); }

TEST(StageSelect, StageNames) {
    EXPECT_EQ(cSceneStageSelect::StageName(5), "data\\stg4\\c05-1.stg4");
    EXPECT_EQ(cSceneStageSelect::StageName(100), "data\\stg4\\c100-1.stg4");
}

TEST(StageSelect, OneRowWrapsOntoItself) {
    StartOptions o;
    o.tweak = [](cSystemData& sd) { sd.m_bAllStages = 0; };
    StageMenuRun run(o);
    ASSERT_TRUE(run.Started());
    g_Progress.Reset(g_SystemData.m_nStageCount);
    g_Progress.m_nHighestStage = 1;
    ASSERT_TRUE(run.Enter(SCENE_STAGESELECT));
    const cSceneStageSelect* s = Select();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->m_nOffered, 1);
    for (int key : {platform::VK_UP, platform::VK_DOWN, platform::VK_RIGHT}) {
        run.Tap(key);
        EXPECT_EQ(Cursor().m_nY, 0);
        EXPECT_EQ(s->m_nListTop, 0);
        EXPECT_EQ(Cursor().m_nPixelY, 160);
    }
}

TEST(StageSelect, FortyStagesPageByNineAndWrapToTheTop) {
    StartOptions o;
    o.tweak = [](cSystemData& sd) {
        sd.m_nStageCount = 40;
        sd.m_bAllStages = 1;
    };
    StageMenuRun run(o);
    ASSERT_TRUE(run.Started());
    g_Progress.Reset(40);
    ASSERT_TRUE(run.Enter(SCENE_STAGESELECT));
    const cSceneStageSelect* s = Select();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->m_nOffered, 40);
    EXPECT_EQ(s->m_nListRows, 10);
    struct Step {
        int key, row, top;
    };
    const Step steps[] = {
        {platform::VK_RIGHT, 9, 9},  {platform::VK_RIGHT, 18, 18}, {platform::VK_RIGHT, 27, 27},
        {platform::VK_RIGHT, 36, 30}, {platform::VK_RIGHT, 39, 30}, {platform::VK_DOWN, 0, 0},
        {platform::VK_UP, 39, 30},   {platform::VK_LEFT, 30, 21},
    };
    for (const Step& st : steps) {
        run.Tap(st.key);
        EXPECT_EQ(Cursor().m_nY, st.row);
        EXPECT_EQ(s->m_nListTop, st.top);
        EXPECT_EQ(Cursor().m_nPixelY, 160 + 32 * (st.row - st.top));
    }
    // The progress follows the row: stage 31's names.
    EXPECT_EQ(g_Progress.m_strStageBase, "data\\stg4\\c31.");
    EXPECT_EQ(g_Progress.m_bNumbered, 1);
}

TEST(StageSelect, MissingStageIsRefused) {
    StartOptions o;
    o.tweak = [](cSystemData& sd) {
        sd.m_nStageCount = 5;
        sd.m_bAllStages = 1;
    };
    StageMenuRun run(o);
    ASSERT_TRUE(run.Started());
    g_Progress.Reset(5);
    ASSERT_TRUE(run.Enter(SCENE_STAGESELECT));
    run.Tap(platform::VK_UP);  // stage 5: no file
    run.Sounds();
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 3"}));
    ASSERT_EQ(run.Boxes().size(), 1u);
    EXPECT_EQ(run.Boxes()[0].text, SJ("ステージファイル data\\stg4\\c05-1.stg4 が読み込めません！"));
    EXPECT_EQ(run.State(), 1);
    run.Step(3);
    EXPECT_TRUE(run.m_plays.empty());
    EXPECT_EQ(g_bQuit.load(), 0);
}

TEST(StageSelect, StartSetsTheChallengeAndReopensOnItsRow) {
    struct Case {
        int infinite, startLives, lives;
    };
    for (const Case c : {Case{1, 999999, 999999}, Case{0, 5, 4}}) {
        SCOPED_TRACE(c.infinite);
        StartOptions o;
        o.tweak = [c](cSystemData& sd) {
            sd.m_vecInfiniteLives.at(1) = c.infinite;
            sd.m_vecStartLives.at(1) = 5;
        };
        StageMenuRun run(o);
        ASSERT_TRUE(run.Started());
        g_Progress.Reset(g_SystemData.m_nStageCount);
        g_Progress.m_nHighestStage = 3;
        g_SceneState.m_nSelectRow = 0;
        g_SceneState.m_nSelectTop = 0;
        ASSERT_TRUE(run.Enter(SCENE_STAGESELECT));
        run.Tap(platform::VK_DOWN);
        run.Tap(platform::VK_DOWN);
        run.Sounds();
        run.Tap(kKeyDecide);
        EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
        const PlayVisit* v = run.StepUntilPlay();
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->prevKind, SCENE_STAGESELECT);
        EXPECT_EQ(v->progress.m_nStartLives, c.startLives);
        EXPECT_EQ(v->progress.m_nLives, c.lives);
        EXPECT_EQ(v->progress.m_bNumbered, 1);
        EXPECT_EQ(v->progress.m_nSeriesIndex, 3);
        EXPECT_EQ(v->progress.m_nStageNumber, 1);
        EXPECT_EQ(v->progress.m_strStageBase, "data\\stg4\\c03.");
        EXPECT_EQ(g_Stage.m_strPath, "data\\stg4\\c03-1.stg4_1000");
        EXPECT_EQ(g_SceneState.m_nSelectRow, 2);
        EXPECT_EQ(g_SceneState.m_nSelectTop, 0);
        // The play kind goes back: the list opens on the same row.
        ASSERT_TRUE(run.StepUntilState(1));
        ASSERT_NE(Select(), nullptr);
        run.Step();
        EXPECT_EQ(Cursor().m_nY, 2);
        EXPECT_EQ(Cursor().m_nPixelY, 160 + 64);
    }
}

TEST(StageSelect, RankingPanelButtons) {
    struct Case {
        const char* name;
        int enabled;
        std::vector<uint8_t> kinds;
        int showBefore;
        std::vector<std::string> sounds;  // of button 4, then button 8
        int showAfter, categoryAfter;
    };
    const Case cases[] = {
        {"on, two categories", 1, {1, 0, 1, 0, 0}, 0, {"PlaySe 6", "PlaySe 6"}, 1, 2},
        {"on, one category: the category stays", 1, {1, 0, 0, 0, 0}, 1, {"PlaySe 6"}, 0, 0},
        {"off: the panel is cleared", 0, {1, 0, 1, 0, 0}, 1, {}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartOptions o;
        o.tweak = [&c](cSystemData& sd) {
            sd.m_vecRankingSets.at(1).m_bEnabled = c.enabled;
            sd.m_vecRankingSets.at(1).m_vecKinds.assign(c.kinds.begin(), c.kinds.end());
        };
        StageMenuRun run(o);
        ASSERT_TRUE(run.Started());
        g_Progress.Reset(g_SystemData.m_nStageCount);
        g_Progress.m_bShowRanking = c.showBefore;
        g_Progress.m_nRankCategory = 0;
        ASSERT_TRUE(run.Enter(SCENE_STAGESELECT));
        run.Tap(kKeyButton4);
        run.Tap(kKeyButton8);
        EXPECT_EQ(run.Sounds(), c.sounds);
        EXPECT_EQ(g_Progress.m_bShowRanking, c.showAfter);
        EXPECT_EQ(g_Progress.m_nRankCategory, c.categoryAfter);
        EXPECT_EQ(run.State(), 1);
    }
}

TEST(StageSelect, CancelGoesToTheTitle) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    g_Progress.Reset(g_SystemData.m_nStageCount);
    ASSERT_TRUE(run.Enter(SCENE_STAGESELECT));
    run.Tap(kKeyCancel);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 2"}));
    EXPECT_EQ(g_SceneState.m_nNextSceneKind, SCENE_TITLE);
    EXPECT_EQ(run.State(), 2);
}

}  // namespace
