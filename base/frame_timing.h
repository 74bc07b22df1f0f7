// Frame timing on the millisecond clock: the frame-start timer, a
// frames-per-second counter, the DirectDraw pacing tick, the frame limiter the
// Direct3D presentation polls, and a frame-skip counter. One set of values
// for the whole program, used by one frame loop at a time.
#pragma once
#include <cstdint>

struct DDSURFACEDATA;

void StartFrameTimer();
void StartElapsedTimer();
uint32_t GetElapsedTime(int restart);
int GetFrameTime(int measure);
int GetFramesPerSecond(int count);
bool IsFrameTick(int rate);
// Draws its statistics through the hook below when show and surface are set.
bool FrameLimiter(int rate, int show, DDSURFACEDATA* surface);
// How long to sleep before asking the limiter again: the milliseconds to the
// next frame's time (at least 1, at most one interval).
uint32_t FrameLimiterWaitMs(int rate);
bool FrameSkipCounter(int mode, int n);
// The counter FrameSkipCounter keeps (a replay's state includes it).
int FrameSkipCount();

// Whether the Direct3D back end is in use (the limiter passes at once
// otherwise). The graphics layer sets it.
void SetFrameLimiterD3DActive(bool active);
// The graphics layer's debug text, used for the limiter's statistics.
using FrameStatsDrawFn = void (*)(DDSURFACEDATA* surface, const char* text);
void SetFrameStatsDrawer(FrameStatsDrawFn fn);

// Back to the state at program start (tests).
void ResetFrameTiming();
