// The game wait and the message over the scene's real window list and its
// real nested frame loops, with scripted keys answering the loops: what the
// commands hand the loop, what is on screen while it runs, and what they
// take back from it.
#include <cstdio>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <iterator>
#include <string>
#include <vector>

#include "base/main_thread.h"
#include "media/media_services.h"
#include "base/scene_state.h"
#include "engine/message_commands.h"
#include "frontend/replay/replay.h"
#include "platform/keyboard_state.h"
#include "tests/engine/command_world.h"
#include "tests/engine/flow_engine_fixture.h"
#include "tests/support/call_trace.h"
#include "tests/support/message_device.h"
#include "tests/support/nested_loop.h"

using namespace cmdtest;

namespace {

constexpr int kGameTypeReplay = 4;

// What the loops showed and the system sounds played, in order.
using calltrace::Trace;
std::vector<std::string> Traced() { return calltrace::Traced(0); }

// The texts of the scene's windows, in list order.
std::string Windows() {
    std::string s;
    for (const cMessageWindow& w : PlayScene()->m_lstMessages) s += (s.empty() ? "'" : " '") + w.m_strText + "'";
    return s;
}

std::set<int>* s_keys = nullptr;  // the scripted keys

// On a loop's first drawn frame: its kind, button wait and choice count, and
// the windows on screen.
void TraceFirstDraw(cScenePlay& scene, int draw) {
    if (draw != 1) return;
    const WaitRecord& w = scene.m_Wait;
    Trace("loop " + std::to_string(w.m_nKind) + " " + std::to_string(w.m_bWaitButton) + " " +
          std::to_string(w.m_nChoiceCount) + " " + Windows());
}

class MessageTest : public CommandWorld {
protected:
    void SetUp() override {
        CommandWorld::SetUp();
        ASSERT_TRUE(m_device.Open(m_scene));
        SetMediaCallLog(true);
        ClearMediaCallLog();
        m_savedChoices = g_Replay.m_vecChoice;
        g_SceneState.g_nGameType = 0;
        g_Replay.m_vecChoice.clear();
        m_self = &Add(1);
        Hero().m_nKey = 5;
        m_loop.onDraw = TraceFirstDraw;
        m_loop.PressEveryOtherFrame();
    }
    void TearDown() override {
        g_Replay.m_vecChoice = m_savedChoices;
        g_Replay.RewindPlayback();
        m_scene.m_bClosing = 0;
        CommandWorld::TearDown();
    }
    static cEdFlowCmd Message(std::initializer_list<std::pair<int, int32_t>> set, const std::string& text = "Hi") {
        cEdFlowCmd c = Command(CMD_MESSAGE, set);
        c.m_strCode = text;
        return c;
    }
    // The message as the game thread runs it, from a fresh trace and no key
    // down; the frames its loop drew.
    int Run(const cEdFlowCmd& cmd, int chain) {
        ClearMediaCallLog();
        m_loop.keys.keys.clear();
        m_loop.draws = 0;
        m_loop.RunAsGame([&] { DoMessage(*m_self, cmd, chain); });
        return m_loop.draws;
    }
    cMessageWindow& WindowAt(size_t i) { return *std::next(m_scene.m_lstMessages.begin(), static_cast<long>(i)); }
    testsupport::cMessageDevice m_device;
    testsupport::cNestedLoopDriver m_loop;
    cTestChara* m_self = nullptr;
    std::vector<int32_t> m_savedChoices;
};

TEST_F(MessageTest, GameWaitBlocksBehindAWindowWithoutText) {
    static std::string during;
    m_loop.onDraw = [](cScenePlay& scene, int draw) {
        if (draw != 1) return;
        const cMessageWindow& w = scene.m_lstMessages.back();
        during = std::to_string(scene.m_Wait.m_nKind) + " " + std::to_string(scene.m_lstMessages.size()) + " '" +
                 w.m_strText + "' " + std::to_string(w.m_nDurationMode) + " " + std::to_string(w.m_nFramesLeft) +
                 " " + std::to_string(w.m_bCountWhilePaused) + " " + std::to_string(w.m_bOpening);
    };
    m_loop.RunAsGame([&] { DoGameWait(*m_self, Command(CMD_GAME_WAIT, {{0, 15}})); });
    EXPECT_EQ(m_loop.draws, 90);  // 15 tenths
    EXPECT_EQ(during, "0 1 '' 2 89 1 0");  // its frames run while the loop draws
    EXPECT_TRUE(Traced().empty());          // a time-out ends without a sound
    EXPECT_TRUE(m_scene.m_lstMessages.empty());
    EXPECT_TRUE(g_lstMessageSurfaces.empty());  // its surface given back
}

// What the message sets its window up with: the parameters, the display
// frames, the owner and the chain flag (no opening).
TEST_F(MessageTest, WindowValues) {
    struct Case {
        int anchor, p17;
        int chain;
        const char* values;
    };
    const Case cases[] = {
        {2, 0, 0, "2 18 1 2 3 4 5 10 0 42 0 101 1 9 11 16 14 0 13 0"},  // the chara's key
        {5, 0, 1, "5 18 1 2 3 4 5 10 0 42 0 5 0 9 11 16 14 0 13 0"},    // the hero's; chained
        {7, 1, 0, "7 18 1 2 3 4 5 10 0 1 0 0 1 9 11 16 14 0 13 0"},     // fixed; one frame
    };
    for (const Case& k : cases) {
        m_scene.m_lstMessages.clear();
        EXPECT_EQ(Run(Message({{0, k.anchor}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {7, 7}, {9, 9}, {10, 10},
                               {11, 11}, {13, 13}, {14, 14}, {16, 16}, {17, k.p17}, {18, 18}}),
                      k.chain),
                  0);
        EXPECT_TRUE(Traced().empty());  // not blocking: the window stays
        ASSERT_EQ(m_scene.m_lstMessages.size(), 1u);
        const cMessageWindow& w = m_scene.m_lstMessages.front();
        std::string values;
        for (int32_t v : {w.m_nAnchor, w.m_nUnit, w.m_nPosX, w.m_nPosY, w.m_nOffsetX, w.m_nOffsetY, w.m_bClampToScreen,
                          w.m_bFixed, w.m_nDurationMode, w.m_nFramesLeft, w.m_bCountWhilePaused, w.m_nTargetId,
                          w.m_bOpening, w.m_bVariables, w.m_bRefresh, w.m_nRefreshFrames, w.m_bFramed, w.m_bHasId,
                          w.m_nId, w.m_bChoices})
            values += (values.empty() ? "" : " ") + std::to_string(v);
        EXPECT_EQ(values, k.values) << k.anchor;
        EXPECT_EQ(w.m_strText, "Hi");
        EXPECT_EQ(w.m_nKind, MESWIN_TEXT);
        EXPECT_NE(w.m_lpSurface, nullptr);
    }
}

// The loop each wait mode runs: a button wait listens after 20 frames
// unless chained, and is answered with sound 13; a timed one draws its
// display time; another mode leaves the record as the last loop set it.
TEST_F(MessageTest, WaitModesSoundAndChain) {
    struct Case {
        int waitMode, chain, draws;
        std::vector<std::string> trace;
    };
    const Case cases[] = {
        {0, 0, 20, {"se 12", "loop 1 1 0 'Hi'", "se 13"}},
        {0, 1, 2, {"loop 1 1 0 'Hi'", "se 13"}},
        {2, 0, 30, {"loop 1 0 0 'Hi'"}},
        {1, 0, 4, {"loop 3 0 0 'Hi'"}},  // a picture's wait of 4 frames, set before
    };
    for (const Case& k : cases) {
        m_scene.InitDisplayRequest(3, 0, 4, 0, nullptr);
        EXPECT_EQ(Run(Message({{6, k.waitMode}, {7, 5}, {8, 1}}), k.chain), k.draws) << k.waitMode << " " << k.chain;
        EXPECT_EQ(Traced(), k.trace) << k.waitMode << " " << k.chain;
        EXPECT_TRUE(m_scene.m_lstMessages.empty());  // removed when the loop returned
        EXPECT_TRUE(g_lstMessageSurfaces.empty());
    }
    // A window the loop's draw pass already deleted is not looked for.
    m_loop.onDraw = [](cScenePlay& scene, int) {
        for (cMessageWindow& w : scene.m_lstMessages) w.ReleaseWorkSurface();
        scene.m_lstMessages.clear();
    };
    Run(Message({{6, 2}, {7, 5}, {8, 1}}), 0);
    EXPECT_TRUE(m_scene.m_lstMessages.empty());
    // Nothing while the scene closes.
    m_scene.m_bClosing = 1;
    EXPECT_EQ(Run(Message({{8, 1}}), 0), 0);
    EXPECT_TRUE(Traced().empty());
    EXPECT_TRUE(m_scene.m_lstMessages.empty());
}

TEST_F(MessageTest, WindowsFoundByTheirId) {
    const auto byId = [](int id, const char* text = "Hi", int close = 0, int block = 0) {
        return Message({{12, 1}, {13, id}, {15, close}, {8, block}}, text);
    };
    Run(byId(4), 0);
    Run(byId(6, "Six"), 0);
    ASSERT_EQ(Windows(), "'Hi' 'Six'");
    // The same size: set up again in place, its surface at its pool place.
    cMessageWindow* first = &WindowAt(0);
    Run(byId(4, "Ho"), 0);
    EXPECT_EQ(Windows(), "'Ho' 'Six'");
    EXPECT_EQ(&WindowAt(0), first);
    EXPECT_EQ(first->PoolSlot(), 0);
    EXPECT_EQ(g_lstMessageSurfaces.size(), 2u);
    // Another size: a new window in its place, the old surface given back.
    Run(byId(4, "Longer"), 0);
    EXPECT_EQ(Windows(), "'Longer' 'Six'");
    EXPECT_EQ(WindowAt(0).PoolSlot(), 1);
    EXPECT_EQ(g_lstMessageSurfaces.size(), 2u);
    // Close by ID; closing a missing ID, or one of a window put up without
    // an ID, does nothing.
    Run(Message({{13, 8}}, "Plain"), 0);
    Run(byId(6, "", 1), 0);
    Run(byId(9, "", 1), 0);
    Run(byId(8, "", 1), 0);
    EXPECT_EQ(Windows(), "'Longer' 'Plain'");
    EXPECT_EQ(g_lstMessageSurfaces.size(), 2u);
    // A blocking reuse removes the window when the loop returns.
    Run(byId(4, "Longer", 0, 1), 0);
    EXPECT_EQ(Traced(), (std::vector<std::string>{"se 12", "loop 1 1 0 'Longer' 'Plain'", "se 13"}));
    EXPECT_EQ(Windows(), "'Plain'");
}

// The row the player chose in the loop: moved down once from the first
// choice live, taken from the replay in playback.
TEST_F(MessageTest, ChoicesGoIntoTheReplayAndTheFlowVariable) {
    m_loop.pressAt = {21};
    m_loop.onDraw = [](cScenePlay& scene, int draw) {
        TraceFirstDraw(scene, draw);
        if (draw == 20 && !IsReplayPlayback()) s_keys->insert(platform::VK_DOWN);
    };
    s_keys = &m_loop.keys.keys;
    struct Case {
        int write, gameType, compat981;
        int32_t word0, word1;
        std::vector<int32_t> recorded;
    };
    const Case cases[] = {
        {1, 0, 0, -4, 7, {2, 1}},
        {0, 1, 0, 9, 7, {2, 1}},
        {1, kGameTypeReplay, 0, 5, 7, {2}},  // playback: the row came from the replay
        {1, 2, 1, -4, 0, {2, 1}},
    };
    g_OptionData.m_nMessageAuto = 1;  // playback goes on at once
    for (const Case& k : cases) {
        g_Replay.m_vecChoice = {2};
        g_Replay.RewindPlayback();
        g_SceneState.g_nGameType = k.gameType;
        g_SystemData.m_bCompat981 = k.compat981;
        m_vars[0] = 9;
        m_vars[1] = 7;
        Run(Message({{8, 1}, {19, 1}, {20, k.write}}, "#R250 yes #R-4 no #R5 maybe"), 0);
        EXPECT_EQ(m_vars[0], k.word0) << k.gameType;
        EXPECT_EQ(m_vars[1], k.word1) << k.gameType;
        EXPECT_EQ(g_Replay.m_vecChoice, k.recorded) << k.gameType;
        EXPECT_EQ(Traced().at(1), "loop 1 1 3 '  yes   no   maybe'") << k.gameType;  // the window's three choices
    }
    // No choices on the window (none asked, or a timed window drops them):
    // nothing written, nothing recorded.
    g_SceneState.g_nGameType = 0;
    for (const cEdFlowCmd& cmd : {Message({{8, 1}, {20, 1}}, "#R250 yes"),
                                  Message({{6, 2}, {8, 1}, {19, 1}, {20, 1}}, "#R250 yes")}) {
        g_Replay.m_vecChoice.clear();
        m_vars[0] = 9;
        Run(cmd, 0);
        EXPECT_EQ(m_vars[0], 9);
        EXPECT_TRUE(g_Replay.m_vecChoice.empty());
    }
}

// Through the flow runtime: a button-wait message after another one is
// chained: no sound and no start delay (the button still held from the
// last answer has to be let go first); any other command between them
// breaks the chain.
class MessageChainTest : public flowtest::FlowEngineTest {
protected:
    void SetUp() override {
        FlowEngineTest::SetUp();
        ASSERT_TRUE(m_device.Open(m_scene));
        SetMediaCallLog(true);
        ClearMediaCallLog();
        m_scene.m_lpCurFlowVars = m_vars;
        m_loop.PressEveryOtherFrame();
    }
    testsupport::cMessageDevice m_device;
    testsupport::cNestedLoopDriver m_loop;
    int32_t m_vars[2] = {};
};

TEST_F(MessageChainTest, ChainedButtonWaits) {
    using flowtest::Cmd;
    std::vector<int32_t> blocking(21, 0);
    blocking[8] = 1;
    cFlow& flow = Build({Cmd{CMD_MESSAGE, 1, 1, 0, blocking}, Cmd{CMD_MESSAGE, 2, 1, 0, blocking}, Cmd{CMD_WAIT, 3},
                         Cmd{CMD_MESSAGE, 4, 1, 0, blocking}});
    StartFlow(flow);
    m_loop.RunAsGame([&] { Passes(4); });
    EXPECT_EQ(m_loop.draws, 42);  // 20 for the first and the last, 2 for the chained one
    EXPECT_EQ(Traced(), (std::vector<std::string>{"se 12", "se 13", "se 13", "se 12", "se 13"}));
}

}  // namespace
