// The searches over live block charas: riding, the chara below, wedged
// corners with and without simple walls, overlaps, and the blocked test of
// the summons that uses them.
#include "play/block_chara_probes.h"

#include "tests/support/stage_builder.h"

using namespace stagetest;

namespace {

class ProbeTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        MakeMap();
    }
    // A live block chara with the box (x, y) .. (right, bottom).
    cCharaComputer& Block(int key, double x, double y, double right, double bottom) {
        cCharaComputer& c = g_lstCharas.emplace_back();
        c.m_nKey = key;
        c.m_Def.m_bBlockChara = 1;
        c.m_bActing = 1;
        Box(c, x, y, right, bottom);
        return c;
    }
    static void Box(cChara& c, double x, double y, double right, double bottom) {
        c.m_dX = x;
        c.m_dY = y;
        c.m_dRight = right;
        c.m_dBottom = bottom;
    }
    cCharaComputer Walker(int key, double x, double y, double right, double bottom) {
        cCharaComputer c;
        c.m_nKey = key;
        Box(c, x, y, right, bottom);
        return c;
    }
};

TEST_F(ProbeTest, RidingAndTheCharaBelowLookFivePixelsDown) {
    cCharaComputer rider = Walker(1, 400, 400, 415, 423);
    EXPECT_EQ(FindCharaBelow(rider), nullptr) << "no block charas";
    Block(5, 380, 429, 440, 440);  // its top 6 px below the bottom: out of reach
    cCharaComputer& below = Block(6, 380, 428, 440, 440);
    cCharaComputer& second = Block(7, 380, 424, 440, 440);
    EXPECT_EQ(FindCharaBelow(rider), &below) << "the first in list order";
    below.m_bDead = 1;
    EXPECT_EQ(FindCharaBelow(rider), &second);
    second.m_bActing = 0;
    EXPECT_EQ(FindCharaBelow(rider), nullptr);

    below.m_bDead = 0;
    rider.m_nRiddenKey = 6;
    EXPECT_EQ(IsRidingBlockChara(rider), 1);
    rider.m_nRiddenKey = 5;
    EXPECT_EQ(IsRidingBlockChara(rider), 0) << "the ridden one is out of reach";
    rider.m_nRiddenKey = 9;
    EXPECT_EQ(IsRidingBlockChara(rider), 0);
}

TEST_F(ProbeTest, WedgedWhenEveryCornerLiesInABlockChara) {
    const double none[4] = {0, 0, 0, 0};
    cCharaComputer c = Walker(1, 100, 100, 131, 131);
    EXPECT_EQ(IsWedgedInBlockCharas(c, none), 0) << "no block charas";
    // Left half and right half; the right one ends at x 130.
    Block(5, 90, 90, 115, 140);
    Block(6, 116, 90, 130, 140);
    struct Case {
        int simpleWalls, wedged;
    };
    // Without simple walls the right corners are right - 1 = 130: inside.
    for (const Case k : {Case{0, 1}, Case{1, 0}}) {
        g_SystemData.OptSimpleWalls = k.simpleWalls;
        EXPECT_EQ(IsWedgedInBlockCharas(c, none), k.wedged) << k.simpleWalls;
    }
    // The given box may supply a corner the chara's own box misses.
    g_SystemData.OptSimpleWalls = 1;
    const double box[4] = {100, 100, 125, 131};
    EXPECT_EQ(IsWedgedInBlockCharas(c, box), 1);
    c.m_bFlying = 1;
    c.m_nWallMode = 0;
    EXPECT_EQ(IsWedgedInBlockCharas(c, box), 0) << "a flyer passing through blocks";
}

TEST_F(ProbeTest, OverlapsOtherBlockCharasAndBlocksSummons) {
    cCharaComputer& self = Block(3, 400, 400, 431, 431);
    EXPECT_EQ(OverlapsBlockChara(self), 0) << "its own key";
    cCharaComputer c = Walker(1, 431, 431, 446, 454);  // touches a corner
    EXPECT_EQ(OverlapsBlockChara(c), 1);
    EXPECT_EQ(m_scene.IsBlockedAt(c), 1);
    c.m_bFlying = 1;
    c.m_nWallMode = 0;
    EXPECT_EQ(OverlapsBlockChara(c), 0);
    EXPECT_EQ(m_scene.IsBlockedAt(c), 0);
    c.m_bFlying = 0;
    self.m_Def.m_bBlockChara = 0;
    EXPECT_EQ(OverlapsBlockChara(c), 0) << "not a block chara";
}

}  // namespace
