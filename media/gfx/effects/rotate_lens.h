// Blits that move pixels: the rotation (a rectangle turned about a pivot,
// on the Direct3D quad road or in software) and the lens (a magnifying
// disc, in software in both families).
#pragma once
#include "media/gfx/dd_blit.h"

// Degrees to radians for the rotation and the lens.
inline constexpr double kRotateDegToRad = 0.017453292519943278;

// The source rectangle (sx, sy, w, h) turned by angle degrees about the
// pivot (px, py), taken from its top-left corner, with the pivot placed on
// (cx, cy). Flag 1 leaves out pixels equal to the colour key (in both
// families). Pixels are copied raw.
bool DDBltRotate(DDSURFACEDATA* dst, int cx, int cy, int w, int h, int px, int py, int angle, DDSURFACEDATA* src,
                 int sx, int sy, int flag);
// A disc of the given radius at (cx, cy) showing the source around
// (scx, scy) magnified; a smaller depth magnifies more. False without a
// lock when the radius or depth is negative or the depth reaches
// trunc(sqrt(depth^2 + radius^2)). clear (Direct3D 32 bits) empties the
// square's points that get no pixel.
bool DDBltLens(DDSURFACEDATA* dst, int cx, int cy, int radius, int depth, DDSURFACEDATA* src, int scx, int scy,
               int flag, int clear, const DDBLTPARAM* param);
