#include "media/frame_loop.h"

#include "base/error_box.h"
#include "base/frame_timing.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/scene_state.h"
#include "base/thread.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_palette_fx.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/dd_state.h"
#include "media/media_services.h"
#include "platform/cp932.h"
#include "records/system_data.h"

#include <cstring>
#include <string>

BlinkColor g_BlinkColors[9] = {};

namespace {

struct CycleState {
    int value[9] = {};
    int dir[9] = {};
    int phase = 0;
    uint8_t count = 0;
};
CycleState g_cycle;

}  // namespace

void WaitFrame() {
    // Every frame loop passes here: a gate point for SuspendAllThreads.
    ThreadGate();
    const DDBACKEND& be = DDBackEnd();
    if (be.direct3D || !be.directDraw) return;
    while (!IsFrameTick(g_SceneState.m_nFrameRate))
        if (!ThreadSleep(1)) return;
}

void PresentFrame() {
    const DDBACKEND& be = DDBackEnd();
    const int frameRate = g_SceneState.m_nFrameRate;
    if (be.direct3D) {
        if (!DDPresent(frameRate, 0, 0) && be.windowed) SendMainWindowMessage(UM_RESTOREDEVICE);
        return;
    }
    if (!be.directDraw) return;
    bool fast = g_lpPlayScene != nullptr && frameRate > 60;
    if (be.windowed) {
        if (!fast) DDWaitForVerticalBlank();
        DDBltBackToPrimary();
    } else if (be.presentByCopy || fast) {
        DDBltBackToPrimary();
    } else {
        DDFlipPrimary();
    }
}

void RedrawScreen() {
    const DDBACKEND& be = DDBackEnd();
    if (!be.direct3D && !be.directDraw) return;
    // Presenting hands the whole back buffer to the window in both families.
    PresentFrame();
}

bool CheckLostSurfaces() {
    if (DDBackEnd().direct3D) return true;
    if (!DDIsPrimaryLost()) return true;
    if (!DDRestore()) return false;
    return DDRestoreRunTimeSurfaces();
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
        if (g_SystemData.m_bColorCycle == 0 || !DDIsPalettized()) return;
        g_cycle.count += 1;
        if (g_cycle.count >= 6) {
            for (int first = 208; first < 240; first += 4) DDRotatePalette(g_Palette, first, first + 3, 1, 0, g_Palette);
            DDSetPaletteEntries(g_Palette, 208, 32);
            g_cycle.count = 0;
        }
        return;
    }
    int s = g_SystemData.m_nColorCycleStep;
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
