// The player chara: its sub-step update in order, the held jump, the move
// types and hit boxes, moves on the stage and item commands.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/arrange.h"
#include "engine/flow_runtime.h"
#include "engine/item_commands.h"
#include "media/input/input_list.h"
#include "play/numeric.h"
#include "tests/support/sound_log.h"
#include "tests/support/chara_fixture.h"

using namespace charatest;

namespace {

std::vector<std::string> g_trace;

// The item command that adds a flow with the ID (one wait).
cEdFlowCmd AddFlowCmd(int id) {
    cEdFlowCmd c = MakeCmd(cEdFlowCmd::FAMILY_ITEM, ICMD_CHANGE_FLOW, {0, 0});
    c.m_vecFlow = {MakeFlow(id, {Wait(1)})};
    return c;
}


class PlayerTest : public CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        g_trace.clear();
        g_vPlayers.resize(1);
    }
    cCharaPlayer& Player() { return g_vPlayers[0]; }
    // The hero from a player-side definition, standing at (x, y).
    cCharaPlayer& MakePlayer(std::vector<cEdFlow> flows = {}, double x = 640, double y = 640) {
        cEdChara def = MakeCharaDef(std::move(flows));
        def.m_nSide = 0;
        def.m_nGroup = 0;
        def.m_nFriction = 0;
        cCharaPlayer& p = Player();
        p.InitPlayer(def, 1);
        p.m_dX = x;
        p.m_dY = y;
        p.AfterMoveX();
        p.AfterMoveY();
        return p;
    }
};

// ---------------------------------------------------------------------------
// The sub-step update

// Through the real flow runtime: the wait executor writes the trace; flow 4's
// wait of time 0 ends at once; flow 1 has an animation due at frame 0.
TEST_F(PlayerTest, UpdateCharaRunsItsStepsInOrder) {
    CmdExecTable[CMD_WAIT] = [](cChara& c, cFlowCmd&) {
        g_trace.push_back("step " + CurrentFlowId() + (&c == &g_vPlayers[0] ? "" : " (no current chara)") +
                          (c.m_lstAnimeRuns.empty() ? " (no animation)" : ""));
    };
    g_vAnimeSteps.assign(4, AnimeTrack{AnimeStep{1, 6, 0}, AnimeStep{ANIME_END, 0, 0}});
    cCharaPlayer& p = MakePlayer({MakeFlow(1, {Wait(1)}), MakeFlow(2, {}), MakeFlow(3, {Wait(1)}),
                                  MakeFlow(4, {Wait(0)}), MakeFlow(5, {Wait(1)}), MakeFlow(6, {Wait(1)})});
    for (cFlow& f : p.m_vFlows) f.m_bRunning = 1;
    p.m_vFlows[0].m_vAnimeSchedule.push_back(FlowAnimeEntry{0, 0, 3, 0, 0, 6, 1});
    p.m_vFlows[2].m_bPaused = 1;
    p.m_vFlows[4].m_bRunning = 0;
    p.m_vFlows[5].m_bHalted = 1;
    p.m_vFlows[4].m_bRemove = 1;
    p.m_bRemovePending = 1;
    // The queued flow changes add flows 7 and 8 after the flow pass.
    p.m_vecPendingFlowChange = {AddFlowCmd(7), AddFlowCmd(8)};
    p.m_vGroupRunning[3] = p.m_vGroupEnded[3] = p.m_vGroupRunning[4] = 1;
    p.m_bGroupEnded = 1;
    m_scene.m_bDeathPending = 1;
    p.m_bNoGravity = p.m_bForcedAnime = p.m_Draw.bNoDraw = 1;
    p.m_bDecelX = 0;
    EXPECT_EQ(p.UpdateChara(0), 0);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"step 1", "step 4"}));
    EXPECT_EQ(p.m_lstAnimeRuns.size(), 1u);
    EXPECT_EQ(p.m_vFlows[0].m_bRunning, 1);
    EXPECT_EQ(p.m_vFlows[1].m_bRunning, 0);  // no commands: stopped
    EXPECT_EQ(p.m_vFlows[3].m_bRunning, 0);  // its last command finished
    EXPECT_EQ(m_scene.m_bDeathPending, 0);
    EXPECT_EQ(m_scene.m_lpCurChara, nullptr);
    EXPECT_TRUE(p.m_vecPendingFlowChange.empty());
    ASSERT_EQ(p.m_vFlows.size(), 7u);  // flow 5 removed, 7 and 8 added
    EXPECT_EQ(p.m_vFlows[5].m_lpDef->m_nId, 7);
    EXPECT_EQ(p.m_vFlows[6].m_lpDef->m_nId, 8);
    EXPECT_EQ(p.m_vFlows[6].m_bRunning, 0);
    ExpectOwnDefinitions(p);
    EXPECT_EQ(p.m_bRemovePending, 0);
    EXPECT_EQ(p.m_vGroupRunning[3] + p.m_vGroupEnded[3], 0);
    EXPECT_EQ(p.m_vGroupRunning[4], 1);
    EXPECT_EQ(p.m_bGroupEnded, 0);
    EXPECT_EQ(p.m_bNoGravity + p.m_bForcedAnime, 0);
    EXPECT_EQ(p.m_Draw.bNoDraw, 0) << "every update shows the chara again";
    EXPECT_EQ(p.m_bDecelX + p.m_bDecelY, 2);
    EXPECT_EQ(p.m_nSubStepCounter, 1);
}

TEST_F(PlayerTest, AnEarlyDeathStillClearsTheCurrentReferences) {
    CmdExecTable[CMD_WAIT] = [](cChara&, cFlowCmd&) {
        g_trace.push_back("step " + CurrentFlowId());
        g_vPlayers[0].m_nHP = 0;
    };
    cCharaPlayer& p = MakePlayer({MakeFlow(1, {Wait(1)}), MakeFlow(2, {Wait(1)})});
    for (cFlow& f : p.m_vFlows) f.m_bRunning = 1;
    p.m_vecPendingFlowChange = {AddFlowCmd(7)};
    EXPECT_EQ(p.UpdateChara(0), 1);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"step 1"}));
    EXPECT_EQ(m_scene.m_lpCurChara, nullptr);
    EXPECT_EQ(m_scene.m_lpCurFlow, nullptr);
    EXPECT_EQ(p.m_vecPendingFlowChange.size(), 1u);  // left for the next update
    EXPECT_EQ(p.m_vFlows.size(), 2u);
}

TEST_F(PlayerTest, WhileDyingOnlyDeathFlowsRun) {
    CmdExecTable[CMD_WAIT] = [](cChara&, cFlowCmd&) { g_trace.push_back("step " + CurrentFlowId()); };
    cCharaPlayer& p = MakePlayer({MakeFlow(1, {Wait(1)}), MakeFlow(2, {Wait(1)}, 5), MakeFlow(3, {Wait(1)}, 5)});
    for (cFlow& f : p.m_vFlows) f.m_bRunning = 1;
    p.m_nHP = 0;
    EXPECT_EQ(p.UpdateChara(1), 1);  // HP below 1: the result, after the pass
    EXPECT_EQ(g_trace, (std::vector<std::string>{"step 2", "step 3"}));
}

TEST_F(PlayerTest, SpeedsOfTheSubStep) {
    struct Case {
        int option, follow, flying, autoX, edgeX;
        double speedX, speedY;
    } cases[] = {
        {0, 0, 0, 1, 0, 0.0, 9.0},   // walking keeps its y speed
        {0, 0, 1, 1, 0, 0.0, 0.0},
        {0, 1, 0, 1, 0, 1.5, 9.0},
        {0, 1, 1, 1, 0, 1.5, 0.5},
        {0, 1, 1, 1, 1, 0.0, 0.5},  // the x axis stopped at its edge
        {0, 1, 1, 0, 0, 0.0, 0.5},  // no automatic scrolling on x
        {1, 0, 0, 1, 0, 0.0, 9.0},
        {1, 0, 1, 1, 0, 1.5, 0.5},  // flyers follow whatever the flag
    };
    for (const Case& k : cases) {
        g_SystemData.OptFlyersFollowScroll = k.option;
        cCharaPlayer& p = MakePlayer();
        p.SetMoveType(k.flying, 0, 0, 0);
        p.m_bFollowScroll = k.follow;
        m_scene.m_ScrollX.m_bAutoOn = k.autoX;
        m_scene.m_ScrollX.m_dSpeed = 1.5;
        m_scene.m_ScrollX.m_bAtEdge = k.edgeX;
        m_scene.m_ScrollY.m_bAutoOn = 1;
        m_scene.m_ScrollY.m_dSpeed = 0.5;
        p.m_dSpeedX = p.m_dSpeedY = 9;
        p.UpdateChara(0);
        EXPECT_EQ(p.m_dSpeedX, k.speedX) << k.option << k.follow << k.flying << k.autoX << k.edgeX;
        EXPECT_EQ(p.m_dSpeedY, k.speedY) << k.option << k.follow << k.flying << k.autoX << k.edgeX;
    }
}

TEST_F(PlayerTest, StandingTrackAndTheJumpReset) {
    g_Database.m_vecAnimeSet.assign(1, cDbAnimeSet());
    g_Database.m_vecAnimeSet[0].m_vecAnimes.resize(6);
    cCharaPlayer& p = MakePlayer();
    // Every step of a chara's tracks is locked: only a forced change moves.
    p.m_Anime.SetTrack(3, 1);
    p.UpdateChara(0);
    EXPECT_EQ(p.m_Anime.m_nTrack, 0);
    p.SetMoveType(1, 0, 0, 0);
    p.UpdateChara(0);
    EXPECT_EQ(p.m_Anime.m_nTrack, 2);
    p.m_dMoveSpeedX = 1;
    p.m_Anime.SetTrack(3, 1);
    p.UpdateChara(0);
    EXPECT_EQ(p.m_Anime.m_nTrack, 3);  // moving: left alone
    // A forced animation is shown (a command sets it during the flow pass).
    CmdExecTable[CMD_WAIT] = [](cChara&, cFlowCmd&) {
        g_vPlayers[0].m_bForcedAnime = 1;
        g_vPlayers[0].m_nForcedAnime = 5;
    };
    p.m_Def.m_vecFlow = {MakeFlow(1, {Wait(1)})};
    p.InsertFlows(p.m_Def.m_vecFlow, 0, 0);
    p.m_vFlows[0].m_bRunning = 1;
    p.UpdateChara(0);
    EXPECT_EQ(p.m_Anime.m_nTrack, 5);
    // Without a jump in the sub-step its hold state is reset.
    p.m_nHoldCounter = 4;
    p.m_bHoldAllowed = 0;
    p.m_bJumpBlocked = 1;
    p.UpdateChara(0);
    EXPECT_EQ(p.m_nHoldCounter, 0);
    EXPECT_EQ(p.m_bHoldAllowed, 1);
    EXPECT_EQ(p.m_bJumpBlocked, 0);
}

// ---------------------------------------------------------------------------
// The jump

class JumpTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        m_sounds = std::make_unique<soundlog::Scope>();
        MakeMap({{20, 21}, {21, 21}});
        // Standing on the block row: bottom on the last pixel above row 21.
        cCharaPlayer& p = MakePlayer({}, 20 * 32 + 8, 21 * 32 - 32);
        p.m_nFootBlock = static_cast<int>(CellIndex(20, 21));
        p.m_bAirborne = 0;
        // The flow's last key step: button 0 held, read from the live keys.
        m_keyCond.m_vecKey.at(11) = cKeyCond::KEY_PRESSED;
        m_flow.m_vKeyConds.push_back(&m_keyCond);
        m_scene.m_lpCurFlow = &m_flow;
    }
    // A jump command: p0..p4, duration in sub-steps, launch speed.
    void SetCommand(std::vector<int32_t> params, int duration, double launch = -5.0) {
        m_def = MakeCmd(0, 10, std::move(params));
        m_def.m_nSound = 3;
        m_cmd = cFlowCmd{};
        m_cmd.m_lpDef = &m_def;
        m_cmd.m_nDuration = m_cmd.m_nRemaining = duration;
        m_cmd.m_dLaunchSpeed = launch;
    }
    // One sub-step as the play step runs it: the update's resets, the jump.
    void SubStep(int held, int e = 1) {
        Player().m_lpInput->m_vecButtonKeys.at(1).at(0).m_nState = held;
        m_scene.m_nSubStep = e;
        cCharaPlayer& p = Player();
        p.m_bJumpHandled = 0;
        p.Jump(m_cmd);
        if (!p.m_bJumpHandled) p.m_nHoldCounter = 0, p.m_bHoldAllowed = 1, p.m_bJumpBlocked = 0;
    }
    void TearDown() override {
        g_InputList.at(0).ResizeKeyHistory();
        PlayerTest::TearDown();
    }
    // Off the ground after a launch.
    void Lift() { Player().m_nFootBlock = 0; }
    cEdFlowCmd m_def;
    std::unique_ptr<soundlog::Scope> m_sounds;
    cFlowCmd m_cmd;
    cKeyCond m_keyCond;
    cFlow m_flow;
};

TEST_F(JumpTest, TapCutsTheRiseOnce) {
    SetCommand({1, 0, 0, 0, 0}, 10);
    cCharaPlayer& p = Player();
    SubStep(1);
    EXPECT_DOUBLE_EQ(p.m_dSpeedY, -5.0);
    EXPECT_EQ(p.m_bJumpStarted, 1);
    EXPECT_EQ(m_cmd.m_bLaunched, 1);
    EXPECT_EQ(soundlog::UserPlayed(), (std::vector<int>{3}));
    Lift();
    SubStep(0);
    EXPECT_DOUBLE_EQ(p.m_dSpeedY, -1.5);
    EXPECT_EQ(p.m_bJumpCut, 1);
    SubStep(0);
    EXPECT_DOUBLE_EQ(p.m_dSpeedY, -1.5);  // once
    SubStep(1);
    EXPECT_DOUBLE_EQ(p.m_dSpeedY, -1.5);  // no second launch in the air
    EXPECT_EQ(soundlog::Played().size(), 1u);
}

TEST_F(JumpTest, HoldingToTheDurationEndsTheLiftUncut) {
    SetCommand({1, 0, 0, 0, 0}, 3);
    cCharaPlayer& p = Player();
    SubStep(1);
    Lift();
    SubStep(1);
    EXPECT_EQ(p.m_bJumpCut, 0);
    SubStep(1);  // the counter reaches the duration
    EXPECT_EQ(p.m_bJumpCut, 1);
    EXPECT_EQ(p.m_bHoldAllowed, 0);
    EXPECT_DOUBLE_EQ(p.m_dSpeedY, -5.0);
    SubStep(0);  // released afterwards: no cut speed
    EXPECT_DOUBLE_EQ(p.m_dSpeedY, -5.0);
}

TEST_F(JumpTest, AKeyHeldSinceAnEarlierFrameDoesNotLaunch) {
    SetSubSteps(2);
    SetCommand({1, 0, 0, 0, 0}, 40);
    cCharaPlayer& p = Player();
    p.m_nHoldCounter = 2;  // held through the last frame's two sub-steps
    p.m_bJumpHandled = 1;
    p.m_lpInput->m_vecButtonKeys.at(1).at(0).m_nState = 1;
    m_scene.m_nSubStep = 1;
    p.m_bJumpHandled = 0;
    p.Jump(m_cmd);
    EXPECT_EQ(p.m_dSpeedY, 0.0);
    EXPECT_EQ(p.m_nHoldCounter, 3);
}

TEST_F(JumpTest, FixedJumpAndLandingAllowsAnother) {
    m_flow.m_vKeyConds.clear();
    SetCommand({0, 0, 0, 0, 0}, 6);
    cCharaPlayer& p = Player();
    SubStep(0);  // a fixed jump needs no key
    EXPECT_DOUBLE_EQ(p.m_dSpeedY, -5.0);
    // Back on the ground and falling no more: the command may launch again.
    p.m_dSpeedY = 0;
    p.m_bJumpStarted = 0;
    p.m_bJumpCut = 0;
    SubStep(0);
    EXPECT_EQ(m_cmd.m_bLaunched, 0);
    EXPECT_EQ(p.m_bJumpHandled, 0);  // the reset ends the call
    SubStep(0);
    EXPECT_DOUBLE_EQ(p.m_dSpeedY, -5.0);
}

TEST_F(JumpTest, KeyedJumpEndsTheCommandOnLanding) {
    SetCommand({1, 0, 0, 0, 0}, 6);
    cCharaPlayer& p = Player();
    p.m_bKnockedBack = 1;
    SubStep(0);
    EXPECT_EQ(m_cmd.m_nRemaining, 0);
    EXPECT_EQ(p.m_bKnockedBack, 0);
    EXPECT_EQ(p.m_bJumpHandled, 1);
}

// A key flow's jump started again by the next press launches again: the
// command's start clears what the last run's launch left.
TEST_F(JumpTest, AKeyedJumpRunAgainLaunchesAgain) {
    SetCommand({0, 0, 0, 0, 0}, 6);
    cCharaPlayer& p = Player();
    SubStep(1);
    ASSERT_DOUBLE_EQ(p.m_dSpeedY, -5.0);
    ASSERT_EQ(m_cmd.m_bLaunched, 1);
    // Landed, the command's time ran out and the key went up (sub-steps
    // without the jump reset the hold); the flow's next run starts it anew.
    p.m_dSpeedY = 0;
    p.m_bJumpStarted = 0;
    p.m_bJumpCut = 0;
    p.m_nHoldCounter = 0;
    p.m_bHoldAllowed = 1;
    m_cmd.m_nRemaining = 0;
    ResetFlowCmd(m_cmd);
    EXPECT_EQ(m_cmd.m_bLaunched, 0);
    SubStep(1);
    EXPECT_DOUBLE_EQ(p.m_dSpeedY, -5.0);
    EXPECT_EQ(soundlog::UserPlayed(), (std::vector<int>{3, 3}));
}

TEST_F(JumpTest, HeightByWalkingSpeed) {
    SetSubSteps(2);
    // s1 = p1 / 20, s3 = p3 / 20 per sub-step.
    struct Case {
        int p1, p3;
        double v;
        int height;
    } cases[] = {
        {40, 20, 3.0, 6},   // at or above s1 = 2: p2
        {40, 20, 2.0, 6},
        {40, 20, 0.5, 2},   // at or below s3 = 1: p4
        {40, 20, 1.0, 2},
        {40, 20, 1.5, 5},   // between: trunc(2 + 4 x 1.5 / 2)
        {20, 20, 1.0, 2},   // p1 = p3, v on both: p4
        {20, 20, 1.5, 6},   // above: p2
        {20, 20, 0.5, 2},
    };
    for (const Case& k : cases) {
        SetCommand({2, k.p1, 6, k.p3, 2}, 40);
        cCharaPlayer& p = Player();
        p.m_dMoveSpeedX = -k.v;
        p.m_dSpeedY = 0;
        p.m_bJumpStarted = 0;
        SubStep(1);
        EXPECT_DOUBLE_EQ(m_cmd.m_dLaunchSpeed, p.JumpSpeed(k.height * 16)) << k.p1 << " " << k.p3 << " " << k.v;
    }
}

TEST_F(JumpTest, LaunchFromAMovingBlockChara) {
    for (int repeat : {0, 1}) {
        g_SystemData.OptRepeatJumpLaunch = repeat;
        SetSubSteps(3);
        SetCommand({1, 0, 0, 0, 0}, 60);
        cCharaPlayer& p = Player();
        p.m_nFootBlock = 0;
        p.m_nHoldCounter = 0;
        p.m_bOnBlockChara = 1;
        p.m_bJumpStarted = 0;
        p.m_dSpeedY = 0;
        SubStep(1, 1);
        SubStep(1, 2);
        EXPECT_EQ(p.m_dSpeedY, 0.0) << repeat;  // not before the block's own move
        EXPECT_EQ(p.m_bOnBlockChara, 1);
        SubStep(1, 3);
        EXPECT_DOUBLE_EQ(p.m_dSpeedY, repeat ? -5.0 * kScale102 : -5.0);
        EXPECT_EQ(p.m_bOnBlockChara, 0);
        EXPECT_EQ(m_cmd.m_bLaunched, 1);
    }
}

TEST_F(JumpTest, RepeatLaunchIgnoresAStartedJump) {
    for (int repeat : {0, 1}) {
        g_SystemData.OptRepeatJumpLaunch = repeat;
        SetCommand({1, 0, 0, 0, 0}, 60);
        cCharaPlayer& p = Player();
        p.m_bJumpStarted = 1;
        p.m_nHoldCounter = 0;
        p.m_dSpeedY = 0;
        SubStep(1);
        EXPECT_DOUBLE_EQ(p.m_dSpeedY, repeat ? -5.0 : 0.0);
    }
}

TEST_F(JumpTest, FlyingOrOncePerSubStep) {
    SetCommand({0, 0, 0, 0, 0}, 6);
    cCharaPlayer& p = Player();
    p.m_bJumpHandled = 1;
    p.Jump(m_cmd);
    EXPECT_EQ(p.m_dSpeedY, 0.0);
    p.SetMoveType(1, 0, 0, 0);
    SubStep(1);
    EXPECT_EQ(p.m_dSpeedY, 0.0);
}

// ---------------------------------------------------------------------------
// Move types, hit boxes, moves

TEST_F(PlayerTest, HitBoxesPerHitRange) {
    // Collision 16 x 24 walking, 16 x 16 flying, both bottom-aligned
    // walking; body 20 x 28 walking, 10 x 12 flying; shot 12 x 8; item
    // 16 x 16; the side-0 shot box 6 x 4.
    auto& b = g_Stage.m_anBoxSetting;
    b[4] = 20, b[5] = 28, b[6] = 10, b[7] = 12, b[14] = 1, b[15] = 0, b[40] = 6, b[41] = 4;
    struct Case {
        int range, flying;
        int x, y, w, h;
    } cases[] = {
        {0, 0, 16 - 8 - 10, 32 - 8 - 28, 20, 28},
        {0, 1, 16 - 8 - 5, 16 - 8 - 6, 10, 12},
        {1, 0, 16 - 8 - 6, 16 - 8 - 4, 12, 8},
        {2, 0, 16 - 8 - 3, 16 - 8 - 2, 6, 4},
        {3, 0, 16 - 8 - 16, 16 - 8 - 16, 32, 32},
    };
    for (const Case& k : cases) {
        cCharaPlayer& p = MakePlayer();
        p.m_Def.m_nHitRange = static_cast<int8_t>(k.range);
        p.SetMoveType(k.flying, 0, 0, 0);
        EXPECT_EQ(p.m_nDrawOffsetX, 8);
        EXPECT_EQ(p.m_nDrawOffsetY, k.flying ? 8 : 8);
        const CharaHitBox& h1 = p.m_HitBox1;
        EXPECT_EQ(std::vector<int>({h1.nOffsetX, h1.nOffsetY, h1.nWidth, h1.nHeight}),
                  std::vector<int>({k.x, k.y, k.w, k.h}))
            << k.range << " " << k.flying;
        EXPECT_EQ(p.m_HitBox2.nOffsetX, 16 - 6 - 8);
        EXPECT_EQ(p.m_HitBox3.nOffsetY, 16 - 8 - 8);
    }
    // Doubled size: every box scaled, the base values kept.
    cCharaPlayer& p = MakePlayer();
    p.m_Def.m_nSize = 2;
    p.m_Def.m_nHitRange = 0;
    p.SetMoveType(0, 1, 0, 0);
    EXPECT_EQ(p.m_nWidth, 32);
    EXPECT_EQ(p.m_HitBox1.nWidth, 40);
    EXPECT_EQ(p.m_HitBox1.nBaseWidth, 20);
    EXPECT_EQ(p.m_HitBox2.nHeight, 16);
    // The display list: largest first.
    ASSERT_EQ(p.m_vHitBoxList.size(), 4u);
    EXPECT_EQ(p.m_vHitBoxList[0].nKind, 1);
    EXPECT_EQ(p.m_vHitBoxList[1].nKind, 0);
    EXPECT_EQ(p.m_vHitBoxList[3].nKind, 3);
    // The boxes follow the position.
    p.m_dX = 700.7;
    p.UpdateHitBoxX();
    EXPECT_DOUBLE_EQ(p.m_HitBox1.box[0], 700 + p.m_HitBox1.nOffsetX);
    EXPECT_DOUBLE_EQ(p.m_HitBox1.box[2], 700 + p.m_HitBox1.nOffsetX + 39);
}

TEST_F(PlayerTest, MoveTypeChanges) {
    SetSubSteps(2);
    cCharaPlayer& p = MakePlayer();
    p.m_dMoveSpeedX = 2;
    p.SetMoveType(1, 0, 1, 1);
    EXPECT_EQ(p.m_bFlying, 1);
    EXPECT_EQ(p.m_nMoveTypeCounter, 2);
    EXPECT_EQ(p.m_bRestoreRequest, 1);
    EXPECT_EQ(p.m_bAirborne, 1);
    EXPECT_EQ(p.m_nGraceCounter, 16);
    EXPECT_EQ(p.m_dMoveSpeedX, 2.0);
    const double x = p.m_dX;
    p.m_dX += 50;
    EXPECT_EQ(p.RestoreAfterTypeChange(), 1);
    EXPECT_EQ(p.m_dX, x);
    EXPECT_EQ(p.m_bRestoreRequest, 0);
    p.SetMoveType(0, 0, 0, 0);  // flying to walking: the speeds stop
    EXPECT_EQ(p.m_dMoveSpeedX, 0.0);
    p.m_nMoveTypeCounter = 0;
    EXPECT_EQ(p.RestoreAfterTypeChange(), 0);
    g_SystemData.OptNoGraceOnFly = 1;
    p.m_nGraceCounter = 0;
    p.SetMoveType(2, 0, 0, 0);
    EXPECT_EQ(p.m_nGraceCounter, 0);
    EXPECT_EQ(p.m_nWallMode, 1);
}

TEST_F(PlayerTest, TheViewFollowsThePlayer) {
    SetStage(40, 40);
    cCharaPlayer& p = MakePlayer({}, 1000, 700);
    EXPECT_DOUBLE_EQ(m_scene.m_ScrollX.m_dPos, 1000 - (320 - 8));
    EXPECT_DOUBLE_EQ(m_scene.m_ScrollY.m_dPos, 700 - (240 - 12));
    p.m_dX = 10;  // the view stays inside its range, the player inside the limits
    p.AfterMoveX();
    EXPECT_DOUBLE_EQ(m_scene.m_ScrollX.m_dPos, m_scene.m_ScrollX.m_nMinPos);
    EXPECT_DOUBLE_EQ(p.m_dX, m_scene.m_ScrollX.m_nOrigin);
    m_scene.m_ScrollX.m_bAutoOn = 1;  // a view that scrolls by itself is left alone
    m_scene.m_ScrollX.m_dPos = 400;
    p.m_dX = 1000;
    p.AfterMoveX();
    EXPECT_DOUBLE_EQ(m_scene.m_ScrollX.m_dPos, 400);
}

TEST_F(PlayerTest, PlayerScreenRectTruncatesAsOneValue) {
    cCharaPlayer& p = MakePlayer({}, 1000.75, 500.75);
    m_scene.m_ScrollX.m_dPos = 600.5;
    m_scene.m_ScrollY.m_dPos = 300.5;
    p.UpdatePlayerScreenRect();
    EXPECT_EQ(p.m_nScrLeft, TruncToInt(1000.75 - 8 - 600.5));  // 392
    EXPECT_EQ(p.m_nScrTop, TruncToInt(500.75 - 8 - 300.5));
    m_scene.m_ScrollX.m_bAutoOn = m_scene.m_ScrollY.m_bAutoOn = 1;
    p.UpdatePlayerScreenRect();
    EXPECT_EQ(p.m_nScrLeft, 1000 - 600 - 8);
    EXPECT_EQ(p.m_nScrBottom, 500 - 300 - 8 + 31);
}

TEST_F(PlayerTest, WalkingOutOfTheStageBottomGivesSeven) {
    cCharaPlayer& p = MakePlayer();
    const cScrollAxis& ay = m_scene.m_ScrollY;
    p.m_dY = ay.m_nEnd - p.m_nHeight - 1;
    p.m_dSpeedY = 5;
    EXPECT_EQ(p.MoveY(), 7);
    EXPECT_DOUBLE_EQ(p.m_dY, ay.m_nEnd - p.m_nHeight);  // kept inside the limits
    p.m_dY = 600;
    p.m_dSpeedY = 1;
    EXPECT_EQ(p.MoveY(), 0);
    p.SetMoveType(1, 0, 0, 0);
    p.m_dY = ay.m_nEnd - p.m_nHeight - 1;
    p.m_dSpeedY = 5;
    EXPECT_EQ(p.MoveY(), 0);  // flying: no code
}

TEST_F(PlayerTest, MoveXSpeedLimitImpactAndConveyor) {
    SetSubSteps(2);
    cCharaPlayer& p = MakePlayer();
    const double cap = g_Stage.m_dSpeedCapStep;
    p.m_dSpeedX = 100;
    const double x0 = p.m_dX;
    p.MoveX();
    EXPECT_DOUBLE_EQ(p.m_dX, x0 + cap);
    p.m_dSpeedX = 0;
    p.m_dImpactX = -1.25;
    p.m_dMoveSpeedX = 3;
    p.MoveX();
    EXPECT_DOUBLE_EQ(p.m_dSpeedX, -1.25);  // the impact replaces walking
    p.m_dImpactX = 0;
    const double unit = cCharaPlayer::PerFrame(4 / 2.0);
    struct Case {
        int kind;
        double factor, speed, after;
    } cases[] = {
        {3, 2.0, 1.0, 1.0 + unit},
        {3, 2.0, -1.0, -1.0 - unit},
        {3, 0.5, 1.0, 1.0 - 0.5 * unit},
        {3, 0.5, 0.5 * unit * 0.5, 0.0},  // would turn round: stops
        {2, 2.0, 1.0, 1.0},
    };
    for (const Case& k : cases) {
        p.m_bFootFlag = 1;
        p.m_nFootKind = k.kind;
        p.m_dFootFactor = k.factor;
        p.m_dMoveSpeedX = k.speed;
        p.m_dSpeedX = 0;
        p.MoveX();
        EXPECT_DOUBLE_EQ(p.m_dMoveSpeedX, k.after) << k.kind << " " << k.factor << " " << k.speed;
        EXPECT_DOUBLE_EQ(p.m_dSpeedX, k.after);
    }
}

TEST_F(PlayerTest, MoveByAndFriction) {
    cTestChara c;
    c.InitChara(nullptr, nullptr, 0);
    c.Init(1, 1, 0, 1, 0, nullptr, 0, 0, 0, 32, 32, 32, 32, 1, 1, 0);
    c.m_dX = 800;
    c.m_dY = 600;
    c.m_dSpeedX = 100;
    EXPECT_EQ(c.MoveByX(0), 0);
    EXPECT_DOUBLE_EQ(c.m_dX, 806);
    c.m_dSpeedY = -100;
    c.MoveByY(0);
    EXPECT_DOUBLE_EQ(c.m_dY, 594);
    c.m_dX = 2;
    c.m_dSpeedX = -6;
    EXPECT_EQ(c.MoveByX(2), 3);  // beyond the stage
    c.m_dFriction = 0.5;
    double s = 0.3;
    c.Decelerate(s, 1);
    EXPECT_EQ(s, 0.0);
    s = -2;
    c.Decelerate(s, 1);
    EXPECT_EQ(s, -1.5);
    c.Decelerate(s, 0);
    EXPECT_EQ(s, -1.5);
    EXPECT_DOUBLE_EQ(cObject::PerFrame(60), 1.0);
}

// ---------------------------------------------------------------------------
// Items

TEST_F(PlayerTest, RunItemCommands) {
    static std::vector<int> results;
    // The item command table, its slots traced.
    const std::vector<ItemCmdFn> saved(std::begin(ItemCmdExecTable), std::end(ItemCmdExecTable));
    for (ItemCmdFn& slot : ItemCmdExecTable) slot = [](cChara& c, cEdFlowCmd& cmd) {
        g_trace.push_back("run " + std::to_string(cmd.m_nTime) + " " + std::to_string(cmd.m_vecParam.empty() ? -1 : cmd.m_vecParam[0]));
        if (cmd.m_nTime == 9) c.m_nHP = 0;
        const int r = results.empty() ? 0 : results.front();
        if (!results.empty()) results.erase(results.begin());
        return r;
    };
    BuildArrangeParamTable();
    cCharaPlayer& p = MakePlayer();
    int32_t vars[2] = {};
    auto item = [](int kind, int time) { return MakeCmd(cEdFlowCmd::FAMILY_ITEM, kind, {0, 0, 0, 0}, time); };
    // Screen colour commands (item kind 18); the queued change sets the red
    // of the next one to chara variable 1.
    std::vector<cEdFlowCmd> cmds{item(18, 1), item(23, 2), item(18, 3)};
    m_scene.m_bItemMessageShown = 1;
    p.m_vVars.at(1) = 77;
    p.m_lstArrange.push_back(cArrange{33, 0, 0, 2, 1});
    results = {0, 0, 0};
    EXPECT_EQ(p.RunItemCommands(cmds, vars), PlayResult::Continue);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"run 1 77", "run 2 0", "run 3 0"}));
    EXPECT_EQ(cmds[0].m_vecParam[0], 77);  // the change stays in the command
    EXPECT_EQ(m_scene.m_bItemMessageShown, 0);
    EXPECT_EQ(m_scene.m_lpCurFlowVars, vars);
    EXPECT_TRUE(p.m_lstArrange.empty());
    // A non-zero result ends the list with it; death ends it with 2.
    g_trace.clear();
    results = {0, 1, 0};
    EXPECT_EQ(p.RunItemCommands(cmds, vars), PlayResult::StageClear);
    EXPECT_EQ(g_trace.size(), 2u);
    results = {5};
    std::vector<cEdFlowCmd> deadly{item(2, 9), item(2, 4)};
    EXPECT_EQ(p.RunItemCommands(deadly, vars), PlayResult::Miss);
    std::copy(saved.begin(), saved.end(), ItemCmdExecTable);
}

TEST_F(PlayerTest, TouchedItemsAndPickupMessages) {
    cCharaPlayer& p = MakePlayer();
    p.m_nKey = 42;
    p.m_lstTouchedItems = {3, 5};
    EXPECT_EQ(p.IsNewTouch(4), 1);
    EXPECT_EQ(p.IsNewTouch(5), 0);
    p.ForgetTouch(5);
    EXPECT_EQ(p.IsNewTouch(5), 1);
    // The popup above the player goes to the live scene's windows.
    cScenePlay scene;
    cScene* saved = g_lpPlayScene;
    g_lpPlayScene = &scene;
    p.ShowPickupMessage("coin", 4, -8, {2, 17, 1});
    g_lpPlayScene = saved;
    ASSERT_EQ(scene.m_lstMessages.size(), 1u);
    const cMessageWindow& w = scene.m_lstMessages.front();
    EXPECT_EQ(w.m_nKind, MESWIN_GRAPHIC);
    EXPECT_EQ(w.m_nTargetId, 42);
    EXPECT_EQ(w.m_strText, "coin");
    EXPECT_EQ(w.m_nOffsetX, 4);
    EXPECT_EQ(w.m_nOffsetY, -8);
    EXPECT_EQ(w.m_nAnchor, 4);
    EXPECT_EQ(w.m_bFixed, 1);
    EXPECT_EQ(w.m_nDurationMode, 2);
    EXPECT_EQ(w.m_nFramesLeft, 30);
    EXPECT_EQ(w.m_lpSurface, nullptr);
    EXPECT_EQ(w.m_nGraphic1, 2);
    EXPECT_EQ(w.m_nGraphic2, 17);
    EXPECT_EQ(w.m_nGraphic3, 1);
}

TEST_F(PlayerTest, InitPlayer) {
    SetSubSteps(4);
    cEdChara def = MakeCharaDef({MakeFlow(1, {Loop(2, 1), Wait(1)})});
    def.m_nSide = 0;
    def.m_nSize = 0;
    def.m_nFacing = 1;
    def.m_nMoveType = 1;
    cCharaPlayer& p = Player();
    p.InitPlayer(def, 17);
    EXPECT_EQ(p.m_nKey, 17);
    EXPECT_EQ(p.m_Def.m_nSize, 1);
    EXPECT_EQ(p.m_bFlying, 1);
    EXPECT_EQ(p.m_nWidth, 16);
    EXPECT_EQ(p.m_nHeight, 16);
    EXPECT_EQ(p.m_nFacing, 1);
    EXPECT_EQ(p.m_nPrevFacing, 1);
    EXPECT_DOUBLE_EQ(p.m_dConveyorSpeed, 1.0);
    EXPECT_EQ(p.m_lpInput, &g_InputList.at(0));
    ASSERT_EQ(p.m_vFlows.size(), 1u);
    EXPECT_EQ(p.m_vFlows[0].m_vCmds.size(), 2u);
    ExpectOwnDefinitions(p);
}

}  // namespace
