// The shot object: its making from a volley (range, lifetime, hit box, the
// size written back), the trajectories, the sword's placement and parts
// and the block test.
#include <cmath>
#include <limits>

#include "tests/support/shot_fixture.h"

using namespace shottest;

namespace {

// Steps a shot until StepShot reports the end; the number of the step that
// did, or 0 after limit steps.
int StepsUntilOver(cShot& s, int limit) {
    for (int i = 1; i <= limit; ++i)
        if (s.StepShot()) return i;
    return 0;
}

TEST_F(ShotTest, RangeAndLifetimeInSubSteps) {
    struct Case {
        const char* what;
        int subSteps, range, life;
        double speed;  // leftwards, dots per frame
        int rangeLeft, lifeLeft;
        double velX;  // per sub-step after the making
        int overOn;   // the step that ends it
    } cases[] = {
        {"range 2 hbl at 4 dots: 16 dots in 4 steps, over on the fifth", 1, 2, 0, 4, 4, 0, -4, 5},
        {"range 1 hbl slow: the 16-dot shot flies one frame", 1, 1, 0, 16, 1, 0, -16, 2},
        {"range 1 hbl fast: one frame standing still", 1, 1, 0, 20, 1, 0, 0, 2},
        {"range 1 hbl at 2 sub-steps", 2, 1, 0, 10, 2, 0, -5, 3},
        {"range 3 hbl crossed within a frame: rescaled", 2, 3, 0, 40, 2, 0, -16, 3},
        {"lifetime 10 at 2 sub-steps", 2, 0, 10, 4, 0, 120, -2, 121},
    };
    for (const Case& c : cases) {
        SetSubSteps(c.subSteps);
        Part() = cEdShot();
        Part().m_bUseRange = c.range > 0;
        Part().m_bUseLife = c.life > 0;
        cShot s = Made(Volley(800, 400, -c.speed, 0, c.range, c.life));
        EXPECT_EQ(s.m_nRangeLeft, c.rangeLeft) << c.what;
        EXPECT_EQ(s.m_nLifeLeft, c.lifeLeft) << c.what;
        EXPECT_DOUBLE_EQ(s.m_dVelX, c.velX) << c.what;
        EXPECT_EQ(StepsUntilOver(s, 200), c.overOn) << c.what;
    }
}

TEST_F(ShotTest, StandingStillWhenTheDistanceIsCoveredAndNoDirection) {
    Part().m_bUseRange = 1;
    ShotVolley v = Volley(800, 400, 0, 0, 1);
    v.dSpeed = 30;  // a speed without a direction
    cShot s = Made(v);
    EXPECT_EQ(s.m_dVelX, 0.0);
    EXPECT_EQ(s.m_dVelY, 0.0);
}

TEST_F(ShotTest, MakingWritesTheSizeBackAndTakesTheHitSizeOfItsSide) {
    g_Stage.m_anBoxSetting[40] = 10;
    g_Stage.m_anBoxSetting[41] = 12;
    g_Stage.m_anBoxSetting[44] = 20;
    g_Stage.m_anBoxSetting[45] = 6;
    Part().m_nSize = 0;
    cShot s = Made(Volley(800, 400, -4, 0));
    EXPECT_EQ(Part().m_nSize, 1) << "the command's own part";
    EXPECT_EQ(s.m_nHitOffsetX, 8 - 10);
    EXPECT_EQ(s.m_nHitHeight, 6);
    EXPECT_DOUBLE_EQ(s.m_adHitBox[0], 800 - 2);
    EXPECT_EQ(s.m_nFacing, 0);

    g_vPlayers[0].m_nFacing = 1;
    Part().m_nSize = 2;
    cShot big;
    big.InitShot(7, g_vPlayers[0], CMD_SHOT, Part(), Volley(800, 400, 0, 0));
    EXPECT_EQ(big.m_nFacing, 1) << "no horizontal speed: the owner's facing";
    EXPECT_EQ(big.m_nWidth, 32);
    EXPECT_EQ(big.m_nHitOffsetX, 2 * (8 - 5)) << "the hero's side, doubled";
    EXPECT_EQ(big.m_nHitWidth, 20);
    EXPECT_EQ(big.m_nGroup, 0) << "the user's side";
}

TEST_F(ShotTest, HomingEndZeroNeverSteersAndStartsWhereItSays) {
    Part().m_nTrajectory = TRAJ_HOME_HERO;
    Part().m_nSpeed = 40;
    Part().m_nTrajectoryParam[1] = 0;
    cShot never = Made(Volley(400, 400, -4, 0));
    for (int i = 0; i < 10; ++i) never.StepShot();
    EXPECT_DOUBLE_EQ(never.m_dVelX, -4);
    EXPECT_EQ(never.m_dVelY, 0.0);

    Part().m_nTrajectoryParam[0] = 1;  // from 16 dots on: the fifth step
    Part().m_nTrajectoryParam[1] = 999;
    cShot homing = Made(Volley(908, 200, -4, 0));  // its centre above the hero's
    for (int i = 0; i < 4; ++i) homing.StepShot();
    EXPECT_DOUBLE_EQ(homing.m_dVelX, -4) << "not yet";
    homing.StepShot();
    EXPECT_NEAR(homing.m_dVelY, 4, 1e-9) << "straight down at the hero below";
    EXPECT_NEAR(homing.m_dVelX, 0, 1e-9);
}

TEST_F(ShotTest, NearestHomingKindsPickTheNearestAgainEverySubStep) {
    cCharaComputer& a = NewChara(20, 300, 600);
    cCharaComputer& b = NewChara(21, 300, 200);
    m_scene.m_vCharaGroups.at(3) = {&a, &b};
    for (int kind : {TRAJ_HOME_NEAREST_DROP, TRAJ_HOME_NEAREST_SWITCH}) {
        Place(a, 300, 600, 32, 32);
        Part().m_nTrajectory = static_cast<int8_t>(kind);
        Part().m_nSpeed = 40;
        Part().m_nTrajectoryParam[1] = 999;
        Part().m_nTrajectoryParam[2] = 3;
        cShot s = Made(Volley(300, 450, -4, 0));
        s.UpdateScreenRect();  // as the draw pass leaves it
        s.StepShot();
        EXPECT_GT(s.m_dVelY, 0) << kind << ": a is nearer, below";
        Place(a, 300, 900, 32, 32);
        s.StepShot();
        EXPECT_LT(s.m_dVelY, 0) << kind << ": b is nearer now, above";
    }
}

TEST_F(ShotTest, FallStartsAtOnceAndKeepsTheHorizontalVelocity) {
    Part().m_nTrajectory = TRAJ_FALL;
    Part().m_nSpeed = 30;
    cShot s = Made(Volley(800, 300, -3, -1));
    EXPECT_EQ(s.StepShot(), 0);
    EXPECT_EQ(s.m_bFlying, 0) << "gravity acts from the first sub-step";
    EXPECT_DOUBLE_EQ(s.m_dSpeedY, -1);
    EXPECT_DOUBLE_EQ(s.m_dSpeedX, -3);
    s.StepShot();
    EXPECT_DOUBLE_EQ(s.m_dSpeedX, -3);
}

TEST_F(ShotTest, WaveSwingsItsAmplitudeOnceEveryPeriod) {
    SetStage(80, 30);
    MakeMap();
    for (int subSteps : {1, 2}) {
        SetSubSteps(subSteps);
        Part().m_nTrajectory = TRAJ_WAVE;
        Part().m_nTrajectoryParam[0] = 4;  // 64 dots
        Part().m_nTrajectoryParam[1] = 4;  // 4 degrees a frame: 90 frames a wave
        Part().m_nTrajectoryParam[2] = 0;
        cShot s = Made(Volley(2000, 600, -4, 0));
        // The top of each wave: one every 90 frames, 128 dots above the
        // bottom (the zeroing where the vertical speed turns shifts the
        // centre a little).
        double lo = s.m_dY, hi = s.m_dY;
        int top[2] = {0, 0};
        double topY[2] = {1e9, 1e9};
        for (int frame = 1; frame <= 180; ++frame) {
            for (int i = 0; i < subSteps; ++i) {
                s.StepShot();
                s.MoveShotY();
                s.MoveShotX();
            }
            lo = std::min(lo, s.m_dY);
            hi = std::max(hi, s.m_dY);
            const int half = frame <= 90 ? 0 : 1;
            if (s.m_dY < topY[half]) topY[half] = s.m_dY, top[half] = frame;
        }
        EXPECT_NEAR(hi - lo, 128, 4) << subSteps;
        EXPECT_NEAR(top[1] - top[0], 90, 2) << subSteps;
        EXPECT_NEAR(s.m_dX, 2000 - 720, 1) << subSteps;
    }
}

TEST_F(ShotTest, WaveWithoutSpeedStaysFinite) {
    Part().m_nTrajectory = TRAJ_WAVE;
    Part().m_nTrajectoryParam[0] = 4;
    Part().m_nTrajectoryParam[2] = 0;  // start angle 0, wave speed 0: 0 / 0
    cShot s = Made(Volley(800, 400, -4, 0));
    for (int i = 0; i < 20; ++i) {
        s.StepShot();
        s.MoveShotY();
        s.MoveShotX();
    }
    EXPECT_TRUE(std::isfinite(s.m_dX) && std::isfinite(s.m_dY));
    EXPECT_DOUBLE_EQ(s.m_dY, 400);
}

TEST_F(ShotTest, SwordSitsAtItsOwnerPartByPart) {
    cDbSwordType type;
    type.m_vecParts.resize(2);
    for (cDbSwordPart& p : type.m_vecParts) {
        p.m_nWidth = 20;
        p.m_nHeight = 10;
        p.m_nDuration = 1;
        p.m_nOffsetX = 3;
        p.m_nOffsetY = 2;
        p.m_bMirrorX = 1;
        p.m_bMirrorY = 0;
    }
    type.m_vecParts[1].m_nPlacement = 2;  // above
    g_Database.m_vecSwordType = {cDbSwordType(), type};
    Part().m_nTrajectory = 1;
    Part().m_nSize = 2;
    SetSubSteps(2);
    struct Case {
        int facing;
        double x, y;  // after the first step (user box 400..431 x 300..331)
    } cases[] = {
        {0, 400 - 40 + 6, 316 - 10 + 4},  // in front of a left-facing owner: left of it
        {1, 432 - 6, 316 - 10 + 4},       // facing right: right of it, the x offset mirrored
    };
    for (const Case& c : cases) {
        m_user->m_nFacing = c.facing;
        cShot sword;
        sword.InitShot(50, *m_user, CMD_SWORD, Part(), ShotVolley{});
        EXPECT_EQ(sword.m_bIsShot, 0);
        EXPECT_EQ(sword.StepShot(), 0);
        EXPECT_EQ(sword.m_nWidth, 40);
        EXPECT_DOUBLE_EQ(sword.m_dX, c.x) << c.facing;
        EXPECT_DOUBLE_EQ(sword.m_dY, c.y) << c.facing;
        EXPECT_EQ(sword.m_nFacing, c.facing);
        // A part lasts 1/10 s: 12 sub-steps, the next part on the 13th.
        for (int i = 2; i <= 12; ++i) sword.StepShot();
        EXPECT_EQ(sword.m_nSwordPart, 0);
        EXPECT_EQ(sword.StepShot(), 0);
        EXPECT_EQ(sword.m_nSwordPart, 1);
        sword.StepShot();
        EXPECT_DOUBLE_EQ(sword.m_dY, 300 - 20 + 4) << "above";
        int over = 0;
        for (int i = 2; i <= 13 && !over; ++i) over = sword.StepShot() ? i : 0;
        EXPECT_EQ(over, 13) << "the last part over";
    }
    // The owner gone: over in the same sub-step.
    cShot orphan;
    orphan.InitShot(51, *m_user, CMD_SWORD, Part(), ShotVolley{});
    orphan.m_nOwnerKey = 999;
    EXPECT_EQ(orphan.StepShot(), 1);
}

TEST_F(ShotTest, BlockTest) {
    MakeMap({{30, 15}, {30, 13}});
    struct Case {
        const char* what;
        double x, y;
        int size, through;
        int hits;
    } cases[] = {
        {"a corner in the solid cell", 30 * 32 - 8, 15 * 32 + 4, 1, 0, 1},
        {"passes through blocks", 30 * 32 - 8, 15 * 32 + 4, 1, 1, 0},
        {"beside it", 29 * 32, 14 * 32, 1, 0, 0},
        {"a wide shot with the cell under its middle", 29 * 32, 12 * 32 + 20, 6, 0, 1},
        {"above the top of the map, too wide to clamp", 100, -40, 25, 0, 0},
    };
    for (const Case& c : cases) {
        Part().m_nSize = static_cast<int8_t>(c.size);
        Part().m_bThroughBlocks = static_cast<int8_t>(c.through);
        cShot s = Made(Volley(0, 0, -1, 0));
        s.m_dX = c.x;
        s.m_dY = c.y;
        s.UpdatePosX();
        s.UpdatePosY();
        EXPECT_EQ(s.ShotHitsBlock(), c.hits) << c.what;
    }
}

}  // namespace
