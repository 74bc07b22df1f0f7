// Blits that smear a picture: the mosaic (square blocks of one colour each)
// and the box blur. Both compute their pixels in software in either family;
// the Direct3D and DirectDraw mosaics take different colours on purpose.
// Source samples outside the source image are never read.
#pragma once
#include "media/gfx/dd_blit.h"

// The rectangle drawn as block x block squares cut from its top-left
// corner. Direct3D and 8 bits take each block's top-left pixel, DirectDraw
// 16 and 32 bits the block's average. Flag 1 leaves out transparent pixels;
// param (Direct3D only) adds its colour when its operation is add. A block
// of 0 or less draws nothing.
bool DDBltMosaic(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src, int sx, int sy,
                 int flag, const DDBLTPARAM* param);
// Each pixel the average of the box radiusX left and right, radiusY up and
// down (one pixel longer to the upper left), taken inside the rectangle.
// 16 and 32 bits only; a radius of 0 or less draws nothing.
bool DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int radiusX, int radiusY, DDSURFACEDATA* src, int sx,
               int sy, int flag, const DDBLTPARAM* param);
