#include "app/scene_manager.h"

#include "app/app_state.h"
#include "app/error_box.h"
#include "app/frame_timing.h"
#include "app/log.h"
#include "app/main_thread.h"
#include "app/quit.h"
#include "app/thread.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "frontend/scenes/scene_map_menu.h"
#include "frontend/scenes/scene_options.h"
#include "frontend/scenes/scene_replay_list.h"
#include "frontend/scenes/scene_stage_list.h"
#include "frontend/scenes/scene_stage_select.h"
#include "frontend/scenes/scene_title.h"
#include "frontend/scenes/scene_world_map.h"
#include "play/scene_play.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_palette_fx.h"
#include "media/media_services.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "app/checked_vector.h"

#include <cstring>
#include <mutex>
#include <new>

// g_SceneManager and g_lpPlayScene are built with the other global objects (app/globals.cpp).
BlinkColor g_BlinkColors[9] = {};

namespace {

std::mutex g_factoryMutex;
SceneFactory g_factories[8];
bool g_bFactoriesSet = false;

int SlotOf(int kind) {
    if (kind == SCENE_OPTIONS) return 6;
    if (kind == SCENE_PLAY) return 7;
    return kind;
}

void SetDefaultFactoriesLocked() {
    for (auto& f : g_factories) f = nullptr;
    g_factories[SCENE_TITLE] = [] { return static_cast<cScene*>(new cSceneTitle()); };
    g_factories[SCENE_WORLDMAP] = [] { return static_cast<cScene*>(new cSceneWorldMap()); };
    g_factories[SCENE_MAPMENU] = [] { return static_cast<cScene*>(new cSceneMapMenu()); };
    g_factories[SCENE_STAGESELECT] = [] { return static_cast<cScene*>(new cSceneStageSelect()); };
    g_factories[SCENE_STAGELIST] = [] { return static_cast<cScene*>(new cSceneStageList()); };
    g_factories[SCENE_REPLAYLIST] = [] { return static_cast<cScene*>(new cSceneReplayList()); };
    g_factories[SCENE_OPTIONS] = [] { return static_cast<cScene*>(new cSceneOptions()); };
    g_factories[SCENE_PLAY] = [] { return static_cast<cScene*>(new cScenePlay()); };
    g_bFactoriesSet = true;
}

SceneFactory FactoryOf(int kind) {
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    if (!g_bFactoriesSet) SetDefaultFactoriesLocked();
    return g_factories[kind];
}

struct CycleState {
    int value[9] = {};
    int dir[9] = {};
    int phase = 0;
    uint8_t count = 0;
};
CycleState g_cycle;

}  // namespace

void SetSceneFactory(int kind, SceneFactory factory) {
    if (kind < 0 || kind > 7) return;
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    if (!g_bFactoriesSet) SetDefaultFactoriesLocked();
    g_factories[kind] = std::move(factory);
}

void ResetSceneFactories() {
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    SetDefaultFactoriesLocked();
}

cSceneManager::~cSceneManager() { DeleteAllScenes(); }

cScene* cSceneManager::SceneOf(int kind) const {
    if (kind < 0 || kind > 7) return nullptr;
    return m_lpScenes[SlotOf(kind)];
}

void cSceneManager::DeleteAllScenes() {
    for (int slot = 0; slot < 8; ++slot) {
        delete m_lpScenes[slot];
        m_lpScenes[slot] = nullptr;
    }
    g_lpPlayScene = nullptr;
}

void cSceneManager::ChangeScene(int kind) {
    static const int kOrder[8] = {0, 2, 1, 3, 4, 5, 6, 7};
    for (int k : kOrder) {
        if (k == kind) continue;
        cScene*& slot = m_lpScenes[SlotOf(k)];
        if (!slot) continue;
        if (k == SCENE_PLAY) g_lpPlayScene = nullptr;
        delete slot;
        slot = nullptr;
    }
    if (kind < 0 || kind > 7) return;
    cScene*& slot = m_lpScenes[SlotOf(kind)];
    if (slot) return;
    SceneFactory make = FactoryOf(kind);
    if (!make) return;
    cScene* scene = nullptr;
    try {
        scene = make();
    } catch (const std::bad_alloc&) {
        OutOfMemoryExit();
        return;
    }
    slot = scene;
    if (kind == SCENE_PLAY) g_lpPlayScene = scene;
}

bool cSceneManager::Update() {
    AssertGameToken();
    WaitFrame();
    StartFrameTimer();
    if (DDBackEnd().directDraw && !CheckLostSurfaces()) {
        // The loop ends here; without the quit flag the close would ask for
        // confirmation with no frame loop left.
        g_bQuit = 1;
        return false;
    }
    UpdateInput();
    int kind = m_nSceneKind.load();
    try {
        ChangeScene(kind);
    } catch (const char* text) {
        DebugLogFatal("%s", text ? text : "");
    } catch (const std::string& text) {
        DebugLogFatal("%s", text.c_str());
    }
    if (cScene* scene = SceneOf(kind)) scene->Run();
    int fps = GetFramesPerSecond(1);
    int frameTime = GetFrameTime(1);
    if (g_lpPlayScene) PlaySceneSetFps(fps);
    if (m_nShowFps != 0) DrawFps(fps, frameTime);
    Present();
    return true;
}

std::string cSceneManager::DrawFps(int framesPerSecond, int frameTime) {
    m_nFpsRing[m_nFpsIndex] = frameTime;
    m_nFpsIndex += 1;
    if (m_nFpsIndex >= 16) {
        m_nFpsIndex = 0;
        int sum = 0;
        for (int v : m_nFpsRing) sum += v;
        m_nFpsAverage = sum >> 4;
    }
    std::string text = Format("FPS%2d(%2d)", framesPerSecond, m_nFpsAverage);
    if (m_nShowFps == 2)
        g_Fonts[0].DrawString(&g_BackBuffer, 549, 469, text);
    else
        g_Fonts[1].DrawMultiLine(&g_BackBuffer, 495, 463, 640 - 495, 480 - 463, text, 0);
    return text;
}

void cSceneManager::Present() {
    const DDBACKEND& be = DDBackEnd();
    if (be.direct3D) {
        if (!DDPresent(m_nFrameRate, 0, 0) && be.windowed) SendMainWindowMessage(UM_RESTOREDEVICE);
        return;
    }
    if (!be.directDraw) return;
    bool fast = g_lpPlayScene != nullptr && m_nFrameRate > 60;
    if (be.windowed) {
        if (!fast) DDWaitForVerticalBlank();
        DDBltBackToPrimary();
    } else if (be.presentByCopy || fast) {
        DDBltBackToPrimary();
    } else {
        DDFlipPrimary();
    }
}

bool cSceneManager::CheckLostSurfaces() {
    if (DDBackEnd().direct3D) return true;
    if (!DDIsPrimaryLost()) return true;
    if (!DDRestore()) return false;
    return DDRestoreRunTimeSurfaces();
}

void cSceneManager::UpdateInput() {
    AssertGameToken();
    if ((g_OptionData.m_bJoyRescan != 0 || !m_bJoystickSetupDone) && !PlaySceneInPlayState()) {
        DetectJoysticks(m_nFrameRate);
        m_bJoystickSetupDone = true;
    }
    if (InputKeyConfigEnabled()) {
        UpdateAllInput(60);
    } else {
        int n = InputRecordCount();
        for (int i = 0; i < n; ++i) PollInput(i, i == 0 ? 3 : 1, 60);
    }
}

void cSceneManager::RequestSceneBgm(int entry, int repeat, int slot, int force) {
    if (!force && entry != 0 && repeat && entry == m_nBgmEntry && m_bBgmRepeat) return;
    m_nBgmEntry = entry;
    m_bBgmRepeat = static_cast<uint8_t>(repeat != 0);
    SendMainWindowMessage(UM_PLAYBGM, slot, 0);
}

void WaitFrame() {
    // Every frame loop passes here: a gate point for SuspendAllThreads.
    ThreadGate();
    const DDBACKEND& be = DDBackEnd();
    if (be.direct3D || !be.directDraw) return;
    while (!IsFrameTick(g_SceneManager.m_nFrameRate))
        if (!ThreadSleep(1)) return;
}

void RedrawScreen() {
    const DDBACKEND& be = DDBackEnd();
    if (!be.direct3D && !be.directDraw) return;
    // Presenting hands the whole back buffer to the window in both families.
    g_SceneManager.Present();
}

unsigned GameLoop(void*) {
    for (;;) {
        if (ThreadQuitRequested()) {
            DebugLog("GameLoop WM_QUIT!");
            return 1;
        }
        if (!g_bActive.load()) {
            ThreadSleep(1);
            continue;
        }
        if (!ThreadGate()) continue;
        if (!g_SceneManager.Update()) {
            PostCloseRequest();
            return 1;
        }
    }
}

bool PingPongStep(int& value, int& direction, int step, int low, int high) {
    int old = value;
    if (direction == 0) {
        value += step;
        if (value >= high) {
            value = old;
            direction = 1;
        }
        return false;
    }
    value -= step;
    if (value <= low) {
        value = old;
        direction = 0;
        return true;
    }
    return false;
}

void ResetColorCycle() {
    g_cycle = CycleState{};
    for (auto& b : g_BlinkColors) b = BlinkColor{0, 0};
}

void CycleColors() {
    const DDBACKEND& be = DDBackEnd();
    if (!be.direct3D) {
        if (!ColorCycleOn() || !DDIsPalettized()) return;
        g_cycle.count += 1;
        if (g_cycle.count >= 6) {
            for (int first = 208; first < 240; first += 4) DDRotatePalette(g_Palette, first, first + 3, 1, 0, g_Palette);
            DDSetPaletteEntries(g_Palette, 208, 32);
            g_cycle.count = 0;
        }
        return;
    }
    int s = ColorCycleStep();
    uint32_t c[9];
    for (int i = 0; i < 9; ++i) {
        c[i] = static_cast<uint32_t>(g_cycle.value[i]) & 0xFF;
        bool turnedLow = PingPongStep(g_cycle.value[i], g_cycle.dir[i], s, 0, 255);
        if (i == 8 && turnedLow) g_cycle.phase = (g_cycle.phase + 1) & 3;
    }
    auto argb = [](uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | (r << 16) | (g << 8) | b; };
    int phase = g_cycle.phase;
    g_BlinkColors[0] = {argb(c[0], c[0], c[0]), 7};
    g_BlinkColors[1] = {argb(c[1], c[1], c[1]), 10};
    g_BlinkColors[2] = {argb(c[2], 0, 0), 7};
    g_BlinkColors[3] = {argb(0, c[3], 0), 7};
    g_BlinkColors[4] = {argb(0, 0, c[4]), 7};
    g_BlinkColors[5] = {argb(c[5], c[5], 0), 7};
    g_BlinkColors[6] = {argb(c[6], 0, c[6] / 4), 7};
    g_BlinkColors[7] = {argb(c[7] / 4, 0, c[7]), 7};
    static const uint32_t kPhase[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
    const uint32_t* p = kPhase[phase];
    g_BlinkColors[8] = {argb(c[8] * p[0], c[8] * p[1], c[8] * p[2]), 7};
}

void ApplyPaletteCycle(uint8_t palette[256][4], int n) {
    if (n < 12) {
        DDRotatePalette(palette, 16, 207, 16 * n, 0, palette);
        return;
    }
    int row = n - 11;
    if (row > 15) {
        // Only rows 0..15 exist; the number comes from the user's option file.
        ReportBadIndex("V", row, 16, 64);
        return;
    }
    for (int first = 16; first < 208; first += 16)
        if (first != 16 * row) std::memcpy(palette[first], palette[16 * row], 16 * 4);
}

bool LoadPaletteCycle(int n) {
    if (!DDIsPalettized()) return true;
    std::string file = Format("bmp\\hbt\\hbt%02d.dat", n);
    if (!DDLoadBlendTable(g_BlendTable, file.c_str())) {
        ErrorBoxf("%s", Format(SJ("%s の読み込みに失敗！").c_str(), file.c_str()).c_str());
        return false;
    }
    if (!DDLoadPaletteFromFile(g_Palette, BitmapTable[0].strFileName)) {
        DebugLog(SJ("DDLoadPaletteFromFile失敗"));
        return false;
    }
    ApplyPaletteCycle(g_Palette, n);
    std::memcpy(g_PaletteCopy, g_Palette, sizeof g_PaletteCopy);
    DDSetPaletteEntries(g_Palette, 0, 255);
    return true;
}
