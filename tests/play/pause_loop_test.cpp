// Nested frame loops on their own thread: the button delay of a message,
// time-outs, automatic progress in replay playback, the input record put
// back on every way out, the loop thread's generator, the choice scan, a
// close during a loop, and the extra lives of a stage clear.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "app/main_thread.h"
#include "app/quit.h"
#include "app/random.h"
#include "app/thread.h"
#include "frontend/data/option_data.h"
#include "media/input/input_list.h"
#include "platform/clock.h"
#include "platform/input_source.h"
#include "play/draw_stage.h"
#include "play/message_window.h"
#include "play/stage_play_seams.h"
#include "tests/media/input/fake_input_source.h"
#include "tests/support/sound_log.h"
#include "tests/support/stage_builder.h"

using namespace stagetest;

namespace {

// Per drawn frame of the loop: the count, the loop thread's generator on
// the first one, and the keys of the next frame.
std::atomic<int> g_draws{0};
uint32_t g_firstDrawRand = 0;
cFakeInputSource* g_keys = nullptr;
std::vector<int>* g_pressAt = nullptr;  // draw counts after which button 0 goes down for a frame
cScenePlay* g_closeAfter = nullptr;     // closes the window after the 3rd draw

void OnDraw(cScenePlay&, int) {
    const int n = ++g_draws;
    if (n == 1) g_firstDrawRand = RandState();
    g_keys->keys.clear();
    if (g_pressAt)
        for (int at : *g_pressAt)
            if (at == n) g_keys->keys.insert('Z');
    if (g_closeAfter && n == 3) g_closeAfter->m_bClosing = 1;
}

class PauseLoopTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        StageBuilder b(20, 10);
        b.Hero(2, 5);
        b.Install();
        Setup();
        m_savedType = g_SceneManager.g_nGameType;
        m_savedAuto = g_OptionData.m_nMessageAuto;
        m_savedRescan = g_OptionData.m_bJoyRescan;
        g_OptionData.m_bJoyRescan = 0;
        g_SceneManager.m_bJoystickSetupDone = true;
        g_SceneManager.g_nGameType = 3;
        g_bActive = 1;
        ClaimGameToken();
        g_InputList.at(0).m_bTriggerLatch = 0;
        g_draws = 0;
        g_keys = &m_keys;
        g_pressAt = nullptr;
        g_closeAfter = nullptr;
        seam::ResetStagePlaySeams();
        g_pfnDrawPassHook = OnDraw;
    }
    void TearDown() override {
        g_pfnDrawPassHook = nullptr;
        seam::ResetStagePlaySeams();
        g_SceneManager.g_nGameType = m_savedType;
        g_OptionData.m_nMessageAuto = m_savedAuto;
        g_OptionData.m_bJoyRescan = m_savedRescan;
        ClaimGameToken();
        StageTest::TearDown();
    }
    // The loop as the game thread runs it, while this thread serves the
    // main thread's requests (the sounds).
    void RunLoop() {
        std::atomic<bool> done{false};
        std::thread game([&] {
            ClaimGameToken();
            m_gameRandBefore = RandState();
            m_scene.RunPauseLoop();
            m_gameRandAfter = RandState();
            done = true;
        });
        while (!done) {
            ServeMainThreadRequests();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        game.join();
        ClaimGameToken();
    }
    cFakeInputSource m_keys;
    platform::cScopedInputSource m_source{m_keys};
    soundlog::Scope m_sounds;
    int m_savedType = 0, m_savedAuto = 0, m_savedRescan = 0;
    uint32_t m_gameRandBefore = 0, m_gameRandAfter = 0;
};

TEST_F(PauseLoopTest, AButtonWaitIgnoresTwentyFramesAndPutsTheInputBack) {
    struct Case {
        int noDelay, draws;
    };
    for (const Case c : {Case{0, 20}, Case{1, 2}}) {
        std::vector<int> press;
        for (int i = 0; i < 40; i += 2) press.push_back(i);  // down every other frame
        g_pressAt = &press;
        m_keys.keys.clear();
        g_draws = 0;
        ClearMediaCallLog();
        cInput& in = g_InputList.at(0);
        in.m_sDir = 8;
        in.m_bTriggerLatch = 0;
        m_scene.m_bHoldButtons = 0;
        m_scene.InitDisplayRequest(1, 1, 0, c.noDelay, nullptr);
        EXPECT_EQ(m_scene.m_Wait.m_nDelay, c.noDelay ? 0 : 20);
        RunLoop();
        EXPECT_EQ(g_draws, c.draws) << c.noDelay;
        EXPECT_EQ(soundlog::Played(), (std::vector<int>{13}));
        EXPECT_EQ(m_scene.m_bHoldButtons, 1);
        EXPECT_EQ(in.m_sDir, 8);  // the play's record is back
    }
}

TEST_F(PauseLoopTest, ATimeOutDrawsItsFramesWithoutASound) {
    cInput& in = g_InputList.at(0);
    in.m_sDir = 4;
    m_scene.InitDisplayRequest(0, 0, 5, 0, nullptr);
    SRand(777);
    RunLoop();
    EXPECT_EQ(g_draws, 5);
    EXPECT_TRUE(soundlog::Played().empty());
    EXPECT_EQ(in.m_sDir, 4);
    // The loop thread's generator starts from seed 1; the game thread's is kept.
    EXPECT_EQ(g_firstDrawRand, 1u);
    EXPECT_EQ(m_gameRandBefore, m_gameRandAfter);
}

TEST_F(PauseLoopTest, MessagesAdvanceByThemselvesInPlayback) {
    struct Case {
        int option, draws;
    };
    std::vector<int> press = {9};
    for (const Case c : {Case{1, 0}, Case{0, 6}, Case{4, 120}, Case{21, 9}}) {
        g_SceneManager.g_nGameType = 4;
        g_OptionData.m_nMessageAuto = c.option;
        g_pressAt = c.option == 21 ? &press : nullptr;  // the recorded button
        m_keys.keys.clear();
        g_draws = 0;
        m_scene.InitDisplayRequest(1, 1, 0, 1, nullptr);
        RunLoop();
        EXPECT_EQ(g_draws, c.draws) << "option " << c.option;
    }
}

TEST_F(PauseLoopTest, TheChoiceScanPutsTheCursor) {
    m_scene.m_vStageVars.at(3) = 7;
    struct Case {
        std::vector<WaitChoice> choices;
        int cursor;
    };
    const Case cases[] = {
        {{{1, 0, 0}, {3, 5, 3}, {1, 0, 0}, {3, 7, 3}, {1, 0, 0}}, 3},  // kind 2..5 that holds stops the scan
        {{{1, 0, 0}, {1, 0, 0}, {3, 5, 3}}, 1},                        // the last kind 1
        {{{3, 5, 3}, {2, 1, 900}}, 0},                                 // none holds
    };
    for (const Case& c : cases) {
        m_scene.InitDisplayRequest(0, 0, 0, 0, &c.choices);
        RunLoop();
        EXPECT_EQ(m_scene.m_Wait.m_nChoice, c.cursor);
    }
}

TEST_F(PauseLoopTest, ACloseDuringTheLoopEndsItAfterTheFallback) {
    platform::FakeClock clock(1000);
    g_closeAfter = &m_scene;
    const int requests = CloseRequestCount();
    cInput& in = g_InputList.at(0);
    in.m_sDir = 2;
    m_scene.InitDisplayRequest(1, 1, 0, 1, nullptr);
    RunLoop();
    EXPECT_EQ(g_draws, 3);
    EXPECT_GE(clock.Now(), 3000u);  // the 2000 ms fallback ended it
    EXPECT_EQ(in.m_sDir, 2);
    EXPECT_GT(CloseRequestCount(), requests);
    // The next PLAY frame asks to close again and does nothing else.
    const int frame = m_scene.m_nFrame;
    m_scene.UpdatePlay();
    EXPECT_EQ(m_scene.m_nFrame, frame);
    m_scene.m_bClosing = 0;
}

TEST_F(PauseLoopTest, ExtraLivesForEachScoreStepCrossed) {
    g_SystemData.OptExtraLife = 1;
    g_SystemData.OptExtraLifeScore = 1000;
    // Per drawn frame: the sign's height over the hero (-1: no sign there).
    static std::vector<int> rise;
    rise.clear();
    g_pfnDrawPassHook = [](cScenePlay& scene, int frozen) {
        OnDraw(scene, frozen);
        const bool sign = scene.m_lstMessages.size() == 1 && scene.m_lstMessages.front().m_nKind == MESWIN_ICON &&
                          scene.m_lstMessages.front().m_nTargetId == g_vPlayers.at(0).m_nKey;
        rise.push_back(sign ? g_vPlayers.at(0).m_nScrTop - scene.m_lstMessages.front().m_nDrawY : -1);
    };
    g_Progress.m_nScore = 1950;
    g_Progress.m_nStageScore = 1060;
    g_Progress.m_nLives = 98;
    m_scene.ShowStageResult();
    EXPECT_EQ(g_Progress.m_nScore, 3010);
    EXPECT_EQ(g_Progress.m_nLives, 99);  // two gained, held at 99
    EXPECT_EQ(g_draws, 60);              // two loops of 30 frames
    ASSERT_EQ(rise.size(), 60u);
    // Each loop shows its own sign above the hero, rising while the loop
    // draws; it is gone after the loop.
    EXPECT_EQ(rise[0], rise[30]);
    EXPECT_GT(rise[29], rise[0]);
    EXPECT_EQ(std::count(rise.begin(), rise.end(), -1), 0);
    EXPECT_TRUE(m_scene.m_lstMessages.empty());
    EXPECT_EQ(soundlog::Played(), (std::vector<int>{16, 16}));
}

}  // namespace
