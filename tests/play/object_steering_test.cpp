// Object motion: impact speeds, waves, steering (straight, diagonal, leading
// a scrolling target), range intervals, and the comparison operators.
#include "play/object_steering.h"

#include <climits>
#include <cmath>

#include "engine/compare_op.h"
#include "engine/flow.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "play/numeric.h"
#include "tests/support/chara_fixture.h"

using charatest::cTestChara;
using charatest::PlaceOnScreen;

namespace {

class SteeringTest : public charatest::CharaTest {
protected:
    void SetSubSteps(int n) {
        g_Stage.m_nSubSteps = n;
        g_Stage.m_dSubSteps = n;
        g_Stage.m_dSubSteps2 = double(n) * n;
    }
    void Scroll(double q, double o) {
        m_scene.m_ScrollX.m_dSpeed = q;
        m_scene.m_ScrollY.m_dSpeed = o;
        m_scene.m_ScrollX.m_bAtEdge = m_scene.m_ScrollY.m_bAtEdge = 0;
    }
};

TEST_F(SteeringTest, ImpactVelocitySplitsAndCarriesSixteenDotsPerUnit) {
    SetSubSteps(1);
    double vx = 9, vy = 9, prev = 5;
    ImpactVelocity(vx, vy, 2, 1, 0, prev);
    EXPECT_DOUBLE_EQ(vx, (std::sqrt(257.0) - 1) / 2);
    EXPECT_EQ(vy, 0.0);
    EXPECT_EQ(prev, 0.0);
    // Impact 0 touches nothing; a zero direction stops; the option keeps y.
    vx = vy = 3;
    ImpactVelocity(vx, vy, 0, 1, 0, prev);
    EXPECT_EQ(vx, 3.0);
    ImpactVelocity(vx, vy, 2, 0, 0, prev);
    EXPECT_EQ(vx, 0.0);
    EXPECT_EQ(vy, 0.0);
    g_SystemData.OptImpactYKeepPrevious = 1;
    prev = 5;
    ImpactVelocity(vx, vy, -1, 1, -1, prev);
    EXPECT_EQ(prev, 5.0);
    EXPECT_LT(vx, 0.0);
    EXPECT_GT(vy, 0.0);
    EXPECT_DOUBLE_EQ(vx, -vy);
    // Added to x directly and decayed by 1 / F each sub-step, the speed
    // travels 16 dots per unit of impact.
    for (int f : {1, 2, 4}) {
        SetSubSteps(f);
        ImpactVelocity(vx, vy, 2, 1, 0, prev);
        double x = 0;
        for (double v = vx; v > 0; v -= 1.0 / f) x += v;
        EXPECT_NEAR(x, 32.0, 1.0 / f) << f;
    }
}

TEST_F(SteeringTest, WaveStepsTheAngleAndWraps) {
    SetSubSteps(2);
    double angle = 700;
    const double k = 90 * 3.141592653589793 / 180;
    EXPECT_DOUBLE_EQ(WaveVelocity(4, 90, angle, 30, 0.5), k * std::cos(k * (700 / 2.0 + 0.5)) * 4 / 2);
    EXPECT_DOUBLE_EQ(angle, 10);  // 730 wraps by 720
    angle = 100;
    EXPECT_DOUBLE_EQ(WaveAcceleration(4, 90, angle, 20, 0), -k * std::sin(k * 50) * (k / 2) * 4 / 2);
    EXPECT_DOUBLE_EQ(angle, 120);
}

TEST_F(SteeringTest, StraightSteeringAndArrival) {
    double vx, vy;
    int dir = 7;
    EXPECT_EQ(ComputeSteering(vx, vy, dir, nullptr, 0, 0, 30, 40, 5, 0, 1, 1), 0);
    EXPECT_DOUBLE_EQ(vx, 3);
    EXPECT_DOUBLE_EQ(vy, 4);
    EXPECT_EQ(dir, 2);
    EXPECT_EQ(ComputeSteering(vx, vy, dir, nullptr, 10, 10, 7, 13, 3, 0, 1, 1), 1);
    EXPECT_EQ(dir, 1);
    EXPECT_EQ(ComputeSteering(vx, vy, dir, nullptr, 10, 10, 10, 10, 3, 0, 0, 1), 1);  // d = 0 counts as 1
    EXPECT_EQ(vx, 0.0);
    EXPECT_EQ(dir, 0);
}

TEST_F(SteeringTest, DiagonalFlightMovesAwayAndReportsNoArrival) {
    double vx, vy;
    int dir = 0;
    EXPECT_EQ(ComputeSteering(vx, vy, dir, nullptr, 0, 0, 1, 1, -4, 0, 0, 1), 0);
    EXPECT_DOUBLE_EQ(vx, -4 * kSqrtHalf);
    EXPECT_DOUBLE_EQ(vy, -4 * kSqrtHalf);
    EXPECT_EQ(dir, 1);
    // The point left and above: away is right and down.
    ComputeSteering(vx, vy, dir, nullptr, 0, 0, -1, -1, -4, 0, 0, 1);
    EXPECT_DOUBLE_EQ(vx, 4 * kSqrtHalf);
    EXPECT_DOUBLE_EQ(vy, 4 * kSqrtHalf);
    EXPECT_EQ(dir, 2);
    // A target that does not ride the scroll, with the scroll flag: scroll subtracted.
    Scroll(1, 0.5);
    cTestChara target;
    target.m_bFollowScroll = 0;
    ComputeSteering(vx, vy, dir, &target, 0, 0, -1, -1, -4, 1, 0, 0);
    EXPECT_DOUBLE_EQ(vx, 4 * kSqrtHalf - 1);
    EXPECT_DOUBLE_EQ(vy, 4 * kSqrtHalf - 0.5);
    ComputeSteering(vx, vy, dir, &target, 0, 0, -1, -1, -4, 0, 0, 0);
    EXPECT_DOUBLE_EQ(vx, 4 * kSqrtHalf);
    g_SystemData.OptFlyersFollowScroll = 1;
    ComputeSteering(vx, vy, dir, nullptr, 0, 0, -1, -1, -4, 0, 0, 0);
    EXPECT_DOUBLE_EQ(vx, 4 * kSqrtHalf + 1);
    EXPECT_DOUBLE_EQ(vy, 4 * kSqrtHalf + 0.5);
}

TEST_F(SteeringTest, ScrollTermsByOptionTargetAndFlag) {
    Scroll(1, 0);
    cTestChara still, rider;
    rider.m_bFollowScroll = 1;
    double vx, vy;
    int dir;
    ComputeSteering(vx, vy, dir, &still, 0, 0, 10, 0, 2, 0, 1, 0);
    EXPECT_DOUBLE_EQ(vx, 1);  // 2 - 1
    ComputeSteering(vx, vy, dir, &rider, 0, 0, 10, 0, 2, 1, 1, 0);
    EXPECT_DOUBLE_EQ(vx, 2);  // rider with the flag: as it is
    ComputeSteering(vx, vy, dir, nullptr, 0, 0, 10, 0, 2, 0, 1, 0);
    EXPECT_DOUBLE_EQ(vx, 2);
    m_scene.m_ScrollX.m_bAtEdge = 1;  // stopped at its edge: no scroll
    ComputeSteering(vx, vy, dir, &still, 0, 0, 10, 0, 2, 0, 1, 0);
    EXPECT_DOUBLE_EQ(vx, 2);
    g_SystemData.OptFlyersFollowScroll = 1;
    Scroll(1, 0);
    ComputeSteering(vx, vy, dir, &still, 0, 0, 10, 0, 2, 0, 1, 0);
    EXPECT_DOUBLE_EQ(vx, 3);
}

TEST_F(SteeringTest, LeadVelocityMeetsTheScrollingTarget) {
    struct Case {
        double cx, cy, tx, ty, t, q, o;
    };
    const Case cases[] = {{0, 0, 30, 200, 5, 1, 0},   {0, 0, 200, 30, 5, 0.5, 0.25},
                          {0, 0, -200, -50, 4, -1, 0.5}, {100, 100, 90, 40, 3, 0, -0.5}};
    for (const Case& k : cases) {
        Scroll(k.q, k.o);
        cTestChara rider;
        rider.m_bFollowScroll = 1;
        double vx, vy;
        int dir = 9;
        ComputeSteering(vx, vy, dir, &rider, k.cx, k.cy, k.tx, k.ty, k.t, 0, 1, 0);
        EXPECT_NEAR(std::hypot(vx, vy), std::fabs(k.t), 1e-9);
        EXPECT_EQ(dir, vx > 0 ? 2 : vx < 0 ? 1 : 0);
        // Both stepped: the meeting time is ahead, and after it the two
        // positions coincide on both axes.
        const double tau = std::fabs(k.ty - k.cy) >= std::fabs(k.tx - k.cx) ? (k.ty - k.cy) / (vy - k.o)
                                                                              : (k.tx - k.cx) / (vx - k.q);
        EXPECT_GT(tau, 0.0);
        EXPECT_NEAR(k.cx + vx * tau, k.tx + k.q * tau, 1e-6);
        EXPECT_NEAR(k.cy + vy * tau, k.ty + k.o * tau, 1e-6);
        // Sub-step by sub-step the gap shrinks until the meeting.
        double x = k.cx, y = k.cy, tx = k.tx, ty = k.ty, gap = std::hypot(tx - x, ty - y);
        for (int i = 0; i + 1 < tau; ++i) {
            x += vx, y += vy, tx += k.q, ty += k.o;
            const double g = std::hypot(tx - x, ty - y);
            EXPECT_LT(g, gap);
            gap = g;
        }
    }
}

TEST_F(SteeringTest, LeadEarlyStopsKeepTheVelocitySoFarAndDir) {
    cTestChara rider;
    rider.m_bFollowScroll = 1;
    double vx, vy;
    int dir = 9;
    // No root: the target outruns the speed sideways.
    Scroll(10, 0);
    EXPECT_EQ(ComputeSteering(vx, vy, dir, &rider, 0, 0, 0, 100, 1, 0, 1, 1), 0);
    EXPECT_DOUBLE_EQ(vx, 0);
    EXPECT_DOUBLE_EQ(vy, 1);
    EXPECT_EQ(dir, 9);
    // dx = dy = 0: stop at once with the straight velocity.
    Scroll(1, 0);
    EXPECT_EQ(ComputeSteering(vx, vy, dir, &rider, 5, 5, 5, 5, 2, 0, 1, 1), 0);
    EXPECT_EQ(dir, 9);
    // O - vy = 0: the vertical speed equals the vertical scroll.
    Scroll(0, 2);
    EXPECT_EQ(ComputeSteering(vx, vy, dir, &rider, 0, 0, 0, 50, 2, 0, 1, 1), 0);
    EXPECT_DOUBLE_EQ(vy, 2);
    EXPECT_EQ(dir, 9);
}

TEST_F(SteeringTest, OneAxisForms) {
    double vx = 7, vy = 7;
    int dir = 0;
    EXPECT_EQ(ComputeSteeringX(vx, vy, dir, nullptr, 10, 20, 3, 0, 1), 0);
    EXPECT_EQ(vx, 3.0);
    EXPECT_EQ(vy, 0.0);
    EXPECT_EQ(dir, 2);
    EXPECT_EQ(ComputeSteeringX(vx, vy, dir, nullptr, 20, 18, 3, 0, 1), 1);
    EXPECT_EQ(vx, -3.0);
    EXPECT_EQ(dir, 1);
    EXPECT_EQ(ComputeSteeringX(vx, vy, dir, nullptr, 20, 17, 3, 0, 1), 0);  // |t| must exceed the gap
    vx = 7;
    EXPECT_EQ(ComputeSteeringY(vx, vy, dir, nullptr, 20, 18, 3, 0, 1), 1);
    EXPECT_EQ(vy, -3.0);
    EXPECT_EQ(vx, 0.0);
    EXPECT_EQ(dir, 0);
    // The scroll rides along only with the option, flag 0 and a riding target.
    cTestChara rider;
    rider.m_bFollowScroll = 1;
    Scroll(1, 0.5);
    ComputeSteeringX(vx, vy, dir, &rider, 0, 10, 3, 0, 0);
    EXPECT_EQ(vx, 3.0);
    g_SystemData.OptFlyersFollowScroll = 1;
    ComputeSteeringX(vx, vy, dir, &rider, 0, 10, 3, 0, 0);
    EXPECT_EQ(vx, 4.0);
    ComputeSteeringY(vx, vy, dir, &rider, 0, 10, 3, 0, 0);
    EXPECT_EQ(vy, 3.5);
    ComputeSteeringY(vx, vy, dir, &rider, 0, 10, 3, 1, 0);
    EXPECT_EQ(vy, 3.0);
}

TEST_F(SteeringTest, TargetPointLeavesFixedAxes) {
    cTestChara target;
    PlaceOnScreen(target, 100, 50, 33, 20);  // centre (116, 60)
    cEdFlowCmd def;
    cFlowCmd cmd;
    cmd.m_anWork[kCmdWorkTargetOffsetX] = -6;
    cmd.m_anWork[kCmdWorkTargetOffsetY] = 4;
    struct Case {
        int hasMove, fixX, fixY, x, y;
    } cases[] = {
        {0, 0, 0, 110, 64},  // no move part: nothing fixed
        {1, 0, 0, 110, 64},
        {1, 1, 0, -1, 64},   // x fixed: only y
        {1, 0, 1, 110, -1},  // y fixed: only x
        {1, 1, 1, 110, -1},  // both fixed: x is still written
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.hasMove << k.fixX << k.fixY);
        def.m_spMove.Reset();
        if (k.hasMove) {
            cEdMove& m = def.m_spMove.Create();
            m.m_bFixX = static_cast<int8_t>(k.fixX);
            m.m_bFixY = static_cast<int8_t>(k.fixY);
        }
        cmd.m_lpDef = &def;
        int x = -1, y = -1;
        GetTargetPoint(target, cmd, x, y);
        EXPECT_EQ(x, k.x);
        EXPECT_EQ(y, k.y);
    }
}

// The command's velocity and direction code towards the point; on arrival
// a move that stops at its target snaps the chara's centre onto the point
// and stops the command; one that does not keeps going.
TEST_F(SteeringTest, SteerToPointAndArrival) {
    cTestChara c;
    PlaceOnScreen(c, 100, 100, 16, 24);  // centre (108, 112)
    cEdFlowCmd def;
    cEdMove& move = def.m_spMove.Create();
    cFlowCmd cmd;
    cmd.m_lpDef = &def;
    cmd.m_dSpeed = 5;
    EXPECT_EQ(SteerToPoint(c, cmd, nullptr, 108 - 30, 112 + 40, 0, 1), 0);
    EXPECT_DOUBLE_EQ(cmd.m_dVelX, -3);
    EXPECT_DOUBLE_EQ(cmd.m_dVelY, 4);
    EXPECT_EQ(cmd.m_nDirCode, 1);
    // Within reach, without the stop flag: velocity kept, nothing moves.
    EXPECT_EQ(SteerToPoint(c, cmd, nullptr, 111, 116, 0, 1), 1);
    EXPECT_DOUBLE_EQ(cmd.m_dVelX, 3);
    EXPECT_DOUBLE_EQ(c.m_dX, 100);
    // With it: snapped onto the point and stopped.
    move.m_bStopOnArrival = 1;
    EXPECT_EQ(SteerToPoint(c, cmd, nullptr, 111, 116, 0, 1), 1);
    EXPECT_EQ(cmd.m_dVelX, 0.0);
    EXPECT_EQ(cmd.m_dVelY, 0.0);
    c.UpdateScreenRect();
    EXPECT_EQ(ScreenBoxCentreX(c), 111);
    EXPECT_EQ(ScreenBoxCentreY(c), 116);
    // No arrival test: no snap however near.
    cmd.m_dSpeed = 5;
    EXPECT_EQ(SteerToPoint(c, cmd, nullptr, 112, 116, 0, 0), 0);
    EXPECT_DOUBLE_EQ(cmd.m_dVelX, 5);
    // A negative speed flies the diagonal away from the point.
    cmd.m_dSpeed = -4;
    EXPECT_EQ(SteerToPoint(c, cmd, nullptr, 200, 200, 0, 1), 0);
    EXPECT_DOUBLE_EQ(cmd.m_dVelX, -4 * kSqrtHalf);
    EXPECT_DOUBLE_EQ(cmd.m_dVelY, -4 * kSqrtHalf);
    EXPECT_EQ(cmd.m_nDirCode, 1);
}

TEST_F(SteeringTest, SteerToPointOneAxis) {
    cTestChara c;
    PlaceOnScreen(c, 100, 100, 16, 24);  // centre (108, 112)
    cEdFlowCmd def;
    def.m_spMove.Create().m_bStopOnArrival = 1;
    cFlowCmd cmd;
    cmd.m_lpDef = &def;
    cmd.m_dSpeed = 3;
    EXPECT_EQ(SteerToPointX(c, cmd, nullptr, 150, 0, 1), 0);
    EXPECT_DOUBLE_EQ(cmd.m_dVelX, 3);
    EXPECT_EQ(cmd.m_nDirCode, 2);
    EXPECT_EQ(SteerToPointX(c, cmd, nullptr, 106, 0, 1), 1);  // x only snaps
    c.UpdateScreenRect();
    EXPECT_EQ(ScreenBoxCentreX(c), 106);
    EXPECT_EQ(ScreenBoxCentreY(c), 112);
    EXPECT_EQ(cmd.m_dVelX, 0.0);
    cmd.m_dSpeed = 3;
    EXPECT_EQ(SteerToPointY(c, cmd, nullptr, 80, 0, 1), 0);
    EXPECT_DOUBLE_EQ(cmd.m_dVelY, -3);
    EXPECT_EQ(cmd.m_nDirCode, 0);
    EXPECT_EQ(SteerToPointY(c, cmd, nullptr, 114, 0, 1), 1);  // y only snaps
    c.UpdateScreenRect();
    EXPECT_EQ(ScreenBoxCentreX(c), 106);
    EXPECT_EQ(ScreenBoxCentreY(c), 114);
}

TEST_F(SteeringTest, RangeIntervals) {
    struct Case {
        int pos, size, before, after, useExtent, lo, hi;
    };
    const Case cases[] = {
        {100, 33, 0, 0, 0, 116, 116},  // half of 33 is 16
        {100, 33, 0, 0, 1, 100, 132}, {100, 32, 10, 0, 0, 90, 116},
        {100, 32, 0, 10, 1, 116, 142}, {100, 32, 5, 7, 1, 95, 139}, {100, -3, 0, 0, 1, 100, 98},
    };
    for (const Case& k : cases) {
        int lo = 0, hi = 0;
        RangeInterval(k.pos, k.size, k.before, k.after, k.useExtent, lo, hi);
        EXPECT_EQ(lo, k.lo) << k.pos << " " << k.size << " " << k.before << " " << k.after;
        EXPECT_EQ(hi, k.hi);
    }
}

TEST_F(SteeringTest, WithinRangeAndTheFootCase) {
    cTestChara o;
    o.m_dY = 10;
    o.m_dBottom = 41.9;  // (int)31.9 = 31
    o.m_nDrawHeight = 34;
    // [100, 132] against [140, 200] with margin 2 from the left end: out.
    EXPECT_EQ(IsWithinRange(100, 32, 133, 200, 0, 0, 0, 1, 0, o), 0);
    EXPECT_EQ(IsWithinRange(100, 32, 132, 200, 0, 0, 0, 1, 0, o), 1);
    EXPECT_EQ(IsWithinRange(100, 32, 131, 200, 2, 0, 0, 1, 0, o), 0);
    // Low end: lo <= otherEnd - margin, or lo <= otherEnd in the foot case.
    EXPECT_EQ(IsWithinRange(100, 32, 0, 101, 2, 0, 0, 1, 0, o), 0);
    EXPECT_EQ(IsWithinRange(100, 32, 0, 101, 2, 0, 0, 1, 1, o), 1);  // 31 + 2 + 1 >= 34
    o.m_nDrawHeight = 35;
    EXPECT_EQ(IsWithinRange(100, 32, 0, 101, 2, 0, 0, 1, 1, o), 0);
    o.m_nDrawHeight = 34;
    g_SystemData.OptRangeNoFootCase = 1;
    EXPECT_EQ(IsWithinRange(100, 32, 0, 101, 2, 0, 0, 1, 1, o), 0);
}

TEST(CompareByOp, OperatorsAndDivisibilityWithoutOverflow) {
    struct Case {
        int32_t a, b;
        int op, want;
    };
    const Case cases[] = {
        {3, 3, 0, 1},        {3, 4, 1, 1},        {4, 4, 2, 1},       {3, 4, 3, 1},     {5, 4, 4, 1},
        {4, 4, 5, 0},        {-9, 3, 6, 1},       {9, -3, 6, 1},      {7, 0, 6, 1},     {7, 0, 7, 0},
        {INT_MIN, -1, 6, 1}, {INT_MIN, -1, 7, 0}, {INT_MIN, 2, 6, 1}, {INT_MIN, 3, 6, 0}, {INT_MIN, 3, 7, 1},
        {INT_MIN, INT_MIN, 6, 1}, {1, 1, 8, 0}, {1, 1, -1, 0},
    };
    for (const Case& k : cases) EXPECT_EQ(CompareByOp(k.a, k.b, k.op), k.want) << k.a << " " << k.op << " " << k.b;
}

}  // namespace
