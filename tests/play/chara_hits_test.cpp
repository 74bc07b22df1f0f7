// Hits on a chara: damage and impact tables, HP and SP with their gauges,
// knock-back, hit records, the hit events and unlinking.
#include "play/chara_hits.h"

#include <cmath>
#include <memory>
#include <tuple>

#include "engine/flow_trigger.h"
#include "play/effect.h"
#include "play/shot.h"
#include "tests/support/chara_fixture.h"
#include "tests/support/play_trace.h"

using charatest::cTestChara;

namespace {

class HitTest : public charatest::CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        m_saved = g_Stage;
    }
    void TearDown() override {
        g_Stage.m_nHitInterval0 = m_saved.m_nHitInterval0;
        g_Stage.m_nHitInterval1 = m_saved.m_nHitInterval1;
        g_Stage.m_nInvincible0 = m_saved.m_nInvincible0;
        g_Stage.m_nInvincible1 = m_saved.m_nInvincible1;
        g_lpHitEffectTrace = nullptr;
        CharaTest::TearDown();
    }
    cStage m_saved;
};

TEST_F(HitTest, CalcDamageTable) {
    struct Case {
        int defence, attack, percent, add, want;
    };
    const Case cases[] = {
        {10, 12, 50, 0, 6},  {10, 8, 50, 0, 4},   {10, 12, 0, 0, 2},  {10, 5, 0, 3, 3},    {10, 2, 0, 3, 2},
        {10, -5, 50, 0, -5}, {10, 0, 50, 0, 0},   {0, 12, 50, 0, 12}, {-5, 12, 50, 0, 17}, {10, 30, 50, 0, 20},
        {0, 2000000, 0, 0, 999999}, {10, 12, 50, -100, 2},
        {10, 999999, 100000, 0, 999999},  // a stored percentage whose product passes int32
    };
    for (const Case& k : cases) {
        cTestChara c;
        c.m_Def.m_nDefence = k.defence;
        g_SystemData.OptMinDamagePercent = k.percent;
        g_SystemData.OptMinDamageAdd = k.add;
        EXPECT_EQ(CalcDamage(c, k.attack), k.want) << k.defence << " " << k.attack << " " << k.percent << " " << k.add;
    }
}

TEST_F(HitTest, AdjustImpactTable) {
    struct Case {
        int resist, impact, percent, add, want;
    };
    const Case cases[] = {
        {0, 25, 0, 0, 20},  {0, -25, 0, 0, -20}, {5, -3, 0, 0, 0},  {5, -3, 50, 2, -3}, {5, -10, 50, 0, -5},
        {5, 3, 0, 0, 0},    {5, 3, 100, 0, 3},    {5, 10, 0, 0, 5},  {5, 8, 50, 0, 4},   {5, 8, 0, 30, 8},
        {-3, 5, 0, 0, 8},   {5, -8, 50, 0, -4},
    };
    for (const Case& k : cases) {
        cTestChara c;
        c.m_Def.m_nImpactResist = static_cast<int8_t>(k.resist);
        g_SystemData.OptMinImpactPercent = k.percent;
        g_SystemData.OptMinImpactAdd = k.add;
        EXPECT_EQ(AdjustImpact(c, k.impact), k.want) << k.resist << " " << k.impact << " " << k.percent << " " << k.add;
    }
}

TEST_F(HitTest, AddHpAndSpWithGauges) {
    cTestChara c;
    c.m_Def.m_nMaxHP = 100;
    c.m_nHP = 100;
    EXPECT_EQ(AddHP(c, 5, 0, 1), 0);  // full HP: nothing, no gauge
    EXPECT_EQ(c.m_nHP, 100);
    EXPECT_EQ(c.m_HPGauge.nTimer, 0);
    EXPECT_EQ(AddHP(c, -30, 0, 1), 0);
    EXPECT_EQ(c.m_nHP, 70);
    EXPECT_EQ(c.m_HPGauge.nTimer, 120);
    EXPECT_EQ(c.m_HPGauge.nPos, 35);
    EXPECT_DOUBLE_EQ(c.m_HPGauge.dStep, -15.0);
    EXPECT_DOUBLE_EQ(c.m_HPGauge.dPerFrame, -0.25);
    // The invincible byte (not the timer) refuses damage unless forced; a heal passes.
    c.m_Def.m_nInvincible = 1;
    EXPECT_EQ(AddHP(c, -30, 0, 1), 0);
    EXPECT_EQ(c.m_nHP, 70);
    AddHP(c, -CalcDamage(c, -5), 0, 1);
    EXPECT_EQ(c.m_nHP, 75);
    EXPECT_EQ(AddHP(c, -500, 1, 1), 1);
    EXPECT_EQ(c.m_nHP, 0);
    // Maximum 0: HP stays 0 and no gauge divides by it.
    c.m_Def.m_nMaxHP = 0;
    c.m_HPGauge = {};
    EXPECT_EQ(AddHP(c, 5, 0, 1), 1);
    StartHPGauge(c, 5);
    EXPECT_EQ(c.m_HPGauge.nTimer, 0);
    // SP: cut at the maximum, the gauge only with a maximum of 1 or more.
    c.m_Def.m_nMaxSP = 10;
    c.m_nSP = 8;
    AddSP(c, 5, 1);
    EXPECT_EQ(c.m_nSP, 10);
    EXPECT_EQ(c.m_SPGauge.nPos, 50);
    EXPECT_DOUBLE_EQ(c.m_SPGauge.dStep, 10.0);
    AddSP(c, -20, 1);
    EXPECT_EQ(c.m_nSP, 0);
    c.m_Def.m_nMaxSP = 0;
    c.m_nSP = 4;  // left above a maximum of 0
    c.m_SPGauge = {};
    AddSP(c, -1, 1);
    EXPECT_EQ(c.m_nSP, 0);
    EXPECT_EQ(c.m_SPGauge.nTimer, 0);
}

TEST_F(HitTest, ApplyImpactStopsOpposingSpeeds) {
    cTestChara c;
    c.m_dMoveSpeedX = 3;
    c.m_dMoveSpeedY = 1e-9;  // within the tolerance: kept
    c.m_dSpeedY = 2;
    int applied = 99;
    ApplyImpact(c, 0, -1, -1, applied);
    EXPECT_EQ(applied, 99);
    EXPECT_EQ(c.m_bKnockedBack, 0);
    ApplyImpact(c, 25, -1, -1, applied);
    EXPECT_EQ(applied, 20);
    EXPECT_LT(c.m_dImpactX, 0.0);
    EXPECT_EQ(c.m_dMoveSpeedX, 0.0);
    EXPECT_EQ(c.m_dMoveSpeedY, 1e-9);
    EXPECT_EQ(c.m_dSpeedY, 0.0);
    EXPECT_EQ(c.m_bKnockedBack, 1);
    // A walking attacker's slow fall pushes only sideways.
    cTestChara attacker;
    attacker.m_Def.m_nImpact = 2;
    attacker.m_dSpeedX = 1;
    attacker.m_dSpeedY = 0.5;
    cTestChara d;
    ImpactFromChara(d, attacker, applied);
    EXPECT_EQ(applied, 2);
    EXPECT_EQ(d.m_dImpactY, 0.0);
    EXPECT_GT(d.m_dImpactX, 0.0);
    attacker.m_bFlying = 1;
    ImpactFromChara(d, attacker, applied);
    EXPECT_GT(d.m_dImpactY, 0.0);
}

TEST_F(HitTest, HitRecordsCountSubSteps) {
    g_Stage.ApplySpeedLevel(g_Stage.m_nSpeedLevel);
    const int f = g_Stage.m_nSubSteps;
    g_Stage.m_nHitInterval1 = 3;
    g_Stage.m_nInvincible1 = 1;
    cTestChara c;
    c.m_nSide = 1;
    AddHitRecord(c, 7);
    EXPECT_EQ(c.m_nInvincibleTimer, f);
    EXPECT_TRUE(IsInvincible(c));
    for (int i = 0; i < f; ++i) {
        EXPECT_EQ(IsHitBlocked(c, 8), 1);
        StepHitTimers(c);
    }
    EXPECT_FALSE(IsInvincible(c));
    EXPECT_EQ(IsHitBlocked(c, 8), 0);  // another attacker: free
    for (int i = f; i < 3 * f; ++i) {
        EXPECT_EQ(IsHitBlocked(c, 7), 1) << i;
        StepHitTimers(c);
    }
    EXPECT_EQ(IsHitBlocked(c, 7), 0);
    EXPECT_TRUE(c.m_lstHitRecords.empty());
    EXPECT_EQ(c.m_nInvincibleTimer, 0);
}

// The order of a hit: HP is down before the hit effect is made, and the
// impact comes after it.
int g_hpAtEffect = -1;
double g_impactAtEffect = -1;
cChara* g_struck = nullptr;
std::vector<std::tuple<int, const double*, const double*, int>> g_effects;
void RecordEffect(int effect, const double* struckBox, const double* attackBox, int scale) {
    g_hpAtEffect = g_struck->m_nHP;
    g_impactAtEffect = g_struck->m_dImpactX;
    g_effects.emplace_back(effect, struckBox, attackBox, scale);
}

TEST_F(HitTest, TakeHitFromCharaInOrder) {
    g_lpHitEffectTrace = RecordEffect;
    cTestChara c, attacker;
    c.m_Def.m_nMaxHP = 20;
    c.m_nHP = 20;
    c.m_Def.m_nDefence = 2;
    attacker.m_Def.m_nAttack = 7;
    attacker.m_Def.m_nImpact = 3;
    attacker.m_Def.m_nHitEffect = 4;
    attacker.m_dSpeedX = 1;
    attacker.m_Def.m_nSize = 3;
    g_struck = &c;
    g_effects.clear();
    int32_t damage = -1;
    int impact = 0;
    EXPECT_EQ(TakeHitFromChara(c, attacker, damage, impact), 0);
    EXPECT_EQ(damage, 5);
    EXPECT_EQ(c.m_nHP, 15);
    EXPECT_EQ(g_hpAtEffect, 15);
    // Between both body boxes, at the attacker's size.
    ASSERT_EQ(g_effects.size(), 1u);
    EXPECT_EQ(g_effects[0], std::make_tuple(4, static_cast<const double*>(c.m_HitBox1.box),
                                            static_cast<const double*>(attacker.m_HitBox1.box), 3));
    EXPECT_EQ(g_impactAtEffect, 0.0);
    EXPECT_EQ(impact, 3);
    EXPECT_GT(c.m_dImpactX, 0.0);
    // An invincible definition reports no damage and keeps its HP; the effect still comes.
    c.m_Def.m_nInvincible = 2;
    g_hpAtEffect = -1;
    EXPECT_EQ(TakeHitFromChara(c, attacker, damage, impact), 0);
    EXPECT_EQ(damage, 0);
    EXPECT_EQ(c.m_nHP, 15);
    EXPECT_EQ(g_hpAtEffect, 15);
    c.m_Def.m_nInvincible = 0;
    attacker.m_Def.m_nAttack = 100;
    EXPECT_EQ(TakeHitFromChara(c, attacker, damage, impact), 1);
    EXPECT_EQ(c.m_nHP, 0);
}

// A shot hits like a chara with its power, effect, box and size; a sword
// pushes along its facing, a flying shot along its speed.
TEST_F(HitTest, TakeHitFromShot) {
    g_lpHitEffectTrace = RecordEffect;
    cTestChara c;
    c.m_Def.m_nMaxHP = 20;
    c.m_nHP = 20;
    c.m_Def.m_nDefence = 1;
    cShot shot;
    shot.m_EdShot.m_nPower = 5;
    shot.m_EdShot.m_nImpact = 2;
    shot.m_EdShot.m_nEffect = 7;
    shot.m_EdShot.m_nSize = 2;
    shot.m_bIsShot = 1;
    shot.m_dSpeedX = 0.0;
    shot.m_dSpeedY = -3.0;  // flying upwards
    shot.m_nFacing = 1;
    g_struck = &c;
    g_effects.clear();
    int32_t damage = -1;
    int impact = 0;
    EXPECT_EQ(TakeHitFromShot(c, shot, damage, impact), 0);
    EXPECT_EQ(damage, 4);
    EXPECT_EQ(c.m_nHP, 16);
    EXPECT_EQ(g_hpAtEffect, 16);
    EXPECT_EQ(g_impactAtEffect, 0.0);
    ASSERT_EQ(g_effects.size(), 1u);
    EXPECT_EQ(g_effects[0], std::make_tuple(7, static_cast<const double*>(c.m_HitBox1.box),
                                            static_cast<const double*>(shot.m_adHitBox), 2));
    EXPECT_EQ(impact, 2);
    EXPECT_EQ(c.m_dImpactX, 0.0);
    EXPECT_LT(c.m_dImpactY, 0.0);
    // A sword: along its facing (left here), whatever its speed.
    shot.m_bIsShot = 0;
    shot.m_nFacing = 0;
    shot.m_EdShot.m_nEffect = 0;
    c.m_dImpactX = c.m_dImpactY = 0.0;
    g_effects.clear();
    EXPECT_EQ(TakeHitFromShot(c, shot, damage, impact), 0);
    EXPECT_TRUE(g_effects.empty());
    EXPECT_LT(c.m_dImpactX, 0.0);
    EXPECT_EQ(c.m_dImpactY, 0.0);
    // A killing shot; a healing one (power <= 0) even on an invincible chara.
    shot.m_EdShot.m_nPower = 50;
    EXPECT_EQ(TakeHitFromShot(c, shot, damage, impact), 1);
    EXPECT_EQ(c.m_nHP, 0);
    c.m_nHP = 10;
    c.m_Def.m_nInvincible = 1;
    shot.m_EdShot.m_nPower = -3;
    EXPECT_EQ(TakeHitFromShot(c, shot, damage, impact), 0);
    EXPECT_EQ(damage, 0);
    EXPECT_EQ(c.m_nHP, 13);
}

std::vector<std::tuple<cChara*, int, cChara*, int>> g_fired;
void Record(cChara& c, int trigger, cChara* partner, int group) {
    g_fired.emplace_back(&c, trigger, partner, group);
}

TEST_F(HitTest, HitEventsOfPlainAttackerAndAttackPart) {
    testsupport::PlayTrace().trigger = Record;
    cTestChara struck, attacker, parent;
    attacker.m_Def.m_nAttack = 3;
    attacker.m_Def.m_nImpact = 1;
    using Ev = std::tuple<cChara*, int, cChara*, int>;
    g_fired.clear();
    FireHitEventsChara(struck, attacker, 0, 0);
    EXPECT_EQ(g_fired, (std::vector<Ev>{{&struck, 1, &attacker, 0}, {&struck, 3, &attacker, 0}}));
    g_fired.clear();
    FireHitEventsChara(struck, attacker, 1, 1);
    EXPECT_EQ(g_fired, (std::vector<Ev>{{&struck, 1, &attacker, 0},
                                        {&struck, 2, &attacker, 0},
                                        {&struck, 3, &attacker, 0},
                                        {&struck, 4, &attacker, 0}}));
    attacker.m_lpParent = &parent;
    attacker.m_bAttackPart = 1;
    attacker.m_nAttackGroup = 6;
    attacker.m_Def.m_nImpact = 0;
    g_fired.clear();
    FireHitEventsChara(struck, attacker, 5, 0);
    EXPECT_EQ(g_fired, (std::vector<Ev>{{&struck, 1, &parent, 0},
                                        {&struck, 2, &parent, 0},
                                        {&parent, 20, &struck, 6},
                                        {&parent, 21, &struck, 6}}));
    // A child that is no attack part is a plain attacker.
    attacker.m_bAttackPart = 0;
    attacker.m_Def.m_nAttack = 0;
    attacker.m_Def.m_nImpact = 2;
    g_fired.clear();
    FireHitEventsChara(struck, attacker, 5, 2);
    EXPECT_EQ(g_fired, (std::vector<Ev>{{&struck, 3, &attacker, 0}, {&struck, 4, &attacker, 0}}));
}

TEST_F(HitTest, HitEventsOfShots) {
    testsupport::PlayTrace().trigger = Record;
    using Ev = std::tuple<cChara*, int, cChara*, int>;
    cTestChara struck, owner;
    cShot shot;
    shot.m_EdShot.m_nPower = 4;
    shot.m_EdShot.m_nImpact = 2;
    shot.m_nReportGroup = 3;
    // Without an owner: the partner is null and nobody else hears.
    g_fired.clear();
    FireHitEventsShot(struck, shot, 1, 0);
    EXPECT_EQ(g_fired, (std::vector<Ev>{{&struck, 1, nullptr, 0}, {&struck, 2, nullptr, 0}, {&struck, 3, nullptr, 0}}));
    // With an owner but without the flag: the owner is only the partner.
    shot.m_lpOwner = &owner;
    g_fired.clear();
    FireHitEventsShot(struck, shot, 0, 2);
    EXPECT_EQ(g_fired, (std::vector<Ev>{{&struck, 1, &owner, 0}, {&struck, 3, &owner, 0}, {&struck, 4, &owner, 0}}));
    shot.m_bReportToOwner = 1;
    g_fired.clear();
    FireHitEventsShot(struck, shot, 2, 1);
    EXPECT_EQ(g_fired, (std::vector<Ev>{{&struck, 1, &owner, 0},
                                        {&struck, 2, &owner, 0},
                                        {&owner, 20, &struck, 3},
                                        {&owner, 21, &struck, 3},
                                        {&struck, 3, &owner, 0},
                                        {&struck, 4, &owner, 0},
                                        {&owner, 22, &struck, 3},
                                        {&owner, 23, &struck, 3}}));
}

// Four charas linked every way, and shots aiming at and fired by the one
// that goes: after Unlink nothing refers to it, and freeing it is safe.
TEST_F(HitTest, UnlinkLeavesNoReference) {
    g_vPlayers.resize(1);
    cChara* hero = Hero();
    auto gone = std::make_unique<cTestChara>();
    cTestChara parent, child, other;
    for (cChara* c : {static_cast<cChara*>(gone.get()), static_cast<cChara*>(&parent),
                      static_cast<cChara*>(&child), static_cast<cChara*>(&other)})
        c->m_vTargets.resize(kTargetSlots, nullptr);
    gone->LinkChara(&parent);
    child.LinkChara(gone.get());
    other.LinkChara(nullptr);
    other.SetTargetSlot(2, gone.get(), 1);
    other.SetTargetSlot(3, gone.get(), 1);
    gone->SetTargetSlot(1, &other, 1);
    cShot aim, fired;
    aim.m_lpTarget = gone.get();
    fired.m_lpOwner = gone.get();
    gone->m_vShotLinks = {{&aim, 0}, {&fired, 4}};
    Unlink(*gone);
    const cChara* g = gone.get();
    gone.reset();
    for (cChara* c : {hero, static_cast<cChara*>(&parent), static_cast<cChara*>(&child), static_cast<cChara*>(&other)}) {
        for (cChara* t : c->m_vTargets) EXPECT_NE(t, g);
        EXPECT_NE(c->m_lpParent, g);
        for (const CharaLink& l : c->m_vReferrers) EXPECT_NE(l.lpChara, g);
    }
    EXPECT_EQ(child.m_lpParent, nullptr);
    EXPECT_EQ(other.TargetSlot(0), hero);  // other links stay
    EXPECT_EQ(aim.m_lpTarget, nullptr);
    EXPECT_EQ(fired.m_lpOwner, nullptr);
}

}  // namespace
