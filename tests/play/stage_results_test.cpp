// Where a cleared stage leads: the next stage's file name, the list of
// stage or replay files stepped through, the next scene per game type, and
// the totals the results add to.
#include <climits>
#include <string>

#include "base/app_state.h"
#include "base/quit.h"
#include "frontend/data/option_data.h"
#include "play/sound_requests.h"
#include "platform/message_box.h"
#include "frontend/replay/replay.h"
#include "play/stage_results.h"
#include "tests/support/stage_builder.h"
#include "tests/support/temp_dir.h"

using namespace stagetest;
using testsupport::TempWorkDir;

namespace {

class StageResultsTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        m_savedType = g_SceneState.g_nGameType;
        m_savedList = g_ReplayData;
        m_savedReplay = g_Replay;
        m_savedPrev = g_ReplayPrev;
        g_ReplayFiles.clear();
    }
    void TearDown() override {
        g_Replay = m_savedReplay;
        g_ReplayPrev = m_savedPrev;
        g_ReplayFiles.clear();
        g_ReplayData = m_savedList;
        g_SceneState.g_nGameType = m_savedType;
        StageTest::TearDown();
    }
    // Both replays hold a recorded frame.
    static void RecordBoth() {
        const int16_t words[2] = {4, 16};
        g_Replay.RecordReplayFrame(words);
        g_ReplayPrev.RecordReplayFrame(words);
    }
    static bool BothEmpty() { return g_Replay.m_vecDirWords.empty() && g_ReplayPrev.m_vecDirWords.empty(); }
    int m_savedType = 0;
    cReplayData m_savedList;
    cReplay m_savedReplay, m_savedPrev;
};

TEST_F(StageResultsTest, StageFileNamesFindTheNewestNumberedFile) {
    TempWorkDir dir;
    dir.WriteFile("W-2.stg4_001");
    dir.WriteFile("W-2.stg4_003");
    dir.WriteFile("Boss.stg4_002");
    g_Progress.m_strStageBase = "W1";
    g_Progress.m_nNextStage = 2;
    std::string out;
    EXPECT_EQ(MakeStageFileName(out, 2, 0), 1);
    EXPECT_EQ(out, "W-2.stg4_003");
    EXPECT_EQ(IsLastStage(2), 0);
    EXPECT_EQ(MakeStageFileName(out, 3, 1), 0);
    EXPECT_EQ(out, "W-3.stg4");  // kept
    EXPECT_EQ(MakeStageFileName(out, 3, 0), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(IsLastStage(3), 1);
    g_Progress.m_strNextFile = "Boss_";  // a next stage given by name
    EXPECT_EQ(MakeStageFileName(out, 9, 0), 1);
    EXPECT_EQ(out, "Boss.stg4_002");
    g_Progress.m_nNextStage = 0;  // no next stage
    EXPECT_EQ(MakeStageFileName(out, 2, 1), 0);
    EXPECT_EQ(out, "");
}

TEST_F(StageResultsTest, TheListStepsOverMissingFilesAndWraps) {
    TempWorkDir dir;
    dir.WriteFile("a.rpl4_1000");
    dir.WriteFile("c.rpl4_1000");
    g_ReplayFiles = {{"a.rpl4_1000", "A"}, {"b.rpl4_1000", "B"}, {"c.rpl4_1000", "C"}};
    g_ReplayData.m_nListPos = 0;
    StepStageList(1, 1);  // b is gone
    EXPECT_EQ(g_ReplayData.m_nListPos, 2);
    EXPECT_EQ(g_Stage.m_strPath, "c.rpl4_1000");
    EXPECT_EQ(g_strStageListName, "C");
    StepStageList(1, 1);  // wraps to the first
    EXPECT_EQ(g_ReplayData.m_nListPos, 0);
    StepStageList(1, -1);
    EXPECT_EQ(g_ReplayData.m_nListPos, 2);
    // The playback order: 0 and 1 step forward, 2 restarts the same stage.
    g_OptionData.m_nReplayOrder = 2;
    StepStageList(0, 0);
    EXPECT_EQ(g_ReplayData.m_nListPos, 2);
    g_OptionData.m_nReplayOrder = 0;
    StepStageList(0, 0);
    EXPECT_EQ(g_ReplayData.m_nListPos, 0);
    EXPECT_EQ(g_bQuit.load(), 0);
    // No file left: the program ends, and the report names the last path.
    g_ReplayFiles = {{"gone.rpl4_1000", "G"}};
    StepStageList(1, 1);
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_EQ(g_Stage.m_strPath, "gone.rpl4_1000");
    g_bQuit = 0;
}

TEST_F(StageResultsTest, AdvancePerGameType) {
    TempWorkDir dir;
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Install();
    Setup();
    struct Case {
        int type, freeStage, nextStage, scene, cleared;
    };
    const Case cases[] = {
        {3, 0, 0, SCENE_PLAY, 0},   // a single stage file plays on
        {3, 1, 4, SCENE_PLAY, 0},   // the free stage too
        {3, 0, 4, SCENE_TITLE, 0},  // a next stage without a file
        {4, 0, 0, SCENE_PLAY, 0},   // the next replay
        {2, 0, 0, SCENE_STAGESELECT, 1},
        {9, 0, 0, SCENE_STAGESELECT, 0},
    };
    for (const Case& c : cases) {
        g_SceneState.g_nGameType = c.type;
        g_bFreeStage = c.freeStage;
        g_Progress.m_nNextStage = c.nextStage;
        g_Progress.m_strStageBase = "Nowhere1";
        RecordBoth();
        EXPECT_EQ(m_scene.AdvanceStage(), c.scene) << "type " << c.type;
        EXPECT_EQ(BothEmpty(), c.cleared != 0) << "type " << c.type;
    }
    g_bFreeStage = 0;
    // Story: the clear action 2 goes to the title, other actions to the map.
    g_SceneState.g_nGameType = 0;
    g_Progress.m_nNextStage = 0;
    g_Progress.m_nClearAction = 2;
    EXPECT_EQ(m_scene.AdvanceStage(), SCENE_TITLE);
    g_Progress.m_nClearAction = 0;
    EXPECT_EQ(m_scene.AdvanceStage(), SCENE_WORLDMAP);
}

TEST_F(StageResultsTest, AdvanceCarriesTheHerosValuesOver) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Install();
    Setup();
    g_Stage.m_bCarryOut = 1;
    g_SystemData.m_vecCarryOver.assign(25, 0);
    for (int item : {4, 8, 11, 22, 23}) g_SystemData.m_vecCarryOver.at(item) = 1;
    HeroChara().m_nHP = 77;
    HeroChara().m_nCharaEffect = 3;  // the effect running on the hero: mode 2, repeated
    HeroChara().m_Effect.m_nMode = 2;
    HeroChara().m_Effect.m_bRepeat = 1;
    HeroChara().m_Def.m_nSize = 3;
    m_scene.m_nTimeLeft = 42;
    g_Progress.m_nLives = 5;
    g_SceneState.g_nGameType = 9;
    EXPECT_EQ(m_scene.AdvanceStage(), SCENE_STAGESELECT);
    const cSavedChara& saved = g_Progress.m_vecSavedChara.at(0);
    EXPECT_EQ(g_Progress.m_bCarried, 1);
    EXPECT_EQ(saved.m_nItem11, 77);
    EXPECT_EQ(saved.m_nItem22, 42);
    EXPECT_EQ(saved.m_nItem23, 5);
    EXPECT_EQ(saved.m_Chara.m_nSize, 3);
    EXPECT_EQ(saved.m_Chara.m_nCharaEffect, 3);
    EXPECT_EQ(saved.m_Chara.m_nCharaEffectA, 2);
    EXPECT_EQ(saved.m_Chara.m_nCharaEffectB, 1);
    EXPECT_EQ(g_Progress.m_vecCarriedItem.at(12), 0);  // not flagged by the game
}

// The results add to the game's totals as plain sums (a clear-time total
// passes 2 h 46 min, a score 999999); only the int32 limits stop them.
TEST_F(StageResultsTest, ResultTotalsArePlainSumsUpToTheInt32Limits) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Install();
    Setup();
    g_SystemData.OptExtraLife = 0;
    struct Case {
        int32_t before, added, after;
    };
    const Case cases[] = {
        {999990, 100, 1000090},
        {INT32_MAX - 5, 100, INT32_MAX},
        {INT32_MIN + 5, -100, INT32_MIN},
        {-999999, -1, -1000000},
    };
    for (const Case& c : cases) {
        g_Progress.m_nScore = c.before;
        g_Progress.m_nStageScore = c.added;
        g_Progress.m_nTotal2 = c.before;
        m_scene.m_nPlayTime = c.added;
        g_Progress.m_nTotal3 = c.before;
        HeroChara().m_nHP = c.added;
        m_scene.ShowStageResult();
        EXPECT_EQ(g_Progress.m_nScore, c.after) << c.before << " + " << c.added;
        EXPECT_EQ(g_Progress.m_nTotal2, c.after) << c.before << " + " << c.added;
        EXPECT_EQ(g_Progress.m_nTotal3, c.after) << c.before << " + " << c.added;
    }
}

TEST(StartStageFile, RefusesAPathLongerThanItsCopy) {
    platform::CapturedMessageBoxes boxes;
    EXPECT_FALSE(StartStageFile(std::string(260, 'a'), 0));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

}  // namespace
