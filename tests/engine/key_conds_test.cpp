// Key sequences on hand-made run histories of input record 0: edge and
// continuous flows, mirroring, the gap between steps, the history's end,
// the combine modes, the older-data switch of the newer-step test, and
// steps stored with too few or too many key bytes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/flow_trigger.h"
#include "engine/key_conds.h"
#include "media/input/input_list.h"
#include "records/cond.h"
#include "tests/engine/flow_engine_fixture.h"

using namespace flowtest;

namespace {

constexpr int kLeft = 1, kRight = 2, kDown = 4, kButton0 = 11, kButton1 = 12;

// A step: the key indexes with their states, any length.
cKeyCond Step(const std::vector<std::pair<int, int>>& keys, int mode = 0) {
    cKeyCond k;
    for (auto [i, state] : keys) k.m_vecKey.at(static_cast<size_t>(i)) = static_cast<uint8_t>(state);
    k.m_bAnyDuration = 1;
    k.m_nKeyMode = static_cast<int8_t>(mode);
    return k;
}

class KeyCondTest : public FlowEngineTest {
protected:
    void SetUp() override {
        FlowEngineTest::SetUp();
        m_savedInput = g_InputList;
        g_InputList.assign(1, cInput());
    }
    void TearDown() override {
        g_InputList = m_savedInput;
        FlowEngineTest::TearDown();
    }
    static cInput& Input() { return g_InputList.at(0); }
    // The runs of a channel, newest first; the rest of the 32 are empty.
    static void Runs(int channel, const std::vector<std::pair<int, int>>& runs) {
        KeyHistory& h = const_cast<KeyHistory&>(KeyChannel(Input(), channel));
        h.assign(KEY_HISTORY_LENGTH, KeyHistoryEntry{});
        size_t i = 0;
        for (auto [state, frames] : runs) h.at(i++) = KeyHistoryEntry{state, frames};
    }
    // One more frame of a channel's key: the newest run grows or a new one starts.
    static void Frame(int channel, int pressed) {
        KeyHistory& h = const_cast<KeyHistory&>(KeyChannel(Input(), channel));
        cInput::UpdateKeyChannel(h, pressed, 1, false);
    }
    // A flow of the chara with the key steps (oldest first), mode and gap.
    cFlow& Keyed(std::vector<cKeyCond> steps, int continuous = 0, int gap = 0, int trigger = TRG_ALWAYS) {
        cEdFlow f = FlowOf(1, {{CMD_WAIT, 1, 99}}, trigger);
        f.m_vecKeyCond = std::move(steps);
        f.m_bKeyRepeat = static_cast<int8_t>(continuous);
        f.m_nKeyInterval = static_cast<int8_t>(gap);
        cEdChara def = MakeCharaDef({f});
        m_chara.InitChara(&def, nullptr, 0);
        m_chara.InsertFlows(m_chara.m_Def.m_vecFlow, 0, 0);
        m_scene.m_lpCurChara = &m_chara;
        return m_chara.m_vFlows[0];
    }
    bool Check(cFlow& flow) { return CheckFlowKeyConds(m_chara, flow); }
    // The time point "now": every channel in its newest run.
    static KeyTimePoint Now() {
        KeyTimePoint p;
        for (int ch = 0; ch < kKeyChannels; ++ch) p.anElapsed[ch] = KeyChannel(Input(), ch).at(0).m_nFrames;
        return p;
    }
    cCheckedVector<cInput> m_savedInput;
};

TEST_F(KeyCondTest, EdgeStepMatchesOncePerPress) {
    cFlow& flow = Keyed({Step({{kButton0, 1}})});
    std::string seen;
    for (int pressed : {1, 1, 1, 0, 0, 1, 1}) {
        Frame(kButton0, pressed);
        seen += Check(flow) ? '+' : '.';
    }
    EXPECT_EQ(seen, "+....+.");
}

TEST_F(KeyCondTest, ContinuousSequenceHoldsOnItsNewestStep) {
    cFlow& flow = Keyed({Step({{kDown, 1}}), Step({{kButton0, 1}})}, 1);
    Runs(kButton0, {{1, 2}, {0, 10}});
    Runs(kDown, {{1, 4}, {0, 10}});  // held since before the button
    EXPECT_TRUE(Check(flow));
    Runs(kDown, {{0, 20}});
    Runs(kButton0, {{1, 30}});
    EXPECT_TRUE(Check(flow)) << "down released long ago, the button still held";
    flow.m_bKeyContinuing = 0;
    EXPECT_FALSE(Check(flow)) << "once broken the whole sequence is needed again";
    // The button pressed first, down after: not the sequence.
    Runs(kButton0, {{1, 5}, {0, 10}});
    Runs(kDown, {{1, 2}, {0, 10}});
    EXPECT_FALSE(Check(flow));
}

TEST_F(KeyCondTest, MirrorOnlyWithTheFlagForACharaFacingLeft) {
    struct Row {
        int mirror, facing;
        bool leftMatches, rightMatches;
    } rows[] = {{1, 0, true, false}, {0, 0, false, true}, {1, 1, false, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.mirror) + std::to_string(r.facing));
        cKeyCond step = Step({{kRight, 1}});
        step.m_bMirror = static_cast<int8_t>(r.mirror);
        m_chara.m_nFacing = r.facing;
        int length = 0;
        Runs(kLeft, {{1, 3}});
        Runs(kRight, {});
        EXPECT_EQ(MatchKeyCondStep(m_chara, step, Now(), length, Input()), r.leftMatches);
        Runs(kLeft, {});
        Runs(kRight, {{1, 3}});
        EXPECT_EQ(MatchKeyCondStep(m_chara, step, Now(), length, Input()), r.rightMatches);
    }
}

TEST_F(KeyCondTest, GapBetweenSteps) {
    // Right released 2 frames before the button went down, or exactly then.
    struct Row {
        int gap;
        std::vector<std::pair<int, int>> right;
        bool match;
    } rows[] = {
        {0, {{0, 4}, {1, 5}, {0, 20}}, false},
        {1, {{0, 4}, {1, 5}, {0, 20}}, false},
        {3, {{0, 4}, {1, 5}, {0, 20}}, true},
        {0, {{0, 2}, {1, 5}, {0, 20}}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.gap);
        cFlow& flow = Keyed({Step({{kRight, 1}}), Step({{kButton0, 1}})}, 1, r.gap);
        Runs(kButton0, {{1, 2}, {0, 20}});
        Runs(kRight, r.right);
        EXPECT_EQ(Check(flow), r.match);
    }
}

TEST_F(KeyCondTest, NewerStepAtTheForwardPointFailsUnlessOlderData) {
    // Both buttons went down in the same frame: the older step is found only
    // one frame after the point, where the newer one holds as well; older
    // data does not test that.
    for (int compat : {0, 1}) {
        g_SystemData.m_bCompat669 = compat;
        cFlow& flow = Keyed({Step({{kButton1, 1}}), Step({{kButton0, 1}})}, 1, 1);
        Runs(kButton0, {{1, 3}, {0, 20}});
        Runs(kButton1, {{1, 3}, {0, 20}});
        EXPECT_EQ(Check(flow), compat == 1) << compat;
    }
}

TEST_F(KeyCondTest, MovingThePointThroughTheHistory) {
    // Back past all 32 runs: the point stays on the oldest and matches nothing.
    KeyHistory& h = const_cast<KeyHistory&>(KeyChannel(Input(), kButton0));
    for (int i = 0; i < KEY_HISTORY_LENGTH; ++i) h.at(i) = KeyHistoryEntry{(i + 1) % 2, 2};
    KeyTimePoint p = Now();
    EXPECT_EQ(ShiftKeyHistory(p, Input(), -100), 1);
    EXPECT_EQ(p.anCursor[kButton0], 31);
    EXPECT_LT(p.anElapsed[kButton0], 0);
    int length = 0;
    EXPECT_FALSE(MatchKeyCondStep(m_chara, Step({{kButton0, 1}}), p, length, Input()));
    EXPECT_FALSE(MatchKeyCondStep(m_chara, Step({{kButton0, 2}}), p, length, Input()));
    // Back to the exact start of a run steps into the older run.
    Runs(kButton0, {{1, 2}, {0, 5}});
    p = KeyTimePoint{};
    p.anElapsed[kButton0] = 2;
    ShiftKeyHistory(p, Input(), -2);
    EXPECT_EQ(p.anCursor[kButton0], 1);
    EXPECT_EQ(p.anElapsed[kButton0], 5);
    // Forward into the newer run takes off that run's length.
    p.anElapsed[kButton0] = 4;
    ShiftKeyHistory(p, Input(), 3);
    EXPECT_EQ(p.anCursor[kButton0], 0);
    EXPECT_EQ(p.anElapsed[kButton0], 5);
}

TEST_F(KeyCondTest, CombineModesAndTheChosenLength) {
    Runs(kLeft, {{1, 4}});
    Runs(kDown, {{1, 7}});
    Runs(kButton0, {{0, 9}});
    const KeyTimePoint now = Now();
    struct Row {
        std::vector<std::pair<int, int>> keys;
        int mode;
        bool match;
        int length;
    } rows[] = {
        {{}, 0, true, 0},  // an empty step
        {{}, 1, false, 0},
        {{}, 2, false, 0},
        {{{kLeft, 1}, {kDown, 1}}, 0, true, 4},  // smallest
        {{{kLeft, 1}, {kDown, 1}}, 1, true, 7},  // largest
        {{{kLeft, 1}, {kDown, 1}}, 2, false, 7},  // two matched
        {{{kLeft, 1}, {kButton0, 1}}, 2, true, 4},
        {{{kLeft, 1}, {kButton0, 1}}, 0, false, 4},
        {{{kButton0, 2}, {kDown, 1}}, 2, false, 9},  // the last one matched
    };
    for (const Row& r : rows) {
        int length = -1;
        EXPECT_EQ(MatchKeyCondStep(m_chara, Step(r.keys, r.mode), now, length, Input()), r.match)
            << r.mode << " " << r.keys.size();
        EXPECT_EQ(length, r.length) << r.mode << " " << r.keys.size();
    }
    // A pressed key's run length must lie within the step's bounds.
    cKeyCond bounded = Step({{kLeft, 1}});
    bounded.m_bAnyDuration = 0;
    bounded.m_nMinFrames = 5;
    bounded.m_nMaxFrames = 8;
    int length = 0;
    EXPECT_FALSE(MatchKeyCondStep(m_chara, bounded, now, length, Input()));
    bounded.m_nMinFrames = 4;
    EXPECT_TRUE(MatchKeyCondStep(m_chara, bounded, now, length, Input()));
}

TEST_F(KeyCondTest, StepsWithTooFewOrTooManyKeyBytes) {
    Runs(kLeft, {{1, 3}});
    cFlow& flow = Keyed({Step({})}, 1);
    cKeyCond& step = m_chara.m_Def.m_vecFlow[0].m_vecKeyCond[0];
    step.m_vecKey = {0, 1, 0, 0, 0};  // left pressed; the rest missing
    EXPECT_TRUE(Check(flow));
    step.m_vecKey = {0, 0, 1, 0, 0};  // right pressed
    EXPECT_FALSE(Check(flow));
    step.m_vecKey.assign(25, 0);
    step.m_vecKey[1] = 1;
    step.m_vecKey[22] = 1;  // beyond the 19 keys: ignored
    EXPECT_TRUE(Check(flow));
    EXPECT_TRUE(CheckKeyCondHeld(Input(), step));
    EXPECT_EQ(g_bQuit, 0);
}

TEST_F(KeyCondTest, HeldKeysAndTheInputDirection) {
    EXPECT_EQ(GetInputDirection(Input()), 0);
    Runs(kDown, {{1, 30}});
    Runs(kLeft, {{0, 2}, {1, 5}});
    EXPECT_EQ(GetInputDirection(Input()), kDown);
    Runs(kLeft, {{1, 1}});
    EXPECT_EQ(GetInputDirection(Input()), kLeft);
    // Only the newest runs count, whatever their length; mode 1 takes any.
    cKeyCond step = Step({{kDown, 1}, {kButton0, 1}}, 1);
    step.m_bAnyDuration = 0;
    EXPECT_TRUE(CheckKeyCondHeld(Input(), step));
    step.m_nKeyMode = 0;
    EXPECT_FALSE(CheckKeyCondHeld(Input(), step));
    step.m_vecKey.at(kButton0) = cKeyCond::KEY_RELEASED;
    EXPECT_TRUE(CheckKeyCondHeld(Input(), step));
}

TEST_F(KeyCondTest, HeldEdgeKeysBlockTheirGroupForThePass) {
    cFlow& flow = Keyed({Step({{kButton0, 1}})});
    m_chara.m_Def.m_vecFlow[0].m_nFlowGroup = 3;
    Runs(kButton0, {{1, 1}});
    FireFlowTrigger(m_chara, TRG_ALWAYS);
    EXPECT_EQ(flow.m_nStartCount, 1u);
    StopFlow(flow, m_chara);
    m_chara.ApplyFlowRemovals();
    ResetFlowOnceFlags(m_chara);
    Runs(kButton0, {{1, 2}});
    FireFlowTrigger(m_chara, TRG_ALWAYS);
    EXPECT_EQ(flow.m_nStartCount, 1u);
    EXPECT_EQ(m_chara.m_vGroupRunning.at(3), 1);
    EXPECT_EQ(m_chara.m_vGroupEnded.at(3), 1);
    EXPECT_EQ(m_chara.m_bGroupEnded, 1);
    m_chara.ApplyFlowRemovals();
    EXPECT_EQ(m_chara.m_vGroupRunning.at(3), 0);
}

}  // namespace
