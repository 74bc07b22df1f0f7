// Device set-up and shutdown of the graphics layer.
#pragma once
#include "media/gfx/dd_state.h"

// DirectDraw set-up error codes.
enum : int {
    CREATEEX_ERR = 1,
    SETCOOPLEVEL_ERR = 2,
    SETDISPLAYMODE_ERR = 3,
    CREATESURFACE_ERR = 4,
    GETATTACHEDSURFACE_ERR = 5,
    CREATEPALETTE_ERR = 6,
    SETPALETTE_ERR = 7,
    CLIPPER_ERR = 10,
    SETHWND_ERR = 11,
    SETCLIPPER_ERR = 12,
};

// screenMode: 0 full screen, 1 window (other values set up no DirectDraw objects).
bool DDInit(int useD3D, void* hWnd, int width, int height, int bpp, int vsync, int screenMode, int backBuffers,
            int refreshRate, int modeVsync, DDSURFACEDATA* surfaceTable, BMPSLOT* bitmapTable, int count,
            int reserved);
void DDEnd();
void DDShutdown();

// DirectX level of the display driver (99999 when unknown).
int GetDisplayDriverDxVersion();

// Mouse cursor state asked for by the set-up (the window layer shows it).
extern int g_nCursorCount;
