// Parameter changes: each descriptor row reaches its field in its width and
// range, the index checks refuse what must not be written, and records
// apply in order to the command definition itself.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/quit.h"
#include "engine/arrange.h"
#include "engine/param_op.h"
#include "engine/status_commands.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/ed_shot.h"
#include "tests/engine/status_fixture.h"

namespace {

class ArrangeTest : public statustest::StatusWorld {
protected:
    void SetUp() override {
        StatusWorld::SetUp();
        BuildArrangeParamTable();
        m_savedDatabase = g_Database;
        m_savedCommonCharas = g_CommonPalette.m_vecCharaPalette;
        m_savedCommonItems = g_CommonPalette.m_vecItemPalette;
        m_savedCommonBlocks = g_CommonPalette.m_vecBlockPalette;
        g_Database.m_vecSound.resize(5);
        g_CommonPalette.m_vecItemPalette.resize(4);
        g_CommonPalette.m_vecBlockPalette.resize(3);
        g_Progress.m_vecCommonVar.at(1) = 0;
    }
    void TearDown() override {
        g_Database = m_savedDatabase;
        g_CommonPalette.m_vecCharaPalette = m_savedCommonCharas;
        g_CommonPalette.m_vecItemPalette = m_savedCommonItems;
        g_CommonPalette.m_vecBlockPalette = m_savedCommonBlocks;
        StatusWorld::TearDown();
    }
    // Applies "set to common variable 1 = value" (or another operator) to
    // parameter `index` of the command.
    void Arrange(cEdFlowCmd& cmd, int kind, int index, int op, int32_t value) {
        g_Progress.m_vecCommonVar.at(1) = value;
        ApplyArrange(cmd, cArrange{kind, index, op, 0, 1}, m_self);
    }
    cDatabase m_savedDatabase;
    std::vector<cEdChara> m_savedCommonCharas;
    std::vector<cEdItem> m_savedCommonItems;
    std::vector<cEdBlock> m_savedCommonBlocks;
};

cEdFlowCmd Command(int family, int kind, int params, bool move, bool shot) {
    cEdFlowCmd c;
    c.m_nFamily = static_cast<int8_t>(family);
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_vecParam.assign(params, 0);
    if (move) c.m_spMove.Create();
    if (shot) c.m_spShot.Create();
    return c;
}

TEST_F(ArrangeTest, RowsReachTheirFieldsWithinTheirRanges) {
    struct Case {
        const char* name;
        int family, kind, index, op;
        int32_t value;
        std::function<void(cEdFlowCmd&)> prepare;
        std::function<int32_t(const cEdFlowCmd&)> field;
        int32_t expected;
    } cases[] = {
        {"straight target X adds", 0, 2, 0, OP_ADD, 50, [](cEdFlowCmd& c) { c.m_spMove->m_nTargetX = 100; },
         [](const cEdFlowCmd& c) { return c.m_spMove->m_nTargetX; }, 150},
        {"straight target X clamps", 0, 2, 0, OP_SET, 20000, nullptr, [](const cEdFlowCmd& c) { return c.m_spMove->m_nTargetX; }, 16383},
        {"charge angle step", 0, 5, 5, OP_SET, -8000, nullptr, [](const cEdFlowCmd& c) { return c.m_spMove->m_nAngleStep; }, -7200},
        {"homing step", 0, 6, 1, OP_SET, 99, nullptr, [](const cEdFlowCmd& c) { return c.m_spMove->m_nHomingStep; }, 10},
        {"jump sound", 0, 10, 0, OP_SET, 4, nullptr, [](const cEdFlowCmd& c) { return c.m_nSound; }, 4},
        {"shot z, 8 bits", 0, 11, 1, OP_SET, 9, nullptr, [](const cEdFlowCmd& c) { return c.m_spShot->m_nZ; }, 7},
        {"shot power, 32 bits", 0, 11, 28, OP_SET, 5000000, nullptr, [](const cEdFlowCmd& c) { return c.m_spShot->m_nPower; }, 999999},
        {"shot speed", 0, 11, 19, OP_SUB, 300, nullptr, [](const cEdFlowCmd& c) { return c.m_spShot->m_nSpeed; }, -200},
        {"shot sound is the command's", 0, 11, 14, OP_SET, 3, nullptr, [](const cEdFlowCmd& c) { return c.m_nSound; }, 3},
        {"formation value in its formation's range", 0, 11, 2, OP_SET, 100,
         [](cEdFlowCmd& c) { c.m_spShot->m_nFormation = FORMATION_THUNDER; },
         [](const cEdFlowCmd& c) { return c.m_spShot->m_nFormationParam[0]; }, 40},
        {"second formation value", 0, 11, 3, OP_SET, 0, [](cEdFlowCmd& c) { c.m_spShot->m_nFormation = FORMATION_THUNDER; },
         [](const cEdFlowCmd& c) { return c.m_spShot->m_nFormationParam[1]; }, 1},
        {"trajectory value in its trajectory's range", 0, 11, 17, OP_SET, 5000,
         [](cEdFlowCmd& c) { c.m_spShot->m_nTrajectory = TRAJ_HOME_HERO; },
         [](const cEdFlowCmd& c) { return c.m_spShot->m_nTrajectoryParam[1]; }, 999},
        {"item from the common palette", 0, 11, 31, OP_SET, 3, [](cEdFlowCmd& c) { c.m_spShot->m_nItemSource = 1; },
         [](const cEdFlowCmd& c) { return c.m_spShot->m_nItem; }, 3},
        {"sword side", 0, 12, 0, OP_SET, 12, nullptr, [](const cEdFlowCmd& c) { return c.m_spShot->m_nSide; }, 7},
        {"sword sound", 0, 12, 6, OP_SET, 2, nullptr, [](const cEdFlowCmd& c) { return c.m_nSound; }, 2},
        {"summoned block", 0, 13, 0, OP_SET, 2, nullptr, [](const cEdFlowCmd& c) { return c.m_spShot->m_nSummonEntry; }, 2},
        {"summoned chara's lifetime", 0, 14, 1, OP_SET, 20000, nullptr, [](const cEdFlowCmd& c) { return c.m_spShot->m_nRange; }, 9999},
        {"summoned items' count, 8 bits", 0, 15, 5, OP_SET, 200, nullptr, [](const cEdFlowCmd& c) { return c.m_spShot->m_nCount; }, 127},
        {"stage clear start X", 0, 17, 1, OP_SET, 5000, nullptr, [](const cEdFlowCmd& c) { return c.m_vecParam[6]; }, 999},
        {"message ID", 0, 19, 0, OP_SET, 12, nullptr, [](const cEdFlowCmd& c) { return c.m_vecParam[13]; }, 12},
        {"warp distance", 0, 20, 0, OP_SET, 80, nullptr, [](const cEdFlowCmd& c) { return c.m_spMove->m_nDistance; }, 64},
        {"target's compare value", 0, 21, 2, OP_SET, -5, nullptr, [](const cEdFlowCmd& c) { return c.m_vecParam[13]; }, -5},
        {"status op's left flow variable", 0, 22, 0, OP_SET, 2, [](cEdFlowCmd& c) { c.m_vecParam[0] = 2; },
         [](const cEdFlowCmd& c) { return c.m_vecParam[5]; }, 2},
        {"status op's right flow variable", 0, 22, 4, OP_SET, 1, [](cEdFlowCmd& c) { c.m_vecParam[7] = 4; },
         [](const cEdFlowCmd& c) { return c.m_vecParam[15]; }, 1},
        {"status op's chara variable", 0, 22, 0, OP_SET, 8, nullptr, [](const cEdFlowCmd& c) { return c.m_vecParam[2]; }, 8},
        {"graphic number at most 119", 0, 26, 0, OP_SET, 119, nullptr, [](const cEdFlowCmd& c) { return c.m_vecParam[1]; }, 119},
        {"screen colour percent", 0, 33, 3, OP_SET, 200, nullptr, [](const cEdFlowCmd& c) { return c.m_vecParam[3]; }, 100},
        {"sound effect", 0, 35, 0, OP_SET, 4, nullptr, [](const cEdFlowCmd& c) { return c.m_vecParam[0]; }, 4},
        {"item command as kind + 15", 1, 18, 0, OP_SET, 300, nullptr, [](const cEdFlowCmd& c) { return c.m_vecParam[0]; }, 255},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const int chara = k.family == 1 ? k.kind + 15 : k.kind;
        cEdFlowCmd cmd = Command(k.family, k.kind, 25, true, true);
        if (k.prepare) k.prepare(cmd);
        Arrange(cmd, chara, k.index, k.op, k.value);
        EXPECT_EQ(k.field(cmd), k.expected);
        EXPECT_EQ(g_bQuit.load(), 0);
    }
}

// Every field a row can reach, by name.
std::map<std::string, int32_t> Fields(const cEdFlowCmd& c) {
    std::map<std::string, int32_t> f;
    for (size_t i = 0; i < c.m_vecParam.size(); ++i) f["p" + std::to_string(i)] = c.m_vecParam[i];
    f["sound"] = c.m_nSound;
    const cEdMove& m = *c.m_spMove;
    f["TargetX"] = m.m_nTargetX, f["TargetXDot"] = m.m_nTargetXDot, f["TargetY"] = m.m_nTargetY;
    f["TargetYDot"] = m.m_nTargetYDot, f["Angle"] = m.m_nAngle, f["AngleStep"] = m.m_nAngleStep;
    f["Homing"] = m.m_nHoming, f["HomingStep"] = m.m_nHomingStep, f["Distance"] = m.m_nDistance;
    f["DistanceStep"] = m.m_nDistanceStep;
    for (int n = 0; n < SHOT_ARRANGE_PARAM_COUNT; ++n) {
        int v = 0;
        if (GetShotArrangeValue(*c.m_spShot, n, v)) f["shot" + std::to_string(n)] = v;
    }
    f["summon"] = c.m_spShot->m_nSummonEntry;
    return f;
}

// Each row of each kind changes exactly its own field.
TEST_F(ArrangeTest, EachRowChangesItsOwnField) {
    g_Database.m_vecEffect.resize(5);
    g_Database.m_vecCharaEffect.resize(5);
    g_Database.m_vecScrEffect.resize(5);
    g_Database.m_vecPicture.resize(5);
    g_Database.m_vecBgm.resize(5);
    g_CommonPalette.m_vecCharaPalette.resize(3);
    const std::vector<std::string> straight = {"TargetX", "TargetXDot", "TargetY", "TargetYDot", "Angle", "AngleStep"};
    const std::map<int, std::vector<std::string>> rows = {
        {2, straight},
        {5, straight},
        {6, {"Homing", "HomingStep", "TargetX", "TargetXDot", "TargetY", "TargetYDot"}},
        {9, {"sound"}},
        {10, {"sound"}},
        {11, {"shot0",  "shot1",  "shot2",  "shot3",  "shot4",  "shot5",  "shot6",  "shot7",
              "shot8",  "shot9",  "shot10", "shot11", "shot12", "shot13", "sound",  "shot15",
              "shot16", "shot17", "shot18", "shot19", "shot20", "shot21", "shot22", "shot23",
              "shot24", "shot25", "shot26", "shot27", "shot28", "shot29", "shot30", "shot31"}},
        {12, {"shot15", "shot1", "shot28", "shot29", "shot30", "shot31", "sound"}},
        {13, {"summon", "shot2", "shot3", "shot4", "shot5", "shot10", "shot12", "sound"}},
        {14, {"summon", "shot23", "shot15", "shot2", "shot3", "shot4", "shot5", "shot10", "shot12", "sound"}},
        {15, {"summon", "shot23", "shot2", "shot3", "shot4", "shot5", "shot10", "shot12", "sound"}},
        {17, {"p1", "p6", "p7", "p3", "p4"}},
        {19, {"p13", "p1", "p2", "p3", "p4"}},
        {20, {"Distance", "DistanceStep", "TargetX", "TargetY", "TargetXDot", "TargetYDot"}},
        {21, {"p2", "p10", "p13"}},
        {22, {"p2", "p8", "p9", "p10", "p12"}},
        {24, {"p1"}},
        {25, {"p1"}},
        {26, {"p1", "p2"}},
        {29, {"p0", "p2", "p3", "p4", "p5", "p7"}},
        {30, {"p0"}},
        {31, {"p0"}},
        {32, {"p0", "p17", "p2", "p3", "p4", "p5", "p7", "p9"}},
        {33, {"p0", "p1", "p2", "p3"}},
        {34, {"p0"}},
        {35, {"p0"}},
        {36, {"p0"}},
    };
    for (const auto& [kind, names] : rows) {
        ASSERT_EQ(ArrangeParamTable[kind].size(), names.size()) << kind;
        for (size_t i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(std::to_string(kind) + " " + std::to_string(i));
            cEdFlowCmd cmd = Command(0, kind, 25, true, true);
            cmd.m_spShot->m_nFormation = FORMATION_THUNDER;
            cmd.m_spShot->m_nTrajectory = TRAJ_WAVE;
            cmd.m_spShot->m_nItemSource = 1;
            const auto before = Fields(cmd);
            const int32_t v = ArrangeParamTable[kind][i].nMin + 1;
            Arrange(cmd, kind, static_cast<int>(i), OP_SET, v);
            auto after = Fields(cmd);
            for (const auto& [name, value] : before) {
                if (name == names[i])
                    EXPECT_EQ(after[name], v);
                else
                    EXPECT_EQ(after[name], value) << name;
            }
        }
    }
}

TEST_F(ArrangeTest, IndexChecksRefuse) {
    struct Case {
        const char* name;
        int kind, index;
        int32_t value;
        std::function<void(cEdFlowCmd&)> prepare;
        std::function<int32_t(const cEdFlowCmd&)> field;
    } cases[] = {
        {"sound at the table's size", 11, 14, 5, nullptr, [](const cEdFlowCmd& c) { return c.m_nSound; }},
        {"music with an empty table", 36, 0, 1, [](cEdFlowCmd&) { g_Database.m_vecBgm.clear(); },
         [](const cEdFlowCmd& c) { return c.m_vecParam[0]; }},
        {"item without an item selector", 11, 31, 1, nullptr, [](const cEdFlowCmd& c) { return c.m_spShot->m_nItem; }},
        {"item past the common palette", 12, 5, 4, [](cEdFlowCmd& c) { c.m_spShot->m_nItemSource = 1; },
         [](const cEdFlowCmd& c) { return c.m_spShot->m_nItem; }},
        {"block past the common palette", 13, 0, 3, nullptr, [](const cEdFlowCmd& c) { return c.m_spShot->m_nSummonEntry; }},
        {"graphic above 119", 26, 0, 120, nullptr, [](const cEdFlowCmd& c) { return c.m_vecParam[1]; }},
        {"flow variable above 2", 22, 0, 3, [](cEdFlowCmd& c) { c.m_vecParam[0] = 2; }, [](const cEdFlowCmd& c) { return c.m_vecParam[5]; }},
        {"chara variable past the vector", 22, 4, 9, [](cEdFlowCmd& c) { c.m_vecParam[7] = 2; },
         [](const cEdFlowCmd& c) { return c.m_vecParam[12]; }},
        {"formation kind outside its table", 11, 2, 5, [](cEdFlowCmd& c) { c.m_spShot->m_nFormation = 9; },
         [](const cEdFlowCmd& c) { return c.m_spShot->m_nFormationParam[0]; }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        cEdFlowCmd cmd = Command(0, k.kind, 25, true, true);
        if (k.prepare) k.prepare(cmd);
        const int32_t before = k.field(cmd);
        Arrange(cmd, k.kind, k.index, OP_SET, k.value);
        EXPECT_EQ(k.field(cmd), before);
        EXPECT_EQ(g_bQuit.load(), 0);
    }
}

TEST_F(ArrangeTest, OperandsAndWhatChangesNothing) {
    cEdFlowCmd cmd = Command(0, 35, 1, false, false);
    m_self.m_vVars.at(2) = 3;
    m_vars[1] = 2;
    m_scene.m_vStageVars.at(4) = 1;
    ApplyArrange(cmd, cArrange{35, 0, OP_SET, 2, 2}, m_self);  // chara variable 2
    EXPECT_EQ(cmd.m_vecParam[0], 3);
    ApplyArrange(cmd, cArrange{35, 0, OP_SET, 3, 2}, m_self);  // second flow variable
    EXPECT_EQ(cmd.m_vecParam[0], 2);
    ApplyArrange(cmd, cArrange{35, 0, OP_SET, 1, 4}, m_self);  // stage variable 4
    EXPECT_EQ(cmd.m_vecParam[0], 1);
    // Numbers start at 1 and stay below the vector's size; flow variables
    // are 1 or 2; sources are 0..3.
    const cArrange refused[] = {{35, 0, OP_SET, 0, 0}, {35, 0, OP_SET, 0, 1000}, {35, 2, OP_SET, 2, 9},
                                {35, 0, OP_SET, 3, 3},  {35, 0, OP_SET, 4, 1}};
    g_Progress.m_vecCommonVar.at(0) = 4;
    for (const cArrange& r : refused) ApplyArrange(cmd, r, m_self);
    EXPECT_EQ(cmd.m_vecParam[0], 1);
    // A row whose part the command lacks, a kind outside the tables and the
    // item kinds 0 and 1 change nothing.
    cEdFlowCmd noShot = Command(0, 11, 0, false, false);
    ApplyArrange(noShot, cArrange{11, 19, OP_SET, 0, 1}, m_self);
    cEdFlowCmd outside = Command(0, 45, 1, false, false);
    ApplyArrange(outside, cArrange{45, 0, OP_SET, 0, 1}, m_self);
    cEdFlowCmd flowChange = Command(1, 1, 2, false, false);
    ApplyArrange(flowChange, cArrange{16, 0, OP_SET, 0, 1}, m_self);
    cEdFlowCmd none = Command(1, 0, 1, false, false);
    ApplyArrange(none, cArrange{15, 0, OP_SET, 0, 1}, m_self);
    ApplyArrange(none, cArrange{-1, 0, OP_SET, 0, 1}, m_self);
    EXPECT_EQ(outside.m_vecParam[0], 0);
    EXPECT_EQ(none.m_vecParam[0], 0);
    EXPECT_EQ(g_bQuit.load(), 0);
}

TEST_F(ArrangeTest, BadRowsTakeTheCheckedPath) {
    // A parameter index past the kind's rows, and kinds 3, 4 and 7, which
    // have no rows: the checked access reports it and the game closes.
    cEdFlowCmd straight = Command(0, 2, 0, true, false);
    Arrange(straight, 2, 6, OP_SET, 5);
    EXPECT_EQ(g_bQuit.load(), 1);
    g_bQuit = 0;
    cEdFlowCmd turn = Command(0, 3, 0, true, false);
    Arrange(turn, 3, 0, OP_SET, 5);
    EXPECT_EQ(g_bQuit.load(), 1);
    g_bQuit = 0;
}

TEST_F(ArrangeTest, RecordsApplyInOrderAndTheChangeStays) {
    cEdFlowCmd cmd = Command(0, 11, 0, false, true);
    const std::shared_ptr<cEdShot> running = cmd.m_spShot.Shared();  // what a running command reads
    g_Progress.m_vecCommonVar.at(3) = 10;
    g_Progress.m_vecCommonVar.at(4) = 5;
    cFlow flow;
    flow.m_lstArrange.push_back(cArrange{11, 19, OP_SET, 0, 3});
    flow.m_lstArrange.push_back(cArrange{11, 19, OP_MUL, 0, 4});
    flow.m_lstArrange.push_back(cArrange{12, 0, OP_SET, 0, 4});  // another kind: dropped
    ApplyFlowArranges(cmd, m_self, &flow);
    EXPECT_EQ(cmd.m_spShot->m_nSpeed, 50);
    EXPECT_EQ(running->m_nSpeed, 50);
    EXPECT_EQ(cmd.m_spShot->m_nSide, 0);
    ApplyFlowArranges(cmd, m_self, nullptr);
    EXPECT_EQ(cmd.m_spShot->m_nSpeed, 50);
}

TEST_F(ArrangeTest, ArrangeCommandsQueueRecords) {
    cEdFlowCmd chara = Command(0, 38, 5, false, false);
    chara.m_vecParam = {11, 19, OP_ADD, 0, 2};
    cFlow flow;
    DoArrange(m_self, chara);  // no current flow
    m_scene.m_lpCurFlow = &flow;
    DoArrange(m_self, chara);
    ASSERT_EQ(flow.m_lstArrange.size(), 1u);
    EXPECT_EQ(flow.m_lstArrange.front().nParam, 19);
    EXPECT_EQ(flow.m_lstArrange.front().nValue, 2);
    cEdFlowCmd item = Command(1, 23, 5, false, false);
    item.m_vecParam = {33, 0, OP_SET, 1, 1};
    DoArrange(m_self, item);
    ASSERT_EQ(Hero().m_lstArrange.size(), 1u);
    EXPECT_EQ(Hero().m_lstArrange.front().nKind, 33);
    EXPECT_EQ(flow.m_lstArrange.size(), 1u);
}

TEST_F(ArrangeTest, TheTableHoldsEveryKind) {
    ASSERT_EQ(ArrangeParamTable.size(), 40u);
    const size_t rows[40] = {0, 0, 6, 0, 0, 6, 6, 0, 0, 1, 1, 32, 7, 8, 10, 9, 0, 5, 0, 5,
                             6, 3, 5, 0, 1, 1, 2, 0, 0, 6, 1, 1, 8, 4, 1, 1, 1, 0, 0, 0};
    for (int k = 0; k < 40; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(ArrangeParamTable[k].size(), rows[k]);
        EXPECT_EQ(ArrangeGetTable[k] == nullptr, ArrangeSetTable[k] == nullptr);
        EXPECT_EQ(ArrangeSetTable[k] != nullptr, rows[k] > 0 || k == 3 || k == 4 || k == 7);
    }
    EXPECT_EQ(ArrangeParamTable[12][6].strLabel, ArrangeParamTable[9][0].strLabel);  // "効果音"
    EXPECT_EQ(ArrangeParamTable[11][2].nMax, 2147483647);
}

}  // namespace
