// End of a frame, the hand-over of the shown frame to the window, and the
// recovery of a lost device (Direct3D) or lost surfaces (DirectDraw).
#pragma once
#include "media/gfx/dd_state.h"

// 1 presented (or DirectDraw), 0 the device is lost.
int DDPresent(int frameRate, int showStats, DDSURFACEDATA* statsSurface);
int DDRestoreSurface();
bool DDRestore();
bool DDReloadSurface(DDSURFACEDATA* sd, int bpp);

// DirectDraw presentation of the scene manager: the back buffer copied to the
// primary, or the two flipped; the vertical blank they wait on.
void DDBltBackToPrimary();
void DDFlipPrimary();
void DDWaitForVerticalBlank();
// The primary surface reports a lost surface (DirectDraw).
bool DDIsPrimaryLost();
// True for DirectDraw at 8 bits per pixel.
bool DDIsPalettized();

// Hands what the device shows to the window (the 8-bit palette is applied
// here); nothing while no one watches the frames.
void DDHandOverFrame();
// While false, frames go to no window and no one reads their pixels (a
// headless replay check): frames are not handed over and the devices draw
// no pixels (media/gfx/draw_pixels.h).
void DDSetFramesWatched(bool watched);
bool DDFramesWatched();

// The frame limiter DDPresent polls with VSync off (tests count the calls),
// and the sleep between polls (false ends the wait).
using DDFrameLimiterFn = bool (*)(int rate, int show, DDSURFACEDATA* surface);
extern DDFrameLimiterFn g_DDFrameLimiter;
using DDSleepFn = bool (*)(int ms);
extern DDSleepFn g_DDSleep;
// Full-screen loss: the window is minimised; restored after a recovery.
using DDShowWindowFn = void (*)(bool minimise);
extern DDShowWindowFn g_DDShowWindow;
