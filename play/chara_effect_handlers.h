// The seventeen display-effect handlers of charas, and the blits they draw
// with (tests replace the table to see what is drawn).
#pragma once
#include <cstdint>

#include "play/chara_draw.h"

// (chara, destination, sprite, frozen, draw) -> 1 when the effect is over;
// with draw 0 only the effect advances.
using CharaEffectHandler = int (*)(cChara& c, DDSURFACEDATA* dst, CharaSprite& sprite, int frozen, int draw);
inline constexpr int kCharaEffectKinds = 17;
extern const CharaEffectHandler CharaEffectHandlers[kCharaEffectKinds];
// The handler of a kind; kinds outside the table draw plainly.
CharaEffectHandler CharaEffectHandlerOf(int kind);
// The kind and parameters of the chara's running effect (kind 0 when none
// runs or the entry does not exist).
int CharaEffectKind(const cChara& c, const int** params);

// The graphics calls of the handlers.
struct CharaBlitOps {
    void (*blt)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag);
    void (*bltParam)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                     const DDBLTPARAM& params);
    int (*bltStretch)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                      int sh, int flag);
    int (*bltStretchParam)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                           int sw, int sh, int flag, const DDBLTPARAM& params);
    void (*fillRect)(DDSURFACEDATA* sd, int x, int y, int w, int h, uint32_t palNum);
    bool (*burst)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int distance,
                  int flag);
    bool (*split)(DDSURFACEDATA* dst, int x, int y, int w, int h, int slice, int shift, DDSURFACEDATA* src, int sx,
                  int sy, int flag, int vertical);
    bool (*wave)(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude, int phase, int slice,
                 DDSURFACEDATA* src, int sx, int sy, int flag, int vertical);
    int (*flip)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* front, int fx, int fy,
                DDSURFACEDATA* back, int bx, int by, int srcW, int srcH, int flag, int phase, int axis);
    bool (*rotate)(DDSURFACEDATA* dst, int cx, int cy, int w, int h, int px, int py, int angle, DDSURFACEDATA* src,
                   int sx, int sy, int flag);
    bool (*circle)(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int band, DDSURFACEDATA* src,
                   int scx, int scy, int flag);
    bool (*lens)(DDSURFACEDATA* dst, int cx, int cy, int radius, int depth, DDSURFACEDATA* src, int scx, int scy,
                 int flag, int clear, const DDBLTPARAM* param);
    bool (*colorChange)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                        const uint8_t (*palette)[4], const uint8_t* blendTable, int colourIndex, int level,
                        const DDBLTPARAM* param);
    bool (*half)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                 const uint8_t* blendTable);
    bool (*mosaic)(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src, int sx, int sy,
                   int flag, const DDBLTPARAM* param);
    bool (*blur)(DDSURFACEDATA* dst, int x, int y, int w, int h, int radiusX, int radiusY, DDSURFACEDATA* src, int sx,
                 int sy, int flag, const DDBLTPARAM* param);
    void (*pauseLayer)();
    void (*resumeLayer)();
    void (*setBlitColor)(uint32_t argb);
    void (*resetBlitColor)();
    void (*setColorOp)(int op);
    void (*resetColorOp)();
};
CharaBlitOps& CharaBlits();
CharaBlitOps DefaultCharaBlits();
