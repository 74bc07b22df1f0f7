// A chara's death (events, death update, score, carried item, the stage
// ending first), the kill of each side, and removing a chara from every
// link and list while the others keep theirs.
#include "play/chara_removal.h"

#include "play/chara_effect.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/flow_trigger.h"
#include "frontend/data/game_progress.h"
#include "play/chara_hits.h"
#include "play/shot.h"
#include "tests/support/item_cmd_trace.h"
#include "tests/support/chara_fixture.h"
#include "tests/support/play_trace.h"

namespace {

std::vector<std::string> g_trace;
const cEdFlowCmd* g_givenCmd = nullptr;
cChara* g_givenTo = nullptr;
int g_giveResult = 0;

// The death update is seen by the move-type counter it counts down: each
// trace first notes an update that happened since the last one.
cChara* g_dying = nullptr;
int g_lastCounter = 0;
void NoteUpdate() {
    if (g_dying && g_dying->m_nMoveTypeCounter != g_lastCounter) {
        g_trace.push_back("update");
        g_lastCounter = g_dying->m_nMoveTypeCounter;
    }
}

void TraceTrigger(cChara&, int trigger, cChara*, int) {
    NoteUpdate();
    g_trace.push_back("event " + std::to_string(trigger));
}
// The carried item's command, run on the chara it was given to.
int TraceGive(cChara& chara, cEdFlowCmd& cmd) {
    NoteUpdate();
    g_trace.push_back("give");
    g_givenCmd = &cmd;
    g_givenTo = &chara;
    return g_giveResult;
}

class RemovalTest : public charatest::CharaTest {
protected:
    std::unique_ptr<ItemCmdTrace> m_items;
    void SetUp() override {
        CharaTest::SetUp();
        m_savedScore = g_Progress.m_nScore;
        testsupport::PlayTrace().trigger = TraceTrigger;
        m_items = std::make_unique<ItemCmdTrace>(TraceGive);
        for (auto& slots : g_vCharaEffectSlots) slots.assign(4, cCharaEffect{});
        g_trace.clear();
        g_dying = nullptr;
        g_giveResult = 0;
        g_givenCmd = nullptr;
        g_givenTo = nullptr;
        g_vPlayers.resize(1);
        g_vPlayers[0].m_nHP = 10;  // an item given does not find the hero dead
        g_lstCharas.clear();
    }
    void TearDown() override {
        g_lstCharas.clear();
        g_Progress.m_nScore = m_savedScore;
        for (auto& slots : g_vCharaEffectSlots) slots.clear();
        CharaTest::TearDown();
    }
    // A computer chara of group `group` in the stage's list and its group list.
    cCharaComputer& Add(int key, int group) {
        cEdChara def;
        def.m_nGroup = static_cast<int8_t>(group);
        g_lstCharas.emplace_back();
        cCharaComputer& c = g_lstCharas.back();
        cEdItem carried;
        carried.m_nGraphic = 1;
        carried.m_bPickupWindow = 0;
        carried.m_vecCmd = {cEdFlowCmd()};
        cItem item;
        item.InitItem(0, carried, 1);
        c.InitComputer(key, def, &item, nullptr, 0);
        c.LinkChara(nullptr);
        m_scene.m_vCharaGroups.at(group).push_back(&c);
        c.m_nMoveTypeCounter = 5;
        g_dying = &c;
        g_lastCounter = 5;
        return c;
    }
    int32_t m_savedScore = 0;
};

TEST_F(RemovalTest, DieInOrderWithScoreAndItem) {
    cCharaComputer& c = Add(5, 1);
    c.m_Def.m_nScore = 40;
    c.m_Def.m_nVanishEffect = 3;
    c.m_Def.m_nVanishEffectA = -2;
    g_Progress.m_nScore = 999980;
    EXPECT_EQ(Die(c), PlayResult::Continue);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"event 5", "update", "give"}));
    // The death effect runs in the definition's mode, not repeated.
    EXPECT_EQ(c.m_nCharaEffect, 3);
    EXPECT_EQ(c.m_Effect.m_nMode, -2);
    EXPECT_EQ(c.m_Effect.m_bRepeat, 0);
    EXPECT_EQ(g_Progress.m_nScore, 999999);
    EXPECT_EQ(g_givenCmd, &c.m_CarriedItem.m_Def.m_vecCmd.at(0));
    EXPECT_EQ(g_givenTo, Hero());
    EXPECT_EQ(c.m_bDead, 1);
    EXPECT_EQ(c.TargetSlot(0), nullptr);  // unlinked
    EXPECT_TRUE(Hero()->m_vReferrers.empty());
    // A negative score stops at 0; an item ending in a miss does not stop the death.
    cCharaComputer& d = Add(6, 1);
    d.m_Def.m_nScore = -50;
    g_Progress.m_nScore = 20;
    g_giveResult = 2;
    EXPECT_EQ(Die(d), PlayResult::Continue);
    EXPECT_EQ(g_Progress.m_nScore, 0);
    EXPECT_EQ(d.m_bDead, 1);
}

// The stage ends with the death: the chara stays linked and alive.
TEST_F(RemovalTest, DieThatClearsTheStage) {
    for (int stageRequest : {0, 1}) {
        SCOPED_TRACE(stageRequest);
        cCharaComputer& c = Add(7 + stageRequest, 1);
        c.m_Def.m_nScore = 10;
        g_Progress.m_nScore = 0;
        g_giveResult = stageRequest ? 0 : 1;  // the item clears the stage, or a clear was already asked
        m_scene.m_nStageEndRequest = stageRequest;
        g_trace.clear();
        EXPECT_EQ(Die(c), PlayResult::StageClear);
        EXPECT_EQ(g_trace, (std::vector<std::string>{"event 5", "update", "give"}));
        EXPECT_EQ(g_Progress.m_nScore, 10);
        EXPECT_EQ(c.m_bDead, 0);
        EXPECT_EQ(c.TargetSlot(0), Hero());
    }
    // A miss request does not end the stage here.
    cCharaComputer& c = Add(9, 1);
    m_scene.m_nStageEndRequest = 2;
    EXPECT_EQ(Die(c), PlayResult::Continue);
    EXPECT_EQ(c.m_bDead, 1);
}

TEST_F(RemovalTest, KillCharaBySide) {
    cCharaComputer& ally = Add(10, 0);
    ally.m_nSide = 0;
    EXPECT_EQ(KillChara(ally), PlayResult::Miss);  // the hero's miss; nothing dies here
    EXPECT_TRUE(g_trace.empty());
    EXPECT_EQ(ally.m_bDead, 0);
    cCharaComputer& enemy = Add(11, 1);
    EXPECT_EQ(KillChara(enemy), PlayResult::Continue);
    EXPECT_EQ(enemy.m_bDead, 1);
    g_trace.clear();
    EXPECT_EQ(KillChara(enemy), PlayResult::Continue);  // already dead: nothing again
    EXPECT_TRUE(g_trace.empty());
    cCharaComputer& carrier = Add(12, 2);
    g_giveResult = 1;
    EXPECT_EQ(KillChara(carrier), PlayResult::StageClear);
}

// Four charas linked every way (targets both ways, parent and child, the
// hero's slot) and shots aiming at and fired by the one that goes: after
// RemoveChara no list, link or shot refers to it, the others keep theirs,
// and the freed chara is never touched again (ASan).
TEST_F(RemovalTest, RemoveCharaLeavesNoReference) {
    cChara* hero = Hero();
    hero->m_vTargets.resize(kTargetSlots, nullptr);
    m_scene.m_vCharaGroups.at(0).push_back(hero);
    cCharaComputer& parent = Add(20, 1);
    cCharaComputer& gone = Add(21, 2);
    cCharaComputer& child = Add(22, 2);
    cCharaComputer& other = Add(23, 3);
    gone.LinkChara(&parent);
    child.LinkChara(&gone);
    other.SetTargetSlot(1, &gone, 1);
    other.SetTargetSlot(3, &gone, 1);
    gone.SetTargetSlot(2, &other, 1);
    hero->SetTargetSlot(1, &gone, 1);
    cShot aim, fired;
    aim.m_lpTarget = &gone;
    fired.m_lpOwner = &gone;
    gone.m_vShotLinks = {{&aim, 0}, {&fired, 4}};
    const cChara* g = &gone;
    auto node = std::find_if(g_lstCharas.begin(), g_lstCharas.end(), [&](const cCharaComputer& c) { return &c == g; });
    auto next = RemoveChara(g_lstCharas, node);
    EXPECT_EQ(&*next, &child);
    EXPECT_EQ(g_lstCharas.size(), 3u);
    // Every link left is followed: one to the freed chara would trip ASan.
    int keys = 0;
    auto follow = [&](const cChara* c) {
        EXPECT_NE(c, g);
        if (c) keys += c->m_nKey;
    };
    std::vector<cChara*> rest = {hero, &parent, &child, &other};
    for (cChara* c : rest) {
        for (cChara* t : c->m_vTargets) follow(t);
        follow(c->m_lpParent);
        for (const CharaLink& l : c->m_vReferrers) follow(l.lpChara);
    }
    for (const auto& group : m_scene.m_vCharaGroups)
        for (const cChara* c : group) follow(c);
    EXPECT_GT(keys, 0);
    EXPECT_EQ(m_scene.m_vCharaGroups.at(2).size(), 1u);  // the child stays listed
    EXPECT_EQ(aim.m_lpTarget, nullptr);
    EXPECT_EQ(fired.m_lpOwner, nullptr);
    EXPECT_EQ(child.m_lpParent, nullptr);
    // The links among the others stay.
    EXPECT_EQ(other.TargetSlot(0), hero);
    EXPECT_EQ(child.TargetSlot(0), hero);
    EXPECT_EQ(hero->m_vReferrers.size(), 3u);  // slot 0 of parent, child and other
}

// A walk over the list that removes what it visits: the chara leaves its
// links and group at once, its node goes after the walk.
TEST_F(RemovalTest, DetachDuringAWalkErasesAfter) {
    cCharaComputer& a = Add(30, 1);
    cCharaComputer& b = Add(31, 1);
    b.SetTargetSlot(1, &a, 1);
    for (cCharaComputer& c : g_lstCharas) {
        if (c.m_nKey == 30) {
            DetachChara(c);
            c.m_bDead = 1;
        } else {
            EXPECT_EQ(c.TargetSlot(1), nullptr);  // visited after: already unlinked
        }
    }
    EXPECT_EQ(m_scene.m_vCharaGroups.at(1), (std::list<cChara*>{&b}));
    for (auto it = g_lstCharas.begin(); it != g_lstCharas.end();)
        it = it->m_bDead ? g_lstCharas.erase(it) : std::next(it);
    EXPECT_EQ(g_lstCharas.size(), 1u);
}

}  // namespace
