// Palette effects and the blend table.
#pragma once
#include <cstdint>

#include "media/gfx/dd_state.h"

// Each refuses (returns false, changes nothing) a range or count outside what
// the effect allows: 0 <= first, last <= 255, last >= first - 1, and for the
// rotation 0 <= count <= last - first + 1.
bool DDBlendPalette(uint8_t out[256][4], int first, int last, int alpha, uint8_t red, uint8_t green, uint8_t blue,
                    const uint8_t src[256][4]);
bool DDRotatePalette(uint8_t dst[256][4], int first, int last, int count, int direction, const uint8_t src[256][4]);
bool DDLoadBlendTable(uint8_t table[65536], const char* path);
int DDSetPalette_UnPal(uint8_t palette[256][4], DDSURFACEDATA* sd);
int DDFade_UnPal(DDSURFACEDATA* dst, int weight, uint8_t red, uint8_t green, uint8_t blue, DDSURFACEDATA* src);
