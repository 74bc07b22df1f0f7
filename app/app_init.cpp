#include "app/app_init.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/scene_manager.h"
#include "media/media_services.h"

bool AppInit(const std::string&, int) {
    g_SceneManager.m_nFrameRate = 60;
    g_SceneManager.m_nFadeSpeed = 10;
    g_bWindowed = 1;
    if (!DDInitMinimal(true, true)) return false;
    g_hWnd = g_MainWindow.m_hWnd;
    g_MainWindow.Show();
    return true;
}

void AppEnd() { g_SceneManager.DeleteAllScenes(); }
