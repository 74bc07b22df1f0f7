#include "app/app_init.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/scene_manager.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_surface.h"
#include "media/media_services.h"

bool AppInitGraphicsDefault() {
    BuildBitmapTable();
    // Direct3D, 640 x 480, 32 bits, windowed, VSync on, one back buffer.
    if (!DDInit(1, g_MainWindow.m_hWnd, 640, 480, 32, 1, 1, 1, 60, 1, SurfaceTable, BitmapTable, kSurfaceSlots, 0))
        return false;
    DDBackEndFromDevice();
    return true;
}

bool AppInit(const std::string&, int) {
    g_SceneManager.m_nFrameRate = 60;
    g_SceneManager.m_nFadeSpeed = 10;
    g_bWindowed = 1;
    g_hWnd = g_MainWindow.m_hWnd;
    if (!AppInitGraphicsDefault()) return false;
    g_MainWindow.Show();
    return true;
}

void AppEnd() {
    g_SceneManager.DeleteAllScenes();
    DDEnd();
}
