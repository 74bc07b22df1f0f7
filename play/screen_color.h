// The screen colour: the whole screen tinted toward a colour (Direct3D) or
// the 8-bit palette blended toward it (DirectDraw), faded in over a time,
// held, faded back, or flashed a number of times.
#pragma once
#include <cstdint>

struct ScreenColor {
    int32_t bApplied = 0;  // 8-bit mode: a colour is in force
    uint8_t red = 0, green = 0, blue = 0;
    int32_t nStrength = 0;  // percent
    int32_t bReturn = 0;    // fade back from the colour in force
    int32_t nDuration = 0;  // frames
    int32_t bFlash = 0;
    int32_t nRepeat = 0;
    int32_t bActive = 0;
    int32_t nFrame = 0;
    int32_t nRepeatCount = 0;
    int32_t nAlpha = 255;  // the weight the picture keeps: 255 unchanged, 0 the plain colour
    uint8_t prevRed = 0, prevGreen = 0, prevBlue = 0;
    int32_t nPrevStrength = 0;
    int32_t nPrevAlpha = 255;
};

// The screen-colour command's eight parameters: red, green, blue, strength
// in percent, return mode, time in tenths of a second, flash, repeat count.
void SetScreenColor(ScreenColor& sc, const int params[8]);
// One frame of the screen colour (nothing while it is inactive); the frame
// counter stands still while frozen.
void DrawScreenColor(ScreenColor& sc, int frozen);
// The alpha of the current frame (the rules of DrawScreenColor, without
// drawing or counting).
int ScreenColorAlpha(const ScreenColor& sc);
