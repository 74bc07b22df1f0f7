#include "play/screen_color.h"

#include <algorithm>
#include <cstring>

#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_palette_fx.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/effects/colour_blits.h"

void SetScreenColor(ScreenColor& sc, const int params[8]) {
    const bool back = params[4] != 0;
    if (back && ((lpDTCon && !sc.bActive) || (!lpDTCon && DDIsPalettized() && !sc.bApplied))) return;
    sc.prevRed = sc.red;
    sc.prevGreen = sc.green;
    sc.prevBlue = sc.blue;
    sc.nPrevStrength = sc.nStrength;
    sc.nPrevAlpha = sc.nAlpha;
    sc.red = static_cast<uint8_t>(params[0]);
    sc.green = static_cast<uint8_t>(params[1]);
    sc.blue = static_cast<uint8_t>(params[2]);
    sc.nStrength = params[3];
    sc.bReturn = params[4];
    sc.nDuration = params[5] * 6;
    sc.bFlash = params[6];
    sc.nRepeat = params[7];
    sc.bActive = 1;
    sc.nFrame = 0;
    sc.nRepeatCount = 0;
    if (!back) {
        sc.nAlpha = 0;
        sc.bApplied = 1;
    } else {
        sc.red = sc.prevRed;
        sc.green = sc.prevGreen;
        sc.blue = sc.prevBlue;
        sc.nStrength = sc.nPrevStrength;
        sc.nAlpha = sc.nPrevAlpha;
    }
}

int ScreenColorAlpha(const ScreenColor& sc) {
    const double s = sc.nStrength * 2.55;
    const double t = sc.nDuration ? static_cast<double>(sc.nFrame) / sc.nDuration : 1.0;
    if (sc.bFlash && sc.nFrame >= sc.nDuration) return 255;
    if (sc.bReturn && !sc.bFlash) return static_cast<int>(t * (255 - sc.nPrevAlpha) + sc.nPrevAlpha);
    return static_cast<int>(255 - t * s);
}

namespace {

void Tint(const ScreenColor& sc, int alpha) {
    DDChangeColor(&g_BackBuffer, 0, 0, 640, 480, alpha, sc.red, sc.green, sc.blue);
}

void Blend(const ScreenColor& sc, int alpha) {
    uint8_t blended[256][4];
    DDBlendPalette(blended, 0, 255, alpha, sc.red, sc.green, sc.blue, g_Palette);
    DDSetPaletteEntries(blended, 0, 256);
}

}  // namespace

void DrawScreenColor(ScreenColor& sc, int frozen) {
    if (!sc.bActive) return;
    const bool d3d = lpDTCon != nullptr;
    if (!d3d && !DDIsPalettized()) {
        sc.bActive = 0;
        return;
    }
    if (!d3d && frozen) return;
    const bool atEnd = sc.nFrame >= sc.nDuration;
    if (sc.bFlash && atEnd) {
        // A flash round ends with the picture as it is, then starts again.
        if (d3d) Tint(sc, 255);
        else DDSetPaletteEntries(g_Palette, 0, 256);
        if (!frozen) {
            sc.nFrame = 0;
            if (++sc.nRepeatCount >= sc.nRepeat) sc.bActive = 0;
        }
        return;
    }
    sc.nAlpha = ScreenColorAlpha(sc);
    if (d3d) Tint(sc, sc.nAlpha);
    else Blend(sc, sc.nAlpha);
    if (atEnd) {
        if (sc.bReturn) {
            sc.bActive = 0;
            sc.bApplied = 0;
        } else if (sc.nStrength == 0 || !d3d) {
            sc.bActive = 0;
        }
    } else if (!frozen) {
        ++sc.nFrame;
    }
}
