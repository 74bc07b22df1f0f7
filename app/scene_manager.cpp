#include "app/scene_manager.h"

#include "base/app_state.h"
#include "base/error_box.h"
#include "base/frame_timing.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "base/thread.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "frontend/scenes/scene_map_menu.h"
#include "frontend/scenes/scene_options.h"
#include "frontend/scenes/scene_replay_list.h"
#include "frontend/scenes/scene_stage_list.h"
#include "frontend/scenes/scene_stage_select.h"
#include "frontend/scenes/scene_title.h"
#include "frontend/scenes/scene_world_map.h"
#include "play/frame_input.h"
#include "play/scene_play.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_palette_fx.h"
#include "media/media_services.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "base/checked_vector.h"

#include <cstring>
#include <mutex>
#include <new>

// g_SceneManager is built with the other global objects (app/globals.cpp).

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
    UpdateFrameInput();
    int kind = g_SceneState.m_nSceneKind.load();
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
    PresentFrame();
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
