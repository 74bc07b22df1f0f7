// Items: initialisation (multiplier, temporary items, the fixed track, loop
// expansion), placing on a cell, the base kept through a size change and
// the overlay icon's place in its sheet.
#include "play/item.h"

#include "tests/support/chara_fixture.h"

using namespace charatest;

namespace {

class ItemTest : public CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        g_Stage.m_anBoxSetting[38] = 20;
        g_Stage.m_anBoxSetting[39] = 16;
    }
    static cEdItem Def(int size) {
        cEdItem d;
        d.m_nSize = static_cast<int8_t>(size);
        d.m_nGraphic = 5;
        d.m_nGraphicCell = 3;
        return d;
    }
};

TEST_F(ItemTest, InitMultiplierTemporaryAndTrack) {
    struct Case {
        int size, temporary;
        int width, height, acting, size1;
    } cases[] = {
        {0, 0, 20, 16, 0, 1},  // multiplier 0 is 1
        {1, 0, 20, 16, 0, 1},
        {2, 0, 40, 32, 0, 2},
        {2, 1, 20, 16, 1, 2},  // a temporary item acts at once and keeps its size
    };
    for (const Case& k : cases) {
        cItem it;
        it.InitItem(9, Def(k.size), k.temporary);
        EXPECT_EQ(it.m_Def.m_nSize, k.size1) << k.size;
        EXPECT_EQ(it.m_nWidth, k.width) << k.size;
        EXPECT_EQ(it.m_nHeight, k.height) << k.size;
        EXPECT_EQ(it.m_bActing, k.acting) << k.size;
        EXPECT_EQ(it.m_bTemporary, k.temporary);
        EXPECT_EQ(it.m_nBaseDrawOffsetX, 6);
        EXPECT_EQ(it.m_nBaseDrawOffsetY, 8);
        EXPECT_EQ(it.m_nBaseDrawWidth, 32);
        EXPECT_EQ(it.m_bFlying, 1);
        EXPECT_EQ(it.m_nWallMode, 0);
        EXPECT_EQ(it.m_nKey, 9);
        EXPECT_EQ(it.m_nGraphic, 3);
    }
    // Picture 0 for 15 ticks, picture 1 for 15, then from the start.
    cItem it;
    it.InitItem(1, Def(1), 0);
    std::vector<int> frames;
    for (int i = 0; i < 31; ++i) frames.push_back(it.m_Anime.AdvanceFrame());
    EXPECT_EQ(frames[13], 0);
    EXPECT_EQ(frames[14], 1);
    EXPECT_EQ(frames[28], 1);
    EXPECT_EQ(frames[29], 0);
    EXPECT_EQ(it.m_Anime.m_nStep, 0);
}

TEST_F(ItemTest, CommandLoopsExpanded) {
    cEdItem d = Def(1);
    d.m_vecCmd = {Loop(2, 1), Wait(4), Wait(5)};
    cItem it;
    it.InitItem(1, d, 1);
    EXPECT_EQ(Times(it.m_Def.m_vecCmd), (std::vector<int>{4, 4, 5}));
    EXPECT_EQ(d.m_vecCmd.size(), 3u);  // the source keeps its loop
}

TEST_F(ItemTest, TemporaryItemOutsideTheView) {
    cItem it;
    it.InitItem(1, Def(3), 1);
    it.PlaceItemAtCell(35, 12, 1);  // far to the right of the 640 x 480 view
    it.UpdateScreenRect();
    EXPECT_FALSE(it.IsOnScreen());
    EXPECT_EQ(it.m_bActing, 1);
}

TEST_F(ItemTest, PlaceAndKeepBase) {
    // Cells count from the first cell after the 10-cell border.
    cItem one;
    one.InitItem(1, Def(1), 0);
    one.PlaceItemAtCell(3, 4, 1);
    EXPECT_DOUBLE_EQ(one.m_dX, 13 * 32 + 6 + 0.5);
    EXPECT_DOUBLE_EQ(one.m_dY, 14 * 32 + 8);
    EXPECT_DOUBLE_EQ(one.m_dRight, one.m_dX + 19);
    EXPECT_EQ(one.m_nCellLeft, 13);
    // Double size: centred on the cell horizontally, standing on its base.
    cItem two;
    two.InitItem(1, Def(2), 0);
    two.PlaceItemAtCell(3, 4, 1);
    EXPECT_DOUBLE_EQ(two.m_dX, 13 * 32 + 6 + 0.5 - 10);
    EXPECT_DOUBLE_EQ(two.m_dY, 14 * 32 + 8 - (16 + 8));
    EXPECT_DOUBLE_EQ(two.m_dBottom, two.m_dY + 31);
    // Growing from 1 to 3 lifts the top by twice the base height and offset;
    // the stage's top edge stops it.
    cItem k;
    k.InitItem(1, Def(1), 0);
    k.m_dY = 500;
    k.KeepBaseOnScale(3, 1, 0);
    EXPECT_DOUBLE_EQ(k.m_dY, 500 - 2 * 24);
    k.m_dY = 10;
    k.KeepBaseOnScale(3, 1, 0);
    EXPECT_DOUBLE_EQ(k.m_dY, 0);
}

TEST(ItemOverlay, IconSource) {
    const int cases[][3] = {{0, 0, 0}, {14, 0, 448}, {15, 32, 0}, {16, 32, 32}, {31, 64, 32}};
    for (const auto& c : cases) {
        int sx = -1, sy = -1;
        cItem::OverlayIconSource(c[0], sx, sy);
        EXPECT_EQ(sx, c[1]) << c[0];
        EXPECT_EQ(sy, c[2]) << c[0];
    }
}

}  // namespace
