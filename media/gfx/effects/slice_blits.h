// Effect blits made of ordinary blits of strips, bands and quarters: the
// wave, the split, the depth flip, the burst and the circle. Every piece is a
// DDBlt or DDBltStretch with the current blit state; all but the flip draw
// their pieces inside one draw layer.
#pragma once
#include "media/gfx/dd_state.h"

// The calls the slice effects draw with; tests record them here.
struct DDSLICEOPS {
    void (*blt)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag);
    int (*bltStretch)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                      int sh, int flag);
    void (*beginLayer)(int key);
    void (*endLayer)();
};
DDSLICEOPS& DDSliceOps();
// The real calls.
DDSLICEOPS DDDefaultSliceOps();

// Strips of thickness `slice` moved along a sine: rows sideways when
// vertical is 0, else columns up and down. Amplitude in pixels, phase in
// degrees.
bool DDBltWave(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude, int phase, int slice,
               DDSURFACEDATA* src, int sx, int sy, int bltFlag, int vertical);
// Strips of thickness `slice` pushed `shift` pixels apart, odd strips first.
bool DDBltSplit(DDSURFACEDATA* dst, int x, int y, int w, int h, int slice, int shift, DDSURFACEDATA* src, int sx,
                int sy, int bltFlag, int vertical);
// The front picture squeezed toward its middle line and turned over to the
// back picture as the phase counts; axis 0 horizontal, 1 vertical.
int DDBltFlip(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* front, int fx, int fy,
              DDSURFACEDATA* back, int bx, int by, int srcW, int srcH, int bltFlag, int phase, int axis);
// Four quarters moved `distance` pixels outward.
bool DDBltBurst(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int distance,
                int bltFlag);
// The part of a halfW x halfH picture around (scx, scy) inside a circle,
// drawn as horizontal bands of `band` rows around (cx, cy).
bool DDBltCircle(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int band, DDSURFACEDATA* src,
                 int scx, int scy, int bltFlag);
