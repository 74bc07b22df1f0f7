#include "media/gfx/dd_present.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "base/frame_timing.h"
#include "base/log.h"
#include "base/thread.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_surface.h"
#include "media/gfx/draw_pixels.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "platform/frame_mailbox.h"
#include "platform/vblank.h"

using namespace gfx;

namespace {
std::atomic<bool> g_bFramesWatched{true};
bool SleepOrQuit(int ms) { return ThreadSleep(ms); }
bool KeepWaiting() { return !ThreadQuitRequested(); }
}  // namespace

DDFrameLimiterFn g_DDFrameLimiter = &FrameLimiter;
DDSleepFn g_DDSleep = &SleepOrQuit;
DDShowWindowFn g_DDShowWindow = nullptr;

void DDSetFramesWatched(bool watched) {
    g_bFramesWatched = watched;
    g_bDrawPixels = watched;
}

bool DDFramesWatched() { return g_bFramesWatched; }

void DDHandOverFrame() {
    if (!g_bFramesWatched) return;
    constexpr int kFrameW = platform::cFrameMailbox::kWidth, kFrameH = platform::cFrameMailbox::kHeight;
    platform::cFrameMailbox& mailbox = platform::FrameMailbox();
    if (DDShownFrameToXrgb8888(mailbox.WriteBuffer(), kFrameW, kFrameH)) {
        mailbox.Publish();
        return;
    }
    static std::vector<uint32_t> frame;
    int w = 0, h = 0;
    if (!DDShownFrameToXrgb8888(frame, w, h)) return;
    constexpr int kW = platform::cFrameMailbox::kWidth, kH = platform::cFrameMailbox::kHeight;
    if (w != kW || h != kH) {
        // The window shows 640 x 480: anything else is cut or padded black.
        std::vector<uint32_t> fit(size_t(kW) * kH, 0);
        for (int y = 0; y < std::min(h, kH); ++y)
            for (int x = 0; x < std::min(w, kW); ++x) fit[size_t(y) * kW + x] = frame[size_t(y) * w + x];
        frame.swap(fit);
    }
    platform::FrameMailbox().Put(frame.data(), kW * 4);
}

int DDPresent(int frameRate, int showStats, DDSURFACEDATA* statsSurface) {
    if (!lpDTCon || !g_DD.lpDevice) return 1;
    if (lpDTCon->bVirBackBuffer) DDFlushVirtualBackBuffer(&g_BackBuffer, &g_VirBackBuffer);
    g_DD.bVirPresented = lpDTCon->bVirBackBuffer;
    if (!g_DD.bVSync) {
        while (!g_DDFrameLimiter(frameRate, showStats, statsSurface))
            if (!g_DDSleep(int(FrameLimiterWaitMs(frameRate)))) break;
    } else {
        // The presentation interval: the emulated vertical blank.
        platform::WaitForVerticalBlank(KeepWaiting);
    }
    DDEndScene();
    if (g_DD.lpDevice->Present() == D3DERR_DEVICELOST) {
        if (g_DD.nScreenMode == 0 && g_DDShowWindow) g_DDShowWindow(true);
        return 0;
    }
    DDHandOverFrame();
    return 1;
}

int DDRestoreSurface() {
    DebugLog("Restore In");
    if (!lpDTCon) {
        DebugLog(SJ("DDではDDRestoreSurfaceは未対応"));
        return 1;
    }
    if (!g_DD.lpDevice) return 0;
    cD3DDevice& dev = *g_DD.lpDevice;
    // An activation of a device that was never lost (the first one of a
    // full-screen start, or any return of the focus) has nothing to restore:
    // every surface stays as it is.
    if (!dev.Lost()) {
        DebugLog("Restore Out");
        return 1;
    }
    for (DDSURFACEDATA* sd : g_LiveSurfaces) {
        if (!sd->lpDT || sd->lpDT->nMemType == DTMEMORYTYPE_SYSTEM) continue;
        sd->lpDT->lpTexture.reset();
        sd->lpDT->lpSurface.reset();
    }
    // The fonts' device objects have nothing to give back here; their atlases
    // are surfaces of the live list and are redrawn by RestoreFont.
    if (g_BackBuffer.lpDT) g_BackBuffer.lpDT->lpSurface.reset();
    if (dev.TestCooperativeLevel() != D3DERR_DEVICENOTRESET) {
        DebugLog(SJ("復旧失敗…リセット可能な状態ではありません…"));
        return 0;
    }
    if (FAILED_HR(dev.Reset(lpDTCon->pp))) return 0;
    dev.stage = StageState{};
    dev.alphaBlend = true;
    lpDTCon->bSceneOpen = 0;
    if (g_BackBuffer.lpDT) g_BackBuffer.lpDT->lpSurface = dev.BackBuffer();
    for (DDSURFACEDATA* sd : g_LiveSurfaces) {
        if (!sd->lpDT) continue;
        if (!sd->strFileName.empty() && !IsEmptyName(sd->strFileName)) {
            if (sd->lpDT->nMemType == DTMEMORYTYPE_SYSTEM && sd->lpDT->lpTexture) continue;
            const int r = DDCreateSurfaceFromFile(sd, sd->strFileName, sd->lpDT->bColorKey, g_DD.nBpp, sd->nMemory,
                                                  sd->lpDT->nMemType, sd->lpAlias ? 1 : 0, 0, sd->nMirrorW,
                                                  sd->nMirrorH, 1);
            if (r != 0) DebugLog("Err");
        } else {
            if (sd->lpDT->nMemType == DTMEMORYTYPE_SYSTEM && sd->lpDT->lpTexture) continue;
            if (!DDCreateSurface(sd, sd->nWidth, sd->nHeight, sd->lpDT->bColorKey, sd->nMemory, sd->lpDT->nMemType,
                                 sd->lpAlias ? 1 : 0, 1))
                DebugLog("Err");
            sd->bLost = 1;
        }
    }
    for (Font* f : g_FontList) f->RestoreFont();
    if (g_DD.nScreenMode == 0 && g_DDShowWindow) g_DDShowWindow(false);
    DebugLog("Restore Out");
    return 1;
}

bool DDReloadSurface(DDSURFACEDATA* sd, int bpp) {
    if (lpDTCon) return true;
    if (!sd || !sd->lpDD) return false;
    return CopyBitmap(sd, sd->strFileName, bpp, sd->lpDD->lpPalIdx != nullptr, sd->nMirrorW, sd->nMirrorH);
}

bool DDIsPrimaryLost() {
    if (lpDTCon || !g_PrimarySurface.lpDD || !g_PrimarySurface.lpDD->lpSurface) return false;
    return DDSurfIsLost(g_PrimarySurface.lpDD->lpSurface) == DDERR_SURFACELOST;
}

bool DDRestore() {
    if (lpDTCon) {
        DebugLog(SJ("D3DではDDRestoreは未対応"));
        return true;
    }
    if (!DDIsPrimaryLost()) return true;
    DDSurfRestore(g_PrimarySurface.lpDD->lpSurface);
    if (g_BackBuffer.lpDD && g_BackBuffer.lpDD->lpSurface &&
        DDSurfIsLost(g_BackBuffer.lpDD->lpSurface) == DDERR_SURFACELOST)
        DDSurfRestore(g_BackBuffer.lpDD->lpSurface);
    for (int i = 0; i < g_DD.nSurfaceCount && g_DD.lpSurfaceTable; ++i) {
        DDSURFACEDATA& sd = g_DD.lpSurfaceTable[i];
        if (!sd.lpDD || !sd.lpDD->lpSurface || DDSurfIsLost(sd.lpDD->lpSurface) != DDERR_SURFACELOST) continue;
        DDSurfRestore(sd.lpDD->lpSurface);
        if (sd.nMemory != 0) continue;  // system memory keeps its content
        if (!sd.strFileName.empty() && !IsEmptyName(sd.strFileName)) DDReloadSurface(&sd, g_DD.nBpp);
        else sd.bLost = 1;
    }
    if (g_DD.nBpp == 8 && g_DD.lpDDPalette)
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c) g_DD.lpDDPalette->entries[i][c] = g_PaletteCopy[i][c];
    for (Font* f : g_FontList) f->RestoreFont();
    return true;
}

bool DDIsPalettized() { return !lpDTCon && g_DD.nBpp == 8; }

void DDWaitForVerticalBlank() { platform::WaitForVerticalBlank(KeepWaiting); }

void DDBltBackToPrimary() {
    if (lpDTCon || !g_PrimarySurface.lpDD || !g_BackBuffer.lpDD) return;
    const DDSurfacePtr& prim = g_PrimarySurface.lpDD->lpSurface;
    const DDSurfacePtr& back = g_BackBuffer.lpDD->lpSurface;
    if (!prim || !back) return;
    if (prim != back) DDSurfBlt(prim, nullptr, back, nullptr, 0);
    DDHandOverFrame();
}

void DDFlipPrimary() {
    if (lpDTCon || !g_PrimarySurface.lpDD || !g_PrimarySurface.lpDD->lpSurface) return;
    DDSurfFlip(g_PrimarySurface.lpDD->lpSurface);
    DDHandOverFrame();
}
