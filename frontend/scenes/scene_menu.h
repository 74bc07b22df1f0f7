// The frame every menu scene follows: one frame of Run with the scene's
// button mask, the common start of Init (music, bitmap slots, cursor), the
// fade-in over the scene's screen, the fade-out that hands the next scene
// kind to the scene manager, and the off-screen pages of the scene.
#pragma once
#include <vector>

#include "base/checked_vector.h"
#include "media/scene.h"
#include "media/gfx/dd_state.h"
#include "media/gfx/run_time_surfaces.h"

// The off-screen pages of the current menu scene: g_SceneSurfaces
// (media/gfx/run_time_surfaces.h).
inline constexpr size_t kMaxScenePages = 8;

// Button masks of the menu filters: decide and cancel fire once per press,
// the buttons outside the mask read as held.
inline constexpr int kMenuButtons2 = 3;
inline constexpr int kMenuButtons4 = 15;
inline constexpr int kMenuButtons5 = 31;

// Menu input: button 1 decides, button 2 cancels.
inline constexpr int kButtonDecide = 1;
inline constexpr int kButtonCancel = 2;

class cSceneMenu : public cScene {
public:
    // ownKind: the scene's kind; musicIndex: its entry of the menu music;
    // bitmapSlots: the slots its Init loads and its destructor releases.
    cSceneMenu(int ownKind, int musicIndex, int buttonMask, std::vector<int> bitmapSlots);
    ~cSceneMenu() override;

    void Run() override;
    void FadeIn() override;
    void FadeOut() override;

    // Releases every page and clears both vectors.
    static void ReleasePages();
    // Appends a page of w x h; a failure sets the quit flag and closes.
    static DDSURFACEDATA* AddPage(int w, int h);

protected:
    // Music request, bitmap slots (a failure sets the quit flag and closes),
    // cursor reset.
    void BeginInit();
    // Draws the scene's pages into g_SceneSurfaces again (8-bit colour
    // fades in over freshly drawn pages).
    virtual void RenderPages() {}
    // The screen as the main state shows it, without reacting to input.
    virtual void DrawScreen() {}
    // Stores the next scene kind and enters the fade-out state.
    void Leave(int nextKind);
    // Scenes drawn on one 640 x 480 page: the page made anew and drawn
    // (RenderPages), and the page shown on the back buffer (drawn again when
    // it was lost) with the colour cycling.
    void BuildScreenPage();
    void ShowScreenPage();
    // The one page of such a scene, started empty (a frame picture smaller
    // than the screen would keep the rows drawn before a scroll), with the
    // frame box and the title menu's label of titleItem centred on top; null
    // when there is no page.
    static DDSURFACEDATA* BeginTitledPage(int titleItem);

    int m_nOwnKind;
    int m_nMusicIndex;
    int m_nButtonMask;
    std::vector<int> m_vecBitmapSlots;
};
