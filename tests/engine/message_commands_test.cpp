// The game wait and the message over fakes of the window list, the wait
// record and the nested loop, which trace what the commands hand them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_thread.h"
#include "app/scene_manager.h"
#include "engine/message_commands.h"
#include "media/media_services.h"
#include "tests/engine/command_world.h"
#include "tests/engine/flow_engine_fixture.h"

using namespace cmdtest;

namespace {

// What the fakes saw and the sounds played, in order, from the media call
// log (a fake's line is marked with '@' there).
void Trace(const std::string& line) { RecordMediaCall("@" + line); }
std::vector<std::string> Traced() {
    std::vector<std::string> out;
    for (const std::string& call : MediaCallLog()) {
        int n = 0;
        if (!call.empty() && call[0] == '@') out.push_back(call.substr(1));
        else if (std::sscanf(call.c_str(), "PlaySe %d", &n) == 1) out.push_back("se " + std::to_string(n));
    }
    return out;
}
long CountTraced(const std::string& line) {
    const std::vector<std::string> t = Traced();
    return std::count(t.begin(), t.end(), line);
}
// Fake windows: the scene's list as IDs; a window is a pointer to its slot.
std::vector<int> g_windows;
int g_slots[16];
bool g_fits = true;
bool g_choice = false;
int32_t g_row = 0, g_value = 0;

cMessageWindow* Handle(int slot) { return reinterpret_cast<cMessageWindow*>(&g_slots[slot]); }
int SlotOf(const cMessageWindow* w) { return static_cast<int>(reinterpret_cast<const int*>(w) - g_slots); }
std::string Values(const MessageWindowArgs& a) {
    std::string s = "'" + a.text + "'";
    for (int32_t v : a.values) s += " " + std::to_string(v);
    return s;
}

void InstallFakes() {
    SetMainThread();  // sound requests are served at once
    SetMediaCallLog(true);
    ClearMediaCallLog();
    g_windows.clear();
    g_fits = true;
    g_choice = false;
    for (int i = 0; i < 16; ++i) g_slots[i] = -1;
    seam::FindMessageWindow = [](cScenePlay&, int id) -> cMessageWindow* {
        for (int slot : g_windows)
            if (g_slots[slot] == id) return Handle(slot);
        return nullptr;
    };
    seam::RemoveMessageWindow = [](cScenePlay&, cMessageWindow* w) {
        Trace("remove " + std::to_string(SlotOf(w)));
        std::erase(g_windows, SlotOf(w));
    };
    seam::MessageWindowFits = [](cMessageWindow&, const MessageWindowArgs&) { return g_fits; };
    seam::ReinitMessageWindow = [](cMessageWindow& w, const MessageWindowArgs& a) {
        Trace("reinit " + std::to_string(SlotOf(&w)) + " " + Values(a));
    };
    seam::AddMessageWindow = [](cScenePlay&, const MessageWindowArgs& a, cMessageWindow* replacing) {
        int slot = 0;
        while (g_slots[slot] != -1) ++slot;
        g_slots[slot] = a.values[17] ? a.values[18] : 0;
        if (replacing) {
            for (int& s : g_windows)
                if (s == SlotOf(replacing)) s = slot;
        } else {
            g_windows.push_back(slot);
        }
        Trace("add " + std::to_string(slot) + (replacing ? " for " + std::to_string(SlotOf(replacing)) : "") +
                          " " + Values(a));
        return Handle(slot);
    };
    seam::InitDisplayRequest = [](cScenePlay&, int kind, int button, int timeout, int noDelay, int choices) {
        Trace("wait " + std::to_string(kind) + " " + std::to_string(button) + " " + std::to_string(timeout) +
                          " " + std::to_string(noDelay) + " " + std::to_string(choices));
    };
    seam::RunPauseLoop = [](cScenePlay&) { Trace("loop"); };
    seam::ChosenChoice = [](cScenePlay&, int32_t& row, int32_t& value) {
        row = g_row;
        value = g_value;
        return g_choice;
    };
    seam::RecordReplayChoice = [](int32_t row) { Trace("replay " + std::to_string(row)); };
}

class MessageTest : public CommandWorld {
protected:
    void SetUp() override {
        CommandWorld::SetUp();
        InstallFakes();
        m_savedType = g_SceneManager.g_nGameType;
        g_SceneManager.g_nGameType = 0;
        m_self = &Add(1);
        Hero().m_nKey = 5;
    }
    void TearDown() override {
        g_SceneManager.g_nGameType = m_savedType;
        SetMediaCallLog(false);
        CommandWorld::TearDown();
    }
    static cEdFlowCmd Message(std::initializer_list<std::pair<int, int32_t>> set, const std::string& text = "Hi") {
        cEdFlowCmd c = Command(CMD_MESSAGE, set);
        c.m_strCode = text;
        return c;
    }
    cTestChara* m_self = nullptr;
    int m_savedType = 0;
};

TEST_F(MessageTest, GameWaitBlocksBehindAWindowWithoutText) {
    DoGameWait(*m_self, Command(CMD_GAME_WAIT, {{0, 15}}));
    EXPECT_EQ(Traced(), (std::vector<std::string>{"add 0 '' 0 0 0 0 0 0 0 0 2 90 1 0 0 0 0 0 0 0 0 0", "wait 0 0 90 0 0",
                                                 "loop", "remove 0"}));
    EXPECT_TRUE(g_windows.empty());
}

// What the message hands to its window: the parameters in the window's
// order, the display frames, the owner and the chain flag.
TEST_F(MessageTest, WindowValues) {
    struct Case {
        int anchor, p17;
        int chain;
        const char* values;
    };
    const Case cases[] = {
        {2, 0, 0, "'Hi' 2 18 1 2 3 4 5 10 1 42 0 101 0 9 11 16 14 0 13 0"},   // the chara's key
        {5, 0, 1, "'Hi' 5 18 1 2 3 4 5 10 1 42 0 5 1 9 11 16 14 0 13 0"},     // the hero's
        {7, 1, 0, "'Hi' 7 18 1 2 3 4 5 10 1 1 0 0 0 9 11 16 14 0 13 0"},      // fixed; one frame
    };
    for (const Case& k : cases) {
        ClearMediaCallLog();
        DoMessage(*m_self,
                  Message({{0, k.anchor}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 1}, {7, 7}, {9, 9}, {10, 10},
                           {11, 11}, {13, 13}, {14, 14}, {16, 16}, {17, k.p17}, {18, 18}}),
                  k.chain);
        ASSERT_EQ(Traced().size(), 1u);  // not blocking: the window stays
        EXPECT_EQ(Traced()[0].substr(Traced()[0].find('\'')), k.values);
    }
    EXPECT_EQ(g_windows.size(), 3u);
}

TEST_F(MessageTest, WaitModesSoundAndChain) {
    struct Case {
        int waitMode, chain;
        std::vector<std::string> trace;
    };
    const std::string add = "add 0 'Hi' 0 0 0 0 0 0 0 0 ";
    const Case cases[] = {
        {0, 0, {add + "0 30 1 0 0 0 0 0 0 0 0 0", "wait 1 1 0 0 0", "se 12", "loop", "remove 0"}},
        {0, 1, {add + "0 30 1 0 1 0 0 0 0 0 0 0", "wait 1 1 0 1 0", "loop", "remove 0"}},
        {2, 0, {add + "2 30 1 0 0 0 0 0 0 0 0 0", "wait 1 0 30 0 0", "loop", "remove 0"}},
        {1, 0, {add + "1 30 1 0 0 0 0 0 0 0 0 0", "loop", "remove 0"}},  // the record is left as it is
    };
    for (const Case& k : cases) {
        InstallFakes();
        DoMessage(*m_self, Message({{6, k.waitMode}, {7, 5}, {8, 1}}), k.chain);
        EXPECT_EQ(Traced(), k.trace) << k.waitMode << " " << k.chain;
    }
    // Nothing while the scene closes.
    InstallFakes();
    seam::IsPlayClosing = [](const cScenePlay&) { return true; };
    DoMessage(*m_self, Message({{8, 1}}), 0);
    EXPECT_TRUE(Traced().empty());
}

TEST_F(MessageTest, WindowsFoundByTheirId) {
    const auto byId = [](int id, int close = 0, int block = 0) {
        return Message({{12, 1}, {13, id}, {15, close}, {8, block}});
    };
    DoMessage(*m_self, byId(4), 0);
    DoMessage(*m_self, byId(6), 0);
    ASSERT_EQ(g_windows, (std::vector<int>{0, 1}));
    // The same size: set up again in place.
    ClearMediaCallLog();
    DoMessage(*m_self, byId(4), 0);
    ASSERT_EQ(Traced().size(), 1u);
    EXPECT_EQ(Traced()[0].substr(0, 9), "reinit 0 ");
    // Another size: a new window in its place.
    g_fits = false;
    ClearMediaCallLog();
    DoMessage(*m_self, byId(4), 0);
    ASSERT_EQ(Traced().size(), 1u);
    EXPECT_EQ(Traced()[0].substr(0, 12), "add 2 for 0 ");
    EXPECT_EQ(g_windows, (std::vector<int>{2, 1}));
    // Close by ID; closing a missing ID does nothing.
    ClearMediaCallLog();
    DoMessage(*m_self, byId(6, 1), 0);
    DoMessage(*m_self, byId(9, 1), 0);
    EXPECT_EQ(Traced(), (std::vector<std::string>{"remove 1"}));
    EXPECT_EQ(g_windows, (std::vector<int>{2}));
    // A blocking reuse removes the window when the loop returns.
    g_fits = true;
    ClearMediaCallLog();
    DoMessage(*m_self, byId(4, 0, 1), 0);
    EXPECT_EQ(Traced().back(), "remove 2");
    EXPECT_TRUE(g_windows.empty());
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
        {1, 4, 0, 250, 7, false},  // playback: the row came from the replay
        {1, 2, 1, 250, 0, true},
    };
    g_row = 3;
    g_value = 250;
    for (const Case& k : cases) {
        InstallFakes();
        g_choice = true;
        g_SceneManager.g_nGameType = k.gameType;
        g_SystemData.m_bCompat981 = k.compat981;
        m_vars[0] = 9;
        m_vars[1] = 7;
        DoMessage(*m_self, Message({{8, 1}, {19, 1}, {20, k.write}}, "#R250 yes"), 0);
        EXPECT_EQ(m_vars[0], k.word0) << k.gameType;
        EXPECT_EQ(m_vars[1], k.word1) << k.gameType;
        EXPECT_EQ(CountTraced("replay 3"), k.recorded ? 1 : 0) << k.gameType;
        EXPECT_EQ(Traced()[1], "wait 1 1 0 0 1");
    }
    // No choices: nothing written, nothing recorded.
    InstallFakes();
    m_vars[0] = 9;
    DoMessage(*m_self, Message({{8, 1}, {20, 1}}), 0);
    EXPECT_EQ(m_vars[0], 9);
    EXPECT_EQ(CountTraced("replay 3"), 0);
}

// Through the flow runtime: a button-wait message after another one is
// chained (no sound); any other command between them breaks the chain.
class MessageChainTest : public flowtest::FlowEngineTest {
protected:
    void SetUp() override {
        FlowEngineTest::SetUp();
        InstallFakes();
        m_scene.m_lpCurFlowVars = m_vars;
    }
    void TearDown() override {
        seam::ResetFlowControlSeams();
        SetMediaCallLog(false);
        FlowEngineTest::TearDown();
    }
    int32_t m_vars[2] = {};
};

TEST_F(MessageChainTest, ChainedButtonWaits) {
    using flowtest::Cmd;
    const std::vector<int32_t> buttonWait(21, 0);
    std::vector<int32_t> blocking = buttonWait;
    blocking[8] = 1;
    cFlow& flow = Build({Cmd{CMD_MESSAGE, 1, 1, 0, blocking}, Cmd{CMD_MESSAGE, 2, 1, 0, blocking}, Cmd{CMD_WAIT, 3},
                         Cmd{CMD_MESSAGE, 4, 1, 0, blocking}});
    StartFlow(flow);
    Passes(4);
    EXPECT_EQ(CountTraced("se 12"), 2);  // the first and the last
    std::vector<std::string> waits;
    for (const std::string& t : Traced())
        if (t.rfind("wait", 0) == 0) waits.push_back(t);
    EXPECT_EQ(waits, (std::vector<std::string>{"wait 1 1 0 0 0", "wait 1 1 0 1 0", "wait 1 1 0 0 0"}));
}

}  // namespace
