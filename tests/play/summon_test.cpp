// Summoned charas nudged out of walls, and summoned blocks: place, erase
// and toggle with the spare and protection switches, off-map positions.
#include <vector>

#include "engine/flow.h"
#include "play/map_cell.h"
#include "records/cond.h"
#include "tests/support/stage_builder.h"

using namespace stagetest;

namespace {

class SummonTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        MakeMap();
        m_cmd.m_spShot.Create();
        m_run.m_lpDef = &m_cmd;
    }
    cEdShot& Part() { return *m_cmd.m_spShot; }
    void Solid(int c, int r, int mode = 1) {
        cMapCell& cell = g_vMapCells.at(CellIndex(c, r));
        cell.m_nGraphic = 1;
        cell.m_nHitMode = static_cast<int8_t>(mode);
    }
    // A walker summoned with its cell's top-left at (px, py).
    void Summon(int px, int py) {
        cEdChara def;
        def.m_nSide = 1;
        def.m_nGraphic = 1;
        m_scene.CreateCharaAt(g_lstCharas, px, py, 1, 0, &m_run, def, m_serial, nullptr);
    }
    void BlockAt(int col, int row, int graphic = 5) {
        cEdBlock b;
        b.m_nGraphic = static_cast<int16_t>(graphic);
        m_scene.CreateBlockAt(col * 32, row * 32, &m_run, b);
    }
    int Graphic(int c, int r) { return g_vMapCells.at(CellIndex(c, r)).m_nGraphic; }
    // A computer chara standing in map cell (c, r).
    cCharaComputer& CharaIn(int c, int r) {
        cEdChara def;
        def.m_nSide = 1;
        cCharaComputer& ch = g_lstCharas.emplace_back();
        ch.InitComputer(50 + static_cast<int>(g_lstCharas.size()), def, nullptr, nullptr, 0);
        ch.PlaceAtCell(c - 10, r - 10);
        return ch;
    }

    cEdFlowCmd m_cmd;
    cFlowCmd m_run;
    int32_t m_serial = 10;
};

TEST_F(SummonTest, StuckCharasAreNudgedUpLeftThenUpLeftOrDropped) {
    // A walker is 16 x 24 at draw offset (8, 8): summoned at (px, py) its box
    // is x = px + 8.5 .. + 15, y = py + 8 .. + 23.
    struct Case {
        const char* what;
        int px, py;
        std::vector<std::pair<int, int>> solid;
        bool kept;
        double x, y;
    };
    const Case cases[] = {
        {"free", 18 * 32, 15 * 32, {}, true, 18 * 32 + 8.5, 15 * 32 + 8},
        {"1 px up", 18 * 32, 15 * 32 + 1, {{18, 16}}, true, 18 * 32 + 8.5, 15 * 32 + 8},
        {"1 px left", 617, 15 * 32, {{20, 15}}, true, 624.5, 488},
        {"up and left", 617, 15 * 32 + 1, {{20, 15}, {19, 16}}, true, 624.5, 488},
        {"dropped", 617, 15 * 32 + 1, {{20, 15}, {19, 16}, {19, 15}}, false, 0, 0},
    };
    for (const Case& c : cases) {
        MakeMap();
        for (auto [col, row] : c.solid) Solid(col, row);
        g_lstCharas.clear();
        m_scene.m_vCharaGroups.assign(8, {});
        m_serial = 10;
        Summon(c.px, c.py);
        ASSERT_EQ(g_lstCharas.size(), c.kept ? 1u : 0u) << c.what;
        EXPECT_EQ(m_serial, c.kept ? 11 : 10) << c.what;
        EXPECT_EQ(m_scene.m_vCharaGroups.at(1).size(), c.kept ? 1u : 0u) << c.what;
        if (!c.kept) continue;
        EXPECT_DOUBLE_EQ(g_lstCharas.front().m_dX, c.x) << c.what;
        EXPECT_DOUBLE_EQ(g_lstCharas.front().m_dY, c.y) << c.what;
    }
}

TEST_F(SummonTest, SummonedCharaTakesTheSummonsSettings) {
    Part().m_bNoScore = 1;
    Part().m_bUseRange = 1;
    Part().m_nRange = 5;
    Part().m_bAttackTrigger = 1;
    Part().m_nAttackGroup = 3;
    cEdChara def;
    def.m_nSide = 1;
    def.m_nScore = 100;
    cCharaComputer parent;
    m_scene.m_lpCurChara = &parent;
    m_scene.CreateCharaAt(g_lstCharas, 18 * 32, 15 * 32, 4, 1, &m_run, def, m_serial, nullptr);
    m_scene.m_lpCurChara = nullptr;
    ASSERT_EQ(g_lstCharas.size(), 1u);
    const cCharaComputer& c = g_lstCharas.front();
    EXPECT_EQ(c.m_nGroup, 4);
    EXPECT_EQ(c.m_nFacing, 1);
    EXPECT_EQ(c.m_Def.m_nScore, 0);
    EXPECT_EQ(c.m_nLifeTime, 5 * g_Stage.m_nSubSteps * 6);
    EXPECT_EQ(c.m_bAttackPart, 1);
    EXPECT_EQ(c.m_nAttackGroup, 3);
    EXPECT_EQ(c.m_lpParent, &parent);
    EXPECT_EQ(m_scene.m_vCharaGroups.at(4).front(), &g_lstCharas.front());
    parent.m_vReferrers.clear();
}

TEST_F(SummonTest, PlaceCrushesOrSparesTheCharasInTheCell) {
    struct Case {
        const char* what;
        int sparePlayers, spareComputers;
        int placed;
    };
    const Case cases[] = {
        {"no spare", 0, 0, 1},
        {"spare computers", 0, 1, 0},
        {"spare players only", 1, 0, 1},
    };
    for (const Case& c : cases) {
        MakeMap();
        g_lstCharas.clear();
        cCharaComputer& in = CharaIn(20, 15);
        Part().m_bSparePlayers = static_cast<int8_t>(c.sparePlayers);
        Part().m_bSpareComputers = static_cast<int8_t>(c.spareComputers);
        BlockAt(20, 15);
        EXPECT_EQ(Graphic(20, 15), c.placed ? 5 : 0) << c.what;
        EXPECT_EQ(in.m_nCrushGuard, 2) << c.what;
    }
    // A flyer that passes through blocks is not crushed.
    MakeMap();
    g_lstCharas.clear();
    Part().m_bSpareComputers = 0;
    cCharaComputer& flyer = CharaIn(20, 15);
    flyer.m_bFlying = 1;
    flyer.m_nWallMode = 0;
    BlockAt(20, 15);
    EXPECT_EQ(flyer.m_nCrushGuard, 0);
}

TEST_F(SummonTest, ProtectedBlocksAndTheKeepOption) {
    auto protect = [&] {
        MakeMap();
        Solid(20, 15);
        g_vMapCells.at(CellIndex(20, 15)).m_bNoOverwrite = 1;
    };
    protect();
    BlockAt(20, 15);
    EXPECT_EQ(Graphic(20, 15), 1) << "present and its conditions hold";

    protect();
    {
        // Stage variable 0 is 0: a condition asking for 1 does not hold.
        cCond c;
        c.m_nKind = COND_STAGE_VAR;
        c.m_nVarIndex = 0;
        c.m_nOp = COND_OP_EQUAL;
        c.m_nValue = 1;
        g_vMapCells.at(CellIndex(20, 15)).m_vecCond = {c};
    }
    BlockAt(20, 15);
    EXPECT_EQ(Graphic(20, 15), 5) << "its conditions do not hold";

    protect();
    g_SystemData.OptSummonKeepsBlocks = 1;
    BlockAt(20, 15);
    EXPECT_EQ(Graphic(20, 15), 1) << "kept by the option whatever its conditions";
}

TEST_F(SummonTest, EraseAndToggleOncePerSummon) {
    Solid(20, 15);
    g_vMapCells.at(CellIndex(20, 15)).m_nLatch = 1;
    Part().m_nBlockSummonMode = 1;
    BlockAt(20, 15);
    EXPECT_EQ(Graphic(20, 15), 0);
    EXPECT_EQ(g_vMapCells.at(CellIndex(20, 15)).m_nLatch, 0);

    Part().m_nBlockSummonMode = 2;
    BlockAt(21, 15);
    EXPECT_EQ(Graphic(21, 15), 5);
    BlockAt(21, 15);  // the same summon reaches the cell again
    EXPECT_EQ(Graphic(21, 15), 5);
    m_scene.m_vSummonedCells.clear();  // as the next toggling summon starts
    BlockAt(21, 15);
    EXPECT_EQ(Graphic(21, 15), 0);
}

TEST_F(SummonTest, PositionsOffTheMapChangeNothing) {
    const int stride = m_scene.m_ScrollX.m_nStride, rows = m_scene.m_ScrollY.m_nCells;
    struct Case {
        int px, py;
    };
    // Column -1 and the stride (which would land in the next row), rows -1
    // and one past the last.
    const Case cases[] = {{-32, 5 * 32}, {stride * 32, 5 * 32}, {5 * 32, -32}, {5 * 32, rows * 32}, {-64, -64}};
    for (const Case& c : cases) {
        cEdBlock b;
        b.m_nGraphic = 5;
        m_scene.CreateBlockAt(c.px, c.py, &m_run, b);
    }
    for (const cMapCell& cell : g_vMapCells) ASSERT_EQ(cell.m_nGraphic, 0);
}

}  // namespace
