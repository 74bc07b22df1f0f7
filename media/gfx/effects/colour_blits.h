// Blits that change the colours of what they copy: the colour change toward
// a palette colour, the translucent blit and its half form, and the screen
// tint. Each has a Direct3D quad road, a Direct3D software road and
// DirectDraw branches; their mixes differ on purpose.
#pragma once
#include <cstdint>

#include "media/gfx/dd_blit.h"

// The picture pulled toward palette colour colourIndex (low byte) at level
// 1..4 (larger is closer); flag 1 leaves out transparent source pixels;
// param is a blit parameter block or null. The blend table serves 8 bits.
bool DDBltColorChange(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                      const uint8_t (*palette)[4], const uint8_t* blendTable, int colourIndex, int level,
                      const DDBLTPARAM* param);
// Translucent copy; alpha is the source's transparency (0 opaque, 255
// invisible) on the quad road, while the software roads mix half and half.
bool DDBltAlpha(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                const uint8_t* blendTable, int alpha);
bool DDBltHalf(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
               const uint8_t* blendTable);
// Tints the whole destination image (the rectangle is not used): alpha is
// the weight the picture keeps, 255 unchanged, 0 the plain colour (or, with
// a textured source, picture times colour). Direct3D only; always 1.
int DDChangeColor(DDSURFACEDATA* dst, int x, int y, int width, int height, DDSURFACEDATA* src, int alpha, uint8_t red,
                  uint8_t green, uint8_t blue);
int DDChangeColor(DDSURFACEDATA* dst, int x, int y, int width, int height, int alpha, uint8_t red, uint8_t green,
                  uint8_t blue);
