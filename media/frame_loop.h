// The steps every frame loop shares (the game thread's scene loop and the
// nested loops of the play scene and the ranking): the frame pace, the
// lost-surface check, the presentation of the back buffer, and the palette
// and blink-colour cycling of the menus and the play.
#pragma once
#include <cstdint>

// Frame pacing of every frame loop (DirectDraw; Direct3D paces in DDPresent),
// and a gate point of the thread running the loop.
void WaitFrame();
// Presents the back buffer: Direct3D through DDPresent (a failure in a
// window asks the main window to restore the device), DirectDraw by a copy
// or a flip to the primary surface.
void PresentFrame();
// Copies the back buffer to the presentation surface and presents it.
void RedrawScreen();
// DirectDraw: restores a lost primary surface and the run-time surfaces;
// false when that fails.
bool CheckLostSurfaces();

// One step of a value bouncing between low and high; true when it turned at
// the low bound.
bool PingPongStep(int& value, int& direction, int step, int low, int high);
// One step of the palette and blink-colour cycling.
void CycleColors();
struct BlinkColor {
    uint32_t argb;
    int kind;
};
extern BlinkColor g_BlinkColors[9];
void ResetColorCycle();  // tests
// 8-bit DirectDraw: palette-cycle file n ("bmp\\hbt\\hbt%02d.dat") and the
// palette rotated by n rows (n < 12) or every row set to row n - 11.
bool LoadPaletteCycle(int n);
void ApplyPaletteCycle(uint8_t palette[256][4], int n);
