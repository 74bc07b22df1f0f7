// Starting flows on events: the once-a-frame rules under each combination
// of the older-data switches, flow groups, partner binding, the ID filter,
// the start direction, and a play-side event reaching the real firing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/flow_trigger.h"
#include "engine/key_conds.h"
#include "media/input/input_list.h"
#include "records/cond.h"
#include "tests/engine/flow_engine_fixture.h"

using namespace flowtest;

namespace {

cCond VarIs(int index, int value) {
    cCond c;
    c.m_nKind = COND_CHARA_VAR;
    c.m_nVarIndex = static_cast<int16_t>(index);
    c.m_nOp = 0;
    c.m_nValue = value;
    return c;
}

class TriggerTest : public FlowEngineTest {
protected:
    void SetUp() override {
        FlowEngineTest::SetUp();
        SetSubSteps(2);
        m_savedInput = g_InputList;
        g_InputList.assign(1, cInput());
    }
    void TearDown() override {
        g_InputList = m_savedInput;
        FlowEngineTest::TearDown();
    }
    // frames x 2 sub-steps of play on the chara: the once-a-frame reset, then
    // per sub-step the always-trigger and the chara's update. before runs
    // ahead of each sub-step's trigger with (frame, sub-step). The result
    // lists "frame.sub-step:flow" for every start.
    template <class F>
    std::string Play(int frames, F before) {
        std::string out;
        for (int f = 1; f <= frames; ++f) {
            ResetFlowOnceFlags(m_chara);
            for (int s = 1; s <= 2; ++s) {
                before(f, s);
                std::vector<uint32_t> starts;
                for (const cFlow& fl : m_chara.m_vFlows) starts.push_back(fl.m_nStartCount);
                FireFlowTrigger(m_chara, TRG_ALWAYS);
                for (size_t i = 0; i < starts.size(); ++i)
                    if (m_chara.m_vFlows[i].m_nStartCount != starts[i])
                        out += (out.empty() ? "" : " ") + std::to_string(f) + "." + std::to_string(s) + ":" +
                               std::to_string(i + 1);
                m_scene.m_lpCurChara = &m_chara;
                m_chara.RunFlowPass(0, false);
                m_chara.ApplyFlowRemovals();
            }
        }
        return out;
    }
    std::string Play(int frames) {
        return Play(frames, [](int, int) {});
    }
    cEdFlow& FirstDef() { return m_chara.m_Def.m_vecFlow[0]; }
    cCheckedVector<cInput> m_savedInput;
};

struct Switches {
    int c525, c744, c861;
};
void Apply(const Switches& s) {
    g_SystemData.m_bCompat525 = s.c525;
    g_SystemData.m_bCompat744 = s.c744;
    g_SystemData.m_bCompat861 = s.c861;
}

TEST_F(TriggerTest, OnceAFrameUnderEachSwitchSet) {
    struct Row {
        Switches sw;
        const char* endsInFirst;  // a 1-sub-step flow: starts and ends in sub-step 1
        const char* endsNextFrame;  // a 3-sub-step flow: ends in sub-step 1 of the next frame
        const char* condsLate;  // conditions fail in sub-step 1 and hold in sub-step 2
    };
    const Row rows[] = {
        {{0, 0, 0}, "1.1:1 2.1:1", "1.1:1 2.2:1", "1.2:1"},
        {{1, 0, 0}, "1.1:1 2.1:1", "1.1:1 2.2:1", "1.2:1"},
        {{1, 1, 1}, "1.1:1 2.1:1", "1.1:1 2.2:1", "1.2:1"},  // 525 overrides both
        {{0, 1, 0}, "1.1:1 2.1:1", "1.1:1 3.1:1", ""},
        {{0, 1, 1}, "1.1:1 2.1:1", "1.1:1 3.1:1", ""},
        {{0, 0, 1}, "1.1:1 2.1:1", "1.1:1 2.2:1", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.sw.c525) + std::to_string(r.sw.c744) + std::to_string(r.sw.c861));
        Apply(r.sw);
        Build({{CMD_WAIT, 1, 1}});
        EXPECT_EQ(Play(2), r.endsInFirst);
        Build({{CMD_WAIT, 1, 3}});
        EXPECT_EQ(Play(3), r.endsNextFrame);
        Build({{CMD_WAIT, 1, 99}});
        FirstDef().m_vecCond = {VarIs(0, 1)};
        m_chara.m_vVars.at(0) = 0;
        EXPECT_EQ(Play(1, [this](int, int s) { m_chara.m_vVars.at(0) = s == 2 ? 1 : 0; }), r.condsLate);
    }
}

TEST_F(TriggerTest, EarlierAlwaysFlowOfAGroupWins) {
    Give(m_chara, {{{CMD_WAIT, 1, 1}}, {{CMD_WAIT, 2, 1}}});
    for (cEdFlow& f : m_chara.m_Def.m_vecFlow) f.m_nFlowGroup = 1;
    m_chara.m_Def.m_vecFlow[0].m_vecCond = {VarIs(0, 1)};
    m_chara.m_vVars.at(0) = 1;
    // The first ends in its first sub-step; the second waits for the next
    // frame, when the first no longer holds.
    EXPECT_EQ(Play(2, [this](int f, int) { m_chara.m_vVars.at(0) = f == 1 ? 1 : 0; }), "1.1:1 2.1:2");
    // A group index beyond the switches is reported, not written past them.
    m_chara.m_Def.m_vecFlow[1].m_nFlowGroup = 40;
    ResetFlowOnceFlags(m_chara);
    m_chara.m_vFlows[1].m_bRunning = 0;
    FireFlowTrigger(m_chara, TRG_ALWAYS);
    EXPECT_EQ(g_bQuit, 1);
    g_bQuit = 0;
}

TEST_F(TriggerTest, PartnerBindingKeepsTheSlotOnFailure) {
    cTestChara partner, other;
    partner.m_nKey = 7;
    other.m_nKey = 8;
    for (cChara* occupant : {static_cast<cChara*>(&other), static_cast<cChara*>(nullptr)}) {
        SCOPED_TRACE(occupant ? "full slot" : "empty slot");
        cFlow& flow = Build({{CMD_WAIT, 1, 5}}, TRG_HIT_CHARA);
        FirstDef().m_bBindPartner = 1;
        FirstDef().m_nPartnerSlot = 2;
        FirstDef().m_vecCond = {VarIs(0, 1)};
        m_chara.m_vTargets.assign(kTargetSlots, nullptr);
        m_chara.SetTargetSlot(2, occupant, 1);
        m_chara.m_vVars.at(0) = 0;
        FireFlowTriggerEx(m_chara, TRG_HIT_CHARA, &partner, 0);
        EXPECT_EQ(flow.m_bRunning, 0);
        EXPECT_EQ(m_chara.TargetSlot(2), occupant);
        EXPECT_TRUE(partner.m_vReferrers.empty());
        m_chara.m_vVars.at(0) = 1;
        FireFlowTriggerEx(m_chara, TRG_HIT_CHARA, &partner, 0);
        EXPECT_EQ(flow.m_bRunning, 1);
        EXPECT_EQ(m_chara.TargetSlot(2), &partner);
        partner.m_vReferrers.clear();
    }
}

TEST_F(TriggerTest, PartnerByteZeroBindsOverTheHero) {
    g_vPlayers.resize(1);
    cChara& hero = g_vPlayers[0];
    cTestChara partner;
    cFlow& flow = Build({{CMD_WAIT, 1, 5}}, TRG_ATTACK_HIT);
    FirstDef().m_bBindPartner = 1;
    FirstDef().m_nId = 4;
    m_chara.m_vTargets.assign(kTargetSlots, nullptr);
    m_chara.LinkChara(nullptr);
    ASSERT_EQ(m_chara.TargetSlot(0), &hero);
    FireFlowTriggerEx(m_chara, TRG_ATTACK_HIT, &partner, 3);  // another attack's ID
    EXPECT_EQ(flow.m_bRunning, 0);
    EXPECT_EQ(m_chara.TargetSlot(0), &hero);
    FireFlowTriggerEx(m_chara, TRG_ATTACK_HIT, &partner, 4);
    EXPECT_EQ(flow.m_bRunning, 1);
    EXPECT_EQ(m_chara.TargetSlot(0), &partner);
    EXPECT_TRUE(hero.m_vReferrers.empty());
}

TEST_F(TriggerTest, StartDirectionFromTheCharasOwnInputRecord) {
    g_InputList.assign(2, cInput());
    g_InputList[0].m_vecDirKeys.at(1).at(0) = {1, 3};  // left held on record 0
    g_InputList[1].m_vecDirKeys.at(4).at(0) = {1, 3};  // down held on record 1
    cFlow& flow = Build({{CMD_WAIT, 1, 5}}, TRG_DIED);
    FireFlowTrigger(m_chara, TRG_DIED);
    EXPECT_EQ(flow.m_nStartDir, 1);

    cCharaPlayer player;
    cEdChara def = MakeCharaDef({FlowOf(1, {{CMD_WAIT, 1, 5}}, TRG_DIED)});
    player.InitChara(&def, nullptr, 0);
    player.InsertFlows(player.m_Def.m_vecFlow, 0, 0);
    player.m_nPlayer = 1;
    FireFlowTrigger(player, TRG_DIED);
    EXPECT_EQ(player.m_vFlows[0].m_nStartDir, 4);
    player.m_nPlayer = 0;
    player.m_vFlows[0].m_bRunning = 0;
    ResetFlowOnceFlags(player);
    FireFlowTrigger(player, TRG_DIED);
    EXPECT_EQ(player.m_vFlows[0].m_nStartDir, 1);
    EXPECT_EQ(m_scene.m_lpCurChara, nullptr);
    EXPECT_EQ(m_scene.m_lpCurFlowVars, nullptr);
}

TEST_F(TriggerTest, LandingStartsTheBlockBelowFlow) {
    cFlow& flow = Build({{CMD_WAIT, 1, 5}}, TRG_BLOCK_DOWN);
    PlaceOnScreen(m_chara, 100, 90, 32, 32);
    m_chara.LandOnBlock();
    EXPECT_EQ(flow.m_bRunning, 1);
}

TEST_F(TriggerTest, HaltedPausedAndOtherKindsNeverStart) {
    cFlow& flow = Build({{CMD_WAIT, 1, 5}}, TRG_HIT_ITEM);
    FireFlowTrigger(m_chara, TRG_HIT_BLOCK);
    EXPECT_EQ(flow.m_bRunning, 0);
    flow.m_bHalted = 1;
    FireFlowTrigger(m_chara, TRG_HIT_ITEM);
    EXPECT_EQ(flow.m_bRunning, 0);
    flow.m_bHalted = 0;
    flow.m_bPaused = 1;
    FireFlowTrigger(m_chara, TRG_HIT_ITEM);
    EXPECT_EQ(flow.m_bRunning, 0);
}

}  // namespace
