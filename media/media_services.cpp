#include "media/media_services.h"

#include "base/frame_timing.h"
#include "base/log.h"
#include "base/thread.h"
#include "media/gfx/dd_state.h"
#include "media/gfx/run_time_surfaces.h"
#include "media/input/input_list.h"
#include "media/text/font.h"
#include "platform/call_log.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

namespace {

DDBACKEND g_backEnd;

// The media layer's own call log: keeps the first 10000 calls.
class cMediaCallRecorder : public platform::ICallLog {
public:
    void Note(const std::string& call) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_calls.size() < 10000) m_calls.push_back(call);
    }
    std::vector<std::string> Calls() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.clear();
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_calls;
};

cMediaCallRecorder& Recorder() {
    static cMediaCallRecorder recorder;
    return recorder;
}

void Record(const std::string& s) { platform::NoteCall(s); }

}  // namespace

DDBACKEND& DDBackEnd() { return g_backEnd; }

void DDBackEndFromDevice() {
    g_backEnd = DDBACKEND{};
    g_backEnd.direct3D = lpDTCon != nullptr;
    g_backEnd.directDraw = lpDDCon != nullptr;
    g_backEnd.windowed = g_DD.nScreenMode != 0;
    g_backEnd.vsync = g_DD.bVSync != 0;
    SetFrameLimiterD3DActive(g_backEnd.direct3D);
}

namespace {

// A lost surface made at run time is restored and, unless it is drawn at
// run time (no file), reloaded from its file; false when the reload fails.
bool RestoreRunTimeSurface(DDSURFACEDATA& sd) {
    if (!sd.lpDD || !sd.lpDD->lpSurface || gfx::DDSurfIsLost(sd.lpDD->lpSurface) != gfx::DDERR_SURFACELOST) return true;
    gfx::DDSurfRestore(sd.lpDD->lpSurface);
    if (sd.strFileName.empty() || IsEmptyName(sd.strFileName)) {
        sd.bLost = 1;
        return true;
    }
    return DDReloadSurface(&sd, g_DD.nBpp);
}

template <class C>
bool RestoreAll(C& surfaces) {
    for (DDSURFACEDATA& sd : surfaces)
        if (!RestoreRunTimeSurface(sd)) return false;
    return true;
}

}  // namespace

bool DDRestoreRunTimeSurfaces() {
    // The play scene's surface vectors and its run-time list, then its
    // screen-effect and message surfaces; last the fonts' digit strips.
    if (!RestoreAll(g_vDedicatedSurfaces) || !RestoreAll(g_vSwordSurfaces) || !RestoreAll(g_vEffectSurfaces) ||
        !RestoreAll(g_lstRunTimeSurfaces))
        return false;
    // The pages of the menu scenes are drawn at run time: restored, they are
    // flagged lost and their scene draws them again.
    for (DDSURFACEDATA& page : g_SceneSurfaces) {
        if (!page.lpDD || !page.lpDD->lpSurface || gfx::DDSurfIsLost(page.lpDD->lpSurface) != gfx::DDERR_SURFACELOST)
            continue;
        gfx::DDSurfRestore(page.lpDD->lpSurface);
        page.bLost = 1;
    }
    if (!RestoreAll(g_lstScreenEffectSurfaces) || !RestoreAll(g_lstMessageSurfaces)) return false;
    for (int i = 0; i < 3; ++i) {
        DDSURFACEDATA& strip = g_DigitStrips[i];
        if (!strip.lpDD || !strip.lpDD->lpSurface || gfx::DDSurfIsLost(strip.lpDD->lpSurface) != gfx::DDERR_SURFACELOST)
            continue;
        gfx::DDSurfRestore(strip.lpDD->lpSurface);
        DrawDigitStrip(&strip, &g_Fonts[i]);
    }
    return true;
}

uint8_t g_BlendTable[65536];

bool InputKeyConfigEnabled() { return g_KeyConfig.m_bEnabled != 0; }
int InputRecordCount() { return static_cast<int>(g_InputList.size()); }
void DetectJoysticks(int frameRate) {
    Record(Format("DetectJoysticks %d", frameRate));
    DetectJoysticks(nullptr, frameRate, g_InputList);
}
void PollInput(int index, int sources, int rate) {
    Record(Format("PollInput %d %d %d", index, sources, rate));
    g_InputList.at(index).PollInput(index, sources, rate);
}
void UpdateAllInput(int rate) {
    Record(Format("UpdateAllInput %d", rate));
    UpdateAllInput(g_InputList, rate);
}

void SetMediaCallLog(bool on) {
    if (on)
        Service<platform::ICallLog>::Install(&Recorder());
    else if (Service<platform::ICallLog>::Find() == &Recorder())
        Service<platform::ICallLog>::Restore();
}
bool MediaCallLogOn() { return platform::CallLogInstalled(); }
void RecordMediaCall(const std::string& call) { Record(call); }

std::vector<std::string> MediaCallLog() { return Recorder().Calls(); }

void ClearMediaCallLog() { Recorder().Clear(); }
