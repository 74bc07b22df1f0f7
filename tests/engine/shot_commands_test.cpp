// The shot, sword and summon commands through the command table: how often
// they fire, their sound, and what the summons count into the flow
// variables.
#include <vector>

#include "engine/cmd_tables.h"
#include "play/map_cell.h"
#include "base/main_thread.h"
#include "records/common_palette.h"
#include "records/system_data.h"
#include "tests/support/shot_fixture.h"
#include "tests/support/sound_log.h"

using namespace shottest;

namespace {


class ShotCommandTest : public ShotTest {
protected:
    soundlog::Scope m_log;
    void SetUp() override {
        ShotTest::SetUp();
        SetMainThread();  // sound requests are served at once
        m_savedPalette = g_CommonPalette;
        Part().m_nCount = 1;
        Part().m_nFormation = FORMATION_BURST;
        m_cmd.m_nSound = 4;
        m_scene.m_lpCurFlowVars = m_vars;
    }
    void TearDown() override {
        g_CommonPalette = m_savedPalette;
        ShotTest::TearDown();
    }
    // The command's executor from the table, sub-step after sub-step.
    void Run(int kind, int subSteps) {
        m_cmd.m_nKind = static_cast<int8_t>(kind);
        for (int i = 0; i < subSteps; ++i) CmdExecTable[kind](*m_user, m_run);
    }

    cCommonPalette m_savedPalette;
    int32_t m_vars[2] = {7, 9};
};

TEST_F(ShotCommandTest, AVolleyOnTheFirstSubStepOfEveryFrame) {
    SetSubSteps(2);
    Run(CMD_SHOT, 6);  // three frames
    EXPECT_EQ(m_scene.m_lstShots.size(), 3u);
    EXPECT_EQ(soundlog::UserPlayed(), (std::vector<int>{4, 4, 4}));
    EXPECT_EQ(m_run.m_nStep, 0);
}

TEST_F(ShotCommandTest, OneSwordPerRun) {
    g_Database.m_vecSwordType.resize(1);
    SetSubSteps(2);
    Run(CMD_SWORD, 12);
    ASSERT_EQ(m_scene.m_lstShots.size(), 1u);
    const cShot& sword = m_scene.m_lstShots.front();
    EXPECT_EQ(sword.m_bIsShot, 0);
    EXPECT_EQ(sword.m_lpTarget, nullptr);
    ASSERT_EQ(m_user->m_vShotLinks.size(), 1u);
    EXPECT_EQ(m_user->m_vShotLinks[0].lpShot, &sword);
    EXPECT_EQ(m_user->m_vShotLinks[0].nKind, 4);
    EXPECT_EQ(soundlog::UserPlayed().size(), 1u);
}

TEST_F(ShotCommandTest, SummonsCountWhatTheyAddIntoTheFlowVariables) {
    g_CommonPalette.m_vecCharaPalette.resize(2);
    g_CommonPalette.m_vecCharaPalette[1].m_nSide = 1;
    cEdBlock solid;
    solid.m_nGraphic = 3;
    solid.m_nHitMode = 1;
    g_CommonPalette.m_vecBlockPalette = {cEdBlock(), solid};
    Part().m_nSummonEntry = 1;
    Part().m_nCount = 2;
    Part().m_nFormation = FORMATION_STRAIGHT_A;
    Part().m_nFormationParam[0] = 2;
    struct Case {
        const char* what;
        int kind, report, legacy;
        int32_t var0, var1;
    } cases[] = {
        {"blocks, reported", CMD_SUMMON_BLOCK, 1, 0, 2, 9},
        {"blocks, reported, data of 980", CMD_SUMMON_BLOCK, 1, 1, 2, 0},
        {"blocks, not reported", CMD_SUMMON_BLOCK, 0, 1, 7, 9},
        {"charas, reported", CMD_SUMMON_CHARA, 1, 0, 2, 9},
        {"charas, reported, data of 980", CMD_SUMMON_CHARA, 1, 1, 2, 0},
        {"an item summon writes nothing", CMD_SUMMON_ITEM, 1, 1, 7, 9},
    };
    Place(*m_user, 400, 400, 32, 32);  // the summons land inside the border
    for (const Case& c : cases) {
        MakeMap();
        // The charas of the last case leave the scene's groups with the list.
        for (auto it = g_lstCharas.begin(); it != g_lstCharas.end(); ++it)
            if (it != g_lstCharas.begin())
                for (auto& group : m_scene.m_vCharaGroups) group.remove(&*it);
        g_lstCharas.resize(1);
        m_vars[0] = 7;
        m_vars[1] = 9;
        m_cmd.m_vecParam = {c.report};
        g_SystemData.m_bCompat981 = c.legacy;
        m_run.m_nStep = 0;
        Run(c.kind, 1);
        EXPECT_EQ(m_vars[0], c.var0) << c.what;
        EXPECT_EQ(m_vars[1], c.var1) << c.what;
    }
}

TEST_F(ShotCommandTest, SoundOnlyOnScreenAndAMissingShotPart) {
    struct Case {
        const char* what;
        int onScreenOnly;
        double x;
        size_t sounds;
    } cases[] = {
        {"on screen", 1, 400, 1},
        {"off screen, only on screen: silent", 1, 5000, 0},
        {"off screen, always", 0, 5000, 1},
    };
    SetStage(200, 15);
    MakeMap();
    for (const Case& c : cases) {
        ClearMediaCallLog();
        m_scene.m_lstShots.clear();
        Place(*m_user, c.x, 300, 32, 32);
        m_cmd.m_bSoundOnScreenOnly = static_cast<int8_t>(c.onScreenOnly);
        m_run.m_nStep = 0;
        Run(CMD_SHOT, 1);
        EXPECT_EQ(soundlog::UserPlayed().size(), c.sounds) << c.what;
        EXPECT_EQ(m_scene.m_lstShots.size(), 1u) << c.what << ": fired all the same";
    }

    m_scene.m_lstShots.clear();
    ClearMediaCallLog();
    m_cmd.m_spShot.Reset();
    m_run.m_nStep = 0;
    SetSubSteps(2);
    Run(CMD_SHOT, 1);
    EXPECT_TRUE(m_scene.m_lstShots.empty());
    EXPECT_TRUE(soundlog::UserPlayed().empty());
    EXPECT_EQ(m_run.m_nStep, 1) << "the counter still counts";
    for (int kind : {CMD_SWORD, CMD_SUMMON_BLOCK, CMD_SUMMON_CHARA, CMD_SUMMON_ITEM}) Run(kind, 1);
    EXPECT_TRUE(m_scene.m_lstShots.empty());
    EXPECT_EQ(g_lstCharas.size(), 1u);
}

}  // namespace
