// The movement commands on a chara of their own: velocities by direction
// and angle, moves toward a point with their arrival time, the timing
// modes, the ground move at walls and ledges, charges, homing with a delay,
// keeping on screen, the facing change, the jump's set-up, and the
// older-data switches that change them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/move_commands.h"
#include "base/main_thread.h"
#include "tests/engine/flow_engine_fixture.h"
#include "tests/support/sound_log.h"

using namespace flowtest;

namespace {

constexpr double kS = 4.0;  // the speed of most cases
constexpr double kH = kS * 0.7071067811865476;

class MoveTest : public FlowEngineTest {
protected:
    void SetUp() override {
        FlowEngineTest::SetUp();
        PlaceOnScreen(m_chara, 200, 200, 32, 32);
        m_chara.m_Def.m_bFixedFacing = 0;
        m_chara.m_vTargets.assign(kTargetSlots, nullptr);
        m_scene.m_lpCurChara = &m_chara;
        m_scene.m_lpCurFlow = &m_flow;
    }
    // An instance of a command of the kind with a movement part.
    cFlowCmd& Cmd(int kind, const cEdMove& move, double speed = kS, int duration = 10) {
        m_def = MakeCmd(cEdFlowCmd::FAMILY_CHARA, kind, {0, 0, 0, 0, 0});
        m_def.m_spMove.Create() = move;
        m_cmd = cFlowCmd{};
        m_cmd.m_lpDef = &m_def;
        m_cmd.m_dSpeed = speed;
        m_cmd.m_nDuration = m_cmd.m_nRemaining = duration;
        m_cmd.m_nDirection = move.m_nDirection;
        return m_cmd;
    }
    static cEdMove Move(int direction = DIR_FORWARD) {
        cEdMove m;
        m.m_nDirection = static_cast<int8_t>(direction);
        m.m_nAnime = 2;
        return m;
    }
    // The displacement one step of the executor gives (cleared before).
    std::pair<double, double> Step(void (*exec)(cChara&, cFlowCmd&)) {
        m_chara.m_dSpeedX = m_chara.m_dSpeedY = 0;
        exec(m_chara, m_cmd);
        return {m_chara.m_dSpeedX, m_chara.m_dSpeedY};
    }
    cEdFlowCmd m_def;
    cFlowCmd m_cmd;
    cFlow m_flow;
};

TEST_F(MoveTest, VelocityByDirectionAndAngle) {
    struct Row {
        int code, facing, flying, angle, startDir;
        double vx, vy;
        int facingCode;
    } rows[] = {
        {DIR_FORWARD, 0, 0, 0, 0, -kS, 0, 1},
        {DIR_FORWARD, 1, 0, 0, 0, kS, 0, 2},
        {DIR_BACKWARD, 1, 0, 0, 0, -kS, 0, 1},
        {DIR_FORWARD_Y, 1, 1, 0, 0, 0, kS, 0},
        {DIR_UP, 0, 0, 0, 0, 0, 0, 0},  // a walker does not climb
        {DIR_UP, 0, 1, 0, 0, 0, -kS, 0},
        {DIR_UP_LEFT, 0, 0, 0, 0, -kH, 0, 1},  // an explicit diagonal stays one
        {DIR_DOWN_RIGHT, 0, 1, 0, 0, kH, kH, 2},
        {DIR_INPUT, 1, 0, 0, 0, kS, 0, 2},  // no key held: forward
        {DIR_INPUT, 1, 0, 0, 5, -kS, 0, 1},  // up-left held, walking: left at full speed
        {DIR_INPUT, 1, 1, 0, 5, -kH, -kH, 1},
        {DIR_LEFT, 1, 1, 90, 0, 0, -kS, 1},  // 90 degrees from left: up
        {DIR_LEFT, 1, 0, 90, 0, 0, 0, 1},
        {DIR_RIGHT, 0, 1, 90, 0, 0, kS, 2},
        {DIR_LEFT, 0, 1, 45, 0, -kH, -kH, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.code) + " " + std::to_string(r.facing) + " " + std::to_string(r.flying) + " " +
                     std::to_string(r.angle));
        m_chara.m_nFacing = r.facing;
        m_chara.m_bFlying = r.flying;
        m_flow.m_nStartDir = r.startDir;
        const MoveVelocity v = r.angle ? AngleToVelocity(m_chara, kS, r.code, r.angle)
                                       : DirectionToVelocity(m_chara, kS, r.code);
        EXPECT_NEAR(v.vx, r.vx, 1e-9);
        EXPECT_NEAR(v.vy, r.vy, 1e-9);
        EXPECT_EQ(v.facing, r.facingCode);
    }
    // A fixed facing gives no facing code.
    m_chara.m_Def.m_bFixedFacing = 1;
    EXPECT_EQ(DirectionToVelocity(m_chara, kS, DIR_LEFT).facing, 0);
}

TEST_F(MoveTest, StraightMoveTowardAPointLastsUntilArrival) {
    cEdMove m = Move();
    m.m_nMoveMode = 1;
    m.m_nCoordMode = 1;  // relative to the chara
    m.m_nTargetUnit = 1;
    m.m_nTargetXDot = 100;
    m.m_bMirrorTargetX = 0;
    Cmd(CMD_MOVE_STRAIGHT, m, 4.0, 999);
    EXPECT_EQ(Step(ExecMoveStraight), std::make_pair(4.0, 0.0));
    EXPECT_EQ(m_cmd.m_nRemaining, 25);
    EXPECT_EQ(m_chara.m_nFacing, 1);
    // Less than one step away: with stop on arrival it does not move.
    m.m_nTargetXDot = 3;
    m.m_bStopOnArrival = 1;
    Cmd(CMD_MOVE_STRAIGHT, m, 4.0, 999);
    EXPECT_EQ(Step(ExecMoveStraight), std::make_pair(0.0, 0.0));
    EXPECT_EQ(m_cmd.m_nRemaining, 0);
}

TEST_F(MoveTest, TimingModes) {
    cEdMove m = Move();
    m.m_nDistance = 4;  // half blocks: 64 dots
    // Time from speed and distance; older data keeps a negative time.
    m.m_nTimingMode = 2;
    for (int compat : {0, 1}) {
        g_SystemData.m_bCompat695 = compat;
        Cmd(CMD_MOVE_STRAIGHT, m, -4.0, 0);
        ComputeMoveTiming(m_cmd, m, 0);
        EXPECT_EQ(m_cmd.m_nDuration, compat ? -16 : 16);
        Cmd(CMD_MOVE_STRAIGHT, m, 0.0, 0);
        ComputeMoveTiming(m_cmd, m, 0);
        EXPECT_EQ(m_cmd.m_nDuration, std::numeric_limits<int32_t>::max()) << "speed 0: runs until stopped";
    }
    // Speed from time and distance; the clone's step counts in dots.
    m.m_nTimingMode = 1;
    m.m_nDistanceUnit = 1;
    m.m_nDistanceStep = 10;
    Cmd(CMD_MOVE_STRAIGHT, m, 0.0, 7);
    ComputeMoveTiming(m_cmd, m, 2);
    EXPECT_DOUBLE_EQ(m_cmd.m_dSpeed, 24.0 / 7);
    Cmd(CMD_MOVE_STRAIGHT, m, 0.0, 0);
    ComputeMoveTiming(m_cmd, m, 2);
    EXPECT_EQ(m_cmd.m_dSpeed, std::numeric_limits<double>::infinity());
    m.m_nDistance = m.m_nDistanceStep = 0;
    ComputeMoveTiming(m_cmd, m, 2);
    EXPECT_EQ(m_cmd.m_dSpeed, 0.0) << "0 / 0 moves nothing";
    // An infinite speed toward a point straight below: no NaN across.
    m_chara.m_bFlying = 1;
    m.m_nMoveMode = 1;
    m.m_nCoordMode = 1;
    m.m_nTargetUnit = 1;
    m.m_nTargetYDot = 50;
    Cmd(CMD_MOVE_STRAIGHT, m, std::numeric_limits<double>::infinity(), 5);
    const auto [vx, vy] = Step(ExecMoveStraight);
    EXPECT_EQ(vx, 0.0);
    EXPECT_EQ(vy, std::numeric_limits<double>::infinity());
}

TEST_F(MoveTest, CircleSetUpAndADurationFromSpeed) {
    cEdMove m = Move(0);
    m.m_nHoming = 2;
    m.m_nAngle = 0;
    m.m_nDistance = 90;
    m.m_nTimingMode = 1;
    SetSubSteps(2);
    Cmd(CMD_MOVE_CIRCLE, m, 1.5, 0);
    m_chara.m_nFacing = 0;
    SetupCircleMoveCmd(m_cmd, m_chara);
    EXPECT_EQ(m_cmd.m_nRadius, 2 * 16 * 2);
    EXPECT_EQ(m_cmd.m_nEndAngle, 180);
    EXPECT_EQ(m_cmd.m_nDuration, 60);  // 180 / 1.5 / 2
    // Facing right with the x mirror: the sense turns and 180 is added.
    m_chara.m_nFacing = 1;
    Cmd(CMD_MOVE_CIRCLE, m, 0.0, 0);
    SetupCircleMoveCmd(m_cmd, m_chara);
    EXPECT_EQ(m_cmd.m_nDirection, 1);
    EXPECT_EQ(m_cmd.m_nStartAngle, 360);
    EXPECT_EQ(m_cmd.m_nDuration, std::numeric_limits<int32_t>::max());
    // A flyer goes round once in 720 / 3 sub-steps and ends where it began.
    m_chara.m_bFlying = 1;
    Cmd(CMD_MOVE_CIRCLE, m, 1.5, 0);
    SetupCircleMoveCmd(m_cmd, m_chara);
    double x = 0, y = 0, most = 0;
    for (int i = 0; i < 240; ++i) {
        const auto [vx, vy] = Step(ExecMoveCircle);
        x += vx;
        y += vy;
        most = std::max(most, std::fabs(vy));
    }
    EXPECT_NEAR(x, 0.0, 1e-9);
    EXPECT_NEAR(y, 0.0, 1e-9);
    EXPECT_NEAR(most, 3.141592653589793 / 180 * 32 * 1.5, 1e-3);
}

class GroundTurnTest : public MoveTest {
protected:
    void SetUp() override {
        MoveTest::SetUp();
        // Standing with its feet over columns 20 and 21 of row 21.
        PlaceOnScreen(m_chara, 20 * 32 + 16, 21 * 32 - 32, 32, 32);
        m_chara.m_Def.m_bFixedFacing = 1;
    }
};

TEST_F(GroundTurnTest, LedgeTurnsEvenAFixedFacingChara) {
    struct Row {
        int compat;
        double speed;
        bool rightSolid;
        int facing;
    } rows[] = {
        {0, 2, true, 1},  {0, -2, true, 0}, {1, -2, true, 1},
        {0, 2, false, 0}, {0, -2, false, 1}, {1, -2, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.compat) + " " + std::to_string(r.speed) + " " + std::to_string(r.rightSolid));
        g_SystemData.m_bCompat805 = r.compat;
        if (r.rightSolid)
            MakeMap({{21, 21}});
        else
            MakeMap({{20, 21}});
        m_chara.m_nFacing = 1 - r.facing;
        Cmd(CMD_MOVE_GROUND_TURN, Move(), r.speed);
        Step(ExecMoveGroundTurn);
        EXPECT_EQ(m_chara.m_nFacing, r.facing);
    }
    // On even ground nothing turns.
    MakeMap({{20, 21}, {21, 21}});
    m_chara.m_nFacing = 1;
    Cmd(CMD_MOVE_GROUND_TURN, Move(), 2);
    EXPECT_EQ(Step(ExecMoveGroundTurn), std::make_pair(2.0, 0.0));
    EXPECT_EQ(m_chara.m_nFacing, 1);
}

TEST_F(GroundTurnTest, WallsTurnItBackAndMovingBlockCharasCount) {
    MakeMap({{20, 21}, {21, 21}});
    m_chara.m_nFacing = 1;
    m_chara.MeetWall(-1, 0.0);
    Cmd(CMD_MOVE_GROUND_TURN, Move(), 2);
    EXPECT_EQ(Step(ExecMoveGroundTurn), std::make_pair(-2.0, 0.0));
    EXPECT_EQ(m_chara.m_nFacing, 0);
    EXPECT_EQ(m_chara.m_bWallContact, 0);
    // A block chara that moved 3 dots back since the contact.
    cCharaComputer& solid = g_lstCharas.emplace_back();
    solid.m_nKey = 9;
    solid.m_dX = 700;
    m_chara.m_nFacing = 1;
    m_chara.MeetWall(9, 703);
    EXPECT_EQ(Step(ExecMoveGroundTurn), std::make_pair(2 * -3.0 - 2.0, 0.0));
    m_chara.m_nFacing = 0;
    m_chara.MeetWall(9, 703);
    EXPECT_EQ(Step(ExecMoveGroundTurn), std::make_pair(-3.0 + 2.0, 0.0));
    // Gone since: only the plain reversal.
    g_lstCharas.clear();
    m_chara.m_nFacing = 1;
    m_chara.MeetWall(9, 703);
    EXPECT_EQ(Step(ExecMoveGroundTurn), std::make_pair(-2.0, 0.0));
    EXPECT_EQ(m_chara.m_bWallContact, 0);
}

TEST_F(MoveTest, ChargeTurnedByItsAngle) {
    cTestChara target;
    PlaceOnScreen(target, 400, 200, 32, 32);
    m_chara.SetTargetSlot(1, &target, 1);
    cEdMove m = Move();
    m.m_nTarget = 1;
    m.m_nAngle = 10;
    m.m_bMirrorAngle = 0;
    for (int compat : {0, 1}) {
        g_SystemData.m_bCompat728 = compat;
        Cmd(CMD_MOVE_CHARGE, m);
        const double vx = Step(ExecMoveCharge).first;
        // Toward the target on the right; older data heads away from it.
        EXPECT_NEAR(vx, (compat ? -1 : 1) * kS * std::cos(10 * 0.017453292519943278), 1e-9) << compat;
        EXPECT_DOUBLE_EQ(Step(ExecMoveCharge).first, vx) << "later steps keep the velocity";
    }
    // No target: no movement.
    m_chara.SetTargetSlot(1, nullptr, 1);
    Cmd(CMD_MOVE_CHARGE, m);
    EXPECT_EQ(Step(ExecMoveCharge), std::make_pair(0.0, 0.0));
}

TEST_F(MoveTest, HomingWithADelayAimsWhereTheTargetWas) {
    cTestChara target;
    m_chara.m_bFlying = 1;
    m_chara.SetTargetSlot(0, &target, 1);
    cEdMove m = Move();
    m.m_nHoming = 3;
    m.m_bMirrorTargetX = 0;
    std::string heading;
    for (int delay : {0, 3}) {
        m.m_nHoming = static_cast<int16_t>(delay);
        Cmd(CMD_MOVE_HOMING, m);
        SetupHomingMoveCmd(m_cmd, m_chara);
        heading += std::to_string(delay) + ":";
        for (int k = 0; k < 7; ++k) {
            // The target is right of the chara at first, below it from step 1 on.
            if (k == 0)
                PlaceOnScreen(target, 400, 200, 32, 32);
            else
                PlaceOnScreen(target, 200, 400, 32, 32);
            const auto [vx, vy] = Step(ExecMoveHoming);
            heading += vx > 1 ? 'R' : vy > 1 ? 'D' : '?';
        }
        heading += " ";
    }
    EXPECT_EQ(heading, "0:RDDDDDD 3:RRRRRRD ");
}

TEST_F(MoveTest, AvoidOffscreenMovesOnlyWhileOutside) {
    cEdMove m = Move(DIR_LEFT);
    Cmd(CMD_MOVE_AVOID_OFFSCREEN, m);
    PlaceOnScreen(m_chara, 620, 200, 32, 32);
    EXPECT_EQ(Step(ExecMoveAvoidOffscreen).first, -kS);
    PlaceOnScreen(m_chara, 600, 200, 32, 32);
    EXPECT_EQ(Step(ExecMoveAvoidOffscreen).first, 0.0);
    // With the view scrolling by 2 (and room to scroll): 608 - 3 is the edge.
    m_scene.m_ScrollX.m_bAutoOn = 1;
    m_scene.m_ScrollX.m_dSpeed = 2.0;
    m_scene.m_ScrollX.m_dPos = 10;
    PlaceOnScreen(m_chara, 616, 200, 32, 32);  // 606 on screen
    EXPECT_EQ(Step(ExecMoveAvoidOffscreen).first, 2.0 - kS);
    PlaceOnScreen(m_chara, 614, 200, 32, 32);  // 604
    EXPECT_EQ(Step(ExecMoveAvoidOffscreen).first, 0.0);
    m_scene.m_ScrollX.m_dPos = 0;  // at the start the view cannot give way
    PlaceOnScreen(m_chara, 616, 200, 32, 32);
    EXPECT_EQ(Step(ExecMoveAvoidOffscreen).first, 0.0);
    // Downward: the bottom above the screen's top.
    m_scene.m_ScrollX.m_bAutoOn = 0;
    m_chara.m_bFlying = 1;
    Cmd(CMD_MOVE_AVOID_OFFSCREEN, Move(DIR_DOWN));
    PlaceOnScreen(m_chara, 300, -10, 32, 32);
    EXPECT_EQ(Step(ExecMoveAvoidOffscreen), std::make_pair(0.0, kS));
}

TEST_F(MoveTest, ChangeFacingTowardTargetTwoOncePerFrame) {
    SetSubSteps(2);
    SetMainThread();  // sound requests are served at once
    soundlog::Scope log;
    cTestChara target;
    PlaceOnScreen(target, 100, 200, 32, 32);  // left of the chara
    m_chara.m_Def.m_bFixedFacing = 1;
    m_chara.m_nFacing = 1;
    Cmd(CMD_CHANGE_FACING, Move());
    m_def.m_vecParam = {4};  // toward target 2: slot 1
    m_def.m_nSound = 6;
    // An empty slot: the attempt and its sound repeat each sub-step.
    Step(ExecChangeFacing);
    Step(ExecChangeFacing);
    EXPECT_EQ(soundlog::UserPlayed(), (std::vector<int>{6, 6}));
    EXPECT_EQ(m_chara.m_nFacing, 1);
    m_chara.SetTargetSlot(1, &target, 1);
    ClearMediaCallLog();
    for (int i = 0; i < 4; ++i) Step(ExecChangeFacing);
    EXPECT_EQ(m_chara.m_nFacing, 0);
    EXPECT_EQ(soundlog::UserPlayed(), (std::vector<int>{6, 6})) << "once per frame of two sub-steps";
    m_def.m_vecParam = {5};  // away from it
    m_cmd.m_nStep = 0;
    Step(ExecChangeFacing);
    EXPECT_EQ(m_chara.m_nFacing, 1);
    // Only a fixed-facing chara is turned by it.
    m_chara.m_Def.m_bFixedFacing = 0;
    m_def.m_vecParam = {0};
    m_cmd.m_nStep = 0;
    Step(ExecChangeFacing);
    EXPECT_EQ(m_chara.m_nFacing, 1);
}

TEST_F(MoveTest, OlderDataSwitchesOfTheStraightMove) {
    // The no-x flag stops a move by direction, except for older data.
    cEdMove m = Move(DIR_RIGHT);
    m.m_bFixX = 1;
    for (int compat : {0, 1}) {
        g_SystemData.m_bCompat773 = compat;
        Cmd(CMD_MOVE_STRAIGHT, m);
        EXPECT_EQ(Step(ExecMoveStraight).first, compat ? kS : 0.0) << compat;
    }
    // Reverse on turn of a fixed-facing chara: by direction always, toward a
    // point only for older data.
    m_chara.m_Def.m_bFixedFacing = 1;
    cEdMove toPoint = Move();
    toPoint.m_nMoveMode = 1;
    toPoint.m_nCoordMode = 1;
    toPoint.m_nTargetUnit = 1;
    toPoint.m_nTargetXDot = 1000;
    toPoint.m_bMirrorTargetX = 0;
    toPoint.m_bTimeByArrival = 0;
    struct Row {
        cEdMove move;
        int compat;
        double second;
    } rows[] = {{Move(DIR_RIGHT), 0, -kS}, {toPoint, 0, kS}, {toPoint, 1, -kS}};
    for (const Row& r : rows) {
        g_SystemData.m_bCompat783 = r.compat;
        m_chara.m_nFacing = 1;
        Cmd(CMD_MOVE_STRAIGHT, r.move);
        EXPECT_EQ(Step(ExecMoveStraight).first, kS);
        m_chara.m_nFacing = 0;  // turned by something else
        EXPECT_EQ(Step(ExecMoveStraight).first, r.second) << r.compat;
    }
}

TEST_F(MoveTest, InertiaAccumulatesUpToTheMaximum) {
    cEdMove m = Move(DIR_RIGHT);
    m.m_bInertia = 1;
    m.m_dReverseAccel = 3.0;
    Cmd(CMD_MOVE_STRAIGHT, m, 60.0);
    m_cmd.m_dMaxSpeed = 1.5;
    ExecMoveStraight(m_chara, m_cmd);
    EXPECT_DOUBLE_EQ(m_chara.m_dMoveSpeedX, 1.0);  // 60 per second
    EXPECT_EQ(m_chara.m_bDecelX, 0);
    ExecMoveStraight(m_chara, m_cmd);
    EXPECT_DOUBLE_EQ(m_chara.m_dMoveSpeedX, 1.5);
    m_chara.m_dMoveSpeedX = -0.5;
    m_chara.m_bDecelX = 1;
    ExecMoveStraight(m_chara, m_cmd);
    EXPECT_DOUBLE_EQ(m_chara.m_dMoveSpeedX, 1.5) << "three times as strong against the motion";
    EXPECT_EQ(m_chara.m_bDecelX, 1);
}

TEST_F(MoveTest, AnimationRequestsKeepTheHigherPriority) {
    cEdMove m = Move(DIR_RIGHT);
    m.m_nAnime = 1;
    Cmd(CMD_MOVE_STRAIGHT, m);
    ExecMoveStraight(m_chara, m_cmd);
    EXPECT_EQ(m_chara.m_nForcedAnime, 0);
    m.m_nAnime = 0;
    Cmd(CMD_MOVE_STRAIGHT, m);
    ExecMoveStraight(m_chara, m_cmd);
    EXPECT_EQ(m_chara.m_nForcedAnime, 1);
    m.m_nAnime = 1;
    Cmd(CMD_MOVE_STRAIGHT, m);
    ExecMoveStraight(m_chara, m_cmd);
    EXPECT_EQ(m_chara.m_nForcedAnime, 1) << "the walk outranks the stand";
    m_chara.m_bForcedAnime = 0;
    m_chara.m_bFlying = 1;
    m.m_nAnime = 0;
    Cmd(CMD_MOVE_STRAIGHT, m);
    ExecMoveStraight(m_chara, m_cmd);
    EXPECT_EQ(m_chara.m_nForcedAnime, 3);
}

TEST_F(MoveTest, DisableStopsEverything) {
    m_chara.m_dSpeedX = m_chara.m_dMoveSpeedY = m_chara.m_dImpactX = m_chara.m_dImpactY = 2.0;
    m_chara.m_Draw.abFixed[0] = m_chara.m_Draw.abFixed[1] = 1;
    ExecMoveDisable(m_chara, m_cmd);
    EXPECT_EQ(m_chara.m_dSpeedX + m_chara.m_dMoveSpeedY + m_chara.m_dImpactX + m_chara.m_dImpactY, 0.0);
    EXPECT_EQ(m_chara.m_Draw.abFixed[0] + m_chara.m_Draw.abFixed[1], 0);
    EXPECT_EQ(m_chara.m_bNoGravity, 1);
}

TEST_F(MoveTest, FlowsRunTheMovesAndTheJumpSetUp) {
    // Through the tables: a move without its movement part does nothing, a
    // straight move moves, the jump's time becomes its rise time.
    cEdFlowCmd bare = MakeCmd(cEdFlowCmd::FAMILY_CHARA, CMD_MOVE_HOMING, {}, 5);
    cEdFlowCmd straight = MakeCmd(cEdFlowCmd::FAMILY_CHARA, CMD_MOVE_STRAIGHT, {}, 5);
    cEdMove& m = straight.m_spMove.Create();
    m.m_nDirection = DIR_RIGHT;
    m.m_nTimingMode = 2;
    m.m_nDistance = 1;  // 16 dots at 1 dot per sub-step
    cEdFlowCmd jump = MakeCmd(cEdFlowCmd::FAMILY_CHARA, CMD_JUMP, {0, 0, 4, 0, 0}, 1);
    cEdChara def = MakeCharaDef({MakeFlow(1, {bare, straight}), MakeFlow(2, {jump})});
    m_chara.InitChara(&def, nullptr, 0);
    m_chara.InsertFlows(m_chara.m_Def.m_vecFlow, 0, 0);
    const cFlowCmd& move = m_chara.m_vFlows[0].m_vCmds[1];
    EXPECT_EQ(move.m_nDuration, 16);
    const cFlowCmd& j = m_chara.m_vFlows[1].m_vCmds[0];
    EXPECT_EQ(m_chara.m_Def.m_vecFlow[1].m_vecCmd[0].m_nTime, m_chara.JumpFramesFromHeight(4));
    EXPECT_EQ(j.m_nDuration, m_chara.JumpFramesFromHeight(4) * 6);
    EXPECT_DOUBLE_EQ(j.m_dLaunchSpeed, m_chara.JumpSpeedFromHeight(4));
    m_chara.m_vFlows[0].m_vCmds[0].m_nDuration = 1;
    StartFlow(m_chara.m_vFlows[0]);
    m_chara.m_dSpeedX = 0;
    m_chara.RunFlowPass(0, false);
    EXPECT_EQ(m_chara.m_dSpeedX, 0.0) << "no movement part";
    m_scene.m_lpCurChara = &m_chara;
    m_chara.RunFlowPass(0, false);
    EXPECT_EQ(m_chara.m_dSpeedX, 1.0);
}

}  // namespace
