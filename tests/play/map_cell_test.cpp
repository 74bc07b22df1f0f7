// Hit modes of map cells and the corner test of objects against the map.
#include "play/map_cell.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/random.h"
#include "engine/status_op.h"
#include "frontend/data/game_progress.h"
#include "play/chara_player.h"
#include "play/object.h"
#include "records/cond.h"
#include "tests/play/play_fixture.h"

namespace {

using playtest::PlaySceneTest;

// Each cell asked for its hit mode evaluates its block's conditions: one
// status condition per cell, common variable 0 at least a random operand
// (0..32767), which the condition keeps once evaluated (-1 before). The
// draws since the last mark, replayed from the generator, give the cells in
// the order they were asked. Common variable 0 decides whether they hold.
uint32_t g_mark = 0;

void AskConditions(cMapCell& cell) {
    cCond c;
    c.m_nKind = COND_STATUS;
    c.m_nLeftSource = 1;
    c.m_nLeftVarKind = 0;
    c.m_nVarIndex = 0;
    c.m_nOp = COND_OP_GREATER_EQUAL;
    c.m_nRightSource = SRC_RANDOM;
    c.m_nRandomMin = 0;
    c.m_nRandomMax = 32767;
    c.m_nValue = -1;
    cell.m_vecCond = {c};
}

void SetCondsHold(bool holds) { g_Progress.m_vecCommonVar.at(0) = holds ? 40000 : -1; }

// Forgets what was asked so far.
void ClearAsked() {
    for (cMapCell& cell : g_vMapCells)
        if (!cell.m_vecCond.empty()) cell.m_vecCond[0].m_nValue = -1;
    g_mark = RandState();
}

// The draws made since the mark.
std::vector<int32_t> Draws() {
    const uint32_t now = RandState();
    SetRandState(g_mark);
    std::vector<int32_t> draws;
    while (RandState() != now && draws.size() < 1000) draws.push_back(RandRange(0, 32767));
    SetRandState(now);
    return draws;
}

// The cells asked since the mark in the order of their (last) draws.
std::vector<long long> AskedCells() {
    std::vector<long long> cells;
    for (int32_t d : Draws())
        for (size_t i = 0; i < g_vMapCells.size(); ++i)
            if (!g_vMapCells[i].m_vecCond.empty() && g_vMapCells[i].m_vecCond[0].m_nValue == d) {
                cells.push_back(static_cast<long long>(i));
                break;
            }
    return cells;
}

class MapCellTest : public PlaySceneTest {
protected:
    void SetUp() override {
        PlaySceneTest::SetUp();
        m_savedCommon = g_Progress.m_vecCommonVar;
        g_Progress.m_vecCommonVar.assign(10, 0);
        SetCondsHold(true);
        SRand(7);
        g_mark = RandState();
        g_vPlayers.resize(1);
    }
    void TearDown() override {
        g_vPlayers.clear();
        g_Progress.m_vecCommonVar = m_savedCommon;
        PlaySceneTest::TearDown();
    }
    cCheckedVector<int32_t> m_savedCommon;
};

TEST_F(MapCellTest, HitModeRules) {
    g_vMapCells.resize(3);
    cMapCell& cell = g_vMapCells[1];
    ASSERT_TRUE(cell.m_vecCond.empty());
    // A fresh block: solid, no exempt group (255 read as -1).
    EXPECT_EQ(cell.GetHitMode(0), 1);
    EXPECT_EQ(cell.GetHitMode(-1), 0);  // class -1 passes the "none" group
    cell.m_nHitMode = cEdBlock::HIT_DEADLY;
    cell.m_nExemptGroup = 3;
    EXPECT_EQ(cell.GetHitMode(2), 2);
    EXPECT_EQ(cell.GetHitMode(3), 0);
    EXPECT_EQ(cell.GetHitMode(-1), 2);

    // The conditions come first.
    AskConditions(cell);
    ClearAsked();
    SetCondsHold(false);
    EXPECT_EQ(cell.GetHitMode(2), 0);
    EXPECT_EQ(AskedCells(), std::vector<long long>{1});
    SetCondsHold(true);
    EXPECT_EQ(cell.GetHitMode(2), 2);
    // Once they have held, a latching block holds in this cell for good.
    cell.m_bCondLatch = 1;
    EXPECT_EQ(cell.GetHitMode(2), 2);
    SetCondsHold(false);
    ClearAsked();
    EXPECT_EQ(cell.GetHitMode(2), 2);
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(g_vMapCells[2].GetHitMode(2), 1);  // another cell of no conditions
}

// Stage 12 x 5 cells: map columns 1 << 5 = 32, rows 25.
TEST_F(MapCellTest, CornerOrderAndOutsideCorners) {
    SetStage(12, 5);
    ASSERT_EQ(m_scene.m_ScrollX.m_nShift, 5);
    g_vMapCells.assign(32 * 25, cMapCell{});
    for (size_t i = 0; i < g_vMapCells.size(); ++i) {
        g_vMapCells[i].m_nHitMode = 0;
        AskConditions(g_vMapCells[i]);
    }
    ClearAsked();
    auto index = [](int c, int r) { return c + (r << 5); };

    cObject o;
    o.Init(1, 0, 0, 4, 0, nullptr, 0, 0, 0, 40, 40, 40, 40, 0, 0, 0);
    o.m_dX = 14 * 32 + 8;  // columns 14, 15
    o.m_dY = 12 * 32 + 8;  // rows 12, 13
    o.UpdatePosX();
    o.UpdatePosY();
    EXPECT_EQ(o.HitsMapCorner(), 0);
    EXPECT_EQ(AskedCells(),
              (std::vector<long long>{index(14, 12), index(14, 13), index(15, 12), index(15, 13)}));

    // The first hitting corner ends the test.
    ClearAsked();
    g_vMapCells[index(15, 12)].m_nHitMode = 1;
    EXPECT_EQ(o.HitsMapCorner(), 1);
    EXPECT_EQ(Draws().size(), 3u);
    // Not for the exempt group.
    g_vMapCells[index(15, 12)].m_nExemptGroup = 4;
    EXPECT_EQ(o.HitsMapCorner(), 0);

    // A tall object left above the top: its top corners lie before row 0.
    cObject tall;
    tall.Init(2, 0, 0, 0, 0, nullptr, 0, 0, 0, 32, 400, 32, 400, 0, 0, 0);
    tall.m_dX = 14 * 32;
    tall.m_dY = -100;
    EXPECT_EQ(tall.ClampToStageY(2), 0);
    EXPECT_EQ(tall.m_dY, -100);
    tall.UpdatePosX();
    ClearAsked();
    EXPECT_EQ(tall.HitsMapCorner(), 0);
    EXPECT_EQ(Draws().size(), 2u);  // the same cell twice
    EXPECT_EQ(AskedCells(), (std::vector<long long>{index(14, 9)}));
    EXPECT_EQ(g_bQuit, 0);

    // And one left below the bottom: its bottom corners lie past row 24.
    tall.m_dY = 700;
    EXPECT_EQ(tall.ClampToStageY(2), 0);
    ClearAsked();
    EXPECT_EQ(tall.HitsMapCorner(), 0);
    EXPECT_EQ(Draws().size(), 2u);
    EXPECT_EQ(AskedCells(), (std::vector<long long>{index(14, 21)}));
    EXPECT_EQ(g_bQuit, 0);
}

}  // namespace
