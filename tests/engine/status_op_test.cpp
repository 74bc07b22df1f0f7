// Status conditions and status operations on a small world: the hero, the
// chara that runs them, another chara in its target slot 2.
#include <gtest/gtest.h>

#include "engine/param_op.h"
#include "engine/status_commands.h"
#include "engine/status_op.h"
#include "records/cond.h"
#include "records/system_data.h"
#include "tests/engine/status_fixture.h"

namespace {

using statustest::StatusOp;

// A status condition: the left-hand value against a constant operand.
cCond Cond(int leftKind, int subject, int status, int op, int32_t constant) {
    cCond c;
    c.m_nKind = COND_STATUS;
    c.m_nLeftSource = static_cast<int8_t>(leftKind);
    c.m_nLeftTarget = static_cast<int8_t>(subject);
    c.m_nLeftItem = static_cast<int8_t>(status);
    c.m_nRightSource = SRC_CONST;
    c.m_nValue = constant;
    c.m_nOp = static_cast<int8_t>(op);
    return c;
}

class StatusOpTest : public statustest::StatusWorld {};

// ---------------------------------------------------------------------------
// Conditions

TEST_F(StatusOpTest, OperandSources) {
    m_self.m_vVars.at(3) = 33;
    m_other.m_Def.m_nAttack = 44;
    g_Progress.m_vecCommonVar.at(5) = 55;
    m_scene.m_vStageVars.at(6) = 66;
    m_vars[1] = 77;
    m_scene.m_bNoTimeLimit = 1;
    m_scene.m_nTimeLeft = 999;
    struct Case {
        const char* name;
        int source, subject, status, varKind, index, flowVar;
        int32_t expected;
    } cases[] = {
        {"constant", SRC_CONST, 0, 0, 0, 0, 0, 9},
        {"chara variable of self", SRC_STATUS, SUBJ_SELF, STATUS_VAR, 0, 3, 0, 33},
        {"power of target 2", SRC_STATUS, SUBJ_TARGET2, STATUS_POWER, 0, 0, 0, 44},
        {"HP of the hero in slot 1", SRC_STATUS, SUBJ_TARGET1, STATUS_HP, 0, 0, 0, 100},
        {"sight of the hero", SRC_STATUS, SUBJ_TARGET1, STATUS_SIGHT, 0, 0, 0, 0},
        {"time without a time limit", SRC_STATUS, SUBJ_SYSTEM, SYSVAL_TIME, 0, 0, 0, 0},
        {"unknown system value", SRC_STATUS, SUBJ_SYSTEM, 9, 0, 0, 0, 0},
        {"unknown chara status", SRC_STATUS, SUBJ_SELF, 40, 0, 0, 0, 0},
        {"common variable", SRC_VARIABLE, 0, 0, 0, 5, 0, 55},
        {"stage variable", SRC_VARIABLE, 0, 0, 1, 6, 0, 66},
        {"another variable kind", SRC_VARIABLE, 0, 0, 2, 6, 0, 0},
        {"second flow variable", SRC_FLOWVAR, 0, 0, 0, 0, 2, 77},
        {"another flow variable", SRC_FLOWVAR, 0, 0, 0, 0, 3, 0},
        {"unknown source", 9, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        cCond c = Cond(0, SUBJ_SELF, STATUS_HP, COND_OP_NOT_EQUAL, 9);
        c.m_nRightSource = static_cast<int8_t>(k.source);
        c.m_nRightTarget = static_cast<int8_t>(k.subject);
        c.m_nRightItem = static_cast<int8_t>(k.status);
        c.m_nRightVarKind = static_cast<int8_t>(k.varKind);
        c.m_nRightVarIndex = static_cast<int16_t>(k.index);
        c.m_nRightFlowVar = static_cast<int8_t>(k.flowVar);
        EvalStatusCond(c, m_self, m_vars);
        EXPECT_EQ(c.m_nValue, k.expected);  // the operand stays in the condition
    }
}

TEST_F(StatusOpTest, OperandsThatMakeTheConditionFalse) {
    auto eval = [&](int source, int subject, int status, int32_t* vars) {
        cCond c = Cond(0, SUBJ_SELF, 99, COND_OP_EQUAL, 0);  // an unknown left-hand status holds
        c.m_nRightSource = static_cast<int8_t>(source);
        c.m_nRightTarget = static_cast<int8_t>(subject);
        c.m_nRightItem = static_cast<int8_t>(status);
        c.m_nRightFlowVar = 1;
        c.m_nRightCoordMode = COORD_REL;
        return EvalStatusCond(c, m_self, vars);
    };
    EXPECT_TRUE(eval(SRC_STATUS, SUBJ_TARGET2, STATUS_HP, m_vars));
    EXPECT_FALSE(eval(SRC_STATUS, SUBJ_TARGET3, STATUS_HP, m_vars));      // empty slot
    EXPECT_FALSE(eval(SRC_STATUS, 6, STATUS_HP, m_vars));                 // no such subject
    EXPECT_FALSE(eval(SRC_STATUS, SUBJ_TARGET2, STATUS_SIGHT, m_vars));   // not a player chara
    EXPECT_FALSE(eval(SRC_FLOWVAR, 0, 0, nullptr));                       // no flow variables
    EXPECT_TRUE(eval(SRC_STATUS, SUBJ_TARGET2, STATUS_X, m_vars));
}

TEST_F(StatusOpTest, RandomOperandIsDrawnAndKept) {
    cCond c = Cond(0, SUBJ_SELF, STATUS_HP, COND_OP_EQUAL, 0);
    c.m_nRightSource = SRC_RANDOM;
    c.m_nRandomMin = 40;
    c.m_nRandomMax = 10;
    SRand(7);
    const int32_t first = RandRange(10, 40), second = RandRange(10, 40);
    SRand(7);
    EvalStatusCond(c, m_self, m_vars);
    EXPECT_EQ(c.m_nValue, first);
    EvalStatusCond(c, m_self, m_vars);
    EXPECT_EQ(c.m_nValue, second);
}

TEST_F(StatusOpTest, LeftHandValues) {
    m_self.m_Def.m_nZ = 44;
    m_self.m_Def.m_nBadge = 5;
    m_scene.m_nTimeLeft = 999;
    m_scene.m_bNoTimeLimit = 1;
    g_Progress.m_vecCommonVar.at(2) = -4;
    struct Case {
        const char* name;
        cCond cond;
        bool expected;
    } cases[] = {
        {"HP of self", Cond(0, SUBJ_SELF, STATUS_HP, COND_OP_EQUAL, 50), true},
        {"HP of target 2", Cond(0, SUBJ_TARGET2, STATUS_HP, COND_OP_EQUAL, 80), true},
        {"empty slot", Cond(0, SUBJ_TARGET3, STATUS_HP, COND_OP_EQUAL, 0), false},
        {"unknown chara status holds", Cond(0, SUBJ_SELF, 17, COND_OP_EQUAL, 12345), true},
        {"z against 300 compares 44", Cond(0, SUBJ_SELF, STATUS_Z, COND_OP_EQUAL, 300), true},
        {"mark against 65541 compares 5", Cond(0, SUBJ_SELF, STATUS_MARK, COND_OP_EQUAL, 65541), true},
        {"sight of any chara", Cond(0, SUBJ_TARGET2, STATUS_SIGHT, COND_OP_EQUAL, 0), true},
        {"time left whatever the limit", Cond(0, SUBJ_SYSTEM, SYSVAL_TIME, COND_OP_EQUAL, 999), true},
        {"unknown system value fails", Cond(0, SUBJ_SYSTEM, 5, COND_OP_NOT_EQUAL, 1), false},
        {"common variable", Cond(1, 0, 0, COND_OP_LESS, 0), true},
        {"another variable kind", Cond(1, 0, 0, COND_OP_NOT_EQUAL, 1), false},
        {"another left-hand kind", Cond(3, 0, 0, COND_OP_NOT_EQUAL, 1), false},
    };
    cases[9].cond.m_nVarIndex = 2;
    cases[10].cond.m_nLeftVarKind = 2;
    for (Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(EvalStatusCond(k.cond, m_self, m_vars), k.expected);
    }
}

TEST_F(StatusOpTest, FlowVariableOnTheLeft) {
    m_vars[0] = 3;
    m_vars[1] = -8;
    cCond c = Cond(2, 0, 0, COND_OP_EQUAL, -8);
    c.m_nLeftFlowVar = 2;
    EXPECT_TRUE(EvalStatusCond(c, m_self, m_vars));
    EXPECT_FALSE(EvalStatusCond(c, m_self, nullptr));
    c.m_nLeftFlowVar = 3;
    EXPECT_FALSE(EvalStatusCond(c, m_self, m_vars));
    // The percent flag turns the operand into 0 (reference 0).
    c = Cond(2, 0, 0, COND_OP_EQUAL, 0);
    c.m_nLeftFlowVar = 1;
    m_vars[0] = 0;
    c.m_bPercent = 1;
    c.m_nValue = 50;
    EXPECT_TRUE(EvalStatusCond(c, m_self, m_vars));
}

TEST_F(StatusOpTest, PercentOperandOnHPAndOthers) {
    // HP 50 of 100: 50 % of the maximum.
    cCond c = Cond(0, SUBJ_SELF, STATUS_HP, COND_OP_EQUAL, 50);
    c.m_bPercent = 1;
    EXPECT_TRUE(EvalStatusCond(c, m_self, m_vars));
    c.m_nValue = 49;
    EXPECT_FALSE(EvalStatusCond(c, m_self, m_vars));
    // Any other left-hand status: the operand becomes 0.
    m_self.m_vVars.at(1) = 0;
    c = Cond(0, SUBJ_SELF, STATUS_VAR, COND_OP_EQUAL, 70);
    c.m_nVarIndex = 1;
    c.m_bPercent = 1;
    EXPECT_TRUE(EvalStatusCond(c, m_self, m_vars));
}

TEST_F(StatusOpTest, UnlimitedLivesInThreeRoles) {
    g_Progress.m_nLives = kUnlimitedLives;
    for (int compat : {0, 1}) {
        SCOPED_TRACE(compat);
        g_SystemData.m_bCompat819 = compat;
        // As an operand.
        cCond c = Cond(0, SUBJ_SELF, 99, COND_OP_EQUAL, 0);
        c.m_nRightSource = SRC_STATUS;
        c.m_nRightTarget = SUBJ_SYSTEM;
        c.m_nRightItem = SYSVAL_LIFE;
        EvalStatusCond(c, m_self, m_vars);
        EXPECT_EQ(c.m_nValue, compat ? 0 : 100);
        // On the left.
        cCond left = Cond(0, SUBJ_SYSTEM, SYSVAL_LIFE, COND_OP_EQUAL, 100);
        EXPECT_EQ(EvalStatusCond(left, m_self, m_vars), compat == 0);
        // As a target: the operation fails and the lives stay unlimited.
        m_vars[0] = m_vars[1] = 9;
        DoStatusOp(m_self, StatusOp({{3, SUBJ_SYSTEM}, {4, SYSVAL_LIFE}, {6, OP_SUB}, {8, 1}, {24, 1}}), m_vars);
        EXPECT_EQ(g_Progress.m_nLives, kUnlimitedLives);
        EXPECT_EQ(m_vars[0], 2);
        EXPECT_EQ(m_vars[1], 0);
    }
}

TEST_F(StatusOpTest, StopOperandRecomputesThePerFrameValue) {
    m_other.m_Def.m_nFriction = 50;
    m_other.m_dFriction = 123.0;
    cCond c = Cond(0, SUBJ_SELF, 99, COND_OP_EQUAL, 0);
    c.m_nRightSource = SRC_STATUS;
    c.m_nRightTarget = SUBJ_TARGET2;
    c.m_nRightItem = STATUS_STOP;
    EvalStatusCond(c, m_self, m_vars);
    EXPECT_EQ(c.m_nValue, 50);
    EXPECT_DOUBLE_EQ(m_other.m_dFriction, cChara::SpeedPerFrame(50));
    // The operation reads it without the side effect.
    m_other.m_dFriction = 123.0;
    DoStatusOp(m_self, StatusOp({{0, 1}, {2, 4}, {7, SRC_STATUS}, {13, SUBJ_TARGET2}, {14, STATUS_STOP}}), m_vars);
    EXPECT_EQ(g_Progress.m_vecCommonVar.at(4), 50);
    EXPECT_EQ(m_other.m_dFriction, 123.0);
}

TEST_F(StatusOpTest, Coordinates) {
    m_scene.m_ScrollX.m_dPos = 100.7;
    m_scene.m_ScrollY.m_dPos = 64.2;
    int32_t v = -1;
    ASSERT_TRUE(GetCharaX(v, &m_other, COORD_SCR, nullptr));
    EXPECT_EQ(v, 416);
    ASSERT_TRUE(GetCharaX(v, &m_other, COORD_ABS, nullptr));
    EXPECT_EQ(v, 416 + 100 - 320);
    ASSERT_TRUE(GetCharaX(v, &m_other, COORD_REL, &m_self));
    EXPECT_EQ(v, 100);
    EXPECT_FALSE(GetCharaX(v, &m_other, COORD_REL, nullptr));
    EXPECT_FALSE(GetCharaX(v, nullptr, COORD_SCR, &m_self));
    v = -1;
    EXPECT_TRUE(GetCharaX(v, &m_other, 3, &m_self));
    EXPECT_EQ(v, -1);
    // Y: centre, or 15 above the bottom for a bottom anchor.
    ASSERT_TRUE(GetCharaY(v, &m_other, COORD_SCR, 0, nullptr));
    EXPECT_EQ(v, 224);
    ASSERT_TRUE(GetCharaY(v, &m_other, COORD_SCR, 1, nullptr));
    EXPECT_EQ(v, 247 - 15);
    m_other.m_bFlying = 1;
    ASSERT_TRUE(GetCharaY(v, &m_other, COORD_ABS, 2, nullptr));
    EXPECT_EQ(v, 224 + 64 - 320);
    ASSERT_TRUE(GetCharaY(v, &m_other, COORD_REL, 1, &m_self));
    EXPECT_EQ(v, -40);  // centres, whatever the anchor
}

// ---------------------------------------------------------------------------
// Operations

TEST_F(StatusOpTest, HPReportsBeforeTheLimit) {
    DoStatusOp(m_self, StatusOp({{4, STATUS_HP}, {6, OP_ADD}, {8, 80}, {24, 1}}), m_vars);
    EXPECT_EQ(m_vars[0], 1);
    EXPECT_EQ(m_vars[1], 80);
    EXPECT_EQ(m_self.m_nHP, 100);
    // Percent of the maximum (mode 1) and of the current value (mode 2).
    m_self.m_nHP = 50;
    DoStatusOp(m_self, StatusOp({{4, STATUS_HP}, {6, OP_SUB}, {8, 25}, {17, 1}}), m_vars);
    EXPECT_EQ(m_self.m_nHP, 25);
    DoStatusOp(m_self, StatusOp({{4, STATUS_HP}, {6, OP_SUB}, {8, 50}, {17, 2}}), m_vars);
    EXPECT_EQ(m_self.m_nHP, 13);  // 25 - 12 (not rounded)
    // Another mode changes nothing.
    DoStatusOp(m_self, StatusOp({{4, STATUS_HP}, {6, OP_SET}, {8, 1}, {17, 3}, {24, 1}}), m_vars);
    EXPECT_EQ(m_self.m_nHP, 13);
    EXPECT_EQ(m_vars[1], 0);
}

TEST_F(StatusOpTest, HPCheckForAnotherCharaOnly) {
    DoStatusOp(m_self, StatusOp({{4, STATUS_HP}, {6, OP_SET}, {8, 0}}), m_vars);
    EXPECT_EQ(m_self.m_nHP, 0);
    EXPECT_EQ(m_scene.m_bDeathPending, 0);
    DoStatusOp(m_self, StatusOp({{3, SUBJ_TARGET2}, {4, STATUS_HP}, {6, OP_SET}, {8, 0}}), m_vars);
    EXPECT_EQ(m_other.m_nHP, 0);
    EXPECT_EQ(m_scene.m_bDeathPending, 1);
    // Lowering the maximum below HP lowers HP.
    m_scene.m_bDeathPending = 0;
    m_other.m_nHP = 80;
    DoStatusOp(m_self, StatusOp({{3, SUBJ_TARGET2}, {4, STATUS_MAXHP}, {6, OP_SET}, {8, 30}}), m_vars);
    EXPECT_EQ(m_other.m_nHP, 30);
    EXPECT_EQ(m_scene.m_bDeathPending, 0);
}

TEST_F(StatusOpTest, NarrowStatusesWrapAndClamp) {
    m_self.m_Def.m_nCharaId = 99;
    DoStatusOp(m_self, StatusOp({{4, STATUS_CID}, {6, OP_ADD}, {8, 100}, {24, 1}}), m_vars);
    EXPECT_EQ(m_self.m_Def.m_nCharaId, 0);
    EXPECT_EQ(m_vars[1], -99);
    // The operand is cut to 8 bits: 300 is 44, then clamped to 7.
    DoStatusOp(m_self, StatusOp({{4, STATUS_Z}, {6, OP_SET}, {8, 300}}), m_vars);
    EXPECT_EQ(m_self.m_Def.m_nZ, 7);
    // Stop: 16 bits, then the per-frame value.
    DoStatusOp(m_self, StatusOp({{4, STATUS_STOP}, {6, OP_SET}, {8, 150}}), m_vars);
    EXPECT_EQ(m_self.m_Def.m_nFriction, 150);
    EXPECT_DOUBLE_EQ(m_self.m_dFriction, cChara::SpeedPerFrame(150));
    // Percent of the current value, rounded.
    m_self.m_Def.m_nBadge = 3;
    DoStatusOp(m_self, StatusOp({{4, STATUS_MARK}, {6, OP_SET}, {8, 50}, {16, 0x100 | 1}}), m_vars);
    EXPECT_EQ(m_self.m_Def.m_nBadge, 2);
    // A chara variable: the 32-bit product that wraps negative saturates.
    m_self.m_vVars.at(2) = 1 << 16;
    DoStatusOp(m_self, StatusOp({{2, 2}, {4, STATUS_VAR}, {6, OP_MUL}, {8, 1 << 15}}), m_vars);
    EXPECT_EQ(m_self.m_vVars.at(2), 999999);
    // Division by 0 leaves the value but clamps it.
    m_self.m_Def.m_nAttack = 5000000;
    DoStatusOp(m_self, StatusOp({{4, STATUS_POWER}, {6, OP_DIV}, {8, 0}}), m_vars);
    EXPECT_EQ(m_self.m_Def.m_nAttack, 999999);
}

TEST_F(StatusOpTest, SightOfPlayersOnly) {
    m_vars[0] = 0;
    DoStatusOp(m_self, StatusOp({{4, STATUS_SIGHT}, {6, OP_SET}, {8, 5}, {24, 1}}), m_vars);
    EXPECT_EQ(m_self.m_Def.m_nViewRange, 0);
    EXPECT_EQ(m_vars[0], 2);
    DoStatusOp(m_self, StatusOp({{3, SUBJ_TARGET1}, {4, STATUS_SIGHT}, {6, OP_SET}, {8, 50}, {24, 1}}), m_vars);
    EXPECT_EQ(Hero().m_Def.m_nViewRange, 40);
    EXPECT_EQ(Hero().m_nLightRadius, 640);
    EXPECT_EQ(m_vars[0], 1);
    EXPECT_EQ(m_vars[1], 40);
}

// The position setters warp the chara (the real warp, on an empty map).
TEST_F(StatusOpTest, XStartsFromTheScreenCentre) {
    MakeMap();
    m_scene.m_ScrollX.m_dPos = 500;
    charatest::PlaceOnScreen(m_self, 800, 400, 32, 48);
    const double y = m_self.m_dY;
    DoStatusOp(m_self, StatusOp({{4, STATUS_X}, {6, OP_ADD}, {8, 10}, {20, COORD_ABS}, {24, 1}}), m_vars);
    int32_t x = 0;
    ASSERT_TRUE(GetCharaX(x, &m_self, COORD_ABS, nullptr));
    EXPECT_EQ(x, 316 + 10);  // the screen centre plus 10, taken as an absolute x
    EXPECT_DOUBLE_EQ(m_self.m_dX, 320 + 326 + 0.5 - 16);
    EXPECT_EQ(m_self.m_dY, y);  // y not used
    EXPECT_EQ(m_vars[0], 1);
    EXPECT_EQ(m_vars[1], 10);
    // A refused warp (above the stage): word 0 says so, word 1 keeps the
    // difference, the chara stays.
    DoStatusOp(m_self, StatusOp({{4, STATUS_Y}, {6, OP_SET}, {8, -400}, {20, COORD_SCR}, {22, 1}, {24, 1}}), m_vars);
    EXPECT_EQ(m_vars[0], 2);
    EXPECT_EQ(m_vars[1], -400 - (400 + 24));  // from the screen centre too
    EXPECT_EQ(m_self.m_dY, y);
    EXPECT_DOUBLE_EQ(m_self.m_dX, 320 + 326 + 0.5 - 16);
}

// Older data: the value is an offset in dots from a cell (absolute) or from
// the chara (relative), the anchor left out.
TEST_F(StatusOpTest, OlderPositionSetters) {
    MakeMap();
    charatest::PlaceOnScreen(m_self, 600, 400, 32, 48);
    g_SystemData.m_bCompat895 = 1;
    EXPECT_TRUE(SetCharaX(100, m_self, COORD_ABS));
    EXPECT_DOUBLE_EQ(m_self.m_dX, 320 + 0.5 + 84);  // cell 0, then 100 - 16 dots
    EXPECT_FALSE(SetCharaY(20000, m_self, COORD_REL, 1));  // 16384 down: out of the stage
    EXPECT_EQ(m_self.m_dY, 400);
    EXPECT_TRUE(SetCharaY(50, m_self, 7, 1));  // a mode outside 0..2: relative
    EXPECT_EQ(m_self.m_dY, 450);
}

TEST_F(StatusOpTest, SystemTargets) {
    g_Stage.m_bAutoScrollX = 1;
    DoStatusOp(m_self, StatusOp({{3, SUBJ_SYSTEM}, {4, SYSVAL_SCROLLX}, {6, OP_SET}, {8, 900}}), m_vars);
    EXPECT_EQ(g_Stage.m_nAutoScrollSpeedX, 480);
    EXPECT_EQ(m_scene.m_ScrollX.m_bAutoOn, 1);
    EXPECT_DOUBLE_EQ(m_scene.m_ScrollX.m_dSpeed, 480 * 0.1 / g_Stage.m_dSubSteps);
    DoStatusOp(m_self, StatusOp({{3, SUBJ_SYSTEM}, {4, SYSVAL_TIME}, {6, OP_PERCENT}, {8, 50}}), m_vars);
    EXPECT_EQ(m_scene.m_nTimeLeft, 60);
    DoStatusOp(m_self, StatusOp({{3, SUBJ_SYSTEM}, {4, SYSVAL_LIFE}, {6, OP_ADD}, {8, 200}}), m_vars);
    EXPECT_EQ(g_Progress.m_nLives, 99);
    DoStatusOp(m_self, StatusOp({{3, SUBJ_SYSTEM}, {4, SYSVAL_SCORE}, {6, OP_SUB}, {8, 5}}), m_vars);
    EXPECT_EQ(g_Progress.m_nStageScore, 0);
}

TEST_F(StatusOpTest, FailuresAndReports) {
    // An empty target slot, a refusing invincible chara, a flow-variable
    // target without flow variables: 2 and 0 when reporting.
    const cEdFlowCmd failing[] = {
        StatusOp({{3, SUBJ_TARGET4}, {4, STATUS_HP}, {24, 1}}),
        StatusOp({{3, SUBJ_TARGET2}, {4, STATUS_HP}, {19, 1}, {24, 1}}),
        StatusOp({{0, 2}, {5, 1}, {24, 1}}),
        StatusOp({{7, SRC_STATUS}, {13, SUBJ_TARGET3}, {24, 1}}),
    };
    m_other.m_Def.m_nInvincible = 1;
    for (const cEdFlowCmd& cmd : failing) {
        m_vars[0] = m_vars[1] = 7;
        DoStatusOp(m_self, cmd, nullptr);
        EXPECT_EQ(m_vars[0], 2);
        EXPECT_EQ(m_vars[1], 0);
    }
    // Without reporting nothing is written.
    m_vars[0] = m_vars[1] = 7;
    DoStatusOp(m_self, StatusOp({{3, SUBJ_TARGET4}, {4, STATUS_HP}}), nullptr);
    EXPECT_EQ(m_vars[0], 7);
    // A report without a running flow's variables writes nowhere.
    m_scene.m_lpCurFlowVars = nullptr;
    DoStatusOp(m_self, StatusOp({{4, STATUS_HP}, {6, OP_ADD}, {8, 1}, {24, 1}}), nullptr);
    DoStatusOp(m_self, StatusOp({{3, SUBJ_TARGET4}, {24, 1}}), nullptr);
    EXPECT_EQ(m_self.m_nHP, 51);
    // A flow variable as the target, with the percent flag.
    m_scene.m_lpCurFlowVars = m_vars;
    m_vars[1] = 40;
    DoStatusOp(m_self, StatusOp({{0, 2}, {5, 2}, {6, OP_SET}, {8, 25}, {16, 1}, {24, 1}}), m_vars);
    EXPECT_EQ(m_vars[0], 1);
    EXPECT_EQ(m_vars[1], -30);  // reported over the new value 10
}

TEST_F(StatusOpTest, ExecutorUsesTheRunningFlowVariables) {
    const cEdFlowCmd def = StatusOp({{0, 1}, {1, 1}, {2, 9}, {6, OP_ADD}, {7, SRC_FLOWVAR}, {15, 1}});
    cFlowCmd inst;
    inst.m_lpDef = &def;
    m_vars[0] = 12;
    ExecStatusOp(m_self, inst);
    EXPECT_EQ(m_scene.m_vStageVars.at(9), 12);
}

}  // namespace
