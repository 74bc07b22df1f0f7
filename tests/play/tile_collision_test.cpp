// Charas against map cells on one map of solid, damage, spring, slow,
// conveyor and item blocks: the wall order, damage blocks for the hero and
// a computer chara, landing while rising, the air-time limit, the simple
// walls switch, foot-block effects and items, and the snap to the ground.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/flow_trigger.h"
#include "play/map_cell.h"
#include "play/tile_collision.h"
#include "records/common_palette.h"
#include "tests/support/item_cmd_trace.h"
#include "tests/support/sound_log.h"
#include "tests/support/stage_builder.h"
#include "tests/support/play_trace.h"

using namespace stagetest;

namespace {

std::vector<int> g_events;
void TraceEvent(cChara&, int trigger, cChara*, int) {
    g_events.push_back(trigger);
}
int g_given = 0;
int CountGift(cChara&, cEdFlowCmd&) {
    ++g_given;
    return 0;
}

class CollisionTest : public StageTest {
protected:
    std::unique_ptr<ItemCmdTrace> m_items;
    void SetUp() override {
        StageTest::SetUp();
        m_savedItems = g_CommonPalette.m_vecItemPalette;
        MakeMap();
        for (int c = 10; c < 50; ++c) Cell(c, 16);  // the floor
        g_events.clear();
        g_given = 0;
        testsupport::PlayTrace().trigger = TraceEvent;
        m_items = std::make_unique<ItemCmdTrace>(CountGift);
    }
    void TearDown() override {
        g_CommonPalette.m_vecItemPalette = m_savedItems;
        StageTest::TearDown();
    }
    soundlog::Scope m_sounds;
    cMapCell& Cell(int c, int r, int mode = 1) {
        cMapCell& cell = g_vMapCells.at(CellIndex(c, r));
        cell.m_nGraphic = 1;
        cell.m_nHitMode = static_cast<int8_t>(mode);
        return cell;
    }
    template <class T>
    static void Shape(T& c, double x, double y, int w, int h) {
        c.Init(c.m_nKey, c.m_nSide, 0, 1, 1, nullptr, 0, 0, 0, w, h, 32, 32, 0, 0, 0);
        c.m_Def.m_nSize = 1;
        c.m_dX = x;
        c.m_dY = y;
        c.UpdatePosX();
        c.UpdatePosY();
    }
    cCharaPlayer& Hero(double x, double y, int w = 16, int h = 24) {
        g_vPlayers.clear();
        g_vPlayers.resize(1);
        cCharaPlayer& p = g_vPlayers[0];
        p.m_nSide = 0;
        p.m_nHP = 10;  // an item given does not find it dead
        Shape(p, x, y, w, h);
        return p;
    }
    cCharaComputer m_computer;
    cCharaComputer& Computer(double x, double y, int w = 16, int h = 24) {
        m_computer = cCharaComputer();
        m_computer.m_nSide = 1;
        Shape(m_computer, x, y, w, h);
        return m_computer;
    }
    std::vector<cEdItem> m_savedItems;
};

TEST_F(CollisionTest, EdgeSamplesPreferTheHighestModeThenTheCentre) {
    // A chara of size 2: base 32 x 32, box 64 x 64; three samples per edge.
    cCharaComputer& ch = Computer(20 * 32, 13 * 32, 64, 64);
    ch.m_nBaseWidth = ch.m_nBaseHeight = 32;
    ch.m_Def.m_nSize = 2;
    const int bottom = 16 * 32;
    // Samples at 660, 691 and 722 (floor cells 20, 21, 22), all solid: the
    // one nearest the centre (691) wins.
    const int x1 = 20 * 32 + 20, x2 = x1 + 63;
    EXPECT_EQ(GetCellIndex(ch, x1, bottom, x2, bottom), CellIndex(21, 16));
    Cell(22, 16, 2);
    EXPECT_EQ(GetCellIndex(ch, x1, bottom, x2, bottom), CellIndex(22, 16));
    // An edge that is neither vertical nor horizontal has no cell.
    EXPECT_EQ(GetCellIndex(ch, x1, bottom, x2, bottom + 1), 0);
    // Vertical: the first sample of the highest mode, from the top.
    Cell(20, 13);
    Cell(20, 14);
    EXPECT_EQ(GetCellIndex(ch, 20 * 32, 13 * 32, 20 * 32, 13 * 32 + 63), CellIndex(20, 13));
    // Corners: the first of the highest, top-left, top-right, bottom-left, bottom-right.
    EXPECT_EQ(CellOfCorners(20, 13, 22, 16, 1), CellIndex(22, 16));
    EXPECT_EQ(CellOfCorners(20, 13, 21, 16, 1), CellIndex(20, 13));
}

TEST_F(CollisionTest, WallOrderFollowsTheSpeedAndTheFlyersWallMode) {
    // A 70-px chara reaching into walls at columns 19 and 21: the first wall
    // tested pushes it clear of the other.
    Cell(19, 14);
    Cell(21, 14);
    struct Case {
        const char* what;
        double speed;
        int flying, wallMode, result;
        std::vector<int> sides;  // 13 left wall, 14 right wall
    };
    const Case cases[] = {
        {"moving right", 1, 0, 0, 0, {14}},
        {"standing", 0, 0, 0, 0, {13}},
        {"moving left", -1, 0, 0, 0, {13}},
        {"flyer, wall mode 1, moving left", -1, 1, 1, 0, {14}},
        {"flyer passing through blocks", 1, 1, 0, 0, {}},
        {"flyer crushed by walls", 0, 1, 2, 2, {}},
    };
    for (const Case& c : cases) {
        cCharaComputer& ch = Computer(19 * 32 + 4, 14 * 32, 70, 20);
        ch.m_dSpeedX = c.speed;
        ch.m_bFlying = c.flying;
        ch.m_nWallMode = c.wallMode;
        g_events.clear();
        EXPECT_EQ(CollideWallsX(ch), c.result) << c.what;
        std::vector<int> sides;
        for (int e : g_events)
            if (e == 13 || e == 14) sides.push_back(e);
        EXPECT_EQ(sides, c.sides) << c.what;
    }
    // The crush resolution tests the left wall first whatever the speed.
    cCharaComputer& ch = Computer(19 * 32 + 4, 14 * 32, 70, 20);
    ch.m_dSpeedX = 1;
    g_events.clear();
    EXPECT_EQ(CollideBothX(ch), 0);
    EXPECT_EQ(g_events, (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(ch.m_nWallSide, 0);
    EXPECT_DOUBLE_EQ(ch.m_dX, 20 * 32);
}

TEST_F(CollisionTest, DamageBlocksKillTheHeroAndStopComputerCharas) {
    Cell(24, 14, 2);  // damage wall
    Cell(26, 15, 2);  // damage floor under column 26
    Cell(28, 13, 2);  // damage ceiling over column 28
    struct Case {
        const char* what;
        double x, y;
        int (*op)(cChara&);
    };
    const Case cases[] = {
        {"wall", 24 * 32 - 10, 14 * 32, HitWallRight},
        {"floor", 26 * 32 + 4, 15 * 32 - 10, HitFloor},
        {"ceiling", 28 * 32 + 4, 14 * 32 - 4, HitCeiling},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.op(Hero(c.x, c.y)), 2) << c.what;
        cCharaComputer& ch = Computer(c.x, c.y);
        EXPECT_EQ(c.op(ch), 0) << c.what;
        EXPECT_EQ(g_vMapCells.at(CellOfCorners(ch.m_nCellLeft, ch.m_nCellTop, ch.m_nCellRight, ch.m_nCellBottom, 1))
                      .m_nHitMode,
                  0)
            << c.what << ": pushed out of the block";
    }
    // A damage wall stops a computer chara at the cell's edge.
    cCharaComputer& ch = Computer(24 * 32 - 10, 14 * 32);
    HitWallRight(ch);
    EXPECT_DOUBLE_EQ(ch.m_dRight, 24 * 32 - 1);
}

TEST_F(CollisionTest, RisingCharasLandOnlyWithTheOption) {
    Cell(20, 13);  // a ceiling over the chara's head
    for (int option : {0, 1}) {
        g_SystemData.OptLandWhileRising = option;
        // Bottom 4 px into the floor, top in the ceiling's cell.
        cCharaComputer& ch = Computer(20 * 32 + 4, 13 * 32 + 4, 16, 3 * 32);
        ch.m_dSpeedY = -2;
        EXPECT_EQ(HitFloor(ch), 0);
        EXPECT_EQ(ch.m_abContact[CONTACT_BOTTOM], option) << option;
        EXPECT_DOUBLE_EQ(ch.m_dBottom, option ? 16 * 32 - 1 : 16 * 32 + 3) << option;

        // The crush resolution gives up at once on a rising chara: no ceiling.
        cCharaComputer& both = Computer(20 * 32 + 4, 13 * 32 + 4, 16, 3 * 32);
        both.m_dSpeedY = -2;
        EXPECT_EQ(CollideBothY(both), 0);
        EXPECT_EQ(both.m_abContact[CONTACT_TOP], option) << option;
    }
    // A flyer lands whatever its speed.
    g_SystemData.OptLandWhileRising = 0;
    cCharaComputer& flyer = Computer(20 * 32 + 4, 15 * 32 + 20, 16, 20);
    flyer.m_bFlying = 1;
    flyer.m_nWallMode = 1;
    flyer.m_dSpeedY = -2;
    HitFloor(flyer);
    EXPECT_EQ(flyer.m_abContact[CONTACT_BOTTOM], 1);
}

TEST_F(CollisionTest, AirTimeLimitStopsTheHerosJump) {
    SetSubSteps(2);
    const int limit = 8 * 2;
    struct Case {
        const char* what;
        bool hero, riding;
        int blocked;
    };
    for (const Case c : {Case{"hero", true, false, 1}, Case{"riding hero", true, true, 0},
                         Case{"computer", false, false, 0}}) {
        cChara& ch = c.hero ? static_cast<cChara&>(Hero(30 * 32, 13 * 32)) : Computer(30 * 32, 13 * 32);
        ch.m_bOnBlockChara = c.riding;
        for (int i = 1; i < limit; ++i) HitFloor(ch);
        EXPECT_EQ(ch.m_bAirborne, 0) << c.what;
        EXPECT_EQ(ch.m_bJumpBlocked, 0) << c.what;
        HitFloor(ch);
        EXPECT_EQ(ch.m_bAirborne, 1) << c.what;
        EXPECT_EQ(ch.m_bJumpBlocked, c.blocked) << c.what;
        EXPECT_EQ(ch.m_nFootBlock, 0) << c.what;
    }
}

TEST_F(CollisionTest, SimpleWallsSwitchKeepsBothWallOffsets) {
    Cell(22, 14);
    for (int simple : {0, 1}) {
        g_SystemData.OptSimpleWalls = simple;
        cCharaComputer& ch = Computer(22 * 32 - 11, 14 * 32);  // right edge 5 px into the wall
        HitWallRight(ch);
        // Without the switch: back to the boundary, then 0.1-px steps out.
        EXPECT_NEAR(ch.m_dRight, simple ? 22 * 32 - 1 : 22 * 32 - 0.1, 1e-9) << simple;
    }
    g_SystemData.OptSimpleWalls = 0;
    Cell(18, 14);
    cCharaComputer& ch = Computer(19 * 32 - 5, 14 * 32);  // left edge 5 px into the wall
    HitWallLeft(ch);
    EXPECT_DOUBLE_EQ(ch.m_dX, 19 * 32);
    EXPECT_EQ(ch.m_nWallSide, 0);
}

// A spring's jump shuts out the jump key until the hero lands again: on the
// ground as on a block chara. A landing of the other side leaves it.
TEST_F(CollisionTest, ASpringsJumpEndsWithTheHerosLanding) {
    cCharaPlayer& hero = Hero(30 * 32 + 8, 15 * 32 + 10);
    hero.m_bFootBlockJump = 1;
    Computer(20 * 32, 15 * 32 + 10).LandOnBlock();
    EXPECT_EQ(hero.m_bFootBlockJump, 1);
    hero.LandOnBlock();
    EXPECT_EQ(hero.m_bFootBlockJump, 0);
}

TEST_F(CollisionTest, FootBlocksSpringSlowAndConveyors) {
    SetSubSteps(4);
    Cell(30, 16).m_nFootEffect = cEdBlock::FOOT_JUMP;
    g_vMapCells.at(CellIndex(30, 16)).m_nFootValue = 4;
    Cell(32, 16).m_nFootEffect = cEdBlock::FOOT_SPEED;
    g_vMapCells.at(CellIndex(32, 16)).m_nFootValue = 50;
    Cell(34, 16).m_nFootEffect = cEdBlock::FOOT_LEFT;
    g_vMapCells.at(CellIndex(34, 16)).m_nFootValue = 10;
    Cell(36, 16).m_nFootEffect = cEdBlock::FOOT_RIGHT;
    g_vMapCells.at(CellIndex(36, 16)).m_nFootValue = 10;

    cCharaPlayer& spring = Hero(30 * 32 + 8, 15 * 32 + 8);
    spring.m_nFootBlock = static_cast<int32_t>(CellIndex(30, 16));
    spring.m_bJumpBlocked = 1;
    EXPECT_EQ(ApplyFootBlock(spring), PlayResult::Continue);
    EXPECT_EQ(soundlog::Played(), (std::vector<int>{11}));
    EXPECT_DOUBLE_EQ(spring.m_dSpeedY, spring.JumpSpeed(4 * 16));
    EXPECT_LT(spring.m_dSpeedY, 0);
    EXPECT_EQ(spring.m_bJumpBlocked, 0);
    EXPECT_EQ(spring.m_bFootBlockJump, 1);

    struct Case {
        const char* what;
        int col;
        double speed, impact, speedAfter, impactAfter;
    };
    // Conveyors of value 10 move by 1 / 4 px in every one of 4 sub-steps.
    const Case cases[] = {
        {"slow", 32, 2.0, 0.0, 1.0, 0.0},
        {"conveyor left", 34, 0.0, 1.5, -0.25, 0.0},
        {"conveyor right", 36, 0.0, -1.5, 0.25, 0.0},
        {"conveyor right keeps a push its way", 36, 0.0, 1.5, 0.25, 1.5},
    };
    for (const Case& c : cases) {
        cCharaPlayer& h = Hero(c.col * 32 + 8, 15 * 32 + 8);
        h.m_nFootBlock = static_cast<int32_t>(CellIndex(c.col, 16));
        h.m_nFootTimer = 0;
        for (int step = 0; step < 6; ++step) {
            h.m_dSpeedX = c.speed;
            h.m_dImpactX = c.impact;
            EXPECT_EQ(ApplyFootBlock(h), PlayResult::Continue);
            EXPECT_DOUBLE_EQ(h.m_dSpeedX, c.speedAfter) << c.what << " sub-step " << step;
            EXPECT_DOUBLE_EQ(h.m_dImpactX, c.impactAfter) << c.what << " sub-step " << step;
        }
    }
    cCharaPlayer& flyer = Hero(34 * 32 + 8, 15 * 32 + 8);
    flyer.m_nFootBlock = static_cast<int32_t>(CellIndex(34, 16));
    flyer.m_nFootTimer = 0;
    flyer.m_bFlying = 1;
    flyer.m_dSpeedX = 0;
    ApplyFootBlock(flyer);
    EXPECT_EQ(flyer.m_dSpeedX, 0.0);
}

TEST_F(CollisionTest, FootBlockItemOnceASecond) {
    SetSubSteps(2);
    cEdItem gift;
    gift.m_nGraphic = 3;
    gift.m_vecCmd = {cEdFlowCmd()};  // counted as it runs
    g_CommonPalette.m_vecItemPalette = {cEdItem(), gift};
    cMapCell& cell = Cell(38, 16);
    cell.m_nItemSource = PAL_COMMON;
    cell.m_nItemIndex = 1;
    cCharaPlayer& h = Hero(38 * 32 + 8, 15 * 32 + 8);
    h.m_nFootBlock = h.m_nLastFootBlock = h.m_nPrevFootBlock = static_cast<int32_t>(CellIndex(38, 16));
    for (int i = 0; i < 2 * 60 * 2; ++i) EXPECT_EQ(TakeFootBlockItem(h), PlayResult::Continue);
    EXPECT_EQ(g_given, 2);
    // Leaving the ground clears the wait: the next landing gives at once.
    h.m_bAirborne = 1;
    TakeFootBlockItem(h);
    h.m_bAirborne = 0;
    TakeFootBlockItem(h);
    EXPECT_EQ(g_given, 4);
}

TEST_F(CollisionTest, SnapToGroundDividesAsReals) {
    struct Case {
        int subSteps;
        double speed, after;
        int snapAlways;
    };
    const Case cases[] = {
        {2, 0.5, 3.5, 0},     // 1 / 2 is accepted, 7 / 2 set
        {2, 0.51, 0.51, 0},   // above 1 / 2
        {8, 0.0, 0.875, 0},   // 7 / 8
        {8, -0.1, -0.1, 0},   // rising
        {8, 0.0, 1.0, 1},     // the option adds 1
        {8, -0.1, -0.1, 1},
    };
    for (const Case& c : cases) {
        SetSubSteps(c.subSteps);
        g_SystemData.OptSnapAlways = c.snapAlways;
        cCharaComputer& ch = Computer(30 * 32 + 4, 16 * 32 - 26);  // bottom 2 px above the floor
        ch.m_dSpeedY = c.speed;
        SnapToGround(ch);
        EXPECT_DOUBLE_EQ(ch.m_dSpeedY, c.after) << c.subSteps << " " << c.speed << " " << c.snapAlways;
    }
    g_SystemData.OptSnapAlways = 0;
    cCharaComputer& air = Computer(30 * 32 + 4, 14 * 32);
    air.m_dSpeedY = 0;
    SnapToGround(air);
    EXPECT_EQ(air.m_dSpeedY, 0.0) << "nothing within 4 px below";
}

TEST_F(CollisionTest, KeepInViewPushesBackAndABottomPushKillsAWalker) {
    m_scene.m_ScrollY.m_bAutoOn = 1;
    m_scene.m_ScrollY.m_dPos = 320;
    m_scene.m_ScrollX.m_dPos = 320;
    cCharaComputer& walker = Computer(500, 320 + 470);
    EXPECT_EQ(KeepInViewY(walker), 2);
    EXPECT_EQ(walker.m_abContact[CONTACT_BOTTOM], 1);
    EXPECT_DOUBLE_EQ(walker.m_dY, 320 + 480 - 24 - 1);
    cCharaComputer& flyer = Computer(500, 320 + 470);
    flyer.m_bFlying = 1;
    EXPECT_EQ(KeepInViewY(flyer), 0);
    cCharaComputer& left = Computer(300, 400);
    left.m_bFlying = 1;
    KeepInViewX(left);
    EXPECT_DOUBLE_EQ(left.m_dX, 320);
    EXPECT_EQ(left.m_abContact[CONTACT_LEFT], 1);
}

}  // namespace
