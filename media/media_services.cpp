#include "media/media_services.h"

#include "app/frame_timing.h"
#include "app/log.h"
#include "app/thread.h"
#include "platform/frame_mailbox.h"
#include "platform/vblank.h"

#include <algorithm>
#include <cstring>
#include <mutex>

struct DDSURFACEDATA {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(640 * 480, 0);
};
DDSURFACEDATA g_BackBuffer;

namespace {

std::mutex g_logMutex;
std::vector<std::string> g_log;
DDBACKEND g_backEnd;
int g_nFade = 0;

void Record(const std::string& s) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    if (g_log.size() < 10000) g_log.push_back(s);
}

bool KeepWaiting() { return !ThreadQuitRequested(); }

}  // namespace

DDBACKEND& DDBackEnd() { return g_backEnd; }

bool DDInitMinimal(bool windowed, bool vsync) {
    g_backEnd = DDBACKEND{};
    g_backEnd.direct3D = true;
    g_backEnd.windowed = windowed;
    g_backEnd.vsync = vsync;
    SetFrameLimiterD3DActive(true);
    return true;
}

bool DDPresent(int frameRate, int, int) {
    // The limiter paces every rate but 60 with VSync, which the emulated
    // vertical blank paces alone (it waits for no blank above 60).
    if (!g_backEnd.vsync || frameRate != 60) {
        while (!FrameLimiter(frameRate, 0, nullptr))
            if (!ThreadSleep(1)) break;
    }
    if (g_backEnd.vsync && frameRate <= 60) platform::WaitForVerticalBlank(KeepWaiting);
    platform::FrameMailbox().Put(g_BackBuffer.pixels.data(), 640 * 4);
    return true;
}

void DDWaitForVerticalBlank() { platform::WaitForVerticalBlank(KeepWaiting); }
void DDBltBackToPrimary() { platform::FrameMailbox().Put(g_BackBuffer.pixels.data(), 640 * 4); }
void DDFlipPrimary() { platform::FrameMailbox().Put(g_BackBuffer.pixels.data(), 640 * 4); }
bool DDIsPrimaryLost() { return false; }
bool DDRestore() { return true; }
bool DDRestoreRunTimeSurfaces() { return true; }
void DDRestoreSurface() { Record("DDRestoreSurface"); }
void DDSetDialogBoxMode(int on) { Record(Format("DDSetDialogBoxMode %d", on)); }

bool DDFillSurface(DDSURFACEDATA* surface, int colour) {
    if (!surface) return false;
    uint32_t c = colour == 16 ? 0u : 0x00FFFFFFu;
    std::fill(surface->pixels.begin(), surface->pixels.end(), c);
    return true;
}

bool DDFadeIn(int speed) {
    g_nFade += speed > 0 ? speed : 255;
    if (g_nFade < 255) return false;
    g_nFade = 0;
    return true;
}

bool DDFadeOut(int speed) { return DDFadeIn(speed); }
bool DDCopyBackToPresentation() { return true; }
bool DDIsPalettized() { return false; }

uint8_t g_Palette[256][4];
uint8_t g_PaletteCopy[256][4];
uint8_t g_BlendTable[65536];

bool DDLoadPaletteFromFile() { return true; }

void DDRotatePalette(uint8_t dst[256][4], int first, int last, int count, int direction, const uint8_t src[256][4]) {
    uint8_t tmp[256][4];
    std::memcpy(tmp, src, sizeof tmp);
    std::memcpy(dst, tmp, sizeof tmp);
    int len = last - first + 1;
    if (first < 0 || last > 255 || len <= 0 || (direction != 0 && direction != 1)) return;
    for (int k = 0; k < len; ++k) {
        int to = direction == 0 ? (k + count) % len : (k - count % len + len) % len;
        if (to < 0) to += len;
        std::memcpy(dst[first + to], tmp[first + k], 4);
    }
}

bool DDLoadBlendTable(uint8_t[65536], const char* path) {
    Record(std::string("DDLoadBlendTable ") + path);
    return true;
}

void DDSetPaletteEntries(int first, int count) { Record(Format("DDSetPaletteEntries %d %d", first, count)); }
const uint32_t* DDBackBufferPixels() { return g_BackBuffer.pixels.data(); }

void DrawString(int font, DDSURFACEDATA*, int x, int y, const std::string& text, int) {
    Record(Format("DrawString %d %d %d ", font, x, y) + text);
}
void DrawMultiLine(int font, DDSURFACEDATA*, int x, int y, int, int, const std::string& text, int) {
    Record(Format("DrawMultiLine %d %d %d ", font, x, y) + text);
}

bool InputJoystickSetupRequested() { return false; }
bool InputKeyConfigEnabled() { return false; }
int InputRecordCount() { return 1; }
void DetectJoysticks(int frameRate) { Record(Format("DetectJoysticks %d", frameRate)); }
void PollInput(int index, int sources, int rate) { Record(Format("PollInput %d %d %d", index, sources, rate)); }
void UpdateAllInput(int rate) { Record(Format("UpdateAllInput %d", rate)); }
void UpdateKeyRepeat(int) {}
void UpdateButtonTrigger(int) {}

int DS_SECount() { return 18; }
void DS_PlaySE(int index, int) { Record(Format("DS_PlaySE %d", index)); }
void DS_BgmSetTrack(int track, const std::string& file, int volume) {
    Record(Format("DS_BgmSetTrack %d %s %d", track, file.c_str(), volume));
}
void DS_BgmPlay(int channel, int track, int repeat, int, int force) {
    Record(Format("DS_BgmPlay %d %d %d %d", channel, track, repeat, force));
}
void DS_BgmStop() { Record("DS_BgmStop"); }

std::vector<std::string> MediaCallLog() {
    std::lock_guard<std::mutex> lock(g_logMutex);
    return g_log;
}

void ClearMediaCallLog() {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_log.clear();
}
