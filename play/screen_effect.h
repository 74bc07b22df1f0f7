// The play scene's screen effect: fourteen handlers, one per kind, that
// turn the frame the draw pass left in the back buffer into the effect's
// frame, and step the effect unless the game is frozen.
#pragma once
#include <cstdint>

#include "media/gfx/dd_blit.h"

class cScenePlay;

// The graphics calls of the handlers (tests replace them to see what is
// drawn).
struct ScreenBlitOps {
    void (*blt)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag);
    int (*bltStretch)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                      int sh, int flag);
    void (*fillRect)(DDSURFACEDATA* sd, int x, int y, int w, int h, uint32_t palNum);
    bool (*split)(DDSURFACEDATA* dst, int x, int y, int w, int h, int slice, int shift, DDSURFACEDATA* src, int sx,
                  int sy, int flag, int vertical);
    bool (*wave)(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude, int phase, int slice,
                 DDSURFACEDATA* src, int sx, int sy, int flag, int vertical);
    bool (*rotate)(DDSURFACEDATA* dst, int cx, int cy, int w, int h, int px, int py, int angle, DDSURFACEDATA* src,
                   int sx, int sy, int flag);
    bool (*circle)(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int band, DDSURFACEDATA* src,
                   int scx, int scy, int flag);
    bool (*lens)(DDSURFACEDATA* dst, int cx, int cy, int radius, int depth, DDSURFACEDATA* src, int scx, int scy,
                 int flag, int clear, const DDBLTPARAM* param);
    bool (*mosaic)(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src, int sx, int sy,
                   int flag, const DDBLTPARAM* param);
    void (*setAlphaOp)(int op);
    void (*resetAlphaOp)();
    void (*setVirtualBackBuffer)(int on);
    void (*drawBackgrounds)(cScenePlay& scene, int layer);
};
ScreenBlitOps& ScreenBlits();
ScreenBlitOps DefaultScreenBlits();

// (scene, frozen) -> 1 when the effect is over.
using ScreenEffectHandler = int (*)(cScenePlay& scene, int frozen);
inline constexpr int kScreenEffectKinds = 14;
extern const ScreenEffectHandler ScreenEffectHandlers[kScreenEffectKinds];

// One frame of the scene's screen effect (the draw pass calls it); an
// effect that ends turns the virtual back buffer off.
void RunScreenEffect(cScenePlay& scene, int frozen);
