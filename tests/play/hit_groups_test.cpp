// The group hit pass, followed through traces of its events, sounds and
// kills: groups never meeting themselves, passing and vanishing shots,
// swords, shots against shots, the shot schedule, the knock-back order, an
// early return, and a shot item given to the hero.
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/conditions.h"
#include "engine/flow_trigger.h"
#include "play/effect.h"
#include "records/common_palette.h"
#include "tests/support/item_cmd_trace.h"
#include "tests/support/sound_log.h"
#include "tests/support/stage_builder.h"
#include "tests/support/play_trace.h"

using namespace stagetest;

namespace {

std::string Key(const cChara* c) { return c ? std::to_string(c->m_nKey) : "-"; }
void TraceEvent(cChara& c, int trigger, cChara* partner, int group) {
    RecordMediaCall("ev" + std::to_string(trigger) + " " + Key(&c) + "<" + Key(partner) +
                    (group ? " g" + std::to_string(group) : ""));
}
// An item's command run on the chara it was given to.
int TraceGift(cChara& c, cEdFlowCmd& cmd) {
    RecordMediaCall("item " + std::to_string(cmd.m_nTime) + " to " + Key(&c));
    return 0;
}

class HitPassTest : public StageTest {
protected:
    std::unique_ptr<ItemCmdTrace> m_items;
    void SetUp() override {
        StageTest::SetUp();
        MakeMap();
        g_Stage.m_bHitInViewOnly = 0;
        g_Stage.m_nHitChecks = 0;
        m_scene.m_nSubStep = 1;
        m_scene.m_vShotGroups.assign(8, {});
        m_scene.m_vCharaGroups.assign(8, {});
        testsupport::PlayTrace().trigger = TraceEvent;
        m_items = std::make_unique<ItemCmdTrace>(TraceGift);
    }
    void TearDown() override {
        m_scene.m_lstShots.clear();
        g_lpHitEffectTrace = nullptr;
        StageTest::TearDown();
    }
    // A walker of the group with HP 10 in map cell (c, r), in its group list.
    cCharaComputer& Chara(int key, int group, int c, int r, int attack = 0, int impact = 0) {
        cEdChara def;
        def.m_nSide = 1;
        def.m_nGroup = static_cast<int8_t>(group);
        def.m_nMaxHP = 10;
        def.m_nAttack = attack;
        def.m_nImpact = static_cast<int8_t>(impact);
        cCharaComputer& ch = g_lstCharas.emplace_back();
        ch.InitComputer(key, def, nullptr, nullptr, 0);
        ch.PlaceAtCell(c - 10, r - 10);
        ch.m_nHP = 10;
        ch.m_bActing = 1;
        m_scene.m_vCharaGroups.at(group).push_back(&ch);
        return ch;
    }
    // A shot of the group over map cell (c, r).
    cShot& ShotAt(int group, int c, int r, int power = 1) {
        cShot& s = AddShot(group, c * 32 + 8, r * 32 + 8);
        s.m_EdShot.m_nPower = power;
        return s;
    }
    // The events, sounds ("se" n) and gifts in the order they came.
    std::vector<std::string> Take() {
        std::vector<std::string> t;
        for (const std::string& call : MediaCallLog()) {
            int n = 0;
            if (std::sscanf(call.c_str(), "PlaySe %d", &n) == 1)
                t.push_back("se" + std::to_string(n));
            else if (call.rfind("ev", 0) == 0 || call.rfind("item", 0) == 0)
                t.push_back(call);
        }
        ClearMediaCallLog();
        return t;
    }
    soundlog::Scope m_log;

public:
    void Summoned() { Chara(5, 1, 20, 15); }

protected:
    // The trace without the hit events of touching charas.
    std::vector<std::string> TakeShotEvents() {
        std::vector<std::string> t;
        for (std::string& e : Take())
            if (e.rfind("ev6", 0) != 0) t.push_back(std::move(e));
        return t;
    }
};

using Lines = std::vector<std::string>;

TEST_F(HitPassTest, ShotsMeetOtherGroupsOnly) {
    Chara(1, 2, 20, 15);
    Chara(2, 3, 20, 15);
    ShotAt(2, 20, 15);
    EXPECT_EQ(m_scene.HitGroups(), PlayResult::Continue);
    EXPECT_EQ(TakeShotEvents(), (Lines{"ev9 2<-", "ev1 2<-", "ev2 2<-", "se7"}));
    EXPECT_EQ(g_lstCharas.front().m_nHP, 10);
    EXPECT_EQ(g_lstCharas.back().m_nHP, 9);
    EXPECT_TRUE(m_scene.m_lstShots.empty()) << "a shot that does not pass vanishes";
    EXPECT_EQ(m_scene.m_bInHitPass, 0);
}

TEST_F(HitPassTest, NonPassingShotHitsTheWholeGroupThenVanishes) {
    for (int k = 1; k <= 3; ++k) Chara(k, 1, 20, 15);
    Chara(4, 2, 20, 15);
    cCharaComputer owner;
    owner.m_nKey = 9;
    cShot& s = ShotAt(0, 20, 15);
    s.m_lpOwner = &owner;
    s.m_bReportToOwner = 1;
    s.m_nReportGroup = 5;
    EXPECT_EQ(m_scene.HitGroups(), PlayResult::Continue);
    // Group 1 whole, then the shot is gone before group 2; each hit also
    // tells of the damage, the owner too.
    Lines want;
    for (const char* k : {"1", "2", "3"})
        for (const std::string& e :
             {"ev9 @<9", "ev24 9<@ g5", "ev1 @<9", "ev2 @<9", "ev20 9<@ g5", "ev21 9<@ g5", "se7"}) {
            std::string line = e;
            if (const size_t at = line.find('@'); at != std::string::npos) line.replace(at, 1, k);
            want.push_back(line);
        }
    EXPECT_EQ(TakeShotEvents(), want);
    EXPECT_TRUE(m_scene.m_lstShots.empty());
    EXPECT_TRUE(m_scene.m_vShotGroups.at(0).empty());

    cShot& passing = ShotAt(0, 20, 15);
    passing.m_EdShot.m_bPassCharas = 1;
    m_scene.HitGroups();
    EXPECT_EQ(TakeShotEvents().size(), 16u);  // every chara of groups 1 and 2: events 9, 1 and 2, a sound
    ASSERT_EQ(m_scene.m_lstShots.size(), 1u);
    EXPECT_EQ(passing.m_lstHitCharas, (std::list<int32_t>{1, 2, 3, 4}));
    m_scene.HitGroups();
    EXPECT_TRUE(TakeShotEvents().empty()) << "a passing shot hits each chara once";
}

// A chara summoned by a hit event joins its group list during the walk.
HitPassTest* g_summoner = nullptr;
void SummonOnFirstHit(cChara& c, int trigger, cChara* partner, int group) {
    TraceEvent(c, trigger, partner, group);
    if (trigger == 9 && c.m_nKey == 1) g_summoner->Summoned();
}

TEST_F(HitPassTest, CharaSummonedDuringTheWalkIsHitInTheSamePass) {
    Chara(1, 1, 20, 15);
    ShotAt(0, 20, 15).m_EdShot.m_bPassCharas = 1;
    g_summoner = this;
    testsupport::PlayTrace().trigger = SummonOnFirstHit;
    m_scene.HitGroups();
    EXPECT_EQ(TakeShotEvents(),
              (Lines{"ev9 1<-", "ev1 1<-", "ev2 1<-", "se7", "ev9 5<-", "ev1 5<-", "ev2 5<-", "se7"}));
}

TEST_F(HitPassTest, SwordHitsEachCharaOnceAndStays) {
    Chara(1, 1, 20, 15);
    cShot& sword = ShotAt(0, 20, 15);
    sword.m_bIsShot = 0;
    m_scene.HitGroups();
    m_scene.HitGroups();
    EXPECT_EQ(Take(), (Lines{"ev9 1<-", "ev1 1<-", "ev2 1<-", "se7"}));
    EXPECT_EQ(m_scene.m_lstShots.size(), 1u);
}

TEST_F(HitPassTest, HarmlessShotsAndInvincibleCharas) {
    cCharaComputer& k = Chara(1, 1, 20, 15);
    ShotAt(0, 20, 15, 0).m_EdShot.m_bPassCharas = 1;
    m_scene.HitGroups();
    EXPECT_EQ(Take(), (Lines{"ev9 1<-"})) << "no damage, no impact: no sound";
    g_SystemData.OptHarmlessShotsPass = 1;
    m_scene.m_lstShots.front().m_lstHitCharas.clear();
    m_scene.HitGroups();
    EXPECT_EQ(Take(), (Lines{"ev9 1<-"}));
    EXPECT_EQ(m_scene.m_lstShots.front().m_lstHitCharas.size(), 0u) << "a harmless shot passes untouched";

    k.m_nInvincibleTimer = 5;
    ShotAt(0, 20, 15, 3);
    m_scene.HitGroups();
    EXPECT_EQ(Take(), (Lines{"ev9 1<-"})) << "only the harmless shot meets an invincible chara";
    k.m_Def.m_nInvincible = 2;
    k.m_nInvincibleTimer = 0;
    m_scene.m_lstShots.front().m_lstHitCharas.clear();
    m_scene.HitGroups();
    EXPECT_TRUE(Take().empty()) << "hit-ignore mode 2 takes no shot";
}

TEST_F(HitPassTest, ShotStrengthsDecideWhichVanishes) {
    struct Case {
        const char* what;
        int destructibleN, strengthN, destructibleO, strengthO;
        size_t leftN, leftO;
    };
    const Case cases[] = {
        {"3 against 3", 1, 3, 1, 3, 0, 0},
        {"4 against 3", 1, 4, 1, 3, 1, 0},
        {"3 against 4", 1, 3, 1, 4, 0, 1},
        {"only N destructible", 1, 9, 0, 0, 0, 1},
        {"neither", 0, 3, 0, 3, 1, 1},
    };
    for (const Case& c : cases) {
        m_scene.m_lstShots.clear();
        m_scene.m_vShotGroups.assign(8, {});
        cShot& n = ShotAt(1, 20, 15);
        n.m_EdShot.m_bCancelShots = static_cast<int8_t>(c.destructibleN);
        n.m_EdShot.m_nVanishValue = static_cast<int8_t>(c.strengthN);
        cShot& o = ShotAt(4, 20, 15);
        o.m_EdShot.m_bCancelShots = static_cast<int8_t>(c.destructibleO);
        o.m_EdShot.m_nVanishValue = static_cast<int8_t>(c.strengthO);
        m_scene.HitGroups();
        EXPECT_EQ(m_scene.m_vShotGroups.at(1).size(), c.leftN) << c.what;
        EXPECT_EQ(m_scene.m_vShotGroups.at(4).size(), c.leftO) << c.what;
        EXPECT_EQ(m_scene.m_lstShots.size(), c.leftN + c.leftO) << c.what;
    }
    // A destroyed N still meets every O of the group.
    m_scene.m_lstShots.clear();
    m_scene.m_vShotGroups.assign(8, {});
    ShotAt(1, 20, 15).m_EdShot.m_bCancelShots = 1;
    ShotAt(2, 20, 15).m_EdShot.m_bCancelShots = 1;
    ShotAt(2, 20, 15).m_EdShot.m_bCancelShots = 1;
    m_scene.HitGroups();
    EXPECT_TRUE(m_scene.m_lstShots.empty());
}

TEST_F(HitPassTest, ScheduleSpreadsShotHitsButCharasMeetEverySubStep) {
    g_Stage.m_nHitChecks = 1;
    m_scene.m_vSubStepActive = {1, 0, 0, 0};
    Chara(1, 1, 20, 15);
    Chara(2, 2, 20, 15);  // touching, no power: hit events only
    cShot& s = ShotAt(0, 20, 15, 0);
    s.m_EdShot.m_bPassCharas = 1;
    std::vector<size_t> shotEvents, charaEvents;
    for (int frame = 0; frame < 2; ++frame) {
        for (int sub = 1; sub <= 4; ++sub) {
            s.m_lstHitCharas.clear();
            m_scene.m_nSubStep = sub;
            m_scene.HitGroups();
            size_t shots = 0, charas = 0;
            for (const std::string& e : Take()) {
                if (e.rfind("ev9", 0) == 0) ++shots;
                if (e.rfind("ev6", 0) == 0) ++charas;
            }
            shotEvents.push_back(shots);
            charaEvents.push_back(charas);
        }
    }
    EXPECT_EQ(shotEvents, (std::vector<size_t>{2, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(charaEvents, (std::vector<size_t>(8, 2)));
}

TEST_F(HitPassTest, TouchingCharasHitEachOtherInOneSubStep) {
    cCharaComputer& j = Chara(1, 1, 20, 15, 2);
    cCharaComputer& k = Chara(2, 2, 20, 15, 3);
    cCharaComputer parent;
    parent.m_nKey = 7;
    k.m_lpParent = &parent;
    k.m_bAttackPart = 1;
    k.m_nAttackGroup = 4;
    m_scene.HitGroups();
    const Lines t = Take();
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t[0], "ev6 1<7");
    EXPECT_EQ(t[1], "ev24 7<1 g4");
    EXPECT_EQ(t[2], "ev6 2<1");
    EXPECT_EQ(t.back(), "se7");
    EXPECT_EQ(j.m_nHP, 7);
    EXPECT_EQ(k.m_nHP, 8);
    ASSERT_EQ(j.m_lstHitRecords.size(), 1u);
    EXPECT_EQ(j.m_lstHitRecords.front().nAttackerKey, 2);
    EXPECT_EQ(k.m_lstHitRecords.front().nAttackerKey, 1);
    m_scene.HitGroups();
    EXPECT_TRUE(Take().empty()) << "hit records close both sides";
    parent.m_vReferrers.clear();
}

// Each damage's hit effect sees the attacker as the damage finds it.
std::vector<double> g_attackerImpacts;
std::vector<const cChara*> g_attackers;  // told apart by their attack boxes
void TraceHitEffect(int, const double*, const double* attackBox, int) {
    for (const cChara* a : g_attackers)
        if (attackBox == a->m_HitBox1.box) g_attackerImpacts.push_back(a->m_dImpactX);
}

TEST_F(HitPassTest, KnockbacksFollowBothDamagesUnlessImmediate) {
    g_lpHitEffectTrace = TraceHitEffect;
    for (int immediate : {0, 1}) {
        g_lstCharas.clear();
        m_scene.m_vCharaGroups.assign(8, {});
        g_attackerImpacts.clear();
        g_SystemData.OptImmediateKnockback = immediate;
        cCharaComputer& j = Chara(1, 1, 20, 15, 1, 5);
        cCharaComputer& k = Chara(2, 2, 20, 15, 1, 5);
        j.m_Def.m_nHitEffect = k.m_Def.m_nHitEffect = 1;
        g_attackers = {&j, &k};
        j.m_dSpeedX = 1;
        k.m_dSpeedX = -1;
        m_scene.HitGroups();
        ASSERT_EQ(g_attackerImpacts.size(), 2u);
        EXPECT_EQ(g_attackerImpacts[0], 0.0) << "K strikes J first, unknocked";
        // J strikes K: knocked back already only with the option.
        EXPECT_EQ(g_attackerImpacts[1] != 0.0, immediate == 1) << immediate;
        EXPECT_LT(j.m_dImpactX, 0);
        EXPECT_GT(k.m_dImpactX, 0);
    }
}

TEST_F(HitPassTest, KillThatEndsTheStageReturnsAtOnce) {
    cCharaComputer& k = Chara(1, 1, 20, 15);
    k.m_nHP = 1;
    Chara(2, 1, 20, 15);
    ShotAt(0, 20, 15).m_EdShot.m_bPassCharas = 1;
    m_scene.m_nStageEndRequest = 1;  // the death finds the stage ending
    EXPECT_EQ(m_scene.HitGroups(), PlayResult::StageClear);
    EXPECT_EQ(Take(), (Lines{"ev9 1<-", "ev1 1<-", "ev2 1<-", "se10", "ev5 1<-"}));
    EXPECT_EQ(m_scene.m_bInHitPass, 1) << "the set-up closes it";
}

TEST_F(HitPassTest, ShotItemGoesToTheHero) {
    cEdItem gift;
    gift.m_nGraphic = 6;
    gift.m_vecCmd = {charatest::MakeCmd(cEdFlowCmd::FAMILY_ITEM, 1, {}, 6)};
    const auto saved = g_CommonPalette.m_vecItemPalette;
    g_CommonPalette.m_vecItemPalette = {cEdItem(), gift};
    g_vPlayers.resize(1);
    g_vPlayers[0].m_nKey = 0;
    g_vPlayers[0].m_nHP = 10;
    Chara(1, 1, 20, 15);
    cShot& s = ShotAt(0, 20, 15, 0);
    s.m_EdShot.m_nItemSource = PAL_COMMON;
    s.m_EdShot.m_nItem = 1;
    m_scene.HitGroups();
    EXPECT_EQ(Take(), (Lines{"ev9 1<-", "se7", "item 6 to 0"}));
    g_CommonPalette.m_vecItemPalette = saved;
}

// A shot's damage and impact fire events 1 to 4 on the struck chara with
// the shot's owner as partner, after events 9 and 24, and with the
// attack-event flag events 20 to 23 on the owner: a "damaged" flow of the
// struck chara starts.
TEST_F(HitPassTest, ShotDamageFiresTheDamagedAndImpactEvents) {
    cCharaComputer& k = Chara(1, 1, 20, 15);
    k.m_Def.m_vecFlow = {charatest::MakeFlow(1, {charatest::Wait(1)}, 2)};
    k.InsertFlows(k.m_Def.m_vecFlow, 0, 0);
    Chara(2, 1, 20, 15);
    cCharaComputer owner;
    owner.m_nKey = 9;
    owner.m_vTargets.assign(kTargetSlots, nullptr);
    cShot& s = ShotAt(0, 20, 15, 3);
    s.m_EdShot.m_nImpact = 2;
    s.m_EdShot.m_bPassCharas = 1;
    s.m_lpOwner = &owner;
    s.m_bReportToOwner = 1;
    s.m_nReportGroup = 5;
    EXPECT_EQ(m_scene.HitGroups(), PlayResult::Continue);
    const Lines hit1 = {"ev9 1<9", "ev24 9<1 g5", "ev1 1<9",     "ev2 1<9",     "ev20 9<1 g5", "ev21 9<1 g5",
                        "ev3 1<9", "ev4 1<9",     "ev22 9<1 g5", "ev23 9<1 g5", "se7"};
    Lines want = hit1;
    for (std::string line : hit1) {
        // The second chara of the group, hit by the same passing shot.
        for (size_t at = line.find("1<"); at != std::string::npos; at = std::string::npos) line[at] = '2';
        for (size_t at = line.find("<1"); at != std::string::npos; at = std::string::npos) line[at + 1] = '2';
        want.push_back(line);
    }
    EXPECT_EQ(TakeShotEvents(), want);
    EXPECT_EQ(k.m_nHP, 7);
    ASSERT_EQ(k.m_vFlows.size(), 1u);
    EXPECT_EQ(k.m_vFlows[0].m_bRunning, 1) << "the damaged flow started";

    // Without the attack-event flag only the struck chara hears of it; a
    // harmless shot fires none of them.
    cShot& quiet = ShotAt(0, 20, 15, 1);
    quiet.m_lpOwner = &owner;
    m_scene.m_vCharaGroups.at(1).pop_back();
    k.m_nInvincibleTimer = 0;
    m_scene.HitGroups();
    EXPECT_EQ(TakeShotEvents(), (Lines{"ev9 1<9", "ev1 1<9", "ev2 1<9", "se7"}));
    ShotAt(0, 20, 15, 0);
    m_scene.HitGroups();
    EXPECT_EQ(TakeShotEvents(), (Lines{"ev9 1<-"}));
}

// With the on-screen switch only shots in view hit: the activity pass marks
// every shot, so a shot in view hits and one whose attack box reaches a
// chara in view from outside it does not.
TEST_F(HitPassTest, OnScreenSwitchLetsShotsInViewHit) {
    g_Stage.m_bHitInViewOnly = 1;
    m_scene.m_ScrollX.m_dPos = 320;
    m_scene.m_ScrollY.m_dPos = 320;
    cCharaComputer& k = Chara(1, 1, 20, 15);
    cShot& seen = ShotAt(0, 20, 15);
    cShot& away = ShotAt(0, 20, 15);
    for (cShot* s : {&seen, &away}) {
        s->m_bInView = 0;
        s->m_EdShot.m_bPassCharas = 1;
    }
    // Out of view, its attack box on the chara.
    away.m_dX = 2000;
    away.m_dRight = 2015;
    UpdateActiveStates(m_scene);
    ASSERT_TRUE(k.IsOnScreen());
    EXPECT_EQ(m_scene.HitGroups(), PlayResult::Continue);
    EXPECT_EQ(seen.m_lstHitCharas, (std::list<int32_t>{1}));
    EXPECT_TRUE(away.m_lstHitCharas.empty());
}

}  // namespace
