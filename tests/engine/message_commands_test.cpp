// The game wait and the message over the scene's real window list, with
// fakes of the wait record and the nested loop that trace what the commands
// hand them and what is on screen while they run.
#include <cstdio>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/main_thread.h"
#include "media/media_services.h"
#include "app/scene_manager.h"
#include "engine/message_commands.h"
#include "engine/presentation_seams.h"
#include "frontend/replay/replay.h"
#include "tests/engine/command_world.h"
#include "tests/engine/flow_engine_fixture.h"
#include "tests/support/call_trace.h"
#include "tests/support/message_device.h"

using namespace cmdtest;

namespace {

constexpr int kGameTypeReplay = 4;

// What the fakes saw and the system sounds played, in order.
using calltrace::Trace;
std::vector<std::string> Traced() { return calltrace::Traced(0); }
[[maybe_unused]] long CountTraced(const std::string& line) { return calltrace::CountTraced(line, 0); }
bool g_choice = false;
int32_t g_row = 0, g_value = 0;

// The texts of the scene's windows, in list order.
std::string Windows() {
    std::string s;
    for (const cMessageWindow& w : PlayScene()->m_lstMessages) s += (s.empty() ? "'" : " '") + w.m_strText + "'";
    return s;
}

void InstallFakes() {
    SetMainThread();  // sound requests are served at once
    SetMediaCallLog(true);
    ClearMediaCallLog();
    g_choice = false;
    seam::InitDisplayRequest = [](int kind, int button, int timeout, int noDelay,
                                  const std::vector<MessageChoice>* choices) {
        Trace("wait " + std::to_string(kind) + " " + std::to_string(button) + " " +
                          std::to_string(timeout) + " " + std::to_string(noDelay) + " " +
                          std::to_string(choices ? static_cast<int>(choices->size()) : -1));
    };
    seam::RunPauseLoop = [] { Trace("loop " + Windows()); };
    seam::ChosenChoice = [](cScenePlay&, int32_t& row, int32_t& value) {
        row = g_row;
        value = g_value;
        return g_choice;
    };
}

class MessageTest : public CommandWorld {
protected:
    void SetUp() override {
        CommandWorld::SetUp();
        ASSERT_TRUE(m_device.Open(m_scene));
        InstallFakes();
        m_savedType = g_SceneManager.g_nGameType;
        m_savedChoices = g_Replay.m_vecChoice;
        g_SceneManager.g_nGameType = 0;
        g_Replay.m_vecChoice.clear();
        m_self = &Add(1);
        Hero().m_nKey = 5;
    }
    void TearDown() override {
        g_SceneManager.g_nGameType = m_savedType;
        g_Replay.m_vecChoice = m_savedChoices;
        seam::ResetPresentationSeams();
        CommandWorld::TearDown();
    }
    static cEdFlowCmd Message(std::initializer_list<std::pair<int, int32_t>> set, const std::string& text = "Hi") {
        cEdFlowCmd c = Command(CMD_MESSAGE, set);
        c.m_strCode = text;
        return c;
    }
    cMessageWindow& WindowAt(size_t i) { return *std::next(m_scene.m_lstMessages.begin(), static_cast<long>(i)); }
    testsupport::cMessageDevice m_device;
    cTestChara* m_self = nullptr;
    int m_savedType = 0;
    std::vector<int32_t> m_savedChoices;
};

TEST_F(MessageTest, GameWaitBlocksBehindAWindowWithoutText) {
    static std::string during;
    seam::RunPauseLoop = [] {
        const cMessageWindow& w = PlayScene()->m_lstMessages.back();
        during = std::to_string(PlayScene()->m_lstMessages.size()) + " '" + w.m_strText + "' " +
                 std::to_string(w.m_nDurationMode) + " " + std::to_string(w.m_nFramesLeft) + " " +
                 std::to_string(w.m_bCountWhilePaused) + " " + std::to_string(w.m_bOpening);
    };
    DoGameWait(*m_self, Command(CMD_GAME_WAIT, {{0, 15}}));
    EXPECT_EQ(Traced(), (std::vector<std::string>{"wait 0 0 90 0 -1"}));
    EXPECT_EQ(during, "1 '' 2 90 1 0");
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
        ClearMediaCallLog();
        DoMessage(*m_self,
                  Message({{0, k.anchor}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {7, 7}, {9, 9}, {10, 10}, {11, 11},
                           {13, 13}, {14, 14}, {16, 16}, {17, k.p17}, {18, 18}}),
                  k.chain);
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

TEST_F(MessageTest, WaitModesSoundAndChain) {
    struct Case {
        int waitMode, chain;
        std::vector<std::string> trace;
    };
    const Case cases[] = {
        {0, 0, {"wait 1 1 0 0 -1", "se 12", "loop 'Hi'"}},
        {0, 1, {"wait 1 1 0 1 -1", "loop 'Hi'"}},
        {2, 0, {"wait 1 0 30 0 -1", "loop 'Hi'"}},
        {1, 0, {"loop 'Hi'"}},  // the record is left as it is
    };
    for (const Case& k : cases) {
        InstallFakes();
        DoMessage(*m_self, Message({{6, k.waitMode}, {7, 5}, {8, 1}}), k.chain);
        EXPECT_EQ(Traced(), k.trace) << k.waitMode << " " << k.chain;
        EXPECT_TRUE(m_scene.m_lstMessages.empty());  // removed when the loop returned
        EXPECT_TRUE(g_lstMessageSurfaces.empty());
    }
    // A timed window the loop's draw pass already deleted is not looked for.
    seam::RunPauseLoop = [] { PlayScene()->m_lstMessages.clear(); };
    DoMessage(*m_self, Message({{6, 2}, {7, 5}, {8, 1}}), 0);
    EXPECT_TRUE(m_scene.m_lstMessages.empty());
    // Nothing while the scene closes.
    InstallFakes();
    seam::IsPlayClosing = [](const cScenePlay&) { return true; };
    DoMessage(*m_self, Message({{8, 1}}), 0);
    EXPECT_TRUE(Traced().empty());
    EXPECT_TRUE(m_scene.m_lstMessages.empty());
}

TEST_F(MessageTest, WindowsFoundByTheirId) {
    const auto byId = [](int id, const char* text = "Hi", int close = 0, int block = 0) {
        return Message({{12, 1}, {13, id}, {15, close}, {8, block}}, text);
    };
    DoMessage(*m_self, byId(4), 0);
    DoMessage(*m_self, byId(6, "Six"), 0);
    ASSERT_EQ(Windows(), "'Hi' 'Six'");
    // The same size: set up again in place, its surface at its pool place.
    cMessageWindow* first = &WindowAt(0);
    DoMessage(*m_self, byId(4, "Ho"), 0);
    EXPECT_EQ(Windows(), "'Ho' 'Six'");
    EXPECT_EQ(&WindowAt(0), first);
    EXPECT_EQ(first->PoolSlot(), 0);
    EXPECT_EQ(g_lstMessageSurfaces.size(), 2u);
    // Another size: a new window in its place, the old surface given back.
    DoMessage(*m_self, byId(4, "Longer"), 0);
    EXPECT_EQ(Windows(), "'Longer' 'Six'");
    EXPECT_EQ(WindowAt(0).PoolSlot(), 1);
    EXPECT_EQ(g_lstMessageSurfaces.size(), 2u);
    // Close by ID; closing a missing ID, or one of a window put up without
    // an ID, does nothing.
    DoMessage(*m_self, Message({{13, 8}}, "Plain"), 0);
    DoMessage(*m_self, byId(6, "", 1), 0);
    DoMessage(*m_self, byId(9, "", 1), 0);
    DoMessage(*m_self, byId(8, "", 1), 0);
    EXPECT_EQ(Windows(), "'Longer' 'Plain'");
    EXPECT_EQ(g_lstMessageSurfaces.size(), 2u);
    // A blocking reuse removes the window when the loop returns.
    DoMessage(*m_self, byId(4, "Longer", 0, 1), 0);
    EXPECT_EQ(Traced().back(), "loop 'Longer' 'Plain'");
    EXPECT_EQ(Windows(), "'Plain'");
}

TEST_F(MessageTest, ChoicesGoIntoTheReplayAndTheFlowVariable) {
    struct Case {
        int write, gameType, compat981;
        int32_t word0, word1;
        bool recorded;
    };
    const Case cases[] = {
        {1, 0, 0, 250, 7, true},
        {0, 1, 0, 9, 7, true},
        {1, kGameTypeReplay, 0, 250, 7, false},  // playback: the row came from the replay
        {1, 2, 1, 250, 0, true},
    };
    g_row = 3;
    g_value = 250;
    for (const Case& k : cases) {
        InstallFakes();
        g_choice = true;
        g_Replay.m_vecChoice = {1};
        g_SceneManager.g_nGameType = k.gameType;
        g_SystemData.m_bCompat981 = k.compat981;
        m_vars[0] = 9;
        m_vars[1] = 7;
        DoMessage(*m_self, Message({{8, 1}, {19, 1}, {20, k.write}}, "#R250 yes #R-4 no"), 0);
        EXPECT_EQ(m_vars[0], k.word0) << k.gameType;
        EXPECT_EQ(m_vars[1], k.word1) << k.gameType;
        const std::vector<int32_t> rows = k.recorded ? std::vector<int32_t>{1, 3} : std::vector<int32_t>{1};
        EXPECT_EQ(g_Replay.m_vecChoice, rows) << k.gameType;
        EXPECT_EQ(Traced()[0], "wait 1 1 0 0 2");  // the window's two choices
    }
    // No choices on the window (none asked, or a timed window drops them):
    // nothing written, nothing recorded.
    g_SceneManager.g_nGameType = 0;
    for (const cEdFlowCmd& cmd : {Message({{8, 1}, {20, 1}}, "#R250 yes"),
                                  Message({{6, 2}, {8, 1}, {19, 1}, {20, 1}}, "#R250 yes")}) {
        InstallFakes();
        g_choice = true;
        g_Replay.m_vecChoice.clear();
        m_vars[0] = 9;
        DoMessage(*m_self, cmd, 0);
        EXPECT_EQ(m_vars[0], 9);
        EXPECT_TRUE(g_Replay.m_vecChoice.empty());
    }
}

// Through the flow runtime: a button-wait message after another one is
// chained (no sound); any other command between them breaks the chain.
class MessageChainTest : public flowtest::FlowEngineTest {
protected:
    void SetUp() override {
        FlowEngineTest::SetUp();
        ASSERT_TRUE(m_device.Open(m_scene));
        InstallFakes();
        m_scene.m_lpCurFlowVars = m_vars;
    }
    void TearDown() override {
        seam::ResetFlowControlSeams();
        seam::ResetPresentationSeams();
        FlowEngineTest::TearDown();
    }
    testsupport::cMessageDevice m_device;
    int32_t m_vars[2] = {};
};

TEST_F(MessageChainTest, ChainedButtonWaits) {
    using flowtest::Cmd;
    std::vector<int32_t> blocking(21, 0);
    blocking[8] = 1;
    cFlow& flow = Build({Cmd{CMD_MESSAGE, 1, 1, 0, blocking}, Cmd{CMD_MESSAGE, 2, 1, 0, blocking}, Cmd{CMD_WAIT, 3},
                         Cmd{CMD_MESSAGE, 4, 1, 0, blocking}});
    StartFlow(flow);
    Passes(4);
    EXPECT_EQ(CountTraced("se 12"), 2);  // the first and the last
    std::vector<std::string> waits;
    for (const std::string& t : Traced())
        if (t.rfind("wait", 0) == 0) waits.push_back(t);
    EXPECT_EQ(waits, (std::vector<std::string>{"wait 1 1 0 0 -1", "wait 1 1 0 1 -1", "wait 1 1 0 0 -1"}));
}

}  // namespace
