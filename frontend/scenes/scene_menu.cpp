#include "frontend/scenes/scene_menu.h"

#include "base/quit.h"
#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "frontend/frontend_services.h"
#include "media/input/menu_cursor.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/dd_surface.h"
#include "media/text/font.h"
#include "records/system_data.h"

// g_SceneSurfaces and g_SceneSurfaceSlots are built with the other global
// objects (media/globals.cpp).

cSceneMenu::cSceneMenu(int ownKind, int musicIndex, int buttonMask, std::vector<int> bitmapSlots)
    : m_nOwnKind(ownKind), m_nMusicIndex(musicIndex), m_nButtonMask(buttonMask),
      m_vecBitmapSlots(std::move(bitmapSlots)) {}

cSceneMenu::~cSceneMenu() {
    for (int slot : m_vecBitmapSlots)
        if (slot >= 0 && slot < kSurfaceSlots) DDReleaseSurface(&SurfaceTable[slot]);
    ReleasePages();
}

void cSceneMenu::Run() { RunStates(m_nButtonMask); }

void cSceneMenu::BeginInit() {
    g_SceneState.RequestSceneBgm(SceneBgmEntry(m_nMusicIndex), SceneBgmRepeat(m_nMusicIndex), m_nMusicIndex, 0);
    if (!DDLoadSurfaces(SurfaceTable, m_vecBitmapSlots.data(), static_cast<int>(m_vecBitmapSlots.size())))
        SetQuitAndClose();
    ResetCursorPositions();
}

void cSceneMenu::FadeIn() {
    if (DDIsPalettized()) RenderPages();
    DrawScreen();
    StepFadeIn();
}

void cSceneMenu::FadeOut() { StepFadeOut(m_nOwnKind); }

void cSceneMenu::Leave(int nextKind) {
    g_SceneState.m_nNextSceneKind = nextKind;
    m_nState = static_cast<int>(m_vecHandlers.size()) - 1;
}

void cSceneMenu::ReleasePages() {
    DDReleaseSurfaceVector(g_SceneSurfaces);
    g_SceneSurfaces.clear();
    g_SceneSurfaceSlots.clear();
    // The graphics layer keeps the addresses of live surfaces: the pages
    // must not move while they exist.
    g_SceneSurfaces.reserve(kMaxScenePages);
    g_SceneSurfaceSlots.reserve(kMaxScenePages);
}

DDSURFACEDATA* cSceneMenu::AddPage(int w, int h) {
    if (g_SceneSurfaces.size() >= kMaxScenePages) ReleasePages();
    if (!DDAddSurface(g_SceneSurfaces, g_SceneSurfaceSlots, w, h, 1, 0, 0, 0)) {
        SetQuitAndClose();
        return nullptr;
    }
    return &g_SceneSurfaces.back();
}

DDSURFACEDATA* cSceneMenu::BeginTitledPage(int titleItem) {
    if (g_SceneSurfaces.empty()) return nullptr;
    DDSURFACEDATA* page = &g_SceneSurfaces.at(0);
    DDFillSurface(page, 0);
    Font& large = g_Fonts[2];
    large.DrawTextBox(page, 1, 1, 638, 478);
    const std::string& heading = g_SystemData.m_vecTitleMenu.at(titleItem).m_strLabel;
    large.DrawStringF(page, 320 - 16 * SjisCharCount(heading), 32, "%s", heading.c_str());
    return page;
}

void cSceneMenu::BuildScreenPage() {
    ReleasePages();
    if (AddPage(640, 480)) RenderPages();
}

void cSceneMenu::ShowScreenPage() {
    if (!g_SceneSurfaces.empty()) {
        DDSURFACEDATA* page = &g_SceneSurfaces.at(0);
        if (page->bLost) {
            RenderPages();
            page->bLost = 0;
        }
        DDBlt(&g_BackBuffer, 0, 0, 640, 480, page, 0, 0, 0);
    }
    CycleColors();
}
