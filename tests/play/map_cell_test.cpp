// Hit modes of map cells and the corner test of objects against the map.
#include "play/map_cell.h"

#include <gtest/gtest.h>

#include <vector>

#include "play/chara_player.h"
#include "play/object.h"
#include "records/cond.h"
#include "tests/play/play_fixture.h"

namespace {

using playtest::PlaySceneTest;

// Each cell asked for its hit mode evaluates its block's conditions: a
// status condition naming the cell, answered by the recording evaluator.
std::vector<long long> g_asked;
int g_condsHold = 1;

int RecordingConds(const cCond& cond, cChara& chara, int32_t*) {
    EXPECT_EQ(&chara, Hero());  // blocks are evaluated for the first player
    g_asked.push_back(cond.m_nVarIndex);
    return g_condsHold;
}

void AskConditions(cMapCell& cell, long long index) {
    cCond c;
    c.m_nKind = COND_STATUS;
    c.m_nVarIndex = static_cast<int16_t>(index);
    cell.m_vecCond = {c};
}

class MapCellTest : public PlaySceneTest {
protected:
    void SetUp() override {
        PlaySceneTest::SetUp();
        g_asked.clear();
        g_condsHold = 1;
        g_vPlayers.resize(1);
        seam::EvalStatusCond = RecordingConds;
    }
    void TearDown() override {
        g_vPlayers.clear();
        PlaySceneTest::TearDown();
    }
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
    AskConditions(cell, 1);
    g_condsHold = 0;
    EXPECT_EQ(cell.GetHitMode(2), 0);
    EXPECT_EQ(g_asked, std::vector<long long>{1});
    g_condsHold = 1;
    EXPECT_EQ(cell.GetHitMode(2), 2);
    // Once they have held, a latching block holds in this cell for good.
    cell.m_bCondLatch = 1;
    EXPECT_EQ(cell.GetHitMode(2), 2);
    g_condsHold = 0;
    g_asked.clear();
    EXPECT_EQ(cell.GetHitMode(2), 2);
    EXPECT_TRUE(g_asked.empty());
    EXPECT_EQ(g_vMapCells[2].GetHitMode(2), 1);  // another cell of no conditions
}

// Stage 12 x 5 cells: map columns 1 << 5 = 32, rows 25.
TEST_F(MapCellTest, CornerOrderAndOutsideCorners) {
    SetStage(12, 5);
    ASSERT_EQ(m_scene.m_ScrollX.m_nShift, 5);
    g_vMapCells.assign(32 * 25, cMapCell{});
    for (size_t i = 0; i < g_vMapCells.size(); ++i) {
        g_vMapCells[i].m_nHitMode = 0;
        AskConditions(g_vMapCells[i], static_cast<long long>(i));
    }
    auto index = [](int c, int r) { return c + (r << 5); };

    cObject o;
    o.Init(1, 0, 0, 4, 0, nullptr, 0, 0, 0, 40, 40, 40, 40, 0, 0, 0);
    o.m_dX = 14 * 32 + 8;  // columns 14, 15
    o.m_dY = 12 * 32 + 8;  // rows 12, 13
    o.UpdatePosX();
    o.UpdatePosY();
    EXPECT_EQ(o.HitsMapCorner(), 0);
    EXPECT_EQ(g_asked,
              (std::vector<long long>{index(14, 12), index(14, 13), index(15, 12), index(15, 13)}));

    // The first hitting corner ends the test.
    g_asked.clear();
    g_vMapCells[index(15, 12)].m_nHitMode = 1;
    EXPECT_EQ(o.HitsMapCorner(), 1);
    EXPECT_EQ(g_asked.size(), 3u);
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
    g_asked.clear();
    EXPECT_EQ(tall.HitsMapCorner(), 0);
    EXPECT_EQ(g_asked, (std::vector<long long>{index(14, 9), index(14, 9)}));
    EXPECT_EQ(g_bQuit, 0);

    // And one left below the bottom: its bottom corners lie past row 24.
    tall.m_dY = 700;
    EXPECT_EQ(tall.ClampToStageY(2), 0);
    g_asked.clear();
    EXPECT_EQ(tall.HitsMapCorner(), 0);
    EXPECT_EQ(g_asked, (std::vector<long long>{index(14, 21), index(14, 21)}));
    EXPECT_EQ(g_bQuit, 0);
}

}  // namespace
