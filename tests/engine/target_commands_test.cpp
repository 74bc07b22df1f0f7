// Target slots and the set-target command, status operation 2, vanishing
// charas and shots with their counts, and getting an item by command.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/checked_vector.h"
#include "engine/conditions.h"
#include "engine/formula.h"
#include "engine/param_op.h"
#include "engine/status_op.h"
#include "engine/target_commands.h"
#include "records/common_palette.h"
#include "tests/engine/command_world.h"

using namespace cmdtest;

namespace {

class TargetTest : public CommandWorld {
protected:
    void SetUp() override {
        CommandWorld::SetUp();
        m_self = &Add(1);
    }
    cTestChara* m_self = nullptr;
};

// ---------------------------------------------------------------------------
// Target slots

// Every number that names a slot reads the slot it should, on a fresh chara
// (the hero in slot 0) whose other slots hold one chara each.
TEST_F(TargetTest, EverySourceAddressesItsSlot) {
    cTestChara* in[kTargetSlots] = {nullptr, &Add(2), &Add(3), &Add(4)};
    for (int s = 1; s < kTargetSlots; ++s) m_self->SetTargetSlot(s, in[s], 1);
    const cChara* expect[kTargetSlots] = {&Hero(), in[1], in[2], in[3]};
    using Reader = std::function<const cChara*(int)>;  // n: 1..4 or slot 0..3 by the source
    struct Source {
        const char* name;
        bool oneBased;
        Reader read;
    };
    cTestChara& self = *m_self;
    const Source sources[] = {
        {"set target p1 = 7..10", false,
         [&](int slot) {
             DoSetTarget(self, Command(CMD_SET_TARGET, {{0, 3}, {1, 7 + slot}}));
             const cChara* c = self.TargetSlot(3);
             self.SetTargetSlot(3, in[3], 1);
             return c;
         }},
        {"status subject", true, [&](int n) { return SubjectChara(self, n); }},
        {"formula tgN", true,
         [&](int n) {
             self.TargetSlot(n - 1)->m_nHP = 40 + n;
             const int hp = EvalFormula("tg" + std::to_string(n) + ".hp", self);
             return hp == 40 + n ? self.TargetSlot(n - 1) : nullptr;
         }},
        {"status-2 subject", true,
         [&](int n) {
             cChara* c = self.TargetSlot(n - 1);
             c->m_Def.m_bTransparent = 0;
             DoStatusOp2(self, Command(CMD_STATUS_OP2, {{0, n}, {1, 1}, {2, 1}}));
             return c->m_Def.m_bTransparent ? c : nullptr;
         }},
    };
    for (const Source& s : sources)
        for (int slot = 0; slot < kTargetSlots; ++slot)
            EXPECT_EQ(s.read(s.oneBased ? slot + 1 : slot), expect[slot]) << s.name << " slot " << slot;
    // Set target p0 is the slot itself.
    for (int slot = 0; slot < kTargetSlots; ++slot) {
        DoSetTarget(self, Command(CMD_SET_TARGET, {{0, slot}, {1, 1}}));
        EXPECT_EQ(self.TargetSlot(slot), &self) << slot;
    }
    EXPECT_EQ(SubjectChara(self, 1), &self);  // replaced: no longer the hero
}

TEST_F(TargetTest, WhatSetTargetTakes) {
    cTestChara& parent = Add(2, nullptr, 1000, 300);
    cTestChara& near = Add(3, nullptr, 140, 100);
    cTestChara& far = Add(3, nullptr, 400, 100);
    cTestChara& other = Add(5, nullptr, 120, 100);
    m_self->m_lpParent = &parent;
    cTestChara& older = Add(4, m_self, 1000, 300);
    cTestChara& newer = Add(6, m_self, 1000, 300);
    m_self->SetTargetSlot(2, &far, 1);
    struct Case {
        const char* name;
        std::initializer_list<std::pair<int, int32_t>> params;
        const cChara* expect;
    };
    const Case cases[] = {
        {"first player", {{1, 0}}, &Hero()},
        {"itself", {{1, 1}}, m_self},
        {"nearest of group 3", {{1, 2}, {2, 3}}, &near},
        {"nearest of any group, not itself", {{1, 2}, {3, 1}, {5, 1}}, &other},
        {"first of group 3", {{1, 3}, {2, 3}}, &near},
        {"first of group 3 by chara variable", {{1, 3}, {2, 3}, {11, 1}, {12, 2}, {13, 7}}, &far},
        {"first of any group, not itself", {{1, 3}, {3, 1}, {5, 1}}, &Hero()},
        {"parent", {{1, 4}}, &parent},
        {"last child", {{1, 5}}, &newer},
        {"matching child of group 4", {{1, 6}, {2, 4}}, &older},
        {"matching child of any group", {{1, 6}, {3, 1}}, &newer},
        {"own slot 3", {{1, 9}}, &far},
        {"nothing for 11", {{1, 11}}, nullptr},
    };
    far.m_vVars.at(2) = 7;
    for (const Case& k : cases) {
        m_self->SetTargetSlot(1, nullptr, 1);
        auto params = std::vector<std::pair<int, int32_t>>(k.params);
        cEdFlowCmd cmd = Command(CMD_SET_TARGET, {{0, 1}});
        for (auto [i, v] : params) cmd.m_vecParam.at(static_cast<size_t>(i)) = v;
        DoSetTarget(*m_self, cmd);
        EXPECT_EQ(m_self->TargetSlot(1), k.expect) << k.name;
    }
}

TEST_F(TargetTest, WriteModesLinksAndResults) {
    cTestChara& a = Add(2);
    auto links = [](const cChara& c, const cChara& holder, int slot) {
        int n = 0;
        for (const CharaLink& l : c.m_vReferrers) n += l.lpChara == &holder && l.nKind == slot;
        return n;
    };
    // Mode 0 sets the slot and the link on the target; the old one goes.
    DoSetTarget(*m_self, Command(CMD_SET_TARGET, {{0, 0}, {1, 5}, {16, 1}}));  // no child yet: cleared
    EXPECT_EQ(m_self->TargetSlot(0), nullptr);
    EXPECT_EQ(links(Hero(), *m_self, 0), 0);
    EXPECT_EQ(m_vars[0], 2);
    EXPECT_EQ(m_vars[1], 1);
    m_self->SetTargetSlot(2, &a, 1);
    DoSetTarget(*m_self, Command(CMD_SET_TARGET, {{0, 0}, {1, 9}, {16, 1}}));
    EXPECT_EQ(m_self->TargetSlot(0), &a);
    EXPECT_EQ(links(a, *m_self, 0), 1);
    EXPECT_EQ(m_vars[0], 1);
    EXPECT_EQ(m_vars[1], 1);
    // The same occupant again: word 1 = 2; the link is kept once.
    DoSetTarget(*m_self, Command(CMD_SET_TARGET, {{0, 0}, {1, 9}, {16, 1}}));
    EXPECT_EQ(links(a, *m_self, 0), 1);
    EXPECT_EQ(m_vars[0], 1);
    EXPECT_EQ(m_vars[1], 2);
    // Mode 1 without a candidate and mode 2 leave the slot.
    DoSetTarget(*m_self, Command(CMD_SET_TARGET, {{0, 0}, {1, 4}, {15, 1}, {16, 1}}));
    EXPECT_EQ(m_self->TargetSlot(0), &a);
    DoSetTarget(*m_self, Command(CMD_SET_TARGET, {{0, 0}, {1, 0}, {15, 2}}));
    EXPECT_EQ(m_self->TargetSlot(0), &a);
    // Without p16 nothing is written, with or without the version-980 switch.
    g_SystemData.m_bCompat981 = 1;
    m_vars[0] = m_vars[1] = 9;
    DoSetTarget(*m_self, Command(CMD_SET_TARGET, {{0, 0}, {1, 0}}));
    EXPECT_EQ(m_vars[0], 9);
    EXPECT_EQ(m_self->TargetSlot(0), &Hero());
}

// ---------------------------------------------------------------------------
// Status operation 2

TEST_F(TargetTest, StatusOp2Items) {
    cTestChara& other = Add(2);
    m_self->SetTargetSlot(1, &other, 1);
    auto run = [&](int subject, int item, int value) {
        m_vars[0] = m_vars[1] = 7;
        DoStatusOp2(*m_self, Command(CMD_STATUS_OP2, {{0, subject}, {1, item}, {2, value}, {5, 1}}));
        return m_vars[0];
    };
    struct Case {
        int subject, item, value;
        std::function<int()> field;
        int expect;
    };
    const Case cases[] = {
        {0, 1, 1, [&] { return m_self->m_Def.m_bTransparent; }, 1},
        {2, 2, 0, [&] { return other.m_Def.m_bFixedFacing; }, 0},
        {2, 4, 2, [&] { return other.m_Def.m_nInvincible; }, 2},
        {7, 4, 1, [&] { return m_self->m_Def.m_nInvincible; }, 1},  // outside 1..5: itself
        {0, 6, 1, [&] { return m_self->m_Def.m_bSyncAutoScroll + m_self->m_bFollowScroll; }, 2},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(run(k.subject, k.item, k.value), 1) << k.item;
        EXPECT_EQ(k.field(), k.expect) << k.item;
        EXPECT_EQ(m_vars[1], 7) << "word 1 untouched";
    }
    // Flying for a computer chara: nothing, result 2.
    m_self->m_bFlying = 0;
    EXPECT_EQ(run(0, 3, 1), 2);
    EXPECT_EQ(m_self->m_bFlying, 0);
    // An empty slot: 2; the version-980 switch zeroes word 1.
    g_SystemData.m_bCompat981 = 1;
    EXPECT_EQ(run(3, 1, 1), 2);
    EXPECT_EQ(m_vars[1], 0);
    // Vanish: another chara flags the scene; a player loses its HP.
    m_scene.m_bDeathPending = 0;
    run(0, 0, 0);
    EXPECT_EQ(m_self->m_bDiesNow, 1);
    EXPECT_EQ(m_scene.m_bDeathPending, 0);
    run(2, 0, 0);
    EXPECT_EQ(other.m_bDiesNow, 1);
    EXPECT_EQ(m_scene.m_bDeathPending, 1);
    run(1, 0, 0);
    EXPECT_EQ(Hero().m_nHP, 0);
    EXPECT_EQ(Hero().m_bDiesNow, 0);
    // The system: the automatic scroll speeds.
    g_Stage.m_bAutoScrollX = 1;
    EXPECT_EQ(run(5, 0, 30), 1);
    EXPECT_EQ(g_Stage.m_nAutoScrollSpeedX, 30);
    EXPECT_EQ(m_scene.m_ScrollX.m_bAutoOn, 1);
    EXPECT_EQ(run(5, 1, -20), 1);
    EXPECT_EQ(g_Stage.m_nAutoScrollSpeedY, -20);
}

TEST_F(TargetTest, StatusOp2GiantSize) {
    struct Case {
        int fromFeet, from, to, timer;
    };
    const Case cases[] = {{0, 1, 2, 2}, {0, 2, 2, 0}, {1, 1, 2, 0}};
    for (const Case& k : cases) {
        g_SystemData.OptScaleFromFeet = k.fromFeet;
        m_self->m_nMoveTypeCounter = 0;
        m_self->m_Def.m_nSize = static_cast<int8_t>(k.from);
        m_self->m_nBaseWidth = 32;
        m_self->m_nWidth = 32 * k.from;
        DoStatusOp2(*m_self, Command(CMD_STATUS_OP2, {{1, 5}, {2, k.to}}));
        EXPECT_EQ(m_self->m_Def.m_nSize, k.to);
        EXPECT_EQ(m_self->m_nMoveTypeCounter, k.timer) << k.fromFeet << k.from << k.to;
        EXPECT_EQ(m_self->m_nWidth, 32 * k.to);
    }
}

// ---------------------------------------------------------------------------
// Vanish

TEST_F(TargetTest, VanishModesOverAFamilyTree) {
    struct Case {
        int mode;
        bool children, grandChild, ownShot, childShot;  // what goes
    };
    const Case cases[] = {
        {2, true, true, false, false},
        {3, false, false, true, false},
        {4, true, true, true, true},
        {5, true, true, false, true},
    };
    for (const Case& k : cases) {
        // The shots go first: they drop their links from their owners.
        m_scene.m_lstShots.clear();
        for (auto& g : m_scene.m_vShotGroups) g.clear();
        m_charas.resize(1);
        for (auto& g : m_scene.m_vCharaGroups) g.clear();
        m_scene.m_vCharaGroups.at(1).push_back(m_self);
        m_self->m_vReferrers.clear();
        m_self->m_vShotLinks.clear();
        cTestChara& child = Add(2, m_self);
        cTestChara& grand = Add(2, &child);
        cTestChara& idle = Add(2, m_self);
        idle.m_bActive = 0;
        const cShot& own = AddShot(0, m_self);
        const cShot& childShot = AddShot(1, &child);
        const cShot& grandShot = AddShot(1, &grand);
        UpdateActiveStates(m_scene);
        m_scene.m_bDeathPending = 0;
        DoVanish(*m_self, Command(CMD_VANISH, {{0, k.mode}, {3, 1}}));
        EXPECT_EQ(child.m_bDiesNow, k.children) << k.mode;
        EXPECT_EQ(grand.m_bDiesNow, k.grandChild) << k.mode;
        EXPECT_EQ(idle.m_bDiesNow, 0) << k.mode;
        EXPECT_EQ(m_self->m_bDiesNow, 0) << k.mode;
        EXPECT_EQ(m_scene.m_bDeathPending, k.children) << k.mode;
        EXPECT_EQ(!HasShot(own), k.ownShot) << k.mode;
        EXPECT_EQ(!HasShot(childShot), k.childShot) << k.mode;
        EXPECT_EQ(!HasShot(grandShot), k.childShot) << k.mode;
        // The counts of what disappeared.
        EXPECT_EQ(m_vars[0], k.children ? 2 : 0) << k.mode;
        EXPECT_EQ(m_vars[1], (k.ownShot ? 1 : 0) + (k.childShot ? 2 : 0)) << k.mode;
    }
}

TEST_F(TargetTest, VanishByGroupAndTheHitPass) {
    cTestChara& near = Add(3);
    cTestChara& away = Add(3, nullptr, 5000, 100);
    near.m_bInView = 1;
    Hero().m_dX = 5000;  // not in group 3
    DoVanish(*m_self, Command(CMD_VANISH, {{0, 0}, {1, 3}}));
    EXPECT_EQ(near.m_bDiesNow, near.IsOnScreen() ? 1 : 0);
    EXPECT_FALSE(away.IsOnScreen());
    EXPECT_EQ(away.m_bDiesNow, 0);
    DoVanish(*m_self, Command(CMD_VANISH, {{0, 0}, {1, 3}, {2, 1}}));
    EXPECT_EQ(near.m_bDiesNow + away.m_bDiesNow, 2);
    // A player in the group is not removed: its HP goes.
    m_scene.m_vCharaGroups.at(3).push_back(&Hero());
    DoVanish(*m_self, Command(CMD_VANISH, {{0, 0}, {1, 3}, {2, 1}}));
    EXPECT_EQ(Hero().m_nHP, 0);
    // Shots of a group: flagged while the hit pass walks them, else gone.
    cShot& a = AddShot(2, nullptr);
    cShot& b = AddShot(2, m_self);
    UpdateActiveStates(m_scene);
    m_scene.m_bInHitPass = 1;
    DoVanish(*m_self, Command(CMD_VANISH, {{0, 1}, {1, 2}, {2, 1}, {3, 1}}));
    EXPECT_EQ(a.m_bFinished + b.m_bFinished, 2);
    EXPECT_EQ(m_scene.m_lstShots.size(), 2u);
    EXPECT_EQ(m_vars[1], 2);  // finished shots no longer count
    m_scene.m_bInHitPass = 0;
    a.m_bFinished = b.m_bFinished = 0;
    DoVanish(*m_self, Command(CMD_VANISH, {{0, 1}, {1, 2}, {2, 1}}));
    EXPECT_TRUE(m_scene.m_lstShots.empty());
    EXPECT_TRUE(m_self->m_vShotLinks.empty());
    EXPECT_TRUE(m_scene.m_vShotGroups.at(2).empty());
}

// Shots take part once the activity pass has marked them: vanish mode 1
// then removes the group's shots on screen, and with p2 those off it too.
TEST_F(TargetTest, VanishModeOneRemovesShotsMarkedByTheActivityPass) {
    cShot& seen = AddShot(2, m_self);
    cShot& away = AddShot(2, nullptr);
    away.m_dX = away.m_dRight = 5000;
    DoVanish(*m_self, Command(CMD_VANISH, {{0, 1}, {1, 2}, {2, 1}}));
    EXPECT_EQ(m_scene.m_lstShots.size(), 2u) << "no shot is active before the pass";
    UpdateActiveStates(m_scene);
    EXPECT_EQ(seen.m_bActive + seen.m_bInView, 2);
    EXPECT_EQ(away.m_bActive, 1);
    EXPECT_EQ(away.m_bInView, 0);
    DoVanish(*m_self, Command(CMD_VANISH, {{0, 1}, {1, 2}}));
    EXPECT_FALSE(HasShot(seen));
    EXPECT_TRUE(HasShot(away));
    DoVanish(*m_self, Command(CMD_VANISH, {{0, 1}, {1, 2}, {2, 1}}));
    EXPECT_TRUE(m_scene.m_lstShots.empty());
}

// A chara that is its own grandchild: the walk stops at the depth limit.
TEST_F(TargetTest, VanishOfACycleStops) {
    cTestChara& a = Add(2, m_self);
    cTestChara& b = Add(2, &a);
    a.m_vReferrers.push_back(CharaLink{m_self, 4});
    m_self->m_vReferrers.push_back(CharaLink{&b, 4});
    DoVanish(*m_self, Command(CMD_VANISH, {{0, 2}}));
    EXPECT_EQ(a.m_bDiesNow + b.m_bDiesNow + m_self->m_bDiesNow, 3);
}

TEST_F(TargetTest, LiveCounts) {
    cTestChara& gone = Add(2);
    cTestChara& dead = Add(2);
    cTestChara& hidden = Add(2);
    gone.m_bDiesNow = 1;
    dead.m_nHP = 0;
    hidden.m_Def.m_vecCond.resize(1);  // an appearance condition that never holds
    hidden.m_Def.m_vecCond[0].m_nKind = COND_NONE;
    EXPECT_EQ(CountLiveCharas(), 2);  // the hero and self
    AddShot(0, nullptr);
    AddShot(3, nullptr).m_bFinished = 1;
    EXPECT_EQ(CountLiveShots(), 1);
}

}  // namespace
