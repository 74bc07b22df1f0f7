#include "play/frame_input.h"
#include "base/app_state.h"
#include "base/main_thread.h"
#include "app/main_window.h"
#include "records/system_ini.h"
#include "base/messages.h"
#include "base/quit.h"
#include "app/scene_manager.h"
#include "base/thread.h"
#include "frontend/frontend_services.h"
#include "media/scene.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_surface.h"
#include "media/input/input_list.h"
#include "media/media_services.h"
#include "platform/event_pump.h"
#include "platform/frame_mailbox.h"
#include "platform/message_box.h"
#include "records/database.h"
#include "records/system_data.h"
#include "platform/sdl_events.h"
#include "platform/sdl_window.h"
#include "tests/support/end_confirmation.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <thread>

TEST(CloseDecision, AsksOnlyWindowedOutsideTheTitleWithoutFlags) {
    struct Case {
        int closing, freeStage, editorTest, windowed, sceneKind, quit;
        bool asks;
    };
    const Case cases[] = {
        {0, 0, 0, 1, SCENE_WORLDMAP, 0, true},  {0, 0, 0, 1, SCENE_PLAY, 0, true},
        {0, 0, 0, 1, SCENE_TITLE, 0, false},    {0, 0, 0, 0, SCENE_PLAY, 0, false},
        {0, 1, 0, 1, SCENE_PLAY, 0, false},     {0, 0, 1, 1, SCENE_PLAY, 0, false},
        {0, 0, 0, 1, SCENE_PLAY, 1, false},     {1, 0, 0, 1, SCENE_PLAY, 0, false},  // closing already
    };
    for (const Case& c : cases)
        EXPECT_EQ(CloseNeedsConfirmation(c.closing, c.freeStage, c.editorTest, c.windowed, c.sceneKind, c.quit), c.asks)
            << c.closing << c.freeStage << c.editorTest << c.windowed << c.sceneKind << c.quit;
}

TEST(Zoom, LargestZoomOfTheWorkAreaIsAtLeastOne) {
    struct Case {
        int right, bottom, zoom;
    };
    const Case cases[] = {{1920, 1080, 2}, {1280, 960, 2}, {1279, 960, 1}, {3840, 2160, 4},
                          {640, 480, 1},   {320, 240, 1},  {0, 0, 1},       {2000, 479, 1}};
    for (const Case& c : cases) EXPECT_EQ(MaxZoomFor(c.right, c.bottom), c.zoom) << c.right << "x" << c.bottom;
}

TEST(Zoom, PlacementKeepsTheCentreAndStaysInTheWorkArea) {
    struct Case {
        int n, clientWidth, left, top, right, bottom;
        ZoomRect want;
    };
    const Case cases[] = {
        {2, 640, 400, 100, 1920, 1080, {400 + 320 - 640, 100, 1280, 960}},  // grows around the centre
        {2, 640, 100, 100, 1920, 1080, {0, 100, 1280, 960}},                // x below 0
        {2, 640, 1200, 200, 1920, 1080, {640, 120, 1280, 960}},             // past right and bottom
        {1, 1280, 100, 50, 1920, 1080, {100 + 640 - 320, 50, 640, 480}},     // shrinks
        {1, 640, 0, -20, 1920, 1080, {0, 0, 640, 480}},
    };
    for (const Case& c : cases) {
        ZoomRect r = ZoomPlacement(c.n, c.clientWidth, c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(r.x, c.want.x);
        EXPECT_EQ(r.y, c.want.y);
        EXPECT_EQ(r.width, c.want.width);
        EXPECT_EQ(r.height, c.want.height);
    }
    EXPECT_EQ(NextZoom(1, 3), 2);
    EXPECT_EQ(NextZoom(3, 3), 1);
    EXPECT_EQ(NextZoom(0, 1), 1);
    EXPECT_EQ(NextZoom(1, 1), 1);
}

TEST(ActiveState, ShownCountsAsActiveWithoutFocus) {
    struct Case {
        int before;
        Uint8 event;
        int after;
    };
    const Case cases[] = {
        {0, SDL_WINDOWEVENT_SHOWN, 1},      {0, SDL_WINDOWEVENT_FOCUS_GAINED, 1}, {1, SDL_WINDOWEVENT_FOCUS_LOST, 0},
        {1, SDL_WINDOWEVENT_MINIMIZED, 0},  {0, SDL_WINDOWEVENT_RESTORED, 1},     {1, SDL_WINDOWEVENT_HIDDEN, 0},
        {0, SDL_WINDOWEVENT_EXPOSED, 0},    {1, SDL_WINDOWEVENT_MOVED, 1},
    };
    for (const Case& c : cases) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = c.event;
        EXPECT_EQ(NextActiveState(c.before, platform::FromSdlEvent(e)), c.after) << int(c.event);
    }
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    EXPECT_EQ(NextActiveState(1, platform::FromSdlEvent(key)), 1);
}

namespace {

// The first scene of these tests, which run without a game folder: it only
// clears the screen.
class BlankScene : public cScene {
public:
    BlankScene() { SetHandlers<BlankScene>({&BlankScene::Clear}); }
    void Run() override { RunStates(); }
    void Clear() { DDFillSurface(&g_BackBuffer, 16); }
};

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_Quit(); }
    void SetUp() override {
        ClaimGameToken();
        g_bQuit = 0;
        g_bClosing = 0;
        g_bRunning = 0;
        g_bActive = 0;
        g_bEditorTest = 0;
        g_bFreeStage = 0;
        SetMediaCallLog(true);
        ClearMediaCallLog();
        ResetSceneFactories();
        SetSceneFactory(SCENE_TITLE, [] { return static_cast<cScene*>(new BlankScene()); });
        g_SceneManager.DeleteAllScenes();
        g_SceneState.m_nSceneKind = SCENE_TITLE;
        ASSERT_TRUE(g_MainWindow.Create());
        InstallMainThreadServices();
        // The real graphics layer: Direct3D, windowed, VSync off.
        BuildBitmapTable();
        ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, kSurfaceSlots, 0));
        DDBackEndFromDevice();
        g_SceneState.m_nFrameRate = 60;
    }
    void TearDown() override {
        SetMediaCallLog(false);
        for (cThread* t : {&thGame, &thPause, &thRanking, &thLoad}) t->Exit();
        g_MainWindow.Destroy();
        Service<platform::IMessageBox>::Restore();
        testsupport::EndConfirmation() = nullptr;
        SetCloseRequestHandler({});
        SetMainThreadWakeup({});
        platform::FrameMailbox().SetNotify({});
        platform::ClearSdlEventObservers();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        g_SceneManager.DeleteAllScenes();
        DDEnd();
        DDBackEnd() = DDBACKEND{};
        g_bQuit = 0;
        g_bClosing = 0;
        g_bActive = 0;
    }
};

}  // namespace

TEST_F(MainWindowTest, ShownWindowIsActiveAndFramesReachTheWindow) {
    int seen = 0;
    platform::AddSdlEventObserver([&](const SDL_Event& e) {
        if (e.type == SDL_WINDOWEVENT) seen += 1;
    });
    g_MainWindow.Show();
    for (int i = 0; i < 200 && !g_bActive; ++i) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) g_MainWindow.HandleEvent(platform::FromSdlEvent(e));
        SDL_Delay(1);
    }
    EXPECT_EQ(g_bActive.load(), 1);
    EXPECT_GT(seen, 0);
    g_bRunning = 1;
    uint64_t before = platform::FrameMailbox().PutCount();
    ASSERT_TRUE(thGame.Start(GameLoop, nullptr));
    for (int i = 0; i < 500 && platform::FrameMailbox().PutCount() < before + 3; ++i) {
        g_MainWindow.PumpEventsNested();
        SDL_Delay(1);
    }
    EXPECT_GE(platform::FrameMailbox().PutCount(), before + 3);
    // Esc posts the close; on the title it closes without asking.
    SDL_Event esc{};
    esc.type = SDL_KEYDOWN;
    esc.key.keysym.sym = SDLK_ESCAPE;
    g_MainWindow.HandleEvent(platform::FromSdlEvent(esc));
    EXPECT_EQ(g_MainWindow.MessageLoop(), 0);
    EXPECT_FALSE(thGame.IsRunning());
    EXPECT_EQ(g_bClosing.load(), 1);
    EXPECT_EQ(g_MainWindow.m_hWnd, nullptr);
}

TEST_F(MainWindowTest, RefusedConfirmationKeepsTheWindowAndClosingAsksOnlyOnce) {
    g_SceneState.m_nSceneKind = SCENE_WORLDMAP;
    int asked = 0;
    bool answer = false;
    testsupport::EndConfirmation() = [&](int) {
        asked += 1;
        return answer;
    };
    g_MainWindow.OnClose();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(g_MainWindow.LoopEnded());
    EXPECT_EQ(g_bClosing.load(), 0);
    // A nested loop runs: the close waits for it, and the second request (the
    // play code asks again) does not ask a second time.
    answer = true;
    static std::atomic<int> looping{0};
    looping = 0;
    ASSERT_TRUE(thPause.Start(
        [](void*) -> unsigned {
            while (ThreadGate()) {
                looping = 1;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return 0;
        },
        nullptr));
    while (!looping) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    g_MainWindow.OnClose();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(g_bClosing.load(), 1);
    EXPECT_FALSE(g_MainWindow.LoopEnded());
    thPause.Wait();  // the nested loop ended on the quit request
    g_MainWindow.OnClose();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(g_MainWindow.LoopEnded());
}

TEST_F(MainWindowTest, CloseConfirmationSpeaksTheLanguageOfSystemIni) {
    g_SceneState.m_nSceneKind = SCENE_WORLDMAP;
    std::vector<int> asked;
    testsupport::EndConfirmation() = [&](int english) {
        asked.push_back(english);
        return false;
    };
    const int saved = g_SystemIni.English;
    for (int english : {1, 0}) {
        g_SystemIni.English = english;
        g_MainWindow.OnClose();
    }
    g_SystemIni.English = saved;
    EXPECT_EQ(asked, (std::vector<int>{1, 0}));
}

TEST_F(MainWindowTest, CloseRequestFromAnotherThreadDuringANestedPumpIsKept) {
    std::thread([] { PostCloseRequest(); }).join();
    g_MainWindow.PumpEventsNested();  // does not close
    EXPECT_FALSE(g_MainWindow.LoopEnded());
    EXPECT_EQ(g_MainWindow.MessageLoop(), 0);  // the outer loop does
}

TEST_F(MainWindowTest, MessageBoxFromTheGameThreadIsShownOnTheMainThread) {
    static std::atomic<int> answer{-1};
    static std::atomic<bool> onMain{false};
    answer = -1;
    onMain = false;
    InstallMainThreadServices([](const std::string&, const std::string&, int) {
        onMain = IsMainThread();
        return int(platform::IDYES);
    });
    ASSERT_TRUE(thGame.Start(
        [](void*) -> unsigned {
            answer = platform::ShowMessageBoxOs("q", "c", platform::MB_YESNO);
            return 0;
        },
        nullptr));
    for (int i = 0; i < 2000 && answer.load() == -1; ++i) {
        g_MainWindow.PumpEventsNested();
        SDL_Delay(1);
    }
    thGame.Wait();
    EXPECT_TRUE(onMain.load());
    EXPECT_EQ(answer.load(), platform::IDYES);
}

TEST_F(MainWindowTest, PlaySeWithABadIndexPlaysEntryZeroAndEnds) {
    g_SEData.assign(18, DS_SEDATA{});
    g_MainWindow.OnMessage(UM_PLAYSE, 3, 0);
    EXPECT_EQ(g_bQuit.load(), 0);
    g_MainWindow.OnMessage(UM_PLAYSE, DS_SECount(), 0);
    EXPECT_EQ(g_bQuit.load(), 1);
    std::vector<std::string> want = {"DS_PlaySE 3", "DS_PlaySE 0"};
    EXPECT_EQ(MediaCallLog(), want);
    // Switched off (as in the player), the log keeps nothing.
    SetMediaCallLog(false);
    ClearMediaCallLog();
    g_MainWindow.OnMessage(UM_PLAYSE, 2, 0);
    g_MainWindow.OnMessage(UM_PLAYBGM, 2, 0);
    EXPECT_TRUE(MediaCallLog().empty());
    g_SEData.clear();
}

TEST_F(MainWindowTest, PlayBgmBySlot) {
    g_SystemData.m_vecSceneBgm.assign(6, 0);
    g_SystemData.m_vecSceneBgmRepeat.assign(6, 1);
    g_Database.m_vecBgm.resize(5);
    g_MainWindow.OnMessage(UM_PLAYBGM, 2, 0);  // no music for the scene: stop
    g_MainWindow.OnMessage(UM_PLAYBGM, 6, 4);  // the play scene's entry 4
    g_MainWindow.OnMessage(UM_PLAYBGM, 9, 0);  // nothing
    auto log = MediaCallLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "DS_BgmStop");
    EXPECT_EQ(log[1].rfind("DS_BgmSetTrack 6 ", 0), 0u);
    EXPECT_EQ(log[2], "DS_BgmPlay 0 6 1 1");
    EXPECT_EQ(g_bQuit.load(), 0);
}

namespace {
// Draws a fixed picture through the graphics layer every frame.
class PictureScene : public cScene {
public:
    PictureScene() { SetHandlers<PictureScene>({&PictureScene::Draw}); }
    void Run() override { RunStates(); }
    void Draw() {
        DDFillSurfaceRGB(&g_BackBuffer, 0xFF000040);
        DDFillRectRGB(&g_BackBuffer, 100, 50, 200, 100, 0xFFFF0000);
        DDBeginLayer(1);
        DDBltStretch(&g_BackBuffer, 400, 300, 64, 32, &g_WorkSD, 0, 0, 32, 16, 0);
        DDEndLayer();
        DDCircle(&g_BackBuffer, 320, 240, 20, 0);
    }
};
}  // namespace

// The window shows what the scene drew: a screenshot of the window after the
// game loop ran (SDL_VIDEODRIVER=offscreen or dummy, software renderer).
TEST_F(MainWindowTest, WindowShowsTheFrameTheSceneDrew) {
    SetSceneFactory(SCENE_TITLE, [] { return static_cast<cScene*>(new PictureScene()); });
    g_MainWindow.Show();
    for (int i = 0; i < 200 && !g_bActive; ++i) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) g_MainWindow.HandleEvent(platform::FromSdlEvent(e));
        SDL_Delay(1);
    }
    g_bRunning = 1;
    uint64_t before = platform::FrameMailbox().PutCount();
    ASSERT_TRUE(thGame.Start(GameLoop, nullptr));
    for (int i = 0; i < 2000 && platform::FrameMailbox().PutCount() < before + 3; ++i) {
        g_MainWindow.PumpEventsNested();
        SDL_Delay(1);
    }
    ASSERT_GE(platform::FrameMailbox().PutCount(), before + 3);
    g_MainWindow.PresentFrame(true);
    // Without a graphics processor (the headless driver) the frame goes into
    // the window surface.
    ASSERT_EQ(SDL_GetRenderer(platform::SdlWindowOf(g_MainWindow.m_hWnd)), nullptr);
    SDL_Surface* s = SDL_GetWindowSurface(platform::SdlWindowOf(g_MainWindow.m_hWnd));
    ASSERT_NE(s, nullptr);
    const int w = s->w, h = s->h, pitch = s->pitch / 4;
    ASSERT_EQ(w * 480, h * 640);
    auto at = [&](int x, int y) {
        return static_cast<const uint32_t*>(s->pixels)[size_t(y * h / 480) * pitch + size_t(x * w / 640)] & 0xFFFFFF;
    };
    EXPECT_EQ(at(150, 100), 0xFF0000u);
    EXPECT_EQ(at(10, 10), 0x000040u);
    EXPECT_EQ(at(620, 460), 0x000040u);
    SDL_Event esc{};
    esc.type = SDL_KEYDOWN;
    esc.key.keysym.sym = SDLK_ESCAPE;
    g_MainWindow.HandleEvent(platform::FromSdlEvent(esc));
    EXPECT_EQ(g_MainWindow.MessageLoop(), 0);
}

// A key pressed in the window reaches the game's input record at the next poll.
TEST_F(MainWindowTest, KeysReachTheInputRecords) {
    auto key = [](Uint32 type) {
        SDL_Event e{};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = SDL_SCANCODE_LEFT;
        e.key.keysym.sym = SDLK_LEFT;
        g_MainWindow.HandleEvent(platform::FromSdlEvent(e));
    };
    key(SDL_KEYDOWN);
    UpdateFrameInput();
    EXPECT_EQ(g_InputList.at(0).m_sDir & INPUT_LEFT, INPUT_LEFT);
    key(SDL_KEYUP);
    UpdateFrameInput();
    EXPECT_EQ(g_InputList.at(0).m_sDir & INPUT_LEFT, 0);
}

// Direct3D 32 bits full screen: the first activation (and any later one) of a
// device that was never lost leaves every surface as it was, so the frames
// after it are drawn as before.
TEST_F(MainWindowTest, ActivatingAFullScreenDeviceThatWasNeverLostKeepsItsSurfaces) {
    DDEnd();
    ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 0, 0, 1, 60, 0, SurfaceTable, BitmapTable, kSurfaceSlots, 0));
    DDBackEndFromDevice();
    ASSERT_TRUE(DDBackEnd().direct3D);
    ASSERT_FALSE(DDBackEnd().windowed);
    // Each frame draws its own colours, so a frame that draws nothing shows.
    auto drawFrame = [](uint32_t n) {
        DDFillSurfaceRGB(&g_BackBuffer, 0xFF000000 | n);
        DDFillSurfaceRGB(&g_WorkSD, 0xFF000000 | n << 8);
        DDFillRectRGB(&g_BackBuffer, 100, 50, 200, 100, 0xFF000000 | n << 16);
        DDBlt(&g_BackBuffer, 400, 300, 32, 16, &g_WorkSD, 0, 0, 0);
        return DDPresent(60, 0, nullptr);
    };
    auto shownAt = [](int x, int y) {
        std::vector<uint32_t> frame;
        int w = 0, h = 0;
        EXPECT_TRUE(DDShownFrameToXrgb8888(frame, w, h));
        return w == 640 && h == 480 ? frame[size_t(y) * w + x] & 0xFFFFFF : 0xDEADu;
    };
    ASSERT_EQ(drawFrame(0x10), 1);
    uint32_t n = 0x20;
    for (Uint8 ev : {SDL_WINDOWEVENT_SHOWN, SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED}) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = ev;
        e.window.windowID = SDL_GetWindowID(platform::SdlWindowOf(g_MainWindow.m_hWnd));
        g_MainWindow.HandleEvent(platform::FromSdlEvent(e));
        ASSERT_EQ(drawFrame(n), 1);
        EXPECT_EQ(shownAt(10, 10), n);
        EXPECT_EQ(shownAt(150, 100), n << 16);
        EXPECT_EQ(shownAt(410, 305), n << 8);
        n += 0x20;
    }
}

namespace {
// Notes, frame by frame, the direction and button bits a scene's handler sees.
class InputScene : public cScene {
public:
    static std::vector<int>* seen;
    InputScene() { SetHandlers<InputScene>({&InputScene::Note}); }
    void Run() override { RunStates(); }
    void Note() {
        const cInput& in = g_InputList.at(0);
        seen->push_back((in.m_sDir & INPUT_LEFT ? 1 : 0) | (in.m_wButton & 1 ? 2 : 0));
    }
};
std::vector<int>* InputScene::seen = nullptr;

void SendKey(SDL_Scancode sc, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = sc;
    e.key.keysym.sym = SDL_GetKeyFromScancode(sc);
    g_MainWindow.HandleEvent(platform::FromSdlEvent(e));
}
}  // namespace

// A held key goes through the shell's input path (the window's key events,
// the frame's poll, the scene's filters): the direction passes on the first
// frame, after 18 frames and every 6 after that; a held button passes once.
TEST_F(MainWindowTest, HeldKeysRepeatAndButtonsFireOnceThroughTheShell) {
    std::vector<int> seen;
    InputScene::seen = &seen;
    SetSceneFactory(SCENE_TITLE, [] { return static_cast<cScene*>(new InputScene()); });
    g_SceneState.m_nFrameRate = 0;  // no frame pacing
    for (SDL_Scancode sc : {SDL_SCANCODE_LEFT, SDL_SCANCODE_Z}) SendKey(sc, true);
    for (int i = 0; i < 40; ++i) ASSERT_TRUE(g_SceneManager.Update());
    std::vector<int> left, button;
    for (int i = 0; i < int(seen.size()); ++i) {
        if (seen[i] & 1) left.push_back(i);
        if (seen[i] & 2) button.push_back(i);
    }
    EXPECT_EQ(left, (std::vector<int>{0, 18, 24, 30, 36}));
    EXPECT_EQ(button, (std::vector<int>{0}));
    for (SDL_Scancode sc : {SDL_SCANCODE_LEFT, SDL_SCANCODE_Z}) SendKey(sc, false);
    g_SceneState.m_nFrameRate = 60;
    InputScene::seen = nullptr;
}

// Text input stays off (an input method would take the game's keys): the
// window turns it off when it is made and nothing turns it on again.
TEST_F(MainWindowTest, TextInputIsOffFromTheStartAndStaysOff) {
    EXPECT_FALSE(SDL_IsTextInputActive());
    g_MainWindow.Show();
    for (int i = 0; i < 50; ++i) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) g_MainWindow.HandleEvent(platform::FromSdlEvent(e));
        SDL_Delay(1);
    }
    EXPECT_FALSE(SDL_IsTextInputActive());
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.scancode = SDL_SCANCODE_A;
    key.key.keysym.sym = SDLK_a;
    g_MainWindow.HandleEvent(platform::FromSdlEvent(key));
    EXPECT_FALSE(SDL_IsTextInputActive());
}
