// Parameter upgrades of flow commands and the trigger renumbering of flows,
// each case computed by hand from the upgrade rows.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "records/ed_flow.h"

namespace {

using Params = std::vector<int32_t>;
constexpr int C = cEdFlowCmd::FAMILY_CHARA;
constexpr int I = cEdFlowCmd::FAMILY_ITEM;

// from..to inclusive.
Params Seq(int32_t from, int32_t to) {
    Params v;
    for (int32_t i = from; i <= to; ++i) v.push_back(i);
    return v;
}
// n values of fill, with some positions set.
Params Fill(size_t n, int32_t fill, std::initializer_list<std::pair<size_t, int32_t>> set = {}) {
    Params v(n, fill);
    for (auto [i, x] : set) v.at(i) = x;
    return v;
}
Params Cat(std::initializer_list<Params> parts) {
    Params v;
    for (const Params& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

struct UpgradeCase {
    const char* what;
    uint32_t nVersion;  // the file's version
    int nFamily;
    int nKindIn;
    Params in;
    int nKindOut;
    Params out;
};

cEdFlowCmd MakeCmd(int family, int kind, const Params& p) {
    cEdFlowCmd c;
    c.m_nFamily = static_cast<int8_t>(family);
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_vecParam = p;
    return c;
}

// One row at a time: the file is one version older than the row, and only
// the rows of that version run.
const std::vector<UpgradeCase>& RowCases() {
    static const std::vector<UpgradeCase> cases = {
        {"145 stage clear pads", 144, C, 17, {3, 5}, 17, Fill(11, 0, {{0, 3}, {1, 5}})},
        {"145 stage clear trims", 144, C, 17, Seq(1, 12), 17, Seq(1, 11)},
        {"166 old BGM", 165, C, 35, {7, 9, 9}, 35, {7, 1}},
        {"168 status items", 167, C, 22, {0, 0, 0, 1, 10, 0, 2, 0, 0, 0, 0, 0, 0, 12}, 22,
         {0, 0, 0, 1, 11, 0, 2, 0, 0, 0, 0, 0, 0, 13}},
        {"168 old system target, right below threshold", 167, C, 22, {0, 0, 0, 2, 10, 0, 2, 0, 0, 0, 0, 0, 1, 9}, 22,
         {0, 0, 0, 2, 10, 0, 2, 0, 0, 0, 0, 0, 1, 9}},
        {"189 target insert at 2", 188, C, 21, Seq(1, 16), 21, Cat({{1, 2, 0}, Seq(3, 16)})},
        {"194 old picture insert at 6", 193, C, 31, Seq(1, 19), 31, Cat({Seq(1, 6), {1}, Seq(7, 19)})},
        {"195 old chara effect", 194, C, 29, {5, 6}, 29, {5, 0, 6}},
        {"195 old screen effect", 194, C, 30, {5, 6, 7, 8}, 30, {5, 0, 6}},
        {"203 chara summon dropped", 202, C, 14, {1, 2}, 14, {}},
        {"203 item summon dropped", 202, C, 15, {1}, 15, {}},
        {"203 flow control", 202, C, 16, {1, 2, 3}, 16, {1, 2, 3, 0, 0}},
        {"203 status items threshold 5", 202, C, 22, {0, 0, 0, 1, 5, 0, 2, 0, 0, 0, 0, 0, 1, 7}, 22,
         {0, 0, 0, 1, 6, 0, 2, 0, 0, 0, 0, 0, 1, 8}},
        {"210 status2", 209, C, 23, {0, 6}, 23, {0, 7}},
        {"210 status2 of the system", 209, C, 23, {2, 6}, 23, {2, 6}},
        {"219 old graphic change", 218, C, 25, {3, 50, 0}, 25, {3, 51, 0}},
        {"219 held at 119", 218, C, 25, {3, 119, 0}, 25, {3, 119, 0}},
        {"219 other mode", 218, C, 25, {2, 50, 0}, 25, {2, 50, 0}},
        {"545 message", 544, C, 19, {4}, 19, Fill(21, 0, {{0, 4}, {10, 1}})},
        {"545 old picture", 544, C, 31, Fill(20, 9), 31, Fill(20, 9, {{11, 0}})},
        {"546 message mode 7", 545, C, 19, Fill(21, 0, {{0, 7}}), 19, Fill(21, 0, {{0, 7}, {10, 1}})},
        {"546 message mode 3", 545, C, 19, Fill(21, 0, {{0, 3}, {10, 1}}), 19, Fill(21, 0, {{0, 3}})},
        {"547 message", 546, C, 19, Fill(21, 9), 19, Fill(21, 9, {{11, 0}, {12, 0}, {13, 0}, {14, 1}, {15, 0}})},
        {"547 old picture", 546, C, 31, Fill(20, 9), 31, Fill(20, 9, {{12, 0}, {13, 0}})},
        {"556 message", 555, C, 19, {}, 19, Fill(21, 0, {{16, 1}})},
        {"722 stage clear 2", 721, C, 17, {2, 7}, 17, {3, 7}},
        {"722 stage clear 1", 721, C, 17, {1, 7}, 17, {1, 7}},
        {"723 message", 722, C, 19, Fill(21, 9), 19, Fill(21, 9, {{17, 0}})},
        {"723 old picture", 722, C, 31, Fill(20, 9), 31, Fill(20, 9, {{14, 0}})},
        {"726 old arrange", 725, C, 37, {3}, 37, {11, 0, 0, 0, 0}},
        {"727 shot parameter 2", 726, C, 37, {11, 2, 0, 0, 0}, 37, {11, 5, 0, 0, 0}},
        {"727 shot parameter 12", 726, C, 37, {11, 12}, 37, {11, 19}},
        {"727 shot parameter 16", 726, C, 37, {11, 16}, 37, {11, 23}},
        {"727 shot parameter 1", 726, C, 37, {11, 1}, 37, {11, 1}},
        {"727 not a shot", 726, C, 37, {12, 5}, 37, {12, 5}},
        {"734 old get item", 733, C, 24, {1, 5}, 25, {1, 5}},
        {"734 status2 stays", 733, C, 23, {1}, 23, {1}},
        {"734 old arrange of kind 24", 733, C, 37, {24, 3}, 38, {25, 3}},
        {"734 old arrange of kind 23", 733, C, 37, {23, 3}, 38, {23, 3}},
        {"734 old loop", 733, C, 38, {30, 1}, 39, {30, 1}},
        {"734 item 8 stays", 733, I, 8, {1}, 8, {1}},
        {"734 item 9", 733, I, 9, {1}, 10, {1}},
        {"734 item arrange", 733, I, 22, {30, 1}, 23, {31, 1}},
        {"747 target", 746, C, 21, Fill(17, 9), 21, Fill(17, 9, {{10, 0}, {11, 1}, {14, 0}})},
        {"760 flow control", 759, C, 16, Seq(1, 6), 16, {1, 2, 3, 0, 5}},
        {"767 facing 4", 766, C, 9, {4}, 9, {10}},
        {"767 facing 5", 766, C, 9, {5}, 9, {11}},
        {"767 facing 3", 766, C, 9, {3}, 9, {3}},
        {"767 target insert at 0", 766, C, 21, Seq(1, 17), 21, Cat({{0}, Seq(1, 16)})},
        {"767 status targets", 766, C, 22, {0, 0, 0, 2, 0, 0, 2, 0, 0, 0, 0, 0, 4, 0}, 22,
         {0, 0, 0, 5, 0, 0, 2, 0, 0, 0, 0, 0, 7, 0}},
        {"767 status other sources", 766, C, 22, {1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0}, 22,
         {1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0}},
        {"767 status2 target", 766, C, 23, {2, 0}, 23, {5, 0}},
        {"767 status2 self", 766, C, 23, {1, 0}, 23, {1, 0}},
        {"820 status2 trims", 819, C, 23, Seq(1, 8), 23, Seq(1, 6)},
        {"820 status2 pads", 819, C, 23, {1, 2}, 23, {1, 2, 0, 0, 0, 0}},
        {"879 run anime", 878, C, 28, {5, 6, 7}, 28, {5, 0}},
        {"882 status", 881, C, 22, Fill(20, 0, {{3, 1}, {4, 6}, {6, 2}, {12, 1}, {13, 7}, {18, 9}, {19, 9}}), 22,
         Fill(25, 0, {{3, 1}, {4, 8}, {6, 2}, {12, 1}, {13, 9}})},
        {"882 status of the system", 881, C, 22, Fill(14, 0, {{3, 5}, {4, 6}, {6, 2}, {12, 5}, {13, 6}}), 22,
         Fill(25, 0, {{3, 5}, {4, 6}, {6, 2}, {12, 5}, {13, 6}})},
        {"891 message 8", 890, C, 19, {8}, 19, Fill(21, 0, {{0, 9}})},
        {"891 message 7", 890, C, 19, {7}, 19, Fill(21, 0, {{0, 7}})},
        {"891 effect", 890, C, 29, {1, 4}, 29, Fill(10, 0, {{0, 1}, {1, 5}})},
        {"891 picture", 890, C, 32, {1, 4}, 32, Fill(20, 0, {{0, 1}, {1, 5}})},
        {"892 status", 891, C, 22, Fill(25, 9), 22, Fill(25, 9, {{20, 2}, {21, 0}})},
        {"898 arrange picture", 897, C, 38, {32, 0}, 38, {32, 1}},
        {"898 arrange picture -1", 897, C, 38, {32, -1}, 38, {32, -1}},
        {"898 arrange other", 897, C, 38, {31, 0}, 38, {31, 0}},
        {"899 arrange shot 14", 898, C, 38, {11, 14}, 38, {11, 15}},
        {"899 arrange shot 13", 898, C, 38, {11, 13}, 38, {11, 13}},
        {"899 arrange block summon", 898, C, 38, {13, 0}, 38, {13, 1}},
        {"899 arrange item summon", 898, C, 38, {15, 2}, 38, {15, 3}},
        {"899 arrange effect", 898, C, 38, {29, 5}, 38, {29, 6}},
        {"899 arrange chara summon -1", 898, C, 38, {14, -1}, 38, {14, -1}},
        {"899 arrange status 0", 898, C, 38, {22, 0}, 38, {22, 2}},
        {"899 arrange status 3", 898, C, 38, {22, 3}, 38, {22, 5}},
        {"899 arrange status -1", 898, C, 38, {22, -1}, 38, {22, -1}},
        {"899 arrange sword", 898, C, 38, {12, 0}, 38, {12, 0}},
        {"915 stage clear", 914, C, 17, Seq(1, 12), 17, Seq(1, 11)},
        {"944 stage clear", 943, C, 17, {1, 2}, 17, Fill(11, 0, {{0, 1}, {1, 2}, {10, 1}})},
        {"965 effect insert at 6", 964, C, 29, Seq(1, 9), 29, Cat({Seq(1, 6), {1}, Seq(7, 9)})},
        {"969 message", 968, C, 19, Fill(21, 9), 19, Fill(21, 9, {{19, 0}})},
        {"969 status insert at 14", 968, C, 22, Seq(0, 24), 22, Cat({Seq(0, 13), {0}, Seq(14, 23)})},
        {"971 flow control", 970, C, 16, Seq(1, 5), 16, {1, 2, 3, 4, 0}},
        {"971 message", 970, C, 19, Fill(21, 9), 19, Fill(21, 9, {{20, 0}})},
        {"971 warp", 970, C, 20, {5, 6}, 20, {0}},
        {"971 target", 970, C, 21, Fill(17, 9), 21, Fill(17, 9, {{16, 0}})},
        {"971 status", 970, C, 22, Fill(25, 9), 22, Fill(25, 9, {{23, 0}})},
        {"971 status2", 970, C, 23, Seq(1, 6), 23, {1, 2, 3, 4, 5, 0}},
        {"971 vanish", 970, C, 24, Seq(1, 4), 24, {1, 2, 3, 0}},
        {"971 item flow change", 970, I, 1, {1, 2}, 1, {1, 2, 0, 0, 0}},
        {"972 item flow change", 971, I, 1, Seq(1, 5), 1, {1, 2}},
        {"973 status insert at 5 keeping", 972, C, 22, Seq(0, 24), 22, Cat({Seq(0, 5), Seq(5, 23)})},
        {"983 block summon", 982, C, 13, {7, 8}, 13, {0}},
        {"983 chara summon", 982, C, 14, {}, 14, {0}},
        {"984 status", 983, C, 22, Fill(25, 0, {{0, 2}, {5, 3}, {7, 4}, {15, 6}}), 22,
         Fill(25, 0, {{0, 2}, {5, 4}, {7, 4}, {15, 7}})},
        {"984 status other modes", 983, C, 22, Fill(25, 0, {{0, 1}, {5, 3}, {7, 3}, {15, 6}}), 22,
         Fill(25, 0, {{0, 1}, {5, 3}, {7, 3}, {15, 6}})},
        {"985 status zeros", 984, C, 22, Fill(25, 0), 22, Fill(25, 0, {{5, 1}, {15, 1}})},
        {"985 status kept", 984, C, 22, Fill(25, 0, {{5, 2}, {15, -1}}), 22, Fill(25, 0, {{5, 2}, {15, -1}})},
        {"998 picture inserts", 997, C, 32, Seq(1, 20), 32, Cat({Seq(1, 8), {0, 100, 0, 0}, Seq(9, 16)})},
        // Item commands run the rows of chara kind (item kind + 15).
        {"item status 767", 766, I, 7, {0, 0, 0, 2, 0, 0, 2, 0, 0, 0, 0, 0, 4, 0}, 7,
         {0, 0, 0, 5, 0, 0, 2, 0, 0, 0, 0, 0, 7, 0}},
        {"item message 891", 890, I, 4, {8}, 4, Fill(21, 0, {{0, 9}})},
        {"item arrange 899", 898, I, 23, {22, 0}, 23, {22, 2}},
        {"item old graphic change 219", 218, I, 10, {3, 50, 0}, 10, {3, 51, 0}},
        {"item stage clear 944", 943, I, 2, {1, 2}, 2, Fill(11, 0, {{0, 1}, {1, 2}, {10, 1}})},
        {"item flow change skips the kind-16 rows", 202, I, 1, {1, 2, 3}, 1, {1, 2, 3}},
        {"item none", 970, I, 0, {1}, 0, {1}},
    };
    return cases;
}

// Whole chains from an old version to today's layout.
const std::vector<UpgradeCase>& ChainCases() {
    static const std::vector<UpgradeCase> cases = {
        {"stage clear from 144", 144, C, 17, {3, 5}, 17, Fill(11, 0, {{0, 4}, {1, 5}, {10, 1}})},
        {"status2 from 209", 209, C, 23, {0, 6}, 23, {0, 7, 0, 0, 0, 0}},
        {"old arrange from 725", 725, C, 37, {3, 12}, 38, {11, 20, 0, 0, 0}},
        {"old effect from 733", 733, C, 28, {7, 4}, 29, {7, 5, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"arrange picture from 897", 897, C, 38, {32, 3}, 38, {32, 4}},
        {"status from 972", 972, C, 22, Fill(25, 0, {{0, 2}, {6, 4}, {7, 9}}), 22,
         Fill(25, 0, {{0, 2}, {5, 1}, {7, 4}, {8, 9}, {15, 1}})},
        {"item message from 100", 100, I, 4, {8}, 4, Fill(21, 0, {{0, 9}, {14, 1}, {16, 1}})},
        {"item flow change from 100", 100, I, 1, {1, 2, 3}, 1, {1, 2}},
        {"unknown kind 45 from 100", 100, C, 45, {1, 2, 3}, 46, {1, 2, 3}},
        {"negative kind from 100", 100, C, -3, {1, 2, 3}, -3, {1, 2, 3}},
        {"unknown family from 100", 100, 2, 22, {1}, 22, {1}},
        {"unknown item kind from 100", 100, I, 30, {1}, 31, {1}},
        {"today's file", 1000, C, 17, {3}, 17, {3}},
    };
    return cases;
}

void Check(const UpgradeCase& k, uint32_t nUpTo) {
    cEdFlowCmd c = MakeCmd(k.nFamily, k.nKindIn, k.in);
    c.UpgradeParams(k.nVersion, nUpTo);
    EXPECT_EQ(c.m_nKind, k.nKindOut) << k.what;
    EXPECT_EQ(c.m_vecParam, k.out) << k.what;
    EXPECT_EQ(c.m_nFamily, k.nFamily) << k.what;
}

TEST(FlowCmdUpgrade, EachRow) {
    for (const UpgradeCase& k : RowCases()) Check(k, k.nVersion + 1);
}

TEST(FlowCmdUpgrade, Chains) {
    for (const UpgradeCase& k : ChainCases()) Check(k, kDataVersion);
}

// Rows on the optional parts, each alone.
TEST(FlowCmdUpgrade, PartRows) {
    {  // 220: shot graphic + 1, held at 119; a command without a shot part is left alone
        cEdFlowCmd c = MakeCmd(C, 11, {});
        c.m_spShot.Create().m_nGraphic = 5;
        c.UpgradeParams(219, 220);
        EXPECT_EQ(c.m_spShot->m_nGraphic, 6);
        c.m_spShot->m_nGraphic = 119;
        c.UpgradeParams(219, 220);
        EXPECT_EQ(c.m_spShot->m_nGraphic, 119);
        cEdFlowCmd bare = MakeCmd(C, 11, {});
        bare.UpgradeParams(219, 220);
        EXPECT_FALSE(bare.m_spShot);
    }
    {  // 514: charge move angles
        cEdFlowCmd c = MakeCmd(C, 5, {});
        cEdMove& m = c.m_spMove.Create();
        m.m_nAngle = 30;
        m.m_nAngleStep = 4;
        m.m_bMirrorAngle = 0;
        c.UpgradeParams(513, 514);
        EXPECT_EQ(m.m_nAngle, 0);
        EXPECT_EQ(m.m_nAngleStep, 0);
        EXPECT_EQ(m.m_bMirrorAngle, 1);
    }
    {  // 764: a flow-control command gains an empty condition list (mode 0); items never
        cEdFlowCmd c = MakeCmd(C, 16, {});
        c.UpgradeParams(763, 764);
        ASSERT_TRUE(c.m_spCondList);
        EXPECT_EQ(c.m_spCondList->m_nCondMode, 0);
        EXPECT_TRUE(c.m_spCondList->m_vecCond.empty());
        cEdFlowCmd item = MakeCmd(I, 1, {});
        item.UpgradeParams(763, 764);
        EXPECT_FALSE(item.m_spCondList);
    }
    {  // 767: warp move mode 2 (old target coordinates) becomes 5; 1 stays
        cEdFlowCmd c = MakeCmd(C, 20, {});
        c.m_spMove.Create().m_nMoveMode = 2;
        c.UpgradeParams(766, 767);
        EXPECT_EQ(c.m_spMove->m_nMoveMode, 5);
        c.m_spMove->m_nMoveMode = 1;
        c.UpgradeParams(766, 767);
        EXPECT_EQ(c.m_spMove->m_nMoveMode, 1);
    }
    {  // 882 and 892: warp target axes and anchor; item warp (5) too
        for (int family : {C, I}) {
            cEdFlowCmd c = MakeCmd(family, family == C ? 20 : 5, {});
            cEdMove& m = c.m_spMove.Create();
            m.m_bUseTargetX = 0;
            m.m_bUseTargetY = 0;
            m.m_nAnchor = 0;
            c.UpgradeParams(881, 882);
            EXPECT_EQ(m.m_bUseTargetX, 1);
            EXPECT_EQ(m.m_bUseTargetY, 1);
            EXPECT_EQ(m.m_nAnchor, 0);
            c.UpgradeParams(891, 892);
            EXPECT_EQ(m.m_nAnchor, 2);
        }
    }
}

// Every row of the table has a case of its own, and the rows are in
// version order.
TEST(FlowCmdUpgrade, EveryRowHasACase) {
    const std::vector<std::pair<uint32_t, int>> partRows = {{220, 11}, {514, 5}, {764, 16}, {767, 20}, {882, 20}, {892, 20}};
    ASSERT_EQ(kParamUpgradeRowCount, 63);
    for (int i = 0; i < kParamUpgradeRowCount; ++i) {
        const cParamUpgradeRow& row = kParamUpgradeRows[i];
        if (i > 0) {
            EXPECT_LE(kParamUpgradeRows[i - 1].nBelow, row.nBelow);
        }
        bool found = false;
        for (const UpgradeCase& k : RowCases()) {
            if (k.nVersion + 1 != row.nBelow) continue;
            if (row.nKindA == cParamUpgradeRow::kEveryCommand ||
                (row.nKindA == cParamUpgradeRow::kItemFlowChange && k.nFamily == I && k.nKindIn == 1) ||
                (k.nFamily == C && (k.nKindIn == row.nKindA || k.nKindIn == row.nKindB)))
                found = true;
        }
        for (auto [below, kind] : partRows)
            if (below == row.nBelow && kind == row.nKindA) found = true;
        EXPECT_TRUE(found) << "row " << i << " (below " << row.nBelow << ", kind " << row.nKindA << ")";
    }
}

// ---------------------------------------------------------------------------
// Trigger renumbering of flows (through a whole flow file).

struct TriggerCase {
    uint32_t nVersion;
    int nTrigger, nGroup;
    int nTriggerOut, nGroupOut;
};

TEST(FlowUpgrade, TriggerRenumbering) {
    const TriggerCase cases[] = {
        {899, 2, 0, 3, 0},    // the first of the four tests below 900
        {899, 1, 0, 1, 0},    // below every threshold
        {899, 20, 0, 24, 0},  // each of the four tests raises it
        {131, 11, 5, 16, 0},  // 12, then 14, then 16; the group is dropped below 163
        {132, 11, 5, 15, 0},  // not raised at 131: 13 below 164, then 14, 15
        {162, 0, 3, 0, 3},    // trigger 0 keeps its group
        {163, 4, 3, 6, 3},    // group kept from 163; 5 and 6 below 900
        {164, 5, 0, 7, 0},    // not raised by 2 from 164
        {761, 18, 0, 25, 0},  // 21 below 762, then 22, 23, 24, 25
        {762, 18, 0, 20, 0},  // 19, 20
        {899, -1, 0, -1, 0},  // signed comparisons
        {900, 5, 2, 5, 2},
        {1000, 26, 1, 26, 1},
    };
    for (const TriggerCase& k : cases) {
        cEdFlow f;
        f.m_nTrigger = static_cast<int8_t>(k.nTrigger);
        f.m_nFlowGroup = static_cast<int8_t>(k.nGroup);
        f.m_strName = "name";
        cEdFlow g;
        ASSERT_TRUE(g.LoadBytes(f.SaveBytesAs(k.nVersion), "flow")) << LastDataFileError();
        EXPECT_EQ(g.m_nTrigger, k.nTriggerOut) << "version " << k.nVersion << " trigger " << k.nTrigger;
        EXPECT_EQ(g.m_nFlowGroup, k.nGroupOut) << "version " << k.nVersion << " trigger " << k.nTrigger;
        EXPECT_EQ(g.m_strName, "");
    }
}

}  // namespace
