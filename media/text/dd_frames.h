// Frames in a palette colour, a picture with a frame around it, and numbers
// drawn from a strip of digit cells.
#pragma once

struct DDSURFACEDATA;

// Frame of the given thickness inside the rectangle (x, y, w, h): top,
// bottom, left, right, the corners filled twice.
void DDFrameRect(DDSURFACEDATA* dst, int x, int y, int w, int h, int thickness, int palNum);
// The same frame just outside the rectangle.
void DDFrameRectOutside(DDSURFACEDATA* dst, int x, int y, int w, int h, int thickness, int palNum);
// The top-left w × h of src at (x, y) with transparency, framed outside.
void DDBltFramed(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int thickness, int palNum);
// value in decimal from the strip of ten digit cells at (sx, sy) of src,
// right-aligned (or centred when centre is non-zero) in a field of
// minDigits cells; bltFlag goes to every blit.
void DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* src, int sx, int sy,
                  int bltFlag, int value, int minDigits, int centre);
