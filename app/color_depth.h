// The choice of colour depth, vertical sync and window mode at start-up,
// from the "System.ini" settings, the game's depth options and the desktop.
#pragma once
#include <string>

struct ColorDepthInput {
    int nDirect3D = 0;    // "Direct3D" after the boot choice: non-zero runs the Direct3D-like back end
    int nWindowMode = 0;  // "WindowMode": 0 full screen, 1 zoom steps, 2 free size
    int nBpp = 0;         // "Bpp": 0 chooses
    int nVSync = 2;       // "VSync": 0 off, 1 on, 2 or more automatic
    int nPaletteMode = 0;      // system data: 0 8-bit with palette, 1 no palette
    int nDepthDirect3D = 0;    // system data: 1 16 bits, else 32
    int nDepthDirectDraw = 0;  // system data: 0 32, 1 16, 2 8 (32 without palette)
    int nDesktopBpp = 32;      // desktop bits per pixel
    bool bVistaOrLater = true;  // IsOsVersionAtLeast (6, 0)
};

struct ColorDepthChoice {
    bool bOk = false;
    bool bWindowed = false;
    int nBpp = 0;    // written back into "Bpp"
    int nVSync = 0;  // written back into "VSync"
    bool bSizingFrame = false;  // Direct3D, "WindowMode" 2, windowed and accepted
    std::string strError;       // CP932 error box text when not bOk
};

ColorDepthChoice ChooseColorDepth(const ColorDepthInput& in);
