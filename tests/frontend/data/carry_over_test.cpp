// Carry-over: the hero's values stored at a clear and put back at the next
// stage's set-up, item by item as the game's flags say.
#include <gtest/gtest.h>

#include <functional>

#include "frontend/data/carry_over.h"
#include "frontend/data/game_progress.h"
#include "records/ed_chara.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

// A hero whose every carried member differs from a fresh definition.
cEdChara FixtureHero() {
    cEdChara h;
    h.m_nGraphicKind = 4;
    h.m_nGraphic = 12;
    h.m_nGraphicCell = 3;
    h.m_nAnimeSet = 6;
    h.m_nZ = 7;
    h.m_bTransparent = 1;
    h.m_nVanishEffect = 9;
    h.m_nVanishEffectA = -2;
    h.m_bBadge = 1;
    h.m_nBadge = 44;
    h.m_bFixedFacing = 0;
    h.m_nMoveType = 2;
    h.m_nInvincible = 1;
    h.m_nInvincibleBlend = 3;
    h.m_nSize = 4;
    h.m_bSyncAutoScroll = 1;
    h.m_nLightShape = 2;
    h.m_nViewRange = 15;
    h.m_nMaxHP = 300;
    h.m_nMaxSP = 40;
    h.m_nHitRange = 3;
    h.m_nAttack = 25;
    h.m_nImpact = -5;
    h.m_nHitEffect = 8;
    h.m_nDefence = 17;
    h.m_nImpactResist = 6;
    h.m_nFriction = 150;
    h.m_nGroup = 0;
    h.m_nCharaId = 42;
    h.m_nScore = 999;
    h.m_vecFlow.resize(2);
    h.m_vecFlow[1].m_nId = 5;
    return h;
}

struct Check {
    int item;
    std::function<bool(const cEdChara&, const cStage&, const cGameProgress&)> carried;
};

// Each item's members, seen on the placed hero (or the stage, the progress).
const std::vector<Check>& Checks() {
    static const std::vector<Check> checks = {
        {0, [](auto& c, auto&, auto&) { return c.m_nGraphicKind == 4 && c.m_nGraphic == 12 && c.m_nGraphicCell == 3; }},
        {1, [](auto& c, auto&, auto&) { return c.m_nAnimeSet == 6; }},
        {2, [](auto& c, auto&, auto&) { return c.m_nZ == 7 && c.m_bTransparent == 1; }},
        {3, [](auto& c, auto&, auto&) { return c.m_nVanishEffect == 9 && c.m_nVanishEffectA == -2; }},
        {4, [](auto& c, auto&, auto&) { return c.m_nCharaEffect == 21 && c.m_nCharaEffectB == 255 && c.m_nCharaEffectA == -3; }},
        {5, [](auto& c, auto&, auto&) { return c.m_bBadge == 1 && c.m_nBadge == 44; }},
        {6, [](auto& c, auto&, auto&) { return c.m_bFixedFacing == 0 && c.m_nMoveType == 2; }},
        {7, [](auto& c, auto&, auto&) { return c.m_nInvincible == 1 && c.m_nInvincibleBlend == 3; }},
        {8, [](auto& c, auto&, auto&) { return c.m_nSize == 4; }},
        {9, [](auto& c, auto&, auto&) { return c.m_bSyncAutoScroll == 1; }},
        {10, [](auto& c, auto&, auto&) { return c.m_nLightShape == 2 && c.m_nViewRange == 15; }},
        {13, [](auto& c, auto&, auto&) { return c.m_nMaxHP == 300 && c.m_nMaxSP == 40; }},
        {14, [](auto& c, auto&, auto&) { return c.m_nHitRange == 3; }},
        {15, [](auto& c, auto&, auto&) { return c.m_nAttack == 25 && c.m_nImpact == -5 && c.m_nHitEffect == 8; }},
        {16, [](auto& c, auto&, auto&) { return c.m_nDefence == 17; }},
        {17, [](auto& c, auto&, auto&) { return c.m_nImpactResist == 6; }},
        {18, [](auto& c, auto&, auto&) { return c.m_nFriction == 150; }},
        {19, [](auto& c, auto&, auto&) { return c.m_nGroup == 0 && c.m_nCharaId == 42; }},
        {20, [](auto& c, auto&, auto&) { return c.m_nScore == 999; }},
        {21, [](auto& c, auto&, auto&) { return c.m_vecFlow.size() == 2 && c.m_vecFlow[1].m_nId == 5; }},
        {22, [](auto&, auto& s, auto&) { return s.m_nTimeLimit == 88; }},
        {23, [](auto&, auto&, auto& p) { return p.m_nLives == 6; }},
        {24, [](auto&, auto& s, auto&) { return s.m_bKeepBgm == 1; }},
    };
    return checks;
}

class CarryOverTest : public ::testing::Test {
protected:
    void SetUp() override { m_saved = g_SystemData.m_vecCarryOver; }
    void TearDown() override { g_SystemData.m_vecCarryOver = m_saved; }
    static void SetFlags(std::initializer_list<int> on) {
        g_SystemData.m_vecCarryOver.assign(kCarryItemCount, 0);
        for (int i : on) g_SystemData.m_vecCarryOver[static_cast<size_t>(i)] = 1;
    }
    static void Store(cGameProgress& p, const cEdChara& hero) {
        StoreCarryOver(p, 0, hero, 250, 35, 21, 400, -3, 88, 6, 1);
    }
    cCheckedVector<uint8_t> m_saved;
};

TEST_F(CarryOverTest, EveryItemStoredAndAppliedAlone) {
    const cEdChara hero = FixtureHero();
    for (int item = 0; item < kCarryItemCount; ++item) {
        SCOPED_TRACE(item);
        SetFlags({item});
        cGameProgress p;
        Store(p, hero);
        EXPECT_EQ(p.m_bCarried, 1);
        for (int i = 0; i < kCarryItemCount; ++i) EXPECT_EQ(p.m_vecCarriedItem.at(i), i == item ? 1 : 0) << i;
        cEdChara placed;
        cStage stage;
        stage.m_nTimeLimit = 200;
        p.m_nLives = 3;
        ApplyCarryOver(p, 0, placed, stage);
        int32_t hp = -1, sp = -1;
        GetCarriedCounters(p, 0, hp, sp);
        EXPECT_EQ(hp, item == 11 ? 250 : -1);
        EXPECT_EQ(sp, item == 12 ? 35 : -1);
        for (const Check& c : Checks()) EXPECT_EQ(c.carried(placed, stage, p), c.item == item) << "item " << c.item;
    }
}

TEST_F(CarryOverTest, AllItemsTogetherAndNothingUnlessCarried) {
    SetFlags({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24});
    cGameProgress p;
    cEdChara placed;
    cStage stage;
    ApplyCarryOver(p, 0, placed, stage);  // nothing stored yet
    for (const Check& c : Checks()) EXPECT_FALSE(c.carried(placed, stage, p)) << c.item;

    Store(p, FixtureHero());
    ApplyCarryOver(p, 0, placed, stage);
    for (const Check& c : Checks()) EXPECT_TRUE(c.carried(placed, stage, p)) << c.item;

    // The flags of the progress decide at the set-up, not the game's.
    SetFlags({});
    cEdChara again;
    cStage stage2;
    ApplyCarryOver(p, 0, again, stage2);
    EXPECT_EQ(again.m_nMaxHP, 300);
}

TEST_F(CarryOverTest, AStoredGraphicZeroComesBackAsOne) {
    SetFlags({0, 1});
    cEdChara hero = FixtureHero();
    hero.m_nGraphic = 0;
    cGameProgress p;
    Store(p, hero);
    cEdChara placed;
    placed.m_nGraphic = 30;
    placed.m_nAnimeSet = 6;
    cStage stage;
    ApplyCarryOver(p, 0, placed, stage);
    EXPECT_EQ(placed.m_nGraphic, 1);
    EXPECT_EQ(placed.m_nAnimeSet, 6);
}

}  // namespace
