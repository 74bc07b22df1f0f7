// The warp: from the chara, from a target, to coordinates of each kind and
// unit, the older forms of older data, the undo, the screen pin and the
// result words.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/move_commands.h"
#include "engine/warp.h"
#include "play/chara_draw.h"
#include "play/chara_effect_handlers.h"
#include "media/input/input_list.h"
#include "records/ed_move.h"
#include "tests/engine/command_world.h"

using namespace cmdtest;

namespace {

constexpr double kDiag = 32 * 0.7071067811865476;

class WarpTest : public CommandWorld {
protected:
    void SetUp() override {
        CommandWorld::SetUp();
        MakeMap();
        m_self = &Add(1, nullptr, 600, 500);
    }
    // A warp command: result reporting on, the movement part as given.
    static cEdFlowCmd Warp(const std::function<void(cEdMove&)>& set) {
        cEdFlowCmd c = Command(CMD_WARP, {{0, 1}});
        cEdMove& m = c.m_spMove.Create();
        m.m_nMoveMode = WARP_FROM_SELF;
        set(m);
        return c;
    }
    static void Coords(cEdMove& m, int kind, int unit, int x, int xDot, int y, int yDot, int anchor = 0) {
        m.m_nMoveMode = WARP_TO_COORDS;
        m.m_nCoordMode = static_cast<int8_t>(kind);
        m.m_nTargetUnit = static_cast<int8_t>(unit);
        m.m_nTargetX = static_cast<int16_t>(x);
        m.m_nTargetXDot = static_cast<int16_t>(xDot);
        m.m_nTargetY = static_cast<int16_t>(y);
        m.m_nTargetYDot = static_cast<int16_t>(yDot);
        m.m_nAnchor = static_cast<int8_t>(anchor);
        m.m_bMirrorTargetX = m.m_bMirrorTargetY = 0;
    }
    cTestChara* m_self = nullptr;
};

TEST_F(WarpTest, FromTheCharaByDirectionAndDistance) {
    // The input direction is read from what input record 0 holds now.
    const cCheckedVector<cInput> savedInput = g_InputList;
    g_InputList.assign(1, cInput());
    constexpr int kUpLeft = INPUT_UP | INPUT_LEFT;
    struct Case {
        const char* name;
        int direction, distance, facing, flying, compat721, held;
        double dx, dy;
    };
    const Case cases[] = {
        {"2 units right are 32 dots", 3, 2, 0, 0, 0, 0, 32, 0},
        {"forward facing left", 0, 2, 0, 0, 0, 0, -32, 0},
        {"backward-Y facing right", 5, 2, 1, 0, 0, 0, 0, -32},
        {"down-right", 11, 2, 0, 0, 0, 0, kDiag, kDiag},
        {"input up-left, walking: kept", 12, 2, 0, 0, 0, kUpLeft, -kDiag, -kDiag},
        {"input up-left, walking, old data: left only", 12, 2, 0, 0, 1, kUpLeft, -32, 0},
        {"input up-left, flying, old data: kept", 12, 2, 0, 1, 1, kUpLeft, -kDiag, -kDiag},
        {"explicit diagonal, walking, old data: kept", 8, 2, 0, 0, 1, 0, -kDiag, -kDiag},
        {"no input: forward", 12, 2, 1, 0, 0, 0, 32, 0},
        {"input right, facing left", 12, 2, 0, 0, 0, INPUT_RIGHT, 32, 0},
        {"input down", 12, 2, 0, 0, 0, INPUT_DOWN, 0, 32},
    };
    for (const Case& k : cases) {
        charatest::PlaceOnScreen(*m_self, 600, 500, 32, 32);
        m_self->m_nFacing = k.facing;
        m_self->m_bFlying = k.flying;
        g_SystemData.m_bCompat721 = k.compat721;
        g_InputList.at(0).m_sDir = static_cast<int16_t>(k.held);
        g_InputList.at(0).RecordKeyHistory();
        const cEdFlowCmd cmd = Warp([&](cEdMove& m) {
            m.m_nDirection = static_cast<int8_t>(k.direction);
            m.m_nDistance = static_cast<int16_t>(k.distance);
        });
        EXPECT_TRUE(DoWarp(*m_self, cmd, 0)) << k.name;
        EXPECT_NEAR(m_self->m_dX - 600, k.dx, 1e-9) << k.name;
        EXPECT_NEAR(m_self->m_dY - 500, k.dy, 1e-9) << k.name;
    }
    // The distance step counts per clone.
    charatest::PlaceOnScreen(*m_self, 600, 500, 32, 32);
    m_self->m_nClone = 3;
    EXPECT_TRUE(DoWarp(*m_self, Warp([](cEdMove& m) {
                           m.m_nDirection = 3;
                           m.m_nDistance = 1;
                           m.m_nDistanceStep = 2;
                       }),
                       0));
    EXPECT_EQ(m_self->m_dX, 600 + 7 * 16);
    g_InputList = savedInput;
}

// Bases 1..4 are target slots 1..4: the chara lands by the target's box
// centre, turned by the target's facing.
TEST_F(WarpTest, FromATarget) {
    cTestChara* targets[4];
    for (int i = 0; i < 4; ++i) {
        targets[i] = &Add(2, nullptr, 400 + 200 * i, 400);
        m_self->SetTargetSlot(i, targets[i], 1);
    }
    targets[2]->m_nFacing = 1;
    for (int base = 1; base <= 4; ++base) {
        charatest::PlaceOnScreen(*m_self, 600, 500, 32, 32);
        const cEdFlowCmd cmd = Warp([&](cEdMove& m) {
            m.m_nMoveMode = static_cast<int8_t>(base);
            m.m_nDirection = 0;  // forward, by the target's facing
            m.m_nDistance = 2;
        });
        EXPECT_TRUE(DoWarp(*m_self, cmd, 0)) << base;
        const double forward = base == 3 ? 32 : -32;
        EXPECT_EQ(m_self->m_dX, targets[base - 1]->m_dX + forward) << base;
        EXPECT_EQ(m_self->m_dY, 400) << base;
    }
    m_self->SetTargetSlot(1, nullptr, 1);
    charatest::PlaceOnScreen(*m_self, 600, 500, 32, 32);
    EXPECT_FALSE(DoWarp(*m_self, Warp([](cEdMove& m) { m.m_nMoveMode = 2; }), 0));
    EXPECT_EQ(m_self->m_dX, 600);
}

TEST_F(WarpTest, ToCoordinates) {
    struct Case {
        const char* name;
        int kind, unit, x, xDot, y, yDot, anchor, facing, mirrorX, mirrorY;
        int compat822, compat894, compat895, fromStatus;
        double left, top;  // m_dX, m_dY afterwards
    };
    // The stage begins at 320 on both axes; the view is at (400, 320).
    const Case cases[] = {
        {"relative dots", 0, 1, 10, 0, -5, 0, 0, 0, 1, 1, 0, 0, 0, 0, 610, 495},
        {"relative, facing right, mirrored x", 0, 1, 10, 0, -5, 0, 0, 1, 1, 0, 0, 0, 0, 0, 590, 495},
        {"relative, facing right, mirrored y", 0, 0, 1, 2, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 634, 468},
        {"absolute cells, centre", 1, 0, 3, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 416.5, 384.5},
        {"absolute cells, bottom", 1, 0, 3, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 416.5, 384.5},
        {"absolute cells and dots", 1, 0, 3, 4, 2, 8, 0, 0, 0, 0, 0, 0, 0, 0, 420.5, 392.5},
        {"absolute dots, centre", 1, 1, 100, 0, 80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 404.5, 384.5},
        {"absolute dots, bottom", 1, 1, 100, 0, 80, 0, 1, 0, 0, 0, 0, 0, 0, 0, 404.5, 384.5},
        {"absolute, walking by movement: bottom", 1, 1, 100, 0, 80, 0, 2, 0, 0, 0, 0, 0, 0, 0, 404.5, 384.5},
        {"absolute, older form", 1, 1, 3, 5, 2, 7, 1, 0, 0, 0, 1, 0, 0, 0, 421.5, 391},
        {"absolute, 895 from status: older form", 1, 1, 3, 5, 2, 7, 1, 0, 0, 0, 0, 0, 1, 1, 421.5, 391},
        {"absolute, 895 from the command: new form", 1, 1, 100, 0, 80, 0, 0, 0, 0, 0, 0, 0, 1, 0, 404.5, 384.5},
        {"screen dots, centre", 2, 1, 64, 0, 96, 0, 0, 0, 0, 0, 0, 0, 0, 0, 448.5, 400.5},
        {"screen dots, bottom", 2, 1, 64, 0, 96, 0, 1, 0, 0, 0, 0, 0, 0, 0, 448.5, 400.5},
        {"screen dots, bottom, 894", 2, 1, 64, 0, 96, 0, 1, 0, 0, 0, 0, 1, 0, 0, 448.5, 416.5},
        {"screen cells, centre", 2, 0, 2, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 464.5, 416.5},
        {"screen, older form: top-left on the point", 2, 1, 64, 0, 96, 0, 1, 0, 0, 0, 1, 0, 0, 0, 464, 416},
    };
    m_scene.m_ScrollX.m_dPos = 400;
    m_scene.m_ScrollY.m_dPos = 320;
    for (const Case& k : cases) {
        charatest::PlaceOnScreen(*m_self, 600, 500, 32, 32);
        m_self->m_nFacing = k.facing;
        g_SystemData.m_bCompat822 = k.compat822;
        g_SystemData.m_bCompat894 = k.compat894;
        g_SystemData.m_bCompat895 = k.compat895;
        const cEdFlowCmd cmd = Warp([&](cEdMove& m) {
            Coords(m, k.kind, k.unit, k.x, k.xDot, k.y, k.yDot, k.anchor);
            m.m_bMirrorTargetX = static_cast<int8_t>(k.mirrorX);
            m.m_bMirrorTargetY = static_cast<int8_t>(k.mirrorY);
        });
        EXPECT_TRUE(DoWarp(*m_self, cmd, k.fromStatus)) << k.name;
        EXPECT_DOUBLE_EQ(m_self->m_dX, k.left) << k.name;
        EXPECT_DOUBLE_EQ(m_self->m_dY, k.top) << k.name;
        // Only a screen warp pins the chara where it landed.
        EXPECT_EQ(m_self->m_Draw.abFixed[0] + m_self->m_Draw.abFixed[1], k.kind == 2 ? 2 : 0) << k.name;
        if (k.kind == 2) {
            EXPECT_EQ(m_self->m_Draw.anFixedPos[0], m_self->m_nScrLeft);
            EXPECT_EQ(m_self->m_Draw.anFixedPos[1], m_self->m_nScrTop);
        }
    }
}

// With older data the screen box's corner lands on the point whatever the
// anchor; otherwise a centre anchor puts the box's centre there.
TEST_F(WarpTest, ScreenPointCornerOrCentre) {
    m_scene.m_ScrollX.m_dPos = 400;
    m_scene.m_ScrollY.m_dPos = 320;
    for (int compat : {1, 0}) {
        g_SystemData.m_bCompat822 = compat;
        charatest::PlaceOnScreen(*m_self, 600, 500, 32, 32);
        ASSERT_TRUE(DoWarp(*m_self, Warp([](cEdMove& m) { Coords(m, 2, 1, 64, 0, 96, 0, 0); }), 0));
        EXPECT_EQ(m_self->m_nScrLeft, compat ? 64 : 48);
        EXPECT_EQ(m_self->m_nScrTop, compat ? 96 : 80);
    }
}

// Where the chara's cell is drawn, by the plain blit.
int g_drawnLeft = 0;
void NoteLeft(DDSURFACEDATA*, int x, int, int, int, DDSURFACEDATA*, int, int, int) { g_drawnLeft = x; }

// A warp to screen coordinates pins the chara where it landed while the
// view scrolls; a move releases it, and it is drawn where it has moved to.
TEST_F(WarpTest, MovedAfterAScreenWarpIsDrawnWhereItIs) {
    m_scene.m_ScrollX.m_dPos = 400;
    m_scene.m_ScrollY.m_dPos = 320;
    charatest::PlaceOnScreen(*m_self, 600, 500, 32, 32);
    ASSERT_TRUE(DoWarp(*m_self, Warp([](cEdMove& m) { Coords(m, 2, 1, 64, 0, 96, 0, 0); }), 0));
    const int pinned = m_self->m_nScrLeft;
    CharaBlits().blt = NoteLeft;
    m_scene.m_ScrollX.m_dPos = 380;
    DrawCharaSprite(*m_self, &g_BackBuffer, 1);
    EXPECT_EQ(g_drawnLeft, pinned) << "held on the screen while the view scrolls";

    cEdFlowCmd move = Command(CMD_MOVE_STRAIGHT, {});
    move.m_spMove.Create().m_nDirection = DIR_RIGHT;
    cFlowCmd inst;
    inst.m_lpDef = &move;
    inst.m_dSpeed = 4;
    ExecMoveStraight(*m_self, inst);
    EXPECT_EQ(m_self->m_Draw.abFixed[0] + m_self->m_Draw.abFixed[1], 0);
    // The play step moves it.
    m_self->m_dX += 40;
    m_self->AfterMoveX();
    m_self->UpdateScreenRect();
    const int moved = m_self->m_nScrLeft;
    DrawCharaSprite(*m_self, &g_BackBuffer, 1);
    CharaBlits() = DefaultCharaBlits();
    EXPECT_EQ(g_drawnLeft, moved);
    EXPECT_NE(moved, pinned);
}

TEST_F(WarpTest, RefusedWarpsAreUndone) {
    // A solid cell two units to the right; the stage's right edge further on.
    MakeMap({{19, 15}});
    struct Case {
        const char* name;
        std::function<void(cEdMove&)> set;
        bool hasMove;
    };
    const Case cases[] = {
        {"into a wall", [](cEdMove& m) { m.m_nDirection = 3, m.m_nDistance = 2; }, true},
        {"out of the stage", [](cEdMove& m) { m.m_nDirection = 2, m.m_nDistance = 40; }, true},
        {"no movement part", nullptr, false},
    };
    for (const Case& k : cases) {
        charatest::PlaceOnScreen(*m_self, 576, 480, 32, 32);
        m_self->m_dSpeedY = 3;
        m_self->m_Draw.abFixed[0] = 1;
        cEdFlowCmd cmd = k.hasMove ? Warp(k.set) : Command(CMD_WARP, {{0, 1}});
        cFlowCmd inst;
        inst.m_lpDef = &cmd;
        m_vars[1] = 7;
        ExecWarp(*m_self, inst);
        EXPECT_EQ(m_vars[0], 2) << k.name;
        EXPECT_EQ(m_vars[1], 7) << k.name;
        EXPECT_EQ(m_self->m_dX, 576) << k.name;
        EXPECT_EQ(m_self->m_dRight, 576 + 31) << k.name;
        EXPECT_EQ(m_self->m_nCellRight, 18) << k.name;
        EXPECT_EQ(m_self->m_dSpeedY, 3) << k.name;
    }
    // Free to the left: done; a walker's vertical displacement goes, the pin
    // too; the version-980 switch zeroes word 1.
    g_SystemData.m_bCompat981 = 1;
    cEdFlowCmd cmd = Warp([](cEdMove& m) { m.m_nDirection = 2, m.m_nDistance = 2; });
    cFlowCmd inst;
    inst.m_lpDef = &cmd;
    m_vars[1] = 7;
    ExecWarp(*m_self, inst);
    EXPECT_EQ(m_self->m_dX, 576 - 32);
    EXPECT_EQ(m_vars[0], 1);
    EXPECT_EQ(m_vars[1], 0);
    EXPECT_EQ(m_self->m_dSpeedY, 0);
    EXPECT_EQ(m_self->m_Draw.abFixed[0], 0);
    m_self->m_bFlying = 1;
    m_self->m_dSpeedY = 3;
    ExecWarp(*m_self, inst);
    EXPECT_EQ(m_self->m_dSpeedY, 3);
}

}  // namespace
