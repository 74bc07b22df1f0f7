// Stage set-up: the map's stride, the shot hit schedule, the music
// decision, placed charas and items with their serials, groups, the timers,
// the before-start event, what a retried try starts from, the frame rate,
// the menu music and the carried start position.
#include <algorithm>
#include <string>
#include <vector>

#include "base/quit.h"
#include "base/random.h"
#include "base/scene_state.h"
#include "engine/flow_trigger.h"
#include "frontend/replay/replay.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "media/gfx/dd_palette.h"
#include "media/media_services.h"
#include "play/map_cell.h"
#include "play/message_window.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/stage_setup.h"
#include "tests/support/stage_builder.h"
#include "tests/support/play_trace.h"

using namespace stagetest;

namespace {

TEST(StageCells, ShiftAndStrideHoldTheBorders) {
    struct Case {
        int width, shift;
    };
    // The shift is the binary digits of width + 19.
    for (const Case c : {Case{30, 6}, Case{12, 5}, Case{13, 6}, Case{45, 7}, Case{1, 5}}) {
        EXPECT_EQ(MapCellShift(c.width), c.shift) << c.width;
        EXPECT_GE(1 << c.shift, c.width + 20) << c.width;
    }
    EXPECT_EQ(1 << MapCellShift(30), 64);
    EXPECT_EQ(StageCellToMapCell(0, 0, 6), 10 + (10 << 6));
    EXPECT_EQ(StageCellToMapCell(29, 2, 6), 39 + (12 << 6));
}

TEST(StageSchedule, SubStepsThatShotsHitIn) {
    struct Case {
        int subSteps, checks;
        std::vector<int32_t> active;
    };
    const Case cases[] = {
        {8, 3, {1, 0, 1, 0, 0, 1, 0, 0}},
        {4, 1, {1, 0, 0, 0}},
        {10, 4, {1, 0, 1, 0, 0, 1, 0, 1, 0, 0}},
        {4, 0, {1, 1, 1, 1}},
        {4, 9, {1, 1, 1, 1}},
        {4, 2147483647, {1, 1, 1, 1}},  // no walk over 2^31 entries
        {4, -3, {1, 0, 0, 0}},          // no walk below entry 0
        {0, 3, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildSubStepSchedule(c.subSteps, c.checks), c.active) << c.subSteps << " / " << c.checks;
}

TEST(StageMusic, WhenTheSetUpRequestsTheStagesMusic) {
    struct Case {
        int playback, newStage, keep, entry, playing, request;
    };
    const Case cases[] = {
        {1, 0, 1, 3, 3, 1},  // playback: always
        {0, 1, 0, 3, 3, 1},  // new stage, keep off: always
        {0, 1, 1, 3, 3, 0},  // keep on and the same entry playing
        {0, 1, 1, 4, 3, 1},  // keep on, another entry
        {0, 1, 1, 0, 0, 1},  // keep on and entry 0: silence requested
        {0, 0, 0, 3, 3, 0},  // retry: the same entry goes on
        {0, 0, 0, 4, 3, 1},  // retry: another entry
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseStageBgm(c.playback, c.newStage, c.keep, c.entry, c.playing), c.request)
            << c.playback << c.newStage << c.keep << " " << c.entry << "/" << c.playing;
}

class SetupTest : public StageTest {
protected:
    void TearDown() override {
        g_SceneState.g_nGameType = 0;
        g_Replay.Reset();
        StageTest::TearDown();
    }
    // Playback of the replay in g_Replay, as the replay list starts it.
    static void PlayBack() { g_SceneState.g_nGameType = 4; }
};

TEST_F(SetupTest, CopiesTakeSerialsOnlyWhenKeptAndAttachedItemsAreCarried) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Chara(17, 5, 2).m_nCopyStepX = 48;  // 48 px apart: the third copy lies beyond column 19
    b.Chara(8, 5, 0, 1);                 // carries placed item 1
    b.Item(4, 5);
    b.Item(6, 5);
    b.Install();
    Setup();

    // Serial 0 is the hero; the dropped copy takes none.
    EXPECT_EQ(CharaKeys(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(m_scene.m_nCharaSerial, 4);
    ASSERT_EQ(g_lstItems.size(), 1u);
    EXPECT_EQ(g_lstItems.front().m_nKey, 1);  // the carried item took serial 0
    const cCharaComputer& carrier = g_lstCharas.back();
    EXPECT_EQ(carrier.m_CarriedItem.m_Def.m_nX, 6);
    EXPECT_EQ(carrier.m_CarriedItem.m_Def.m_nGraphic, 1);
    EXPECT_EQ(g_lstItems.front().m_Def.m_nX, 4);
}

TEST_F(SetupTest, GroupsHeroFirstAndLinksToTheHero) {
    StageBuilder b(20, 10);
    b.Chara(8, 5, 0, -1, 0);  // placed before the hero, same group
    b.Hero(2, 5);
    b.Chara(9, 5, 0, -1, 3);
    b.Install();
    Setup();
    const std::list<cChara*>& g0 = m_scene.m_vCharaGroups.at(0);
    ASSERT_EQ(g0.size(), 2u);
    EXPECT_EQ(g0.front(), &HeroChara());
    EXPECT_EQ(g0.back(), &g_lstCharas.front());
    EXPECT_EQ(m_scene.m_vCharaGroups.at(3).front(), &g_lstCharas.back());
    for (cCharaComputer& c : g_lstCharas) EXPECT_EQ(c.TargetSlot(0), &HeroChara());
    EXPECT_EQ(HeroChara().m_vReferrers.size(), 3u);  // itself and the two charas
    // Stage cell (2, 5) holds the hero: its box lies in map cell (12, 15).
    EXPECT_EQ(HeroChara().m_nCellLeft, 12);
    EXPECT_EQ(HeroChara().m_nCellBottom, 15);
}

TEST_F(SetupTest, TimeLimitAndTimersAndBlocksInTheirCells) {
    StageBuilder b(30, 10);
    b.Hero(2, 5);
    b.Block(0, 0).m_nFootEffect = cEdBlock::FOOT_LEFT;
    b.Block(29, 9);
    b.Stage().m_bTimeLimit = 0;
    b.Stage().m_nTimeLimit = 120;
    b.Install();
    Setup();
    EXPECT_EQ(m_scene.m_nTimeLeft, 999);
    EXPECT_EQ(m_scene.m_bNoTimeLimit, 1);
    EXPECT_EQ(m_scene.m_vStageVars.size(), 1000u);
    EXPECT_EQ(g_vMapCells.size(), 64u * 30);
    EXPECT_EQ(g_vMapCells.at(10 + (10 << 6)).m_nFootEffect, cEdBlock::FOOT_LEFT);
    EXPECT_EQ(g_vMapCells.at(39 + (19 << 6)).m_nGraphic, 1);
    EXPECT_EQ(g_vMapCells.at(11 + (10 << 6)).m_nGraphic, 0);
    EXPECT_EQ(g_vMapCells.at(11 + (10 << 6)).m_nHitMode, 0);

    g_StageStart.m_bTimeLimit = 1;  // a retry restores the start's settings
    Setup();
    EXPECT_EQ(m_scene.m_nTimeLeft, 120);
    EXPECT_EQ(m_scene.m_bNoTimeLimit, 0);
}

// Event 25 of the set-up: the random draw it makes, and charas it kills.
std::vector<int> g_draws;
int g_dieKey = -1, g_vanishKey = -1;
void BeforeStart(cChara& c, int trigger, cChara*, int) {
    if (trigger != 25) return;
    g_draws.push_back(Rand());
    if (c.m_nKey == g_dieKey) c.m_nHP = 0;
    if (c.m_nKey == g_vanishKey) c.m_bDiesNow = 1;
}

TEST_F(SetupTest, SeedComesBeforeTheFirstDrawAndEventDeathsLeaveEveryList) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Chara(6, 5);
    b.Chara(7, 5);
    b.Chara(8, 5);
    b.Install();
    g_draws.clear();
    g_dieKey = 2;
    g_vanishKey = 3;
    testsupport::PlayTrace().trigger = BeforeStart;
    // The set-up seeds with the replay's seed and plays it from its start.
    PlayBack();
    g_Replay.m_nSeed = 4242;
    g_Replay.m_nDirPos = g_Replay.m_nChoicePos = 3;
    g_SystemData.OptStartEventAll = 1;
    SRand(1);
    Setup(0, 1);

    SRand(4242);
    std::vector<int> expected;
    for (int i = 0; i < 4; ++i) expected.push_back(Rand());
    EXPECT_EQ(g_draws, expected);
    EXPECT_EQ(g_Replay.m_nDirPos, 0);
    EXPECT_EQ(g_Replay.m_nChoicePos, 0);
    EXPECT_EQ(CharaKeys(), (std::vector<int>{1}));
    const std::list<cChara*>& g1 = m_scene.m_vCharaGroups.at(1);
    EXPECT_EQ(g1, (std::list<cChara*>{&g_lstCharas.front()}));
    std::vector<cChara*> referrers;
    for (const CharaLink& l : HeroChara().m_vReferrers) referrers.push_back(l.lpChara);
    EXPECT_EQ(referrers, (std::vector<cChara*>{&HeroChara(), &g_lstCharas.front()}));
}

TEST_F(SetupTest, RetriedTryStartsFromFreshCellsAndAClosedHitPass) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Block(5, 5).m_bCondLatch = 1;
    b.Install();
    Setup();
    const long long placed = StageCellToMapCell(5, 5, m_scene.m_ScrollX.m_nShift);
    g_vMapCells.at(placed).m_nLatch = 1;
    // Try 1 summons a block into an empty cell and ends in a hit pass that
    // returned early.
    cEdBlock summoned;
    summoned.m_nGraphic = 7;
    const int px = (10 + 8) * 32, py = (10 + 5) * 32;
    m_scene.CreateBlockAt(px, py, nullptr, summoned);
    const long long cell = StageCellToMapCell(8, 5, m_scene.m_ScrollX.m_nShift);
    ASSERT_EQ(g_vMapCells.at(cell).m_nGraphic, 7);
    // A shot of group 1 kills the hero: the pass returns 2 at once.
    g_Stage.m_bHitInViewOnly = 0;
    m_scene.m_nSubStep = 1;
    HeroChara().m_nHP = 1;
    HeroChara().m_bActing = 1;
    AddShot(1, HeroChara().m_dX, HeroChara().m_dY).m_EdShot.m_nPower = 5;
    ASSERT_EQ(m_scene.HitGroups(), PlayResult::Miss);
    ASSERT_EQ(m_scene.m_bInHitPass, 1);

    Setup();
    EXPECT_EQ(g_vMapCells.at(placed).m_nLatch, 0);
    EXPECT_EQ(g_vMapCells.at(placed).m_nGraphic, 1);
    EXPECT_EQ(g_vMapCells.at(cell).m_nGraphic, 0);
    EXPECT_EQ(m_scene.m_bInHitPass, 0);
    EXPECT_TRUE(m_scene.m_lstShots.empty());
}

TEST_F(SetupTest, ToggledCellsAreKeptForTheScenesLife) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Install();
    m_scene.m_vSummonedCells = {700};
    Setup();
    EXPECT_EQ(m_scene.m_vSummonedCells, (std::vector<long long>{700}));
}

TEST_F(SetupTest, MapTooLargeOrUnreadableReplayEndsTheSetUp) {
    platform::CapturedMessageBoxes boxes;
    StageBuilder huge(1 << 30, 10);
    huge.Hero(2, 5);
    huge.Chara(6, 5);
    huge.Install();
    Setup();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, SJ("メモリ不足により、ステージの初期設定に失敗しました！"));
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_TRUE(g_lstCharas.empty());
    EXPECT_TRUE(g_vMapCells.empty());

    g_bQuit = 0;
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Chara(6, 5);
    b.Install();
    // A retry in playback reads the replay again; a file that is not there
    // is reported with its name.
    PlayBack();
    g_Stage.m_strPath = "user_data\\rpl4\\gone.rpl4_1000";
    Setup(1, 0);
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_TRUE(g_lstCharas.empty());
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_NE(boxes.Boxes()[1].text.find("gone.rpl4_1000"), std::string::npos);
}

// A stage that takes the carried values: the hero's placement and its
// counters get them before the hero is made.
TEST_F(SetupTest, CarriedValuesReachTheHero) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Stage().m_bCarryIn = 1;
    b.Install();
    g_Progress.m_bCarried = 1;
    g_Progress.m_vecCarriedItem.Fill(0);
    g_Progress.m_vecCarriedItem.at(11) = 1;  // the HP counter
    g_Progress.m_vecCarriedItem.at(13) = 1;  // maximum HP and SP
    g_Progress.m_vecSavedChara.at(0).m_nItem11 = 7;
    g_Progress.m_vecSavedChara.at(0).m_Chara.m_nMaxHP = 321;
    Setup(0, 1);
    EXPECT_EQ(HeroChara().m_Def.m_nMaxHP, 321);
    EXPECT_EQ(HeroChara().m_nHP, 7);
}

TEST_F(SetupTest, RetryPutsTheLoadersHeroBackUnlessTheGameKeepsIt) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Install();
    g_Stage.m_vecPlacedChara[0].m_nMaxHP = 77;  // changed by an earlier try
    Setup();
    EXPECT_EQ(g_Stage.m_vecPlacedChara[0].m_nMaxHP, g_HeroDef.m_nMaxHP);

    g_SystemData.OptKeepHeroDef = 1;
    g_Stage.m_vecPlacedChara[0].m_nMaxHP = 77;
    Setup();
    EXPECT_EQ(g_Stage.m_vecPlacedChara[0].m_nMaxHP, 77);
}

TEST_F(SetupTest, ShotScheduleFollowsTheStage) {
    StageBuilder b(20, 10, 8);  // 8 sub-steps
    b.Hero(2, 5);
    b.Stage().m_nHitChecks = 3;
    b.Install();
    Setup();
    EXPECT_EQ(g_Stage.m_nSubSteps, 8);
    EXPECT_EQ(m_scene.m_vSubStepActive, (cCheckedVector<int32_t>{1, 0, 1, 0, 0, 1, 0, 0}));
}

// A retry after a shown picture, a running effect and screen effect, a
// screen tint and an open message window starts with none of them, and the
// surfaces that play made are released.
TEST_F(SetupTest, RetryStartsWithoutTheLastTrysPicturesEffectsTintAndWindows) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Install();
    Setup();
    m_scene.m_lstPictures.emplace_back().m_nPicture = 3;
    g_lstRunTimeSurfaces.emplace_back();
    g_lstRunTimeSlots.emplace_back();
    m_scene.m_lstEffects.emplace_back().m_nEffectId = 2;
    m_scene.m_ScreenEffect.m_nEffectId = 4;
    g_lstScreenEffectSurfaces.emplace_back();
    m_scene.m_ScreenColor.bActive = 1;
    m_scene.m_ScreenColor.red = 200;
    m_scene.m_ScreenColor.nStrength = 80;
    m_scene.m_ScreenColor.nAlpha = 90;
    MessageWindowInit popup;
    popup.nKind = MESWIN_ICON;
    popup.nDurationMode = 2;
    popup.nFrames = 300;
    m_scene.m_lstMessages.emplace_back().Init(popup);
    m_scene.m_Wait.m_nReserved = 7;

    Setup();
    EXPECT_TRUE(m_scene.m_lstPictures.empty());
    EXPECT_TRUE(m_scene.m_lstEffects.empty());
    EXPECT_TRUE(m_scene.m_lstMessages.empty());
    EXPECT_EQ(m_scene.m_ScreenEffect.m_nEffectId, 0);
    EXPECT_EQ(m_scene.m_ScreenColor.bActive, 0);
    EXPECT_EQ(m_scene.m_ScreenColor.red, 0);
    EXPECT_EQ(m_scene.m_ScreenColor.nStrength, 0);
    EXPECT_EQ(m_scene.m_ScreenColor.nAlpha, 255);
    EXPECT_EQ(m_scene.m_Wait.m_nReserved, 0);
    EXPECT_TRUE(g_lstRunTimeSurfaces.empty() && g_lstRunTimeSlots.empty());
    EXPECT_TRUE(g_lstScreenEffectSurfaces.empty());
}

// The stage's frame rate becomes the frame rate the frames are paced to,
// and the first menu scene after the stage asks for its music again.
TEST_F(SetupTest, FrameRateAndMenuMusicOfTheSetUp) {
    const int savedRate = g_SceneState.m_nFrameRate;
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Stage().m_nFrameRate = 30;
    b.Install();
    g_SceneState.m_nFrameRate = 60;
    g_SceneState.m_nBgmEntry = 5;  // the world map's repeating piece
    g_SceneState.m_bBgmRepeat = 1;
    Setup(0, 1);
    EXPECT_EQ(g_SceneState.m_nFrameRate, 30);
    EXPECT_EQ(g_SceneState.m_nBgmEntry, 0);
    g_SceneState.m_nFrameRate = savedRate;
}

// A start position carried from the stage-clear command brings its facing.
TEST_F(SetupTest, CarriedStartPositionBringsItsFacing) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Install();
    ASSERT_EQ(g_HeroDef.m_nFacing, 0);
    g_Progress.m_bNextStartPos = 1;
    g_Progress.m_nNextStartX = 6;
    g_Progress.m_nNextStartY = 4;
    g_Progress.m_nNextStartDir = 1;
    Setup(0, 1);
    EXPECT_EQ(HeroChara().m_nFacing, 1);
    EXPECT_EQ(static_cast<int>(HeroChara().m_dX) / 32, 10 + 6);  // the carried cell
    // Without it the placement's facing stands (a retry puts it back).
    g_Progress.m_bNextStartPos = 0;
    Setup();
    EXPECT_EQ(HeroChara().m_nFacing, 0);
}

}  // namespace
