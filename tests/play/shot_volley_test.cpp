// Firing: each formation's start points, steps and velocities, the clones,
// the number of random draws a volley makes, the target slots, the links
// of the fired shots, and the summons' palette checks.
#include <cmath>

#include "base/random.h"
#include "play/chara_hits.h"
#include "play/map_cell.h"
#include "records/common_palette.h"
#include "records/system_data.h"
#include "tests/support/shot_fixture.h"

using namespace shottest;

namespace {

// Position and velocity (dots per frame) of a fired shot.
struct Fired {
    int x, y;
    double vx, vy;
};

constexpr double kK = 0.7071067811865476 * 4;  // a diagonal component at speed 4

class VolleyTest : public ShotTest {
protected:
    void SetUp() override {
        ShotTest::SetUp();
        Part().m_nSpeed = 40;  // 4 dots a frame
    }
    std::vector<Fired> Fire() {
        m_scene.m_lstShots.clear();
        FireShot(&m_scene.m_lstShots, *m_user, m_run, Part());
        std::vector<Fired> out;
        for (const cShot& s : m_scene.m_lstShots)
            out.push_back({static_cast<int>(s.m_dX), static_cast<int>(s.m_dY), s.m_dVelX * g_Stage.m_dSubSteps,
                           s.m_dVelY * g_Stage.m_dSubSteps});
        return out;
    }
    // Direction 0 (forward) for facing 0/1, or a fixed direction code.
    void Aim(int direction, int facing) {
        Part().m_nDirection = static_cast<int8_t>(direction);
        m_user->m_nFacing = facing;
    }
    void Expect(const std::vector<Fired>& got, const std::vector<Fired>& want, const std::string& what) {
        ASSERT_EQ(got.size(), want.size()) << what;
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].x, want[i].x) << what << " #" << i;
            EXPECT_EQ(got[i].y, want[i].y) << what << " #" << i;
            EXPECT_NEAR(got[i].vx, want[i].vx, 1e-9) << what << " #" << i;
            EXPECT_NEAR(got[i].vy, want[i].vy, 1e-9) << what << " #" << i;
        }
    }
};

// The user's screen box is 400..431 x 300..331 (centre 416, 316), the
// shots 16 x 16, no scrolling.
TEST_F(VolleyTest, StraightARowsAcrossTheLineOfFlight) {
    Part().m_nFormation = FORMATION_STRAIGHT_A;
    Part().m_nCount = 3;
    Part().m_nFormationParam[0] = 1;  // 16 dots apart
    struct Case {
        const char* what;
        int direction, facing;
        std::vector<Fired> want;
    } cases[] = {
        {"forward, facing left", 0, 0, {{385, 276, -4, 0}, {385, 308, -4, 0}, {385, 340, -4, 0}}},
        {"forward, facing right", 0, 1, {{432, 276, 4, 0}, {432, 308, 4, 0}, {432, 340, 4, 0}}},
        {"up", 6, 0, {{376, 284, 0, -4}, {408, 284, 0, -4}, {440, 284, 0, -4}}},
        {"down", 7, 0, {{376, 332, 0, 4}, {408, 332, 0, 4}, {440, 332, 0, 4}}},
        {"up-left", 8, 0, {{368, 313, -kK, -kK}, {400, 281, -kK, -kK}, {432, 249, -kK, -kK}}},
        {"down-right", 11, 0, {{401, 346, kK, kK}, {433, 314, kK, kK}, {465, 282, kK, kK}}},
    };
    for (const Case& c : cases) {
        Aim(c.direction, c.facing);
        Expect(Fire(), c.want, c.what);
    }
}

TEST_F(VolleyTest, StraightBColumnsFromTheFootLine) {
    Part().m_nFormation = FORMATION_STRAIGHT_B;
    Part().m_nCount = 2;
    Part().m_nFormationParam[0] = 1;
    struct Case {
        const char* what;
        int direction, facing;
        std::vector<Fired> want;
    } cases[] = {
        {"forward, facing left", 0, 0, {{385, 316, -4, 0}, {385, 284, -4, 0}}},
        {"up, facing right: beside its right", 6, 1, {{432, 316, 0, -4}, {432, 284, 0, -4}}},
        {"down-left", 9, 0, {{385, 316, -kK, kK}, {385, 284, -kK, kK}}},
    };
    for (const Case& c : cases) {
        Aim(c.direction, c.facing);
        Expect(Fire(), c.want, c.what);
    }
}

TEST_F(VolleyTest, SpreadFansAroundTheDirection) {
    Part().m_nFormation = FORMATION_SPREAD;
    Part().m_nFormationParam[0] = 30;
    auto at = [](double deg) {
        const double a = deg * 0.017453292519943278;
        return Fired{385, 308, -std::cos(a) * 4, -std::sin(a) * 4};
    };
    Aim(0, 0);
    Part().m_nCount = 4;
    Expect(Fire(), {at(-45), at(-15), at(15), at(45)}, "four");
    Part().m_nCount = 3;
    Expect(Fire(), {at(-30), at(0), at(30)}, "three");
    Part().m_nCount = 1;
    Aim(4, 1);  // forward-Y facing right: down, below the user
    const double a = 270 * 0.017453292519943278;
    Expect(Fire(), {{408, 332, -std::cos(a) * 4, -std::sin(a) * 4}}, "forward-Y facing right");
}

TEST_F(VolleyTest, ThunderEntersFromTheEdgeInColumns) {
    Part().m_nFormation = FORMATION_THUNDER;
    Part().m_nOrigin = 2;  // round the user
    Part().m_nCount = 2;
    Part().m_nFormationParam[0] = 1;  // 16 dots between the objects of a train
    Part().m_nFormationParam[1] = 2;  // two columns
    Part().m_nFormationParam[2] = 1;  // 16 dots apart, centred on the user's middle
    Aim(0, 0);
    Expect(Fire(), {{624, 300, -4, 0}, {624, 316, -4, 0}, {592, 300, -4, 0}, {592, 316, -4, 0}}, "left");
    g_SystemData.m_bCompat555 = 1;
    Expect(Fire(), {{624, 300, -4, 0}, {624, 316, -4, 0}, {608, 300, -4, 0}, {608, 316, -4, 0}}, "no interval");
    g_SystemData.m_bCompat555 = 0;
    Aim(7, 0);
    Part().m_nFormationParam[1] = 1;
    Expect(Fire(), {{408, 0, 0, 4}, {408, 32, 0, 4}}, "down from the top");
    Part().m_nOrigin = 0;  // the target slot given by m_nTarget: empty
    Part().m_nTarget = 2;
    EXPECT_TRUE(Fire().empty()) << "no centre object, nothing";
}

TEST_F(VolleyTest, ExplosionAndSurroundGoRoundTheCircle) {
    Aim(0, 0);
    Part().m_nCount = 4;
    Part().m_nFormation = FORMATION_BURST;
    Expect(Fire(), {{408, 308, -4, 0}, {408, 308, 0, -4}, {408, 308, 4, 0}, {408, 308, 0, 4}}, "explosion");
    Part().m_nFormation = FORMATION_SURROUND;
    Part().m_nFormationParam[0] = 6;
    Part().m_nOrigin = 2;
    Expect(Fire(), {{504, 308, -4, 0}, {408, 404, 0, -4}, {313, 308, 4, 0}, {408, 213, 0, 4}},
           "surround (the rounding truncates -95.5 to -95)");
    Part().m_nFormation = 6;
    EXPECT_TRUE(Fire().empty()) << "a formation outside the table";
}

TEST_F(VolleyTest, ClonesStepTheAngleAndMirrorFacingRight) {
    Part().m_nFormation = FORMATION_BURST;
    Part().m_nCount = 1;
    Part().m_nClones = 2;
    Part().m_nAngleStep = 15;
    Part().m_nSpeedStep = 10;
    Part().m_nOffsetXStep = 4;
    auto at = [](int x, double deg, double s) {
        const double a = deg * 0.017453292519943278;
        return Fired{x, 308, -std::cos(a) * s, -std::sin(a) * s};
    };
    Aim(0, 0);
    Expect(Fire(), {at(408, 0, 4), at(412, 15, 5), at(416, 30, 6)}, "facing left");
    Aim(0, 1);
    Expect(Fire(), {at(408, 180 + 360, 4), at(404, 180 + 345, 5), at(400, 180 + 330, 6)}, "facing right");
}

TEST_F(VolleyTest, RandomDrawsOfAVolley) {
    Part().m_nFormation = FORMATION_BURST;
    Part().m_nCount = 1;
    for (int spread : {0, 5})
        for (int clones : {0, 2}) {
            Part().m_nSpread = static_cast<int16_t>(spread);
            Part().m_nClones = static_cast<int8_t>(clones);
            SRand(7);
            Fire();
            const uint32_t after = RandState();
            SRand(7);
            const int draws = spread ? clones + 2 : 0;
            for (int i = 0; i < draws; ++i) RandRange(-5, 5);
            EXPECT_EQ(after, RandState()) << "spread " << spread << ", clones " << clones;
        }
}

TEST_F(VolleyTest, AFreshUsersShotTargetIsTheHero) {
    Part().m_nFormation = FORMATION_BURST;
    Part().m_nCount = 1;
    Part().m_nTrajectory = TRAJ_AIM_TARGET;
    Part().m_nShotTarget = 0;
    Aim(2, 0);  // left, away from the hero
    Fire();
    cShot& shot = m_scene.m_lstShots.front();
    ASSERT_EQ(shot.m_lpTarget, &g_vPlayers[0]);
    ASSERT_EQ(g_vPlayers[0].m_vShotLinks.size(), 1u);
    EXPECT_EQ(g_vPlayers[0].m_vShotLinks[0].lpShot, &shot);
    shot.StepShot();
    EXPECT_GT(shot.m_dVelX, 0) << "turned towards the hero on the right";
    m_scene.m_lstShots.clear();
    EXPECT_TRUE(g_vPlayers[0].m_vShotLinks.empty());
    EXPECT_TRUE(m_user->m_vShotLinks.empty());
}

TEST_F(VolleyTest, AimingAtTheTarget) {
    Part().m_nFormation = FORMATION_SPREAD;
    Part().m_nCount = 1;
    Part().m_bAimAtTarget = 1;
    Part().m_nTarget = 0;  // the hero, to the right and below
    Aim(2, 0);
    const std::vector<Fired> got = Fire();
    ASSERT_EQ(got.size(), 1u);
    // From the anchor's centre (385 + 8, 308 + 8) to the hero's (916, 416).
    const int angle = static_cast<int>(std::atan2(416 - 316, 916 - 393) * 57.29577951308232 + 180 + 0.5);
    const double a = angle * 0.017453292519943278;
    EXPECT_EQ(got[0].x, 385);
    EXPECT_NEAR(got[0].vx, -std::cos(a) * 4, 1e-9);
    EXPECT_NEAR(got[0].vy, -std::sin(a) * 4, 1e-9);
    ShotVolley v;
    m_user->TargetSlot(0) = nullptr;
    EXPECT_EQ(AimAngleAtTarget(0, 0, *m_user, Part(), v), 0) << "no target, facing left";
    m_user->m_nFacing = 1;
    EXPECT_EQ(AimAngleAtTarget(0, 0, *m_user, Part(), v), 180) << "no target, facing right";
}

TEST_F(VolleyTest, SummonsCheckTheirPaletteEntry) {
    const cCommonPalette saved = g_CommonPalette;
    g_CommonPalette.m_vecCharaPalette.resize(3);
    g_CommonPalette.m_vecCharaPalette[1].m_nSide = 1;
    g_CommonPalette.m_vecCharaPalette[1].m_nGraphic = 1;
    g_CommonPalette.m_vecCharaPalette[2].m_nSide = 0;
    g_CommonPalette.m_vecItemPalette.resize(2);
    m_cmd.m_nKind = CMD_SUMMON_CHARA;
    Part().m_nFormation = FORMATION_BURST;
    Part().m_nCount = 1;
    Part().m_nSpread = 20;
    struct Case {
        const char* what;
        int entry;
        size_t charas;
    } cases[] = {
        {"entry -1", -1, 0}, {"past the palette", 3, 0}, {"a side-0 entry", 2, 0}, {"a computer chara", 1, 1},
    };
    Place(*m_user, 400, 400, 32, 32);  // inside the border
    SRand(3);
    for (const Case& c : cases) {
        g_lstCharas.resize(1);
        m_user = &g_lstCharas.front();
        Part().m_nSummonEntry = static_cast<int16_t>(c.entry);
        SummonChara(*m_user, m_run, Part());
        EXPECT_EQ(g_lstCharas.size() - 1, c.charas) << c.what;
    }
    EXPECT_EQ(RandState(), [] { SRand(3); return RandState(); }()) << "summons draw nothing";

    m_cmd.m_nKind = CMD_SUMMON_ITEM;
    Part().m_nSummonEntry = 1;
    SummonItem(*m_user, m_run, Part());
    EXPECT_EQ(g_lstItems.size(), 1u);

    m_cmd.m_nKind = CMD_SUMMON_BLOCK;
    Part().m_nSummonEntry = 0;
    Part().m_nBlockSummonMode = 2;
    m_scene.m_vSummonedCells = {5, 6};
    SummonBlock(*m_user, m_run, Part());
    EXPECT_EQ(m_scene.m_vSummonedCells.size(), 1u) << "emptied first, then the toggled cell";
    g_CommonPalette = saved;
}

TEST_F(VolleyTest, ListsAndLinksStayExact) {
    cCharaComputer& target = NewChara(30, 600, 300);
    Part().m_nTrajectory = TRAJ_HOME_TARGET;
    Part().m_nSide = 3;
    Part().m_bUserSide = 0;
    m_user->TargetSlot(1) = &target;
    Part().m_nShotTarget = 1;
    Part().m_nCount = 2;
    Part().m_nFormation = FORMATION_SPREAD;
    FireShot(&m_scene.m_lstShots, *m_user, m_run, Part());
    ASSERT_EQ(m_scene.m_lstShots.size(), 2u);
    const std::vector<cShot*> shots = Shots();
    EXPECT_EQ(m_scene.m_vShotGroups.at(3).size(), 2u);
    ASSERT_EQ(target.m_vShotLinks.size(), 2u);
    EXPECT_EQ(target.m_vShotLinks[0].lpShot, shots[0]) << "the stored copy, not the temporary";
    EXPECT_EQ(m_user->m_vShotLinks.size(), 2u);
    EXPECT_EQ(m_scene.m_nShotSerial, 2);

    // The target dies: its shots forget it; erasing them leaves the owner's
    // links exact.
    Unlink(target);
    EXPECT_EQ(shots[1]->m_lpTarget, nullptr);
    auto next = EraseShot(m_scene, m_scene.m_lstShots.begin());
    EXPECT_EQ(&*next, shots[1]);
    ASSERT_EQ(m_user->m_vShotLinks.size(), 1u);
    EXPECT_EQ(m_user->m_vShotLinks[0].lpShot, shots[1]);
    EXPECT_EQ(m_scene.m_vShotGroups.at(3).size(), 1u);
    EraseShot(m_scene, m_scene.m_lstShots.begin());
    EXPECT_TRUE(m_user->m_vShotLinks.empty());
    EXPECT_TRUE(m_scene.m_vShotGroups.at(3).empty());
}

}  // namespace
