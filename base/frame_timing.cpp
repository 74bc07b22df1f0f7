#include "base/frame_timing.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "platform/clock.h"

namespace {

struct TimingState {
    uint32_t frameStart = 0;
    int lastFrameTime = 1;
    // frames per second
    int fpsCount = 0;
    uint32_t fpsWindowStart = 0;
    int fpsPublished = 0;
    bool fpsStarted = false;
    // pacing tick
    uint32_t tickDue = 0;
    bool tickStarted = false;
    // frame skip
    int skipCount = 0;
    // limiter
    uint32_t dwTime_OneSec = 0;
    int nFrameCt_OneSec = 0;
    bool limiterStarted = false;
    int frameTimeRing[16] = {};
    int fpsRing[16] = {};
    int frameTimeIndex = 0;
    int fpsIndex = 0;
    unsigned frameTimeAverage = 0;
    unsigned fpsAverage = 0;
    bool sampleFlag = true;
};

TimingState g_t;
bool g_bD3DActive = false;
FrameStatsDrawFn g_statsDrawer = nullptr;

}  // namespace

void ResetFrameTiming() { g_t = TimingState{}; }
void SetFrameLimiterD3DActive(bool active) { g_bD3DActive = active; }
void SetFrameStatsDrawer(FrameStatsDrawFn fn) { g_statsDrawer = fn; }

void StartFrameTimer() { g_t.frameStart = platform::NowMs(); }
void StartElapsedTimer() { g_t.frameStart = platform::NowMs(); }

uint32_t GetElapsedTime(int restart) {
    uint32_t now = platform::NowMs();
    uint32_t elapsed = now - g_t.frameStart;
    if (restart) g_t.frameStart = now;
    return elapsed;
}

int GetFrameTime(int measure) {
    if (measure) g_t.lastFrameTime = static_cast<int>(platform::NowMs() - g_t.frameStart);
    return g_t.lastFrameTime;
}

int GetFramesPerSecond(int count) {
    uint32_t now = platform::NowMs();
    if (!g_t.fpsStarted) {
        g_t.fpsStarted = true;
        g_t.fpsWindowStart = now;
    }
    if (count) {
        if (now - g_t.fpsWindowStart > 999u) {
            g_t.fpsPublished = g_t.fpsCount;
            g_t.fpsWindowStart = now;
            g_t.fpsCount = 0;
        } else {
            g_t.fpsCount += 1;
        }
    }
    return g_t.fpsPublished;
}

bool IsFrameTick(int rate) {
    uint32_t now = platform::NowMs();
    if (!g_t.tickStarted) {
        g_t.tickStarted = true;
        g_t.tickDue = now;
    }
    if (rate == 0) return true;
    if (now < g_t.tickDue) return false;
    g_t.tickDue = now + static_cast<uint32_t>(1000 / rate);
    return true;
}

bool FrameLimiter(int rate, int show, DDSURFACEDATA* surface) {
    if (!g_bD3DActive || rate == 0) return true;
    uint32_t now = platform::NowMs();
    if (!g_t.limiterStarted) {
        g_t.limiterStarted = true;
        g_t.dwTime_OneSec = now;
    }
    if (show && surface && g_t.sampleFlag) {
        g_t.sampleFlag = false;
        g_t.frameTimeRing[g_t.frameTimeIndex++] = GetFrameTime(0);
        if (g_t.frameTimeIndex >= 16) {
            g_t.frameTimeIndex = 0;
            unsigned sum = 0;
            for (int v : g_t.frameTimeRing) sum += static_cast<unsigned>(v);
            g_t.frameTimeAverage = sum >> 4;
        }
        g_t.fpsRing[g_t.fpsIndex++] = GetFramesPerSecond(0);
        if (g_t.fpsIndex >= 16) {
            g_t.fpsIndex = 0;
            unsigned sum = 0;
            for (int v : g_t.fpsRing) sum += static_cast<unsigned>(v);
            g_t.fpsAverage = sum >> 4;
        }
    }
    double due = static_cast<double>(g_t.dwTime_OneSec) +
                 (1000.0 / static_cast<double>(rate)) * static_cast<double>(g_t.nFrameCt_OneSec);
    if (static_cast<double>(now) < due) return false;
    g_t.nFrameCt_OneSec += 1;
    if (g_t.nFrameCt_OneSec >= rate) {
        // The next second starts where this one's last interval ends, so a
        // second holds exactly `rate` intervals; a loop that fell more than
        // a frame behind starts afresh from now instead of catching up.
        g_t.nFrameCt_OneSec = 0;
        const uint32_t next = g_t.dwTime_OneSec + 1000u;
        const bool behind = static_cast<int32_t>(now - next) > 1000 / rate;
        g_t.dwTime_OneSec = behind ? now : next;
    }
    if (show && surface) {
        if (g_statsDrawer) {
            std::string text = Format("FPS-Ave %u(%u)\ndwTime_OneSec %u\nnFrameCt_OneSec %u", g_t.fpsAverage,
                                      g_t.frameTimeAverage, g_t.dwTime_OneSec,
                                      static_cast<unsigned>(g_t.nFrameCt_OneSec));
            g_statsDrawer(surface, text.c_str());
        }
        g_t.sampleFlag = true;
    }
    return true;
}

uint32_t FrameLimiterWaitMs(int rate) {
    if (!g_bD3DActive || rate <= 0 || !g_t.limiterStarted) return 1;
    const double due = static_cast<double>(g_t.dwTime_OneSec) +
                       (1000.0 / static_cast<double>(rate)) * static_cast<double>(g_t.nFrameCt_OneSec);
    const double left = due - static_cast<double>(platform::NowMs());
    if (left <= 1.0) return 1;
    return static_cast<uint32_t>(std::min(std::ceil(left), 1000.0 / rate + 1.0));
}

int FrameSkipCount() { return g_t.skipCount; }

bool FrameSkipCounter(int mode, int n) {
    if (mode == 0) {
        g_t.skipCount = 0;
        return false;
    }
    if (mode == 2) return g_t.skipCount == 0;
    g_t.skipCount += 1;
    if (static_cast<unsigned>(g_t.skipCount) >= static_cast<unsigned>(n)) {
        g_t.skipCount = 0;
        return true;
    }
    return false;
}
