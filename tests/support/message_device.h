// A graphics device and the message font for tests that put up message
// windows: a text window measures its text in the message font and takes
// its work surface from the device's message-surface pool.
#pragma once
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_surface.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "tests/media/gfx/gfx_fixture.h"

namespace testsupport {

class cMessageDevice {
public:
    // False when the device could not be made.
    bool Open(cScenePlay& scene) {
        m_lpScene = &scene;
        if (!DDInit(1, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0)) return false;
        return g_Fonts[1].InitFont(SJ("ＭＳ ゴシック"), 0, 16, 16, 16, 241, 0, 1, nullptr, 1, 240, nullptr, 0);
    }
    // The scene's windows go with their surfaces, then the font and the device.
    ~cMessageDevice() {
        if (!m_lpScene) return;
        m_lpScene->m_lstMessages.clear();
        DDReleaseSurfaceList(g_lstMessageSurfaces);
        g_lstMessageSurfaces.clear();
        g_lstMessageSlots.clear();
        g_Fonts[1].Release();
        Graphics::ResetGraphics();
    }

private:
    struct Graphics : gfxtest::GfxTest {
        using GfxTest::ResetGraphics;
    };
    cScenePlay* m_lpScene = nullptr;
};

}  // namespace testsupport
