// Hit modes of map cells and the corner test of objects against the map.
#include "play/map_cell.h"

#include <gtest/gtest.h>

#include <vector>

#include "play/object.h"
#include "tests/play/play_fixture.h"

namespace {

using playtest::PlaySceneTest;

std::vector<long long> g_asked;
int g_condsHold = 1;
cScenePlay* g_askedScene = nullptr;

int RecordingConds(cScenePlay* scene, cMapCell& cell) {
    g_askedScene = scene;
    g_asked.push_back(&cell - g_vMapCells.data());
    return g_condsHold;
}

class MapCellTest : public PlaySceneTest {
protected:
    void SetUp() override {
        PlaySceneTest::SetUp();
        g_asked.clear();
        g_condsHold = 1;
        g_askedScene = nullptr;
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

    // The conditions come first: they are asked with the play scene and the cell.
    seam::CheckBlockConds = RecordingConds;
    g_condsHold = 0;
    EXPECT_EQ(cell.GetHitMode(2), 0);
    EXPECT_EQ(g_asked, std::vector<long long>{1});
    EXPECT_EQ(g_askedScene, &m_scene);
    g_condsHold = 1;
    EXPECT_EQ(cell.GetHitMode(2), 2);
}

// Stage 12 x 5 cells: map columns 1 << 5 = 32, rows 25.
TEST_F(MapCellTest, CornerOrderAndOutsideCorners) {
    SetStage(12, 5);
    ASSERT_EQ(m_scene.m_ScrollX.m_nShift, 5);
    g_vMapCells.assign(32 * 25, cMapCell{});
    for (auto& c : g_vMapCells) c.m_nHitMode = 0;
    seam::CheckBlockConds = RecordingConds;
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
