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

#include "base/app_state.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "base/random.h"
#include "base/thread.h"
#include "frontend/data/option_data.h"
#include "media/input/input_list.h"
#include "platform/clock.h"
#include "platform/input_source.h"
#include "play/draw_stage.h"
#include "play/message_window.h"
#include "tests/support/nested_loop.h"
#include "tests/support/sound_log.h"
#include "tests/support/stage_builder.h"

using namespace stagetest;

namespace {

class PauseLoopTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        StageBuilder b(20, 10);
        b.Hero(2, 5);
        b.Install();
        Setup();
        g_SceneState.g_nGameType = 3;
        // The loop thread's generator on its first drawn frame.
        m_loop.onDraw = [this](cScenePlay&, int n) {
            if (n == 1) m_firstDrawRand = RandState();
        };
    }
    void TearDown() override {
        StageTest::TearDown();
    }
    // The loop as the game thread runs it.
    void RunLoop() {
        m_loop.RunAsGame([this] {
            m_gameRandBefore = RandState();
            m_scene.RunPauseLoop();
            m_gameRandAfter = RandState();
        });
    }
    testsupport::cNestedLoopDriver m_loop;
    soundlog::Scope m_sounds;
    uint32_t m_firstDrawRand = 0;
    uint32_t m_gameRandBefore = 0, m_gameRandAfter = 0;
};

TEST_F(PauseLoopTest, AButtonWaitIgnoresTwentyFramesAndPutsTheInputBack) {
    struct Case {
        int noDelay, draws;
    };
    for (const Case c : {Case{0, 20}, Case{1, 2}}) {
        m_loop.PressEveryOtherFrame();
        m_loop.keys.keys.clear();
        m_loop.draws = 0;
        ClearMediaCallLog();
        cInput& in = g_InputList.at(0);
        in.m_sDir = 8;
        in.m_bTriggerLatch = 0;
        m_scene.m_bHoldButtons = 0;
        m_scene.InitDisplayRequest(1, 1, 0, c.noDelay, nullptr);
        EXPECT_EQ(m_scene.m_Wait.m_nDelay, c.noDelay ? 0 : 20);
        RunLoop();
        EXPECT_EQ(m_loop.draws, c.draws) << c.noDelay;
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
    EXPECT_EQ(m_loop.draws, 5);
    EXPECT_TRUE(soundlog::Played().empty());
    EXPECT_EQ(in.m_sDir, 4);
    // The loop thread's generator starts from seed 1; the game thread's is kept.
    EXPECT_EQ(m_firstDrawRand, 1u);
    EXPECT_EQ(m_gameRandBefore, m_gameRandAfter);
}

TEST_F(PauseLoopTest, MessagesAdvanceByThemselvesInPlayback) {
    struct Case {
        int option, draws;
    };
    for (const Case c : {Case{1, 0}, Case{0, 6}, Case{4, 120}, Case{21, 9}}) {
        g_SceneState.g_nGameType = 4;
        g_OptionData.m_nMessageAuto = c.option;
        m_loop.pressAt = c.option == 21 ? std::vector<int>{9} : std::vector<int>{};  // the recorded button
        m_loop.keys.keys.clear();
        m_loop.draws = 0;
        m_scene.InitDisplayRequest(1, 1, 0, 1, nullptr);
        RunLoop();
        EXPECT_EQ(m_loop.draws, c.draws) << "option " << c.option;
    }
    // The time is counted at the stage's frame rate: 2 s of a stage of 30
    // frames per second are 60 frames.
    g_SceneState.g_nGameType = 3;
    g_StageStart.m_nFrameRate = 30;
    Setup();
    g_SceneState.g_nGameType = 4;
    g_OptionData.m_nMessageAuto = 4;
    m_loop.pressAt.clear();
    m_loop.draws = 0;
    m_scene.InitDisplayRequest(1, 1, 0, 1, nullptr);
    RunLoop();
    EXPECT_EQ(m_loop.draws, 60);
}

// Choices of a choice window: a default one, and one of a stage variable.
MessageChoice Default() { return MessageChoice{0, 0, 0, 1, 0}; }
MessageChoice Stage(int32_t value, int32_t index) { return MessageChoice{0, 0, value, 3, index}; }

TEST_F(PauseLoopTest, TheChoiceScanPutsTheCursor) {
    m_scene.m_vStageVars.at(3) = 7;
    struct Case {
        std::vector<MessageChoice> choices;
        int cursor;
    };
    const Case cases[] = {
        {{Default(), Stage(5, 3), Default(), Stage(7, 3), Default()}, 3},  // kind 2..5 that holds stops the scan
        {{Default(), Default(), Stage(5, 3)}, 1},                         // the last kind 1
        {{Stage(5, 3), MessageChoice{0, 0, 1, 2, 900}}, 0},               // none holds
    };
    for (const Case& c : cases) {
        m_scene.InitDisplayRequest(0, 0, 0, 0, &c.choices);
        RunLoop();
        EXPECT_EQ(m_scene.m_Wait.m_nChoice, c.cursor);
    }
}

TEST_F(PauseLoopTest, ACloseDuringTheLoopEndsItAfterTheFallback) {
    platform::FakeClock clock(1000);
    m_loop.onDraw = [](cScenePlay& scene, int n) {
        if (n == 3) scene.m_bClosing = 1;
    };
    const int requests = CloseRequestCount();
    cInput& in = g_InputList.at(0);
    in.m_sDir = 2;
    m_scene.InitDisplayRequest(1, 1, 0, 1, nullptr);
    RunLoop();
    EXPECT_EQ(m_loop.draws, 3);
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
    std::vector<int> rise;
    m_loop.onDraw = [&rise](cScenePlay& scene, int) {
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
    EXPECT_EQ(m_loop.draws, 60);  // two loops of 30 frames
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
