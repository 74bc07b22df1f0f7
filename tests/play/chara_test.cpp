// Chara state and movement: units, jump speed, contacts, impact, target
// slots and links, animation sets, scaling and centring.
#include <cmath>
#include <limits>

#include "engine/flow_trigger.h"
#include "play/numeric.h"
#include "tests/support/chara_fixture.h"
#include "tests/support/play_trace.h"

using charatest::cTestChara;

namespace {

class CharaStateTest : public charatest::CharaTest {
protected:
    // A walking chara of 32 x 32 with its box at (x, y).
    void Place(cTestChara& c, double x, double y, int side = 1) {
        c.InitChara(nullptr, nullptr, 0);
        c.Init(1, side, 0, 1, 0, nullptr, 0, 0, 0, 32, 32, 32, 32, 1, 0, 0);
        c.m_dX = x;
        c.m_dY = y;
        c.UpdatePosX();
        c.UpdatePosY();
    }
};

// The height a launch speed reaches when gravity is added before each move.
double RiseOf(double v, double g) {
    double y = 0.0, top = 0.0;
    for (int i = 0; i < 100000; ++i) {
        v += g;
        if (v >= 0.0) break;
        y += v;
        top = std::min(top, y);
    }
    return -top;
}

TEST_F(CharaStateTest, JumpSpeedReachesTheHeightWithinOneSubStepOfGravity) {
    for (int f : {1, 2, 4, 10}) {
        SetSubSteps(f);
        const double g = g_Stage.m_dGravityStep;
        cTestChara c;
        for (double h : {16.0, 32.0, 48.0, 80.0, 160.0}) {
            const double rise = RiseOf(c.JumpSpeed(h), g);
            EXPECT_GE(rise, h - 1e-9) << "F " << f << " h " << h;
            EXPECT_LE(rise, h + g + 1e-9) << "F " << f << " h " << h;
        }
        EXPECT_DOUBLE_EQ(c.JumpSpeed(0), -g);
    }
}

TEST_F(CharaStateTest, JumpGravityCorrectionOnlyForThePlayerSide) {
    g_SystemData.OptJumpGravityCorrection = 1;
    cTestChara hero, other;
    hero.m_nSide = 0;
    other.m_nSide = 1;
    const double plain = other.JumpSpeed(64);
    EXPECT_DOUBLE_EQ(hero.JumpSpeed(64), plain * (0.99 - 0.4 * 0.025));
}

TEST_F(CharaStateTest, UnitConversions) {
    SetSubSteps(2);
    EXPECT_EQ(cChara::UnitToDot(3), 48);
    EXPECT_EQ(cChara::UnitToDot(-2), -32);
    EXPECT_DOUBLE_EQ(cChara::SpeedPerFrame(100), 1.0 / 4);
    cTestChara c;
    // Two blocks at gravity 0.1 per sub-step: the rise takes about 11
    // sub-steps, plus two.
    const double v = c.JumpSpeedFromHeight(4);
    EXPECT_DOUBLE_EQ(v, c.JumpSpeed(64));
    EXPECT_EQ(cChara::JumpTime(v), TruncToInt(2 - v / 0.1));
    EXPECT_EQ(c.JumpFramesFromHeight(4), cChara::JumpTime(v) / 2 / 6 + 1);
}

TEST_F(CharaStateTest, GravityZeroGivesNoTrap) {
    g_Stage.m_dGravity = 0.0;
    SetSubSteps(1);
    cTestChara c;
    EXPECT_DOUBLE_EQ(c.JumpSpeed(64), 0.0);
    EXPECT_EQ(cChara::JumpTime(-3.0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(cChara::JumpTime(0.0), std::numeric_limits<int32_t>::min());  // 0 / 0
    EXPECT_EQ(c.JumpFramesFromHeight(4), std::numeric_limits<int32_t>::min() / 6 + 1);
}

TEST_F(CharaStateTest, InitCharaClearsStateAndTakesTheDefinition) {
    cEdChara def = charatest::MakeCharaDef();
    def.m_nMaxHP = 7;
    def.m_nMaxSP = 3;
    def.m_bSyncAutoScroll = 1;
    def.m_nFriction = 50;
    cTestChara c;
    c.m_dImpactX = 3;
    c.m_nFootBlock = 9;
    const int32_t placement[4] = {1, 2, 3, 4};
    c.InitChara(&def, placement, 5);
    EXPECT_EQ(c.m_nClone, 5);
    EXPECT_EQ(c.m_nHP, 7);
    EXPECT_EQ(c.m_nSP, 3);
    EXPECT_EQ(c.m_bFollowScroll, 1);
    EXPECT_DOUBLE_EQ(c.m_dFriction, 0.5);
    EXPECT_EQ(c.m_dImpactX, 0.0);
    EXPECT_EQ(c.m_nFootBlock, 0);
    EXPECT_EQ(c.m_bAirborne, 1);
    EXPECT_EQ(c.m_nRiddenKey, -1);
    EXPECT_EQ(c.m_anPlacement[3], 4);
    EXPECT_EQ(c.m_vTargets.size(), 4u);
    EXPECT_EQ(c.m_vGroupRunning.size(), 27u);
    EXPECT_EQ(c.m_vVars.size(), 9u);
}

TEST_F(CharaStateTest, SetAnimeSetBuildsLockedLoopingTracks) {
    cDbAnimeSet set;
    set.m_vecAnimes.resize(2);
    set.m_vecAnimes[1].m_vecFrames.resize(2);
    set.m_vecAnimes[1].m_vecFrames[0].m_nPicture = 4;
    set.m_vecAnimes[1].m_vecFrames[0].m_nDuration = 2;
    set.m_vecAnimes[1].m_vecFrames[1].m_nPicture = 5;
    g_Database.m_vecAnimeSet.assign(2, cDbAnimeSet());
    g_Database.m_vecAnimeSet[1] = set;
    cTestChara c;
    c.SetAnimeSet(1, 0);
    ASSERT_EQ(c.m_Anime.m_vTracks.size(), 2u);
    const AnimeTrack& t = c.m_Anime.m_vTracks[1];
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0], (AnimeStep{4, 12, 1}));
    EXPECT_EQ(t[1], (AnimeStep{5, 6, 1}));
    EXPECT_EQ(t[2], (AnimeStep{ANIME_RESTART, 0, 1}));
    // The same set again changes nothing unless forced.
    c.m_Anime.m_nTrack = 1;
    c.SetAnimeSet(1, 0);
    EXPECT_EQ(c.m_Anime.m_nTrack, 1);
    c.SetAnimeSet(1, 1);
    EXPECT_EQ(c.m_Anime.m_nTrack, 0);
    // A set outside the table is reported and set 0 is built.
    c.SetAnimeSet(9, 0);
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_EQ(c.m_Anime.m_vTracks.size(), g_Database.m_vecAnimeSet[0].m_vecAnimes.size());
}

TEST_F(CharaStateTest, SetHitBox1) {
    cTestChara c;
    c.m_nDrawOffsetX = 4;
    c.m_nDrawOffsetY = 8;
    c.SetHitBox1(0, 10, 12);
    EXPECT_EQ(c.m_HitBox1.nOffsetX, 16 - 4 - 5);
    EXPECT_EQ(c.m_HitBox1.nOffsetY, 16 - 8 - 6);
    c.SetHitBox1(1, 10, 12);
    EXPECT_EQ(c.m_HitBox1.nOffsetY, 32 - 8 - 12);
    EXPECT_EQ(c.m_HitBox1.nBaseOffsetY, c.m_HitBox1.nOffsetY);
    EXPECT_EQ(c.m_HitBox1.nBaseWidth, 10);
}

TEST_F(CharaStateTest, LandOnBlockPutsTheBottomAboveTheBlock) {
    // Tops of a chara 32 high whose bottom lies 15, 0 (one dot down) and 31
    // dots into its cell row.
    const double tops[] = {400.0, 385.0, 415.0};
    for (double top : tops) {
        cTestChara c;
        Place(c, 100, top, 1);
        c.m_dSpeedY = 3;
        c.m_bAirborne = c.m_bJumpStarted = c.m_bJumpCut = c.m_bKnockedBack = c.m_bJumpBlocked = 1;
        c.LandOnBlock();
        EXPECT_EQ(TruncToInt(c.m_dBottom) & 31, 31) << top;
        EXPECT_EQ(c.m_dSpeedY, 0.0);
        EXPECT_EQ(c.m_abContact[CONTACT_BOTTOM], 1);
        EXPECT_EQ(c.m_bAirborne + c.m_bJumpStarted + c.m_bJumpCut + c.m_bKnockedBack + c.m_bJumpBlocked, 0);
    }
    // Bottom exactly on a boundary.
    cTestChara c;
    Place(c, 100, 385, 0);
    ASSERT_EQ(TruncToInt(c.m_dBottom) & 31, 0);
    c.m_bJumpBlocked = 1;
    c.LandOnBlock();
    EXPECT_DOUBLE_EQ(c.m_dY, 384.0);
    EXPECT_EQ(c.m_bJumpBlocked, 1);  // the player side keeps it
}

TEST_F(CharaStateTest, LandAndCeilingFireTheirTriggers) {
    static std::vector<int> fired;
    fired.clear();
    testsupport::PlayTrace().trigger = [](cChara&, int trigger, cChara*, int) { fired.push_back(trigger); };
    cTestChara c;
    Place(c, 100, 390);
    c.LandOnBlock();
    c.HitCeiling();
    EXPECT_EQ(fired, (std::vector<int>{11, 15, 17, 11, 15, 16}));
}

TEST_F(CharaStateTest, HitCeilingAndTheImpact) {
    for (int keep : {0, 1}) {
        g_SystemData.OptCeilingKeepsImpact = keep;
        cTestChara c;
        Place(c, 100, 330.5);
        c.m_dSpeedY = -4;
        c.m_dMoveSpeedY = -1;
        c.m_dImpactY = -2;
        c.m_dPrevImpactY = -2.5;
        c.HitCeiling();
        EXPECT_DOUBLE_EQ(c.m_dY, 352.5);
        EXPECT_EQ(c.m_dSpeedY, 0.0);
        EXPECT_EQ(c.m_dMoveSpeedY, 0.0);
        EXPECT_EQ(c.m_bJumpCut + c.m_bJumpStarted + c.m_bJumpBlocked + c.m_abContact[CONTACT_TOP], 4);
        EXPECT_EQ(c.m_dImpactY, keep ? -2.0 : 0.0);
        EXPECT_EQ(c.m_dPrevImpactY, keep ? -2.5 : 0.0);
    }
}

TEST_F(CharaStateTest, CrushedOnlyByPushersMovingInwards) {
    struct Case {
        double left, right;
        int simple;
        int crushed;
    } cases[] = {
        {0.0, 0.0, 0, 0},    // both still
        {1.0, 0.0, 0, 1},    // pushed from the left
        {0.0, -1.0, 0, 1},   // pushed from the right
        {1.0, 2.0, 0, 0},    // both move right, the right one faster
        {2.0, 1.0, 0, 1},    // both right, the left one faster
        {1.0, 0.0, 1, 0},    // simple walls keep no pusher speeds
        {5e-9, 0.0, 0, 0},   // below the threshold
    };
    for (const Case& k : cases) {
        g_SystemData.OptSimpleWalls = k.simple;
        cTestChara c, left, right;
        left.m_dSpeedX = k.left;
        right.m_dSpeedX = k.right;
        c.ClearContacts();
        c.TouchLeft(left);
        EXPECT_EQ(c.IsCrushedX(), 0);
        c.TouchRight(right);
        EXPECT_EQ(c.IsCrushedX(), k.crushed) << k.left << " " << k.right;
        // The same on y.
        left.m_dSpeedY = k.left;
        right.m_dSpeedY = k.right;
        c.TouchTop(left);
        c.TouchBottom(right);
        EXPECT_EQ(c.IsCrushedY(), k.crushed);
        c.ClearContacts();
        EXPECT_EQ(c.IsCrushedX() + c.IsCrushedY(), 0);
    }
}

TEST_F(CharaStateTest, StandingOnABlockOrABlockChara) {
    MakeMap({{12, 14}});
    cTestChara c;
    Place(c, 384, 416);
    EXPECT_FALSE(c.IsStanding());
    c.m_nFootBlock = static_cast<int>(CellIndex(12, 14));
    EXPECT_TRUE(c.IsStanding());
    c.m_nFootBlock = static_cast<int>(CellIndex(13, 14));  // an empty cell
    EXPECT_FALSE(c.IsStanding());
    c.m_nFootBlock = 1 << 30;  // not a cell of the map
    EXPECT_FALSE(c.IsStanding());
    c.m_bOnBlockChara = 1;
    EXPECT_TRUE(c.IsStanding());
    c.m_dImpactY = 1;
    c.m_dSpeedY = 2;
    c.LeaveBlockChara(1);
    EXPECT_EQ(c.m_bOnBlockChara, 0);
    EXPECT_EQ(c.m_bPushed, 1);
    EXPECT_EQ(c.m_dSpeedY, 2.0);
    c.m_dImpactY = 0;
    c.LeaveBlockChara(0);
    EXPECT_EQ(c.m_dSpeedY, 0.0);
}

TEST_F(CharaStateTest, GravityWaitsForAnUpwardImpact) {
    cTestChara c;
    Place(c, 100, 100);
    c.m_dImpactY = -1;
    c.ApplyGravity();
    EXPECT_EQ(c.m_dSpeedY, 0.0);
    // The impact decays by one per sub-step (one sub-step per frame) and
    // crosses 0 to exactly 0.
    c.m_dImpactY = -0.5;
    c.m_dPrevImpactY = -0.5;
    c.DecayImpactY();
    EXPECT_EQ(c.m_dImpactY, 0.0);
    EXPECT_EQ(c.m_dPrevImpactY, 0.0);
    c.ApplyGravity();
    EXPECT_DOUBLE_EQ(c.m_dSpeedY, 0.4);
    // No gravity while flying, on a block chara or asked not to.
    for (int which = 0; which < 3; ++which) {
        cTestChara d;
        Place(d, 100, 100);
        (which == 0 ? d.m_bFlying : which == 1 ? d.m_bOnBlockChara : d.m_bNoGravity) = 1;
        d.ApplyGravity();
        EXPECT_EQ(d.m_dSpeedY, 0.0) << which;
    }
}

TEST_F(CharaStateTest, ImpactDecaysTowardsZero) {
    SetSubSteps(4);
    cTestChara c;
    struct Case {
        double from, to;
    } cases[] = {{1.0, 0.75}, {0.1, 0.0}, {-1.0, -0.75}, {-0.2, 0.0}, {0.0, 0.0}, {0.25, 0.0}};
    for (const Case& k : cases) {
        c.m_dImpactX = k.from;
        c.DecayImpactX();
        EXPECT_DOUBLE_EQ(c.m_dImpactX, k.to) << k.from;
        c.m_dImpactY = k.from;
        c.m_dPrevImpactY = 9;
        c.DecayImpactY();
        EXPECT_DOUBLE_EQ(c.m_dImpactY, k.to) << k.from;
    }
    c.m_dImpactY = 0.1;
    c.m_dPrevImpactY = 0.3;
    c.DecayImpactY();
    EXPECT_EQ(c.m_dPrevImpactY, 0.0);  // crossing clears the previous value too
}

TEST_F(CharaStateTest, StepImpactY) {
    MakeMap({{12, 14}});
    struct Case {
        const char* name;
        int flying, standing, keepPrev, force;
        double impact, prev, speed;
        double speedAfter, impactAfter;
    } cases[] = {
        {"walking, in the air", 0, 0, 0, 0, 2.0, 0.5, 1.0, 2.5, 2.0},
        {"walking, standing, down", 0, 1, 0, 0, 2.0, 0.5, 1.0, 1.0, 0.0},
        {"walking, standing, up", 0, 1, 0, 0, -2.0, 0.0, 0.0, -2.0, -2.0},
        {"keep previous", 0, 0, 1, 0, 2.0, 3.0, 1.0, 1.0, 2.0},
        {"keep previous, small gap", 0, 0, 1, 0, 2.0, 1.5, 1.0, 1.5, 2.0},
        {"keep previous, forced", 0, 0, 1, 1, 2.0, 3.0, 1.0, 0.0, 2.0},
        {"flying", 1, 0, 0, 0, 2.0, 0.5, 1.0, 3.0, 2.0},
        {"no impact", 0, 0, 0, 0, 0.0, 0.7, 1.0, 1.0, 0.0},
    };
    for (const Case& k : cases) {
        g_SystemData.OptImpactYKeepPrevious = k.keepPrev;
        g_SystemData.OptImpactYForce = k.force;
        cTestChara c;
        Place(c, 384, 416);
        c.m_bFlying = k.flying;
        c.m_nFootBlock = k.standing ? static_cast<int>(CellIndex(12, 14)) : 0;
        c.m_dImpactY = k.impact;
        c.m_dPrevImpactY = k.prev;
        c.m_dSpeedY = k.speed;
        c.StepImpactY();
        EXPECT_DOUBLE_EQ(c.m_dSpeedY, k.speedAfter) << k.name;
        EXPECT_DOUBLE_EQ(c.m_dImpactY, k.impactAfter) << k.name;
        EXPECT_DOUBLE_EQ(c.m_dPrevImpactY, k.impactAfter) << k.name;
    }
}

TEST_F(CharaStateTest, KeepBaseOnScale) {
    struct Case {
        int fromFeet, byBox, keep;
        double y;
    } cases[] = {
        {1, 1, 1, 200 - 24},      // base height
        {0, 0, 0, 200 - 24},      // base height
        {0, 0, 1, 200 - 32 + 8},  // draw height, draw offset
        {1, 0, 0, 200 - 32 + 8},
    };
    for (const Case& k : cases) {
        g_SystemData.OptScaleFromFeet = k.fromFeet;
        g_SystemData.OptScaleByCollisionBox = k.byBox;
        cTestChara c;
        c.Init(1, 1, 0, 1, 0, nullptr, 0, 4, 8, 24, 24, 32, 32, 1, 0, 0);
        c.m_dY = 200;
        c.KeepBaseOnScale(2, 1, k.keep);
        EXPECT_DOUBLE_EQ(c.m_dY, k.y);
        EXPECT_DOUBLE_EQ(c.m_dBottom, k.y + 23);
    }
}

TEST_F(CharaStateTest, CentringMovesTheScreenCentreAndStopsTheCommand) {
    cTestChara c;
    Place(c, 400, 300);
    c.m_nScrLeft = 100;
    c.m_nScrTop = 50;
    cFlowCmd cmd;
    cmd.m_dVelX = 2;
    cmd.m_dVelY = 3;
    c.SetCentreOnContact(130, 70, &cmd);
    EXPECT_DOUBLE_EQ(c.m_dX, 400 + 130 - 116);
    EXPECT_DOUBLE_EQ(c.m_dY, 300 + 70 - 66);
    EXPECT_DOUBLE_EQ(c.m_dRight, c.m_dX + 31);
    EXPECT_EQ(cmd.m_dVelX + cmd.m_dVelY, 0.0);
    cmd.m_dVelX = 1;
    c.SetCentreXOnContact(116, &cmd);
    EXPECT_EQ(cmd.m_dVelX, 0.0);
}

TEST_F(CharaStateTest, WarpCountsFromTheStageStart) {
    cTestChara c;
    Place(c, 0, 0);
    c.m_nDrawOffsetX = c.m_nBaseDrawOffsetX = 4;
    c.m_nDrawOffsetY = c.m_nBaseDrawOffsetY = 6;
    c.WarpToCellX(3);
    EXPECT_DOUBLE_EQ(c.m_dX, (10 + 3) * 32 + 4 + 0.5);
    c.WarpToCellY(2, 1);
    EXPECT_DOUBLE_EQ(c.m_dY, (10 + 2) * 32 + 6);
}

TEST_F(CharaStateTest, TargetSlotsAndSubjects) {
    cTestChara c;
    c.InitChara(nullptr, nullptr, 0);
    cTestChara a, b, d, e;
    cChara* slots[] = {&a, &b, &d, &e};
    // Stored slot numbers are indexes as they stand; subjects 1..4 are
    // index s - 1.
    for (int i = 0; i < 4; ++i) c.TargetSlot(i) = slots[i];
    struct Case {
        int subject;
        cChara* chara;
    } cases[] = {{1, &a}, {2, &b}, {3, &d}, {4, &e}};
    for (const Case& k : cases) EXPECT_EQ(c.TargetSlot(cChara::SubjectToSlot(k.subject)), k.chara);
    EXPECT_EQ(g_bQuit.load(), 0);
    c.TargetSlot(4);  // one past: reported
    EXPECT_EQ(g_bQuit.load(), 1);
}

TEST_F(CharaStateTest, SetTargetSlotKeepsTheLinks) {
    cTestChara c, a, b;
    c.InitChara(nullptr, nullptr, 0);
    EXPECT_EQ(c.SetTargetSlot(2, &a, 1), 1);
    EXPECT_EQ(a.m_vReferrers, (std::vector<CharaLink>{{&c, 2}}));
    EXPECT_EQ(c.SetTargetSlot(2, &a, 0), 1);  // appended once
    EXPECT_EQ(a.m_vReferrers.size(), 1u);
    EXPECT_EQ(c.SetTargetSlot(2, nullptr, 0), 1);  // null without clearing: nothing
    EXPECT_EQ(c.TargetSlot(2), &a);
    EXPECT_EQ(c.SetTargetSlot(2, &b, 0), 1);
    EXPECT_TRUE(a.m_vReferrers.empty());
    EXPECT_EQ(b.m_vReferrers, (std::vector<CharaLink>{{&c, 2}}));
    EXPECT_EQ(c.SetTargetSlot(2, nullptr, 1), 0);
    EXPECT_EQ(c.TargetSlot(2), nullptr);
    EXPECT_TRUE(b.m_vReferrers.empty());
}

TEST_F(CharaStateTest, LinkCharaMakesTheHeroTargetOne) {
    g_vPlayers.resize(1);
    cChara* hero = &g_vPlayers[0];
    cTestChara parent, c;
    parent.InitChara(nullptr, nullptr, 0);
    c.InitChara(nullptr, nullptr, 0);
    c.LinkChara(&parent);
    c.LinkChara(&parent);  // links are kept once
    EXPECT_EQ(c.TargetSlot(cChara::SubjectToSlot(1)), hero);
    EXPECT_EQ(hero->m_vReferrers, (std::vector<CharaLink>{{&c, 0}}));
    EXPECT_EQ(c.m_lpParent, &parent);
    EXPECT_EQ(parent.m_vReferrers, (std::vector<CharaLink>{{&c, 4}}));
    // Without a hero the slot stays empty.
    g_vPlayers.clear();
    cTestChara lone;
    lone.InitChara(nullptr, nullptr, 0);
    lone.LinkChara(nullptr);
    EXPECT_EQ(lone.TargetSlot(0), nullptr);
    EXPECT_EQ(lone.m_lpParent, nullptr);
}

}  // namespace
