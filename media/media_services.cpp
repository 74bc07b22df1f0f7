#include "media/media_services.h"

#include "app/frame_timing.h"
#include "app/log.h"
#include "app/thread.h"
#include "platform/frame_mailbox.h"
#include "platform/vblank.h"

#include <algorithm>
#include <cstring>
#include <mutex>

struct MinimalFrame {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(640 * 480, 0);
};
MinimalFrame g_MinimalFrame;

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
    platform::FrameMailbox().Put(g_MinimalFrame.pixels.data(), 640 * 4);
    return true;
}

void DDWaitForVerticalBlank() { platform::WaitForVerticalBlank(KeepWaiting); }
void DDBltBackToPrimary() { platform::FrameMailbox().Put(g_MinimalFrame.pixels.data(), 640 * 4); }
void DDFlipPrimary() { platform::FrameMailbox().Put(g_MinimalFrame.pixels.data(), 640 * 4); }
bool DDIsPrimaryLost() { return false; }
bool DDRestore() { return true; }
bool DDRestoreRunTimeSurfaces() { return true; }
void DDRestoreSurface() { Record("DDRestoreSurface"); }
void DDSetDialogBoxMode(int on) { Record(Format("DDSetDialogBoxMode %d", on)); }

bool DDFillSurface(MinimalFrame* surface, int colour) {
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

uint8_t g_BlendTable[65536];

bool DDLoadPaletteFromFile() { return true; }

void DDSetPaletteEntries(int first, int count) { Record(Format("DDSetPaletteEntries %d %d", first, count)); }
const uint32_t* DDBackBufferPixels() { return g_MinimalFrame.pixels.data(); }

void DrawString(int font, MinimalFrame*, int x, int y, const std::string& text, int) {
    Record(Format("DrawString %d %d %d ", font, x, y) + text);
}
void DrawMultiLine(int font, MinimalFrame*, int x, int y, int, int, const std::string& text, int) {
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
