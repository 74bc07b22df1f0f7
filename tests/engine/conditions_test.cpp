// Conditions: lists and their modes, the owners' once latch, each kind of
// condition, the percentage, and the activity pass of a sub-step.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/conditions.h"
#include "play/shot.h"
#include "base/scene_state.h"
#include "frontend/replay/replay.h"
#include "engine/status_op.h"
#include "frontend/data/game_progress.h"
#include "records/cond.h"
#include "tests/engine/flow_engine_fixture.h"

using namespace flowtest;

namespace {

cCond VarCond(int kind, int index, int op, int32_t value) {
    cCond c;
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_nVarIndex = static_cast<int16_t>(index);
    c.m_nOp = static_cast<int8_t>(op);
    c.m_nValue = value;
    return c;
}

// A status condition, numbered for the log: common variable 0 (which holds
// 0) below its operand, or not; the operand is a random number between the
// number and itself, which the condition keeps once it is evaluated (-1
// before).
cCond Status(int number, int holds) {
    cCond c;
    c.m_nKind = COND_STATUS;
    c.m_nLeftSource = 1;
    c.m_nLeftVarKind = 0;
    c.m_nVarIndex = 0;
    c.m_nOp = static_cast<int8_t>(holds ? COND_OP_LESS : COND_OP_GREATER_EQUAL);
    c.m_nRightSource = SRC_RANDOM;
    c.m_nRandomMin = c.m_nRandomMax = number;
    c.m_nValue = -1;
    return c;
}
// The numbers of the status conditions evaluated, in list order.
std::vector<int> Asked(const std::vector<cCond>& list) {
    std::vector<int> asked;
    for (const cCond& c : list)
        if (c.m_nKind == COND_STATUS && c.m_nValue != -1) asked.push_back(c.m_nValue);
    return asked;
}

class ConditionsTest : public FlowEngineTest {
protected:
    void SetUp() override {
        FlowEngineTest::SetUp();
        m_savedCommon = g_Progress.m_vecCommonVar;
        g_Progress.m_vecCommonVar.assign(10, 0);
        g_vPlayers.resize(1);
        m_chara.InitChara(nullptr, nullptr, 0);
        g_bQuit = 0;
    }
    void TearDown() override {
        g_Progress.m_vecCommonVar = m_savedCommon;
        FlowEngineTest::TearDown();
    }
    // A 32 x 32 box at (x, y) whose screen box is the same (view at 0, 0).
    static void Place(cChara& c, double x, double y, int facing) {
        c.m_nDrawWidth = c.m_nDrawHeight = c.m_nWidth = c.m_nHeight = 32;
        c.m_nDrawOffsetX = c.m_nDrawOffsetY = 0;
        c.m_dX = x;
        c.m_dY = y;
        c.m_dRight = x + 31;
        c.m_dBottom = y + 31;
        c.m_nFacing = facing;
        c.UpdateScreenRect();
    }
    cCheckedVector<int32_t> m_savedCommon;
};

// ---------------------------------------------------------------------------
// Variables and operators

TEST_F(ConditionsTest, VariableKindsCompareByTheOperator) {
    g_Progress.m_vecCommonVar[2] = 5;
    m_scene.m_vStageVars[999] = -9;
    m_chara.m_vVars[1] = INT_MIN;
    struct Case {
        int kind, index, op;
        int32_t value;
        bool holds;
    } cases[] = {
        {COND_COMMON_VAR, 2, 0, 5, true},   {COND_COMMON_VAR, 2, 1, 5, false},
        {COND_COMMON_VAR, 2, 2, 5, true},   {COND_COMMON_VAR, 2, 4, 5, false},
        {COND_COMMON_VAR, 2, 5, 6, true},   {COND_COMMON_VAR, 2, 3, 4, false},
        {COND_STAGE_VAR, 999, 6, 3, true},  // -9 is divisible by 3
        {COND_STAGE_VAR, 999, 7, 3, false}, {COND_STAGE_VAR, 999, 6, 0, true},  // 0 divides everything
        {COND_STAGE_VAR, 999, 7, 0, false}, {COND_CHARA_VAR, 1, 6, -1, true},   // INT_MIN by -1
        {COND_CHARA_VAR, 1, 7, -1, false},  {COND_CHARA_VAR, 1, 6, 3, false},   // |INT_MIN| = 2^31
        {COND_CHARA_VAR, 1, 7, 3, true},    {COND_CHARA_VAR, 1, 8, 0, false},   // no such operator
        {COND_NONE, 0, 0, 0, false},        {9, 0, 0, 0, false},                // no such kind
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EvalCond(VarCond(c.kind, c.index, c.op, c.value), &m_chara, nullptr), c.holds)
            << "kind " << c.kind << " op " << c.op << " value " << c.value;
    }
    EXPECT_EQ(g_bQuit.load(), 0);
    // A variable index outside the vector is reported.
    EvalCond(VarCond(COND_CHARA_VAR, 40, 0, 0), &m_chara, nullptr);
    EXPECT_EQ(g_bQuit.load(), 1);
}

TEST_F(ConditionsTest, PercentOf) {
    struct Case {
        int32_t a, b;
        int round;
        int32_t result;
    } cases[] = {
        {7, 50, 1, 4},   {-7, 50, 1, -4}, {7, 50, 0, 3}, {-7, 50, 0, -3}, {1, 50, 1, 1}, {-1, 50, 1, -1},
        {200, 150, 0, 300},
        {1 << 30, 3, 0, -10737418},  // the product wraps to -2^30
        {1 << 30, 4, 1, 0},          // and to 0
    };
    for (const Case& c : cases) EXPECT_EQ(PercentOf(c.a, c.b, c.round), c.result) << c.a << " " << c.b << " " << c.round;
}

// ---------------------------------------------------------------------------
// Lists, their order and the once latch

TEST_F(ConditionsTest, ListModesStopWhereTheyAreDecided) {
    struct Case {
        std::vector<cCond> list;
        int mode;
        bool holds;
        std::vector<int> asked;
    } cases[] = {
        {{}, 0, true, {}},
        {{}, 1, false, {}},
        {{Status(1, 1)}, 2, false, {}},
        {{Status(1, 1), Status(2, 0), Status(3, 1)}, 0, false, {1, 2}},
        {{Status(1, 1), Status(2, 1)}, 0, true, {1, 2}},
        {{Status(1, 0), Status(2, 1), Status(3, 1)}, 1, true, {1, 2}},
        {{Status(1, 0), Status(2, 0)}, 1, false, {1, 2}},
    };
    for (const Case& c : cases) {
        std::vector<cCond> list = c.list;
        EXPECT_EQ(EvalCondList(list, c.mode, &m_chara, nullptr), c.holds) << c.mode << " " << c.list.size();
        EXPECT_EQ(Asked(list), c.asked);
    }
}

TEST_F(ConditionsTest, OwnerListsAndTheOnceLatch) {
    // A chara's appearance conditions, evaluated for itself.
    m_chara.m_Def.m_vecCond = {VarCond(COND_CHARA_VAR, 0, 0, 1)};
    EXPECT_FALSE(CheckCharaConds(m_chara));
    m_chara.m_vVars[0] = 1;
    EXPECT_TRUE(CheckCharaConds(m_chara));
    m_chara.m_vVars[0] = 0;
    EXPECT_FALSE(CheckCharaConds(m_chara));  // without the once byte: evaluated again
    m_chara.m_Def.m_bCondLatch = 1;
    EXPECT_TRUE(CheckCharaConds(m_chara));  // the latch was set by the success before
    m_chara.m_Def.m_vecCond.clear();
    m_chara.m_bCondHeld = 0;
    EXPECT_TRUE(CheckCharaConds(m_chara));  // empty
    EXPECT_EQ(m_chara.m_bCondHeld, 0);

    // Items and blocks are evaluated for the first player; blocks latch per cell.
    cCharaPlayer& hero = g_vPlayers[0];
    hero.m_vVars.assign(9, 0);
    cItem item;
    item.m_Def.m_vecCond = {VarCond(COND_CHARA_VAR, 3, 0, 4)};
    item.m_Def.m_bCondLatch = 1;
    EXPECT_FALSE(CheckItemConds(item));
    hero.m_vVars[3] = 4;
    EXPECT_TRUE(CheckItemConds(item));
    hero.m_vVars[3] = 0;
    EXPECT_TRUE(CheckItemConds(item));
    std::vector<cMapCell> cells(2);
    for (cMapCell& cell : cells) {
        cell.m_vecCond = {VarCond(COND_CHARA_VAR, 3, 0, 4)};
        cell.m_bCondLatch = 1;
    }
    hero.m_vVars[3] = 4;
    EXPECT_EQ(CheckBlockConds(&m_scene, cells[0]), 1);
    hero.m_vVars[3] = 0;
    EXPECT_EQ(CheckBlockConds(&m_scene, cells[0]), 1);
    EXPECT_EQ(CheckBlockConds(&m_scene, cells[1]), 0);  // the same block in another cell

    // A flow's start conditions get the flow's variables: the operand read
    // from its first variable is kept in the condition.
    cFlow& flow = Build({Cmd{}});
    cCond fromFlow = Status(1, 1);
    fromFlow.m_nRightSource = SRC_FLOWVAR;
    fromFlow.m_nRightFlowVar = 1;
    m_chara.m_Def.m_vecFlow[0].m_vecCond = {fromFlow};
    flow.m_anVars[0] = 77;
    EXPECT_TRUE(CheckFlowConds(flow, m_chara));
    EXPECT_EQ(flow.m_lpDef->m_vecCond.at(0).m_nValue, 77);
    EXPECT_EQ(flow.m_bCondLatch, 1);
}

// ---------------------------------------------------------------------------
// Status conditions 2 and 3

cCond StateCond(int kind, int subject, int item, int op, int value = 0) {
    cCond c;
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_nLeftTarget = static_cast<int8_t>(subject);
    c.m_nLeftItem = static_cast<int8_t>(item);
    c.m_nOp = static_cast<int8_t>(op);
    c.m_nVarIndex = static_cast<int16_t>(value);
    return c;
}

TEST_F(ConditionsTest, StatusConditionThree) {
    cTestChara target;
    target.InitChara(nullptr, nullptr, 0);
    Place(m_chara, 100, 100, 0);
    Place(target, 2000, 2000, 1);
    m_chara.SetTargetSlot(1, &target, 1);  // subject 2
    struct Case {
        int subject, item, op;
        bool holds;
    } cases[] = {
        {3, 4, 0, false}, {3, 4, 1, true},    // exists: an empty slot
        {3, 0, 0, false}, {3, 0, 1, false},   // facing left of an empty slot: false even inverted
        {3, 9, 1, false},                     // any other item of an empty slot too
        {2, 4, 0, true},  {2, 4, 1, false},  {0, 4, 0, true}, {5, 4, 0, true},
        {0, 0, 0, true},  {0, 1, 0, false},  {2, 1, 0, true}, {2, 0, 1, true},
        {0, 2, 0, false},                     // airborne after set-up
        {0, 9, 0, false}, {0, 9, 1, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EvalCond(StateCond(COND_STATUS3, c.subject, c.item, c.op), &m_chara, nullptr), c.holds)
            << c.subject << " " << c.item << " " << c.op;
    target.m_bDead = 1;
    EXPECT_FALSE(EvalStatusCond3(m_chara, StateCond(COND_STATUS3, 2, 4, 0)));
    // On a block: not flying, on a block chara or on the ground.
    m_chara.m_bAirborne = 0;
    EXPECT_TRUE(EvalStatusCond3(m_chara, StateCond(COND_STATUS3, 0, 2, 0)));
    m_chara.m_bAirborne = 1;
    m_chara.m_bOnBlockChara = 1;
    EXPECT_TRUE(EvalStatusCond3(m_chara, StateCond(COND_STATUS3, 0, 2, 0)));
    m_chara.m_bFlying = 1;
    EXPECT_FALSE(EvalStatusCond3(m_chara, StateCond(COND_STATUS3, 0, 2, 0)));
    // On screen: a computer chara as the activity pass left it, the player now.
    cCharaComputer computer;
    Place(computer, 100, 100, 0);
    computer.m_bInView = 0;
    EXPECT_FALSE(EvalStatusCond3(computer, StateCond(COND_STATUS3, 0, 3, 0)));
    cCharaPlayer& hero = g_vPlayers[0];
    Place(hero, 100, 100, 0);
    hero.m_bInView = 0;
    EXPECT_TRUE(EvalStatusCond3(hero, StateCond(COND_STATUS3, 0, 3, 0)));
    m_chara.SetTargetSlot(1, nullptr, 1);
}

TEST_F(ConditionsTest, StatusConditionTwo) {
    cTestChara target;
    target.InitChara(nullptr, nullptr, 0);
    target.m_Def.m_nSize = 3;
    m_chara.m_Def.m_bTransparent = 1;
    m_chara.m_bFollowScroll = 1;
    m_chara.SetTargetSlot(0, &target, 1);
    g_Stage.m_nAutoScrollSpeedX = 15;
    struct Case {
        int subject, item, op, value;
        bool holds;
    } cases[] = {
        {0, 1, 0, 1, true},  {0, 1, 0, 0, false}, {1, 5, 0, 3, true}, {1, 5, 4, 2, true},
        {2, 5, 0, 0, false},  // empty slot
        {0, 6, 0, 1, true},   {0, 0, 0, 0, false}, {0, 7, 0, 0, false},
        {5, 0, 0, 15, true},  {5, 1, 0, 0, true},  {5, 2, 0, 0, false},
        {9, 1, 0, 1, true},   // other subjects: the chara itself
    };
    for (const Case& c : cases)
        EXPECT_EQ(EvalCond(StateCond(COND_STATUS2, c.subject, c.item, c.op, c.value), &m_chara, nullptr), c.holds)
            << c.subject << " " << c.item << " " << c.op << " " << c.value;
    g_Stage.m_nAutoScrollSpeedX = 0;
    m_chara.SetTargetSlot(0, nullptr, 1);
}

// ---------------------------------------------------------------------------
// Distance

cCond Distance(int subject, int axis, int op, int halfBlocks, int dots) {
    cCond c;
    c.m_nKind = COND_DISTANCE;
    c.m_nLeftTarget = static_cast<int8_t>(subject);
    c.m_nDirection = static_cast<int8_t>(axis);
    c.m_nOp = static_cast<int8_t>(op);
    c.m_nValue = halfBlocks;
    c.m_nRightVarIndex = static_cast<int16_t>(dots);
    return c;
}

// The chara's box is 100..131 on both axes; its centre 116.
TEST_F(ConditionsTest, DistanceAxesAndFacing) {
    cTestChara other;
    other.InitChara(nullptr, nullptr, 0);
    m_chara.SetTargetSlot(0, &other, 1);
    struct Case {
        int axis, facing;
        double x, y;  // the subject's box
        int d;        // dots
        bool within;
    } cases[] = {
        // Horizontal: both sides; at d = 0 the whole box.
        {0, 1, 140, 100, 0, false}, {0, 1, 132, 100, 0, true}, {0, 1, 140, 100, 8, true}, {0, 0, 60, 500, 10, true},
        {0, 1, 50, 100, 10, false},
        // Forward: from the centre beyond the front; at d = 0 the centre alone.
        {1, 1, 117, 100, 0, false}, {1, 1, 116, 100, 0, true}, {1, 1, 140, 100, 16, true},
        {1, 1, 60, 100, 16, false}, {1, 0, 60, 100, 16, true}, {1, 0, 140, 100, 16, false},
        // Backward.
        {2, 1, 60, 100, 16, true}, {2, 1, 140, 100, 16, false}, {2, 0, 140, 100, 16, true},
        // Vertical.
        {3, 1, 100, 140, 0, false}, {3, 1, 100, 140, 8, true}, {3, 0, 500, 60, 10, true},
        // Forward-Y: below when facing right, above when facing left.
        {4, 1, 100, 140, 16, true}, {4, 0, 100, 140, 16, false}, {4, 0, 100, 60, 16, true},
        // Backward-Y.
        {5, 1, 100, 60, 16, true}, {5, 1, 100, 140, 16, false}, {5, 0, 100, 140, 16, true},
        // Circle round the centres: (116, 116) to (156, 116) is 40.
        {6, 1, 140, 100, 40, true}, {6, 1, 140, 100, 39, false}, {6, 0, 124, 130, 39, true}, {6, 0, 124, 130, 38, false},
        // No such axis.
        {7, 1, 100, 100, 100, false},
    };
    for (const Case& c : cases) {
        Place(m_chara, 100, 100, c.facing);
        Place(other, c.x, c.y, 0);
        const std::string what = "axis " + std::to_string(c.axis) + " facing " + std::to_string(c.facing) + " at " +
                                 std::to_string(c.x) + "," + std::to_string(c.y) + " d " + std::to_string(c.d);
        // d in half blocks and dots.
        EXPECT_EQ(EvalCond(Distance(1, c.axis, 0, c.d / 16, c.d % 16), &m_chara, nullptr), c.within) << what;
        EXPECT_EQ(EvalCond(Distance(1, c.axis, 1, c.d / 16, c.d % 16), &m_chara, nullptr), !c.within) << what;
        EXPECT_FALSE(EvalCond(Distance(1, c.axis, 2, c.d / 16, c.d % 16), &m_chara, nullptr)) << what;
    }
    // The first player is subject 0; an empty slot is false either way.
    Place(g_vPlayers[0], 140, 100, 0);
    EXPECT_TRUE(EvalDistanceCond(m_chara, Distance(0, 0, 0, 0, 8)));
    EXPECT_FALSE(EvalDistanceCond(m_chara, Distance(2, 0, 0, 100, 0)));
    EXPECT_FALSE(EvalDistanceCond(m_chara, Distance(2, 0, 1, 100, 0)));
    m_chara.SetTargetSlot(0, nullptr, 1);
}

// Older data, and replays of older data, measure against the subject's
// screen box as it was last computed.
TEST_F(ConditionsTest, TheSubjectsBoxIsKeptForOlderData) {
    cTestChara other;
    other.InitChara(nullptr, nullptr, 0);
    m_chara.SetTargetSlot(0, &other, 1);
    Place(m_chara, 100, 100, 1);
    // The replay being played back and its file's version, as the replay
    // list leaves them.
    const int savedType = g_SceneState.g_nGameType;
    struct Case {
        int compat782, playback, version;
        bool oldBox;
    } cases[] = {{0, 0, 1000, false}, {1, 0, 1000, true}, {0, 1, 781, true}, {0, 1, 782, false}, {0, 0, 700, false}};
    for (const Case& c : cases) {
        g_SystemData.m_bCompat782 = c.compat782;
        g_SceneState.g_nGameType = c.playback ? 4 : 0;
        g_Replay.m_nFileVersion = static_cast<uint32_t>(c.version);
        Place(other, 140, 100, 0);  // near, and its box computed there
        other.m_dX = 400;           // then moved far away
        other.m_dRight = 431;
        EXPECT_EQ(EvalDistanceCond(m_chara, Distance(1, 0, 0, 0, 8)), c.oldBox)
            << c.compat782 << " " << c.playback << " " << c.version;
    }
    g_SceneState.g_nGameType = savedType;
    g_Replay.m_nFileVersion = kDataVersion;
    // The chara's own box is always computed anew.
    g_SystemData.m_bCompat782 = 1;
    Place(other, 140, 100, 0);
    m_chara.m_dX = 400;
    EXPECT_FALSE(EvalDistanceCond(m_chara, Distance(1, 0, 0, 0, 8)));
    m_chara.SetTargetSlot(0, nullptr, 1);
}

// ---------------------------------------------------------------------------
// The activity pass

TEST_F(ConditionsTest, UpdateActiveStates) {
    cCharaPlayer& hero = g_vPlayers[0];
    hero.m_bActive = hero.m_bInView = hero.m_bActing = 0;
    m_scene.m_vStageSwitches[7] = 1;
    cEdChara def = MakeCharaDef();
    def.m_vecCond = {VarCond(COND_CHARA_VAR, 0, 0, 0)};  // holds while variable 0 is 0
    def.m_bActivationSwitch = 1;
    def.m_nActivationSwitchNo = 3;
    cCharaComputer& near = g_lstCharas.emplace_back();
    near.InitComputer(1, def, nullptr, nullptr, 0);
    Place(near, 100, 100, 0);
    cCharaComputer& gone = g_lstCharas.emplace_back();
    gone.InitComputer(2, def, nullptr, nullptr, 0);
    Place(gone, 100, 100, 0);
    gone.m_vVars[0] = 1;
    gone.m_bInView = gone.m_bActing = gone.m_bActive = 1;
    cCharaComputer& far = g_lstCharas.emplace_back();
    far.InitComputer(3, def, nullptr, nullptr, 0);
    far.m_Def.m_bActivationSwitch = 0;
    far.m_bFlying = 1;
    Place(far, 5000, 100, 0);
    cItem& item = g_lstItems.emplace_back();
    item.m_Def.m_vecCond = {VarCond(COND_CHARA_VAR, 2, 0, 1)};  // of the first player
    Place(g_vPlayers[0], 3000, 3000, 0);
    cItem& plain = g_lstItems.emplace_back();
    plain.m_dX = plain.m_dY = 50;
    plain.m_dRight = plain.m_dBottom = 60;
    // Every shot takes part; only the one in view is on screen.
    cShot& seen = m_scene.m_lstShots.emplace_back();
    seen.m_dX = seen.m_dY = 50;
    seen.m_dRight = seen.m_dBottom = 60;
    cShot& away = m_scene.m_lstShots.emplace_back();
    away.m_dX = away.m_dRight = 5000;
    away.m_bInView = 1;

    UpdateActiveStates(m_scene);
    EXPECT_EQ(hero.m_bActive + hero.m_bInView + hero.m_bActing, 3);
    EXPECT_EQ(m_scene.m_vStageSwitches[7], 0);
    EXPECT_EQ(m_scene.m_vStageSwitches[3], 1);  // turned on by the chara in range
    EXPECT_EQ(near.m_bActive + near.m_bInView + near.m_bActing, 3);
    EXPECT_EQ(gone.m_bActive + gone.m_bInView + gone.m_bActing, 0);
    EXPECT_EQ(far.m_bActive, 1);
    EXPECT_EQ(far.m_bInView + far.m_bActing, 0);  // out of range, flying
    EXPECT_EQ(item.m_bActive + item.m_bInView, 0);
    EXPECT_EQ(plain.m_bActive + plain.m_bInView, 2);
    EXPECT_EQ(seen.m_bActive + seen.m_bInView, 2);
    EXPECT_EQ(away.m_bActive, 1);
    EXPECT_EQ(away.m_bInView, 0);
    hero.m_vVars[2] = 1;
    UpdateActiveStates(m_scene);
    EXPECT_EQ(item.m_bActive, 1);
    m_scene.m_lstShots.clear();
}

}  // namespace
