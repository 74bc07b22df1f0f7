#include "app/startup_seams.h"

#include "base/app_state.h"
#include "base/files.h"
#include "app/main_window.h"
#include "media/scene.h"
#include "app/scene_manager.h"
#include "media/media_services.h"
#include "base/log.h"
#include "records/system_ini.h"
#include "records/data_record.h"

namespace seam {


void SetSceneManagerValues(int frameRate, int fadeSpeed, int showFps) {
    g_SceneState.m_nFrameRate = frameRate;
    g_SceneState.m_nFadeSpeed = fadeSpeed;
    g_SceneManager.m_nShowFps = showFps;
}
void SetWindowed(bool windowed) { g_bWindowed = windowed ? 1 : 0; }
bool Running() { return g_bRunning != 0; }
void StartFreeStageRun(bool singlePlay, bool rankingOn) {
    g_bFreeStage = 1;
    if (singlePlay) g_bSinglePlay = 1;
    g_SceneState.g_bRankingOn = rankingOn ? 1 : 0;
}
void EnterFreeStageScene() {
    g_SceneState.g_nGameKind = 2;
    g_SceneState.g_nGameType = 3;
    g_SceneState.m_nSceneKind = SCENE_PLAY;
    g_SceneState.m_nPrevSceneKind = SCENE_TITLE;
}

void SetCaption(const std::string& cp932Title) {
    g_hWnd = g_MainWindow.m_hWnd;
    g_MainWindow.SetCaption(cp932Title);
}
void ApplyWindowPlacement(const WindowPlacementPlan& plan) {
    SDL_Window* w = g_MainWindow.m_hWnd;
    if (!w) return;
    if (plan.bMove) SDL_SetWindowPosition(w, plan.nX, plan.nY);
    if (plan.bSetClient) SDL_SetWindowSize(w, plan.nWidth, plan.nHeight);
    if (plan.bZoomToFit) g_MainWindow.ZoomToFit();
}
void ShowWindow(bool maximized) {
    if (!g_bWindowed) g_MainWindow.SetFullScreen(true);
    g_MainWindow.Show();
    if (maximized && g_bWindowed && g_MainWindow.m_hWnd) SDL_MaximizeWindow(g_MainWindow.m_hWnd);
}
void InstallPlacementSaver() {
    g_MainWindow.SetPlacementSaver([](const WindowPlacementValues& v) {
        SaveWindowPlacementOnClose(g_SystemIni.WindowMode, g_bRunning != 0, false, v.x, v.y, v.width, v.height,
                                   v.maximized != 0);
    });
}

void* MainWindowHandle() { return g_MainWindow.m_hWnd; }
void SetPresentation(bool, bool, bool, bool presentByCopy) {
    DDBackEndFromDevice();
    DDBackEnd().presentByCopy = presentByCopy;
}



}  // namespace seam
