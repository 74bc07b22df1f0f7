#include "play/frame_input.h"
#include "base/app_state.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "app/scene_manager.h"
#include "base/thread.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_state.h"
#include "media/gfx/dd_surface.h"
#include "media/media_services.h"
#include "media/text/dd_fade.h"
#include "frontend/data/option_data.h"
#include "records/system_data.h"
#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> g_events;
std::atomic<int> g_nScenesBuilt{0};

// A scene that logs its life; its one own state leaves for `next`.
class FakeScene : public cScene {
public:
    FakeScene(int kind, int next, const char* throwInInit = nullptr)
        : m_nKind(kind), m_nNext(next), m_pThrow(throwInInit) {
        g_events.push_back("new " + std::to_string(kind));
        g_nScenesBuilt += 1;
        SetHandlers<FakeScene>({&FakeScene::Fade, &FakeScene::Own, &FakeScene::Out});
        m_nState = -1;
    }
    ~FakeScene() override { g_events.push_back("delete " + std::to_string(m_nKind)); }
    void Run() override {
        g_events.push_back("run " + std::to_string(m_nKind));
        RunStates();
    }
    void Init() override {
        g_events.push_back("init " + std::to_string(m_nKind));
        if (m_pThrow) throw m_pThrow;
    }
    void Fade() {
        g_events.push_back("state0 " + std::to_string(m_nKind));
        m_nState = 1;
    }
    void Own() {
        g_events.push_back("state1 " + std::to_string(m_nKind));
        if (m_nNext >= 0) {
            g_SceneState.m_nNextSceneKind = m_nNext;
            m_nState = 2;
        }
    }
    void Out() {
        g_SceneState.m_nPrevSceneKind = m_nKind;
        g_SceneState.m_nSceneKind = g_SceneState.m_nNextSceneKind;
    }

private:
    int m_nKind, m_nNext;
    const char* m_pThrow;
};

// A scene that uses the shared fade steps.
class FadingScene : public cScene {
public:
    FadingScene() { SetHandlers<FadingScene>({&FadingScene::In, &FadingScene::Leave, &FadingScene::Out}); }
    void Run() override { RunStates(); }
    void In() {
        DDFillSurfaceRGB(&g_BackBuffer, 0xFFFFFFFF);
        StepFadeIn();
    }
    void Leave() {
        g_SceneState.m_nNextSceneKind = SCENE_OPTIONS;
        m_nState = 2;
    }
    void Out() {
        DDFillSurfaceRGB(&g_BackBuffer, 0xFFFFFFFF);
        StepFadeOut(SCENE_WORLDMAP);
    }
};

std::string ReadFile(const std::string& path) {
    std::ifstream f(path);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

class SceneManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMainThread();
        ClaimGameToken();
        g_events.clear();
        g_bQuit = 0;
        g_SceneManager.DeleteAllScenes();
        g_SceneState.m_nSceneKind = 0;
        g_SceneState.m_nNextSceneKind = 0;
        g_SceneState.m_nFadeSpeed = 10;
        g_SceneManager.m_nShowFps = 0;
        g_SceneState.m_bJoystickSetupDone = false;
        g_OptionData.m_bJoyRescan = 0;
        g_SceneState.m_nBgmEntry = 0;
        g_SceneState.m_bBgmRepeat = 0;
        DDBackEnd() = DDBACKEND{};
        SetMediaCallLog(true);
        ClearMediaCallLog();
        ResetSceneFactories();
        m_nClosesBefore = CloseRequestCount();
        m_strLog = ::testing::TempDir() + "scene_debug_" + std::to_string(getpid()) + ".txt";
        std::remove(m_strLog.c_str());
        SetDebugLog(1, m_strLog);
    }
    void TearDown() override {
        SetMediaCallLog(false);
        g_SceneManager.DeleteAllScenes();
        ResetSceneFactories();
        SetMainWindowHandler({});
        SetDebugLog(0, "");
        g_bQuit = 0;
    }
    int m_nClosesBefore = 0;
    std::string m_strLog;
};

}  // namespace

TEST_F(SceneManagerTest, SwitchTakesEffectOnTheNextFrame) {
    SetSceneFactory(1, [] { return new FakeScene(1, 2); });
    SetSceneFactory(2, [] { return new FakeScene(2, -1); });
    g_SceneState.m_nSceneKind = 1;
    ASSERT_TRUE(g_SceneManager.Update());  // new, init, fade
    ASSERT_TRUE(g_SceneManager.Update());  // own state chooses kind 2
    ASSERT_TRUE(g_SceneManager.Update());  // fade-out sets the current kind
    EXPECT_EQ(g_SceneState.m_nSceneKind.load(), 2);
    EXPECT_NE(g_SceneManager.SceneOf(1), nullptr);  // still alive this frame
    ASSERT_TRUE(g_SceneManager.Update());
    std::vector<std::string> want = {"new 1",   "run 1",    "init 1", "state0 1", "run 1", "state1 1",
                                     "run 1",   "delete 1", "new 2",  "run 2",    "init 2", "state0 2"};
    EXPECT_EQ(g_events, want);
    EXPECT_EQ(g_SceneManager.SceneOf(1), nullptr);
    EXPECT_EQ(g_SceneState.m_nPrevSceneKind, 1);
}

TEST_F(SceneManagerTest, TextThrownByInitIsLoggedSetsQuitAndSkipsTheHandler) {
    SetSceneFactory(3, [] { return new FakeScene(3, -1, "broken scene"); });
    g_SceneState.m_nSceneKind = 3;
    g_SceneManager.Update();
    std::vector<std::string> want = {"new 3", "run 3", "init 3"};
    EXPECT_EQ(g_events, want);
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_EQ(CloseRequestCount(), m_nClosesBefore + 1);
    EXPECT_EQ(g_SceneManager.SceneOf(3)->m_nState, 0);
    EXPECT_NE(ReadFile(m_strLog).find("broken scene"), std::string::npos);
    // With the quit flag set, Run does nothing at all.
    g_events.clear();
    g_SceneManager.Update();
    EXPECT_EQ(g_events, std::vector<std::string>{"run 3"});
}

TEST_F(SceneManagerTest, SceneThatCannotBeCreatedLeavesItsSlotEmpty) {
    struct Case {
        const char* name;
        SceneFactory make;
        bool expectBox;
    };
    Case cases[] = {
        {"thrown text", [] () -> cScene* { throw "cannot build"; }, false},
        {"no memory", [] () -> cScene* { throw std::bad_alloc(); }, true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::CapturedMessageBoxes boxes;
        g_bQuit = 0;
        SetSceneFactory(4, c.make);
        g_SceneState.m_nSceneKind = 4;
        EXPECT_TRUE(g_SceneManager.Update());
        EXPECT_EQ(g_SceneManager.SceneOf(4), nullptr);
        EXPECT_EQ(g_bQuit.load(), 1);
        EXPECT_EQ(boxes.Boxes().size(), c.expectBox ? 1u : 0u);
    }
}

TEST_F(SceneManagerTest, OwnKindAsNextKeepsTheObjectAndKindsAbove7DeleteAll) {
    SetSceneFactory(5, [] { return new FakeScene(5, 5); });
    g_SceneState.m_nSceneKind = 5;
    for (int i = 0; i < 4; ++i) g_SceneManager.Update();
    EXPECT_EQ(std::count(g_events.begin(), g_events.end(), "new 5"), 1);
    EXPECT_EQ(g_SceneManager.SceneOf(5)->m_nState, 2);
    g_events.clear();
    g_SceneState.m_nSceneKind = 8;
    g_SceneManager.Update();
    EXPECT_EQ(g_events, std::vector<std::string>{"delete 5"});
    EXPECT_EQ(g_SceneManager.SceneOf(5), nullptr);
}

TEST_F(SceneManagerTest, PlaySceneIsReachableWhileItExists) {
    SetSceneFactory(SCENE_PLAY, [] { return new FakeScene(6, -1); });
    g_SceneState.m_nSceneKind = SCENE_PLAY;
    g_SceneManager.Update();
    EXPECT_EQ(g_lpPlayScene, g_SceneManager.SceneOf(SCENE_PLAY));
    EXPECT_NE(g_lpPlayScene, nullptr);
    g_SceneState.m_nSceneKind = SCENE_TITLE;
    g_SceneManager.Update();
    EXPECT_EQ(g_lpPlayScene, nullptr);
    EXPECT_NE(g_SceneManager.SceneOf(SCENE_TITLE), nullptr);  // the stand-in title
}

// The shared fade steps are the graphics layer's fades: at Direct3D 32 bits
// the presented picture comes up from black over 10 frames (angles 0 to 90
// in steps of 10) and goes back to black over 10 more.
TEST_F(SceneManagerTest, SceneFadesChangeThePresentedPictureOverTenFrames) {
    SetSceneFactory(SCENE_WORLDMAP, [] { return new FadingScene(); });
    g_SceneState.m_nSceneKind = SCENE_WORLDMAP;
    g_SceneState.m_nFadeSpeed = 10;
    g_SceneState.m_nFrameRate = 0;  // no frame pacing
    text::ResetFadeAngles();
    BuildBitmapTable();
    ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, kSurfaceSlots, 0));
    DDBackEndFromDevice();
    g_Palette[16][0] = 0x12, g_Palette[16][1] = 0x34, g_Palette[16][2] = 0x56;
    auto shown = [] {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        EXPECT_TRUE(DDShownFrameToXrgb8888(px, w, h));
        return px.empty() ? 0xDEADu : px[size_t(240) * w + 320] & 0xFFFFFFu;
    };
    std::vector<uint32_t> in, out;
    do {
        g_SceneManager.Update();
        in.push_back(shown());
        ASSERT_LT(in.size(), 100u);
    } while (g_SceneManager.SceneOf(SCENE_WORLDMAP)->m_nState == 0);
    ASSERT_EQ(in.size(), 10u);
    EXPECT_EQ(in.front(), 0x000000u);
    EXPECT_EQ(in.back(), 0xFFFFFFu);
    for (size_t i = 1; i < in.size(); ++i) EXPECT_GT(in[i] & 0xFF, in[i - 1] & 0xFF) << i;
    g_SceneManager.Update();  // chooses the next kind
    while (g_SceneState.m_nSceneKind.load() == SCENE_WORLDMAP) {
        g_SceneManager.Update();
        out.push_back(shown());
        ASSERT_LT(out.size(), 100u);
    }
    ASSERT_EQ(out.size(), 10u);
    EXPECT_EQ(out.front(), 0xFFFFFFu);
    for (size_t i = 1; i + 1 < out.size(); ++i) EXPECT_LT(out[i] & 0xFF, out[i - 1] & 0xFF) << i;
    EXPECT_EQ(out.back(), PalNumToRGB(16) & 0xFFFFFFu);  // the last frame ends filled with colour 16
    EXPECT_EQ(g_SceneState.m_nSceneKind.load(), SCENE_OPTIONS);
    EXPECT_EQ(g_SceneState.m_nPrevSceneKind, SCENE_WORLDMAP);
    DDEnd();
    DDBackEnd() = DDBACKEND{};
    g_SceneState.m_nFrameRate = 60;
    std::memset(g_Palette, 0, sizeof g_Palette);
}

TEST_F(SceneManagerTest, FramesPerSecondRingAndText) {
    cSceneManager m;
    m.m_nShowFps = 1;
    // 15 frames show the previous average; the 16th publishes sum >> 4.
    for (int i = 0; i < 15; ++i) EXPECT_EQ(m.DrawFps(60, 16), "FPS60( 0)");
    EXPECT_EQ(m.DrawFps(59, 32), "FPS59(17)");  // (15*16+32)>>4
    for (int i = 0; i < 15; ++i) EXPECT_EQ(m.DrawFps(7, 100), "FPS 7(17)");
    EXPECT_EQ(m.DrawFps(123, 100), "FPS123(100)");
    m.m_nShowFps = 2;
    EXPECT_EQ(m.DrawFps(60, 16), "FPS60(100)");
}

TEST_F(SceneManagerTest, RequestSceneBgmSkipsOnlyARepeatingPieceAlreadyPlaying) {
    std::vector<std::pair<intptr_t, intptr_t>> sent;
    SetMainWindowHandler([&](int msg, intptr_t w, intptr_t l) -> intptr_t {
        if (msg == 0x406) sent.push_back({w, l});
        return 0;
    });
    struct Step {
        int entry, repeat, slot, force;
        bool sends;
    };
    const Step steps[] = {
        {3, 1, 0, 0, true},   // title music
        {3, 1, 1, 0, false},  // same repeating entry from another slot goes on
        {3, 1, 1, 1, true},   // forced
        {4, 1, 1, 0, true},   // another entry
        {4, 0, 1, 0, true},   // not repeating: always again
        {4, 1, 1, 0, true},   // the last request was not repeating
        {0, 1, 2, 0, true},   // entry 0 always sends
        {0, 1, 2, 0, true},
    };
    for (const Step& s : steps) {
        size_t before = sent.size();
        g_SceneState.RequestSceneBgm(s.entry, s.repeat, s.slot, s.force);
        EXPECT_EQ(sent.size() - before, s.sends ? 1u : 0u) << s.entry << " " << s.repeat << " " << s.force;
        if (s.sends) {
            EXPECT_EQ(sent.back().first, s.slot);
        }
    }
    // After a stage set-up clears the entry, the same menu music plays again.
    g_SceneState.RequestSceneBgm(5, 1, 1, 0);
    g_SceneState.m_nBgmEntry = 0;
    size_t before = sent.size();
    g_SceneState.RequestSceneBgm(5, 1, 1, 0);
    EXPECT_EQ(sent.size(), before + 1);
}

TEST_F(SceneManagerTest, InputUpdateDetectsJoysticksOnceThenPolls) {
    g_SceneState.m_nFrameRate = 60;
    UpdateFrameInput();
    UpdateFrameInput();
    auto log = MediaCallLog();
    std::vector<std::string> polls(log.begin(), log.end());
    std::vector<std::string> want = {"PollInput 0 3 60", "PollInput 0 3 60"};
    polls.erase(std::remove_if(polls.begin(), polls.end(),
                               [](const std::string& l) { return l.rfind("PollInput", 0) != 0; }),
                polls.end());
    EXPECT_EQ(polls, want);
    auto detections = [] {
        auto log = MediaCallLog();
        return std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("Detect", 0) == 0; });
    };
    EXPECT_EQ(detections(), 1);
    // The user's option to set the joysticks up again runs it every frame.
    g_OptionData.m_bJoyRescan = 1;
    ClearMediaCallLog();
    UpdateFrameInput();
    UpdateFrameInput();
    EXPECT_EQ(detections(), 2);
}

TEST(PingPongStep, BouncesBetweenTheBoundsAndReportsTheLowTurn) {
    int v = 250, dir = 0;
    EXPECT_FALSE(PingPongStep(v, dir, 4, 0, 255));
    EXPECT_EQ(v, 254);
    EXPECT_FALSE(PingPongStep(v, dir, 4, 0, 255));  // 258 >= 255: back to 254, falling
    EXPECT_EQ(v, 254);
    EXPECT_EQ(dir, 1);
    v = 3;
    EXPECT_TRUE(PingPongStep(v, dir, 4, 0, 255));  // -1 <= 0: back to 3, rising
    EXPECT_EQ(v, 3);
    EXPECT_EQ(dir, 0);
}

TEST(CycleColors, BlinkTableFollowsTheChannelsAndPhase) {
    DDBackEnd() = DDBACKEND{};
    DDBackEnd().direct3D = true;
    const int savedStep = g_SystemData.m_nColorCycleStep;
    g_SystemData.m_nColorCycleStep = 4;  // the system data's step
    ResetColorCycle();
    CycleColors();  // values read before their first step: all 0
    EXPECT_EQ(g_BlinkColors[0].argb, 0xFF000000u);
    EXPECT_EQ(g_BlinkColors[1].kind, 10);
    CycleColors();
    uint32_t c = 4;  // one step of 4
    EXPECT_EQ(g_BlinkColors[0].argb, 0xFF000000u | c << 16 | c << 8 | c);
    EXPECT_EQ(g_BlinkColors[6].argb, 0xFF000000u | c << 16 | (c / 4));
    EXPECT_EQ(g_BlinkColors[8].argb, 0xFF000000u | c << 16);  // phase 0: red
    // Run channel 8 up and down once: the phase turns to green.
    for (int i = 0; i < 200; ++i) CycleColors();
    EXPECT_EQ(g_BlinkColors[8].argb & 0x00FF00FFu, 0u);
    g_SystemData.m_nColorCycleStep = savedStep;
    DDBackEnd() = DDBACKEND{};
}

TEST_F(SceneManagerTest, GameLoopRunsNoFrameWhileInactiveAndEndsOnQuit) {
    SetSceneFactory(1, [] { return new FakeScene(1, -1); });
    g_SceneState.m_nSceneKind = 1;
    g_bActive = 0;
    ASSERT_TRUE(thGame.Start(GameLoop, nullptr));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_TRUE(g_events.empty());
    g_bActive = 1;
    int built = g_nScenesBuilt.load();
    for (int i = 0; i < 2000 && g_nScenesBuilt.load() == built; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    thGame.Exit();
    g_bActive = 0;
    EXPECT_FALSE(g_events.empty());
    EXPECT_EQ(g_events.front(), "new 1");
    EXPECT_NE(ReadFile(m_strLog).find("GameLoop WM_QUIT!"), std::string::npos);
    EXPECT_TRUE(HoldsGameToken());
}

TEST(PaletteCycle, RotatesByRowsOrRepeatsOneRow) {
    // Palette cycling runs in 8-bit mode.
    const int savedBpp = g_DD.nBpp;
    g_DD.nBpp = 8;
    auto fresh = [](uint8_t p[256][4]) {
        for (int i = 0; i < 256; ++i) p[i][0] = static_cast<uint8_t>(i);
    };
    uint8_t pal[256][4] = {};
    fresh(pal);
    ApplyPaletteCycle(pal, 0);
    EXPECT_EQ(pal[16][0], 16);
    ApplyPaletteCycle(pal, 2);  // two rows up, wrapping inside 16..207
    EXPECT_EQ(pal[48][0], 16);
    EXPECT_EQ(pal[16][0], 176);
    EXPECT_EQ(pal[15][0], 15);
    EXPECT_EQ(pal[208][0], 208);
    fresh(pal);
    ApplyPaletteCycle(pal, 13);  // every row is row 2 (entries 32..47)
    for (int first = 16; first < 208; first += 16) EXPECT_EQ(pal[first + 5][0], 37) << first;
    EXPECT_EQ(pal[208][0], 208);
    fresh(pal);
    g_bQuit = 0;
    ApplyPaletteCycle(pal, 40);  // row 29 does not exist
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_EQ(pal[16][0], 16);
    g_bQuit = 0;
    g_DD.nBpp = savedBpp;
}
